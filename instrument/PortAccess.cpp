#include "PortAccess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifndef Q_OS_WIN
#include <grp.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace zeb {

QStringList SerialLockFolders() {
    return {QStringLiteral("/var/lock"),
            QStringLiteral("/etc/locks"),
            QStringLiteral("/var/spool/locks"),
            QStringLiteral("/var/spool/uucp"),
            QStringLiteral("/tmp"),
            QStringLiteral("/var/tmp"),
            QStringLiteral("/var/lock/lockdev"),
            QStringLiteral("/run/lock")};
}

QString LockFileName(const QString& devicePath) {
    QString name = devicePath.startsWith(QLatin1String("/dev/")) ? devicePath.mid(5) : devicePath;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    return QStringLiteral("LCK..") + name;
}

DeviceFacts ReadDeviceFacts(const QString& devicePath, const QStringList& lockFolders) {
    DeviceFacts facts;
#ifdef Q_OS_WIN
    Q_UNUSED(devicePath);
    Q_UNUSED(lockFolders);
#else
    const QByteArray path = devicePath.toLocal8Bit();
    struct stat info {};
    if (path.isEmpty() || ::stat(path.constData(), &info) != 0) {
        return facts;
    }
    facts.exists = true;
    // access() asks the kernel with the real user's rights, so it answers without opening the
    // device (opening a serial line can toggle its control lines).
    facts.permitted = ::access(path.constData(), R_OK | W_OK) == 0 || errno != EACCES;
    const struct group* g = ::getgrgid(info.st_gid);
    facts.group = g ? QString::fromLocal8Bit(g->gr_name) : QString::number(info.st_gid);
    facts.groupIsRoot = info.st_gid == 0;

    const QString lockName = LockFileName(devicePath);
    for (const QString& folder : lockFolders) {
        const QFileInfo lock(QDir(folder).filePath(lockName));
        if (!lock.exists()) {
            continue;
        }
        facts.lockFile = lock.filePath();
        facts.lockOwner = lock.owner().isEmpty() ? QString::number(lock.ownerId()) : lock.owner();
        facts.lockIsOurs = lock.ownerId() == ::getuid();
        // The process number leads the file, in text (the serial stack's and the usual form).
        QFile file(facts.lockFile);
        if (file.open(QIODevice::ReadOnly)) {
            facts.lockPid = file.readLine(32).trimmed().toLongLong();
        }
        facts.lockHolderRuns =
            facts.lockPid > 0 &&
            (::kill(static_cast<pid_t>(facts.lockPid), 0) == 0 || errno == EPERM);
        break;
    }
#endif
    return facts;
}

QString PortAccessProblem(const QString& devicePath, const DeviceFacts& facts) {
    if (!facts.exists) {
        return QString();  // no such device: nothing the operator can fix by permissions
    }
    if (!facts.permitted) {
        if (facts.groupIsRoot) {
            return QStringLiteral(
                       "Permission denied: %1 belongs to group %2; ask the administrator to "
                       "give your user access to it.")
                .arg(devicePath, facts.group);
        }
        return QStringLiteral(
                   "Permission denied: %1 belongs to group %2; add your user to it and log in "
                   "again.")
            .arg(devicePath, facts.group);
    }
    if (facts.lockFile.isEmpty() || (!facts.lockHolderRuns && facts.lockIsOurs)) {
        return QString();  // a stale lock of our own is cleared by the next opening
    }
    if (facts.lockHolderRuns) {
        return QStringLiteral("%1 is in use by another program (process %2 of user %3).")
            .arg(devicePath)
            .arg(facts.lockPid)
            .arg(facts.lockOwner);
    }
    return QStringLiteral(
               "%1 is locked by %2, which a program of user %3 left behind when it ended; ask "
               "the administrator to remove that file.")
        .arg(devicePath, facts.lockFile, facts.lockOwner);
}

QString PortAccessProblem(const QString& devicePath) {
    return PortAccessProblem(devicePath, ReadDeviceFacts(devicePath));
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
