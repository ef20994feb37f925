#pragma once

#include "config/PictureBrowsing.h"

#include <QComboBox>
#include <QHash>
#include <QListWidget>
#include <QTreeWidget>

// The picture browser's three lists, each as small as its job: they show what the rules in
// PictureBrowsing.h give and report the user's moves; the window's handlers chain them.
namespace vantelo {

// The drive list: the local drives, by their root paths.
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
};

// The folder list: the current folder with the folders above it, then its subfolders. A double-click
// (or Enter) opens the entry.
class DirListBox : public QTreeWidget
{
    Q_OBJECT
public:
    explicit DirListBox(QWidget* parent = nullptr);

    QString path() const { return m_path; }
    // Moves to folder and shows it; fails with path not found (76) when it is no folder. The change
    // signal comes only when the path really changes.
    void setPath(const QString& folder);
    // Moves to a drive's current folder (the last one opened on it); fails with 68 when the drive is
    // gone or not ready.
    void setDrive(const QString& root);

signals:
    void change();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fill();
    void open(QTreeWidgetItem* item);

    QString m_path;
    QHash<QString, QString> m_lastFolderOnDrive;
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
    // Reads the folder again.
    void refresh();
    // The name (no folder) of the current entry when the user chose it; empty when there is none.
    QString fileName() const;

signals:
    // The user chose an entry, with the mouse or by moving through the list with the keys.
    void click();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // Dragged files go as their addresses, which the slide list and file managers take.
    QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override;

private:
    QString m_path;
    QString m_pattern = QStringLiteral("*.*");
};

} // namespace vantelo
