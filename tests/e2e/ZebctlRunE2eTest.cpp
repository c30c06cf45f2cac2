// zebctl run against the simulator on a pseudo-terminal: a run to its end, a run stopped by
// SIGINT, an instrument error during the run, and input refused before anything is sent.

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <csignal>

#include "FileRunJournal.h"
#include "JournalLine.h"
#include "JournalReader.h"
#include "PdfText.h"
#include "SimFixture.h"
#include "TempConfigHome.h"

namespace zeb::test {
namespace {

// Two AC steps of two discharges 10 s apart (half a second at the time scale used).
const char kTwoSteps[] = R"({"record": {"m_ulMachineType": 5, "m_nHWVersion": 1},
 "steps": [
  {"m_ulMachineType": 5, "m_nOutputDetail": 1, "m_nInjRet": 0, "m_lVolt": 1000, "m_nPola": 0,
   "m_lDisc": 2, "m_lRept": 10},
  {"m_ulMachineType": 5, "m_nOutputDetail": 1, "m_nInjRet": 0, "m_lVolt": 2000, "m_nPola": 1,
   "m_lDisc": 2, "m_lRept": 10}]})";

class ZebctlRunE2eTest : public SimFixture {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString WriteFile(const QString& name, const QByteArray& content) {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        return path;
    }

    void Start(const QStringList& args) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ZEB_SERIAL_PORTS"), qEnvironmentVariable("ZEB_SERIAL_PORTS"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.Path());
        proc.setProcessEnvironment(env);
        proc.start(QStringLiteral(ZEBCTL_PATH), QStringList{QStringLiteral("run")} + args);
        ASSERT_TRUE(proc.waitForStarted());
    }
    // Waits until standard output has a line containing `text`.
    bool WaitForOutput(const QString& text, int timeoutMs = 15000) {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < timeoutMs) {
            out += QString::fromUtf8(proc.readAllStandardOutput());
            if (out.contains(text)) {
                return true;
            }
            if (proc.state() == QProcess::NotRunning) {
                return false;
            }
            proc.waitForReadyRead(100);
        }
        return false;
    }
    int Finish(int timeoutMs = 30000) {
        if (!proc.waitForFinished(timeoutMs)) {
            proc.kill();
            proc.waitForFinished();
            return -1;
        }
        out += QString::fromUtf8(proc.readAllStandardOutput());
        err = QString::fromUtf8(proc.readAllStandardError());
        return proc.exitCode();
    }
    int RunToEnd(const QStringList& args) {
        Start(args);
        return Finish();
    }
    QStringList OutLines() const { return out.split(QLatin1Char('\n'), Qt::SkipEmptyParts); }

    TempConfigHome config;
    QTemporaryDir dir;
    QProcess proc;
    QString out;
    QString err;
};

zebsim::SimOptions Fast(double scale = 20.0) {
    zebsim::SimOptions options;
    options.timeScale = scale;
    return options;
}

TEST_F(ZebctlRunE2eTest, RunsEveryStepToTheEndAndWritesTheReport) {
    auto& sim = AddSim(Fast());
    const QString doc = WriteFile(QStringLiteral("two.json"), kTwoSteps);
    const QString report = dir.filePath(QStringLiteral("run.xlsx"));
    ASSERT_EQ(RunToEnd({doc, QStringLiteral("--report"), report}), 0) << err.toStdString();
    const QStringList lines = OutLines();
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines.mid(lines.size() - 2),
              (QStringList{QStringLiteral("outcome=complete"), QStringLiteral("passed=2/2")}));
    EXPECT_TRUE(lines.contains(QStringLiteral("mark step=1 result=PASS")));
    EXPECT_TRUE(lines.contains(QStringLiteral("mark step=2 result=PASS")));
    EXPECT_TRUE(out.contains(QStringLiteral("step=2/2 discharges=1/2")));
    // Where the run is journalled comes first, then the progress.
    EXPECT_TRUE(lines.first().startsWith(QStringLiteral("journal=")));
    EXPECT_TRUE(lines.at(1).startsWith(QStringLiteral("step=1/2 discharges=0/2 countdown=")));
    EXPECT_TRUE(err.contains(QStringLiteral("Test is complete.")));
    EXPECT_TRUE(QFile::exists(report));
    // The step blocks, the starts and the closing commands, in order.
    const QStringList log = sim.CommandLog();
    EXPECT_EQ(log.filter(QStringLiteral("CA")).size(), 2);
    EXPECT_EQ(log.mid(log.size() - 2), (QStringList{QStringLiteral("PQ0"), QStringLiteral("CB")}));
}

TEST_F(ZebctlRunE2eTest, ReportPdfIsIssuedAtTheEndAndJournalled) {
    AddSim(Fast());
    const QString doc = WriteFile(QStringLiteral("two.json"), kTwoSteps);
    const QString pdf = dir.filePath(QStringLiteral("run.pdf"));
    const QString journal = dir.filePath(QStringLiteral("run.zebrun"));
    ASSERT_EQ(
        RunToEnd({doc, QStringLiteral("--report-pdf"), pdf, QStringLiteral("--journal"), journal}),
        0)
        << err.toStdString();
    const QStringList lines = OutLines();
    const QString number = lines.filter(QStringLiteral("report_number=")).value(0).mid(14);
    const QString hash = lines.filter(QStringLiteral("journal_sha256=")).value(0).mid(15);
    ASSERT_FALSE(number.isEmpty()) << out.toStdString();
    // The hash in the report is the journal's last line before the report event.
    QByteArray beforeReport;
    QJsonObject report;
    ASSERT_TRUE(ReadJournalFile(journal, [&](const JournalEntry& e) {
                    if (e.event == QLatin1String("report")) {
                        report = e.line;
                        beforeReport = e.line.value(QLatin1String("prev")).toString().toLatin1();
                    }
                }).IsWhole());
    EXPECT_EQ(hash.toLatin1(), beforeReport);
    EXPECT_EQ(report.value(QLatin1String("pdf")).toString(), pdf);
    EXPECT_EQ(report.value(QLatin1String("report_number")).toString(), number);
    QFile written(pdf);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(report.value(QLatin1String("pdf_sha256")).toString().toLatin1(),
              Sha256Hex(written.readAll()));
    const QString text = PdfText(pdf);
    EXPECT_TRUE(text.contains(hash));
    EXPECT_TRUE(text.contains(QStringLiteral("The EUT conforms: all 2 test steps passed")));

    // A taken name is refused before anything is sent.
    EXPECT_EQ(RunToEnd({doc, QStringLiteral("--report-pdf"), pdf}), 2);
}

TEST_F(ZebctlRunE2eTest, SigintStopsTheRunAndStillSendsTheClosingCommands) {
    auto& sim = AddSim(Fast(1.0));
    const QString doc = WriteFile(QStringLiteral("two.json"), kTwoSteps);
    Start({doc, QStringLiteral("--from"), QStringLiteral("2")});
    ASSERT_TRUE(WaitForOutput(QStringLiteral("state=running")));
    EXPECT_TRUE(out.section(QLatin1Char('\n'), 1).startsWith(QStringLiteral("step=2/2")));
    ::kill(static_cast<pid_t>(proc.processId()), SIGINT);
    EXPECT_EQ(Finish(), 1);
    EXPECT_TRUE(OutLines().contains(QStringLiteral("outcome=stopped")));
    EXPECT_TRUE(err.contains(QStringLiteral("Test is stoped.")));
    const QStringList log = sim.CommandLog();
    EXPECT_EQ(log.mid(log.size() - 2), (QStringList{QStringLiteral("PQ0"), QStringLiteral("CB")}));
}

TEST_F(ZebctlRunE2eTest, InstrumentErrorEndsTheRunWithItsMessage) {
    auto& sim = AddSim(Fast(2.0));
    const QString doc = WriteFile(QStringLiteral("two.json"), kTwoSteps);
    Start({doc});
    ASSERT_TRUE(WaitForOutput(QStringLiteral("state=running")));
    sim.RaiseError(5);
    EXPECT_EQ(Finish(), 1);
    EXPECT_TRUE(OutLines().contains(QStringLiteral("outcome=error")));
    EXPECT_TRUE(OutLines().contains(QStringLiteral("passed=0/2")));
    EXPECT_TRUE(err.contains(QStringLiteral("Check AC/DC LINE OUTPUT terminals.")));
}

TEST_F(ZebctlRunE2eTest, BadInputIsRefusedBeforeAnythingIsSent) {
    auto& sim = AddSim(Fast());
    const QString doc = WriteFile(QStringLiteral("two.json"), kTwoSteps);
    const QString empty = WriteFile(QStringLiteral("empty.json"),
                                    R"({"record": {"m_ulMachineType": 5}, "steps": []})");
    const QString taken = WriteFile(QStringLiteral("taken.xlsx"), "x");
    // The journal of a run of another document.
    const QString foreign = dir.filePath(QStringLiteral("foreign.zebrun"));
    {
        CFileRunJournal journal;
        QString error;
        ASSERT_TRUE(journal.Create(foreign, error));
        JournalOpenInfo info;
        info.documentPath = empty;
        info.documentSha256 = Sha256Hex("other bytes");
        ASSERT_TRUE(journal.Open(info));
    }
    const QStringList cases[] = {
        {dir.filePath(QStringLiteral("missing.zms"))},
        {WriteFile(QStringLiteral("junk.zms"), "not a settings file")},
        {empty},
        {doc, QStringLiteral("--from"), QStringLiteral("0")},
        {doc, QStringLiteral("--from"), QStringLiteral("3")},
        {doc, QStringLiteral("--from"), QStringLiteral("two")},
        {doc, QStringLiteral("--report"), taken},
        {doc, QStringLiteral("--report"), dir.filePath(QStringLiteral("no/such/r.xlsx"))},
        {doc, QStringLiteral("extra")},
        {},
        // A journal never replaces a file; a resumed run needs a whole journal of this very
        // document and takes no --from.
        {doc, QStringLiteral("--journal"), taken},
        {doc, QStringLiteral("--resume"), taken},
        {doc, QStringLiteral("--resume"), foreign},
        {doc, QStringLiteral("--resume"), foreign, QStringLiteral("--from"), QStringLiteral("1")},
    };
    for (const QStringList& args : cases) {
        EXPECT_EQ(RunToEnd(args), 2) << args.join(QLatin1Char(' ')).toStdString();
    }
    EXPECT_TRUE(sim.CommandLog().isEmpty());
}

// A coupling-unit document (ZEB-4170+CDN, 0x400F) on a generator reporting the nibble 15.
const char kCouplingUnit[] = R"({"record": {"m_ulMachineType": 16399, "m_nHWVersion": 1},
 "steps": [
  {"m_ulMachineType": 16399, "m_nOutputDetail": 3, "m_nInjRet": 0, "m_lVolt": 1000,
   "m_nPola": 0, "m_lDisc": 2, "m_lRept": 10}]})";

TEST_F(ZebctlRunE2eTest, CouplingUnitDocumentRunsOnTheGeneratorOfItsNibble) {
    zebsim::SimOptions options = Fast();
    options.machineType = 15;
    auto& sim = AddSim(options);
    const QString doc = WriteFile(QStringLiteral("cdn.json"), kCouplingUnit);
    ASSERT_EQ(RunToEnd({doc}), 0) << err.toStdString();
    EXPECT_TRUE(OutLines().contains(QStringLiteral("mark step=1 result=PASS")));
    EXPECT_TRUE(OutLines().contains(QStringLiteral("outcome=complete")));
    EXPECT_EQ(sim.CommandLog().filter(QStringLiteral("CA")).size(), 1);

    // The same document on a generator of another nibble is refused before anything starts.
    auto& other = AddSim(Fast());  // reports 5
    UsePorts({&other});
    out.clear();
    EXPECT_NE(RunToEnd({doc}), 0);
    EXPECT_TRUE(err.contains(QStringLiteral("This file for ZEB-4170+CDN."))) << err.toStdString();
    EXPECT_FALSE(other.CommandLog().contains(QStringLiteral("CA")));
}

TEST_F(ZebctlRunE2eTest, SynchronisedTestWithTheLineOffCannotStart) {
    auto& sim = AddSim(Fast());
    const QString doc = WriteFile(QStringLiteral("sync.json"), R"({"record": {
        "m_ulMachineType": 5, "m_nHWVersion": 1,
        "m_outOutput": {"m_nOutputPort": 0, "m_aopOutputPort": [
            {"m_nOutputDetail": 1, "m_nSync": 1}, {}, {}, {}, {}, {}, {}, {}, {}, {}]}}})");
    EXPECT_EQ(RunToEnd({doc}), 1);
    EXPECT_TRUE(
        err.contains(QStringLiteral("A synchronised test needs the EUT line on (--line-on).")))
        << err.toStdString();
    EXPECT_FALSE(sim.CommandLog().contains(QStringLiteral("CA")));
    EXPECT_TRUE(OutLines().contains(QStringLiteral("outcome=stopped")));
}

}  // namespace
}  // namespace zeb::test
