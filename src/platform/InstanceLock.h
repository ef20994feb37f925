#pragma once

#include <QString>

#include <memory>

class QLockFile;

namespace vantelo {

// The single-instance rule: one lock per user, held until it is let go or the process ends. The system
// lets go of it when the process ends, however it ends, so it never goes stale; what the lock file holds
// does not matter, and the file stays when the lock is let go. Only the user can touch it: it is kept in
// a folder in which no one else may write, and a file there that is not theirs is replaced.
class InstanceLock
{
public:
    // lockPath defaults to a file in a private folder of the user's, so two users never block each other.
    explicit InstanceLock(QString lockPath = defaultLockPath());
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // False only when another start holds this lock. Where it cannot be kept at all (its folder is not
    // the user's alone, or no file can be made there) the error output says so and the start goes on.
    bool tryAcquire();
    void release();

    // In the runtime folder when it is the user's and private (else the error output says it is not),
    // otherwise in a private folder the program makes in the temporary folder, or in the cache folder;
    // where XDG_RUNTIME_DIR is not set, that folder becomes it for this process and what it starts.
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
