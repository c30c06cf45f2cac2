// The editor, the expansion and the step check agree on what the instrument accepts. Records
// are made as the editor's pages can make them (each choice from the page's own list, each
// value within the field's limits), from a fixed seed so a failure repeats; a second set is
// damaged the way a hand-made file can be.

#include <gtest/gtest.h>

#include <random>

#include "Capabilities.h"
#include "SettingRules.h"
#include "StepCheck.h"

namespace zeb {
namespace {

class Maker {
public:
    explicit Maker(uint32_t seed) : m_rng(seed) {}

    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }
    int32_t In(int32_t lo, int32_t hi) {
        return std::uniform_int_distribution<int32_t>(lo, hi)(m_rng);
    }
    bool Coin() { return Below(2) == 1; }
    template <typename List>
    int32_t Code(const List& list, int32_t fallback) {
        return list.empty() ? fallback : list[static_cast<size_t>(Below(int(list.size())))].code;
    }
    uint32_t SubsetOf(uint32_t bits) {
        uint32_t out = 0;
        for (int b = 0; b < 32; ++b) {
            if ((bits & (1u << b)) && Coin()) {
                out |= 1u << b;
            }
        }
        return out;
    }

    // A value set as the entry pages leave it: values in [0, max] in steps of `unit`, a sweep
    // running upwards, list flags on the five entries the pages reach.
    void Values(VALUE& v, int32_t max, int32_t unit, int32_t kind) {
        static const int32_t kTypes[] = {kValueFixed, kValueSweep, kValueSweep, kValueVariable};
        v.m_nValueType = kTypes[Below(4)];
        v.m_nVariableKind = kind;
        v.m_lValue = In(0, max / unit) * unit;
        v.m_lStart = In(0, max / unit) * unit;
        v.m_lEnd = In(v.m_lStart / unit, max / unit) * unit;
        const int32_t span = (v.m_lEnd - v.m_lStart) / unit;
        v.m_lStep = (Coin() ? In(1, 3) : In(1, span + 1)) * unit;
        for (int i = 0; i < kSlotCount; ++i) {
            const bool reached = i < 5;
            v.m_alValue[i] = In(0, max / unit) * unit;
            v.m_abUse[i] = reached && Coin();
            v.m_abUse2[i] = reached && kind == 1 && Coin();
        }
    }

    CSettingData EditorRecord() {
        static const uint32_t kMachines[] = {0,  1,  2,  4,  5,      6,      8,      9,
                                             10, 12, 13, 14, 0x400B, 0x400F, 0x1003, 0x2001};
        CSettingData r;
        r.m_ulMachineType = kMachines[Below(int(std::size(kMachines)))];
        r.m_nHWVersion = Below(2);
        r.SetDefault();
        const uint32_t type = r.m_ulMachineType;
        const int32_t port = Code(PortChoices(type), kPortAc);
        r.m_outOutput.m_nOutputPort = port;
        OUTPUT_PORT& slot = r.m_outOutput.m_aopOutputPort[port];
        // Each choice from the page's own list, as the capability table gives it.
        const MachineCapabilities caps = CapabilitiesOf(type, r.m_nHWVersion);
        const PortCapabilities& offer = *caps.Port(port);
        if (!offer.lineConfigurations.empty()) {
            slot.m_nOutputDetail =
                offer.lineConfigurations[size_t(Below(int(offer.lineConfigurations.size())))].code;
        }
        slot.m_nWaveform = Code(offer.waveforms, slot.m_nWaveform);
        slot.m_nCoup = Code(offer.couplings, slot.m_nCoup);
        slot.m_nRingRegi = Code(offer.ringImpedances, 0);
        slot.m_nSync = offer.phaseSync ? Below(2) : 0;
        if (offer.lineBoxes) {
            slot.m_aulInjRetBit[slot.m_nOutputDetail] =
                SubsetOf(offer.LinesOf(slot.m_nOutputDetail));
        }
        // Selecting the port, then the page re-applying its line configuration as it shows.
        int32_t& kind = r.m_valVolt.m_nVariableKind;
        kind = VariableKindForPort(port, slot.m_nOutputDetail, kind);
        kind = VariableKindForDetail(port, slot.m_nOutputDetail, kind);
        Values(r.m_valVolt, VoltageMax(type, port), 100, kind);
        Values(slot.m_valAngle, 360, 1, 0);
        r.m_ulPola = static_cast<uint32_t>(In(1, 3));
        r.m_lDisc = In(1, 999);
        ApplyMinimumInterval(r, slot.m_nWaveform);
        r.m_lRept = In(r.m_vlRept.m_lMin, 999);
        return r;
    }

    // What a hand-made file may hold on top: another list kind, lines beyond the page's
    // boxes, any polarity bits.
    void Damage(CSettingData& r) {
        OUTPUT_PORT& slot = r.m_outOutput.m_aopOutputPort[r.m_outOutput.m_nOutputPort];
        if (Coin()) {
            r.m_valVolt.m_nVariableKind ^= 1;
            for (int i = 0; i < 5; ++i) {
                r.m_valVolt.m_abUse2[i] = Coin();
            }
        }
        if (Coin()) {
            slot.m_aulInjRetBit[slot.m_nOutputDetail] |= static_cast<uint32_t>(m_rng());
        }
        if (Below(4) == 0) {
            r.m_ulPola = static_cast<uint32_t>(m_rng());
        }
    }

private:
    std::mt19937 m_rng;
};

constexpr int kRecords = 5000;

TEST(RuleProperties, WhatTheEditorAcceptsExpandsWithinTheLimitIntoStepsTheInstrumentTakes) {
    Maker make(20240611);
    int accepted = 0;
    int tooMany = 0;
    for (int n = 0; n < kRecords; ++n) {
        const CSettingData r = make.EditorRecord();
        tooMany += r.StepCount() > kMaxStepCount ? 1 : 0;
        // Wherever both count the same thing (the editor sets the list kind and offers only
        // the port's own lines), the editor's estimate is the expansion's exact count.
        ASSERT_EQ(EstimatedStepCount(r), r.StepCount()) << "record " << n;
        if (!CheckForOk(r).accept) {
            continue;
        }
        ++accepted;
        ExecDataList steps;
        r.ExpandSteps(steps);
        ASSERT_LE(steps.size(), size_t(kMaxStepCount)) << "record " << n;
        ASSERT_EQ(int64_t(steps.size()), r.StepCount()) << "record " << n;
        for (const CExecData& step : steps) {
            QString problem;
            ASSERT_TRUE(CheckStepValues(step, problem))
                << "record " << n << ": " << problem.toStdString();
            // Raised exactly as far as the generator needs above its recharge threshold.
            ASSERT_EQ(step.m_lRept, std::max(r.m_lRept, step.MinInterval())) << "record " << n;
        }
    }
    // Both outcomes occur often enough for the properties to mean something.
    EXPECT_GT(accepted, kRecords / 2);
    EXPECT_GT(tooMany, kRecords / 100);
}

TEST(RuleProperties, NoRecordFromAFileGetsPastTheLimit) {
    Maker make(777);
    int estimateTooLow = 0;
    for (int n = 0; n < kRecords; ++n) {
        CSettingData r = make.EditorRecord();
        make.Damage(r);
        const int64_t exact = r.StepCount();
        if (EstimatedStepCount(r) <= kMaxStepCount && exact > kMaxStepCount) {
            ++estimateTooLow;  // a list of one kind on lines of both kinds, or foreign lines
        }
        if (CheckForOk(r).accept) {
            ASSERT_LE(exact, kMaxStepCount) << "record " << n;
        }
    }
    EXPECT_GT(estimateTooLow, 0);  // the refusal above was really put to the test
}

}  // namespace
}  // namespace zeb
