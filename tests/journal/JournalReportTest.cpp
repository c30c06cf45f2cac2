#include <gtest/gtest.h>
#include <QTemporaryDir>

#include "JournalReport.h"
#include "JournalSamples.h"
#include "TestReport.h"
#include "XlsxReader.h"

namespace {

using namespace zeb;
using namespace zeb::test;

std::vector<XlsxSheet> Sheets(const QString& path) {
    std::vector<XlsxSheet> sheets;
    QString error;
    EXPECT_TRUE(ReadXlsx(path, sheets, error)) << error.toStdString();
    return sheets;
}

// The report written from the journal is the report written at the end of the run: the same
// cells with the same values and types on the same sheets.
TEST(JournalReport, GivesTheSameCellsAsTheReportOfTheRunItself) {
    QTemporaryDir dir;
    CZebM40SettingsDoc doc = SampleDocument();
    doc.Steps()[4].m_strComment = "0042";  // a number-like text stays text in both
    CMemoryRunJournal journal;
    WriteSampleRun(journal, doc, "bytes");
    journal.CommentsCleared();
    journal.Judgement(5, kResultFail, "smoke", JudgedBy::Operator);
    ASSERT_TRUE(WriteBytes(dir.filePath("run.zebrun"), journal.Bytes()));

    // What the run itself ended with.
    doc.Steps()[0].m_nResult = kResultPass;
    doc.Steps()[1].m_nResult = kResultPass;
    doc.Steps()[2].m_nResult = kResultPass;
    doc.Steps()[4].m_nResult = kResultFail;
    doc.Steps()[4].m_strComment = "smoke";
    QString error;
    ASSERT_TRUE(WriteTestReport(SampleEnvironment(), doc, dir.filePath("run.xlsx"), error));
    ASSERT_TRUE(
        WriteReportFromJournal(dir.filePath("run.zebrun"), dir.filePath("journal.xlsx"), error))
        << error.toStdString();

    const std::vector<XlsxSheet> expected = Sheets(dir.filePath("run.xlsx"));
    const std::vector<XlsxSheet> actual = Sheets(dir.filePath("journal.xlsx"));
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(actual[i].name, expected[i].name);
        ASSERT_EQ(actual[i].cells.size(), expected[i].cells.size());
        for (const auto& [address, cell] : expected[i].cells) {
            EXPECT_EQ(actual[i].At(address), cell.value) << address.toStdString();
            EXPECT_EQ(actual[i].cells.at(address).number, cell.number) << address.toStdString();
        }
    }
    EXPECT_EQ(actual[0].At("C2"), "Acme Labs");

    // A report is never written over a file, nor from a broken journal.
    EXPECT_FALSE(
        WriteReportFromJournal(dir.filePath("run.zebrun"), dir.filePath("run.xlsx"), error));
    QByteArray broken;
    for (QByteArray line : journal.Lines()) {
        broken += line.replace("\"result\":\"fail\"", "\"result\":\"pass\"") + '\n';
    }
    ASSERT_TRUE(WriteBytes(dir.filePath("bad.zebrun"), broken));
    EXPECT_FALSE(
        WriteReportFromJournal(dir.filePath("bad.zebrun"), dir.filePath("bad.xlsx"), error));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("bad.xlsx")));
}

}  // namespace
