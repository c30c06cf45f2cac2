#pragma once
// What the lab set up for the EUT monitor, kept in ZEB.ini in a section of its own. With no
// command nothing is monitored and every run behaves as it always did.

#include <QString>

#include "IniFile.h"

namespace zeb {

namespace monitorini {
inline const char* const kSection = "INI_SECTION_EUT_MONITOR";
inline const char* const kCommand = "INI_KEY_MONITOR_COMMAND";
inline const char* const kTimeLimit = "INI_KEY_MONITOR_TIME_LIMIT";
inline const char* const kJudgeAfter = "INI_KEY_MONITOR_JUDGE_AFTER_STEP";
inline const char* const kCheckDuring = "INI_KEY_MONITOR_CHECK_DURING_STEP";
inline const char* const kEvery = "INI_KEY_MONITOR_CHECK_EVERY";
inline const char* const kStopOnFail = "INI_KEY_MONITOR_STOP_ON_FAIL";
}  // namespace monitorini

struct EutMonitorSettings {
    // Both the time limit of one check and the period of the checks during a step, in seconds.
    static constexpr int kMinSeconds = 1;
    static constexpr int kMaxSeconds = 600;
    static constexpr int kDefaultTimeLimit = 30;
    static constexpr int kDefaultEvery = 10;
    // Longest command that reads back from ZEB.ini whole.
    static constexpr int kMaxCommandLength = kIniValueMaxLength;

    QString command;  // program and arguments as typed (see CommandWords.h)
    int timeLimitS = kDefaultTimeLimit;
    bool judgeAfterStep = true;  // judge each step once its last discharge is done
    bool checkDuringStep = false;
    int everyS = kDefaultEvery;  // period of the checks during a step
    bool stopOnFail = false;     // a FAIL ends the test as STOP does

    // A command is set: the monitor is in use.
    bool Enabled() const { return !command.trimmed().isEmpty(); }
    // Whether a check is due after each step / every everyS during a step.
    bool JudgesAfterStep() const { return Enabled() && judgeAfterStep; }
    bool ChecksDuringStep() const { return Enabled() && checkDuringStep; }

    bool operator==(const EutMonitorSettings& o) const {
        return command == o.command && timeLimitS == o.timeLimitS &&
               judgeAfterStep == o.judgeAfterStep && checkDuringStep == o.checkDuringStep &&
               everyS == o.everyS && stopOnFail == o.stopOnFail;
    }
    bool operator!=(const EutMonitorSettings& o) const { return !(*this == o); }
};

// A number of seconds put into 1..600.
int ClampMonitorSeconds(long long seconds);

// The stored settings. A missing key, or a value that is not a number (or not 0/1 for a switch),
// gives the default; a number outside 1..600 is put to the nearest end of the range.
EutMonitorSettings LoadMonitorSettings();
// Stores every key of the section (numbers as decimal text, switches as 1 or 0).
void StoreMonitorSettings(const EutMonitorSettings& settings);

}  // namespace zeb
