#pragma once
// The communication log: the last exchanges of the instrument link, oldest first, bounded so
// that a test running for days cannot fill the memory, plus the text form of an exchange used
// when the log is saved and when a command-line run traces the link on standard error.

#include <QString>
#include <QStringList>

#include <cstdio>
#include <deque>
#include <functional>

#include "Exchange.h"

namespace zeb {

// "acknowledged", "no ACK", "time-out", "bad BCC", "link lost".
QString OutcomeText(ExchangeOutcome outcome);

// What the exchange was and how it went, for a person reading the log: "Query QB, read the
// status byte, 12 ms: acknowledged". A text the program never sends is named without a meaning.
QString ExchangeDescription(const ExchangeRecord& record);

// One line, fields separated by tabs: time (yyyy-MM-dd hh:mm:ss.zzz), command, reply, outcome.
// Control characters, tabs and backslashes in the texts are written as \xHH, so an exchange is
// always exactly one line whatever the instrument sent.
QString ExchangeLine(const ExchangeRecord& record);

class CExchangeLog : public IExchangeObserver {
public:
    static constexpr int kDefaultCapacity = 10000;

    // A capacity below 1 is taken as 1.
    explicit CExchangeLog(int capacity = kDefaultCapacity);

    // Appends the exchange; past the capacity the oldest one is dropped.
    void OnExchange(const ExchangeRecord& record) override;

    int Capacity() const { return m_nCapacity; }
    int Count() const { return static_cast<int>(m_records.size()); }
    // Exchange i, 0 the oldest kept. i must be below Count().
    const ExchangeRecord& At(int i) const { return m_records[static_cast<size_t>(i)]; }
    // Exchanges dropped for want of room since the log was made or last cleared.
    qint64 Dropped() const { return m_nDropped; }
    void Clear();

    // Every kept exchange as ExchangeLine, oldest first.
    QStringList TextLines() const;
    // Writes the lines to `path` (UTF-8, one per line), replacing the file as a whole: a failed
    // save leaves an existing file as it was. False with the reason in `error`.
    bool SaveAsText(const QString& path, QString& error) const;

    // Told after each exchange was appended (and the oldest perhaps dropped), e.g. a view.
    using Listener = std::function<void(const ExchangeRecord&)>;
    void SetListener(Listener listener) { m_listener = std::move(listener); }

private:
    int m_nCapacity;
    qint64 m_nDropped = 0;
    std::deque<ExchangeRecord> m_records;
    Listener m_listener;
};

// Prints every exchange as ExchangeLine to a stream (standard error for a traced command-line
// run), flushed at once so the lines interleave correctly with the program's own messages.
class CExchangeTrace : public IExchangeObserver {
public:
    explicit CExchangeTrace(std::FILE* stream = stderr) : m_stream(stream) {}
    void OnExchange(const ExchangeRecord& record) override;

private:
    std::FILE* m_stream;
};

}  // namespace zeb
