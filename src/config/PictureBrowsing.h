#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The rules behind the picture browser's lists: which volumes count as drives, which folder a drive
// opens at, what the folder list shows and which files match a pattern. No widgets here.
//
// Whatever reads a volume, a folder or a file may wait as long as its storage does, so it runs on a
// reading thread (ReadingThreads.h): probeVolume, ensureDriveReady, currentFolderOnDrive, readFolder,
// matchingFiles.
namespace vantelo {

// A mounted volume as the system reports it.
struct Volume
{
    QString rootPath;
    QString name; // the volume's label, often empty
    QByteArray fileSystemType;
    std::optional<bool> ready; // whether it is ready and holds folders, once the volume has answered
    QByteArray device = {};    // what is mounted there ("/dev/sdb1"), for its label
};

// The volumes mounted right now, as the mount table lists them: no volume is asked anything, so none
// is known to be ready yet and none has a label.
QList<Volume> mountedVolumes();

// The volume as it answers when asked: whether it is ready and a folder (containers bind single files
// such as /etc/hosts as mounts of their own), and its label.
Volume probeVolume(Volume volume);

// The drives the drive list offers: the local volumes not known to be unready, the root volume first
// and the rest by path. Network shares and the system's memory-backed and pseudo file systems are
// left out.
QList<Volume> localDrives(const QList<Volume>& mounted);

// How a drive reads in the drive list: its path, then its label in brackets when it has one.
QString driveDisplayText(const Volume& drive);

// The root of the volume that holds folder, from the mount table.
QString driveRootOf(const QString& folder);

// Of the given drive roots, the one that holds folder: the longest root that folder lies under.
// Empty when none does.
QString listedDriveOf(const QString& folder, const QStringList& roots);

// Fails with device unavailable (68) unless a ready volume is mounted at root right now.
void ensureDriveReady(const QString& root);

// The folder a drive opens at: the last folder opened on it, while that still exists, else its root.
QString currentFolderOnDrive(const QString& root, const QHash<QString, QString>& lastFolderOnDrive);

// What the folder list shows of a folder: its path, the folders above it and the folder itself,
// outermost first ("/", "/home", "/home/ann"), and the folders directly inside it, by name regardless
// of letter case, hidden ones left out.
struct FolderListing
{
    QString path;
    QStringList chain;
    QStringList subfolders;
};

// The first of the candidates that is a folder, read; fails with path not found (76) when none is.
FolderListing readFolder(const QStringList& candidates);

// The files in folder whose names match pattern ("*.jpg"; several patterns may be joined with ";"),
// letter case ignored, so "*.jpg" lists "IMG_01.JPG". Sorted by name regardless of case.
QStringList matchingFiles(const QString& folder, const QString& pattern);

// A file's full path: the folder as the folder list shows it, the separator, the file name. A root
// folder already ends in the separator, so its files get two in a row, which still names them.
QString joinFolderAndFile(const QString& folder, const QString& fileName);

} // namespace vantelo
