#include "ReportLayout.h"

#include "StepColumns.h"

namespace zeb {

namespace {

// Step table of the "Content" sheet: header row 10, step k in row 10 + k, one column from A
// onwards for each of the report's step columns.
constexpr int kHeaderRow = 10;
constexpr char kFirstColumn = 'A';

QString Address(char column, int row) {
    return QChar(column) + QString::number(row);
}

void Bold(CMsExcelControl& xl, std::initializer_list<const char*> addresses) {
    CellStyle bold;
    bold.bold = true;
    for (const char* address : addresses) {
        xl.SetCellStyle(QLatin1String(address), bold);
    }
}

// PASS green, FAIL red; an unjudged "------" stays plain.
CellFill JudgementFill(const QString& text) {
    if (text == QLatin1String("PASS")) {
        return CellFill::Good;
    }
    if (text == QLatin1String("FAIL")) {
        return CellFill::Bad;
    }
    return CellFill::None;
}

void LayOutCondition(CMsExcelControl& xl) {
    // Captions; L8 and L9 are the operator's own captions of the free fields.
    Bold(xl, {"B2",  "B3",  "B5",  "B6",  "B7",  "B8",  "G5",  "G6",  "G7",  "G8",
              "G9",  "L5",  "L6",  "L7",  "L8",  "L9",  "B15", "B16", "B17", "B18",
              "E18", "B19", "B20", "B21", "B22", "B23", "B24", "B25"});
}

void LayOutContent(CMsExcelControl& xl, int stepCount) {
    const std::vector<StepColumn>& columns = StepColumnsOf(StepList::Report);
    const char lastColumn = static_cast<char>(kFirstColumn + columns.size() - 1);
    char resultColumn = 0;
    for (size_t c = 0; c < columns.size(); ++c) {
        if (columns[c].item == kItemResult) {
            resultColumn = static_cast<char>(kFirstColumn + c);
        }
    }
    Bold(xl, {"B2", "C2", "D2", "E2", "F2", "H2", "E5"});
    CellStyle overall;
    overall.fill = JudgementFill(xl.GetCellText(QStringLiteral("H3")));
    xl.SetCellStyle(QStringLiteral("H3"), overall);

    // Column A of the header row stays empty, so the grid begins at B there.
    CellStyle header;
    header.bold = true;
    header.grid = true;
    for (char c = kFirstColumn + 1; c <= lastColumn; ++c) {
        xl.SetCellStyle(Address(c, kHeaderRow), header);
    }
    for (int row = kHeaderRow + 1; row <= kHeaderRow + stepCount; ++row) {
        for (char c = kFirstColumn; c <= lastColumn; ++c) {
            CellStyle cell;
            cell.grid = true;
            if (c == resultColumn) {
                cell.fill = JudgementFill(xl.GetCellText(Address(c, row)));
            }
            xl.SetCellStyle(Address(c, row), cell);
        }
    }
}

}  // namespace

void LayOutTestReport(CMsExcelControl& xl, int stepCount) {
    SheetLayout page;
    page.landscape = true;
    page.fitToPageWidth = true;
    page.fitColumns = true;
    for (int i = 0; i < 3; ++i) {
        xl.SelectSheet(i);
        SheetLayout layout = page;
        if (i == 0) {
            LayOutCondition(xl);
        } else if (i == 1) {
            LayOutContent(xl, stepCount);
            layout.repeatRow = kHeaderRow - 1;  // zero-based
        }
        xl.SetSheetLayout(layout);
    }
}

}  // namespace zeb
