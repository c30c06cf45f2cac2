#include "StepComment.h"

namespace zeb {

QString ReplaceMonitorComment(const QString& comment, const QString& monitorText) {
    const QString prefix = QLatin1String(kMonitorCommentPrefix);
    QString own = comment;
    if (comment.startsWith(prefix)) {
        own.clear();
    } else if (const qsizetype at = comment.indexOf(QLatin1Char('\n') + prefix); at >= 0) {
        own = comment.left(at);
    }
    if (monitorText.isEmpty() || own.isEmpty()) {
        return own + monitorText;
    }
    return own + QLatin1Char('\n') + monitorText;
}

QString InterruptedVerdictComment() {
    return QStringLiteral("monitor: no verdict, the run was interrupted");
}

}  // namespace zeb
