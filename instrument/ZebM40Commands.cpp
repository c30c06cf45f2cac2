// The instrument's command set as controller operations: run control, counters, status and
// errors. Parameter blocks and the settings check are in ZebM40Steps.cpp.

#include "InstrumentStatus.h"
#include "ReplyDecoders.h"
#include "ZebM40Cntl.h"

namespace zeb {

bool CZebM40Cntl::QueryText(const char* query, QString& text) {
    text.clear();
    if (!m_protocol.SendQuery(QString::fromLatin1(query))) {
        return false;
    }
    text = DecodeText(m_protocol.GetReply());
    return true;
}

bool CZebM40Cntl::QueryDecimal(const char* query, int& value) {
    value = 0;
    if (!m_protocol.SendQuery(QString::fromLatin1(query))) {
        return false;
    }
    value = DecodeDecimal(m_protocol.GetReply());
    return true;
}

bool CZebM40Cntl::QueryNibbles(const char* query, int digits, quint32& value) {
    value = 0;
    if (!m_protocol.SendQuery(QString::fromLatin1(query))) {
        return false;
    }
    value = DecodeNibbles(m_protocol.GetReply(), digits);
    return true;
}

CmdResult CZebM40Cntl::Command(const char* text) {
    m_protocol.SendCommand(QString::fromLatin1(text));
    return CmdResult::Of(m_protocol.LastOutcome());
}

CmdResult CZebM40Cntl::StartTest() {
    return Command("CA");
}

CmdResult CZebM40Cntl::PauseResume() {
    return Command("CA");  // the instrument toggles a running step between run and pause
}

CmdResult CZebM40Cntl::StopTest() {
    return Command("CB");
}

CmdResult CZebM40Cntl::ClearSettings() {
    return Command("PQ0");
}

CmdResult CZebM40Cntl::LineOn() {
    return Command("CC");
}

CmdResult CZebM40Cntl::LineOff() {
    return Command("CD");
}

CmdResult CZebM40Cntl::MakeSafe() {
    const CmdResult stopped = StopTest();
    const CmdResult lineOff = LineOff();
    return stopped ? lineOff : stopped;
}

bool CZebM40Cntl::GetDischargeCount(QString& count) {
    return QueryText("QF", count);
}

bool CZebM40Cntl::GetIntervalCount(QString& seconds) {
    return QueryText("QE", seconds);
}

bool CZebM40Cntl::GetOutputPort(int& port) {
    return QueryDecimal("QO", port);
}

bool CZebM40Cntl::GetLineType(int& lineType) {
    return QueryDecimal("QI", lineType);
}

bool CZebM40Cntl::GetStatus(quint8& status) {
    quint32 value = 0;
    const bool ok = QueryNibbles("QB", 2, value);
    status = static_cast<quint8>(value);
    return ok;
}

bool CZebM40Cntl::GetProtectStatus(quint16& protect) {
    quint32 value = 0;
    const bool ok = QueryNibbles("QP", 4, value);
    protect = static_cast<quint16>(value);
    return ok;
}

bool CZebM40Cntl::GetErrorCode(int& code) {
    return QueryDecimal("QQ", code);
}

bool CZebM40Cntl::GetErrorMessage(QString& message) {
    int code = 0;
    const bool ok = GetErrorCode(code);
    message = ErrorMessageFor(code);
    return ok;
}

}  // namespace zeb
