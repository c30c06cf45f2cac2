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

bool IRunJournal::Open(const JournalOpenInfo& info) {
    JournalFields fields{
        {QStringLiteral("version"), info.programVersion},
        {QStringLiteral("document"), info.documentPath},
        {QStringLiteral("document_sha256"), QString::fromLatin1(info.documentSha256)},
        {QStringLiteral("current_step"), info.currentStep + 1},
        {QStringLiteral("record"), info.document.value(QLatin1String("record"))},
        {QStringLiteral("steps"), info.document.value(QLatin1String("steps"))},
        {QStringLiteral("environment"), info.environment},
        {QStringLiteral("instrument"), info.instrumentReply},
        {QStringLiteral("machine_type"), static_cast<qint64>(info.machineType)},
        {QStringLiteral("hw_version"), info.hwVersion},
        {QStringLiteral("port"), info.port},
        {QStringLiteral("login"), info.operatorLogin},
    };
    if (!info.standard.isEmpty()) {
        fields.emplace_back(QStringLiteral("standard"), info.standard);
    }
    if (!info.resumesJournal.isEmpty()) {
        QJsonArray ended;
        for (int step : info.endedSteps) {
            ended.append(step);
        }
        fields.emplace_back(QStringLiteral("resumes"), info.resumesJournal);
        fields.emplace_back(QStringLiteral("ended"), ended);
    }
    return Event(QStringLiteral("open"), fields);
}

bool IRunJournal::StepStart(int step, const QStringList& commands) {
    return Event(QStringLiteral("step-start"),
                 {{QStringLiteral("step"), step},
                  {QStringLiteral("block"), QJsonArray::fromStringList(commands)}});
}

bool IRunJournal::StepEnd(int step, int result, int dischargesDone) {
    return Event(QStringLiteral("step-end"), {{QStringLiteral("step"), step},
                                              {QStringLiteral("result"), JournalResultText(result)},
                                              {QStringLiteral("discharges"), dischargesDone}});
}

bool IRunJournal::Judgement(int step, int result, const QString& comment, JudgedBy by) {
    return Event(QStringLiteral("judgement"),
                 {{QStringLiteral("step"), step},
                  {QStringLiteral("result"), JournalResultText(result)},
                  {QStringLiteral("comment"), comment},
                  {QStringLiteral("by"), JudgedByText(by)}});
}

bool IRunJournal::CommentsCleared() {
    return Event(QStringLiteral("comments-cleared"), {});
}

bool IRunJournal::Stop() {
    return Event(QStringLiteral("stop"), {});
}

bool IRunJournal::Error(int code, const QString& text) {
    return Event(QStringLiteral("error"),
                 {{QStringLiteral("code"), code}, {QStringLiteral("text"), text}});
}

bool IRunJournal::LinkLost() {
    return Event(QStringLiteral("link-lost"), {});
}

bool IRunJournal::Report(const QString& path) {
    QString error;
    const QByteArray hash = FileSha256Hex(path, error);
    // The report is recorded even when it cannot be hashed; the empty hash says so.
    return Report(path, hash);
}

bool IRunJournal::Report(const QString& path, const QByteArray& sha256Hex) {
    return Event(QStringLiteral("report"),
                 {{QStringLiteral("path"), path},
                  {QStringLiteral("sha256"), QString::fromLatin1(sha256Hex)}});
}

bool IRunJournal::Close(RunEnd outcome, const QString& resumedBy) {
    JournalFields fields{{QStringLiteral("outcome"), RunEndText(outcome)}};
    if (!resumedBy.isEmpty()) {
        fields.emplace_back(QStringLiteral("resumed_by"), resumedBy);
    }
    return Event(QStringLiteral("close"), fields);
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
