#pragma once
// The estimate of the test time still to run: every discharge interval of the steps from the
// current one to the last, less the discharges the current step has already done. The time the
// instrument needs between steps is not counted.

#include <QString>

#include "SettingData.h"

namespace zeb {

// Seconds left when step `index` has done `done` discharges (0 for an index without a step).
qint64 RemainingSeconds(const ExecDataList& steps, int index, qint64 done);

// "%4dh:%2dm:%2ds": hours right-aligned in four characters, minutes and seconds in two.
QString RemainingText(qint64 seconds);

}  // namespace zeb
