#include "IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "IniDocument.h"

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace zeb {

namespace {

const QFileDevice::Permissions kWriteBits = QFileDevice::WriteOwner | QFileDevice::WriteUser |
                                            QFileDevice::WriteGroup | QFileDevice::WriteOther;

QString ConfigRoot() {
#ifdef Q_OS_WIN
    QString root = qEnvironmentVariable("APPDATA");
    if (root.isEmpty()) {
        root = QDir::homePath() + QStringLiteral("/AppData/Roaming");
    }
#else
    QString root = qEnvironmentVariable("XDG_CONFIG_HOME");
    // A relative XDG_CONFIG_HOME is invalid and must be ignored.
    if (root.isEmpty() || QDir::isRelativePath(root)) {
        root = QDir::homePath() + QStringLiteral("/.config");
    }
#endif
    return QDir::cleanPath(root);
}

QString IniFolder() {
    return ConfigRoot() + QStringLiteral("/Brakmoor/ZEB");
}

// Creates the folder chain when missing. Fails quietly when a part of it is a file or cannot be
// made; the following read then gives its default and the following write is lost.
bool EnsureFolder() {
    const QString folder = IniFolder();
    const QFileInfo info(folder);
    if (info.isDir()) {
        return true;
    }
    return QDir().mkpath(folder);
}

// Makes the file read-only, or writable again; on Windows also hides or shows it.
void Protect(const QString& path, bool readOnly) {
    QFile file(path);
    if (!file.exists()) {
        return;
    }
    const QFileDevice::Permissions perms = file.permissions();
    file.setPermissions(readOnly ? (perms & ~kWriteBits)
                                 : (perms | QFileDevice::WriteOwner | QFileDevice::WriteUser));
#ifdef Q_OS_WIN
    const std::wstring native = QDir::toNativeSeparators(path).toStdWString();
    SetFileAttributesW(native.c_str(), readOnly ? (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN)
                                                : FILE_ATTRIBUTE_NORMAL);
#endif
}

// What a read hands back: at most kIniValueMaxLength units, the default as much as a stored
// value. Never half of a surrogate pair: it would turn into garbage when written out again.
QString CutToReadLength(const QString& value) {
    QString result = value.left(kIniValueMaxLength);
    if (result.size() == kIniValueMaxLength && result.back().isHighSurrogate()) {
        result.chop(1);
    }
    return result;
}

// Reads ZEB.ini whole. Only a regular file of at most kIniFileMaxBytes is read: a link to a
// device or a pipe in its place must neither hang the program nor fill its memory. False when
// the file is missing, of another kind, too large or unreadable.
bool ReadIniBytes(const QString& path, QByteArray& bytes) {
    bytes.clear();
#ifdef Q_OS_WIN
    const QFileInfo info(path);
    QFile file(path);
    if (!info.isFile() || info.size() > kIniFileMaxBytes || !file.open(QIODevice::ReadOnly)) {
        return false;
    }
    bytes = file.read(kIniFileMaxBytes + 1);
#else
    // Not even opened when it is no regular file (opening a device can have effects of its
    // own); opened without blocking (a pipe swapped in returns at once) and checked again on
    // the open descriptor.
    const QByteArray native = QFile::encodeName(path);
    struct stat named {};
    if (::stat(native.constData(), &named) == 0 && !S_ISREG(named.st_mode)) {
        return false;
    }
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kIniFileMaxBytes) {
        ::close(fd);
        return false;
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    bytes = file.read(kIniFileMaxBytes + 1);
#endif
    if (file.error() != QFileDevice::NoError || bytes.size() > kIniFileMaxBytes) {
        bytes.clear();
        return false;
    }
    return true;
}

}  // namespace

QString IniFilePath() {
    return IniFolder() + QStringLiteral("/ZEB.ini");
}

QString ReadIniString(const QString& section, const QString& key, const QString& defaultValue) {
    EnsureFolder();
    QByteArray bytes;
    if (!ReadIniBytes(IniFilePath(), bytes)) {
        return CutToReadLength(defaultValue);
    }
    const CIniDocument doc = CIniDocument::FromBytes(bytes);
    return CutToReadLength(doc.Value(section, key).value_or(defaultValue));
}

void WriteIniString(const QString& section, const QString& key, const QString& value) {
    if (!EnsureFolder()) {
        return;
    }
    const QString path = IniFilePath();
    QByteArray content;
    if (QFileInfo::exists(path) || QFileInfo(path).isSymLink()) {
        // A file that exists but cannot be read (or is no regular file at all) must not be
        // replaced by one holding only this key.
        if (!ReadIniBytes(path, content)) {
            return;
        }
    }
    CIniDocument doc = CIniDocument::FromBytes(content);
    if (!doc.SetValue(section, key, value)) {
        return;
    }
    Protect(path, false);
    // The new content goes to a temporary file that replaces the old one only when complete, so
    // a full disk or a crash never leaves a half-written configuration behind.
    QSaveFile out(path);
    if (out.open(QIODevice::WriteOnly)) {
        const QByteArray bytes = doc.ToBytes();
        if (out.write(bytes) == bytes.size()) {
            out.commit();
        } else {
            out.cancelWriting();
        }
    }
    Protect(path, true);
}

}  // namespace zeb
