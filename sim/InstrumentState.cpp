#include "InstrumentState.h"

#include <algorithm>
#include <cmath>

namespace zebsim {

namespace {

constexpr int kMaxCount = 999999;
constexpr int kMaxIntervalS = 99999;
constexpr double kMaxTimeScale = 1e6;

// Values travel as characters 0x30 + nibble, least significant nibble first.
QByteArray Nibbles(unsigned value, int count) {
    QByteArray out;
    for (int i = 0; i < count; ++i) {
        out.append(static_cast<char>(0x30 + ((value >> (4 * i)) & 0x0F)));
    }
    return out;
}

}  // namespace

// A scale that is not a positive number runs at real time; a huge one is capped so that the
// instrument's millisecond count cannot overflow.
InstrumentState::InstrumentState(double timeScale)
    : m_timeScale(timeScale > 0.0 ? std::min(timeScale, kMaxTimeScale) : 1.0) {}

bool InstrumentState::IsQuery(const QByteArray& text) {
    return text.startsWith('Q');
}

std::int64_t InstrumentState::InstrumentMs(std::int64_t nowMs) const {
    return static_cast<std::int64_t>(std::floor(static_cast<double>(nowMs) * m_timeScale));
}

int InstrumentState::IntParameter(const char* mnemonic, int fallback) const {
    const auto it = m_params.constFind(QByteArray(mnemonic));
    if (it == m_params.constEnd()) {
        return fallback;
    }
    bool ok = false;
    const int value = it->toInt(&ok, 10);
    return ok ? value : fallback;
}

bool InstrumentState::SynchronisedAcStep() const {
    const QByteArray mode = m_params.value("PN");
    if (mode.isEmpty() || IntParameter("PO", -1) != 0) {
        return false;
    }
    return ((static_cast<unsigned char>(mode.at(0)) - 0x30) & 0x01) != 0;
}

int InstrumentState::LineType() const {
    // The instrument reports its AC line configurations 0 to 5; the three-phase configuration
    // without neutral but with PE (output detail 6) is switched like L1, L2, L3 (3).
    const int detail = IntParameter("PI", 0);
    if (detail >= 0 && detail <= 5) {
        return detail;
    }
    return detail == 6 ? 3 : 0;
}

void InstrumentState::Advance(std::int64_t nowMs) {
    const std::int64_t t = InstrumentMs(nowMs);
    for (;;) {
        switch (m_phase) {
            case Phase::Idle:
                return;
            case Phase::Preparing: {
                const std::int64_t end = m_phaseStart + kPrepareMs;
                if (t < end) {
                    return;
                }
                m_phase = Phase::Running;
                m_runElapsed = 0;
                m_runClock = end;
                break;
            }
            case Phase::Running: {
                if (!m_paused && t > m_runClock) {
                    m_runElapsed += t - m_runClock;
                }
                m_runClock = std::max(m_runClock, t);
                const std::int64_t total = m_intervalMs * m_count;
                if (m_runElapsed < total) {
                    m_done = static_cast<int>(m_runElapsed / m_intervalMs);
                    return;
                }
                // The last discharge fired at m_runClock - (m_runElapsed - total).
                m_done = m_count;
                m_phase = Phase::Finishing;
                m_phaseStart = m_runClock - (m_runElapsed - total);
                m_normalEnd = true;
                m_paused = false;
                break;
            }
            case Phase::Finishing:
                if (t >= m_phaseStart + kFinishMs) {
                    m_phase = Phase::Idle;
                }
                return;
            case Phase::Stopping:
                if (t >= m_phaseStart + m_stopBusyMs) {
                    StopRun();
                }
                return;
        }
    }
}

void InstrumentState::Start(std::int64_t now) {
    if (m_error != 0 || m_params.isEmpty()) {
        return;  // nothing loaded, or an error waits to be cleared with "PQ0"
    }
    if (SynchronisedAcStep() && !m_lineOn) {
        m_error = kErrorLineInputInactive;
        return;
    }
    // Clamped to what the front panel can set, so nonsense values cannot overflow the clock.
    m_count = std::clamp(IntParameter("PF", 1), 0, kMaxCount);
    m_intervalMs = std::int64_t{1000} * std::clamp(IntParameter("PE", 1), 1, kMaxIntervalS);
    m_done = 0;
    m_paused = false;
    m_normalEnd = false;
    m_phase = Phase::Preparing;
    m_phaseStart = now;
}

void InstrumentState::TogglePause(std::int64_t now) {
    m_paused = !m_paused;
    m_runClock = now;
}

void InstrumentState::StopRun() {
    m_phase = Phase::Idle;
    m_paused = false;
    m_normalEnd = false;
}

// "CB": a step that is preparing or running winds down for the stop's busy time first; no
// discharge fires meanwhile and no normal end is reported after it.
void InstrumentState::Stop(std::int64_t now) {
    if (m_stopBusyMs > 0 && (m_phase == Phase::Preparing || m_phase == Phase::Running)) {
        m_phase = Phase::Stopping;
        m_phaseStart = now;
        m_paused = false;
        m_normalEnd = false;
        return;
    }
    if (m_phase != Phase::Stopping) {
        StopRun();
    }
}

void InstrumentState::Command(const QByteArray& text, std::int64_t nowMs) {
    Advance(nowMs);
    const std::int64_t now = InstrumentMs(nowMs);
    if (text == "CA") {
        if (m_phase == Phase::Idle) {
            Start(now);
        } else if (m_phase == Phase::Running) {
            TogglePause(now);
        }  // busy phases do not take a start
    } else if (text == "CB") {
        Stop(now);
    } else if (text == "CC") {
        m_lineOn = true;
    } else if (text == "CD") {
        m_lineOn = false;
    } else if (text == "PQ0") {
        m_params.clear();
        m_error = 0;
    } else if (text.size() >= 2 && text.at(0) == 'P' && text.at(1) >= 'C' && text.at(1) <= 'O') {
        m_params.insert(text.left(2), text.mid(2));
    }
}

QByteArray InstrumentState::Query(const QByteArray& text, std::int64_t nowMs) {
    const QByteArray mnemonic = text.left(2);
    QByteArray data;
    if (mnemonic == "QA") {
        data = m_identity;
    } else if (mnemonic == "QR") {
        data = Nibbles(static_cast<unsigned>(m_machineType), 1);
    } else if (mnemonic == "QB") {
        data = Nibbles(Status(nowMs), 2);
    } else if (mnemonic == "QP") {
        data = Nibbles(m_limiter ? kProtectLimiter6kV : 0u, 4);
    } else if (mnemonic == "QQ") {
        data = QByteArray::number(m_error);
    } else if (mnemonic == "QE") {
        data = QByteArray::number(SecondsToNextDischarge(nowMs));
    } else if (mnemonic == "QF") {
        data = QByteArray::number(DischargesDone(nowMs));
    } else if (mnemonic == "QO") {
        data = QByteArray::number(m_lineOn ? std::max(0, IntParameter("PO", 0)) : 0);
    } else if (mnemonic == "QI") {
        data = QByteArray::number(m_lineOn && IntParameter("PO", 0) == 0 ? LineType() : 0);
    }
    return mnemonic + data;
}

void InstrumentState::RaiseError(int code, std::int64_t nowMs) {
    if (code == 0) {
        return;  // 0 is the instrument's "no error"
    }
    Advance(nowMs);
    m_error = code;
    // An error that comes after the last discharge does not undo the normal end: the instrument
    // then reports both (0x24), and the PC has to let the error win.
    const bool endedNormally = m_normalEnd;
    StopRun();
    m_normalEnd = endedNormally;
}

std::uint8_t InstrumentState::Status(std::int64_t nowMs) {
    Advance(nowMs);
    std::uint8_t status = 0;
    if (m_phase == Phase::Preparing || m_phase == Phase::Running || m_phase == Phase::Stopping) {
        status |= kStatusRunning;
    }
    if (m_phase == Phase::Preparing || m_phase == Phase::Finishing || m_phase == Phase::Stopping) {
        status |= kStatusBusy;
    }
    if (m_paused) {
        status |= kStatusPaused;
    }
    if (m_normalEnd) {
        status |= kStatusNormalEnd;
    }
    if (m_lineOn) {
        status |= kStatusLineOn;
    }
    if (m_error != 0) {
        status |= kStatusError;
    }
    return status;
}

int InstrumentState::DischargesDone(std::int64_t nowMs) {
    Advance(nowMs);
    return m_done;
}

int InstrumentState::SecondsToNextDischarge(std::int64_t nowMs) {
    Advance(nowMs);
    if (m_phase == Phase::Preparing) {
        return static_cast<int>(m_intervalMs / 1000);
    }
    if (m_phase != Phase::Running) {
        return 0;
    }
    const std::int64_t left = m_intervalMs - m_runElapsed % m_intervalMs;
    return static_cast<int>((left + 999) / 1000);
}

}  // namespace zebsim
