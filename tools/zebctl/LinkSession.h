#pragma once
// Shared by the zebctl commands that talk to the instrument: reads "--port N" and connects,
// either to that one port or by scanning all of them.

#include <QStringList>

#include "Cli.h"
#include "ExchangeLog.h"
#include "PortAccess.h"
#include "PortTable.h"
#include "ZebM40Cntl.h"

namespace zebctl {

// Takes "--port N" out of args (portNo 0 when absent). False after printing why on bad input,
// an empty value included.
inline bool TakePortOption(QStringList& args, int& portNo) {
    portNo = 0;
    const bool given = args.contains(QStringLiteral("--port"));
    QString text;
    if (!TakeOption(args, QStringLiteral("--port"), text)) {
        return false;
    }
    if (!given) {
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

// Says so when ZEB_SERIAL_PORTS names more devices than the port table holds.
inline void PrintPortTableNotice() {
    const QString notice = zeb::PortTableNotice();
    if (!notice.isEmpty()) {
        Err(QStringLiteral("zebctl: %1").arg(notice));
    }
}

// Connects to the instrument; prints the reason and returns false when none answered. With
// --trace every exchange from the scan on is printed to standard error.
inline bool ConnectInstrument(zeb::CZebM40Cntl& cntl, int portNo) {
    PrintPortTableNotice();
    if (TraceEnabled()) {
        static zeb::CExchangeTrace trace;
        cntl.Protocol().SetObserver(&trace);
    }
    const bool ok = portNo > 0 ? cntl.ConnectPort(portNo) : cntl.Connect();
    if (!ok) {
        Err(portNo > 0 ? QStringLiteral("zebctl: no instrument answered on COM%1").arg(portNo)
                       : QStringLiteral("zebctl: no instrument answered on any port"));
        // What kept the scan from the devices it could not open, one line each.
        for (const QString& device : cntl.UnopenedDevices()) {
            const QString problem = zeb::PortAccessProblem(device);
            if (!problem.isEmpty()) {
                Err(QStringLiteral("zebctl: %1").arg(problem));
            }
        }
    }
    return ok;
}

}  // namespace zebctl
