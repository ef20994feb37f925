#include "platform/InstanceLock.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

namespace vantelo {

InstanceLock::InstanceLock(const QString& lockPath) : m_lock(std::make_unique<QLockFile>(lockPath))
{
    // No age limit: an old lock of a live instance stays valid however long the show runs.
    // A lock whose process has gone is still recognised as stale by its process id.
    m_lock->setStaleLockTime(0);
}

InstanceLock::~InstanceLock() = default;

bool InstanceLock::tryAcquire()
{
    return m_lock->tryLock(0);
}

QString InstanceLock::defaultLockPath()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    QDir().mkpath(folder);
    return QDir(folder).filePath(QStringLiteral("personal-vantelo.lock"));
}

QString InstanceLock::hostedLockPath(quintptr window)
{
    const QString main = defaultLockPath();
    return main.left(main.size() - 5) + QStringLiteral("-hosted-") + QString::number(window) + QStringLiteral(".lock");
}

bool InstanceLock::isHeld(const QString& lockPath)
{
    // Taken and given back at once: a lock held by a live process cannot be taken.
    InstanceLock probe(lockPath);
    return !probe.tryAcquire();
}

void InstanceLock::release()
{
    if (m_lock)
        m_lock->unlock();
}

} // namespace vantelo
