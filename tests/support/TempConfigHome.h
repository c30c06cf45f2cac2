#pragma once
// Points the configuration folder ($XDG_CONFIG_HOME) at a fresh temporary folder for the lifetime
// of the object, so tests never read or touch the user's own ZEB.ini.

#include <QByteArray>
#include <QTemporaryDir>
#include <QtGlobal>

namespace zeb::test {

class TempConfigHome {
public:
    TempConfigHome()
        : m_hadSaved(qEnvironmentVariableIsSet("XDG_CONFIG_HOME")),
          m_saved(qgetenv("XDG_CONFIG_HOME")) {
        qputenv("XDG_CONFIG_HOME", m_dir.path().toUtf8());
    }
    ~TempConfigHome() {
        if (m_hadSaved) {
            qputenv("XDG_CONFIG_HOME", m_saved);
        } else {
            qunsetenv("XDG_CONFIG_HOME");
        }
    }
    TempConfigHome(const TempConfigHome&) = delete;
    TempConfigHome& operator=(const TempConfigHome&) = delete;

    bool IsValid() const { return m_dir.isValid(); }
    QString Path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    bool m_hadSaved;
    QByteArray m_saved;
};

}  // namespace zeb::test
