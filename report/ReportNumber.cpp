#include "ReportNumber.h"

#include "IniFile.h"
#include "TestProperty.h"

namespace zeb {

namespace {

QString StoredCounterText() {
    return ReadIniString(QLatin1String(ini::kSectionProperty),
                         QLatin1String(ini::kKeyReportCounter), QStringLiteral("0"))
        .trimmed();
}

bool StoredCounter(qint64& counter, QString& error) {
    const QString text = StoredCounterText();
    bool ok = false;
    counter = text.isEmpty() ? 0 : text.toLongLong(&ok);
    if (text.isEmpty()) {
        ok = true;
    }
    if (!ok || counter < 0 || counter >= 999999999) {
        error = QStringLiteral(
                    "The report counter in ZEB.ini (%1 = \"%2\") is not a whole number "
                    "from 0 to 999999998; no report number can be given.")
                    .arg(QLatin1String(ini::kKeyReportCounter), text);
        return false;
    }
    return true;
}

}  // namespace

QString FormatReportNumber(const QString& prefix, int year, qint64 counter) {
    const QString number = QStringLiteral("%1-%2")
                               .arg(year, 4, 10, QLatin1Char('0'))
                               .arg(counter, 4, 10, QLatin1Char('0'));
    const QString lead = prefix.trimmed();
    return lead.isEmpty() ? number : lead + QLatin1Char('-') + number;
}

QString PeekReportNumber(const QString& prefix, const QDate& date, QString& error) {
    qint64 counter = 0;
    if (!StoredCounter(counter, error)) {
        return QString();
    }
    return FormatReportNumber(prefix, date.year(), counter + 1);
}

QString DrawReportNumber(const QString& prefix, const QDate& date, QString& error) {
    qint64 counter = 0;
    if (!StoredCounter(counter, error)) {
        return QString();
    }
    const QString raised = QString::number(counter + 1);
    WriteIniString(QLatin1String(ini::kSectionProperty), QLatin1String(ini::kKeyReportCounter),
                   raised);
    if (StoredCounterText() != raised) {
        error = QStringLiteral(
                    "The report counter could not be stored in %1; no report number "
                    "was given.")
                    .arg(IniFilePath());
        return QString();
    }
    return FormatReportNumber(prefix, date.year(), counter + 1);
}

}  // namespace zeb
