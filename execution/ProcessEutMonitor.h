#pragma once
// The EUT monitor as a program run with QProcess: started directly (never through a shell) with
// the step in its environment, the document's folder as working folder and no standard input;
// watched from the event loop, so the window never waits for it; killed with everything it
// started when the time limit is up or the check is cancelled, and always reaped (never waited
// for in the window), so no process is left behind.

#include <QElapsedTimer>
#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QTimer>

#include <memory>

#include "EutMonitor.h"
#include "MonitorProgram.h"
#include "MonitorSettings.h"

namespace zeb {

class CProcessEutMonitor : public QObject, public IEutMonitor {
public:
    // `words`: the program and its arguments (not empty). `timeLimitMs`: how long one check may
    // take before it is killed and reported as a problem.
    CProcessEutMonitor(QStringList words, int timeLimitMs, QObject* parent = nullptr);
    ~CProcessEutMonitor() override;

    bool Start(const MonitorRequest& request) override;
    bool Busy() const override { return m_busy; }
    void Cancel() override;

    const QStringList& Words() const { return m_words; }
    int TimeLimitMs() const { return m_timeLimitMs; }
    // Where a bare program name is looked for besides the document's folder; by default this
    // installation's places and PATH, read at each check.
    void SetSearchPlaces(const MonitorPlaces& places) {
        m_places = places;
        m_ownPlaces = true;
    }

private:
    void OnReadyRead();
    void OnFinished(int exitCode, QProcess::ExitStatus status);
    void OnError(QProcess::ProcessError error);
    void OnTimeLimit();
    // Kills the command and whatever it started (its process group).
    void KillAll();
    // Hands the verdict over from the event loop, once, unless the check was cancelled.
    void Finish(MonitorVerdict verdict);
    // Lets the process object go and reaps the command if it is still there.
    void Discard();

    QStringList m_words;
    int m_timeLimitMs;
    MonitorPlaces m_places;
    bool m_ownPlaces = false;
    QString m_program;  // the program of the running check, as found
    std::unique_ptr<QProcess> m_process;
    QTimer m_limit;
    QElapsedTimer m_clock;
    MonitorRequest m_request;
    QByteArray m_output;
    QByteArray m_errorOutput;
    bool m_busy = false;
    bool m_timedOut = false;
    bool m_finishing = false;  // the verdict is on its way; nothing else may end the check
    quint64 m_generation = 0;  // counts checks, so a stale hand-over is recognised
};

// The monitor the settings describe, or nullptr with `error` saying why (no command, or a
// command that cannot be split into words).
std::unique_ptr<CProcessEutMonitor> MakeEutMonitor(const EutMonitorSettings& settings,
                                                   QString* error = nullptr);

}  // namespace zeb
