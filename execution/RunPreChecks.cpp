#include "RunPreChecks.h"

#include "InstrumentStatus.h"
#include "LinkMessages.h"
#include "MessageSeam.h"
#include "SettingsDoc.h"
#include "StandardVerdict.h"
#include "StepCheck.h"
#include "ZebM40Cntl.h"

namespace zeb {

namespace {

// Every step against what the instrument accepts and the machine offers, before the first one is
// sent: a file holding a step the machine cannot run is refused as a whole, not halfway.
bool StepsRefused(const CZebM40SettingsDoc& doc) {
    const ExecDataList& steps = doc.Steps();
    for (size_t i = 0; i < steps.size(); ++i) {
        QString problem;
        if (!CheckStepValues(steps[i], problem)) {
            ShowMessage(QStringLiteral("Test step %1: %2").arg(i + 1).arg(problem));
            return true;
        }
    }
    return false;
}

bool LimiterRefuses(CZebM40Cntl& cntl, const CZebM40SettingsDoc& doc) {
    if (!HasLimiter(doc.Record().m_ulMachineType)) {
        return false;
    }
    quint16 protect = 0;
    if (!cntl.GetProtectStatus(protect) || !(protect & protect::kLimiter6kV)) {
        return false;
    }
    for (const CExecData& step : doc.Steps()) {
        if (step.m_lVolt > kLimiterVoltageMax) {
            return true;
        }
    }
    return false;
}

// Whether the line configuration the instrument has switched on differs from the record's, so
// the line must go off before the record's steps are loaded.
bool LineMustGoOff(CZebM40Cntl& cntl, const CSettingData& record) {
    quint8 st = 0;
    if (!cntl.GetStatus(st) || !(st & status::kLineOn)) {
        return false;
    }
    int port = 0;
    if (!cntl.GetOutputPort(port)) {
        return false;
    }
    if (port != record.m_outOutput.m_nOutputPort) {
        return true;
    }
    if (port != kPortAc || HasCouplingUnit(record.m_ulMachineType)) {
        return false;
    }
    int lineType = 0;
    if (!cntl.GetLineType(lineType)) {
        return false;
    }
    return !PhaseGroupsAgree(lineType, record.m_outOutput.m_aopOutputPort[kPortAc].m_nOutputDetail);
}

}  // namespace

bool StandardDeviationsAccepted(const CZebM40SettingsDoc& doc) {
    const QString question = PreRunQuestion(EvaluateStandard(doc, InstalledProfiles()));
    return question.isEmpty() ||
           ShowMessage(question, MsgButtons::OkCancel, MsgIcon::Warning) == MsgAnswer::Ok;
}

bool SettingsFit(CZebM40Cntl& cntl, const CSettingData& record) {
    const SettingsCheck check = cntl.CheckSettings(record);
    for (const QString& message : check.messages) {
        ShowMessage(message);
    }
    return check.fits;
}

bool RunPreChecks(CZebM40Cntl& cntl, const CZebM40SettingsDoc& doc) {
    if (!SettingsFit(cntl, doc.Record())) {
        return false;
    }
    if (StepsRefused(doc)) {
        return false;
    }
    if (LimiterRefuses(cntl, doc)) {
        ShowMessage(linkmsg::Limiter6kV());
        return false;
    }
    if (!StandardDeviationsAccepted(doc)) {
        return false;
    }
    if (LineMustGoOff(cntl, doc.Record())) {
        if (ShowMessage(linkmsg::ConfirmLineOff(), MsgButtons::OkCancel, MsgIcon::Question) !=
            MsgAnswer::Ok) {
            return false;
        }
        cntl.LineOff();
    }
    return true;
}

}  // namespace zeb
