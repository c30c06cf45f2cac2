#include "PortAccess.h"

#include <QStringList>

#ifndef Q_OS_WIN
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace zeb {

QString PortAccessProblem(const QString& devicePath) {
#ifdef Q_OS_WIN
    Q_UNUSED(devicePath);
    return QString();
#else
    const QByteArray path = devicePath.toLocal8Bit();
    if (path.isEmpty()) {
        return QString();
    }
    struct stat info {};
    if (::stat(path.constData(), &info) != 0) {
        return QString();  // no such device: nothing the operator can fix by permissions
    }
    // access() asks the kernel with the real user's rights, so it answers without opening the
    // device (opening a serial line can toggle its control lines).
    if (::access(path.constData(), R_OK | W_OK) == 0 || errno != EACCES) {
        return QString();
    }
    QString group;
    if (const struct group* g = ::getgrgid(info.st_gid)) {
        group = QString::fromLocal8Bit(g->gr_name);
    } else {
        group = QString::number(info.st_gid);
    }
    return QStringLiteral(
               "Permission denied: %1 belongs to group %2; add your user to it and log in again.")
        .arg(devicePath, group);
#endif
}

QString PortAccessProblems(const QStringList& devices) {
    QStringList lines;
    for (const QString& device : devices) {
        const QString line = PortAccessProblem(device);
        if (!line.isEmpty()) {
            lines << line;
        }
    }
    return lines.join(QLatin1Char('\n'));
}

}  // namespace zeb
