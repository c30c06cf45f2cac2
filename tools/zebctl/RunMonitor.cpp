#include "RunMonitor.h"

#include "Cli.h"
#include "ExecData.h"
#include "SettingsDoc.h"

namespace zebctl {

namespace {

bool Seconds(const QString& option, const QString& text, int& seconds) {
    long long value = 0;
    if (!ParseInt(text, value) || value < zeb::EutMonitorSettings::kMinSeconds ||
        value > zeb::EutMonitorSettings::kMaxSeconds) {
        Err(QStringLiteral("zebctl: %1 needs a whole number of seconds from %2 to %3")
                .arg(option)
                .arg(zeb::EutMonitorSettings::kMinSeconds)
                .arg(zeb::EutMonitorSettings::kMaxSeconds));
        return false;
    }
    seconds = static_cast<int>(value);
    return true;
}

// The reason without the "monitor: " every monitor comment starts with.
QString Reason(const QString& comment) {
    const QLatin1String prefix(zeb::kMonitorCommentPrefix);
    return comment.startsWith(prefix) ? comment.mid(prefix.size()) : comment;
}

}  // namespace

bool TakeMonitorOptions(QStringList& args, RunMonitorOptions& options) {
    if (!TakeOption(args, QStringLiteral("--monitor"), options.command) ||
        !TakeOption(args, QStringLiteral("--monitor-timeout"), options.timeoutText) ||
        !TakeOption(args, QStringLiteral("--monitor-every"), options.everyText)) {
        return false;
    }
    options.stopOnFail = TakeFlag(args, QStringLiteral("--stop-on-fail"));
    return true;
}

bool MonitorSettingsFor(const RunMonitorOptions& options, zeb::EutMonitorSettings& settings) {
    if (!options.command.trimmed().isEmpty()) {
        settings = zeb::EutMonitorSettings();
        settings.command = options.command.trimmed();
    } else {
        settings = zeb::LoadMonitorSettings();
    }
    if (!options.timeoutText.isEmpty() &&
        !Seconds(QStringLiteral("--monitor-timeout"), options.timeoutText, settings.timeLimitS)) {
        return false;
    }
    if (!options.everyText.isEmpty()) {
        if (!Seconds(QStringLiteral("--monitor-every"), options.everyText, settings.everyS)) {
            return false;
        }
        settings.checkDuringStep = true;
    }
    settings.stopOnFail = settings.stopOnFail || options.stopOnFail;
    if (!settings.Enabled() && (!options.timeoutText.isEmpty() || !options.everyText.isEmpty())) {
        Err(
            QStringLiteral("zebctl: --monitor-timeout and --monitor-every need a monitor command "
                           "(--monitor, or the EUT monitor setting)"));
        return false;
    }
    return true;
}

void PrintVerdict(const zeb::CZebM40SettingsDoc& doc, const zeb::MonitorVerdict& v, int result) {
    const int step = v.request.step;
    if (v.outcome == zeb::MonitorOutcome::Problem) {
        Out(QStringLiteral("monitor step=%1 problem=%2").arg(step).arg(Reason(v.comment)));
    } else if (v.outcome == zeb::MonitorOutcome::Fail ||
               v.request.phase == zeb::MonitorPhase::After) {
        Out(QStringLiteral("mark step=%1 result=%2 by=monitor comment=%3")
                .arg(step)
                .arg(result == zeb::kResultFail ? QStringLiteral("FAIL") : QStringLiteral("PASS"))
                .arg(doc.Steps()[static_cast<size_t>(step - 1)].m_strComment));
    }
}

}  // namespace zebctl
