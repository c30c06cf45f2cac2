#include "LabStandard.h"

#include "IniFile.h"
#include "ProfileLibrary.h"

namespace zeb {

namespace {
const QString kProfileKey = QStringLiteral("INI_KEY_DEFAULT_PROFILE");
const QString kLevelKey = QStringLiteral("INI_KEY_DEFAULT_LEVEL");
}  // namespace

StandardRef LabDefaultStandard() {
    const QString section = QLatin1String(kSectionStandard);
    StandardRef ref{ReadIniString(section, kProfileKey, QString()).trimmed(),
                    ReadIniString(section, kLevelKey, QString()).trimmed(), 0};
    if (ref.profile.isEmpty() || ref.level.isEmpty() || ref.level == AnyVoltageLevel()) {
        return StandardRef();
    }
    return ref;
}

void StoreLabDefaultStandard(const StandardRef& standard) {
    const QString section = QLatin1String(kSectionStandard);
    WriteIniString(section, kProfileKey, standard.IsSet() ? standard.profile : QString());
    WriteIniString(section, kLevelKey, standard.IsSet() ? standard.level : QString());
}

DefaultStandardChoices DefaultStandardChoicesOf(const ProfileSet& profiles) {
    DefaultStandardChoices choices;
    choices.profileTexts << QStringLiteral("(none)");
    choices.profileIds << QString();
    for (const StandardProfile& p : profiles.profiles) {
        choices.profileTexts << QStringLiteral("%1 (%2)").arg(p.title, p.id);
        choices.profileIds << p.id;
    }
    return choices;
}

QStringList DefaultLevelsOf(const ProfileSet& profiles, const QString& profileId) {
    QStringList levels;
    if (const StandardProfile* p = profiles.Find(profileId)) {
        for (const ProfileLevel& level : p->levels) {
            if (!level.AnyVoltage()) {
                levels << level.id;
            }
        }
    }
    return levels;
}

}  // namespace zeb
