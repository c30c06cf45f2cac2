// Test standard benchmark. Prints key=value figures:
//   check_1000_steps_ms       median time of the check of a 1000-step plan against the 2005
//                             profile at level 4 (target <= 5)
//   check_1000_steps_findings findings of that plan (180 degrees is missing for most of its
//                             combinations; every rule goes through every step)
//   generate_largest_ms       median time to make the largest plan the 2005 profile gives on
//                             any machine, port and line configuration (target <= 5)
//   largest_plan_steps        its step count, and largest_plan_machine/port/lines what it is for
// The profiles are read from the folder given as the only argument, else from the program's
// shipped folder.

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "Capabilities.h"
#include "PlanGenerator.h"
#include "ProfileLibrary.h"

namespace {

constexpr int kRounds = 200;

template <typename F>
double MedianMs(F&& f) {
    std::vector<double> ms;
    for (int i = 0; i < kRounds; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

// 1000 steps on AC L1, L2, L3, N, PE: 10 voltages x 16 paths x 2 polarities x 3 angles makes
// 960, and 40 more at 180 degrees with 4 pulses each.
zeb::ExecDataList ThousandSteps(const zeb::CSettingData& record) {
    zeb::ExecDataList steps;
    zeb::CExecData step = record.TemplateStep();
    step.m_nSync = 1;
    for (int v = 0; v < 10 && steps.size() < 1000; ++v) {
        for (int line = 0; line < 16; ++line) {
            for (int pola = 0; pola < 2; ++pola) {
                for (int angle : {0, 90, 270}) {
                    step.m_lVolt = 500 * (v + 1);
                    step.m_nInjRet = line;
                    step.m_nPola = pola;
                    step.m_lAngle = angle;
                    step.m_lDisc = 5;
                    steps.push_back(step);
                }
            }
        }
    }
    while (steps.size() < 1000) {
        step.m_lDisc = 4;
        step.m_lAngle = 180;
        step.m_nInjRet = static_cast<int>(steps.size() % 16);
        steps.push_back(step);
    }
    return steps;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const zeb::ProfileSet set = zeb::LoadProfiles(
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : zeb::ShippedProfileFolder(), QString());
    const zeb::StandardProfile* profile = set.Find(QStringLiteral("iec61000-4-5-2005"));
    if (!profile) {
        std::fprintf(
            stderr, "plan_bench: the 2005 profile is not in %s\n",
            qPrintable(argc > 1 ? QString::fromLocal8Bit(argv[1]) : zeb::ShippedProfileFolder()));
        return 1;
    }

    zeb::CSettingData record;
    record.m_ulMachineType = 5;
    record.m_nHWVersion = 1;
    record.SetDefault();
    record.m_outOutput.m_aopOutputPort[zeb::kPortAc].m_nOutputDetail = 5;
    const zeb::ExecDataList steps = ThousandSteps(record);
    size_t findings = 0;
    const double checkMs = MedianMs(
        [&] { findings = zeb::CheckPlan(record, steps, *profile, QStringLiteral("4")).size(); });

    // The largest plan of any machine, port, configuration and level.
    zeb::PlanRequest largest;
    int64_t largestSteps = -1;
    for (uint32_t machine :
         {0u, 1u, 2u, 4u, 5u, 6u, 8u, 9u, 10u, 12u, 13u, 14u, 0x400Bu, 0x400Fu}) {
        const zeb::MachineCapabilities caps = zeb::CapabilitiesOf(machine, 1);
        for (const zeb::PortCapabilities& pc : caps.ports) {
            for (const zeb::LineConfiguration& lc : pc.lineConfigurations) {
                zeb::PlanRequest r;
                r.standard = {profile->id, QStringLiteral("4"), 0};
                r.machineType = machine;
                r.hwVersion = 1;
                r.port = pc.port;
                r.configuration = lc.code;
                zeb::PlanResult plan;
                QString error;
                if (zeb::GeneratePlan(*profile, r, plan, error) &&
                    plan.record.StepCount() > largestSteps) {
                    largestSteps = plan.record.StepCount();
                    largest = r;
                }
            }
        }
    }
    zeb::PlanResult plan;
    QString error;
    const double generateMs = MedianMs([&] { zeb::GeneratePlan(*profile, largest, plan, error); });

    std::printf("check_1000_steps_ms=%.3f\n", checkMs);
    std::printf("check_1000_steps_findings=%zu\n", findings);
    std::printf("generate_largest_ms=%.3f\n", generateMs);
    std::printf("largest_plan_steps=%lld\n", static_cast<long long>(largestSteps));
    std::printf("largest_plan_machine=0x%x\n", largest.machineType);
    std::printf("largest_plan_port=%s\n", qPrintable(zeb::KeyOfPort(largest.port)));
    std::printf("largest_plan_lines=%d\n", largest.configuration);
    return 0;
}
