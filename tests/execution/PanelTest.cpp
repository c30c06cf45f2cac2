// The run panel as a pure function of the run's facts and the document: which steps its texts
// name, and that facts pointing past the steps show nothing.

#include <gtest/gtest.h>

#include "PanelState.h"
#include "SequencerFixture.h"

namespace zeb::test {
namespace {

class PanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(doc.OnNewDocument(kAcMachine, 1));
        doc.Steps() = {AcStep(1000, 2, 10), AcStep(2000, 5, 30), AcStep(3000, 7, 60)};
        doc.Steps()[1].m_nWaveform = kWaveRing;
    }
    CZebM40SettingsDoc doc;
};

// Before the dialog opens the panel names no step and offers only the line buttons.
TEST_F(PanelTest, NothingIsNamedOrOfferedBeforeTheDialogOpens) {
    const ExecPanelState p = Panel(RunFacts(), doc);
    EXPECT_TRUE(p.lineOnEnabled && p.lineOffEnabled);
    EXPECT_FALSE(p.startEnabled || p.stopEnabled);
    EXPECT_EQ(p.line, LineShown::None);
    EXPECT_TRUE(p.stepNumber.isEmpty() && p.stepTotal.isEmpty() && p.remaining.isEmpty());
    EXPECT_TRUE(p.outputPort.isEmpty() && p.interval.isEmpty() && p.dischargeTotal.isEmpty());
    EXPECT_FALSE(p.notConnectedVisible || p.checkingVisible);
}

// Each text names its own step: the number the current one, the port and waveform the step the
// dialog opened on, the total the step START began, the interval the step last seen running.
TEST_F(PanelTest, EachTextNamesTheStepItsFactNames) {
    RunFacts f;
    f.openedStep = 1;
    f.numberStep = 2;
    f.totalStep = 0;
    f.intervalStep = 2;
    f.countdown = QStringLiteral("  7");
    const ExecPanelState p = Panel(f, doc);
    EXPECT_EQ(p.stepNumber, "3");
    EXPECT_EQ(p.stepTotal, "3");
    EXPECT_EQ(p.dischargeTotal, "2");
    EXPECT_EQ(p.interval, "60");
    EXPECT_EQ(p.countdown, "  7");  // the instrument's text as it wrote it
    EXPECT_EQ(p.waveform, "RING");
    EXPECT_TRUE(p.impedanceVisible);
    EXPECT_FALSE(p.impedance.isEmpty());

    // Indices past the steps (a document that lost steps) show nothing and never crash.
    f.openedStep = f.totalStep = f.intervalStep = 9;
    f.numberStep = -1;
    const ExecPanelState none = Panel(f, doc);
    EXPECT_TRUE(none.waveform.isEmpty() && none.interval.isEmpty() && none.stepNumber.isEmpty());
    EXPECT_FALSE(none.impedanceVisible);
}

}  // namespace
}  // namespace zeb::test
