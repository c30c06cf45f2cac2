// The run sequencer against the instrument simulator on a pseudo-terminal, its clock running
// fast: whole runs, pause and resume, the line switched on, and the link lost.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QThread>

#include "FakeTimerHost.h"
#include "LinkMessages.h"
#include "ScriptedMessageSink.h"
#include "SequencerFixture.h"
#include "SimFixture.h"

namespace zeb::test {
namespace {

class SequencerSimTest : public SimFixture {
protected:
    void SetUpSim(double timeScale, int stopBusyMs = 0) {
        zebsim::SimOptions options;
        options.timeScale = timeScale;
        options.stopBusyMs = stopBusyMs;
        sim = &AddSim(options);
        ASSERT_TRUE(cntl.Connect());
        ASSERT_TRUE(doc.OnNewDocument(kAcMachine, 1));
        doc.Record().m_outOutput.m_aopOutputPort[kPortAc].m_nSync = 0;
        doc.Steps() = {AcStep(1000), AcStep(2000)};
    }
    // Fires whichever poll is armed (faster than 100 ms: the instrument's clock is fast too)
    // until `done` holds; the lamp timer is left alone.
    template <typename Pred>
    bool PollUntil(Pred done, int timeoutMs = 10000) {
        QElapsedTimer clock;
        clock.start();
        while (!done()) {
            if (clock.elapsed() > timeoutMs) {
                return false;
            }
            const int poll = timers.ArmedPoll();
            if (poll < 0) {
                ADD_FAILURE() << "no poll armed";
                return false;
            }
            QThread::msleep(20);
            seq.OnTimer(poll);
        }
        return true;
    }
    void StartRun() {
        ASSERT_TRUE(seq.Open());
        seq.OnTimer(0);
        ASSERT_TRUE(seq.State().startEnabled);
        sink.Expect(linkmsg::ConfirmTestStart());
        seq.OnStart();
        ASSERT_EQ(seq.Phase(), RunPhase::Running);
    }
    bool Outcome() { return seq.Outcome() != RunOutcome::None; }

    zebsim::PtySimulator* sim = nullptr;
    CZebM40Cntl cntl{SerialAccess::System()};
    CZebM40SettingsDoc doc;
    FakeTimerHost timers;
    ScriptedMessageSink sink;
    CRunSequencer seq{doc, cntl, timers};
};

TEST_F(SequencerSimTest, TwoStepRunCompletes) {
    SetUpSim(20.0);
    StartRun();
    sink.Expect(linkmsg::TestComplete());
    ASSERT_TRUE(PollUntil([&] { return Outcome(); }));
    EXPECT_EQ(seq.Outcome(), RunOutcome::Complete);
    EXPECT_EQ(doc.Steps()[0].m_nResult, kResultPass);
    EXPECT_EQ(doc.Steps()[1].m_nResult, kResultPass);
    EXPECT_EQ(doc.CurrentStep(), 0);
    EXPECT_EQ(seq.State().stepNumber, "1");
    EXPECT_EQ(sim->CommandLog().filter(QStringLiteral("CA")).size(), 2);
    seq.Destroy();
    const QStringList log = sim->CommandLog();
    EXPECT_EQ(log.mid(log.size() - 2), (QStringList{"PQ0", "CB"}));
}

TEST_F(SequencerSimTest, PauseAndResumeWithStart) {
    SetUpSim(2.0);
    StartRun();
    ASSERT_TRUE(
        PollUntil([&] { return seq.State().startEnabled && seq.Phase() == RunPhase::Running; }));
    sim->ClearLog();
    seq.OnStart();  // pause: only "CA", no block and no question
    ASSERT_TRUE(PollUntil([&] { return seq.Phase() == RunPhase::Paused; }));
    EXPECT_TRUE(seq.State().pauseVisible);
    EXPECT_EQ(sim->CommandLog().filter(QRegularExpression("^[CP]")), QStringList{"CA"});
    seq.OnStart();  // resume
    ASSERT_TRUE(PollUntil([&] { return seq.Phase() == RunPhase::Running; }));
    EXPECT_FALSE(seq.State().pauseVisible);
    seq.OnStop();
    sink.Expect(linkmsg::TestStopped());
    ASSERT_TRUE(PollUntil([&] { return Outcome(); }));
    EXPECT_EQ(seq.Outcome(), RunOutcome::Stopped);
    EXPECT_EQ(doc.Steps()[0].m_nResult, kResultNone);
}

// An instrument that winds down for a while after "CB", running and busy: the run polls see
// that after STOP, and the test still ends as stopped, the step unjudged, no next step started.
TEST_F(SequencerSimTest, StopIsKeptWhileTheInstrumentWindsDown) {
    SetUpSim(2.0, 3000);
    StartRun();
    ASSERT_TRUE(PollUntil(
        [&] { return seq.Phase() == RunPhase::Running && !seq.State().processingVisible; }));
    sim->ClearLog();
    seq.OnStop();
    int busyPolls = 0;
    sink.Expect(linkmsg::TestStopped());
    ASSERT_TRUE(PollUntil([&] {
        if (seq.Phase() == RunPhase::Stopping && seq.InstrumentBusy()) {
            ++busyPolls;
        }
        EXPECT_NE(seq.Phase(), RunPhase::Running);
        return Outcome();
    }));
    EXPECT_GT(busyPolls, 3);
    EXPECT_EQ(seq.Outcome(), RunOutcome::Stopped);
    EXPECT_EQ(doc.Steps()[0].m_nResult, kResultNone);
    EXPECT_EQ(doc.Steps()[1].m_nResult, kResultNone);
    EXPECT_EQ(sim->CommandLog().filter(QStringLiteral("CA")).size(), 0);
}

TEST_F(SequencerSimTest, SynchronisedTestStartsOnceTheLineIsOn) {
    SetUpSim(20.0);
    doc.Record().m_outOutput.m_aopOutputPort[kPortAc].m_nSync = 1;
    ASSERT_TRUE(seq.Open());
    seq.OnTimer(0);
    EXPECT_FALSE(seq.State().startEnabled);
    sink.Expect(linkmsg::ConfirmLineOn());
    seq.OnLineOn();
    EXPECT_TRUE(sim->CommandLog().contains(QStringLiteral("CC")));
    seq.OnTimer(0);
    EXPECT_TRUE(seq.State().startEnabled);
    EXPECT_EQ(seq.State().line, LineShown::On);
    EXPECT_TRUE(seq.State().lampLit);
}

TEST_F(SequencerSimTest, LinkLostDuringTheRunAndWhileIdle) {
    SetUpSim(2.0);
    StartRun();
    ASSERT_TRUE(PollUntil(
        [&] { return seq.Phase() == RunPhase::Running && !seq.State().processingVisible; }));
    sim->InjectFault(zebsim::Fault::Silence);
    sink.Expect(linkmsg::LostDuringRun());
    ASSERT_TRUE(PollUntil([&] { return Outcome(); }));
    EXPECT_EQ(seq.Outcome(), RunOutcome::NoLink);
    seq.OnTimer(0);
    EXPECT_TRUE(seq.State().notConnectedVisible);
    EXPECT_FALSE(seq.State().startEnabled);
    sim->ClearFaults();
    // The instrument kept running on its own; the idle poll stops it as a run not ours.
    sink.Expect(linkmsg::TestInterrupted());
    seq.OnTimer(0);
    EXPECT_FALSE(seq.State().notConnectedVisible);
    ASSERT_TRUE(PollUntil([&] { return seq.State().startEnabled; }));
}

}  // namespace
}  // namespace zeb::test
