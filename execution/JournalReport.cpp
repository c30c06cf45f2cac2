#include "JournalReport.h"

#include <QFileInfo>
#include <QJsonArray>

#include "JournalSchema.h"
#include "MachineModels.h"
#include "TestPropertyJson.h"
#include "TestReport.h"
#include "Version.h"

namespace zeb {

bool TestDataFromJournal(const JournalState& state, CZebM40SettingsDoc& doc,
                         CTestProperty& property, QString& error) {
    CTestProperty recorded;
    if (!TestPropertyFromJson(
            state.open.value(QLatin1String(journal::field::kEnvironment)).toObject(), recorded,
            error)) {
        error = QStringLiteral("%1: the recorded test environment cannot be read: %2")
                    .arg(state.path, error);
        return false;
    }
    if (!DocumentFromJournal(state, doc, error)) {
        return false;
    }
    property = recorded;
    return true;
}

bool WriteReportFromJournal(const QString& journalPath, const QString& outPath, QString& error) {
    JournalState state;
    if (!ReadJournalState(journalPath, state, error)) {
        return false;
    }
    CZebM40SettingsDoc doc;
    CTestProperty property;
    return TestDataFromJournal(state, doc, property, error) &&
           WriteTestReport(property, doc, outPath, error);
}

namespace {

QString ModelName(quint32 machineType) {
    QString name;
    GetModelName(machineType, name);
    return name;
}

// What the journal holds beyond the run's state: when its last step ended and the numbers of
// the reports issued from it.
struct JournalReportFacts {
    QDateTime lastStepEnd;
    QStringList reportNumbers;
};

bool ReadReportFacts(const QString& path, JournalReportFacts& facts, QString& error) {
    const JournalCheck check = ReadJournalFile(path, [&facts](const JournalEntry& entry) {
        if (entry.event == JournalEventName(JournalEvent::StepEnd)) {
            facts.lastStepEnd = QDateTime::fromString(entry.time, Qt::ISODateWithMs);
        } else if (entry.event == JournalEventName(JournalEvent::Report)) {
            const QString number =
                entry.line.value(QLatin1String(journal::field::kReportNumber)).toString();
            if (!number.isEmpty()) {
                facts.reportNumbers << number;
            }
        }
    });
    if (!check.IsWhole()) {
        error = QStringLiteral("%1: %2").arg(path, check.Describe());
        return false;
    }
    return true;
}

}  // namespace

bool IssuedReportFromJournal(const QString& journalPath, IssuedReport& report, QString& error) {
    JournalState state;
    JournalReportFacts facts;
    CZebM40SettingsDoc doc;
    CTestProperty property;
    if (!ReadJournalState(journalPath, state, error) ||
        !TestDataFromJournal(state, doc, property, error) ||
        !ReadReportFacts(journalPath, facts, error)) {
        return false;
    }
    IssuedReport r = MakeIssuedReport(property, doc);
    const QJsonObject& open = state.open;
    const QJsonValue standard = open.value(QLatin1String(journal::field::kStandard));
    if (standard.isObject()) {
        ReportMethodCheck check;
        if (!MethodCheckFromJson(standard.toObject(), check, error)) {
            error = QStringLiteral("%1: %2").arg(journalPath, error);
            return false;
        }
        r.check = check;
    }
    r.machineModel = ModelName(doc.Record().m_ulMachineType);
    r.testStarted = state.started;
    r.testEnded = facts.lastStepEnd;
    const QString runVersion = open.value(QLatin1String(journal::field::kVersion)).toString();
    r.programVersion =
        runVersion == r.programVersion || runVersion.isEmpty()
            ? r.programVersion
            : QStringLiteral("%1 (report issued with %2)").arg(runVersion, r.programVersion);
    r.instrumentReply = open.value(QLatin1String(journal::field::kInstrument)).toString();
    r.machineType =
        QString::number(open.value(QLatin1String(journal::field::kMachineType)).toInteger());
    r.hwVersion =
        QString::number(open.value(QLatin1String(journal::field::kHwVersion)).toInteger());
    r.journalName = QFileInfo(journalPath).fileName();
    r.journalSha256 = QString::fromLatin1(state.check.lastHash);
    r.documentSha256 = QString::fromLatin1(state.documentSha256);
    r.replacesNumber = facts.reportNumbers.isEmpty() ? QString() : facts.reportNumbers.last();
    report = r;
    return true;
}

IssuedReport IssuedReportWithoutJournal(const CTestProperty& property,
                                        const CZebM40SettingsDoc& doc) {
    IssuedReport r = MakeIssuedReport(property, doc);
    r.machineModel = ModelName(doc.Record().m_ulMachineType);
    r.machineType = QString::number(doc.Record().m_ulMachineType);
    return r;
}

bool JournalIssuedReport(IRunJournal& journal, const QString& pdfPath, const QByteArray& pdfSha256,
                         const QString& reportNumber) {
    return pdfPath.isEmpty() ? journal.PrintedReport(reportNumber)
                             : journal.IssuedReport(pdfPath, pdfSha256, reportNumber);
}

}  // namespace zeb
