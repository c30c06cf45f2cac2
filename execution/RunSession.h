#pragma once
// One test run as one object, without a window: the sequencer, its timers, the run's journal
// (or none), the EUT monitor and its gate (or none) and the decision about the report. The run
// dialog and zebctl run each make one, render its state and forward what the operator does;
// neither puts the parts together itself. The settings come in as values: nothing here reads
// the program's settings file (RunSessionSettings::Load is for the caller).

#include <QString>

#include <functional>
#include <memory>

#include "MonitorGate.h"
#include "MonitorSettings.h"
#include "RunSequencer.h"
#include "RunView.h"

namespace zeb {

class CRunJournalFile;
class CRunJournalObserver;
class CTestProperty;
class IEutMonitor;
class IRunJournal;
struct JournalOpenInfo;

struct RunSessionSettings {
    enum class Journal { InFolder, AtPath, None };
    Journal journal = Journal::InFolder;
    QString journalFolder;  // InFolder: a new journal per opening here
    QString journalPath;    // AtPath: this new file (a path that cannot be made refuses the run)
    QString reportFolder;   // where the run dialog's report step writes the workbook
    EutMonitorSettings monitor;  // a monitor that is not Enabled() means none
    QString documentPath;        // the document as the monitor is told of it (empty: its path)

    // The program's settings: journals in the data folder, reports in Documents, the EUT
    // monitor of ZEB.ini.
    static RunSessionSettings Load();
};

// The operator's answer to a check without verdict, through the message seam: OK goes on,
// Cancel stops the test. The session's default answer.
bool AskOperatorToGoOn(const MonitorVerdict& verdict);

// How a session that starts its test by itself (StartWhenReady) gave up before the test ran.
enum class AutoStartEnd { None, NoAnswer, NeedsLine, StayedBusy, Refused };

class CRunSession {
public:
    // With timers null the session runs on real timers of the event loop.
    CRunSession(CZebM40SettingsDoc& doc, CZebM40Cntl& cntl, const CTestProperty& property,
                RunSessionSettings settings, ITimerHost* timers = nullptr);
    ~CRunSession();
    CRunSession(const CRunSession&) = delete;
    CRunSession& operator=(const CRunSession&) = delete;

    // The monitor of the settings, when they set one. False with the reason when its command
    // cannot be used: the run then has no monitor.
    bool UseMonitorOfSettings(QString& error);
    // Judges the steps with `monitor` instead (nullptr: none).
    void SetMonitor(std::unique_ptr<IEutMonitor> monitor, const MonitorGateOptions& options);
    // Drops the monitor: no verdict arrives any more.
    void DropMonitor();

    // The journal of the settings, its open line written for the current step. False with the
    // reason only when a journal path cannot be made (nothing was sent). `notice`: why the run
    // it continues could not be linked to it (the run goes on).
    bool OpenJournal(QString& error, QString& notice);
    // Records into `journal` instead (not owned), its open line written from `info`.
    void UseJournal(IRunJournal& journal, const JournalOpenInfo& info);
    // The sequencer's opening: false for a document without steps.
    bool Open();
    // The end: the monitor goes, polls stop, "PQ0" and "CB" are sent, the journal closes. Once.
    void Close();
    // The journal's close line of a session that ends before Open() (the test never began).
    void CloseUnopened(RunOutcome outcome);

    // The timers' tick (the real timers call it themselves; tests fire it).
    void OnTimer(int id);
    // Starts the test as soon as an idle poll finds START offered, giving up after
    // maxWaitTicks idle polls; zebctl's way of pressing START.
    void StartWhenReady(int maxWaitTicks);
    // STOP from outside the window (a signal): stops a started test, ends a waiting one.
    void StopRequested();
    // The session's run is over: its outcome, and why a test that was waited for never began.
    bool Finished() const { return m_finished; }
    RunOutcome FinalOutcome() const { return m_finalOutcome; }
    AutoStartEnd AutoStartEnded() const { return m_autoEnd; }
    // A test of this session has been started (the report follows it).
    bool TestStarted() const { return m_started; }

    // The workbook of the run at `path` (never replacing a file), journalled once written.
    bool WriteReport(const QString& path, QString& error);

    CRunSequencer& Sequencer() { return m_seq; }
    const CRunSequencer& Sequencer() const { return m_seq; }
    CMonitorGate* Gate() { return m_gate.get(); }
    bool CheckingAfterStep() const { return m_gate && m_gate->CheckingAfterStep(); }
    // The steps' results are as they stand: the run holds for no verdict, which would change
    // the step that ended before it is told.
    bool ResultsSettled() const { return m_seq.Phase() != RunPhase::Holding; }
    CRunJournalFile* JournalFile() { return m_file.get(); }
    QString JournalPath() const;
    const RunSessionSettings& Settings() const { return m_settings; }
    // Everything the run shows, for Project().
    RunSessionState State() const;
    void SetReportFolder(const QString& folder) { m_settings.reportFolder = folder; }
    void SetJournalFolder(const QString& folder) { m_settings.journalFolder = folder; }

    // Hears every change of what the run shows (the panel, the monitor's checking).
    void SetStateListener(std::function<void()> listener) { m_onState = std::move(listener); }
    // Hears every verdict of the monitor, once journalled, with the step result it left.
    void SetVerdictListener(VerdictRecorder listener) { m_onVerdict = std::move(listener); }
    // How a check without verdict is answered (default: AskOperatorToGoOn).
    void SetProblemAnswer(ProblemAnswer answer);
    // Hears the journal's first write failure instead of the message seam.
    void SetJournalFailureListener(std::function<void(const QString&)> listener);
    // Hears the end of the session's run (Finished()).
    void SetFinishListener(std::function<void()> listener) { m_onFinish = std::move(listener); }

private:
    void Tick(int id);
    void AutoStartTick();
    void Finish(RunOutcome outcome, AutoStartEnd why = AutoStartEnd::None);
    void WireJournal(CRunJournalObserver& observer);
    void Changed();

    CZebM40SettingsDoc& m_doc;
    CZebM40Cntl& m_cntl;
    const CTestProperty& m_property;
    RunSessionSettings m_settings;
    std::unique_ptr<ITimerHost> m_ownTimers;
    ITimerHost* m_timers;
    CRunSequencer m_seq;
    std::unique_ptr<CRunJournalFile> m_file;
    std::unique_ptr<CRunJournalObserver> m_otherJournal;  // UseJournal's observer
    CRunJournalObserver* m_journal = nullptr;
    std::unique_ptr<IEutMonitor> m_monitor;
    std::unique_ptr<CMonitorGate> m_gate;  // goes before the monitor and the sequencer
    ProblemAnswer m_answer;
    std::function<void(const QString&)> m_onJournalFailure;
    QString m_journalNotice;  // the journal's write failure, as its listener heard it
    std::function<void()> m_onState;
    std::function<void()> m_onFinish;
    VerdictRecorder m_onVerdict;

    bool m_opened = false;
    bool m_closed = false;
    bool m_waiting = false;  // StartWhenReady: the test is waited for
    int m_waitTicks = 0;
    int m_maxWaitTicks = 0;
    bool m_started = false;
    bool m_finished = false;
    RunOutcome m_finalOutcome = RunOutcome::None;
    AutoStartEnd m_autoEnd = AutoStartEnd::None;
};

}  // namespace zeb
