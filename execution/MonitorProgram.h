#pragma once
// Where the program of an EUT monitor command comes from. A name with a slash is a path, used as
// it is (relative to the document's folder, where the command runs). A bare name is looked for
// in four places, first match wins: the document's folder (a monitor kept with the test plan),
// monitors/ of the program's data folder (the lab's own), the monitors shipped with the package,
// and the folders of PATH.

#include <QString>
#include <QStringList>

namespace zeb {

struct MonitorPlaces {
    QString documentFolder;  // empty: no document
    QString labFolder;
    QString shippedFolder;
    QStringList path;  // the folders of PATH, in order
};

struct MonitorProgram {
    QString path;   // absolute path of the program to run; empty when none was found
    QString error;  // why not, naming the program and the places looked in

    bool Found() const { return !path.isEmpty(); }
};

// Where the package installs its monitors: $ZEB_MONITORS_DIR when set, else share/zeb/monitors
// beside the program's bin folder (/usr/share/zeb/monitors for /usr/bin/zeb; the build tree has
// its own copy there).
QString ShippedMonitorFolder();
// monitors/ of the program's data folder (~/.local/share/Brakmoor/ZEB/monitors).
QString LabMonitorFolder();
// The places of this installation for a document at `documentPath` (may be empty), with PATH
// as the environment has it now.
MonitorPlaces InstalledMonitorPlaces(const QString& documentPath);

// The program `name` stands for. Only an executable file counts; a file of that name that may
// not be run is passed over and named in the error if nothing else is found.
MonitorProgram FindMonitorProgram(const QString& name, const MonitorPlaces& places);

}  // namespace zeb
