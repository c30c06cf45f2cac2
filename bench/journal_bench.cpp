// Run journal benchmark. Prints key=value figures:
//   event_write_ms_median  one event written and made durable (write + fdatasync) on this disk
//   event_write_ms_p99     the same, 99th percentile (target <= 20)
//   recover_1000_ms        reading, checking and replaying the journal of a 1000-step run
//                          (target <= 200)
//   report_from_journal_ms the test report rebuilt from that journal and written as .xlsx
//   poll_ratio             run_bench's poll_ratio with the journal on (target <= 1.10), when
//                          run_bench was built alongside
// The files go to a temporary folder in the current folder (or in the folder given as the only
// argument), so the figures are those of that disk, not of a memory file system. With
// JOURNAL_BENCH_KEEP set, the folder is kept (and named on standard error) for inspection.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "FileRunJournal.h"
#include "JournalRecovery.h"
#include "JournalReport.h"
#include "TestPropertyJson.h"

namespace {

constexpr int kWrites = 300;
constexpr int kSteps = 1000;

double Percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    const size_t index = std::min(values.size() - 1, static_cast<size_t>(p * values.size()));
    return values[index];
}

zeb::CZebM40SettingsDoc BigDocument() {
    zeb::CZebM40SettingsDoc doc;
    doc.OnNewDocument(5, 0);
    zeb::CExecData step = doc.Record().TemplateStep();
    doc.Steps().clear();
    for (int i = 0; i < kSteps; ++i) {
        step.m_lVolt = 500 + 100 * (i % 40);
        step.m_nPola = i % 2;
        doc.Steps().push_back(step);
    }
    doc.SetPathName(QStringLiteral("/lab/bench.zms"));
    return doc;
}

zeb::JournalOpenInfo OpenInfo(const zeb::CZebM40SettingsDoc& doc) {
    zeb::JournalOpenInfo info = zeb::OpenInfoForDocument(doc, "bench document");
    zeb::CTestProperty property;
    property.m_strCompanyName = QStringLiteral("Bench Labs");
    property.m_tmTestDate = 1700000000;
    info.environment = zeb::TestPropertyToJson(property);
    info.instrumentReply = QStringLiteral("ZEB-M40 V1.0");
    info.port = QStringLiteral("COM1");
    return info;
}

// The events of one step as a run writes them.
bool WriteStep(zeb::IRunJournal& journal, int step) {
    const QStringList block{"SO1", "SD0", "SL2", "SC0", "SW0", "SV1500", "SP0", "SN5", "SR10"};
    return journal.StepStart(step, block) && journal.StepEnd(step, zeb::kResultNone, 5) &&
           journal.Judgement(step, step % 7 == 0 ? zeb::kResultFail : zeb::kResultPass,
                             step % 7 == 0 ? QStringLiteral("EUT restarted") : QString(),
                             zeb::JudgedBy::Operator);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString base = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QTemporaryDir dir(base + QStringLiteral("/journal_bench-XXXXXX"));
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary folder in %s\n", qPrintable(base));
        return 1;
    }
    if (qEnvironmentVariableIsSet("JOURNAL_BENCH_KEEP")) {
        dir.setAutoRemove(false);
        std::fprintf(stderr, "files kept in %s\n", qPrintable(dir.path()));
    }
    const zeb::CZebM40SettingsDoc doc = BigDocument();
    const zeb::JournalOpenInfo info = OpenInfo(doc);
    QString error;

    // Durable writes of single events, as a run makes them.
    zeb::CFileRunJournal writes;
    if (!writes.Create(dir.filePath("writes.zebrun"), error) || !writes.Open(info)) {
        std::fprintf(stderr, "%s%s\n", qPrintable(error), qPrintable(writes.LastError()));
        return 1;
    }
    std::vector<double> times;
    for (int i = 0; i < kWrites; ++i) {
        QElapsedTimer timer;
        timer.start();
        if (!writes.StepEnd(i % kSteps + 1, zeb::kResultPass, 5)) {
            std::fprintf(stderr, "%s\n", qPrintable(writes.LastError()));
            return 1;
        }
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }

    // The journal of a whole 1000-step run.
    const QString runPath = dir.filePath("run.zebrun");
    {
        zeb::CMemoryRunJournal memory;
        memory.Open(info);
        for (int step = 1; step <= kSteps; ++step) {
            WriteStep(memory, step);
        }
        memory.Close(zeb::RunEnd::Complete);
        QFile file(runPath);
        if (!file.open(QIODevice::WriteOnly) || file.write(memory.Bytes()) < 0) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(runPath));
            return 1;
        }
    }
    QElapsedTimer recoverTimer;
    recoverTimer.start();
    zeb::JournalState state;
    if (!zeb::ReadJournalState(runPath, state, error) || state.stepCount != kSteps) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const qint64 recoverMs = recoverTimer.elapsed();

    QElapsedTimer reportTimer;
    reportTimer.start();
    if (!zeb::WriteReportFromJournal(runPath, dir.filePath("run.xlsx"), error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const qint64 reportMs = reportTimer.elapsed();

    std::printf(
        "event_write_ms_median=%.3f\nevent_write_ms_p99=%.3f\nrecover_1000_ms=%lld\n"
        "report_from_journal_ms=%lld\n",
        Percentile(times, 0.5), Percentile(times, 0.99), static_cast<long long>(recoverMs),
        static_cast<long long>(reportMs));
#ifdef ZEB_RUN_BENCH_PATH
    // The run journal stays out of the poll path: the run benchmark, journalled, tells.
    QProcess runBench;
    runBench.start(QStringLiteral(ZEB_RUN_BENCH_PATH), QStringList{});
    if (!runBench.waitForFinished(120000) || runBench.exitCode() != 0) {
        std::fprintf(stderr, "run_bench failed: %s\n", runBench.readAllStandardError().constData());
        return 1;
    }
    for (const QByteArray& line : runBench.readAllStandardOutput().split('\n')) {
        if (line.startsWith("poll_ratio=")) {
            std::printf("%s\n", line.constData());
        }
    }
#endif
    return 0;
}
