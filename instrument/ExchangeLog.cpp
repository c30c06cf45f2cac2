#include "ExchangeLog.h"

#include <QSaveFile>

#include "CommandTable.h"

namespace zeb {

namespace {

QString Escaped(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == 0x7F || u == '\\') {
            out += QStringLiteral("\\x%1").arg(static_cast<uint>(u), 2, 16, QLatin1Char('0'));
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

QString OutcomeText(ExchangeOutcome outcome) {
    switch (outcome) {
        case ExchangeOutcome::Acknowledged:
            return QStringLiteral("acknowledged");
        case ExchangeOutcome::NoAck:
            return QStringLiteral("no ACK");
        case ExchangeOutcome::Timeout:
            return QStringLiteral("time-out");
        case ExchangeOutcome::BadBcc:
            return QStringLiteral("bad BCC");
        case ExchangeOutcome::LinkLost:
            return QStringLiteral("link lost");
    }
    return QString();
}

QString ExchangeDescription(const ExchangeRecord& record) {
    QString what = record.query ? QStringLiteral("Query ") : QStringLiteral("Command ");
    what += Escaped(record.command);
    const QString meaning = DescribeCommand(record.command);
    if (!meaning.isEmpty()) {
        what += QStringLiteral(", ") + meaning;
    }
    return QStringLiteral("%1, %2 ms: %3")
        .arg(what)
        .arg(record.durationMs)
        .arg(OutcomeText(record.outcome));
}

QString ExchangeLine(const ExchangeRecord& record) {
    return record.time.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz")) + QLatin1Char('\t') +
           Escaped(record.command) + QLatin1Char('\t') + Escaped(record.reply) + QLatin1Char('\t') +
           OutcomeText(record.outcome);
}

CExchangeLog::CExchangeLog(int capacity) : m_nCapacity(capacity < 1 ? 1 : capacity) {}

void CExchangeLog::OnExchange(const ExchangeRecord& record) {
    m_records.push_back(record);
    while (static_cast<int>(m_records.size()) > m_nCapacity) {
        m_records.pop_front();
        ++m_nDropped;
    }
    if (m_listener) {
        m_listener(record);
    }
}

void CExchangeLog::Clear() {
    m_records.clear();
    m_nDropped = 0;
}

QStringList CExchangeLog::TextLines() const {
    QStringList lines;
    lines.reserve(Count());
    for (const ExchangeRecord& record : m_records) {
        lines << ExchangeLine(record);
    }
    return lines;
}

bool CExchangeLog::SaveAsText(const QString& path, QString& error) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return false;
    }
    for (const ExchangeRecord& record : m_records) {
        file.write(ExchangeLine(record).toUtf8());
        file.write("\n", 1);
    }
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

void CExchangeTrace::OnExchange(const ExchangeRecord& record) {
    const QByteArray line = ExchangeLine(record).toLocal8Bit();
    std::fprintf(m_stream, "%s\n", line.constData());
    std::fflush(m_stream);
}

}  // namespace zeb
