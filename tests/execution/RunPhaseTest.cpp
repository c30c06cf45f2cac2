// The run's transition table, and the sequencer that carries it out, fed every status byte in
// every phase: a test is never started, and the EUT line never switched on, by a poll.

#include <gtest/gtest.h>

#include <algorithm>

#include "LinkMessages.h"
#include "RunPhase.h"
#include "SequencerFixture.h"

namespace zeb::test {
namespace {

using namespace status;

constexpr RunPhase kPhases[] = {
    RunPhase::Closed,  RunPhase::Idle,   RunPhase::Busy,     RunPhase::LinkLost, RunPhase::Starting,
    RunPhase::Running, RunPhase::Paused, RunPhase::Stopping, RunPhase::Holding,  RunPhase::Ending};
constexpr RunEvent kEvents[] = {
    RunEvent::IdleTick,       RunEvent::RunTick,         RunEvent::Start,
    RunEvent::StartConfirmed, RunEvent::StartCancelled,  RunEvent::Stop,
    RunEvent::Escape,         RunEvent::LineOnConfirmed, RunEvent::LineOff,
    RunEvent::StepRefused,    RunEvent::CommandFailed,   RunEvent::Released,
    RunEvent::LineOnPressed,  RunEvent::LineOnCancelled};

bool Has(const Transition& t, RunOp op) {
    return std::find(t.ops.begin(), t.ops.end(), op) != t.ops.end();
}

TEST(RunPhaseTable, OnlyStartOrAStartedRunSendsCaAndOnlyLineOnSendsCc) {
    for (RunPhase phase : kPhases) {
        for (RunEvent event : kEvents) {
            for (int b = -1; b < 256; ++b) {
                RunInput in;
                in.phase = phase;
                in.event = event;
                if (b >= 0) {
                    in.status = static_cast<quint8>(b);
                }
                for (int variant = 0; variant < 4; ++variant) {
                    const bool more = (variant & 1) != 0;
                    in.moreSteps = more;
                    in.stepGate = (variant & 2) != 0;
                    const Transition t = Decide(in);
                    const auto where = [&] {
                        return ::testing::Message()
                               << "phase " << static_cast<int>(phase) << " event "
                               << static_cast<int>(event) << " status " << b;
                    };
                    if (Has(t, RunOp::StartStep)) {
                        EXPECT_EQ(event, RunEvent::StartConfirmed) << where();
                    }
                    if (Has(t, RunOp::PauseResume)) {
                        // Only a step of our test, never one started at the instrument's own
                        // panel, nor one after STOP.
                        EXPECT_EQ(event, RunEvent::Start) << where();
                        EXPECT_TRUE(phase == RunPhase::Running || phase == RunPhase::Paused)
                            << where();
                    }
                    if (Has(t, RunOp::NextStep) && event == RunEvent::Released) {
                        // A run the gate held goes on.
                        EXPECT_EQ(phase, RunPhase::Holding) << where();
                        EXPECT_TRUE(more) << where();
                    } else if (Has(t, RunOp::NextStep)) {
                        // Only a step this dialog started, reported done and not stopped.
                        EXPECT_EQ(event, RunEvent::RunTick) << where();
                        EXPECT_TRUE(phase == RunPhase::Running || phase == RunPhase::Paused)
                            << where();
                        EXPECT_EQ(b & (kRunning | kError | kBusy | kNormalEnd), kNormalEnd)
                            << where();
                        EXPECT_TRUE(more) << where();
                    }
                    // "Test starting." is asked only by START on an idle instrument, and
                    // only after the step went out.
                    if (Has(t, RunOp::AskStart)) {
                        EXPECT_EQ(event, RunEvent::Start) << where();
                        EXPECT_EQ(t.ops.back(), RunOp::AskStart) << where();
                        EXPECT_TRUE(Has(t, RunOp::LoadStep)) << where();
                        EXPECT_EQ(b & (kRunning | kBusy), 0) << where();
                    }
                    // The question comes only from LINE ON, "CC" only from OK on it.
                    EXPECT_EQ(Has(t, RunOp::AskLineOn),
                              event == RunEvent::LineOnPressed && phase != RunPhase::Closed)
                        << where();
                    EXPECT_EQ(Has(t, RunOp::LineOn),
                              event == RunEvent::LineOnConfirmed && phase != RunPhase::Closed)
                        << where();
                    if (phase == RunPhase::Closed) {
                        EXPECT_TRUE(t.ops.empty() && t.next == RunPhase::Closed) << where();
                    }
                    // A poll never leaves the run without a poll, unless the gate holds it.
                    if ((event == RunEvent::IdleTick || event == RunEvent::RunTick) &&
                        phase != RunPhase::Closed && t.next != RunPhase::Holding) {
                        EXPECT_NE(t.poll, runtimer::kNone) << where();
                    }
                }
            }
        }
    }
}

TEST(RunPhaseTable, HowATestEnds) {
    RunInput in;
    in.event = RunEvent::RunTick;
    in.phase = RunPhase::Running;
    EXPECT_EQ(Decide(in).outcome, RunOutcome::NoLink);
    in.status = kError | kNormalEnd;
    EXPECT_EQ(Decide(in).outcome, RunOutcome::Error);
    in.status = 0;
    EXPECT_EQ(Decide(in).outcome, RunOutcome::Stopped);
    in.status = kNormalEnd;
    const Transition last = Decide(in);
    EXPECT_EQ(last.outcome, RunOutcome::Complete);
    EXPECT_EQ(last.message, linkmsg::TestComplete());
    EXPECT_EQ(last.next, RunPhase::Ending);
    in.phase = RunPhase::Stopping;  // after STOP the end bit proves nothing
    EXPECT_EQ(Decide(in).outcome, RunOutcome::Stopped);
    in.phase = RunPhase::Ending;  // nor on a poll after the test ended
    EXPECT_EQ(Decide(in).outcome, RunOutcome::Stopped);

    // The idle poll keeps the phases of a dialog without a test of its own.
    in.event = RunEvent::IdleTick;
    in.phase = RunPhase::Ending;
    in.status = kBusy;
    EXPECT_EQ(Decide(in).next, RunPhase::Busy);
    in.status.reset();
    EXPECT_EQ(Decide(in).next, RunPhase::LinkLost);
    EXPECT_TRUE(MayPickStep(RunPhase::Idle) && MayJudge(RunPhase::Paused));
    EXPECT_FALSE(MayPickStep(RunPhase::Ending) || MayJudge(RunPhase::Running));
}

// Only a closed run opens; the opening sends no "CA" or "CC" and begins the idle poll whatever the
// instrument reports, and a command of it that fails holds nothing up.
TEST(RunPhaseTable, TheOpeningOnlyShowsTheStepAndBeginsTheIdlePoll) {
    for (RunPhase phase : kPhases) {
        for (int b = -1; b < 256; ++b) {
            RunInput in;
            in.phase = phase;
            in.event = RunEvent::Opened;
            if (b >= 0) {
                in.status = static_cast<quint8>(b);
            }
            const Transition t = Decide(in);
            if (phase != RunPhase::Closed) {
                EXPECT_TRUE(t.ops.empty() && t.next == phase) << static_cast<int>(phase);
                continue;
            }
            EXPECT_EQ(t.ops,
                      (std::vector<RunOp>{RunOp::ClearSettings, RunOp::Stop, RunOp::ShowStep}));
            EXPECT_EQ(t.next, RunPhase::Idle);
            EXPECT_EQ(t.poll, runtimer::kIdlePoll);
        }
    }
    RunInput failed;
    failed.phase = RunPhase::Closed;
    failed.event = RunEvent::CommandFailed;
    failed.failedOp = RunOp::ShowStep;
    EXPECT_TRUE(Decide(failed).carryOn);
    failed.event = RunEvent::StepRefused;
    EXPECT_TRUE(Decide(failed).carryOn);
}

// A command the instrument did not take, in every phase: a lost stop ends a started test at once
// (the instrument may still be surging), everything else outside a test lets the transition go on
// and leaves the next poll to find out; a refusal of the values never counts as a lost link.
TEST(RunPhaseTable, AFailedCommandEndsAStartedTestOnlyWhenItWasAStop) {
    const RunOp quiet[] = {RunOp::ClearSettings, RunOp::Stop, RunOp::LineOff, RunOp::LineOn};
    for (RunPhase phase : kPhases) {
        if (phase == RunPhase::Closed) {
            continue;
        }
        for (RunOp op : quiet) {
            RunInput in;
            in.phase = phase;
            in.event = RunEvent::CommandFailed;
            in.failedOp = op;
            const Transition t = Decide(in);
            const auto where = [&] {
                return ::testing::Message()
                       << "phase " << static_cast<int>(phase) << " op " << static_cast<int>(op);
            };
            const bool ends = TestUnderWay(phase) && (op == RunOp::Stop || op == RunOp::LineOff);
            if (ends) {
                EXPECT_EQ(t.outcome, RunOutcome::NoLink) << where();
                EXPECT_EQ(t.message, linkmsg::LostDuringRun()) << where();
                EXPECT_EQ(t.next, RunPhase::Ending) << where();
                EXPECT_EQ(t.poll, runtimer::kIdlePoll) << where();
                EXPECT_FALSE(t.carryOn) << where();
            } else {
                EXPECT_TRUE(t.carryOn) << where();
                EXPECT_TRUE(t.ops.empty()) << where();
                EXPECT_EQ(t.next, phase) << where();
                EXPECT_EQ(t.outcome, RunOutcome::None) << where();
            }
            in.event = RunEvent::StepRefused;
            EXPECT_FALSE(Decide(in).carryOn) << where();
            EXPECT_EQ(Decide(in).outcome, RunOutcome::None) << where();
        }
    }
}

// Where each poll of a started test leads, for every status byte: STOP is never forgotten, a
// step the instrument still runs keeps its pause state, and only a step of ours that ended
// normally moves the run on (or holds it, where a step gate may judge the step).
TEST(RunPhaseTable, EveryRunTickLeadsToTheRightPhase) {
    for (RunPhase phase : {RunPhase::Running, RunPhase::Paused, RunPhase::Stopping}) {
        for (int b = -1; b < 256; ++b) {
            for (int variant = 0; variant < 4; ++variant) {
                const bool more = (variant & 1) != 0;
                const bool gate = (variant & 2) != 0;
                RunInput in;
                in.phase = phase;
                in.event = RunEvent::RunTick;
                in.moreSteps = more;
                in.stepGate = gate;
                if (b >= 0) {
                    in.status = static_cast<quint8>(b);
                }
                const Transition t = Decide(in);
                const auto where = ::testing::Message()
                                   << "phase " << static_cast<int>(phase) << " status " << b;
                RunPhase expected = RunPhase::Ending;
                if (b >= 0 && (b & kRunning)) {
                    expected = phase == RunPhase::Stopping ? RunPhase::Stopping
                               : (b & kBusy)               ? RunPhase::Running
                               : (b & kPaused)             ? RunPhase::Paused
                                                           : RunPhase::Running;
                } else if (b >= 0 && !(b & kError) && (b & kNormalEnd) &&
                           phase != RunPhase::Stopping) {
                    expected = (b & kBusy) ? phase
                               : gate      ? RunPhase::Holding
                               : more      ? RunPhase::Running
                                           : RunPhase::Ending;
                }
                EXPECT_EQ(static_cast<int>(t.next), static_cast<int>(expected)) << where;
                EXPECT_EQ(t.poll, expected == RunPhase::Ending    ? runtimer::kIdlePoll
                                  : expected == RunPhase::Holding ? runtimer::kNone
                                                                  : runtimer::kRunPoll)
                    << where;
            }
        }
    }
}

// What the step gate found, as the table takes it: the finding always goes on its step; a held
// run goes on, stops at the first FAIL, or asks when there is no verdict.
TEST(RunPhaseTable, AVerdictAfterTheStepLetsTheHeldRunGoOnStopOrAsk) {
    using Ops = std::vector<RunOp>;
    const Ops release{RunOp::MarkStep, RunOp::Release};
    const Ops stop{RunOp::MarkStep, RunOp::StopTest};
    const Ops ask{RunOp::MarkStep, RunOp::AskGoOn};
    struct Case {
        MonitorOutcome verdict;
        bool failedDuring;
        bool stopOnFail;
        Ops ops;
    };
    const Case cases[] = {
        {MonitorOutcome::Pass, false, true, release},  {MonitorOutcome::Pass, true, false, release},
        {MonitorOutcome::Pass, true, true, stop},  // the FAIL during the step stands
        {MonitorOutcome::Fail, false, false, release}, {MonitorOutcome::Fail, false, true, stop},
        {MonitorOutcome::Problem, false, true, ask},   {MonitorOutcome::Problem, true, false, ask},
        {MonitorOutcome::Problem, true, true, stop},
    };
    for (const Case& c : cases) {
        RunInput in;
        in.phase = RunPhase::Holding;
        in.event = RunEvent::VerdictAfterStep;
        in.verdict = c.verdict;
        in.failedDuring = c.failedDuring;
        in.stopOnFail = c.stopOnFail;
        const Transition t = Decide(in);
        const auto where = ::testing::Message() << "verdict " << int(c.verdict) << " failed "
                                                << c.failedDuring << " stop " << c.stopOnFail;
        EXPECT_EQ(t.ops, c.ops) << where;
        EXPECT_EQ(t.next, RunPhase::Holding) << where;  // the next event moves the run
        EXPECT_EQ(t.poll, runtimer::kNone) << where;
        // The run no longer waits (STOP while held, the test ended, the dialog closed): the
        // step is marked and nothing else happens.
        for (RunPhase phase : {RunPhase::Stopping, RunPhase::Ending, RunPhase::Closed}) {
            in.phase = phase;
            const Transition late = Decide(in);
            EXPECT_EQ(late.ops, Ops{RunOp::MarkStep}) << where << " phase " << int(phase);
            EXPECT_EQ(late.next, phase) << where;
        }
    }
}

TEST(RunPhaseTable, AFindingDuringTheStepStopsOrPausesAndAsksOnlyWhileTheTestRuns) {
    using Ops = std::vector<RunOp>;
    const Ops mark{RunOp::MarkStep};
    const Ops stop{RunOp::MarkStep, RunOp::StopTest};
    const Ops ask{RunOp::MarkStep, RunOp::AskGoOn};
    const Ops pauseAndAsk{RunOp::MarkStep, RunOp::PauseStep, RunOp::AskGoOn};
    RunInput in;
    in.event = RunEvent::VerdictDuringStep;
    for (RunPhase phase : kPhases) {
        in.phase = phase;
        const auto where = ::testing::Message() << "phase " << int(phase);
        in.verdict = MonitorOutcome::Pass;
        in.stopOnFail = true;
        EXPECT_EQ(Decide(in).ops, mark) << where;
        // FAIL with stop at the first FAIL: while the test is under way and not stopping.
        in.verdict = MonitorOutcome::Fail;
        const bool underWay =
            phase == RunPhase::Running || phase == RunPhase::Paused || phase == RunPhase::Holding;
        EXPECT_EQ(Decide(in).ops, underWay ? stop : mark) << where;
        in.stopOnFail = false;
        EXPECT_EQ(Decide(in).ops, mark) << where;
        // No verdict: always asked; only a running step is paused meanwhile.
        in.verdict = MonitorOutcome::Problem;
        const Ops& asked = phase == RunPhase::Closed    ? mark
                           : phase == RunPhase::Running ? pauseAndAsk
                                                        : ask;
        EXPECT_EQ(Decide(in).ops, asked) << where;
    }
}

// The answer meets the run where it is: it may have moved while the question was open.
TEST(RunPhaseTable, TheAnswerToACheckWithoutVerdictGoesOnOrStopsTheRunItWasAbout) {
    using Ops = std::vector<RunOp>;
    const Ops none;
    const Ops release{RunOp::Release};
    const Ops resume{RunOp::ResumeStep};
    const Ops stop{RunOp::StopTest};
    RunInput in;
    for (RunPhase phase : kPhases) {
        in.phase = phase;
        const auto where = ::testing::Message() << "phase " << int(phase);
        const bool open = phase != RunPhase::Closed;
        const bool stepOfOurs = phase == RunPhase::Running || phase == RunPhase::Paused;
        // After the step: OK lets the held run go on, Cancel stops the test.
        in.duringStep = false;
        in.event = RunEvent::GoOnAfterProblem;
        EXPECT_EQ(Decide(in).ops, phase == RunPhase::Holding ? release : none) << where;
        in.event = RunEvent::StopAfterProblem;
        EXPECT_EQ(Decide(in).ops, open ? stop : none) << where;
        // During the step: OK resumes only the step the question paused; Cancel stops a step
        // still ours, and a run that ended meanwhile stays ended.
        in.duringStep = true;
        in.event = RunEvent::GoOnAfterProblem;
        in.pausedForAnswer = false;
        EXPECT_EQ(Decide(in).ops, none) << where;
        in.pausedForAnswer = true;
        EXPECT_EQ(Decide(in).ops, stepOfOurs ? resume : none) << where;
        in.event = RunEvent::StopAfterProblem;
        EXPECT_EQ(Decide(in).ops, stepOfOurs ? stop : none) << where;
        const Transition t = Decide(in);
        EXPECT_EQ(t.next, phase) << where;
        EXPECT_EQ(t.poll, runtimer::kNone) << where;
    }
}

// A check that could not be started holds nothing: the step says why and the run goes on as
// after a gate that does not hold.
TEST(RunPhaseTable, ACheckThatCouldNotStartMarksTheStepAndTheRunGoesOn) {
    RunInput in;
    in.phase = RunPhase::Running;
    in.event = RunEvent::CheckNotStarted;
    in.moreSteps = true;
    Transition t = Decide(in);
    EXPECT_EQ(t.ops, (std::vector<RunOp>{RunOp::MarkStep, RunOp::NextStep}));
    EXPECT_EQ(t.next, RunPhase::Running);
    in.moreSteps = false;
    in.phase = RunPhase::Paused;
    t = Decide(in);
    EXPECT_EQ(t.ops.front(), RunOp::MarkStep);
    EXPECT_EQ(t.outcome, RunOutcome::Complete);
    EXPECT_EQ(t.message, linkmsg::TestComplete());
    // Only a step of ours that ended raises it; anywhere else it does nothing.
    for (RunPhase phase : {RunPhase::Idle, RunPhase::Holding, RunPhase::Stopping, RunPhase::Ending,
                           RunPhase::Closed}) {
        in.phase = phase;
        EXPECT_TRUE(Decide(in).ops.empty()) << int(phase);
    }
}

// A permissive operator: every question answered OK, every message read.
class OkToEverything : public IMessageSink {
public:
    MsgAnswer Show(const QString&, MsgButtons, MsgIcon) override { return MsgAnswer::Ok; }
};

class RunPhaseSweep : public SequencerFixture {
protected:
    // A fresh run brought into `phase` on the fake instrument.
    void DriveTo(CRunSequencer& run, RunPhase phase) {
        timers.armed = {};
        Status(phase == RunPhase::Busy ? kBusy : 0);
        ASSERT_TRUE(run.Open());
        run.OnTimer(runtimer::kIdlePoll);
        if (phase == RunPhase::Idle || phase == RunPhase::Busy) {
            ASSERT_EQ(run.Phase(), phase);
            return;
        }
        run.OnStart();
        Status(phase == RunPhase::Paused ? (kRunning | kPaused) : kRunning);
        run.OnTimer(runtimer::kRunPoll);
        if (phase == RunPhase::Stopping) {
            run.OnStop();
        } else if (phase == RunPhase::Ending) {
            Status(0);
            run.OnTimer(runtimer::kRunPoll);
        }
        ASSERT_EQ(run.Phase(), phase);
    }
};

TEST_F(RunPhaseSweep, NoPollStartsATestOrSwitchesTheLineOn) {
    OkToEverything ok;
    ScopedMessageSink scope(&ok);
    for (RunPhase phase : {RunPhase::Idle, RunPhase::Busy, RunPhase::Running, RunPhase::Paused,
                           RunPhase::Stopping, RunPhase::Ending}) {
        for (int b = 0; b < 256; ++b) {
            CRunSequencer run(doc, cntl, timers);
            doc.SetCurrentStep(0);
            DriveTo(run, phase);
            Sent();
            Status(static_cast<quint8>(b));
            run.OnTimer(timers.ArmedPoll());
            const QStringList sent = Sent();
            const bool stepDone = (b & (kRunning | kError | kBusy | kNormalEnd)) == kNormalEnd;
            const bool mayStart =
                stepDone && (phase == RunPhase::Running || phase == RunPhase::Paused);
            EXPECT_TRUE(mayStart || !sent.contains(QStringLiteral("CA")))
                << static_cast<int>(phase) << " " << b;
            EXPECT_FALSE(sent.contains(QStringLiteral("CC")))
                << static_cast<int>(phase) << " " << b;
            run.Destroy();
        }
    }
}

}  // namespace
}  // namespace zeb::test
