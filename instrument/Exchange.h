#pragma once
// One exchange on the instrument link as a service engineer wants to see it: when it began,
// what the PC sent, what the instrument replied and how it ended. The framing layer reports each
// exchange to an optional observer; with none attached it records nothing at all.

#include <QDateTime>
#include <QString>
#include <QtGlobal>

namespace zeb {

enum class ExchangeOutcome {
    Acknowledged,  // command acknowledged, or query answered with a well-formed reply
    NoAck,         // the instrument answered something other than ACK or a reply frame
    Timeout,       // an awaited byte did not come within 500 ms (or the line never went quiet)
    BadBcc,        // a reply frame arrived with a wrong check byte
    LinkLost,      // no port open, or the device vanished or refused a write
};

struct ExchangeRecord {
    QDateTime time;   // local time the exchange began
    QString command;  // text of the command or query, without framing
    QString reply;    // text of the reply; empty for commands and failed queries
    bool query = false;
    ExchangeOutcome outcome = ExchangeOutcome::Acknowledged;
    qint64 durationMs = 0;
};

class IExchangeObserver {
public:
    virtual ~IExchangeObserver() = default;
    // Called once at the end of every exchange, on the thread that made it.
    virtual void OnExchange(const ExchangeRecord& record) = 0;
};

}  // namespace zeb
