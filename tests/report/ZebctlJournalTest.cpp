#include <gtest/gtest.h>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "RunJournal.h"
#include "SettingsDoc.h"
#include "TestPropertyJson.h"
#include "XlsxReader.h"

namespace {

using namespace zeb;

// zebctl journal verify / show / events / report, run as an operator or an auditor would.
class ZebctlJournalTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        CZebM40SettingsDoc doc;
        doc.OnNewDocument(5, 0);
        doc.SetPathName("/lab/surge 1.zms");
        JournalOpenInfo info = OpenInfoForDocument(doc, "bytes");
        CTestProperty property;
        property.m_strCompanyName = "Acme Labs";
        info.environment = TestPropertyToJson(property);
        info.port = "COM2";
        m_journal.Open(info);
        m_journal.StepStart(1, {"SV500", "SP1"});
        m_journal.StepEnd(1, kResultFail, 5);
        m_journal.Judgement(1, kResultFail, "arc at L1", JudgedBy::Operator);
        m_journal.Close(RunEnd::Complete);
        Write("run.zebrun", m_journal.Bytes());
    }

    int Run(const QStringList& args) {
        QProcess p;
        p.start(QStringLiteral(ZEBCTL_PATH), QStringList{"journal"} + args);
        if (!p.waitForFinished(30000)) {
            return -1;
        }
        m_stdout = QString::fromUtf8(p.readAllStandardOutput());
        m_stderr = QString::fromUtf8(p.readAllStandardError());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }
    QString Path(const QString& name) const { return m_dir.filePath(name); }
    void Write(const QString& name, const QByteArray& bytes) {
        QFile f(Path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QTemporaryDir m_dir;
    CMemoryRunJournal m_journal;
    QString m_stdout;
    QString m_stderr;
};

TEST_F(ZebctlJournalTest, VerifyTellsWholeBrokenAndUnreadableApart) {
    EXPECT_EQ(Run({"verify", Path("run.zebrun")}), 0) << m_stderr.toStdString();
    EXPECT_EQ(m_stdout, QStringLiteral("chain=whole\nlines=5\ncut_bytes=0\nlast_sha256=%1\n")
                            .arg(QString::fromLatin1(Sha256Hex(m_journal.Lines().last()))));

    QByteArray changed = m_journal.Bytes();
    changed.replace("SV500", "SV900");
    Write("changed.zebrun", changed);
    EXPECT_EQ(Run({"verify", Path("changed.zebrun")}), 1);
    EXPECT_TRUE(m_stdout.startsWith("chain=broken\nbad_seq=2\nwhy=seq 2 was changed"))
        << m_stdout.toStdString();

    Write("cut.zebrun", m_journal.Bytes().chopped(10));
    EXPECT_EQ(Run({"verify", Path("cut.zebrun")}), 0);
    EXPECT_TRUE(m_stdout.contains("lines=4\ncut_bytes=")) << m_stdout.toStdString();
    EXPECT_TRUE(m_stderr.contains("cut off")) << m_stderr.toStdString();

    EXPECT_EQ(Run({"verify", Path("missing.zebrun")}), 2);
    EXPECT_EQ(Run({"verify", m_dir.path()}), 2);
    EXPECT_EQ(Run({"verify"}), 2);
    EXPECT_EQ(Run({"check", Path("run.zebrun")}), 2);
}

TEST_F(ZebctlJournalTest, ShowPrintsOneLinePerEventThenTheChain) {
    ASSERT_EQ(Run({"show", Path("run.zebrun")}), 0) << m_stderr.toStdString();
    const QStringList lines = m_stdout.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 6) << m_stdout.toStdString();
    EXPECT_TRUE(lines[0].contains(" open version=")) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].contains("document=\"/lab/surge 1.zms\" ")) << lines[0].toStdString();
    EXPECT_FALSE(lines[0].contains("Acme")) << "the environment is not spelt out";
    EXPECT_TRUE(lines[1].endsWith(" step-start step=1 block=SV500,SP1")) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].endsWith(" step-end step=1 result=fail discharges=5"));
    EXPECT_TRUE(
        lines[3].endsWith(" judgement step=1 result=fail comment=\"arc at L1\" by=operator"))
        << lines[3].toStdString();
    EXPECT_TRUE(lines[4].startsWith("5 ")) << lines[4].toStdString();
    EXPECT_TRUE(lines[4].endsWith(" close outcome=complete"));
    EXPECT_EQ(lines[5], "chain whole: 5 line(s)");

    Write("junk.zebrun", "not a journal\n");
    EXPECT_EQ(Run({"show", Path("junk.zebrun")}), 1);
    EXPECT_TRUE(m_stdout.startsWith("chain broken at seq 1")) << m_stdout.toStdString();
}

TEST_F(ZebctlJournalTest, EventsDescribesEveryEventWithItsFields) {
    ASSERT_EQ(Run({"events"}), 0) << m_stderr.toStdString();
    const QStringList lines = m_stdout.split('\n', Qt::SkipEmptyParts);
    EXPECT_TRUE(lines.value(0).startsWith("open: ")) << m_stdout.toStdString();
    EXPECT_TRUE(
        lines.contains("  resumed_by text optional: the journal of the run that continues "
                       "this one"))
        << m_stdout.toStdString();
    EXPECT_TRUE(
        m_stdout.contains("\n  phase text required: during or after the step (during, "
                          "after)\n"));
    EXPECT_TRUE(m_stdout.contains("\nstop: ")) << "an event without fields has its line too";
    // Every event and every field the sample journal holds is described.
    for (const QString name : {"step-start", "step-end", "judgement", "close"}) {
        EXPECT_TRUE(m_stdout.contains("\n" + name + ": ")) << name.toStdString();
    }
    EXPECT_EQ(Run({"events", Path("run.zebrun")}), 2);
}

TEST_F(ZebctlJournalTest, ReportWritesTheRunsReportAndNeverReplacesAFile) {
    ASSERT_EQ(Run({"report", Path("run.zebrun"), Path("out.xlsx")}), 0) << m_stderr.toStdString();
    std::vector<test::XlsxSheet> sheets;
    QString error;
    ASSERT_TRUE(test::ReadXlsx(Path("out.xlsx"), sheets, error)) << error.toStdString();
    EXPECT_EQ(sheets[0].At("C2"), "Acme Labs");
    EXPECT_EQ(sheets[1].At("H11"), "FAIL");
    EXPECT_EQ(sheets[1].At("I11"), "arc at L1");

    const qint64 size = QFileInfo(Path("out.xlsx")).size();
    EXPECT_EQ(Run({"report", Path("run.zebrun"), Path("out.xlsx")}), 2);
    EXPECT_EQ(QFileInfo(Path("out.xlsx")).size(), size);
    Write("junk.zebrun", "{}\n");
    EXPECT_EQ(Run({"report", Path("junk.zebrun"), Path("junk.xlsx")}), 2);
    EXPECT_FALSE(QFileInfo::exists(Path("junk.xlsx")));
}

}  // namespace
