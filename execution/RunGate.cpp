// The run and its step gate: what the gate found comes in as an event of the run's table, and
// the operations the table names for it are carried out here (the mark on the step, the
// question when the monitor gave no verdict, pausing and resuming the step meanwhile, the held
// run going on or the test stopping). The gate is told where the run is; it acts on nothing.

#include "RunSequencer.h"
#include "SettingsDoc.h"

namespace zeb {

void CRunSequencer::SetStepGate(IStepGate* gate) {
    m_gate = gate;
    TellGate();
}

void CRunSequencer::TellGate() {
    if (m_gate) {
        m_gate->RunMoved(m_phase, m_asking > 0);
    }
}

void CRunSequencer::OnStepFinding(const StepFinding& found) {
    Carry(Decide(Found(found)));
}

// The event of a finding, which the operations of its transition then carry out.
RunInput CRunSequencer::Found(const StepFinding& found) {
    m_finding = found;
    RunInput in;
    in.phase = m_phase;
    in.event = found.event;
    in.status = m_status;
    in.moreSteps = found.row + 1 < StepCount();
    in.verdict = found.verdict ? found.verdict->outcome : MonitorOutcome::Problem;
    in.failedDuring = found.failedDuring;
    in.stopOnFail = found.stopOnFail;
    return in;
}

void CRunSequencer::ReleaseHold() {
    if (m_phase == RunPhase::Holding) {
        const RunInput next = Released();
        Follow(next, Decide(next));
    }
}

void CRunSequencer::Follow(const RunInput& next, const Transition& then) {
    if (next.event == RunEvent::Released && m_phase == RunPhase::Holding) {
        Enter(RunPhase::Running);  // back in the run it was holding; its panel stays as shown
        Carry(then, true);
        return;
    }
    Carry(then);
}

// The event that lets a held run go on, after the step that ended last.
RunInput CRunSequencer::Released() const {
    RunInput in;
    in.phase = RunPhase::Holding;
    in.event = RunEvent::Released;
    in.status = m_status;
    in.moreSteps = m_finished + 1 < StepCount();
    return in;
}

// The gate may hold the run for its verdict; otherwise the run goes on at once, after what the
// gate found at once, if anything.
bool CRunSequencer::CheckStep() {
    const StepCheck check =
        m_gate ? m_gate->HoldAfterStep(m_finished, m_doc.CurrentStep() == m_finished) : StepCheck();
    if (check.holds) {
        return true;  // the run holds until the gate reports its verdict, or STOP
    }
    if (check.found) {
        m_failed = Found(*check.found);
        return false;
    }
    m_failed = Released();
    return false;
}

bool CRunSequencer::PerformGateOp(RunOp op) {
    switch (op) {
        case RunOp::MarkStep: {
            const StepFinding found = m_finding;
            if (found.mark) {
                ApplyJudgement(found.row, found.mark->result, found.mark->comment,
                               JudgedBy::Monitor);
            }
            if (found.verdict && m_recorder) {
                m_recorder(*found.verdict, found.result);
            }
            return true;
        }
        case RunOp::PauseStep: {
            bool sent = false;
            const bool ok = SetPaused(true, &sent);
            m_pausedForAnswer = ok && sent;  // only a pause that arrived is undone after
            return ok;
        }
        case RunOp::AskGoOn:
            return AskGoOn();
        case RunOp::ResumeStep:
            return SetPaused(false);
        case RunOp::StopTest:
            m_failed = StopPressed();  // as STOP pressed: STOP's transition follows
            return false;
        case RunOp::Release:
            m_failed = Released();
            return false;
        default:
            return true;
    }
}

// Nobody to answer means nobody said the EUT may be surged further. The run may move on while
// the question is open (a poll of the step still running); the answer meets the run where it
// is then.
bool CRunSequencer::AskGoOn() {
    const StepFinding found = m_finding;
    RunInput answer;
    answer.duringStep = found.event == RunEvent::VerdictDuringStep;
    answer.pausedForAnswer = m_pausedForAnswer;
    m_pausedForAnswer = false;
    ++m_asking;
    TellGate();
    const bool goOn = m_answer && found.verdict && m_answer(*found.verdict);
    --m_asking;
    TellGate();
    answer.phase = m_phase;
    answer.event = goOn ? RunEvent::GoOnAfterProblem : RunEvent::StopAfterProblem;
    answer.status = m_status;
    m_failed = answer;
    return false;
}

}  // namespace zeb
