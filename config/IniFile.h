#pragma once
// The program's one configuration file, ZEB.ini in Brakmoor/ZEB below the user's configuration
// folder ($XDG_CONFIG_HOME, default ~/.config, on Linux; %APPDATA% on Windows). Every reader and
// writer of preferences and test environment data goes through these two functions.

#include <QString>

namespace zeb {

// Longest value ReadIniString returns, in UTF-16 units; longer stored values (and defaults) are
// cut.
constexpr int kIniValueMaxLength = 519;

// Largest ZEB.ini that is read (a real one holds a few kilobytes); a larger file, or anything
// that is not a regular file, reads as missing and is never written over.
constexpr qint64 kIniFileMaxBytes = 1024 * 1024;

// Full path of ZEB.ini, worked out afresh from the environment on every call.
QString IniFilePath();

// The stored value, or `defaultValue` when the file, the section or the key is missing. A key
// that is present with an empty value gives an empty string, not the default.
QString ReadIniString(const QString& section, const QString& key, const QString& defaultValue);

// Stores the value, keeping every other line of the file. The file is left read-only (and hidden
// on Windows) afterwards. A write that cannot be done changes nothing and is not reported: the
// caller carries on with the value it has, as the operator would expect from a preference.
void WriteIniString(const QString& section, const QString& key, const QString& value);

}  // namespace zeb
