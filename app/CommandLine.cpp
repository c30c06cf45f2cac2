#include "CommandLine.h"

#include "MachineModels.h"
#include "ZebM40Cntl.h"

namespace zeb {

AppOptions ParseCommandLine(const QStringList& args) {
    AppOptions options;
    for (const QString& arg : args) {
        if (arg == QLatin1String("--simulate")) {
            options.simulate = true;
        } else if (arg.startsWith(QLatin1String("--simulate="))) {
            bool ok = false;
            const int type = arg.mid(11).toInt(&ok, 0);  // decimal, or 0x.. for hexadecimal
            if (!ok || type < 0 || type > 15) {
                options.error =
                    QStringLiteral("--simulate takes a machine type from 0 to 15: %1").arg(arg);
                return options;
            }
            options.simulate = true;
            options.simulatedType = type;
        } else if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            options.help = true;
        } else if (arg.startsWith(QLatin1String("--"))) {
            options.error = QStringLiteral("unknown option: %1").arg(arg);
            return options;
        } else if (options.file.isEmpty()) {
            options.file = arg;
        } else {
            options.error = QStringLiteral("only one settings file can be named: %1").arg(arg);
            return options;
        }
    }
    return options;
}

QString CommandLineUsage() {
    return QStringLiteral(
        "usage: zeb [--simulate[=TYPE]] [FILE.zms]\n"
        "  FILE.zms          settings file to open (a new document when none is named)\n"
        "  --simulate[=TYPE] run against the built-in instrument simulator; TYPE is the\n"
        "                    machine type it reports, 0 to 15 (default 5)");
}

QString ConnectionStatusText(const CZebM40Cntl& cntl, quint32 machineType, bool simulated) {
    if (!cntl.IsConnected()) {
        return QStringLiteral("No instrument");
    }
    QString model;
    GetModelName(machineType, model);
    QString text =
        QStringLiteral("%1 on COM%2 (%3)").arg(model).arg(cntl.PortNo()).arg(cntl.DeviceName());
    if (simulated) {
        text += QStringLiteral(", simulated");
    }
    return text;
}

}  // namespace zeb
