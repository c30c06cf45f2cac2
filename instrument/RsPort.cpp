#include "RsPort.h"

#include "QtSerialTransport.h"

namespace zeb {

SerialAccess SerialAccess::System() {
    return {SystemPortTable, QtSerialTransport::Factory()};
}

CRsPort::CRsPort(SerialAccess access) : m_access(std::move(access)) {}

CRsPort::~CRsPort() {
    ClosePort();
}

QString CRsPort::DeviceFor(int n) const {
    if (n < 1 || n > kMaxOpenPortNo || !m_access.portTable) {
        return {};
    }
    const QStringList table = m_access.portTable();
    return n <= table.size() ? table.at(n - 1) : QString();
}

int CRsPort::ListPorts(std::vector<int>& ports) {
    ports.clear();
    if (!m_access.portTable || !m_access.makeTransport) {
        return 0;
    }
    const QStringList table = m_access.portTable();
    const int count = qMin(static_cast<int>(table.size()), kMaxPortNo);
    for (int n = 1; n <= count; ++n) {
        if (n == m_nPortNo) {
            ports.push_back(n);  // our own open port is certainly present
            continue;
        }
        std::unique_ptr<ISerialTransport> probe = m_access.makeTransport();
        switch (probe->Open(table.at(n - 1))) {
            case TransportOpen::Opened:
                probe->Close();
                ports.push_back(n);
                break;
            case TransportOpen::Busy:
                ports.push_back(n);
                break;
            case TransportOpen::Missing:
                break;
        }
    }
    return static_cast<int>(ports.size());
}

bool CRsPort::OpenPort(int n) {
    ClosePort();
    m_lastOpen = TransportOpen::Missing;
    const QString device = DeviceFor(n);
    if (device.isEmpty() || !m_access.makeTransport) {
        return false;
    }
    std::unique_ptr<ISerialTransport> transport = m_access.makeTransport();
    m_lastOpen = transport->Open(device);
    if (m_lastOpen != TransportOpen::Opened) {
        return false;
    }
    m_hComm = std::move(transport);
    m_nPortNo = n;
    m_strDevice = device;
    return true;
}

void CRsPort::ClosePort() {
    if (!m_hComm) {
        return;
    }
    m_hComm->Close();
    m_hComm.reset();
    m_nPortNo = 0;
    m_strDevice.clear();
}

void CRsPort::CloseIfVanished() {
    if (m_hComm && m_hComm->HasVanished()) {
        ClosePort();
    }
}

bool CRsPort::WriteBytes(const quint8* bytes, int count) {
    if (!m_hComm) {
        return false;
    }
    const bool ok = m_hComm->Write(reinterpret_cast<const char*>(bytes), count);
    if (!ok) {
        CloseIfVanished();
    }
    return ok;
}

qint64 CRsPort::BytesWaiting() {
    if (!m_hComm) {
        return 0;
    }
    const qint64 n = m_hComm->BytesWaiting();
    CloseIfVanished();
    return m_hComm ? n : 0;
}

qint64 CRsPort::ReadBytes(quint8* data, qint64 maxBytes) {
    if (!m_hComm) {
        return 0;
    }
    return m_hComm->Read(reinterpret_cast<char*>(data), maxBytes);
}

bool CRsPort::WaitForData(int msecs) {
    if (!m_hComm) {
        return false;
    }
    switch (m_hComm->WaitForReadyRead(msecs)) {
        case TransportWait::Ready:
            return true;
        case TransportWait::TimedOut:
            return false;
        case TransportWait::Vanished:
            break;
    }
    ClosePort();
    return false;
}

}  // namespace zeb
