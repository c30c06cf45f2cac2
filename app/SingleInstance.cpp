#include "SingleInstance.h"

#include <QDir>

namespace zeb {

CSingleInstance::CSingleInstance(const QString& folder) {
    const QString dir = folder.isEmpty() ? QDir::tempPath() : folder;
    m_path = QDir(dir).filePath(QStringLiteral("%1.lock").arg(QLatin1String(kMutexName)));
}

CSingleInstance::~CSingleInstance() {
    Release();
}

bool CSingleInstance::TryAcquire() {
    if (m_lock && m_lock->isLocked()) {
        return true;
    }
    m_lock = std::make_unique<QLockFile>(m_path);
    // Only a lock whose owner no longer runs is taken over, however old the lock of a running
    // program is.
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0)) {
        return true;
    }
    m_lock.reset();
    return false;
}

void CSingleInstance::Release() {
    if (m_lock) {
        m_lock->unlock();
        m_lock.reset();
    }
}

}  // namespace zeb
