#include "CommandTable.h"

#include <iterator>

namespace zeb {

namespace {

using C = InstrumentCommand;
using R = ReplyForm;

const CommandEntry kTable[] = {
    {C::Identify, "QA", "identify the instrument", R::Text, false},
    {C::MachineType, "QR", "read the machine type", R::Nibbles1, false},
    {C::StartOrPause, "CA", "start the loaded step, or pause or resume the running one", R::Ack,
     false},
    {C::Stop, "CB", "stop the discharges", R::Ack, false},
    {C::LineOn, "CC", "switch the EUT line on", R::Ack, false},
    {C::LineOff, "CD", "switch the EUT line off", R::Ack, false},
    {C::ClearSettings, "PQ0", "clear the loaded step parameters", R::Ack, false},
    {C::DischargeCount, "QF", "read the discharges done", R::Text, false},
    {C::IntervalCount, "QE", "read the seconds to the next discharge", R::Text, false},
    {C::OutputPort, "QO", "read the output port switched", R::Decimal, false},
    {C::LineType, "QI", "read the AC line configuration switched", R::Decimal, false},
    {C::Status, "QB", "read the status byte", R::Nibbles2, false},
    {C::ProtectStatus, "QP", "read the protection status", R::Nibbles4, false},
    {C::ErrorCode, "QQ", "read the error code", R::Decimal, false},
    {C::Polarity, "PC", "set the polarity", R::Ack, true},
    {C::Voltage, "PD", "set the voltage in units of 10 V", R::Ack, true},
    {C::Interval, "PE", "set the interval in seconds", R::Ack, true},
    {C::Discharges, "PF", "set the number of discharges", R::Ack, true},
    {C::Angle, "PG", "set the phase angle", R::Ack, true},
    {C::Waveform, "PH", "set the waveform", R::Ack, true},
    {C::AcLineConfiguration, "PI", "set the AC line configuration", R::Ack, true},
    {C::DcLineConfiguration, "PJ", "set the DC line configuration", R::Ack, true},
    {C::AcLines, "PK", "set the AC injection and return lines", R::Ack, true},
    {C::DcLines, "PL", "set the DC injection and return lines", R::Ack, true},
    {C::TelecomLines, "PM", "set the telecom injection and return lines", R::Ack, true},
    {C::Modes, "PN", "set coupling, synchronisation and ring-wave impedance", R::Ack, true},
    {C::Port, "PO", "select the output port", R::Ack, true},
};

static_assert(std::size(kTable) == static_cast<size_t>(C::Port) + 1,
              "one table entry per command, in the order of the enum");

}  // namespace

const CommandEntry& EntryOf(InstrumentCommand command) {
    return kTable[static_cast<size_t>(command)];
}

const CommandEntry* CommandTableBegin() {
    return std::begin(kTable);
}

const CommandEntry* CommandTableEnd() {
    return std::end(kTable);
}

QString CommandText(InstrumentCommand command) {
    return QString::fromLatin1(EntryOf(command).code);
}

QString CommandText(InstrumentCommand command, long argument) {
    return CommandText(command) + QString::number(argument);
}

QString CommandText(InstrumentCommand command, const QString& argument) {
    return CommandText(command) + argument;
}

int NibbleDigits(ReplyForm form) {
    switch (form) {
        case ReplyForm::Nibbles1:
            return 1;
        case ReplyForm::Nibbles2:
            return 2;
        case ReplyForm::Nibbles4:
            return 4;
        default:
            return 0;
    }
}

const CommandEntry* FindCommand(const QString& text) {
    for (const CommandEntry& entry : kTable) {
        const QLatin1String code(entry.code);
        if (entry.takesArgument ? text.startsWith(code) && text.size() > code.size()
                                : text == code) {
            return &entry;
        }
    }
    return nullptr;
}

QString DescribeCommand(const QString& text) {
    const CommandEntry* entry = FindCommand(text);
    return entry ? QString::fromLatin1(entry->meaning) : QString();
}

}  // namespace zeb
