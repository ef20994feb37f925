#pragma once

#include <QString>

#include <memory>

class QLockFile;

namespace vantelo {

// The single-instance rule: one lock per user, held for the life of the process. The system lets go
// of it when the process ends, however it ends, so it never goes stale; what the lock file holds does
// not matter, and the file stays when the lock is let go.
class InstanceLock
{
public:
    // lockPath defaults to a file in the user's runtime folder, so two users never block each other.
    explicit InstanceLock(QString lockPath = defaultLockPath());
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // True when this lock is now held here; false when another holds it, or the file cannot be made.
    bool tryAcquire();
    void release();

    static QString defaultLockPath();
    // The lock of a show hosted in the given window of a screen-saver host.
    static QString hostedLockPath(quintptr window);
    // Whether anyone holds the lock at lockPath. Only asks: the lock is never taken, not even for a
    // moment, so a start at the same instant never mistakes the question for a running instance.
    static bool isHeld(const QString& lockPath);

private:
    QString m_path;
#ifdef Q_OS_UNIX
    int m_file = -1;
#else
    std::unique_ptr<QLockFile> m_lock;
#endif
};

} // namespace vantelo
