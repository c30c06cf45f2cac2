#pragma once
// ISerialTransport over QSerialPort, used without an event loop: every wait is a blocking
// waitFor...() call with a timeout, so the calling thread sleeps instead of spinning.

#include <QSerialPort>

#include "SerialTransport.h"

namespace zeb {

class QtSerialTransport : public ISerialTransport {
public:
    QtSerialTransport() = default;
    ~QtSerialTransport() override;

    TransportOpen Open(const QString& device) override;
    void Close() override;
    bool IsOpen() const override { return m_port.isOpen(); }
    qint64 BytesWaiting() override;
    qint64 Read(char* data, qint64 maxBytes) override;
    bool Write(const char* data, qint64 count) override;
    TransportWait WaitForReadyRead(int msecs) override;
    bool HasVanished() const override { return m_vanished; }

    static TransportFactory Factory();

private:
    // True when the last error means the device is gone; clears harmless errors.
    bool TakeError();

    QSerialPort m_port;
    bool m_vanished = false;
    bool m_wrote = false;  // something was written since the port was opened
};

}  // namespace zeb
