#pragma once
// Options the standard commands share (check, plan): --standard ID, --level N, --voltage V.

#include <QStringList>

#include <cstdint>
#include <optional>

#include "ProfileLibrary.h"

namespace zebctl {

struct StandardOptions {
    QString profile;
    QString level;
    int32_t voltage = 0;  // volts, for level X
};

// Takes the three options out of args; false after printing why (a bad voltage, level X
// without a voltage, a voltage for another level).
bool TakeStandardOptions(QStringList& args, StandardOptions& options);
// "3000", "3000V" or "3kV" as volts, 1 to the generator's maximum; false after printing why.
bool ParseVolts(const QString& text, int32_t& volts);
// Each profile file that did not load, one line on standard error.
void PrintProfileProblems(const zeb::ProfileSet& set);

// --machine (decimal or 0x hexadecimal) and --hw; false after printing a message
// (DocumentCommands.cpp).
bool TakeMachineOptions(QStringList& args, std::optional<uint32_t>& machine, int32_t& hw);

}  // namespace zebctl
