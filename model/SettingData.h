#pragma once
// The test condition record: which instrument the conditions are for, which output port is
// used, the line configuration, lines, coupling, waveform and phase angles of every port, the
// voltage set, polarities, discharge count and interval. A settings document owns one; the
// editor works on a copy and copies it back.

#include <QString>

#include <cstdint>
#include <vector>

#include "ExecData.h"
#include "InstrumentRules.h"

namespace zeb {

// Port slots, line-bit sets per slot, value-list entries.
constexpr int kSlotCount = 10;
// The editor refuses test conditions that expand into more steps than this.
constexpr int64_t kMaxStepCount = 1000;

// Value-set types and the mode codes ValueAt reports.
enum ValueType { kValueFixed = 0, kValueSweep = 1, kValueVariable = 2 };
enum ValueMode {
    kModeNone = 0,          // fixed, sweep, or no such value
    kModeListed = 1,        // list of kind 0
    kModeNormalCommon = 2,  // kind 1, both flags
    kModeNormal = 3,        // kind 1, NORMAL (line-to-line) only
    kModeCommon = 4,        // kind 1, COMMON (line-to-PE) only
};

// A value set: one fixed value, a sweep start..end by step, or a list of up to ten entries with
// one use flag each (kind 0) or a NORMAL and a COMMON flag each (kind 1).
struct VALUE {
    int32_t m_nValueType = kValueFixed;
    int32_t m_lValue = 0;
    int32_t m_lStart = 0;
    int32_t m_lEnd = 0;
    int32_t m_lStep = 0;
    int32_t m_nVariableKind = 0;
    int32_t m_abUse[kSlotCount] = {};
    int32_t m_abUse2[kSlotCount] = {};
    int32_t m_alValue[kSlotCount] = {};

    // Number of values the set yields; a sweep running backwards may give a negative count,
    // which every caller treats as no values.
    int32_t ValueCount() const;
    // The index-th value (0-based); mode receives one of ValueMode. Out of range: 0, mode 0.
    int32_t ValueAt(int32_t index, int32_t& mode) const;
    int32_t ValueAt(int32_t index) const {
        int32_t mode = 0;
        return ValueAt(index, mode);
    }
};

// Entry limits of a value field (working data for the entry pages; never stored in a file).
struct VALUE_LIMIT {
    QString m_strUnit;
    int32_t m_nExponent = 0;  // stored value = shown value * 10^m_nExponent
    int32_t m_nDecimals = 0;  // digits shown after the decimal point
    int32_t m_lMin = 0;
    int32_t m_lMax = 0;
    int32_t m_lIncrement = 1;  // spin-button increment and smallest sweep step
};

// Settings of one output port.
struct OUTPUT_PORT {
    int32_t m_nOutputDetail = 0;               // line configuration code
    uint32_t m_aulInjRetBit[kSlotCount] = {};  // line bit set per line configuration
    int32_t m_nCoup = 0;                       // coupling (AC/DC) or line impedance (telecom)
    int32_t m_nWaveform = 0;                   // 0 1.2/50, 1 10/700, 2 RING
    int32_t m_nRingRegi = 0;                   // ring-wave impedance: 0 30 ohm, 1 12 ohm
    int32_t m_nSync = 0;                       // 1: discharges synchronised to the mains phase
    VALUE m_valAngle;                          // phase angles, whole degrees
    int32_t m_bVaristorTestMode = 0;
};

struct OUTPUT {
    int32_t m_nOutputPort = kPortAc;
    OUTPUT_PORT m_aopOutputPort[kSlotCount];  // indexed by output port code; 4..9 unused but kept
};

using ExecDataList = std::vector<CExecData>;

class CSettingData {
public:
    // Machine type "none" and hardware version 0, then the defaults.
    CSettingData();

    // Resets every condition field for the current m_ulMachineType (machine type and hardware
    // version stay as they are).
    void SetDefault();

    // Replaces the list with one step per combination of voltage, injection-return line,
    // polarity and phase angle of the selected output port (see StepExpansion.cpp).
    void ExpandSteps(ExecDataList& list) const;
    // Number of steps ExpandSteps would make, computed without making them (64-bit, so a
    // record with absurd sets can be refused before it is expanded).
    int64_t StepCount() const;

    // A step carrying the selected port's settings, discharge count and interval: the
    // template every expanded step starts from.
    CExecData TemplateStep() const;

    // Captions and texts of the fifteen display items for the whole record (see ItemText.cpp).
    QString GetItemCaption(int item) const;
    QString GetItemText(int item) const;

    // Slot of the selected output port, or nullptr when a file left the code outside 0..9.
    const OUTPUT_PORT* SelectedPort() const;

    uint32_t m_ulMachineType = kNoMachineType;
    int32_t m_nHWVersion = 0;
    OUTPUT m_outOutput;
    VALUE m_valVolt;
    uint32_t m_ulPola = 1;  // bit 0 positive, bit 1 negative
    int32_t m_lDisc = 5;
    int32_t m_lRept = 60;
    VALUE_LIMIT m_vlVolt;
    VALUE_LIMIT m_vlDisc;
    VALUE_LIMIT m_vlRept;
    VALUE_LIMIT m_vlAngle;
};

}  // namespace zeb
