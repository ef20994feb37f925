#include "platform/InstanceLock.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace vantelo {

#ifdef Q_OS_UNIX

namespace {

// A record lock on the whole file. Linux's kind belongs to the open file, so a second open of the same
// file in this process (a question asked by isHeld) neither takes nor drops it; elsewhere the classic
// kind belongs to the process, which holds at most one of these per file.
#ifdef F_OFD_SETLK
constexpr int SetLock = F_OFD_SETLK;
constexpr int GetLock = F_OFD_GETLK;
#else
constexpr int SetLock = F_SETLK;
constexpr int GetLock = F_GETLK;
#endif

struct flock wholeFile(short type)
{
    struct flock lock = {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    return lock;
}

} // namespace

InstanceLock::InstanceLock(QString lockPath) : m_path(std::move(lockPath)) {}

InstanceLock::~InstanceLock()
{
    release();
}

bool InstanceLock::tryAcquire()
{
    if (m_file >= 0)
        return true;
    const QByteArray path = QFile::encodeName(m_path);
    const int file = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (file < 0)
        return false;
    struct flock lock = wholeFile(F_WRLCK);
    if (::fcntl(file, SetLock, &lock) != 0) {
        ::close(file);
        return false;
    }
    m_file = file;
    return true;
}

void InstanceLock::release()
{
    if (m_file >= 0)
        ::close(std::exchange(m_file, -1));
}

bool InstanceLock::isHeld(const QString& lockPath)
{
    const int file = ::open(QFile::encodeName(lockPath).constData(), O_RDONLY | O_CLOEXEC);
    if (file < 0)
        return false;
    struct flock lock = wholeFile(F_WRLCK);
    const bool held = ::fcntl(file, GetLock, &lock) == 0 && lock.l_type != F_UNLCK;
    ::close(file);
    return held;
}

#else

InstanceLock::InstanceLock(QString lockPath) : m_path(std::move(lockPath)), m_lock(std::make_unique<QLockFile>(m_path))
{
    // No age limit: an old lock of a live instance stays valid however long the show runs.
    m_lock->setStaleLockTime(0);
}

InstanceLock::~InstanceLock() = default;

bool InstanceLock::tryAcquire()
{
    return m_lock->tryLock(0);
}

void InstanceLock::release()
{
    m_lock->unlock();
}

bool InstanceLock::isHeld(const QString& lockPath)
{
    QLockFile probe(lockPath);
    probe.setStaleLockTime(0);
    return !probe.tryLock(0);
}

#endif

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

} // namespace vantelo
