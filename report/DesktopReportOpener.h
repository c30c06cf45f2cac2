#pragma once
// Opens a finished report with the desktop's program for .xlsx files. Kept apart from the report
// library because it needs Qt Gui (and a running QGuiApplication), which the core does not.

#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

#include "TestReport.h"

namespace zeb {

class CDesktopReportOpener : public IReportOpener {
public:
    // The desktop's default program for a file type: its name, an empty string when there is
    // none, nothing when the desktop cannot say.
    using DefaultProgramQuery = std::function<std::optional<QString>(const QString& mimeType)>;
    // Hands a file to the desktop; false when the desktop refused it.
    using Launcher = std::function<bool(const QUrl& file)>;

    // The defaults ask the desktop (xdg-mime on Linux, nothing elsewhere) and launch through it.
    explicit CDesktopReportOpener(DefaultProgramQuery query = {}, Launcher launch = {});

    // False when no program can open the file: the desktop names none, or refuses it. On Linux
    // the desktop starts its opener and reports success whatever that opener then finds, so
    // the default program is asked for first.
    bool OpenReport(const QString& path) override;

private:
    DefaultProgramQuery m_query;
    Launcher m_launch;
};

// The desktop's default program for `mimeType` on Linux (xdg-mime); nothing elsewhere or when
// xdg-mime is missing or does not answer.
std::optional<QString> XdgDefaultProgram(const QString& mimeType);

}  // namespace zeb
