// zeb-screenshots: renders every window and dialog of the desktop program in a representative
// state to PNG files, offscreen at 96 dpi, for a review of how the operator meets them. The
// instrument is the simulator on a pseudo-terminal; configuration goes to a throw-away folder,
// so the user's own ZEB.ini is never read or written.
//
//     zeb-screenshots OUTPUT_FOLDER

#include <QApplication>
#include <QTemporaryDir>

#include <cstdio>

#include "MessageSeam.h"
#include "ProgramIcon.h"
#include "PtySimulator.h"
#include "Shots.h"

namespace {

// The offscreen platform cannot pass size hints to a window manager and says so for every
// window; that is no news for a picture.
void QuietHandler(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (!text.contains(QLatin1String("propagateSizeHints"))) {
        std::fprintf(stderr, "%s%s\n", type == QtWarningMsg ? "warning: " : "", qPrintable(text));
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zeb-screenshots OUTPUT_FOLDER\n");
        return 2;
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    qputenv("QT_FONT_DPI", "96");
    QTemporaryDir work;
    if (!work.isValid()) {
        std::fprintf(stderr, "zeb-screenshots: no temporary folder\n");
        return 1;
    }
    qputenv("XDG_CONFIG_HOME", work.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_DATA_HOME", work.filePath(QStringLiteral("data")).toUtf8());
    if (!qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")) {
        qputenv("XDG_RUNTIME_DIR", work.path().toUtf8());  // private to us, as Qt wants it
    }

    qInstallMessageHandler(QuietHandler);
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZEB"));
    QApplication::setOrganizationName(QStringLiteral("Brakmoor"));
    QApplication::setApplicationVersion(QStringLiteral(ZEB_VERSION_STRING));
    QApplication::setWindowIcon(zeb::ProgramIcon());

    // Questions are answered with their first button and every message is printed, so a
    // message that should not have come shows in the script's output.
    zeb::StderrMessageSink sink;
    zeb::ScopedMessageSink scope(&sink);

    zebsim::SimOptions options;
    options.machineType = static_cast<int>(zebshots::kThreePhase);
    zebsim::PtySimulator sim(options);
    if (!sim.Start()) {
        std::fprintf(stderr, "zeb-screenshots: the simulator could not be started\n");
        return 1;
    }
    qputenv("ZEB_SERIAL_PORTS", sim.DevicePath().toLocal8Bit());

    zebshots::ShotFolder shots(QString::fromLocal8Bit(argv[1]));
    zebshots::EditorShots(shots);
    zebshots::AppShots(shots, work.path());
    return shots.Failures() == 0 ? 0 : 1;
}
