// zebctl: the command-line face of the core, for scripting, for diagnosis in the lab and for
// tests. Messages of the core go to standard error; see Cli.h for the exit codes.

#include <QCoreApplication>

#include "Cli.h"
#include "MessageSeam.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Brakmoor"));
    QCoreApplication::setApplicationName(QStringLiteral("ZEB"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZEB_VERSION_STRING));

    zeb::StderrMessageSink sink;
    zeb::ScopedMessageSink scope(&sink);

    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty() || args.first() == QLatin1String("--help") ||
        args.first() == QLatin1String("-h")) {
        zebctl::PrintUsage();
        return args.isEmpty() ? zebctl::kExitBadInput : zebctl::kExitOk;
    }
    if (args.first() == QLatin1String("--version")) {
        zebctl::Out(QStringLiteral("zebctl " ZEB_VERSION_STRING));
        return zebctl::kExitOk;
    }
    // Global options may stand before the command; commands take the rest (including --port).
    int i = 0;
    while (i < args.size() && args.at(i).startsWith(QLatin1String("--"))) {
        i += 2;
    }
    if (i >= args.size()) {
        zebctl::Err(QStringLiteral("zebctl: no command given"));
        return zebctl::kExitBadInput;
    }
    const QString command = args.takeAt(i);
    return zebctl::RunCommand(command, args);
}
