#pragma once
// Lets go of a command that is no longer wanted without waiting for it: the command and its
// process group are killed, and the process object is kept until the event loop has seen the
// command end, so it is reaped (no zombie) and the window never waits. A command that a kill
// did not reach (it had not yet made its group) is killed again every second until it ends.

#include <QObject>
#include <QProcess>

#include <memory>

namespace zeb {

class CProcessReaper : public QObject {
public:
    // The reaper of this program, owned by the application object. Without one (no event loop
    // can run) a process handed over is waited for at once.
    static CProcessReaper* Instance();

    // Kills `process` and everything in its group, and deletes it once it has ended.
    static void Reap(std::unique_ptr<QProcess> process);

    // Processes handed over that have not ended yet.
    int Pending() const;

    // Kills `process` and its process group (a group of its own, made when it started).
    static void KillGroup(QProcess& process);

private:
    explicit CProcessReaper(QObject* parent);
    void Take(std::unique_ptr<QProcess> process);
};

}  // namespace zeb
