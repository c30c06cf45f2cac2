#pragma once
// What the instrument accepts in one test step. A step made by the editor always passes; a step
// from a file or a JSON document may hold anything, and a parameter block with an absurd
// voltage, a negative discharge count or an unknown line code must never reach a high-voltage
// generator. The check is made before the first parameter command is sent.

#include <QString>

#include <cstdint>

#include "ExecData.h"
#include "SettingData.h"

namespace zeb {

// Checks every value of the step that goes to the instrument against the instrument's limits
// for the step's machine type, port, waveform and voltage (InstrumentRules.h), every code
// against its name table, and every choice against what the machine offers on that port
// (Capabilities.h: waveform, line configuration, line, coupling, ring-wave impedance, phase
// synchronisation). False with a text for the operator naming the first wrong value and what
// is allowed.
bool CheckStepValues(const CExecData& step, QString& problem);

}  // namespace zeb
