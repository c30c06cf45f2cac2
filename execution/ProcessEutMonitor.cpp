#include "ProcessEutMonitor.h"

#include <QDir>
#include <QFileInfo>
#include <QProcessEnvironment>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

#include "CommandWords.h"
#include "ProcessReaper.h"

namespace zeb {

namespace {
QString Comment(const QString& text) {
    return QLatin1String(kMonitorCommentPrefix) + text;
}

MonitorVerdict Problem(const QString& why) {
    MonitorVerdict v;
    v.outcome = MonitorOutcome::Problem;
    v.comment = Comment(why);
    return v;
}

QString SecondsText(int ms) {
    return ms % 1000 == 0 ? QString::number(ms / 1000) : QString::number(ms / 1000.0, 'f', 1);
}

void AppendCapped(QByteArray& kept, const QByteArray& more) {
    const int room = MonitorVerdict::kKeptOutputBytes - static_cast<int>(kept.size());
    if (room > 0) {
        kept.append(more.left(room));
    }
}

QProcessEnvironment StepEnvironment(const MonitorRequest& r) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ZEB_STEP"), QString::number(r.step));
    env.insert(QStringLiteral("ZEB_STEPS"), QString::number(r.steps));
    env.insert(QStringLiteral("ZEB_PORT"), r.port);
    env.insert(QStringLiteral("ZEB_LINES"), r.lines);
    env.insert(QStringLiteral("ZEB_VOLTAGE_V"), QString::number(r.voltageV));
    env.insert(QStringLiteral("ZEB_POLARITY"), r.polarity);
    env.insert(QStringLiteral("ZEB_ANGLE_DEG"), r.angleDeg);
    env.insert(QStringLiteral("ZEB_DISCHARGES"), QString::number(r.discharges));
    env.insert(QStringLiteral("ZEB_PHASE"), PhaseName(r.phase));
    env.insert(QStringLiteral("ZEB_DOCUMENT"), r.documentPath);
    return env;
}
}  // namespace

CProcessEutMonitor::CProcessEutMonitor(QStringList words, int timeLimitMs, QObject* parent)
    : QObject(parent), m_words(std::move(words)), m_timeLimitMs(qMax(1, timeLimitMs)) {
    m_limit.setSingleShot(true);
    // A coarse timer may fire up to 5 % early; the limit the lab set is a promise to the command.
    m_limit.setTimerType(Qt::PreciseTimer);
    connect(&m_limit, &QTimer::timeout, this, &CProcessEutMonitor::OnTimeLimit);
}

CProcessEutMonitor::~CProcessEutMonitor() {
    Cancel();
}

bool CProcessEutMonitor::Start(const MonitorRequest& request) {
    if (m_busy) {
        if (request.phase == MonitorPhase::During) {
            CountSkipped();
        }
        return false;
    }
    ++m_generation;
    m_busy = true;
    m_timedOut = false;
    m_finishing = false;
    m_request = request;
    m_output.clear();
    m_errorOutput.clear();
    m_program.clear();
    m_clock.start();
    if (m_words.isEmpty() || m_words.first().isEmpty()) {
        Finish(Problem(QStringLiteral("no command is set")));
        return true;
    }

    MonitorPlaces places = m_ownPlaces ? m_places : InstalledMonitorPlaces(request.documentPath);
    places.documentFolder =
        request.documentPath.isEmpty() ? QString() : QFileInfo(request.documentPath).absolutePath();
    const MonitorProgram program = FindMonitorProgram(m_words.first(), places);
    m_program = program.path;
    if (!program.Found()) {
        Finish(
            Problem(QStringLiteral("cannot start \"%1\": %2").arg(m_words.first(), program.error)));
        return true;
    }

    m_process = std::make_unique<QProcess>();
    m_process->setProgram(m_program);
    m_process->setArguments(m_words.mid(1));
    m_process->setProcessEnvironment(StepEnvironment(request));
    // The command is not interactive: reading its standard input ends at once.
    m_process->setStandardInputFile(QProcess::nullDevice());
    if (!request.documentPath.isEmpty()) {
        const QString folder = QFileInfo(request.documentPath).absolutePath();
        if (QDir(folder).exists()) {
            m_process->setWorkingDirectory(folder);
        }
    }
#ifdef Q_OS_UNIX
    // A group of its own, so the time limit also ends what a script started (a ping, a sleep).
    m_process->setChildProcessModifier([] { ::setpgid(0, 0); });
#endif
    QProcess* p = m_process.get();
    connect(p, &QProcess::readyReadStandardOutput, this, &CProcessEutMonitor::OnReadyRead);
    connect(p, &QProcess::readyReadStandardError, this, &CProcessEutMonitor::OnReadyRead);
    connect(p, &QProcess::finished, this, &CProcessEutMonitor::OnFinished);
    connect(p, &QProcess::errorOccurred, this, &CProcessEutMonitor::OnError);
    m_limit.start(m_timeLimitMs);
    p->start();
    return true;
}

void CProcessEutMonitor::Cancel() {
    if (!m_busy) {
        return;
    }
    ++m_generation;  // a verdict already on its way is dropped
    m_limit.stop();
    Discard();
    m_busy = false;
}

void CProcessEutMonitor::OnReadyRead() {
    if (!m_process) {
        return;
    }
    // Everything is read so the command never blocks on a full pipe; only the start is kept.
    AppendCapped(m_output, m_process->readAllStandardOutput());
    AppendCapped(m_errorOutput, m_process->readAllStandardError());
}

void CProcessEutMonitor::OnFinished(int exitCode, QProcess::ExitStatus status) {
    if (m_finishing) {
        return;
    }
    OnReadyRead();
    MonitorVerdict v;
    if (m_timedOut) {
        v = Problem(
            QStringLiteral("no answer within %1 s, stopped").arg(SecondsText(m_timeLimitMs)));
    } else if (status == QProcess::CrashExit) {
        v = Problem(exitCode > 0 ? QStringLiteral("crashed (signal %1)").arg(exitCode)
                                 : QStringLiteral("crashed"));
    } else {
        v = VerdictFromExit(exitCode, m_output, m_errorOutput);
    }
    Finish(std::move(v));
}

void CProcessEutMonitor::OnError(QProcess::ProcessError error) {
    // A crash or a kill is followed by finished(); only a failed start ends the check here.
    if (error != QProcess::FailedToStart || m_finishing || !m_process) {
        return;
    }
    m_program.clear();  // found, but it could not be run
    Finish(Problem(
        QStringLiteral("cannot start \"%1\": %2").arg(m_words.first(), m_process->errorString())));
}

void CProcessEutMonitor::OnTimeLimit() {
    if (!m_process || m_finishing) {
        return;
    }
    // finished() follows from the event loop once the killed command has been reaped.
    m_timedOut = true;
    KillAll();
}

void CProcessEutMonitor::KillAll() {
    if (m_process) {
        CProcessReaper::KillGroup(*m_process);
    }
}

void CProcessEutMonitor::Discard() {
    // Never waited for here: a cancelled check must not hold the window. The reaper kills the
    // command with its group and lets the process object go once the command has ended.
    CProcessReaper::Reap(std::move(m_process));
}

void CProcessEutMonitor::Finish(MonitorVerdict verdict) {
    m_finishing = true;
    m_limit.stop();
    verdict.request = m_request;
    verdict.durationMs = m_clock.elapsed();
    verdict.program = m_program;
    if (verdict.output.isEmpty()) {
        verdict.output = m_output;
    }
    if (verdict.errorOutput.isEmpty()) {
        verdict.errorOutput = m_errorOutput;
    }
    const quint64 generation = m_generation;
    // Handed over from the event loop: never from inside Start, and never while the process
    // object is still emitting the signal that brought us here.
    QMetaObject::invokeMethod(
        this,
        [this, generation, verdict] {
            if (generation != m_generation || !m_busy) {
                return;
            }
            Discard();
            m_busy = false;
            Deliver(verdict);
        },
        Qt::QueuedConnection);
}

std::unique_ptr<CProcessEutMonitor> MakeEutMonitor(const EutMonitorSettings& settings,
                                                   QString* error) {
    const CommandWords split = SplitCommandWords(settings.command);
    QString why;
    if (!split.Ok()) {
        why = split.error;
    } else if (split.words.isEmpty() || split.words.first().isEmpty()) {
        why = QStringLiteral("No monitor command is set.");
    }
    if (!why.isEmpty()) {
        if (error) {
            *error = why;
        }
        return nullptr;
    }
    return std::make_unique<CProcessEutMonitor>(split.words,
                                                ClampMonitorSeconds(settings.timeLimitS) * 1000);
}

}  // namespace zeb
