// What each machine type offers: ports, lists in their order, enabled lines with the exact-type
// exceptions, limits. The editor's lists, the step check and the plan generator all read this
// table, so a wrong entry here is wrong everywhere at once.

#include <gtest/gtest.h>

#include "Capabilities.h"

namespace zeb {
namespace {

using Codes_t = std::vector<int32_t>;

Codes_t Codes(const ChoiceList& list) {
    Codes_t codes;
    for (const Choice& c : list) {
        codes.push_back(c.code);
    }
    return codes;
}

Codes_t Codes(const std::vector<LineConfiguration>& list) {
    Codes_t codes;
    for (const LineConfiguration& lc : list) {
        codes.push_back(lc.code);
    }
    return codes;
}

Codes_t Ports(uint32_t type) {
    Codes_t codes;
    for (const PortCapabilities& p : CapabilitiesOf(type, 0).ports) {
        codes.push_back(p.port);
    }
    return codes;
}

PortCapabilities PortOf(uint32_t type, int32_t port, int32_t hw = 0) {
    const MachineCapabilities caps = CapabilitiesOf(type, hw);
    const PortCapabilities* p = caps.Port(port);
    EXPECT_NE(p, nullptr) << "type " << type << " port " << port;
    return p ? *p : PortCapabilities{};
}

uint32_t Bits(std::initializer_list<int> bits) {
    uint32_t m = 0;
    for (int b : bits) {
        m |= 1u << b;
    }
    return m;
}

TEST(Capabilities, PortsPerMachine) {
    EXPECT_EQ(Ports(0x400F), (Codes_t{kPortAc}));
    EXPECT_EQ(Ports(0x400B), (Codes_t{kPortAc, kPortDc, kPortTelecom}));
    EXPECT_EQ(Ports(2), (Codes_t{kPortAc, kPortDc, kPortSurge}));
    EXPECT_EQ(Ports(5), (Codes_t{kPortAc, kPortDc, kPortSurge, kPortTelecom}));
    EXPECT_EQ(Ports(0), (Codes_t{kPortAc, kPortDc, kPortSurge}));
    EXPECT_EQ(PortOf(5, kPortTelecom).name, "TELECOM LINE OUTPUT");
    EXPECT_EQ(CapabilitiesOf(2, 0).Port(kPortTelecom), nullptr);
}

TEST(Capabilities, WaveformListsPerMachineAndPort) {
    EXPECT_EQ(Codes(PortOf(kNoMachineType, kPortAc).waveforms), (Codes_t{0}));
    EXPECT_EQ(Codes(PortOf(0x400B, kPortAc).waveforms), (Codes_t{0, 2}));
    EXPECT_EQ(Codes(PortOf(0x1004, kPortAc).waveforms), (Codes_t{0}));
    EXPECT_EQ(Codes(PortOf(6, kPortAc).waveforms), (Codes_t{0, 2}));
    EXPECT_EQ(Codes(PortOf(5, kPortAc).waveforms), (Codes_t{0}));
    EXPECT_EQ(Codes(PortOf(2, kPortDc).waveforms), (Codes_t{0, 2}));
    EXPECT_EQ(Codes(PortOf(1, kPortDc).waveforms), (Codes_t{0}));
    EXPECT_EQ(Codes(PortOf(2, kPortSurge).waveforms), (Codes_t{0, 2}));
    EXPECT_EQ(Codes(PortOf(1, kPortSurge).waveforms), (Codes_t{0, 1}));
    EXPECT_EQ(Codes(PortOf(0, kPortSurge).waveforms), (Codes_t{0}));
    EXPECT_EQ(Codes(PortOf(5, kPortTelecom).waveforms), (Codes_t{0, 1}));
    // The telecom coupling unit 0x400B offers "10/700" only; a unit without variant bits none.
    EXPECT_EQ(PortOf(0x400B, kPortTelecom).waveforms, (ChoiceList{{"10/700", 1}}));
    EXPECT_EQ(Codes(PortOf(0x4001, kPortTelecom).waveforms), (Codes_t{0}));
    EXPECT_TRUE(PortOf(0x4000, kPortTelecom).waveforms.empty());

    EXPECT_TRUE(PortOf(0x2000, kPortAc).waveformIsChoice);
    EXPECT_FALSE(PortOf(0x1002, kPortDc).waveformIsChoice);
    EXPECT_TRUE(PortOf(2, kPortAc).waveformIsChoice);
    EXPECT_FALSE(PortOf(1, kPortAc).waveformIsChoice);
    EXPECT_TRUE(PortOf(1, kPortSurge).waveformIsChoice);
    EXPECT_FALSE(PortOf(8, kPortSurge).waveformIsChoice);
}

TEST(Capabilities, AcLineConfigurationsFollowTheHardwareVersion) {
    const PortCapabilities older = PortOf(5, kPortAc, 0);
    EXPECT_EQ(Codes(older.lineConfigurations), (Codes_t{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(older.lineConfigurations[4].text, "THREE  PHASE L1, L2, L3, N ");
    const PortCapabilities newer = PortOf(5, kPortAc, 1);
    EXPECT_EQ(Codes(newer.lineConfigurations), (Codes_t{0, 1, 2, 3, 4, 6, 5}));
    EXPECT_EQ(newer.lineConfigurations[5].text, "THREE  PHASE L1, L2, L3, PE");
    EXPECT_EQ(Codes(PortOf(1, kPortAc, 1).lineConfigurations), (Codes_t{0, 1}));
    EXPECT_EQ(Codes(PortOf(0x400F, kPortAc, 1).lineConfigurations), (Codes_t{3, 4, 5}));
    EXPECT_EQ(Codes(PortOf(0x400B, kPortAc, 1).lineConfigurations), (Codes_t{0, 1}));
    EXPECT_TRUE(PortOf(kNoMachineType, kPortAc, 1).lineConfigurations.empty());
    EXPECT_EQ(Codes(PortOf(5, kPortDc).lineConfigurations), (Codes_t{0, 1}));
    EXPECT_EQ(PortOf(5, kPortSurge).lineConfigurations[0].text, "HOT - COM");
    EXPECT_FALSE(PortOf(5, kPortSurge).lineConfigurationIsChoice);
}

TEST(Capabilities, EnabledLinesPerConfigurationWithTheExactTypeExceptions) {
    EXPECT_EQ(EnabledLineBits(kPortAc, 0, 5), Bits({0, 3}));
    EXPECT_EQ(EnabledLineBits(kPortAc, 1, 5), Bits({0, 3, 12, 13}));
    EXPECT_EQ(EnabledLineBits(kPortAc, 1, 0x400B), Bits({0, 3, 12, 13, 16}));
    EXPECT_EQ(EnabledLineBits(kPortAc, 2, 5), Bits({0, 2, 3, 5, 9, 10, 12, 13, 15}));
    EXPECT_EQ(EnabledLineBits(kPortAc, 3, 5), Bits({0, 1, 3, 4, 6, 7}));
    EXPECT_EQ(EnabledLineBits(kPortAc, 4, 5), 0xFFFu);
    EXPECT_EQ(EnabledLineBits(kPortAc, 4, 0x400F), 0xFFFu | Bits({17}));
    EXPECT_EQ(EnabledLineBits(kPortAc, 5, 0x400F), 0xFFFFu | Bits({17, 18, 19}));
    EXPECT_EQ(EnabledLineBits(kPortAc, 5, 0x400B), 0xFFFFu);  // exact type only
    EXPECT_EQ(EnabledLineBits(kPortAc, 5, 0x410F), 0xFFFFu);
    EXPECT_EQ(EnabledLineBits(kPortAc, 6, 0x400F), Bits({0, 1, 3, 4, 6, 7, 12, 13, 14, 18}));
    EXPECT_EQ(EnabledLineBits(kPortAc, 7, 5), 0u);
    EXPECT_EQ(EnabledLineBits(kPortDc, 0, 5), Bits({0, 1}));
    EXPECT_EQ(EnabledLineBits(kPortDc, 1, 5), 0xFu);
    EXPECT_EQ(EnabledLineBits(kPortTelecom, 0, 1), Bits({0, 1, 4}));
    EXPECT_EQ(EnabledLineBits(kPortTelecom, 1, 1), 0x1Fu);
    EXPECT_EQ(EnabledLineBits(kPortSurge, 0, 1), 1u);
    // The table's entries carry the same bits, and both kinds of line make up the AC lines.
    EXPECT_EQ(PortOf(0x400F, kPortAc).LinesOf(kAcThreePhaseNPE), 0xFFFFu | Bits({17, 18, 19}));
    EXPECT_EQ(PortOf(5, kPortAc).LinesOf(kAcThreePhasePE), 0u);  // not offered on hardware 0
    EXPECT_EQ(kAcNormalLines | kAcCommonLines, 0xFFFFFu);
    EXPECT_EQ(kAcNormalLines & kAcCommonLines, 0u);
}

TEST(Capabilities, CouplingsImpedancesSyncAndLimits) {
    EXPECT_EQ(Codes(PortOf(5, kPortAc).couplings), (Codes_t{0, 1, 2}));
    EXPECT_EQ(PortOf(5, kPortTelecom).couplings[2].text, "25ohm");
    EXPECT_EQ(PortOf(0x400B, kPortTelecom).couplings, (ChoiceList{{"40ohm", 1}, {"15ohm", 2}}));
    EXPECT_TRUE(PortOf(9, kPortTelecom).couplings.empty());  // edition 3: no resistor
    EXPECT_TRUE(PortOf(5, kPortSurge).couplings.empty());
    EXPECT_EQ(Codes(PortOf(2, kPortDc).ringImpedances), (Codes_t{0, 1}));
    EXPECT_TRUE(PortOf(2, kPortSurge).ringImpedances.empty());
    EXPECT_TRUE(PortOf(5, kPortAc).phaseSync);
    EXPECT_FALSE(PortOf(5, kPortDc).phaseSync);
    EXPECT_TRUE(PortOf(5, kPortTelecom).lineBoxes);
    EXPECT_FALSE(PortOf(9, kPortTelecom).lineBoxes);
    EXPECT_FALSE(PortOf(0x400B, kPortTelecom).lineBoxes);

    EXPECT_EQ(PortOf(9, kPortTelecom).voltageMax, 6000);
    EXPECT_EQ(PortOf(9, kPortAc).voltageMax, 15000);
    EXPECT_EQ(PortOf(5, kPortTelecom).voltageMax, 15000);
    const MachineCapabilities unit = CapabilitiesOf(0x400B, 0);
    EXPECT_EQ(unit.IntervalMinimum(kWaveRing), 5);
    EXPECT_EQ(CapabilitiesOf(5, 0).IntervalMinimum(kWaveRing), 10);
    EXPECT_EQ(unit.IntervalMinimum(kWave10700), 15);
    EXPECT_FALSE(unit.IntervalMinimum(3).has_value());
    EXPECT_EQ(unit.StepIntervalMinimum(kWave1250, 4100), 20);
    EXPECT_EQ(CapabilitiesOf(5, 0).StepIntervalMinimum(kWave1250, 6000), 10);
}

}  // namespace
}  // namespace zeb
