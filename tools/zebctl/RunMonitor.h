#pragma once
// The EUT monitor of zebctl run: its options and how its verdicts are printed. With no
// operator to ask, a check that gives no verdict is printed and the run goes on, unless
// --stop-on-fail asks to stop.

#include <QString>
#include <QStringList>

#include "EutMonitor.h"
#include "MonitorSettings.h"

namespace zeb {
class CZebM40SettingsDoc;
}

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

// Prints a verdict of the run's monitor with the step result it left: "mark step=n
// result=PASS|FAIL by=monitor comment=..." for verdicts, "monitor step=n problem=..." for the
// rest. A PASS during a step changes nothing and is not printed.
void PrintVerdict(const zeb::CZebM40SettingsDoc& doc, const zeb::MonitorVerdict& verdict,
                  int result);

}  // namespace zebctl
