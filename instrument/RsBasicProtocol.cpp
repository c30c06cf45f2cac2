#include "RsBasicProtocol.h"

#include <QElapsedTimer>

namespace zeb {

namespace wire {
QByteArray Frame(const QByteArray& body) {
    QByteArray frame;
    frame.reserve(body.size() + 3);
    frame.append(static_cast<char>(kStx));
    quint8 bcc = 0;
    for (char c : body) {
        bcc ^= static_cast<quint8>(c);
    }
    bcc ^= kEtx;
    frame.append(body);
    frame.append(static_cast<char>(kEtx));
    frame.append(static_cast<char>(bcc));
    return frame;
}
}  // namespace wire

CRsBasicProtocol::CRsBasicProtocol(SerialAccess access) : m_port(std::move(access)) {}

CRsBasicProtocol::~CRsBasicProtocol() {
    m_port.ClosePort();
}

// Discards whatever arrived unasked. Fails when bytes are still coming after 500 ms, so that
// a chattering line never gets an ENQ mixed into it.
bool CRsBasicProtocol::FlushInput() {
    QElapsedTimer clock;
    clock.start();
    std::array<quint8, 255> sink{};
    qint64 waiting = m_port.BytesWaiting();
    while (waiting > 0 && clock.elapsed() <= wire::kByteTimeoutMs) {
        if (m_port.ReadBytes(sink.data(), static_cast<qint64>(sink.size())) <= 0) {
            return false;
        }
        waiting = m_port.BytesWaiting();
    }
    return waiting == 0;
}

// Waits for one byte, at most 500 ms. The thread sleeps in the port's wait, it does not spin.
bool CRsBasicProtocol::ReadByte(quint8& byte) {
    byte = 0;
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        if (m_port.BytesWaiting() > 0) {
            return m_port.ReadBytes(&byte, 1) == 1;
        }
        const qint64 left = wire::kByteTimeoutMs - clock.elapsed();
        if (left <= 0 || m_port.PortNo() == 0) {
            return false;
        }
        if (!m_port.WaitForData(static_cast<int>(left)) && m_port.PortNo() == 0) {
            return false;  // the device vanished and the port was closed
        }
    }
}

ExchangeOutcome CRsBasicProtocol::ReadFailure() const {
    return m_port.PortNo() == 0 ? ExchangeOutcome::LinkLost : ExchangeOutcome::Timeout;
}

ExchangeOutcome CRsBasicProtocol::AwaitAck() {
    quint8 answer = 0;
    if (!ReadByte(answer)) {
        return ReadFailure();
    }
    if (answer != wire::kAck) {
        m_heard = QByteArray(1, static_cast<char>(answer));
        return ExchangeOutcome::NoAck;
    }
    return ExchangeOutcome::Acknowledged;
}

ExchangeOutcome CRsBasicProtocol::OpenExchange() {
    if (m_port.PortNo() == 0) {
        return ExchangeOutcome::LinkLost;
    }
    if (!FlushInput()) {
        return ReadFailure();  // the line did not go quiet in time, or the device vanished
    }
    const quint8 enq = wire::kEnq;
    if (!m_port.WriteBytes(&enq, 1)) {
        return ExchangeOutcome::LinkLost;
    }
    return AwaitAck();
}

int CRsBasicProtocol::BuildFrame(const QString& text) {
    // The instrument speaks ASCII; Latin-1 maps it one to one.
    const QByteArray frame = wire::Frame(text.toLatin1().left(wire::kMaxSendText));
    std::copy(frame.cbegin(), frame.cend(), m_abySendBuf.begin());
    m_abySendBuf[static_cast<size_t>(frame.size())] = 0;
    return static_cast<int>(frame.size());
}

ExchangeOutcome CRsBasicProtocol::ReceiveFrame() {
    quint8 byte = 0;
    if (!ReadByte(byte)) {
        return ReadFailure();
    }
    if (byte != wire::kStx) {
        m_heard = QByteArray(1, static_cast<char>(byte));
        return ExchangeOutcome::NoAck;
    }
    // Collected in a member so that the log can show what a faulty reply held.
    QByteArray& text = m_heard;
    quint8 bcc = 0;
    for (;;) {
        if (!ReadByte(byte)) {
            return ReadFailure();
        }
        if (byte == wire::kEtx) {
            break;
        }
        if (text.size() >= wire::kMaxReplyText) {
            return ExchangeOutcome::NoAck;  // no end of frame where one must be
        }
        text.append(static_cast<char>(byte));
        bcc ^= byte;
    }
    bcc ^= wire::kEtx;
    quint8 received = 0;
    if (!ReadByte(received)) {
        return ReadFailure();
    }
    if (received != bcc) {
        return ExchangeOutcome::BadBcc;
    }
    m_strReply = QString::fromLatin1(text);
    return ExchangeOutcome::Acknowledged;
}

ExchangeOutcome CRsBasicProtocol::Command(const QString& text) {
    m_heard.truncate(0);
    ExchangeOutcome outcome = OpenExchange();
    if (outcome != ExchangeOutcome::Acknowledged) {
        return outcome;
    }
    const int length = BuildFrame(text);
    if (!m_port.WriteBytes(m_abySendBuf.data(), length)) {
        return ExchangeOutcome::LinkLost;
    }
    return AwaitAck();
}

ExchangeOutcome CRsBasicProtocol::Query(const QString& text) {
    m_heard.truncate(0);
    ExchangeOutcome outcome = OpenExchange();
    if (outcome != ExchangeOutcome::Acknowledged) {
        return outcome;
    }
    const int length = BuildFrame(text);
    if (!m_port.WriteBytes(m_abySendBuf.data(), length)) {
        return ExchangeOutcome::LinkLost;
    }
    outcome = ReceiveFrame();
    if (outcome != ExchangeOutcome::Acknowledged) {
        return outcome;
    }
    const quint8 ack = wire::kAck;
    if (!m_port.WriteBytes(&ack, 1)) {
        m_strReply.clear();
        return ExchangeOutcome::LinkLost;
    }
    return ExchangeOutcome::Acknowledged;
}

void CRsBasicProtocol::Report(const QDateTime& started, qint64 elapsedMs, const QString& text,
                              bool query, ExchangeOutcome outcome) const {
    ExchangeRecord record;
    record.time = started;
    record.command = text;
    // A good reply as the caller gets it; after a fault whatever the instrument did send
    // (a wrong byte instead of ACK, or the text of a broken frame), which is what a service
    // engineer looks for. An acknowledged command has nothing to show.
    if (outcome == ExchangeOutcome::Acknowledged) {
        record.reply = query ? m_strReply : QString();
    } else {
        record.reply = QString::fromLatin1(m_heard);
    }
    record.query = query;
    record.outcome = outcome;
    record.durationMs = elapsedMs;
    m_pObserver->OnExchange(record);
}

bool CRsBasicProtocol::SendCommand(const QString& text) {
    if (!m_pObserver) {
        m_lastOutcome = Command(text);
        return m_lastOutcome == ExchangeOutcome::Acknowledged;
    }
    const QDateTime started = QDateTime::currentDateTime();
    QElapsedTimer clock;
    clock.start();
    m_lastOutcome = Command(text);
    Report(started, clock.elapsed(), text, false, m_lastOutcome);
    return m_lastOutcome == ExchangeOutcome::Acknowledged;
}

bool CRsBasicProtocol::SendQuery(const QString& text) {
    m_strReply.clear();
    if (!m_pObserver) {
        m_lastOutcome = Query(text);
        return m_lastOutcome == ExchangeOutcome::Acknowledged;
    }
    const QDateTime started = QDateTime::currentDateTime();
    QElapsedTimer clock;
    clock.start();
    m_lastOutcome = Query(text);
    Report(started, clock.elapsed(), text, true, m_lastOutcome);
    return m_lastOutcome == ExchangeOutcome::Acknowledged;
}

}  // namespace zeb
