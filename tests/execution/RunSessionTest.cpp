// The run session on a fake instrument, an in-memory journal and a scripted monitor: it starts a
// test by itself once START is offered (zebctl's way), gives up for the reasons an operator is
// told, stops on request, and records the monitor's verdicts in the journal before anyone hears
// of them.

#include <gtest/gtest.h>

#include <QBuffer>

#include "FakeEutMonitor.h"
#include "JournalReader.h"
#include "LinkMessages.h"
#include "RunJournalObserver.h"
#include "RunSession.h"
#include "SequencerFixture.h"
#include "TestProperty.h"

namespace zeb::test {
namespace {

using namespace status;

class RunSessionTest : public SequencerFixture {
protected:
    void SetUp() override {
        SequencerFixture::SetUp();
        RunSessionSettings settings;
        settings.journal = RunSessionSettings::Journal::None;
        session = std::make_unique<CRunSession>(doc, cntl, property, settings, &timers);
        session->UseJournal(journal, RunOpenInfo(doc, property, cntl));
    }
    void TearDown() override { session.reset(); }

    // Fires whichever poll is armed.
    void Poll() {
        const int id = timers.ArmedPoll();
        ASSERT_GE(id, 0);
        session->OnTimer(id);
    }
    bool ChainWhole() const {
        QByteArray bytes = journal.Bytes();
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        return ReadJournal(buffer).IsWhole();
    }

    // The instrument answers `refuse` with NAK instead of ACK.
    void NakRefusedCommand() {
        line->responder = [this](const QByteArray& data) {
            if (!refuse.isEmpty() && data.size() >= 3 &&
                data.mid(1, data.size() - 3) == refuse.toLatin1()) {
                inst.log << refuse;
                return QByteArray(1, '\x15');
            }
            return inst.Answer(data);
        };
    }

    CTestProperty property;
    CMemoryRunJournal journal;
    std::unique_ptr<CRunSession> session;
    QString refuse;  // the command the instrument does not acknowledge
};

TEST_F(RunSessionTest, StartsOnceStartIsOfferedAndRunsToTheEnd) {
    Status(kBusy);
    ASSERT_TRUE(session->Open());
    session->StartWhenReady(10);
    Poll();  // busy: waits
    EXPECT_FALSE(session->TestStarted());
    EXPECT_FALSE(Sent().contains(QStringLiteral("CA")));
    Status(0);
    sink.Expect(linkmsg::ConfirmTestStart());
    Poll();
    EXPECT_TRUE(session->TestStarted());
    EXPECT_EQ(session->Sequencer().Phase(), RunPhase::Running);
    EXPECT_EQ(Sent().filter(QStringLiteral("CA")).size(), 1);
    Status(kNormalEnd);
    Poll();  // step 1 done, step 2 started
    EXPECT_FALSE(session->Finished());
    sink.Expect(linkmsg::TestComplete());
    Poll();
    ASSERT_TRUE(session->Finished());
    EXPECT_EQ(session->FinalOutcome(), RunOutcome::Complete);
    EXPECT_EQ(session->AutoStartEnded(), AutoStartEnd::None);
    EXPECT_EQ(Sent(), (QStringList{"CB", "STEP200", "CA"}));
    session->Close();
    session->Close();  // once
    EXPECT_EQ(Sent(), (QStringList{"PQ0", "CB"}));
    EXPECT_EQ(journal.EventNames().first(), "open");
    EXPECT_EQ(journal.EventNames().last(), "close");
    EXPECT_EQ(journal.EventNames().count("step-end"), 2);
    EXPECT_TRUE(ChainWhole());
}

TEST_F(RunSessionTest, GivesUpOnAMissingLineASilentOrABusyInstrument) {
    // A synchronised AC test without the EUT line.
    doc.Record().m_outOutput.m_aopOutputPort[kPortAc].m_nSync = 1;
    ASSERT_TRUE(session->Open());
    session->StartWhenReady(10);
    Poll();
    EXPECT_TRUE(session->Finished());
    EXPECT_EQ(session->AutoStartEnded(), AutoStartEnd::NeedsLine);
    EXPECT_EQ(session->FinalOutcome(), RunOutcome::Stopped);
    EXPECT_FALSE(session->TestStarted());

    RunSessionSettings none;
    none.journal = RunSessionSettings::Journal::None;
    doc.Record().m_outOutput.m_aopOutputPort[kPortAc].m_nSync = 0;
    CRunSession silent(doc, cntl, property, none, &timers);
    ASSERT_TRUE(silent.Open());
    silent.StartWhenReady(10);
    Silence();
    silent.OnTimer(runtimer::kIdlePoll);
    EXPECT_EQ(silent.AutoStartEnded(), AutoStartEnd::NoAnswer);
    EXPECT_EQ(silent.FinalOutcome(), RunOutcome::NoLink);
    Speak();

    CRunSession busy(doc, cntl, property, none, &timers);
    Status(kBusy);
    ASSERT_TRUE(busy.Open());
    busy.StartWhenReady(3);
    for (int i = 0; i < 3; ++i) {
        busy.OnTimer(runtimer::kIdlePoll);
        EXPECT_FALSE(busy.Finished()) << i;
    }
    busy.OnTimer(runtimer::kIdlePoll);
    EXPECT_EQ(busy.AutoStartEnded(), AutoStartEnd::StayedBusy);
    EXPECT_FALSE(Sent().contains(QStringLiteral("CA")));
}

TEST_F(RunSessionTest, AStopRequestEndsAWaitingRunAtOnceAndAStartedOneThroughTheInstrument) {
    Status(kBusy);
    ASSERT_TRUE(session->Open());
    session->StartWhenReady(10);
    Poll();
    Sent();
    session->StopRequested();
    EXPECT_TRUE(session->Finished());
    EXPECT_EQ(session->FinalOutcome(), RunOutcome::Stopped);
    EXPECT_TRUE(Sent().isEmpty());

    RunSessionSettings none;
    none.journal = RunSessionSettings::Journal::None;
    CRunSession started(doc, cntl, property, none, &timers);
    Status(0);
    ASSERT_TRUE(started.Open());
    started.StartWhenReady(10);
    sink.Expect(linkmsg::ConfirmTestStart());
    started.OnTimer(runtimer::kIdlePoll);
    ASSERT_TRUE(started.TestStarted());
    Status(kRunning);
    started.OnTimer(runtimer::kRunPoll);
    Sent();
    started.StopRequested();
    EXPECT_EQ(Sent(), QStringList{"CB"});
    EXPECT_FALSE(started.Finished());  // the instrument says when the test has ended
    Status(0);
    sink.Expect(linkmsg::TestStopped());
    started.OnTimer(runtimer::kRunPoll);
    EXPECT_TRUE(started.Finished());
    EXPECT_EQ(started.FinalOutcome(), RunOutcome::Stopped);
}

// Every failed command reaches the run's table: "CA" without its ACK ends the test at once
// (not at the next poll) with the message of a link lost during the run, and the journal says
// so; so does a block between steps that does not arrive, and its step is not started.
TEST_F(RunSessionTest, AStartCommandWithoutAckEndsTheTestAtOnce) {
    NakRefusedCommand();
    ASSERT_TRUE(session->Open());
    session->StartWhenReady(10);
    Status(kRunning);
    refuse = QStringLiteral("CA");
    sink.Expect(linkmsg::ConfirmTestStart());
    sink.Expect(linkmsg::LostDuringRun());
    Status(0);
    Poll();
    EXPECT_EQ(session->Sequencer().Phase(), RunPhase::Ending);
    EXPECT_EQ(session->Sequencer().Outcome(), RunOutcome::NoLink);
    EXPECT_EQ(timers.ArmedPoll(), runtimer::kIdlePoll);
    const QStringList names = journal.EventNames();
    ASSERT_GE(names.size(), 3);
    EXPECT_EQ(names.mid(names.size() - 3), (QStringList{"step-start", "link-lost", "run-end"}));

    // Between steps: step 2's voltage gets no ACK.
    refuse.clear();
    Sent();
    sink.Expect(linkmsg::ConfirmTestStart());
    session->Sequencer().OnStart();
    ASSERT_EQ(session->Sequencer().Phase(), RunPhase::Running);
    refuse = QStringLiteral("PD200");
    sink.ExpectAny();
    Status(kNormalEnd);
    Poll();
    EXPECT_EQ(session->Sequencer().Phase(), RunPhase::Ending);
    EXPECT_EQ(session->Sequencer().Outcome(), RunOutcome::NoLink);
    EXPECT_EQ(Sent().filter(QStringLiteral("CA")).size(), 1);  // START's only
    EXPECT_EQ(journal.EventNames().count("step-start"), 2);    // step 1 twice, never step 2
}

// "CB" without its ACK during a test ends it at once with the message of a link lost during the
// run, whichever control sent it; the run poll is not left armed beside the idle poll, so the
// test is not ended a second time. Outside a test a lost "CB" changes nothing by itself.
TEST_F(RunSessionTest, AStopWithoutAckEndsTheTestAtOnce) {
    NakRefusedCommand();
    ASSERT_TRUE(session->Open());
    CRunSequencer& seq = session->Sequencer();
    refuse = QStringLiteral("CB");
    seq.OnLineOff();  // idle: nothing ends, the idle poll stays
    EXPECT_EQ(seq.Phase(), RunPhase::Idle);
    EXPECT_EQ(seq.Outcome(), RunOutcome::None);
    EXPECT_EQ(timers.ArmedPoll(), runtimer::kIdlePoll);
    EXPECT_TRUE(Sent().contains(QStringLiteral("CD")));  // the rest went on

    for (int viaEscape = 0; viaEscape < 2; ++viaEscape) {
        refuse.clear();
        Status(0);
        sink.Expect(linkmsg::ConfirmTestStart());
        seq.OnStart();
        ASSERT_EQ(seq.Phase(), RunPhase::Running);
        Status(kRunning);
        Poll();
        refuse = QStringLiteral("CB");
        sink.Expect(linkmsg::LostDuringRun());
        if (viaEscape != 0) {
            EXPECT_TRUE(seq.OnEscape());
        } else {
            seq.OnStop();
        }
        EXPECT_TRUE(sink.AllConsumed());
        EXPECT_EQ(seq.Phase(), RunPhase::Ending) << viaEscape;
        EXPECT_EQ(seq.Outcome(), RunOutcome::NoLink) << viaEscape;
        EXPECT_EQ(timers.ArmedPoll(), runtimer::kIdlePoll) << viaEscape;
        const QStringList names = journal.EventNames();
        EXPECT_EQ(names.mid(names.size() - 3), (QStringList{"stop", "link-lost", "run-end"}))
            << viaEscape;
        // The instrument still runs the step: the idle poll stops it, as a sequence of the
        // instrument's own panel.
        refuse.clear();
        Sent();
        sink.Expect(linkmsg::TestInterrupted());
        Poll();
        EXPECT_TRUE(Sent().contains(QStringLiteral("CB")));
        Status(0);
        Poll();
        EXPECT_EQ(seq.Phase(), RunPhase::Idle);
    }
    // Between steps the step that ended is stopped before the next block: without that stop
    // the next block is never sent.
    refuse.clear();
    sink.Expect(linkmsg::ConfirmTestStart());
    seq.OnStart();
    ASSERT_EQ(seq.Phase(), RunPhase::Running);
    const int started = journal.EventNames().count("step-start");
    Sent();
    refuse = QStringLiteral("CB");
    sink.Expect(linkmsg::LostDuringRun());
    Status(kNormalEnd);
    Poll();
    EXPECT_EQ(seq.Outcome(), RunOutcome::NoLink);
    EXPECT_EQ(Sent(), (QStringList{"CB"}));
    EXPECT_EQ(journal.EventNames().count("step-start"), started);
    EXPECT_TRUE(ChainWhole());
}

// Reading the run changes nothing: a current step outside the list (which no handler makes) is
// read as the first one, and the document keeps it as it is.
TEST_F(RunSessionTest, ReadsChangeNothing) {
    ASSERT_TRUE(session->Open());
    session->StartWhenReady(10);
    sink.Expect(linkmsg::ConfirmTestStart());
    Poll();
    doc.SetCurrentStep(7);
    Status(kRunning);
    Poll();  // the run poll reads the current step for its counters and the next step
    Project(session->State());
    session->Sequencer().StartOffered();
    EXPECT_EQ(doc.CurrentStep(), 7);
}

TEST_F(RunSessionTest, VerdictsAreJournalledBeforeTheyAreHeardAndTheMonitorGoesFirstOnClose) {
    // The session owns its monitor and deletes it on Close, so the cancels are counted here.
    struct CountedMonitor : FakeEutMonitor {
        explicit CountedMonitor(int& cancels) : m_cancels(cancels) {}
        void Cancel() override {
            m_cancels += Busy() ? 1 : 0;
            FakeEutMonitor::Cancel();
        }
        int& m_cancels;
    };
    int cancels = 0;
    auto fake = std::make_unique<CountedMonitor>(cancels);
    FakeEutMonitor& monitor = *fake;
    session->SetMonitor(std::move(fake), MonitorGateOptions());
    int heard = 0;
    session->SetVerdictListener([&](const MonitorVerdict&, int result) {
        ++heard;
        EXPECT_EQ(result, kResultFail);
        EXPECT_EQ(journal.EventNames().last(), "monitor");
    });
    ASSERT_TRUE(session->Open());
    session->StartWhenReady(10);
    sink.Expect(linkmsg::ConfirmTestStart());
    Poll();
    Status(kNormalEnd);
    Poll();
    EXPECT_TRUE(session->CheckingAfterStep());
    EXPECT_FALSE(session->ResultsSettled());
    monitor.AnswerFail(QStringLiteral("no answer on port 80"));
    EXPECT_EQ(heard, 1);
    EXPECT_TRUE(session->ResultsSettled());
    EXPECT_EQ(doc.Steps()[0].m_nResult, kResultFail);
    // A check still running when the session closes is cancelled, and no verdict comes after.
    Status(kNormalEnd);
    Poll();
    ASSERT_TRUE(session->CheckingAfterStep());
    session->Close();
    EXPECT_EQ(cancels, 1);
    EXPECT_EQ(journal.EventNames().last(), "close");
    EXPECT_TRUE(ChainWhole());
}

}  // namespace
}  // namespace zeb::test
