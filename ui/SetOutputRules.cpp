#include "SetOutputRules.h"

#include "Capabilities.h"
#include "NameTables.h"
#include "SettingData.h"

namespace zeb {

namespace {

// The port's entry of the capability table; an empty one for a port the machine lacks (its
// page is made but never shown).
PortCapabilities PortOf(uint32_t machineType, int32_t port, int32_t hardwareVersion = 0) {
    const MachineCapabilities caps = CapabilitiesOf(machineType, hardwareVersion);
    const PortCapabilities* p = caps.Port(port);
    return p ? *p : PortCapabilities{};
}

ChoiceList ConfigurationChoices(const PortCapabilities& p) {
    ChoiceList list;
    for (const LineConfiguration& lc : p.lineConfigurations) {
        list.push_back({lc.text, lc.code});
    }
    return list;
}

// The generator's own telecom output, whatever the machine type.
constexpr uint32_t kTelecomGenerator = 0x1;

}  // namespace

ChoiceList AcWaveforms(uint32_t machineType) {
    return PortOf(machineType, kPortAc).waveforms;
}

ChoiceList DcWaveforms(uint32_t machineType) {
    return PortOf(machineType, kPortDc).waveforms;
}

ChoiceList SurgeWaveforms(uint32_t machineType) {
    return PortOf(machineType, kPortSurge).waveforms;
}

ChoiceList TelecomWaveforms() {
    return PortOf(kTelecomGenerator, kPortTelecom).waveforms;
}

ChoiceList TelecomUnitWaveforms(uint32_t machineType) {
    return HasCouplingUnit(machineType) ? PortOf(machineType, kPortTelecom).waveforms
                                        : ChoiceList{};
}

bool LineWaveformIsChoice(uint32_t machineType) {
    return PortOf(machineType, kPortAc).waveformIsChoice;
}

bool SurgeWaveformIsChoice(uint32_t machineType) {
    return PortOf(machineType, kPortSurge).waveformIsChoice;
}

ChoiceList AcDetails(uint32_t machineType, int32_t& recordHWVersion, int32_t instrumentHWVersion) {
    if (machineType != kNoMachineType && !HasCouplingUnit(machineType) &&
        (machineType & kThreePhaseBit) && recordHWVersion == 0 && instrumentHWVersion != 0) {
        recordHWVersion = instrumentHWVersion;
    }
    return ConfigurationChoices(PortOf(machineType, kPortAc, recordHWVersion));
}

ChoiceList DcDetails() {
    return ChoicesOf(names::kDcDetail);
}
ChoiceList TelecomDetails() {
    return ChoicesOf(names::kTelecomDetail);
}
ChoiceList LineCouplings() {
    return ChoicesOf(names::kCoupling);
}
ChoiceList TelecomResistors() {
    return ChoicesOf(names::kTelecomImpedance);
}
ChoiceList TelecomUnitResistors() {
    return ChoicesOf(names::kTelecomImpedanceUnit);
}
ChoiceList RingImpedances() {
    return ChoicesOf(names::kRingImpedance);
}

QString AcLineLabel(int bit, int32_t detail) {
    static const char* const kThreePhase[kAcLineBoxes] = {
        "L1 - L2", "L1 - L3",  "L1 - N",       "L2 - L1",       "L2 - L3",
        "L2 - N",  "L3 - L1",  "L3 - L2",      "L3 - N",        "N  - L1",
        "N  - L2", "N  - L3",  "L1 - PE",      "L2 - PE",       "L3 - PE",
        "N  - PE", "L+N - PE", "L1+L2+L3 - N", "L1+L2+L3 - PE", "L1+L2+L3+N - PE",
    };
    if (bit < 0 || bit >= kAcLineBoxes) {
        return QString();
    }
    if (detail == 0 || detail == 1) {
        switch (bit) {
            case 0:
                return QStringLiteral("L  - N ");
            case 3:
                return QStringLiteral("N  - L ");
            case 12:
                return QStringLiteral("L  - PE");
            case 13:
                return QStringLiteral("N  - PE");
            default:
                break;
        }
    }
    return QString::fromLatin1(kThreePhase[bit]);
}

QString DcLineLabel(int bit) {
    static const char* const kLabels[kDcLineBoxes] = {"+ - -", "- - +", "+ - PE", "- - PE"};
    return (bit >= 0 && bit < kDcLineBoxes) ? QString::fromLatin1(kLabels[bit]) : QString();
}

QString TelecomLineLabel(int bit) {
    static const char* const kLabels[kTelecomLineBoxes] = {"RET 1", "RET 2", "RET 3", "RET 4",
                                                           "RET PE"};
    return (bit >= 0 && bit < kTelecomLineBoxes) ? QString::fromLatin1(kLabels[bit]) : QString();
}

}  // namespace zeb
