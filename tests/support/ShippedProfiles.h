#pragma once
// Points the program's shipped standard profiles at the source tree's and its lab folder at
// nothing of the user's, for the lifetime of the object, and reloads the installed profiles.
// Test programs that use it define ZEB_SHIPPED_PROFILES (the source tree's standards/profiles).

#include <QTemporaryDir>
#include <QtGlobal>

#include "ProfileLibrary.h"

namespace zeb::test {

class ShippedProfiles {
public:
    ShippedProfiles()
        : m_saved(qgetenv("ZEB_STANDARDS_DIR")), m_savedData(qgetenv("XDG_DATA_HOME")) {
        qputenv("ZEB_STANDARDS_DIR", ZEB_SHIPPED_PROFILES);
        qputenv("XDG_DATA_HOME", m_data.path().toUtf8());
        ReloadInstalledProfiles();
    }
    ~ShippedProfiles() {
        Restore("ZEB_STANDARDS_DIR", m_saved);
        Restore("XDG_DATA_HOME", m_savedData);
        ReloadInstalledProfiles();
    }
    ShippedProfiles(const ShippedProfiles&) = delete;

    // The title a shipped profile gives itself, so tests compare with the data and never carry
    // a standard's text of their own; empty when no such profile is shipped.
    static QString Title(const QString& id) {
        const StandardProfile* profile = InstalledProfiles().Find(id);
        return profile ? profile->title : QString();
    }
    ShippedProfiles& operator=(const ShippedProfiles&) = delete;

private:
    static void Restore(const char* name, const QByteArray& value) {
        if (value.isEmpty()) {
            qunsetenv(name);
        } else {
            qputenv(name, value);
        }
    }
    QTemporaryDir m_data;
    QByteArray m_saved;
    QByteArray m_savedData;
};

}  // namespace zeb::test
