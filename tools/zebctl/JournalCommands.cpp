// Run journals from the command line: check a journal's hash chain, print it one line per
// event, describe the events a journal holds, or write the test report of the run it records.

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

#include "Cli.h"
#include "JournalReader.h"
#include "JournalReport.h"
#include "JournalSchema.h"

namespace zebctl {

namespace {

using zeb::JournalCheck;
using zeb::JournalEntry;

const char kJournalUsage[] =
    "journal verify <FILE> | show <FILE> | events | report <FILE> <OUT.xlsx>";

void Usage() {
    Err(QStringLiteral("usage: zebctl %1").arg(QLatin1String(kJournalUsage)));
}

// A value for a one-line summary: texts as they are (quoted when they hold spaces), lists of
// texts joined, numbers plainly, larger structures by their size only.
QString Brief(const QJsonValue& value) {
    if (value.isString()) {
        const QString text = value.toString();
        if (text.isEmpty() || text.contains(QLatin1Char(' ')) || text.contains(QLatin1Char('"'))) {
            return QString::fromUtf8(QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact))
                .mid(1)
                .chopped(1);
        }
        return text;
    }
    if (value.isArray()) {
        const QJsonArray list = value.toArray();
        QStringList parts;
        for (const QJsonValue& v : list) {
            if (!v.isString() && !v.isDouble()) {
                return QStringLiteral("[%1 items]").arg(list.size());
            }
            parts << (v.isString() ? v.toString() : QString::number(v.toDouble()));
        }
        return parts.join(QLatin1Char(','));
    }
    if (value.isObject()) {
        return QStringLiteral("{%1 fields}").arg(value.toObject().size());
    }
    return QString::fromUtf8(QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact))
        .mid(1)
        .chopped(1);
}

// "seq time event key=value ...". The fields of an event this program writes come in the order
// the journal's table gives them, each as brief as the table says (the open line's record and
// environment are long and left out, its steps are shown by their number); fields the table
// does not name, and those of other events, follow in alphabetical order.
QString EventLine(const JournalEntry& entry) {
    QStringList parts{QString::number(entry.seq), entry.time, entry.event};
    const zeb::JournalEventRow* row = zeb::FindJournalEventRow(entry.event);
    QStringList keys;
    if (row) {
        for (const zeb::JournalFieldRow& field : row->fields) {
            const QString key = QString::fromLatin1(field.name);
            if (field.brief != zeb::JournalBrief::Omit && entry.line.contains(key)) {
                keys << key;
            }
        }
    }
    for (const QString& key : entry.line.keys()) {
        const bool named = row && row->Field(key);
        if (!named && !zeb::IsReservedJournalField(key)) {
            keys << key;
        }
    }
    for (const QString& key : keys) {
        const QJsonValue value = entry.line.value(key);
        const zeb::JournalFieldRow* field = row ? row->Field(key) : nullptr;
        if (field && field->brief == zeb::JournalBrief::Count && value.isArray()) {
            parts << QStringLiteral("%1=%2").arg(key).arg(value.toArray().size());
        } else {
            parts << QStringLiteral("%1=%2").arg(key, Brief(value));
        }
    }
    return parts.join(QLatin1Char(' '));
}

int Verify(const QString& path) {
    const JournalCheck check = zeb::ReadJournalFile(path);
    switch (check.status) {
        case JournalCheck::Unreadable:
            Err(QStringLiteral("zebctl: %1").arg(check.why));
            return kExitBadInput;
        case JournalCheck::Broken:
            Out(QStringLiteral("chain=broken"));
            Out(QStringLiteral("bad_seq=%1").arg(check.badSeq));
            Out(QStringLiteral("why=%1").arg(check.why));
            return kExitInstrument;
        case JournalCheck::Whole:
            break;
    }
    Out(QStringLiteral("chain=whole"));
    Out(QStringLiteral("lines=%1").arg(check.lines));
    Out(QStringLiteral("cut_bytes=%1").arg(check.cutBytes));
    // Nothing follows the last line to record its hash; an auditor keeps this one apart.
    Out(QStringLiteral("last_sha256=%1").arg(QString::fromLatin1(check.lastHash)));
    if (check.cutBytes > 0) {
        Err(QStringLiteral("zebctl: the last line was cut off while it was written (%1 bytes); "
                           "it was skipped")
                .arg(check.cutBytes));
    }
    return kExitOk;
}

int Show(const QString& path) {
    const JournalCheck check =
        zeb::ReadJournalFile(path, [](const JournalEntry& entry) { Out(EventLine(entry)); });
    if (check.status == JournalCheck::Unreadable) {
        Err(QStringLiteral("zebctl: %1").arg(check.why));
        return kExitBadInput;
    }
    Out(check.Describe());
    return check.IsWhole() ? kExitOk : kExitInstrument;
}

// The journal's table: "event: meaning", then "  field type required|optional: meaning" with
// the words a text may hold, for an auditor reading a journal without the README.
int Events() {
    for (const zeb::JournalEventRow& row : zeb::JournalSchema()) {
        Out(QStringLiteral("%1: %2").arg(QLatin1String(row.name), QLatin1String(row.meaning)));
        for (const zeb::JournalFieldRow& field : row.fields) {
            QString line =
                QStringLiteral("  %1 %2 %3: %4")
                    .arg(QLatin1String(field.name), zeb::JournalFieldTypeText(field.type),
                         field.required ? QStringLiteral("required") : QStringLiteral("optional"),
                         QLatin1String(field.meaning));
            if (!field.values.isEmpty()) {
                line += QStringLiteral(" (%1)").arg(field.values.join(QStringLiteral(", ")));
            }
            Out(line);
        }
    }
    return kExitOk;
}

int Report(const QString& path, const QString& out) {
    // A dangling symbolic link counts too: writing through it would create its target.
    if (QFileInfo::exists(out) || QFileInfo(out).isSymLink()) {
        Err(QStringLiteral("zebctl: %1 already exists; a report never replaces a file").arg(out));
        return kExitBadInput;
    }
    QString error;
    if (!zeb::WriteReportFromJournal(path, out, error)) {
        Err(QStringLiteral("zebctl: %1").arg(error));
        return kExitBadInput;
    }
    return kExitOk;
}

int Journal(const QStringList& args) {
    const QString what = args.value(0);
    if (what == QLatin1String("verify") && args.size() == 2) {
        return Verify(args.at(1));
    }
    if (what == QLatin1String("show") && args.size() == 2) {
        return Show(args.at(1));
    }
    if (what == QLatin1String("events") && args.size() == 1) {
        return Events();
    }
    if (what == QLatin1String("report") && args.size() == 3) {
        return Report(args.at(1), args.at(2));
    }
    Usage();
    return kExitBadInput;
}

const ZebctlCommand kJournal("journal", kJournalUsage,
                             [](const QStringList& a) { return Journal(a); });

}  // namespace

}  // namespace zebctl
