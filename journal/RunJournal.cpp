#include "RunJournal.h"

#include <QJsonArray>

#include "DocumentJson.h"
#include "SettingsDoc.h"

#ifdef Q_OS_WIN
#include <QtGlobal>
#else
#include <pwd.h>
#include <unistd.h>
#endif

namespace zeb {

QString JudgedByText(JudgedBy by) {
    switch (by) {
        case JudgedBy::Operator:
            return QStringLiteral("operator");
        case JudgedBy::Bulk:
            return QStringLiteral("bulk");
        case JudgedBy::Sequencer:
            return QStringLiteral("sequencer");
        case JudgedBy::Monitor:
            return QStringLiteral("monitor");
    }
    return QString();
}

QString RunEndText(RunEnd end) {
    switch (end) {
        case RunEnd::Complete:
            return QStringLiteral("complete");
        case RunEnd::Stopped:
            return QStringLiteral("stopped");
        case RunEnd::Error:
            return QStringLiteral("error");
        case RunEnd::NoLink:
            return QStringLiteral("no-link");
        case RunEnd::Closed:
            return QStringLiteral("closed");
        case RunEnd::Abandoned:
            return QStringLiteral("abandoned");
        case RunEnd::Resumed:
            return QStringLiteral("resumed");
    }
    return QString();
}

QString JournalVerdictText(JournalVerdict verdict) {
    switch (verdict) {
        case JournalVerdict::Pass:
            return QStringLiteral("pass");
        case JournalVerdict::Fail:
            return QStringLiteral("fail");
        case JournalVerdict::Problem:
            return QStringLiteral("problem");
    }
    return QString();
}

QString LoginName() {
#ifndef Q_OS_WIN
    if (const passwd* pw = ::getpwuid(::geteuid()); pw != nullptr && pw->pw_name != nullptr) {
        return QString::fromLocal8Bit(pw->pw_name);
    }
    return qEnvironmentVariable("USER");
#else
    return qEnvironmentVariable("USERNAME");
#endif
}

JournalOpenInfo OpenInfoForDocument(const CZebM40SettingsDoc& doc,
                                    const QByteArray& documentBytes) {
    JournalOpenInfo info;
    info.programVersion = QStringLiteral(ZEB_VERSION_STRING);
    info.documentPath = doc.PathName();
    info.documentSha256 = Sha256Hex(documentBytes);
    info.document = DocumentToJson(doc);
    info.machineType = doc.Record().m_ulMachineType;
    info.hwVersion = doc.Record().m_nHWVersion;
    info.operatorLogin = LoginName();
    info.currentStep = doc.CurrentStep();
    return info;
}

namespace {
constexpr QJsonValue::Type kLeftOut = QJsonValue::Undefined;
}  // namespace

bool IRunJournal::Write(JournalEvent event, std::initializer_list<QJsonValue> values) {
    return Event(JournalEventName(event), JournalEventFields(event, values));
}

bool IRunJournal::Open(const JournalOpenInfo& info) {
    QJsonValue resumes(kLeftOut);
    QJsonValue ended(kLeftOut);
    if (!info.resumesJournal.isEmpty()) {
        QJsonArray steps;
        for (int step : info.endedSteps) {
            steps.append(step);
        }
        resumes = info.resumesJournal;
        ended = steps;
    }
    // In the order of the open event's row of the table.
    return Write(JournalEvent::Open,
                 {info.programVersion,                                          // version
                  info.documentPath,                                            // document
                  QString::fromLatin1(info.documentSha256),                     // document_sha256
                  info.currentStep + 1,                                         // current_step
                  info.document.value(QLatin1String(journal::field::kRecord)),  // record
                  info.document.value(QLatin1String(journal::field::kSteps)),   // steps
                  info.environment,                                             // environment
                  info.instrumentReply,                                         // instrument
                  static_cast<qint64>(info.machineType),                        // machine_type
                  info.hwVersion,                                               // hw_version
                  info.port,                                                    // port
                  info.operatorLogin,                                           // login
                  info.standard.isEmpty() ? QJsonValue(kLeftOut) : QJsonValue(info.standard),
                  resumes, ended});
}

bool IRunJournal::StepStart(int step, const QStringList& commands) {
    return Write(JournalEvent::StepStart, {step, QJsonArray::fromStringList(commands)});
}

bool IRunJournal::StepEnd(int step, int result, int dischargesDone) {
    return Write(JournalEvent::StepEnd, {step, JournalResultText(result), dischargesDone});
}

bool IRunJournal::Judgement(int step, int result, const QString& comment, JudgedBy by) {
    return Write(JournalEvent::Judgement,
                 {step, JournalResultText(result), comment, JudgedByText(by)});
}

bool IRunJournal::CommentsCleared() {
    return Write(JournalEvent::CommentsCleared, {});
}

bool IRunJournal::Stop() {
    return Write(JournalEvent::Stop, {});
}

bool IRunJournal::Error(int code, const QString& text) {
    return Write(JournalEvent::Error, {code, text});
}

bool IRunJournal::LinkLost() {
    return Write(JournalEvent::LinkLost, {});
}

bool IRunJournal::RunEnded(RunEnd outcome) {
    return Write(JournalEvent::RunEnd, {RunEndText(outcome)});
}

bool IRunJournal::Monitor(const JournalMonitorEntry& entry) {
    return Write(
        JournalEvent::Monitor,
        {entry.step, entry.phase, JournalVerdictText(entry.verdict),
         JournalResultText(entry.result), entry.comment, entry.exitStatus, entry.durationMs,
         QString::fromUtf8(entry.output), QString::fromUtf8(entry.errorOutput)});
}

bool IRunJournal::Report(const QString& path) {
    QString error;
    const QByteArray hash = FileSha256Hex(path, error);
    // The report is recorded even when it cannot be hashed; the empty hash says so.
    return Report(path, hash);
}

bool IRunJournal::Report(const QString& path, const QByteArray& sha256Hex) {
    return Write(JournalEvent::Report, {path, QString::fromLatin1(sha256Hex)});
}

bool IRunJournal::IssuedReport(const QString& pdfPath, const QByteArray& pdfSha256Hex,
                               const QString& reportNumber) {
    return Write(JournalEvent::Report, {kLeftOut, kLeftOut, pdfPath,
                                        QString::fromLatin1(pdfSha256Hex), kLeftOut, reportNumber});
}

bool IRunJournal::PrintedReport(const QString& reportNumber) {
    return Write(JournalEvent::Report,
                 {kLeftOut, kLeftOut, kLeftOut, kLeftOut, true, reportNumber});
}

bool IRunJournal::Close(RunEnd outcome, const QString& resumedBy) {
    return Write(
        JournalEvent::Close,
        {RunEndText(outcome), resumedBy.isEmpty() ? QJsonValue(kLeftOut) : QJsonValue(resumedBy)});
}

CJournalChain::CJournalChain()
    : m_prev(journal::kZeroHash), m_clock([] { return QDateTime::currentDateTimeUtc(); }) {}

void CJournalChain::Continue(qint64 nextSeq, const QByteArray& prevHex) {
    m_nextSeq = nextSeq;
    m_prev = prevHex;
}

QByteArray CJournalChain::Next(const QString& event, const JournalFields& fields,
                               QString& error) const {
    for (const auto& field : fields) {
        if (IsReservedJournalField(field.first)) {
            error = QStringLiteral("The event field name \"%1\" is reserved.").arg(field.first);
            return QByteArray();
        }
    }
    return EncodeJournalLine(m_nextSeq, m_clock(), event, fields, m_prev);
}

void CJournalChain::Commit(const QByteArray& line) {
    m_prev = Sha256Hex(line);
    ++m_nextSeq;
}

bool CMemoryRunJournal::Event(const QString& name, const JournalFields& fields) {
    if (m_failing) {
        m_error = QStringLiteral("The journal cannot be written: No space left on device");
        return false;
    }
    const QByteArray line = m_chain.Next(name, fields, m_error);
    if (line.isEmpty()) {
        return false;
    }
    m_chain.Commit(line);
    m_lines.append(line);
    m_names.append(name);
    m_error.clear();
    return true;
}

QByteArray CMemoryRunJournal::Bytes() const {
    QByteArray all;
    for (const QByteArray& line : m_lines) {
        all += line + '\n';
    }
    return all;
}

}  // namespace zeb
