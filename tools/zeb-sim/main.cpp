// zeb-sim: the surge generator simulator on a pseudo-terminal, for training, demonstrations and
// scripted tests without hardware. The first line on standard output is the device path alone;
// after that the simulator serves until standard input closes. Lines on standard input inject
// faults (type "help"); every command received is logged to standard error.

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

#include "PtySimulator.h"

namespace {

// The device path is a link in a folder of the simulator's own. Ended by a signal (Ctrl-C, a
// script's kill), the simulator still takes both away, with calls safe in a signal handler.
char g_link[4096];
char g_folder[4096];

void RemoveLinkAndExit(int sig) {
    ::unlink(g_link);
    ::rmdir(g_folder);
    ::_exit(128 + sig);
}

void RemoveLinkOnSignals(const QString& devicePath) {
    const QByteArray link = devicePath.toLocal8Bit();
    const int slash = link.lastIndexOf('/');
    if (link.size() >= static_cast<int>(sizeof g_link) || slash <= 0) {
        return;
    }
    std::memcpy(g_link, link.constData(), static_cast<size_t>(link.size()) + 1);
    std::memcpy(g_folder, link.constData(), static_cast<size_t>(slash));
    g_folder[slash] = '\0';
    struct sigaction action {};
    action.sa_handler = RemoveLinkAndExit;
    sigemptyset(&action.sa_mask);
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
        sigaction(sig, &action, nullptr);
    }
}

void Err(const QString& line) {
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
}

const char* const kUsage =
    "usage: zeb-sim [--identity first|later|m50|unknown] [--ident-text TEXT]\n"
    "               [--machine-type N] [--pace] [--time-scale X] [--limiter]\n"
    "               [--stop-busy MS]\n"
    "  --identity      what the instrument answers to QA (default later)\n"
    "  --ident-text    answer this text to QA instead\n"
    "  --machine-type  the model nibble QR reports, 0 to 15 (default 5)\n"
    "  --pace          every byte takes its 1.04 ms on the line, as at 9600 baud\n"
    "  --time-scale    run the instrument's clock X times faster (default 1)\n"
    "  --limiter       the 6 kV output limiter is enabled\n"
    "  --stop-busy     after CB a running step stays running and busy MS ms (default 0)\n";

const char* const kHelp =
    "commands on standard input, one a line:\n"
    "  noack        the next enquiry is not acknowledged\n"
    "  badbcc       the next reply frame carries a wrong block check\n"
    "  garbage      the next reply frame starts with a byte that is not STX\n"
    "  silence      answer nothing until 'clear' (cable pulled out)\n"
    "  slow         one byte of the next answer comes 700 ms late\n"
    "  stale        put unasked bytes in the PC's input now\n"
    "  clear        clear every fault\n"
    "  error N      latch instrument error N (0 does nothing; PQ0 clears it)\n"
    "  limiter on|off\n"
    "  help\n"
    "  quit\n";

bool ParseOptions(const QStringList& args, zebsim::SimOptions& options, QString& problem) {
    for (int i = 1; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        const auto value = [&](QString& out) {
            if (i + 1 >= args.size()) {
                problem = arg + " needs a value";
                return false;
            }
            out = args.at(++i);
            return true;
        };
        QString text;
        if (arg == "--identity") {
            if (!value(text)) {
                return false;
            }
            if (text == "first") {
                options.identity = zebsim::Identity::FirstHardware;
            } else if (text == "later") {
                options.identity = zebsim::Identity::LaterHardware;
            } else if (text == "m50") {
                options.identity = zebsim::Identity::Series50;
            } else if (text == "unknown") {
                options.identity = zebsim::Identity::Unrecognised;
            } else {
                problem = "unknown identity '" + text + "'";
                return false;
            }
        } else if (arg == "--ident-text") {
            if (!value(options.identityText)) {
                return false;
            }
        } else if (arg == "--machine-type") {
            bool ok = false;
            const int type = value(text) ? text.toInt(&ok) : -1;
            if (!ok || type < 0 || type > 15) {
                problem = "--machine-type takes a number from 0 to 15";
                return false;
            }
            options.machineType = type;
        } else if (arg == "--time-scale") {
            bool ok = false;
            const double scale = value(text) ? text.toDouble(&ok) : 0.0;
            if (!ok || !(scale > 0.0) || scale > 1e6) {
                problem = "--time-scale takes a number above 0";
                return false;
            }
            options.timeScale = scale;
        } else if (arg == "--stop-busy") {
            bool ok = false;
            const int ms = value(text) ? text.toInt(&ok) : -1;
            if (!ok || ms < 0 || ms > 600000) {
                problem = "--stop-busy takes a number of milliseconds from 0 to 600000";
                return false;
            }
            options.stopBusyMs = ms;
        } else if (arg == "--pace") {
            options.pacing9600 = true;
        } else if (arg == "--limiter") {
            options.limiter6kV = true;
        } else {
            problem = "unknown option '" + arg + "'";
            return false;
        }
    }
    return true;
}

// Carries out one line from standard input; false for "quit".
bool HandleLine(const QString& line, zebsim::PtySimulator& sim) {
    const QStringList words = line.split(' ', Qt::SkipEmptyParts);
    if (words.isEmpty()) {
        return true;
    }
    const QString& word = words.first();
    if (word == "quit") {
        return false;
    } else if (word == "help") {
        std::fputs(kHelp, stderr);
    } else if (word == "noack" && words.size() == 1) {
        sim.InjectFault(zebsim::Fault::NoAck);
    } else if (word == "badbcc" && words.size() == 1) {
        sim.InjectFault(zebsim::Fault::WrongBcc);
    } else if (word == "garbage" && words.size() == 1) {
        sim.InjectFault(zebsim::Fault::GarbageBeforeStx);
    } else if (word == "silence" && words.size() == 1) {
        sim.InjectFault(zebsim::Fault::Silence);
    } else if (word == "slow" && words.size() == 1) {
        sim.InjectFault(zebsim::Fault::SlowByte);
    } else if (word == "stale" && words.size() == 1) {
        sim.InjectFault(zebsim::Fault::StaleBytes);
    } else if (word == "clear" && words.size() == 1) {
        sim.ClearFaults();
    } else if (word == "error" && words.size() == 2) {
        bool ok = false;
        const int code = words.at(1).toInt(&ok);
        if (!ok) {
            Err("error takes a whole number");
            return true;
        }
        sim.RaiseError(code);
    } else if (word == "limiter" && words.size() == 2 &&
               (words.at(1) == "on" || words.at(1) == "off")) {
        sim.SetLimiter(words.at(1) == "on");
    } else {
        Err("unknown command '" + line.trimmed() + "' (type help)");
        return true;
    }
    Err("ok: " + line.trimmed());
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    zebsim::SimOptions options;
    QString problem;
    if (QCoreApplication::arguments().contains("--help")) {
        std::fputs(kUsage, stdout);
        std::fputs(kHelp, stdout);
        return 0;
    }
    if (!ParseOptions(QCoreApplication::arguments(), options, problem)) {
        Err("zeb-sim: " + problem);
        std::fputs(kUsage, stderr);
        return 2;
    }

    zebsim::PtySimulator sim(options);
    sim.SetCommandObserver([](const QString& text, const QString& reply) {
        Err(reply.isEmpty() ? "<- " + text : "<- " + text + "  -> " + reply);
    });
    if (!sim.Start()) {
        Err("zeb-sim: no pseudo-terminal could be opened");
        return 1;
    }
    RemoveLinkOnSignals(sim.DevicePath());
    // The path alone, first, and at once: scripts wait for this line.
    std::fprintf(stdout, "%s\n", sim.DevicePath().toLocal8Bit().constData());
    std::fflush(stdout);

    std::string line;
    while (std::getline(std::cin, line)) {
        if (!HandleLine(QString::fromLocal8Bit(line.c_str()), sim)) {
            break;
        }
    }
    sim.Stop();
    return 0;
}
