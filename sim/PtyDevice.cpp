#include "PtyDevice.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace zebsim {

PtyDevice::PtyDevice() = default;

PtyDevice::~PtyDevice() {
    Close();
}

bool PtyDevice::Fail(const char* what) {
    m_error = QStringLiteral("%1: %2").arg(QString::fromLatin1(what),
                                           QString::fromLocal8Bit(std::strerror(errno)));
    Close();
    return false;
}

bool PtyDevice::Open() {
    Close();
    m_error.clear();
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0) {
        return Fail("posix_openpt");
    }
    if (grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
        return Fail("grantpt/unlockpt");
    }
    char name[128] = {};
    if (ptsname_r(m_master, name, sizeof name) != 0) {
        return Fail("ptsname");
    }
    m_slavePath = QString::fromLocal8Bit(name);
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slave < 0) {
        return Fail("open slave");
    }
    // Raw 8N1 at 9600 baud: no echo, no line editing, no CR/LF translation, so every byte
    // passes untouched until the client applies its own settings.
    termios tio{};
    if (tcgetattr(m_slave, &tio) != 0) {
        return Fail("tcgetattr");
    }
    cfmakeraw(&tio);
    cfsetispeed(&tio, B9600);
    cfsetospeed(&tio, B9600);
    tio.c_cflag |= CLOCAL | CREAD;
    if (tcsetattr(m_slave, TCSANOW, &tio) != 0) {
        return Fail("tcsetattr");
    }
    const int flags = fcntl(m_master, F_GETFL);
    if (flags < 0 || fcntl(m_master, F_SETFL, flags | O_NONBLOCK) != 0) {
        return Fail("fcntl");
    }
    return MakeClientPath();
}

bool PtyDevice::MakeClientPath() {
    m_folder =
        std::make_unique<QTemporaryDir>(QDir::temp().filePath(QStringLiteral("zeb-sim-XXXXXX")));
    const QString link = m_folder->filePath(QStringLiteral("instrument"));
    if (!m_folder->isValid() || !QFile::link(m_slavePath, link)) {
        const QString why =
            QStringLiteral("no link to %1 could be made in %2").arg(m_slavePath, QDir::tempPath());
        Close();
        m_error = why;
        return false;
    }
    m_clientPath = link;
    return true;
}

bool PtyDevice::WaitUntilReadable(int count, int timeoutMs) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        int waiting = 0;
        if (m_slave < 0 || ioctl(m_slave, FIONREAD, &waiting) != 0) {
            return false;
        }
        if (waiting >= count) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void PtyDevice::Close() {
    // The link goes first, so that nobody opens the name while the terminal is closing.
    m_folder.reset();
    m_clientPath.clear();
    if (m_slave >= 0) {
        ::close(m_slave);
        m_slave = -1;
    }
    if (m_master >= 0) {
        ::close(m_master);
        m_master = -1;
    }
    m_slavePath.clear();
}

}  // namespace zebsim
