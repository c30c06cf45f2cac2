// Value sets, the record's defaults and copy, and the name tables.

#include <gtest/gtest.h>

#include "NameTables.h"
#include "SettingData.h"

namespace zeb {
namespace {

VALUE Sweep(int32_t start, int32_t end, int32_t step) {
    VALUE v;
    v.m_nValueType = kValueSweep;
    v.m_lStart = start;
    v.m_lEnd = end;
    v.m_lStep = step;
    return v;
}

std::vector<int32_t> Values(const VALUE& v) {
    std::vector<int32_t> out;
    for (int32_t i = 0; i < v.ValueCount(); ++i) {
        out.push_back(v.ValueAt(i));
    }
    return out;
}

TEST(ValueSet, SweepReachesItsEndClamped) {
    EXPECT_EQ(Values(Sweep(0, 270, 90)), (std::vector<int32_t>{0, 90, 180, 270}));
    EXPECT_EQ(Values(Sweep(0, 100, 30)), (std::vector<int32_t>{0, 30, 60, 90, 100}));
    EXPECT_EQ(Values(Sweep(500, 500, 100)), (std::vector<int32_t>{500}));
}

TEST(ValueSet, SweepEdgeCases) {
    // Step 0: exactly one value, the start.
    EXPECT_EQ(Values(Sweep(300, 900, 0)), (std::vector<int32_t>{300}));
    // End below start: the same formula; a negative count means no values.
    EXPECT_EQ(Sweep(500, 100, 100).ValueCount(), -3);
    const VALUE backwards = Sweep(500, 450, 100);
    EXPECT_EQ(backwards.ValueCount(), 2);
    EXPECT_EQ(backwards.ValueAt(0), 450);
    EXPECT_EQ(backwards.ValueAt(1), 450);
    // Values from a damaged file must not overflow.
    const VALUE wide = Sweep(INT32_MIN, INT32_MAX, 1);
    EXPECT_EQ(wide.ValueCount(), INT32_MAX);
    EXPECT_EQ(wide.ValueAt(INT32_MAX - 1), -2);
    EXPECT_EQ(Sweep(0, INT32_MIN, INT32_MAX).ValueAt(3), INT32_MIN);
}

TEST(ValueSet, ListKindZeroCountsUsedEntriesIncludingFiveToNine) {
    VALUE v;
    v.m_nValueType = kValueVariable;
    v.m_nVariableKind = 0;
    for (int i = 0; i < kSlotCount; ++i) {
        v.m_alValue[i] = 100 * i;
    }
    EXPECT_EQ(v.ValueCount(), 0);
    int32_t mode = 9;
    EXPECT_EQ(v.ValueAt(0, mode), 0);
    EXPECT_EQ(mode, kModeNone);

    v.m_abUse[1] = v.m_abUse[7] = 1;
    v.m_abUse2[3] = 1;  // ignored by kind 0
    EXPECT_EQ(Values(v), (std::vector<int32_t>{100, 700}));
    EXPECT_EQ(v.ValueAt(1, mode), 700);
    EXPECT_EQ(mode, kModeListed);
    EXPECT_EQ(v.ValueAt(2, mode), 0);
    EXPECT_EQ(mode, kModeNone);
}

TEST(ValueSet, ListKindOneReportsNormalCommonModes) {
    VALUE v;
    v.m_nValueType = kValueVariable;
    v.m_nVariableKind = 1;
    v.m_alValue[0] = 1000;
    v.m_alValue[1] = 2000;
    v.m_alValue[2] = 4000;
    v.m_abUse[0] = 1;                  // NORMAL only
    v.m_abUse2[1] = 1;                 // COMMON only
    v.m_abUse[2] = v.m_abUse2[2] = 1;  // both: listed once
    ASSERT_EQ(v.ValueCount(), 3);
    int32_t mode = 0;
    EXPECT_EQ(v.ValueAt(0, mode), 1000);
    EXPECT_EQ(mode, kModeNormal);
    EXPECT_EQ(v.ValueAt(1, mode), 2000);
    EXPECT_EQ(mode, kModeCommon);
    EXPECT_EQ(v.ValueAt(2, mode), 4000);
    EXPECT_EQ(mode, kModeNormalCommon);
}

TEST(ValueSet, UnknownTypeOrKindYieldsNothing) {
    VALUE v;
    v.m_nValueType = 7;
    EXPECT_EQ(v.ValueCount(), 0);
    v.m_nValueType = kValueVariable;
    v.m_nVariableKind = 2;
    v.m_abUse[0] = 1;
    EXPECT_EQ(v.ValueCount(), 0);
    int32_t mode = 5;
    EXPECT_EQ(v.ValueAt(0, mode), 0);
    EXPECT_EQ(mode, kModeNone);
}

TEST(SettingData, ConstructionAppliesCouplingUnitDefaults) {
    const CSettingData rec;  // machine type all ones: coupling-unit and three-phase bits set
    EXPECT_EQ(rec.m_ulMachineType, 0xFFFFFFFFu);
    EXPECT_EQ(rec.m_nHWVersion, 0);
    EXPECT_EQ(rec.m_outOutput.m_aopOutputPort[kPortAc].m_nOutputDetail, 3);
    EXPECT_EQ(rec.m_outOutput.m_aopOutputPort[kPortTelecom].m_nCoup, 1);
}

TEST(SettingData, SetDefaultForOrdinaryMachine) {
    CSettingData rec;
    rec.m_ulMachineType = 5;
    rec.m_nHWVersion = 1;
    rec.m_valVolt.m_nVariableKind = 1;
    rec.SetDefault();
    EXPECT_EQ(rec.m_ulMachineType, 5u);
    EXPECT_EQ(rec.m_nHWVersion, 1);
    EXPECT_EQ(rec.m_outOutput.m_nOutputPort, 0);

    const OUTPUT_PORT& ac = rec.m_outOutput.m_aopOutputPort[kPortAc];
    EXPECT_EQ(ac.m_nOutputDetail, 0);
    for (int d = 0; d < kSlotCount; ++d) {
        EXPECT_EQ(ac.m_aulInjRetBit[d], 1u) << d;
    }
    const OUTPUT_PORT& telecom = rec.m_outOutput.m_aopOutputPort[kPortTelecom];
    EXPECT_EQ(telecom.m_nOutputDetail, 1);
    EXPECT_EQ(telecom.m_nWaveform, 1);
    EXPECT_EQ(telecom.m_nCoup, 0);
    EXPECT_EQ(telecom.m_aulInjRetBit[0], 16u);
    EXPECT_EQ(telecom.m_aulInjRetBit[1], 16u);
    EXPECT_EQ(telecom.m_aulInjRetBit[2], 1u);

    for (const OUTPUT_PORT& op : rec.m_outOutput.m_aopOutputPort) {
        const VALUE& a = op.m_valAngle;
        EXPECT_EQ(a.m_nValueType, kValueSweep);
        EXPECT_EQ(a.m_lEnd, 270);
        EXPECT_EQ(a.m_lStep, 90);
        EXPECT_EQ(a.m_abUse[0], 1);
        EXPECT_EQ(a.m_abUse2[0], 1);
        EXPECT_EQ(a.m_abUse[1], 0);
        EXPECT_EQ(a.m_alValue[3], 270);
        EXPECT_EQ(a.m_alValue[4], 270);
        EXPECT_EQ(a.m_alValue[9], 0);
    }
    const VALUE& volt = rec.m_valVolt;
    EXPECT_EQ(volt.m_nValueType, kValueFixed);
    EXPECT_EQ(volt.m_lValue, 500);
    EXPECT_EQ(volt.m_lStep, 100);
    EXPECT_EQ(volt.m_nVariableKind, 0);
    const int32_t expected[kSlotCount] = {500, 1000, 2000, 4000, 4000, 500, 500, 500, 500, 500};
    for (int i = 0; i < kSlotCount; ++i) {
        EXPECT_EQ(volt.m_alValue[i], expected[i]) << i;
    }
    EXPECT_EQ(rec.m_ulPola, 1u);
    EXPECT_EQ(rec.m_lDisc, 5);
    EXPECT_EQ(rec.m_lRept, 60);

    EXPECT_EQ(rec.m_vlVolt.m_strUnit, QStringLiteral("[kV]"));
    EXPECT_EQ(rec.m_vlVolt.m_nExponent, 3);
    EXPECT_EQ(rec.m_vlVolt.m_lMax, 15000);
    EXPECT_EQ(rec.m_vlRept.m_lMin, 10);
    EXPECT_EQ(rec.m_vlDisc.m_strUnit, QStringLiteral("[Times]"));
    EXPECT_EQ(rec.m_vlAngle.m_lMax, 360);
}

TEST(SettingData, MachineDependentDefaults) {
    // AC configuration 3 needs a coupling unit and three-phase coupling; telecom coupling 1
    // ("40ohm") needs a coupling unit; edition-3 and variant bits change nothing.
    const struct {
        uint32_t machine;
        int32_t acDetail;
        int32_t telecomCoup;
    } cases[] = {
        {0x0u, 0, 0},    {0x1u, 0, 0},    {0x4u, 0, 0},    {0x8u, 0, 0},    {0xDu, 0, 0},
        {0x1000u, 0, 1}, {0x4000u, 0, 1}, {0x4004u, 3, 1}, {0x400Bu, 0, 1}, {0x400Fu, 3, 1},
    };
    for (const auto& c : cases) {
        CSettingData rec;
        rec.m_ulMachineType = c.machine;
        rec.SetDefault();
        EXPECT_EQ(rec.m_outOutput.m_aopOutputPort[kPortAc].m_nOutputDetail, c.acDetail)
            << c.machine;
        for (int k = 0; k < kSlotCount; ++k) {
            EXPECT_EQ(rec.m_outOutput.m_aopOutputPort[k].m_nCoup,
                      k == kPortTelecom ? c.telecomCoup : 0)
                << c.machine << " slot " << k;
        }
    }
}

TEST(SettingData, CopyTakesEveryFieldAndDescriptors) {
    CSettingData a;
    a.m_ulMachineType = 13;
    a.m_outOutput.m_aopOutputPort[9].m_valAngle.m_alValue[9] = 42;
    a.m_vlVolt.m_lMax = 6000;
    a.m_vlVolt.m_strUnit = QStringLiteral("[x]");
    CSettingData b = a;
    a.m_vlVolt.m_strUnit = QStringLiteral("[y]");
    EXPECT_EQ(b.m_ulMachineType, 13u);
    EXPECT_EQ(b.m_outOutput.m_aopOutputPort[9].m_valAngle.m_alValue[9], 42);
    EXPECT_EQ(b.m_vlVolt.m_lMax, 6000);
    EXPECT_EQ(b.m_vlVolt.m_strUnit, QStringLiteral("[x]"));
}

TEST(NameTables, ListOrderAndExactTexts) {
    std::vector<int32_t> codes;
    for (const CodeName& e : names::kAcDetail) {
        codes.push_back(e.code);
    }
    EXPECT_EQ(codes, (std::vector<int32_t>{0, 1, 2, 3, 4, 6, 5}));
    EXPECT_EQ(names::kAcDetail.Lookup(4), QStringLiteral("THREE  PHASE L1, L2, L3, N "));
    EXPECT_EQ(names::kAcDetail.Lookup(5), QStringLiteral("THREE  PHASE L1, L2, L3, N , PE"));
    EXPECT_EQ(names::kAcSinglePhaseLine.Lookup(0), QStringLiteral("L  - N "));
    EXPECT_EQ(names::kAcSinglePhaseLine.Lookup(13), names::kAcSinglePhaseLine.Lookup(15));
    EXPECT_EQ(names::kAcLine.Lookup(16), QStringLiteral("L1+L2      - PE"));
    EXPECT_EQ(names::kAcLine.Lookup(17), QStringLiteral("L1+L2+L3   - N "));
    EXPECT_EQ(names::kDcLine.Lookup(1), QStringLiteral("- - + "));
    // The line-to-PE pairs follow the line-to-line ones, "+" before "-".
    std::vector<QString> dc;
    for (const CodeName& e : names::kDcLine) {
        dc.push_back(QString::number(e.code) + ':' + QLatin1String(e.name));
    }
    EXPECT_EQ(dc, (std::vector<QString>{"0:+ - - ", "1:- - + ", "2:+ - PE", "3:- - PE"}));
    EXPECT_EQ(names::kOutputPort.Lookup(3), QStringLiteral("TELECOM LINE OUTPUT"));
    EXPECT_EQ(names::kValueType.Lookup(2), QStringLiteral("Variable"));
    EXPECT_EQ(names::kAcSinglePhaseLine.size, 20);
    EXPECT_EQ(names::kAcLine.size, 20);
}

TEST(NameTables, AbsentCodeHasNoText) {
    EXPECT_TRUE(names::kWaveform.Lookup(7).isNull());
    EXPECT_TRUE(names::kTelecomImpedanceUnit.Lookup(0).isNull());
    EXPECT_FALSE(names::kTelecomImpedanceUnit.Contains(0));
}

TEST(NameTables, TelecomUnitHasItsOwnTables) {
    EXPECT_EQ(LineTable(kPortTelecom, 1, kMachineTelecomUnit)->Lookup(4),
              QStringLiteral("________"));
    EXPECT_EQ(LineTable(kPortTelecom, 1, 0x400F)->Lookup(4), QStringLiteral("PE"));
    EXPECT_EQ(CouplingTable(kPortTelecom, kMachineTelecomUnit)->Lookup(2), QStringLiteral("15ohm"));
    EXPECT_EQ(CouplingTable(kPortTelecom, 5)->Lookup(2), QStringLiteral("25ohm"));
    EXPECT_EQ(CouplingTable(kPortSurge, 5), nullptr);
    EXPECT_EQ(LineTable(kPortAc, 1, 5), &names::kAcSinglePhaseLine);
    EXPECT_EQ(LineTable(kPortAc, 2, 5), &names::kAcLine);
    EXPECT_EQ(OutputDetailTable(4), nullptr);
}

}  // namespace
}  // namespace zeb
