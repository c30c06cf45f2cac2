// zebctl standards, check and plan, run as a script or a lab's check would: their lines, their
// exit codes, and the standard file beside the documents they read and write.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include "DocumentJson.h"
#include "SettingsDoc.h"

namespace zeb {
namespace {

class ZebctlStandards : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(QDir().mkpath(LabFolder()));
    }
    QString LabFolder() const {
        return m_dir.filePath(QStringLiteral("data/Brakmoor/ZEB/standards"));
    }
    QString Path(const QString& name) const { return m_dir.filePath(name); }
    void Write(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    // A settings file of the given record JSON, and optionally its standard.
    QString Document(const QString& name, const QByteArray& json) {
        const QString path = Path(name);
        const QString source = path + QStringLiteral(".json");
        Write(source, json);
        EXPECT_EQ(Run({"build", source, path}), 0) << m_stderr.toStdString();
        return path;
    }
    int Run(const QStringList& args) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ZEB_STANDARDS_DIR"), QStringLiteral(ZEB_SHIPPED_PROFILES));
        env.insert(QStringLiteral("XDG_DATA_HOME"), m_dir.filePath(QStringLiteral("data")));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(ZEBCTL_PATH), args);
        if (!p.waitForFinished(30000)) {
            return -1;
        }
        m_stdout = QString::fromUtf8(p.readAllStandardOutput());
        m_stderr = QString::fromUtf8(p.readAllStandardError());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }

    QTemporaryDir m_dir;
    QString m_stdout;
    QString m_stderr;
};

// Machine 5, DC "+, -", both polarities, 5 pulses, 60 s: only the voltages decide.
const QByteArray kDcPlan = R"({"record": {"m_ulMachineType": 5, "m_outOutput": {"m_nOutputPort": 1},
    "m_valVolt": {"m_nValueType": 2, "m_abUse": [1, 1, 1, 0, 0, 0, 0, 0, 0, 0],
                  "m_alValue": [500, 1000, 2000, 0, 0, 0, 0, 0, 0, 0]},
    "m_ulPola": 3, "m_lDisc": 5, "m_lRept": 60}})";

TEST_F(ZebctlStandards, StandardsListsEachProfileAndNamesABrokenFile) {
    ASSERT_EQ(Run({"standards"}), 0) << m_stderr.toStdString();
    EXPECT_EQ(
        m_stdout,
        QStringLiteral("id=iec61000-4-5-2005 title=IEC 61000-4-5:2005, 8.2 source=shipped "
                       "levels=1,2,3,4,X\n"
                       "id=lab-template title=Lab template source=shipped levels=1,2,3,4,X\n"));
    QFile shipped(QStringLiteral(ZEB_SHIPPED_PROFILES "/lab-template.json"));
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
    Write(LabFolder() + "/own.json",
          shipped.readAll().replace("\"id\": \"lab-template\"", "\"id\": \"acme\""));
    Write(LabFolder() + "/broken.json", "{");
    EXPECT_EQ(Run({"standards"}), 2);
    EXPECT_TRUE(m_stdout.contains(QStringLiteral("id=acme title=Lab template source=lab")));
    EXPECT_TRUE(m_stderr.contains(LabFolder() + "/broken.json: not JSON"))
        << m_stderr.toStdString();
}

TEST_F(ZebctlStandards, CheckPrintsOneLinePerFindingAndExitsByTheCount) {
    const QString plan = Document("dc.zms", kDcPlan);
    ASSERT_EQ(Run({"check", plan, "--standard", "iec61000-4-5-2005", "--level", "3"}), 0)
        << m_stderr.toStdString();
    EXPECT_EQ(m_stdout, QStringLiteral("findings=0\n"));

    ASSERT_EQ(Run({"check", plan, "--standard", "iec61000-4-5-2005", "--level", "4"}), 1);
    EXPECT_EQ(m_stdout, QStringLiteral("finding rule=levels severity=warning steps= text=The plan "
                                       "lacks 4 kV line-to-line; every level up to level 4 is "
                                       "tested.\nfindings=1\n"));
    ASSERT_EQ(Run({"check", plan, "--standard", "iec61000-4-5-2005", "--level", "X", "--voltage",
                   "2.5kV"}),
              1);
    EXPECT_TRUE(m_stdout.contains(QStringLiteral("lacks 2.5 kV line-to-line")));

    // Bad input: an unknown profile or level, level X without a voltage, no standard at all.
    EXPECT_EQ(Run({"check", plan, "--standard", "nosuch", "--level", "1"}), 2);
    EXPECT_TRUE(m_stderr.contains(QStringLiteral("nosuch is not installed")));
    EXPECT_EQ(Run({"check", plan, "--standard", "iec61000-4-5-2005", "--level", "5"}), 2);
    EXPECT_TRUE(m_stderr.contains(QStringLiteral("has no level 5")));
    EXPECT_EQ(Run({"check", plan, "--standard", "iec61000-4-5-2005", "--level", "X"}), 2);
    EXPECT_EQ(Run({"check", plan}), 2);
    EXPECT_TRUE(m_stderr.contains(QStringLiteral("no test standard")));
    EXPECT_EQ(Run({"check", Path("absent.zms"), "--standard", "lab-template", "--level", "1"}), 2);
}

TEST_F(ZebctlStandards, TheDocumentsOwnStandardTravelsThroughBuildDumpAndCheck) {
    QByteArray json = kDcPlan;
    json.chop(1);
    json += R"(, "standard": {"profile": "iec61000-4-5-2005", "level": "4"}})";
    const QString plan = Document("own.zms", json);
    ASSERT_TRUE(QFile::exists(plan + ".std"));
    ASSERT_EQ(Run({"dump", plan}), 0);
    EXPECT_TRUE(m_stdout.contains(QStringLiteral("\"standard\"")));
    EXPECT_EQ(Run({"check", plan}), 1);
    EXPECT_TRUE(m_stdout.endsWith(QStringLiteral("findings=1\n")));
    // --level alone changes the level of the document's own profile.
    EXPECT_EQ(Run({"check", plan, "--level", "3"}), 0);
    // Building over a name whose standard file is there already is refused.
    QFile::remove(plan);
    EXPECT_EQ(Run({"build", plan + ".json", plan}), 2);
    EXPECT_TRUE(m_stderr.contains(plan + ".std")) << m_stderr.toStdString();
}

TEST_F(ZebctlStandards, PlanWritesANewDocumentAndItsStandardAndRefusesWhatIsNotOffered) {
    const QString out = Path("made.zms");
    ASSERT_EQ(Run({"plan", "--standard", "iec61000-4-5-2005", "--level", "3", "--machine-type", "5",
                   "--port", "ac", "--lines", "1", out}),
              0)
        << m_stderr.toStdString();
    EXPECT_EQ(m_stdout, QStringLiteral("findings=0\n"));
    ASSERT_TRUE(QFile::exists(out + ".std"));
    EXPECT_EQ(Run({"check", out}), 0);
    CZebM40SettingsDoc doc;
    QString error;
    ASSERT_TRUE(LoadDocumentFile(out, std::nullopt, 0, doc, error));
    EXPECT_EQ(doc.Steps().size(), 72u);  // 3 levels x 3 paths x 2 polarities x 4 angles
    EXPECT_EQ(doc.Standard().level, QStringLiteral("3"));

    // Never over an existing file; the line-to-line paths alone leave the earth paths out.
    EXPECT_EQ(Run({"plan", "--standard", "iec61000-4-5-2005", "--level", "3", "--machine-type", "5",
                   "--port", "ac", "--lines", "1", out}),
              2);
    ASSERT_EQ(Run({"plan", "--standard", "iec61000-4-5-2005", "--level", "X", "--voltage", "3kV",
                   "--machine-type", "0x5", "--hw-version", "1", "--port", "dc", "--lines", "1",
                   "--paths", "normal", Path("normal.zms")}),
              0);
    EXPECT_TRUE(m_stdout.startsWith(QStringLiteral("finding rule=paths severity=warning steps= ")))
        << m_stdout.toStdString();
    EXPECT_TRUE(m_stdout.endsWith(QStringLiteral("findings=1\n")));

    const QStringList refused[] = {
        {"--standard", "nosuch", "--level", "1", "--machine-type", "5", "--port", "ac", "--lines",
         "1"},
        {"--standard", "iec61000-4-5-2005", "--level", "9", "--machine-type", "5", "--port", "ac",
         "--lines", "1"},
        {"--standard", "iec61000-4-5-2005", "--level", "1", "--machine-type", "0", "--port",
         "telecom", "--lines", "0"},
        {"--standard", "iec61000-4-5-2005", "--level", "1", "--machine-type", "4", "--port", "ac",
         "--lines", "6"},
        {"--standard", "iec61000-4-5-2005", "--level", "X", "--voltage", "7000", "--machine-type",
         "13", "--port", "telecom", "--lines", "0"},
        {"--standard", "iec61000-4-5-2005", "--level", "1", "--machine-type", "5", "--port", "ac",
         "--lines", "1", "--paths", "sideways"},
    };
    for (const QStringList& args : refused) {
        EXPECT_EQ(Run(QStringList{"plan"} + args + QStringList{Path("refused.zms")}), 2)
            << args.join(' ').toStdString();
        EXPECT_FALSE(m_stderr.isEmpty());
        EXPECT_FALSE(QFile::exists(Path("refused.zms")));
    }
}

}  // namespace
}  // namespace zeb
