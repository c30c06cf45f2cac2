#pragma once
// Timers that never fire by themselves: a test sees which of the run dialog's timers are armed
// and fires one by hand, as the event loop would.

#include <gtest/gtest.h>

#include <array>

#include "RunSequencer.h"
#include "TimerHost.h"

namespace zeb::test {

class FakeTimerHost : public ITimerHost {
public:
    void SetTimer(int id, int periodMs) override {
        armed.at(static_cast<size_t>(id)) = true;
        period.at(static_cast<size_t>(id)) = periodMs;
    }
    void KillTimer(int id) override { armed.at(static_cast<size_t>(id)) = false; }
    bool IsArmed(int id) const override { return armed.at(static_cast<size_t>(id)); }

    // Fires an armed timer; firing one that is not armed is a wiring fault of the sequencer.
    void Fire(CRunSequencer& seq, int id) {
        ASSERT_TRUE(IsArmed(id)) << "timer " << id << " fired while not armed";
        seq.OnTimer(id);
    }
    // Which poll is armed: 0 idle, 1 run, -1 none (both armed is reported as -2).
    int ArmedPoll() const {
        if (armed[0] && armed[1]) {
            return -2;
        }
        return armed[0] ? 0 : (armed[1] ? 1 : -1);
    }

    std::array<bool, 3> armed{};
    std::array<int, 3> period{};
};

}  // namespace zeb::test
