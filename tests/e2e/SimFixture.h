#pragma once
// Simulators on pseudo-terminals and a port table pointing at them, for tests that run the
// real serial stack (QSerialPort) end to end.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QElapsedTimer>
#include <QStringList>
#include <QtGlobal>

#include <memory>
#include <vector>

#include "PtySimulator.h"
#include "ZebM40Cntl.h"

namespace zeb::test {

class SimFixture : public ::testing::Test {
protected:
    void TearDown() override { qunsetenv("ZEB_SERIAL_PORTS"); }

    // Starts a simulator; the port table is rebuilt from all started ones, in order.
    zebsim::PtySimulator& AddSim(const zebsim::SimOptions& options = {}) {
        sims.push_back(std::make_unique<zebsim::PtySimulator>(options));
        EXPECT_TRUE(sims.back()->Start());
        UsePorts();
        return *sims.back();
    }
    // Points the port table at the given simulators (all when none given).
    void UsePorts(const std::vector<zebsim::PtySimulator*>& chosen = {}) {
        QStringList paths;
        if (chosen.empty()) {
            for (const auto& s : sims) {
                paths << s->DevicePath();
            }
        } else {
            for (const auto* s : chosen) {
                paths << s->DevicePath();
            }
        }
        qputenv("ZEB_SERIAL_PORTS", paths.join(QLatin1Char(':')).toLocal8Bit());
    }

    std::vector<std::unique_ptr<zebsim::PtySimulator>> sims;
};

// Milliseconds a call takes.
template <typename Fn>
qint64 TimeMs(Fn&& fn) {
    QElapsedTimer clock;
    clock.start();
    fn();
    return clock.elapsed();
}

}  // namespace zeb::test
