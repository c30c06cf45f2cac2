#include <gtest/gtest.h>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include "DocumentJson.h"
#include "IniFile.h"
#include "TempConfigHome.h"
#include "XlsxReader.h"

namespace {

class ZebctlReportTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(m_home.IsValid());
        zeb::CZebM40SettingsDoc doc;
        doc.OnNewDocument(5, 0);
        ASSERT_FALSE(doc.Steps().empty());
        doc.Steps()[0].m_nResult = zeb::kResultFail;
        doc.Steps()[0].m_strComment = "arc at L1";
        QFile f(Path("doc.json"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(zeb::DocumentToJsonText(doc));
    }

    int Run(const QStringList& args) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", m_home.Path());
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(ZEBCTL_PATH), QStringList{"report"} + args);
        if (!p.waitForFinished(30000)) {
            return -1;
        }
        m_stderr = QString::fromUtf8(p.readAllStandardError());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }
    QString Path(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    zeb::test::TempConfigHome m_home;
    QString m_stderr;
};

TEST_F(ZebctlReportTest, WritesTheReportOfAJsonDocumentWithItsResults) {
    zeb::WriteIniString("INI_SECTION_PROPERTY", "INI_KEY_COMPANY_NAME", "Acme Labs");
    ASSERT_EQ(Run({Path("doc.json"), Path("out.xlsx"), "--test-time", "0"}), 0)
        << m_stderr.toStdString();
    std::vector<zeb::test::XlsxSheet> sheets;
    QString error;
    ASSERT_TRUE(zeb::test::ReadXlsx(Path("out.xlsx"), sheets, error)) << error.toStdString();
    ASSERT_EQ(sheets.size(), 3u);
    EXPECT_EQ(sheets[0].At("C2"), "Acme Labs");
    EXPECT_EQ(sheets[0].At("H5"), "----");
    EXPECT_EQ(sheets[1].At("H3"), "FAIL");
    EXPECT_EQ(sheets[1].At("H11"), "FAIL");
    EXPECT_EQ(sheets[1].At("I11"), "arc at L1");
}

TEST_F(ZebctlReportTest, RefusesBadInputAndNeverOverwrites) {
    {
        QFile f(Path("taken.xlsx"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("keep");
    }
    EXPECT_EQ(Run({Path("doc.json"), Path("taken.xlsx")}), 2);
    EXPECT_EQ(QFileInfo(Path("taken.xlsx")).size(), 4);
    EXPECT_EQ(Run({Path("doc.json"), Path("a.xlsx"), "--test-time", "soon"}), 2);
    EXPECT_EQ(Run({Path("missing.json"), Path("a.xlsx")}), 2);
    EXPECT_EQ(Run({Path("doc.json")}), 2);
    {
        QFile f(Path("broken.zms"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("\xFF\xFE\x01garbage");
    }
    EXPECT_EQ(Run({Path("broken.zms"), Path("a.xlsx")}), 2);
    EXPECT_FALSE(QFileInfo::exists(Path("a.xlsx")));
}

}  // namespace
