#pragma once
// One line of a run journal. A journal is a JSON Lines file (UTF-8, one object per line, each
// line ended by a line feed). Every line is written with its fields in this order:
//   {"seq":N,"time":"2024-05-01T09:30:00.123Z","event":"NAME",<the event's fields>,"prev":"HEX"}
// seq counts from 1; time is UTC with milliseconds; prev is the lowercase hexadecimal SHA-256 of
// the exact bytes of the previous line without its line feed, 64 zeros on the first line. Any
// change, removal or reordering of a line therefore shows at the line after it.

#include <QByteArray>
#include <QDateTime>
#include <QJsonValue>
#include <QString>

#include <utility>
#include <vector>

namespace zeb {

// The fields of an event in the order they are written.
using JournalFields = std::vector<std::pair<QString, QJsonValue>>;

namespace journal {
// The prev of the first line.
extern const char kZeroHash[];  // 64 times '0'
// The largest line a reader accepts. The open event of a 1000-step document is about 0.5 MB;
// anything far larger is refused unread so that a hostile file cannot exhaust memory.
constexpr qint64 kMaxLineBytes = 4 * 1024 * 1024;
// Names of the fields every line carries.
extern const char kSeq[];
extern const char kTime[];
extern const char kEvent[];
extern const char kPrev[];
}  // namespace journal

// Lowercase hexadecimal SHA-256 of bytes.
QByteArray Sha256Hex(const QByteArray& bytes);
// The same of a whole file, read in pieces; empty (with error) when it cannot be read.
QByteArray FileSha256Hex(const QString& path, QString& error);

// "2024-05-01T09:30:00.123Z".
QString JournalTimeText(const QDateTime& moment);

// True when name is one of the four fields every line carries (an event may not use them).
bool IsReservedJournalField(const QString& name);

// The line (without line feed) for an event.
QByteArray EncodeJournalLine(qint64 seq, const QDateTime& moment, const QString& event,
                             const JournalFields& fields, const QByteArray& prevHex);

// The step-end result of a step whose verdict is still to come (an EUT monitor judges it after
// its last discharge): the step shows no result meanwhile, and a run cut off before the verdict
// has not ended that step.
constexpr int kJournalResultPending = 3;

// Judgement codes as journal texts: "pass", "fail", "none", and "pending" for
// kJournalResultPending; and back (-1 for anything else).
QString JournalResultText(int result);
int JournalResultCode(const QString& text);

}  // namespace zeb
