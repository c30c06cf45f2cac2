// Random intent sequences from fixed seeds, for every machine type: whatever the operator does,
// a record the editor accepts expands into steps the instrument takes, the pages never offer
// what the machine lacks, and the same intents always make the same record.

#include <gtest/gtest.h>

#include <random>

#include "Archive.h"
#include "EditorView.h"
#include "SettingDataFormat.h"
#include "StepCheck.h"

namespace zeb {
namespace {

class IntentMaker {
public:
    explicit IntentMaker(uint32_t seed) : m_rng(seed) {}

    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }
    bool Coin() { return Below(2) == 1; }

    // A code from the shown list mostly, sometimes one it lacks.
    int32_t CodeFrom(const ComboView& combo) {
        if (combo.items.empty() || Below(8) == 0) {
            return Below(10) - 1;
        }
        return combo.items[size_t(Below(int(combo.items.size())))].code;
    }

    QString Text() {
        static const char* const kTexts[] = {"0",   "0.05", "1",  "2.5", "3",     "6.1",
                                             "7",   "15",   "16", "90",  "359",   "400",
                                             "999", "1000", "",   "x",   "12.34", "45"};
        return QString::fromLatin1(kTexts[Below(int(std::size(kTexts)))]);
    }

    Intent Next(const EditorView& v) {
        const OutputPageView& page = v.pages[size_t(v.page)];
        const ValuePanel panel = Below(4) == 0 ? ValuePanel::Angle : ValuePanel::Voltage;
        switch (Below(13)) {
            case 0:
                return intent::SelectPort(CodeFrom(v.port));
            case 1:
                return intent::SelectWaveform(CodeFrom(page.waveform));
            case 2:
                return intent::SelectRingImpedance(CodeFrom(page.ring));
            case 3:
                return intent::SelectLineConfiguration(CodeFrom(page.detail));
            case 4:
                return intent::SelectCoupling(CodeFrom(page.coupling));
            case 5:
            case 6:
                return intent::ToggleLine(Below(22), Coin());
            case 7:
                return intent::SetSync(Coin());
            case 8:
                return intent::SelectPolarity(Below(4));
            case 9:
                return intent::SelectValueType(panel, Below(4));
            case 10:
                return intent::ToggleUse(panel, Below(kValueRows), Coin(), Coin());
            default: {
                const Field field = Field(Below(int(Field::ListValue) + 1));
                return Coin() ? intent::CommitField(field, Text(), panel, Below(kValueRows))
                              : intent::SpinField(field, Text(), Coin(), panel, Below(kValueRows));
            }
        }
    }

private:
    std::mt19937 m_rng;
};

bool Offers(const ChoiceList& offered, const ComboView& shown) {
    for (const Choice& c : shown.items) {
        bool found = false;
        for (const Choice& o : offered) {
            found = found || o == c;
        }
        if (!found) {
            return false;
        }
    }
    return true;
}

// The shown page offers only what the capability table has for the machine and port.
void ExpectOffersOnlyTheTable(const EditorState& s, const EditorView& v) {
    for (const Choice& c : v.port.items) {
        ASSERT_NE(s.caps.Port(c.code), nullptr) << c.text.toStdString();
    }
    if (v.page == OutputPage::None) {
        return;
    }
    const PortCapabilities& port = *s.caps.Port(s.record.m_outOutput.m_nOutputPort);
    const OutputPageView& page = v.pages[size_t(v.page)];
    ASSERT_TRUE(Offers(port.waveforms, page.waveform));
    ASSERT_TRUE(Offers(port.couplings, page.coupling));
    ASSERT_TRUE(Offers(port.ringImpedances, page.ring));
    for (const Choice& c : page.detail.items) {
        ASSERT_NE(port.Configuration(c.code), nullptr);
    }
    const uint32_t lines = port.LinesOf(SelectedSlot(s).m_nOutputDetail);
    for (size_t bit = 0; bit < page.lines.size(); ++bit) {
        ASSERT_TRUE(!page.lines[bit].enabled || (lines & LineBit(int32_t(bit)))) << bit;
    }
}

// Every step of an accepted record passes the check made before it is sent.
void ExpectStepsPass(const CSettingData& r) {
    if (!CheckForOk(r).accept || r.StepCount() > 200) {
        return;  // larger lists are the same steps at more voltages and angles
    }
    ExecDataList steps;
    r.ExpandSteps(steps);
    for (const CExecData& step : steps) {
        QString problem;
        ASSERT_TRUE(CheckStepValues(step, problem)) << problem.toStdString();
    }
}

QByteArray Bytes(const CSettingData& r) {
    ArchiveWriter ar;
    WriteSettingData(ar, r);
    return ar.Bytes();
}

class EditorProperties : public ::testing::TestWithParam<uint32_t> {};

constexpr int kSequences = 250;
constexpr int kIntentsPerSequence = 20;  // 5000 intents per machine type

TEST_P(EditorProperties, RandomIntentsKeepTheRulesAndRepeat) {
    const uint32_t type = GetParam();
    IntentMaker make(20261209u ^ type);
    int accepted = 0;
    for (int n = 0; n < kSequences; ++n) {
        CSettingData r;
        r.m_ulMachineType = type;
        r.SetDefault();
        r.m_nHWVersion = make.Below(2);
        r.m_outOutput.m_nOutputPort = make.Below(4);
        const int32_t instrument = make.Below(2);
        EditorState s = OpenEditor(r, instrument);
        std::vector<Intent> intents;
        for (int i = 0; i < kIntentsPerSequence; ++i) {
            const EditorView v = Project(s);
            ASSERT_NO_FATAL_FAILURE(ExpectOffersOnlyTheTable(s, v)) << "sequence " << n;
            intents.push_back(make.Next(v));
            Apply(s, intents.back());
            ASSERT_NO_FATAL_FAILURE(ExpectStepsPass(s.record)) << "sequence " << n;
        }
        accepted += CheckForOk(s.record).accept ? 1 : 0;
        EditorState again = OpenEditor(r, instrument);
        for (const Intent& in : intents) {
            Apply(again, in);
        }
        ASSERT_EQ(Bytes(again.record), Bytes(s.record)) << "sequence " << n;
        ASSERT_EQ(again.record.m_vlVolt.m_lMax, s.record.m_vlVolt.m_lMax);
        ASSERT_EQ(again.record.m_vlRept.m_lMin, s.record.m_vlRept.m_lMin);
    }
    EXPECT_GT(accepted, 0);  // the step check was really put to the test
}

INSTANTIATE_TEST_SUITE_P(EveryMachineType, EditorProperties,
                         ::testing::Values(0u, 1u, 2u, 4u, 5u, 6u, 8u, 9u, 10u, 12u, 13u, 14u,
                                           0x400Bu, 0x400Fu, 0x1003u, 0x2001u));

}  // namespace
}  // namespace zeb
