#pragma once
// The test report of a run rebuilt from its journal alone: the document as it was opened, the
// results and comments as last recorded and the test environment of the open line go through
// the same report writer as at the end of the run, so the cells are the same.

#include <QString>

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

}  // namespace zeb
