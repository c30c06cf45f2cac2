#include "SingleInstance.h"

#include <QDir>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

namespace zeb {

CSingleInstance::CSingleInstance(const QString& folder) {
    const QString dir = folder.isEmpty() ? QDir::tempPath() : folder;
    QString name = QLatin1String(kMutexName);
#ifndef Q_OS_WIN
    // The temporary folder is shared by every user of the machine; one user's program must
    // not keep another user's from starting (nor could it take over their lock file).
    name += QStringLiteral(".%1").arg(::getuid());
#endif
    m_path = QDir(dir).filePath(name + QStringLiteral(".lock"));
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
