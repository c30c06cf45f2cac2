#include "Cli.h"

#include <QCommandLineParser>
#include <QRegularExpression>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

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

// First error met while writing standard output (0: none).
int g_outError = 0;
bool g_stdoutClosed = false;

void NoteOutResult(bool ok) {
    if (!ok && g_outError == 0) {
        g_outError = errno != 0 ? errno : EIO;
    }
}

bool WriteStdout(const char* data, size_t size) {
    if (g_stdoutClosed) {
        if (g_outError == 0) {
            g_outError = EBADF;
        }
        return false;
    }
    errno = 0;
    const bool ok = std::fwrite(data, 1, size, stdout) == size && std::fflush(stdout) == 0;
    NoteOutResult(ok);
    return ok;
}

// Parses the options of one command; false after printing why.
bool ParseCommandLine(const QString& name, const QString& usage, const QStringList& args,
                      QStringList& plain, bool& help) {
    QStringList valueOptions;
    QStringList flags;
    OptionsOfUsage(usage, valueOptions, flags);
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    parser.addOption(helpOption);
    for (const QString& option : valueOptions) {
        parser.addOption(QCommandLineOption(option, QString(), QStringLiteral("value")));
    }
    for (const QString& flag : flags) {
        parser.addOption(QCommandLineOption(flag));
    }
    if (!parser.parse(QStringList{QStringLiteral("zebctl")} + args)) {
        Err(QStringLiteral("zebctl %1: %2").arg(name, parser.errorText()));
        Err(QStringLiteral("usage: zebctl %1").arg(usage));
        return false;
    }
    help = parser.isSet(helpOption);
    plain.clear();
    for (const QString& option : valueOptions) {
        if (!parser.isSet(option)) {
            continue;
        }
        const QString value = parser.value(option);  // the last one when given twice
        if (value.trimmed().isEmpty()) {
            Err(QStringLiteral("zebctl %1: option --%2 needs a value").arg(name, option));
            return false;
        }
        plain << QStringLiteral("--") + option << value;
    }
    for (const QString& flag : flags) {
        if (parser.isSet(flag)) {
            plain << QStringLiteral("--") + flag;
        }
    }
    plain << parser.positionalArguments();
    return true;
}

}  // namespace

ZebctlCommand::ZebctlCommand(const char* name, const char* usage, CommandFn fn) {
    Registry()[name] = Entry{usage, std::move(fn)};
}

void Out(const QString& line) {
    const QByteArray bytes = line.toUtf8() + '\n';
    WriteStdout(bytes.constData(), static_cast<size_t>(bytes.size()));
}

void OutBytes(const QByteArray& bytes) {
    WriteStdout(bytes.constData(), static_cast<size_t>(bytes.size()));
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

bool TakeFlag(QStringList& args, const QString& name) {
    return args.removeAll(name) > 0;
}

bool ParseInt(const QString& text, long long& value) {
    bool ok = false;
    const long long v = text.trimmed().toLongLong(&ok, 10);
    if (ok) {
        value = v;
    }
    return ok;
}

void OptionsOfUsage(const QString& usage, QStringList& valueOptions, QStringList& flags) {
    valueOptions.clear();
    flags.clear();
    static const QRegularExpression option(
        QStringLiteral("--([a-z][a-z0-9-]*)(?:[ =]([A-Z][A-Z0-9_.]*)\\b)?"));
    auto it = option.globalMatch(usage);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        QStringList& list = m.captured(2).isEmpty() ? flags : valueOptions;
        if (!valueOptions.contains(m.captured(1)) && !flags.contains(m.captured(1))) {
            list << m.captured(1);
        }
    }
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
    const QString usage = QString::fromStdString(it->second.usage);
    QStringList plain;
    bool help = false;
    if (!ParseCommandLine(name, usage, args, plain, help)) {
        return kExitBadInput;
    }
    if (help) {
        Out(QStringLiteral("usage: zebctl %1").arg(usage));
        return kExitOk;
    }
    return it->second.fn(plain);
}

void PrintUsage() {
    Out(
        QStringLiteral("usage: zebctl [--port N] [--trace] <command> [arguments]   (--help after a "
                       "command explains it; --trace prints every exchange with the instrument "
                       "to standard error)"));
    for (const auto& [n, e] : Registry()) {
        Out(QStringLiteral("  %1").arg(QString::fromStdString(e.usage)));
    }
}

namespace {
bool g_trace = false;
}  // namespace

void SetTrace(bool on) {
    g_trace = on;
}

bool TraceEnabled() {
    return g_trace;
}

void GuardStandardStreams() {
#ifndef _WIN32
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) {
            continue;
        }
        const int opened = ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        if (opened >= 0 && opened != fd) {
            ::dup2(opened, fd);
            ::close(opened);
        }
        if (fd == 1) {
            g_stdoutClosed = true;
        }
    }
#endif
}

int FinishOutput(int exitCode) {
    if (!g_stdoutClosed) {
        errno = 0;
        NoteOutResult(std::fflush(stdout) == 0 && !std::ferror(stdout));
    }
    if (g_outError == 0) {
        return exitCode;
    }
    Err(QStringLiteral("zebctl: standard output could not be written: %1")
            .arg(QString::fromLocal8Bit(std::strerror(g_outError))));
    return exitCode != kExitOk ? exitCode : kExitBadInput;
}

}  // namespace zebctl
