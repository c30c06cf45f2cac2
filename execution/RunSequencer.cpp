#include "RunSequencer.h"

#include "InstrumentStatus.h"
#include "LinkMessages.h"
#include "MessageSeam.h"
#include "RemainingTime.h"
#include "SettingsDoc.h"
#include "StepCheck.h"
#include "TimerHost.h"
#include "ZebM40Cntl.h"

namespace zeb {

namespace {

// Counter replies are read the way the instrument's firmware writes them: optional blanks, an
// optional sign, then digits; anything after the digits is ignored, nothing readable is 0.
qint64 LeadingInteger(const QString& text) {
    int i = 0;
    while (i < text.size() && text.at(i).isSpace()) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    qint64 value = 0;
    for (; i < text.size() && text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9');
         ++i) {
        if (value < 1000000000000LL) {  // saturate long garbage instead of overflowing
            value = value * 10 + (text.at(i).unicode() - '0');
        }
    }
    return negative ? -value : value;
}

QString Num(qint64 value) {
    return QString::number(value);
}

}  // namespace

QString ReportQuestion() {
    return QStringLiteral("Do you make the test report?");
}

CRunSequencer::CRunSequencer(CZebM40SettingsDoc& doc, CZebM40Cntl& cntl, ITimerHost& timers)
    : m_doc(doc), m_cntl(cntl), m_timers(timers), m_list(doc.Steps()) {}

int CRunSequencer::StepCount() const {
    return static_cast<int>(m_doc.Steps().size());
}

bool CRunSequencer::HasStep(int index) const {
    return index >= 0 && index < StepCount();
}

bool CRunSequencer::CouplingUnit() const {
    return HasCouplingUnit(m_doc.Record().m_ulMachineType);
}

void CRunSequencer::ShowInstrumentError() {
    QString message;
    m_cntl.GetErrorMessage(message);
    if (!message.isEmpty()) {
        ShowMessage(message, MsgButtons::Ok, MsgIcon::Error);
        // A model with a coupling unit also gets its settings cleared ("PQ0") after an error.
        if (CouplingUnit()) {
            m_cntl.ClearSettings();
        }
    }
}

// A phase-synchronised AC test needs the mains on the EUT line to find its angle.
bool CRunSequencer::SyncNeedsLine() const {
    const OUTPUT& out = m_doc.Record().m_outOutput;
    return out.m_nOutputPort == kPortAc && out.m_aopOutputPort[kPortAc].m_nSync == 1;
}

// The run never switches the EUT line on for the surge output or the telecom port: the button
// is not offered for them, and nobody else (zebctl before the first idle poll) may do it either.
bool CRunSequencer::LineOnOffered() const {
    const int port = m_doc.Record().m_outOutput.m_nOutputPort;
    return port != kPortSurge && port != kPortTelecom;
}

void CRunSequencer::Changed() {
    if (m_onState) {
        m_onState();
    }
}

void CRunSequencer::ArmPoll(int id) {
    m_timers.SetTimer(id, runtimer::kPollMs);
}

void CRunSequencer::ShowLamp(bool lit) {
    m_bLampLit = lit;
    m_state.lampLit = lit;
}

void CRunSequencer::StartBlink() {
    if (!m_bBlinking) {
        m_timers.SetTimer(runtimer::kLamp, runtimer::kLampMs);
        m_bBlinking = true;
    }
}

void CRunSequencer::StopBlink() {
    if (m_bBlinking) {
        m_timers.KillTimer(runtimer::kLamp);
        ShowLamp(false);
        m_bBlinking = false;
    }
}

void CRunSequencer::EndTest(RunOutcome outcome) {
    m_outcome = outcome;
}

void CRunSequencer::SelectRow(int row) {
    m_state.selectedRow = row;
}

void CRunSequencer::SetRemaining(int index, qint64 done) {
    m_remainingSeconds = zeb::RemainingSeconds(m_doc.Steps(), index, done);
    m_state.remaining = RemainingText(m_remainingSeconds);
}

void CRunSequencer::MoveDefaultToStop() {
    m_state.defaultButton = ExecControl::Stop;
    m_state.focus = ExecControl::Stop;
}

// Step figures and texts shown when the dialog opens.
void CRunSequencer::ShowStepTexts(int index) {
    CExecData& step = m_doc.Steps()[static_cast<size_t>(index)];
    // The step is sent as the panel names it: codes outside their tables go back to their
    // defaults in the document here, not as a side effect of reading a text.
    step.CorrectPanelCodes();
    m_state.stepTotal = Num(StepCount());
    m_state.stepNumber = Num(index + 1);
    m_state.dischargeTotal = Num(step.m_lDisc);
    m_state.dischargeDone = Num(0);
    m_state.countdown = Num(step.MinInterval());
    m_state.interval = Num(step.m_lRept);
    m_state.outputPort = step.GetItemText(kItemPort);
    m_state.outputLines = step.GetItemText(kItemDetail);
    m_state.waveform = step.GetItemText(kItemWaveform);
    m_state.impedanceVisible = step.m_nWaveform == kWaveRing;
    m_state.impedance = m_state.impedanceVisible ? step.GetItemText(kItemRing) : QString();
}

// Discharges done, remaining time and countdown from the instrument; returns the countdown.
qint64 CRunSequencer::RefreshCounters(int index) {
    QString text;
    m_cntl.GetDischargeCount(text);
    m_state.dischargeDone = text;
    SetRemaining(index, LeadingInteger(text));
    m_cntl.GetIntervalCount(text);
    m_state.countdown = text;
    return LeadingInteger(text);
}

bool CRunSequencer::Open() {
    if (StepCount() == 0) {
        return false;  // nothing to run, and nothing may be read
    }
    m_opened = true;
    m_state.startIcon = StartIcon::Play;
    ShowLamp(false);

    int current = m_doc.CurrentStep();
    if (!HasStep(current)) {
        current = 0;
        m_doc.SetCurrentStep(0);
    }
    m_list.Refill();
    SelectRow(current);

    ShowStepTexts(current);
    SetRemaining(current, 0);
    m_state.notConnectedVisible = !m_cntl.IsConnected();

    quint8 st = 0;
    m_cntl.GetStatus(st);
    m_state.lineOnChecked = (st & status::kLineOn) != 0;
    m_state.lineOffChecked = !m_state.lineOnChecked;

    // The instrument shows the step about to run.
    m_cntl.ClearSettings();
    m_cntl.StopTest();
    m_cntl.SendStepParameters(m_doc.Steps()[static_cast<size_t>(current)]);

    ArmPoll(runtimer::kIdlePoll);
    Changed();
    return true;
}

void CRunSequencer::Destroy() {
    m_timers.KillTimer(runtimer::kIdlePoll);
    m_timers.KillTimer(runtimer::kRunPoll);
    m_timers.KillTimer(runtimer::kLamp);
    if (!m_opened) {
        return;
    }
    m_opened = false;
    m_cntl.ClearSettings();
    m_cntl.StopTest();
}

void CRunSequencer::OnTimer(int id) {
    if (!m_opened) {
        return;
    }
    switch (id) {
        case runtimer::kIdlePoll:
            IdleTick();
            break;
        case runtimer::kRunPoll:
            RunTick();
            break;
        case runtimer::kLamp:
            LampTick();
            break;
        default:
            break;
    }
}

void CRunSequencer::IdleTick() {
    m_timers.KillTimer(runtimer::kIdlePoll);
    quint8 st = 0;
    if (!m_cntl.GetStatus(st)) {
        StopBlink();
        m_state.notConnectedVisible = true;
        m_state.startEnabled = false;
        m_state.stopEnabled = false;
        m_state.lineOnEnabled = false;
        m_state.lineOffEnabled = false;
        m_state.lineOnChecked = false;
        m_state.lineOffChecked = true;
    } else {
        m_state.notConnectedVisible = false;
        if (st & status::kRunning) {
            // A sequence this dialog did not start (started at the instrument's own panel).
            if (!(st & status::kLineOn)) {
                m_cntl.Protocol().SendCommand(QStringLiteral("CD"));
            }
            m_cntl.StopTest();
            Changed();
            ShowMessage(linkmsg::TestInterrupted());
        } else {
            m_nRunState = 0;
            if (st & status::kBusy) {
                m_state.stopEnabled = false;
                m_state.startEnabled = false;
                m_state.processingVisible = true;
                m_state.pauseVisible = false;
            } else {
                const bool lineOn = (st & status::kLineOn) != 0;
                StopBlink();
                m_state.stopEnabled = false;
                m_state.startEnabled = lineOn || !SyncNeedsLine();
                m_state.pauseVisible = false;
                m_state.processingVisible = false;
                m_state.lineOffEnabled = true;
                m_state.lineOnEnabled = LineOnOffered();
                // The radios and the lamp follow the line as the instrument reports it.
                if (lineOn) {
                    if (!m_bLampLit) {
                        ShowLamp(true);
                    }
                    if (m_state.lineOffChecked) {
                        m_state.lineOnChecked = true;
                        m_state.lineOffChecked = false;
                    }
                } else {
                    if (m_bLampLit) {
                        ShowLamp(false);
                    }
                    if (m_state.lineOnChecked) {
                        m_state.lineOnChecked = false;
                        m_state.lineOffChecked = true;
                    }
                }
                m_state.startIcon = StartIcon::Play;
                m_state.judgementEnabled = true;
            }
        }
    }
    ArmPoll(runtimer::kIdlePoll);
    Changed();
}

void CRunSequencer::LampTick() {
    ShowLamp(!m_bLampLit);
    m_timers.SetTimer(runtimer::kLamp, runtimer::kLampMs);
    Changed();
}

void CRunSequencer::RunTick() {
    m_timers.KillTimer(runtimer::kRunPoll);
    m_nRunState = 1;
    int current = m_doc.CurrentStep();
    if (!HasStep(current)) {
        current = 0;  // cannot arise from the handlers; never read past the list
        m_doc.SetCurrentStep(0);
    }
    quint8 st = 0;
    if (!m_cntl.GetStatus(st)) {
        StopBlink();
        m_state.pauseVisible = false;
        m_state.stopEnabled = false;
        m_state.startEnabled = false;
        Changed();
        ShowMessage(linkmsg::LostDuringRun());
        ArmPoll(runtimer::kIdlePoll);
        EndTest(RunOutcome::NoLink);
        Changed();
        return;
    }
    const bool running = (st & status::kRunning) != 0;
    const bool busy = (st & status::kBusy) != 0;
    if (running && busy) {
        StartBlink();
        m_state.processingVisible = true;
        m_state.startEnabled = false;
        m_state.stopEnabled = true;
        MoveDefaultToStop();
        ArmPoll(runtimer::kRunPoll);
        Changed();
        return;
    }
    if (running) {
        StartBlink();
        m_state.processingVisible = false;
        m_state.stopEnabled = true;
        if (st & status::kPaused) {
            m_nRunState = 2;
            m_state.startIcon = StartIcon::Play;
            m_state.pauseVisible = true;
        } else if (!CouplingUnit()) {
            m_state.startIcon = StartIcon::Pause;
            m_state.pauseVisible = false;
        }
        m_state.lineOnEnabled = false;
        m_state.lineOffEnabled = (st & status::kLineOn) != 0;
        m_state.judgementEnabled = false;
        m_state.stepNumber = Num(current + 1);
        const qint64 countdown = RefreshCounters(current);
        // A pause is offered only while at least 2 s remain before the next discharge; the
        // coupling unit cannot pause at all.
        if (countdown >= 2) {
            if (!CouplingUnit()) {
                m_state.startEnabled = true;
            }
        } else if (m_nRunState == 1) {
            if (m_state.focus == ExecControl::Start) {
                MoveDefaultToStop();
            }
            m_state.startEnabled = false;
        }
        m_state.interval = Num(m_doc.Steps()[static_cast<size_t>(current)].m_lRept);
        ArmPoll(runtimer::kRunPoll);
        Changed();
        return;
    }

    m_state.pauseVisible = false;
    if (st & status::kError) {
        StopBlink();
        m_state.stopEnabled = false;
        m_state.startEnabled = false;
        Changed();
        ShowInstrumentError();
        ArmPoll(runtimer::kIdlePoll);
        EndTest(RunOutcome::Error);
        Changed();
        return;
    }
    if (!(st & status::kNormalEnd) || m_bStopRequested) {
        StopBlink();
        m_state.stopEnabled = false;
        m_state.startEnabled = false;
        Changed();
        ShowMessage(linkmsg::TestStopped(), MsgButtons::Ok, MsgIcon::Information);
        ArmPoll(runtimer::kIdlePoll);
        EndTest(RunOutcome::Stopped);
        Changed();
        return;
    }
    if (busy) {
        m_state.processingVisible = true;
        RefreshCounters(current);
        ArmPoll(runtimer::kRunPoll);
        Changed();
        return;
    }

    // The step ended normally.
    m_state.processingVisible = false;
    ExecDataList& steps = m_doc.Steps();
    if (current + 1 < StepCount()) {
        steps[static_cast<size_t>(current)].m_nResult = kResultPass;
        m_list.RefreshRow(current);
        ++current;
        m_doc.SetCurrentStep(current);
        steps[static_cast<size_t>(current)].m_nResult = kResultNone;
        m_list.RefreshRow(current);
        SelectRow(current);
        m_cntl.StopTest();
        if (m_cntl.SendStepParameters(steps[static_cast<size_t>(current)])) {
            m_cntl.StartTest();
        } else {
            // The next step was refused (the operator has been told why): it is not started,
            // and the next tick ends the run as stopped, whatever the old end bit says.
            m_bStopRequested = true;
        }
        ArmPoll(runtimer::kRunPoll);
        Changed();
        return;
    }
    StopBlink();
    steps[static_cast<size_t>(current)].m_nResult = kResultPass;
    m_list.RefreshRow(current);
    RefreshCounters(current);
    Changed();
    ShowMessage(linkmsg::TestComplete(), MsgButtons::Ok, MsgIcon::Information);
    ArmPoll(runtimer::kIdlePoll);
    m_doc.SetCurrentStep(0);
    SelectRow(0);
    m_state.stepNumber = Num(1);
    m_state.stopEnabled = false;
    m_state.dischargeDone = Num(0);
    SetRemaining(0, 0);
    m_state.countdown = Num(steps.front().m_lRept);
    EndTest(RunOutcome::Complete);
    Changed();
}

void CRunSequencer::OnStart() {
    if (!m_opened || !m_cntl.CheckSettings(m_doc.Record())) {
        return;
    }
    m_timers.KillTimer(runtimer::kIdlePoll);
    m_timers.KillTimer(runtimer::kRunPoll);
    int current = m_doc.CurrentStep();
    if (!HasStep(current)) {
        current = 0;
        m_doc.SetCurrentStep(0);
    }
    CExecData& step = m_doc.Steps()[static_cast<size_t>(current)];
    m_state.stepNumber = Num(current + 1);
    Changed();
    m_state.dischargeTotal = Num(step.m_lDisc);
    m_state.interval = Num(step.m_lRept);

    quint8 st = 0;
    const bool answered = m_cntl.GetStatus(st);
    if (answered && (st & status::kRunning)) {
        m_cntl.StartTest();  // pause or resume the running step
        ArmPoll(runtimer::kRunPoll);
        Changed();
        return;
    }
    if (!answered || (st & status::kBusy)) {
        // Nothing can start now; keep polling the way the dialog was polling.
        ArmPoll(m_nRunState == 0 ? runtimer::kIdlePoll : runtimer::kRunPoll);
        Changed();
        return;
    }

    m_state.dischargeDone = Num(0);
    m_state.countdown = Num(step.MinInterval());
    SelectRow(current);
    m_state.lineOnEnabled = false;
    m_state.startEnabled = false;
    m_cntl.ClearSettings();
    m_cntl.StopTest();
    if (!m_cntl.SendStepParameters(step)) {
        // The step is never started on a parameter set that did not fully arrive. Values the
        // instrument cannot take were named to the operator before anything was sent; otherwise
        // the line failed during the block, and the operator is told so instead of seeing
        // START do nothing.
        m_state.lineOnEnabled = true;
        QString problem;
        const bool lineFailed = CheckStepValues(step, problem);
        Changed();
        if (lineFailed) {
            ShowMessage(linkmsg::LostDuringRun());
        }
        ArmPoll(runtimer::kIdlePoll);
        EndTest(lineFailed ? RunOutcome::NoLink : RunOutcome::Stopped);
        Changed();
        return;
    }
    Changed();
    if (ShowMessage(linkmsg::ConfirmTestStart(), MsgButtons::OkCancel, MsgIcon::Question) ==
        MsgAnswer::Ok) {
        m_bReportPending = true;
        m_bStopRequested = false;
        m_outcome = RunOutcome::None;
        step.m_nResult = kResultNone;
        m_list.RefreshRow(current);
        m_cntl.StartTest();
        ArmPoll(runtimer::kRunPoll);
    } else {
        // The parameters stay loaded on the instrument.
        m_state.lineOnEnabled = true;
        ArmPoll(runtimer::kIdlePoll);
    }
    Changed();
}

void CRunSequencer::OnStop() {
    if (!m_opened) {
        return;
    }
    m_timers.KillTimer(runtimer::kIdlePoll);
    m_timers.KillTimer(runtimer::kRunPoll);
    m_bStopRequested = true;
    m_cntl.StopTest();
    ArmPoll(runtimer::kRunPoll);
    Changed();
}

void CRunSequencer::OnLineOn() {
    if (!m_opened || !LineOnOffered()) {
        return;
    }
    // The radio is checked by the click itself; the next idle tick corrects it if need be.
    m_state.lineOnChecked = true;
    m_state.lineOffChecked = false;
    Changed();
    if (!m_cntl.CheckSettings(m_doc.Record())) {
        return;
    }
    quint8 st = 0;
    if (!m_cntl.GetStatus(st) || (st & status::kLineOnRefusedMask)) {
        return;
    }
    m_timers.KillTimer(runtimer::kIdlePoll);
    if (ShowMessage(linkmsg::ConfirmLineOn(), MsgButtons::OkCancel, MsgIcon::Question) ==
        MsgAnswer::Ok) {
        m_cntl.ClearSettings();
        m_cntl.StopTest();
        if (m_cntl.Protocol().SendCommand(QStringLiteral("CC"))) {
            quint8 after = 0;
            if (m_cntl.GetStatus(after) && !(after & status::kLineOn)) {
                // The instrument did not switch the line on; it says why in its error.
                m_state.lineOnChecked = false;
                m_state.lineOffChecked = true;
                m_state.focus = ExecControl::LineOff;
                Changed();
                ShowInstrumentError();
            }
        }
    }
    ArmPoll(runtimer::kIdlePoll);
    Changed();
}

void CRunSequencer::OnLineOff() {
    if (!m_opened) {
        return;
    }
    m_state.lineOffChecked = true;
    m_state.lineOnChecked = false;
    m_cntl.StopTest();
    m_cntl.Protocol().SendCommand(QStringLiteral("CD"));
    Changed();
}

void CRunSequencer::OnStepSpin(int delta) {
    if (StepCount() == 0) {
        return;
    }
    int current = m_doc.CurrentStep();
    current = delta > 0 ? qMin(current + 1, StepCount() - 1) : qMax(current - 1, 0);
    m_doc.SetCurrentStep(current);
    m_state.stepTotal = Num(StepCount());
    m_state.stepNumber = Num(current + 1);
    Changed();
}

KeyAction CRunSequencer::OnKey(ExecKey key) {
    const ExecControl focus = m_state.focus;
    switch (key) {
        case ExecKey::Enter:
        case ExecKey::Space:
            // Neither START nor LINE ON may be pressed from the keyboard: a high voltage
            // must never be released by a stray key.
            if (focus == ExecControl::Start || focus == ExecControl::LineOn) {
                return KeyAction::Swallow;
            }
            return KeyAction::Default;
        case ExecKey::Escape:
            if (m_state.stopEnabled) {
                m_cntl.StopTest();
                return KeyAction::Swallow;
            }
            return KeyAction::Default;
        case ExecKey::Left:
        case ExecKey::Up:
            return focus == ExecControl::LineOff ? KeyAction::FocusLineOn : KeyAction::Default;
        case ExecKey::Right:
        case ExecKey::Down:
            if (focus == ExecControl::LineOff || focus == ExecControl::Start) {
                return KeyAction::Tab;
            }
            return focus == ExecControl::Close ? KeyAction::FocusLineOn : KeyAction::Default;
        default:
            return KeyAction::Default;
    }
}

bool CRunSequencer::OnClose() {
    quint8 st = 0;
    if (m_cntl.GetStatus(st) && (st & status::kRunning)) {
        if (m_state.stopEnabled) {
            m_state.focus = ExecControl::Stop;
            Changed();
        }
        return false;
    }
    if (m_bReportPending) {
        const MsgAnswer answer =
            ShowMessage(ReportQuestion(), MsgButtons::YesNoCancel, MsgIcon::Question);
        if (answer == MsgAnswer::Cancel) {
            return false;
        }
        if (answer == MsgAnswer::Yes) {
            OnReport();
        }
    }
    return true;
}

void CRunSequencer::OnReport() {
    if (m_reportWriter) {
        m_reportWriter();
    }
}

void CRunSequencer::OnRowSelected(int row) {
    m_state.selectedRow = row;
    // While a test runs or is paused a click in the list does not move the run.
    if (HasStep(row) && m_nRunState == 0) {
        m_doc.SetCurrentStep(row);
        m_state.stepNumber = Num(row + 1);
        SetRemaining(row, 0);
    }
    Changed();
}

bool CRunSequencer::CanJudge(int row) const {
    return HasStep(row) && m_nRunState != 1;
}

void CRunSequencer::ApplyJudgement(int row, int result, const QString& comment) {
    if (!HasStep(row)) {
        return;
    }
    m_bReportPending = true;
    CExecData& step = m_doc.Steps()[static_cast<size_t>(row)];
    step.m_nResult = result;
    step.m_strComment = comment;
    m_list.RefreshRow(row);
    Changed();
}

void CRunSequencer::OnBulkJudgement(int result) {
    if (ShowMessage(QStringLiteral("All the test results are rewritten.\nIs it ok?"),
                    MsgButtons::OkCancel, MsgIcon::Question) != MsgAnswer::Ok) {
        return;
    }
    for (CExecData& step : m_doc.Steps()) {
        step.m_nResult = result;
    }
    m_list.Refill();
    SelectRow(m_doc.CurrentStep());
    Changed();
}

void CRunSequencer::OnDeleteComments() {
    if (ShowMessage(QStringLiteral("All the comments are deleted.\nIs it ok?"),
                    MsgButtons::OkCancel, MsgIcon::Question) != MsgAnswer::Ok) {
        return;
    }
    for (CExecData& step : m_doc.Steps()) {
        step.m_strComment.clear();
    }
    m_list.Refill();
    SelectRow(m_doc.CurrentStep());
    Changed();
}

}  // namespace zeb
