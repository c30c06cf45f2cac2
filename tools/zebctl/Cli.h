#pragma once
// zebctl's small command framework. Each group of commands lives in its own file and registers
// itself with a static ZebctlCommand object; main() looks the command up by name.
//
// Exit codes are the same for every command: 0 success, 1 the instrument did not answer or
// refused, 2 bad input (file or arguments).

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

}  // namespace zebctl
