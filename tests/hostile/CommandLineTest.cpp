// zebctl's command line: options in every usual form, help after every command, unknown and
// empty options named, file names that are not UTF-8, and port tables that are too long.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "DocumentJson.h"
#include "PortTable.h"
#include "ZebctlProcess.h"

namespace zeb::test {
namespace {

const std::map<QString, QString> kNoPort = {{"ZEB_SERIAL_PORTS", "/dev/zeb-no-such-device"}};

TEST(CommandLine, OptionsAreReadInEveryFormAndPlace) {
    // No instrument: exit 1 shows the option was understood, 2 that it was refused.
    EXPECT_EQ(Zebctl({"status", "--port=1"}, kNoPort).exitCode, 1);
    EXPECT_EQ(Zebctl({"status", "--port", "1"}, kNoPort).exitCode, 1);
    EXPECT_EQ(Zebctl({"--port", "1", "status"}, kNoPort).exitCode, 1);
    EXPECT_EQ(Zebctl({"--port=1", "status"}, kNoPort).exitCode, 1);

    const ToolRun empty = Zebctl({"status", "--port", ""}, kNoPort);
    EXPECT_EQ(empty.exitCode, 2);
    EXPECT_TRUE(empty.err.contains("--port needs a value")) << empty.err.toStdString();
    EXPECT_EQ(Zebctl({"status", "--port="}, kNoPort).exitCode, 2);
    EXPECT_EQ(Zebctl({"status", "--port"}, kNoPort).exitCode, 2);
    EXPECT_EQ(Zebctl({"status", "--port", "0"}, kNoPort).exitCode, 2);
    EXPECT_EQ(Zebctl({"status", "--port", "129"}, kNoPort).exitCode, 2);

    const ToolRun unknown = Zebctl({"status", "--prot", "1"}, kNoPort);
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.err.contains("Unknown option 'prot'")) << unknown.err.toStdString();
    EXPECT_EQ(Zebctl({"frobnicate"}).exitCode, 2);
    EXPECT_EQ(Zebctl({}).exitCode, 2);
}

TEST(CommandLine, HelpWorksAfterEveryCommand) {
    for (const char* command :
         {"dump", "build", "report", "step", "status", "scan", "ports", "send", "query"}) {
        for (const char* help : {"--help", "-h"}) {
            const ToolRun r = Zebctl({command, help}, kNoPort);
            EXPECT_EQ(r.exitCode, 0) << command;
            EXPECT_TRUE(r.out.startsWith("usage: zebctl " + QByteArray(command)))
                << r.out.toStdString();
        }
    }
    EXPECT_EQ(Zebctl({"--help"}).exitCode, 0);
}

TEST(CommandLine, HardwareVersionTwoIsRefused) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    CZebM40SettingsDoc doc;
    doc.OnNewDocument(5, 0);
    QFile f(dir.filePath("doc.json"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(DocumentToJsonText(doc));
    f.close();
    const QString data = QStringLiteral(ZEB_MODEL_TEST_DATA "/new_type5.zms");
    EXPECT_EQ(Zebctl({"dump", data, "--hw", "2"}).exitCode, 2);
    EXPECT_EQ(Zebctl({"dump", data, "--hw", "1"}).exitCode, 0);
    EXPECT_EQ(Zebctl({"build", f.fileName(), dir.filePath("a.zms"), "--hw", "2"}).exitCode, 2);
    EXPECT_FALSE(QFile::exists(dir.filePath("a.zms")));
    EXPECT_EQ(Zebctl({"build", f.fileName(), dir.filePath("a.zms"), "--hw=1"}).exitCode, 0);
}

TEST(CommandLine, FileNamesThatAreNotUtf8AreRefusedNotChanged) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString data = QStringLiteral(ZEB_MODEL_TEST_DATA "/new_type5.zms");
    ASSERT_TRUE(QFile::copy(data, dir.filePath("in.zms")));
    ZebctlInShell("cd '" + dir.path() + "' && \"$ZEBCTL\" dump in.zms > in.json");
    // "\377" cannot stand in UTF-8; a replacement character in its place would name another
    // file.
    const ToolRun r = ZebctlInShell("cd '" + dir.path() +
                                    "' && \"$ZEBCTL\" build in.json \"$(printf 'out\\377.zms')\"");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("not valid UTF-8")) << r.err.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"in.json", "in.zms"}));
    // Valid UTF-8 names of any script work both ways.
    const ToolRun ok =
        ZebctlInShell("cd '" + dir.path() + "' && \"$ZEBCTL\" build in.json 'Prüfung 試験.zms'");
    EXPECT_EQ(ok.exitCode, 0) << ok.err.toStdString();
    EXPECT_TRUE(QFile::exists(dir.filePath(QString::fromUtf8("Prüfung 試験.zms"))));
}

TEST(CommandLine, PortEntriesBeyondTheTableAreNamedAsIgnored) {
    QStringList devices;
    for (int i = 0; i < 130; ++i) {
        devices << QStringLiteral("/dev/zeb%1").arg(i);
    }
    int ignored = -1;
    EXPECT_EQ(ParsePortList(devices.mid(0, kMaxOpenPortNo).join(':'), &ignored).size(),
              kMaxOpenPortNo);
    EXPECT_EQ(ignored, 0);
    const QStringList table = ParsePortList(devices.join(':'), &ignored);
    EXPECT_EQ(ignored, 2);
    EXPECT_EQ(table.last(), "/dev/zeb127");

    const ToolRun r = Zebctl({"ports"}, {{"ZEB_SERIAL_PORTS", devices.join(':')}});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(
        r.err.contains("ZEB_SERIAL_PORTS lists 130 devices; only the first 128 are used, "
                       "the other 2 are ignored."))
        << r.err.toStdString();
    EXPECT_EQ(r.out.count('\n'), kMaxOpenPortNo);
}

}  // namespace
}  // namespace zeb::test
