#include "config/PictureBrowsing.h"

#include "common/AppError.h"
#include "reading/MountTable.h"
#include "reading/Storage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

// A volume's label, as the device manager records it: a link named by the label, with blanks and
// the like written as \xHH, in /dev/disk/by-label that leads to the volume's device. Only the
// system's device folder is read, never the volume.
QString volumeLabel(const QByteArray& device)
{
    if (!device.startsWith('/'))
        return {};
    const QString target = QFileInfo(QFile::decodeName(device)).canonicalFilePath();
    const QDir labels(QStringLiteral("/dev/disk/by-label"));
    for (const QString& name : labels.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        if (target.isEmpty() || QFileInfo(labels.filePath(name)).canonicalFilePath() != target)
            continue;
        QByteArray label = QFile::encodeName(name);
        for (qsizetype at = label.indexOf("\\x"); at >= 0 && at + 3 < label.size(); at = label.indexOf("\\x", at + 1)) {
            bool ok = false;
            const int code = label.mid(at + 2, 2).toInt(&ok, 16);
            if (ok)
                label.replace(at, 4, QByteArray(1, char(code)));
        }
        return QFile::decodeName(label);
    }
    return {};
}

} // namespace

QList<Volume> mountedVolumes()
{
    QList<Volume> volumes;
    for (const MountedFileSystem& mount : mountTable())
        volumes.append({mount.mountPoint, QString(), mount.type, std::nullopt, mount.source});
    return volumes;
}

Volume probeVolume(Volume volume)
{
    // A folder left behind where a volume was unmounted is no longer that volume.
    const QString root = cleanFolder(volume.rootPath);
    volume.ready = mountPointOf(root, mountTable()) == root && fileSystemError(root) == 0 && lookAt(root).isFolder;
    volume.name = volumeLabel(volume.device);
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
    if (!last.isEmpty() && lookAt(last).isFolder)
        return last;
    return root;
}

FolderListing readFolder(const QStringList& candidates)
{
    for (const QString& candidate : candidates) {
        const QString path = cleanFolder(candidate);
        if (!lookAt(path).isFolder)
            continue;
        FolderListing listing{path, {}, {}};
        for (QString at = path;; at = QFileInfo(at).path()) {
            listing.chain.prepend(at);
            if (QDir(at).isRoot())
                break;
        }
        listing.subfolders = namesInFolder(path, true, {});
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
    return namesInFolder(folder, false, patterns);
}

QString joinFolderAndFile(const QString& folder, const QString& fileName)
{
    return QDir::toNativeSeparators(folder) + QDir::separator() + fileName;
}

} // namespace vantelo
