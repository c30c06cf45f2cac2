// The editor, the expansion and the step check agree on what the instrument accepts. Records
// are made as the editor's pages can make them (each choice from the page's own list, each
// value within the field's limits), from a fixed seed so a failure repeats; a second set is
// damaged the way a hand-made file can be.

#include <gtest/gtest.h>

#include <random>

#include "SetOutputRules.h"
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
        const OutputPage page = PageForPort(port, type);
        int32_t hw = r.m_nHWVersion;
        switch (page) {
            case OutputPage::Ac:
                slot.m_nOutputDetail = Code(AcDetails(type, hw, 0), 0);
                slot.m_nWaveform = Code(AcWaveforms(type), 0);
                slot.m_nCoup = Code(LineCouplings(), 0);
                slot.m_nSync = Below(2);
                break;
            case OutputPage::Dc:
                slot.m_nOutputDetail = Code(DcDetails(), 0);
                slot.m_nWaveform = Code(DcWaveforms(type), 0);
                slot.m_nCoup = Code(LineCouplings(), 0);
                break;
            case OutputPage::Surge:
                slot.m_nWaveform = Code(SurgeWaveforms(type), 0);
                break;
            case OutputPage::Telecom:
                slot.m_nOutputDetail = Code(TelecomDetails(), 0);
                slot.m_nWaveform = Code(TelecomWaveforms(), 0);
                slot.m_nCoup = Code(TelecomResistors(), 0);
                break;
            case OutputPage::TelecomUnit:
                slot.m_nOutputDetail = Code(TelecomDetails(), 0);
                slot.m_nWaveform = Code(TelecomUnitWaveforms(type), slot.m_nWaveform);
                slot.m_nCoup = Code(TelecomUnitResistors(), slot.m_nCoup);
                break;
            default:  // edition 3: waveform and line configuration only
                slot.m_nOutputDetail = Code(TelecomDetails(), 0);
                slot.m_nWaveform = Code(TelecomWaveforms(), 0);
                break;
        }
        slot.m_nRingRegi = Code(RingImpedances(), 0);
        if (page == OutputPage::Ac || page == OutputPage::Dc || page == OutputPage::Telecom) {
            slot.m_aulInjRetBit[slot.m_nOutputDetail] =
                SubsetOf(EnabledLineBits(port, slot.m_nOutputDetail, type));
        }
        // Selecting the port, then the page re-applying its line configuration as it shows.
        int32_t& kind = r.m_valVolt.m_nVariableKind;
        kind = VariableKindForPort(port, slot.m_nOutputDetail, kind);
        kind = VariableKindForDetail(port, slot.m_nOutputDetail, kind);
        Values(r.m_valVolt, VoltageMaxForPort(port, type, kGeneratorVoltageMax), 100, kind);
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
