#include "config/BrowserLists.h"

#include "common/AppError.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMimeData>
#include <QSignalBlocker>
#include <QStyle>
#include <QUrl>

#include <algorithm>

namespace vantelo {

DriveListBox::DriveListBox(QWidget* parent) : QComboBox(parent)
{
    setDrives(localDrives(mountedVolumes()));
}

void DriveListBox::setDrives(const QList<Volume>& drives)
{
    const QSignalBlocker blocker(this);
    const QString chosen = drive();
    clear();
    for (const Volume& volume : drives)
        addItem(driveDisplayText(volume), volume.rootPath);
    setCurrentIndex(std::max(0, findData(chosen)));
}

QString DriveListBox::drive() const
{
    return currentData().toString();
}

void DriveListBox::showDriveOf(const QString& folder)
{
    QStringList roots;
    for (int index = 0; index < count(); ++index)
        roots.append(itemData(index).toString());
    const QSignalBlocker blocker(this);
    const int index = findData(listedDriveOf(folder, roots));
    if (index >= 0)
        setCurrentIndex(index);
}

void DriveListBox::showPopup()
{
    setDrives(localDrives(mountedVolumes()));
    QComboBox::showPopup();
}

DirListBox::DirListBox(QWidget* parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setIndentation(10);
    setUniformRowHeights(true);
    setExpandsOnDoubleClick(false);
    // The indentation alone shows the nesting; nothing here folds.
    setStyleSheet(QStringLiteral("QTreeView::branch { image: none; border-image: none; }"));
    connect(this, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) { open(item); });
}

void DirListBox::setPath(const QString& folder)
{
    const QFileInfo info(folder);
    if (!info.isDir())
        throw AppError(ErrorNumber::PathNotFound);
    const QString cleaned = QDir::cleanPath(info.absoluteFilePath());
    const bool changed = cleaned != m_path;
    m_path = cleaned;
    m_lastFolderOnDrive.insert(driveRootOf(m_path), m_path);
    fill();
    if (changed)
        emit change();
}

void DirListBox::setDrive(const QString& root)
{
    ensureDriveReady(root);
    setPath(currentFolderOnDrive(root, m_lastFolderOnDrive));
}

void DirListBox::fill()
{
    clear();
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
    QTreeWidgetItem* parent = nullptr;
    for (const QString& folder : folderChain(m_path)) {
        const QString name = QDir(folder).isRoot() ? QDir::toNativeSeparators(folder) : QFileInfo(folder).fileName();
        auto* item = parent ? new QTreeWidgetItem(parent, {name}) : new QTreeWidgetItem(this, {name});
        item->setIcon(0, openIcon);
        item->setData(0, Qt::UserRole, folder);
        parent = item;
    }
    for (const QString& name : subfolders(m_path)) {
        auto* item = new QTreeWidgetItem(parent, {name});
        item->setIcon(0, closedIcon);
        item->setData(0, Qt::UserRole, QDir(m_path).filePath(name));
    }
    expandAll();
    setCurrentItem(parent);
    scrollToItem(parent, QAbstractItemView::PositionAtTop);
}

void DirListBox::open(QTreeWidgetItem* item)
{
    if (!item)
        return;
    // A folder that vanished since the list was read: show what is there now instead.
    QString target = item->data(0, Qt::UserRole).toString();
    if (!QFileInfo(target).isDir())
        target = QFileInfo(m_path).isDir() ? m_path : QDir::rootPath();
    try {
        setPath(target);
    } catch (const AppError&) {
    }
}

void DirListBox::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        open(currentItem());
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

FileListBox::FileListBox(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setDragDropMode(QAbstractItemView::DragOnly);
    setDefaultDropAction(Qt::CopyAction);
    setUniformItemSizes(true);
    connect(this, &QListWidget::itemClicked, this, &FileListBox::click);
}

void FileListBox::setPath(const QString& folder)
{
    m_path = folder;
    refresh();
}

void FileListBox::setPattern(const QString& pattern)
{
    m_pattern = pattern;
}

void FileListBox::refresh()
{
    clear();
    addItems(matchingFiles(m_path, m_pattern));
}

QString FileListBox::fileName() const
{
    // Tabbing into the list makes its first entry current, to show where the keys go, without
    // choosing it: only a chosen entry counts.
    const QListWidgetItem* item = currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

QMimeData* FileListBox::mimeData(const QList<QListWidgetItem*>& items) const
{
    // In the list's order, as "===>" adds them, whatever order they were selected in.
    QList<QListWidgetItem*> ordered = items;
    std::sort(ordered.begin(), ordered.end(),
              [this](QListWidgetItem* a, QListWidgetItem* b) { return row(a) < row(b); });
    QList<QUrl> files;
    for (const QListWidgetItem* item : ordered)
        files.append(QUrl::fromLocalFile(QDir(m_path).filePath(item->text())));
    auto* dragged = new QMimeData;
    dragged->setUrls(files);
    return dragged;
}

void FileListBox::keyPressEvent(QKeyEvent* event)
{
    const QListWidgetItem* before = currentItem();
    QListWidget::keyPressEvent(event);
    if (currentItem() && currentItem() != before)
        emit click();
}

} // namespace vantelo
