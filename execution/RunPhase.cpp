#include "RunPhase.h"

#include "InstrumentStatus.h"
#include "LinkMessages.h"

namespace zeb {

namespace {

Transition Stay(RunPhase phase) {
    Transition t;
    t.next = phase;
    return t;
}

// The idle poll: no test of ours runs, the instrument's own state decides the phase.
Transition IdleTick(const RunInput& in) {
    Transition t;
    t.poll = runtimer::kIdlePoll;
    if (!in.status) {
        t.next = RunPhase::LinkLost;
        t.view = PanelView::NotConnected;
        return t;
    }
    const quint8 st = *in.status;
    if (st & status::kRunning) {
        // A sequence this dialog did not start (started at the instrument's own panel) is
        // stopped; the line goes off first only when it is not reported on.
        if (!(st & status::kLineOn)) {
            t.ops.push_back(RunOp::LineOff);
        }
        t.ops.push_back(RunOp::Stop);
        t.ops.push_back(RunOp::Say);
        t.message = linkmsg::TestInterrupted();
        // Not ready for START until a later poll finds the instrument idle.
        t.next = in.phase == RunPhase::Ending ? RunPhase::Ending : RunPhase::Busy;
        t.view = PanelView::Reply;
        return t;
    }
    t.next = (st & status::kBusy) ? RunPhase::Busy : RunPhase::Idle;
    t.view = (st & status::kBusy) ? PanelView::IdleBusy : PanelView::IdleReady;
    return t;
}

Transition EndWith(RunOutcome outcome, const QString& message) {
    Transition t;
    t.next = RunPhase::Ending;
    t.poll = runtimer::kIdlePoll;
    t.view = PanelView::RunEnded;
    t.outcome = outcome;
    if (outcome == RunOutcome::Error) {
        t.ops.push_back(RunOp::ReportError);
    } else {
        t.ops.push_back(RunOp::Say);
        t.message = message;
        t.notice = outcome == RunOutcome::Stopped;
    }
    return t;
}

// After a step that ended normally (and was judged, where a gate judges it): the next step, or
// the test is complete.
Transition GoOn(bool moreSteps) {
    Transition t;
    t.poll = runtimer::kRunPoll;
    t.view = PanelView::StepDone;
    if (moreSteps) {
        t.next = RunPhase::Running;
        t.ops = {RunOp::NextStep};
        return t;
    }
    t.next = RunPhase::Ending;
    t.poll = runtimer::kIdlePoll;
    t.outcome = RunOutcome::Complete;
    t.ops = {RunOp::ReadCounters, RunOp::Say, RunOp::Rewind};
    t.message = linkmsg::TestComplete();
    t.notice = true;
    t.view = PanelView::Completed;
    return t;
}

// The run poll: follows the instrument through the step and on to the next one.
Transition RunTick(const RunInput& in) {
    if (!in.status) {
        return EndWith(RunOutcome::NoLink, linkmsg::LostDuringRun());
    }
    const quint8 st = *in.status;
    const bool stopping = in.phase == RunPhase::Stopping;
    Transition t;
    t.poll = runtimer::kRunPoll;
    if (st & status::kRunning) {
        if (st & status::kBusy) {
            t.next = stopping ? RunPhase::Stopping : RunPhase::Running;
            t.view = PanelView::RunBusy;
            return t;
        }
        t.next = stopping                      ? RunPhase::Stopping
                 : (st & status::kPaused) != 0 ? RunPhase::Paused
                                               : RunPhase::Running;
        t.ops.push_back(RunOp::ReadCounters);
        t.view = PanelView::RunActive;
        return t;
    }
    if (st & status::kError) {
        return EndWith(RunOutcome::Error, QString());
    }
    // Only a step this dialog started and did not stop may count as done: after STOP, or on a
    // poll outside a run, the end bit proves nothing.
    const bool ours = in.phase == RunPhase::Running || in.phase == RunPhase::Paused;
    if (!(st & status::kNormalEnd) || !ours) {
        return EndWith(RunOutcome::Stopped, linkmsg::TestStopped());
    }
    if (st & status::kBusy) {
        t.next = in.phase;
        t.ops.push_back(RunOp::ReadCounters);
        t.view = PanelView::RunBusyEnd;
        return t;
    }
    if (in.stepGate) {
        // The step gate judges the step while the instrument is idle; nothing is polled and
        // nothing sent until it lets the run go on (Released) or STOP ends it.
        t.next = RunPhase::Holding;
        t.poll = runtimer::kNone;
        t.ops = {RunOp::FinishStep, RunOp::CheckStep};
        t.view = in.moreSteps ? PanelView::StepDone : PanelView::Completed;
        return t;
    }
    t = GoOn(in.moreSteps);
    t.ops.insert(t.ops.begin(), RunOp::FinishStep);
    return t;
}

Transition Start(const RunInput& in) {
    if (in.phase == RunPhase::Starting || in.phase == RunPhase::Holding) {
        return Stay(in.phase);
    }
    Transition t;
    t.next = in.phase;
    const bool underWay = TestUnderWay(in.phase);
    if (in.status && (*in.status & status::kRunning)) {
        // START pauses or resumes only a step of our test; a sequence started at the
        // instrument's own panel is never resumed from here (the idle poll stops it), nor is a
        // step after STOP.
        if (in.phase == RunPhase::Running || in.phase == RunPhase::Paused) {
            t.ops.push_back(RunOp::PauseResume);
        }
        t.poll = underWay ? runtimer::kRunPoll : runtimer::kIdlePoll;
        return t;
    }
    if (!in.status || (*in.status & status::kBusy)) {
        // Nothing can start now; keep polling the way the dialog was polling.
        t.poll = underWay ? runtimer::kRunPoll : runtimer::kIdlePoll;
        return t;
    }
    // The step is loaded with its counters shown from 0, then the operator is asked; the
    // answer is the next event.
    t.ops = {RunOp::ClearSettings, RunOp::Stop, RunOp::LoadStep, RunOp::AskStart};
    t.next = RunPhase::Starting;
    t.view = PanelView::Starting;
    t.viewFirst = true;
    return t;
}

// The dialog opens: the instrument forgets what it had loaded and shows the step about to run,
// and the idle poll begins. Nothing of the run depends on these commands arriving.
Transition Opening() {
    Transition t;
    t.next = RunPhase::Idle;
    t.ops = {RunOp::ClearSettings, RunOp::Stop, RunOp::ShowStep};
    t.poll = runtimer::kIdlePoll;
    return t;
}

// A step that did not reach the instrument, or a start command that did not: the step check
// refusing a block ends nothing but the start (or stops the run between steps); a link that
// fails on the block or on "CA" ends the test at once, as a run poll without answer does.
Transition Failure(const RunInput& in) {
    const bool refused = in.event == RunEvent::StepRefused;
    if (in.failedOp == RunOp::LoadStep) {
        Transition t;
        t.next = RunPhase::Idle;
        t.poll = runtimer::kIdlePoll;
        t.view = PanelView::StartRefused;
        t.outcome = refused ? RunOutcome::Stopped : RunOutcome::NoLink;
        t.message = refused ? in.detail : linkmsg::LostDuringRun();
        t.sayFirst = refused;
        if (!t.message.isEmpty()) {
            t.ops.push_back(RunOp::Say);
        }
        return t;
    }
    if (refused && in.failedOp == RunOp::NextStep) {
        // The next step is not started, and the next tick ends the run as stopped, whatever
        // the old end bit says.
        Transition t;
        t.next = RunPhase::Stopping;
        t.poll = runtimer::kRunPoll;
        t.view = PanelView::StepDone;
        t.message = in.detail;
        t.sayFirst = true;
        if (!t.message.isEmpty()) {
            t.ops.push_back(RunOp::Say);
        }
        return t;
    }
    if (!refused && (in.failedOp == RunOp::StartStep || in.failedOp == RunOp::NextStep ||
                     in.failedOp == RunOp::PauseResume)) {
        return EndWith(RunOutcome::NoLink, linkmsg::LostDuringRun());
    }
    // A stop that did not arrive leaves the instrument free to go on surging: a started test
    // ends at once, as on a run poll without answer, and the idle poll that follows stops
    // whatever the instrument still runs.
    if (!refused && (in.failedOp == RunOp::Stop || in.failedOp == RunOp::LineOff) &&
        TestUnderWay(in.phase)) {
        return EndWith(RunOutcome::NoLink, linkmsg::LostDuringRun());
    }
    Transition t = Stay(in.phase);
    // Outside a started test a lost "PQ0", "CB", "CD" or "CC" changes nothing by itself: the
    // next poll finds out how the instrument is.
    t.carryOn = !refused && (in.failedOp == RunOp::ClearSettings || in.failedOp == RunOp::Stop ||
                             in.failedOp == RunOp::LineOff || in.failedOp == RunOp::LineOn);
    return t;
}

// What the step gate found. The finding always goes on its step, also when the run has moved on
// since the check began; only a run still where the check found it goes on or stops. A FAIL
// with stop at the first FAIL stops the test as STOP does; no verdict asks the operator, a
// check during the step pausing the step meanwhile, so the EUT is not surged further while
// nobody knows how it is.
Transition Finding(const RunInput& in) {
    Transition t = Stay(in.phase);
    t.ops = {RunOp::MarkStep};
    const bool fail = in.verdict == MonitorOutcome::Fail;
    const bool problem = in.verdict == MonitorOutcome::Problem;
    if (in.event == RunEvent::VerdictAfterStep) {
        if (in.phase != RunPhase::Holding) {
            return t;  // the run no longer waits for it
        }
        // A FAIL found during the step stops the test as a FAIL after it does.
        if (in.stopOnFail && (fail || in.failedDuring)) {
            t.ops.push_back(RunOp::StopTest);
        } else {
            t.ops.push_back(problem ? RunOp::AskGoOn : RunOp::Release);
        }
        return t;
    }
    if (fail && in.stopOnFail && TestUnderWay(in.phase) && in.phase != RunPhase::Stopping) {
        t.ops.push_back(RunOp::StopTest);
    } else if (problem) {
        if (in.phase == RunPhase::Running) {
            t.ops.push_back(RunOp::PauseStep);
        }
        t.ops.push_back(RunOp::AskGoOn);
    }
    return t;
}

// The operator's answer to a check without verdict. After a step it lets the held run go on or
// stops the test; during a step it resumes the step it paused or stops the test, unless the
// run ended meanwhile.
Transition Answer(const RunInput& in) {
    Transition t = Stay(in.phase);
    const bool stepOfOurs = in.phase == RunPhase::Running || in.phase == RunPhase::Paused;
    if (in.event == RunEvent::StopAfterProblem) {
        if (!in.duringStep || stepOfOurs) {
            t.ops = {RunOp::StopTest};
        }
    } else if (!in.duringStep && in.phase == RunPhase::Holding) {
        t.ops = {RunOp::Release};
    } else if (in.duringStep && in.pausedForAnswer && stepOfOurs) {
        t.ops = {RunOp::ResumeStep};
    }
    return t;
}

}  // namespace

bool TestUnderWay(RunPhase phase) {
    return phase == RunPhase::Running || phase == RunPhase::Paused || phase == RunPhase::Stopping ||
           phase == RunPhase::Holding;
}

bool MayPickStep(RunPhase phase) {
    return !TestUnderWay(phase) && phase != RunPhase::Ending;
}

bool MayJudge(RunPhase phase) {
    return phase != RunPhase::Running && phase != RunPhase::Stopping &&
           phase != RunPhase::Holding && phase != RunPhase::Ending;
}

Transition Decide(const RunInput& in) {
    const bool verdict =
        in.event == RunEvent::VerdictAfterStep || in.event == RunEvent::VerdictDuringStep;
    if (in.phase == RunPhase::Closed) {
        if (in.event == RunEvent::Opened) {
            return Opening();
        }
        // A verdict after the run closed still goes on its step; nobody is asked.
        Transition closed = Stay(in.phase);
        if (verdict) {
            closed.ops = {RunOp::MarkStep};
        }
        // The opening's commands: a link that fails on them is told by the first idle poll.
        closed.carryOn = in.event == RunEvent::CommandFailed || in.event == RunEvent::StepRefused;
        return closed;
    }
    Transition t = Stay(in.phase);
    switch (in.event) {
        case RunEvent::IdleTick:
            return IdleTick(in);
        case RunEvent::RunTick:
            return RunTick(in);
        case RunEvent::Start:
            return Start(in);
        case RunEvent::StartConfirmed:
            if (in.phase == RunPhase::Starting) {
                t.ops = {RunOp::BeginTest, RunOp::StartStep};
                t.next = RunPhase::Running;
                t.poll = runtimer::kRunPoll;
            }
            return t;
        case RunEvent::StartCancelled:
            if (in.phase == RunPhase::Starting) {
                t.next = RunPhase::Idle;  // the parameters stay loaded on the instrument
                t.poll = runtimer::kIdlePoll;
                t.view = PanelView::StartRefused;
            }
            return t;
        case RunEvent::Stop:
            t.ops.push_back(RunOp::Stop);
            t.next = RunPhase::Stopping;
            t.poll = runtimer::kRunPoll;
            return t;
        case RunEvent::Escape:
            // Esc stops the instrument but is not STOP: the run is not marked as stopping and
            // the armed poll stays, so the next run tick judges the step as the instrument
            // reports it.
            t.ops.push_back(RunOp::Stop);
            return t;
        case RunEvent::LineOnPressed:
            // The idle poll waits for the answer: nothing is polled while the question is open.
            t.ops = {RunOp::AskLineOn};
            return t;
        case RunEvent::LineOnConfirmed:
            t.ops = {RunOp::ClearSettings, RunOp::Stop, RunOp::LineOn};
            t.poll = runtimer::kIdlePoll;
            return t;
        case RunEvent::LineOnCancelled:
            t.poll = runtimer::kIdlePoll;
            return t;
        case RunEvent::LineOff:
            t.ops = {RunOp::Stop, RunOp::LineOff};
            return t;
        case RunEvent::StepRefused:
        case RunEvent::CommandFailed:
            return Failure(in);
        case RunEvent::Opened:
            return t;  // an open run does not open again
        case RunEvent::Released:
            return in.phase == RunPhase::Holding ? GoOn(in.moreSteps) : t;
        case RunEvent::VerdictAfterStep:
        case RunEvent::VerdictDuringStep:
            return Finding(in);
        case RunEvent::CheckNotStarted:
            // Raised by CheckStep as a step of ours ended: the step says why it is not judged
            // and the run goes on as after a gate that does not hold.
            if (in.phase == RunPhase::Running || in.phase == RunPhase::Paused) {
                t = GoOn(in.moreSteps);
                t.ops.insert(t.ops.begin(), RunOp::MarkStep);
            }
            return t;
        case RunEvent::GoOnAfterProblem:
        case RunEvent::StopAfterProblem:
            return Answer(in);
    }
    return t;
}

}  // namespace zeb
