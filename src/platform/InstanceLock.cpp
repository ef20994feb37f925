#include "platform/InstanceLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QSysInfo>

#ifdef Q_OS_UNIX
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
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

void say(const QString& text)
{
    std::fprintf(stderr, "vantelo.scr: %s\n", qPrintable(text));
}

// Only its owner can change what a folder holds when no one else may write in it.
bool isOwnFolder(const struct stat& info)
{
    return S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// A private folder of the user's own, made if it is not there; nothing when another user made one of
// that name first, or it cannot be made.
QString ownFolder(const QString& parent, const QString& name)
{
    const QString folder = QDir(parent).filePath(name);
    const QByteArray path = QFile::encodeName(folder);
    struct stat info = {};
    if ((::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) || ::lstat(path.constData(), &info) != 0 ||
        !isOwnFolder(info))
        return {};
    return (info.st_mode & 0777) == 0700 || ::chmod(path.constData(), 0700) == 0 ? folder : QString();
}

// Never a folder in which others may write: the runtime folder when it is the user's and private, as
// the XDG rules ask; else one of the user's own in the temporary folder; else, when another user took
// that name first, one in the user's cache folder, named for this machine should the home be shared.
QString lockFolder()
{
    QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    struct stat info = {};
    if (QDir::isAbsolutePath(runtime) && ::lstat(QFile::encodeName(runtime).constData(), &info) == 0 &&
        isOwnFolder(info) && (info.st_mode & 0777) == 0700)
        return runtime;
    const QString prefix = QStringLiteral("personal-vantelo-");
    QString folder = ownFolder(QDir::tempPath(), prefix + QString::number(::geteuid()));
    if (folder.isEmpty()) {
        const QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
        const QString parent = QDir::isAbsolutePath(cache) ? cache : QDir::homePath() + QStringLiteral("/.cache");
        QDir().mkpath(parent);
        folder = ownFolder(parent, prefix + QSysInfo::machineHostName());
    }
    if (folder.isEmpty()) // tryAcquire says that it keeps no lock there
        return QDir(QDir::tempPath()).filePath(prefix + QString::number(::geteuid()));
    // Qt's start-up asks for a runtime folder too, and would complain of none. Never done where one is
    // set: the desktop's sockets may be in it. The first call comes before Qt or any other thread starts.
    if (runtime.isEmpty())
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(folder));
    static std::atomic<bool> told = false;
    if (!runtime.isEmpty() && !told.exchange(true))
        say(QStringLiteral("XDG_RUNTIME_DIR (\"%1\") is no folder of this user's alone, so the one-instance lock is "
                           "kept in %2")
                .arg(runtime, folder));
    return folder;
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
    const QFileInfo path(m_path);
    const int folder = ::open(QFile::encodeName(path.path()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    struct stat folderInfo = {};
    if (folder < 0 || ::fstat(folder, &folderInfo) != 0 || !isOwnFolder(folderInfo)) {
        if (folder >= 0)
            ::close(folder);
        say(QStringLiteral("%1 is in no folder of this user's alone, so no other start is kept out").arg(m_path));
        return true;
    }
    const QByteArray name = QFile::encodeName(path.fileName());
    int failure = 0;
    // A file that is not the user's, or that they cannot open, is no running instance: it is replaced.
    // Two starts replacing it at once each check that their lock is on the file that has the name.
    for (int attempt = 0; attempt < 3 && m_file < 0 && failure == 0; ++attempt) {
        const int file = ::openat(folder, name.constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
        struct stat fileInfo = {};
        if (file < 0 || ::fstat(file, &fileInfo) != 0 || !S_ISREG(fileInfo.st_mode) || fileInfo.st_uid != ::geteuid()) {
            if (file >= 0)
                ::close(file);
            if (::unlinkat(folder, name.constData(), 0) != 0 && errno != ENOENT)
                failure = errno;
            continue;
        }
        struct flock lock = wholeFile(F_WRLCK);
        if (::fcntl(file, SetLock, &lock) != 0) {
            failure = errno;
            ::close(file);
            if (failure == EAGAIN || failure == EACCES) {
                ::close(folder);
                return false;
            }
            break;
        }
        struct stat named = {};
        if (::fstatat(folder, name.constData(), &named, AT_SYMLINK_NOFOLLOW) == 0 && named.st_dev == fileInfo.st_dev &&
            named.st_ino == fileInfo.st_ino)
            m_file = file;
        else
            ::close(file);
    }
    ::close(folder);
    if (m_file < 0)
        say(QStringLiteral("cannot lock %1 (%2), so no other start is kept out")
                .arg(m_path, qt_error_string(failure != 0 ? failure : EEXIST)));
    return true;
}

void InstanceLock::release()
{
    if (m_file >= 0)
        ::close(std::exchange(m_file, -1));
}

bool InstanceLock::isHeld(const QString& lockPath)
{
    const int file = ::open(QFile::encodeName(lockPath).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (file < 0)
        return false;
    struct stat info = {};
    struct flock lock = wholeFile(F_WRLCK);
    const bool held = ::fstat(file, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid() &&
                      ::fcntl(file, GetLock, &lock) == 0 && lock.l_type != F_UNLCK;
    ::close(file);
    return held;
}

QString InstanceLock::defaultLockPath()
{
    return QDir(lockFolder()).filePath(QStringLiteral("personal-vantelo.lock"));
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

QString InstanceLock::defaultLockPath()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    QDir().mkpath(folder);
    return QDir(folder).filePath(QStringLiteral("personal-vantelo.lock"));
}

#endif

QString InstanceLock::hostedLockPath(quintptr window)
{
    const QString main = defaultLockPath();
    return main.left(main.size() - 5) + QStringLiteral("-hosted-") + QString::number(window) + QStringLiteral(".lock");
}

} // namespace vantelo
