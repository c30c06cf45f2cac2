// The check of a plan against the 2005 profile, rule by rule: each defect gives one finding of
// its own rule, with the steps or values concerned, and a plan that follows the method gives
// none.

#include <gtest/gtest.h>

#include "PlanCheck.h"
#include "ProfileLibrary.h"

namespace zeb {
namespace {

const StandardProfile& Profile2005() {
    static const ProfileSet set = LoadProfiles(QStringLiteral(ZEB_SHIPPED_PROFILES), QString());
    return *set.Find(QStringLiteral("iec61000-4-5-2005"));
}

uint32_t Bits(std::initializer_list<int> bits) {
    uint32_t mask = 0;
    for (int b : bits) {
        mask |= 1u << b;
    }
    return mask;
}

void ListVoltages(CSettingData& r, std::initializer_list<int32_t> volts) {
    VALUE& v = r.m_valVolt;
    v.m_nValueType = kValueVariable;
    v.m_nVariableKind = 0;
    int i = 0;
    for (int32_t volt : volts) {
        v.m_abUse[i] = 1;
        v.m_alValue[i++] = volt;
    }
    for (; i < kSlotCount; ++i) {
        v.m_abUse[i] = 0;
    }
}

// A record as the editor leaves it for a machine, then set to a port, configuration and lines.
CSettingData Record(uint32_t machine, int32_t port, int32_t detail, uint32_t lines) {
    CSettingData r;
    r.m_ulMachineType = machine;
    r.m_nHWVersion = 1;
    r.SetDefault();
    r.m_outOutput.m_nOutputPort = port;
    OUTPUT_PORT& op = r.m_outOutput.m_aopOutputPort[port];
    op.m_nOutputDetail = detail;
    op.m_aulInjRetBit[detail] = lines;
    r.m_ulPola = 3;
    r.m_lDisc = 5;
    r.m_lRept = 60;
    ListVoltages(r, {500, 1000, 2000});
    return r;
}

// Single phase L, N, PE on a C3 generator, every path the method asks for, synchronised at
// the four angles: level 3 with nothing missing.
CSettingData GoodSinglePhase() {
    CSettingData r = Record(5, kPortAc, 1, Bits({0, 12, 13}));
    OUTPUT_PORT& ac = r.m_outOutput.m_aopOutputPort[kPortAc];
    ac.m_nSync = 1;  // the default angle set is the sweep 0..270 by 90
    return r;
}

std::vector<Finding> Check(const CSettingData& r, const QString& level = QStringLiteral("3"),
                           int32_t x = 0) {
    ExecDataList steps;
    r.ExpandSteps(steps);
    return CheckPlan(r, steps, Profile2005(), level, x);
}

std::vector<QString> Rules(const std::vector<Finding>& findings) {
    std::vector<QString> rules;
    for (const Finding& f : findings) {
        rules.push_back(f.rule);
    }
    return rules;
}

using Names = std::vector<QString>;

TEST(PlanCheck, APlanThatFollowsTheMethodHasNoFindings) {
    EXPECT_EQ(Rules(Check(GoodSinglePhase())), Names{});
    CSettingData dc = Record(5, kPortDc, 1, Bits({0, 2, 3}));
    EXPECT_EQ(Rules(Check(dc)), Names{});
}

TEST(PlanCheck, TheDefaultRecordLacksTheNegativePolarityAndNothingElseSaysSo) {
    CSettingData r = GoodSinglePhase();
    r.m_ulPola = 1;
    const std::vector<Finding> f = Check(r);
    ASSERT_EQ(Rules(f), Names{"polarities"});
    EXPECT_EQ(f[0].text, QStringLiteral("The plan has no negative surges; the method asks for both "
                                        "polarities."));
    EXPECT_TRUE(f[0].steps.empty());
    EXPECT_EQ(f[0].citation, Profile2005().RuleFor(rule::kPolarities, kPortAc)->citation);
    EXPECT_EQ(f[0].severity, Severity::Warning);

    // The record the editor makes for a new document: positive only, asynchronous, 0.5 kV.
    CSettingData fresh;
    fresh.m_ulMachineType = 5;
    fresh.SetDefault();
    EXPECT_EQ(Rules(Check(fresh, QStringLiteral("1"))), (Names{"polarities", "angles"}));
}

TEST(PlanCheck, EveryLineOfAConfigurationWithEarthIsTestedToEarth) {
    CSettingData r = Record(5, kPortAc, 1, Bits({0, 12}));  // L - N, L - PE; no N - PE
    r.m_outOutput.m_aopOutputPort[kPortAc].m_nSync = 1;
    std::vector<Finding> f = Check(r);
    ASSERT_EQ(Rules(f), Names{"paths"});
    EXPECT_EQ(f[0].text, QStringLiteral("The path N - PE is not tested; each line of SINGLE PHASE "
                                        "L , N , PE is tested to earth."));

    // A combined path counts as line-to-earth, never as the single lines to earth.
    r = Record(0x400B, kPortAc, 1, Bits({0, 16}));
    r.m_outOutput.m_aopOutputPort[kPortAc].m_nSync = 1;
    f = Check(r);
    ASSERT_EQ(Rules(f), Names{"paths"});
    EXPECT_TRUE(f[0].text.startsWith(QStringLiteral("The paths L - PE, N - PE are not tested")));

    // Without a line-to-line path; without PE nothing is asked to earth.
    r = Record(5, kPortDc, 1, Bits({2, 3}));
    EXPECT_EQ(Check(r).at(0).text, QStringLiteral("No line-to-line path is tested."));
    r = Record(5, kPortDc, 0, Bits({0}));
    EXPECT_EQ(Rules(Check(r)), Names{});
}

TEST(PlanCheck, AThreePhasePlanMissing180DegreesIsAnAnglesFindingOnly) {
    CSettingData r = Record(5, kPortAc, 3, Bits({0, 4}));  // L1 - L2, L2 - L3
    OUTPUT_PORT& ac = r.m_outOutput.m_aopOutputPort[kPortAc];
    ac.m_nSync = 1;
    ac.m_valAngle.m_nValueType = kValueVariable;
    ac.m_valAngle.m_alValue[0] = 0;
    ac.m_valAngle.m_alValue[1] = 90;
    ac.m_valAngle.m_alValue[2] = 270;
    for (int i = 0; i < kSlotCount; ++i) {
        ac.m_valAngle.m_abUse[i] = i < 3;
    }
    const std::vector<Finding> f = Check(r);
    ASSERT_EQ(Rules(f), Names{"angles"});
    EXPECT_EQ(f[0].text, QStringLiteral("The angle 180° is missing for 12 of 12 combinations of "
                                        "voltage, path and polarity."));
    EXPECT_EQ(f[0].steps.size(), 36u);  // 3 voltages x 2 paths x 2 polarities x 3 angles

    // Asynchronous steps are named, and their pulses still count.
    ac.m_nSync = 0;
    const std::vector<Finding> async = Check(r);
    ASSERT_EQ(Rules(async), Names{"angles"});
    EXPECT_TRUE(async[0].text.startsWith(QStringLiteral("12 steps are not synchronised")));
}

TEST(PlanCheck, APlanAt2kVWithout05kVLacksALevel) {
    CSettingData r = GoodSinglePhase();
    ListVoltages(r, {1000, 2000});
    std::vector<Finding> f = Check(r);
    ASSERT_EQ(Rules(f), Names{"levels"});
    EXPECT_EQ(f[0].text, QStringLiteral("The plan lacks 0.5 kV line-to-line and 0.5 kV "
                                        "line-to-earth; every level up to level 3 is tested."));
    EXPECT_TRUE(f[0].steps.empty());
    // Level 4 asks for 4 kV as well; level X only for its own voltage.
    EXPECT_TRUE(Check(GoodSinglePhase(), "4")
                    .at(0)
                    .text.startsWith(
                        QStringLiteral("The plan lacks 4 kV line-to-line and 4 kV line-to-earth")));
    EXPECT_EQ(Rules(Check(r, "X", 2000)), Names{});
    EXPECT_EQ(Check(r, "X", 3000).at(0).text,
              QStringLiteral("The plan lacks 3 kV line-to-line and 3 kV line-to-earth; level X is "
                             "tested at 3 kV."));
    EXPECT_EQ(Check(r, "7").at(0).text, QStringLiteral("The profile has no level 7."));
}

TEST(PlanCheck, LevelsAreAskedPerPathKindThatThePlanTests) {
    // Line-to-earth voltages only on the earth paths: 0.5 kV is missing there alone.
    CSettingData r = GoodSinglePhase();
    VALUE& v = r.m_valVolt;
    v.m_nVariableKind = 1;
    for (int i = 0; i < 3; ++i) {
        v.m_abUse[i] = 1;
        v.m_abUse2[i] = i > 0;
    }
    std::vector<Finding> f = Check(r);
    ASSERT_EQ(Rules(f), Names{"levels"});
    EXPECT_TRUE(f[0].text.startsWith(QStringLiteral("The plan lacks 0.5 kV line-to-earth;")));
    // A plan without earth paths is not asked for line-to-earth voltages.
    r = Record(5, kPortAc, 0, Bits({0}));
    r.m_outOutput.m_aopOutputPort[kPortAc].m_nSync = 1;
    EXPECT_EQ(Rules(Check(r)), Names{});
}

TEST(PlanCheck, FourSurgesPerPolarityAreTooFewPulses) {
    CSettingData r = GoodSinglePhase();
    r.m_lDisc = 4;
    const std::vector<Finding> f = Check(r);
    ASSERT_EQ(Rules(f), Names{"pulses"});
    EXPECT_EQ(f[0].text, QStringLiteral("72 of 72 combinations of voltage, path, polarity and "
                                        "angle receive fewer than 5 pulses (fewest: 4)."));
    EXPECT_EQ(f[0].steps.size(), 72u);
    EXPECT_EQ(f[0].steps.front(), 1);

    // Pulses are summed over the steps of one combination: 3 + 2 is enough.
    CSettingData dc = Record(5, kPortDc, 0, Bits({0}));
    ListVoltages(dc, {500});
    ExecDataList steps;
    dc.ExpandSteps(steps);  // + and -
    steps[0].m_lDisc = 3;
    steps[1].m_lDisc = 4;
    CExecData more = steps[0];
    more.m_lDisc = 2;
    steps.push_back(more);
    const std::vector<Finding> summed = CheckPlan(dc, steps, Profile2005(), "1");
    ASSERT_EQ(Rules(summed), Names{"pulses"});
    EXPECT_EQ(summed[0].steps, (std::vector<int>{2}));
}

TEST(PlanCheck, ANinetySecondIntervalIsTooLong) {
    CSettingData r = Record(5, kPortDc, 0, Bits({0, 1}));
    r.m_lRept = 90;
    const std::vector<Finding> f = Check(r);
    ASSERT_EQ(Rules(f), Names{"interval"});
    EXPECT_EQ(f[0].text, QStringLiteral("12 steps have an interval longer than 60 s (longest: "
                                        "90 s)."));
    EXPECT_EQ(f[0].steps.size(), 12u);
}

TEST(PlanCheck, CouplingMustSuitThePathKind) {
    CSettingData r = Record(5, kPortDc, 0, Bits({0, 1}));
    r.m_outOutput.m_aopOutputPort[kPortDc].m_nCoup = kCoupling10Ohm9uF;
    std::vector<Finding> f = Check(r);
    ASSERT_EQ(Rules(f), Names{"coupling"});
    EXPECT_EQ(f[0].text, QStringLiteral("12 line-to-line steps use the coupling 10ohm+9uF; a "
                                        "line-to-line path needs 18uF or STANDARD."));
    // One coupling for the port: with both kinds in the plan, one kind is always wrong.
    r = Record(5, kPortDc, 1, Bits({0, 2, 3}));
    r.m_outOutput.m_aopOutputPort[kPortDc].m_nCoup = kCoupling18uF;
    f = Check(r);
    ASSERT_EQ(Rules(f), Names{"coupling"});
    EXPECT_EQ(f[0].steps.size(), 12u);  // the two earth paths at 3 voltages, 2 polarities
    EXPECT_TRUE(f[0].text.contains(QStringLiteral("line-to-earth")));
    r.m_outOutput.m_aopOutputPort[kPortDc].m_aulInjRetBit[1] = Bits({0});
    EXPECT_EQ(Rules(Check(r)), Names{"paths"});
}

TEST(PlanCheck, TelecomAndSurgeOutputsAreCheckedForFourRulesOnly) {
    // 40 ohm shares its code with 10ohm+9uF, and the telecom lines are never synchronised:
    // neither is a finding on these ports.
    CSettingData t = Record(1, kPortTelecom, 0, Bits({0, 4}));
    t.m_outOutput.m_aopOutputPort[kPortTelecom].m_nCoup = 1;
    EXPECT_EQ(Rules(Check(t)), Names{});
    t.m_ulPola = 2;
    t.m_lDisc = 1;
    t.m_lRept = 120;
    ListVoltages(t, {2000});
    EXPECT_EQ(Rules(Check(t)), (Names{"polarities", "pulses", "interval", "levels"}));
    CSettingData s = Record(5, kPortSurge, 0, Bits({0}));
    EXPECT_EQ(Rules(Check(s)), Names{});
    ListVoltages(s, {1000, 2000});
    EXPECT_EQ(Check(s).at(0).text,
              QStringLiteral("The plan lacks 0.5 kV; every level up to level 3 is tested."));
}

}  // namespace
}  // namespace zeb
