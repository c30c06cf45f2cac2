// Test run benchmark: a document's steps run by a run session on its real timers in an event
// loop, against the simulator (a zeb-sim child process, so its work is not counted here) with
// 9600-baud pacing. Prints key=value figures:
//   poll_period_ms    mean time between two run-poll status queries
//   poll_floor_ms     100 ms plus the measured time of one "QB", one "QF" and one "QE" exchange
//   poll_ratio        poll_period_ms / poll_floor_ms (target <= 1.10)
//   run_cpu_per_wall  this process's CPU time over wall time during the run (target <= 0.05)
//   plain_gap_ms      mean time from a step's end (as the run poll sees it) to the next step's
//                     "CA", with no EUT monitor
//   monitor_gap_ms    the same with an EUT monitor that exits at once judging every step
//   monitor_gap_over_ms  their difference (target <= 150)
//   journal           on when the run was journalled to a file as every real run is (default),
//                     off with --no-journal, for comparison
// Options: --time-scale X (default 4) runs the instrument's clock faster; --steps N (default 2).

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "MessageSeam.h"
#include "MonitorGate.h"
#include "ProcessEutMonitor.h"
#include "RunSession.h"
#include "SettingsDoc.h"
#include "TestProperty.h"
#include "TimerHost.h"
#include "ZebM40Cntl.h"

namespace {

constexpr int kFloorSamples = 50;

// Every question answered with OK, and nothing printed: the figures are the only output.
class QuietSink : public zeb::IMessageSink {
public:
    zeb::MsgAnswer Show(const QString& text, zeb::MsgButtons buttons, zeb::MsgIcon) override {
        last = text;
        return buttons == zeb::MsgButtons::YesNoCancel ? zeb::MsgAnswer::Yes : zeb::MsgAnswer::Ok;
    }
    QString last;
};

double ProcessCpuMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
}

zeb::CExecData Step(int32_t volts) {
    zeb::CExecData s;
    s.m_ulMachineType = 5;
    s.m_nOutputPort = zeb::kPortAc;
    s.m_nOutputDetail = 1;
    s.m_nInjRet = 0;
    s.m_lVolt = volts;
    s.m_nPola = 0;
    s.m_lDisc = 3;
    s.m_lRept = 10;
    return s;
}

// Times the step changes of a run: from the step's end to the next step's start ("CA").
class GapClock : public zeb::IRunObserver {
public:
    void OnStepEnded(int, int, qint64) override { m_ended.restart(); }
    void OnStepStarted(int, const QStringList&) override {
        if (m_ended.isValid()) {
            gapsMs.push_back(static_cast<double>(m_ended.nsecsElapsed()) / 1.0e6);
            m_ended.invalidate();
        }
    }
    std::vector<double> gapsMs;

private:
    QElapsedTimer m_ended;
};

// Runs `doc` to its end; with `monitorWords`, an EUT monitor of that command judges every step.
// The mean step-change gap in ms, or a negative number when the run did not complete.
double MeanGapMs(zeb::CZebM40SettingsDoc& doc, zeb::CZebM40Cntl& cntl,
                 const QStringList& monitorWords) {
    QEventLoop loop;
    zeb::RunSessionSettings settings;
    settings.journal = zeb::RunSessionSettings::Journal::None;
    const zeb::CTestProperty property;
    zeb::CRunSession session(doc, cntl, property, settings);
    zeb::CRunSequencer& seq = session.Sequencer();
    session.SetFinishListener([&] { loop.quit(); });
    GapClock gaps;
    seq.SetObserver(&gaps);
    if (!monitorWords.isEmpty()) {
        session.SetMonitor(std::make_unique<zeb::CProcessEutMonitor>(monitorWords, 30000),
                           zeb::MonitorGateOptions());
    }
    doc.SetCurrentStep(0);
    session.Open();
    session.OnTimer(zeb::runtimer::kIdlePoll);
    seq.OnStart();
    if (seq.Phase() == zeb::RunPhase::Running) {
        loop.exec();
    }
    session.Close();
    if (seq.Outcome() != zeb::RunOutcome::Complete || gaps.gapsMs.empty()) {
        return -1.0;
    }
    double sum = 0;
    for (double g : gaps.gapsMs) {
        sum += g;
    }
    return sum / static_cast<double>(gaps.gapsMs.size());
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    double timeScale = 4.0;
    int stepCount = 2;
    QStringList args = QCoreApplication::arguments();
    const bool journalled = !args.removeAll(QStringLiteral("--no-journal"));
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args.at(i) == QLatin1String("--time-scale")) {
            timeScale = args.at(i + 1).toDouble();
        } else if (args.at(i) == QLatin1String("--steps")) {
            stepCount = args.at(i + 1).toInt();
        }
    }
    if (timeScale <= 0 || stepCount < 1) {
        std::fprintf(stderr, "usage: run_bench [--time-scale X] [--steps N] [--no-journal]\n");
        return 2;
    }

    QProcess sim;
    sim.setStandardErrorFile(QProcess::nullDevice());  // its frame log is not wanted here
    sim.start(
        QStringLiteral(ZEB_SIM_PATH),
        {QStringLiteral("--pace"), QStringLiteral("--time-scale"), QString::number(timeScale)});
    if (!sim.waitForStarted() || !sim.waitForReadyRead(5000)) {
        std::fprintf(stderr, "run_bench: the simulator did not start\n");
        return 1;
    }
    const QByteArray device = sim.readLine().trimmed();
    qputenv("ZEB_SERIAL_PORTS", device);

    QuietSink sink;
    zeb::ScopedMessageSink scope(&sink);
    zeb::CZebM40Cntl cntl{zeb::SerialAccess::System()};
    if (!cntl.Connect()) {
        std::fprintf(stderr, "run_bench: no instrument on %s\n", device.constData());
        return 1;
    }

    // The floor: the three exchanges of one run poll, while the instrument is idle.
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < kFloorSamples; ++i) {
        quint8 status = 0;
        QString text;
        cntl.GetStatus(status);
        cntl.GetDischargeCount(text);
        cntl.GetIntervalCount(text);
    }
    const double exchangeMs = static_cast<double>(clock.nsecsElapsed()) / 1.0e6 / kFloorSamples;

    zeb::CZebM40SettingsDoc doc;
    doc.OnNewDocument(5, 1);
    doc.Record().m_outOutput.m_aopOutputPort[zeb::kPortAc].m_nSync = 0;
    doc.Steps().clear();
    for (int i = 0; i < stepCount; ++i) {
        doc.Steps().push_back(Step(1000 + 500 * i));
    }

    QEventLoop loop;
    std::vector<qint64> runPollNs;
    zeb::CRunSession* sessionPtr = nullptr;
    zeb::CQtTimerHost timers([&](int id) {
        if (id == zeb::runtimer::kRunPoll) {
            runPollNs.push_back(clock.nsecsElapsed());
        }
        sessionPtr->OnTimer(id);
    });
    // The journal on this disk, as a real run writes it.
    QTemporaryDir journalDir;
    zeb::RunSessionSettings settings;
    settings.journal = journalled ? zeb::RunSessionSettings::Journal::AtPath
                                  : zeb::RunSessionSettings::Journal::None;
    settings.journalPath = journalDir.filePath(QStringLiteral("run.zebrun"));
    const zeb::CTestProperty property;
    zeb::CRunSession session(doc, cntl, property, settings, &timers);
    sessionPtr = &session;
    zeb::CRunSequencer& seq = session.Sequencer();
    session.SetFinishListener([&] { loop.quit(); });
    QString error;
    QString notice;
    if (!session.OpenJournal(error, notice)) {
        std::fprintf(stderr, "run_bench: no journal: %s\n", error.toLocal8Bit().constData());
        return 1;
    }
    session.Open();
    session.OnTimer(zeb::runtimer::kIdlePoll);
    const double cpu0 = ProcessCpuMs();
    clock.restart();
    seq.OnStart();
    if (seq.Phase() != zeb::RunPhase::Running) {
        std::fprintf(stderr, "run_bench: the test did not start\n");
        return 1;
    }
    loop.exec();
    const double wallMs = static_cast<double>(clock.nsecsElapsed()) / 1.0e6;
    const double cpuMs = ProcessCpuMs() - cpu0;
    session.Close();
    if (seq.Outcome() != zeb::RunOutcome::Complete || runPollNs.size() < 2) {
        std::fprintf(stderr, "run_bench: the run did not complete: %s\n",
                     sink.last.toLocal8Bit().constData());
        return 1;
    }

    // The step changes, without and with a monitor that answers at once: three short steps.
    zeb::CZebM40SettingsDoc gapDoc;
    gapDoc.OnNewDocument(5, 1);
    gapDoc.Record().m_outOutput.m_aopOutputPort[zeb::kPortAc].m_nSync = 0;
    gapDoc.Steps().clear();
    for (int i = 0; i < 3; ++i) {
        gapDoc.Steps().push_back(Step(1000 + 500 * i));
        gapDoc.Steps().back().m_lDisc = 1;
    }
    const double plainGapMs = MeanGapMs(gapDoc, cntl, {});
    const double monitorGapMs = MeanGapMs(gapDoc, cntl, {QStringLiteral("true")});
    sim.closeWriteChannel();
    sim.waitForFinished(2000);
    if (plainGapMs < 0 || monitorGapMs < 0) {
        std::fprintf(stderr, "run_bench: a step-change run did not complete: %s\n",
                     sink.last.toLocal8Bit().constData());
        return 1;
    }
    const double periodMs =
        static_cast<double>(runPollNs.back() - runPollNs.front()) / 1.0e6 / (runPollNs.size() - 1);
    const double floorMs = 100.0 + exchangeMs;
    std::printf("journal=%s\n", journalled ? "on" : "off");
    std::printf("steps=%d\n", stepCount);
    std::printf("run_polls=%zu\n", runPollNs.size());
    std::printf("run_wall_s=%.2f\n", wallMs / 1000.0);
    std::printf("poll_period_ms=%.2f\n", periodMs);
    std::printf("poll_floor_ms=%.2f\n", floorMs);
    std::printf("poll_ratio=%.3f\n", periodMs / floorMs);
    std::printf("run_cpu_per_wall=%.4f\n", cpuMs / wallMs);
    std::printf("plain_gap_ms=%.1f\n", plainGapMs);
    std::printf("monitor_gap_ms=%.1f\n", monitorGapMs);
    std::printf("monitor_gap_over_ms=%.1f\n", monitorGapMs - plainGapMs);
    return 0;
}
