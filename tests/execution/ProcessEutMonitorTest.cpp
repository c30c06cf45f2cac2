// The monitor command run as a real process: verdicts from exit statuses, the reason line, the
// time limit, crashes, commands that cannot start, where a bare program name is found, the
// step's environment, and that nothing is left running afterwards nor waited for.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

#include <errno.h>
#include <signal.h>

#include "ExecData.h"
#include "ProcessEutMonitor.h"
#include "ProcessReaper.h"
#include "SettingData.h"

namespace zeb {
namespace {

constexpr int kWaitMs = 15000;

class ProcessEutMonitorTest : public ::testing::Test {
protected:
    // Writes an executable shell script and returns its path.
    QString Script(const QString& name, const QByteArray& body) {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\n" + body + "\n");
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }

    // Runs one check and waits for its verdict from the event loop.
    std::optional<MonitorVerdict> Check(CProcessEutMonitor& monitor,
                                        MonitorRequest request = MonitorRequest()) {
        std::optional<MonitorVerdict> got;
        monitor.SetVerdictListener([&got](const MonitorVerdict& v) { got = v; });
        EXPECT_TRUE(monitor.Start(request));
        // Never answered from inside Start, even when the command cannot start at all.
        EXPECT_FALSE(got.has_value());
        EXPECT_TRUE(monitor.Busy());
        EXPECT_TRUE(QTest::qWaitFor([&got] { return got.has_value(); }, kWaitMs));
        EXPECT_FALSE(monitor.Busy());
        return got;
    }

    std::optional<MonitorVerdict> RunScript(const QByteArray& body, int limitMs = kWaitMs) {
        CProcessEutMonitor monitor({Script(QStringLiteral("m.sh"), body)}, limitMs);
        return Check(monitor, InDir(MonitorRequest()));
    }

    // The request with a document in the temporary folder, so the command runs there.
    MonitorRequest InDir(MonitorRequest r) {
        r.documentPath = dir.filePath(QStringLiteral("doc.zms"));
        return r;
    }

    qint64 ReadPid(const QString& name) { return ReadText(name).trimmed().toLongLong(); }
    QString ReadText(const QString& path) {
        QFile f(QDir(dir.path()).filePath(path));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

    QTemporaryDir dir;
};

// Gone, or at least dead and only waiting for its new parent to reap it.
bool ProcessEnded(qint64 pid) {
    if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
        return true;
    }
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    return stat.open(QIODevice::ReadOnly) && stat.readAll().contains(") Z ");
}

TEST_F(ProcessEutMonitorTest, ExitStatusesBecomeVerdictsOrProblems) {
    const struct {
        const char* body;
        MonitorOutcome outcome;
        int status;
        const char* comment;
    } cases[] = {
        {"exit 0", MonitorOutcome::Pass, 0, ""},
        {R"(printf '  display   dark \t\r\nsecond line\n'; exit 1)", MonitorOutcome::Fail, 1,
         "monitor: display   dark"},
        {"exit 1", MonitorOutcome::Fail, 1, "monitor: no reason given"},
        {"echo 'usage: m.sh HOST' >&2; exit 2", MonitorOutcome::Problem, 2,
         "monitor: exit status 2 is not a verdict: usage: m.sh HOST"},
        {"exit 255", MonitorOutcome::Problem, 255, "monitor: exit status 255 is not a verdict"},
        {"kill -SEGV $$", MonitorOutcome::Problem, -1, "monitor: crashed (signal 11)"},
    };
    for (const auto& c : cases) {
        const std::optional<MonitorVerdict> v = RunScript(c.body);
        ASSERT_TRUE(v.has_value()) << c.body;
        EXPECT_EQ(v->outcome, c.outcome) << c.body;
        EXPECT_EQ(v->exitStatus, c.status) << c.body;
        EXPECT_EQ(v->comment, QString::fromUtf8(c.comment)) << c.body;
        EXPECT_EQ(v->IsVerdict(), c.outcome != MonitorOutcome::Problem) << c.body;
        EXPECT_GE(v->durationMs, 0);
    }
}

TEST_F(ProcessEutMonitorTest, ReadsAllOutputButKeepsOnlyItsStart) {
    // Far more than a pipe holds: a runner that stopped reading would hang the command.
    const std::optional<MonitorVerdict> v = RunScript(
        "head -c 300000 /dev/zero | tr '\\0' y; echo; head -c 5000 /dev/zero >&2; exit 1");
    ASSERT_TRUE(v.has_value());
    EXPECT_EQ(v->outcome, MonitorOutcome::Fail);
    EXPECT_EQ(v->output, QByteArray(1024, 'y'));
    EXPECT_EQ(v->errorOutput.size(), 1024);
    // The reason is the first line cut to 255 characters; the comment is cut after the reason.
    EXPECT_EQ(v->comment, QStringLiteral("monitor: ") + QString(255, QLatin1Char('y')));
}

TEST(MonitorReasonTest, FirstLineIsCleanedAndCutWithoutSplittingACharacter) {
    EXPECT_EQ(FirstOutputLine("a\tb\x01 c \r\nnext"), QStringLiteral("a b  c"));
    EXPECT_EQ(FirstOutputLine("\n\nlater"), QString());
    EXPECT_EQ(FirstOutputLine(QByteArray(300, 'x')), QString(255, QLatin1Char('x')));
    // A character outside the basic plane straddling the cut is left out whole.
    const QByteArray astral = QByteArray(254, 'a') + "\xF0\x9F\x94\xA5" + "tail";
    EXPECT_EQ(FirstOutputLine(astral), QString(254, QLatin1Char('a')));
    // Bytes that are not UTF-8 do not stop the reason from being shown.
    EXPECT_TRUE(FirstOutputLine("bad \xFF\xFE byte").startsWith(QStringLiteral("bad ")));
}

TEST_F(ProcessEutMonitorTest, TimeLimitKillsTheCommandAndWhatItStarted) {
    const std::optional<MonitorVerdict> v =
        RunScript("echo $$ > self.pid; sleep 30 & echo $! > child.pid; echo started; wait", 1000);
    ASSERT_TRUE(v.has_value());
    EXPECT_EQ(v->outcome, MonitorOutcome::Problem);
    EXPECT_EQ(v->comment, QStringLiteral("monitor: no answer within 1 s, stopped"));
    EXPECT_EQ(v->exitStatus, -1);
    EXPECT_GE(v->durationMs, 1000);
    EXPECT_LT(v->durationMs, 5000);
    EXPECT_EQ(v->output, QByteArray("started\n"));
    // The command itself was reaped (no zombie); the sleep it started was killed with it.
    const qint64 self = ReadPid(QStringLiteral("self.pid"));
    const qint64 child = ReadPid(QStringLiteral("child.pid"));
    ASSERT_GT(self, 0);
    ASSERT_GT(child, 0);
    EXPECT_EQ(::kill(static_cast<pid_t>(self), 0), -1);
    EXPECT_TRUE(QTest::qWaitFor([child] { return ProcessEnded(child); }, 3000));
}

TEST_F(ProcessEutMonitorTest, ACommandThatCannotStartIsAProblemNamingIt) {
    const QString missing = dir.filePath(QStringLiteral("no-such-monitor"));
    const QString notExecutable = dir.filePath(QStringLiteral("plain.txt"));
    QFile f(notExecutable);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    for (const QString& program :
         {missing, notExecutable, QStringLiteral("zeb-no-such-program-on-path")}) {
        CProcessEutMonitor monitor({program, QStringLiteral("arg")}, kWaitMs);
        const std::optional<MonitorVerdict> v = Check(monitor);
        ASSERT_TRUE(v.has_value()) << program.toStdString();
        EXPECT_EQ(v->outcome, MonitorOutcome::Problem);
        EXPECT_TRUE(
            v->comment.startsWith(QStringLiteral("monitor: cannot start \"%1\": ").arg(program)))
            << v->comment.toStdString();
    }
}

TEST_F(ProcessEutMonitorTest, CommandSeesTheStepInItsEnvironmentAndRunsBesideTheDocument) {
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("lab/docs")));
    const QString folder = dir.filePath(QStringLiteral("lab/docs"));
    const QString script = Script(QStringLiteral("env.sh"),
                                  "env | grep '^ZEB_' | sort > env.txt\n"
                                  "pwd > pwd.txt\n"
                                  // Standard input must give nothing: no pipe left open.
                                  "if IFS= read -r line; then exit 1; fi\n"
                                  "exit 0");
    MonitorRequest r;
    r.step = 3;
    r.steps = 12;
    r.port = QStringLiteral("AC LINE OUTPUT");
    r.lines = QStringLiteral("L1 - PE");
    r.voltageV = 2000;
    r.polarity = QStringLiteral("-");
    r.discharges = 5;
    r.phase = MonitorPhase::During;
    r.documentPath = folder + QStringLiteral("/mains test.zms");
    CProcessEutMonitor monitor({script}, 5000);
    const std::optional<MonitorVerdict> v = Check(monitor, r);
    ASSERT_TRUE(v.has_value());
    EXPECT_EQ(v->outcome, MonitorOutcome::Pass) << v->comment.toStdString();
    EXPECT_EQ(v->request.step, 3);
    EXPECT_EQ(v->request.phase, MonitorPhase::During);

    const QString expected = QStringLiteral(
                                 "ZEB_ANGLE_DEG=\n"
                                 "ZEB_DISCHARGES=5\n"
                                 "ZEB_DOCUMENT=%1\n"
                                 "ZEB_LINES=L1 - PE\n"
                                 "ZEB_PHASE=during\n"
                                 "ZEB_POLARITY=-\n"
                                 "ZEB_PORT=AC LINE OUTPUT\n"
                                 "ZEB_STEP=3\n"
                                 "ZEB_STEPS=12\n"
                                 "ZEB_VOLTAGE_V=2000\n")
                                 .arg(r.documentPath);
    EXPECT_EQ(ReadText(QStringLiteral("lab/docs/env.txt")), expected);
    EXPECT_EQ(QFileInfo(ReadText(QStringLiteral("lab/docs/pwd.txt")).trimmed()).canonicalFilePath(),
              QFileInfo(folder).canonicalFilePath());
}

TEST_F(ProcessEutMonitorTest, OneCheckAtATimeSkippedDuringChecksAreCountedCancelDropsTheCheck) {
    const QString script = Script(QStringLiteral("slow.sh"),
                                  "[ \"$ZEB_PHASE\" = after ] || exit 0\n"
                                  "echo $$ > slow.pid\n"
                                  "exec sleep 30");
    CProcessEutMonitor monitor({script}, kWaitMs);
    int verdicts = 0;
    monitor.SetVerdictListener([&verdicts](const MonitorVerdict&) { ++verdicts; });
    MonitorRequest after = InDir(MonitorRequest());
    after.phase = MonitorPhase::After;
    MonitorRequest during = after;
    during.phase = MonitorPhase::During;

    ASSERT_TRUE(monitor.Start(after));
    EXPECT_FALSE(monitor.Start(during));
    EXPECT_FALSE(monitor.Start(during));
    EXPECT_FALSE(monitor.Start(after));  // not a skipped check: the caller waits for the first
    EXPECT_EQ(monitor.SkippedChecks(), 2);
    ASSERT_TRUE(QTest::qWaitFor([this] { return ReadPid(QStringLiteral("slow.pid")) > 0; }, 5000));

    monitor.Cancel();
    EXPECT_FALSE(monitor.Busy());
    const pid_t slow = static_cast<pid_t>(ReadPid(QStringLiteral("slow.pid")));
    EXPECT_TRUE(QTest::qWaitFor([slow] { return ::kill(slow, 0) == -1; }, 3000));
    QTest::qWait(200);
    EXPECT_EQ(verdicts, 0);

    // The next check runs normally, and a verdict listener may start the one after it.
    std::optional<MonitorVerdict> last;
    monitor.SetVerdictListener([&](const MonitorVerdict& v) {
        if (++verdicts == 1) {
            EXPECT_TRUE(monitor.Start(during));
        } else {
            last = v;
        }
    });
    ASSERT_TRUE(monitor.Start(during));
    ASSERT_TRUE(QTest::qWaitFor([&last] { return last.has_value(); }, kWaitMs));
    EXPECT_EQ(verdicts, 2);
    EXPECT_EQ(last->outcome, MonitorOutcome::Pass);
    monitor.ResetSkippedChecks();
    EXPECT_EQ(monitor.SkippedChecks(), 0);
}

TEST_F(ProcessEutMonitorTest, ABareNameRunsTheProgramFoundAndTheVerdictNamesIt) {
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("lab")));
    const QString lab = Script(QStringLiteral("lab/eut-check"), "exit 1");
    MonitorPlaces places;
    places.labFolder = dir.filePath(QStringLiteral("lab"));
    places.shippedFolder = dir.filePath(QStringLiteral("shipped"));
    CProcessEutMonitor monitor({QStringLiteral("eut-check")}, kWaitMs);
    monitor.SetSearchPlaces(places);
    std::optional<MonitorVerdict> v = Check(monitor);
    ASSERT_TRUE(v.has_value());
    EXPECT_EQ(v->outcome, MonitorOutcome::Fail);
    EXPECT_EQ(v->program, lab);

    // A copy beside the document comes first.
    const QString own = Script(QStringLiteral("eut-check"), "exit 0");
    v = Check(monitor, InDir(MonitorRequest()));
    ASSERT_TRUE(v.has_value());
    EXPECT_EQ(v->outcome, MonitorOutcome::Pass);
    EXPECT_EQ(v->program, own);

    CProcessEutMonitor missing({QStringLiteral("no-such-check")}, kWaitMs);
    missing.SetSearchPlaces(places);
    v = Check(missing);
    ASSERT_TRUE(v.has_value());
    EXPECT_EQ(v->outcome, MonitorOutcome::Problem);
    EXPECT_TRUE(v->program.isEmpty());
    EXPECT_TRUE(v->comment.startsWith(QStringLiteral(
        "monitor: cannot start \"no-such-check\": no program \"no-such-check\" in ")))
        << v->comment.toStdString();
    EXPECT_TRUE(v->comment.contains(places.labFolder));
}

TEST_F(ProcessEutMonitorTest, CancelNeverWaitsForTheCommandYetLeavesNothingBehind) {
    // Deaf to a polite stop, with a child of its own: the hardest command to end.
    const QString script = Script(QStringLiteral("deaf.sh"),
                                  "trap '' TERM INT HUP\n"
                                  "echo $$ > deaf.pid\n"
                                  "sleep 30 & echo $! > child.pid\n"
                                  "wait");
    for (int round = 0; round < 3; ++round) {
        QFile::remove(dir.filePath(QStringLiteral("deaf.pid")));
        auto monitor = std::make_unique<CProcessEutMonitor>(QStringList{script}, kWaitMs);
        int verdicts = 0;
        monitor->SetVerdictListener([&verdicts](const MonitorVerdict&) { ++verdicts; });
        ASSERT_TRUE(monitor->Start(InDir(MonitorRequest())));
        ASSERT_TRUE(
            QTest::qWaitFor([this] { return ReadPid(QStringLiteral("child.pid")) > 0; }, 5000));
        const qint64 self = ReadPid(QStringLiteral("deaf.pid"));
        const qint64 child = ReadPid(QStringLiteral("child.pid"));
        ASSERT_GT(self, 0);

        QElapsedTimer clock;
        clock.start();
        // Cancelled in the first round, let go with the monitor in the others.
        if (round == 0) {
            monitor->Cancel();
            EXPECT_FALSE(monitor->Busy());
        } else {
            monitor.reset();
        }
        // Returned before the command could even be reaped: nobody waited for it.
        EXPECT_LT(clock.elapsed(), 100);
        ASSERT_NE(CProcessReaper::Instance(), nullptr);
        EXPECT_EQ(CProcessReaper::Instance()->Pending(), 1);

        // Once the event loop has run, the command is reaped (not even a zombie) and its
        // child is killed.
        EXPECT_TRUE(
            QTest::qWaitFor([] { return CProcessReaper::Instance()->Pending() == 0; }, 5000));
        EXPECT_TRUE(QTest::qWaitFor(
            [self] { return ::kill(static_cast<pid_t>(self), 0) == -1 && errno == ESRCH; }, 3000));
        EXPECT_TRUE(QTest::qWaitFor([child] { return ProcessEnded(child); }, 3000));
        EXPECT_EQ(verdicts, 0);
        QFile::remove(dir.filePath(QStringLiteral("child.pid")));
    }
}

TEST(MakeEutMonitorTest, BuildsFromTheSettingsOrSaysWhyNot) {
    EutMonitorSettings s;
    QString error;
    EXPECT_EQ(MakeEutMonitor(s, &error), nullptr);
    EXPECT_EQ(error, QStringLiteral("No monitor command is set."));
    s.command = QStringLiteral("check 'unclosed");
    EXPECT_EQ(MakeEutMonitor(s, &error), nullptr);
    EXPECT_EQ(error, QStringLiteral("A single quote (') is not closed."));
    s.command = QStringLiteral("'' arg");
    EXPECT_EQ(MakeEutMonitor(s, &error), nullptr);

    s.command = QStringLiteral("tcp-port 'eut 1' 502");
    s.timeLimitS = 9999;
    const std::unique_ptr<CProcessEutMonitor> m = MakeEutMonitor(s, &error);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->Words(), QStringList({QStringLiteral("tcp-port"), QStringLiteral("eut 1"),
                                       QStringLiteral("502")}));
    EXPECT_EQ(m->TimeLimitMs(), 600 * 1000);
}

TEST(MonitorRequestTest, TakesTheStepsDisplayTexts) {
    CExecData step;
    step.m_ulMachineType = 5;
    step.m_nOutputPort = kPortAc;
    step.m_nOutputDetail = 1;
    step.m_nInjRet = 0;
    step.m_lVolt = 1500;
    step.m_nPola = 1;
    step.m_lDisc = 7;
    step.m_nSync = 1;
    step.m_lAngle = 90;
    const MonitorRequest r =
        MonitorRequestForStep(step, 4, 20, MonitorPhase::After, QStringLiteral("/tmp/a.zms"));
    CExecData copy = step;
    EXPECT_EQ(r.step, 5);
    EXPECT_EQ(r.steps, 20);
    EXPECT_EQ(r.port, copy.GetItemText(1));
    EXPECT_EQ(r.lines, copy.GetItemText(3));
    EXPECT_FALSE(r.lines.isEmpty());
    EXPECT_EQ(r.voltageV, 1500);
    EXPECT_EQ(r.polarity, QStringLiteral("-"));
    EXPECT_EQ(r.angleDeg, QStringLiteral("90"));
    EXPECT_EQ(r.discharges, 7);
    EXPECT_EQ(PhaseName(r.phase), QStringLiteral("after"));

    step.m_nSync = 0;  // discharges at any moment: no angle
    EXPECT_EQ(MonitorRequestForStep(step, 0, 1, MonitorPhase::During, QString()).angleDeg,
              QString());
}

}  // namespace
}  // namespace zeb
