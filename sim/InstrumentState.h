#pragma once
// What goes on inside the surge generator, as far as the remote interface can see it: the loaded
// parameter block, the EUT line, the discharge sequence with its busy phases, pause, the latched
// error and the protection status. Time is passed in by the caller (milliseconds of a monotonic
// clock); the state never reads a clock itself, so tests drive it with a fake one.

#include <QByteArray>
#include <QMap>

#include <cstdint>

namespace zebsim {

// Status byte bits as reported by "QB".
enum StatusBit : std::uint8_t {
    kStatusRunning = 0x02,
    kStatusNormalEnd = 0x04,
    kStatusBusy = 0x08,
    kStatusLineOn = 0x10,
    kStatusError = 0x20,
    kStatusPaused = 0x80,
};

// Protection status bit reported by "QP": the 6 kV output limiter is enabled.
constexpr std::uint16_t kProtectLimiter6kV = 0x0008;

// Error code latched when a synchronised AC step is started without line voltage.
constexpr int kErrorLineInputInactive = 6;

class InstrumentState {
public:
    // Instrument time (phase lengths, intervals) runs timeScale times faster than the clock
    // passed in, so a test can run a 10 s interval in half a second.
    explicit InstrumentState(double timeScale = 1.0);

    // Length of the busy phase before the first interval and after the last discharge, in
    // instrument milliseconds.
    static constexpr std::int64_t kPrepareMs = 800;
    static constexpr std::int64_t kFinishMs = 500;

    // True for texts the instrument answers with a reply frame instead of an ACK.
    static bool IsQuery(const QByteArray& text);

    // Carries out a command ("CA", "PD50", ...). Unknown commands are accepted and ignored.
    void Command(const QByteArray& text, std::int64_t nowMs);
    // Answers a query: the echoed mnemonic followed by the data ("QB12", "QF3").
    QByteArray Query(const QByteArray& text, std::int64_t nowMs);

    // Latches an error: the run stops, "QQ" reports the code until "PQ0". A normal end already
    // reached stays reported beside the error.
    void RaiseError(int code, std::int64_t nowMs);
    void SetLimiter(bool enabled) { m_limiter = enabled; }
    // How long a running step stays running and busy after "CB" (instrument ms; 0: no time).
    void SetStopBusyMs(std::int64_t ms) { m_stopBusyMs = ms > 0 ? ms : 0; }

    void SetIdentityText(const QByteArray& text) { m_identity = text; }
    void SetMachineType(int type) { m_machineType = type & 0x0F; }

    std::uint8_t Status(std::int64_t nowMs);
    int DischargesDone(std::int64_t nowMs);
    int SecondsToNextDischarge(std::int64_t nowMs);
    int ErrorCode() const { return m_error; }
    bool LineOn() const { return m_lineOn; }
    // A loaded parameter's text ("" when it was not loaded since the last "PQ0").
    QByteArray Parameter(const QByteArray& mnemonic) const { return m_params.value(mnemonic); }

private:
    enum class Phase { Idle, Preparing, Running, Finishing, Stopping };

    std::int64_t InstrumentMs(std::int64_t nowMs) const;
    void Advance(std::int64_t nowMs);
    void Start(std::int64_t now);
    void TogglePause(std::int64_t now);
    void StopRun();
    void Stop(std::int64_t now);
    int IntParameter(const char* mnemonic, int fallback) const;
    bool SynchronisedAcStep() const;
    int LineType() const;

    double m_timeScale;
    QByteArray m_identity;
    int m_machineType = 5;
    bool m_limiter = false;
    std::int64_t m_stopBusyMs = 0;

    QMap<QByteArray, QByteArray> m_params;
    bool m_lineOn = false;
    int m_error = 0;

    // The discharge sequence, in instrument milliseconds.
    Phase m_phase = Phase::Idle;
    std::int64_t m_phaseStart = 0;  // start of Preparing / Finishing
    std::int64_t m_runElapsed = 0;  // time spent running, pauses excluded
    std::int64_t m_runClock = 0;    // instant up to which m_runElapsed is counted
    std::int64_t m_intervalMs = 1000;
    int m_count = 0;
    int m_done = 0;
    bool m_paused = false;
    bool m_normalEnd = false;
};

}  // namespace zebsim
