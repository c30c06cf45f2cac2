// The desktop program: remote control of the surge simulator.

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>

#include "CommandLine.h"
#include "FirstPaint.h"
#include "MainFrame.h"
#include "MessageBoxSink.h"
#include "NamedComboAccessible.h"
#include "ProgramIcon.h"
#include "ZebM40App.h"

int main(int argc, char* argv[]) {
    QElapsedTimer sinceStart;
    sinceStart.start();
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZEB"));
    QApplication::setOrganizationName(QStringLiteral("Brakmoor"));
    QApplication::setApplicationVersion(QStringLiteral(ZEB_VERSION_STRING));
    QApplication::setWindowIcon(zeb::ProgramIcon());
    zeb::InstallNamedComboAccessibility();

    const zeb::AppOptions options = zeb::ParseCommandLine(QApplication::arguments().mid(1));
    if (options.help || !options.error.isEmpty()) {
        if (!options.error.isEmpty()) {
            std::fprintf(stderr, "zeb: %s\n", qPrintable(options.error));
        }
        std::fprintf(options.help ? stdout : stderr, "%s\n", qPrintable(zeb::CommandLineUsage()));
        return options.help ? 0 : 2;
    }

    zeb::CMessageBoxSink sink;
    zeb::ScopedMessageSink scope(&sink);
    // The opening and selection dialogs close before the main window shows; that must not
    // count as the program's last window closing.
    QApplication::setQuitOnLastWindowClosed(false);
    zeb::CZebM40App app(options);
    if (!app.InitInstance()) {
        app.ExitInstance();
        return 0;
    }
    QApplication::setQuitOnLastWindowClosed(true);
    // ZEB_REPORT_SHOWN set: one line on standard output once the main window with its first
    // document has been drawn. The start-up benchmark waits for it.
    if (qEnvironmentVariableIsSet("ZEB_REPORT_SHOWN") && app.MainFrame()) {
        zeb::AfterFirstPaint(*app.MainFrame(), [sinceStart] {
            std::printf("zeb: shown after %lld ms\n", static_cast<long long>(sinceStart.elapsed()));
            std::fflush(stdout);
        });
    }
    const int code = QApplication::exec();
    app.ExitInstance();
    return code;
}
