#pragma once
// The instrument controller: finds and identifies the surge simulator on the serial ports and
// wraps its command set as operations. Every operation blocks until its exchange ends, returns
// true only when the exchange succeeded, and clears its out values first, so a failure leaves
// 0 or an empty text. Nothing is retried; the caller decides what to tell the operator.

#include <QString>
#include <QtGlobal>

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
    // Asks "QA"; returns the identification code, 0 for no or an unrecognised answer.
    int Identify(QString& reply);
    // Asks "QR"; the machine type is the low nibble after the echo (0 on failure).
    bool GetMachineType(quint32& machineType);
    static bool GetModelName(quint32 machineType, QString& name);
    bool IsConnected() const { return m_protocol.Port().PortNo() != 0; }

    // The command set. Commands return true when acknowledged; queries clear their out value
    // and fill it only from a valid reply.
    bool StartTest();      // "CA": starts the loaded step; pauses or resumes a running one
    bool StopTest();       // "CB"
    bool ClearSettings();  // "PQ0"
    bool GetDischargeCount(QString& count);   // "QF": discharges done in the running step
    bool GetIntervalCount(QString& seconds);  // "QE": countdown to the next discharge
    bool GetOutputPort(int& port);            // "QO": the output port switched
    bool GetLineType(int& lineType);          // "QI": the AC line configuration switched
    bool GetStatus(quint8& status);           // "QB": the status byte (see InstrumentStatus.h)
    bool GetProtectStatus(quint16& protect);  // "QP": the 16-bit protection status
    // "QQ": the message of the instrument's error code; the text is set even on failure (empty).
    bool GetErrorMessage(QString& message);
    // "QQ" as a number, for callers that log or print the code; 0 on failure.
    bool GetErrorCode(int& code);

    // Sends one test step as its parameter block, after a "QA" that proves the link alive.
    // Stops at the first command not acknowledged. A step with a value or code the instrument
    // does not accept for the step's machine type (CheckStepValues) is not sent at all: the
    // operator is told which value is wrong through the message seam, and the result is false.
    bool SendStepParameters(const CExecData& step);
    // Checks a record against the connected instrument before it is run; shows what is wrong
    // through the message seam. True when the test may go ahead (always without a port).
    bool CheckSettings(const CSettingData& record);

    int IdentCode() const { return m_nIdentCode; }
    int InstHWVersion() const { return m_nInstHWVersion; }
    int PortNo() const { return m_protocol.Port().PortNo(); }
    QString DeviceName() const { return m_protocol.Port().DeviceName(); }

    CRsBasicProtocol& Protocol() { return m_protocol; }

private:
    bool TryPort(int portNo);
    bool QueryText(const char* query, QString& text);
    bool QueryDecimal(const char* query, int& value);
    bool QueryNibbles(const char* query, int digits, quint32& value);

    CRsBasicProtocol m_protocol;
    int m_nIdentCode = ident::kNone;
    int m_nInstHWVersion = 0;
};

}  // namespace zeb
