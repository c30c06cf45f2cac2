#pragma once
// The program's command line: an optional settings file to open, and --simulate[=TYPE] to run
// against the built-in instrument simulator instead of a cable. Also the connection text of the
// status bar.

#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace zeb {

class CZebM40Cntl;

struct AppOptions {
    bool simulate = false;
    int simulatedType = 5;  // the machine type nibble the simulated instrument reports
    QString file;           // settings file to open at start; a new document when empty
    bool help = false;
    QString error;  // not empty when the command line could not be understood
};

// `args` without the program name. Qt's own options (-platform, ...) are taken out by
// QApplication before this sees them.
AppOptions ParseCommandLine(const QStringList& args);
QString CommandLineUsage();

// "ZEB-M40C3 on COM1 (/dev/ttyUSB0)" for a connected instrument of the program's machine type,
// "No instrument" otherwise; ", simulated" is added when the simulator stands in.
QString ConnectionStatusText(const CZebM40Cntl& cntl, quint32 machineType, bool simulated);

}  // namespace zeb
