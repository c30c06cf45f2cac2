#include <gtest/gtest.h>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include "IniFile.h"
#include "IssuedReport.h"
#include "PdfText.h"
#include "ReportPages.h"
#include "SettingsDoc.h"
#include "TempConfigHome.h"
#include "TestProperty.h"

namespace {

using namespace zeb;
using zeb::test::PdfPageCount;
using zeb::test::PdfText;

// A report of `steps` steps (the document's own, repeated), step 2 FAIL, the rest PASS, with
// every field filled with a text of its own.
IssuedReport SampleReport(int steps) {
    CZebM40SettingsDoc doc;
    doc.OnNewDocument(5, 0);
    ExecDataList list;
    for (int i = 0; i < steps; ++i) {
        CExecData s = doc.Steps()[i % doc.Steps().size()];
        s.m_lVolt = 500 * (1 + i % 4);
        s.m_nPola = i % 2;
        s.m_nResult = i == 1 ? kResultFail : kResultPass;
        s.m_strComment = i == 1 ? QStringLiteral("display went dark") : QString();
        list.push_back(s);
    }
    doc.Steps() = list;
    CTestProperty p;
    p.m_strCompanyName = "Northfield EMC Lab";
    p.m_strLabAddress = "12 Quarry Lane, Northfield";
    p.m_strCustomerName = "Widget Makers Ltd";
    p.m_strCustomerAddress = "4 Harbour Street, Portby";
    p.m_strDateOfReceipt = "received 2 March";
    p.m_strModel = "PSU-300";
    p.m_strSerial = "SN-0042";
    p.m_strOperator = "R. Tester";
    p.m_strStandard = "IEC61000-4-5";
    p.m_strEutInfo = "power supply";
    p.m_strEutMode = "full load";
    p.m_strEutComment = "sample B";
    p.m_strFreeInput1Title = "Order";
    p.m_strFreeInput1 = "PO-77";
    p.m_strFreeInput2Title = "Cable";
    p.m_strFreeInput2 = "two metres";
    p.m_strTemperature = "23.5 deg.C";
    p.m_strHumidity = "41 %";
    p.m_strAtm = "1002 hPa";
    p.m_strTestPlace = "Hall 2";
    p.m_strCriterion = "B";
    p.m_tmTestDate = 1772000000;
    IssuedReport r = MakeIssuedReport(p, doc);
    r.reportNumber = "NEL-2026-0042";
    r.authorisedBy = "Dr. A. Signer";
    r.authorisedFunction = "Head of laboratory";
    r.instrumentReply = "SIM SURGE 1.0";
    r.machineType = "5";
    r.hwVersion = "3";
    r.journalName = "20260301-090000-surge.zebrun";
    r.journalSha256 = QString(64, 'a');
    r.documentSha256 = QString(64, 'b');
    ReportMethodCheck check;
    check.profile = "basic";
    check.title = "Basic profile";
    check.level = "3";
    check.voltage = "2000 V";
    check.findings.push_back({"polarity", "warning", "clause 7.1", "Only one polarity.", {3}});
    r.check = check;
    return r;
}

class ReportPdfTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString Write(const IssuedReport& r, const QString& name = "report.pdf") {
        const QString path = m_dir.filePath(name);
        QByteArray sha;
        QString error;
        EXPECT_TRUE(WriteReportPdf(r, path, sha, error, &m_logoProblem)) << error.toStdString();
        EXPECT_EQ(sha.size(), 64);
        return path;
    }
    QTemporaryDir m_dir;
    QString m_logoProblem;
};

TEST_F(ReportPdfTest, EveryItemOfAnAccreditedReportIsThere) {
    const IssuedReport r = SampleReport(6);
    const QString path = Write(r);
    const QString text = PdfText(path);
    for (const char* item : {"Northfield EMC Lab",
                             "12 Quarry Lane, Northfield",
                             "Report NEL-2026-0042",
                             "Surge immunity test report",
                             "Report number: NEL-2026-0042",
                             "Widget Makers Ltd",
                             "4 Harbour Street, Portby",
                             "received 2 March",
                             "PSU-300",
                             "SN-0042",
                             "power supply",
                             "full load",
                             "sample B",
                             "Order",
                             "PO-77",
                             "Cable two metres",
                             "IEC61000-4-5",
                             "Basic profile (basic)",
                             "Test level 3",
                             "clause 7.1",
                             "Only one polarity. (step 3)",
                             "23.5 deg.C",
                             "41 %",
                             "1002 hPa",
                             "Hall 2",
                             "Output port",
                             "Voltage [kV]",
                             "Overall result FAIL",
                             "Results matrix",
                             "PASS (green)",
                             "FAIL (red)",
                             "n/t (grey)",
                             "Test steps",
                             "display went dark",
                             "The EUT does not conform",
                             "criterion B (temporary loss, self-recovering)",
                             "Decision rule:",
                             "The results relate only to the item tested.",
                             "Tested by R. Tester",
                             "Dr. A. Signer, Head of laboratory",
                             "Date of issue",
                             "Program version",
                             "SIM SURGE 1.0",
                             "Machine type 5",
                             "Hardware version 3",
                             "20260301-090000-surge.zebrun",
                             "End of report"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(item))) << item;
    }
    EXPECT_TRUE(text.contains(r.journalSha256));
    EXPECT_TRUE(text.contains(r.documentSha256));
    EXPECT_FALSE(text.contains("Replaces report"));
    EXPECT_TRUE(m_logoProblem.isEmpty());
}

TEST_F(ReportPdfTest, EveryPageSaysPageNOfNAndTheLastOneEndsTheReport) {
    for (int steps : {6, 1000}) {
        const QString path = Write(SampleReport(steps), QStringLiteral("r%1.pdf").arg(steps));
        const int pages = PdfPageCount(path);
        ASSERT_GT(pages, 0);
        if (steps == 1000) {
            EXPECT_GT(pages, 10);
        }
        for (int page = 1; page <= pages; ++page) {
            const QString text = PdfText(path, page);
            EXPECT_TRUE(text.contains(QStringLiteral("Page %1 of %2").arg(page).arg(pages)))
                << steps << " steps, page " << page;
            EXPECT_TRUE(text.contains("Report NEL-2026-0042"));
            EXPECT_EQ(text.contains("End of report"), page == pages);
        }
        const QString last = PdfText(path, pages);
        EXPECT_TRUE(last.contains("Traceability")) << "the whole block on the last page";
        EXPECT_TRUE(last.contains(QString(64, 'b')));
    }
}

TEST_F(ReportPdfTest, StepTableContinuesWithItsHeaderOnEveryPage) {
    const QString path = Write(SampleReport(1000));
    const int pages = PdfPageCount(path);
    int withSteps = 0;
    for (int page = 2; page < pages; ++page) {
        const QString text = PdfText(path, page);
        if (text.contains(" PASS ")) {
            ++withSteps;
            EXPECT_TRUE(text.contains("Interval [s] Voltage [kV]")) << "page " << page;
        }
    }
    EXPECT_GT(withSteps, 10);
    EXPECT_TRUE(PdfText(path).contains(" 1000 "));
}

TEST_F(ReportPdfTest, DeviationsAreTheChecksFindings) {
    IssuedReport r = SampleReport(6);
    r.check->findings.push_back({"level", "error", "table 1", "Voltage above the level.", {}});
    QString text = PdfText(Write(r, "two.pdf"));
    EXPECT_TRUE(
        text.contains("Deviations from the method: \u2022 clause 7.1 [warning, polarity]: "
                      "Only one polarity. (step 3) \u2022 table 1 [error, level]: "
                      "Voltage above the level."))
        << text.toStdString();

    r.check->findings.clear();
    text = PdfText(Write(r, "none.pdf"));
    EXPECT_TRUE(text.contains("Deviations from the method: None"));

    r.check.reset();
    text = PdfText(Write(r, "unchecked.pdf"));
    EXPECT_TRUE(text.contains("Deviations from the method: No standard profile was checked."));
    EXPECT_FALSE(text.contains("Test level"));
}

TEST_F(ReportPdfTest, ALongEditedStatementFlowsOnToTheNextPages) {
    IssuedReport r = SampleReport(6);
    QStringList paragraphs;
    for (int i = 1; i <= 120; ++i) {
        paragraphs << QStringLiteral("Paragraph %1 of the agreed statement.").arg(i);
    }
    r.statement = paragraphs.join('\n');
    const QString path = Write(r);
    const int pages = PdfPageCount(path);
    EXPECT_GE(pages, 4);
    EXPECT_TRUE(PdfText(path).contains("Paragraph 120 of the agreed statement."));
    EXPECT_TRUE(PdfText(path, pages).contains("End of report"));
}

TEST_F(ReportPdfTest, FontsAreEmbedded) {
    const QStringList fonts = zeb::test::PdfFonts(Write(SampleReport(6)));
    ASSERT_FALSE(fonts.isEmpty());
    for (const QString& line : fonts) {
        // name type encoding emb sub uni object ID: embedded, with a map back to Unicode
        EXPECT_TRUE(line.contains(QRegularExpression("\\syes\\s+(yes|no)\\s+yes\\s")))
            << line.toStdString();
    }
}

TEST_F(ReportPdfTest, ALogoThatCannotBeReadLeavesTheReportWithoutIt) {
    IssuedReport r = SampleReport(6);
    r.labLogo = m_dir.filePath("missing.png");
    EXPECT_TRUE(QFileInfo::exists(Write(r, "missing.pdf")));
    EXPECT_TRUE(m_logoProblem.contains("does not exist")) << m_logoProblem.toStdString();

    QFile bad(m_dir.filePath("bad.png"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("not a picture");
    bad.close();
    r.labLogo = bad.fileName();
    EXPECT_TRUE(QFileInfo::exists(Write(r, "bad.pdf")));
    EXPECT_TRUE(m_logoProblem.contains("cannot be read")) << m_logoProblem.toStdString();

    QImage logo(120, 40, QImage::Format_RGB32);
    logo.fill(Qt::blue);
    ASSERT_TRUE(logo.save(m_dir.filePath("logo.png")));
    r.labLogo = m_dir.filePath("logo.png");
    const QString withLogo = Write(r, "logo.pdf");
    EXPECT_TRUE(m_logoProblem.isEmpty());
    EXPECT_TRUE(PdfText(withLogo).contains("Northfield EMC Lab"));

    QFile svg(m_dir.filePath("logo.svg"));
    ASSERT_TRUE(svg.open(QIODevice::WriteOnly));
    svg.write(R"(<svg xmlns="http://www.w3.org/2000/svg" width="60" height="20">)"
              R"(<rect width="60" height="20" fill="green"/></svg>)");
    svg.close();
    r.labLogo = svg.fileName();
    Write(r, "svg.pdf");
    EXPECT_TRUE(m_logoProblem.isEmpty());
}

TEST_F(ReportPdfTest, NothingIsReplacedAndNothingPartialIsLeft) {
    const IssuedReport r = SampleReport(6);
    QFile taken(m_dir.filePath("taken.pdf"));
    ASSERT_TRUE(taken.open(QIODevice::WriteOnly));
    taken.write("keep me");
    taken.close();
    QByteArray sha;
    QString error;
    EXPECT_FALSE(WriteReportPdf(r, taken.fileName(), sha, error));
    ASSERT_TRUE(taken.open(QIODevice::ReadOnly));
    EXPECT_EQ(taken.readAll(), "keep me");

    const QString nowhere = m_dir.filePath("no such folder/r.pdf");
    EXPECT_FALSE(WriteReportPdf(r, nowhere, sha, error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(nowhere));

    // A taken name is refused before a report number is drawn.
    zeb::test::TempConfigHome home;
    IssuedReport issued = r;
    EXPECT_FALSE(IssueReportPdf(issued, "NEL", taken.fileName(), sha, error));
    EXPECT_EQ(ReadIniString(ini::kSectionProperty, ini::kKeyReportCounter, "none"), "none");
    ASSERT_TRUE(IssueReportPdf(issued, "NEL", m_dir.filePath("issued.pdf"), sha, error));
    EXPECT_EQ(issued.reportNumber, QStringLiteral("NEL-%1-0001").arg(issued.issueDate.year()));
    EXPECT_TRUE(PdfText(m_dir.filePath("issued.pdf")).contains(issued.reportNumber));
}

TEST_F(ReportPdfTest, IssuedReportPathNeverNamesATakenFile) {
    const QString first = IssuedReportPath(m_dir.path(), "NEL-2026-0001", "surge/test");
    EXPECT_EQ(QFileInfo(first).fileName(), "NEL-2026-0001 surge_test.pdf");
    QFile(first).open(QIODevice::WriteOnly);
    EXPECT_EQ(QFileInfo(IssuedReportPath(m_dir.path(), "NEL-2026-0001", "surge/test")).fileName(),
              "NEL-2026-0001 surge_test (2).pdf");
}

TEST(ReportPageSize, LetterWhereTheLocaleMeasuresInUsUnits) {
    EXPECT_EQ(ReportPageSize(QLocale(QLocale::English, QLocale::UnitedStates)).id(),
              QPageSize::Letter);
    EXPECT_EQ(ReportPageSize(QLocale(QLocale::German, QLocale::Germany)).id(), QPageSize::A4);
    EXPECT_EQ(ReportPageSize(QLocale(QLocale::English, QLocale::UnitedKingdom)).id(),
              QPageSize::A4);
}

}  // namespace
