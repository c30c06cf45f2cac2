#pragma once
// The machine type the program works with for the whole run, and the hardware version of the
// instrument last connected. Fixed at start-up; the connection dialog changes them when it
// finds an instrument. New documents take both; open documents keep their own.

#include <QtGlobal>

#include "SettingData.h"

namespace zeb {

struct CurrentMachine {
    quint32 m_ulCurrentMachineType = kNoMachineType;
    qint32 m_nCurrentHWVersion = 0;
};

}  // namespace zeb
