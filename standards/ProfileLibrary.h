#pragma once
// The profiles a program can check plans against: the shipped ones, installed read-only with
// the package, and the lab's own in standards/ of the program's data folder. A lab profile with
// the id of a shipped one replaces it. A broken file is named with its fault, and every other
// file still loads.

#include <QString>
#include <QStringList>

#include <vector>

#include "StandardProfile.h"

namespace zeb {

struct ProfileSet {
    std::vector<StandardProfile> profiles;  // shipped first, then the lab's, each by file name
    QStringList problems;                   // "<file>: <fault>", one per file that did not load

    const StandardProfile* Find(const QString& id) const;
};

// Reads every *.json in the two folders (either may be empty: not read). A missing shipped
// folder is a problem; a missing lab folder is not (a lab has none until it makes one). Two
// files of one folder with the same id: the second is refused.
ProfileSet LoadProfiles(const QString& shippedFolder, const QString& labFolder);

// Where the package installs the shipped profiles: $ZEB_STANDARDS_DIR when set, else
// share/zeb/standards beside the program's bin folder (/usr/share/zeb/standards for
// /usr/bin/zeb; the build tree has its own copy there).
QString ShippedProfileFolder();
// standards/ of the program's data folder (~/.local/share/Brakmoor/ZEB/standards).
QString LabProfileFolder();

// The profiles of the two folders, read once per process and kept; Reload reads them again
// (after the lab changed a file, and in tests).
const ProfileSet& InstalledProfiles();
const ProfileSet& ReloadInstalledProfiles();

}  // namespace zeb
