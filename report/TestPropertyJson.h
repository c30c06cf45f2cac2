#pragma once
// The test environment as a JSON object, for the run journal and for tools. The fields of the
// spreadsheet report are named as their members ("m_strCompanyName", ..., "m_tmTestDate"); those
// the issued report added later are lab_address, lab_logo, report_prefix, customer_name,
// customer_address, date_of_receipt and criterion.

#include <QJsonObject>
#include <QString>

#include "TestProperty.h"

namespace zeb {

QJsonObject TestPropertyToJson(const CTestProperty& property);
// Fills property from json. Absent fields keep their value; a field of the wrong type or an
// unknown name is refused with a text naming it, and property is then left unchanged.
bool TestPropertyFromJson(const QJsonObject& json, CTestProperty& property, QString& error);

}  // namespace zeb
