// zebctl: the command-line face of the core, for scripting, for diagnosis in the lab and for
// tests. Messages of the core go to standard error; see Cli.h for the exit codes.

#include <QCoreApplication>
#include <QGuiApplication>

#include <memory>

#include "Cli.h"
#include "MessageSeam.h"

namespace {

// An argument that is not valid UTF-8 cannot be turned into a file name and back unchanged:
// it would open or write a different file. Such arguments are refused.
int FirstNonUtf8Argument(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const QByteArray raw(argv[i]);
        if (QString::fromUtf8(raw).toUtf8() != raw) {
            return i;
        }
    }
    return 0;
}

bool IsHelp(const QString& arg) {
    return arg == QLatin1String("--help") || arg == QLatin1String("-h");
}

// Index of the command name: global options may stand before it, each "--name value" or
// "--name=value"; --help stands alone. "--trace" before the command is taken out of args: it
// belongs to zebctl itself, not to the command.
qsizetype CommandIndex(QStringList& args, bool& help, bool& trace) {
    qsizetype i = 0;
    help = false;
    trace = false;
    while (i < args.size() && args.at(i).startsWith(QLatin1Char('-'))) {
        if (IsHelp(args.at(i))) {
            help = true;
            ++i;
        } else if (args.at(i) == QLatin1String("--trace")) {
            trace = true;
            args.removeAt(i);
        } else {
            i += args.at(i).contains(QLatin1Char('=')) ? 1 : 2;
        }
    }
    return i;
}

// Drawing a report's pages needs fonts, which only a Gui application has; zebctl shows no
// window, so it draws offscreen whatever display there is. Other commands stay without Gui.
bool DrawsPages(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "report-pdf" || arg.startsWith("--report-pdf")) {
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    zebctl::GuardStandardStreams();
    std::unique_ptr<QCoreApplication> app;
    if (DrawsPages(argc, argv)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setOrganizationName(QStringLiteral("Brakmoor"));
    QCoreApplication::setApplicationName(QStringLiteral("ZEB"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZEB_VERSION_STRING));

    zeb::StderrMessageSink sink;
    zeb::ScopedMessageSink scope(&sink);

    if (const int bad = FirstNonUtf8Argument(argc, argv)) {
        zebctl::Err(QStringLiteral("zebctl: argument %1 is not valid UTF-8; file names and texts "
                                   "must be valid UTF-8")
                        .arg(bad));
        return zebctl::kExitBadInput;
    }
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty()) {
        zebctl::PrintUsage();
        return zebctl::FinishOutput(zebctl::kExitBadInput);
    }
    if (args.first() == QLatin1String("--version")) {
        zebctl::Out(QStringLiteral("zebctl " ZEB_VERSION_STRING));
        return zebctl::FinishOutput(zebctl::kExitOk);
    }
    bool help = false;
    bool trace = false;
    const qsizetype i = CommandIndex(args, help, trace);
    zebctl::SetTrace(trace);
    if (help && i >= args.size()) {
        zebctl::PrintUsage();
        return zebctl::FinishOutput(zebctl::kExitOk);
    }
    if (i >= args.size()) {
        zebctl::Err(QStringLiteral("zebctl: no command given"));
        return zebctl::kExitBadInput;
    }
    const QString command = args.takeAt(i);
    return zebctl::FinishOutput(zebctl::RunCommand(command, args));
}
