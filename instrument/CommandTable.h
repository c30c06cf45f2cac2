#pragma once
// Every command the program sends to the surge generator, in one table: the text on the wire,
// what it does, and what the instrument answers. The controller builds its commands from it and
// the communication log describes each exchange with it, so a code is written down only here.
// (The simulator in sim/ keeps its own protocol code on purpose: it must not share our mistakes.)

#include <QString>

namespace zeb {

// What the instrument answers. Every reply of a query starts with the query's two letters
// echoed back; the forms below describe what follows them.
enum class ReplyForm {
    Ack,       // a plain command: the ACK is the whole answer
    Text,      // the rest of the reply as it is
    Decimal,   // the rest read as a base-10 integer
    Nibbles1,  // one character, its low four bits
    Nibbles2,  // two characters, least significant nibble first: an 8-bit value
    Nibbles4,  // four characters: a 16-bit value
};

enum class InstrumentCommand {
    // Identification and link check.
    Identify,
    MachineType,
    // Run control and the EUT line.
    StartOrPause,
    Stop,
    LineOn,
    LineOff,
    ClearSettings,
    // Counters, status and errors.
    DischargeCount,
    IntervalCount,
    OutputPort,
    LineType,
    Status,
    ProtectStatus,
    ErrorCode,
    // The parameter block of a test step, in the order it is sent.
    Polarity,
    Voltage,
    Interval,
    Discharges,
    Angle,
    Waveform,
    AcLineConfiguration,
    DcLineConfiguration,
    AcLines,
    DcLines,
    TelecomLines,
    Modes,
    Port,
};

struct CommandEntry {
    InstrumentCommand command;
    const char* code;     // the text sent, or its fixed start when an argument follows
    const char* meaning;  // for the communication log, lower case, no full stop
    ReplyForm reply;
    bool takesArgument;  // a decimal number (or, for "PN", two mode characters) follows
};

const CommandEntry& EntryOf(InstrumentCommand command);

// The whole table, in the order of InstrumentCommand.
const CommandEntry* CommandTableBegin();
const CommandEntry* CommandTableEnd();

// The text of a command without an argument, e.g. "CA".
QString CommandText(InstrumentCommand command);
// The text of a command with its decimal argument, e.g. "PD50"; negative numbers keep their sign.
QString CommandText(InstrumentCommand command, long argument);
// The text of a command with a textual argument appended as it is, e.g. "PN" + "30".
QString CommandText(InstrumentCommand command, const QString& argument);

// Number of nibble characters a reply of this form carries; 0 for the other forms.
int NibbleDigits(ReplyForm form);

// The entry a text on the wire belongs to: a command without an argument only by its whole
// text, one with an argument by its start. Null for a text the program never sends.
const CommandEntry* FindCommand(const QString& text);

// What an exchange's command did, for a person reading the log: "start the loaded step, or pause
// or resume the running one". Empty for a text that is not in the table.
QString DescribeCommand(const QString& text);

}  // namespace zeb
