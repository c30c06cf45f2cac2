#pragma once
// What a test run tells the world besides its panel, and how the world may hold it. A run
// journal listens to the events; a check of the equipment under test between steps holds the
// run through the step gate. Both are optional: without them the run behaves exactly the same.

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

#include "EutMonitor.h"
#include "ExecData.h"
#include "RunJournal.h"
#include "RunPhase.h"

namespace zeb {

// Who set a step's result: JudgedBy (RunJournal.h), the same words the journal records.
// Which action sent the stop ("CB") to the instrument.
enum class StopBy { StopButton, EscapeKey, LineOff };

// Every method has an empty default, so a listener overrides only what it records. Events come
// on the thread of the run, before the sequencer acts on what they report (a step's start
// before its "CA").
class IRunObserver {
public:
    virtual ~IRunObserver() = default;
    virtual void OnPhase(RunPhase /*from*/, RunPhase /*to*/) {}
    // A step's parameter block has been sent; "CA" follows. `step` counts from 0.
    virtual void OnStepStarted(int /*step*/, const QStringList& /*block*/) {}
    // The instrument reported the step done; `discharges` as last read from it.
    virtual void OnStepEnded(int /*step*/, int /*result*/, qint64 /*discharges*/) {}
    virtual void OnJudgement(int /*step*/, int /*result*/, const QString& /*comment*/,
                             JudgedBy /*by*/) {}
    virtual void OnCommentsCleared() {}
    virtual void OnStopSent(StopBy /*by*/) {}
    virtual void OnInstrumentError(int /*code*/, const QString& /*text*/) {}
    virtual void OnLinkLost() {}
    // The test ended in one of its four ways.
    virtual void OnRunEnded(RunOutcome /*outcome*/) {}
    virtual void OnReportWritten(const QString& /*path*/) {}
    // The dialog closed; `outcome` of its last test, None when none ran.
    virtual void OnClosed(RunOutcome /*outcome*/) {}
};

// A step's result and comment, as a finding leaves them.
struct StepMark {
    int result = kResultNone;
    QString comment;
};

// What a step gate found on a step, as a value: the run's table decides what comes of it
// (RunEvent::VerdictAfterStep, VerdictDuringStep, CheckNotStarted) and the sequencer applies
// the mark and records the verdict. The gate itself acts on nothing.
struct StepFinding {
    RunEvent event = RunEvent::VerdictAfterStep;
    int row = 0;                   // the step, from 0
    bool failedDuring = false;     // a FAIL found during the step stands
    bool stopOnFail = false;       // the test stops at the first FAIL
    std::optional<StepMark> mark;  // what it leaves on the step; none: the step stays as it is
    // The verdict and the step result it left, for the record; none when no check answered
    // (CheckNotStarted).
    std::optional<MonitorVerdict> verdict;
    int result = kResultNone;
};

// Hears each verdict of the monitor with the step result it left, once it is on its step.
using VerdictRecorder = std::function<void(const MonitorVerdict&, int result)>;
// Answers a check without verdict: true goes on, false stops the test.
using ProblemAnswer = std::function<bool(const MonitorVerdict&)>;

// What a step gate does once a step ended normally.
struct StepCheck {
    bool holds = false;  // a verdict is awaited: the run holds until the gate reports it
    std::optional<StepFinding> found;  // reported at once instead (the run goes on after it)
};

// Asked after step `finished` (from 0) ended normally and was marked, before the next step's
// parameter block and "CA" go out (or, after the last step, before the test completes). The
// instrument is idle then. A gate that holds the run leaves it in RunPhase::Holding, with no
// poll armed, until what it found (CRunSequencer::OnStepFinding) lets it go on or stops it, or
// STOP ends it. The sequencer tells the gate where the run is; the gate never asks for it.
class IStepGate {
public:
    virtual ~IStepGate() = default;
    // How step `finished` is marked as it ends normally, before HoldAfterStep: kResultPass
    // when nobody else judges it, kResultFail for a FAIL already found, and
    // kJournalResultPending while a verdict is still to come (the step shows no result and its
    // step-end records "pending").
    virtual int ResultAtStepEnd(int /*finished*/) { return kResultPass; }
    // Step `step` (from 0) is being started (again): nothing found on an earlier run of it
    // counts for this one.
    virtual void StepStarted(int /*step*/) {}
    // The run entered `phase`; answerPending: the operator is being asked about a finding of
    // the gate and the run waits for the answer.
    virtual void RunMoved(RunPhase /*phase*/, bool /*answerPending*/) {}
    virtual StepCheck HoldAfterStep(int finished, bool lastStep) = 0;
};

}  // namespace zeb
