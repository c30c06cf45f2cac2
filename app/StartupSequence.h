#pragma once
// The decisions of start-up that need no window: how long the opening dialog stays, and how
// the machine type of the run is fixed, from the instrument or by the operator's choice.

#include <QElapsedTimer>
#include <QtGlobal>

#include <functional>

namespace zeb {

class CZebM40Cntl;
struct CurrentMachine;

// Waits, in steps of 100 ms with `pump` called between them (events keep being handled),
// until `shown` has run for at least `minimumMs`.
void WaitAtLeast(const QElapsedTimer& shown, int minimumMs, const std::function<void()>& pump);

// Shows the machine selection and returns its result (typeselect::kStart, kRetry, kExit);
// `chosen` receives the model picked for kStart.
using MachineSelection = std::function<int(quint32& chosen)>;

// Fixes the machine type for the run. With an instrument connected its "QR" answer is taken
// and stored in the INI file (a failed query leaves the type unknown and start-up goes on);
// otherwise the selection decides: start with a chosen model, or retry the scan until an
// instrument answers or the operator starts or exits. Returns typeselect::kStart to go on, or
// the result that ended the selection (kExit ends the program).
int FixMachineType(CZebM40Cntl& cntl, CurrentMachine& machine, const MachineSelection& select);

}  // namespace zeb
