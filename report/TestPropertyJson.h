#pragma once
// The test environment as a JSON object, every field named as its member ("m_strCompanyName",
// ..., "m_tmTestDate"), for the run journal and for tools.

#include <QJsonObject>
#include <QString>

#include "TestProperty.h"

namespace zeb {

QJsonObject TestPropertyToJson(const CTestProperty& property);
// Fills property from json. Absent fields keep their value; a field of the wrong type or an
// unknown name is refused with a text naming it, and property is then left unchanged.
bool TestPropertyFromJson(const QJsonObject& json, CTestProperty& property, QString& error);

}  // namespace zeb
