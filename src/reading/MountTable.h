#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The file systems mounted for this process, as the system's mount table lists them. The table is
// read from memory, never from the file systems themselves, so a mount that stopped answering costs
// nothing here and any thread may read it.
namespace vantelo {

struct MountedFileSystem
{
    QString mountPoint;
    QByteArray type;   // "ext4", "vfat", "nfs4", "fuse.sshfs"...
    QByteArray source; // what is mounted: "/dev/sda1", "server:/photos"...
};

// Every mount, in the table's order.
QList<MountedFileSystem> mountTable();

// The mount point of the file system that holds path (absolute): the longest mount point it lies
// under, as written, without asking the file system anything. Empty when none does.
QString mountPointOf(const QString& path, const QList<MountedFileSystem>& mounts);

} // namespace vantelo
