// The output pages' lists, line boxes and labels per machine type and line configuration.

#include <gtest/gtest.h>

#include "ChoiceCodes.h"
#include "SetOutputRules.h"
#include "SettingData.h"

namespace zeb {
namespace {

using test::Codes;
using test::Codes_t;

uint32_t Bits(std::initializer_list<int> bits) {
    uint32_t m = 0;
    for (int b : bits) {
        m |= 1u << b;
    }
    return m;
}

TEST(SetOutputRules, WaveformListsPerMachine) {
    EXPECT_EQ(Codes(AcWaveforms(kNoMachineType)), (Codes_t{0}));
    EXPECT_EQ(Codes(AcWaveforms(0x400B)), (Codes_t{0, 2}));
    EXPECT_EQ(Codes(AcWaveforms(0x1004)), (Codes_t{0}));
    EXPECT_EQ(Codes(AcWaveforms(6)), (Codes_t{0, 2}));
    EXPECT_EQ(Codes(AcWaveforms(5)), (Codes_t{0}));
    EXPECT_EQ(Codes(DcWaveforms(kNoMachineType)), (Codes_t{0}));
    EXPECT_EQ(Codes(DcWaveforms(2)), (Codes_t{0, 2}));
    EXPECT_EQ(Codes(SurgeWaveforms(kNoMachineType)), (Codes_t{0, 1}));
    EXPECT_EQ(Codes(SurgeWaveforms(2)), (Codes_t{0, 2}));
    EXPECT_EQ(Codes(SurgeWaveforms(1)), (Codes_t{0, 1}));
    EXPECT_EQ(Codes(SurgeWaveforms(0)), (Codes_t{0}));
    // The telecom coupling unit 0x400B offers "10/700" only.
    EXPECT_EQ(TelecomUnitWaveforms(0x400B), (ChoiceList{{"10/700", 1}}));
    EXPECT_EQ(Codes(TelecomUnitWaveforms(0x4001)), (Codes_t{0}));
    EXPECT_TRUE(TelecomUnitWaveforms(0x4000).empty());

    EXPECT_TRUE(LineWaveformIsChoice(0x2000));
    EXPECT_FALSE(LineWaveformIsChoice(0x1002));
    EXPECT_TRUE(LineWaveformIsChoice(2));
    EXPECT_FALSE(LineWaveformIsChoice(1));
    EXPECT_TRUE(SurgeWaveformIsChoice(1));
    EXPECT_FALSE(SurgeWaveformIsChoice(8));
}

TEST(SetOutputRules, AcDetailListsAndHardwareVersion) {
    int32_t hw = 0;
    const ChoiceList six = AcDetails(5, hw, 0);
    EXPECT_EQ(Codes(six), (Codes_t{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(hw, 0);
    EXPECT_EQ(six[4].text, "THREE  PHASE L1, L2, L3, N ");

    const ChoiceList seven = AcDetails(5, hw, 1);
    EXPECT_EQ(Codes(seven), (Codes_t{0, 1, 2, 3, 4, 6, 5}));
    EXPECT_EQ(seven[5].text, "THREE  PHASE L1, L2, L3, PE");
    EXPECT_EQ(hw, 1);  // the record takes the instrument's version

    hw = 1;
    EXPECT_EQ(AcDetails(5, hw, 0).size(), 7u);  // the record's own version suffices
    hw = 0;
    EXPECT_EQ(Codes(AcDetails(1, hw, 1)), (Codes_t{0, 1}));
    EXPECT_EQ(hw, 0);  // single-phase machines leave the version alone
    EXPECT_EQ(Codes(AcDetails(0x400F, hw, 1)), (Codes_t{3, 4, 5}));
    EXPECT_EQ(Codes(AcDetails(0x400B, hw, 1)), (Codes_t{0, 1}));
    EXPECT_TRUE(AcDetails(kNoMachineType, hw, 1).empty());

    EXPECT_EQ(Codes(TelecomUnitResistors()), (Codes_t{1, 2}));
    EXPECT_EQ(TelecomResistors()[2].text, "25ohm");
}

TEST(SetOutputRules, EnabledBoxesPerLineConfiguration) {
    EXPECT_EQ(EnabledLineBits(0, 0, 5), Bits({0, 3}));
    EXPECT_EQ(EnabledLineBits(0, 1, 5), Bits({0, 3, 12, 13}));
    EXPECT_EQ(EnabledLineBits(0, 1, 0x400B), Bits({0, 3, 12, 13, 16}));
    EXPECT_EQ(EnabledLineBits(0, 2, 5), Bits({0, 2, 3, 5, 9, 10, 12, 13, 15}));
    EXPECT_EQ(EnabledLineBits(0, 3, 5), Bits({0, 1, 3, 4, 6, 7}));
    EXPECT_EQ(EnabledLineBits(0, 4, 5), 0xFFFu);
    EXPECT_EQ(EnabledLineBits(0, 4, 0x400F), 0xFFFu | Bits({17}));
    EXPECT_EQ(EnabledLineBits(0, 5, 0x400F), 0xFFFFu | Bits({17, 18, 19}));
    EXPECT_EQ(EnabledLineBits(0, 5, 0x400B), 0xFFFFu);  // exact type only
    EXPECT_EQ(EnabledLineBits(0, 6, 0x400F), Bits({0, 1, 3, 4, 6, 7, 12, 13, 14, 18}));
    EXPECT_EQ(EnabledLineBits(0, 7, 5), 0u);
    EXPECT_EQ(EnabledLineBits(1, 0, 5), Bits({0, 1}));
    EXPECT_EQ(EnabledLineBits(1, 1, 5), 0xFu);
    EXPECT_EQ(EnabledLineBits(3, 0, 1), Bits({0, 1, 4}));
    EXPECT_EQ(EnabledLineBits(3, 1, 1), 0x1Fu);
    EXPECT_EQ(EnabledLineBits(2, 0, 1), 0u);
}

TEST(SetOutputRules, SinglePhaseRelabelsFourAcBoxes) {
    EXPECT_EQ(AcLineLabel(0, 0), "L  - N ");
    EXPECT_EQ(AcLineLabel(3, 1), "N  - L ");
    EXPECT_EQ(AcLineLabel(12, 1), "L  - PE");
    EXPECT_EQ(AcLineLabel(13, 0), "N  - PE");
    EXPECT_EQ(AcLineLabel(0, 3), "L1 - L2");
    EXPECT_EQ(AcLineLabel(3, 2), "L2 - L1");
    EXPECT_EQ(AcLineLabel(12, 5), "L1 - PE");
    EXPECT_EQ(AcLineLabel(2, 0), "L1 - N");  // unmarked boxes keep their label
    EXPECT_EQ(AcLineLabel(19, 0), "L1+L2+L3+N - PE");
    EXPECT_EQ(AcLineLabel(20, 0), "");
    EXPECT_EQ(DcLineLabel(1), "- - +");
    EXPECT_EQ(TelecomLineLabel(4), "RET PE");
}

}  // namespace
}  // namespace zeb
