#pragma once
// zebctl's small command framework. Each group of commands lives in its own file and registers
// itself with a static ZebctlCommand object; main() looks the command up by name.
//
// Options are parsed with QCommandLineParser before a command runs. The options a command takes
// are read from its usage text: "[--port N]" is an option with a value (an upper-case
// placeholder follows the name), "[--force]" a flag; every command also takes --help / -h.
// Unknown options, missing or empty values are refused with the parser's message. The command
// then receives its arguments in one plain form, "--name value" and "--flag" followed by the
// other arguments, so TakeOption and TakeFlag find them whether they were written "--port=1",
// "--port 1", before or after the command name.
//
// Exit codes are the same for every command: 0 success, 1 the instrument did not answer or
// refused, 2 bad input (file or arguments, or a standard output that cannot be written).

#include <QByteArray>
#include <QStringList>

#include <functional>

namespace zebctl {

enum ExitCode { kExitOk = 0, kExitInstrument = 1, kExitBadInput = 2 };

using CommandFn = std::function<int(const QStringList& args)>;

struct ZebctlCommand {
    ZebctlCommand(const char* name, const char* usage, CommandFn fn);
};

// Prints one line to standard output / standard error (UTF-8, line feed added).
void Out(const QString& line);
void Err(const QString& line);
// Writes bytes to standard output as they are.
void OutBytes(const QByteArray& bytes);

// Takes "--name value" out of args. Returns false (and prints a message) when the option is
// present without a value; value stays untouched when the option is absent.
bool TakeOption(QStringList& args, const QString& name, QString& value);
// Takes "--name" (no value) out of args; true when it was there.
bool TakeFlag(QStringList& args, const QString& name);

// Parses a whole decimal integer; false for anything else.
bool ParseInt(const QString& text, long long& value);

// Runs a registered command; prints the list of commands for an unknown name.
int RunCommand(const QString& name, const QStringList& args);
void PrintUsage();

// Names the options a usage text declares: value options and flags, without the dashes.
void OptionsOfUsage(const QString& usage, QStringList& valueOptions, QStringList& flags);

// "--trace": every exchange with the instrument is printed to standard error, one line each
// (time, command, reply, outcome), so a service engineer sees what went over the cable.
void SetTrace(bool on);
bool TraceEnabled();

// Guards the standard streams before anything is opened: a closed standard output or error
// is pointed at /dev/null, so no file or serial port opened later can take its place and
// receive the program's output. A closed standard output still counts as failed when written.
void GuardStandardStreams();
// Flushes standard output and turns a write that failed (full disk, closed stream, /dev/full)
// into a message and a non-zero exit code; returns the command's code otherwise.
int FinishOutput(int exitCode);

}  // namespace zebctl
