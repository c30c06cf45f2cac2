// The run sequencer against a fake instrument: what it sends, what it shows and which poll it
// arms, for the opening, the idle and run polls, the buttons, keys and Close.

#include <gtest/gtest.h>

#include "LinkMessages.h"
#include "RemainingTime.h"
#include "SequencerFixture.h"

namespace zeb::test {
namespace {

using namespace status;

class SequencerTest : public SequencerFixture {};

TEST_F(SequencerTest, OpeningShowsTheCurrentStepAndLoadsItOnTheInstrument) {
    // Type 6 offers the ring wave on its AC output.
    inst.replies[QStringLiteral("QR")] = QStringLiteral("QR6");
    doc.Record().m_ulMachineType = 6;
    for (CExecData& s : doc.Steps()) {
        s.m_ulMachineType = 6;
    }
    doc.Steps()[1].m_nWaveform = 2;
    doc.Steps()[1].m_nRingRegi = 7;  // out of range: shown as the default, 30 ohm
    doc.SetCurrentStep(1);
    Status(kLineOn);
    ASSERT_TRUE(seq.Open());
    EXPECT_EQ(Sent(), (QStringList{"PQ0", "CB", "STEP200"}));
    const ExecPanelState& s = seq.State();
    EXPECT_EQ(s.stepTotal, "2");
    EXPECT_EQ(s.stepNumber, "2");
    EXPECT_EQ(s.dischargeTotal, "2");
    EXPECT_EQ(s.dischargeDone, "0");
    EXPECT_EQ(s.interval, "10");
    EXPECT_EQ(s.countdown, QString::number(doc.Steps()[1].MinInterval()));
    EXPECT_EQ(s.waveform, "RING");
    EXPECT_TRUE(s.impedanceVisible);
    EXPECT_EQ(s.impedance, "30ohm");
    EXPECT_EQ(s.remaining, "   0h: 0m:20s");
    EXPECT_EQ(s.line, LineShown::On);
    EXPECT_NE(s.line, LineShown::Off);
    EXPECT_FALSE(s.notConnectedVisible);
    EXPECT_EQ(s.selectedRow, 1);
    EXPECT_EQ(timers.ArmedPoll(), 0);
    seq.Destroy();

    // An unknown waveform code goes back to 1.2/50 in the step, without the impedance; with no
    // instrument the not-connected label shows and the line reads off.
    doc.Steps()[0].m_nWaveform = 3;
    doc.SetCurrentStep(0);
    CZebM40Cntl none{bus.Access()};
    CRunSequencer alone(doc, none, timers);
    ASSERT_TRUE(alone.Open());
    EXPECT_EQ(alone.State().waveform, "1.2/50");
    EXPECT_EQ(doc.Steps()[0].m_nWaveform, 0);
    EXPECT_FALSE(alone.State().impedanceVisible);
    EXPECT_TRUE(alone.State().notConnectedVisible);
    EXPECT_EQ(alone.State().line, LineShown::Off);
    alone.Destroy();
}

TEST_F(SequencerTest, CurrentStepOutsideTheListBecomesZeroAndAnEmptyListIsRefused) {
    for (int bad : {-3, 2, 99}) {
        CRunSequencer other(doc, cntl, timers);
        doc.SetCurrentStep(bad);
        ASSERT_TRUE(other.Open());
        EXPECT_EQ(doc.CurrentStep(), 0);
        EXPECT_EQ(other.State().stepNumber, "1");
        other.Destroy();
    }
    Sent();
    doc.Steps().clear();
    CRunSequencer empty(doc, cntl, timers);
    EXPECT_FALSE(empty.Open());
    empty.OnTimer(0);
    empty.OnStart();
    empty.OnStepSpin(1);
    empty.Destroy();
    EXPECT_TRUE(Sent().isEmpty());
}

TEST_F(SequencerTest, IdlePollEnablesStartAndLineOnByPortLineAndSynchronisation) {
    OpenIdle();
    timers.Fire(seq, 0);
    EXPECT_TRUE(seq.State().startEnabled);
    EXPECT_TRUE(seq.State().lineOnEnabled);
    EXPECT_FALSE(seq.State().stopEnabled);

    // A synchronised AC test needs the line on; switching it on enables START next tick.
    doc.Record().m_outOutput.m_aopOutputPort[kPortAc].m_nSync = 1;
    timers.Fire(seq, 0);
    EXPECT_FALSE(seq.State().startEnabled);
    Status(kLineOn);
    timers.Fire(seq, 0);
    EXPECT_TRUE(seq.State().startEnabled);
    EXPECT_TRUE(seq.State().lampLit);
    EXPECT_EQ(seq.State().line, LineShown::On);

    for (int port : {kPortSurge, kPortTelecom}) {
        doc.Record().m_outOutput.m_nOutputPort = port;
        timers.Fire(seq, 0);
        EXPECT_FALSE(seq.State().lineOnEnabled) << port;
        EXPECT_TRUE(seq.State().startEnabled) << port;
    }
    Status(kBusy);
    timers.Fire(seq, 0);
    EXPECT_TRUE(seq.State().processingVisible);
    EXPECT_FALSE(seq.State().startEnabled);
    EXPECT_TRUE(Sent().isEmpty());
    EXPECT_EQ(timers.ArmedPoll(), 0);
}

TEST_F(SequencerTest, IdlePollWithoutReplyShowsNotConnectedAndRecovers) {
    OpenIdle();
    Status(kLineOn);
    timers.Fire(seq, 0);
    Silence();
    timers.Fire(seq, 0);
    const ExecPanelState& s = seq.State();
    EXPECT_TRUE(s.notConnectedVisible);
    EXPECT_FALSE(s.startEnabled || s.stopEnabled || s.lineOnEnabled || s.lineOffEnabled);
    EXPECT_EQ(s.line, LineShown::Off);
    EXPECT_EQ(timers.ArmedPoll(), 0);
    Speak();
    timers.Fire(seq, 0);
    EXPECT_FALSE(seq.State().notConnectedVisible);
    EXPECT_TRUE(seq.State().startEnabled);
}

TEST_F(SequencerTest, ForeignRunFoundByTheIdlePollIsStopped) {
    OpenIdle();
    Status(kRunning);
    sink.Expect(linkmsg::TestInterrupted());
    timers.Fire(seq, 0);
    EXPECT_EQ(Sent(), (QStringList{"CD", "CB"}));
    Status(kRunning | kLineOn);
    sink.Expect(linkmsg::TestInterrupted());
    timers.Fire(seq, 0);
    EXPECT_EQ(Sent(), (QStringList{"CB"}));  // the line stays as it is
    EXPECT_EQ(timers.ArmedPoll(), 0);
}

TEST_F(SequencerTest, TwoStepRunEndsCompleteWithBothStepsPassed) {
    OpenIdle();
    timers.Fire(seq, 0);
    StartRun();
    EXPECT_EQ(Sent(), (QStringList{"PQ0", "CB", "STEP100", "CA"}));
    EXPECT_TRUE(seq.ReportPending());
    EXPECT_EQ(timers.ArmedPoll(), 1);

    Status(kRunning | kBusy);
    timers.Fire(seq, 1);
    EXPECT_EQ(seq.State().defaultButton, ExecControl::Stop);
    EXPECT_TRUE(seq.Blinking());
    Status(kRunning);
    Counters(1, 6);
    timers.Fire(seq, 1);
    EXPECT_EQ(seq.State().startAction, StartAction::Pause);
    EXPECT_EQ(seq.State().dischargeDone, "1");
    EXPECT_EQ(seq.State().countdown, "6");
    EXPECT_FALSE(seq.State().judgementEnabled);
    EXPECT_FALSE(seq.State().lineOnEnabled);
    EXPECT_FALSE(seq.State().lineOffEnabled);  // LINE OFF only while the line is on
    timers.Fire(seq, 2);
    EXPECT_TRUE(seq.State().lampLit);
    Status(kRunning | kLineOn);
    timers.Fire(seq, 1);
    EXPECT_TRUE(seq.State().lineOffEnabled);
    EXPECT_FALSE(seq.State().lineOnEnabled);

    // The end bit while the instrument is still busy: the step counts as done only once the
    // busy bit clears, so the counters are followed and nothing is sent yet.
    Status(kNormalEnd | kBusy);
    Counters(2, 0);
    timers.Fire(seq, 1);
    EXPECT_TRUE(seq.State().processingVisible);
    EXPECT_EQ(seq.State().dischargeDone, "2");
    EXPECT_EQ(doc.CurrentStep(), 0);
    EXPECT_EQ(timers.ArmedPoll(), 1);
    EXPECT_TRUE(Sent().isEmpty());

    Status(kNormalEnd);
    timers.Fire(seq, 1);  // step 1 done: step 2 follows without a question
    EXPECT_FALSE(seq.State().processingVisible);
    EXPECT_EQ(Sent(), (QStringList{"CB", "STEP200", "CA"}));
    EXPECT_EQ(doc.Steps()[0].m_nResult, kResultPass);
    EXPECT_EQ(doc.Steps()[1].m_nResult, kResultNone);
    EXPECT_EQ(doc.CurrentStep(), 1);
    EXPECT_EQ(seq.State().selectedRow, 1);

    Status(kRunning);
    timers.Fire(seq, 1);
    EXPECT_EQ(seq.State().stepNumber, "2");
    Status(kNormalEnd);
    sink.Expect(linkmsg::TestComplete());
    timers.Fire(seq, 1);
    EXPECT_EQ(seq.Outcome(), RunOutcome::Complete);
    EXPECT_EQ(doc.Steps()[1].m_nResult, kResultPass);
    EXPECT_EQ(seq.ListModel().CellText(0, CStepListModel::kColResult), "PASS");
    EXPECT_EQ(seq.ListModel().CellText(1, CStepListModel::kColResult), "PASS");
    EXPECT_EQ(doc.CurrentStep(), 0);
    EXPECT_EQ(seq.State().stepNumber, "1");
    EXPECT_EQ(seq.State().selectedRow, 0);
    EXPECT_FALSE(seq.State().lampLit);
    EXPECT_FALSE(timers.IsArmed(2));
    EXPECT_EQ(timers.ArmedPoll(), 0);
    EXPECT_TRUE(Sent().isEmpty());
}

TEST_F(SequencerTest, StopEndsTheTestStoppedEvenWithTheStepFinishedBit) {
    OpenIdle();
    timers.Fire(seq, 0);
    StartRun();
    Status(kRunning);
    timers.Fire(seq, 1);
    Sent();
    seq.OnStop();
    EXPECT_EQ(Sent(), QStringList{"CB"});
    EXPECT_EQ(timers.ArmedPoll(), 1);
    Status(kNormalEnd);
    sink.Expect(linkmsg::TestStopped());
    timers.Fire(seq, 1);
    EXPECT_EQ(seq.Outcome(), RunOutcome::Stopped);
    EXPECT_EQ(doc.Steps()[0].m_nResult, kResultNone);
    EXPECT_EQ(doc.CurrentStep(), 0);
    EXPECT_EQ(timers.ArmedPoll(), 0);

    // START goes on from the stopped step, with the question again.
    Status(0);
    timers.Fire(seq, 0);
    StartRun();
    EXPECT_EQ(Sent(), (QStringList{"PQ0", "CB", "STEP100", "CA"}));
}

TEST_F(SequencerTest, StartWhileRunningOnlyPausesOrResumes) {
    OpenIdle();
    timers.Fire(seq, 0);
    StartRun();
    Status(kRunning | kPaused);
    timers.Fire(seq, 1);
    EXPECT_EQ(seq.Phase(), RunPhase::Paused);
    EXPECT_TRUE(seq.State().pauseVisible);
    EXPECT_NE(seq.State().startAction, StartAction::Pause);
    Sent();
    seq.OnStart();  // no question: the sink would fail on one
    EXPECT_EQ(Sent(), QStringList{"CA"});
    EXPECT_EQ(timers.ArmedPoll(), 1);
    Status(kRunning);
    timers.Fire(seq, 1);
    EXPECT_EQ(seq.Phase(), RunPhase::Running);
    EXPECT_FALSE(seq.State().pauseVisible);
}

TEST_F(SequencerTest, CountdownAtOneOrZeroLocksStartAndMovesTheFocusToStop) {
    OpenIdle();
    timers.Fire(seq, 0);
    StartRun();
    Status(kRunning);
    Counters(0, 5);
    timers.Fire(seq, 1);
    EXPECT_TRUE(seq.State().startEnabled);
    seq.NoteFocus(ExecControl::Start);
    for (int countdown : {1, 0}) {
        Counters(0, countdown);
        timers.Fire(seq, 1);
        EXPECT_FALSE(seq.State().startEnabled) << countdown;
        EXPECT_EQ(seq.State().focus, ExecControl::Stop);
        EXPECT_EQ(seq.State().defaultButton, ExecControl::Stop);
        seq.NoteFocus(ExecControl::Start);
    }
    // While paused the countdown does not lock START: it is the resume button then.
    Status(kRunning | kPaused);
    Counters(0, 5);
    timers.Fire(seq, 1);
    Counters(0, 1);
    timers.Fire(seq, 1);
    EXPECT_TRUE(seq.State().startEnabled);
}

TEST_F(SequencerTest, CouplingUnitNeverOffersPauseAndClearsAfterAnError) {
    OpenIdle();
    timers.Fire(seq, 0);
    StartRun();
    // The run goes on as on a coupling unit (the settings check does not apply any more).
    doc.Record().m_ulMachineType = kMachineTelecomUnit;
    Status(kRunning);
    Counters(0, 8);
    timers.Fire(seq, 1);
    EXPECT_NE(seq.State().startAction, StartAction::Pause);
    EXPECT_FALSE(seq.State().startEnabled);
    Sent();
    Status(kError);
    inst.replies[QStringLiteral("QQ")] = QStringLiteral("QQ5");
    sink.Expect(ErrorMessageFor(5));
    timers.Fire(seq, 1);
    EXPECT_EQ(Sent(), QStringList{"PQ0"});
    EXPECT_EQ(seq.Outcome(), RunOutcome::Error);
}

TEST_F(SequencerTest, CouplingUnitDocumentStartsOnTheGeneratorsNibble) {
    // A coupling-unit record on a generator that reports the record's low nibble runs: the
    // settings check before START passes, the step block and "CA" go out.
    inst.replies[QStringLiteral("QR")] = QStringLiteral("QR?");
    doc.Record().m_ulMachineType = 0x400F;
    for (CExecData& s : doc.Steps()) {
        s.m_ulMachineType = 0x400F;
        s.m_nOutputDetail = kAcThreePhase;  // the three-phase unit has no single phase
    }
    OpenIdle();
    timers.Fire(seq, 0);
    StartRun();
    EXPECT_EQ(Sent(), (QStringList{"PQ0", "CB", "STEP100", "CA"}));
    EXPECT_EQ(sink.Shown(), std::vector<QString>{QStringLiteral("Test starting.")});
}

TEST_F(SequencerTest, InstrumentErrorOrLostLinkEndsTheTestWhereItWas) {
    OpenIdle();
    timers.Fire(seq, 0);
    StartRun();
    Status(kNormalEnd);
    timers.Fire(seq, 1);  // on to step 2
    Status(kError);
    inst.replies[QStringLiteral("QQ")] = QStringLiteral("QQ3");
    sink.Expect(ErrorMessageFor(3));
    Sent();
    timers.Fire(seq, 1);
    EXPECT_TRUE(Sent().isEmpty());  // no "PQ0" on an ordinary machine
    EXPECT_EQ(seq.Outcome(), RunOutcome::Error);
    EXPECT_EQ(doc.CurrentStep(), 1);
    EXPECT_EQ(timers.ArmedPoll(), 0);
    EXPECT_FALSE(seq.State().stopEnabled);

    // An error without a text ends the test silently.
    Status(0);
    timers.Fire(seq, 0);
    StartRun();
    Status(kError);
    inst.replies[QStringLiteral("QQ")] = QStringLiteral("QQ0");
    timers.Fire(seq, 1);
    EXPECT_EQ(seq.Outcome(), RunOutcome::Error);

    Status(0);
    timers.Fire(seq, 0);
    StartRun();
    Silence();
    sink.Expect(linkmsg::LostDuringRun());
    timers.Fire(seq, 1);
    EXPECT_EQ(seq.Outcome(), RunOutcome::NoLink);
    EXPECT_EQ(doc.CurrentStep(), 1);
    EXPECT_EQ(timers.ArmedPoll(), 0);
}

TEST_F(SequencerTest, NextStepRefusedBeforeSendingEndsTheRunStoppedWithoutStartingIt) {
    doc.Steps()[1].m_nInjRet = 99;  // no instrument code: the block is never sent
    OpenIdle();
    timers.Fire(seq, 0);
    StartRun();
    Sent();
    Status(kNormalEnd);
    const QString refusal =
        "The INJ - RET line code of the test step, 99, is not one the instrument knows.\n"
        "The test step is not sent to the instrument.";
    sink.Expect(refusal);
    timers.Fire(seq, 1);
    EXPECT_EQ(Sent(), QStringList{"CB"});  // no block, no "CA"
    sink.Expect(linkmsg::TestStopped());
    timers.Fire(seq, 1);  // the old end bit is still there, yet nothing was run
    EXPECT_EQ(seq.Outcome(), RunOutcome::Stopped);
    EXPECT_EQ(doc.Steps()[1].m_nResult, kResultNone);

    // START on that step refuses it too, without the question.
    Status(0);
    timers.Fire(seq, 0);
    sink.Expect(refusal);
    seq.OnStart();
    EXPECT_EQ(Sent(), (QStringList{"PQ0", "CB"}));
    EXPECT_EQ(seq.Outcome(), RunOutcome::Stopped);
    EXPECT_EQ(timers.ArmedPoll(), 0);
    EXPECT_TRUE(seq.State().lineOnEnabled);

    // A block the instrument stops acknowledging half way is not started either, and START
    // says why instead of doing nothing.
    doc.Steps()[1].m_nInjRet = 0;
    timers.Fire(seq, 0);
    inst.refused.insert(QStringLiteral("PE10"));
    sink.Expect(linkmsg::LostDuringRun());
    seq.OnStart();
    EXPECT_FALSE(Sent().contains(QStringLiteral("CA")));
    EXPECT_EQ(seq.Outcome(), RunOutcome::NoLink);
    EXPECT_EQ(timers.ArmedPoll(), 0);
}

TEST_F(SequencerTest, StartThatCannotStartKeepsThePollThatMatches) {
    OpenIdle();
    timers.Fire(seq, 0);
    Status(kBusy);
    seq.OnStart();
    EXPECT_EQ(timers.ArmedPoll(), 0);
    EXPECT_TRUE(Sent().isEmpty());

    Status(0);
    StartRun();
    Status(kRunning);
    timers.Fire(seq, 1);
    Status(kBusy);
    seq.OnStart();
    EXPECT_EQ(timers.ArmedPoll(), 1);

    // Cancelling the question leaves the block loaded and goes back to the idle poll.
    Status(0);
    sink.Expect(linkmsg::TestStopped());
    timers.Fire(seq, 1);
    timers.Fire(seq, 0);
    Sent();
    sink.Expect(QStringLiteral("Test starting."), MsgAnswer::Cancel);
    seq.OnStart();
    EXPECT_EQ(Sent(), (QStringList{"PQ0", "CB", "STEP100"}));
    EXPECT_TRUE(seq.State().lineOnEnabled);
    EXPECT_EQ(timers.ArmedPoll(), 0);
}

TEST_F(SequencerTest, LineOnAsksSwitchesAndFallsBackWhenTheLineStaysOff) {
    OpenIdle();
    timers.Fire(seq, 0);
    sink.Expect(linkmsg::ConfirmLineOn());
    inst.replies[QStringLiteral("QQ")] = QStringLiteral("QQ5");
    sink.Expect(ErrorMessageFor(5));
    seq.OnLineOn();
    EXPECT_EQ(Sent(), (QStringList{"PQ0", "CB", "CC"}));
    EXPECT_NE(seq.State().line, LineShown::On);
    EXPECT_EQ(seq.State().line, LineShown::Off);
    EXPECT_EQ(seq.State().focus, ExecControl::LineOff);
    EXPECT_EQ(timers.ArmedPoll(), 0);

    // Line already on (or running, or busy): nothing is asked or sent.
    Status(kLineOn);
    seq.OnLineOn();
    EXPECT_TRUE(Sent().isEmpty());
    // Cancel sends nothing either.
    Status(0);
    sink.Expect(linkmsg::ConfirmLineOn(), MsgAnswer::Cancel);
    seq.OnLineOn();
    EXPECT_TRUE(Sent().isEmpty());
    EXPECT_EQ(timers.ArmedPoll(), 0);

    seq.OnLineOff();
    EXPECT_EQ(Sent(), (QStringList{"CB", "CD"}));

    // Surge output and telecom never switch the line on, not even before the first idle poll
    // (zebctl asks right after the opening): no question, no command.
    for (int port : {kPortSurge, kPortTelecom}) {
        doc.Record().m_outOutput.m_nOutputPort = port;
        CRunSequencer other(doc, cntl, timers);
        ASSERT_TRUE(other.Open());
        Sent();
        other.OnLineOn();
        EXPECT_TRUE(Sent().isEmpty()) << port;
        EXPECT_NE(other.State().line, LineShown::On) << port;
        other.Destroy();
    }
}

TEST_F(SequencerTest, RemainingTimeCountsEveryIntervalLeft) {
    ExecDataList steps(3, AcStep(1000, 5, 20));
    EXPECT_EQ(RemainingSeconds(steps, 0, 2), 260);
    EXPECT_EQ(RemainingText(260), "   0h: 4m:20s");
    EXPECT_EQ(RemainingSeconds(steps, 2, 0), 100);
    EXPECT_EQ(RemainingSeconds(steps, 0, 5), 200);   // all done: the step's time is spent
    EXPECT_EQ(RemainingSeconds(steps, 0, 6), 300);   // more done than planned: not subtracted
    EXPECT_EQ(RemainingSeconds(steps, 0, -4), 300);  // a garbled count does not add time
    EXPECT_EQ(RemainingSeconds(steps, 3, 0), 0);
    ExecDataList huge(1000, AcStep(1000, 999999, 9999));
    EXPECT_EQ(RemainingSeconds(huge, 0, 0), 1000LL * 999999 * 9999);
    EXPECT_EQ(RemainingText(36000 + 61), "  10h: 1m: 1s");
}

TEST_F(SequencerTest, CloseIsRefusedWhileRunningAndAsksForTheReportAfterATest) {
    OpenIdle();
    EXPECT_TRUE(seq.OnClose());  // nothing started: no question
    timers.Fire(seq, 0);
    StartRun();
    Status(kRunning);
    timers.Fire(seq, 1);
    seq.NoteFocus(ExecControl::Close);
    EXPECT_FALSE(seq.OnClose());
    EXPECT_EQ(seq.State().focus, ExecControl::Stop);

    int reports = 0;
    seq.SetReportWriter([&] {
        ++reports;
        return QString();
    });
    Status(kBusy);  // busy but not running: may close
    sink.Expect(ReportQuestion(), MsgAnswer::Cancel);
    EXPECT_FALSE(seq.OnClose());
    sink.Expect(ReportQuestion(), MsgAnswer::No);
    EXPECT_TRUE(seq.OnClose());
    sink.Expect(ReportQuestion(), MsgAnswer::Yes);
    EXPECT_TRUE(seq.OnClose());
    EXPECT_EQ(reports, 1);

    Sent();
    seq.Destroy();
    EXPECT_EQ(Sent(), (QStringList{"PQ0", "CB"}));
    EXPECT_EQ(timers.ArmedPoll(), -1);
    EXPECT_FALSE(timers.IsArmed(2));
}

TEST_F(SequencerTest, NoKeyPressesStartOrLineOnAndEscStopsWithoutStopping) {
    for (ExecControl c : {ExecControl::Start, ExecControl::LineOn}) {
        EXPECT_FALSE(CRunSequencer::KeyMayAct(c));
    }
    for (ExecControl c :
         {ExecControl::Stop, ExecControl::LineOff, ExecControl::Close, ExecControl::List}) {
        EXPECT_TRUE(CRunSequencer::KeyMayAct(c));
    }
    OpenIdle();
    timers.Fire(seq, 0);
    EXPECT_FALSE(seq.OnEscape());  // STOP disabled: the key is the dialog's
    EXPECT_TRUE(Sent().isEmpty());
    StartRun();
    Status(kRunning);
    timers.Fire(seq, 1);
    Sent();
    EXPECT_TRUE(seq.OnEscape());
    EXPECT_EQ(Sent(), QStringList{"CB"});
    EXPECT_EQ(seq.Phase(), RunPhase::Running);
    EXPECT_EQ(timers.ArmedPoll(), 1);
    // Esc is not STOP: a step the instrument reports done still counts, and the run goes on.
    Status(kNormalEnd);
    timers.Fire(seq, 1);
    EXPECT_EQ(Sent(), (QStringList{"CB", "STEP200", "CA"}));
    EXPECT_EQ(doc.Steps()[0].m_nResult, kResultPass);
}

TEST_F(SequencerTest, RowSelectionMovesTheRunOnlyWhileIdle) {
    doc.Steps().push_back(AcStep(3000));
    OpenIdle();
    timers.Fire(seq, 0);
    seq.OnRowSelected(2);
    EXPECT_EQ(doc.CurrentStep(), 2);
    EXPECT_EQ(seq.State().stepNumber, "3");
    EXPECT_EQ(seq.State().remaining, "   0h: 0m:20s");
    StartRun();
    EXPECT_EQ(Sent(), (QStringList{"PQ0", "CB", "STEP300", "CA"}));
    Status(kRunning);
    timers.Fire(seq, 1);
    seq.OnRowSelected(0);
    EXPECT_EQ(doc.CurrentStep(), 2);
    EXPECT_FALSE(seq.CanJudge(0));  // running: no judgement
    Status(kRunning | kPaused);
    timers.Fire(seq, 1);
    EXPECT_TRUE(seq.CanJudge(0));
    EXPECT_FALSE(seq.CanJudge(3));

    // The spinner steps within the list and leaves the selection alone.
    seq.OnStepSpin(5);
    EXPECT_EQ(doc.CurrentStep(), 2);
    seq.OnStepSpin(0);
    seq.OnStepSpin(-1);
    seq.OnStepSpin(-1);
    EXPECT_EQ(doc.CurrentStep(), 0);
    EXPECT_EQ(seq.State().stepNumber, "1");
}

TEST_F(SequencerTest, JudgementsChangeResultsAndOnlyTheSingleOneAsksForTheReport) {
    OpenIdle();
    sink.Expect(QStringLiteral("All the test results are rewritten.\nIs it ok?"),
                MsgAnswer::Cancel);
    seq.OnBulkJudgement(kResultFail);
    EXPECT_EQ(doc.Steps()[0].m_nResult, kResultNone);
    sink.Expect(QStringLiteral("All the test results are rewritten.\nIs it ok?"));
    seq.OnBulkJudgement(kResultFail);
    EXPECT_EQ(seq.ListModel().CellText(0, CStepListModel::kColResult), "FAIL");
    EXPECT_EQ(seq.ListModel().CellText(1, CStepListModel::kColResult), "FAIL");
    EXPECT_FALSE(seq.ReportPending());

    seq.ApplyJudgement(1, kResultPass, QStringLiteral("EUT restarted"));
    EXPECT_TRUE(seq.ReportPending());
    EXPECT_EQ(seq.ListModel().CellText(1, CStepListModel::kColComment), "EUT restarted");
    sink.Expect(QStringLiteral("All the comments are deleted.\nIs it ok?"), MsgAnswer::Cancel);
    seq.OnDeleteComments();
    EXPECT_EQ(doc.Steps()[1].m_strComment, "EUT restarted");
    sink.Expect(QStringLiteral("All the comments are deleted.\nIs it ok?"));
    seq.OnDeleteComments();
    EXPECT_TRUE(doc.Steps()[1].m_strComment.isEmpty());
}

TEST_F(SequencerTest, ReportIsNotOfferedAgainOnceAskedFor) {
    OpenIdle();
    timers.Fire(seq, 0);
    StartRun();
    Status(0);
    sink.Expect(linkmsg::TestStopped());
    timers.Fire(seq, 1);
    QString written;  // the writer fails first: no file, yet the question is not asked again
    int reports = 0;
    seq.SetReportWriter([&] {
        ++reports;
        return written;
    });
    seq.OnReport();
    EXPECT_FALSE(seq.ReportPending());
    EXPECT_TRUE(seq.OnClose());  // no question: the sink would fail on one

    // A judgement after the report makes the report worth offering again.
    seq.ApplyJudgement(0, kResultFail, QStringLiteral("EUT reset"));
    written = QStringLiteral("/tmp/run.xlsx");
    sink.Expect(ReportQuestion(), MsgAnswer::Yes);
    EXPECT_TRUE(seq.OnClose());
    EXPECT_EQ(reports, 2);
    EXPECT_TRUE(seq.OnClose());
}

// Records what the run reports, and holds it between steps when asked to.
class RunLog : public IRunObserver, public IStepGate {
public:
    void OnStepStarted(int step, const QStringList& block) override {
        events << QStringLiteral("start %1 %2").arg(step).arg(block.value(1));
    }
    void OnStepEnded(int step, int result, qint64) override {
        events << QStringLiteral("end %1 %2").arg(step).arg(result);
    }
    void OnJudgement(int step, int result, const QString&, JudgedBy by) override {
        events << QStringLiteral("judge %1 %2 by %3").arg(step).arg(result).arg(JudgedByText(by));
    }
    void OnCommentsCleared() override { events << QStringLiteral("cleared"); }
    void OnStopSent(StopBy by) override { events << QStringLiteral("stop %1").arg(int(by)); }
    void OnRunEnded(RunOutcome outcome) override {
        events << QStringLiteral("ended %1").arg(int(outcome));
    }
    void OnReportWritten(const QString& path) override { events << "report " + path; }
    void OnClosed(RunOutcome outcome) override {
        events << QStringLiteral("closed %1").arg(int(outcome));
    }
    StepCheck HoldAfterStep(int finished, bool last) override {
        events << QStringLiteral("hold %1 %2").arg(finished).arg(last);
        StepCheck check;
        check.holds = true;
        return check;
    }
    QStringList events;
};

TEST_F(SequencerTest, StepGateHoldsTheRunBetweenStepsAndTheObserverHearsEverything) {
    RunLog log;
    seq.SetObserver(&log);
    seq.SetStepGate(&log);
    OpenIdle();
    timers.Fire(seq, 0);
    StartRun();
    Status(kNormalEnd);
    Sent();
    timers.Fire(seq, 1);
    // Held after step 1: the instrument is idle, nothing is sent and no poll runs.
    EXPECT_EQ(seq.Phase(), RunPhase::Holding);
    EXPECT_TRUE(Sent().isEmpty());
    EXPECT_EQ(timers.ArmedPoll(), -1);
    EXPECT_EQ(doc.CurrentStep(), 1);
    seq.OnStart();  // START has nothing to do while held
    EXPECT_TRUE(Sent().isEmpty());
    // STOP while held ends the run stopped; the next step is never started.
    seq.OnStop();
    sink.Expect(linkmsg::TestStopped());
    timers.Fire(seq, 1);
    EXPECT_EQ(Sent(), QStringList{"CB"});
    EXPECT_EQ(seq.Outcome(), RunOutcome::Stopped);
    seq.ReleaseHold();  // too late: nothing happens
    EXPECT_TRUE(Sent().isEmpty());

    // From step 2, held after the last step; the release completes the test.
    Status(0);
    timers.Fire(seq, 0);
    StartRun();
    Status(kNormalEnd);
    timers.Fire(seq, 1);
    EXPECT_EQ(seq.Phase(), RunPhase::Holding);
    sink.Expect(linkmsg::TestComplete());
    seq.ReleaseHold();
    EXPECT_EQ(seq.Outcome(), RunOutcome::Complete);
    EXPECT_EQ(timers.ArmedPoll(), 0);
    sink.Expect(QStringLiteral("All the comments are deleted.\nIs it ok?"));
    seq.OnDeleteComments();
    seq.SetReportWriter([] { return QStringLiteral("r.xlsx"); });
    sink.Expect(ReportQuestion(), MsgAnswer::Yes);
    EXPECT_TRUE(seq.OnClose());
    seq.Destroy();
    EXPECT_EQ(
        log.events,
        (QStringList{"judge 0 0 by sequencer", "start 0 PD100", "end 0 2", "judge 0 2 by sequencer",
                     "judge 1 0 by sequencer", "hold 0 0", "stop 0", "ended 2",
                     "judge 1 0 by sequencer", "start 1 PD200", "end 1 2", "judge 1 2 by sequencer",
                     "hold 1 1", "ended 1", "cleared", "report r.xlsx", "closed 1"}));
}

}  // namespace
}  // namespace zeb::test
