#pragma once
// The machine selection made when no instrument answered at start-up, without the window:
// the dialog's result codes, which row is preselected from the INI file, and storing the
// chosen model.

#include <QString>
#include <QtGlobal>

#include <vector>

#include "MachineModels.h"

namespace zeb {

namespace typeselect {
constexpr int kStart = 1;  // start with the chosen model
constexpr int kExit = 3;   // end the program (also when the dialog is closed otherwise)
constexpr int kRetry = 4;  // look for the instrument again
// Model preselected when the INI file names none.
constexpr quint32 kDefaultType = 5;
}  // namespace typeselect

// Row to preselect for the INI value (decimal text): the row of that machine type, else the
// first row.
int PreselectedRow(const std::vector<MachineChoice>& rows, const QString& iniValue);
// The stored machine type text, "5" when none is stored.
QString StoredMachineTypeText();
// Stores a machine type as decimal text in INI_SECTION_MACHINE_TYPE / INI_KEY_MACHINE_TYPE.
void StoreMachineType(quint32 machineType);

}  // namespace zeb
