#include "DocTemplate.h"

#include <QFileInfo>

#include "SettingsDoc.h"

namespace zeb {

namespace {
QString Canonical(const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}
}  // namespace

bool CMyDocTemplate::SamePath(const QString& a, const QString& b) {
    if (a.isEmpty() || b.isEmpty()) {
        return false;
    }
    return Canonical(a) == Canonical(b);
}

QString CMyDocTemplate::WithExtension(const QString& path) {
    if (path.endsWith(QLatin1String(kExtension), Qt::CaseInsensitive)) {
        return path;
    }
    return path + QLatin1String(kExtension);
}

CMyDocTemplate::Confidence CMyDocTemplate::MatchDocType(
    const QString& path, const std::vector<CZebM40SettingsDoc*>& open, CZebM40SettingsDoc*& match) {
    match = nullptr;
    for (CZebM40SettingsDoc* doc : open) {
        if (doc && SamePath(doc->PathName(), path)) {
            if (!doc->IsModified()) {
                match = doc;
                return kYesAlreadyOpen;
            }
            // The edited document stays as it is; the file gets a window of its own.
            return kYesAttemptNative;
        }
    }
    return path.endsWith(QLatin1String(kExtension), Qt::CaseInsensitive) ? kYesAttemptNative
                                                                         : kNoAttempt;
}

}  // namespace zeb
