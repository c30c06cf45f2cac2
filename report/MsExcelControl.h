#pragma once
// The spreadsheet layer behind the test report. It keeps the operations of a spreadsheet
// automation client -- open a new workbook, pick a worksheet by position, name it, put text into
// cells by A1 address -- but builds the workbook in memory and writes it as an .xlsx file when
// the report is complete. No spreadsheet program is needed to write a report.
//
// Cell text follows the spreadsheet's input rules: a leading apostrophe marks literal text and is
// not part of the cell; any other text that is a plain decimal number becomes a number cell; the
// rest is text. Every written cell is aligned to the top.

#include <QString>

#include <map>
#include <utility>
#include <vector>

namespace zeb {

class CMsExcelControl {
public:
    // Rows of a worksheet: the last cell address is row 1048576.
    static constexpr int kMaxRows = 1048576;

    CMsExcelControl() = default;
    virtual ~CMsExcelControl() = default;

    // Starts a new workbook with one worksheet ("Sheet1") and makes that sheet current.
    bool Open();

    int GetSheetCount() const { return static_cast<int>(m_sheets.size()); }
    // Appends a worksheet named "SheetN" (the first free N). Does nothing before Open.
    void AddSheet();

    // Makes the sheet at the zero-based index current; the index is clamped into the range of
    // existing sheets. Does nothing before Open.
    void SelectSheet(int index);

    // Renames the current sheet. False when there is no current sheet or the spreadsheet would
    // refuse the name (empty, longer than 31 characters, one of []:*?/\, an apostrophe at either
    // end, or the name of another sheet); the sheet then keeps its name.
    bool SetSheetName(const QString& name);
    QString GetSheetName(int index) const;

    // Writes text into a cell of the current sheet, replacing what was there. False (and nothing
    // written) before Open or for an address that is not a cell (e.g. "B2", "a11" and "XFD1048576"
    // are cells).
    bool SetCellString(const QString& address, const QString& text);

    // Writes the workbook to `path` as a new file; an existing file is never replaced. The file
    // appears complete or not at all. On failure `error` says why and nothing is left behind.
    bool WriteFile(const QString& path, QString& error) const;

    // Cell-address helper: "B2" -> row 1, column 1 (zero-based). False for anything else.
    static bool ParseCellAddress(const QString& address, int& row, int& column);

private:
    struct Cell {
        QString text;          // as it goes into the cell (without a leading apostrophe)
        bool literal = false;  // written with a leading apostrophe: never a number
    };
    struct Sheet {
        QString name;
        std::map<std::pair<int, int>, Cell> cells;  // (row, column) -> cell, in sheet order
    };

    bool WriteXlsx(const QString& path, QString& error) const;
    bool IsNameTaken(const QString& name, int exceptIndex) const;

    bool m_bOpen = false;
    std::vector<Sheet> m_sheets;
    int m_nCurrent = -1;
};

}  // namespace zeb
