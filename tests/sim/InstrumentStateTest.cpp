#include <gtest/gtest.h>

#include <initializer_list>

#include "InstrumentState.h"

namespace zebsim {
namespace {

constexpr std::int64_t kPrep = InstrumentState::kPrepareMs;
constexpr std::int64_t kFinish = InstrumentState::kFinishMs;

void Load(InstrumentState& state, std::initializer_list<const char*> commands,
          std::int64_t now = 0) {
    for (const char* command : commands) {
        state.Command(command, now);
    }
}

// A surge-output step: 3 discharges, 2 s apart.
void LoadSurgeStep(InstrumentState& state) {
    Load(state, {"PC1", "PD50", "PE2", "PF3", "PG0", "PH0", "PN00", "PO2"});
}

TEST(InstrumentState, RunGoesThroughBusyRunningAndNormalEnd) {
    InstrumentState state;
    LoadSurgeStep(state);
    EXPECT_EQ(state.Status(0), 0);
    state.Command("CA", 0);

    EXPECT_EQ(state.Status(1), kStatusRunning | kStatusBusy);  // preparing
    EXPECT_EQ(state.SecondsToNextDischarge(1), 2);

    std::int64_t t = kPrep;
    EXPECT_EQ(state.Status(t), kStatusRunning);
    EXPECT_EQ(state.DischargesDone(t), 0);
    EXPECT_EQ(state.SecondsToNextDischarge(t), 2);
    EXPECT_EQ(state.SecondsToNextDischarge(t + 1001), 1);  // counts down whole seconds
    EXPECT_EQ(state.DischargesDone(t + 1999), 0);
    EXPECT_EQ(state.DischargesDone(t + 2000), 1);
    EXPECT_EQ(state.SecondsToNextDischarge(t + 2000), 2);
    EXPECT_EQ(state.DischargesDone(t + 4500), 2);

    t += 6000;  // the third discharge: normal end, still busy for a moment
    EXPECT_EQ(state.Status(t), kStatusNormalEnd | kStatusBusy);
    EXPECT_EQ(state.DischargesDone(t), 3);
    EXPECT_EQ(state.SecondsToNextDischarge(t), 0);
    EXPECT_EQ(state.Status(t + kFinish), kStatusNormalEnd);
    // The normal end stays until the PC stops the instrument before the next step.
    EXPECT_EQ(state.Status(t + 60000), kStatusNormalEnd);
    state.Command("CB", t + 60000);
    EXPECT_EQ(state.Status(t + 60000), 0);
}

TEST(InstrumentState, LateQueryStillSeesEveryPhaseInOrder) {
    // Nobody asked during the whole run: the state catches up in one step.
    InstrumentState state;
    LoadSurgeStep(state);
    state.Command("CA", 0);
    EXPECT_EQ(state.Status(kPrep + 6000 + kFinish + 10), kStatusNormalEnd);
    EXPECT_EQ(state.DischargesDone(kPrep + 6000 + kFinish + 10), 3);
}

TEST(InstrumentState, StartTogglesPauseWhileRunningAndPauseFreezesTheCountdown) {
    InstrumentState state;
    LoadSurgeStep(state);
    state.Command("CA", 0);
    state.Command("CA", 100);  // still preparing (busy): not a pause
    EXPECT_EQ(state.Status(100), kStatusRunning | kStatusBusy);

    const std::int64_t pauseAt = kPrep + 500;
    state.Command("CA", pauseAt);
    EXPECT_EQ(state.Status(pauseAt), kStatusRunning | kStatusPaused);
    EXPECT_EQ(state.SecondsToNextDischarge(pauseAt + 10000), 2);
    EXPECT_EQ(state.DischargesDone(pauseAt + 10000), 0);

    const std::int64_t resumeAt = pauseAt + 10000;
    state.Command("CA", resumeAt);
    EXPECT_EQ(state.Status(resumeAt), kStatusRunning);
    // 500 ms were run before the pause, so the first discharge comes 1.5 s after resuming.
    EXPECT_EQ(state.DischargesDone(resumeAt + 1499), 0);
    EXPECT_EQ(state.DischargesDone(resumeAt + 1500), 1);
    EXPECT_EQ(state.Status(resumeAt + 5500), kStatusNormalEnd | kStatusBusy);
}

TEST(InstrumentState, StopClearsRunningPausedAndNormalEnd) {
    InstrumentState state;
    LoadSurgeStep(state);
    state.Command("CA", 0);
    state.Command("CA", kPrep + 100);  // pause
    state.Command("CB", kPrep + 200);
    EXPECT_EQ(state.Status(kPrep + 200), 0);
    EXPECT_EQ(state.Status(kPrep + 100000), 0);

    // The block stays loaded: the step can be started again.
    state.Command("CA", 200000);
    EXPECT_EQ(state.Status(200000 + kPrep), kStatusRunning);
}

TEST(InstrumentState, StopBusyTimeKeepsAStoppedStepRunningAndBusyWithoutNormalEnd) {
    InstrumentState state;
    state.SetStopBusyMs(1000);
    LoadSurgeStep(state);
    state.Command("CA", 0);
    const std::int64_t t = kPrep + 5999;  // just before the last discharge
    state.Command("CB", t);
    EXPECT_EQ(state.Status(t), kStatusRunning | kStatusBusy);
    state.Command("CB", t + 500);  // a second stop does not lengthen the wind-down
    EXPECT_EQ(state.Status(t + 999), kStatusRunning | kStatusBusy);
    EXPECT_EQ(state.DischargesDone(t + 999), 2);  // no discharge fired meanwhile
    EXPECT_EQ(state.Status(t + 1000), 0);         // stopped, never a normal end
    // Idle, or a step already ended, stops at once as without the option.
    state.Command("CA", t + 1000);
    state.Command("CB", t + 1000);
    EXPECT_EQ(state.Status(t + 1000), kStatusRunning | kStatusBusy);
    InstrumentState plain;
    LoadSurgeStep(plain);
    plain.Command("CA", 0);
    plain.Command("CB", kPrep);
    EXPECT_EQ(plain.Status(kPrep), 0);
}

TEST(InstrumentState, ErrorStopsTheRunAndLatchesUntilClearCommand) {
    InstrumentState state;
    LoadSurgeStep(state);
    state.Command("CC", 0);
    state.Command("CA", 0);
    state.RaiseError(1, kPrep + 2500);
    EXPECT_EQ(state.Status(kPrep + 2500), kStatusError | kStatusLineOn);
    EXPECT_EQ(state.DischargesDone(kPrep + 2500), 1);  // where it stopped

    state.Command("CB", 10000);
    state.Command("CA", 10000);  // refused while the error is latched
    EXPECT_EQ(state.Status(10000 + kPrep), kStatusError | kStatusLineOn);
    EXPECT_EQ(state.ErrorCode(), 1);

    state.Command("PQ0", 20000);
    EXPECT_EQ(state.ErrorCode(), 0);
    EXPECT_EQ(state.Status(20000), kStatusLineOn);
    // "PQ0" also emptied the parameter block: there is nothing to start.
    EXPECT_TRUE(state.Parameter("PF").isEmpty());
    state.Command("CA", 20000);
    EXPECT_EQ(state.Status(20001), kStatusLineOn);

    state.RaiseError(0, 30000);  // 0 is "no error"
    EXPECT_EQ(state.Status(30000), kStatusLineOn);

    // An error after the discharges ended normally leaves the normal end standing beside it.
    LoadSurgeStep(state);
    state.Command("CA", 40000);
    const std::int64_t ended = 40000 + kPrep + 6000 + kFinish;
    EXPECT_EQ(state.Status(ended), kStatusNormalEnd | kStatusLineOn);
    state.RaiseError(9, ended);
    EXPECT_EQ(state.Status(ended), kStatusNormalEnd | kStatusError | kStatusLineOn);
    EXPECT_EQ(state.Query("QB", ended), QByteArray("QB43"));  // 0x34, low nibble first
    state.Command("CB", ended);
    EXPECT_EQ(state.Status(ended), kStatusError | kStatusLineOn);
}

TEST(InstrumentState, SynchronisedAcStepNeedsTheLine) {
    InstrumentState state;
    Load(state, {"PE1", "PF1", "PI1", "PK2", "PN10", "PO0"});
    state.Command("CA", 0);
    EXPECT_EQ(state.Status(1), kStatusError);
    EXPECT_EQ(state.ErrorCode(), kErrorLineInputInactive);

    state.Command("PQ0", 10);
    Load(state, {"PE1", "PF1", "PI1", "PK2", "PN10", "PO0", "CC"}, 10);
    state.Command("CA", 10);
    EXPECT_EQ(state.Status(20), kStatusRunning | kStatusBusy | kStatusLineOn);

    // Mode bit 0 on another port is no synchronised AC step.
    InstrumentState surge;
    Load(surge, {"PE1", "PF1", "PN10", "PO2", "CA"});
    EXPECT_EQ(surge.Status(1), kStatusRunning | kStatusBusy);
}

TEST(InstrumentState, SwitchedPortAndLineTypeAreReportedWhileTheLineIsOn) {
    InstrumentState state;
    Load(state, {"PI5", "PO0"});
    EXPECT_EQ(state.Query("QO", 0), QByteArray("QO0"));
    EXPECT_EQ(state.Query("QI", 0), QByteArray("QI0"));
    state.Command("CC", 0);
    EXPECT_EQ(state.Query("QI", 0), QByteArray("QI5"));
    state.Command("PI6", 0);  // three phase with PE, switched like L1, L2, L3
    EXPECT_EQ(state.Query("QI", 0), QByteArray("QI3"));
    state.Command("PO1", 0);
    EXPECT_EQ(state.Query("QO", 0), QByteArray("QO1"));
    EXPECT_EQ(state.Query("QI", 0), QByteArray("QI0"));
    state.Command("CD", 0);
    EXPECT_EQ(state.Query("QO", 0), QByteArray("QO0"));
}

TEST(InstrumentState, TimeScaleRunsTheInstrumentClockFaster) {
    InstrumentState state(20.0);
    Load(state, {"PE10", "PF2", "PN00", "PO2", "CA"});
    // 0.8 s preparation + 2 x 10 s = 20.8 s of instrument time = 1040 ms at x20.
    EXPECT_EQ(state.Status(1039), kStatusRunning);
    EXPECT_EQ(state.DischargesDone(1039), 1);
    EXPECT_EQ(state.Status(1040), kStatusNormalEnd | kStatusBusy);
}

TEST(InstrumentState, NonsenseParametersNeitherStallNorOverflow) {
    InstrumentState zeroInterval;
    Load(zeroInterval, {"PE0", "PF2", "PO2", "CA"});  // taken as 1 s
    EXPECT_EQ(zeroInterval.DischargesDone(kPrep + 1000), 1);

    InstrumentState huge;
    Load(huge, {"PE2147483647", "PF2147483647", "PO2", "CA"});
    EXPECT_EQ(huge.Status(kPrep + 1), kStatusRunning);
    EXPECT_GT(huge.SecondsToNextDischarge(kPrep + 1), 0);

    InstrumentState none;
    Load(none, {"PEabc", "PF0", "PO2", "CA"});  // no discharges: ends as soon as it starts
    EXPECT_EQ(none.Status(kPrep), kStatusNormalEnd | kStatusBusy);
}

}  // namespace
}  // namespace zebsim
