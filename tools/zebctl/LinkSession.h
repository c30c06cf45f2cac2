#pragma once
// Shared by the zebctl commands that talk to the instrument: reads "--port N" and connects,
// either to that one port or by scanning all of them.

#include <QStringList>

#include "Cli.h"
#include "ZebM40Cntl.h"

namespace zebctl {

// Takes "--port N" out of args (portNo 0 when absent). False after printing why on bad input.
inline bool TakePortOption(QStringList& args, int& portNo) {
    portNo = 0;
    QString text;
    if (!TakeOption(args, QStringLiteral("--port"), text)) {
        return false;
    }
    if (text.isEmpty()) {
        return true;
    }
    long long n = 0;
    if (!ParseInt(text, n) || n < 1 || n > zeb::kMaxOpenPortNo) {
        Err(QStringLiteral("zebctl: --port needs a number from 1 to %1").arg(zeb::kMaxOpenPortNo));
        return false;
    }
    portNo = static_cast<int>(n);
    return true;
}

// Connects to the instrument; prints the reason and returns false when none answered.
inline bool ConnectInstrument(zeb::CZebM40Cntl& cntl, int portNo) {
    const bool ok = portNo > 0 ? cntl.ConnectPort(portNo) : cntl.Connect();
    if (!ok) {
        Err(portNo > 0 ? QStringLiteral("zebctl: no instrument answered on COM%1").arg(portNo)
                       : QStringLiteral("zebctl: no instrument answered on any port"));
    }
    return ok;
}

}  // namespace zebctl
