#pragma once
// The serial port of the instrument link: finds the present ports, opens one with the fixed
// line settings (9600 baud, 8 data bits, no parity, 1 stop bit) and moves bytes. The framing
// lives one layer up in CRsBasicProtocol.

#include <QString>
#include <QtGlobal>

#include <memory>
#include <vector>

#include "PortTable.h"
#include "SerialTransport.h"

namespace zeb {

// Where the ports come from: the table mapping COMn to devices and the maker of transports.
// Tests put a fixed table and a fake transport here; the program uses System().
struct SerialAccess {
    PortTableFn portTable;
    TransportFactory makeTransport;

    static SerialAccess System();
};

class CRsPort {
public:
    explicit CRsPort(SerialAccess access = SerialAccess::System());
    ~CRsPort();
    CRsPort(const CRsPort&) = delete;
    CRsPort& operator=(const CRsPort&) = delete;

    // Port numbers (ascending) whose device exists, including ones another program holds.
    int ListPorts(std::vector<int>& ports);
    // Opens COMn (1 to 128); closes a port already open first. False leaves no port open, and
    // LastOpenResult() then says whether the device was missing or there but not to be had.
    bool OpenPort(int n);
    TransportOpen LastOpenResult() const { return m_lastOpen; }
    // Closes the open port; does nothing when none is open.
    void ClosePort();
    bool WriteBytes(const quint8* bytes, int count);

    // Received bytes ready to be read (clears a pending line error); 0 when no port is open.
    qint64 BytesWaiting();
    // Reads up to maxBytes of the waiting bytes without blocking.
    qint64 ReadBytes(quint8* data, qint64 maxBytes);
    // Sleeps until bytes arrive or msecs pass. False on time-out or when the device vanished,
    // in which case the port has been closed so that a new scan can find it again.
    bool WaitForData(int msecs);

    // Number n of the open port COMn, 0 when none is open.
    int PortNo() const { return m_nPortNo; }
    // Device behind the open port, empty when none is open.
    QString DeviceName() const { return m_strDevice; }
    // The device table entry for COMn, empty when there is none.
    QString DeviceFor(int n) const;

private:
    void CloseIfVanished();

    SerialAccess m_access;
    std::unique_ptr<ISerialTransport> m_hComm;
    int m_nPortNo = 0;
    QString m_strDevice;
    TransportOpen m_lastOpen = TransportOpen::Missing;
};

}  // namespace zeb
