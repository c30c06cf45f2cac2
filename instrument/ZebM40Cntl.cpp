#include "ZebM40Cntl.h"

#include <vector>

#include "ReplyDecoders.h"

namespace zeb {

CZebM40Cntl::CZebM40Cntl() : m_protocol(SerialAccess::System()) {
    Connect();
}

CZebM40Cntl::CZebM40Cntl(SerialAccess access) : m_protocol(std::move(access)) {}

CZebM40Cntl::~CZebM40Cntl() {
    m_protocol.Port().ClosePort();
}

bool CZebM40Cntl::TryPort(int portNo) {
    // A port that did not open simply fails the identification query.
    CRsPort& port = m_protocol.Port();
    if (!port.OpenPort(portNo) && port.LastOpenResult() == TransportOpen::Busy) {
        m_unopened << port.DeviceFor(portNo);
    }
    QString reply;
    const int code = Identify(reply);
    if (code == ident::kNone) {
        m_protocol.Port().ClosePort();
        return false;
    }
    m_nInstHWVersion = HardwareVersionOf(code);
    return true;
}

bool CZebM40Cntl::Connect() {
    m_unopened.clear();
    m_nIdentCode = ident::kNone;
    m_strIdentReply.clear();
    m_nInstHWVersion = 0;
    m_protocol.Port().ClosePort();
    std::vector<int> ports;
    m_protocol.Port().ListPorts(ports);
    for (int n : ports) {
        if (TryPort(n)) {
            return true;
        }
    }
    return false;
}

bool CZebM40Cntl::ConnectPort(int portNo) {
    m_unopened.clear();
    m_nIdentCode = ident::kNone;
    m_strIdentReply.clear();
    m_nInstHWVersion = 0;
    m_protocol.Port().ClosePort();
    return TryPort(portNo);
}

int CZebM40Cntl::Identify(QString& reply) {
    reply.clear();
    if (!m_protocol.SendQuery(CommandText(InstrumentCommand::Identify))) {
        return ident::kNone;
    }
    reply = m_protocol.GetReply();
    const int code = IdentCodeOf(reply);
    if (code != ident::kNone) {
        m_nIdentCode = code;
        m_strIdentReply = reply;
    }
    return code;
}

bool CZebM40Cntl::GetMachineType(quint32& machineType) {
    return QueryNibbles(InstrumentCommand::MachineType, machineType);
}

bool CZebM40Cntl::GetModelName(quint32 machineType, QString& name) {
    return zeb::GetModelName(machineType, name);
}

}  // namespace zeb
