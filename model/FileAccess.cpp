#include "FileAccess.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

#ifdef Q_OS_WIN
#include <QSaveFile>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#endif

namespace zeb {

namespace {

QString TooLargeText(const QString& path, qint64 maxBytes) {
    return QStringLiteral("The file \"%1\" is larger than %2 bytes; it is not read.")
        .arg(path)
        .arg(maxBytes);
}

QString NotRegularText(const QString& path) {
    return QStringLiteral("\"%1\" is not a regular file; only regular files are read.").arg(path);
}

}  // namespace

#ifndef Q_OS_WIN

namespace {

QString SystemText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// Closes a descriptor on every way out of a scope.
class Fd {
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd() { Close(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int Get() const { return m_fd; }
    // The result of close(); a delayed write error (network or full file systems) shows here.
    int Close() {
        const int rc = m_fd >= 0 ? ::close(m_fd) : 0;
        m_fd = -1;
        return rc;
    }

private:
    int m_fd;
};

// Gives the temporary file the name of the target without replacing anything. rename with
// "no replace" does it in one step; file systems without it get a hard link, which fails just
// as atomically when the name is taken.
int TakeNameWithoutReplacing(const QByteArray& from, const QByteArray& to) {
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    const int renameError = errno;
    if (renameError != EINVAL && renameError != ENOSYS && renameError != ENOTSUP) {
        return renameError;
    }
    if (::link(from.constData(), to.constData()) != 0) {
        return errno;
    }
    ::unlink(from.constData());
    return 0;
}

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

bool WriteAllToFd(int fd, const QByteArray& bytes, int& error) {
    const char* data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(left));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = errno;
            return false;
        }
        data += n;
        left -= n;
    }
    return true;
}

bool ReadRegularFile(const QString& path, qint64 maxBytes, QByteArray& bytes, QString& error) {
    bytes.clear();
    error.clear();
    const QByteArray native = QFile::encodeName(path);
    // Anything but a regular file is refused before it is opened: opening a serial device
    // alone switches its control lines. The type is checked again on the open descriptor
    // (opened without blocking, so a pipe put in its place returns at once), so nothing can be
    // swapped in between check and read.
    struct stat named {};
    if (::stat(native.constData(), &named) == 0 && !S_ISREG(named.st_mode)) {
        error = NotRegularText(path);
        return false;
    }
    Fd fd(::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.Get() < 0) {
        error = QStringLiteral("The file \"%1\" cannot be opened: %2").arg(path, SystemText(errno));
        return false;
    }
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0) {
        error = QStringLiteral("The file \"%1\" cannot be read: %2").arg(path, SystemText(errno));
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        error = NotRegularText(path);
        return false;
    }
    if (st.st_size > maxBytes) {
        error = TooLargeText(path, maxBytes);
        return false;
    }
    QByteArray buffer;
    buffer.resize(static_cast<qsizetype>(st.st_size) + 1);
    qint64 total = 0;
    for (;;) {
        if (total == buffer.size()) {
            if (total > maxBytes) {
                error = TooLargeText(path, maxBytes);
                return false;
            }
            buffer.resize(std::min<qint64>(maxBytes + 1, total * 2 + 4096));
        }
        const ssize_t n =
            ::read(fd.Get(), buffer.data() + total, static_cast<size_t>(buffer.size() - total));
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            error =
                QStringLiteral("The file \"%1\" cannot be read: %2").arg(path, SystemText(errno));
            return false;
        }
        if (n == 0) {
            break;
        }
        total += n;
    }
    if (total > maxBytes) {
        error = TooLargeText(path, maxBytes);
        return false;
    }
    buffer.truncate(static_cast<qsizetype>(total));
    bytes = buffer;
    return true;
}

bool WriteFileSafely(const QString& path, const QByteArray& bytes, WriteMode mode, QString& error) {
    error.clear();
    auto fail = [&](const QString& why) {
        error = QStringLiteral("The file \"%1\" cannot be saved: %2").arg(path, why);
        return false;
    };
    const QByteArray target = QFile::encodeName(path);
    const QFileInfo info(path);
    if (info.fileName().isEmpty() || path.endsWith(QLatin1Char('/'))) {
        return fail(QStringLiteral("no file name given"));
    }

    // Looked at before anything is written, for a clear message; the step that takes the name
    // checks again without a gap.
    struct stat existing {};
    const bool exists = ::lstat(target.constData(), &existing) == 0;
    mode_t fileMode = NewFileMode();
    if (exists) {
        if (mode == WriteMode::kCreateNew) {
            error = QStringLiteral("\"%1\" already exists; it is never replaced.").arg(path);
            return false;
        }
        if (S_ISLNK(existing.st_mode)) {
            return fail(QStringLiteral(
                "it is a symbolic link; save under the name of the file it points to"));
        }
        if (!S_ISREG(existing.st_mode)) {
            return fail(QStringLiteral("it is not a regular file"));
        }
        fileMode = existing.st_mode & 07777;
    }

    // The temporary file is hidden in the same folder, so the final rename stays on one file
    // system and a crash leaves at most a dot file behind, never a half-written target.
    QByteArray temp =
        QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName()) + ".XXXXXX";
    Fd fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (fd.Get() < 0) {
        return fail(SystemText(errno));
    }
    int writeError = 0;
    bool ok = WriteAllToFd(fd.Get(), bytes, writeError);
    if (ok && ::fchmod(fd.Get(), fileMode) != 0) {
        writeError = errno;
        ok = false;
    }
    if (ok && ::fsync(fd.Get()) != 0) {
        writeError = errno;
        ok = false;
    }
    if (fd.Close() != 0 && ok) {
        writeError = errno;
        ok = false;
    }
    if (ok) {
        if (mode == WriteMode::kCreateNew) {
            writeError = TakeNameWithoutReplacing(temp, target);
            if (writeError == EEXIST) {
                ::unlink(temp.constData());
                error = QStringLiteral("\"%1\" already exists; it is never replaced.").arg(path);
                return false;
            }
            ok = writeError == 0;
        } else {
            ok = ::rename(temp.constData(), target.constData()) == 0;
            writeError = ok ? 0 : errno;
        }
    }
    if (!ok) {
        ::unlink(temp.constData());
        return fail(SystemText(writeError));
    }
    return true;
}

#else  // Q_OS_WIN

bool ReadRegularFile(const QString& path, qint64 maxBytes, QByteArray& bytes, QString& error) {
    bytes.clear();
    error.clear();
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        error = NotRegularText(path);
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error =
            QStringLiteral("The file \"%1\" cannot be opened: %2").arg(path, file.errorString());
        return false;
    }
    if (file.isSequential()) {
        error = NotRegularText(path);
        return false;
    }
    if (file.size() > maxBytes) {
        error = TooLargeText(path, maxBytes);
        return false;
    }
    QByteArray buffer = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        error = QStringLiteral("The file \"%1\" cannot be read: %2").arg(path, file.errorString());
        return false;
    }
    if (buffer.size() > maxBytes) {
        error = TooLargeText(path, maxBytes);
        return false;
    }
    bytes = buffer;
    return true;
}

bool WriteFileSafely(const QString& path, const QByteArray& bytes, WriteMode mode, QString& error) {
    error.clear();
    const QFileInfo info(path);
    if (info.exists() || info.isSymLink()) {
        if (mode == WriteMode::kCreateNew) {
            error = QStringLiteral("\"%1\" already exists; it is never replaced.").arg(path);
            return false;
        }
        if (info.isSymLink() || !info.isFile()) {
            error = QStringLiteral("The file \"%1\" cannot be saved: it is not a regular file")
                        .arg(path);
            return false;
        }
    }
    QSaveFile file(path);
    const bool ok =
        file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
    if (!ok) {
        error = QStringLiteral("The file \"%1\" cannot be saved: %2").arg(path, file.errorString());
    }
    return ok;
}

#endif

}  // namespace zeb
