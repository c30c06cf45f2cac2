#pragma once
// What a journal says about its run, for restoring an interrupted run and for reports: the
// document as it was opened, every step's result and comment as last recorded, which steps
// ended, and whether the run was closed. Only a journal whose chain is whole is ever used, and
// only on a document whose bytes hash to what the journal recorded.

#include <QDateTime>
#include <QJsonObject>
#include <QString>

#include <vector>

#include "JournalReader.h"
#include "RunJournal.h"

namespace zeb {

class CZebM40SettingsDoc;

struct JournalState {
    QString path;
    JournalCheck check;
    QJsonObject open;   // the open line as written
    QDateTime started;  // time of the open line (UTC)
    QByteArray documentSha256;
    int stepCount = 0;
    std::vector<int> results;  // ResultCode per step, as last recorded
    std::vector<QString> comments;
    std::vector<bool> ended;  // a step-end was recorded (here or in the journal it resumes)
    int lastStepEnded = 0;    // 1-based step of the last step-end; 0 when none
    int firstNotEnded = 0;    // 0-based step the run would go on with; stepCount when none
    bool closed = false;
    QString outcome;  // of the close line
    // A line of it could not be written (WriteFailureMarkerPath): it stopped for that reason,
    // not because the program ended unexpectedly.
    bool writeFailed = false;

    // The document's file name, for the operator.
    QString DocumentName() const;
};

// Reads, checks and replays a journal. False (with the reason) for a journal that is unreadable,
// broken, does not begin with an open line, or records something impossible (a step beyond the
// step list, an unknown result).
bool ReadJournalState(const QString& path, JournalState& state, QString& error);

// A journal of a document whose chain does not verify: where, and why (JournalCheck::Describe
// or what made it impossible).
struct BrokenJournal {
    QString path;
    QString why;
};

// The journals in folder (*.zebrun) of the document at documentPath that were never closed and
// whose document hash matches documentBytes, oldest first. A journal belongs to the document
// at the path it recorded (both paths compared with symbolic links resolved), so a copy of the
// file elsewhere is never offered another document's run. Journals of this document that do
// not verify go to `broken` when given; no journal is ever changed here.
std::vector<JournalState> FindUnclosedJournals(const QString& folder, const QString& documentPath,
                                               const QByteArray& documentBytes,
                                               std::vector<BrokenJournal>* broken = nullptr);

// Whether two paths name the same file (symbolic links resolved; a missing file by its clean
// absolute path).
bool SameDocumentPath(const QString& a, const QString& b);

// "The test run of <document> on <date> ended unexpectedly after step n of T. Restore its
// results and comments?"; for a journal that stopped because it could not be written: "The
// journal of this run could not be written after step n. Its results up to then can be
// restored." and the same question.
QString RestoreQuestion(const JournalState& state);
// What the operator is told when a document opens about a journal of it that does not verify.
QString BrokenJournalNotice(const BrokenJournal& broken);

// Puts every step's result and comment back as the journal last recorded them, makes the first
// step not ended the current one, notes the run for the document's next test to continue
// (CZebM40SettingsDoc::Resume) and marks the document modified. Refused (doc unchanged) when
// documentBytes do not hash to the journal's document or the step count differs.
bool RestoreFromJournal(const JournalState& state, const QByteArray& documentBytes,
                        CZebM40SettingsDoc& doc, QString& error);

// The document exactly as the journal recorded it at open, with the results and comments as
// last recorded (for a report built from the journal alone).
bool DocumentFromJournal(const JournalState& state, CZebM40SettingsDoc& doc, QString& error);

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
