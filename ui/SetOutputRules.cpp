#include "SetOutputRules.h"

#include "NameTables.h"
#include "SettingData.h"

namespace zeb {

namespace {

constexpr uint32_t kTelecomUnitBit = 0x4000;
constexpr uint32_t kUnitBit2 = 0x2000;
constexpr uint32_t kMachineTelecomUnitCdn = 0x400F;

uint32_t Bits(std::initializer_list<int> bits) {
    uint32_t mask = 0;
    for (int b : bits) {
        mask |= 1u << b;
    }
    return mask;
}

const ChoiceList& W1() {
    static const ChoiceList list = ChoicesOf(names::kWaveform, {0});
    return list;
}
const ChoiceList& W2() {
    static const ChoiceList list = ChoicesOf(names::kWaveform, {1});
    return list;
}
const ChoiceList& W3() {
    static const ChoiceList list = ChoicesOf(names::kWaveform, {0, 1});
    return list;
}
const ChoiceList& W4() {
    static const ChoiceList list = ChoicesOf(names::kWaveform, {0, 2});
    return list;
}

}  // namespace

ChoiceList AcWaveforms(uint32_t machineType) {
    if (machineType == kNoMachineType) {
        return W1();
    }
    if (HasCouplingUnit(machineType)) {
        return (machineType & kTelecomUnitBit) ? W4() : W1();
    }
    return (machineType & kVariantB) ? W4() : W1();
}

ChoiceList DcWaveforms(uint32_t machineType) {
    return (machineType != kNoMachineType && (machineType & kVariantB)) ? W4() : W1();
}

ChoiceList SurgeWaveforms(uint32_t machineType) {
    if (machineType == kNoMachineType) {
        return W3();
    }
    if (machineType & kVariantB) {
        return W4();
    }
    return (machineType & kVariantC) ? W3() : W1();
}

ChoiceList TelecomWaveforms() {
    return W3();
}

ChoiceList TelecomUnitWaveforms(uint32_t machineType) {
    if (machineType & kVariantB) {
        return W2();
    }
    return (machineType & kVariantC) ? W1() : ChoiceList{};
}

bool LineWaveformIsChoice(uint32_t machineType) {
    if (machineType & (kTelecomUnitBit | kUnitBit2)) {
        return true;
    }
    return !HasCouplingUnit(machineType) && (machineType & kVariantB);
}

bool SurgeWaveformIsChoice(uint32_t machineType) {
    return (machineType & (kVariantB | kVariantC)) != 0;
}

ChoiceList AcDetails(uint32_t machineType, int32_t& recordHWVersion, int32_t instrumentHWVersion) {
    const NameTable& t = names::kAcDetail;
    if (machineType == kNoMachineType) {
        return {};
    }
    if (HasCouplingUnit(machineType)) {
        return (machineType & kThreePhaseBit) ? ChoicesOf(t, {3, 4, 5}) : ChoicesOf(t, {0, 1});
    }
    if (!(machineType & kThreePhaseBit)) {
        return ChoicesOf(t, {0, 1});
    }
    if (recordHWVersion == 0 && instrumentHWVersion != 0) {
        recordHWVersion = instrumentHWVersion;
    }
    if (recordHWVersion != 0) {
        return ChoicesOf(t, {0, 1, 2, 3, 4, 6, 5});
    }
    return ChoicesOf(t, {0, 1, 2, 3, 4, 5});
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

uint32_t EnabledLineBits(int32_t port, int32_t detail, uint32_t machineType) {
    const bool unit = machineType == kMachineTelecomUnit;
    const bool unitCdn = machineType == kMachineTelecomUnitCdn;
    if (port == kPortAc) {
        switch (detail) {
            case 0:
                return Bits({0, 3});
            case 1:
                return Bits({0, 3, 12, 13}) | (unit ? Bits({16}) : 0);
            case 2:
                return Bits({0, 2, 3, 5, 9, 10, 12, 13, 15});
            case 3:
                return Bits({0, 1, 3, 4, 6, 7});
            case 4:
                return 0xFFFu | (unitCdn ? Bits({17}) : 0);
            case 5:
                return 0xFFFFu | (unitCdn ? Bits({17, 18, 19}) : 0);
            case 6:
                return Bits({0, 1, 3, 4, 6, 7, 12, 13, 14}) | (unitCdn ? Bits({18}) : 0);
            default:
                return 0;
        }
    }
    if (port == kPortDc) {
        return detail == 0 ? Bits({0, 1}) : detail == 1 ? Bits({0, 1, 2, 3}) : 0;
    }
    if (port == kPortTelecom) {
        return detail == 0 ? Bits({0, 1, 4}) : detail == 1 ? Bits({0, 1, 2, 3, 4}) : 0;
    }
    return 0;
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
