#pragma once
// What each machine type offers, as data: its output ports and, per port, the waveforms, the
// line configurations (in the order the editor lists them, with their texts and the line bits
// each one enables), the couplings or limiting resistors, the ring-wave impedances, whether the
// discharges can be synchronised to the mains phase, and the voltage maximum; for the machine,
// the interval minimums per waveform.
//
// Everything that decides what a record or a test step may hold reads this table: the
// editor's lists and line boxes, the step check before a step goes to the instrument, the
// expansion (line-to-line and line-to-earth lines), the pre-checks before a run and the
// standard-plan generator. A list that is empty means the machine gives the operator no choice
// there (a coupling-unit telecom output without a waveform bit, the edition-3 telecom output's
// resistor, the surge output's coupling); the record's code is then kept as it is and only
// checked against its name table (NameTables.h).
//
// Usage:
//   const MachineCapabilities caps = CapabilitiesOf(record.m_ulMachineType, hwVersion);
//   if (const PortCapabilities* ac = caps.Port(kPortAc)) {
//       for (const LineConfiguration& lc : ac->lineConfigurations) { ... lc.code, lc.text,
//       lc.lines ... }
//   }

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

#include "EditorChoices.h"
#include "InstrumentRules.h"
#include "LineCodes.h"

namespace zeb {

// --- The table -----------------------------------------------------------------------------

struct LineConfiguration {
    int32_t code = 0;
    QString text;        // the instrument's own text, padding blanks included
    uint32_t lines = 0;  // line bits a step of this configuration may use (the enabled boxes)
};

struct PortCapabilities {
    int32_t port = kPortAc;
    QString name;                  // "AC LINE OUTPUT", ...
    ChoiceList waveforms;          // in list order
    bool waveformIsChoice = true;  // false: the page shows the fixed text "1.2 / 50" instead
    std::vector<LineConfiguration> lineConfigurations;  // in list order
    bool lineConfigurationIsChoice = true;              // false: one configuration, shown as a text
    bool lineBoxes = true;      // the page has a box per line; false: the stored lines are used
    ChoiceList couplings;       // couplings (AC, DC) or limiting resistors (telecom)
    ChoiceList ringImpedances;  // with the RING waveform (AC and DC)
    bool phaseSync = false;     // discharges synchronised to the mains phase (AC)
    int32_t voltageMax = kGeneratorVoltageMax;
    uint32_t normalLines = 0;  // line-to-line lines (AC, DC; 0 where the port does not tell)
    uint32_t commonLines = 0;  // line-to-earth lines

    const LineConfiguration* Configuration(int32_t code) const;
    bool OffersWaveform(int32_t code) const;
    bool OffersCoupling(int32_t code) const;
    bool OffersRingImpedance(int32_t code) const;
    // Line bits a step of this configuration may use; 0 for a configuration not offered.
    uint32_t LinesOf(int32_t configuration) const;
};

struct MachineCapabilities {
    uint32_t machineType = kNoMachineType;
    int32_t hardwareVersion = 0;
    std::vector<PortCapabilities> ports;  // in port-code order, only the ports offered

    // The port's entry; nullptr when the machine has no such port.
    const PortCapabilities* Port(int32_t port) const;
    // Shortest interval the operator may enter for a waveform (10 s 1.2/50, 15 s 10/700, RING
    // 5 s through a coupling unit, 10 s otherwise); nothing for an unknown code.
    std::optional<int32_t> IntervalMinimum(int32_t waveform) const;
    // Shortest interval of one step at this voltage (longer above the recharge threshold).
    int32_t StepIntervalMinimum(int32_t waveform, int32_t volts) const;
};

// What a machine of this type offers. `hardwareVersion` decides only the AC configuration
// "THREE  PHASE L1, L2, L3, PE", which three-phase generators offer from version 1 on; pass
// kAnyHardwareVersion for the widest offer (a step does not know the hardware it runs on).
// Machine type "none" (kNoMachineType) offers the AC port with no line configuration.
MachineCapabilities CapabilitiesOf(uint32_t machineType, int32_t hardwareVersion);
constexpr int32_t kAnyHardwareVersion = 1;

// Line bits a line configuration enables on a port, with the exact-type exceptions (0x400B,
// 0x400F); the surge output's one line; 0 for an unknown configuration.
uint32_t EnabledLineBits(int32_t port, int32_t configuration, uint32_t machineType);

}  // namespace zeb
