// The looks of the written report, read back from the file the way a spreadsheet program reads
// them: fonts, fills and borders of each cell, column widths, row heights and the page set-up.

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <zip.h>

#include <map>
#include <memory>
#include <vector>

#include "TestReport.h"

namespace {

using namespace zeb;

// ---- a reader for the presentation parts of our own .xlsx files ----

struct Look {
    bool bold = false;
    bool grid = false;  // thin border on all four sides
    bool wrap = false;
    QString fill;  // background colour "RRGGBB", empty when none
};

struct SheetLook {
    std::map<QString, int> styleOf;  // cell address -> cell format index
    std::map<int, double> widths;    // one-based column -> width
    std::map<int, double> heights;   // one-based row -> height
    QString orientation;
    bool fitToPage = false;
    QString fitToWidth = QStringLiteral("1");  // the format's default when not written
    QString fitToHeight = QStringLiteral("1");
};

struct BookLook {
    std::vector<Look> formats;
    std::vector<SheetLook> sheets;
    std::map<QString, QString> definedNames;  // "name@sheetIndex" -> formula

    bool Has(int sheet, const QString& address) const {
        return sheets[sheet].styleOf.count(address) > 0;
    }
    Look At(int sheet, const QString& address) const {
        const auto it = sheets[sheet].styleOf.find(address);
        return it == sheets[sheet].styleOf.end() ? Look() : formats.at(it->second);
    }
};

QByteArray ReadPart(zip_t* zip, const char* name) {
    zip_stat_t st;
    zip_file_t* f = zip_stat(zip, name, 0, &st) == 0 ? zip_fopen(zip, name, 0) : nullptr;
    if (!f) {
        return QByteArray();
    }
    QByteArray data(static_cast<qsizetype>(st.size), '\0');
    zip_fread(f, data.data(), st.size);
    zip_fclose(f);
    return data;
}

QString Attr(const QXmlStreamReader& r, const char* name) {
    return r.attributes().value(QLatin1String(name)).toString();
}

std::vector<Look> ReadFormats(const QByteArray& xml) {
    std::vector<bool> bold;
    std::vector<QString> fills;
    std::vector<bool> grids;
    std::vector<Look> formats;
    QString section;
    int thinSides = 0;
    QXmlStreamReader r(xml);
    while (!r.atEnd()) {
        r.readNext();
        const QStringView name = r.name();
        if (r.isStartElement()) {
            if (name == u"fonts" || name == u"fills" || name == u"borders" || name == u"cellXfs" ||
                name == u"cellStyleXfs") {
                section = name.toString();
            } else if (section == "fonts" && name == u"font") {
                bold.push_back(false);
            } else if (section == "fonts" && name == u"b") {
                bold.back() = true;
            } else if (section == "fills" && name == u"fill") {
                fills.emplace_back();
            } else if (section == "fills" && name == u"fgColor") {
                fills.back() = Attr(r, "rgb").right(6);
            } else if (section == "borders" && name == u"border") {
                grids.push_back(false);
                thinSides = 0;
            } else if (section == "borders" &&
                       (name == u"left" || name == u"right" || name == u"top" ||
                        name == u"bottom") &&
                       Attr(r, "style") == "thin") {
                grids.back() = ++thinSides == 4;
            } else if (section == "cellXfs" && name == u"xf") {
                Look look;
                look.bold = bold.at(Attr(r, "fontId").toInt());
                look.fill = fills.at(Attr(r, "fillId").toInt());
                look.grid = grids.at(Attr(r, "borderId").toInt());
                formats.push_back(look);
            } else if (section == "cellXfs" && name == u"alignment") {
                formats.back().wrap = Attr(r, "wrapText") == "1";
            }
        } else if (r.isEndElement() && name.toString() == section) {
            section.clear();
        }
    }
    return formats;
}

SheetLook ReadSheetLook(const QByteArray& xml) {
    SheetLook sheet;
    QXmlStreamReader r(xml);
    while (!r.atEnd()) {
        r.readNext();
        if (!r.isStartElement()) {
            continue;
        }
        const QStringView name = r.name();
        if (name == u"c") {
            sheet.styleOf[Attr(r, "r")] = Attr(r, "s").toInt();
        } else if (name == u"col") {
            for (int c = Attr(r, "min").toInt(); c <= Attr(r, "max").toInt(); ++c) {
                sheet.widths[c] = Attr(r, "width").toDouble();
            }
        } else if (name == u"row" && !Attr(r, "ht").isEmpty()) {
            sheet.heights[Attr(r, "r").toInt()] = Attr(r, "ht").toDouble();
        } else if (name == u"pageSetUpPr") {
            sheet.fitToPage = Attr(r, "fitToPage") == "1";
        } else if (name == u"pageSetup") {
            sheet.orientation = Attr(r, "orientation");
            if (r.attributes().hasAttribute("fitToWidth")) {
                sheet.fitToWidth = Attr(r, "fitToWidth");
            }
            if (r.attributes().hasAttribute("fitToHeight")) {
                sheet.fitToHeight = Attr(r, "fitToHeight");
            }
        }
    }
    return sheet;
}

// Our files name their sheets xl/worksheets/sheet1.xml, sheet2.xml, ... in workbook order.
BookLook ReadLook(const QString& path) {
    BookLook book;
    int err = 0;
    std::unique_ptr<zip_t, void (*)(zip_t*)> zip(
        zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &err), zip_discard);
    if (!zip) {
        ADD_FAILURE() << "cannot open " << path.toStdString();
        return book;
    }
    book.formats = ReadFormats(ReadPart(zip.get(), "xl/styles.xml"));
    for (int i = 1;; ++i) {
        const QByteArray part =
            ReadPart(zip.get(), qPrintable(QStringLiteral("xl/worksheets/sheet%1.xml").arg(i)));
        if (part.isEmpty()) {
            break;
        }
        book.sheets.push_back(ReadSheetLook(part));
    }
    QXmlStreamReader r(ReadPart(zip.get(), "xl/workbook.xml"));
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement() && r.name() == u"definedName") {
            const QString key = Attr(r, "name") + "@" + Attr(r, "localSheetId");
            book.definedNames[key] = r.readElementText();
        }
    }
    return book;
}

// ---- the report ----

constexpr const char* kGreen = "C6EFCE";
constexpr const char* kRed = "FFC7CE";

// A three-phase AC document with two voltages and both polarities (four steps); its steps
// judged as given, the rest PASS.
CZebM40SettingsDoc Judged(std::map<int, std::pair<int, QString>> judgements) {
    CZebM40SettingsDoc doc;
    doc.OnNewDocument(5, 0);
    CSettingData record = doc.Record();
    record.m_ulPola = 3;
    record.m_valVolt.m_nValueType = kValueVariable;
    record.m_valVolt.m_abUse[0] = record.m_valVolt.m_abUse[1] = 1;
    record.m_valVolt.m_alValue[0] = 1000;
    record.m_valVolt.m_alValue[1] = 2000;
    doc.ApplyRecord(record);
    for (size_t i = 0; i < doc.Steps().size(); ++i) {
        doc.Steps()[i].m_nResult = kResultPass;
        const auto it = judgements.find(static_cast<int>(i));
        if (it != judgements.end()) {
            doc.Steps()[i].m_nResult = it->second.first;
            doc.Steps()[i].m_strComment = it->second.second;
        }
    }
    return doc;
}

class ReportLayoutTest : public ::testing::Test {
protected:
    BookLook Write(const CZebM40SettingsDoc& doc) {
        CTestProperty property;
        property.m_strCompanyName = "Acme Labs";
        const QString path = m_dir.filePath(QStringLiteral("r%1.xlsx").arg(++m_n));
        QString error;
        EXPECT_TRUE(WriteTestReport(property, doc, path, error)) << error.toStdString();
        return ReadLook(path);
    }

    QTemporaryDir m_dir;
    int m_n = 0;
};

TEST_F(ReportLayoutTest, CaptionsAreBoldAndTheirValuesPlain) {
    const BookLook book = Write(Judged({}));
    ASSERT_EQ(book.sheets.size(), 3u);
    for (const char* caption :
         {"B2", "B3", "B8", "G5", "G9", "L5", "L8", "L9", "B15", "E18", "B25"}) {
        EXPECT_TRUE(book.At(0, caption).bold) << "Condition!" << caption;
    }
    for (const char* value : {"C2", "C8", "H5", "M9", "C15", "F18", "C25"}) {
        EXPECT_FALSE(book.At(0, value).bold) << "Condition!" << value;
        EXPECT_TRUE(book.At(0, value).fill.isEmpty()) << "Condition!" << value;
    }
    for (const char* caption : {"B2", "C2", "D2", "E2", "F2", "H2", "E5"}) {
        EXPECT_TRUE(book.At(1, caption).bold) << "Content!" << caption;
    }
    EXPECT_FALSE(book.At(1, "B3").bold);
    EXPECT_FALSE(book.At(1, "B3").grid);  // the grid belongs to the step table only
}

TEST_F(ReportLayoutTest, StepTableHasABoldGriddedHeaderAndColouredJudgements) {
    const CZebM40SettingsDoc doc = Judged({{1, {kResultFail, "arc"}}, {2, {kResultNone, ""}}});
    ASSERT_GE(doc.Steps().size(), 4u);
    const BookLook book = Write(doc);
    const int lastRow = 10 + static_cast<int>(doc.Steps().size());

    EXPECT_FALSE(book.Has(1, "A10"));  // the empty corner gets no cell just for its looks
    for (char c = 'B'; c <= 'I'; ++c) {
        const Look header = book.At(1, QString(QChar(c)) + "10");
        EXPECT_TRUE(header.bold && header.grid) << c << "10";
    }
    for (int row = 11; row <= lastRow; ++row) {
        for (char c = 'A'; c <= 'I'; ++c) {
            EXPECT_TRUE(book.At(1, QChar(c) + QString::number(row)).grid) << c << row;
        }
    }
    EXPECT_FALSE(book.Has(1, "A" + QString::number(lastRow + 1)));

    EXPECT_EQ(book.At(1, "H11").fill, kGreen);
    const Look fail = book.At(1, "H12");
    EXPECT_EQ(fail.fill, kRed);
    EXPECT_TRUE(fail.bold);                         // stands out in black-and-white print
    EXPECT_TRUE(book.At(1, "H13").fill.isEmpty());  // "------"
    EXPECT_FALSE(book.At(1, "I12").bold);
    EXPECT_EQ(book.At(1, "H3").fill, kRed);  // the overall FAIL

    const BookLook passed = Write(Judged({}));
    EXPECT_EQ(passed.At(1, "H3").fill, kGreen);
    CZebM40SettingsDoc empty = Judged({});
    empty.Steps().clear();
    const BookLook none = Write(empty);
    EXPECT_EQ(none.At(1, "H3").fill, kGreen);  // no steps: PASS
    EXPECT_TRUE(none.At(1, "I10").grid);
    EXPECT_FALSE(none.Has(1, "A11"));
}

TEST_F(ReportLayoutTest, ColumnsFitTheirLongestTextAndLongCommentsWrap) {
    const QString longComment(130, QLatin1Char('x'));
    const BookLook book =
        Write(Judged({{0, {kResultFail, longComment}}, {1, {kResultPass, "ok"}}}));
    const SheetLook& condition = book.sheets[0];
    const SheetLook& content = book.sheets[1];

    // No caption is cut off by its neighbour: "Test location", "Temperature", "EUT information".
    EXPECT_GE(condition.widths.at(2), CMsExcelControl::TextWidth("Test location", true));
    EXPECT_GE(condition.widths.at(7), CMsExcelControl::TextWidth("Temperature", true));
    EXPECT_GE(condition.widths.at(12), CMsExcelControl::TextWidth("EUT information", true));
    EXPECT_EQ(condition.widths.count(1), 0u);  // an empty column keeps the default width
    EXPECT_GE(content.widths.at(1), CMsExcelControl::TextWidth("Step   1", false));
    // The file holds a width plus the cell padding the spreadsheet adds (under one character).
    for (const auto& [column, width] : content.widths) {
        EXPECT_GE(width, CMsExcelControl::kMinColumnWidth) << column;
        EXPECT_LE(width, CMsExcelControl::kMaxColumnWidth + 1) << column;
    }

    // The long comment wraps in a column of the largest width, and its row grows; a short one
    // in the same column does not wrap and its row keeps the default height.
    EXPECT_NEAR(content.widths.at(9), CMsExcelControl::kMaxColumnWidth, 1.0);
    EXPECT_TRUE(book.At(1, "I11").wrap);
    EXPECT_GE(content.heights.at(11), 45.0);
    EXPECT_FALSE(book.At(1, "I12").wrap);
    EXPECT_EQ(content.heights.count(12), 0u);

    // Short comments: the column is only as wide as its longest text; a line break wraps.
    const BookLook shortOnes = Write(Judged({{0, {kResultFail, "arc\nat L1"}}}));
    EXPECT_LT(shortOnes.sheets[1].widths.at(9), 15.0);
    EXPECT_TRUE(shortOnes.At(1, "I11").wrap);
    EXPECT_DOUBLE_EQ(shortOnes.sheets[1].heights.at(11), 30.0);
}

TEST_F(ReportLayoutTest, PagesAreLandscapeOneWideWithTheStepHeaderOnEveryPage) {
    const BookLook book = Write(Judged({}));
    for (int i = 0; i < 3; ++i) {
        const SheetLook& sheet = book.sheets[i];
        EXPECT_EQ(sheet.orientation, "landscape") << i;
        EXPECT_TRUE(sheet.fitToPage) << i;
        EXPECT_EQ(sheet.fitToWidth, "1") << i;
        EXPECT_EQ(sheet.fitToHeight, "0") << i;  // as many pages tall as the steps need
    }
    EXPECT_EQ(book.definedNames.at("_xlnm.Print_Titles@1"), "Content!$10:$10");
    EXPECT_EQ(book.definedNames.size(), 1u);
}

TEST(ReportLayoutControl, LooksNeverAddCellsAndSurviveRewriting) {
    CMsExcelControl xl;
    ASSERT_TRUE(xl.Open());
    CellStyle bold;
    bold.bold = true;
    EXPECT_FALSE(xl.SetCellStyle("B2", bold));  // never written
    EXPECT_FALSE(xl.SetCellStyle("not a cell", bold));
    ASSERT_TRUE(xl.SetCellString("B3", "'0042"));
    EXPECT_TRUE(xl.SetCellStyle("B3", bold));
    ASSERT_TRUE(xl.SetCellString("B3", "Company"));
    EXPECT_EQ(xl.GetCellText("B3"), "Company");
    EXPECT_EQ(xl.GetCellText("B2"), "");

    QTemporaryDir dir;
    const QString path = dir.filePath("looks.xlsx");
    QString error;
    ASSERT_TRUE(xl.WriteFile(path, error)) << error.toStdString();
    const BookLook book = ReadLook(path);
    EXPECT_FALSE(book.Has(0, "B2"));
    EXPECT_TRUE(book.At(0, "B3").bold);
    EXPECT_TRUE(book.sheets[0].widths.empty());  // fitting is asked for, not imposed
}

TEST(ReportLayoutControl, TextWidthCountsTheLongestLineAndWideCharacters) {
    const double margin = CMsExcelControl::TextWidth("", false);
    EXPECT_DOUBLE_EQ(CMsExcelControl::TextWidth("abc", false) - margin, 3.0);
    EXPECT_DOUBLE_EQ(CMsExcelControl::TextWidth("ab\nabcd\na", false),
                     CMsExcelControl::TextWidth("abcd", false));
    EXPECT_DOUBLE_EQ(CMsExcelControl::TextWidth(QString::fromUtf8("試験"), false) - margin, 4.0);
    EXPECT_GT(CMsExcelControl::TextWidth("abc", true), CMsExcelControl::TextWidth("abc", false));
    EXPECT_GT(CMsExcelControl::TextWidth("ABC", false), CMsExcelControl::TextWidth("abc", false));
}

}  // namespace
