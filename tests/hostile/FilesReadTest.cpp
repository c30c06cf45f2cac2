// Files read: only regular files of a sane size are read, whatever the path names, so no
// device, pipe or huge file can hang the program or fill its memory; a document cannot hold
// more steps than the editor allows.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <sys/stat.h>

#include "DocumentJson.h"
#include "FileAccess.h"
#include "IniFile.h"
#include "ScriptedMessageSink.h"
#include "TempConfigHome.h"
#include "ZebctlProcess.h"

namespace zeb::test {
namespace {

class FilesRead : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString Path(const QString& name) const { return dir.filePath(name); }
    void Put(const QString& name, const QByteArray& bytes) {
        QFile f(Path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    // A document whose explicit step list has n steps, one of them judged.
    QByteArray DocumentWithSteps(int n) {
        CZebM40SettingsDoc doc;
        doc.OnNewDocument(5, 0);
        QJsonObject json = DocumentToJson(doc);
        const QJsonObject step = json.value("steps").toArray().at(0).toObject();
        QJsonArray steps;
        for (int i = 0; i < n; ++i) {
            steps.append(step);
        }
        QJsonObject judged = step;
        judged.insert("m_nResult", 2);
        judged.insert("m_strComment", "ok");
        steps.replace(0, judged);
        json.insert("steps", steps);
        return QJsonDocument(json).toJson(QJsonDocument::Compact);
    }

    QTemporaryDir dir;
};

TEST_F(FilesRead, DevicesPipesAndHugeFilesAreRefusedBeforeReading) {
    ASSERT_EQ(mkfifo(QFile::encodeName(Path("pipe")).constData(), 0600), 0);
    {
        // Sparse: 200 MB long, nothing written.
        QFile big(Path("big.json"));
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        ASSERT_TRUE(big.resize(200LL * 1024 * 1024));
    }
    // Each run has five seconds: a read that never ends fails it.
    for (const QString& input : {QStringLiteral("/dev/zero"), QStringLiteral("/dev/urandom"),
                                 Path("pipe"), Path("big.json"), dir.path()}) {
        SCOPED_TRACE(input.toStdString());
        EXPECT_EQ(Zebctl({"dump", input}, {}, 5000).exitCode, 2);
        EXPECT_EQ(Zebctl({"build", input, Path("out.zms")}, {}, 5000).exitCode, 2);
        EXPECT_EQ(Zebctl({"report", input, Path("out.xlsx")}, {}, 5000).exitCode, 2);
        EXPECT_EQ(Zebctl({"step", input, "1"}, {}, 5000).exitCode, 2);
    }
    EXPECT_FALSE(QFileInfo::exists(Path("out.zms")));

    // The desktop program's open takes the same path.
    ScriptedMessageSink sink;
    sink.Expect(QStringLiteral("\"%1\" is not a regular file; only regular files are read.")
                    .arg(Path("pipe")));
    CZebM40SettingsDoc doc;
    EXPECT_FALSE(doc.OnOpenDocument(Path("pipe"), 5u, 0));
    EXPECT_EQ(doc.LoadError(), 1);
}

TEST_F(FilesRead, ReadLimitHoldsAtItsEdge) {
    Put("edge", QByteArray(100, 'x'));
    QByteArray bytes;
    QString error;
    EXPECT_TRUE(ReadRegularFile(Path("edge"), 100, bytes, error));
    EXPECT_EQ(bytes.size(), 100);
    EXPECT_FALSE(ReadRegularFile(Path("edge"), 99, bytes, error));
    EXPECT_TRUE(bytes.isEmpty());
    EXPECT_TRUE(error.contains("larger than 99 bytes")) << error.toStdString();
    EXPECT_FALSE(ReadRegularFile(Path("missing"), 100, bytes, error));
    EXPECT_TRUE(error.contains("No such file or directory")) << error.toStdString();
}

TEST_F(FilesRead, IniFileThatIsNoRegularFileReadsAsMissingAndIsLeftAlone) {
    TempConfigHome home;
    ASSERT_TRUE(home.IsValid());
    WriteIniString("S", "K", "stored");  // makes the folder
    const QString ini = IniFilePath();
    ASSERT_TRUE(QFile::remove(ini));

    ASSERT_TRUE(QFile::link("/dev/zero", ini));
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(ReadIniString("S", "K", "default"), "default");
    WriteIniString("S", "K", "new");
    EXPECT_EQ(QFileInfo(ini).symLinkTarget(), "/dev/zero");
    ASSERT_TRUE(QFile::remove(ini));

    ASSERT_EQ(mkfifo(QFile::encodeName(ini).constData(), 0600), 0);
    EXPECT_EQ(ReadIniString("S", "K", "default"), "default");
    WriteIniString("S", "K", "new");
    EXPECT_FALSE(QFileInfo(ini).isFile());
    ASSERT_TRUE(QFile::remove(ini));
    EXPECT_LT(clock.elapsed(), 5000);

    // A file beyond the limit is not read either, and not replaced by a one-key file.
    {
        QFile f(ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(kIniFileMaxBytes + 1));
    }
    EXPECT_EQ(ReadIniString("S", "K", "default"), "default");
    WriteIniString("S", "K", "new");
    EXPECT_EQ(QFileInfo(ini).size(), kIniFileMaxBytes + 1);

    // The report command reads the test environment from it and must not hang either.
    ASSERT_TRUE(QFile::remove(ini));
    ASSERT_TRUE(QFile::link("/dev/zero", ini));
    Put("doc.json", DocumentWithSteps(1));
    const ToolRun r = Zebctl({"report", Path("doc.json"), Path("r.xlsx"), "--test-time", "0"},
                             {{"XDG_CONFIG_HOME", home.Path()}}, 10000);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
}

TEST_F(FilesRead, ExplicitStepListBeyondTheLimitIsRefused) {
    Put("limit.json", DocumentWithSteps(1000));
    Put("over.json", DocumentWithSteps(1001));
    ToolRun over = Zebctl({"build", Path("over.json"), Path("over.zms")});
    EXPECT_EQ(over.exitCode, 2);
    EXPECT_TRUE(
        over.err.contains("The number of test step exceeds limit.\nReduce the number of "
                          "steps."))
        << over.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(Path("over.zms")));

    ToolRun limit = Zebctl({"build", Path("limit.json"), Path("limit.zms")});
    EXPECT_EQ(limit.exitCode, 0) << limit.err.toStdString();
    CZebM40SettingsDoc doc;
    ASSERT_EQ(doc.LoadFile(Path("limit.zms"), 5u, 0), CZebM40SettingsDoc::kLoadOk);
    EXPECT_EQ(doc.Steps().size(), 1000u);
}

TEST_F(FilesRead, BuildSaysResultsAndCommentsAreLeftOut) {
    Put("judged.json", DocumentWithSteps(3));
    ToolRun judged = Zebctl({"build", Path("judged.json"), Path("judged.zms")});
    EXPECT_EQ(judged.exitCode, 0);
    EXPECT_TRUE(
        judged.err.contains("1 step(s) carry a result (m_nResult) or a comment "
                            "(m_strComment)"))
        << judged.err.toStdString();

    CZebM40SettingsDoc doc;
    doc.OnNewDocument(5, 0);
    Put("plain.json", DocumentToJsonText(doc));
    ToolRun plain = Zebctl({"build", Path("plain.json"), Path("plain.zms")});
    EXPECT_EQ(plain.exitCode, 0);
    EXPECT_TRUE(plain.err.isEmpty()) << plain.err.toStdString();
}

}  // namespace
}  // namespace zeb::test
