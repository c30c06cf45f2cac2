// Expansion of a record into steps: loop order, NORMAL/COMMON line filter, interval raise,
// and the minimum interval of a step.

#include <gtest/gtest.h>

#include "SettingData.h"

namespace zeb {
namespace {

CSettingData Record(uint32_t machineType) {
    CSettingData rec;
    rec.m_ulMachineType = machineType;
    rec.SetDefault();
    return rec;
}

OUTPUT_PORT& Port(CSettingData& rec, int port) {
    rec.m_outOutput.m_nOutputPort = port;
    return rec.m_outOutput.m_aopOutputPort[port];
}

ExecDataList Expand(const CSettingData& rec) {
    ExecDataList steps;
    rec.ExpandSteps(steps);
    EXPECT_EQ(static_cast<int64_t>(steps.size()), rec.StepCount());
    return steps;
}

TEST(Expansion, DefaultRecordGivesOneStep) {
    const ExecDataList steps = Expand(Record(5));
    ASSERT_EQ(steps.size(), 1u);
    const CExecData& s = steps[0];
    EXPECT_EQ(s.m_ulMachineType, 5u);
    EXPECT_EQ(s.m_nOutputPort, 0);
    EXPECT_EQ(s.m_nOutputDetail, 0);
    EXPECT_EQ(s.m_nInjRet, 0);
    EXPECT_EQ(s.m_lVolt, 500);
    EXPECT_EQ(s.m_nPola, 0);
    EXPECT_EQ(s.m_lDisc, 5);
    EXPECT_EQ(s.m_lRept, 60);
    EXPECT_EQ(s.m_lAngle, 0);  // sync off: the first angle of the set
    EXPECT_EQ(s.m_nResult, 0);

    // Three-phase coupling unit: configuration 3.
    const ExecDataList unit = Expand(Record(0x4004));
    ASSERT_EQ(unit.size(), 1u);
    EXPECT_EQ(unit[0].m_nOutputDetail, 3);
}

TEST(Expansion, LoopOrderVoltageLinePolarityAngle) {
    CSettingData rec = Record(5);
    OUTPUT_PORT& ac = Port(rec, kPortAc);
    ac.m_aulInjRetBit[0] = (1u << 0) | (1u << 2);
    ac.m_nSync = 1;  // angles 0, 90, 180, 270
    rec.m_valVolt.m_nValueType = kValueSweep;
    rec.m_valVolt.m_lStart = 1000;
    rec.m_valVolt.m_lEnd = 2000;
    rec.m_valVolt.m_lStep = 1000;
    rec.m_ulPola = 3;
    const ExecDataList steps = Expand(rec);
    ASSERT_EQ(steps.size(), 2u * 2u * 2u * 4u);
    size_t i = 0;
    for (int32_t volt : {1000, 2000}) {
        for (int32_t line : {0, 2}) {
            for (int32_t pola : {0, 1}) {
                for (int32_t angle : {0, 90, 180, 270}) {
                    const CExecData& s = steps[i++];
                    EXPECT_EQ(s.m_lVolt, volt);
                    EXPECT_EQ(s.m_nInjRet, line);
                    EXPECT_EQ(s.m_nPola, pola);
                    EXPECT_EQ(s.m_lAngle, angle);
                }
            }
        }
    }
}

TEST(Expansion, TemplateCarriesSelectedPortOnly) {
    CSettingData rec = Record(5);
    OUTPUT_PORT& dc = Port(rec, kPortDc);
    dc.m_aulInjRetBit[0] = 3;  // lines "+ - - " and "- - + "
    dc.m_nCoup = 2;
    dc.m_nWaveform = 1;
    dc.m_nRingRegi = 1;
    dc.m_bVaristorTestMode = 1;
    rec.m_outOutput.m_aopOutputPort[kPortAc].m_nCoup = 1;
    rec.m_lDisc = 7;
    rec.m_lRept = 33;
    const ExecDataList steps = Expand(rec);
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_EQ(steps[0].m_nOutputPort, kPortDc);
    EXPECT_EQ(steps[0].m_nCoup, 2);
    EXPECT_EQ(steps[0].m_nWaveform, 1);
    EXPECT_EQ(steps[0].m_nRingRegi, 1);
    EXPECT_EQ(steps[0].m_bVaristorTestMode, 1);
    EXPECT_EQ(steps[0].m_lDisc, 7);
    EXPECT_EQ(steps[1].m_nInjRet, 1);
    EXPECT_EQ(steps[1].m_lRept, 33);
}

TEST(Expansion, NormalCommonMarksFilterAcLines) {
    CSettingData rec = Record(5);
    Port(rec, kPortAc).m_aulInjRetBit[0] = (1u << 0) | (1u << 12);
    VALUE& v = rec.m_valVolt;
    v.m_nValueType = kValueVariable;
    v.m_nVariableKind = 1;
    std::fill(std::begin(v.m_abUse), std::end(v.m_abUse), 0);
    std::fill(std::begin(v.m_abUse2), std::end(v.m_abUse2), 0);
    v.m_alValue[0] = 1000;
    v.m_abUse[0] = 1;  // NORMAL only
    v.m_alValue[1] = 2000;
    v.m_abUse2[1] = 1;  // COMMON only
    v.m_alValue[2] = 4000;
    v.m_abUse[2] = v.m_abUse2[2] = 1;
    const ExecDataList steps = Expand(rec);
    ASSERT_EQ(steps.size(), 4u);
    EXPECT_EQ(std::make_pair(steps[0].m_lVolt, steps[0].m_nInjRet), std::make_pair(1000, 0));
    EXPECT_EQ(std::make_pair(steps[1].m_lVolt, steps[1].m_nInjRet), std::make_pair(2000, 12));
    EXPECT_EQ(std::make_pair(steps[2].m_lVolt, steps[2].m_nInjRet), std::make_pair(4000, 0));
    EXPECT_EQ(std::make_pair(steps[3].m_lVolt, steps[3].m_nInjRet), std::make_pair(4000, 12));

    // Line 17 (L1+L2+L3 - N) is a normal-mode line although it lies above 12.
    Port(rec, kPortAc).m_aulInjRetBit[0] = 1u << 17;
    const ExecDataList line17 = Expand(rec);
    ASSERT_EQ(line17.size(), 2u);
    EXPECT_EQ(line17[0].m_lVolt, 1000);
    EXPECT_EQ(line17[1].m_lVolt, 4000);
}

TEST(Expansion, NormalCommonMarksFilterDcButNotTelecomOrSurge) {
    CSettingData rec = Record(5);
    VALUE& v = rec.m_valVolt;
    v.m_nValueType = kValueVariable;
    v.m_nVariableKind = 1;
    v.m_abUse[0] = 1;
    v.m_abUse2[0] = 0;  // entry 0: NORMAL only
    v.m_abUse[1] = 0;
    v.m_abUse2[1] = 1;  // entry 1: COMMON only
    Port(rec, kPortDc).m_aulInjRetBit[0] = 0xF;
    const ExecDataList dc = Expand(rec);
    ASSERT_EQ(dc.size(), 4u);
    EXPECT_EQ(dc[0].m_nInjRet, 0);
    EXPECT_EQ(dc[1].m_nInjRet, 1);
    EXPECT_EQ(dc[2].m_nInjRet, 2);
    EXPECT_EQ(dc[3].m_nInjRet, 3);
    EXPECT_EQ(dc[2].m_lVolt, v.m_alValue[1]);

    Port(rec, kPortTelecom).m_aulInjRetBit[1] = 0x1F;
    EXPECT_EQ(Expand(rec).size(), 10u);
    Port(rec, kPortSurge);
    EXPECT_EQ(Expand(rec).size(), 2u);
}

TEST(Expansion, EmptySetsGiveEmptyList) {
    CSettingData rec = Record(5);
    rec.m_ulPola = 0;
    EXPECT_TRUE(Expand(rec).empty());
    rec = Record(5);
    Port(rec, kPortAc).m_aulInjRetBit[0] = 0;
    EXPECT_TRUE(Expand(rec).empty());
    rec = Record(5);
    rec.m_valVolt.m_nValueType = kValueSweep;
    rec.m_valVolt.m_lStart = 500;
    rec.m_valVolt.m_lEnd = 100;
    rec.m_valVolt.m_lStep = 100;  // count -3
    EXPECT_TRUE(Expand(rec).empty());
}

TEST(Expansion, ListIsEmptiedFirstAndDamagedCodesExpandToNothing) {
    CSettingData rec = Record(5);
    ExecDataList steps(3);
    rec.ExpandSteps(steps);
    EXPECT_EQ(steps.size(), 1u);
    rec.m_outOutput.m_nOutputPort = 12;  // no such slot
    rec.ExpandSteps(steps);
    EXPECT_TRUE(steps.empty());
    EXPECT_EQ(rec.StepCount(), 0);
    rec.m_outOutput.m_nOutputPort = 0;
    rec.m_outOutput.m_aopOutputPort[0].m_nOutputDetail = -1;
    EXPECT_EQ(rec.StepCount(), 0);
}

TEST(Expansion, StepCountOfHugeSweepWithoutExpanding) {
    CSettingData rec = Record(5);
    rec.m_valVolt.m_nValueType = kValueSweep;
    rec.m_valVolt.m_lStart = 0;
    rec.m_valVolt.m_lEnd = 2000000000;
    rec.m_valVolt.m_lStep = 1;
    rec.m_ulPola = 3;
    EXPECT_EQ(rec.StepCount(), 2000000001LL * 2);

    // Every factor at its largest (a damaged or hand-made file): the product is far beyond
    // any limit and must not wrap around to a small or negative count.
    OUTPUT_PORT& ac = Port(rec, kPortAc);
    ac.m_aulInjRetBit[0] = 0xFFFFFFFFu;
    ac.m_nSync = 1;
    ac.m_valAngle.m_nValueType = kValueSweep;
    ac.m_valAngle.m_lStart = INT32_MIN;
    ac.m_valAngle.m_lEnd = INT32_MAX;
    ac.m_valAngle.m_lStep = 1;
    rec.m_valVolt.m_lStart = INT32_MIN;
    rec.m_valVolt.m_lEnd = INT32_MAX;
    rec.m_ulPola = 0xFFFFFFFFu;
    EXPECT_GT(rec.StepCount(), kMaxStepCount);
    EXPECT_EQ(rec.StepCount(), INT64_MAX);
}

TEST(ExecData, DefaultsAndMinInterval) {
    CExecData s;
    EXPECT_EQ(s.m_ulMachineType, 0xFFFFFFFFu);
    EXPECT_EQ(s.m_nInjRet, 1);
    EXPECT_EQ(s.m_lVolt, 500);
    EXPECT_EQ(s.m_nPola, 1);
    EXPECT_EQ(s.m_lRept, 10);

    // The threshold: 4 kV through a coupling unit, 6 kV otherwise; RING needs no more above it.
    s.m_ulMachineType = 0x4000;
    s.m_lVolt = 4000;
    s.m_nWaveform = kWave10700;
    EXPECT_EQ(s.MinInterval(), 15);
    s.m_lVolt = 4100;
    EXPECT_EQ(s.MinInterval(), 30);
    s.m_nWaveform = kWaveRing;
    EXPECT_EQ(s.MinInterval(), 5);
    s.m_nWaveform = 7;
    EXPECT_EQ(s.MinInterval(), 60);
}

}  // namespace
}  // namespace zeb
