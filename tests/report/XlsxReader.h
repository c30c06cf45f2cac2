#pragma once
// Reads back what the report wrote: sheet names in order and every cell with its value, whether
// it is a number, and whether it is aligned to the top. Enough of the .xlsx format for checking
// our own files, not a general reader.

#include <QString>

#include <map>
#include <vector>

namespace zeb::test {

struct XlsxCell {
    QString value;
    bool number = false;
    bool top = false;
};

struct XlsxSheet {
    QString name;
    std::map<QString, XlsxCell> cells;  // by A1 address
    // Value of a cell, or "<absent>" when the sheet has no such cell at all.
    QString At(const QString& address) const {
        const auto it = cells.find(address);
        return it == cells.end() ? QStringLiteral("<absent>") : it->second.value;
    }
};

// False (with the reason in `error`) when the file is not a workbook we can read.
bool ReadXlsx(const QString& path, std::vector<XlsxSheet>& sheets, QString& error);

}  // namespace zeb::test
