#include "DataFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace zeb {

QString ShippedDataFolder(const char* environmentVariable, const QString& name) {
    const QString env = qEnvironmentVariable(environmentVariable);
    if (!env.isEmpty()) {
        return env;
    }
    return QDir::cleanPath(QCoreApplication::applicationDirPath() +
                           QStringLiteral("/../share/zeb/") + name);
}

QString LabDataFolder(const QString& name) {
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
           QLatin1Char('/') + name;
}

}  // namespace zeb
