#include "RecentFiles.h"

#include <QFileInfo>

#include <algorithm>

#include "DocTemplate.h"

namespace zeb {

namespace {
const char kKey[] = "Recent File List/files";
}

CRecentFileList::CRecentFileList(QSettings& settings) : m_settings(settings) {}

QStringList CRecentFileList::Files() const {
    QStringList files = m_settings.value(QLatin1String(kKey)).toStringList();
    files.removeAll(QString());
    return files.mid(0, kSize);
}

void CRecentFileList::Add(const QString& path) {
    if (path.isEmpty()) {
        return;
    }
    QStringList files = Files();
    files.erase(std::remove_if(files.begin(), files.end(),
                               [&](const QString& f) {
                                   return f == path || CMyDocTemplate::SamePath(f, path);
                               }),
                files.end());
    files.prepend(QFileInfo(path).absoluteFilePath());
    Store(files.mid(0, kSize));
}

void CRecentFileList::Remove(const QString& path) {
    QStringList files = Files();
    files.removeAll(path);
    Store(files);
}

void CRecentFileList::Store(const QStringList& files) {
    m_settings.setValue(QLatin1String(kKey), files);
    m_settings.sync();
}

}  // namespace zeb
