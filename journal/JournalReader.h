#pragma once
// Reads a run journal line by line and checks it: every line a JSON object, seq counting from 1
// without gaps, and each line's prev equal to the SHA-256 of the line before it. Memory stays
// bounded: lines are read in pieces and a line longer than journal::kMaxLineBytes is refused
// unread. The one damage tolerated is a last line without its line feed, cut off by a crash
// while it was written: it is skipped, and the check says so.

#include <QIODevice>
#include <QJsonObject>
#include <QString>

#include <functional>

namespace zeb {

struct JournalEntry {
    qint64 seq = 0;
    QString time;
    QString event;
    QJsonObject line;  // the whole object, seq, time, event and prev included
};

struct JournalCheck {
    enum Status { Whole, Broken, Unreadable };
    Status status = Unreadable;
    qint64 lines = 0;       // whole lines read and checked before any fault
    qint64 badSeq = 0;      // Broken: the first seq that cannot be trusted
    QString why;            // Broken or Unreadable: what is wrong
    qint64 cutBytes = 0;    // bytes of a cut-off last line that were skipped (0: none)
    QByteArray lastHash;    // hex SHA-256 of the last whole line (where a next line would chain)
    qint64 wholeBytes = 0;  // bytes up to and including the last whole line's line feed

    bool IsWhole() const { return status == Whole; }
    // One readable sentence: "whole: 12 lines", "broken at seq 4: ...", ...
    QString Describe() const;
};

using JournalVisitor = std::function<void(const JournalEntry&)>;

// Reads and checks the journal in device (opened for reading). Each line is handed to visit as
// soon as it has been read; a line later found changed is named by the check, so the caller
// trusts what it collected only when the result is Whole. Reading stops at the first fault.
JournalCheck ReadJournal(QIODevice& device, const JournalVisitor& visit = {});
// The same for a file; Unreadable when it is missing, not a regular file or cannot be read.
JournalCheck ReadJournalFile(const QString& path, const JournalVisitor& visit = {});

}  // namespace zeb
