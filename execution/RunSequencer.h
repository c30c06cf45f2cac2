#pragma once
// The test run sequencer: every decision of the run dialog without a window. It opens the run
// on the current step, polls the instrument on the idle and run timers, blinks the lamp,
// handles START, STOP, LINE ON, LINE OFF, Esc, the step spinner, Close and the dialog's end,
// row selection and the judgements, and keeps the remaining-time estimate.
//
// The run is in one RunPhase at a time; every tick and action is a transition of the table in
// RunPhase.h, which this class carries out. It reaches the instrument only through the named
// operations of CZebM40Cntl, the operator only through the message seam and its timers only
// through ITimerHost. What the dialog shows is State(); what a journal records comes through
// IRunObserver; IStepGate may hold the run between steps.

#include <QString>

#include <functional>
#include <optional>

#include "CommandResult.h"
#include "PanelState.h"
#include "RunEvents.h"
#include "RunPhase.h"
#include "StepListModel.h"

namespace zeb {

class CZebM40Cntl;
class CZebM40SettingsDoc;
class ITimerHost;

// The question asked on Close when a test was started or a judgement edited.
QString ReportQuestion();

class CRunSequencer {
public:
    CRunSequencer(CZebM40SettingsDoc& doc, CZebM40Cntl& cntl, ITimerHost& timers);

    // The opening sequence. False, with nothing sent, for a document without steps.
    bool Open();
    // The end of the dialog: polls stop, "PQ0" and "CB" are sent.
    void Destroy();

    void OnTimer(int id);
    void OnStart();
    void OnStop();
    void OnLineOn();
    void OnLineOff();
    void OnStepSpin(int delta);
    // Esc: while STOP is enabled it stops the instrument (without STOP's stopping phase) and
    // is used up (true); otherwise the key is the dialog's.
    bool OnEscape();
    // Whether a key (Enter, Space) may press `control`. START and LINE ON never act on a key:
    // a high voltage must never be released by a stray key.
    static bool KeyMayAct(ExecControl control);
    // Close pressed (or the window manager asked): true when the dialog may close now. With a
    // test started, asks for the report and writes it through the report writer on Yes.
    bool OnClose();
    // Writes the report now. Whatever comes of it, Close no longer offers it.
    void OnReport();
    // The report writer tells the file as soon as it is written (before anything opens it), so
    // the record has it whatever the operator is told next.
    void ReportWritten(const QString& path);
    // Lets a held run go on (see IStepGate); does nothing unless the run is held.
    void ReleaseHold();
    // What the step gate found: an event of the run's table (RunGate.cpp).
    void OnStepFinding(const StepFinding& found);

    // The step list: a row the operator selected, the double-click gate, and the judgements.
    void OnRowSelected(int row);
    bool CanJudge(int row) const;
    void ApplyJudgement(int row, int result, const QString& comment,
                        JudgedBy by = JudgedBy::Operator);
    void OnBulkJudgement(int result);
    void OnDeleteComments();

    // The dialog reports where the focus went, for the countdown rule and Close.
    void NoteFocus(ExecControl control) { m_facts.focus = control; }

    // Called whenever the panel state changed (the dialog renders it).
    void SetStateListener(std::function<void()> listener) { m_onState = std::move(listener); }
    // Writes the test report and returns its path (empty when none was written).
    void SetReportWriter(std::function<QString()> writer) { m_reportWriter = std::move(writer); }
    // Not owned; nullptr detaches.
    void SetObserver(IRunObserver* observer);
    // Not owned; nullptr detaches. The gate is told where the run is from now on.
    void SetStepGate(IStepGate* gate);
    // Hears each verdict once it is on its step (the journal records it there).
    void SetVerdictRecorder(VerdictRecorder recorder) { m_recorder = std::move(recorder); }
    // Answers a check without verdict; none answers Cancel.
    void SetProblemAnswer(ProblemAnswer answer) { m_answer = std::move(answer); }

    RunPhase Phase() const { return m_phase; }
    RunOutcome Outcome() const { return m_outcome; }
    void ClearOutcome() { m_outcome = RunOutcome::None; }
    // The panel, computed from the run's facts (see Panel()).
    ExecPanelState State() const;
    const RunFacts& Facts() const { return m_facts; }
    CStepListModel& ListModel() { return m_list; }
    bool ReportPending() const { return m_reportPending; }
    bool Blinking() const;
    qint64 RemainingSeconds() const { return m_facts.remainingSeconds; }
    // The instrument said it is busy on the last poll.
    bool InstrumentBusy() const { return m_busy; }
    // START may begin a test now: idle, and the line is on where the test needs it.
    bool StartOffered() const;
    // A phase-synchronised AC test, which cannot start while the EUT line is off.
    bool SyncNeedsLine() const;
    // Whether the test condition's port uses the EUT line at all (LINE ON is offered).
    bool LineOnOffered() const;

private:
    // Carrying out transitions (RunSequencer.cpp).
    void Tick(RunEvent event);
    // viewShown: the panel already shows the transition (a held run going on).
    void Carry(const Transition& t, bool viewShown = false);
    bool Perform(RunOp op, const Transition& t);
    // Carries out `then`, decided for the event a transition was cut short for (a held run's
    // release goes on in Running).
    void Follow(const RunInput& next, const Transition& then);
    RunInput Released() const;
    RunInput Found(const StepFinding& found);
    RunInput StopPressed();
    bool Ask(const QString& question, RunEvent ok, RunEvent cancel);
    // The step gate's side of the run (RunGate.cpp).
    bool CheckStep();
    bool PerformGateOp(RunOp op);
    bool AskGoOn();
    void TellGate();
    // Pauses (or resumes) the running step as START does while it runs, by one "CA"; nothing
    // when the instrument does not report the step running, or it already is as asked. Its
    // result goes to the table as START's pause would (false: a failure was noted); `sent`
    // tells whether "CA" went out.
    bool SetPaused(bool pause, bool* sent = nullptr);
    bool Done(RunOp op, const CmdResult& result);
    void Enter(RunPhase phase);
    void EndRun(RunOutcome outcome);
    void ArmPoll(int id);
    void KillPolls();
    int CurrentIndex() const;
    void FinishStep();
    bool NextStep();
    bool LoadCurrentStep();
    bool SwitchLineOn();
    // Reads the instrument's error text and, when it has one, shows it and clears the settings
    // of a coupling unit. The panel shows `view` first. False when that "PQ0" failed.
    bool ReportInstrumentError(PanelView view);

    // The panel's facts (RunPanel.cpp): how they follow a transition's view.
    void ApplyView(PanelView view, quint8 st);
    void FollowIdleReady(quint8 st);
    void FollowRunActive(quint8 st);
    void ShowLine(bool on) { m_facts.line = on ? LineShown::On : LineShown::Off; }
    void Rewind();
    void StartBlink();
    void StopBlink();
    void LampTick();
    void SetRemaining(int index, qint64 done);
    void ReadCounters(int index);
    void ShowStepTexts(int index);
    void SelectRow(int row) { m_facts.selectedRow = row; }
    void MoveDefaultToStop();
    void Changed();

    bool HasStep(int index) const;
    int StepCount() const;
    bool CouplingUnit() const;
    void Judge(int row, int result, JudgedBy by);

    CZebM40SettingsDoc& m_doc;
    CZebM40Cntl& m_cntl;
    ITimerHost& m_timers;
    CStepListModel m_list;
    RunFacts m_facts;
    std::function<void()> m_onState;
    std::function<QString()> m_reportWriter;
    QString m_reportRecorded;  // the report ReportWritten told of during this OnReport
    IRunObserver* m_observer;
    IStepGate* m_gate = nullptr;
    VerdictRecorder m_recorder;
    ProblemAnswer m_answer;

    RunPhase m_phase = RunPhase::Closed;
    RunOutcome m_outcome = RunOutcome::None;
    bool m_reportPending = false;
    bool m_busy = false;
    bool m_lineOn = false;             // the EUT line as the instrument last reported it
    bool m_viewApplied = false;        // the current transition's panel is shown
    quint8 m_status = 0;               // the status byte of the current transition
    int m_finished = 0;                // the step that ended last
    QStringList m_block;               // the parameter block last sent
    std::optional<RunInput> m_failed;  // what cut the current transition short (the next event)
    StepFinding m_finding;             // the gate's finding the current transition is about
    bool m_pausedForAnswer = false;    // PauseStep paused the step for the question
    int m_asking = 0;                  // questions about the gate's findings open
};

}  // namespace zeb
