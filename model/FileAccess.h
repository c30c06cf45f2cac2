#pragma once
// Reading and writing the program's own files (settings files, their JSON form) so that a
// hostile or mistaken path cannot hang the program, exhaust its memory or destroy something
// that is not a settings file:
//  - only regular files are read, and only up to a size limit checked before the first byte;
//  - files are written through a temporary file in the target's folder that takes the target's
//    name only when every byte reached the disk; a new file never replaces anything, a saved
//    document replaces only a regular file.
// Errors are reported as the system states them ("No space left on device").

#include <QByteArray>
#include <QString>

namespace zeb {

// Largest settings file or JSON document that is read. A settings file of the largest step list
// the editor allows (1000 steps) is well below 1 MB, its JSON form about 1 MB.
constexpr qint64 kMaxDocumentFileBytes = 16 * 1024 * 1024;

// Reads a whole regular file of at most maxBytes. A device, a pipe, a socket, a directory or a
// larger file is refused without reading; so is a file that grows past the limit while it is
// read. On failure bytes is empty and error tells why, naming the path.
bool ReadRegularFile(const QString& path, qint64 maxBytes, QByteArray& bytes, QString& error);

enum class WriteMode {
    kCreateNew,       // the path must not exist (checked atomically when the name is taken)
    kReplaceRegular,  // the path may be absent or a regular file; nothing else is replaced
};

// Writes bytes to path as described above. On failure the target is untouched, no temporary
// file is left behind and error tells why, naming the path.
bool WriteFileSafely(const QString& path, const QByteArray& bytes, WriteMode mode, QString& error);

#ifndef Q_OS_WIN
// Writes all of bytes to the open descriptor fd, going on after a signal or a partial write;
// false with errno in error when the system refuses.
bool WriteAllToFd(int fd, const QByteArray& bytes, int& error);
#endif

}  // namespace zeb
