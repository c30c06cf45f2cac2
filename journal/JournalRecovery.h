#pragma once
// Restoring an interrupted run: the journals of a document that were never closed, the question
// put to the operator, and the results and comments put back. Only a journal whose chain is
// whole is ever used, and only on a document whose bytes hash to what the journal recorded.

#include <QString>

#include <vector>

#include "JournalClosing.h"
#include "JournalState.h"

namespace zeb {

class CZebM40SettingsDoc;

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

}  // namespace zeb
