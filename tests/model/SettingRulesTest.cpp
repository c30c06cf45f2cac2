// The editor's decisions: ports per machine, the minimum interval and the checks behind OK.

#include <gtest/gtest.h>

#include <cstdint>

#include "ChoiceCodes.h"
#include "SettingRules.h"

namespace zeb {
namespace {

using test::Codes;
using test::Codes_t;

CSettingData Record(uint32_t machineType) {
    CSettingData r;
    r.m_ulMachineType = machineType;
    r.SetDefault();
    return r;
}

TEST(SettingRules, TelecomPageFollowsTheMachine) {
    EXPECT_TRUE(PortChoices(kNoMachineType).empty());
    EXPECT_EQ(PortChoices(1).back().text, "TELECOM LINE OUTPUT");
    EXPECT_EQ(PageForPort(3, 0x400B), OutputPage::TelecomUnit);
    EXPECT_EQ(PageForPort(3, 9), OutputPage::TelecomEd3);
    EXPECT_EQ(PageForPort(3, 1), OutputPage::Telecom);
    EXPECT_EQ(PageForPort(7, 1), OutputPage::None);
}

TEST(SettingRules, MinimumIntervalFollowsTheWaveform) {
    CSettingData r = Record(5);
    r.m_lRept = 10;
    EXPECT_FALSE(ApplyMinimumInterval(r, kWaveRing));  // 10 s, interval unchanged
    EXPECT_TRUE(ApplyMinimumInterval(r, kWave10700));  // raises 10 s to 15 s
    EXPECT_EQ(r.m_lRept, 15);
    EXPECT_FALSE(ApplyMinimumInterval(r, 9));  // unknown waveform leaves the minimum
    EXPECT_EQ(r.m_vlRept.m_lMin, 15);
    EXPECT_EQ(IntervalNotes(0x400B).first(),
              "*Interval:1.2/50,Up to 4kV:10s-999s, More than 4.1kV:20s-999s");
}

QStringList Messages(const CSettingData& r) {
    return CheckForOk(r).messages;
}

TEST(SettingRules, OkAcceptsTheDefaults) {
    const OkCheckResult ok = CheckForOk(Record(5));
    EXPECT_TRUE(ok.accept);
    EXPECT_TRUE(ok.messages.isEmpty());
}

TEST(SettingRules, OkNeedsAVoltage) {
    CSettingData r = Record(5);
    r.m_valVolt.m_nValueType = kValueVariable;
    for (int i = 0; i < kSlotCount; ++i) {
        r.m_valVolt.m_abUse[i] = r.m_valVolt.m_abUse2[i] = 0;
    }
    EXPECT_EQ(Messages(r), QStringList{"Please select a VOLTAGE."});
    EXPECT_FALSE(CheckForOk(r).accept);

    // A sweep running backwards (only a file can hold one) yields no voltages either.
    r = Record(5);
    r.m_valVolt.m_nValueType = kValueSweep;
    r.m_valVolt.m_lStart = 500;
    r.m_valVolt.m_lEnd = 100;
    r.m_valVolt.m_lStep = 100;
    EXPECT_EQ(Messages(r), QStringList{"Please select a VOLTAGE."});
}

TEST(SettingRules, Edition3TelecomStopsAt6kV) {
    CSettingData r = Record(9);
    r.m_outOutput.m_nOutputPort = kPortTelecom;
    r.m_valVolt.m_lValue = 6100;
    const QString tooHigh = "Please check a VOLTAGE.\n(MAX 6kV)";
    EXPECT_EQ(Messages(r), QStringList{tooHigh});
    r.m_valVolt.m_lValue = 6000;
    EXPECT_TRUE(CheckForOk(r).accept);

    r.m_valVolt.m_nValueType = kValueSweep;
    r.m_valVolt.m_lStart = 5000;
    r.m_valVolt.m_lEnd = 6100;
    r.m_valVolt.m_lStep = 100;
    EXPECT_EQ(Messages(r), QStringList{tooHigh});

    // Each used list entry above 6 kV is reported; unused ones are not.
    r.m_valVolt.m_nValueType = kValueVariable;
    r.m_valVolt.m_nVariableKind = 0;
    const int32_t values[5] = {6100, 7000, 8000, 500, 9000};
    const int32_t used[5] = {1, 1, 0, 1, 0};
    for (int i = 0; i < 5; ++i) {
        r.m_valVolt.m_alValue[i] = values[i];
        r.m_valVolt.m_abUse[i] = used[i];
    }
    EXPECT_EQ(Messages(r), (QStringList{tooHigh, tooHigh}));
    EXPECT_FALSE(CheckForOk(r).accept);

    // Other machines and ports have no such limit.
    r.m_ulMachineType = 1;
    EXPECT_TRUE(CheckForOk(r).accept);
}

TEST(SettingRules, OkNeedsLinesAndAngles) {
    CSettingData r = Record(5);
    r.m_outOutput.m_aopOutputPort[0].m_aulInjRetBit[0] = 0;
    EXPECT_EQ(Messages(r), QStringList{"Please select an INJECTION and RETURN LINE. "});
    r.m_outOutput.m_nOutputPort = kPortTelecom;
    r.m_outOutput.m_aopOutputPort[3].m_aulInjRetBit[1] = 0;
    EXPECT_EQ(Messages(r), QStringList{"Please select a RETURN LINE. "});

    // A line configuration outside the slot's ten masks has no lines.
    r.m_outOutput.m_aopOutputPort[3].m_nOutputDetail = 12;
    EXPECT_EQ(Messages(r), QStringList{"Please select a RETURN LINE. "});

    r = Record(5);
    OUTPUT_PORT& ac = r.m_outOutput.m_aopOutputPort[0];
    ac.m_nSync = 1;
    ac.m_valAngle.m_nValueType = kValueVariable;
    ac.m_valAngle.m_abUse[0] = 0;
    EXPECT_EQ(Messages(r), QStringList{"Please select a PHASE ANGLE."});
    ac.m_nSync = 0;  // angles only count while synchronised
    EXPECT_TRUE(CheckForOk(r).accept);
}

TEST(SettingRules, NormalAndCommonVoltagesNeedTheirLines) {
    CSettingData r = Record(5);
    OUTPUT_PORT& ac = r.m_outOutput.m_aopOutputPort[0];
    ac.m_nOutputDetail = 1;            // L, N, PE
    ac.m_aulInjRetBit[1] = 0x1 | 0x8;  // line-to-line only
    VALUE& v = r.m_valVolt;
    v.m_nValueType = kValueVariable;
    v.m_nVariableKind = 1;
    v.m_abUse[0] = 0;
    v.m_abUse2[0] = 1;  // COMMON only
    EXPECT_EQ(Messages(r), QStringList{"Please select a DIFFERENTIAL(L-L) mode VOLTAGE."});

    ac.m_aulInjRetBit[1] = 1u << 12;  // line-to-earth only
    v.m_abUse[0] = 1;
    v.m_abUse2[0] = 0;  // NORMAL only
    EXPECT_EQ(Messages(r), QStringList{"Please select a COMMON(L-PE) mode VOLTAGE."});

    v.m_abUse2[0] = 1;
    EXPECT_TRUE(CheckForOk(r).accept);
}

TEST(SettingRules, AtMost1000Steps) {
    // AC, three phase with neutral: twelve line pairs; a sweep of voltages; both polarities;
    // sync with a list of angles.
    CSettingData r = Record(5);
    OUTPUT_PORT& ac = r.m_outOutput.m_aopOutputPort[0];
    ac.m_nOutputDetail = 4;
    ac.m_aulInjRetBit[4] = 0x3FF;  // ten lines
    r.m_ulPola = 3;                // two polarities
    r.m_valVolt.m_nValueType = kValueSweep;
    r.m_valVolt.m_lStart = 100;
    r.m_valVolt.m_lEnd = 5000;
    r.m_valVolt.m_lStep = 100;  // 50 voltages: 10 x 2 x 50 = 1000
    EXPECT_TRUE(CheckForOk(r).accept);
    EXPECT_EQ(r.StepCount(), 1000);

    r.m_valVolt.m_lEnd = 5100;  // 51 voltages: 1020
    EXPECT_EQ(Messages(r),
              QStringList{"The number of test step exceeds limit.\nReduce the number of steps."});

    // 1001 exactly: 7 x 11 x 13 with one polarity.
    r = Record(5);
    OUTPUT_PORT& ac2 = r.m_outOutput.m_aopOutputPort[0];
    ac2.m_nOutputDetail = 4;
    ac2.m_aulInjRetBit[4] = 0x7F;  // seven lines
    r.m_valVolt.m_nValueType = kValueSweep;
    r.m_valVolt.m_lStart = 100;
    r.m_valVolt.m_lEnd = 1100;
    r.m_valVolt.m_lStep = 100;  // eleven voltages
    ac2.m_nSync = 1;
    ac2.m_valAngle.m_nValueType = kValueSweep;
    ac2.m_valAngle.m_lStart = 0;
    ac2.m_valAngle.m_lEnd = 120;
    ac2.m_valAngle.m_lStep = 10;  // thirteen angles
    EXPECT_EQ(r.StepCount(), 1001);
    EXPECT_FALSE(CheckForOk(r).accept);
    ac2.m_valAngle.m_lEnd = 110;  // 924
    EXPECT_TRUE(CheckForOk(r).accept);

    // A hand-made file with every factor at its largest: the estimate must not wrap round to a
    // small count.
    r.m_ulPola = 0xFFFFFFFFu;
    ac2.m_aulInjRetBit[4] = 0xFFFFFFFFu;
    for (VALUE* v : {&r.m_valVolt, &ac2.m_valAngle}) {
        v->m_lStart = INT32_MIN;
        v->m_lEnd = INT32_MAX;
        v->m_lStep = 1;
    }
    EXPECT_EQ(Messages(r),
              QStringList{"The number of test step exceeds limit.\nReduce the number of steps."});
}

}  // namespace
}  // namespace zeb
