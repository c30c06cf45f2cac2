#include "MonitorProgram.h"

#include <QDir>
#include <QFileInfo>

#include "DataFolders.h"

namespace zeb {

namespace {
QString Absolute(const QString& folder, const QString& name) {
    const QDir base(folder.isEmpty() ? QDir::currentPath() : folder);
    return QDir::cleanPath(base.absoluteFilePath(name));
}

QString Described(const QString& what, const QString& folder) {
    return folder.isEmpty() ? what : QStringLiteral("%1 (%2)").arg(what, folder);
}
}  // namespace

QString ShippedMonitorFolder() {
    return ShippedDataFolder("ZEB_MONITORS_DIR", QStringLiteral("monitors"));
}

QString LabMonitorFolder() {
    return LabDataFolder(QStringLiteral("monitors"));
}

MonitorPlaces InstalledMonitorPlaces(const QString& documentPath) {
    MonitorPlaces places;
    if (!documentPath.isEmpty()) {
        places.documentFolder = QFileInfo(documentPath).absolutePath();
    }
    places.labFolder = LabMonitorFolder();
    places.shippedFolder = ShippedMonitorFolder();
    places.path = qEnvironmentVariable("PATH").split(QDir::listSeparator(), Qt::SkipEmptyParts);
    return places;
}

MonitorProgram FindMonitorProgram(const QString& name, const MonitorPlaces& places) {
    MonitorProgram found;
    if (name.isEmpty()) {
        found.error = QStringLiteral("no program is named");
        return found;
    }
    if (name.contains(QLatin1Char('/'))) {
        const QString path = Absolute(places.documentFolder, name);
        const QFileInfo info(path);
        if (!info.exists()) {
            found.error = QStringLiteral("\"%1\" does not exist").arg(path);
        } else if (info.isDir() || !info.isExecutable()) {
            found.error = QStringLiteral("\"%1\" is not an executable program").arg(path);
        } else {
            found.path = path;
        }
        return found;
    }

    QStringList folders;
    for (const QString& folder : {places.documentFolder, places.labFolder, places.shippedFolder}) {
        if (!folder.isEmpty()) {
            folders << folder;
        }
    }
    folders << places.path;
    QStringList notExecutable;
    for (const QString& folder : folders) {
        const QFileInfo info(QDir(folder).filePath(name));
        if (!info.exists() || info.isDir()) {
            continue;
        }
        if (info.isExecutable()) {
            found.path = QDir::cleanPath(info.absoluteFilePath());
            return found;
        }
        notExecutable << QDir::cleanPath(info.absoluteFilePath());
    }

    QStringList looked;
    if (!places.documentFolder.isEmpty()) {
        looked << Described(QStringLiteral("the document's folder"), places.documentFolder);
    }
    looked << Described(QStringLiteral("the lab's monitors"), places.labFolder)
           << Described(QStringLiteral("the shipped monitors"), places.shippedFolder)
           << QStringLiteral("PATH");
    const QString last = looked.takeLast();
    found.error = QStringLiteral("no program \"%1\" in %2 or on %3")
                      .arg(name, looked.join(QStringLiteral(", ")), last);
    if (!notExecutable.isEmpty()) {
        found.error +=
            QStringLiteral("; not executable: ") + notExecutable.join(QStringLiteral(", "));
    }
    return found;
}

}  // namespace zeb
