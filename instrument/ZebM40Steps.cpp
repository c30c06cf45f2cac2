// Sending a test step and checking a record against the connected instrument.

#include "LinkMessages.h"
#include "MessageSeam.h"
#include "SettingData.h"
#include "StepCheck.h"
#include "StepCommands.h"
#include "ZebM40Cntl.h"

namespace zeb {

namespace {
// The type assumed when the instrument does not report one.
constexpr quint32 kFallbackMachineType = 5;
}  // namespace

bool CZebM40Cntl::SendStepParameters(const CExecData& step) {
    // Values from a file are checked here, on the one path every caller takes, so that nothing
    // the instrument does not accept is ever put on the line.
    QString problem;
    if (!CheckStepValues(step, problem)) {
        ShowMessage(problem, MsgButtons::Ok, MsgIcon::Warning);
        return false;
    }
    QStringList commands;
    if (!StepParameterCommands(step, commands)) {
        return false;
    }
    // A dead link fails here, before any parameter is changed.
    if (!m_protocol.SendQuery(QStringLiteral("QA"))) {
        return false;
    }
    for (const QString& command : commands) {
        if (!m_protocol.SendCommand(command)) {
            return false;
        }
    }
    return true;
}

bool CZebM40Cntl::CheckSettings(const CSettingData& record) {
    if (!IsConnected()) {
        return true;  // without an instrument there is nothing to check against
    }
    QString reply;
    if (Identify(reply) == ident::kNone) {
        ShowMessage(linkmsg::CouldNotConnect());
        return true;  // the next command fails on its own
    }
    bool result = true;
    quint32 type = 0;
    if (!GetMachineType(type)) {
        type = kFallbackMachineType;
    }
    if (type != record.m_ulMachineType) {
        QString model;
        GetModelName(record.m_ulMachineType, model);
        ShowMessage(linkmsg::OtherMachineType(model));
        result = false;
    }
    if (record.m_outOutput.m_nOutputPort == kPortAc &&
        record.m_outOutput.m_aopOutputPort[kPortAc].m_nOutputDetail == kAcThreePhasePeDetail &&
        m_nInstHWVersion == 0) {
        ShowMessage(linkmsg::CannotExecSettings());
        result = false;
    }
    return result;
}

}  // namespace zeb
