#pragma once

#include <QString>

#include <memory>

class QLockFile;

namespace vantelo {

// The single-instance rule: one lock per user, held for the life of the process. A lock left by
// a process that no longer runs (killed, crashed) is taken over.
class InstanceLock
{
public:
    // lockPath defaults to a file in the user's runtime folder, so two users never block each other.
    explicit InstanceLock(const QString& lockPath = defaultLockPath());
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // True when this process now holds the lock; false when another running instance holds it.
    bool tryAcquire();
    // Lets go of the lock before the process ends in a way that runs no destructors.
    void release();

    static QString defaultLockPath();
    // The lock of a show hosted in the given window of a screen-saver host.
    static QString hostedLockPath(quintptr window);
    // Whether a running process holds the lock at lockPath.
    static bool isHeld(const QString& lockPath);

private:
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace vantelo
