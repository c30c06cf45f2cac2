// zebctl commands for the serial link: the port table, the connection scan and single
// exchanges with the instrument.

#include "Cli.h"
#include "LinkSession.h"
#include "PortAccess.h"
#include "PortTable.h"
#include "ZebM40Cntl.h"

namespace zebctl {
namespace {

int Ports(const QStringList& args) {
    if (!args.isEmpty()) {
        Err(QStringLiteral("usage: zebctl ports"));
        return kExitBadInput;
    }
    PrintPortTableNotice();
    // A device the user may not open is marked, and the reason (its group) goes to standard
    // error: the scan would silently find nothing there.
    const QStringList table = zeb::SystemPortTable();
    for (int i = 0; i < table.size(); ++i) {
        const QString problem = zeb::PortAccessProblem(table.at(i));
        if (problem.isEmpty()) {
            Out(QStringLiteral("COM%1\t%2").arg(i + 1).arg(table.at(i)));
        } else {
            Out(QStringLiteral("COM%1\t%2\tno access").arg(i + 1).arg(table.at(i)));
            Err(QStringLiteral("zebctl: %1").arg(problem));
        }
    }
    return kExitOk;
}

int Scan(const QStringList& arguments) {
    QStringList args = arguments;
    int portNo = 0;
    if (!TakePortOption(args, portNo) || !args.isEmpty()) {
        Err(QStringLiteral("usage: zebctl scan [--port N]"));
        return kExitBadInput;
    }
    zeb::CZebM40Cntl cntl{zeb::SerialAccess::System()};
    if (!ConnectInstrument(cntl, portNo)) {
        return kExitInstrument;
    }
    Out(QStringLiteral("port=COM%1").arg(cntl.PortNo()));
    Out(QStringLiteral("device=%1").arg(cntl.DeviceName()));
    Out(QStringLiteral("ident=0x%1").arg(cntl.IdentCode(), 0, 16));
    Out(QStringLiteral("hwversion=%1").arg(cntl.InstHWVersion()));
    quint32 type = 0;
    if (!cntl.GetMachineType(type)) {
        Err(QStringLiteral("zebctl: the instrument did not report its machine type"));
        return kExitInstrument;
    }
    QString model;
    zeb::GetModelName(type, model);
    Out(QStringLiteral("machinetype=%1").arg(type));
    Out(QStringLiteral("model=%1").arg(model));
    return kExitOk;
}

// The framing takes any text but breaks on control characters (ENQ, STX, ETX inside the text
// end or restart a frame), and the line carries 8-bit characters only. Such a text is refused
// before anything is opened; false after printing which character is wrong.
bool CheckLineText(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < 0x20 || (c >= 0x7F && c <= 0x9F) || c > 0xFF) {
            Err(QStringLiteral("zebctl: character %1 of the text (U+%2) cannot be sent; only "
                               "printable Latin-1 characters travel on the line")
                    .arg(i + 1)
                    .arg(static_cast<int>(c), 4, 16, QLatin1Char('0')));
            return false;
        }
    }
    return true;
}

// One exchange of the given kind after connecting.
int Exchange(const QStringList& arguments, bool query) {
    QStringList args = arguments;
    int portNo = 0;
    if (!TakePortOption(args, portNo) || args.size() != 1 || args.first().isEmpty()) {
        Err(query ? QStringLiteral("usage: zebctl query [--port N] <TEXT>")
                  : QStringLiteral("usage: zebctl send [--port N] <TEXT>"));
        return kExitBadInput;
    }
    if (!CheckLineText(args.first())) {
        return kExitBadInput;
    }
    zeb::CZebM40Cntl cntl{zeb::SerialAccess::System()};
    if (!ConnectInstrument(cntl, portNo)) {
        return kExitInstrument;
    }
    zeb::CRsBasicProtocol& link = cntl.Protocol();
    if (query) {
        if (!link.SendQuery(args.first())) {
            Err(QStringLiteral("zebctl: no valid reply to %1").arg(args.first()));
            return kExitInstrument;
        }
        Out(link.GetReply());
        return kExitOk;
    }
    if (!link.SendCommand(args.first())) {
        Err(QStringLiteral("zebctl: %1 was not acknowledged").arg(args.first()));
        return kExitInstrument;
    }
    return kExitOk;
}

const ZebctlCommand kPorts("ports",
                           "ports                      list the port table (COMn and device)",
                           Ports);
const ZebctlCommand kScan("scan", "scan [--port N]            find and identify the instrument",
                          Scan);
const ZebctlCommand kQuery("query", "query [--port N] <TEXT>    send one query, print the reply",
                           [](const QStringList& a) { return Exchange(a, true); });
const ZebctlCommand kSend("send", "send [--port N] <TEXT>     send one command",
                          [](const QStringList& a) { return Exchange(a, false); });

}  // namespace
}  // namespace zebctl
