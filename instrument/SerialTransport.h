#pragma once
// The byte pipe under the instrument protocol. The protocol asks only for these few operations,
// so a test can script a byte-exact conversation with a fake, and the program and the end-to-end
// tests use the real serial port (QtSerialTransport).

#include <QString>
#include <QtGlobal>

#include <functional>
#include <memory>

namespace zeb {

enum class TransportOpen {
    Opened,   // the device is open and set to 9600 baud, 8 data bits, no parity, 1 stop bit
    Busy,     // the device exists but is not to be had: another program holds it, a lock file
              // stands for it, or the user may not open it (PortAccessProblem says which)
    Missing,  // no such device, or it cannot be used as a serial port
};

enum class TransportWait {
    Ready,     // bytes arrived
    TimedOut,  // nothing arrived within the time given
    Vanished,  // the device is gone (cable pulled, adapter removed); the port must be closed
};

class ISerialTransport {
public:
    virtual ~ISerialTransport() = default;

    // Opens the device for exclusive use with the link's line settings.
    virtual TransportOpen Open(const QString& device) = 0;
    // Closes the device; harmless when nothing is open.
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;

    // Number of received bytes that can be read at once. Also clears a pending line error.
    virtual qint64 BytesWaiting() = 0;
    // Reads up to maxBytes of the waiting bytes; never blocks. Returns the count read.
    virtual qint64 Read(char* data, qint64 maxBytes) = 0;
    // Writes all bytes and waits until they have left for the line. True on success.
    virtual bool Write(const char* data, qint64 count) = 0;
    // Sleeps until bytes arrive, the time is up, or the device vanishes.
    virtual TransportWait WaitForReadyRead(int msecs) = 0;
    // True once the device has gone away; only closing helps then.
    virtual bool HasVanished() const = 0;
};

using TransportFactory = std::function<std::unique_ptr<ISerialTransport>()>;

}  // namespace zeb
