#pragma once
// The instrument controller: finds and identifies the surge simulator on the serial ports and
// wraps its command set as named operations. Every operation blocks until its exchange ends.
// Commands return a CmdResult that says what happened (acknowledged, refused and why, or how
// the link failed); queries return true only when the exchange succeeded and clear their out
// values first, so a failure leaves 0 or an empty text. Nothing is retried, and nothing is
// shown to the operator from here: the caller decides what to say.

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include "CommandResult.h"
#include "CommandTable.h"
#include "ExecData.h"
#include "MachineModels.h"
#include "RsBasicProtocol.h"

namespace zeb {

class CSettingData;

class CZebM40Cntl {
public:
    // Scans the system's serial ports at once, as the program does at start-up.
    CZebM40Cntl();
    // Uses the given ports and transports and does not scan; call Connect() when wanted.
    explicit CZebM40Cntl(SerialAccess access);
    virtual ~CZebM40Cntl();
    CZebM40Cntl(const CZebM40Cntl&) = delete;
    CZebM40Cntl& operator=(const CZebM40Cntl&) = delete;

    // Scans COM1 to COM127 in order; the first port whose instrument identifies itself stays
    // open. False when none answered (then no port is open).
    bool Connect();
    // Opens one given port and identifies the instrument there; the port is closed again when
    // nothing known answered.
    bool ConnectPort(int portNo);
    // Asks for the identification; returns the identification code, 0 for no or an unrecognised
    // answer.
    int Identify(QString& reply);
    // Asks for the machine type: the low nibble after the echo (0 on failure).
    bool GetMachineType(quint32& machineType);
    static bool GetModelName(quint32 machineType, QString& name);
    bool IsConnected() const { return m_protocol.Port().PortNo() != 0; }

    // The command set (codes and reply forms: CommandTable.h). Queries clear their out value
    // and fill it only from a valid reply.
    CmdResult StartTest();      // starts the loaded step
    CmdResult PauseResume();    // the start command while a step runs: pauses or resumes it
    CmdResult StopTest();       // stops a running step (harmless when none runs)
    CmdResult ClearSettings();  // forgets the loaded parameters
    CmdResult LineOn();         // switches the EUT line (mains to the EUT) on
    CmdResult LineOff();        // switches the EUT line off
    // Leaves the instrument safe: stops any test, then switches the EUT line off. Both are
    // always sent; the result is the first failure, if any.
    CmdResult MakeSafe();
    bool GetDischargeCount(QString& count);   // discharges done in the running step
    bool GetIntervalCount(QString& seconds);  // countdown to the next discharge
    bool GetOutputPort(int& port);            // the output port switched
    bool GetLineType(int& lineType);          // the AC line configuration switched
    bool GetStatus(quint8& status);           // the status byte (see InstrumentStatus.h)
    bool GetProtectStatus(quint16& protect);  // the 16-bit protection status
    // The message of the instrument's error code; the text is set even on failure (empty).
    bool GetErrorMessage(QString& message);
    // The error code as a number, for callers that log or print the code; 0 on failure.
    bool GetErrorCode(int& code);

    // Sends one test step as its parameter block, after an identification query that proves the
    // link alive. Stops at the first command not acknowledged. A step with a value or code the
    // instrument does not accept for the step's machine type (CheckStepValues) is not sent at all:
    // the result is Refused and its text names the wrong value. `block`, when given, receives the
    // commands of the block as they are (or would be) sent.
    CmdResult SendStep(const CExecData& step, QStringList* block = nullptr);
    // Checks a record against the connected instrument before it is run. `fits` is false when
    // the test may not go ahead (always true without a port); `messages` are for the operator.
    SettingsCheck CheckSettings(const CSettingData& record);

    int IdentCode() const { return m_nIdentCode; }
    // The identification reply of the connected instrument, as it was received.
    const QString& IdentReply() const { return m_strIdentReply; }
    int InstHWVersion() const { return m_nInstHWVersion; }
    int PortNo() const { return m_protocol.Port().PortNo(); }
    // The devices the last Connect() or ConnectPort() tried but could not open although they
    // exist (held, locked or not permitted), in scan order: what a permission hint may name.
    const QStringList& UnopenedDevices() const { return m_unopened; }
    QString DeviceName() const { return m_protocol.Port().DeviceName(); }

    CRsBasicProtocol& Protocol() { return m_protocol; }

private:
    bool TryPort(int portNo);
    CmdResult Command(InstrumentCommand command);
    bool QueryText(InstrumentCommand query, QString& text);
    bool QueryDecimal(InstrumentCommand query, int& value);
    // The number of nibbles read is the query's reply form in the command table.
    bool QueryNibbles(InstrumentCommand query, quint32& value);

    CRsBasicProtocol m_protocol;
    int m_nIdentCode = ident::kNone;
    QString m_strIdentReply;
    int m_nInstHWVersion = 0;
    QStringList m_unopened;
};

}  // namespace zeb
