#pragma once
// What the surge generator and its coupling units accept, in one place: machine type bits,
// output ports, waveforms and couplings, the voltage and interval limits, which lines are
// line-to-line and which line-to-earth, and how the AC line configurations group into the
// instrument's single-phase and three-phase line types. The editor, the step check, the
// expansion, the pre-checks and the sequencer all ask here, so a rule changes in one place.

#include <cstdint>
#include <initializer_list>
#include <optional>

#include "LineCodes.h"

namespace zeb {

class CSettingData;

// --- Machine type code ---------------------------------------------------------------------

// Coupling-unit bits: the output runs through an external coupling unit.
constexpr uint32_t kCouplingUnitMask = 0x7000;
// Three-phase AC line coupling.
constexpr uint32_t kThreePhaseBit = 0x4;
// The external telecom coupling unit alone; its telecom lines and impedances have own names.
constexpr uint32_t kMachineTelecomUnit = 0x400B;
// Model variant bits: without a coupling unit, only a "C" model (C set, B clear) has the
// telecom line output.
constexpr uint32_t kVariantB = 0x2;
constexpr uint32_t kVariantC = 0x1;
// Edition-3 hardware; its telecom output delivers at most 6 kV.
constexpr uint32_t kEdition3Bit = 0x8;
// Machine type "none set".
constexpr uint32_t kNoMachineType = 0xFFFFFFFFu;

inline bool HasCouplingUnit(uint32_t machineType) {
    return (machineType & kCouplingUnitMask) != 0;
}

// Whether the machine type an instrument reports ("QR", the model nibble alone) fits a record's
// machine type. The generator cannot know which external coupling unit is cabled to it, so for
// a record made for a coupling unit only the generator's nibble is compared.
inline bool ReportedTypeFits(uint32_t reported, uint32_t recordType) {
    if (HasCouplingUnit(recordType)) {
        return reported == (recordType & 0x0Fu);
    }
    return reported == recordType;
}

// --- Codes ---------------------------------------------------------------------------------

// Output port codes (index of the record's port slots).
enum OutputPortCode { kPortAc = 0, kPortDc = 1, kPortSurge = 2, kPortTelecom = 3 };

enum WaveformCode { kWave1250 = 0, kWave10700 = 1, kWaveRing = 2 };
constexpr int32_t kWaveformCount = 3;

// Coupling of the AC and DC ports; on the telecom port the same codes select the line
// impedance ("STANDARD", "40ohm", "25ohm", or on the telecom coupling unit "15ohm").
enum CouplingCode { kCouplingStandard = 0, kCoupling10Ohm9uF = 1, kCoupling18uF = 2 };
constexpr int32_t kCouplingCount = 3;

// Ring-wave impedance.
enum RingImpedanceCode { kRingWave30Ohm = 0, kRingWave12Ohm = 1 };

// --- Ports ---------------------------------------------------------------------------------

// True when a machine of this type has the output port (the editor offers exactly these).
bool PortOffered(uint32_t machineType, int32_t port);

// --- Voltage -------------------------------------------------------------------------------

constexpr int32_t kGeneratorVoltageMax = 15000;
constexpr int32_t kEdition3TelecomMax = 6000;
// Above this a step cannot run while the instrument's 6 kV limiter is on.
constexpr int32_t kLimiterVoltageMax = 6000;

// The highest voltage the generator delivers on this port: 15 kV, 6 kV on the telecom output
// of edition-3 hardware without a coupling unit.
int32_t VoltageMax(uint32_t machineType, int32_t port);
// Only the generator itself has the 6 kV limiter; a coupling unit has none.
inline bool HasLimiter(uint32_t machineType) {
    return !HasCouplingUnit(machineType);
}

// --- Interval between discharges ----------------------------------------------------------

constexpr int32_t kIntervalMax = 999;

// Shortest interval the operator may enter for a waveform: 10 s for 1.2/50, 15 s for 10/700,
// for RING 5 s through a coupling unit and 10 s otherwise. Nothing for an unknown code.
std::optional<int32_t> EntryIntervalMinimum(uint32_t machineType, int32_t waveform);
// Above 4 kV through a coupling unit, above 6 kV otherwise, the generator needs longer to
// recharge between discharges.
bool AboveRechargeThreshold(uint32_t machineType, int32_t volts);
// The longer interval above that threshold: 20 s for 1.2/50, 30 s for 10/700; 0 for the other
// waveforms, which recharge in their usual time.
int32_t HighVoltageInterval(int32_t waveform);
// Shortest interval the generator accepts for one step; 60 s for an unknown waveform code.
int32_t StepIntervalMinimum(uint32_t machineType, int32_t waveform, int32_t volts);

// --- Lines ---------------------------------------------------------------------------------

// Line-to-line (NORMAL) and line-to-earth (COMMON) lines of the AC and DC ports, as bit masks
// of their line tables. The telecom and surge ports do not tell the two apart: every line
// counts as line-to-line and none as line-to-earth.
uint32_t NormalLines(int32_t port);
uint32_t CommonLines(int32_t port);
// Whether a port's line configuration offers both kinds of line, so that each voltage of a
// list can be marked NORMAL, COMMON or both (AC single phase with PE, AC with N and PE, AC
// three phase with PE; DC with PE).
bool HasBothLineKinds(int32_t port, int32_t detail);
// Whether a step is made for this line at a voltage of this list mode (ValueMode): a voltage
// marked NORMAL only reaches line-to-line lines, one marked COMMON only all the others. Only
// the AC and DC ports make the difference.
bool LineKeptForMode(int32_t port, int32_t mode, int32_t line);
// Whether a line of the AC or DC port runs against earth (PE).
bool IsCommonLine(int32_t port, int32_t line);

// --- AC line configurations ----------------------------------------------------------------

// The instrument switches its AC lines in two groups: the single-phase line types 0 and 1 and
// the three-phase ones 2 to 5. The record's configurations follow the same grouping, except
// "THREE  PHASE L1, L2, L3, PE" (6), which the instrument reaches from either group.
enum class AcPhaseGroup { SinglePhase, ThreePhase, Either, Unknown };
AcPhaseGroup PhaseGroupOfDetail(int32_t detail);
AcPhaseGroup PhaseGroupOfLineType(int32_t lineType);
// False when the configuration switched on the instrument cannot serve the record's.
bool PhaseGroupsAgree(int32_t lineType, int32_t detail);
// Configurations 0 and 1 name their lines L and N instead of L1 to L3.
inline bool UsesSinglePhaseLineNames(int32_t detail) {
    return detail == kAcSinglePhaseLN || detail == kAcSinglePhaseLNPE;
}

// --- Step count ----------------------------------------------------------------------------

// The editor estimates how many steps a record makes before accepting it: lines x polarities
// x voltages x angles, or, for a voltage list on a configuration with both line kinds,
// polarities x (NORMAL voltages x line-to-line lines + COMMON voltages x line-to-earth lines)
// x angles. Saturates instead of wrapping. The expansion counts exactly (StepCount); the two
// agree for records the editor makes (see the rules tests), and the editor refuses when
// either exceeds the limit.
int64_t EstimatedStepCount(const CSettingData& record);
// Product of step-count factors, held at the largest 64-bit value instead of wrapping (a file
// can make every factor huge, and a wrapped count could look small enough to accept); a factor
// of zero or less gives zero.
int64_t SaturatingProduct(std::initializer_list<int64_t> factors);

}  // namespace zeb
