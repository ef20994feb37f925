#pragma once

#include "config/PictureBrowsing.h"
#include "reading/ReadingThreads.h"

#include <QComboBox>
#include <QHash>
#include <QListWidget>
#include <QTimer>
#include <QTreeWidget>

#include <chrono>
#include <map>

// The picture browser's three lists, each as small as its job: they show what the rules in
// PictureBrowsing.h give and report the user's moves; the window's handlers chain them. What they
// show is read on the reading threads (ReadingThreads.h) and shown when it comes, so a drive or a
// folder that does not answer never holds up the window; the last move asked is the one shown.
namespace vantelo {

// How long a drive chosen in the drive list may take to answer before it counts as not ready.
inline constexpr std::chrono::milliseconds DriveAnswerTime{2000};

// The drive list: the local drives, by their root paths. It lists the mounted volumes at once, and
// leaves out each one that answers that it is not ready; one that has not answered yet stays listed.
class DriveListBox : public QComboBox
{
    Q_OBJECT
public:
    explicit DriveListBox(QWidget* parent = nullptr);

    // Replaces the entries without a change event, keeping the chosen drive where it is still listed.
    void setDrives(const QList<Volume>& drives);
    // The root path of the chosen entry.
    QString drive() const;
    // Chooses the drive that holds folder, without a change event.
    void showDriveOf(const QString& folder);

protected:
    // The list is read afresh whenever it opens, so a volume mounted since shows up.
    void showPopup() override;

private:
    void readDrives();
    void probed(const QString& root);
    void showDrives();

    QList<Volume> m_mounted;
    QHash<QString, Volume> m_answered; // each volume's latest answer
    std::map<QString, Reading<Volume>> m_probes;
};

// The folder list: the current folder with the folders above it, then its subfolders. A double-click
// (or Enter) opens the entry.
class DirListBox : public QTreeWidget
{
    Q_OBJECT
public:
    explicit DirListBox(QWidget* parent = nullptr);

    // The folder shown.
    QString path() const { return m_path; }
    // Moves to the first of folder and the others that is a folder, once its storage has answered; a
    // move where none is changes nothing. The change signal comes only when the path really changes.
    void setPath(const QString& folder, const QStringList& otherwise = {});
    // Moves to a drive's current folder (the last one opened on it); driveNotReady comes instead when
    // the drive is gone or not ready, or does not answer within DriveAnswerTime.
    void setDrive(const QString& root);

signals:
    void change();
    void driveNotReady();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ask(const QString& file, std::function<FolderListing(ReadingProgress&)> work, bool drive);
    void arrived(bool drive);
    void fill(const FolderListing& listing);
    void open(QTreeWidgetItem* item);

    QString m_path;
    QHash<QString, QString> m_lastFolderOnDrive;
    Reading<FolderListing> m_listing;
    QTimer m_driveDeadline;
};

// The file list: the files of one folder that match a pattern; several can be selected.
class FileListBox : public QListWidget
{
    Q_OBJECT
public:
    explicit FileListBox(QWidget* parent = nullptr);

    QString path() const { return m_path; }
    void setPath(const QString& folder);
    QString pattern() const { return m_pattern; }
    void setPattern(const QString& pattern);
    // Reads the folder again: the list is empty until its storage answers.
    void refresh();
    // The name (no folder) of the current entry when the user chose it; empty when there is none.
    QString fileName() const;

signals:
    // The user chose an entry, with the mouse or by moving through the list with the keys. Not for a
    // move that chooses nothing (Ctrl with the arrows), nor a Ctrl+click that lets go of an entry.
    void click();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // Dragged files go as their addresses, which the slide list and file managers take.
    QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override;

private:
    QString m_path;
    QString m_pattern = QStringLiteral("*.*");
    Reading<QStringList> m_listing;
};

} // namespace vantelo
