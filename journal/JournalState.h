#pragma once
// What a journal says about its run, replayed from its events: the document as it was opened,
// every step's result and comment as last recorded, which steps ended, and whether the run was
// closed. Only a journal whose chain is whole is ever read into a state.

#include <QDateTime>
#include <QJsonObject>
#include <QString>

#include <vector>

#include "JournalReader.h"

namespace zeb {

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

}  // namespace zeb
