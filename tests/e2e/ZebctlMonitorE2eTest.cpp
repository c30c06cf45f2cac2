// zebctl run with an EUT monitor against the simulator: a shell script judges every step, its
// verdicts become the marks, the comments and the report's result column.

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "ExecData.h"
#include "JournalRecovery.h"
#include "SimFixture.h"
#include "StepComment.h"
#include "TempConfigHome.h"
#include "XlsxReader.h"

namespace zeb::test {
namespace {

// Four AC steps of one discharge each.
const char kFourSteps[] = R"({"record": {"m_ulMachineType": 5, "m_nHWVersion": 1},
 "steps": [
  {"m_ulMachineType": 5, "m_nOutputDetail": 1, "m_nInjRet": 0, "m_lVolt": 500, "m_lDisc": 1, "m_lRept": 10},
  {"m_ulMachineType": 5, "m_nOutputDetail": 1, "m_nInjRet": 0, "m_lVolt": 1000, "m_lDisc": 1, "m_lRept": 10},
  {"m_ulMachineType": 5, "m_nOutputDetail": 1, "m_nInjRet": 0, "m_lVolt": 1500, "m_lDisc": 1, "m_lRept": 10},
  {"m_ulMachineType": 5, "m_nOutputDetail": 1, "m_nInjRet": 0, "m_lVolt": 2000, "m_lDisc": 1, "m_lRept": 10}]})";

// Fails step 3; gives no verdict (exit status 2) on the step named by its argument, if any.
// Every call is logged in the working folder, which must be the document's.
const char kScript[] = R"(#!/bin/sh
echo "$ZEB_STEP/$ZEB_STEPS $ZEB_PHASE $ZEB_VOLTAGE_V" >> calls.log
if [ "$ZEB_STEP" = "$1" ]; then echo "modem not found" >&2; exit 2; fi
if [ "$ZEB_STEP" = 3 ]; then echo "EUT display frozen"; exit 1; fi
exit 0
)";

class ZebctlMonitorE2eTest : public SimFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        doc = Write(QStringLiteral("eut.json"), kFourSteps);
        script = Write(QStringLiteral("check.sh"), kScript);
        QFile::setPermissions(script, QFile::permissions(script) | QFileDevice::ExeOwner);
    }
    QString Write(const QString& name, const QByteArray& content) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        return f.fileName();
    }
    int Run(const QStringList& args) {
        QProcess proc;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.Path());
        proc.setProcessEnvironment(env);
        proc.start(QStringLiteral(ZEBCTL_PATH), QStringList{QStringLiteral("run"), doc} + args);
        if (!proc.waitForFinished(60000)) {
            proc.kill();
            proc.waitForFinished();
            return -1;
        }
        lines = QString::fromUtf8(proc.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        err = QString::fromUtf8(proc.readAllStandardError());
        return proc.exitCode();
    }
    // The results column of the report's step rows (step k on row 10 + k) and its comments.
    void ReadReport(const QString& path, QStringList& results, QString& comment3) {
        std::vector<XlsxSheet> sheets;
        QString error;
        ASSERT_TRUE(ReadXlsx(path, sheets, error)) << error.toStdString();
        ASSERT_GE(sheets.size(), 2u);
        for (int row = 11; row <= 14; ++row) {
            results << sheets[1].At(QStringLiteral("H%1").arg(row));
        }
        results << sheets[1].At(QStringLiteral("H3"));
        comment3 = sheets[1].At(QStringLiteral("I13"));
    }
    QString CallLog() {
        QFile f(dir.filePath(QStringLiteral("calls.log")));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

    TempConfigHome config;
    QTemporaryDir dir;
    QString doc;
    QString script;
    QStringList lines;
    QString err;
};

zebsim::SimOptions Fast() {
    zebsim::SimOptions options;
    options.timeScale = 20.0;
    return options;
}

TEST_F(ZebctlMonitorE2eTest, TheMonitorJudgesEveryStepAndAProblemDoesNotStopTheRun) {
    auto& sim = AddSim(Fast());
    const QString report = dir.filePath(QStringLiteral("run.xlsx"));
    ASSERT_EQ(Run({QStringLiteral("--monitor"), script + QStringLiteral(" 2"),
                   QStringLiteral("--report"), report}),
              0)
        << err.toStdString();
    EXPECT_TRUE(lines.contains("mark step=1 result=PASS by=monitor comment="));
    EXPECT_TRUE(
        lines.contains("monitor step=2 problem=exit status 2 is not a verdict: modem not found"));
    EXPECT_TRUE(
        lines.contains("mark step=3 result=FAIL by=monitor comment=monitor: EUT display "
                       "frozen"));
    EXPECT_TRUE(lines.contains("mark step=4 result=PASS by=monitor comment="));
    // The sequencer's provisional PASS of a step being judged is never printed.
    EXPECT_FALSE(lines.contains("mark step=3 result=PASS"));
    EXPECT_TRUE(lines.contains("outcome=complete"));
    EXPECT_TRUE(lines.contains("passed=2/4"));
    EXPECT_EQ(CallLog(), "1/4 after 500\n2/4 after 1000\n3/4 after 1500\n4/4 after 2000\n");
    EXPECT_EQ(sim.CommandLog().filter(QStringLiteral("CA")).size(), 4);

    QStringList results;
    QString comment3;
    ReadReport(report, results, comment3);
    EXPECT_EQ(results, (QStringList{"PASS", "------", "FAIL", "PASS", "FAIL"}));
    EXPECT_EQ(comment3, "monitor: EUT display frozen");
}

TEST_F(ZebctlMonitorE2eTest, StopOnFailEndsTheTestAtTheFirstFail) {
    auto& sim = AddSim(Fast());
    EXPECT_EQ(Run({QStringLiteral("--monitor"), script, QStringLiteral("--stop-on-fail")}), 1);
    EXPECT_TRUE(
        lines.contains("mark step=3 result=FAIL by=monitor comment=monitor: EUT display "
                       "frozen"));
    EXPECT_TRUE(lines.contains("outcome=stopped"));
    EXPECT_EQ(sim.CommandLog().filter(QStringLiteral("CA")).size(), 3);  // step 4 never starts

    // Options that make no sense are refused before anything is sent.
    const QStringList bad[] = {
        {QStringLiteral("--monitor-timeout"), QStringLiteral("5")},  // no command anywhere
        {QStringLiteral("--monitor"), script, QStringLiteral("--monitor-every"),
         QStringLiteral("0")},
        {QStringLiteral("--monitor"), script, QStringLiteral("--monitor-timeout"),
         QStringLiteral("601")},
        {QStringLiteral("--monitor"), QStringLiteral("'unclosed")},
    };
    const int sent = sim.CommandLog().size();
    for (const QStringList& args : bad) {
        EXPECT_EQ(Run(args), 2) << args.join(' ').toStdString();
    }
    EXPECT_EQ(sim.CommandLog().size(), sent);
}

// Killed while the monitor judges step 2: the journal holds no PASS for it, the restore gives it
// back unjudged with the reason, and the resumed run does step 2 again.
TEST_F(ZebctlMonitorE2eTest, ACrashDuringTheCheckLeavesTheStepUnjudgedAndItIsDoneAgain) {
    auto& sim = AddSim(Fast());
    const QString slow = Write(QStringLiteral("slow.sh"), R"(#!/bin/sh
if [ "$ZEB_STEP" = 2 ] && [ ! -e resumed ]; then touch checking; sleep 5; fi
exit 0
)");
    QFile::setPermissions(slow, QFile::permissions(slow) | QFileDevice::ExeOwner);
    const QString journal = dir.filePath(QStringLiteral("run.zebrun"));
    QProcess proc;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.Path());
    proc.setProcessEnvironment(env);
    proc.start(QStringLiteral(ZEBCTL_PATH),
               {QStringLiteral("run"), doc, QStringLiteral("--monitor"), slow,
                QStringLiteral("--journal"), journal});
    ASSERT_TRUE(proc.waitForStarted());
    const QString checking = dir.filePath(QStringLiteral("checking"));
    for (int i = 0; i < 300 && !QFile::exists(checking); ++i) {
        proc.waitForFinished(50);
    }
    ASSERT_TRUE(QFile::exists(checking)) << "the check of step 2 never began";
    proc.kill();
    proc.waitForFinished();
    const QString printed = QString::fromUtf8(proc.readAllStandardOutput());
    EXPECT_FALSE(printed.contains(QStringLiteral("mark step=2 result=PASS")));

    QFile file(journal);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.contains(R"("event":"step-end","step":2,"result":"pending")"));
    EXPECT_FALSE(bytes.contains(R"("step":2,"result":"pass")")) << "no PASS before the verdict";
    JournalState state;
    QString error;
    ASSERT_TRUE(ReadJournalState(journal, state, error)) << error.toStdString();
    EXPECT_EQ(state.results[1], kResultNone);
    EXPECT_EQ(state.comments[1], InterruptedVerdictComment());
    EXPECT_EQ(state.firstNotEnded, 1);

    Write(QStringLiteral("resumed"), "");
    const int startsBefore = sim.CommandLog().filter(QStringLiteral("CA")).size();
    ASSERT_EQ(Run({QStringLiteral("--resume"), journal, QStringLiteral("--monitor"), slow}), 0)
        << err.toStdString();
    EXPECT_TRUE(lines.contains("mark step=2 result=PASS by=monitor comment="));
    EXPECT_TRUE(lines.contains("passed=4/4"));
    EXPECT_EQ(sim.CommandLog().filter(QStringLiteral("CA")).size() - startsBefore, 3)
        << "steps 2, 3 and 4";
    ASSERT_TRUE(ReadJournalState(journal, state, error)) << error.toStdString();
    EXPECT_EQ(state.outcome, QStringLiteral("resumed"));
}

}  // namespace
}  // namespace zeb::test
