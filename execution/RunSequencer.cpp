// Carrying out the run's transitions: the opening and the end of the dialog, the poll ticks,
// and the operations a transition names, in the order it names them.

#include "RunSequencer.h"

#include <algorithm>

#include "InstrumentStatus.h"
#include "LinkMessages.h"
#include "MessageSeam.h"
#include "RunPreChecks.h"
#include "SettingsDoc.h"
#include "TimerHost.h"
#include "ZebM40Cntl.h"

namespace zeb {

namespace {
// Listens to nothing: the observer of a run nobody records.
IRunObserver& Nobody() {
    static IRunObserver none;
    return none;
}
}  // namespace

QString ReportQuestion() {
    return QStringLiteral("Do you make the test report?");
}

CRunSequencer::CRunSequencer(CZebM40SettingsDoc& doc, CZebM40Cntl& cntl, ITimerHost& timers)
    : m_doc(doc), m_cntl(cntl), m_timers(timers), m_list(doc.Steps()), m_observer(&Nobody()) {}

void CRunSequencer::SetObserver(IRunObserver* observer) {
    m_observer = observer ? observer : &Nobody();
}

bool CRunSequencer::Open() {
    if (StepCount() == 0) {
        return false;  // nothing to run, and nothing may be read
    }
    m_facts.pauseOffered = false;
    m_facts.lampLit = false;

    int current = m_doc.CurrentStep();
    if (!HasStep(current)) {
        current = 0;
        m_doc.SetCurrentStep(0);
    }
    m_list.Refill();
    SelectRow(current);
    ShowStepTexts(current);
    SetRemaining(current, 0);
    m_facts.answered = m_cntl.IsConnected();

    quint8 st = 0;
    RunInput in;
    in.phase = m_phase;
    in.event = RunEvent::Opened;
    if (m_cntl.GetStatus(st)) {
        in.status = st;
    }
    m_status = st;
    m_lineOn = (st & status::kLineOn) != 0;
    ShowLine(m_lineOn);
    Carry(Decide(in));
    return true;
}

void CRunSequencer::Destroy() {
    KillPolls();
    m_timers.KillTimer(runtimer::kLamp);
    if (m_phase == RunPhase::Closed) {
        return;
    }
    Enter(RunPhase::Closed);
    // No transition decides the end: nobody is left to hear of a command that failed here, and
    // Close is allowed only while the instrument runs no step.
    m_cntl.ClearSettings();
    m_cntl.StopTest();
    m_observer->OnClosed(m_outcome);
}

void CRunSequencer::OnTimer(int id) {
    if (m_phase == RunPhase::Closed) {
        return;
    }
    switch (id) {
        case runtimer::kIdlePoll:
            Tick(RunEvent::IdleTick);
            break;
        case runtimer::kRunPoll:
            Tick(RunEvent::RunTick);
            break;
        case runtimer::kLamp:
            LampTick();
            break;
        default:
            break;
    }
}

// A poll: its own timer goes first, and the next poll is armed only when every exchange and
// message of the tick is done, so ticks never overlap.
void CRunSequencer::Tick(RunEvent event) {
    m_timers.KillTimer(event == RunEvent::IdleTick ? runtimer::kIdlePoll : runtimer::kRunPoll);
    RunInput in;
    in.phase = m_phase;
    in.event = event;
    if (event == RunEvent::RunTick) {
        in.moreSteps = CurrentIndex() + 1 < StepCount();
        in.stepGate = m_gate != nullptr;
    }
    quint8 st = 0;
    if (m_cntl.GetStatus(st)) {
        in.status = st;
    }
    m_status = st;
    m_busy = (st & status::kBusy) != 0;
    m_lineOn = (st & status::kLineOn) != 0;
    Carry(Decide(in));
}

void CRunSequencer::Carry(const Transition& t, bool viewShown) {
    m_viewApplied = viewShown;
    if (t.viewFirst && !m_viewApplied) {
        ApplyView(t.view, m_status);
        Changed();
    }
    for (const RunOp op : t.ops) {
        if (!Perform(op, t)) {
            // The operation failed, the gate did not hold or the operator answered: the table
            // decides what comes of it, and the rest of the transition is carried out only when
            // it says the failure changes nothing.
            const RunInput next = *m_failed;
            m_failed.reset();
            const Transition then = Decide(next);
            if (then.carryOn) {
                continue;
            }
            Follow(next, then);
            return;
        }
    }
    if (!m_viewApplied) {
        ApplyView(t.view, m_status);
    }
    if (t.outcome != RunOutcome::None) {
        KillPolls();  // a test that ends polls only as its end says, also when a key ended it
    }
    if (t.poll != runtimer::kNone) {
        ArmPoll(t.poll);
    }
    Enter(t.next);
    if (t.outcome != RunOutcome::None) {
        EndRun(t.outcome);
    }
    Changed();
}

bool CRunSequencer::Perform(RunOp op, const Transition& t) {
    switch (op) {
        case RunOp::ClearSettings:
            return Done(op, m_cntl.ClearSettings());
        case RunOp::Stop:
            return Done(op, m_cntl.StopTest());
        case RunOp::LineOff:
            return Done(op, m_cntl.LineOff());
        case RunOp::AskLineOn:
            return Ask(linkmsg::ConfirmLineOn(), RunEvent::LineOnConfirmed,
                       RunEvent::LineOnCancelled);
        case RunOp::LineOn:
            return SwitchLineOn();
        case RunOp::LoadStep:
            return LoadCurrentStep();
        case RunOp::ShowStep:
            return Done(op, m_cntl.SendStep(m_doc.Steps()[static_cast<size_t>(CurrentIndex())]));
        case RunOp::AskStart:
            // The run waits for the answer in the transition's phase, its panel shown.
            Enter(t.next);
            if (!m_viewApplied) {
                ApplyView(t.view, m_status);
            }
            Changed();
            return Ask(linkmsg::ConfirmTestStart(), RunEvent::StartConfirmed,
                       RunEvent::StartCancelled);
        case RunOp::BeginTest:
            m_reportPending = true;
            m_outcome = RunOutcome::None;
            Judge(CurrentIndex(), kResultNone, JudgedBy::Sequencer);
            return true;
        case RunOp::StartStep:
            m_doc.ClearResume();  // a test has started: the next one begins at step 1
            m_observer->OnStepStarted(m_doc.CurrentStep(), m_block);
            if (m_gate) {
                m_gate->StepStarted(m_doc.CurrentStep());
            }
            return Done(op, m_cntl.StartTest());
        case RunOp::PauseResume:
            return Done(op, m_cntl.PauseResume());
        case RunOp::NextStep:
            return NextStep();
        case RunOp::ReadCounters:
            ReadCounters(CurrentIndex());
            return true;
        case RunOp::ReportError:
            return ReportInstrumentError(t.view);
        case RunOp::FinishStep:
            FinishStep();
            return true;
        case RunOp::CheckStep:
            return CheckStep();
        case RunOp::Say:
            if (!m_viewApplied && !t.sayFirst) {
                ApplyView(t.view, m_status);
            }
            Changed();
            ShowMessage(t.message, MsgButtons::Ok,
                        t.notice ? MsgIcon::Information : MsgIcon::Warning);
            return true;
        case RunOp::Rewind:
            Rewind();
            return true;
        case RunOp::MarkStep:
        case RunOp::PauseStep:
        case RunOp::AskGoOn:
        case RunOp::ResumeStep:
        case RunOp::StopTest:
        case RunOp::Release:
            return PerformGateOp(op);
    }
    return true;
}

// A question to the operator: the answer is the next event of the table (see Carry).
bool CRunSequencer::Ask(const QString& question, RunEvent ok, RunEvent cancel) {
    const bool yes =
        ShowMessage(question, MsgButtons::OkCancel, MsgIcon::Question) == MsgAnswer::Ok;
    RunInput answer;
    answer.phase = m_phase;
    answer.event = yes ? ok : cancel;
    answer.status = m_status;
    m_failed = answer;
    return false;
}

// An operation's result: a failure goes to the table (see Carry) as the event it is.
bool CRunSequencer::Done(RunOp op, const CmdResult& result) {
    if (result) {
        return true;
    }
    RunInput in;
    in.phase = m_phase;
    in.event =
        result.status == CmdStatus::Refused ? RunEvent::StepRefused : RunEvent::CommandFailed;
    in.status = m_status;
    in.failedOp = op;
    in.detail = result.text;
    m_failed = in;
    return false;
}

void CRunSequencer::Enter(RunPhase phase) {
    if (phase == m_phase) {
        return;
    }
    const RunPhase from = m_phase;
    m_phase = phase;
    TellGate();
    m_observer->OnPhase(from, phase);
}

void CRunSequencer::EndRun(RunOutcome outcome) {
    m_outcome = outcome;
    if (outcome == RunOutcome::NoLink) {
        m_observer->OnLinkLost();
    }
    m_observer->OnRunEnded(outcome);
}

void CRunSequencer::ArmPoll(int id) {
    m_timers.SetTimer(id, runtimer::kPollMs);
}

void CRunSequencer::KillPolls() {
    m_timers.KillTimer(runtimer::kIdlePoll);
    m_timers.KillTimer(runtimer::kRunPoll);
}

// The current step; an index outside the list cannot arise from the handlers, but it is never
// read past the list either.
int CRunSequencer::CurrentIndex() const {
    const int current = m_doc.CurrentStep();
    return HasStep(current) ? current : 0;
}

// The step the instrument finished passed, unless the step gate judges it; the next one becomes
// current and reads "------".
void CRunSequencer::FinishStep() {
    ExecDataList& steps = m_doc.Steps();
    const int current = CurrentIndex();
    CExecData& step = steps[static_cast<size_t>(current)];
    m_finished = current;
    const int result = m_gate ? m_gate->ResultAtStepEnd(current) : kResultPass;
    step.m_nResult = result == kJournalResultPending ? kResultNone : result;
    m_list.RefreshRow(current);
    // A normal end means every discharge of the step was applied; the count last polled may
    // be one short, the last discharge having come after it.
    m_observer->OnStepEnded(current, result, std::max<qint64>(m_facts.discharges, step.m_lDisc));
    if (result == kResultPass) {
        m_observer->OnJudgement(current, kResultPass, step.m_strComment, JudgedBy::Sequencer);
    }
    if (current + 1 >= StepCount()) {
        return;
    }
    const int next = current + 1;
    m_doc.SetCurrentStep(next);
    Judge(next, kResultNone, JudgedBy::Sequencer);
    SelectRow(next);
}

// Between steps no question is asked: the next step is loaded and started at once.
bool CRunSequencer::NextStep() {
    const int current = CurrentIndex();
    // The step that ended is stopped before the next block: a stop that does not arrive ends
    // the test as a lost stop does.
    if (!Done(RunOp::Stop, m_cntl.StopTest())) {
        return false;
    }
    if (!Done(RunOp::NextStep,
              m_cntl.SendStep(m_doc.Steps()[static_cast<size_t>(current)], &m_block))) {
        return false;
    }
    m_observer->OnStepStarted(current, m_block);
    if (m_gate) {
        m_gate->StepStarted(current);
    }
    return Done(RunOp::NextStep, m_cntl.StartTest());
}

// START's block. A step is never started on a parameter set that did not fully arrive: values
// the instrument cannot take are named to the operator; a line that failed during the block
// is told as such instead of START seeming to do nothing.
bool CRunSequencer::LoadCurrentStep() {
    return Done(RunOp::LoadStep,
                m_cntl.SendStep(m_doc.Steps()[static_cast<size_t>(CurrentIndex())], &m_block));
}

// "CC", then the instrument must report the line on; if it does not, the radios fall back and
// the instrument's error says why.
bool CRunSequencer::SwitchLineOn() {
    if (!Done(RunOp::LineOn, m_cntl.LineOn())) {
        return false;
    }
    quint8 after = 0;
    if (m_cntl.GetStatus(after) && !(after & status::kLineOn)) {
        ShowLine(false);
        m_facts.focus = ExecControl::LineOff;
        Changed();
        return ReportInstrumentError(PanelView::Keep);
    }
    return true;
}

bool CRunSequencer::ReportInstrumentError(PanelView view) {
    if (!m_viewApplied) {
        ApplyView(view, m_status);
    }
    Changed();
    int code = 0;
    m_cntl.GetErrorCode(code);
    const QString message = ErrorMessageFor(code);
    if (message.isEmpty()) {
        return true;
    }
    m_observer->OnInstrumentError(code, message);
    ShowMessage(message, MsgButtons::Ok, MsgIcon::Error);
    // A model with a coupling unit also gets its settings cleared ("PQ0") after an error.
    return !CouplingUnit() || Done(RunOp::ClearSettings, m_cntl.ClearSettings());
}

}  // namespace zeb
