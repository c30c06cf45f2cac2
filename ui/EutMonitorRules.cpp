#include "EutMonitorRules.h"

#include "CommandWords.h"

namespace zeb {

CEutMonitorRules::CEutMonitorRules(EutMonitorSettings settings) : m_settings(std::move(settings)) {
    SetTimeLimit(m_settings.timeLimitS);
    SetEvery(m_settings.everyS);
}

void CEutMonitorRules::SetTimeLimit(int seconds) {
    m_settings.timeLimitS = ClampMonitorSeconds(seconds);
}

void CEutMonitorRules::SetEvery(int seconds) {
    m_settings.everyS = ClampMonitorSeconds(seconds);
}

QString CEutMonitorRules::CommandError() const {
    const QString command = m_settings.command.trimmed();
    // ZEB.ini gives back at most this much; a longer command would come back cut off.
    if (command.size() > EutMonitorSettings::kMaxCommandLength) {
        return QStringLiteral("The command is longer than %1 characters.")
            .arg(EutMonitorSettings::kMaxCommandLength);
    }
    const CommandWords split = SplitCommandWords(command);
    if (!split.Ok()) {
        return split.error;
    }
    if (!split.words.isEmpty() && split.words.first().isEmpty()) {
        return QStringLiteral("The command starts with an empty program name.");
    }
    return QString();
}

bool CEutMonitorRules::CanTest() const {
    return !m_testing && m_settings.Enabled() && CommandError().isEmpty();
}

void CEutMonitorRules::TestStarted() {
    m_testing = true;
    m_status = QStringLiteral("Checking the EUT...");
    m_output.clear();
    m_program.clear();
}

void CEutMonitorRules::TestEnded(const MonitorVerdict& verdict) {
    m_testing = false;
    m_status = VerdictText(verdict);
    m_output = OutputText(verdict);
    m_program = verdict.program.isEmpty() ? QString() : QStringLiteral("Ran ") + verdict.program;
}

void CEutMonitorRules::TestNotRun(const QString& why) {
    m_testing = false;
    m_status = QStringLiteral("Not tested: ") + why;
    m_output.clear();
    m_program.clear();
}

QString CEutMonitorRules::QuotedWord(const QString& word) {
    bool plain = !word.isEmpty();
    for (const QChar c : word) {
        if (!c.isLetterOrNumber() && !QStringLiteral("_-./,:+=@%").contains(c)) {
            plain = false;
        }
    }
    if (plain) {
        return word;
    }
    QString quoted = word;
    quoted.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

QString CEutMonitorRules::CommandWithProgram(const QString& command, const QString& path) {
    const CommandWords split = SplitCommandWords(command);
    QStringList words;
    words << QuotedWord(path);
    if (split.Ok()) {
        for (const QString& argument : split.words.mid(1)) {
            words << QuotedWord(argument);
        }
    }
    return words.join(QLatin1Char(' '));
}

QString CEutMonitorRules::VerdictText(const MonitorVerdict& verdict) {
    const QString ms = QStringLiteral("%1 ms").arg(verdict.durationMs);
    switch (verdict.outcome) {
        case MonitorOutcome::Pass:
            return QStringLiteral("PASS (exit status 0, %1)").arg(ms);
        case MonitorOutcome::Fail:
            return QStringLiteral("FAIL (exit status 1, %1). Comment: %2").arg(ms, verdict.comment);
        case MonitorOutcome::Problem:
            break;
    }
    return QStringLiteral("No verdict (%1). Comment: %2").arg(ms, verdict.comment);
}

QString CEutMonitorRules::OutputText(const MonitorVerdict& verdict) {
    QString text = QString::fromUtf8(verdict.output);
    if (!verdict.errorOutput.isEmpty()) {
        if (!text.isEmpty() && !text.endsWith(QLatin1Char('\n'))) {
            text += QLatin1Char('\n');
        }
        text += QStringLiteral("--- standard error ---\n") + QString::fromUtf8(verdict.errorOutput);
    }
    return text;
}

MonitorRequest CEutMonitorRules::TestRequest(MonitorRequest sample) {
    sample.phase = MonitorPhase::After;
    return sample;
}

}  // namespace zeb
