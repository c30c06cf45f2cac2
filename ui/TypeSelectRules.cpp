#include "TypeSelectRules.h"

#include "IniFile.h"

namespace zeb {

namespace {
const char kSection[] = "INI_SECTION_MACHINE_TYPE";
const char kKey[] = "INI_KEY_MACHINE_TYPE";
}  // namespace

int PreselectedRow(const std::vector<MachineChoice>& rows, const QString& iniValue) {
    bool ok = false;
    const qlonglong value = iniValue.trimmed().toLongLong(&ok);
    if (ok) {
        for (size_t i = 0; i < rows.size(); ++i) {
            if (static_cast<qlonglong>(rows[i].code) == value) {
                return static_cast<int>(i);
            }
        }
    }
    return 0;
}

QString StoredMachineTypeText() {
    return ReadIniString(QLatin1String(kSection), QLatin1String(kKey),
                         QString::number(typeselect::kDefaultType));
}

void StoreMachineType(quint32 machineType) {
    WriteIniString(QLatin1String(kSection), QLatin1String(kKey), QString::number(machineType));
}

}  // namespace zeb
