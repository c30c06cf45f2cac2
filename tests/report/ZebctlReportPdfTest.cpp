#include <gtest/gtest.h>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include "IniFile.h"
#include "PdfText.h"
#include "RunJournal.h"
#include "SettingsDoc.h"
#include "TempConfigHome.h"
#include "TestPropertyJson.h"

namespace {

using namespace zeb;
using zeb::test::PdfText;

// zebctl report-pdf: the issued report from a journal alone, as an auditor or another lab
// machine would issue it again.
class ZebctlReportPdfTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(m_home.IsValid());
        WriteIniString(ini::kSectionProperty, ini::kKeyReportPrefix, "AUD");
        CZebM40SettingsDoc doc;
        doc.OnNewDocument(5, 0);
        doc.SetPathName("/lab/surge 1.zms");
        CExecData second = doc.Steps().front();
        second.m_lVolt *= 2;
        doc.Steps().push_back(second);
        JournalOpenInfo info = OpenInfoForDocument(doc, "bytes");
        CTestProperty property;
        property.m_strCompanyName = "Northfield EMC Lab";
        property.m_strCustomerName = "Widget Makers Ltd";
        property.m_strReportPrefix = "NEL";  // of the machine that ran the test
        property.m_strCriterion = "B";
        property.m_strOperator = "R. Tester";
        info.environment = TestPropertyToJson(property);
        info.instrumentReply = "SIM SURGE 1.0";
        m_steps = static_cast<int>(doc.Steps().size());
        ASSERT_GE(m_steps, 2);
        m_standard = QJsonObject{{"profile", "basic"},
                                 {"title", "Basic profile"},
                                 {"level", "2"},
                                 {"voltage", 1000},
                                 {"findings", QJsonArray{QJsonObject{{"rule", "polarity"},
                                                                     {"severity", "warning"},
                                                                     {"citation", "clause 7.1"},
                                                                     {"text", "Only one polarity."},
                                                                     {"steps", QJsonArray{1}}}}}};
        OpenWithStandard(info);
        for (int step = 1; step <= m_steps; ++step) {
            m_journal.StepStart(step, {"SV500"});
            m_journal.StepEnd(step, kResultNone, 5);
            m_journal.Judgement(step, step == 2 ? kResultFail : kResultPass,
                                step == 2 ? "reset" : "", JudgedBy::Operator);
        }
    }

    // The open line as the program writes it, with the standard check the plan carried.
    void OpenWithStandard(const JournalOpenInfo& info) {
        CMemoryRunJournal plain;
        plain.Open(info);
        QJsonObject open = QJsonDocument::fromJson(plain.Lines().first()).object();
        open.insert("standard", m_standard);
        JournalFields fields;
        for (auto it = open.begin(); it != open.end(); ++it) {
            if (!IsReservedJournalField(it.key())) {
                fields.emplace_back(it.key(), it.value());
            }
        }
        ASSERT_TRUE(m_journal.Event("open", fields));
    }

    void Save(const QString& name = "run.zebrun") {
        QFile f(Path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(m_journal.Bytes());
    }

    int Run(const QStringList& args) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", m_home.Path());
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(ZEBCTL_PATH), args);
        if (!p.waitForFinished(60000)) {
            return -1;
        }
        m_stdout = QString::fromUtf8(p.readAllStandardOutput());
        m_stderr = QString::fromUtf8(p.readAllStandardError());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }
    QString Value(const QString& key) const {
        for (const QString& line : m_stdout.split('\n')) {
            if (line.startsWith(key + '=')) {
                return line.mid(key.size() + 1);
            }
        }
        return QString();
    }
    QString Path(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    test::TempConfigHome m_home;
    CMemoryRunJournal m_journal;
    QJsonObject m_standard;
    int m_steps = 0;
    QString m_stdout;
    QString m_stderr;
};

TEST_F(ZebctlReportPdfTest, IssuesTheReportOfAJournalWithItsHashAndLeavesTheJournalAlone) {
    Save();
    const QByteArray before = m_journal.Bytes();
    ASSERT_EQ(Run({"journal", "verify", Path("run.zebrun")}), 0);
    const QString verified = Value("last_sha256");
    ASSERT_EQ(verified.size(), 64);

    ASSERT_EQ(Run({"report-pdf", Path("run.zebrun"), Path("out.pdf"), "--authorised-by",
                   "Dr. A. Signer, Head of laboratory"}),
              0)
        << m_stderr.toStdString();
    const QString number = Value("report_number");
    EXPECT_EQ(number, QStringLiteral("AUD-%1-0001").arg(QDate::currentDate().year()))
        << "the prefix and counter of the issuing machine";
    EXPECT_EQ(Value("journal_sha256"), verified);
    EXPECT_EQ(Value("pdf_sha256").size(), 64);

    const QString text = PdfText(Path("out.pdf"));
    EXPECT_TRUE(text.contains("Journal SHA-256 " + verified)) << text.toStdString();
    EXPECT_TRUE(text.contains("run.zebrun"));
    EXPECT_TRUE(text.contains("Report number: " + number));
    EXPECT_TRUE(text.contains("Northfield EMC Lab"));
    EXPECT_TRUE(text.contains("Widget Makers Ltd"));
    EXPECT_TRUE(text.contains("SIM SURGE 1.0"));
    EXPECT_TRUE(text.contains("Tested by R. Tester"));
    EXPECT_TRUE(text.contains("Dr. A. Signer, Head of laboratory"));
    EXPECT_TRUE(text.contains(QStringLiteral("The EUT does not conform: 1 of %1 test steps failed "
                                             "at the required performance criterion B")
                                  .arg(m_steps)));
    EXPECT_TRUE(text.contains("Basic profile (basic)"));
    EXPECT_TRUE(text.contains("clause 7.1 [warning, polarity]: Only one polarity. (step 1)"));
    EXPECT_FALSE(text.contains("Replaces report"));

    QFile journal(Path("run.zebrun"));
    ASSERT_TRUE(journal.open(QIODevice::ReadOnly));
    EXPECT_EQ(journal.readAll(), before);

    // Issued again: a new number.
    ASSERT_EQ(Run({"report-pdf", Path("run.zebrun"), Path("again.pdf"), "--statement",
                   "Conforms after the agreed repair."}),
              0);
    EXPECT_EQ(Value("report_number"),
              QStringLiteral("AUD-%1-0002").arg(QDate::currentDate().year()));
    EXPECT_TRUE(PdfText(Path("again.pdf")).contains("Conforms after the agreed repair."));
}

TEST_F(ZebctlReportPdfTest, AReportOfARunThatWasReportedBeforeReplacesTheLastOne) {
    m_journal.Event("report", {{"pdf", "/reports/NEL-2026-0007 surge.pdf"},
                               {"pdf_sha256", QString(64, 'c')},
                               {"report_number", "NEL-2026-0007"}});
    m_journal.Close(RunEnd::Complete);
    Save();
    ASSERT_EQ(Run({"report-pdf", Path("run.zebrun"), Path("out.pdf")}), 0)
        << m_stderr.toStdString();
    EXPECT_TRUE(PdfText(Path("out.pdf")).contains("Replaces report NEL-2026-0007"));
}

TEST_F(ZebctlReportPdfTest, BadInputIsRefusedAndNothingIsWritten) {
    Save();
    QByteArray changed = m_journal.Bytes();
    // The first step block changed: the line after it no longer chains.
    changed.replace(changed.indexOf("SV500"), 5, "SV900");
    QFile broken(Path("broken.zebrun"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write(changed);
    broken.close();
    EXPECT_EQ(Run({"report-pdf", Path("broken.zebrun"), Path("out.pdf")}), 2);
    EXPECT_TRUE(m_stderr.contains("cannot be issued")) << m_stderr.toStdString();
    EXPECT_FALSE(QFileInfo::exists(Path("out.pdf")));
    EXPECT_EQ(ReadIniString(ini::kSectionProperty, ini::kKeyReportCounter, "none"), "none")
        << "no number used up";

    QFile taken(Path("taken.pdf"));
    ASSERT_TRUE(taken.open(QIODevice::WriteOnly));
    taken.write("keep");
    taken.close();
    EXPECT_EQ(Run({"report-pdf", Path("run.zebrun"), Path("taken.pdf")}), 2);
    ASSERT_TRUE(taken.open(QIODevice::ReadOnly));
    EXPECT_EQ(taken.readAll(), "keep");

    EXPECT_EQ(Run({"report-pdf", Path("run.zebrun"), Path("no folder/out.pdf")}), 2);
    EXPECT_FALSE(m_stderr.isEmpty());
    EXPECT_EQ(Run({"report-pdf", Path("missing.zebrun"), Path("out.pdf")}), 2);
    EXPECT_EQ(Run({"report-pdf", Path("run.zebrun")}), 2);
    EXPECT_FALSE(QFileInfo::exists(Path("out.pdf")));
}

TEST_F(ZebctlReportPdfTest, AMissingLogoIsToldAndTheReportIsStillIssued) {
    // The journal names the logo of the machine that ran the test; here it is missing.
    CMemoryRunJournal withLogo;
    CZebM40SettingsDoc doc;
    doc.OnNewDocument(5, 0);
    JournalOpenInfo info = OpenInfoForDocument(doc, "bytes");
    CTestProperty property;
    property.m_strLabLogo = Path("gone.svg");
    info.environment = TestPropertyToJson(property);
    withLogo.Open(info);
    QFile f(Path("logo.zebrun"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(withLogo.Bytes());
    f.close();
    ASSERT_EQ(Run({"report-pdf", Path("logo.zebrun"), Path("out.pdf")}), 0);
    EXPECT_TRUE(m_stderr.contains("without a logo")) << m_stderr.toStdString();
    EXPECT_TRUE(QFileInfo::exists(Path("out.pdf")));
    EXPECT_TRUE(PdfText(Path("out.pdf")).contains("No standard profile was checked."));
}

}  // namespace
