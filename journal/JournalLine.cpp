#include "JournalLine.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

#include "ExecData.h"

namespace zeb {

namespace journal {
const char kZeroHash[] = "0000000000000000000000000000000000000000000000000000000000000000";
const char kSeq[] = "seq";
const char kTime[] = "time";
const char kEvent[] = "event";
const char kPrev[] = "prev";
}  // namespace journal

namespace {

// Compact JSON of any value: Qt writes only whole documents, so the value is wrapped in an
// array and the brackets are taken off again.
QByteArray ValueJson(const QJsonValue& value) {
    const QByteArray wrapped = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return wrapped.mid(1, wrapped.size() - 2);
}

}  // namespace

QByteArray Sha256Hex(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

QByteArray FileSha256Hex(const QString& path, QString& error) {
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("\"%1\" cannot be read: %2").arg(path, file.errorString());
        return QByteArray();
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file)) {
        error = QStringLiteral("\"%1\" cannot be read: %2").arg(path, file.errorString());
        return QByteArray();
    }
    return hash.result().toHex();
}

QString JournalTimeText(const QDateTime& moment) {
    return moment.toUTC().toString(Qt::ISODateWithMs);
}

bool IsReservedJournalField(const QString& name) {
    return name == QLatin1String(journal::kSeq) || name == QLatin1String(journal::kTime) ||
           name == QLatin1String(journal::kEvent) || name == QLatin1String(journal::kPrev);
}

QByteArray EncodeJournalLine(qint64 seq, const QDateTime& moment, const QString& event,
                             const JournalFields& fields, const QByteArray& prevHex) {
    QByteArray line;
    line += "{\"seq\":" + QByteArray::number(seq);
    line += ",\"time\":" + ValueJson(JournalTimeText(moment));
    line += ",\"event\":" + ValueJson(event);
    for (const auto& [name, value] : fields) {
        line += ',' + ValueJson(name) + ':' + ValueJson(value);
    }
    line += ",\"prev\":\"" + prevHex + "\"}";
    return line;
}

QString JournalResultText(int result) {
    switch (result) {
        case kResultPass:
            return QStringLiteral("pass");
        case kResultFail:
            return QStringLiteral("fail");
        case kJournalResultPending:
            return QStringLiteral("pending");
        default:
            return QStringLiteral("none");
    }
}

int JournalResultCode(const QString& text) {
    if (text == QLatin1String("pass")) {
        return kResultPass;
    }
    if (text == QLatin1String("fail")) {
        return kResultFail;
    }
    if (text == QLatin1String("pending")) {
        return kJournalResultPending;
    }
    return text == QLatin1String("none") ? kResultNone : -1;
}

}  // namespace zeb
