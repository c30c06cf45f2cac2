// Files written: nothing but a regular file is ever replaced, a new file never replaces
// anything, and a write that fails says why and is never reported as success.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <csignal>

#include "DocumentJson.h"
#include "FileAccess.h"
#include "ScriptedMessageSink.h"
#include "ZebctlProcess.h"

namespace zeb::test {
namespace {

class FilesWritten : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        CZebM40SettingsDoc doc;
        doc.OnNewDocument(5, 0);
        Put("doc.json", DocumentToJsonText(doc));
    }
    QString Path(const QString& name) const { return dir.filePath(name); }
    void Put(const QString& name, const QByteArray& bytes) {
        QFile f(Path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray Get(const QString& name) const {
        QFile f(Path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    // Nothing but the given names in the folder: no temporary file left behind.
    QStringList Entries() const {
        return QDir(dir.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                       QDir::Name);
    }

    QTemporaryDir dir;
};

TEST_F(FilesWritten, BuildRefusesAnExistingOutputItsOwnInputALinkAndADevice) {
    Put("taken.zms", "keep");
    ToolRun r = Zebctl({"build", Path("doc.json"), Path("taken.zms")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("already exists")) << r.err.toStdString();
    EXPECT_EQ(Get("taken.zms"), "keep");

    const QByteArray input = Get("doc.json");
    EXPECT_EQ(Zebctl({"build", Path("doc.json"), Path("doc.json")}).exitCode, 2);
    EXPECT_EQ(Get("doc.json"), input);

    // A link, dangling or not, is a name that exists: neither it nor its target is written.
    ASSERT_TRUE(QFile::link(Path("target.zms"), Path("dangling.zms")));
    EXPECT_EQ(Zebctl({"build", Path("doc.json"), Path("dangling.zms")}).exitCode, 2);
    EXPECT_FALSE(QFileInfo::exists(Path("target.zms")));
    ASSERT_TRUE(QFile::link(Path("taken.zms"), Path("link.zms")));
    EXPECT_EQ(Zebctl({"build", Path("doc.json"), Path("link.zms")}).exitCode, 2);
    EXPECT_EQ(Get("taken.zms"), "keep");

    EXPECT_EQ(Zebctl({"build", Path("doc.json"), "/dev/null"}).exitCode, 2);
    EXPECT_FALSE(QFileInfo("/dev/null").isFile());
    EXPECT_EQ(Entries(), (QStringList{"dangling.zms", "doc.json", "link.zms", "taken.zms"}));

    EXPECT_EQ(Zebctl({"build", Path("doc.json"), Path("new.zms")}).exitCode, 0);
    EXPECT_TRUE(Get("new.zms").startsWith("\xFF\xFE\xFF"));
}

TEST_F(FilesWritten, NewFileNeverReplacesAndGetsTheUsualPermissions) {
    Put("raced.zms", "theirs");
    QString error;
    EXPECT_FALSE(WriteFileSafely(Path("raced.zms"), "mine", WriteMode::kCreateNew, error));
    EXPECT_TRUE(error.contains("already exists")) << error.toStdString();
    EXPECT_EQ(Get("raced.zms"), "theirs");
    EXPECT_TRUE(WriteFileSafely(Path("fresh.zms"), "mine", WriteMode::kCreateNew, error));
    EXPECT_EQ(Get("fresh.zms"), "mine");
    EXPECT_TRUE(QFileInfo(Path("fresh.zms")).permissions() & QFileDevice::ReadGroup);
}

TEST_F(FilesWritten, DocumentSaveReplacesOnlyARegularFile) {
    ScriptedMessageSink sink;
    CZebM40SettingsDoc doc;
    doc.OnNewDocument(5, 0);

    Put("old.zms", "old");
    QFile(Path("old.zms")).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    ASSERT_TRUE(doc.OnSaveDocument(Path("old.zms")));
    EXPECT_EQ(Get("old.zms"), doc.Store());
    // The file keeps its permissions (owner only here), as a save in place would.
    EXPECT_EQ(QFileInfo(Path("old.zms")).permissions() & 0x7077,
              QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.zms"));
    sink.ExpectAny();
    EXPECT_FALSE(doc.OnSaveDocument(Path("folder.zms")));
    EXPECT_TRUE(QFileInfo(Path("folder.zms")).isDir());

    ASSERT_TRUE(QFile::link(Path("old.zms"), Path("link.zms")));
    sink.Expect(QStringLiteral("The file \"%1\" cannot be saved: it is a symbolic link; save "
                               "under the name of the file it points to")
                    .arg(Path("link.zms")));
    EXPECT_FALSE(doc.OnSaveDocument(Path("link.zms")));
    EXPECT_TRUE(QFileInfo(Path("link.zms")).isSymLink());

    sink.ExpectAny();
    EXPECT_FALSE(doc.OnSaveDocument("/dev/null"));
    EXPECT_FALSE(QFileInfo("/dev/null").isFile());
    EXPECT_EQ(doc.PathName(), Path("old.zms"));
    EXPECT_EQ(Entries(), (QStringList{"doc.json", "folder.zms", "link.zms", "old.zms"}));
}

TEST_F(FilesWritten, FailedWriteSaysWhyAndLeavesTheTargetAsItWas) {
    // A file size limit fails the write half-way, as a full disk does.
    Put("kept.zms", "kept");
    struct rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    QString replaceError;
    QString newError;
    const QByteArray big(5000, 'x');
    const bool replaced =
        WriteFileSafely(Path("kept.zms"), big, WriteMode::kReplaceRegular, replaceError);
    const bool created = WriteFileSafely(Path("new.zms"), big, WriteMode::kCreateNew, newError);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(replaced);
    EXPECT_FALSE(created);
    EXPECT_EQ(
        replaceError,
        QStringLiteral("The file \"%1\" cannot be saved: File too large").arg(Path("kept.zms")));
    EXPECT_TRUE(newError.endsWith("File too large")) << newError.toStdString();
    EXPECT_EQ(Get("kept.zms"), "kept");
    EXPECT_EQ(Entries(), (QStringList{"doc.json", "kept.zms"}));
}

TEST_F(FilesWritten, UnwritableStandardOutputIsAnErrorNotASuccess) {
    const QString data = QStringLiteral(ZEB_MODEL_TEST_DATA "/new_type5.zms");
    ToolRun full = ZebctlInShell("\"$ZEBCTL\" dump '" + data + "' > /dev/full");
    EXPECT_EQ(full.exitCode, 2);
    EXPECT_TRUE(full.err.contains("No space left on device")) << full.err.toStdString();

    ToolRun closed = ZebctlInShell("\"$ZEBCTL\" dump '" + data + "' >&-");
    EXPECT_EQ(closed.exitCode, 2);
    EXPECT_TRUE(closed.err.contains("standard output could not be written"));

    // Closed output and a file to write: the new file must not take standard output's place.
    ToolRun build =
        ZebctlInShell("\"$ZEBCTL\" build '" + Path("doc.json") + "' '" + Path("out.zms") + "' >&-");
    EXPECT_EQ(build.exitCode, 0) << build.err.toStdString();
    EXPECT_EQ(Get("out.zms").left(3), QByteArray("\xFF\xFE\xFF"));

    EXPECT_EQ(ZebctlInShell("ZEB_SERIAL_PORTS=/dev/a \"$ZEBCTL\" ports > /dev/full").exitCode, 2);
    EXPECT_EQ(ZebctlInShell("\"$ZEBCTL\" --help > /dev/full").exitCode, 2);
}

}  // namespace
}  // namespace zeb::test
