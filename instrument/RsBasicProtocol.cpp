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

bool CRsBasicProtocol::OpenExchange() {
    if (m_port.PortNo() == 0 || !FlushInput()) {
        return false;
    }
    const quint8 enq = wire::kEnq;
    if (!m_port.WriteBytes(&enq, 1)) {
        return false;
    }
    quint8 answer = 0;
    return ReadByte(answer) && answer == wire::kAck;
}

int CRsBasicProtocol::BuildFrame(const QString& text) {
    // The instrument speaks ASCII; Latin-1 maps it one to one.
    const QByteArray frame = wire::Frame(text.toLatin1().left(wire::kMaxSendText));
    std::copy(frame.cbegin(), frame.cend(), m_abySendBuf.begin());
    m_abySendBuf[static_cast<size_t>(frame.size())] = 0;
    return static_cast<int>(frame.size());
}

bool CRsBasicProtocol::ReceiveFrame() {
    quint8 byte = 0;
    if (!ReadByte(byte) || byte != wire::kStx) {
        return false;
    }
    QByteArray text;
    quint8 bcc = 0;
    for (;;) {
        if (!ReadByte(byte)) {
            return false;
        }
        if (byte == wire::kEtx) {
            break;
        }
        if (text.size() >= wire::kMaxReplyText) {
            return false;
        }
        text.append(static_cast<char>(byte));
        bcc ^= byte;
    }
    bcc ^= wire::kEtx;
    quint8 received = 0;
    if (!ReadByte(received) || received != bcc) {
        return false;
    }
    m_strReply = QString::fromLatin1(text);
    return true;
}

bool CRsBasicProtocol::SendCommand(const QString& text) {
    if (!OpenExchange()) {
        return false;
    }
    const int length = BuildFrame(text);
    if (!m_port.WriteBytes(m_abySendBuf.data(), length)) {
        return false;
    }
    quint8 answer = 0;
    return ReadByte(answer) && answer == wire::kAck;
}

bool CRsBasicProtocol::SendQuery(const QString& text) {
    m_strReply.clear();
    if (!OpenExchange()) {
        return false;
    }
    const int length = BuildFrame(text);
    if (!m_port.WriteBytes(m_abySendBuf.data(), length)) {
        return false;
    }
    if (!ReceiveFrame()) {
        return false;
    }
    const quint8 ack = wire::kAck;
    if (!m_port.WriteBytes(&ack, 1)) {
        m_strReply.clear();
        return false;
    }
    return true;
}

}  // namespace zeb
