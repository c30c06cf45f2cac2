// Item captions and texts of steps and records; codes outside their tables are shown as their
// defaults, and only the run panel puts them back in the step.

#include <gtest/gtest.h>

#include "SettingData.h"

namespace zeb {
namespace {

CExecData Step(int32_t port) {
    CExecData s;
    s.m_ulMachineType = 5;
    s.m_nOutputPort = port;
    return s;
}

TEST(StepItems, CaptionsFollowPortAndWaveform) {
    CExecData ac = Step(kPortAc);
    EXPECT_EQ(ac.GetItemCaption(3), QStringLiteral("INJ - RET"));
    EXPECT_EQ(ac.GetItemCaption(4), QStringLiteral("Coupling"));
    EXPECT_TRUE(ac.GetItemCaption(6).isEmpty());
    ac.m_nWaveform = 2;
    EXPECT_EQ(ac.GetItemCaption(6), QStringLiteral("Impedance[Ohm]"));
    CExecData tel = Step(kPortTelecom);
    EXPECT_EQ(tel.GetItemCaption(3), QStringLiteral("RET"));
    EXPECT_EQ(tel.GetItemCaption(4), QStringLiteral("Impedance[Ohm]"));
    EXPECT_EQ(ac.GetItemCaption(8), QStringLiteral("Angle[deg.]"));
    EXPECT_EQ(ac.GetItemCaption(15), QStringLiteral("Varistor test mode"));
    EXPECT_TRUE(ac.GetItemCaption(0).isEmpty());
    EXPECT_TRUE(ac.GetItemCaption(16).isEmpty());
}

TEST(StepItems, TextsOfAnAcStep) {
    CExecData s = Step(kPortAc);
    s.m_nOutputDetail = 6;
    s.m_nInjRet = 16;
    s.m_nCoup = 1;
    s.m_nSync = 1;
    s.m_lAngle = 90;
    s.m_lVolt = 550;
    s.m_nPola = 1;
    s.m_lDisc = 5;
    s.m_lRept = 60;
    s.m_nResult = kResultPass;
    s.m_strComment = QStringLiteral("ok");
    s.m_bVaristorTestMode = 1;
    const char* expected[] = {"",
                              "AC LINE OUTPUT",
                              "THREE  PHASE L1, L2, L3, PE",
                              "L1+L2      - PE",
                              "10ohm+9uF",
                              "1.2/50",
                              "",
                              "SYNC",
                              "90",
                              "0.6",
                              "-",
                              "5",
                              "60",
                              "PASS",
                              "ok",
                              "Varistor test mode"};
    for (int item = 1; item <= 15; ++item) {
        EXPECT_EQ(s.GetItemText(item), QLatin1String(expected[item])) << item;
    }
    EXPECT_TRUE(s.GetItemText(16).isEmpty());
    s.m_lVolt = 0;
    EXPECT_EQ(s.GetItemText(9), QStringLiteral("0"));
    s.m_lVolt = 15000;
    EXPECT_EQ(s.GetItemText(9), QStringLiteral("15.0"));
}

TEST(StepItems, SyncAndAngleOnlyOnTheAcPort) {
    CExecData dc = Step(kPortDc);
    dc.m_nSync = 1;
    dc.m_lAngle = 90;
    EXPECT_TRUE(dc.GetItemText(7).isEmpty());
    EXPECT_TRUE(dc.GetItemText(8).isEmpty());
    CExecData ac = Step(kPortAc);
    ac.m_lAngle = 90;
    EXPECT_EQ(ac.GetItemText(7), QStringLiteral("ASYNC"));
    EXPECT_TRUE(ac.GetItemText(8).isEmpty());
}

TEST(StepItems, TelecomTablesAndTheCouplingUnit) {
    CExecData s = Step(kPortTelecom);
    s.m_nOutputDetail = 1;
    s.m_nInjRet = 4;
    s.m_nCoup = 2;
    EXPECT_EQ(s.GetItemText(2), QStringLiteral("FOUR LINES"));
    EXPECT_EQ(s.GetItemText(3), QStringLiteral("PE"));
    EXPECT_EQ(s.GetItemText(4), QStringLiteral("25ohm"));
    s.m_ulMachineType = kMachineTelecomUnit;
    EXPECT_EQ(s.GetItemText(3), QStringLiteral("________"));
    EXPECT_EQ(s.GetItemText(4), QStringLiteral("15ohm"));
    s.m_nCoup = 0;  // the unit has no code 0: no text, and nothing to correct
    EXPECT_TRUE(s.GetItemText(4).isEmpty());
    EXPECT_EQ(s.m_nCoup, 0);
    CExecData surge = Step(kPortSurge);
    surge.m_nCoup = 9;
    EXPECT_TRUE(surge.GetItemText(4).isEmpty());
    // The surge port has one line; the correction to line 1 still names none.
    EXPECT_TRUE(surge.GetItemText(3).isEmpty());
    surge.m_nInjRet = 0;
    EXPECT_EQ(surge.GetItemText(3), QStringLiteral("HOT - COM"));
}

TEST(StepItems, OutOfRangeCodesShowTheirDefaultAndOnlyTheRunPanelPutsThemBack) {
    const struct {
        int32_t CExecData::*field;
        int32_t bad;
        int item;
        const char* text;
        int32_t afterRun;  // what the run panel's correction leaves in the step
    } cases[] = {
        {&CExecData::m_nWaveform, 5, kItemWaveform, "1.2/50", 0},
        {&CExecData::m_nOutputDetail, 7, kItemDetail, "SINGLE PHASE L , N", 0},
        {&CExecData::m_nOutputPort, 4, kItemPort, "AC LINE OUTPUT", 0},
        // Not named by the panel: left for the step check to refuse.
        {&CExecData::m_nInjRet, 20, kItemLine, "L1 - L3", 20},
        {&CExecData::m_nPola, 3, kItemPolarity, "-", 3},
        {&CExecData::m_nResult, 3, kItemResult, "------", 3},
        {&CExecData::m_nCoup, 3, kItemCoupling, "STANDARD", 3},
        {&CExecData::m_nSync, 2, kItemSync, "ASYNC", 2},
    };
    for (const auto& c : cases) {
        CExecData s = Step(kPortAc);
        s.*c.field = c.bad;
        const CExecData before = s;
        EXPECT_EQ(s.GetItemText(c.item), QLatin1String(c.text)) << c.item;
        EXPECT_TRUE(s == before) << c.item;  // a read is a read
        s.CorrectPanelCodes();
        EXPECT_EQ(s.*c.field, c.afterRun) << c.item;
        EXPECT_EQ(s.GetItemText(c.item), QLatin1String(c.text)) << c.item;
    }
    // A negative waveform names nothing, and the run shows and sends the default one.
    CExecData negative = Step(kPortAc);
    negative.m_nWaveform = -1;
    EXPECT_TRUE(negative.GetItemText(kItemWaveform).isEmpty());
    negative.CorrectPanelCodes();
    EXPECT_EQ(negative.m_nWaveform, kWave1250);

    CExecData s = Step(kPortAc);
    s.m_nPola = 2;
    EXPECT_EQ(s.GetItemText(10), QStringLiteral("+/-"));
    s.m_nWaveform = 2;
    s.m_nRingRegi = 4;
    EXPECT_EQ(s.GetItemText(6), QStringLiteral("30ohm"));
    s.CorrectPanelCodes();
    EXPECT_EQ(s.m_nRingRegi, 0);

    // The DC table has two configurations and four lines.
    CExecData dc = Step(kPortDc);
    dc.m_nOutputDetail = 2;
    dc.m_nInjRet = 4;
    EXPECT_EQ(dc.GetItemText(2), QStringLiteral("+, -"));
    EXPECT_EQ(dc.GetItemText(3), QStringLiteral("- - + "));
    // Codes below the tables give no text and are left alone.
    CExecData neg = Step(-1);
    EXPECT_TRUE(neg.GetItemText(1).isEmpty());
    EXPECT_TRUE(neg.GetItemText(2).isEmpty());
    EXPECT_TRUE(neg.GetItemText(3).isEmpty());
    EXPECT_EQ(neg.m_nOutputPort, -1);
}

CSettingData Record() {
    CSettingData rec;
    rec.m_ulMachineType = 5;
    rec.SetDefault();
    return rec;
}

TEST(RecordItems, LinesOfTheSelectedConfiguration) {
    CSettingData rec = Record();
    OUTPUT_PORT& ac = rec.m_outOutput.m_aopOutputPort[kPortAc];
    ac.m_nOutputDetail = 3;
    ac.m_aulInjRetBit[3] = (1u << 0) | (1u << 12);
    EXPECT_EQ(rec.GetItemText(3), QStringLiteral("L1 - L2, L1 - PE"));
    ac.m_nOutputDetail = 0;
    ac.m_aulInjRetBit[0] = (1u << 0) | (1u << 12) | (1u << 25);  // bit 25 has no name
    EXPECT_EQ(rec.GetItemText(3), QStringLiteral("L  - N , L  - PE"));
    rec.m_outOutput.m_nOutputPort = kPortTelecom;
    EXPECT_EQ(rec.GetItemCaption(3), QStringLiteral("RET"));
    EXPECT_EQ(rec.GetItemText(3), QStringLiteral("PE"));
}

TEST(RecordItems, AngleSetOnlyWithSync) {
    CSettingData rec = Record();
    OUTPUT_PORT& ac = rec.m_outOutput.m_aopOutputPort[kPortAc];
    EXPECT_TRUE(rec.GetItemText(8).isEmpty());
    ac.m_nSync = 1;
    EXPECT_EQ(rec.GetItemText(8), QStringLiteral("START:0, END  :270, STEP :90"));
    ac.m_valAngle.m_nValueType = kValueFixed;
    ac.m_valAngle.m_lValue = 45;
    EXPECT_EQ(rec.GetItemText(8), QStringLiteral("45"));
    ac.m_valAngle.m_nValueType = kValueVariable;
    ac.m_valAngle.m_abUse[2] = 1;
    EXPECT_EQ(rec.GetItemText(8), QStringLiteral("0, 180"));
    // An angle list is plain values even when a file gives it two flags per entry.
    ac.m_valAngle.m_nVariableKind = 1;
    ac.m_valAngle.m_abUse2[3] = 1;
    EXPECT_EQ(rec.GetItemText(8), QStringLiteral("0, 180, 270"));
}

TEST(RecordItems, VoltageSetPolarityAndTheRest) {
    CSettingData rec = Record();
    EXPECT_EQ(rec.GetItemText(9), QStringLiteral("0.5"));
    rec.m_valVolt.m_nValueType = kValueSweep;
    rec.m_valVolt.m_lEnd = 2000;
    EXPECT_EQ(rec.GetItemText(9), QStringLiteral("START:0.5, END  :2.0, STEP :0.1"));
    rec.m_valVolt.m_nValueType = kValueVariable;
    rec.m_valVolt.m_abUse[1] = rec.m_valVolt.m_abUse[2] = 1;
    EXPECT_EQ(rec.GetItemText(9), QStringLiteral("0.5, 1.0, 2.0"));
    rec.m_valVolt.m_nVariableKind = 1;
    rec.m_valVolt.m_abUse[1] = 0;
    rec.m_valVolt.m_abUse2[1] = 1;
    EXPECT_EQ(rec.GetItemText(9),
              QStringLiteral("0.5 (NORMAL & COMMON), 1.0 (COMMON), 2.0 (NORMAL)"));

    for (auto [pola, text] : {std::pair{0u, ""}, {1u, "+"}, {2u, "-"}, {3u, "+/-"}}) {
        rec.m_ulPola = pola;
        EXPECT_EQ(rec.GetItemText(10), QLatin1String(text)) << pola;
    }
    EXPECT_EQ(rec.GetItemText(1), QStringLiteral("AC LINE OUTPUT"));
    EXPECT_EQ(rec.GetItemText(11), QStringLiteral("5"));
    EXPECT_EQ(rec.GetItemText(12), QStringLiteral("60"));
    EXPECT_EQ(rec.GetItemText(13), QStringLiteral("------"));
    EXPECT_TRUE(rec.GetItemText(14).isEmpty());
    rec.m_outOutput.m_aopOutputPort[kPortAc].m_nWaveform = 2;
    EXPECT_EQ(rec.GetItemCaption(6), QStringLiteral("Impedance[Ohm]"));
    EXPECT_EQ(rec.GetItemText(6), QStringLiteral("30ohm"));
    rec.m_outOutput.m_nOutputPort = 11;  // damaged file: no slot, no crash
    EXPECT_TRUE(rec.GetItemText(3).isEmpty());
    EXPECT_EQ(rec.GetItemText(1), QStringLiteral("AC LINE OUTPUT"));  // corrected copy
    EXPECT_EQ(rec.m_outOutput.m_nOutputPort, 11);
}

}  // namespace
}  // namespace zeb
