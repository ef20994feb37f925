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
    readDrives();
}

void DriveListBox::readDrives()
{
    m_mounted = mountedVolumes();
    // Every volume that may be a drive is asked afresh, unless it has yet to answer the last asking.
    for (const Volume& volume : localDrives(m_mounted)) {
        if (m_probes.contains(volume.rootPath))
            continue;
        Reading<Volume> probe(volume.rootPath, [volume](ReadingProgress&) { return probeVolume(volume); });
        probe.onAnswer([this, root = volume.rootPath] { probed(root); });
        m_probes.emplace(volume.rootPath, std::move(probe));
    }
    showDrives();
}

void DriveListBox::probed(const QString& root)
{
    const auto probe = m_probes.find(root);
    try {
        m_answered.insert(root, probe->second.take());
    } catch (const AppError&) {
        // Not asked at all (no thread to ask on): not known.
    }
    m_probes.erase(probe);
    showDrives();
}

void DriveListBox::showDrives()
{
    QList<Volume> volumes = m_mounted;
    for (Volume& volume : volumes)
        volume = m_answered.value(volume.rootPath, volume);
    const QList<Volume> drives = localDrives(volumes);
    // An open list is left alone while its entries stay the same.
    bool same = drives.size() == count();
    for (int index = 0; same && index < count(); ++index)
        same =
            itemData(index).toString() == drives[index].rootPath && itemText(index) == driveDisplayText(drives[index]);
    if (!same)
        setDrives(drives);
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
    readDrives();
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
    m_driveDeadline.setSingleShot(true);
    m_driveDeadline.setInterval(DriveAnswerTime);
    connect(&m_driveDeadline, &QTimer::timeout, this, [this] {
        m_listing.drop();
        viewport()->unsetCursor();
        emit driveNotReady();
    });
}

void DirListBox::setPath(const QString& folder, const QStringList& otherwise)
{
    ask(
        folder, [candidates = QStringList{folder} + otherwise](ReadingProgress&) { return readFolder(candidates); },
        false);
}

void DirListBox::setDrive(const QString& root)
{
    ask(
        root,
        [root, last = m_lastFolderOnDrive](ReadingProgress&) {
            ensureDriveReady(root);
            return readFolder({currentFolderOnDrive(root, last)});
        },
        true);
}

void DirListBox::ask(const QString& file, std::function<FolderListing(ReadingProgress&)> work, bool drive)
{
    m_listing = Reading<FolderListing>(file, std::move(work));
    m_listing.onAnswer([this, drive] { arrived(drive); });
    if (drive)
        m_driveDeadline.start();
    else
        m_driveDeadline.stop();
    viewport()->setCursor(Qt::BusyCursor);
}

void DirListBox::arrived(bool drive)
{
    m_driveDeadline.stop();
    viewport()->unsetCursor();
    FolderListing listing;
    try {
        listing = m_listing.take();
    } catch (const AppError& error) {
        if (drive && error.number() == ErrorNumber::DeviceUnavailable)
            emit driveNotReady();
        return;
    }
    const bool changed = listing.path != m_path;
    m_path = listing.path;
    m_lastFolderOnDrive.insert(driveRootOf(m_path), m_path);
    fill(listing);
    if (changed)
        emit change();
}

void DirListBox::fill(const FolderListing& listing)
{
    clear();
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
    QTreeWidgetItem* parent = nullptr;
    for (const QString& folder : listing.chain) {
        const QString name = QDir(folder).isRoot() ? QDir::toNativeSeparators(folder) : QFileInfo(folder).fileName();
        auto* item = parent ? new QTreeWidgetItem(parent, {name}) : new QTreeWidgetItem(this, {name});
        item->setIcon(0, openIcon);
        item->setData(0, Qt::UserRole, folder);
        parent = item;
    }
    for (const QString& name : listing.subfolders) {
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
    // A folder that vanished since the list was read: show what is there now instead.
    if (item)
        setPath(item->data(0, Qt::UserRole).toString(), {m_path, QDir::rootPath()});
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
    // A click chooses a file; a Ctrl+click that lets go of one chooses nothing.
    connect(this, &QListWidget::itemClicked, this, [this] {
        if (!fileName().isEmpty())
            emit click();
    });
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
    m_listing.drop();
    viewport()->unsetCursor();
    if (m_path.isEmpty())
        return;
    m_listing = Reading<QStringList>(
        m_path, [folder = m_path, pattern = m_pattern](ReadingProgress&) { return matchingFiles(folder, pattern); });
    m_listing.onAnswer([this] {
        viewport()->unsetCursor();
        try {
            addItems(m_listing.take());
        } catch (const AppError&) {
            // Not read at all (no thread to read it on): the list stays empty, as for a folder gone.
        }
    });
    viewport()->setCursor(Qt::BusyCursor);
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
    const bool chosenBefore = !fileName().isEmpty();
    QListWidget::keyPressEvent(event);
    // Only a file the keys chose counts: Ctrl with the arrows moves the focus without choosing, and
    // Ctrl+Space may let go of the file.
    if (!fileName().isEmpty() && (currentItem() != before || !chosenBefore))
        emit click();
}

} // namespace vantelo
