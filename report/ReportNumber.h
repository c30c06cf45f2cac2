#pragma once
// Numbers of issued reports: the lab's prefix, the year and a counter, "<prefix>-<year>-<nnnn>"
// ("2026-0007" without a prefix). The counter lives in ZEB.ini (INI_SECTION_PROPERTY,
// INI_KEY_REPORT_COUNTER) and never goes down, so no number is ever given twice by one
// installation; it is raised, and the raise read back, before the report's file is written.

#include <QDate>
#include <QString>

namespace zeb {

QString FormatReportNumber(const QString& prefix, int year, qint64 counter);

// The number the next report would get (for a preview); empty with error when the stored
// counter is not a whole number.
QString PeekReportNumber(const QString& prefix, const QDate& date, QString& error);

// Raises the counter and returns the new number. Empty with error when the stored counter is
// not a whole number or the raised one could not be stored: a number that might be given again
// is never used.
QString DrawReportNumber(const QString& prefix, const QDate& date, QString& error);

}  // namespace zeb
