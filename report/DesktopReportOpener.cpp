#include "DesktopReportOpener.h"

#include <QDesktopServices>
#include <QUrl>

namespace zeb {

bool CDesktopReportOpener::OpenReport(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace zeb
