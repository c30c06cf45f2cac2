#pragma once
// The framing of the instrument link. Every exchange is opened by the PC with ENQ, which the
// instrument acknowledges with ACK; then the PC sends one frame STX text ETX BCC, where BCC is
// the exclusive-or of the text bytes and the ETX. A command is answered by ACK; a query by a
// reply frame, which the PC acknowledges. There is no NAK: a bad answer is simply not
// acknowledged, and nothing is retried here.

#include <QByteArray>
#include <QString>

#include <array>

#include "Exchange.h"
#include "RsPort.h"

namespace zeb {

namespace wire {
constexpr quint8 kStx = 0x02;
constexpr quint8 kEtx = 0x03;
constexpr quint8 kEnq = 0x05;
constexpr quint8 kAck = 0x06;
// The longest text the PC sends in one frame, and the longest it accepts.
constexpr int kMaxSendText = 251;
constexpr int kMaxReplyText = 254;
// Longest wait for any one awaited byte, and for stale input to stop arriving.
constexpr int kByteTimeoutMs = 500;

// The frame STX text ETX BCC for an 8-bit text, whatever its length.
QByteArray Frame(const QByteArray& text);
}  // namespace wire

class CRsBasicProtocol {
public:
    explicit CRsBasicProtocol(SerialAccess access = SerialAccess::System());
    virtual ~CRsBasicProtocol();
    CRsBasicProtocol(const CRsBasicProtocol&) = delete;
    CRsBasicProtocol& operator=(const CRsBasicProtocol&) = delete;

    // True when the instrument acknowledged the command.
    bool SendCommand(const QString& text);
    // True when a well-formed reply arrived (and was acknowledged); GetReply() then holds it.
    bool SendQuery(const QString& text);
    // Text of the last reply without framing; empty after a failed query.
    QString GetReply() const { return m_strReply; }
    // How the last command or query ended, for callers that must say why it failed.
    ExchangeOutcome LastOutcome() const { return m_lastOutcome; }

    CRsPort& Port() { return m_port; }
    const CRsPort& Port() const { return m_port; }

    // Reports every following exchange to `observer` (not owned; nullptr detaches it). Without
    // an observer nothing is recorded and an exchange costs what it always did.
    void SetObserver(IExchangeObserver* observer) { m_pObserver = observer; }
    IExchangeObserver* Observer() const { return m_pObserver; }

private:
    bool FlushInput();
    bool ReadByte(quint8& byte);
    // Why an awaited byte did not come: the port was closed under us, or time ran out.
    ExchangeOutcome ReadFailure() const;
    // Waits for the instrument's ACK.
    ExchangeOutcome AwaitAck();
    // ENQ, then the instrument's ACK.
    ExchangeOutcome OpenExchange();
    int BuildFrame(const QString& text);
    ExchangeOutcome ReceiveFrame();
    ExchangeOutcome Command(const QString& text);
    ExchangeOutcome Query(const QString& text);
    void Report(const QDateTime& started, qint64 elapsedMs, const QString& text, bool query,
                ExchangeOutcome outcome) const;

    CRsPort m_port;
    QString m_strReply;
    ExchangeOutcome m_lastOutcome = ExchangeOutcome::Acknowledged;
    IExchangeObserver* m_pObserver = nullptr;
    // Bytes of the current exchange's answer that were not what the framing expected.
    QByteArray m_heard;
    std::array<quint8, 256> m_abySendBuf{};
};

}  // namespace zeb
