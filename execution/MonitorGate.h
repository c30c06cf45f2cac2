#pragma once
// The EUT monitor in the run: judges each step after its last discharge (the run holds until
// the verdict is in, while the instrument is idle) and, when set up, checks the EUT every few
// seconds while a step runs. A FAIL marks the step FAIL with the monitor's reason and may end
// the test as STOP does; an answer that is no verdict leaves the step at "------", says why in
// its comment and lets the operator choose to go on or stop. Without a gate the run never
// waits and sends exactly what it always sent.

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <set>

#include "EutMonitor.h"
#include "RunEvents.h"

namespace zeb {

class CRunSequencer;
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

class CMonitorGate : public QObject, public IStepGate {
public:
    // Listens to `monitor` until destroyed; none of the references is owned.
    CMonitorGate(CRunSequencer& seq, CZebM40SettingsDoc& doc, IEutMonitor& monitor,
                 MonitorGateOptions options, QString documentPath = QString());
    ~CMonitorGate() override;

    int ResultAtStepEnd(int finished) override;
    void StepStarted(int step) override;
    bool HoldAfterStep(int finished, bool lastStep) override;

    // The checks during a step follow this clock (milliseconds, any origin). The gate's own
    // timer calls it a few times a second; tests call it with the time they choose.
    void OnDuringTick(qint64 nowMs);

    // After a verdict was applied to its step: the verdict and the step result it left (FAIL
    // for a PASS that cannot undo a FAIL found during the step, "------" for a problem).
    using VerdictRecorder = std::function<void(const MonitorVerdict&, int result)>;
    void SetVerdictRecorder(VerdictRecorder recorder) { m_recorder = std::move(recorder); }
    // Asked when the monitor gave no verdict: true goes on, false stops the test (as it does
    // when nobody answers). The gate itself never asks anyone.
    using ProblemAnswer = std::function<bool(const MonitorVerdict&)>;
    void SetProblemAnswer(ProblemAnswer answer) { m_answer = std::move(answer); }
    // Called when a check after a step begins (true) and when its verdict is in (false).
    void SetCheckingListener(std::function<void(bool)> listener) {
        m_onChecking = std::move(listener);
    }

    // A check after a step is running and the run waits for it.
    bool CheckingAfterStep() const { return m_afterStep >= 0; }
    const MonitorGateOptions& Options() const { return m_options; }

private:
    void OnVerdict(const MonitorVerdict& verdict);
    void OnAfterVerdict(int row, const MonitorVerdict& verdict);
    void OnDuringVerdict(int row, const MonitorVerdict& verdict);
    void SetChecking(int row);
    bool AskToGoOn(const MonitorVerdict& verdict);
    MonitorRequest RequestFor(int row, MonitorPhase phase) const;
    void Record(const MonitorVerdict& verdict, int result);

    CRunSequencer& m_seq;
    CZebM40SettingsDoc& m_doc;
    IEutMonitor& m_monitor;
    MonitorGateOptions m_options;
    QString m_documentPath;
    VerdictRecorder m_recorder;
    ProblemAnswer m_answer;
    std::function<void(bool)> m_onChecking;

    int m_afterStep = -1;     // the step whose check after it holds the run
    bool m_asking = false;    // the operator is being asked about a problem
    std::set<int> m_failed;   // steps a check during them found FAIL
    int m_duringStep = -1;    // the step the checks during it follow
    qint64 m_nextDueMs = -1;  // when the next check during the step is due; -1: not running
    QTimer m_tick;
    QElapsedTimer m_clock;
};

}  // namespace zeb
