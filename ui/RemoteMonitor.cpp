#include "RemoteMonitor.h"

#include "CurrentMachine.h"
#include "MachineModels.h"
#include "ZebM40Cntl.h"

namespace zeb {

CRemoteMonitor::CRemoteMonitor(CZebM40Cntl& cntl, CurrentMachine& machine)
    : m_cntl(cntl), m_machine(machine) {
    ShowModel();
    ShowLink(m_cntl.IsConnected());
}

void CRemoteMonitor::ShowLink(bool connected) {
    m_linkText = connected ? QStringLiteral("Connect") : QStringLiteral("None");
}

void CRemoteMonitor::ShowModel() {
    GetModelName(m_machine.m_ulCurrentMachineType, m_modelName);
}

void CRemoteMonitor::Tick() {
    if (!m_cntl.IsConnected()) {
        // A failed scan leaves the display as it was.
        if (!m_cntl.Connect()) {
            return;
        }
        ShowLink(true);
        quint32 type = 0;
        if (m_cntl.GetMachineType(type)) {
            m_machine.m_ulCurrentMachineType = type;
            ShowModel();
            m_machine.m_nCurrentHWVersion = m_cntl.InstHWVersion();
        }
        return;
    }
    QString reply;
    if (m_cntl.Identify(reply) == 0 && !m_cntl.Connect()) {
        ShowLink(false);
    }
}

void CRemoteMonitor::Reconnect() {
    if (m_cntl.IsConnected()) {
        m_cntl.Protocol().Port().ClosePort();
    }
    ShowLink(m_cntl.Connect());
}

}  // namespace zeb
