#include "config/PictureBrowsing.h"

#include "common/AppError.h"
#include "reading/MountTable.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>

namespace vantelo {
namespace {

// File systems that are no drive a user keeps pictures on: memory-backed, kernel views, packaged
// read-only images, and everything reached over a network.
bool isExcludedFileSystem(const QByteArray& type)
{
    static const QList<QByteArray> excluded{
        "tmpfs",       "devtmpfs",    "ramfs",    "squashfs", "proc",        "sysfs",      "cgroup",
        "cgroup2",     "devpts",      "mqueue",   "debugfs",  "tracefs",     "securityfs", "pstore",
        "bpf",         "hugetlbfs",   "configfs", "fusectl",  "binfmt_misc", "efivarfs",   "nsfs",
        "autofs",      "rpc_pipefs",  "nfs",      "nfs4",     "cifs",        "smb3",       "smbfs",
        "ncpfs",       "afs",         "9p",       "davfs",    "fuse.sshfs",  "sshfs",      "fuse.gvfsd-fuse",
        "fuse.portal", "fuse.rclone", "ceph",     "glusterfs"};
    return excluded.contains(type);
}

bool isSystemMountPoint(const QString& root)
{
    static const QStringList systemTrees{QStringLiteral("/proc"), QStringLiteral("/sys"), QStringLiteral("/dev"),
                                         QStringLiteral("/run/user"), QStringLiteral("/snap")};
    return std::any_of(systemTrees.cbegin(), systemTrees.cend(),
                       [&](const QString& tree) { return root == tree || root.startsWith(tree + u'/'); });
}

QString cleanFolder(const QString& folder)
{
    return QDir::cleanPath(QDir(folder).absolutePath());
}

bool liesUnder(const QString& folder, const QString& root)
{
    if (folder == root)
        return true;
    return folder.startsWith(root.endsWith(u'/') ? root : root + u'/');
}

} // namespace

QList<Volume> mountedVolumes()
{
    QList<Volume> volumes;
    for (const MountedFileSystem& mount : mountTable())
        volumes.append({mount.mountPoint, QString(), mount.type, std::nullopt});
    return volumes;
}

Volume probeVolume(Volume volume)
{
    const QStorageInfo info(volume.rootPath);
    volume.ready = info.isValid() && info.isReady() && cleanFolder(info.rootPath()) == cleanFolder(volume.rootPath) &&
                   QFileInfo(volume.rootPath).isDir();
    volume.name = info.name();
    return volume;
}

QList<Volume> localDrives(const QList<Volume>& mounted)
{
    QList<Volume> drives;
    for (const Volume& volume : mounted) {
        if (volume.ready == false || isExcludedFileSystem(volume.fileSystemType) || isSystemMountPoint(volume.rootPath))
            continue;
        const bool seen = std::any_of(drives.cbegin(), drives.cend(),
                                      [&](const Volume& drive) { return drive.rootPath == volume.rootPath; });
        if (!seen)
            drives.append(volume);
    }
    const QString root = QDir::rootPath();
    std::stable_sort(drives.begin(), drives.end(), [&](const Volume& a, const Volume& b) {
        if ((a.rootPath == root) != (b.rootPath == root))
            return a.rootPath == root;
        return a.rootPath < b.rootPath;
    });
    return drives;
}

QString driveDisplayText(const Volume& drive)
{
    if (drive.name.isEmpty() || drive.name == drive.rootPath)
        return QDir::toNativeSeparators(drive.rootPath);
    return QDir::toNativeSeparators(drive.rootPath) + QStringLiteral(" [") + drive.name + u']';
}

QString driveRootOf(const QString& folder)
{
    const QString root = mountPointOf(cleanFolder(folder), mountTable());
    return root.isEmpty() ? QDir::rootPath() : root;
}

QString listedDriveOf(const QString& folder, const QStringList& roots)
{
    const QString cleaned = cleanFolder(folder);
    QString best;
    for (const QString& root : roots) {
        if (liesUnder(cleaned, cleanFolder(root)) && root.size() > best.size())
            best = root;
    }
    return best;
}

void ensureDriveReady(const QString& root)
{
    if (probeVolume({root, {}, {}, std::nullopt}).ready != true)
        throw AppError(ErrorNumber::DeviceUnavailable);
}

QString currentFolderOnDrive(const QString& root, const QHash<QString, QString>& lastFolderOnDrive)
{
    QString last = lastFolderOnDrive.value(root);
    if (!last.isEmpty() && QFileInfo(last).isDir())
        return last;
    return root;
}

FolderListing listFolder(const QStringList& candidates)
{
    for (const QString& candidate : candidates) {
        const QFileInfo info(candidate);
        if (!info.isDir())
            continue;
        FolderListing listing{QDir::cleanPath(info.absoluteFilePath()), {}, {}};
        QDir dir(listing.path);
        while (true) {
            listing.chain.prepend(dir.absolutePath());
            if (dir.isRoot() || !dir.cdUp())
                break;
        }
        listing.subfolders =
            QDir(listing.path).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
        return listing;
    }
    throw AppError(ErrorNumber::PathNotFound);
}

QStringList matchingFiles(const QString& folder, const QString& pattern)
{
    QStringList patterns = pattern.split(u';', Qt::SkipEmptyParts);
    for (QString& p : patterns)
        p = p.trimmed();
    if (patterns.isEmpty())
        return {};
    // Without QDir::CaseSensitive the name filters ignore letter case.
    return QDir(folder).entryList(patterns, QDir::Files, QDir::Name | QDir::IgnoreCase);
}

QString joinFolderAndFile(const QString& folder, const QString& fileName)
{
    return QDir::toNativeSeparators(folder) + QDir::separator() + fileName;
}

} // namespace vantelo
