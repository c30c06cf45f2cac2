#include "ProcessReaper.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>

#ifdef Q_OS_UNIX
#include <signal.h>
#endif

namespace zeb {

namespace {
constexpr int kKillAgainMs = 1000;

QPointer<CProcessReaper>& TheReaper() {
    static QPointer<CProcessReaper> reaper;
    return reaper;
}
}  // namespace

CProcessReaper::CProcessReaper(QObject* parent) : QObject(parent) {}

CProcessReaper* CProcessReaper::Instance() {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) {
        return nullptr;
    }
    QPointer<CProcessReaper>& reaper = TheReaper();
    if (!reaper) {
        reaper = new CProcessReaper(app);  // owned by the application object
    }
    return reaper;
}

void CProcessReaper::KillGroup(QProcess& process) {
    if (process.state() == QProcess::NotRunning) {
        return;
    }
#ifdef Q_OS_UNIX
    const qint64 pid = process.processId();
    if (pid > 0) {
        ::kill(-static_cast<pid_t>(pid), SIGKILL);
    }
#endif
    process.kill();
}

void CProcessReaper::Reap(std::unique_ptr<QProcess> process) {
    if (!process) {
        return;
    }
    process->disconnect();
    KillGroup(*process);
    if (process->state() == QProcess::NotRunning) {
        return;  // already reaped: deleting it waits for nothing
    }
    CProcessReaper* reaper = Instance();
    if (!reaper) {
        process->waitForFinished(3000);
        return;
    }
    reaper->Take(std::move(process));
}

void CProcessReaper::Take(std::unique_ptr<QProcess> owned) {
    QProcess* process = owned.release();
    process->setParent(this);  // from here the reaper owns it
    auto* again = new QTimer(process);
    again->setInterval(kKillAgainMs);
    connect(again, &QTimer::timeout, process, [process] { KillGroup(*process); });
    connect(process, &QProcess::finished, process, [process] { process->deleteLater(); });
    // A start still under way ends in an error instead of finished().
    connect(process, &QProcess::errorOccurred, process, [process](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            process->deleteLater();
        }
    });
    again->start();
}

int CProcessReaper::Pending() const {
    return static_cast<int>(findChildren<QProcess*>(QString(), Qt::FindDirectChildrenOnly).size());
}

}  // namespace zeb
