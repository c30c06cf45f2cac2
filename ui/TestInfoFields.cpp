#include "TestInfoFields.h"

#include "IniFile.h"
#include "TestProperty.h"

namespace zeb {

const std::array<TestInfoField, kTestInfoFieldCount>& TestInfoFieldTable() {
    using P = CTestProperty;
    static const std::array<TestInfoField, kTestInfoFieldCount> kTable = {{
        {"INI_KEY_TEMPERATURE", &P::m_strTemperature, "Temperature:"},
        {"INI_KEY_HUMIDITY", &P::m_strHumidity, "Humidity:"},
        {"INI_KEY_ATM", &P::m_strAtm, "Atmospheric:"},
        {"INI_KEY_MODEL", &P::m_strModel, "Model:"},
        {"INI_KEY_SERIAL", &P::m_strSerial, "Serial:"},
        {"INI_KEY_OPERATOR", &P::m_strOperator, "Operator:"},
        {"INI_KEY_STANDARD", &P::m_strStandard, "Standard:"},
        {"INI_KEY_EUT_INFO", &P::m_strEutInfo, "EUT information:"},
        {"INI_KEY_EUT_MODE", &P::m_strEutMode, "Operation mode:"},
        {"INI_KEY_EUT_COMMENT", &P::m_strEutComment, "Comment:"},
        {"INI_KEY_FREE_INPUT1_TITLE", &P::m_strFreeInput1Title, ""},
        {"INI_KEY_FREE_INPUT1", &P::m_strFreeInput1, ""},
        {"INI_KEY_FREE_INPUT2_TITLE", &P::m_strFreeInput2Title, ""},
        {"INI_KEY_FREE_INPUT2", &P::m_strFreeInput2, ""},
    }};
    return kTable;
}

TestInfoTexts ReadTestInfo(const CTestProperty& property) {
    TestInfoTexts texts;
    const auto& table = TestInfoFieldTable();
    for (int i = 0; i < kTestInfoFieldCount; ++i) {
        texts[i] = property.*(table[i].member);
    }
    return texts;
}

void TakeTestInfo(CTestProperty& property, const TestInfoTexts& texts) {
    const auto& table = TestInfoFieldTable();
    for (int i = 0; i < kTestInfoFieldCount; ++i) {
        property.*(table[i].member) = texts[i];
    }
}

void SaveTestInfo(CTestProperty& property, const TestInfoTexts& texts) {
    const auto& table = TestInfoFieldTable();
    for (int i = 0; i < kTestInfoFieldCount; ++i) {
        WriteIniString(QLatin1String(ini::kSectionTestInfo), QLatin1String(table[i].key), texts[i]);
        property.*(table[i].member) = texts[i];
    }
}

void SaveCompanyData(CTestProperty& property, const QString& company, const QString& place) {
    WriteIniString(QLatin1String(ini::kSectionProperty), QStringLiteral("INI_KEY_COMPANY_NAME"),
                   company);
    property.m_strCompanyName = company;
    WriteIniString(QLatin1String(ini::kSectionProperty), QStringLiteral("INI_KEY_TEST_PLACE"),
                   place);
    property.m_strTestPlace = place;
}

namespace {

void Store(const char* section, const char* key, QString& member, const QString& value) {
    WriteIniString(QLatin1String(section), QLatin1String(key), value);
    member = value;
}

}  // namespace

ReportOptionTexts ReadReportOptions(const CTestProperty& property) {
    return {property.m_strLabAddress, property.m_strLabLogo, property.m_strReportPrefix};
}

void SaveReportOptions(CTestProperty& property, const ReportOptionTexts& texts) {
    using namespace ini;
    Store(kSectionProperty, kKeyLabAddress, property.m_strLabAddress, texts.labAddress);
    Store(kSectionProperty, kKeyLabLogo, property.m_strLabLogo, texts.labLogo);
    Store(kSectionProperty, kKeyReportPrefix, property.m_strReportPrefix, texts.reportPrefix);
}

const std::array<const char*, 4>& CriterionCodes() {
    static const std::array<const char*, 4> kCodes = {"A", "B", "C", "D"};
    return kCodes;
}

ReportInfoTexts ReadReportInfo(const CTestProperty& property) {
    return {property.m_strCustomerName, property.m_strCustomerAddress, property.m_strDateOfReceipt,
            property.m_strCriterion};
}

void TakeReportInfo(CTestProperty& property, const ReportInfoTexts& texts) {
    property.m_strCustomerName = texts.customerName;
    property.m_strCustomerAddress = texts.customerAddress;
    property.m_strDateOfReceipt = texts.dateOfReceipt;
    property.m_strCriterion = texts.criterion;
}

void SaveReportInfo(CTestProperty& property, const ReportInfoTexts& texts) {
    using namespace ini;
    Store(kSectionReportInfo, kKeyCustomerName, property.m_strCustomerName, texts.customerName);
    Store(kSectionReportInfo, kKeyCustomerAddress, property.m_strCustomerAddress,
          texts.customerAddress);
    Store(kSectionReportInfo, kKeyDateOfReceipt, property.m_strDateOfReceipt, texts.dateOfReceipt);
    Store(kSectionReportInfo, kKeyCriterion, property.m_strCriterion, texts.criterion);
}

}  // namespace zeb
