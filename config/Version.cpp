#include "Version.h"

namespace zeb {

QString GetVersionString() {
#if defined(ZEB_VERSION_MAJOR) && defined(ZEB_VERSION_MINOR) && defined(ZEB_VERSION_PATCH)
    return QStringLiteral("%1.%2.%3.%4")
        .arg(ZEB_VERSION_MAJOR)
        .arg(ZEB_VERSION_MINOR)
        .arg(ZEB_VERSION_PATCH)
        .arg(0);
#else
    return QString();
#endif
}

}  // namespace zeb
