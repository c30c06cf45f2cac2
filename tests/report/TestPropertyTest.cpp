#include <gtest/gtest.h>
#include <QDateTime>

#include "IniFile.h"
#include "TempConfigHome.h"
#include "TestProperty.h"

namespace {

using zeb::CTestProperty;

TEST(TestProperty, FreshInstallationShowsTheDefaults) {
    zeb::test::TempConfigHome home;
    CTestProperty p;
    p.m_tmTestDate = 1234;
    p.LoadFromIni();
    EXPECT_EQ(p.m_strCompanyName, "");
    EXPECT_EQ(p.m_strTestPlace, "");
    EXPECT_EQ(p.m_tmTestDate, 0);
    EXPECT_EQ(p.m_strTemperature, "25.0 deg.C");
    EXPECT_EQ(p.m_strHumidity, "50.0 %");
    EXPECT_EQ(p.m_strAtm, "1013 hPa");
    EXPECT_EQ(p.m_strModel, "________");
    EXPECT_EQ(p.m_strSerial, "________");
    EXPECT_EQ(p.m_strOperator, "________");
    EXPECT_EQ(p.m_strStandard, "IEC61000-4-5");
    EXPECT_EQ(p.m_strEutInfo, "________");
    EXPECT_EQ(p.m_strEutMode, "________");
    EXPECT_EQ(p.m_strEutComment, "________");
    EXPECT_EQ(p.m_strFreeInput1Title, "Title1");
    EXPECT_EQ(p.m_strFreeInput1, "________");
    EXPECT_EQ(p.m_strFreeInput2Title, "Title2");
    EXPECT_EQ(p.m_strFreeInput2, "________");
}

TEST(TestProperty, StoredValuesWinAndEmptyStaysEmpty) {
    zeb::test::TempConfigHome home;
    zeb::WriteIniString("INI_SECTION_PROPERTY", "INI_KEY_COMPANY_NAME", "Acme Labs");
    zeb::WriteIniString("INI_SECTION_TEST_INFO", "INI_KEY_TEMPERATURE", "");
    zeb::WriteIniString("INI_SECTION_TEST_INFO", "INI_KEY_FREE_INPUT2_TITLE", "Mains");
    zeb::WriteIniString("INI_SECTION_TEST_INFO", "INI_KEY_MODEL", "0042");
    CTestProperty p;
    p.LoadFromIni();
    EXPECT_EQ(p.m_strCompanyName, "Acme Labs");
    EXPECT_EQ(p.m_strTemperature, "");
    EXPECT_EQ(p.m_strFreeInput2Title, "Mains");
    EXPECT_EQ(p.m_strModel, "0042");
    EXPECT_EQ(p.m_strHumidity, "50.0 %");
}

TEST(TestProperty, TestMomentShowsDashesUntilSetThenLocalDateAndTime) {
    CTestProperty p;
    EXPECT_EQ(p.GetTestDateText(), "----");
    EXPECT_EQ(p.GetTestTimeText(), "----");

    const QDateTime local(QDate(2024, 3, 5), QTime(9, 7, 2), Qt::LocalTime);
    p.m_tmTestDate = local.toSecsSinceEpoch();
    EXPECT_EQ(p.GetTestDateText(), "2024/03/05");
    EXPECT_EQ(p.GetTestTimeText(), "09:07:02");
    p.m_tmTestDate =
        QDateTime(QDate(2024, 12, 31), QTime(23, 59, 59), Qt::LocalTime).toSecsSinceEpoch();
    EXPECT_EQ(p.GetTestTimeText(), "23:59:59");
}

}  // namespace
