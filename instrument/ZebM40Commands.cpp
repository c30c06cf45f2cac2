// The instrument's command set as controller operations: run control, counters, status and
// errors. Parameter blocks and the settings check are in ZebM40Steps.cpp.

#include "CommandTable.h"
#include "InstrumentStatus.h"
#include "ReplyDecoders.h"
#include "ZebM40Cntl.h"

namespace zeb {

bool CZebM40Cntl::QueryText(InstrumentCommand query, QString& text) {
    text.clear();
    if (!m_protocol.SendQuery(CommandText(query))) {
        return false;
    }
    text = DecodeText(m_protocol.GetReply());
    return true;
}

bool CZebM40Cntl::QueryDecimal(InstrumentCommand query, int& value) {
    value = 0;
    if (!m_protocol.SendQuery(CommandText(query))) {
        return false;
    }
    value = DecodeDecimal(m_protocol.GetReply());
    return true;
}

bool CZebM40Cntl::QueryNibbles(InstrumentCommand query, quint32& value) {
    value = 0;
    if (!m_protocol.SendQuery(CommandText(query))) {
        return false;
    }
    value = DecodeNibbles(m_protocol.GetReply(), NibbleDigits(EntryOf(query).reply));
    return true;
}

CmdResult CZebM40Cntl::Command(InstrumentCommand command) {
    m_protocol.SendCommand(CommandText(command));
    return CmdResult::Of(m_protocol.LastOutcome());
}

CmdResult CZebM40Cntl::StartTest() {
    return Command(InstrumentCommand::StartOrPause);
}

CmdResult CZebM40Cntl::PauseResume() {
    return Command(InstrumentCommand::StartOrPause);  // a running step toggles run and pause
}

CmdResult CZebM40Cntl::StopTest() {
    return Command(InstrumentCommand::Stop);
}

CmdResult CZebM40Cntl::ClearSettings() {
    return Command(InstrumentCommand::ClearSettings);
}

CmdResult CZebM40Cntl::LineOn() {
    return Command(InstrumentCommand::LineOn);
}

CmdResult CZebM40Cntl::LineOff() {
    return Command(InstrumentCommand::LineOff);
}

CmdResult CZebM40Cntl::MakeSafe() {
    const CmdResult stopped = StopTest();
    const CmdResult lineOff = LineOff();
    return stopped ? lineOff : stopped;
}

bool CZebM40Cntl::GetDischargeCount(QString& count) {
    return QueryText(InstrumentCommand::DischargeCount, count);
}

bool CZebM40Cntl::GetIntervalCount(QString& seconds) {
    return QueryText(InstrumentCommand::IntervalCount, seconds);
}

bool CZebM40Cntl::GetOutputPort(int& port) {
    return QueryDecimal(InstrumentCommand::OutputPort, port);
}

bool CZebM40Cntl::GetLineType(int& lineType) {
    return QueryDecimal(InstrumentCommand::LineType, lineType);
}

bool CZebM40Cntl::GetStatus(quint8& status) {
    quint32 value = 0;
    const bool ok = QueryNibbles(InstrumentCommand::Status, value);
    status = static_cast<quint8>(value);
    return ok;
}

bool CZebM40Cntl::GetProtectStatus(quint16& protect) {
    quint32 value = 0;
    const bool ok = QueryNibbles(InstrumentCommand::ProtectStatus, value);
    protect = static_cast<quint16>(value);
    return ok;
}

bool CZebM40Cntl::GetErrorCode(int& code) {
    return QueryDecimal(InstrumentCommand::ErrorCode, code);
}

bool CZebM40Cntl::GetErrorMessage(QString& message) {
    int code = 0;
    const bool ok = GetErrorCode(code);
    message = ErrorMessageFor(code);
    return ok;
}

}  // namespace zeb
