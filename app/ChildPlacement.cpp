#include "ChildPlacement.h"

#include <algorithm>

#include "IniFile.h"

namespace zeb {

namespace {
// Non-zero integer value of a position key, or `fallback`.
int PositionKey(const char* key, int fallback) {
    bool ok = false;
    const int value =
        ReadIniString(QLatin1String(placement::kSection), QLatin1String(key), QString())
            .trimmed()
            .toInt(&ok);
    return ok && value != 0 ? value : fallback;
}
}  // namespace

QRect ChildGeometry(const QRect& defaults) {
    // A negative size cannot be shown; like zero it keeps the default.
    const int width = PositionKey("INI_KEY_MDICHILD_CX", defaults.width());
    const int height = PositionKey("INI_KEY_MDICHILD_CY", defaults.height());
    return QRect(PositionKey("INI_KEY_MDICHILD_X", defaults.x()),
                 PositionKey("INI_KEY_MDICHILD_Y", defaults.y()),
                 width > 0 ? width : defaults.width(), height > 0 ? height : defaults.height());
}

QSize FittedWindowSize(const QSize& window, const QSize& frame, const QSize& form, int scrollBar) {
    const QSize wanted = form + frame;
    int width = std::min(window.width(), wanted.width());
    int height = std::min(window.height(), wanted.height());
    if (height < wanted.height()) {
        width = std::min(window.width(), wanted.width() + scrollBar);
    }
    if (width < wanted.width()) {
        height = std::min(window.height(), wanted.height() + scrollBar);
    }
    return QSize(width, height);
}

void StoreWindowState(const char* state) {
    WriteIniString(QLatin1String(placement::kSection), QStringLiteral("INI_KEY_MDICHILD_MAXIMIZE"),
                   QLatin1String(state));
}

QString StoredWindowState() {
    return ReadIniString(QLatin1String(placement::kSection),
                         QStringLiteral("INI_KEY_MDICHILD_MAXIMIZE"), QString());
}

int CProgramArrangement::s_nDepth = 0;

const char* WindowStateToStore(Qt::WindowStates before, Qt::WindowStates now) {
    const auto kind = [](Qt::WindowStates s) {
        return s & Qt::WindowMinimized   ? placement::kMinimize
               : s & Qt::WindowMaximized ? placement::kMaximize
                                         : placement::kRestore;
    };
    if (CProgramArrangement::Active() || kind(before) == kind(now)) {
        return nullptr;
    }
    return kind(now);
}

bool CMaximizeOnce::ShouldMaximize() {
    if (!m_bFirst) {
        return false;
    }
    m_bFirst = false;
    return StoredWindowState() == QLatin1String(placement::kMaximize);
}

}  // namespace zeb
