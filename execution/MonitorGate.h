#pragma once
// The EUT monitor in the run: judges each step after its last discharge (the run holds until
// the verdict is in, while the instrument is idle) and, when set up, checks the EUT every few
// seconds while a step runs. A FAIL marks the step FAIL with the monitor's reason and may end
// the test as STOP does; an answer that is no verdict leaves the step at "------", says why in
// its comment and lets the operator choose to go on or stop (the run's table decides each of
// these). Without a gate the run never waits and sends exactly what it always sent.

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <optional>
#include <set>

#include "EutMonitor.h"
#include "RunEvents.h"

namespace zeb {

class CZebM40SettingsDoc;
struct EutMonitorSettings;

struct MonitorGateOptions {
    bool judgeAfterStep = true;
    bool checkDuringStep = false;
    int everyMs = 10000;  // period of the checks during a step
    bool stopOnFail = false;

    static MonitorGateOptions From(const EutMonitorSettings& settings);
};

// The question put to the operator when the monitor gave no verdict.
QString MonitorProblemQuestion(int step, const QString& comment);
// The run dialog's status while the EUT is checked after a step.
QString CheckingText();

// The gate only reports: it turns each verdict into a StepFinding and hands it to its sink (the
// run session passes it to the sequencer, whose table decides what comes of it). It learns
// where the run is from the sequencer (IStepGate) and keeps only what the monitor was asked and
// found: the step whose verdict after it is awaited, the steps a check during them found FAIL,
// and when the next check during the running step is due.
class CMonitorGate : public QObject, public IStepGate {
public:
    // Listens to `monitor` until destroyed; neither reference is owned.
    CMonitorGate(const CZebM40SettingsDoc& doc, IEutMonitor& monitor, MonitorGateOptions options,
                 QString documentPath = QString());
    ~CMonitorGate() override;

    int ResultAtStepEnd(int finished) override;
    void StepStarted(int step) override;
    void RunMoved(RunPhase phase, bool answerPending) override;
    StepCheck HoldAfterStep(int finished, bool lastStep) override;

    // The checks during a step follow this clock (milliseconds, any origin). The gate's own
    // timer calls it a few times a second; tests call it with the time they choose.
    void OnDuringTick(qint64 nowMs);

    // Hears every finding of a verdict, as it arrives.
    using FindingSink = std::function<void(const StepFinding&)>;
    void SetFindingSink(FindingSink sink) { m_sink = std::move(sink); }
    // Called when a check after a step begins (true) and when its verdict is in (false).
    void SetCheckingListener(std::function<void(bool)> listener) {
        m_onChecking = std::move(listener);
    }

    // A check after a step is running and the run waits for it.
    bool CheckingAfterStep() const { return m_afterStep.has_value(); }
    const MonitorGateOptions& Options() const { return m_options; }

private:
    void OnVerdict(const MonitorVerdict& verdict);
    StepFinding AfterVerdict(int row, const MonitorVerdict& verdict);
    StepFinding DuringVerdict(int row, const MonitorVerdict& verdict);
    void SetChecking(std::optional<int> row);
    MonitorRequest RequestFor(int row, MonitorPhase phase) const;
    const CExecData& Step(int row) const;

    const CZebM40SettingsDoc& m_doc;
    IEutMonitor& m_monitor;
    MonitorGateOptions m_options;
    QString m_documentPath;
    FindingSink m_sink;
    std::function<void(bool)> m_onChecking;

    std::optional<int> m_afterStep;  // the step whose verdict after it the run waits for
    std::set<int> m_failed;          // steps a check during them found FAIL
    // The checks during a step: the step last started, whether it runs now as the sequencer
    // told (not paused, no question open), and when its next check is due (none: from the
    // next tick on).
    std::optional<int> m_duringStep;
    bool m_stepRuns = false;
    std::optional<qint64> m_nextDueMs;
    QTimer m_tick;
    QElapsedTimer m_clock;
};

}  // namespace zeb
