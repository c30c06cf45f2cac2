#pragma once
// The test report: the test environment, the test conditions of a settings document, every step
// with its judgement and comment, and the overall result, as a new workbook with the sheets
// "Condition", "Content" and " ". The file is new and never replaces another; it is then handed
// to whatever opens spreadsheets on this desktop.

#include <QDateTime>
#include <QString>

#include "MsExcelControl.h"
#include "SettingsDoc.h"
#include "TestProperty.h"

namespace zeb {

// Opens a finished report for the operator (the desktop's spreadsheet program, or nothing).
class IReportOpener {
public:
    virtual ~IReportOpener() = default;
    // False when nothing could open the file.
    virtual bool OpenReport(const QString& path) = 0;
};

// Judgement of the whole test: FAIL if any step failed, else "------" if any step is unjudged,
// else PASS (also for an empty step list). A ResultCode.
int OverallResult(const ExecDataList& steps);

// Fills a freshly opened workbook with the report. False (with `error`) when a sheet name is
// refused, which leaves the workbook incomplete, or when the steps do not fit on a sheet.
bool FillTestReport(CMsExcelControl& xl, const CTestProperty& property,
                    const CZebM40SettingsDoc& doc, QString& error);

// Writes the report of `doc` to `path`; an existing file is refused, never overwritten.
bool WriteTestReport(const CTestProperty& property, const CZebM40SettingsDoc& doc,
                     const QString& path, QString& error);

// text made fit for a file name: characters a file name cannot hold become '_', a text too
// long is shortened, leading dots and blanks go; fallback when nothing is left.
QString FileNameSafe(const QString& text, const QString& fallback);
// Title of the document as the window shows it (the file's base name, or the default title),
// fit for a file name.
QString DocumentTitle(const CZebM40SettingsDoc& doc);

// "<Documents>/ZEB Reports".
QString DefaultReportFolder();

// The name a report of the document written at `now` gets in `folder`:
// "<document title> <yyyy-MM-dd hhmmss>.xlsx", with " (2)", " (3)", ... added when that name is
// taken. Characters that cannot be part of a file name are replaced by '_', and a title too
// long for a file name is shortened.
QString NewReportPath(const QString& folder, const CZebM40SettingsDoc& doc, const QDateTime& now);

// The report command of the test run: writes a new report into `folder` (created when missing)
// and hands it to `opener`. The operator is told through the message seam when the report
// cannot be written, or where it lies when nothing could open it. Returns the file's path, or
// an empty string when no report was written.
QString MakeTestReport(const CTestProperty& property, const CZebM40SettingsDoc& doc,
                       IReportOpener& opener, const QString& folder = DefaultReportFolder(),
                       const QDateTime& now = QDateTime::currentDateTime());

}  // namespace zeb
