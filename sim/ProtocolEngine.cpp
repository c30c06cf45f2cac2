#include "ProtocolEngine.h"

namespace zebsim {

namespace {

// A leftover reply and acknowledgement, as a PC would find them in its input after a cable
// glitch; the client must throw them away before its next enquiry.
QByteArray StaleBytes() {
    return EncodeFrame("QF7") + kAck;
}

constexpr char kGarbageByte = '#';

}  // namespace

QByteArray IdentityText(Identity identity) {
    switch (identity) {
        case Identity::FirstHardware:
            return "BRAKMOOR, ZEB-M40, V1.12";
        case Identity::LaterHardware:
            return "BRAKMOOR, ZEB-M4-1, V2.03";
        case Identity::Series50:
            return "BRAKMOOR, ZEB-M50, V1.05";
        case Identity::Unrecognised:
            break;
    }
    return "GENERIC SERIAL DEVICE, V1.0";
}

ProtocolEngine::ProtocolEngine(const SimOptions& options) : m_instrument(options.timeScale) {
    m_instrument.SetIdentityText(options.identityText.isEmpty() ? IdentityText(options.identity)
                                                                : options.identityText.toLatin1());
    m_instrument.SetMachineType(options.machineType);
    m_instrument.SetLimiter(options.limiter6kV);
    m_instrument.SetStopBusyMs(options.stopBusyMs);
}

FeedResult ProtocolEngine::Feed(char byte, std::int64_t nowMs) {
    if (m_silent) {
        return {};
    }
    if (m_state != State::WaitEnq && nowMs - m_lastByteMs > kExchangeTimeoutMs) {
        m_state = State::WaitEnq;  // the PC gave up on the last exchange long ago
    }
    m_lastByteMs = nowMs;

    switch (m_state) {
        case State::WaitEnq:
            // Anything but an enquiry between exchanges is line noise and is dropped.
            if (byte == kEnq) {
                return OpenExchange();
            }
            break;
        case State::WaitStx:
            if (byte == kEnq) {
                return OpenExchange();
            }
            if (byte == kStx) {
                m_frame.Reset();
                m_state = State::InFrame;
            }
            break;
        case State::InFrame: {
            // Commands are printable text, so an ENQ inside a frame means the PC started over;
            // after the ETX, though, any byte is the block check.
            if (byte == kEnq && !m_frame.AwaitingCheck()) {
                return OpenExchange();
            }
            switch (m_frame.Feed(byte)) {
                case FrameAssembler::Result::Pending:
                    break;
                case FrameAssembler::Result::Complete:
                    return HandleFrame(m_frame.Text(), nowMs);
                case FrameAssembler::Result::BadCheck:
                case FrameAssembler::Result::Overflow:
                    m_state = State::WaitEnq;  // not acknowledged
                    break;
            }
            break;
        }
        case State::WaitAck:
            if (byte == kEnq) {
                return OpenExchange();
            }
            m_state = State::WaitEnq;  // the ACK of the reply, or noise: the exchange is over
            break;
    }
    return {};
}

FeedResult ProtocolEngine::OpenExchange() {
    FeedResult result;
    result.newExchange = true;
    m_slowThisExchange = false;
    if (m_noAck) {
        m_noAck = false;
        m_state = State::WaitEnq;
        return result;
    }
    m_slowThisExchange = m_slow;
    m_slow = false;
    m_state = State::WaitStx;
    result.out.push_back({QByteArray(1, kAck), 0});
    return result;
}

FeedResult ProtocolEngine::HandleFrame(const QByteArray& text, std::int64_t nowMs) {
    FeedResult result;
    QByteArray reply;
    if (InstrumentState::IsQuery(text)) {
        reply = m_instrument.Query(text, nowMs);
        result.out = ReplyFrame(reply);
        m_state = State::WaitAck;
    } else {
        m_instrument.Command(text, nowMs);
        result.out.push_back(Ack());
        m_state = State::WaitEnq;
    }
    m_slowThisExchange = false;
    Log(text, reply);
    return result;
}

Emission ProtocolEngine::Ack() const {
    return {QByteArray(1, kAck), m_slowThisExchange ? kSlowByteDelayMs : 0};
}

std::vector<Emission> ProtocolEngine::ReplyFrame(const QByteArray& reply) {
    QByteArray frame = EncodeFrame(reply);
    if (m_wrongBcc) {
        m_wrongBcc = false;
        frame[frame.size() - 1] = static_cast<char>(frame.at(frame.size() - 1) ^ 0x5A);
    }
    if (m_garbage) {
        m_garbage = false;
        frame.prepend(kGarbageByte);
    }
    if (!m_slowThisExchange) {
        return {{frame, 0}};
    }
    // STX and the echoed mnemonic go out at once; the rest follows too late.
    constexpr int kHead = 3;
    return {{frame.left(kHead), 0}, {frame.mid(kHead), kSlowByteDelayMs}};
}

void ProtocolEngine::Log(const QByteArray& text, const QByteArray& reply) {
    if (m_log.size() >= kMaxLogEntries) {
        m_log.erase(m_log.begin(), m_log.begin() + kMaxLogEntries / 10);
    }
    m_log.append(QString::fromLatin1(text));
    if (m_recording) {
        m_records.push_back({text, reply});
    }
}

std::vector<ExchangeRecord> ProtocolEngine::TakeRecords() {
    std::vector<ExchangeRecord> records;
    records.swap(m_records);
    return records;
}

void ProtocolEngine::InjectFault(Fault fault) {
    switch (fault) {
        case Fault::NoAck:
            m_noAck = true;
            break;
        case Fault::WrongBcc:
            m_wrongBcc = true;
            break;
        case Fault::GarbageBeforeStx:
            m_garbage = true;
            break;
        case Fault::Silence:
            m_silent = true;
            m_state = State::WaitEnq;
            break;
        case Fault::SlowByte:
            m_slow = true;
            break;
        case Fault::StaleBytes:
            m_staleDue = true;
            break;
    }
}

void ProtocolEngine::ClearFaults() {
    m_noAck = m_slow = m_slowThisExchange = m_wrongBcc = m_garbage = m_silent = m_staleDue = false;
    m_state = State::WaitEnq;
}

QByteArray ProtocolEngine::TakeStaleBytes() {
    // Only while the PC expects nothing: before its next enquiry, or once the whole reply is out
    // (the stale bytes then queue up behind the reply, where its next flush finds them).
    if (!m_staleDue || !(m_state == State::WaitEnq || m_state == State::WaitAck)) {
        return {};
    }
    m_staleDue = false;
    return StaleBytes();
}

}  // namespace zebsim
