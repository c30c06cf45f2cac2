#include "RemainingTime.h"

namespace zeb {

qint64 RemainingSeconds(const ExecDataList& steps, int index, qint64 done) {
    if (index < 0 || index >= static_cast<int>(steps.size())) {
        return 0;
    }
    // Summed in 64 bits: a thousand steps of large counts and intervals overflow 32.
    qint64 total = 0;
    for (size_t i = static_cast<size_t>(index); i < steps.size(); ++i) {
        total += static_cast<qint64>(steps[i].m_lRept) * steps[i].m_lDisc;
    }
    const CExecData& current = steps[static_cast<size_t>(index)];
    // A garbled negative count from the instrument must not make the estimate grow.
    if (done > 0 && current.m_lDisc >= done) {
        total -= done * current.m_lRept;
    }
    return total;
}

QString RemainingText(qint64 seconds) {
    return QStringLiteral("%1h:%2m:%3s")
        .arg(seconds / 3600, 4)
        .arg((seconds % 3600) / 60, 2)
        .arg(seconds % 60, 2);
}

}  // namespace zeb
