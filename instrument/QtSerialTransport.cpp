#include "QtSerialTransport.h"

#include <QThread>

namespace zeb {

namespace {
// A frame is at most 255 bytes, about 270 ms at 9600 baud; this is ample for any write.
constexpr int kWriteTimeoutMs = 2000;
// Time the last byte of an exchange needs to leave the UART before the lines are dropped.
constexpr int kCloseDelayMs = 100;
}  // namespace

QtSerialTransport::~QtSerialTransport() {
    Close();
}

TransportOpen QtSerialTransport::Open(const QString& device) {
    Close();
    m_vanished = false;
    m_wrote = false;
    m_port.setPortName(device);
    if (!m_port.open(QIODevice::ReadWrite)) {
        const QSerialPort::SerialPortError error = m_port.error();
        m_port.clearError();
        if (error == QSerialPort::PermissionError) {
            return TransportOpen::Busy;
        }
        return TransportOpen::Missing;
    }
    const bool configured =
        m_port.setBaudRate(QSerialPort::Baud9600) && m_port.setDataBits(QSerialPort::Data8) &&
        m_port.setParity(QSerialPort::NoParity) && m_port.setStopBits(QSerialPort::OneStop) &&
        m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!configured) {
        m_port.close();
        m_port.clearError();
        return TransportOpen::Missing;
    }
    // The instrument wants DTR and RTS held on. A pseudo-terminal has no modem lines and
    // refuses both; that is not a reason to give up the port.
    m_port.setDataTerminalReady(true);
    m_port.setRequestToSend(true);
    m_port.clearError();
    m_port.clear();
    return TransportOpen::Opened;
}

void QtSerialTransport::Close() {
    if (!m_port.isOpen()) {
        return;
    }
    if (!m_vanished && m_wrote) {
        QThread::msleep(kCloseDelayMs);
        m_port.setRequestToSend(false);
        m_port.setDataTerminalReady(false);
    }
    m_port.close();
    m_port.clearError();
}

bool QtSerialTransport::TakeError() {
    const QSerialPort::SerialPortError error = m_port.error();
    switch (error) {
        case QSerialPort::NoError:
        case QSerialPort::TimeoutError:
            break;
        case QSerialPort::ReadError:
        case QSerialPort::ResourceError:
        case QSerialPort::WriteError:
        case QSerialPort::DeviceNotFoundError:
        case QSerialPort::NotOpenError:
        case QSerialPort::UnknownError:
            m_vanished = true;
            break;
        default:
            break;
    }
    m_port.clearError();
    return m_vanished;
}

qint64 QtSerialTransport::BytesWaiting() {
    if (!m_port.isOpen() || m_vanished) {
        return 0;
    }
    // Without an event loop QSerialPort only moves bytes from the driver into its buffer
    // inside waitForReadyRead; a zero timeout collects what has arrived without waiting.
    if (m_port.bytesAvailable() == 0) {
        m_port.waitForReadyRead(0);
    }
    TakeError();
    return m_port.bytesAvailable();
}

qint64 QtSerialTransport::Read(char* data, qint64 maxBytes) {
    if (!m_port.isOpen() || maxBytes <= 0) {
        return 0;
    }
    const qint64 n = m_port.read(data, qMin(maxBytes, m_port.bytesAvailable()));
    return n < 0 ? 0 : n;
}

bool QtSerialTransport::Write(const char* data, qint64 count) {
    if (!m_port.isOpen() || m_vanished) {
        return false;
    }
    if (m_port.write(data, count) != count) {
        TakeError();
        return false;
    }
    m_wrote = true;
    // Without an event loop write() only queues; push the bytes out now.
    while (m_port.bytesToWrite() > 0) {
        if (!m_port.waitForBytesWritten(kWriteTimeoutMs)) {
            TakeError();
            return false;
        }
    }
    return true;
}

TransportWait QtSerialTransport::WaitForReadyRead(int msecs) {
    if (!m_port.isOpen() || m_vanished) {
        return TransportWait::Vanished;
    }
    if (m_port.bytesAvailable() > 0) {
        return TransportWait::Ready;
    }
    if (m_port.waitForReadyRead(qMax(0, msecs))) {
        return TransportWait::Ready;
    }
    return TakeError() ? TransportWait::Vanished : TransportWait::TimedOut;
}

TransportFactory QtSerialTransport::Factory() {
    return [] { return std::make_unique<QtSerialTransport>(); };
}

}  // namespace zeb
