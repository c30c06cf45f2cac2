#pragma once
// The editable fields of the test environment and options dialogs, without the windows: which
// record field each box edits, its INI key, and what OK and Save do with the typed texts.

#include <QString>

#include <array>

namespace zeb {

class CTestProperty;

struct TestInfoField {
    const char* key;                 // key in INI_SECTION_TEST_INFO
    QString CTestProperty::*member;  // the record field the box edits
    const char* label;               // fixed label; empty for the free titles (their own label)
};

constexpr int kTestInfoFieldCount = 14;
using TestInfoTexts = std::array<QString, kTestInfoFieldCount>;

// The fourteen fields in the order Save writes them: temperature, humidity, pressure, model,
// serial, operator, standard, EUT information, operation mode, comment, free title 1, free
// value 1, free title 2, free value 2.
const std::array<TestInfoField, kTestInfoFieldCount>& TestInfoFieldTable();

// The record's texts, in table order (what the boxes show on opening).
TestInfoTexts ReadTestInfo(const CTestProperty& property);
// OK: the texts become the record's fields; nothing reaches the INI file.
void TakeTestInfo(CTestProperty& property, const TestInfoTexts& texts);
// Save (after the operator confirmed): each text is written to the INI file and taken into
// the record, field by field in table order.
void SaveTestInfo(CTestProperty& property, const TestInfoTexts& texts);

// Options dialog, OK: company name and test place are written to INI_SECTION_PROPERTY and
// taken into the record.
void SaveCompanyData(CTestProperty& property, const QString& company, const QString& place);

// What the issued report adds to the options: the lab's address, its logo (a PNG or SVG path)
// and the prefix of its report numbers, in INI_SECTION_PROPERTY.
struct ReportOptionTexts {
    QString labAddress;
    QString labLogo;
    QString reportPrefix;
};
ReportOptionTexts ReadReportOptions(const CTestProperty& property);
// Options dialog, OK: written to ZEB.ini and taken into the record.
void SaveReportOptions(CTestProperty& property, const ReportOptionTexts& texts);

// What the issued report adds to the test environment, in INI_SECTION_REPORT_INFO: customer
// name and address, date of receipt (free text) and the required performance criterion.
struct ReportInfoTexts {
    QString customerName;
    QString customerAddress;
    QString dateOfReceipt;
    QString criterion;
};
// The criteria A to D the environment dialog offers, each with its meaning.
const std::array<const char*, 4>& CriterionCodes();
ReportInfoTexts ReadReportInfo(const CTestProperty& property);
// OK: into the record only; Save: into ZEB.ini and the record.
void TakeReportInfo(CTestProperty& property, const ReportInfoTexts& texts);
void SaveReportInfo(CTestProperty& property, const ReportInfoTexts& texts);

}  // namespace zeb
