#include <gtest/gtest.h>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "MsExcelControl.h"
#include "XlsxReader.h"

namespace {

using zeb::CMsExcelControl;
using zeb::test::ReadXlsx;
using zeb::test::XlsxSheet;

TEST(MsExcelControl, NothingHappensBeforeOpen) {
    CMsExcelControl xl;
    xl.SelectSheet(0);
    xl.AddSheet();
    EXPECT_EQ(xl.GetSheetCount(), 0);
    EXPECT_FALSE(xl.SetSheetName("Condition"));
    EXPECT_FALSE(xl.SetCellString("A1", "x"));
    QTemporaryDir dir;
    QString error;
    EXPECT_FALSE(xl.WriteFile(dir.filePath("never.xlsx"), error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(dir.filePath("never.xlsx")));
}

TEST(MsExcelControl, SheetsAreAddedSelectedByClampedIndexAndNamed) {
    CMsExcelControl xl;
    ASSERT_TRUE(xl.Open());
    EXPECT_EQ(xl.GetSheetCount(), 1);
    xl.AddSheet();
    xl.AddSheet();
    ASSERT_EQ(xl.GetSheetCount(), 3);
    EXPECT_EQ(xl.GetSheetName(2), "Sheet3");

    xl.SelectSheet(7);  // past the end: the last sheet
    EXPECT_TRUE(xl.SetSheetName(" "));
    xl.SelectSheet(-3);  // negative: the first sheet
    EXPECT_TRUE(xl.SetSheetName("Condition"));
    EXPECT_EQ(xl.GetSheetName(0), "Condition");
    EXPECT_EQ(xl.GetSheetName(2), " ");

    // Names the spreadsheet refuses leave the sheet as it was.
    xl.SelectSheet(1);
    for (const char* bad : {"", "a/b", "x[1]", "q?", "'quoted", "tail'", "condition",
                            "0123456789012345678901234567890123"}) {
        EXPECT_FALSE(xl.SetSheetName(bad)) << bad;
    }
    EXPECT_EQ(xl.GetSheetName(1), "Sheet2");
    EXPECT_TRUE(xl.SetSheetName("Sheet2"));  // its own name again is fine
    // 31 characters is the longest name a sheet can carry.
    EXPECT_FALSE(xl.SetSheetName(QString(32, QLatin1Char('n'))));
    EXPECT_TRUE(xl.SetSheetName(QString(31, QLatin1Char('n'))));
    EXPECT_EQ(xl.GetSheetName(1), QString(31, QLatin1Char('n')));
}

TEST(MsExcelControl, CellAddresses) {
    int row = -1;
    int col = -1;
    ASSERT_TRUE(CMsExcelControl::ParseCellAddress("B2", row, col));
    EXPECT_EQ(row, 1);
    EXPECT_EQ(col, 1);
    ASSERT_TRUE(CMsExcelControl::ParseCellAddress("aa11", row, col));
    EXPECT_EQ(row, 10);
    EXPECT_EQ(col, 26);
    ASSERT_TRUE(CMsExcelControl::ParseCellAddress("XFD1048576", row, col));
    EXPECT_EQ(col, 16383);
    for (const char* bad : {"", "A", "1", "A0", "XFE1", "A1048577", "B 2", "B2:C3", "$B$2"}) {
        EXPECT_FALSE(CMsExcelControl::ParseCellAddress(bad, row, col)) << bad;
    }
    CMsExcelControl xl;
    xl.Open();
    EXPECT_FALSE(xl.SetCellString("A0", "x"));
}

TEST(MsExcelControl, WrittenFileHoldsLiteralTextNumbersAndTopAlignment) {
    QTemporaryDir dir;
    CMsExcelControl xl;
    ASSERT_TRUE(xl.Open());
    xl.AddSheet();
    xl.SelectSheet(0);
    ASSERT_TRUE(xl.SetSheetName("Condition"));
    xl.SetCellString("B2", "Company");
    xl.SetCellString("C2", "'0042");  // literal: stays text, apostrophe dropped
    xl.SetCellString("C3", "2.5");    // plain decimal number
    xl.SetCellString("C4", "-.5");
    xl.SetCellString("C5", "1e3");       // not a plain decimal number
    xl.SetCellString("C6", "'");         // only the apostrophe: an empty cell
    xl.SetCellString("C7", "''quoted");  // one apostrophe stays
    xl.SetCellString("C8", QString::fromUtf8("25.0 \xC2\xB0"
                                             "C \xE6\xB8\xA9\xF0\x9F\x98\x80"));
    xl.SetCellString("C9", QString("tab\there\x01"
                                   "bell") +
                               QChar(0xD800));  // no valid XML as is
    xl.SetCellString("C10", "_x0041_ and _X005f_ stay as typed, \x01 too");
    xl.SetCellString("C11", QString("non") + QChar(0xFFFE) + QChar(0xFFFF) + "characters");
    xl.SetCellString("D9", "old");
    xl.SetCellString("D9", "new");  // replaced, not added
    xl.SelectSheet(1);
    ASSERT_TRUE(xl.SetSheetName(" "));

    const QString path = dir.filePath("out.xlsx");
    QString error;
    ASSERT_TRUE(xl.WriteFile(path, error)) << error.toStdString();
    // Written through a private temporary file, but the report itself is readable by others.
    EXPECT_TRUE(QFileInfo(path).permissions().testFlag(QFileDevice::ReadOther));

    std::vector<XlsxSheet> sheets;
    ASSERT_TRUE(ReadXlsx(path, sheets, error)) << error.toStdString();
    ASSERT_EQ(sheets.size(), 2u);
    EXPECT_EQ(sheets[0].name, "Condition");
    EXPECT_EQ(sheets[1].name, " ");
    EXPECT_TRUE(sheets[1].cells.empty());
    const XlsxSheet& s = sheets[0];
    EXPECT_EQ(s.cells.size(), 12u);
    EXPECT_EQ(s.At("B2"), "Company");
    EXPECT_EQ(s.At("C2"), "0042");
    EXPECT_FALSE(s.cells.at("C2").number);
    EXPECT_EQ(s.At("C3"), "2.5");
    EXPECT_TRUE(s.cells.at("C3").number);
    EXPECT_EQ(s.At("C4"), "-0.5");
    EXPECT_TRUE(s.cells.at("C4").number);
    EXPECT_EQ(s.At("C5"), "1e3");
    EXPECT_FALSE(s.cells.at("C5").number);
    EXPECT_EQ(s.At("C6"), "");
    EXPECT_EQ(s.At("C7"), "'quoted");
    EXPECT_EQ(s.At("C8"), QString::fromUtf8("25.0 \xC2\xB0"
                                            "C \xE6\xB8\xA9\xF0\x9F\x98\x80"));
    // Control characters come back as they were; half a surrogate pair cannot be stored.
    EXPECT_EQ(s.At("C9"), QString("tab\there\x01"
                                  "bell?"));
    EXPECT_EQ(s.At("C10"), "_x0041_ and _X005f_ stay as typed, \x01 too");
    EXPECT_EQ(s.At("C11"), QString("non") + QChar(0xFFFE) + QChar(0xFFFF) + "characters");
    EXPECT_EQ(s.At("D9"), "new");
    for (const auto& [address, cell] : s.cells) {
        EXPECT_TRUE(cell.top) << address.toStdString();
    }
}

TEST(MsExcelControl, NeverOverwritesAndFailsCleanly) {
    QTemporaryDir dir;
    CMsExcelControl xl;
    xl.Open();
    xl.SetCellString("A1", "x");
    const QString path = dir.filePath("taken.xlsx");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("keep me");
    }
    QString error;
    EXPECT_FALSE(xl.WriteFile(path, error));
    EXPECT_TRUE(error.contains("exists"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "keep me");

    // A folder that cannot exist (its parent is a file) is an error, not a crash.
    error.clear();
    EXPECT_FALSE(xl.WriteFile(path + "/sub/report.xlsx", error));
    EXPECT_FALSE(error.isEmpty());

    // Text longer than a cell can hold is refused, and nothing is left behind.
    xl.SetCellString("A2", QString(40000, 'x'));
    error.clear();
    EXPECT_FALSE(xl.WriteFile(dir.filePath("long.xlsx"), error));
    EXPECT_TRUE(error.contains("A2")) << error.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

}  // namespace
