#include "MonitorSettings.h"

#include <algorithm>

#include "IniFile.h"

namespace zeb {

namespace {
QString Read(const char* key) {
    return ReadIniString(QLatin1String(monitorini::kSection), QLatin1String(key), QString());
}

void Write(const char* key, const QString& value) {
    WriteIniString(QLatin1String(monitorini::kSection), QLatin1String(key), value);
}

int ReadSeconds(const char* key, int fallback) {
    bool ok = false;
    const long long value = Read(key).trimmed().toLongLong(&ok);
    return ok ? ClampMonitorSeconds(value) : fallback;
}

bool ReadSwitch(const char* key, bool fallback) {
    const QString value = Read(key).trimmed();
    if (value == QLatin1String("1")) {
        return true;
    }
    if (value == QLatin1String("0")) {
        return false;
    }
    return fallback;
}

QString SwitchText(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}
}  // namespace

int ClampMonitorSeconds(long long seconds) {
    return static_cast<int>(std::clamp<long long>(seconds, EutMonitorSettings::kMinSeconds,
                                                  EutMonitorSettings::kMaxSeconds));
}

EutMonitorSettings LoadMonitorSettings() {
    EutMonitorSettings s;
    s.command = Read(monitorini::kCommand).trimmed();
    s.timeLimitS = ReadSeconds(monitorini::kTimeLimit, EutMonitorSettings::kDefaultTimeLimit);
    s.judgeAfterStep = ReadSwitch(monitorini::kJudgeAfter, true);
    s.checkDuringStep = ReadSwitch(monitorini::kCheckDuring, false);
    s.everyS = ReadSeconds(monitorini::kEvery, EutMonitorSettings::kDefaultEvery);
    s.stopOnFail = ReadSwitch(monitorini::kStopOnFail, false);
    return s;
}

void StoreMonitorSettings(const EutMonitorSettings& settings) {
    Write(monitorini::kCommand, settings.command.trimmed());
    Write(monitorini::kTimeLimit, QString::number(ClampMonitorSeconds(settings.timeLimitS)));
    Write(monitorini::kJudgeAfter, SwitchText(settings.judgeAfterStep));
    Write(monitorini::kCheckDuring, SwitchText(settings.checkDuringStep));
    Write(monitorini::kEvery, QString::number(ClampMonitorSeconds(settings.everyS)));
    Write(monitorini::kStopOnFail, SwitchText(settings.stopOnFail));
}

}  // namespace zeb
