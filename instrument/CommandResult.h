#pragma once
// What a controller operation did, in terms a caller can act on: the instrument acknowledged
// it, it was refused before anything went on the line (with the reason in the operator's
// words), or the link failed in one of the ways the framing layer tells apart. The controller
// never shows a message itself; the caller decides what the operator hears.

#include <QString>
#include <QStringList>

#include "Exchange.h"

namespace zeb {

enum class CmdStatus {
    Ok,        // acknowledged (for a block: every command of it)
    Refused,   // not sent: the values are not what the instrument accepts; text says why
    NoAck,     // the instrument answered, but not with ACK or a well-formed reply
    Timeout,   // an awaited byte did not come
    LinkLost,  // no port open, or the device vanished
};

struct CmdResult {
    CmdStatus status = CmdStatus::Ok;
    QString text;  // the reason of a refusal; empty otherwise

    bool Ok() const { return status == CmdStatus::Ok; }
    explicit operator bool() const { return Ok(); }
    // The link itself failed (as opposed to values refused before sending).
    bool LinkFailed() const { return status != CmdStatus::Ok && status != CmdStatus::Refused; }

    static CmdResult Of(ExchangeOutcome outcome);
    static CmdResult Refusal(const QString& why) { return {CmdStatus::Refused, why}; }
};

// The outcome of checking a record against the connected instrument: whether it may run, and
// every message the operator must read, in the order they are to be shown.
struct SettingsCheck {
    bool fits = true;
    QStringList messages;

    explicit operator bool() const { return fits; }
};

}  // namespace zeb
