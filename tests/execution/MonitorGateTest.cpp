// The EUT monitor in the run, with scripted verdicts against a fake instrument: what each verdict
// does to the step, when the run waits and what reaches the instrument meanwhile.

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "FakeEutMonitor.h"
#include "JournalRecovery.h"
#include "LinkMessages.h"
#include "MonitorGate.h"
#include "MonitorSettings.h"
#include "RunJournalObserver.h"
#include "RunSession.h"
#include "SequencerFixture.h"

namespace zeb::test {
namespace {

using namespace status;

class MonitorGateTest : public SequencerFixture {
protected:
    MonitorGateOptions After(bool stopOnFail = false) {
        MonitorGateOptions o;
        o.stopOnFail = stopOnFail;
        return o;
    }
    MonitorGateOptions During(bool judgeAfter = true) {
        MonitorGateOptions o;
        o.judgeAfterStep = judgeAfter;
        o.checkDuringStep = true;
        o.everyMs = 1000;
        return o;
    }
    void MakeGate(MonitorGateOptions options) {
        gate =
            std::make_unique<CMonitorGate>(doc, monitor, options, QStringLiteral("/lab/eut.zms"));
        // Wired as the run session wires it.
        gate->SetFindingSink([this](const StepFinding& found) { seq.OnStepFinding(found); });
        seq.SetProblemAnswer(AskOperatorToGoOn);
        seq.SetVerdictRecorder([this](const MonitorVerdict& v, int result) {
            records << QStringLiteral("%1 %2 %3 -> %4")
                           .arg(PhaseName(v.request.phase))
                           .arg(v.request.step)
                           .arg(int(v.outcome))
                           .arg(result);
        });
        gate->SetCheckingListener([this](bool on) { checking << on; });
        seq.SetStepGate(gate.get());
    }
    // From the idle state to the first step running.
    void RunFirstStep() {
        OpenIdle();
        timers.Fire(seq, 0);
        StartRun();
        Sent();
    }
    // The first step running, and its first check during the step begun.
    void RunToACheckDuringTheStep() {
        MakeGate(During());
        RunFirstStep();
        Status(kRunning);
        timers.Fire(seq, 1);
        gate->OnDuringTick(0);
        gate->OnDuringTick(1000);
    }
    // The instrument reports the current step done; the run poll sees it.
    void EndStep() {
        Status(kNormalEnd);
        timers.Fire(seq, 1);
    }
    int Result(int row) const { return doc.Steps()[static_cast<size_t>(row)].m_nResult; }
    QString Comment(int row) const { return doc.Steps()[static_cast<size_t>(row)].m_strComment; }

    FakeEutMonitor monitor;
    std::unique_ptr<CMonitorGate> gate;
    void TearDown() override { seq.SetStepGate(nullptr); }

    QStringList records;
    QList<bool> checking;
};

TEST_F(MonitorGateTest, TheRunWaitsForTheVerdictAfterEachStepAndAppliesIt) {
    MakeGate(After());
    RunFirstStep();
    EndStep();
    // Held after step 1 with the instrument idle: nothing more is sent until the verdict.
    EXPECT_EQ(seq.Phase(), RunPhase::Holding);
    EXPECT_TRUE(Sent().isEmpty());
    ASSERT_EQ(monitor.started.size(), 1u);
    const MonitorRequest& r = monitor.started[0];
    EXPECT_EQ(r.step, 1);
    EXPECT_EQ(r.steps, 2);
    EXPECT_EQ(r.phase, MonitorPhase::After);
    EXPECT_EQ(r.voltageV, 1000);
    EXPECT_EQ(r.documentPath, "/lab/eut.zms");
    EXPECT_TRUE(gate->CheckingAfterStep());

    monitor.AnswerPass();
    EXPECT_EQ(Result(0), kResultPass);
    EXPECT_FALSE(gate->CheckingAfterStep());
    EXPECT_EQ(Sent(), (QStringList{"CB", "STEP200", "CA"}));
    EXPECT_EQ(seq.Phase(), RunPhase::Running);

    // FAIL after the last step: the comment carries the reason and the test still completes.
    EndStep();
    ASSERT_EQ(monitor.started.size(), 2u);
    EXPECT_EQ(monitor.started[1].step, 2);
    sink.Expect(linkmsg::TestComplete());
    monitor.AnswerFail(QStringLiteral("no answer from 10.0.0.7"));
    EXPECT_EQ(Result(1), kResultFail);
    EXPECT_EQ(Comment(1), "monitor: no answer from 10.0.0.7");
    EXPECT_EQ(seq.Outcome(), RunOutcome::Complete);
    EXPECT_EQ(records, (QStringList{"after 1 0 -> 2", "after 2 1 -> 1"}));
    EXPECT_EQ(checking, (QList<bool>{true, false, true, false}));
}

TEST_F(MonitorGateTest, ProblemsLeaveTheStepUnjudgedAndTheOperatorGoesOnOrStops) {
    doc.Steps().push_back(AcStep(3000));
    MakeGate(After());
    RunFirstStep();
    EndStep();
    // The time limit: "------", the comment says why, and OK goes on.
    sink.Expect(MonitorProblemQuestion(1, "monitor: no answer within 30 s"), MsgAnswer::Ok);
    monitor.AnswerProblem(QStringLiteral("no answer within 30 s"));
    EXPECT_EQ(Result(0), kResultNone);
    EXPECT_EQ(Comment(0), "monitor: no answer within 30 s");
    EXPECT_EQ(Sent(), (QStringList{"CB", "STEP200", "CA"}));

    // A crash: Cancel ends the test as STOP does.
    EndStep();
    sink.Expect(MonitorProblemQuestion(2, "monitor: crashed (signal 11)"), MsgAnswer::Cancel);
    monitor.AnswerProblem(QStringLiteral("crashed (signal 11)"));
    EXPECT_EQ(Result(1), kResultNone);
    EXPECT_EQ(Sent(), QStringList{"CB"});
    sink.Expect(linkmsg::TestStopped());
    timers.Fire(seq, 1);
    EXPECT_EQ(seq.Outcome(), RunOutcome::Stopped);
    EXPECT_EQ(Result(2), kResultNone);

    // A command that cannot start: without an operator the answer comes from the caller.
    seq.SetProblemAnswer([](const MonitorVerdict&) { return true; });
    Status(0);
    timers.Fire(seq, 0);
    StartRun();
    EndStep();
    sink.Expect(linkmsg::TestComplete());
    monitor.AnswerProblem(QStringLiteral("cannot start /opt/ping-eut"));
    EXPECT_EQ(Comment(2), "monitor: cannot start /opt/ping-eut");
    EXPECT_EQ(seq.Phase(), RunPhase::Ending);  // the last step: the test completes
}

TEST_F(MonitorGateTest, StopAtFirstFailEndsTheTestAsStopped) {
    MakeGate(After(true));
    RunFirstStep();
    EndStep();
    monitor.AnswerFail(QStringLiteral("EUT rebooted"));
    EXPECT_EQ(Result(0), kResultFail);
    EXPECT_EQ(Sent(), QStringList{"CB"});  // the next step never starts
    sink.Expect(linkmsg::TestStopped());
    timers.Fire(seq, 1);
    EXPECT_EQ(seq.Outcome(), RunOutcome::Stopped);
    EXPECT_EQ(Result(1), kResultNone);
}

TEST_F(MonitorGateTest, AFailDuringTheStepStandsAndOverlappingChecksAreSkipped) {
    MakeGate(During());
    RunFirstStep();
    Status(kRunning);
    timers.Fire(seq, 1);
    gate->OnDuringTick(5000);  // the step is seen running: the first check is due a period on
    EXPECT_TRUE(monitor.started.empty());
    gate->OnDuringTick(5999);
    EXPECT_TRUE(monitor.started.empty());
    gate->OnDuringTick(6000);
    ASSERT_EQ(monitor.started.size(), 1u);
    EXPECT_EQ(monitor.started[0].phase, MonitorPhase::During);
    gate->OnDuringTick(7000);  // the first one still runs: skipped and counted
    EXPECT_EQ(monitor.SkippedChecks(), 1);
    EXPECT_EQ(monitor.started.size(), 1u);

    monitor.AnswerFail(QStringLiteral("heartbeat lost"));
    EXPECT_EQ(Result(0), kResultFail);  // at once, while the step still runs
    EXPECT_EQ(Comment(0), "monitor: heartbeat lost");
    gate->OnDuringTick(8000);
    monitor.AnswerPass();
    EXPECT_EQ(Result(0), kResultFail);

    // After the step the verdict PASS cannot make it PASS again either; the run goes on.
    EndStep();
    EXPECT_EQ(Result(0), kResultFail);
    ASSERT_EQ(monitor.started.back().phase, MonitorPhase::After);
    monitor.AnswerPass();
    EXPECT_EQ(Result(0), kResultFail);
    EXPECT_EQ(Comment(0), "monitor: heartbeat lost");
    EXPECT_EQ(Sent(), (QStringList{"CB", "STEP200", "CA"}));
    EXPECT_EQ(records, (QStringList{"during 1 1 -> 1", "during 1 0 -> 1", "after 1 0 -> 1"}));

    // The next step's checks count from its own start, and it is not marked by the first.
    Status(kRunning);
    timers.Fire(seq, 1);
    gate->OnDuringTick(8100);
    gate->OnDuringTick(9000);
    EXPECT_EQ(monitor.started.size(), 3u);
    gate->OnDuringTick(9100);
    ASSERT_EQ(monitor.started.size(), 4u);
    EXPECT_EQ(monitor.started.back().step, 2);
}

TEST_F(MonitorGateTest, WithoutJudgingAfterAFailDuringStillBeatsTheSequencersPass) {
    MakeGate(During(false));
    RunFirstStep();
    Status(kRunning);
    timers.Fire(seq, 1);
    gate->OnDuringTick(0);
    gate->OnDuringTick(1000);
    monitor.AnswerFail(QStringLiteral("display frozen"));
    EndStep();  // not held: the next step starts at once
    EXPECT_EQ(Result(0), kResultFail);
    EXPECT_EQ(seq.Phase(), RunPhase::Running);
    EXPECT_EQ(Sent(), (QStringList{"CB", "STEP200", "CA"}));
    EXPECT_EQ(monitor.started.size(), 1u);
}

TEST_F(MonitorGateTest, AProblemDuringTheStepPausesTheInstrumentThenAsks) {
    RunToACheckDuringTheStep();
    // Going on resumes the paused step.
    seq.SetProblemAnswer([this](const MonitorVerdict&) {
        Status(kRunning | kPaused);
        return true;
    });
    monitor.AnswerProblem(QStringLiteral("exit status 3"));
    EXPECT_EQ(Sent(), (QStringList{"CA", "CA"}));
    EXPECT_EQ(Result(0), kResultNone);
    EXPECT_EQ(Comment(0), "monitor: exit status 3");
    // Stopping: paused, then STOP.
    Status(kRunning);
    timers.Fire(seq, 1);
    gate->OnDuringTick(2000);
    seq.SetProblemAnswer([](const MonitorVerdict&) { return false; });
    monitor.AnswerProblem(QStringLiteral("exit status 3"));
    EXPECT_EQ(Sent(), (QStringList{"CA", "CB"}));
    EXPECT_EQ(seq.Phase(), RunPhase::Stopping);
}

// The pause for a check without verdict is a "CA" like any other: when it gets no ACK the test
// ends at once as on a lost link, and nobody is asked about a step that may still be surged.
TEST_F(MonitorGateTest, APauseForAProblemThatDoesNotArriveEndsTheTest) {
    RunToACheckDuringTheStep();
    bool asked = false;
    seq.SetProblemAnswer([&asked](const MonitorVerdict&) { return asked = true; });
    inst.refused.insert(QStringLiteral("CA"));
    sink.Expect(linkmsg::LostDuringRun());
    monitor.AnswerProblem(QStringLiteral("exit status 3"));
    EXPECT_FALSE(asked);
    EXPECT_EQ(seq.Phase(), RunPhase::Ending);
    EXPECT_EQ(seq.Outcome(), RunOutcome::NoLink);
    EXPECT_EQ(Comment(0), "monitor: exit status 3");  // the finding is on its step all the same
}

TEST_F(MonitorGateTest, TheInstrumentHearsExactlyTheSameWithOrWithoutTheMonitor) {
    auto runBoth = [this](bool withGate) {
        if (withGate) {
            MakeGate(After());
        }
        RunFirstStep();
        QStringList all;
        for (int step = 0; step < 2; ++step) {
            Status(kRunning);
            timers.Fire(seq, 1);
            if (step == 1) {
                sink.Expect(linkmsg::TestComplete());
            }
            EndStep();
            if (withGate) {
                monitor.AnswerPass();
            }
            all << Sent();
        }
        seq.Destroy();
        return all + Sent();
    };
    const QStringList plain = runBoth(false);
    ASSERT_FALSE(plain.isEmpty());
    doc.SetCurrentStep(0);
    EXPECT_EQ(runBoth(true), plain);

    // A gate that neither judges after nor checks during never asks and never holds.
    MonitorGateOptions off;
    off.judgeAfterStep = false;
    CMonitorGate idle(doc, monitor, off);
    seq.SetStepGate(&idle);
    EXPECT_FALSE(idle.HoldAfterStep(0, false).holds);
    idle.OnDuringTick(100000);
    EXPECT_EQ(monitor.started.size(), 2u);
}

// The gate alone, told where the run is and fed verdicts: it reports each finding as a value
// and acts on nothing. The step, the instrument and the run stay as they were.
TEST_F(MonitorGateTest, TheGateOnlyReportsWhatItFound) {
    MonitorGateOptions options = During();
    options.stopOnFail = true;
    CMonitorGate alone(doc, monitor, options);
    std::vector<StepFinding> found;
    alone.SetFindingSink([&](const StepFinding& f) { found.push_back(f); });
    doc.Steps()[0].m_strComment = QStringLiteral("cable moved");
    OpenIdle();
    const RunPhase phase = seq.Phase();

    // The checks during the step follow what the gate is told: none before a step runs, the
    // schedule waits while the step is paused or a question is open, and starts afresh after.
    alone.OnDuringTick(0);
    alone.StepStarted(0);
    alone.RunMoved(RunPhase::Running, false);
    alone.OnDuringTick(0);
    alone.RunMoved(RunPhase::Running, true);
    alone.OnDuringTick(5000);
    alone.RunMoved(RunPhase::Paused, false);
    alone.OnDuringTick(5000);
    EXPECT_TRUE(monitor.started.empty());
    alone.RunMoved(RunPhase::Running, false);
    alone.OnDuringTick(5000);  // due since 1000: the schedule was kept
    ASSERT_EQ(monitor.started.size(), 1u);
    EXPECT_EQ(monitor.started[0].phase, MonitorPhase::During);

    monitor.AnswerFail(QStringLiteral("EUT rebooted"));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].event, RunEvent::VerdictDuringStep);
    EXPECT_EQ(found[0].row, 0);
    EXPECT_TRUE(found[0].stopOnFail);
    ASSERT_TRUE(found[0].mark.has_value());
    EXPECT_EQ(found[0].mark->result, kResultFail);
    EXPECT_EQ(found[0].mark->comment, "cable moved\nmonitor: EUT rebooted");
    EXPECT_EQ(found[0].result, kResultFail);
    ASSERT_TRUE(found[0].verdict.has_value());
    EXPECT_EQ(found[0].verdict->outcome, MonitorOutcome::Fail);
    // Nothing was applied, sent or decided by the gate.
    EXPECT_EQ(Result(0), kResultNone);
    EXPECT_EQ(Comment(0), "cable moved");
    EXPECT_TRUE(Sent().isEmpty());
    EXPECT_EQ(seq.Phase(), phase);
    EXPECT_TRUE(records.isEmpty());

    // A later FAIL only goes to the record; the first one stands at the step's end.
    alone.OnDuringTick(6000);
    monitor.AnswerFail(QStringLiteral("again"));
    EXPECT_FALSE(found.back().mark.has_value());
    EXPECT_EQ(alone.ResultAtStepEnd(0), kResultFail);

    // After the step: the verdict it waits for is reported once; another is not its verdict.
    const StepCheck check = alone.HoldAfterStep(0, false);
    EXPECT_TRUE(check.holds);
    EXPECT_TRUE(alone.CheckingAfterStep());
    alone.OnDuringTick(60000);  // the step is over: no check during it
    EXPECT_EQ(monitor.started.back().phase, MonitorPhase::After);
    monitor.AnswerPass();
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[2].event, RunEvent::VerdictAfterStep);
    EXPECT_TRUE(found[2].failedDuring);
    EXPECT_EQ(found[2].mark->result, kResultFail);
    EXPECT_EQ(found[2].mark->comment, "cable moved");  // nothing applied: the doc's comment
    EXPECT_FALSE(alone.CheckingAfterStep());
    ASSERT_TRUE(monitor.Start(monitor.started.back()));  // the same check once more
    monitor.AnswerPass();
    EXPECT_EQ(found.size(), 3u) << "not a verdict the run waits for";

    // A check that cannot start is found at once, with why, and holds nothing.
    struct Refusing : FakeEutMonitor {
        bool Start(const MonitorRequest&) override { return false; }
    } refusing;
    CMonitorGate stuck(doc, refusing, After());
    const StepCheck none = stuck.HoldAfterStep(1, true);
    EXPECT_FALSE(none.holds);
    ASSERT_TRUE(none.found.has_value());
    EXPECT_EQ(none.found->event, RunEvent::CheckNotStarted);
    EXPECT_EQ(none.found->row, 1);
    EXPECT_EQ(none.found->mark->comment, "monitor: the check could not be started");
    EXPECT_FALSE(none.found->verdict.has_value());
    EXPECT_TRUE(Sent().isEmpty());
    EXPECT_EQ(Result(1), kResultNone);
}

// While the verdict after a step is still to come, the step shows and journals no result; a run
// cut off there is restored with the step unjudged and done again.
TEST_F(MonitorGateTest, NoPassIsJournalledBeforeTheVerdictAfterTheStep) {
    CMemoryRunJournal journal;
    CRunJournalObserver observer(journal);
    seq.SetObserver(&observer);
    MakeGate(After());
    observer.Open(OpenInfoForDocument(doc, doc.Store()));
    RunFirstStep();
    EndStep();
    EXPECT_EQ(seq.Phase(), RunPhase::Holding);
    EXPECT_EQ(Result(0), kResultNone);
    const QByteArray before = journal.Bytes();
    EXPECT_TRUE(before.contains(R"("event":"step-end","step":1,"result":"pending")"));
    EXPECT_FALSE(before.contains(R"("result":"pass")")) << before.toStdString();

    // Killed here: the journal as it lies gives the step back unjudged, and not ended.
    QTemporaryDir dir;
    const QString path = dir.filePath("run.zebrun");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(before);
    file.close();
    JournalState state;
    QString error;
    ASSERT_TRUE(ReadJournalState(path, state, error)) << error.toStdString();
    EXPECT_EQ(state.results[0], kResultNone);
    EXPECT_EQ(state.comments[0], InterruptedVerdictComment());
    EXPECT_EQ(state.firstNotEnded, 0);

    monitor.AnswerPass();
    EXPECT_EQ(Result(0), kResultPass);
    EXPECT_TRUE(
        journal.Bytes()
            .mid(before.size())
            .contains(
                R"("event":"judgement","step":1,"result":"pass","comment":"","by":"monitor")"));
    EXPECT_FALSE(journal.Bytes().contains(R"("result":"pass","comment":"","by":"sequencer")"));
}

// Stop at the first FAIL holds for a FAIL found while the step runs, whatever the verdict after.
TEST_F(MonitorGateTest, AFailDuringTheStepStopsTheTestWhenAskedTo) {
    MakeGate([] {
        MonitorGateOptions o;
        o.checkDuringStep = true;
        o.everyMs = 1000;
        o.stopOnFail = true;
        return o;
    }());
    RunFirstStep();
    Status(kRunning);
    timers.Fire(seq, 1);
    gate->OnDuringTick(0);
    gate->OnDuringTick(1000);
    monitor.AnswerFail(QStringLiteral("EUT rebooted"));
    EXPECT_EQ(Sent(), QStringList{"CB"});
    EXPECT_EQ(seq.Phase(), RunPhase::Stopping);
    sink.Expect(linkmsg::TestStopped());
    Status(kNormalEnd);
    timers.Fire(seq, 1);
    EXPECT_EQ(seq.Outcome(), RunOutcome::Stopped);
    EXPECT_EQ(Result(0), kResultFail);
    EXPECT_TRUE(Sent().isEmpty()) << "the next step never starts";
}

// A step run again is judged on that run alone, and each monitor answer replaces the monitor's
// earlier comment while the operator's stays.
TEST_F(MonitorGateTest, ARerunForgetsTheEarlierFailAndAnswersReplaceTheMonitorComment) {
    MakeGate(During());
    seq.SetProblemAnswer([](const MonitorVerdict&) { return true; });
    RunFirstStep();
    Status(kRunning);
    timers.Fire(seq, 1);
    gate->OnDuringTick(0);
    gate->OnDuringTick(1000);
    monitor.AnswerFail(QStringLiteral("answered 500"));
    seq.OnStop();
    sink.Expect(linkmsg::TestStopped());
    Status(0);
    timers.Fire(seq, 1);
    timers.Fire(seq, 0);
    ASSERT_EQ(Result(0), kResultFail);
    seq.ApplyJudgement(0, kResultFail, "cable moved\n" + Comment(0));
    Sent();

    // The same step again: a check with no verdict, OK, then PASS after the step.
    doc.SetCurrentStep(0);
    StartRun();
    Status(kRunning);
    timers.Fire(seq, 1);
    gate->OnDuringTick(2000);
    gate->OnDuringTick(3000);
    Status(kRunning | kPaused);
    monitor.AnswerProblem(QStringLiteral("no answer within 5 s, stopped"));
    EXPECT_EQ(Comment(0), "cable moved\nmonitor: no answer within 5 s, stopped");
    Status(kRunning);
    EndStep();
    monitor.AnswerPass();
    EXPECT_EQ(Result(0), kResultPass);
    EXPECT_EQ(Comment(0), "cable moved");
}

TEST(MonitorGateOptionsTest, TheCheckPeriodIsSetInSeconds) {
    EutMonitorSettings settings;
    settings.command = QStringLiteral("ping-host 192.0.2.7");
    settings.everyS = 7;
    EXPECT_EQ(MonitorGateOptions::From(settings).everyMs, 7000);
    EXPECT_EQ(ReplaceMonitorComment(QString(), QString()), QString());
    EXPECT_EQ(ReplaceMonitorComment("note", "monitor: x"), "note\nmonitor: x");
    EXPECT_EQ(ReplaceMonitorComment("monitor: old", "monitor: new"), "monitor: new");
}

}  // namespace
}  // namespace zeb::test
