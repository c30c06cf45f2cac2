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
    m_sheets.push_back({QStringLiteral("Sheet1"), {}});
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
    m_sheets.push_back({QStringLiteral("Sheet%1").arg(n), {}});
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
    Cell cell;
    cell.literal = text.startsWith(QLatin1Char('\''));
    cell.text = cell.literal ? text.mid(1) : text;
    m_sheets[m_nCurrent].cells[{row, column}] = cell;
    return true;
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
    lxw_format* top = workbook_add_format(book);
    format_set_align(top, LXW_ALIGN_VERTICAL_TOP);

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
        for (const auto& [pos, cell] : sheet.cells) {
            double number = 0;
            lxw_error e;
            if (!cell.literal && AsPlainNumber(cell.text, number)) {
                e = worksheet_write_number(ws, pos.first, pos.second, number, top);
            } else {
                e = worksheet_write_string(ws, pos.first, pos.second,
                                           ToCellText(cell.text).toUtf8().constData(), top);
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
