// The run and judgement dialogs headless: they render the sequencer's state and forward keys,
// clicks and double-clicks; the decisions themselves are tested on the sequencer.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <random>

#include "ExecDlg.h"
#include "ExecWidgets.h"
#include "FakeEutMonitor.h"
#include "JudgeDlg.h"
#include "MonitorGate.h"
#include "MonitorSettings.h"
#include "RecordingOpener.h"
#include "RunView.h"
#include "SequencerFixture.h"
#include "TempConfigHome.h"
#include "TestProperty.h"
#include "TestReport.h"

namespace zeb::test {
namespace {

using namespace status;

class ExecDlgTest : public SequencerFixture {
protected:
    void SetUp() override {
        SequencerFixture::SetUp();
        dlg = std::make_unique<CExecDlg>(doc, cntl, property, RunSessionSettings::Load());
        dlg->SetReportOpener(&opener);
        dlg->SetReportFolder(reports.path());
    }
    void TearDown() override { dlg.reset(); }

    // Opens the run, shows the dialog and lets the first idle poll run.
    void ShowIdle() {
        ASSERT_TRUE(dlg->Begin());
        dlg->show();
        dlg->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
        Tick(0);
        Sent();
    }
    void Tick(int id) {
        dlg->Sequencer().OnTimer(id);
        QApplication::processEvents();
    }
    // Starts a run through the START button and lets one run poll see `status`.
    void Running(quint8 s) {
        sink.Expect(QStringLiteral("Test starting."));
        W().start->click();
        Status(s);
        Tick(1);
        Sent();
    }
    const CExecWidgets& W() const { return dlg->Widgets(); }
    QPoint RowCenter(int row) const {
        return W().list->visualRect(W().list->model()->index(row, 1)).center();
    }

    TempConfigHome config;
    QTemporaryDir reports;
    RecordingOpener opener;
    CTestProperty property;
    std::unique_ptr<CExecDlg> dlg;
};

TEST_F(ExecDlgTest, EmptyStepListIsRefusedWithoutTouchingTheInstrument) {
    doc.Steps().clear();
    inst.log.clear();
    EXPECT_EQ(dlg->exec(), QDialog::Rejected);
    dlg.reset();
    EXPECT_TRUE(Sent().isEmpty());
}

TEST_F(ExecDlgTest, RendersTheStateAndForwardsTheButtons) {
    ShowIdle();
    EXPECT_TRUE(W().start->isEnabled());
    EXPECT_EQ(W().start->accessibleName(), "START");
    EXPECT_FALSE(W().stop->isEnabled());
    EXPECT_TRUE(W().lineOff->isChecked());
    EXPECT_EQ(W().stepTotal->text(), "2");
    EXPECT_TRUE(W().impedance->isHidden());
    EXPECT_EQ(W().list->model()->headerData(3, Qt::Horizontal).toString(), "INJ - RET");

    Running(kRunning | kPaused);
    EXPECT_FALSE(W().pauseLabel->isHidden());
    EXPECT_EQ(W().start->accessibleName(), "RESUME");  // START's name says what it does now
    EXPECT_FALSE(W().report->isEnabled());
    EXPECT_FALSE(W().bulkCombo->isEnabled());
    W().stop->click();
    EXPECT_EQ(Sent(), QStringList{"CB"});
    Status(0);
    sink.Expect(QStringLiteral("Test is stoped."));
    Tick(1);
    Tick(0);
    EXPECT_TRUE(W().report->isEnabled());
    EXPECT_TRUE(W().pauseLabel->isHidden());

    sink.Expect(QStringLiteral("The EUT LINE will turn ON.\nIs it ok?"), MsgAnswer::Cancel);
    W().lineOn->click();
    W().lineOff->click();
    EXPECT_EQ(Sent(), (QStringList{"CB", "CD"}));
}

// A screen reader's action on a control: toggle checks a radio without a click, press clicks it
// a moment later, as a mouse click would.
void Accessible(QWidget* control, const QString& action) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(control);
    ASSERT_TRUE(iface && iface->actionInterface());
    iface->actionInterface()->doAction(action);
}

TEST_F(ExecDlgTest, LineRadiosActOncePerOperatorActionAndNeverOnARefresh) {
    const QString confirm = QStringLiteral("The EUT LINE will turn ON.\nIs it ok?");
    ShowIdle();
    ASSERT_TRUE(W().lineOff->isChecked());

    // Toggled by a screen reader, LINE ON asks once (a second question would fail the sink).
    sink.Expect(confirm, MsgAnswer::Cancel);
    Accessible(W().lineOn, QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(sink.AllConsumed());
    EXPECT_TRUE(W().lineOn->isChecked());
    // The idle poll puts the radios back in line with the instrument and switches nothing.
    Tick(0);
    EXPECT_TRUE(W().lineOff->isChecked());
    EXPECT_TRUE(Sent().isEmpty());

    // LINE OFF pressed while it is already checked still switches the line off.
    Accessible(W().lineOff, QAccessibleActionInterface::pressAction());
    ASSERT_TRUE(QTest::qWaitFor([this] { return inst.log.contains(QStringLiteral("CD")); }));
    EXPECT_EQ(Sent(), (QStringList{"CB", "CD"}));

    // A click and the space bar check the radio and click it: still one action each.
    sink.Expect(confirm, MsgAnswer::Cancel);
    QTest::mouseClick(W().lineOn, Qt::LeftButton);
    EXPECT_TRUE(sink.AllConsumed());
    W().lineOff->setFocus();
    QTest::keyClick(W().lineOff, Qt::Key_Space);
    EXPECT_EQ(Sent(), (QStringList{"CB", "CD"}));

    // The line came on at the instrument: the poll checks LINE ON without asking anything,
    // and a screen reader's toggle of LINE OFF then switches it off once.
    Status(kLineOn);
    Tick(0);
    EXPECT_TRUE(W().lineOn->isChecked());
    EXPECT_TRUE(Sent().isEmpty());
    Accessible(W().lineOff, QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(Sent(), (QStringList{"CB", "CD"}));
}

TEST_F(ExecDlgTest, EnterAndSpaceNeverPressStartOrLineOn) {
    ShowIdle();
    for (QPushButton* b : {W().start, W().lineOn}) {
        b->setFocus();
        QApplication::processEvents();
        ASSERT_TRUE(b->hasFocus());
        QTest::keyClick(b, Qt::Key_Return);
        QTest::keyClick(b, Qt::Key_Enter);
        QTest::keyClick(b, Qt::Key_Space);
    }
    // Enter elsewhere does not reach START through the default button either.
    W().list->setFocus();
    QTest::keyClick(W().list, Qt::Key_Return);
    EXPECT_TRUE(Sent().isEmpty());  // and the sink saw no question
    EXPECT_TRUE(dlg->isVisible());
}

TEST_F(ExecDlgTest, EscapeStopsWhileStopIsEnabledAndNeverCloses) {
    ShowIdle();
    QTest::keyClick(W().lineOff, Qt::Key_Escape);
    EXPECT_TRUE(Sent().isEmpty());
    EXPECT_TRUE(dlg->isVisible());
    Running(kRunning);
    W().list->setFocus();
    QTest::keyClick(W().list, Qt::Key_Escape);
    EXPECT_EQ(Sent(), QStringList{"CB"});
    EXPECT_TRUE(dlg->isVisible());
}

TEST_F(ExecDlgTest, ArrowKeysMoveTheFocusAsTheTableSays) {
    ShowIdle();
    W().lineOff->setFocus();
    QTest::keyClick(W().lineOff, Qt::Key_Left);
    EXPECT_TRUE(W().lineOn->hasFocus());
    W().close->setFocus();
    QTest::keyClick(W().close, Qt::Key_Down);
    EXPECT_TRUE(W().lineOn->hasFocus());
    W().lineOff->setFocus();
    QTest::keyClick(W().lineOff, Qt::Key_Right);
    EXPECT_FALSE(W().lineOff->hasFocus());
    EXPECT_FALSE(W().lineOn->hasFocus());
}

TEST_F(ExecDlgTest, DoubleClickJudgesOnlyWhileNotRunning) {
    ShowIdle();
    bool opened = false;
    auto answerJudgement = [&] {
        QTimer::singleShot(0, [&] {
            auto* judge = dynamic_cast<CJudgeDlg*>(QApplication::activeModalWidget());
            if (!judge) {
                return;
            }
            opened = true;
            EXPECT_EQ(judge->windowTitle(), "Judgement of step 2");
            EXPECT_EQ(judge->JudgementCombo()->currentText(), "------");
            judge->JudgementCombo()->setCurrentIndex(judge->JudgementCombo()->findText("FAIL"));
            judge->CommentField()->setPlainText(QStringLiteral("EUT reset\nafter 2 discharges"));
            judge->accept();
        });
    };
    Running(kRunning);
    answerJudgement();
    QTest::mouseDClick(W().list->viewport(), Qt::LeftButton, {}, RowCenter(1));
    QApplication::processEvents();
    EXPECT_FALSE(opened);
    EXPECT_EQ(doc.Steps()[1].m_nResult, kResultNone);

    Status(kRunning | kPaused);
    Tick(1);
    answerJudgement();
    QTest::mouseDClick(W().list->viewport(), Qt::LeftButton, {}, RowCenter(1));
    EXPECT_TRUE(opened);
    EXPECT_EQ(doc.Steps()[1].m_nResult, kResultFail);
    EXPECT_EQ(doc.Steps()[1].m_strComment, "EUT reset\nafter 2 discharges");
    EXPECT_EQ(W().list->model()->index(1, CStepListModel::kColResult).data().toString(), "FAIL");
    EXPECT_EQ(doc.CurrentStep(), 0);  // a click during the run does not move it
}

// What a screen reader reads of a figure: its caption, and the value shown as its description.
QString ReadOut(QWidget* w) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    return a ? a->text(QAccessible::Name) + " / " + a->text(QAccessible::Description) : QString();
}

TEST_F(ExecDlgTest, ClickOnARowWhileIdlePicksTheStartingStepAndTheReaderHearsIt) {
    ShowIdle();
    EXPECT_EQ(ReadOut(W().stepNumber), "Step No. / 1");
    EXPECT_EQ(ReadOut(W().stepTotal), "Step total / 2");
    ASSERT_FALSE(W().outputPort->text().isEmpty());
    EXPECT_EQ(ReadOut(W().outputPort), "Output port / " + W().outputPort->text());
    EXPECT_EQ(ReadOut(W().waveform), "Waveform / " + W().waveform->text());
    QTest::mouseClick(W().list->viewport(), Qt::LeftButton, {}, RowCenter(1));
    EXPECT_EQ(doc.CurrentStep(), 1);
    EXPECT_EQ(W().stepNumber->text(), "2");
    EXPECT_EQ(ReadOut(W().stepNumber), "Step No. / 2");
}

TEST_F(ExecDlgTest, BulkJudgementAndDeleteCommentsAskFirst) {
    doc.Steps()[0].m_strComment = QStringLiteral("keep?");
    ShowIdle();
    W().bulkCombo->setCurrentIndex(W().bulkCombo->findText("PASS"));
    sink.Expect(QStringLiteral("All the test results are rewritten.\nIs it ok?"),
                MsgAnswer::Cancel);
    W().bulkApply->click();
    EXPECT_EQ(doc.Steps()[1].m_nResult, kResultNone);
    sink.Expect(QStringLiteral("All the test results are rewritten.\nIs it ok?"));
    W().bulkApply->click();
    EXPECT_EQ(doc.Steps()[0].m_nResult, kResultPass);
    EXPECT_EQ(doc.Steps()[1].m_nResult, kResultPass);

    sink.Expect(QStringLiteral("All the comments are deleted.\nIs it ok?"), MsgAnswer::Cancel);
    W().deleteComments->click();
    EXPECT_EQ(doc.Steps()[0].m_strComment, "keep?");
    sink.Expect(QStringLiteral("All the comments are deleted.\nIs it ok?"));
    W().deleteComments->click();
    EXPECT_TRUE(doc.Steps()[0].m_strComment.isEmpty());
    EXPECT_TRUE(
        W().list->model()->index(0, CStepListModel::kColComment).data().toString().isEmpty());
}

TEST_F(ExecDlgTest, CloseFollowsTheRunAndOffersTheReport) {
    ShowIdle();
    Running(kRunning);
    dlg->close();  // the window manager's request follows the Close rules
    EXPECT_TRUE(dlg->isVisible());
    W().close->click();
    EXPECT_TRUE(dlg->isVisible());

    Status(0);
    sink.Expect(QStringLiteral("Do you make the test report?"), MsgAnswer::Cancel);
    W().close->click();
    EXPECT_TRUE(dlg->isVisible());
    sink.Expect(QStringLiteral("Do you make the test report?"), MsgAnswer::Yes);
    W().close->click();
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    ASSERT_EQ(opener.opened.size(), 1);
    EXPECT_TRUE(QFileInfo(opener.opened.first()).absolutePath() ==
                QFileInfo(reports.path()).absoluteFilePath());
    dlg->End();
    EXPECT_EQ(Sent(), (QStringList{"PQ0", "CB"}));
    dlg->End();
    EXPECT_TRUE(Sent().isEmpty());  // the closing commands go once
}

TEST_F(ExecDlgTest, ShowsCheckingTheEutWhileTheMonitorJudgesTheStepThatEnded) {
    auto fake = std::make_unique<FakeEutMonitor>();
    FakeEutMonitor& monitor = *fake;
    dlg->SetEutMonitor(std::move(fake), MonitorGateOptions());
    ASSERT_NE(dlg->MonitorGate(), nullptr);
    ShowIdle();
    Running(kRunning);
    EXPECT_FALSE(W().checkingLabel->isVisible());
    Status(kNormalEnd);
    Tick(1);
    EXPECT_EQ(dlg->Sequencer().Phase(), RunPhase::Holding);
    EXPECT_TRUE(W().checkingLabel->isVisible());
    EXPECT_EQ(W().checkingLabel->text(), "Checking the EUT...");
    monitor.AnswerPass();
    QApplication::processEvents();
    EXPECT_FALSE(W().checkingLabel->isVisible());
    EXPECT_EQ(dlg->Sequencer().Phase(), RunPhase::Running);
}

// What the widgets show, read back as the projection describes it.
RunView Shown(const CExecWidgets& w) {
    RunView v;
    v.lineOnEnabled = w.lineOn->isEnabled();
    v.lineOffEnabled = w.lineOff->isEnabled();
    v.line = w.lineOn->isChecked()    ? LineShown::On
             : w.lineOff->isChecked() ? LineShown::Off
                                      : LineShown::None;
    v.startEnabled = w.start->isEnabled();
    v.stopEnabled = w.stop->isEnabled();
    const QString name = w.start->accessibleName();
    v.startAction = name == "PAUSE"    ? StartAction::Pause
                    : name == "RESUME" ? StartAction::Resume
                                       : StartAction::Start;
    v.defaultButton = w.stop->isDefault()    ? ExecControl::Stop
                      : w.start->isDefault() ? ExecControl::Start
                                             : ExecControl::None;
    v.lampLit = w.lamp->pixmap().cacheKey() == w.lampLit.cacheKey();
    const QWidget* dlg = w.start->window();
    v.pauseVisible = w.pauseLabel->isVisibleTo(dlg);
    v.processingVisible = w.processingLabel->isVisibleTo(dlg);
    v.notConnectedVisible = w.notConnectedLabel->isVisibleTo(dlg);
    v.checkingVisible = w.checkingLabel->isVisibleTo(dlg);
    v.journalNoticeVisible = w.journalLabel->isVisibleTo(dlg);
    v.impedanceVisible = w.impedance->isVisibleTo(dlg);
    v.judgementEnabled = w.report->isEnabled() && w.bulkApply->isEnabled();
    v.selectedRow = w.list->currentIndex().row();
    v.stepNumber = w.stepNumber->text();
    v.stepTotal = w.stepTotal->text();
    v.dischargeDone = w.dischargeDone->text();
    v.dischargeTotal = w.dischargeTotal->text();
    v.countdown = w.countdown->text();
    v.interval = w.interval->text();
    v.outputPort = w.outputPort->text();
    v.outputLines = w.outputLines->text();
    v.waveform = w.waveform->text();
    v.impedance = w.impedance->text();
    v.remaining = w.remaining->text();
    return v;
}

// After every step of a run, with a monitor judging each step, the widgets show exactly the
// projection of the session's state.
TEST_F(ExecDlgTest, TheWidgetsShowTheProjectionOfTheSessionAfterEveryTransition) {
    auto fake = std::make_unique<FakeEutMonitor>();
    FakeEutMonitor& monitor = *fake;
    dlg->SetEutMonitor(std::move(fake), MonitorGateOptions());
    const auto same = [&](const char* when) {
        EXPECT_TRUE(Shown(W()) == Project(dlg->Session().State())) << when;
    };
    ShowIdle();
    same("idle");
    Running(kRunning | kBusy);
    same("preparing");
    Status(kRunning);
    Counters(1, 7);
    Tick(1);
    same("running");
    Status(kRunning | kPaused);
    Tick(1);
    same("paused");
    Status(kNormalEnd);
    Tick(1);
    same("holding for the verdict");
    EXPECT_TRUE(Project(dlg->Session().State()).checkingVisible);
    monitor.AnswerPass();
    QApplication::processEvents();
    same("next step");
    Silence();
    sink.ExpectAny();
    Tick(1);
    same("link lost");
    Tick(0);
    same("not connected");
    Speak();
}

// Answers OK or Cancel at random, and No to the report.
class CoinOperator : public IMessageSink {
public:
    explicit CoinOperator(std::mt19937& rng) : m_rng(rng) {}
    MsgAnswer Show(const QString&, MsgButtons buttons, MsgIcon) override {
        if (buttons == MsgButtons::YesNoCancel) {
            return MsgAnswer::No;
        }
        return buttons == MsgButtons::Ok || m_rng() % 4 != 0 ? MsgAnswer::Ok : MsgAnswer::Cancel;
    }

private:
    std::mt19937& m_rng;
};

// Seeded random clicks, status bytes and verdicts: after each, the widgets are the projection.
TEST_F(ExecDlgTest, RandomRunsAlwaysShowTheProjection) {
    std::mt19937 rng(22);
    CoinOperator coin(rng);
    ScopedMessageSink scope(&coin);
    auto fake = std::make_unique<FakeEutMonitor>();
    FakeEutMonitor& monitor = *fake;
    dlg->SetEutMonitor(std::move(fake), MonitorGateOptions());
    ASSERT_TRUE(dlg->Begin());
    dlg->show();
    const quint8 kStatus[] = {0,
                              kBusy,
                              kRunning,
                              kRunning | kBusy,
                              kRunning | kPaused,
                              kNormalEnd,
                              kNormalEnd | kBusy,
                              kError,
                              kLineOn};
    for (int event = 0; event < 1500; ++event) {
        const int roll = static_cast<int>(rng() % 100);
        const RunPhase phase = dlg->Sequencer().Phase();
        if (roll < 50) {
            Status(kStatus[rng() % sizeof kStatus]);
            Counters(static_cast<int>(rng() % 3), static_cast<int>(rng() % 10));
            if (phase != RunPhase::Holding) {
                Tick(TestUnderWay(phase) ? runtimer::kRunPoll : runtimer::kIdlePoll);
            }
        } else if (roll < 62) {
            W().start->click();
        } else if (roll < 70) {
            W().stop->click();
        } else if (roll < 75) {
            W().lineOn->click();
        } else if (roll < 80) {
            W().lineOff->click();
        } else if (monitor.Busy()) {
            if (roll < 90) {
                monitor.AnswerPass();
            } else if (roll < 95) {
                monitor.AnswerFail(QStringLiteral("no answer"));
            } else {
                monitor.AnswerProblem(QStringLiteral("exit status 3"));
            }
        }
        QApplication::processEvents();
        ASSERT_TRUE(Shown(W()) == Project(dlg->Session().State())) << "event " << event;
    }
}

TEST_F(ExecDlgTest, AMonitorCommandThatCannotBeUsedIsToldWhenTheRunOpens) {
    EutMonitorSettings settings;
    settings.command = QStringLiteral("check-eut 'unclosed");
    StoreMonitorSettings(settings);
    CExecDlg other(doc, cntl, property, RunSessionSettings::Load());
    EXPECT_EQ(other.MonitorGate(), nullptr);
    sink.ExpectAny();
    ASSERT_TRUE(other.Begin());
    ASSERT_FALSE(sink.Shown().empty());
    EXPECT_TRUE(sink.Shown().back().startsWith("The EUT monitor is not used: "));
}

}  // namespace
}  // namespace zeb::test
