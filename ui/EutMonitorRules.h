#pragma once
// The EUT monitor dialog without its window: the fields as settings, which controls are
// enabled, whether the command can be used, the Test button's state and the text it shows
// for a verdict.

#include <QString>

#include "EutMonitor.h"
#include "MonitorSettings.h"

namespace zeb {

class CEutMonitorRules {
public:
    explicit CEutMonitorRules(EutMonitorSettings settings = EutMonitorSettings());

    const EutMonitorSettings& Settings() const { return m_settings; }

    void SetCommand(const QString& command) { m_settings.command = command; }
    // Seconds outside 1..600 are put to the nearest end.
    void SetTimeLimit(int seconds);
    void SetEvery(int seconds);
    void SetJudgeAfterStep(bool on) { m_settings.judgeAfterStep = on; }
    void SetCheckDuringStep(bool on) { m_settings.checkDuringStep = on; }
    void SetStopOnFail(bool on) { m_settings.stopOnFail = on; }

    // The time limit and the three switches mean something only once a command is set.
    bool OptionsEnabled() const { return m_settings.Enabled(); }
    // The period field, only while checks during the step are on.
    bool EveryEnabled() const { return OptionsEnabled() && m_settings.checkDuringStep; }

    // Why the command cannot be used (quotes, length), or empty. No command at all is fine: it
    // switches the monitor off.
    QString CommandError() const;
    bool CanAccept() const { return CommandError().isEmpty(); }

    // The Test button: a usable command and no test running.
    bool CanTest() const;
    bool Testing() const { return m_testing; }
    void TestStarted();
    void TestEnded(const MonitorVerdict& verdict);
    // The test could not be started at all (`why`), or was given up.
    void TestNotRun(const QString& why);
    // "", "Checking the EUT..." while the test runs, then the verdict text.
    const QString& StatusText() const { return m_status; }
    // What the command wrote, for the output box.
    const QString& OutputText() const { return m_output; }
    // "Ran <full path>" once a test has run a program, else empty.
    const QString& ProgramText() const { return m_program; }

    // The command with its program replaced by `path` (chosen with Browse...), the arguments
    // kept; quoted where the path needs it. A command that cannot be split becomes the path.
    static QString CommandWithProgram(const QString& command, const QString& path);
    // `word` as the command field needs it to come back as one word.
    static QString QuotedWord(const QString& word);

    // What the Test button shows for a verdict.
    static QString VerdictText(const MonitorVerdict& verdict);
    // The output box's text: standard output, then standard error under a heading of its own.
    static QString OutputText(const MonitorVerdict& verdict);
    // The request a test is run with: `sample` as the phase after a step.
    static MonitorRequest TestRequest(MonitorRequest sample);

private:
    EutMonitorSettings m_settings;
    bool m_testing = false;
    QString m_status;
    QString m_output;
    QString m_program;
};

}  // namespace zeb
