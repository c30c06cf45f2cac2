#include "JournalClosing.h"

#include <QFileInfo>

#include <algorithm>

#include "FileRunJournal.h"
#include "JournalState.h"
#include "SettingsDoc.h"

namespace zeb {

namespace {
bool CloseInterrupted(const QString& path, RunEnd outcome, const QString& resumedBy,
                      QString& error) {
    JournalState state;
    if (!ReadJournalState(path, state, error)) {
        return false;
    }
    if (state.closed) {
        error = QStringLiteral("%1 is already closed (%2).").arg(path, state.outcome);
        return false;
    }
    CFileRunJournal journal;
    if (!journal.Append(path, error)) {
        return false;
    }
    if (!journal.Close(outcome, resumedBy)) {
        error = journal.LastError();
        return false;
    }
    return true;
}
}  // namespace

bool CloseAbandoned(const QString& path, QString& error) {
    return CloseInterrupted(path, RunEnd::Abandoned, QString(), error);
}

bool CloseResumed(const QString& path, const QString& resumedBy, QString& error) {
    return CloseInterrupted(path, RunEnd::Resumed, resumedBy, error);
}

namespace {
std::vector<std::pair<QString, RunEnd>>& UnwrittenCloses() {
    static std::vector<std::pair<QString, RunEnd>> closes;
    return closes;
}
}  // namespace

void NoteUnwrittenClose(const QString& path, RunEnd outcome) {
    UnwrittenCloses().emplace_back(path, outcome);
}

int RetryUnwrittenCloses() {
    auto& closes = UnwrittenCloses();
    closes.erase(
        std::remove_if(closes.begin(), closes.end(),
                       [](const std::pair<QString, RunEnd>& close) {
                           QString error;
                           JournalState state;
                           if (ReadJournalState(close.first, state, error) && state.closed) {
                               return true;
                           }
                           return CloseInterrupted(close.first, close.second, QString(), error) ||
                                  !QFileInfo::exists(close.first);
                       }),
        closes.end());
    return static_cast<int>(closes.size());
}

void NoteResumedRun(const CZebM40SettingsDoc& doc, QString& resumesJournal,
                    std::vector<int>& endedSteps) {
    if (doc.Resume().journal.isEmpty()) {
        return;
    }
    resumesJournal = QFileInfo(doc.Resume().journal).absoluteFilePath();
    endedSteps = doc.Resume().endedSteps;
}

bool ContinueResumedRun(CZebM40SettingsDoc& doc, const QString& newJournal, QString& error) {
    if (doc.Resume().journal.isEmpty()) {
        return true;
    }
    CZebM40SettingsDoc::RunResume resume = doc.Resume();
    // The journal of an opening that started no test was closed with its dialog; it is
    // continued all the same.
    JournalState old;
    const bool closed =
        (ReadJournalState(resume.journal, old, error) && old.closed) ||
        CloseResumed(resume.journal, QFileInfo(newJournal).absoluteFilePath(), error);
    resume.journal = newJournal;
    doc.SetResume(std::move(resume));
    return closed;
}

}  // namespace zeb
