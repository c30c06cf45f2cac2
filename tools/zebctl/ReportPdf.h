#pragma once
// The issued report (PDF) at the end of zebctl run, as the run dialog issues it.

#include <QString>

namespace zeb {
class CRunJournalFile;
class CTestProperty;
class CZebM40SettingsDoc;
}  // namespace zeb

namespace zebctl {

// Issues the report of the run to path (a new file) and journals its `report` event; the report
// comes from the run's journal when it holds every event, else from the document. Prints
// report_number=, journal_sha256= and pdf_sha256=. False (with a message) when nothing was
// written.
bool IssueRunReportPdf(const zeb::CZebM40SettingsDoc& doc, const zeb::CTestProperty& property,
                       zeb::CRunJournalFile* journal, const QString& path);

}  // namespace zebctl
