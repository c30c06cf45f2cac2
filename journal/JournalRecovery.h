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

    // The document's file name, for the operator.
    QString DocumentName() const;
};

// Reads, checks and replays a journal. False (with the reason) for a journal that is unreadable,
// broken, does not begin with an open line, or records something impossible (a step beyond the
// step list, an unknown result).
bool ReadJournalState(const QString& path, JournalState& state, QString& error);

// The journals in folder (*.zebrun) that were never closed and whose document hash matches
// documentBytes, oldest first. Broken and foreign journals are left where they are.
std::vector<JournalState> FindUnclosedJournals(const QString& folder,
                                               const QByteArray& documentBytes);

// "The test run of <document> on <date> ended unexpectedly after step n of T. Restore its
// results and comments?"
QString RestoreQuestion(const JournalState& state);

// Puts every step's result and comment back as the journal last recorded them, makes the first
// step not ended the current one and marks the document modified. Refused (doc unchanged) when
// documentBytes do not hash to the journal's document or the step count differs.
bool RestoreFromJournal(const JournalState& state, const QByteArray& documentBytes,
                        CZebM40SettingsDoc& doc, QString& error);

// The document exactly as the journal recorded it at open, with the results and comments as
// last recorded (for a report built from the journal alone).
bool DocumentFromJournal(const JournalState& state, CZebM40SettingsDoc& doc, QString& error);

// Closes an interrupted run's journal with the outcome "abandoned"; the chain goes on. Refused
// for a journal that is broken or already closed.
bool CloseAbandoned(const QString& path, QString& error);

}  // namespace zeb
