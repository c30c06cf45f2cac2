#pragma once
// Why a serial device that exists cannot be used, in one line for the operator. On Linux the
// serial devices belong to a group (usually dialout) and a user outside it gets "permission
// denied"; a device of group root is meant for the administrator alone. A device can also be
// kept from us by a lock file: the serial stack writes one (LCK..ttyUSB0 in the lock folder)
// for as long as it holds a device, and a program that was killed leaves it behind; when that
// program ran under another account (root) the file cannot be cleared by an ordinary user. The
// port scan simply finds nothing on such a device, so this says what to do about it.

#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace zeb {

// What the system says about one device; read by ReadDeviceFacts, made by hand in tests.
struct DeviceFacts {
    bool exists = false;
    bool permitted = true;        // the user may open it for reading and writing
    QString group;                // the group owning it (its number when it has no name)
    bool groupIsRoot = false;     // the group is the superuser's (gid 0)
    QString lockFile;             // a lock file standing for the device, empty when there is none
    QString lockOwner;            // the account owning the lock file
    qint64 lockPid = 0;           // the process the lock file names
    bool lockHolderRuns = false;  // that process still runs
    bool lockIsOurs = false;      // the user owns the lock file (and may clear it when stale)
};

// The lock folders the serial stack may use, in the order it tries them.
QStringList SerialLockFolders();
// The lock file's name for a device: "/dev/ttyUSB0" -> "LCK..ttyUSB0",
// "/tmp/sim/instrument" -> "LCK.._tmp_sim_instrument".
QString LockFileName(const QString& devicePath);

// The facts of a device; the first lock file found in lockFolders is the one reported.
DeviceFacts ReadDeviceFacts(const QString& devicePath,
                            const QStringList& lockFolders = SerialLockFolders());

// Empty when nothing stands in the way (or the device does not exist); else one line naming
// the device and what keeps the user from it, for example
// "Permission denied: /dev/ttyUSB0 belongs to group dialout; add your user to it and log in
// again." Joining the group root is never advised: the administrator is to be asked instead.
QString PortAccessProblem(const QString& devicePath, const DeviceFacts& facts);
QString PortAccessProblem(const QString& devicePath);

// The same for each of the given devices, one line each, devices without a problem skipped.
// Give it the devices a scan could not open, so that only those are named.
QString PortAccessProblems(const QStringList& devices);

}  // namespace zeb
