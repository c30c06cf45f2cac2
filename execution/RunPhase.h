#pragma once
// The phase of a test run and the table of its transitions. Every poll tick and every operator
// action is an event; from the phase, the instrument's status byte and the event the table
// decides the next phase, what is sent to the instrument, what the operator is told and how
// the panel looks. Nothing here talks to the instrument or knows a widget: the sequencer
// carries a transition out, and tests read the table directly.

#include <QString>
#include <QtGlobal>

#include <optional>
#include <vector>

#include "EutMonitor.h"

namespace zeb {

enum class RunPhase {
    Closed,    // the run dialog is not open (before the opening, after its end)
    Idle,      // no test of ours; the instrument is ready
    Busy,      // no test of ours; the instrument is preparing or changing a step
    LinkLost,  // no test of ours; the instrument does not answer the idle poll
    Starting,  // START loaded the step and asks "Test starting."
    Running,   // our test runs
    Paused,    // our test is paused at the instrument
    Stopping,  // STOP was pressed: the test ends as stopped once the instrument stops
    Holding,   // a step ended; the step gate holds the run before the next step
    Ending,    // the test has ended; the next idle poll tells what the instrument does
};

// How the last test of this dialog ended.
enum class RunOutcome { None, Complete, Stopped, Error, NoLink };

enum class RunEvent {
    IdleTick,         // timer 0, with the status byte
    RunTick,          // timer 1, with the status byte
    Start,            // START pressed, with the status byte it found
    StartConfirmed,   // OK on "Test starting."
    StartCancelled,   // Cancel on "Test starting."
    Stop,             // STOP pressed (or zebctl's signal)
    Escape,           // Esc while STOP is enabled
    LineOnPressed,    // LINE ON pressed with the line switchable (the status byte it found)
    LineOnConfirmed,  // OK on "The EUT LINE will turn ON."
    LineOnCancelled,  // Cancel on it
    LineOff,          // LINE OFF pressed
    StepRefused,      // the step check refused the step's parameter block (RunInput::detail)
    CommandFailed,    // RunInput::failedOp got no ACK, timed out or found the link gone
    Released,         // the step gate lets the run go on after the step that ended
    Opened,           // the run dialog opened on the current step
    // What the step gate found (RunInput::verdict, failedDuring, stopOnFail). The finding goes
    // on its step whatever the phase; only the run it was about goes on or stops.
    VerdictAfterStep,   // the verdict on the step that ended, which the run may hold for
    VerdictDuringStep,  // the verdict of a check while a step ran
    CheckNotStarted,    // the check after the step could not be started: the run goes on
    // The operator's answer to "The EUT monitor gave no verdict on step %1: ..."
    // (RunInput::duringStep, pausedForAnswer).
    GoOnAfterProblem,  // OK
    StopAfterProblem,  // Cancel, or nobody to answer
};

// What a transition does, in this order. Instrument operations first, then run bookkeeping.
enum class RunOp {
    ClearSettings,  // CZebM40Cntl::ClearSettings: the loaded parameters are forgotten
    Stop,           // CZebM40Cntl::StopTest
    LineOff,        // CZebM40Cntl::LineOff
    AskLineOn,      // "The EUT LINE will turn ON.": the answer is the next event
    LineOn,         // CZebM40Cntl::LineOn
    LoadStep,       // the current step's parameter block
    ShowStep,       // the same block as the dialog opens, so the instrument shows the step
    AskStart,       // "Test starting.": the answer is the next event
    BeginTest,      // the test begins: its report is due and its first step reads "------"
    StartStep,      // CZebM40Cntl::StartTest on a loaded step
    PauseResume,    // CZebM40Cntl::PauseResume on a running step
    NextStep,       // stop, the next step's block, start
    ReadCounters,   // discharges done and countdown into the panel
    ReportError,    // the instrument's error text, shown when there is one
    FinishStep,     // the step passed; another step becomes current
    CheckStep,      // the step gate judges the step that ended (the run holds meanwhile)
    Say,            // the transition's message
    Rewind,         // back to the first step after a complete test
    MarkStep,       // the gate's finding goes on its step (result, comment) and into the record
    PauseStep,      // pauses the running step by one CZebM40Cntl::PauseResume, when unpaused
    AskGoOn,        // the monitor gave no verdict: the operator's answer is the next event
    ResumeStep,     // resumes the step PauseStep paused
    StopTest,       // the test ends as STOP ends it: STOP is the next event
    Release,        // the held run goes on: Released is the next event
};

// How the panel follows the transition (what the run dialog shows).
enum class PanelView {
    Keep,          // nothing changes
    NotConnected,  // the idle poll got no answer
    Reply,         // an answer came: the not-connected label goes
    IdleBusy,      // processing, START and STOP locked
    IdleReady,     // buttons by port, line and synchronisation; lamp follows the line
    RunBusy,       // processing, STOP is the default button
    RunActive,     // counters, pause state, START as PAUSE/RESUME by countdown
    RunEnded,      // lamp dark, START and STOP locked
    RunBusyEnd,    // the end bit came while the instrument is still busy
    StepDone,      // the step ended normally and another follows
    Completed,     // the last step ended normally: lamp dark
    Starting,      // START loads the current step: its counters from 0, START and LINE ON locked
    StartRefused,  // START's test did not begin (refused or cancelled): LINE ON is offered again
};

namespace runtimer {
constexpr int kNone = -1;
constexpr int kIdlePoll = 0;
constexpr int kRunPoll = 1;
constexpr int kLamp = 2;
constexpr int kPollMs = 100;
constexpr int kLampMs = 500;
}  // namespace runtimer

struct RunInput {
    RunPhase phase = RunPhase::Idle;
    RunEvent event = RunEvent::IdleTick;
    std::optional<quint8> status;      // empty: the instrument did not answer
    bool moreSteps = false;            // another step follows the current one
    bool stepGate = false;             // a step gate may hold the run after each step
    RunOp failedOp = RunOp::LoadStep;  // StepRefused, CommandFailed: the operation
    QString detail;                    // StepRefused: what the step check said (may be empty)
    // The step gate's findings: the verdict, whether a FAIL found during the step stands, and
    // whether the test stops at the first FAIL.
    MonitorOutcome verdict = MonitorOutcome::Pass;
    bool failedDuring = false;
    bool stopOnFail = false;
    // The answers to a check without verdict: the check ran during the step (not after it),
    // and PauseStep paused the step for the question.
    bool duringStep = false;
    bool pausedForAnswer = false;
};

struct Transition {
    RunPhase next = RunPhase::Idle;
    std::vector<RunOp> ops;
    QString message;         // for RunOp::Say
    bool notice = false;     // the message is news (information), not a fault
    bool sayFirst = false;   // the message comes before the panel follows
    bool viewFirst = false;  // the panel follows before the operations
    // A failed command that changes nothing: the transition it interrupted goes on.
    bool carryOn = false;
    RunOutcome outcome = RunOutcome::None;  // set when the test ends here
    int poll = runtimer::kNone;             // the poll armed afterwards
    PanelView view = PanelView::Keep;
};

// The transition table.
Transition Decide(const RunInput& in);

// Phases in which a test of this dialog is under way (START that cannot act keeps the run poll).
bool TestUnderWay(RunPhase phase);
// The operator may pick the step START begins with (a list click moves the run).
bool MayPickStep(RunPhase phase);
// The operator may judge a step (not while the instrument discharges or the run moves on).
bool MayJudge(RunPhase phase);

}  // namespace zeb
