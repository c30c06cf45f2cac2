#pragma once
// The spreadsheet layer behind the test report. It keeps the operations of a spreadsheet
// automation client -- open a new workbook, pick a worksheet by position, name it, put text into
// cells by A1 address -- but builds the workbook in memory and writes it as an .xlsx file when
// the report is complete. No spreadsheet program is needed to write a report.
//
// Cell text follows the spreadsheet's input rules: a leading apostrophe marks literal text and is
// not part of the cell; any other text that is a plain decimal number becomes a number cell; the
// rest is text. Every written cell is aligned to the top.
//
// Presentation comes on top and never changes what a cell holds: a style (bold, a thin grid,
// a good/bad fill) for cells already written, and per sheet the page set-up and column widths
// fitted to the texts when the file is written.

#include <QString>

#include <map>
#include <utility>
#include <vector>

namespace zeb {

// Looks of a cell. The fills are the spreadsheet's usual "good" and "bad" colours: a light
// green or red background with dark text of the same hue, so the word stays readable in
// black-and-white print; bad text is also bold so it stands out there.
enum class CellFill { None, Good, Bad };

struct CellStyle {
    bool bold = false;
    bool grid = false;  // thin border on all four sides
    CellFill fill = CellFill::None;
};

// Page set-up and column fitting of one worksheet.
struct SheetLayout {
    bool landscape = false;
    bool fitToPageWidth = false;  // scaled to one page wide, as many pages tall as needed
    int repeatRow = -1;           // zero-based row printed at the top of every page; -1 none
    // Each column that holds cells gets the width of its longest text (no narrower than
    // kMinColumnWidth, no wider than kMaxColumnWidth); longer texts and texts with line breaks
    // wrap inside the cell and their row grows to show every line.
    bool fitColumns = false;
};

class CMsExcelControl {
public:
    // Rows of a worksheet: the last cell address is row 1048576.
    static constexpr int kMaxRows = 1048576;
    // Column widths in characters of the default font (the spreadsheet's own unit).
    static constexpr double kMinColumnWidth = 4.0;
    static constexpr double kMaxColumnWidth = 50.0;

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

    // Text of a cell of the current sheet as it will be stored (without a leading apostrophe);
    // empty for a cell never written.
    QString GetCellText(const QString& address) const;

    // Gives a cell of the current sheet its looks. False (and nothing changed) for a cell that
    // was never written: presentation never adds a cell.
    bool SetCellStyle(const QString& address, const CellStyle& style);
    // Page set-up and column fitting of the current sheet. Does nothing before Open.
    void SetSheetLayout(const SheetLayout& layout);

    // Width the column needs for this text: its longest line in characters of the default font,
    // wide (East Asian) characters counted double, capitals a little wider, bold a tenth wider,
    // plus a margin on either side.
    static double TextWidth(const QString& text, bool bold);

    // Writes the workbook to `path` as a new file; an existing file is never replaced. The file
    // appears complete or not at all. On failure `error` says why and nothing is left behind.
    bool WriteFile(const QString& path, QString& error) const;

    // Cell-address helper: "B2" -> row 1, column 1 (zero-based). False for anything else.
    static bool ParseCellAddress(const QString& address, int& row, int& column);

private:
    struct Cell {
        QString text;          // as it goes into the cell (without a leading apostrophe)
        bool literal = false;  // written with a leading apostrophe: never a number
        CellStyle style;
    };
    struct Sheet {
        QString name;
        std::map<std::pair<int, int>, Cell> cells;  // (row, column) -> cell, in sheet order
        SheetLayout layout;
    };

    bool WriteXlsx(const QString& path, QString& error) const;
    bool IsNameTaken(const QString& name, int exceptIndex) const;

    bool m_bOpen = false;
    std::vector<Sheet> m_sheets;
    int m_nCurrent = -1;
};

}  // namespace zeb
