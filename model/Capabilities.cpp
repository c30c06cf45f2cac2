#include "Capabilities.h"

#include <initializer_list>

#include "NameTables.h"

namespace zeb {

namespace {

// Coupling-unit bits that give the AC and DC outputs a waveform choice.
constexpr uint32_t kTelecomUnitBit = 0x4000;
constexpr uint32_t kUnitBit2 = 0x2000;

uint32_t Bits(std::initializer_list<int32_t> bits) {
    uint32_t mask = 0;
    for (int32_t b : bits) {
        mask |= LineBit(b);
    }
    return mask;
}

// The waveform lists of the output pages.
ChoiceList Waves(std::initializer_list<int32_t> codes) {
    return ChoicesOf(names::kWaveform, codes);
}
const std::initializer_list<int32_t> kW1 = {kWave1250};
const std::initializer_list<int32_t> kW2 = {kWave10700};
const std::initializer_list<int32_t> kW3 = {kWave1250, kWave10700};
const std::initializer_list<int32_t> kW4 = {kWave1250, kWaveRing};

ChoiceList AcWaveforms(uint32_t type) {
    if (type == kNoMachineType) {
        return Waves(kW1);
    }
    if (HasCouplingUnit(type)) {
        return Waves((type & kTelecomUnitBit) ? kW4 : kW1);
    }
    return Waves((type & kVariantB) ? kW4 : kW1);
}

ChoiceList SurgeWaveforms(uint32_t type) {
    if (type == kNoMachineType) {
        return Waves(kW3);
    }
    if (type & kVariantB) {
        return Waves(kW4);
    }
    return Waves((type & kVariantC) ? kW3 : kW1);
}

ChoiceList TelecomUnitWaveforms(uint32_t type) {
    if (type & kVariantB) {
        return Waves(kW2);
    }
    return (type & kVariantC) ? Waves(kW1) : ChoiceList{};
}

// The AC and DC pages offer a waveform choice; elsewhere they show "1.2 / 50".
bool LineWaveformIsChoice(uint32_t type) {
    if (type & (kTelecomUnitBit | kUnitBit2)) {
        return true;
    }
    return !HasCouplingUnit(type) && (type & kVariantB);
}

std::vector<int32_t> AcConfigurationCodes(uint32_t type, int32_t hardwareVersion) {
    if (type == kNoMachineType) {
        return {};
    }
    if (HasCouplingUnit(type)) {
        if (type & kThreePhaseBit) {
            return {kAcThreePhase, kAcThreePhaseN, kAcThreePhaseNPE};
        }
        return {kAcSinglePhaseLN, kAcSinglePhaseLNPE};
    }
    if (!(type & kThreePhaseBit)) {
        return {kAcSinglePhaseLN, kAcSinglePhaseLNPE};
    }
    std::vector<int32_t> codes = {kAcSinglePhaseLN, kAcSinglePhaseLNPE, kAcSinglePhaseL1L2NPE,
                                  kAcThreePhase, kAcThreePhaseN};
    if (hardwareVersion != 0) {
        codes.push_back(kAcThreePhasePE);
    }
    codes.push_back(kAcThreePhaseNPE);
    return codes;
}

std::vector<LineConfiguration> Configurations(int32_t port, const std::vector<int32_t>& codes,
                                              uint32_t type) {
    const NameTable* table = OutputDetailTable(port);
    std::vector<LineConfiguration> out;
    for (int32_t code : codes) {
        out.push_back({code, table->Lookup(code), EnabledLineBits(port, code, type)});
    }
    return out;
}

bool HasCode(const ChoiceList& list, int32_t code) {
    for (const Choice& c : list) {
        if (c.code == code) {
            return true;
        }
    }
    return false;
}

PortCapabilities Ac(uint32_t type, int32_t hardwareVersion) {
    PortCapabilities p;
    p.port = kPortAc;
    p.waveforms = AcWaveforms(type);
    p.waveformIsChoice = LineWaveformIsChoice(type);
    p.lineConfigurations =
        Configurations(kPortAc, AcConfigurationCodes(type, hardwareVersion), type);
    p.couplings = ChoicesOf(names::kCoupling);
    p.ringImpedances = ChoicesOf(names::kRingImpedance);
    p.phaseSync = true;
    p.normalLines = kAcNormalLines;
    p.commonLines = kAcCommonLines;
    return p;
}

PortCapabilities Dc(uint32_t type) {
    PortCapabilities p;
    p.port = kPortDc;
    p.waveforms = Waves((type != kNoMachineType && (type & kVariantB)) ? kW4 : kW1);
    p.waveformIsChoice = LineWaveformIsChoice(type);
    p.lineConfigurations = Configurations(kPortDc, {kDcPlusMinus, kDcPlusMinusPE}, type);
    p.couplings = ChoicesOf(names::kCoupling);
    p.ringImpedances = ChoicesOf(names::kRingImpedance);
    p.normalLines = kDcNormalLines;
    p.commonLines = kDcCommonLines;
    return p;
}

PortCapabilities Surge(uint32_t type) {
    PortCapabilities p;
    p.port = kPortSurge;
    p.waveforms = SurgeWaveforms(type);
    p.waveformIsChoice = (type & (kVariantB | kVariantC)) != 0;
    p.lineConfigurations = Configurations(kPortSurge, {kSurgeHotCom}, type);
    p.lineConfigurationIsChoice = false;
    p.lineBoxes = false;
    return p;
}

PortCapabilities Telecom(uint32_t type) {
    PortCapabilities p;
    p.port = kPortTelecom;
    p.lineConfigurations =
        Configurations(kPortTelecom, {kTelecomTwoLines, kTelecomFourLines}, type);
    if (HasCouplingUnit(type)) {
        // The external unit: its own waveform and resistor lists; the stored lines are used.
        p.waveforms = TelecomUnitWaveforms(type);
        p.couplings = ChoicesOf(names::kTelecomImpedanceUnit);
        p.lineBoxes = false;
    } else if (type & kEdition3Bit) {
        // Edition 3: waveform and line configuration only.
        p.waveforms = Waves(kW3);
        p.lineBoxes = false;
    } else {
        p.waveforms = Waves(kW3);
        p.couplings = ChoicesOf(names::kTelecomImpedance);
    }
    return p;
}

}  // namespace

const LineConfiguration* PortCapabilities::Configuration(int32_t code) const {
    for (const LineConfiguration& lc : lineConfigurations) {
        if (lc.code == code) {
            return &lc;
        }
    }
    return nullptr;
}

bool PortCapabilities::OffersWaveform(int32_t code) const {
    return HasCode(waveforms, code);
}

bool PortCapabilities::OffersCoupling(int32_t code) const {
    return HasCode(couplings, code);
}

bool PortCapabilities::OffersRingImpedance(int32_t code) const {
    return HasCode(ringImpedances, code);
}

uint32_t PortCapabilities::LinesOf(int32_t configuration) const {
    const LineConfiguration* lc = Configuration(configuration);
    return lc ? lc->lines : 0u;
}

const PortCapabilities* MachineCapabilities::Port(int32_t port) const {
    for (const PortCapabilities& p : ports) {
        if (p.port == port) {
            return &p;
        }
    }
    return nullptr;
}

std::optional<int32_t> MachineCapabilities::IntervalMinimum(int32_t waveform) const {
    return EntryIntervalMinimum(machineType, waveform);
}

int32_t MachineCapabilities::StepIntervalMinimum(int32_t waveform, int32_t volts) const {
    return zeb::StepIntervalMinimum(machineType, waveform, volts);
}

MachineCapabilities CapabilitiesOf(uint32_t machineType, int32_t hardwareVersion) {
    MachineCapabilities caps;
    caps.machineType = machineType;
    caps.hardwareVersion = hardwareVersion;
    for (int32_t port = kPortAc; port <= kPortTelecom; ++port) {
        if (!PortOffered(machineType, port)) {
            continue;
        }
        PortCapabilities p = port == kPortAc      ? Ac(machineType, hardwareVersion)
                             : port == kPortDc    ? Dc(machineType)
                             : port == kPortSurge ? Surge(machineType)
                                                  : Telecom(machineType);
        p.name = names::kOutputPort.Lookup(port);
        p.voltageMax = VoltageMax(machineType, port);
        caps.ports.push_back(std::move(p));
    }
    return caps;
}

uint32_t EnabledLineBits(int32_t port, int32_t configuration, uint32_t machineType) {
    const bool telecomUnit = machineType == kMachineTelecomUnit;
    const bool threePhaseUnit = machineType == kMachineThreePhaseUnit;
    if (port == kPortAc) {
        switch (configuration) {
            case kAcSinglePhaseLN:
                return Bits({kAcLN, kAcNL});
            case kAcSinglePhaseLNPE:
                return Bits({kAcLN, kAcNL, kAcLPE, kAcNPEsingle}) |
                       (telecomUnit ? LineBit(kAcLNPE) : 0u);
            case kAcSinglePhaseL1L2NPE:
                return Bits(
                    {kAcL1L2, kAcL1N, kAcL2L1, kAcL2N, kAcNL1, kAcNL2, kAcL1PE, kAcL2PE, kAcNPE});
            case kAcThreePhase:
                return Bits({kAcL1L2, kAcL1L3, kAcL2L1, kAcL2L3, kAcL3L1, kAcL3L2});
            case kAcThreePhaseN:
                return 0xFFFu | (threePhaseUnit ? LineBit(kAcL123N) : 0u);
            case kAcThreePhaseNPE:
                return 0xFFFFu | (threePhaseUnit ? Bits({kAcL123N, kAcL123PE, kAcL123NPE}) : 0u);
            case kAcThreePhasePE:
                return Bits({kAcL1L2, kAcL1L3, kAcL2L1, kAcL2L3, kAcL3L1, kAcL3L2, kAcL1PE, kAcL2PE,
                             kAcL3PE}) |
                       (threePhaseUnit ? LineBit(kAcL123PE) : 0u);
            default:
                return 0;
        }
    }
    if (port == kPortDc) {
        return configuration == kDcPlusMinus     ? kDcNormalLines
               : configuration == kDcPlusMinusPE ? (kDcNormalLines | kDcCommonLines)
                                                 : 0u;
    }
    if (port == kPortSurge) {
        return configuration == kSurgeHotCom ? LineBit(kSurgeLineHotCom) : 0u;
    }
    if (port == kPortTelecom) {
        return configuration == kTelecomTwoLines ? Bits({kTelecomRet1, kTelecomRet2, kTelecomRetPE})
               : configuration == kTelecomFourLines ? 0x1Fu
                                                    : 0u;
    }
    return 0;
}

}  // namespace zeb
