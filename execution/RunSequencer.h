#pragma once
// The test run sequencer: every decision of the run dialog without a window. It opens the run
// on the current step, polls the instrument on the idle and run timers, blinks the lamp,
// handles START, STOP, LINE ON, LINE OFF, the step spinner, the keyboard rules, Close and the
// dialog's end, row selection and the judgements, and keeps the remaining-time estimate. It
// reaches the instrument only through CZebM40Cntl, the operator only through the message seam
// and its timers only through ITimerHost; what the dialog shows is State().

#include <QString>

#include <functional>

#include "PanelState.h"
#include "StepListModel.h"

namespace zeb {

class CZebM40Cntl;
class CZebM40SettingsDoc;
class ITimerHost;

// The timers of the run dialog and their periods.
namespace runtimer {
constexpr int kIdlePoll = 0;
constexpr int kRunPoll = 1;
constexpr int kLamp = 2;
constexpr int kPollMs = 100;
constexpr int kLampMs = 500;
}  // namespace runtimer

// How the last test of this dialog ended.
enum class RunOutcome { None, Complete, Stopped, Error, NoLink };

// Keys the dialog hands over before its own handling, and what it should then do.
enum class ExecKey { Enter, Space, Escape, Left, Up, Right, Down, Other };
enum class KeyAction { Default, Swallow, Tab, FocusLineOn };

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
    KeyAction OnKey(ExecKey key);
    // Close pressed (or the window manager asked): true when the dialog may close now. With a
    // test started, asks for the report and writes it through the report writer on Yes.
    bool OnClose();
    void OnReport();

    // The step list: a row the operator selected, the double-click gate, and the judgements.
    void OnRowSelected(int row);
    bool CanJudge(int row) const;
    void ApplyJudgement(int row, int result, const QString& comment);
    void OnBulkJudgement(int result);
    void OnDeleteComments();

    // The dialog reports where the focus went, for the keyboard and countdown rules.
    void NoteFocus(ExecControl control) { m_state.focus = control; }

    // Called whenever the panel state changed (the dialog renders it).
    void SetStateListener(std::function<void()> listener) { m_onState = std::move(listener); }
    // Writes the test report (the dialog's or zebctl's way of doing it).
    void SetReportWriter(std::function<void()> writer) { m_reportWriter = std::move(writer); }

    const ExecPanelState& State() const { return m_state; }
    CStepListModel& ListModel() { return m_list; }
    int RunState() const { return m_nRunState; }
    bool StopRequested() const { return m_bStopRequested; }
    bool ReportPending() const { return m_bReportPending; }
    bool Blinking() const { return m_bBlinking; }
    RunOutcome Outcome() const { return m_outcome; }
    void ClearOutcome() { m_outcome = RunOutcome::None; }
    qint64 RemainingSeconds() const { return m_remainingSeconds; }
    // A phase-synchronised AC test, which cannot start while the EUT line is off.
    bool SyncNeedsLine() const;
    // Whether the test condition's port uses the EUT line at all (LINE ON is offered).
    bool LineOnOffered() const;

private:
    void IdleTick();
    void RunTick();
    void LampTick();
    void StartBlink();
    void StopBlink();
    void ShowLamp(bool lit);
    void EndTest(RunOutcome outcome);
    void SetRemaining(int index, qint64 done);
    qint64 RefreshCounters(int index);
    void ShowStepTexts(int index);
    void SelectRow(int row);
    void ArmPoll(int id);
    void MoveDefaultToStop();
    bool HasStep(int index) const;
    int StepCount() const;
    bool CouplingUnit() const;
    // Reads the instrument's error text and, when it has one, shows it and clears the settings
    // of a coupling unit.
    void ShowInstrumentError();
    void Changed();

    CZebM40SettingsDoc& m_doc;
    CZebM40Cntl& m_cntl;
    ITimerHost& m_timers;
    CStepListModel m_list;
    ExecPanelState m_state;
    std::function<void()> m_onState;
    std::function<void()> m_reportWriter;

    int m_nRunState = 0;  // 0 idle, 1 running, 2 paused
    bool m_bStopRequested = false;
    bool m_bReportPending = false;
    bool m_bLampLit = false;
    bool m_bBlinking = false;
    bool m_opened = false;
    RunOutcome m_outcome = RunOutcome::None;
    qint64 m_remainingSeconds = 0;
};

}  // namespace zeb
