// Where a monitor command's program comes from: each place in turn, the first executable file
// winning, a path used as given, and a message naming the name and every place looked in when
// nothing fits.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "MonitorProgram.h"

namespace zeb {
namespace {

class MonitorProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* place : {"doc", "lab", "shipped", "bin1", "bin2"}) {
            ASSERT_TRUE(QDir(dir.path()).mkpath(QString::fromLatin1(place)));
        }
        places.documentFolder = Folder("doc");
        places.labFolder = Folder("lab");
        places.shippedFolder = Folder("shipped");
        places.path = {Folder("bin1"), Folder("bin2")};
    }

    QString Folder(const char* place) const { return dir.filePath(QString::fromLatin1(place)); }

    // A file `name` in `place`, executable or not; returns its path.
    QString Put(const char* place, const QString& name, bool executable = true) {
        const QString path = QDir(Folder(place)).filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\nexit 0\n");
        f.close();
        QFile::Permissions p = QFile::ReadOwner | QFile::WriteOwner;
        if (executable) {
            p |= QFile::ExeOwner;
        }
        f.setPermissions(p);
        return path;
    }

    QTemporaryDir dir;
    MonitorPlaces places;
};

TEST_F(MonitorProgramTest, TheFirstPlaceHoldingTheProgramWins) {
    const QString name = QStringLiteral("ping-host");
    // Filled from the last place to the first: each new copy takes precedence over the others.
    for (const char* place : {"bin2", "bin1", "shipped", "lab", "doc"}) {
        const QString path = Put(place, name);
        const MonitorProgram found = FindMonitorProgram(name, places);
        EXPECT_EQ(found.path, path) << place;
        EXPECT_TRUE(found.error.isEmpty());
    }
    // Without a document, the lab's copy is next.
    places.documentFolder.clear();
    EXPECT_EQ(FindMonitorProgram(name, places).path, QDir(Folder("lab")).filePath(name));
}

TEST_F(MonitorProgramTest, AFileThatMayNotRunIsPassedOverAndNamedWhenNothingElseFits) {
    const QString name = QStringLiteral("http-status");
    const QString plain = Put("lab", name, false);
    ASSERT_TRUE(QDir(Folder("doc")).mkdir(name));  // a folder of that name is no program either
    const QString shipped = Put("shipped", name);
    EXPECT_EQ(FindMonitorProgram(name, places).path, shipped);

    ASSERT_TRUE(QFile::remove(shipped));
    const MonitorProgram none = FindMonitorProgram(name, places);
    EXPECT_FALSE(none.Found());
    EXPECT_TRUE(none.error.endsWith(QStringLiteral("; not executable: ") + plain))
        << none.error.toStdString();
}

TEST_F(MonitorProgramTest, MissingEverywhereNamesTheNameAndEachPlace) {
    const MonitorProgram none = FindMonitorProgram(QStringLiteral("tcp-port"), places);
    EXPECT_FALSE(none.Found());
    EXPECT_EQ(none.error, QStringLiteral("no program \"tcp-port\" in the document's folder (%1), "
                                         "the lab's monitors (%2), the shipped monitors (%3) or "
                                         "on PATH")
                              .arg(Folder("doc"), Folder("lab"), Folder("shipped")));
    places.documentFolder.clear();
    EXPECT_FALSE(FindMonitorProgram(QStringLiteral("tcp-port"), places)
                     .error.contains(QStringLiteral("document")));
}

TEST_F(MonitorProgramTest, ANameWithASlashIsUsedAsGivenBesideTheDocument) {
    Put("lab", QStringLiteral("check"));  // never found through the places
    ASSERT_TRUE(QDir(Folder("doc")).mkdir(QStringLiteral("tools")));
    const QString own = Put("doc", QStringLiteral("tools/check"));
    EXPECT_EQ(FindMonitorProgram(QStringLiteral("./tools/check"), places).path, own);
    EXPECT_EQ(FindMonitorProgram(own, places).path, own);

    const MonitorProgram missing = FindMonitorProgram(QStringLiteral("tools/gone"), places);
    EXPECT_EQ(missing.error, QStringLiteral("\"%1/tools/gone\" does not exist").arg(Folder("doc")));
    const QString plain = Put("doc", QStringLiteral("tools/plain"), false);
    EXPECT_EQ(FindMonitorProgram(plain, places).error,
              QStringLiteral("\"%1\" is not an executable program").arg(plain));
}

}  // namespace
}  // namespace zeb
