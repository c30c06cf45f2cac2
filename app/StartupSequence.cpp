#include "StartupSequence.h"

#include <QThread>

#include <algorithm>

#include "CurrentMachine.h"
#include "TypeSelectRules.h"
#include "ZebM40Cntl.h"

namespace zeb {

void WaitAtLeast(const QElapsedTimer& shown, int minimumMs, const std::function<void()>& pump) {
    while (shown.isValid() && shown.elapsed() < minimumMs) {
        if (pump) {
            pump();
        }
        const qint64 left = minimumMs - shown.elapsed();
        if (left > 0) {
            QThread::msleep(static_cast<unsigned long>(std::min<qint64>(left, 100)));
        }
    }
}

namespace {
// Takes the connected instrument's machine type; false when it did not say.
bool TakeInstrumentType(CZebM40Cntl& cntl, CurrentMachine& machine) {
    quint32 type = 0;
    if (!cntl.GetMachineType(type)) {
        return false;
    }
    machine.m_ulCurrentMachineType = type;
    StoreMachineType(type);
    return true;
}
}  // namespace

int FixMachineType(CZebM40Cntl& cntl, CurrentMachine& machine, const MachineSelection& select) {
    machine.m_nCurrentHWVersion = cntl.InstHWVersion();
    if (cntl.IsConnected()) {
        TakeInstrumentType(cntl, machine);
        return typeselect::kStart;
    }
    // A selection that cannot be shown counts as going on with what is known.
    quint32 chosen = typeselect::kDefaultType;
    int result = select ? select(chosen) : typeselect::kStart;
    while (result == typeselect::kRetry) {
        if (cntl.Connect()) {
            if (TakeInstrumentType(cntl, machine)) {
                machine.m_nCurrentHWVersion = cntl.InstHWVersion();
            }
            return typeselect::kStart;
        }
        chosen = typeselect::kDefaultType;
        result = select ? select(chosen) : typeselect::kStart;
    }
    if (result == typeselect::kStart && select) {
        machine.m_ulCurrentMachineType = chosen;
    }
    return result;
}

}  // namespace zeb
