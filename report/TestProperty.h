#pragma once
// The test environment that heads every report: who tests, what is tested, under which standard
// and ambient conditions, and when. One instance lives as long as the application; it is loaded
// from ZEB.ini once at start-up and written back only by the dialogs that edit it.

#include <QString>
#include <QtGlobal>

namespace zeb {

class CTestProperty {
public:
    virtual ~CTestProperty() = default;

    // Replaces every field by its value in ZEB.ini, or by its default when the key is missing,
    // and clears the test moment (it never survives a restart).
    void LoadFromIni();

    // The test moment in local time as "yyyy/MM/dd" and "hh:mm:ss" (24-hour clock); "----" while
    // no test has been started, empty when the moment cannot be shown.
    QString GetTestDateText() const;
    QString GetTestTimeText() const;

    // All free text: nothing parses them, units included ("25.0 deg.C" is a string).
    QString m_strCompanyName;
    QString m_strTestPlace;
    QString m_strModel;
    QString m_strSerial;
    QString m_strOperator;
    QString m_strStandard;
    qint64 m_tmTestDate = 0;  // seconds since 1970-01-01 00:00 UTC; 0 = no test started yet
    QString m_strTemperature;
    QString m_strHumidity;
    QString m_strAtm;
    QString m_strEutInfo;
    QString m_strEutMode;
    QString m_strEutComment;
    QString m_strFreeInput1Title;
    QString m_strFreeInput1;
    QString m_strFreeInput2Title;
    QString m_strFreeInput2;

    // What the issued report adds: the lab's address, its logo (a PNG or SVG file; empty for
    // none) and the prefix of its report numbers (Options); the customer, when the EUT was
    // received and the performance criterion the EUT must meet (test environment).
    QString m_strLabAddress;
    QString m_strLabLogo;
    QString m_strReportPrefix;
    QString m_strCustomerName;
    QString m_strCustomerAddress;
    QString m_strDateOfReceipt;
    QString m_strCriterion;  // "A", "B", "C" or "D"
};

// Section and key names of the test environment in ZEB.ini.
namespace ini {
inline const char* const kSectionProperty = "INI_SECTION_PROPERTY";
inline const char* const kSectionTestInfo = "INI_SECTION_TEST_INFO";
inline const char* const kSectionReportInfo = "INI_SECTION_REPORT_INFO";
inline const char* const kKeyLabAddress = "INI_KEY_LAB_ADDRESS";
inline const char* const kKeyLabLogo = "INI_KEY_LAB_LOGO";
inline const char* const kKeyReportPrefix = "INI_KEY_REPORT_PREFIX";
inline const char* const kKeyReportCounter = "INI_KEY_REPORT_COUNTER";
inline const char* const kKeyCustomerName = "INI_KEY_CUSTOMER_NAME";
inline const char* const kKeyCustomerAddress = "INI_KEY_CUSTOMER_ADDRESS";
inline const char* const kKeyDateOfReceipt = "INI_KEY_DATE_OF_RECEIPT";
inline const char* const kKeyCriterion = "INI_KEY_CRITERION";
}  // namespace ini

}  // namespace zeb
