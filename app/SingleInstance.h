#pragma once
// One running program per user: a lock file named after the instance mutex (and, where the
// temporary folder is shared, the user) in the temporary folder. A lock left behind by a
// crashed program is recovered.

#include <QLockFile>
#include <QString>

#include <memory>

namespace zeb {

class CSingleInstance {
public:
    static constexpr const char* kMutexName = "ZEB-M40_Instance";

    // `folder`: where the lock lives; the system's temporary folder when empty.
    explicit CSingleInstance(const QString& folder = QString());
    ~CSingleInstance();

    // True when this is the only instance (the lock is then held until Release or
    // destruction); false when another one holds it.
    bool TryAcquire();
    void Release();
    QString LockPath() const { return m_path; }

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};

}  // namespace zeb
