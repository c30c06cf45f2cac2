#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include "FileRunJournal.h"
#include "IniFile.h"
#include "IssueReportDlg.h"
#include "JournalReader.h"
#include "ReportIssue.h"
#include "ScriptedMessageSink.h"
#include "SettingsDoc.h"
#include "TempConfigHome.h"
#include "TestProperty.h"
#include "TestPropertyJson.h"

namespace {

using namespace zeb;

class ReportIssueTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_doc.OnNewDocument(5, 0);
        m_doc.SetPathName(m_dir.filePath("surge.zms"));
        m_doc.Steps()[0].m_nResult = kResultPass;
        m_property.m_strReportPrefix = "NEL";
        m_property.m_strCompanyName = "Northfield EMC Lab";
    }
    QString Folder() const { return m_dir.filePath("ZEB Reports"); }
    // A finished run of the document, journalled.
    QString Journal() {
        const QString path = m_dir.filePath("run.zebrun");
        CFileRunJournal journal;
        QString error;
        EXPECT_TRUE(journal.Create(path, error)) << error.toStdString();
        JournalOpenInfo info = OpenInfoForDocument(m_doc, "bytes");
        info.environment = TestPropertyToJson(m_property);
        journal.Open(info);
        journal.StepStart(1, {"SV500"});
        journal.StepEnd(1, kResultNone, 5);
        journal.Judgement(1, kResultPass, "", JudgedBy::Operator);
        journal.Close(RunEnd::Complete);
        return path;
    }
    std::vector<QJsonObject> Events(const QString& path, const QString& name) {
        std::vector<QJsonObject> found;
        EXPECT_TRUE(ReadJournalFile(path, [&](const JournalEntry& e) {
                        if (e.event == name) {
                            found.push_back(e.line);
                        }
                    }).IsWhole());
        return found;
    }

    test::TempConfigHome m_home;
    QTemporaryDir m_dir;
    CZebM40SettingsDoc m_doc;
    CTestProperty m_property;
};

TEST_F(ReportIssueTest, SavePdfDrawsTheNumberWritesTheFileAndRecordsItOnce) {
    const int year = QDate::currentDate().year();
    CReportIssue issue(MakeIssuedReport(m_property, m_doc), "NEL", Folder(), "surge");
    EXPECT_EQ(issue.Report().reportNumber, QStringLiteral("NEL-%1-0001").arg(year))
        << "the number it will probably get";
    std::vector<QStringList> recorded;
    issue.SetRecorder(
        [&](const QString& pdf, const QByteArray& sha, const QString& number, QString&) {
            recorded.push_back({pdf, QString::fromLatin1(sha), number});
            return true;
        });
    issue.SetStatement("The EUT conforms, as agreed.");
    issue.SetAuthorisedBy("Dr. A. Signer", "Head of laboratory");
    QString error;
    ASSERT_TRUE(issue.SavePdf(error)) << error.toStdString();
    const QString number = QStringLiteral("NEL-%1-0001").arg(year);
    EXPECT_EQ(issue.SavedPath(), Folder() + "/" + number + " surge.pdf");
    EXPECT_TRUE(QFileInfo::exists(issue.SavedPath()));
    ASSERT_EQ(recorded.size(), 1u);
    EXPECT_EQ(recorded[0][0], issue.SavedPath());
    EXPECT_EQ(recorded[0][1].size(), 64);
    EXPECT_EQ(recorded[0][2], number);

    // Issued: the texts stay, and a second save is the same report under the same number.
    issue.SetStatement("changed");
    EXPECT_EQ(issue.Report().statement, "The EUT conforms, as agreed.");
    ASSERT_TRUE(issue.SavePdf(error));
    EXPECT_EQ(recorded.back()[2], number);
    EXPECT_EQ(QFileInfo(issue.SavedPath()).fileName(), number + " surge (2).pdf");
    EXPECT_EQ(ReadIniString(ini::kSectionProperty, ini::kKeyReportCounter, ""), "1");
}

TEST_F(ReportIssueTest, AFolderThatCannotBeMadeWritesNothingAndGivesNoNumber) {
    QFile blocker(m_dir.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    CReportIssue issue(MakeIssuedReport(m_property, m_doc), "NEL", blocker.fileName() + "/sub",
                       "surge");
    QString error;
    EXPECT_FALSE(issue.SavePdf(error));
    EXPECT_TRUE(error.contains("Cannot create the folder")) << error.toStdString();
    EXPECT_FALSE(issue.Issued());
    EXPECT_EQ(ReadIniString(ini::kSectionProperty, ini::kKeyReportCounter, "none"), "none");
}

TEST_F(ReportIssueTest, TheIssueIsAppendedToTheJournalOfTheRunItComesFrom) {
    const QString journal = Journal();
    const auto issue = MakeReportIssue(m_doc, m_property, journal, nullptr, Folder());
    EXPECT_EQ(issue->Report().journalName, "run.zebrun");
    QString error;
    ASSERT_TRUE(issue->SavePdf(error)) << error.toStdString();
    const auto reports = Events(journal, "report");
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].value("pdf").toString(), issue->SavedPath());
    EXPECT_EQ(reports[0].value("report_number").toString(), issue->Report().reportNumber);
    EXPECT_EQ(reports[0].value("pdf_sha256").toString().size(), 64);

    // The next report of the same run replaces this one.
    const auto next = MakeReportIssue(m_doc, m_property, journal, nullptr, Folder());
    EXPECT_EQ(next->Report().replacesNumber, issue->Report().reportNumber);
}

TEST_F(ReportIssueTest, AJournalThatDoesNotVerifyIsToldAndLeftOut) {
    const QString journal = Journal();
    QFile f(journal);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray bytes = f.readAll();
    f.close();
    bytes.replace("SV500", "SV900");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
    f.close();
    test::ScriptedMessageSink sink;
    sink.ExpectAny();
    const auto issue = MakeReportIssue(m_doc, m_property, journal, nullptr, Folder());
    EXPECT_TRUE(sink.Shown().at(0).contains("cannot be used for the report"));
    EXPECT_TRUE(issue->Report().journalName.isEmpty());
    QString error;
    ASSERT_TRUE(issue->SavePdf(error));
    QFile after(journal);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), bytes) << "never written to";
}

TEST_F(ReportIssueTest, TheWindowPassesTheEditsAndLocksThemOnceIssued) {
    CReportIssue issue(MakeIssuedReport(m_property, m_doc), "NEL", Folder(), "surge");
    CIssueReportDlg dlg(issue);
    EXPECT_EQ(dlg.StatementEdit()->toPlainText(), issue.Report().statement);
    dlg.StatementEdit()->setPlainText("Conforms after repair.");
    dlg.NameEdit()->setText("Dr. A. Signer");
    dlg.FunctionEdit()->setText("Head of laboratory");
    EXPECT_EQ(issue.Report().statement, "Conforms after repair.");
    EXPECT_EQ(issue.Report().authorisedBy, "Dr. A. Signer");
    EXPECT_EQ(issue.Report().authorisedFunction, "Head of laboratory");
    EXPECT_FALSE(dlg.NameEdit()->accessibleName().isEmpty());
    EXPECT_FALSE(dlg.StatementEdit()->accessibleName().isEmpty());

    dlg.SaveButton()->click();
    EXPECT_TRUE(issue.Issued());
    EXPECT_TRUE(QFileInfo::exists(issue.SavedPath()));
    EXPECT_TRUE(dlg.NoteLabel()->text().contains(issue.Report().reportNumber));
    EXPECT_TRUE(dlg.StatementEdit()->isReadOnly());
    EXPECT_TRUE(dlg.NameEdit()->isReadOnly());
}

}  // namespace
