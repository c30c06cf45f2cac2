#include "TestProperty.h"

#include <QDateTime>

#include "IniFile.h"

namespace zeb {

namespace {

const char* const kBlank = "________";
const char* const kNotSet = "----";
const char* const kDefaultCriterion = "A";

QString Read(const char* section, const char* key, const char* defaultValue) {
    return ReadIniString(QLatin1String(section), QLatin1String(key), QLatin1String(defaultValue));
}

QString FormatMoment(qint64 moment, const char* format) {
    if (moment == 0) {
        return QLatin1String(kNotSet);
    }
    const QDateTime local = QDateTime::fromSecsSinceEpoch(moment, Qt::LocalTime);
    if (!local.isValid()) {
        return QString();
    }
    return local.toString(QLatin1String(format));
}

}  // namespace

void CTestProperty::LoadFromIni() {
    using namespace ini;
    m_strCompanyName = Read(kSectionProperty, "INI_KEY_COMPANY_NAME", "");
    m_strTestPlace = Read(kSectionProperty, "INI_KEY_TEST_PLACE", "");
    m_tmTestDate = 0;
    m_strTemperature = Read(kSectionTestInfo, "INI_KEY_TEMPERATURE", "25.0 deg.C");
    m_strHumidity = Read(kSectionTestInfo, "INI_KEY_HUMIDITY", "50.0 %");
    m_strAtm = Read(kSectionTestInfo, "INI_KEY_ATM", "1013 hPa");
    m_strModel = Read(kSectionTestInfo, "INI_KEY_MODEL", kBlank);
    m_strSerial = Read(kSectionTestInfo, "INI_KEY_SERIAL", kBlank);
    m_strOperator = Read(kSectionTestInfo, "INI_KEY_OPERATOR", kBlank);
    m_strStandard = Read(kSectionTestInfo, "INI_KEY_STANDARD", "IEC61000-4-5");
    m_strEutInfo = Read(kSectionTestInfo, "INI_KEY_EUT_INFO", kBlank);
    m_strEutMode = Read(kSectionTestInfo, "INI_KEY_EUT_MODE", kBlank);
    m_strEutComment = Read(kSectionTestInfo, "INI_KEY_EUT_COMMENT", kBlank);
    m_strFreeInput1Title = Read(kSectionTestInfo, "INI_KEY_FREE_INPUT1_TITLE", "Title1");
    m_strFreeInput1 = Read(kSectionTestInfo, "INI_KEY_FREE_INPUT1", kBlank);
    m_strFreeInput2Title = Read(kSectionTestInfo, "INI_KEY_FREE_INPUT2_TITLE", "Title2");
    m_strFreeInput2 = Read(kSectionTestInfo, "INI_KEY_FREE_INPUT2", kBlank);
    m_strLabAddress = Read(kSectionProperty, kKeyLabAddress, "");
    m_strLabLogo = Read(kSectionProperty, kKeyLabLogo, "");
    m_strReportPrefix = Read(kSectionProperty, kKeyReportPrefix, "");
    m_strCustomerName = Read(kSectionReportInfo, kKeyCustomerName, "");
    m_strCustomerAddress = Read(kSectionReportInfo, kKeyCustomerAddress, "");
    m_strDateOfReceipt = Read(kSectionReportInfo, kKeyDateOfReceipt, "");
    m_strCriterion = Read(kSectionReportInfo, kKeyCriterion, kDefaultCriterion);
}

QString CTestProperty::GetTestDateText() const {
    return FormatMoment(m_tmTestDate, "yyyy/MM/dd");
}

QString CTestProperty::GetTestTimeText() const {
    return FormatMoment(m_tmTestDate, "HH:mm:ss");
}

}  // namespace zeb
