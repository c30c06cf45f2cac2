#include "TestPropertyJson.h"

#include <QSet>

#include <cmath>

namespace zeb {

namespace {

// Every text field once, so both directions name the same ones.
template <typename P, typename Fn>
void VisitTexts(P& p, Fn fn) {
    fn("m_strCompanyName", p.m_strCompanyName);
    fn("m_strTestPlace", p.m_strTestPlace);
    fn("m_strModel", p.m_strModel);
    fn("m_strSerial", p.m_strSerial);
    fn("m_strOperator", p.m_strOperator);
    fn("m_strStandard", p.m_strStandard);
    fn("m_strTemperature", p.m_strTemperature);
    fn("m_strHumidity", p.m_strHumidity);
    fn("m_strAtm", p.m_strAtm);
    fn("m_strEutInfo", p.m_strEutInfo);
    fn("m_strEutMode", p.m_strEutMode);
    fn("m_strEutComment", p.m_strEutComment);
    fn("m_strFreeInput1Title", p.m_strFreeInput1Title);
    fn("m_strFreeInput1", p.m_strFreeInput1);
    fn("m_strFreeInput2Title", p.m_strFreeInput2Title);
    fn("m_strFreeInput2", p.m_strFreeInput2);
    fn("lab_address", p.m_strLabAddress);
    fn("lab_logo", p.m_strLabLogo);
    fn("report_prefix", p.m_strReportPrefix);
    fn("customer_name", p.m_strCustomerName);
    fn("customer_address", p.m_strCustomerAddress);
    fn("date_of_receipt", p.m_strDateOfReceipt);
    fn("criterion", p.m_strCriterion);
}

const char kTestDate[] = "m_tmTestDate";

}  // namespace

QJsonObject TestPropertyToJson(const CTestProperty& property) {
    QJsonObject json;
    VisitTexts(property, [&](const char* name, const QString& value) {
        json.insert(QLatin1String(name), value);
    });
    json.insert(QLatin1String(kTestDate), static_cast<qint64>(property.m_tmTestDate));
    return json;
}

bool TestPropertyFromJson(const QJsonObject& json, CTestProperty& property, QString& error) {
    CTestProperty read = property;
    QSet<QString> known{QLatin1String(kTestDate)};
    error.clear();
    VisitTexts(read, [&](const char* name, QString& value) {
        const QString key = QLatin1String(name);
        known.insert(key);
        const QJsonValue v = json.value(key);
        if (v.isUndefined() || !error.isEmpty()) {
            return;
        }
        if (!v.isString()) {
            error = QStringLiteral("Field \"%1\" must be a string.").arg(key);
            return;
        }
        value = v.toString();
    });
    const QJsonValue date = json.value(QLatin1String(kTestDate));
    if (error.isEmpty() && !date.isUndefined()) {
        const double d = date.toDouble();
        // Whole seconds within what a double holds exactly.
        if (!date.isDouble() || d != std::floor(d) || std::fabs(d) > 9007199254740992.0) {
            error = QStringLiteral("Field \"%1\" must be whole seconds.").arg(kTestDate);
        } else {
            read.m_tmTestDate = static_cast<qint64>(d);
        }
    }
    for (auto it = json.begin(); it != json.end() && error.isEmpty(); ++it) {
        if (!known.contains(it.key())) {
            error = QStringLiteral("Unknown field \"%1\".").arg(it.key());
        }
    }
    if (!error.isEmpty()) {
        return false;
    }
    property = read;
    return true;
}

}  // namespace zeb
