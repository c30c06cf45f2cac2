#pragma once
// Runs zebctl as a child process, as a script or a hostile user would.

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include <map>

namespace zeb::test {

struct ToolRun {
    int exitCode = -1;  // -1: crashed or did not end within the time allowed
    QByteArray out;
    QString err;
};

// Waits for a started process and collects what it wrote; one that does not end in time is
// killed and reported as crashed.
inline ToolRun WaitForTool(QProcess& p, int timeoutMs) {
    ToolRun r;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.out = p.readAllStandardOutput();
    r.err = QString::fromUtf8(p.readAllStandardError());
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return r;
}

// Runs zebctl with args; env entries are added to (an empty value removes) the environment.
inline ToolRun Zebctl(const QStringList& args, const std::map<QString, QString>& env = {},
                      int timeoutMs = 20000) {
    QProcess p;
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : env) {
        if (value.isEmpty()) {
            e.remove(name);
        } else {
            e.insert(name, value);
        }
    }
    p.setProcessEnvironment(e);
    p.start(QStringLiteral(ZEBCTL_PATH), args);
    return WaitForTool(p, timeoutMs);
}

// Runs a shell command line in which "ZEBCTL" stands for the program (for redirections and
// byte strings a QProcess cannot pass).
inline ToolRun ZebctlInShell(const QString& script, int timeoutMs = 20000) {
    QProcess p;
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.insert(QStringLiteral("ZEBCTL"), QStringLiteral(ZEBCTL_PATH));
    p.setProcessEnvironment(e);
    p.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script});
    return WaitForTool(p, timeoutMs);
}

}  // namespace zeb::test
