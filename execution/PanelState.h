#pragma once
// What the run dialog shows, and the facts of the run it is computed from.
//
// The sequencer keeps RunFacts beside its phase: the steps the panel names, the counters last read,
// what the instrument last reported, the lamp, the focus. The panel is never written: Panel()
// computes it from the facts and the document, whenever anybody asks. The dialog renders it;
// tests compare it whole.

#include <QString>

namespace zeb {

class CZebM40SettingsDoc;

// The controls the sequencer speaks of (focus, default button, keyboard rules).
enum class ExecControl { None, LineOn, LineOff, Start, Stop, List, Close, Other };
// What START does when pressed, and so what it is called.
enum class StartAction { Start, Pause, Resume };
// Which of the line radios is checked (the instrument's line as last shown).
enum class LineShown { None, On, Off };

// Everything the run dialog shows, as one value.
struct RunView {
    bool lineOnEnabled = true;
    bool lineOffEnabled = true;
    LineShown line = LineShown::None;
    bool startEnabled = false;  // START and STOP start disabled; the first idle poll decides
    bool stopEnabled = false;
    StartAction startAction = StartAction::Start;
    ExecControl defaultButton = ExecControl::Start;
    bool lampLit = false;
    bool pauseVisible = false;          // "* PAUSE *"
    bool processingVisible = false;     // the instrument is busy
    bool notConnectedVisible = false;   // no instrument answers
    bool checkingVisible = false;       // the EUT monitor judges the step that ended
    bool journalNoticeVisible = false;  // the run's journal cannot be written
    bool impedanceVisible = false;      // ring-wave impedance caption and value
    // The bulk judgement combo and button, delete comments and the report button: usable only
    // while no test runs.
    bool judgementEnabled = true;
    int selectedRow = -1;

    QString stepNumber;
    QString stepTotal;
    QString dischargeDone;
    QString dischargeTotal;
    QString countdown;
    QString interval;
    QString outputPort;
    QString outputLines;
    QString waveform;
    QString impedance;
    QString remaining;

    bool operator==(const RunView& o) const;
    bool operator!=(const RunView& o) const { return !(*this == o); }
};

// The sequencer's panel: what the dialog shows of the run, and where the focus should be.
struct ExecPanelState : RunView {
    ExecControl focus = ExecControl::None;
};

// The facts of a run the panel shows. Most are "as the instrument last reported it": the
// panel follows the instrument's replies, and between two polls it shows the last one.
struct RunFacts {
    // Steps the panel names, as indices into the document's steps (-1: none yet).
    int openedStep = -1;    // port, lines, waveform, impedance: the step the dialog opened on
    int numberStep = -1;    // the step number: the current step as the panel last followed it
    int totalStep = -1;     // discharges to do: the step the dialog opened on or START began
    int intervalStep = -1;  // the interval: that step, or the one the last run poll found running
    int selectedRow = -1;   // the row of the list the run or the operator selected

    // Counters: the instrument's texts as it wrote them, or our own before it reports.
    QString dischargeDone;
    QString countdown;
    qint64 discharges = 0;  // the same, read as numbers
    qint64 countdownValue = 0;
    qint64 remainingSeconds = 0;
    bool remainingKnown = false;  // an estimate was made (the dialog opened or a step picked)

    // The instrument as the panel last followed it.
    bool answered = true;       // the last idle poll got an answer
    bool busy = false;          // seen preparing or changing a step ("processing")
    bool paused = false;        // our step seen paused
    bool pauseOffered = false;  // our step seen running on a unit that can pause: START pauses
    bool stepSeen = false;      // our step seen at the instrument since START: STOP stops it
    bool testSeen = false;      // a step seen running since the instrument was last ready
    LineShown line = LineShown::None;  // the line as last shown on the radios

    // What the operator may press. These keep history on purpose:
    // - START and LINE ON are locked from START until a poll finds the instrument ready again,
    //   and LINE ON comes back when the step was loaded but not started;
    // - while a step is paused below 2 s of countdown START stays as it was (the operator
    //   may resume a step paused in time, and may not pause one too late);
    // - the coupling unit cannot pause, so a run poll never offers START for it;
    // - the line buttons stay locked after a poll got no answer until one finds the instrument
    //   ready, also when a poll in between finds it busy.
    bool startOffered = false;
    bool lineOnOffered = true;
    bool lineOffOffered = true;

    // The high-voltage lamp: its blink phase while a test runs, the line when idle.
    bool lampLit = false;
    // The default button moves to STOP when a step runs and stays there: Enter never starts.
    bool defaultOnStop = false;
    ExecControl focus = ExecControl::None;
};

// The panel of a run: a pure function of its facts and the document's steps.
ExecPanelState Panel(const RunFacts& facts, const CZebM40SettingsDoc& doc);

}  // namespace zeb
