#include "MsExcelControl.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>

#include <xlsxwriter.h>

#include <algorithm>
#include <cmath>

namespace zeb {

namespace {

// Limits of the .xlsx format.
constexpr int kMaxColumns = 16384;
constexpr int kMaxSheetName = 31;
constexpr int kMaxCellText = 32767;

// Text that the spreadsheet would take as a number when typed: optional sign, digits, optional
// decimal point with digits. No exponents, no thousands separators, no blanks.
bool AsPlainNumber(const QString& text, double& value) {
    static const QRegularExpression number(QStringLiteral("^[+-]?([0-9]+(\\.[0-9]*)?|\\.[0-9]+)$"));
    if (!number.match(text).hasMatch()) {
        return false;
    }
    bool ok = false;
    value = text.toDouble(&ok);  // QString::toDouble always reads a '.' decimal point
    return ok && std::isfinite(value);
}

// A spreadsheet reads "_xHHHH_" in a text cell as the character with that code; that is how
// the file carries characters XML cannot hold. Text that contains such a sequence itself gets its
// underscore written as "_x005F_" (itself read as "_"), so the cell shows exactly what was typed;
// the two non-characters U+FFFE and U+FFFF, which would make the file unreadable, are written
// as codes. (Control characters are written as codes by libxlsxwriter.)
QString ToCellText(const QString& text) {
    static const QRegularExpression code(QStringLiteral("_(?=[xX][0-9A-Fa-f]{4}_)"));
    QString escaped = text;
    if (escaped.contains(QLatin1String("_x"), Qt::CaseInsensitive)) {
        escaped.replace(code, QStringLiteral("_x005F_"));
    }
    escaped.replace(QChar(0xFFFE), QStringLiteral("_xFFFE_"));
    escaped.replace(QChar(0xFFFF), QStringLiteral("_xFFFF_"));
    return escaped;
}

// Column widths are counted in digits of the default font; these factors turn a text into that
// unit closely enough for a column that neither cuts its text nor wastes paper.
constexpr double kBoldFactor = 1.1;
constexpr double kCellMargin = 1.5;
constexpr double kRowHeight = 15.0;      // points, one line of the default font
constexpr double kMaxRowHeight = 409.0;  // the spreadsheet's limit

bool IsWide(char32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

double CharWidth(char32_t c) {
    if (IsWide(c)) {
        return 2.0;
    }
    if ((c >= 'A' && c <= 'Z') || c == 'm' || c == 'w' || c == '@' || c == '%') {
        return 1.2;
    }
    return 1.0;
}

// Lines a text takes in a column of the given width when it wraps there.
int WrappedLines(const QString& text, bool bold, double columnWidth) {
    const double room = std::max(1.0, columnWidth - kCellMargin);
    int lines = 0;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const double width = CMsExcelControl::TextWidth(line, bold) - kCellMargin;
        lines += std::max(1, static_cast<int>(std::ceil(width / room)));
    }
    return lines;
}

bool IsBold(const CellStyle& style) {
    return style.bold || style.fill == CellFill::Bad;
}

// One format per combination of looks, made when first needed; every one aligns to the top.
class FormatCache {
public:
    explicit FormatCache(lxw_workbook* book) : m_book(book) {}

    lxw_format* Get(const CellStyle& style, bool wrap) {
        const int key = (style.bold ? 1 : 0) | (style.grid ? 2 : 0) | (wrap ? 4 : 0) |
                        (static_cast<int>(style.fill) << 3);
        const auto it = m_formats.find(key);
        if (it != m_formats.end()) {
            return it->second;
        }
        lxw_format* format = workbook_add_format(m_book);
        format_set_align(format, LXW_ALIGN_VERTICAL_TOP);
        if (IsBold(style)) {
            format_set_bold(format);
        }
        if (style.grid) {
            format_set_border(format, LXW_BORDER_THIN);
        }
        if (wrap) {
            format_set_text_wrap(format);
        }
        if (style.fill != CellFill::None) {
            const bool good = style.fill == CellFill::Good;
            format_set_pattern(format, LXW_PATTERN_SOLID);
            format_set_bg_color(format, good ? 0xC6EFCE : 0xFFC7CE);
            format_set_font_color(format, good ? 0x006100 : 0x9C0006);
        }
        m_formats.emplace(key, format);
        return format;
    }

private:
    lxw_workbook* m_book;
    std::map<int, lxw_format*> m_formats;
};

QString CellName(int row, int column) {
    QString letters;
    for (int c = column + 1; c > 0; c = (c - 1) / 26) {
        letters.prepend(QChar('A' + (c - 1) % 26));
    }
    return letters + QString::number(row + 1);
}

}  // namespace

bool CMsExcelControl::Open() {
    m_sheets.clear();
    m_sheets.push_back({QStringLiteral("Sheet1"), {}, {}});
    m_nCurrent = 0;
    m_bOpen = true;
    return true;
}

bool CMsExcelControl::IsNameTaken(const QString& name, int exceptIndex) const {
    for (int i = 0; i < GetSheetCount(); ++i) {
        if (i != exceptIndex && m_sheets[i].name.compare(name, Qt::CaseInsensitive) == 0) {
            return true;
        }
    }
    return false;
}

void CMsExcelControl::AddSheet() {
    if (!m_bOpen) {
        return;
    }
    int n = GetSheetCount() + 1;
    while (IsNameTaken(QStringLiteral("Sheet%1").arg(n), -1)) {
        ++n;
    }
    m_sheets.push_back({QStringLiteral("Sheet%1").arg(n), {}, {}});
}

void CMsExcelControl::SelectSheet(int index) {
    if (!m_bOpen || m_sheets.empty()) {
        return;
    }
    m_nCurrent = std::clamp(index, 0, GetSheetCount() - 1);
}

bool CMsExcelControl::SetSheetName(const QString& name) {
    if (m_nCurrent < 0) {
        return false;
    }
    if (name.isEmpty() || name.size() > kMaxSheetName || name.startsWith(QLatin1Char('\'')) ||
        name.endsWith(QLatin1Char('\''))) {
        return false;
    }
    for (const QChar c : name) {
        if (QStringLiteral("[]:*?/\\").contains(c) || c.unicode() < 0x20) {
            return false;
        }
    }
    if (IsNameTaken(name, m_nCurrent)) {
        return false;
    }
    m_sheets[m_nCurrent].name = name;
    return true;
}

QString CMsExcelControl::GetSheetName(int index) const {
    return index >= 0 && index < GetSheetCount() ? m_sheets[index].name : QString();
}

bool CMsExcelControl::ParseCellAddress(const QString& address, int& row, int& column) {
    static const QRegularExpression cell(QStringLiteral("^([A-Za-z]{1,3})([1-9][0-9]{0,6})$"));
    const QRegularExpressionMatch m = cell.match(address);
    if (!m.hasMatch()) {
        return false;
    }
    int c = 0;
    for (const QChar ch : m.captured(1)) {
        c = c * 26 + (ch.toUpper().unicode() - 'A' + 1);
    }
    const int r = m.captured(2).toInt();
    if (c > kMaxColumns || r > CMsExcelControl::kMaxRows) {
        return false;
    }
    row = r - 1;
    column = c - 1;
    return true;
}

bool CMsExcelControl::SetCellString(const QString& address, const QString& text) {
    int row = 0;
    int column = 0;
    if (m_nCurrent < 0 || !ParseCellAddress(address, row, column)) {
        return false;
    }
    // A cell written again keeps its looks, as in a spreadsheet.
    Cell& cell = m_sheets[m_nCurrent].cells[{row, column}];
    cell.literal = text.startsWith(QLatin1Char('\''));
    cell.text = cell.literal ? text.mid(1) : text;
    return true;
}

QString CMsExcelControl::GetCellText(const QString& address) const {
    int row = 0;
    int column = 0;
    if (m_nCurrent < 0 || !ParseCellAddress(address, row, column)) {
        return QString();
    }
    const auto& cells = m_sheets[m_nCurrent].cells;
    const auto it = cells.find({row, column});
    return it == cells.end() ? QString() : it->second.text;
}

bool CMsExcelControl::SetCellStyle(const QString& address, const CellStyle& style) {
    int row = 0;
    int column = 0;
    if (m_nCurrent < 0 || !ParseCellAddress(address, row, column)) {
        return false;
    }
    auto& cells = m_sheets[m_nCurrent].cells;
    const auto it = cells.find({row, column});
    if (it == cells.end()) {
        return false;
    }
    it->second.style = style;
    return true;
}

void CMsExcelControl::SetSheetLayout(const SheetLayout& layout) {
    if (m_nCurrent >= 0) {
        m_sheets[m_nCurrent].layout = layout;
    }
}

double CMsExcelControl::TextWidth(const QString& text, bool bold) {
    double longest = 0;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        double width = 0;
        for (const char32_t c : line.toUcs4()) {
            width += CharWidth(c);
        }
        longest = std::max(longest, width);
    }
    return longest * (bold ? kBoldFactor : 1.0) + kCellMargin;
}

bool CMsExcelControl::WriteFile(const QString& path, QString& error) const {
    if (!m_bOpen) {
        error = QStringLiteral("No workbook is open.");
        return false;
    }
    if (QFileInfo::exists(path)) {
        error = QStringLiteral("The file already exists: %1").arg(QDir::toNativeSeparators(path));
        return false;
    }
    // Written under a temporary name in the target folder and renamed when complete: the report
    // file appears whole or not at all, and the rename refuses to replace a file that appeared
    // in the meantime.
    const QFileInfo target(path);
    QTemporaryFile temp(target.absolutePath() + QStringLiteral("/.zeb-report-XXXXXX.tmp"));
    if (!temp.open()) {
        error = QStringLiteral("Cannot create a file in %1: %2")
                    .arg(QDir::toNativeSeparators(target.absolutePath()), temp.errorString());
        return false;
    }
    temp.close();
    if (!WriteXlsx(temp.fileName(), error)) {
        return false;
    }
    QFile written(temp.fileName());
    if (!written.rename(path)) {
        error = QStringLiteral("Cannot save %1: %2")
                    .arg(QDir::toNativeSeparators(path), written.errorString());
        written.remove();
        return false;
    }
    temp.setAutoRemove(false);  // its name now belongs to the report
    // A temporary file is private to its owner; the report is an ordinary document that the
    // operator's other programs (and colleagues on a shared folder) must be able to read.
    written.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                           QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ReadGroup |
                           QFileDevice::ReadOther);
    return true;
}

bool CMsExcelControl::WriteXlsx(const QString& path, QString& error) const {
    // Names and texts are checked first: libxlsxwriter would refuse them half-way through.
    for (const Sheet& sheet : m_sheets) {
        for (const auto& [pos, cell] : sheet.cells) {
            if (cell.text.size() > kMaxCellText) {
                error = QStringLiteral(
                            "The text of cell %1 on sheet \"%2\" is longer than %3 "
                            "characters.")
                            .arg(CellName(pos.first, pos.second), sheet.name)
                            .arg(kMaxCellText);
                return false;
            }
        }
    }
    const QByteArray fileName = QFile::encodeName(path);
    lxw_workbook* book = workbook_new(fileName.constData());
    if (!book) {
        error = QStringLiteral("Cannot start the workbook file %1.").arg(path);
        return false;
    }
    FormatCache formats(book);

    lxw_error failure = LXW_NO_ERROR;
    QString where;
    for (const Sheet& sheet : m_sheets) {
        const QByteArray name = sheet.name.toUtf8();
        lxw_worksheet* ws = workbook_add_worksheet(book, name.constData());
        if (!ws) {
            failure = workbook_validate_sheet_name(book, name.constData());
            where = QStringLiteral("sheet name \"%1\"").arg(sheet.name);
            break;
        }
        const SheetLayout& layout = sheet.layout;
        std::map<int, double> widths;  // column -> fitted width
        if (layout.fitColumns) {
            for (const auto& [pos, cell] : sheet.cells) {
                const double width = std::clamp(TextWidth(cell.text, IsBold(cell.style)),
                                                kMinColumnWidth, kMaxColumnWidth);
                widths[pos.second] = std::max(widths[pos.second], width);
            }
        }
        std::map<int, int> rowLines;  // row -> lines its tallest wrapped cell needs
        for (const auto& [pos, cell] : sheet.cells) {
            double number = 0;
            lxw_error e;
            const bool asNumber = !cell.literal && AsPlainNumber(cell.text, number);
            bool wrap = false;
            if (layout.fitColumns && !asNumber) {
                const bool bold = IsBold(cell.style);
                wrap = cell.text.contains(QLatin1Char('\n')) ||
                       TextWidth(cell.text, bold) > widths[pos.second];
                if (wrap) {
                    int& lines = rowLines[pos.first];
                    lines = std::max(lines, WrappedLines(cell.text, bold, widths[pos.second]));
                }
            }
            lxw_format* format = formats.Get(cell.style, wrap);
            if (asNumber) {
                e = worksheet_write_number(ws, pos.first, pos.second, number, format);
            } else {
                e = worksheet_write_string(ws, pos.first, pos.second,
                                           ToCellText(cell.text).toUtf8().constData(), format);
            }
            if (e != LXW_NO_ERROR) {
                failure = e;
                where = QStringLiteral("cell %1 on sheet \"%2\"")
                            .arg(CellName(pos.first, pos.second), sheet.name);
                break;
            }
        }
        if (failure != LXW_NO_ERROR) {
            break;
        }
        for (const auto& [column, width] : widths) {
            worksheet_set_column(ws, column, column, width, nullptr);
        }
        for (const auto& [row, lines] : rowLines) {
            if (lines > 1) {
                worksheet_set_row(ws, row, std::min(kMaxRowHeight, lines * kRowHeight), nullptr);
            }
        }
        if (layout.landscape) {
            worksheet_set_landscape(ws);
        }
        if (layout.fitToPageWidth) {
            worksheet_fit_to_pages(ws, 1, 0);
        }
        if (layout.repeatRow >= 0 && layout.repeatRow < kMaxRows) {
            worksheet_repeat_rows(ws, layout.repeatRow, layout.repeatRow);
        }
    }
    // workbook_close writes the file and frees the workbook in every case.
    const lxw_error closed = workbook_close(book);
    if (failure == LXW_NO_ERROR && closed != LXW_NO_ERROR) {
        failure = closed;
        where = QDir::toNativeSeparators(path);
    }
    if (failure != LXW_NO_ERROR) {
        error = QStringLiteral("Cannot write the workbook (%1): %2")
                    .arg(where, QString::fromUtf8(lxw_strerror(failure)));
        QFile::remove(path);
        return false;
    }
    return true;
}

}  // namespace zeb
