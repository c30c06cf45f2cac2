#pragma once
// The four most recently opened or saved settings files, newest first, kept with the
// program's other per-user settings.

#include <QSettings>
#include <QStringList>

namespace zeb {

class CRecentFileList {
public:
    static constexpr int kSize = 4;

    // `settings`: where the list is kept (not owned; must outlive the list).
    explicit CRecentFileList(QSettings& settings);

    QStringList Files() const;
    // Puts `path` first (an entry for the same file moves up); the oldest drops out.
    void Add(const QString& path);
    void Remove(const QString& path);

private:
    void Store(const QStringList& files);
    QSettings& m_settings;
};

}  // namespace zeb
