#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "IniFile.h"
#include "TempConfigHome.h"
#include "Version.h"

namespace {

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_home.IsValid()); }
    QString IniPath() const { return m_home.Path() + "/Brakmoor/ZEB/ZEB.ini"; }
    QByteArray FileBytes() const {
        QFile f(IniPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    zeb::test::TempConfigHome m_home;
};

TEST_F(IniFileTest, FileLivesBelowTheConfigurationFolder) {
    EXPECT_EQ(zeb::IniFilePath(), IniPath());
}

TEST_F(IniFileTest, FirstStartGivesDefaultsAndFirstWriteCreatesTheFile) {
    EXPECT_EQ(zeb::ReadIniString("INI_SECTION_MACHINE_TYPE", "INI_KEY_MACHINE_TYPE", "5"), "5");
    EXPECT_TRUE(QFileInfo(m_home.Path() + "/Brakmoor/ZEB").isDir());
    EXPECT_FALSE(QFileInfo::exists(IniPath()));

    zeb::WriteIniString("INI_SECTION_MACHINE_TYPE", "INI_KEY_MACHINE_TYPE", "4");
    EXPECT_EQ(FileBytes(), QByteArray("[INI_SECTION_MACHINE_TYPE]\nINI_KEY_MACHINE_TYPE=4\n"));
    EXPECT_EQ(zeb::ReadIniString("ini_section_machine_type", "ini_key_machine_type", "5"), "4");
}

TEST_F(IniFileTest, PresentEmptyValueStaysEmpty) {
    zeb::WriteIniString("INI_SECTION_PROPERTY", "INI_KEY_TEST_PLACE", "");
    EXPECT_EQ(zeb::ReadIniString("INI_SECTION_PROPERTY", "INI_KEY_TEST_PLACE", "dflt"), "");
    EXPECT_EQ(zeb::ReadIniString("INI_SECTION_PROPERTY", "INI_KEY_COMPANY_NAME", "dflt"), "dflt");
}

TEST_F(IniFileTest, LongValuesReadBackCutTo519Characters) {
    QString value;
    for (int i = 0; i < 600; ++i) {
        value += QChar('a' + i % 26);
    }
    zeb::WriteIniString("S", "K", value);
    const QString back = zeb::ReadIniString("S", "K", "");
    EXPECT_EQ(back.size(), 519);
    EXPECT_EQ(back, value.left(519));

    // A cut never leaves half of a character outside the basic plane behind.
    const QString clef = QString::fromUtf8("\xF0\x9D\x84\x9E");
    zeb::WriteIniString("S", "K", QString(518, 'x') + clef);
    EXPECT_EQ(zeb::ReadIniString("S", "K", ""), QString(518, 'x'));

    // A read never hands back more, not even when it falls back to its default.
    EXPECT_EQ(zeb::ReadIniString("S", "missing", value), value.left(519));
    EXPECT_EQ(zeb::ReadIniString("missing", "K", value), value.left(519));
}

TEST_F(IniFileTest, FileIsReadOnlyBetweenWritesAndSecondWriteSucceeds) {
    zeb::WriteIniString("INI_SECTION_PROPERTY", "INI_KEY_COMPANY_NAME", "First");
    // The "user" bits say what the running user may do (root may do anything); the mode bits
    // are what the file carries.
    const auto writable = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    EXPECT_FALSE(QFile::permissions(IniPath()) & writable);

    zeb::WriteIniString("INI_SECTION_PROPERTY", "INI_KEY_COMPANY_NAME", "Second");
    EXPECT_EQ(zeb::ReadIniString("INI_SECTION_PROPERTY", "INI_KEY_COMPANY_NAME", ""), "Second");
    EXPECT_FALSE(QFile::permissions(IniPath()) & writable);
}

TEST_F(IniFileTest, WriteKeepsOtherSectionsKeysAndComments) {
    ASSERT_TRUE(QDir().mkpath(m_home.Path() + "/Brakmoor/ZEB"));
    {
        QFile f(IniPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(
            "\xEF\xBB\xBF; operator notes\n[INI_SECTION_MDICHILD_X]\nINI_KEY_MDICHILD_X=10\n"
            "[INI_SECTION_TEST_INFO]\nINI_KEY_HUMIDITY=40 %\n");
    }
    zeb::WriteIniString("INI_SECTION_TEST_INFO", "INI_KEY_TEMPERATURE", "21 deg.C");
    EXPECT_EQ(FileBytes(),
              QByteArray("\xEF\xBB\xBF; operator notes\n[INI_SECTION_MDICHILD_X]\n"
                         "INI_KEY_MDICHILD_X=10\n[INI_SECTION_TEST_INFO]\nINI_KEY_HUMIDITY=40 %\n"
                         "INI_KEY_TEMPERATURE=21 deg.C\n"));
    EXPECT_EQ(zeb::ReadIniString("INI_SECTION_MDICHILD_X", "INI_KEY_MDICHILD_X", ""), "10");
}

// Tests run as root, where permission bits stop nothing; a configuration folder below a regular
// file can be created by nobody.
TEST_F(IniFileTest, UnwritableFolderLosesTheWriteQuietly) {
    const QString blocker = m_home.Path() + "/blocker";
    {
        QFile f(blocker);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a folder");
    }
    qputenv("XDG_CONFIG_HOME", (blocker + "/config").toUtf8());
    zeb::WriteIniString("INI_SECTION_PROPERTY", "INI_KEY_COMPANY_NAME", "Lost");
    EXPECT_EQ(zeb::ReadIniString("INI_SECTION_PROPERTY", "INI_KEY_COMPANY_NAME", "dflt"), "dflt");
    QFile f(blocker);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("not a folder"));
}

TEST_F(IniFileTest, UnreadableExistingFileIsNeverReplaced) {
    // A folder where the file should be: it cannot be read, so it must not be clobbered either.
    ASSERT_TRUE(QDir().mkpath(IniPath()));
    zeb::WriteIniString("S", "K", "v");
    EXPECT_TRUE(QFileInfo(IniPath()).isDir());
    EXPECT_EQ(zeb::ReadIniString("S", "K", "dflt"), "dflt");
}

TEST(Version, ComesFromTheProjectVersion) {
    EXPECT_EQ(zeb::GetVersionString(), QString(ZEB_VERSION_STRING) + ".0");
}

}  // namespace
