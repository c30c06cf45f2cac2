// The EUT monitor dialog: its rules (ranges, enabling, the command check, the Test button and
// the text it shows for each kind of answer) without a window, then the wiring of the window:
// what OK stores and how Test reaches the monitor and shows its answer.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "../execution/FakeEutMonitor.h"
#include "CommandWords.h"
#include "EutMonitorDlg.h"
#include "EutMonitorRules.h"
#include "IniFile.h"
#include "MonitorProgram.h"
#include "TempConfigHome.h"

namespace zeb {
namespace {

MonitorVerdict Verdict(MonitorOutcome outcome, int status, const char* comment, qint64 ms = 42) {
    MonitorVerdict v;
    v.outcome = outcome;
    v.exitStatus = status;
    v.comment = QString::fromUtf8(comment);
    v.durationMs = ms;
    return v;
}

TEST(EutMonitorRulesTest, RangesAndEnablingFollowTheCommand) {
    CEutMonitorRules rules;
    EXPECT_FALSE(rules.OptionsEnabled());
    EXPECT_FALSE(rules.EveryEnabled());
    EXPECT_FALSE(rules.CanTest());
    EXPECT_TRUE(rules.CanAccept());  // no command: the monitor is off, which is fine

    rules.SetCommand(QStringLiteral("ping-host 192.0.2.7"));
    EXPECT_TRUE(rules.OptionsEnabled());
    EXPECT_TRUE(rules.Settings().JudgesAfterStep());
    EXPECT_FALSE(rules.EveryEnabled());
    rules.SetCheckDuringStep(true);
    EXPECT_TRUE(rules.EveryEnabled());
    EXPECT_TRUE(rules.CanTest());

    for (const auto& [given, kept] : {std::pair{0, 1}, {-3, 1}, {1, 1}, {600, 600}, {601, 600}}) {
        rules.SetTimeLimit(given);
        rules.SetEvery(given);
        EXPECT_EQ(rules.Settings().timeLimitS, kept) << given;
        EXPECT_EQ(rules.Settings().everyS, kept) << given;
    }
    EutMonitorSettings stored;
    stored.timeLimitS = 9000;
    EXPECT_EQ(CEutMonitorRules(stored).Settings().timeLimitS, 600);
}

TEST(EutMonitorRulesTest, UnusableCommandsBlockOkAndTest) {
    CEutMonitorRules rules;
    const struct {
        QString command;
        const char* error;
    } cases[] = {
        {QStringLiteral("check 'EUT 1"), "A single quote (') is not closed."},
        {QStringLiteral("check \"EUT 1"), "A double quote (\") is not closed."},
        {QStringLiteral("'' arg"), "The command starts with an empty program name."},
        // ZEB.ini would give back only the first 519 characters.
        {QStringLiteral("check ") + QString(514, QLatin1Char('x')),
         "The command is longer than 519 characters."},
    };
    for (const auto& c : cases) {
        rules.SetCommand(c.command);
        EXPECT_EQ(rules.CommandError(), QString::fromUtf8(c.error));
        EXPECT_FALSE(rules.CanAccept());
        EXPECT_FALSE(rules.CanTest());
    }
    rules.SetCommand(QStringLiteral("check ") + QString(513, QLatin1Char('x')));
    EXPECT_TRUE(rules.CanAccept());
    EXPECT_TRUE(rules.CanTest());
}

TEST(EutMonitorRulesTest, TestButtonShowsCheckingThenTheVerdict) {
    CEutMonitorRules rules;
    rules.SetCommand(QStringLiteral("true"));
    rules.TestStarted();
    EXPECT_EQ(rules.StatusText(), QStringLiteral("Checking the EUT..."));
    EXPECT_FALSE(rules.CanTest());  // one test at a time

    MonitorVerdict fail = Verdict(MonitorOutcome::Fail, 1, "monitor: display dark", 95);
    fail.output = "display dark\n";
    fail.errorOutput = "debug: frame 7";
    rules.TestEnded(fail);
    EXPECT_TRUE(rules.CanTest());
    EXPECT_EQ(rules.StatusText(),
              QStringLiteral("FAIL (exit status 1, 95 ms). Comment: monitor: display dark"));
    EXPECT_EQ(rules.OutputText(),
              QStringLiteral("display dark\n--- standard error ---\ndebug: frame 7"));

    EXPECT_EQ(CEutMonitorRules::VerdictText(Verdict(MonitorOutcome::Pass, 0, "", 3)),
              QStringLiteral("PASS (exit status 0, 3 ms)"));
    EXPECT_EQ(CEutMonitorRules::VerdictText(Verdict(
                  MonitorOutcome::Problem, -1, "monitor: no answer within 30 s, stopped", 30001)),
              QStringLiteral("No verdict (30001 ms). Comment: monitor: no answer within 30 s, "
                             "stopped"));

    rules.TestStarted();
    rules.TestNotRun(QStringLiteral("No monitor command is set."));
    EXPECT_EQ(rules.StatusText(), QStringLiteral("Not tested: No monitor command is set."));
    EXPECT_TRUE(rules.OutputText().isEmpty());

    MonitorRequest sample;
    sample.phase = MonitorPhase::During;
    sample.step = 4;
    const MonitorRequest r = CEutMonitorRules::TestRequest(sample);
    EXPECT_EQ(r.phase, MonitorPhase::After);
    EXPECT_EQ(r.step, 4);
}

TEST(EutMonitorRulesTest, BrowsedProgramReplacesTheProgramAndKeepsTheArguments) {
    const QString shipped = QStringLiteral("/usr/share/zeb/monitors/ping-host");
    EXPECT_EQ(CEutMonitorRules::CommandWithProgram(QString(), shipped), shipped);
    EXPECT_EQ(CEutMonitorRules::CommandWithProgram(QStringLiteral("ping-host 192.0.2.7"), shipped),
              shipped + QStringLiteral(" 192.0.2.7"));
    // Blanks and quotes in the path or the arguments come back as the same words.
    const QString odd = QStringLiteral("/lab/it's mine/check");
    const QString command =
        CEutMonitorRules::CommandWithProgram(QStringLiteral("old 'EUT 1' \"a\\\"b\""), odd);
    EXPECT_EQ(SplitCommandWords(command).words,
              QStringList({odd, QStringLiteral("EUT 1"), QStringLiteral("a\"b")}));
    // A command that does not split is given up for the path alone.
    EXPECT_EQ(CEutMonitorRules::CommandWithProgram(QStringLiteral("old 'open"), shipped), shipped);

    CEutMonitorRules rules;
    rules.TestStarted();
    MonitorVerdict pass = Verdict(MonitorOutcome::Pass, 0, "");
    pass.program = shipped;
    rules.TestEnded(pass);
    EXPECT_EQ(rules.ProgramText(), QStringLiteral("Ran ") + shipped);
    rules.TestStarted();
    EXPECT_TRUE(rules.ProgramText().isEmpty());
}

TEST(EutMonitorDlgTest, ShowsTheStoredSettingsAndOkStoresTheChanges) {
    test::TempConfigHome home;
    EutMonitorSettings stored;
    stored.command = QStringLiteral("tcp-port eut 502");
    stored.timeLimitS = 12;
    StoreMonitorSettings(stored);

    CEutMonitorDlg dlg;
    EXPECT_EQ(dlg.CommandEdit()->text(), stored.command);
    EXPECT_EQ(dlg.TimeLimitBox()->value(), 12);
    EXPECT_TRUE(dlg.JudgeAfterBox()->isChecked());
    EXPECT_FALSE(dlg.EveryBox()->isEnabled());
    dlg.CheckDuringBox()->click();
    EXPECT_TRUE(dlg.EveryBox()->isEnabled());
    dlg.EveryBox()->setValue(5);
    dlg.StopOnFailBox()->click();

    // An unclosed quote keeps OK from storing anything.
    dlg.CommandEdit()->setText(QStringLiteral("tcp-port 'eut 502"));
    EXPECT_FALSE(dlg.OkButton()->isEnabled());
    EXPECT_FALSE(dlg.TestButton()->isEnabled());
    dlg.accept();
    EXPECT_EQ(LoadMonitorSettings(), stored);

    dlg.CommandEdit()->setText(QStringLiteral("tcp-port 'eut 1' 502"));
    dlg.OkButton()->click();
    const EutMonitorSettings back = LoadMonitorSettings();
    EXPECT_EQ(back.command, QStringLiteral("tcp-port 'eut 1' 502"));
    EXPECT_TRUE(back.checkDuringStep);
    EXPECT_EQ(back.everyS, 5);
    EXPECT_TRUE(back.stopOnFail);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);

    // Clearing the command greys the options out.
    dlg.CommandEdit()->clear();
    EXPECT_FALSE(dlg.TimeLimitBox()->isEnabled());
    EXPECT_FALSE(dlg.StopOnFailBox()->isEnabled());
    EXPECT_FALSE(dlg.EveryBox()->isEnabled());
}

TEST(EutMonitorDlgTest, TestRunsTheCommandOnceAfterAStepAndShowsItsAnswer) {
    test::TempConfigHome home;
    MonitorRequest sample;
    sample.step = 2;
    sample.documentPath = QStringLiteral("/lab/eut.zms");
    CEutMonitorDlg dlg(sample);
    test::FakeEutMonitor* fake = nullptr;
    EutMonitorSettings asked;
    dlg.SetMonitorFactory([&](const EutMonitorSettings& s, QString*) {
        asked = s;
        auto made = std::make_unique<test::FakeEutMonitor>();
        fake = made.get();
        return made;
    });
    dlg.CommandEdit()->setText(QStringLiteral("check-eut --quick"));
    dlg.TimeLimitBox()->setValue(7);
    QTest::keyClick(dlg.TestButton(), Qt::Key_Space);

    ASSERT_NE(fake, nullptr);
    EXPECT_EQ(asked.command, QStringLiteral("check-eut --quick"));
    EXPECT_EQ(asked.timeLimitS, 7);
    ASSERT_EQ(fake->started.size(), 1u);
    EXPECT_EQ(fake->started[0].phase, MonitorPhase::After);
    EXPECT_EQ(fake->started[0].documentPath, sample.documentPath);
    EXPECT_EQ(dlg.StatusLabel()->text(), QStringLiteral("Checking the EUT..."));
    EXPECT_FALSE(dlg.TestButton()->isEnabled());

    MonitorVerdict v = Verdict(MonitorOutcome::Problem, 2,
                               "monitor: exit status 2 is not a verdict: usage: check-eut", 8);
    v.errorOutput = "usage: check-eut\n";
    v.program = QStringLiteral("/lab/check-eut");
    fake->Answer(v);
    EXPECT_EQ(dlg.StatusLabel()->text(), CEutMonitorRules::VerdictText(v));
    // A screen reader hears the verdict and the program with the label's name.
    EXPECT_EQ(dlg.StatusLabel()->accessibleName(), QStringLiteral("Test verdict"));
    EXPECT_EQ(dlg.StatusLabel()->accessibleDescription(), CEutMonitorRules::VerdictText(v));
    EXPECT_EQ(dlg.ProgramLabel()->text(), QStringLiteral("Ran /lab/check-eut"));
    EXPECT_EQ(dlg.ProgramLabel()->accessibleDescription(), dlg.ProgramLabel()->text());
    EXPECT_EQ(dlg.OutputBox()->toPlainText(),
              QStringLiteral("--- standard error ---\nusage: check-eut\n"));
    EXPECT_TRUE(dlg.TestButton()->isEnabled());

    // Closing the dialog while a test runs ends that test.
    dlg.TestButton()->click();
    ASSERT_TRUE(fake->Busy());
    dlg.reject();
    EXPECT_FALSE(fake->Busy());
    EXPECT_EQ(fake->cancelled, 1);
    // Cancel stores nothing.
    EXPECT_FALSE(LoadMonitorSettings().Enabled());
}

TEST(EutMonitorDlgTest, BrowsePutsTheChosenProgramIntoTheCommandAndTheShippedFolderIsNamed) {
    test::TempConfigHome home;
    CEutMonitorDlg dlg;
    EXPECT_TRUE(dlg.PlacesLabel()->text().contains(ShippedMonitorFolder()));
    EXPECT_TRUE(dlg.PlacesLabel()->text().contains(LabMonitorFolder()));
    QString offered;
    QString chosen = QStringLiteral("/opt/lab monitors/check");
    dlg.SetProgramChooser([&](QWidget*, const QString& folder) {
        offered = folder;
        return chosen;
    });
    dlg.CommandEdit()->setText(QStringLiteral("check --host eut"));
    QTest::keyClick(dlg.BrowseButton(), Qt::Key_Space);
    EXPECT_FALSE(offered.isEmpty());
    EXPECT_EQ(dlg.CommandEdit()->text(), QStringLiteral("'/opt/lab monitors/check' --host eut"));
    EXPECT_TRUE(dlg.Rules().CanTest());
    // Cancelling the file dialog changes nothing.
    chosen.clear();
    dlg.BrowseButton()->click();
    EXPECT_EQ(dlg.CommandEdit()->text(), QStringLiteral("'/opt/lab monitors/check' --host eut"));
}

}  // namespace
}  // namespace zeb
