#include "Cli.h"

#include <cstdio>
#include <map>
#include <string>

namespace zebctl {

namespace {
struct Entry {
    std::string usage;
    CommandFn fn;
};
std::map<std::string, Entry>& Registry() {
    static std::map<std::string, Entry> registry;
    return registry;
}
}  // namespace

ZebctlCommand::ZebctlCommand(const char* name, const char* usage, CommandFn fn) {
    Registry()[name] = Entry{usage, std::move(fn)};
}

void Out(const QString& line) {
    std::fprintf(stdout, "%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

void Err(const QString& line) {
    std::fprintf(stderr, "%s\n", line.toUtf8().constData());
    std::fflush(stderr);
}

bool TakeOption(QStringList& args, const QString& name, QString& value) {
    const int i = args.indexOf(name);
    if (i < 0) {
        return true;
    }
    if (i + 1 >= args.size()) {
        Err(QStringLiteral("zebctl: option %1 needs a value").arg(name));
        return false;
    }
    value = args.at(i + 1);
    args.remove(i, 2);
    return true;
}

bool TakeFlag(QStringList& args, const QString& name) { return args.removeAll(name) > 0; }

bool ParseInt(const QString& text, long long& value) {
    bool ok = false;
    const long long v = text.trimmed().toLongLong(&ok, 10);
    if (ok) {
        value = v;
    }
    return ok;
}

int RunCommand(const QString& name, const QStringList& args) {
    auto& registry = Registry();
    auto it = registry.find(name.toStdString());
    if (it == registry.end()) {
        Err(QStringLiteral("zebctl: unknown command '%1'").arg(name));
        Err(QStringLiteral("Commands:"));
        for (const auto& [n, e] : registry) {
            Err(QStringLiteral("  %1").arg(QString::fromStdString(e.usage)));
        }
        return kExitBadInput;
    }
    return it->second.fn(args);
}

void PrintUsage() {
    Out(QStringLiteral("usage: zebctl [--port N] <command> [arguments]"));
    for (const auto& [n, e] : Registry()) {
        Out(QStringLiteral("  %1").arg(QString::fromStdString(e.usage)));
    }
}

}  // namespace zebctl
