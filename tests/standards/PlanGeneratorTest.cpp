// Plans made from a profile: for every machine, port, line configuration and level they offer
// the plan passes the step check and has no findings but those the machine makes unavoidable;
// what it holds for the usual cases; and what it refuses.

#include <gtest/gtest.h>

#include <set>

#include "Capabilities.h"
#include "PlanGenerator.h"
#include "ProfileLibrary.h"
#include "StepCheck.h"

namespace zeb {
namespace {

const ProfileSet& Shipped() {
    static const ProfileSet set = LoadProfiles(QStringLiteral(ZEB_SHIPPED_PROFILES), QString());
    return set;
}
const StandardProfile& Profile2005() {
    return *Shipped().Find(QStringLiteral("iec61000-4-5-2005"));
}

uint32_t Bits(std::initializer_list<int> bits) {
    uint32_t mask = 0;
    for (int b : bits) {
        mask |= 1u << b;
    }
    return mask;
}

// Every model the program knows, generators and coupling units.
constexpr uint32_t kMachines[] = {0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, 0x400B, 0x400F};

PlanRequest Request(uint32_t machine, int32_t port, int32_t configuration, const char* level,
                    int32_t x = 0, int32_t hw = 1) {
    PlanRequest r;
    r.standard = {QStringLiteral("iec61000-4-5-2005"), QString::fromLatin1(level), x};
    r.machineType = machine;
    r.hwVersion = hw;
    r.port = port;
    r.configuration = configuration;
    return r;
}

PlanResult Make(const PlanRequest& request, const StandardProfile& profile = Profile2005()) {
    PlanResult result;
    QString error;
    EXPECT_TRUE(GeneratePlan(profile, request, result, error)) << error.toStdString();
    return result;
}

std::vector<Finding> Check(const PlanResult& plan, const PlanRequest& request,
                           const StandardProfile& profile = Profile2005()) {
    ExecDataList steps;
    plan.record.ExpandSteps(steps);
    return CheckPlan(plan.record, steps, profile, request.standard.level, request.standard.voltage);
}

std::vector<int32_t> ListedVoltages(const CSettingData& r) {
    std::vector<int32_t> volts;
    for (int32_t i = 0; i < r.m_valVolt.ValueCount(); ++i) {
        volts.push_back(r.m_valVolt.ValueAt(i));
    }
    return volts;
}

TEST(PlanGenerator, EveryOfferedPlanPassesTheStepCheckAndHasOnlyUnavoidableFindings) {
    int plans = 0;
    for (uint32_t machine : kMachines) {
        for (int32_t hw : {0, 1}) {
            const MachineCapabilities caps = CapabilitiesOf(machine, hw);
            for (const PortCapabilities& pc : caps.ports) {
                for (const LineConfiguration& lc : pc.lineConfigurations) {
                    for (const char* level : {"1", "2", "3", "4", "X"}) {
                        const PlanRequest request =
                            Request(machine, pc.port, lc.code, level, 3000, hw);
                        const PlanResult plan = Make(request);
                        const std::string where = QStringLiteral(
                                                      "machine %1 hw %2 port %3 "
                                                      "configuration %4 level %5")
                                                      .arg(machine)
                                                      .arg(hw)
                                                      .arg(pc.port)
                                                      .arg(lc.code)
                                                      .arg(level)
                                                      .toStdString();
                        std::set<QString> unavoidable;
                        for (const Finding& f : plan.shortfalls) {
                            unavoidable.insert(f.rule);
                        }
                        for (const Finding& f : Check(plan, request)) {
                            EXPECT_TRUE(unavoidable.count(f.rule))
                                << where << ": " << f.text.toStdString();
                        }
                        ExecDataList steps;
                        plan.record.ExpandSteps(steps);
                        ASSERT_FALSE(steps.empty()) << where;
                        EXPECT_LE(plan.record.StepCount(), kMaxStepCount) << where;
                        for (const CExecData& step : steps) {
                            QString problem;
                            ASSERT_TRUE(CheckStepValues(step, problem))
                                << where << ": " << problem.toStdString();
                        }
                        ++plans;
                    }
                }
            }
        }
    }
    EXPECT_GT(plans, 300);
}

TEST(PlanGenerator, SinglePhaseWithEarthIsEveryPathAtEveryLevelSynchronised) {
    const PlanResult plan = Make(Request(5, kPortAc, 1, "3"));
    const CSettingData& r = plan.record;
    EXPECT_TRUE(plan.shortfalls.empty());
    EXPECT_EQ(r.m_outOutput.m_nOutputPort, kPortAc);
    const OUTPUT_PORT& ac = r.m_outOutput.m_aopOutputPort[kPortAc];
    EXPECT_EQ(ac.m_nOutputDetail, 1);
    EXPECT_EQ(ac.m_aulInjRetBit[1], Bits({0, 12, 13}));  // L - N once, L - PE, N - PE
    EXPECT_EQ(ac.m_nCoup, kCouplingStandard);
    EXPECT_EQ(ac.m_nSync, 1);
    EXPECT_EQ(ac.m_valAngle.ValueCount(), 4);
    EXPECT_EQ(ac.m_valAngle.ValueAt(2), 180);
    EXPECT_EQ(ListedVoltages(r), (std::vector<int32_t>{500, 1000, 2000}));
    EXPECT_EQ(r.m_valVolt.m_nVariableKind, 0);
    EXPECT_EQ(r.m_ulPola, 3u);
    EXPECT_EQ(r.m_lDisc, 5);
    EXPECT_EQ(r.m_lRept, 60);

    // Three phase: each pair once, whichever way round the instrument names it.
    EXPECT_EQ(
        Make(Request(5, kPortAc, 3, "1")).record.m_outOutput.m_aopOutputPort[0].m_aulInjRetBit[3],
        Bits({0, 1, 4}));
    // Level X: the fixed levels below its voltage, then the voltage itself.
    EXPECT_EQ(ListedVoltages(Make(Request(5, kPortDc, 1, "X", 3000)).record),
              (std::vector<int32_t>{500, 1000, 2000, 3000}));
}

TEST(PlanGenerator, ChosenPathKindsAndLabProfilesWithOtherVoltagesAndLimits) {
    // Line-to-line only was chosen: the plan does it, and the check says what is left out.
    PlanRequest request = Request(5, kPortDc, 1, "2");
    request.lineToEarth = false;
    PlanResult plan = Make(request);
    EXPECT_EQ(plan.record.m_outOutput.m_aopOutputPort[kPortDc].m_aulInjRetBit[1], Bits({0}));
    std::vector<Finding> findings = Check(plan, request);
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].rule, QStringLiteral("paths"));

    // A lab's profile with other line-to-earth voltages and an interval the machine cannot
    // keep: the list marks NORMAL and COMMON, the interval is the shortest the machine allows.
    StandardProfile lab = Profile2005();
    lab.id = QStringLiteral("lab");
    lab.levels[0].lineToEarth = 1000;
    lab.levels[1].lineToEarth = 2000;
    for (ProfileRule& r : lab.rules) {
        if (r.kind == QLatin1String(rule::kInterval)) {
            r.maximum = 5;
        }
    }
    request = Request(5, kPortAc, 1, "2");
    request.standard.profile = lab.id;
    plan = Make(request, lab);
    const VALUE& v = plan.record.m_valVolt;
    EXPECT_EQ(v.m_nVariableKind, 1);
    EXPECT_EQ(ListedVoltages(plan.record), (std::vector<int32_t>{500, 1000, 2000}));
    EXPECT_EQ((std::vector<int32_t>{v.m_abUse[0], v.m_abUse[1], v.m_abUse[2]}),
              (std::vector<int32_t>{1, 1, 0}));
    EXPECT_EQ((std::vector<int32_t>{v.m_abUse2[0], v.m_abUse2[1], v.m_abUse2[2]}),
              (std::vector<int32_t>{0, 1, 1}));
    EXPECT_EQ(plan.record.m_lRept, 10);
    ASSERT_EQ(plan.shortfalls.size(), 1u);
    EXPECT_EQ(plan.shortfalls[0].rule, QStringLiteral("interval"));
    findings = Check(plan, request, lab);
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].rule, QStringLiteral("interval"));
}

TEST(PlanGenerator, RefusesWhatTheMachineOrTheProfileDoesNotOffer) {
    struct Case {
        PlanRequest request;
        const char* says;
    };
    PlanRequest otherProfile = Request(5, kPortAc, 1, "1");
    otherProfile.standard.profile = QStringLiteral("lab-template");
    const Case cases[] = {
        {Request(0, kPortTelecom, 0, "1"), "has no TELECOM LINE OUTPUT"},
        {Request(4, kPortAc, 6, "1", 0, 0), "has no line configuration 6"},
        {Request(5, kPortAc, 1, "5"), "has no level 5"},
        {Request(5, kPortAc, 1, "X"), "Level X needs a test voltage"},
        {Request(13, kPortTelecom, 0, "X", 7000), "delivers at most 6 kV"},
        {otherProfile, "not iec61000-4-5-2005"},
    };
    for (const Case& c : cases) {
        PlanResult result;
        QString error;
        EXPECT_FALSE(GeneratePlan(Profile2005(), c.request, result, error)) << c.says;
        EXPECT_TRUE(error.contains(QLatin1String(c.says))) << error.toStdString();
    }
    // Earth paths asked for where the configuration has none: nothing to test.
    PlanRequest earthOnly = Request(5, kPortAc, 0, "1");
    earthOnly.lineToLine = false;
    PlanResult result;
    QString error;
    EXPECT_FALSE(GeneratePlan(Profile2005(), earthOnly, result, error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("No path"))) << error.toStdString();
}

}  // namespace
}  // namespace zeb
