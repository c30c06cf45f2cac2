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

// True when a machine of this type has the output port (the editor offers exactly these).
bool PortOffered(uint32_t machineType, int32_t port);

// The highest voltage the generator itself delivers on this port (15 kV; 6 kV on the telecom
// output of edition-3 hardware). A coupling unit sets its own maximum.
int32_t GeneratorVoltageMax(uint32_t machineType, int32_t port);

// The record's limit descriptors as the editor sets them for this machine type, output port
// and waveform: the voltage maximum (6 kV on the telecom port of an edition-3 main unit) and
// the interval minimum of the waveform (5 s for the ring wave through a coupling unit).
void SetLimitsFor(CSettingData& record, int32_t port, int32_t waveform);

// Checks every value of the step that goes to the instrument against the limits above (the
// interval also against the step's MinInterval) and every code against its name table. False
// with a text for the operator naming the first wrong value and what is allowed.
bool CheckStepValues(const CExecData& step, QString& problem);

}  // namespace zeb
