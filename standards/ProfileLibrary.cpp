#include "ProfileLibrary.h"

#include <QDir>

#include <algorithm>
#include <optional>

#include "DataFolders.h"
#include "FileAccess.h"

namespace zeb {

namespace {

// A profile is a page of text; a file far larger than that is not one.
constexpr qint64 kMaxProfileBytes = 1024 * 1024;

void LoadFolder(const QString& folder, bool lab, ProfileSet& set) {
    const QDir dir(folder);
    const QStringList files =
        dir.entryList({QStringLiteral("*.json")}, QDir::Files | QDir::Hidden, QDir::Name);
    std::vector<StandardProfile> read;
    for (const QString& name : files) {
        const QString path = dir.filePath(name);
        QByteArray bytes;
        QString error;
        StandardProfile profile;
        if (!ReadRegularFile(path, kMaxProfileBytes, bytes, error)) {
            set.problems << QStringLiteral("%1: %2").arg(path, error);
            continue;
        }
        if (!ProfileFromJson(bytes, profile, error)) {
            set.problems << QStringLiteral("%1: %2").arg(path, error);
            continue;
        }
        const auto same = std::find_if(
            read.begin(), read.end(), [&](const StandardProfile& p) { return p.id == profile.id; });
        if (same != read.end()) {
            set.problems << QStringLiteral("%1: the id %2 is taken by %3 already.")
                                .arg(path, profile.id, same->file);
            continue;
        }
        profile.file = path;
        profile.lab = lab;
        read.push_back(profile);
    }
    for (StandardProfile& profile : read) {
        auto shipped = std::find_if(set.profiles.begin(), set.profiles.end(),
                                    [&](const StandardProfile& p) { return p.id == profile.id; });
        if (shipped != set.profiles.end()) {
            *shipped = profile;  // the lab's own replaces the shipped one, in its place
        } else {
            set.profiles.push_back(profile);
        }
    }
}

std::optional<ProfileSet>& Cache() {
    static std::optional<ProfileSet> cache;
    return cache;
}

}  // namespace

const StandardProfile* ProfileSet::Find(const QString& id) const {
    for (const StandardProfile& p : profiles) {
        if (p.id == id) {
            return &p;
        }
    }
    return nullptr;
}

ProfileSet LoadProfiles(const QString& shippedFolder, const QString& labFolder) {
    ProfileSet set;
    if (!shippedFolder.isEmpty()) {
        if (!QDir(shippedFolder).exists()) {
            set.problems << QStringLiteral(
                                "%1: the folder of the shipped standard profiles does "
                                "not exist.")
                                .arg(shippedFolder);
        } else {
            LoadFolder(shippedFolder, false, set);
        }
    }
    if (!labFolder.isEmpty() && QDir(labFolder).exists()) {
        LoadFolder(labFolder, true, set);
    }
    return set;
}

QString ShippedProfileFolder() {
    return ShippedDataFolder("ZEB_STANDARDS_DIR", QStringLiteral("standards"));
}

QString LabProfileFolder() {
    return LabDataFolder(QStringLiteral("standards"));
}

const ProfileSet& InstalledProfiles() {
    if (!Cache()) {
        Cache() = LoadProfiles(ShippedProfileFolder(), LabProfileFolder());
    }
    return *Cache();
}

const ProfileSet& ReloadInstalledProfiles() {
    Cache().reset();
    return InstalledProfiles();
}

}  // namespace zeb
