#include "InstrumentRules.h"

#include <algorithm>
#include <initializer_list>
#include <limits>

#include "SettingData.h"

namespace zeb {

namespace {

int64_t BitCount(uint32_t bits) {
    int64_t n = 0;
    for (; bits != 0; bits &= bits - 1) {
        ++n;
    }
    return n;
}

}  // namespace

int64_t SaturatingProduct(std::initializer_list<int64_t> factors) {
    int64_t product = 1;
    for (int64_t f : factors) {
        if (f <= 0) {
            return 0;
        }
        product = product > std::numeric_limits<int64_t>::max() / f
                      ? std::numeric_limits<int64_t>::max()
                      : product * f;
    }
    return product;
}

bool PortOffered(uint32_t machineType, int32_t port) {
    if (port < kPortAc || port > kPortTelecom) {
        return false;
    }
    if (HasCouplingUnit(machineType)) {
        return (machineType & kThreePhaseBit) ? port == kPortAc : port != kPortSurge;
    }
    if (!(machineType & kVariantB) && (machineType & kVariantC)) {
        return true;
    }
    return port != kPortTelecom;
}

int32_t VoltageMax(uint32_t machineType, int32_t port) {
    const bool edition3Telecom =
        port == kPortTelecom && !HasCouplingUnit(machineType) && (machineType & kEdition3Bit);
    return edition3Telecom ? kEdition3TelecomMax : kGeneratorVoltageMax;
}

std::optional<int32_t> EntryIntervalMinimum(uint32_t machineType, int32_t waveform) {
    switch (waveform) {
        case kWave1250:
            return 10;
        case kWave10700:
            return 15;
        case kWaveRing:
            return HasCouplingUnit(machineType) ? 5 : 10;
        default:
            return std::nullopt;
    }
}

bool AboveRechargeThreshold(uint32_t machineType, int32_t volts) {
    return volts > (HasCouplingUnit(machineType) ? 4000 : 6000);
}

int32_t HighVoltageInterval(int32_t waveform) {
    switch (waveform) {
        case kWave1250:
            return 20;
        case kWave10700:
            return 30;
        default:
            return 0;
    }
}

int32_t StepIntervalMinimum(uint32_t machineType, int32_t waveform, int32_t volts) {
    const int32_t entry = EntryIntervalMinimum(machineType, waveform).value_or(60);
    return AboveRechargeThreshold(machineType, volts)
               ? std::max(entry, HighVoltageInterval(waveform))
               : entry;
}

uint32_t NormalLines(int32_t port) {
    return port == kPortAc ? kAcNormalLines : port == kPortDc ? kDcNormalLines : 0;
}

uint32_t CommonLines(int32_t port) {
    return port == kPortAc ? kAcCommonLines : port == kPortDc ? kDcCommonLines : 0;
}

bool HasBothLineKinds(int32_t port, int32_t detail) {
    if (port == kPortAc) {
        return detail == kAcSinglePhaseLNPE || detail == kAcSinglePhaseL1L2NPE ||
               detail == kAcThreePhaseNPE || detail == kAcThreePhasePE;
    }
    return port == kPortDc && detail == kDcPlusMinusPE;
}

bool LineKeptForMode(int32_t port, int32_t mode, int32_t line) {
    if ((port != kPortAc && port != kPortDc) || line < 0 || line > 31) {
        return true;
    }
    const bool normalLine = (NormalLines(port) & (1u << line)) != 0;
    if (mode == kModeNormal) {
        return normalLine;
    }
    if (mode == kModeCommon) {
        return !normalLine;
    }
    return true;
}

bool IsCommonLine(int32_t port, int32_t line) {
    return line >= 0 && line <= 31 && (CommonLines(port) & (1u << line)) != 0;
}

AcPhaseGroup PhaseGroupOfDetail(int32_t detail) {
    if (detail == kAcSinglePhaseLN || detail == kAcSinglePhaseLNPE) {
        return AcPhaseGroup::SinglePhase;
    }
    if (detail >= kAcSinglePhaseL1L2NPE && detail <= kAcThreePhaseNPE) {
        return AcPhaseGroup::ThreePhase;
    }
    return detail == kAcThreePhasePE ? AcPhaseGroup::Either : AcPhaseGroup::Unknown;
}

AcPhaseGroup PhaseGroupOfLineType(int32_t lineType) {
    if (lineType == 0 || lineType == 1) {
        return AcPhaseGroup::SinglePhase;
    }
    return (lineType >= 2 && lineType <= 5) ? AcPhaseGroup::ThreePhase : AcPhaseGroup::Unknown;
}

bool PhaseGroupsAgree(int32_t lineType, int32_t detail) {
    const AcPhaseGroup switched = PhaseGroupOfLineType(lineType);
    const AcPhaseGroup wanted = PhaseGroupOfDetail(detail);
    if (switched == AcPhaseGroup::Unknown || wanted == AcPhaseGroup::Unknown ||
        wanted == AcPhaseGroup::Either) {
        return true;  // nothing known to disagree
    }
    return switched == wanted;
}

int64_t EstimatedStepCount(const CSettingData& record) {
    const OUTPUT_PORT* slot = record.SelectedPort();
    const int32_t port = record.m_outOutput.m_nOutputPort;
    const int32_t detail = slot ? slot->m_nOutputDetail : -1;
    const uint32_t lines =
        (slot && detail >= 0 && detail < kSlotCount) ? slot->m_aulInjRetBit[detail] : 0u;
    const VALUE& volt = record.m_valVolt;
    const int64_t voltages = std::max<int32_t>(0, volt.ValueCount());
    const int64_t angles =
        (slot && slot->m_nSync == 1) ? std::max<int32_t>(0, slot->m_valAngle.ValueCount()) : 1;
    const int64_t polarities = BitCount(record.m_ulPola);

    if (volt.m_nValueType != kValueVariable || !HasBothLineKinds(port, detail)) {
        return SaturatingProduct({BitCount(lines), polarities, voltages, angles});
    }
    // Each flag of the list multiplies its own kind of line (at most 10 x 32 each).
    int64_t normal = 0;
    int64_t common = 0;
    for (int i = 0; i < kSlotCount; ++i) {
        normal += volt.m_abUse[i] ? 1 : 0;
        common += volt.m_abUse2[i] ? 1 : 0;
    }
    const int64_t perPolarityAndAngle =
        normal * BitCount(lines & NormalLines(port)) + common * BitCount(lines & CommonLines(port));
    return SaturatingProduct({polarities, perPolarityAndAngle, angles});
}

}  // namespace zeb
