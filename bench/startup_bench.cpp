// Start-up benchmark: starts the real program, `zeb --simulate`, offscreen and measures it up to
// the moment its main window with the first document has been drawn (the program reports that
// moment on standard output when ZEB_REPORT_SHOWN is set). Prints key=value figures:
//   startup_ms       process start to the main window shown, median of the runs (the opening
//                    dialog alone holds 2000 ms; target <= 2500)
//   startup_ms_max   the slowest run
//   startup_rss_mb   resident memory of the program at that moment, largest of the runs
//                    (target <= 120)
// Options: --runs N (default 5). Each run gets a fresh HOME, configuration and lock folder, and
// the program is ended once measured.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kShownTimeoutMs = 30000;

// Resident set size of a process in MB from /proc/<pid>/status, or -1.
double ResidentMb(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1.0;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            // "VmRSS:	   84212 kB"
            const QByteArray kb = line.mid(6).trimmed().split(' ').value(0);
            return kb.toDouble() / 1024.0;
        }
    }
    return -1.0;
}

struct Sample {
    qint64 ms = -1;
    double rssMb = -1.0;
};

// One start of the program; false when it did not report its window in time.
bool MeasureOnce(Sample& sample) {
    QTemporaryDir home;
    if (!home.isValid()) {
        return false;
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("ZEB_REPORT_SHOWN"), QStringLiteral("1"));
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("TMPDIR"), home.path());  // the single-instance lock
    env.remove(QStringLiteral("ZEB_SERIAL_PORTS"));

    QProcess zeb;
    zeb.setProcessEnvironment(env);
    zeb.setProcessChannelMode(QProcess::SeparateChannels);
    QElapsedTimer clock;
    clock.start();
    zeb.start(QStringLiteral(ZEB_PATH), {QStringLiteral("--simulate")});
    if (!zeb.waitForStarted(kShownTimeoutMs)) {
        std::fprintf(stderr, "startup_bench: %s could not be started\n", ZEB_PATH);
        return false;
    }
    bool shown = false;
    while (!shown && clock.elapsed() < kShownTimeoutMs && zeb.state() == QProcess::Running) {
        if (zeb.canReadLine() || zeb.waitForReadyRead(50)) {
            while (zeb.canReadLine()) {
                if (zeb.readLine().startsWith("zeb: shown")) {
                    shown = true;
                }
            }
        }
    }
    if (shown) {
        sample.ms = clock.elapsed();
        sample.rssMb = ResidentMb(zeb.processId());
    } else {
        std::fprintf(stderr, "startup_bench: no window reported; stderr:\n%s\n",
                     zeb.readAllStandardError().constData());
    }
    zeb.terminate();
    if (!zeb.waitForFinished(5000)) {
        zeb.kill();
        zeb.waitForFinished(5000);
    }
    return shown;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    int runs = 5;
    const QStringList args = QCoreApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QStringLiteral("--runs") && i + 1 < args.size()) {
            runs = std::max(1, args[++i].toInt());
        } else {
            std::fprintf(stderr, "usage: startup_bench [--runs N]\n");
            return 2;
        }
    }

    std::vector<qint64> ms;
    double rssMb = 0.0;
    for (int r = 0; r < runs; ++r) {
        Sample s;
        if (!MeasureOnce(s)) {
            return 1;
        }
        ms.push_back(s.ms);
        rssMb = std::max(rssMb, s.rssMb);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("runs=%d\n", runs);
    std::printf("startup_ms=%lld\n", static_cast<long long>(ms[ms.size() / 2]));
    std::printf("startup_ms_max=%lld\n", static_cast<long long>(ms.back()));
    std::printf("startup_rss_mb=%.1f\n", rssMb);
    return 0;
}
