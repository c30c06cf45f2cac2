// zebctl run killed without warning (SIGKILL) at seeded random moments, inside steps and
// between them, against the simulator running fast. After every kill the journal must still
// verify, hold every result zebctl had already printed, and let a resumed run finish with the
// results of a run that was never interrupted.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <random>
#include <set>
#include <utility>

#include "ExecData.h"
#include "JournalLine.h"
#include "JournalRecovery.h"
#include "SimFixture.h"
#include "TempConfigHome.h"

namespace zeb::test {
namespace {

// Three AC steps of two discharges 10 s apart (a quarter second at the time scale used).
const char kThreeSteps[] = R"({"record": {"m_ulMachineType": 5, "m_nHWVersion": 1},
 "steps": [
  {"m_ulMachineType": 5, "m_nOutputDetail": 1, "m_nInjRet": 0, "m_lVolt": 1000, "m_nPola": 0,
   "m_lDisc": 2, "m_lRept": 10},
  {"m_ulMachineType": 5, "m_nOutputDetail": 1, "m_nInjRet": 0, "m_lVolt": 2000, "m_nPola": 1,
   "m_lDisc": 2, "m_lRept": 10},
  {"m_ulMachineType": 5, "m_nOutputDetail": 1, "m_nInjRet": 0, "m_lVolt": 1500, "m_nPola": 0,
   "m_lDisc": 2, "m_lRept": 10}]})";

constexpr int kKills = 20;

class JournalCrashE2eTest : public SimFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        zebsim::SimOptions options;
        options.timeScale = 40.0;
        AddSim(options);
        doc = dir.filePath(QStringLiteral("three.json"));
        QFile f(doc);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(kThreeSteps);
    }

    void Start(QProcess& proc, const QStringList& args) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.Path());
        proc.setProcessEnvironment(env);
        proc.start(QStringLiteral(ZEBCTL_PATH), QStringList{QStringLiteral("run"), doc} + args);
        ASSERT_TRUE(proc.waitForStarted());
    }
    // Runs zebctl to its end; the exit code, or -1 when it hung.
    int RunToEnd(const QStringList& args, QString& out) {
        QProcess proc;
        Start(proc, args);
        if (!proc.waitForFinished(30000)) {
            proc.kill();
            proc.waitForFinished();
            return -1;
        }
        out = QString::fromUtf8(proc.readAllStandardOutput());
        return proc.exitCode();
    }
    // Starts zebctl, waits until its journal exists (the "journal=" line), lets it run for
    // afterMs and kills it. What it printed by then comes back.
    QString KillAfter(const QStringList& args, int afterMs) {
        QProcess proc;
        Start(proc, args);
        QString out;
        QElapsedTimer clock;
        clock.start();
        while (!out.contains(QStringLiteral("journal=")) && clock.elapsed() < 15000 &&
               proc.state() == QProcess::Running) {
            proc.waitForReadyRead(20);
            out += QString::fromUtf8(proc.readAllStandardOutput());
        }
        clock.restart();
        while (clock.elapsed() < afterMs && proc.state() == QProcess::Running) {
            proc.waitForReadyRead(std::max<qint64>(1, afterMs - clock.elapsed()));
            out += QString::fromUtf8(proc.readAllStandardOutput());
        }
        proc.kill();  // SIGKILL: no handler, no close line
        proc.waitForFinished();
        return out + QString::fromUtf8(proc.readAllStandardOutput());
    }

    TempConfigHome config;
    QTemporaryDir dir;
    QString doc;
};

// The (step, result) pairs zebctl printed as "mark" lines.
std::set<std::pair<int, QString>> Marks(const QString& out) {
    static const QRegularExpression mark(QStringLiteral("^mark step=(\\d+) result=(\\S+)$"),
                                         QRegularExpression::MultilineOption);
    std::set<std::pair<int, QString>> marks;
    for (auto it = mark.globalMatch(out); it.hasNext();) {
        const auto m = it.next();
        const QString text = m.captured(2);
        const int result = text == QLatin1String("PASS")   ? kResultPass
                           : text == QLatin1String("FAIL") ? kResultFail
                                                           : kResultNone;
        marks.emplace(m.captured(1).toInt(), JournalResultText(result));
    }
    return marks;
}

// The (step, result) pairs the journal recorded, from judgements and step ends; insideStep
// tells whether its last step event was a start.
std::set<std::pair<int, QString>> Recorded(const QString& path, JournalCheck& check,
                                           bool& insideStep) {
    std::set<std::pair<int, QString>> recorded;
    insideStep = false;
    check = ReadJournalFile(path, [&](const JournalEntry& e) {
        if (e.event == QLatin1String("step-start") || e.event == QLatin1String("step-end")) {
            insideStep = e.event == QLatin1String("step-start");
        }
        if (e.event == QLatin1String("judgement") || e.event == QLatin1String("step-end")) {
            recorded.emplace(e.line.value(QLatin1String("step")).toInt(),
                             e.line.value(QLatin1String("result")).toString());
        }
    });
    return recorded;
}

TEST_F(JournalCrashE2eTest, KilledRunsVerifyKeepTheirMarksAndResumeToTheSameResults) {
    // The uninterrupted run: its results, and how long it takes.
    QString out;
    const QString whole = dir.filePath(QStringLiteral("whole.zebrun"));
    QElapsedTimer clock;
    clock.start();
    ASSERT_EQ(RunToEnd({QStringLiteral("--journal"), whole}, out), 0) << out.toStdString();
    const int runMs = static_cast<int>(clock.elapsed());
    JournalState reference;
    QString error;
    ASSERT_TRUE(ReadJournalState(whole, reference, error)) << error.toStdString();
    ASSERT_EQ(reference.outcome, QStringLiteral("complete"));

    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> moment(0, runMs);
    int killedInsideStep = 0;  // the others fell before, between or after the steps
    for (int i = 0; i < kKills; ++i) {
        SCOPED_TRACE(i);
        const QString killed = dir.filePath(QStringLiteral("killed%1.zebrun").arg(i));
        const QString printed = KillAfter({QStringLiteral("--journal"), killed}, moment(random));

        JournalCheck check;
        bool insideStep = false;
        const auto recorded = Recorded(killed, check, insideStep);
        ASSERT_TRUE(check.IsWhole()) << check.Describe().toStdString();
        for (const auto& m : Marks(printed)) {
            EXPECT_EQ(recorded.count(m), 1u)
                << "step " << m.first << " " << m.second.toStdString() << " not journalled";
        }
        JournalState state;
        ASSERT_TRUE(ReadJournalState(killed, state, error)) << error.toStdString();
        killedInsideStep += insideStep ? 1 : 0;

        const QString resumed = dir.filePath(QStringLiteral("resumed%1.zebrun").arg(i));
        ASSERT_EQ(
            RunToEnd({QStringLiteral("--resume"), killed, QStringLiteral("--journal"), resumed},
                     out),
            0)
            << out.toStdString();
        EXPECT_TRUE(out.contains(QStringLiteral("passed=3/3"))) << out.toStdString();
        JournalState final;
        ASSERT_TRUE(ReadJournalState(resumed, final, error)) << error.toStdString();
        EXPECT_EQ(final.outcome, QStringLiteral("complete"));
        EXPECT_EQ(final.results, reference.results);
        EXPECT_EQ(final.open.value(QLatin1String("resumes")).toString().isEmpty(), false);
    }
    EXPECT_GT(killedInsideStep, 0);
}

}  // namespace
}  // namespace zeb::test
