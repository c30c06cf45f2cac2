// zebctl commands that use the instrument's command set: its status, and one test step's
// parameter block sent from a settings file.

#include "Cli.h"
#include "DocumentJson.h"
#include "InstrumentStatus.h"
#include "LinkSession.h"
#include "MessageSeam.h"
#include "RunPreChecks.h"
#include "SettingsDoc.h"
#include "StepCheck.h"
#include "ZebM40Cntl.h"

namespace zebctl {
namespace {

int Status(const QStringList& arguments) {
    QStringList args = arguments;
    int portNo = 0;
    if (!TakePortOption(args, portNo) || !args.isEmpty()) {
        Err(QStringLiteral("usage: zebctl status [--port N]"));
        return kExitBadInput;
    }
    zeb::CZebM40Cntl cntl{zeb::SerialAccess::System()};
    if (!ConnectInstrument(cntl, portNo)) {
        return kExitInstrument;
    }
    quint8 status = 0;
    quint16 protect = 0;
    int code = 0;
    if (!cntl.GetStatus(status) || !cntl.GetProtectStatus(protect) || !cntl.GetErrorCode(code)) {
        Err(QStringLiteral("zebctl: the instrument did not answer a status query"));
        return kExitInstrument;
    }
    const QStringList names = zeb::StatusBitNames(status);
    Out(QStringLiteral("status=0x%1%2")
            .arg(status, 2, 16, QLatin1Char('0'))
            .arg(names.isEmpty() ? QString() : QLatin1Char(' ') + names.join(QLatin1Char(' '))));
    Out(QStringLiteral("protect=0x%1").arg(protect, 4, 16, QLatin1Char('0')));
    Out(QStringLiteral("error=%1").arg(code));
    // One line per key: the line feeds inside a message are written as \n.
    Out(QStringLiteral("message=%1")
            .arg(zeb::ErrorMessageFor(code).replace(QLatin1Char('\n'), QLatin1String("\\n"))));
    return kExitOk;
}

int Step(const QStringList& arguments) {
    QStringList args = arguments;
    int portNo = 0;
    if (!TakePortOption(args, portNo) || args.size() != 2) {
        Err(QStringLiteral("usage: zebctl step [--port N] <FILE.zms|FILE.json> <N>"));
        return kExitBadInput;
    }
    zeb::CZebM40SettingsDoc doc;
    QString error;
    if (!zeb::LoadDocumentFile(args.at(0), std::nullopt, 0, doc, error)) {
        Err(QStringLiteral("zebctl: %1").arg(error));
        return kExitBadInput;
    }
    long long n = 0;
    const long long count = static_cast<long long>(doc.Steps().size());
    if (!ParseInt(args.at(1), n) || n < 1 || n > count) {
        Err(QStringLiteral("zebctl: step number must be 1 to %1").arg(count));
        return kExitBadInput;
    }
    // A step the instrument would not accept is bad input: refused before connecting.
    const zeb::CExecData& step = doc.Steps().at(static_cast<size_t>(n - 1));
    QString problem;
    if (!zeb::CheckStepValues(step, problem)) {
        zeb::ShowMessage(problem, zeb::MsgButtons::Ok, zeb::MsgIcon::Warning);
        return kExitBadInput;
    }
    zeb::CZebM40Cntl cntl{zeb::SerialAccess::System()};
    if (!ConnectInstrument(cntl, portNo)) {
        return kExitInstrument;
    }
    // As before a run: conditions for another machine type, or a line configuration this
    // instrument's hardware lacks, are refused (the message says which).
    if (!zeb::SettingsFit(cntl, doc.Record())) {
        return kExitBadInput;
    }
    if (!cntl.SendStep(step)) {
        Err(QStringLiteral("zebctl: the parameter block of step %1 was not accepted").arg(n));
        return kExitInstrument;
    }
    return kExitOk;
}

const ZebctlCommand kStatus("status",
                            "status [--port N]          status byte, protection and error code",
                            Status);
const ZebctlCommand kStep("step", "step [--port N] <FILE> <N> send the parameter block of step N",
                          Step);

}  // namespace
}  // namespace zebctl
