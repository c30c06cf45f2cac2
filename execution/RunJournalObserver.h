#pragma once
// The run's events written to its journal. The sequencer counts steps from 0, the journal from
// 1; the adapter translates and writes one line per event, never per poll tick. A journal that
// cannot be written never stops the run: the operator is told once, through the message seam,
// and the test goes on without it.

#include <QString>

#include <functional>
#include <memory>

#include "EutMonitor.h"
#include "FileRunJournal.h"
#include "RunEvents.h"

namespace zeb {

class CZebM40Cntl;
class CZebM40SettingsDoc;
class CTestProperty;

// What the operator is told, once, when the journal of a run cannot be written.
QString JournalFailedText(const QString& why);

// The journal's word for how a test ended ("closed" when none ran).
RunEnd RunEndOf(RunOutcome outcome);

class CRunJournalObserver : public IRunObserver {
public:
    // The journal is not owned and must outlive the observer.
    explicit CRunJournalObserver(IRunJournal& journal) : m_journal(journal) {}

    // The first line of the run.
    bool Open(const JournalOpenInfo& info);
    // What the EUT monitor found (its step is 1-based in the request) and the step result it
    // left: the verdict, the command's exit status, how long it took and the beginning of its
    // output, so an auditor sees why a step was judged as it was.
    bool RecordMonitorVerdict(const MonitorVerdict& verdict, int result);
    // The journal itself, for the events that do not come from the run (the issued report).
    IRunJournal& Journal() { return m_journal; }
    // A line could not be written (the operator has been told).
    bool Failed() const { return m_failed; }
    // Hears the first write failure's text (JournalFailedText) instead of the message seam, so
    // that a window can show it without holding the run.
    void SetFailureListener(std::function<void(const QString&)> listener) {
        m_onFailure = std::move(listener);
    }
    // The journal's file, whose close line is tried again later when it cannot be written.
    void SetFilePath(const QString& path) { m_filePath = path; }

    void OnStepStarted(int step, const QStringList& block) override;
    void OnStepEnded(int step, int result, qint64 discharges) override;
    void OnJudgement(int step, int result, const QString& comment, JudgedBy by) override;
    void OnCommentsCleared() override;
    void OnStopSent(StopBy by) override;
    void OnInstrumentError(int code, const QString& text) override;
    void OnLinkLost() override;
    void OnRunEnded(RunOutcome outcome) override;
    void OnReportWritten(const QString& path) override;
    void OnClosed(RunOutcome outcome) override;

private:
    bool Note(bool written);

    IRunJournal& m_journal;
    bool m_failed = false;
    std::function<void(const QString&)> m_onFailure;
    QString m_filePath;
};

// The open event of a run on the connected instrument: the document as it lies on disk (its
// bytes are hashed; an unsaved document hashes as empty), the test environment as it will go
// into the report (set its test date first) and the instrument's identification and port.
JournalOpenInfo RunOpenInfo(const CZebM40SettingsDoc& doc, const CTestProperty& property,
                            const CZebM40Cntl& cntl);

// One journal file for one run (one opening of the run dialog, one zebctl run): the file and
// the observer that writes it.
class CRunJournalFile {
public:
    // A new journal at path; nothing is written before Open().
    bool Create(const QString& path, QString& error);
    // Writes the open line. A failure is told to the operator once; the run goes on.
    bool Open(const JournalOpenInfo& info) { return m_observer.Open(info); }

    CRunJournalObserver& Observer() { return m_observer; }
    CFileRunJournal& File() { return m_file; }
    const QString& Path() const { return m_file.Path(); }

private:
    CFileRunJournal m_file;
    CRunJournalObserver m_observer{m_file};
};

// The name a run's journal carries for doc: its file name without extension ("untitled").
QString RunJournalName(const CZebM40SettingsDoc& doc);

// A new journal in folder, named after doc and the moment, with its open line written. When
// the file cannot be made the operator is told and nullptr comes back: the run goes on.
std::unique_ptr<CRunJournalFile> StartRunJournal(const QString& folder,
                                                 const CZebM40SettingsDoc& doc,
                                                 const JournalOpenInfo& info);
// The same at a given path (zebctl run --journal).
std::unique_ptr<CRunJournalFile> StartRunJournalAt(const QString& path,
                                                   const JournalOpenInfo& info);

}  // namespace zeb
