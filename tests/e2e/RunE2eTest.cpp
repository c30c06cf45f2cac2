// A test step run on the simulated instrument as the run dialog drives it: parameter block,
// start, status and counters polled every 100 ms, pause and resume, stop, instrument errors.

#include <gtest/gtest.h>

#include <QThread>

#include "InstrumentStatus.h"
#include "SettingData.h"
#include "SimFixture.h"

namespace zeb::test {
namespace {

// The instrument clock runs this much faster, so a 10 s interval passes in half a second.
constexpr double kTimeScale = 20.0;
constexpr int kPollMs = 100;

CExecData TwoDischargeStep() {
    CExecData s;
    s.m_ulMachineType = 5;
    s.m_nOutputPort = kPortAc;
    s.m_nOutputDetail = 1;
    s.m_nInjRet = 0;
    s.m_lVolt = 1000;
    s.m_nPola = 0;
    s.m_lRept = 10;
    s.m_lDisc = 2;
    return s;
}

class RunE2eTest : public SimFixture {
protected:
    void SetUp() override {
        zebsim::SimOptions options;
        options.timeScale = kTimeScale;
        sim = &AddSim(options);
        ASSERT_TRUE(cntl.Connect());
        ASSERT_TRUE(cntl.ClearSettings());
        ASSERT_TRUE(cntl.StopTest());
        ASSERT_TRUE(cntl.SendStep(TwoDischargeStep()));
    }

    // Polls "QB" until the predicate holds for the status byte; false after timeoutMs.
    template <typename Pred>
    bool PollUntil(Pred pred, int timeoutMs = 5000) {
        for (int waited = 0; waited < timeoutMs; waited += kPollMs) {
            quint8 status = 0;
            if (cntl.GetStatus(status) && pred(status)) {
                return true;
            }
            QThread::msleep(kPollMs);
        }
        return false;
    }
    static bool Running(quint8 s) { return (s & status::kRunning) && !(s & status::kBusy); }

    zebsim::PtySimulator* sim = nullptr;
    CZebM40Cntl cntl{SerialAccess::System()};
};

TEST_F(RunE2eTest, StepRunsToItsNormalEndWhilePolled) {
    ASSERT_TRUE(cntl.StartTest());
    int maxCount = 0;
    bool sawCountdown = false;
    quint8 status = 0;
    for (int waited = 0; waited < 8000; waited += kPollMs) {
        ASSERT_TRUE(cntl.GetStatus(status));
        if ((status & status::kNormalEnd) && !(status & status::kBusy)) {
            break;
        }
        if (Running(status)) {
            QString count, interval;
            ASSERT_TRUE(cntl.GetDischargeCount(count));
            ASSERT_TRUE(cntl.GetIntervalCount(interval));
            maxCount = qMax(maxCount, count.trimmed().toInt());
            sawCountdown = sawCountdown || !interval.trimmed().isEmpty();
        }
        QThread::msleep(kPollMs);
    }
    EXPECT_TRUE(status & status::kNormalEnd);
    EXPECT_FALSE(status & (status::kRunning | status::kError));
    EXPECT_GE(maxCount, 1);
    EXPECT_TRUE(sawCountdown);
    QString count;
    ASSERT_TRUE(cntl.GetDischargeCount(count));
    EXPECT_EQ(count.trimmed().toInt(), 2);
    const QStringList log = sim->CommandLog();
    EXPECT_TRUE(log.contains(QStringLiteral("PK0")));
    EXPECT_TRUE(log.contains(QStringLiteral("PD100")));
}

TEST_F(RunE2eTest, PauseResumeAndStop) {
    ASSERT_TRUE(cntl.StartTest());
    ASSERT_TRUE(PollUntil(Running));
    ASSERT_TRUE(cntl.StartTest());  // "CA" while running pauses
    ASSERT_TRUE(PollUntil([](quint8 s) { return (s & status::kPaused) != 0; }));
    QString before, after;
    ASSERT_TRUE(cntl.GetDischargeCount(before));
    QThread::msleep(700);  // more than one interval at this time scale
    ASSERT_TRUE(cntl.GetDischargeCount(after));
    EXPECT_EQ(before, after);
    quint8 status = 0;
    ASSERT_TRUE(cntl.GetStatus(status));
    EXPECT_TRUE(status & status::kRunning);

    ASSERT_TRUE(cntl.StartTest());  // and resumes
    ASSERT_TRUE(PollUntil([](quint8 s) { return !(s & status::kPaused); }));
    ASSERT_TRUE(cntl.StopTest());
    ASSERT_TRUE(cntl.GetStatus(status));
    EXPECT_FALSE(status & (status::kRunning | status::kNormalEnd));
}

TEST_F(RunE2eTest, InstrumentErrorIsReadBack) {
    ASSERT_TRUE(cntl.StartTest());
    ASSERT_TRUE(PollUntil(Running));
    sim->RaiseError(1);
    ASSERT_TRUE(PollUntil([](quint8 s) { return (s & status::kError) != 0; }));
    QString message;
    ASSERT_TRUE(cntl.GetErrorMessage(message));
    EXPECT_EQ(message, QStringLiteral("EMERGENCY STOP\nCheck safety."));
    quint8 status = 0;
    ASSERT_TRUE(cntl.GetStatus(status));
    EXPECT_FALSE(status & status::kRunning);
    ASSERT_TRUE(cntl.ClearSettings());
    ASSERT_TRUE(cntl.GetErrorMessage(message));
    EXPECT_TRUE(message.isEmpty());
}

}  // namespace
}  // namespace zeb::test
