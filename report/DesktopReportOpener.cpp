#include "DesktopReportOpener.h"

#include <QDesktopServices>
#include <QProcess>

namespace zeb {

namespace {
const char* const kWorkbookType =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet";
}  // namespace

std::optional<QString> XdgDefaultProgram(const QString& mimeType) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    QProcess query;
    query.start(QStringLiteral("xdg-mime"),
                {QStringLiteral("query"), QStringLiteral("default"), mimeType});
    // A desktop that takes longer than this to answer is not asked again; the launch decides.
    if (!query.waitForFinished(3000) || query.exitStatus() != QProcess::NormalExit ||
        query.exitCode() != 0) {
        query.kill();
        query.waitForFinished(1000);
        return std::nullopt;
    }
    return QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed();
#else
    Q_UNUSED(mimeType);
    return std::nullopt;
#endif
}

CDesktopReportOpener::CDesktopReportOpener(DefaultProgramQuery query, Launcher launch)
    : m_query(query ? std::move(query) : DefaultProgramQuery(XdgDefaultProgram)),
      m_launch(launch ? std::move(launch) : Launcher([](const QUrl& file) {
          return QDesktopServices::openUrl(file);
      })) {}

bool CDesktopReportOpener::OpenReport(const QString& path) {
    const std::optional<QString> program = m_query(QLatin1String(kWorkbookType));
    if (program && program->isEmpty()) {
        return false;
    }
    return m_launch(QUrl::fromLocalFile(path));
}

}  // namespace zeb
