#include <gtest/gtest.h>
#include <QDateTime>

#include <utility>

#include "IniFile.h"
#include "TempConfigHome.h"
#include "TestProperty.h"
#include "TestPropertyJson.h"

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

// The dialogs that edit the environment write these keys by name; a misspelt key on the reading
// side would quietly show the default instead of what the operator saved.
TEST(TestProperty, EveryFieldComesFromItsOwnKey) {
    zeb::test::TempConfigHome home;
    const std::pair<const char*, QString CTestProperty::*> keys[] = {
        {"INI_KEY_TEMPERATURE", &CTestProperty::m_strTemperature},
        {"INI_KEY_HUMIDITY", &CTestProperty::m_strHumidity},
        {"INI_KEY_ATM", &CTestProperty::m_strAtm},
        {"INI_KEY_MODEL", &CTestProperty::m_strModel},
        {"INI_KEY_SERIAL", &CTestProperty::m_strSerial},
        {"INI_KEY_OPERATOR", &CTestProperty::m_strOperator},
        {"INI_KEY_STANDARD", &CTestProperty::m_strStandard},
        {"INI_KEY_EUT_INFO", &CTestProperty::m_strEutInfo},
        {"INI_KEY_EUT_MODE", &CTestProperty::m_strEutMode},
        {"INI_KEY_EUT_COMMENT", &CTestProperty::m_strEutComment},
        {"INI_KEY_FREE_INPUT1_TITLE", &CTestProperty::m_strFreeInput1Title},
        {"INI_KEY_FREE_INPUT1", &CTestProperty::m_strFreeInput1},
        {"INI_KEY_FREE_INPUT2_TITLE", &CTestProperty::m_strFreeInput2Title},
        {"INI_KEY_FREE_INPUT2", &CTestProperty::m_strFreeInput2},
    };
    for (const auto& [key, field] : keys) {
        zeb::WriteIniString("INI_SECTION_TEST_INFO", key, QStringLiteral("v-") + key);
    }
    zeb::WriteIniString("INI_SECTION_PROPERTY", "INI_KEY_COMPANY_NAME", "v-company");
    zeb::WriteIniString("INI_SECTION_PROPERTY", "INI_KEY_TEST_PLACE", "v-place");
    // The company data belong to their own section only.
    zeb::WriteIniString("INI_SECTION_TEST_INFO", "INI_KEY_TEST_PLACE", "wrong section");

    CTestProperty p;
    p.LoadFromIni();
    EXPECT_EQ(p.m_strCompanyName, "v-company");
    EXPECT_EQ(p.m_strTestPlace, "v-place");
    for (const auto& [key, field] : keys) {
        EXPECT_EQ(p.*field, QStringLiteral("v-") + key);
    }
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

// The journal records the environment as JSON and the report from a journal reads it back:
// every field must come back in its own member, and bad JSON must change nothing.
TEST(TestPropertyJson, EveryFieldRoundTripsAndBadFieldsChangeNothing) {
    using T = CTestProperty;
    QString T::*const texts[] = {
        &T::m_strCompanyName,     &T::m_strTestPlace,    &T::m_strModel,
        &T::m_strSerial,          &T::m_strOperator,     &T::m_strStandard,
        &T::m_strTemperature,     &T::m_strHumidity,     &T::m_strAtm,
        &T::m_strEutInfo,         &T::m_strEutMode,      &T::m_strEutComment,
        &T::m_strFreeInput1Title, &T::m_strFreeInput1,   &T::m_strFreeInput2Title,
        &T::m_strFreeInput2,      &T::m_strLabAddress,   &T::m_strLabLogo,
        &T::m_strReportPrefix,    &T::m_strCustomerName, &T::m_strCustomerAddress,
        &T::m_strDateOfReceipt,   &T::m_strCriterion,
    };
    CTestProperty p;
    int n = 0;
    for (QString T::*text : texts) {
        p.*text = QStringLiteral("value %1 ä").arg(++n);
    }
    p.m_tmTestDate = 1714555800;
    const QJsonObject json = zeb::TestPropertyToJson(p);
    EXPECT_EQ(json.size(), 24);

    CTestProperty back;
    QString error;
    ASSERT_TRUE(zeb::TestPropertyFromJson(json, back, error)) << error.toStdString();
    n = 0;
    for (QString T::*text : texts) {
        EXPECT_EQ(back.*text, QStringLiteral("value %1 ä").arg(++n));
    }
    EXPECT_EQ(back.m_tmTestDate, 1714555800);

    const CTestProperty before = back;
    for (const auto& [key, value] :
         std::vector<std::pair<QString, QJsonValue>>{{"m_strModel", 42},
                                                     {"m_tmTestDate", "today"},
                                                     {"m_tmTestDate", 1.5},
                                                     {"m_strColour", "red"}}) {
        QJsonObject bad = json;
        bad.insert(QStringLiteral("m_strCompanyName"), "changed");
        bad.insert(key, value);
        EXPECT_FALSE(zeb::TestPropertyFromJson(bad, back, error)) << key.toStdString();
        EXPECT_TRUE(error.contains(key)) << error.toStdString();
        EXPECT_EQ(back.m_strCompanyName, before.m_strCompanyName);
    }
}
