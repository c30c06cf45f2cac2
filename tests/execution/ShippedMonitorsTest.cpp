// The monitor scripts shipped with the program: their usage lines, and tcp-port,
// serial-heartbeat and http-status against things on this machine only (a listener on
// 127.0.0.1, a plain file and a pipe standing in for the serial port).
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zeb {
namespace {

struct ScriptRun {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

ScriptRun RunMonitor(const char* name, const QStringList& args) {
    QProcess p;
    p.setStandardInputFile(QProcess::nullDevice());
    p.start(QStringLiteral(ZEB_MONITORS_DIR "/") + QLatin1String(name), args);
    ScriptRun r;
    if (!p.waitForFinished(20000) || p.exitStatus() != QProcess::NormalExit) {
        p.kill();
        p.waitForFinished();
        ADD_FAILURE() << name << " did not finish: " << p.errorString().toStdString();
        return r;
    }
    r.status = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

// A TCP listener on 127.0.0.1 at a port the system picks; connections wait in its backlog.
class LocalListener {
public:
    LocalListener() {
        m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof a;
        if (m_fd < 0 || ::bind(m_fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
            ::listen(m_fd, 8) != 0 ||
            ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&a), &len) != 0) {
            return;
        }
        m_port = ntohs(a.sin_port);
    }
    ~LocalListener() { Close(); }
    void Close() {
        if (m_fd >= 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }
    int Port() const { return m_port; }

private:
    int m_fd = -1;
    int m_port = 0;
};

TEST(ShippedMonitorsTest, WrongArgumentsGiveTheUsageLineAndStatus2) {
    const struct {
        const char* name;
        QStringList args;
        const char* usage;
    } cases[] = {
        {"ping-host", {}, "usage: ping-host HOST\n"},
        {"ping-host", {"a", "b"}, "usage: ping-host HOST\n"},
        {"ping-host", {"-f"}, "usage: ping-host HOST\n"},
        {"http-status", {}, "usage: http-status URL [CODE]\n"},
        {"http-status", {"http://127.0.0.1/", "2xx"}, "usage: http-status URL [CODE]\n"},
        {"http-status", {"--output=x"}, "usage: http-status URL [CODE]\n"},
        {"tcp-port", {"127.0.0.1"}, "usage: tcp-port HOST PORT\n"},
        {"tcp-port", {"127.0.0.1", "http"}, "usage: tcp-port HOST PORT\n"},
        {"tcp-port", {"127.0.0.1", "70000"}, "usage: tcp-port HOST PORT\n"},
        {"serial-heartbeat",
         {"/dev/null", "x"},
         "usage: serial-heartbeat DEVICE PATTERN SECONDS\n"},
        {"serial-heartbeat",
         {"/dev/null", "x", "0"},
         "usage: serial-heartbeat DEVICE PATTERN SECONDS\n"},
        {"serial-heartbeat",
         {"/dev/null", "", "5"},
         "usage: serial-heartbeat DEVICE PATTERN SECONDS\n"},
    };
    for (const auto& c : cases) {
        const ScriptRun r = RunMonitor(c.name, c.args);
        EXPECT_EQ(r.status, 2) << c.name << " " << c.args.join(' ').toStdString();
        EXPECT_EQ(r.err, QByteArray(c.usage)) << c.name;
        EXPECT_TRUE(r.out.isEmpty()) << c.name;
    }
}

TEST(ShippedMonitorsTest, TcpPortPassesOnAListenerAndFailsOnceItIsGone) {
    LocalListener listener;
    ASSERT_GT(listener.Port(), 0);
    const QStringList args = {QStringLiteral("127.0.0.1"), QString::number(listener.Port())};
    ScriptRun r = RunMonitor("tcp-port", args);
    EXPECT_EQ(r.status, 0) << r.out.constData() << r.err.constData();

    listener.Close();
    r = RunMonitor("tcp-port", args);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(
        r.out,
        QStringLiteral("127.0.0.1 does not accept connections on port %1\n").arg(args[1]).toUtf8());
}

TEST(ShippedMonitorsTest, HttpStatusFailsWhenNothingAnswers) {
    LocalListener listener;  // picks a free port, then frees it: nobody answers there
    const int port = listener.Port();
    listener.Close();
    const QString url = QStringLiteral("http://127.0.0.1:%1/status").arg(port);
    const ScriptRun r = RunMonitor("http-status", {url, QStringLiteral("204")});
    if (r.status == 3) {
        GTEST_SKIP() << "neither curl nor wget here: " << r.err.constData();
    }
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, (url + QStringLiteral(" does not answer\n")).toUtf8());
}

TEST(ShippedMonitorsTest, SerialHeartbeatWaitsForAMatchingLineWithinTheTime) {
    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("port.txt"));
    QFile f(log);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("boot v1.2\nalive 17\n");
    f.close();

    ScriptRun r = RunMonitor("serial-heartbeat",
                             {log, QStringLiteral("^alive [0-9]+$"), QStringLiteral("2")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, QByteArray("alive 17\n"));

    r = RunMonitor("serial-heartbeat", {log, QStringLiteral("^ready"), QStringLiteral("2")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.startsWith("no line matching ^ready on ")) << r.out.constData();

    // A port on which nothing arrives: the time runs out.
    const QString fifo = dir.filePath(QStringLiteral("silent"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    r = RunMonitor("serial-heartbeat", {fifo, QStringLiteral("alive"), QStringLiteral("1")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out,
              QStringLiteral("no line matching alive on %1 within 1 s\n").arg(fifo).toUtf8());
    EXPECT_TRUE(r.err.isEmpty()) << r.err.constData();

    // What cannot be checked is no verdict on the EUT.
    r = RunMonitor("serial-heartbeat", {dir.filePath(QStringLiteral("missing")),
                                        QStringLiteral("alive"), QStringLiteral("1")});
    EXPECT_EQ(r.status, 3);
}

}  // namespace
}  // namespace zeb
