#pragma once
// The lab's default test standard (Setup > Options): the profile and level a document gets
// when it has none of its own, new or opened from a settings file without a standard file.
// Kept in ZEB.ini; none until the lab chooses one.

#include <QString>
#include <QStringList>

#include "StandardRef.h"

namespace zeb {

struct ProfileSet;

inline const char* const kSectionStandard = "INI_SECTION_STANDARD";

// The stored default; unset when none is stored or the stored one is incomplete.
StandardRef LabDefaultStandard();
// Stores it; an unset reference stores "none".
void StoreLabDefaultStandard(const StandardRef& standard);

// The choices of the options dialog: "(none)" then each profile as "<title> (<id>)", and the
// numbered levels of a profile (level X needs a voltage per plan and is not a default).
struct DefaultStandardChoices {
    QStringList profileTexts;
    QStringList profileIds;  // "" for "(none)"
};
DefaultStandardChoices DefaultStandardChoicesOf(const ProfileSet& profiles);
QStringList DefaultLevelsOf(const ProfileSet& profiles, const QString& profileId);

}  // namespace zeb
