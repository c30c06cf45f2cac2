#pragma once
// The test report of a run rebuilt from its journal alone: the document as it was opened, the
// results and comments as last recorded and the test environment of the open line go through
// the same report writer as at the end of the run, so the cells are the same.

#include <QString>

#include "RunJournal.h"

#include "IssuedReport.h"
#include "JournalRecovery.h"
#include "SettingsDoc.h"
#include "TestProperty.h"

namespace zeb {

// Document (with results and comments) and test environment of a journal's run.
bool TestDataFromJournal(const JournalState& state, CZebM40SettingsDoc& doc,
                         CTestProperty& property, QString& error);

// Writes the report of the journal at journalPath to outPath, a new file. Refused for a journal
// that is unreadable or whose chain is broken.
bool WriteReportFromJournal(const QString& journalPath, const QString& outPath, QString& error);

// The issued report of the journal at journalPath, from the journal alone: document, results,
// environment, method check, traceability (the journal's file name and the SHA-256 of its last
// line, as `zebctl journal verify` prints it) and, where the journal records reports issued
// before, the number of the last one as the report this one replaces. The report number and
// the authorisation are left to the caller. Refused for a journal that does not verify.
bool IssuedReportFromJournal(const QString& journalPath, IssuedReport& report, QString& error);

// The issued report of a document that has no usable journal: what the document and its
// environment tell; the traceability names no journal.
IssuedReport IssuedReportWithoutJournal(const CTestProperty& property,
                                        const CZebM40SettingsDoc& doc);

// Records an issued PDF report in a run's journal: a `report` event with `pdf`, `pdf_sha256`
// and `report_number`; a printed one (empty pdfPath) with `printed` and `report_number`.
bool JournalIssuedReport(IRunJournal& journal, const QString& pdfPath, const QByteArray& pdfSha256,
                         const QString& reportNumber);

}  // namespace zeb
