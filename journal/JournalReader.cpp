#include "JournalReader.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>

#include <cmath>

#include "JournalLine.h"

namespace zeb {

namespace {

constexpr qint64 kChunkBytes = 64 * 1024;

bool IsLowerHex64(const QString& text) {
    if (text.size() != 64) {
        return false;
    }
    for (QChar c : text) {
        if (!((c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
              (c >= QLatin1Char('a') && c <= QLatin1Char('f')))) {
            return false;
        }
    }
    return true;
}

// Checks one whole line (without its line feed) that should carry expectedSeq.
class LineChecker {
public:
    explicit LineChecker(JournalCheck& check) : m_check(check) {
        m_check.lastHash = journal::kZeroHash;
    }

    // False once the journal is found broken.
    bool Take(const QByteArray& bytes, const JournalVisitor& visit) {
        const qint64 expected = m_check.lines + 1;
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
        if (error.error != QJsonParseError::NoError || !doc.isObject()) {
            return Fail(expected, QStringLiteral("line %1 is not a JSON object").arg(expected));
        }
        const QJsonObject obj = doc.object();
        const QJsonValue seqValue = obj.value(QLatin1String(journal::kSeq));
        const double seq = seqValue.toDouble(-1);
        if (!seqValue.isDouble() || seq != std::floor(seq) || seq < 1) {
            return Fail(expected, QStringLiteral("line %1 has no seq").arg(expected));
        }
        if (static_cast<qint64>(seq) != expected) {
            return Fail(expected,
                        QStringLiteral("line %1 carries seq %2: a line was removed, added or "
                                       "moved")
                            .arg(expected)
                            .arg(static_cast<qint64>(seq)));
        }
        const QJsonValue prev = obj.value(QLatin1String(journal::kPrev));
        if (!prev.isString() || !IsLowerHex64(prev.toString())) {
            return Fail(expected, QStringLiteral("seq %1 has no prev hash").arg(expected));
        }
        if (prev.toString().toLatin1() != m_check.lastHash) {
            // The recorded hash no longer matches: the line before was changed after it was
            // written (or this line's record of it was).
            if (expected == 1) {
                return Fail(1, QStringLiteral("seq 1 does not start the chain (prev is not 64 "
                                              "zeros): lines before it were removed"));
            }
            return Fail(expected - 1,
                        QStringLiteral("seq %1 was changed: its bytes do not match the hash that "
                                       "seq %2 recorded")
                            .arg(expected - 1)
                            .arg(expected));
        }
        const QJsonValue time = obj.value(QLatin1String(journal::kTime));
        const QJsonValue event = obj.value(QLatin1String(journal::kEvent));
        if (!time.isString() || !event.isString() || event.toString().isEmpty()) {
            return Fail(expected, QStringLiteral("seq %1 has no time or event name").arg(expected));
        }
        m_check.lines = expected;
        m_check.lastHash = Sha256Hex(bytes);
        m_check.wholeBytes += bytes.size() + 1;
        if (visit) {
            visit(JournalEntry{expected, time.toString(), event.toString(), obj});
        }
        return true;
    }

    bool Fail(qint64 seq, const QString& why) {
        m_check.status = JournalCheck::Broken;
        m_check.badSeq = seq;
        m_check.why = why;
        return false;
    }

private:
    JournalCheck& m_check;
};

}  // namespace

QString JournalCheck::Describe() const {
    switch (status) {
        case Whole: {
            QString text = QStringLiteral("chain whole: %1 line(s)").arg(lines);
            if (cutBytes > 0) {
                text += QStringLiteral(
                            "; a last line cut off while it was written (%1 bytes) "
                            "was skipped")
                            .arg(cutBytes);
            }
            return text;
        }
        case Broken:
            return QStringLiteral("chain broken at seq %1: %2").arg(badSeq).arg(why);
        case Unreadable:
            break;
    }
    return QStringLiteral("unreadable: %1").arg(why);
}

JournalCheck ReadJournal(QIODevice& device, const JournalVisitor& visit) {
    JournalCheck check;
    check.status = JournalCheck::Whole;
    LineChecker checker(check);
    QByteArray pending;  // the start of a line whose line feed has not been read yet
    while (true) {
        const QByteArray chunk = device.read(kChunkBytes);
        if (chunk.isEmpty()) {
            if (!device.isSequential() && !device.atEnd()) {
                check.status = JournalCheck::Unreadable;
                check.why =
                    QStringLiteral("the journal cannot be read: %1").arg(device.errorString());
                return check;
            }
            break;
        }
        qsizetype start = 0;
        while (start < chunk.size()) {
            const qsizetype nl = chunk.indexOf('\n', start);
            const qsizetype end = nl < 0 ? chunk.size() : nl;
            pending.append(chunk.constData() + start, end - start);
            if (pending.size() > journal::kMaxLineBytes) {
                // Refused before the rest of it is read.
                checker.Fail(check.lines + 1,
                             QStringLiteral("line %1 is longer than %2 bytes; it is not read")
                                 .arg(check.lines + 1)
                                 .arg(journal::kMaxLineBytes));
                return check;
            }
            if (nl < 0) {
                break;
            }
            if (!checker.Take(pending, visit)) {
                return check;
            }
            pending.clear();
            start = nl + 1;
        }
    }
    check.cutBytes = pending.size();
    if (check.lines == 0) {
        checker.Fail(1, check.cutBytes > 0 ? QStringLiteral("the journal holds no whole line")
                                           : QStringLiteral("the journal is empty"));
    }
    return check;
}

JournalCheck ReadJournalFile(const QString& path, const JournalVisitor& visit) {
    JournalCheck check;
    const QFileInfo info(path);
    if (!info.exists()) {
        check.why = QStringLiteral("\"%1\" does not exist").arg(path);
        return check;
    }
    if (!info.isFile()) {
        check.why = QStringLiteral("\"%1\" is not a regular file").arg(path);
        return check;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        check.why = QStringLiteral("\"%1\" cannot be read: %2").arg(path, file.errorString());
        return check;
    }
    return ReadJournal(file, visit);
}

}  // namespace zeb
