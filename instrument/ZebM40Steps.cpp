// Sending a test step and checking a record against the connected instrument.

#include "LinkMessages.h"
#include "SettingData.h"
#include "StepCheck.h"
#include "StepCommands.h"
#include "ZebM40Cntl.h"

namespace zeb {

namespace {
// The type assumed when the instrument does not report one.
constexpr quint32 kFallbackMachineType = 5;
}  // namespace

CmdResult CZebM40Cntl::SendStep(const CExecData& step, QStringList* block) {
    if (block) {
        block->clear();
    }
    // Values from a file are checked here, on the one path every caller takes, so that nothing
    // the instrument does not accept is ever put on the line.
    QString problem;
    if (!CheckStepValues(step, problem)) {
        return CmdResult::Refusal(problem);
    }
    QStringList commands;
    if (!StepParameterCommands(step, commands)) {
        return CmdResult::Refusal(QString());  // no line code at all: nothing to send
    }
    if (block) {
        *block = commands;
    }
    // A dead link fails here, before any parameter is changed.
    if (!m_protocol.SendQuery(CommandText(InstrumentCommand::Identify))) {
        return CmdResult::Of(m_protocol.LastOutcome());
    }
    for (const QString& command : commands) {
        if (!m_protocol.SendCommand(command)) {
            return CmdResult::Of(m_protocol.LastOutcome());
        }
    }
    return {};
}

SettingsCheck CZebM40Cntl::CheckSettings(const CSettingData& record) {
    SettingsCheck check;
    if (!IsConnected()) {
        return check;  // without an instrument there is nothing to check against
    }
    QString reply;
    if (Identify(reply) == ident::kNone) {
        check.messages << linkmsg::CouldNotConnect();
        return check;  // the next command fails on its own
    }
    quint32 type = 0;
    if (!GetMachineType(type)) {
        type = kFallbackMachineType;
    }
    if (!ReportedTypeFits(type, record.m_ulMachineType)) {
        QString model;
        GetModelName(record.m_ulMachineType, model);
        check.messages << linkmsg::OtherMachineType(model);
        check.fits = false;
    }
    if (record.m_outOutput.m_nOutputPort == kPortAc &&
        record.m_outOutput.m_aopOutputPort[kPortAc].m_nOutputDetail == kAcThreePhasePE &&
        m_nInstHWVersion == 0) {
        check.messages << linkmsg::CannotExecSettings();
        check.fits = false;
    }
    return check;
}

}  // namespace zeb
