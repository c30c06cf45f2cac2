#pragma once
// The ends of interrupted runs: a journal closed as abandoned or as resumed by the run that
// continues it, and close lines a full disk kept out, tried again later.

#include <QString>

#include <vector>

#include "RunJournal.h"

namespace zeb {

class CZebM40SettingsDoc;

// Closes an interrupted run's journal with the outcome "abandoned"; the chain goes on. Refused
// for a journal that is broken or already closed.
bool CloseAbandoned(const QString& path, QString& error);
// Closes an interrupted run's journal with the outcome "resumed", naming the journal of the run
// that continues it.
bool CloseResumed(const QString& path, const QString& resumedBy, QString& error);
// The open info of a run that continues the document's restored run: the journal it resumes
// and the steps that one had ended. Nothing when the document continues no run.
void NoteResumedRun(const CZebM40SettingsDoc& doc, QString& resumesJournal,
                    std::vector<int>& endedSteps);
// A journal whose close line could not be written (a full disk): it is tried again by
// RetryUnwrittenCloses, which the program calls when a document is closed and when it ends.
void NoteUnwrittenClose(const QString& path, RunEnd outcome);
// Tries every noted close line again; the number still not written.
int RetryUnwrittenCloses();

// Once the journal of that run is open: the journal it resumes is closed as resumed, naming
// newJournal, and until a test starts the document's runs continue from newJournal. True when
// the document continues no run or the old journal was closed.
bool ContinueResumedRun(CZebM40SettingsDoc& doc, const QString& newJournal, QString& error);

}  // namespace zeb
