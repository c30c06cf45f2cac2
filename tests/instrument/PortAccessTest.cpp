// What the operator is told about a serial device the scan could not open. The facts of a
// device are given by hand where the test runs as root (who may open everything) and read from
// real files where the reading itself is the point.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <unistd.h>

#include "PortAccess.h"

namespace zeb {
namespace {

DeviceFacts Denied(const QString& group, bool groupIsRoot) {
    DeviceFacts facts;
    facts.exists = true;
    facts.permitted = false;
    facts.group = group;
    facts.groupIsRoot = groupIsRoot;
    return facts;
}

TEST(PortAccess, DeviceOfGroupRootSendsTheUserToTheAdministrator) {
    const QString line = PortAccessProblem(QStringLiteral("/dev/ttyS0"), Denied("root", true));
    EXPECT_EQ(line, QStringLiteral("Permission denied: /dev/ttyS0 belongs to group root; ask the "
                                   "administrator to give your user access to it."));
    EXPECT_FALSE(line.contains(QStringLiteral("add your user")));
    // A group of another name is one the user can be put in.
    EXPECT_EQ(PortAccessProblem(QStringLiteral("/dev/ttyUSB0"), Denied("dialout", false)),
              QStringLiteral("Permission denied: /dev/ttyUSB0 belongs to group dialout; add your "
                             "user to it and log in again."));
}

TEST(PortAccess, LockFilesNameTheirFileAndWhoLeftThem) {
    DeviceFacts facts;
    facts.exists = true;
    EXPECT_TRUE(PortAccessProblem(QStringLiteral("/dev/ttyUSB0"), facts).isEmpty());

    facts.lockFile = QStringLiteral("/var/lock/LCK..pts_3");
    facts.lockOwner = QStringLiteral("root");
    facts.lockPid = 4242;
    EXPECT_EQ(PortAccessProblem(QStringLiteral("/dev/pts/3"), facts),
              QStringLiteral("/dev/pts/3 is locked by /var/lock/LCK..pts_3, which a program of "
                             "user root left behind when it ended; ask the administrator to "
                             "remove that file."));
    // A stale lock of the user's own is cleared by the next opening: nothing to tell.
    facts.lockIsOurs = true;
    EXPECT_TRUE(PortAccessProblem(QStringLiteral("/dev/pts/3"), facts).isEmpty());
    facts.lockHolderRuns = true;
    EXPECT_EQ(PortAccessProblem(QStringLiteral("/dev/pts/3"), facts),
              QStringLiteral("/dev/pts/3 is in use by another program (process 4242 of user "
                             "root)."));
    // Permission on the device itself comes first.
    facts.permitted = false;
    facts.group = QStringLiteral("root");
    facts.groupIsRoot = true;
    EXPECT_TRUE(PortAccessProblem(QStringLiteral("/dev/pts/3"), facts)
                    .startsWith(QStringLiteral("Permission denied: /dev/pts/3 ")));
}

TEST(PortAccess, LockFileIsNamedAfterThePathBelowDev) {
    EXPECT_EQ(LockFileName(QStringLiteral("/dev/ttyUSB0")), QStringLiteral("LCK..ttyUSB0"));
    EXPECT_EQ(LockFileName(QStringLiteral("/dev/pts/3")), QStringLiteral("LCK..pts_3"));
    EXPECT_EQ(LockFileName(QStringLiteral("/tmp/zeb-sim-x/instrument")),
              QStringLiteral("LCK.._tmp_zeb-sim-x_instrument"));
}

TEST(PortAccess, FactsAreReadFromTheDeviceAndTheFirstLockFolderHoldingALock) {
    QTemporaryDir dir;
    const QString device = dir.filePath(QStringLiteral("ttyUSB7"));
    {
        QFile file(device);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("a")));
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("b")));
    const QStringList folders{dir.filePath(QStringLiteral("a")), dir.filePath(QStringLiteral("b"))};

    DeviceFacts facts = ReadDeviceFacts(device, folders);
    EXPECT_TRUE(facts.exists);
    EXPECT_TRUE(facts.permitted);
    EXPECT_FALSE(facts.group.isEmpty());
    EXPECT_TRUE(facts.lockFile.isEmpty());
    EXPECT_TRUE(PortAccessProblem(device, facts).isEmpty());

    // A process number beyond any the kernel hands out: its holder has certainly ended.
    const QString lock = QDir(folders.at(1)).filePath(LockFileName(device));
    {
        QFile file(lock);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("999999999\nzeb\nhost\n");
    }
    facts = ReadDeviceFacts(device, folders);
    EXPECT_EQ(facts.lockFile, lock);
    EXPECT_EQ(facts.lockPid, 999999999);
    EXPECT_FALSE(facts.lockHolderRuns);
    EXPECT_TRUE(facts.lockIsOurs);
    {
        QFile file(lock);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray::number(static_cast<qint64>(::getpid())) + "\n");
    }
    facts = ReadDeviceFacts(device, folders);
    EXPECT_TRUE(facts.lockHolderRuns);
    EXPECT_TRUE(PortAccessProblem(device, facts).contains(QStringLiteral("is in use")));

    EXPECT_FALSE(ReadDeviceFacts(dir.filePath(QStringLiteral("ttyUSB8")), folders).exists);
}

}  // namespace
}  // namespace zeb
