#pragma once
// The EUT monitor of zebctl run: its options, and the gate that judges the steps with it. With
// no operator to ask, a check that gives no verdict is printed and the run goes on, unless
// --stop-on-fail asks to stop.

#include <QString>
#include <QStringList>

#include <memory>

#include "MonitorGate.h"
#include "MonitorSettings.h"
#include "ProcessEutMonitor.h"

namespace zebctl {

// "--monitor 'CMD ARGS'": the command line alone describes the monitor (defaults for the rest);
// without it the EUT monitor setting of ZEB.ini is used, when it has a command.
// "--monitor-timeout S" and "--monitor-every S" (1 to 600) override either; the latter turns
// the checks during a step on. "--stop-on-fail" ends the test at the first FAIL or problem.
struct RunMonitorOptions {
    QString command;
    QString timeoutText;
    QString everyText;
    bool stopOnFail = false;
};

// Takes the monitor options out of `args`; false (message printed) for an option without value.
bool TakeMonitorOptions(QStringList& args, RunMonitorOptions& options);

// The settings the options and ZEB.ini give. False, with a message printed, for a value out of
// range or an option that needs a command when there is none.
bool MonitorSettingsFor(const RunMonitorOptions& options, zeb::EutMonitorSettings& settings);

// The monitor and its gate on one run; prints "mark step=n result=PASS|FAIL by=monitor
// comment=..." for verdicts and "monitor step=n problem=..." for the rest.
class CRunMonitor {
public:
    // `onVerdict` hears every verdict, with the step result it left, once it is printed: the
    // caller's own step printing takes the new results as known, and a run journal may record
    // the verdict.
    static std::unique_ptr<CRunMonitor> Make(const zeb::EutMonitorSettings& settings,
                                             zeb::CRunSequencer& seq, zeb::CZebM40SettingsDoc& doc,
                                             const QString& documentPath,
                                             zeb::CMonitorGate::VerdictRecorder onVerdict,
                                             QString& error);

private:
    CRunMonitor() = default;
    std::unique_ptr<zeb::CProcessEutMonitor> m_monitor;
    std::unique_ptr<zeb::CMonitorGate> m_gate;
};

}  // namespace zebctl
