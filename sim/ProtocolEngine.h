#pragma once
// The instrument's end of the link as a pure byte machine: bytes from the PC go in, the bytes
// the instrument sends back come out. No I/O and no clock of its own: every byte carries the
// time it arrived (milliseconds of a monotonic clock), so tests replay exchanges byte by byte.
//
// An exchange: the PC sends ENQ, the instrument answers ACK; the PC sends STX text ETX BCC.
// A command is acknowledged with ACK; a query is answered with the reply frame, which the PC
// acknowledges. A bad frame is simply not acknowledged (there is no NAK).

#include <QByteArray>
#include <QStringList>

#include <cstdint>
#include <vector>

#include "FrameCodec.h"
#include "InstrumentState.h"
#include "PtySimulator.h"

namespace zebsim {

// A run of bytes to send. delayMs holds it back that long after the bytes before it.
struct Emission {
    QByteArray bytes;
    int delayMs = 0;
};

struct FeedResult {
    std::vector<Emission> out;
    // A new exchange began: whatever is still unsent from the last one is abandoned, since the
    // PC has given up waiting for it.
    bool newExchange = false;
};

// One well-formed frame received, with the reply text sent back (empty for a command).
struct ExchangeRecord {
    QByteArray text;
    QByteArray reply;
};

class ProtocolEngine {
public:
    explicit ProtocolEngine(const SimOptions& options);

    // A byte in the middle of an exchange that is followed by this much silence ends it.
    static constexpr std::int64_t kExchangeTimeoutMs = 1000;
    // How long the slow-byte fault holds a byte back (the PC gives up after 500 ms).
    static constexpr int kSlowByteDelayMs = 700;
    // The command log keeps at most this many of the most recent entries.
    static constexpr int kMaxLogEntries = 100000;

    FeedResult Feed(char byte, std::int64_t nowMs);

    void InjectFault(Fault fault);
    void ClearFaults();
    // Unasked bytes to put on the line now (the stale-bytes fault), once no exchange is open.
    QByteArray TakeStaleBytes();

    InstrumentState& Instrument() { return m_instrument; }
    bool Idle() const { return m_state == State::WaitEnq; }

    const QStringList& CommandLog() const { return m_log; }
    void ClearLog() { m_log.clear(); }
    // When enabled, every frame handled is also kept for TakeRecords() (for a live log).
    void SetRecording(bool enabled) { m_recording = enabled; }
    std::vector<ExchangeRecord> TakeRecords();

private:
    enum class State { WaitEnq, WaitStx, InFrame, WaitAck };

    FeedResult OpenExchange();
    FeedResult HandleFrame(const QByteArray& text, std::int64_t nowMs);
    Emission Ack() const;
    std::vector<Emission> ReplyFrame(const QByteArray& reply);
    void Log(const QByteArray& text, const QByteArray& reply);

    InstrumentState m_instrument;
    FrameAssembler m_frame;
    State m_state = State::WaitEnq;
    std::int64_t m_lastByteMs = 0;

    // Faults waiting for their exchange.
    bool m_noAck = false;
    bool m_slow = false;
    bool m_slowThisExchange = false;
    bool m_wrongBcc = false;
    bool m_garbage = false;
    bool m_silent = false;
    bool m_staleDue = false;

    QStringList m_log;
    bool m_recording = false;
    std::vector<ExchangeRecord> m_records;
};

// The texts the instrument answers to "QA", by identity option.
QByteArray IdentityText(Identity identity);

}  // namespace zebsim
