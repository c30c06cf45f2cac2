#include "FileRunJournal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include "DataFolders.h"
#include "FileAccess.h"
#include "JournalReader.h"

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zeb {

namespace {

constexpr int kMaxNameChars = 100;

QString SystemText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

#ifndef Q_OS_WIN
// Makes what was written to fd durable: data and the size, not necessarily the access times.
bool SyncData(int fd) {
#ifdef __APPLE__
    return ::fsync(fd) == 0;
#else
    return ::fdatasync(fd) == 0;
#endif
}

// The folder entry of a new file survives a power cut only once the folder is synced too.
void SyncFolder(const QString& folder) {
    const int dirFd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
}
#endif

QString SafeName(const QString& name) {
    QString safe;
    for (QChar c : name) {
        const bool bad = c.unicode() < 0x20 || QStringLiteral("\\/:*?\"<>|").contains(c);
        safe += bad ? QLatin1Char('_') : c;
    }
    safe = safe.trimmed();
    if (safe.isEmpty()) {
        safe = QStringLiteral("Test");
    }
    return safe.left(kMaxNameChars);
}

}  // namespace

QString WriteFailureMarkerPath(const QString& journalPath) {
    const QFileInfo info(journalPath);
    return info.absolutePath() + QStringLiteral("/.") + info.fileName() +
           QStringLiteral(".unwritten");
}

QString DefaultJournalFolder() {
    return LabDataFolder(QStringLiteral("runs"));
}

QString JournalFileName(const QString& documentName, const QDateTime& localNow) {
    return localNow.toString(QStringLiteral("yyyyMMdd-HHmmss-")) + SafeName(documentName) +
           QStringLiteral(".zebrun");
}

QString NewJournalPath(const QString& folder, const QString& documentName,
                       const QDateTime& localNow) {
    const QString name = JournalFileName(documentName, localNow);
    const QString base = name.left(name.size() - 7);  // without ".zebrun"
    QString path = QDir(folder).filePath(name);
    for (int n = 2; QFileInfo::exists(path) || QFileInfo(path).isSymLink(); ++n) {
        path = QDir(folder).filePath(QStringLiteral("%1 (%2).zebrun").arg(base).arg(n));
    }
    return path;
}

CFileRunJournal::~CFileRunJournal() {
#ifndef Q_OS_WIN
    if (m_fd >= 0) {
        ::close(m_fd);
    }
#else
    if (m_fd >= 0) {
        ::_close(m_fd);
    }
#endif
}

void CFileRunJournal::SetSync(SyncFunction sync) {
    m_sync = std::move(sync);
}

void CFileRunJournal::MarkWriteFailure() const {
    QFile marker(WriteFailureMarkerPath(m_path));
    if (!marker.exists()) {
        marker.open(QIODevice::WriteOnly);
    }
}

bool CFileRunJournal::Create(const QString& path, QString& error) {
    const QFileInfo info(path);
    if (info.exists() || info.isSymLink()) {
        error = QStringLiteral("\"%1\" already exists; a journal never replaces a file").arg(path);
        return false;
    }
    if (!QDir().mkpath(info.absolutePath())) {
        error = QStringLiteral("The folder \"%1\" cannot be made").arg(info.absolutePath());
        return false;
    }
    m_path = path;
    m_chain = CJournalChain();
    return true;
}

bool CFileRunJournal::Append(const QString& path, QString& error) {
    const JournalCheck check = ReadJournalFile(path);
    if (!check.IsWhole()) {
        error = QStringLiteral("%1: %2").arg(path, check.Describe());
        return false;
    }
#ifndef Q_OS_WIN
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0) {
        error = QStringLiteral("\"%1\" cannot be written: %2").arg(path, SystemText(errno));
        return false;
    }
    // A line cut off by a crash goes, so the next line follows the last whole one.
    if (check.cutBytes > 0 && (::ftruncate(fd, check.wholeBytes) != 0 || !SyncData(fd))) {
        error = QStringLiteral("\"%1\" cannot be written: %2").arg(path, SystemText(errno));
        ::close(fd);
        return false;
    }
#else
    const int fd =
        ::_wopen(reinterpret_cast<const wchar_t*>(path.utf16()), _O_WRONLY | _O_APPEND | _O_BINARY);
    if (fd < 0 || (check.cutBytes > 0 && ::_chsize_s(fd, check.wholeBytes) != 0)) {
        error = QStringLiteral("\"%1\" cannot be written").arg(path);
        return false;
    }
#endif
    m_path = path;
    m_fd = fd;
    m_size = check.wholeBytes;
    m_cutBytes = check.cutBytes;
    m_chain.Continue(check.lines + 1, check.lastHash);
    return true;
}

bool CFileRunJournal::Event(const QString& name, const JournalFields& fields) {
    if (m_path.isEmpty()) {
        m_error = QStringLiteral("The journal has no file.");
        return false;
    }
    const QByteArray line = m_chain.Next(name, fields, m_error);
    if (line.isEmpty()) {
        return false;
    }
    const bool ok = m_fd < 0 ? CreateWithFirstLine(line + '\n') : AppendLine(line + '\n');
    if (ok) {
        m_chain.Commit(line);
        m_error.clear();
        if (name == JournalEventName(JournalEvent::Close)) {
            QFile::remove(WriteFailureMarkerPath(m_path));  // the journal is whole again
        }
    } else if (m_fd >= 0) {
        MarkWriteFailure();
    }
    return ok;
}

#ifndef Q_OS_WIN

bool CFileRunJournal::CreateWithFirstLine(const QByteArray& bytes) {
    const QFileInfo info(m_path);
    const QByteArray temp =
        QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                          QStringLiteral(".new-%1").arg(::getpid()));
    const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        m_error =
            QStringLiteral("The journal \"%1\" cannot be made: %2").arg(m_path, SystemText(errno));
        return false;
    }
    int error = 0;
    bool written = WriteAllToFd(fd, bytes, error);
    if (written && !(m_sync ? m_sync(fd) : SyncData(fd))) {
        error = errno;
        written = false;
    }
    if (!written) {
        m_error = QStringLiteral("The journal \"%1\" cannot be written: %2")
                      .arg(m_path, SystemText(error));
        ::close(fd);
        ::unlink(temp.constData());
        return false;
    }
    // link() takes the name only when nothing has it: an existing file is never replaced.
    if (::link(temp.constData(), QFile::encodeName(m_path).constData()) != 0) {
        error = errno;
        m_error = error == EEXIST
                      ? QStringLiteral("\"%1\" already exists; a journal never replaces a file")
                            .arg(m_path)
                      : QStringLiteral("The journal \"%1\" cannot be made: %2")
                            .arg(m_path, SystemText(error));
        ::close(fd);
        ::unlink(temp.constData());
        return false;
    }
    ::unlink(temp.constData());
    SyncFolder(info.absolutePath());
    // The descriptor stays open for appending; it points at the file that now has the name.
    if (::fcntl(fd, F_SETFL, O_APPEND) != 0) {
        ::lseek(fd, 0, SEEK_END);
    }
    m_fd = fd;
    m_size = bytes.size();
    return true;
}

bool CFileRunJournal::AppendLine(const QByteArray& bytes) {
    int error = 0;
    if (WriteAllToFd(m_fd, bytes, error) && (m_sync ? m_sync(m_fd) : SyncData(m_fd))) {
        m_size += bytes.size();
        return true;
    }
    if (error == 0) {
        error = errno != 0 ? errno : EIO;
    }
    // Whatever part of the line reached the file is taken away again, so the file ends on a
    // whole line and the next event continues the chain.
    if (::ftruncate(m_fd, m_size) == 0) {
        SyncData(m_fd);
    }
    m_error =
        QStringLiteral("The journal \"%1\" cannot be written: %2").arg(m_path, SystemText(error));
    return false;
}

#else

bool CFileRunJournal::CreateWithFirstLine(const QByteArray& bytes) {
    const int fd = ::_wopen(reinterpret_cast<const wchar_t*>(m_path.utf16()),
                            _O_WRONLY | _O_CREAT | _O_EXCL | _O_APPEND | _O_BINARY, 0644);
    if (fd < 0) {
        m_error = QStringLiteral("The journal \"%1\" cannot be made").arg(m_path);
        return false;
    }
    m_fd = fd;
    m_size = 0;
    return AppendLine(bytes);
}

bool CFileRunJournal::AppendLine(const QByteArray& bytes) {
    if (::_write(m_fd, bytes.constData(), static_cast<unsigned>(bytes.size())) == bytes.size() &&
        ::_commit(m_fd) == 0) {
        m_size += bytes.size();
        return true;
    }
    ::_chsize_s(m_fd, m_size);
    m_error = QStringLiteral("The journal \"%1\" cannot be written").arg(m_path);
    return false;
}

#endif

}  // namespace zeb
