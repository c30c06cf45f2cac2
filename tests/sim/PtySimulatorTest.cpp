// The simulator over a real pseudo-terminal, spoken to with plain POSIX reads and writes.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#include <chrono>
#include <mutex>

#include <QFileInfo>

#include "FrameCodec.h"
#include "PtySimulator.h"

namespace zebsim {
namespace {

using SteadyClock = std::chrono::steady_clock;

class RawPort {
public:
    explicit RawPort(const QString& path) {
        m_fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_fd >= 0) {
            termios tio{};
            tcgetattr(m_fd, &tio);
            cfmakeraw(&tio);
            tcsetattr(m_fd, TCSANOW, &tio);
        }
    }
    ~RawPort() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    bool IsOpen() const { return m_fd >= 0; }
    int Fd() const { return m_fd; }

    bool Write(const QByteArray& bytes) {
        return ::write(m_fd, bytes.constData(), static_cast<size_t>(bytes.size())) == bytes.size();
    }
    // Reads until count bytes came or timeoutMs passed without the next one.
    QByteArray Read(int count, int timeoutMs = 500) {
        QByteArray out;
        while (out.size() < count) {
            pollfd fd{m_fd, POLLIN, 0};
            if (poll(&fd, 1, timeoutMs) <= 0 || !(fd.revents & POLLIN)) {
                break;
            }
            char buffer[256];
            const ssize_t n =
                ::read(m_fd, buffer, std::min<size_t>(sizeof buffer, count - out.size()));
            if (n <= 0) {
                break;
            }
            out.append(buffer, static_cast<int>(n));
        }
        return out;
    }
    // True when the device reports a hang-up or an error (the other end went away).
    bool HungUp(int timeoutMs) {
        pollfd fd{m_fd, POLLIN, 0};
        if (poll(&fd, 1, timeoutMs) <= 0) {
            return false;
        }
        char byte;
        return (fd.revents & (POLLHUP | POLLERR)) || ::read(m_fd, &byte, 1) <= 0;
    }

    QByteArray Query(const QByteArray& text) {
        if (!Write(QByteArray(1, kEnq)) || Read(1) != QByteArray(1, kAck)) {
            return "<no ack>";
        }
        const QByteArray expected = EncodeFrame(text);
        Write(expected);
        QByteArray frame = Read(3);
        while (!frame.isEmpty() && frame.size() >= 2 && frame.at(frame.size() - 2) != kEtx) {
            const QByteArray more = Read(1);
            if (more.isEmpty()) {
                break;
            }
            frame += more;
        }
        Write(QByteArray(1, kAck));
        return frame;
    }

private:
    int m_fd = -1;
};

TEST(PtySimulator, ServesExchangesOverARealTerminal) {
    PtySimulator sim;
    std::mutex seenMutex;
    QStringList seen;
    sim.SetCommandObserver([&](const QString& text, const QString& reply) {
        std::lock_guard<std::mutex> lock(seenMutex);
        seen << text + "=" + reply;
    });
    ASSERT_TRUE(sim.Start()) << "no pseudo-terminal available";
    ASSERT_TRUE(QFileInfo(sim.DevicePath()).symLinkTarget().startsWith("/dev/"));
    RawPort port(sim.DevicePath());
    ASSERT_TRUE(::isatty(port.Fd()));
    ASSERT_TRUE(port.IsOpen());

    EXPECT_EQ(port.Query("QR"), EncodeFrame("QR5"));
    ASSERT_TRUE(port.Write(QByteArray(1, kEnq)));
    EXPECT_EQ(port.Read(1), QByteArray(1, kAck));
    ASSERT_TRUE(port.Write(QByteArray("\x02\x43\x41\x03\x01", 5)));  // "CA"
    EXPECT_EQ(port.Read(1), QByteArray(1, kAck));
    EXPECT_EQ(sim.CommandLog(), (QStringList{"QR", "CA"}));
    {
        std::lock_guard<std::mutex> lock(seenMutex);
        EXPECT_EQ(seen, (QStringList{"QR=QR5", "CA="}));
    }

    // Stale bytes are already waiting when InjectFault returns.
    sim.InjectFault(Fault::StaleBytes);
    EXPECT_FALSE(port.Read(64, 0).isEmpty());

    // A latched error shows on the wire.
    sim.RaiseError(9);
    EXPECT_EQ(port.Query("QQ"), EncodeFrame("QQ9"));

    sim.InjectFault(Fault::NoAck);
    ASSERT_TRUE(port.Write(QByteArray(1, kEnq)));
    EXPECT_TRUE(port.Read(1, 200).isEmpty());
    EXPECT_EQ(port.Query("QR"), EncodeFrame("QR5"));

    // Stopping makes the device vanish under the client, and its name with it.
    const QString path = sim.DevicePath();
    sim.Stop();
    EXPECT_TRUE(port.HungUp(1000));
    EXPECT_TRUE(sim.DevicePath().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_FALSE(QFileInfo(path).isSymLink());
}

// The kernel gives a closed terminal's number to the next one; the simulator's own name for
// its device is never given twice, so nothing left behind for an earlier device (a serial
// client's lock file) can apply to a later one.
TEST(PtySimulator, EveryStartGetsADeviceNameOfItsOwn) {
    QStringList names;
    QStringList terminals;
    for (int i = 0; i < 3; ++i) {
        PtySimulator sim;
        ASSERT_TRUE(sim.Start());
        names << sim.DevicePath();
        terminals << QFileInfo(sim.DevicePath()).symLinkTarget();
        RawPort port(sim.DevicePath());
        EXPECT_EQ(port.Query("QR"), EncodeFrame("QR5"));
    }
    names.removeDuplicates();
    EXPECT_EQ(names.size(), 3) << terminals.join(' ').toStdString();
}

TEST(PtySimulator, SlowByteArrivesLateAndTheNextExchangeSucceeds) {
    PtySimulator sim;
    ASSERT_TRUE(sim.Start());
    RawPort port(sim.DevicePath());
    ASSERT_TRUE(port.IsOpen());

    sim.InjectFault(Fault::SlowByte);
    ASSERT_TRUE(port.Write(QByteArray(1, kEnq)));
    ASSERT_EQ(port.Read(1), QByteArray(1, kAck));
    ASSERT_TRUE(port.Write(EncodeFrame("QB")));
    // The PC waits at most 500 ms per byte: it sees the head of the frame, then nothing.
    const QByteArray head = port.Read(64, 500);
    EXPECT_LT(head.size(), EncodeFrame("QB00").size());
    EXPECT_EQ(port.Query("QB"), EncodeFrame("QB00"));
}

TEST(PtySimulator, PacingSpreadsTheReplyOverTheLine) {
    SimOptions options;
    options.pacing9600 = true;
    PtySimulator sim(options);
    ASSERT_TRUE(sim.Start());
    RawPort port(sim.DevicePath());
    ASSERT_TRUE(port.IsOpen());

    const auto start = SteadyClock::now();
    const QByteArray reply = port.Query("QA");
    const auto took = SteadyClock::now() - start;
    ASSERT_EQ(reply, EncodeFrame("QABRAKMOOR, ZEB-M4-1, V2.03"));
    // ENQ, ACK, 5-byte query frame and a 30-byte reply: 37 bytes of 1.04 ms each at least.
    EXPECT_GE(took, std::chrono::microseconds(37 * 1042));
}

}  // namespace
}  // namespace zebsim
