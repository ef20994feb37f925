#include "config/SlideListView.h"

#include "slidelist/SlideListEditing.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHelpEvent>
#include <QMimeData>
#include <QToolTip>
#include <QTreeWidget>
#include <QUrl>

#include <algorithm>

namespace vantelo {
namespace {

enum Column { FolderColumn = 0, NameColumn = 1, SizeColumn = 2, SpareColumn = 3 };

// Holds the list's painting and sorting while it changes wholesale, and gives both back after.
class BulkChange
{
public:
    explicit BulkChange(QTreeWidget& list)
        : m_list(list), m_updates(list.updatesEnabled()), m_sorting(list.isSortingEnabled())
    {
        m_list.setUpdatesEnabled(false);
        m_list.setSortingEnabled(false);
    }
    ~BulkChange()
    {
        m_list.setSortingEnabled(m_sorting);
        m_list.setUpdatesEnabled(m_updates);
    }
    BulkChange(const BulkChange&) = delete;
    BulkChange& operator=(const BulkChange&) = delete;

private:
    QTreeWidget& m_list;
    bool m_updates;
    bool m_sorting;
};

QList<QTreeWidgetItem*> newSlideItems(const SlideRows& rows)
{
    QList<QTreeWidgetItem*> items;
    items.reserve(rows.size());
    for (const SlideRow& row : rows)
        items.append(newSlideItem(row));
    return items;
}

} // namespace

QTreeWidgetItem* newSlideItem(const SlideRow& row)
{
    // Filled before it joins a list, so no change is reported per text.
    auto* item = new QTreeWidgetItem(QStringList{row.folder, row.fileName, row.sizeText, row.spare});
    // A row is dragged, and rows are dropped between rows, never into one.
    item->setFlags((item->flags() | Qt::ItemIsDragEnabled) & ~Qt::ItemIsDropEnabled);
    return item;
}

SlideRow slideRowOf(const QTreeWidgetItem& item)
{
    return {item.text(FolderColumn), item.text(NameColumn), item.text(SizeColumn), item.text(SpareColumn)};
}

SlideRows slideRowsOf(const QTreeWidget& list)
{
    SlideRows rows;
    const int count = list.topLevelItemCount();
    rows.reserve(count);
    for (int position = 0; position < count; ++position)
        rows.append(slideRowOf(*list.topLevelItem(position)));
    return rows;
}

void insertSlideRows(QTreeWidget& list, int position, const SlideRows& rows)
{
    if (rows.isEmpty())
        return;
    list.insertTopLevelItems(std::clamp(position, 0, list.topLevelItemCount()), newSlideItems(rows));
}

void replaceSlideRows(QTreeWidget& list, const SlideRows& rows)
{
    QList<QTreeWidgetItem*> items = newSlideItems(rows);
    const BulkChange change(list);
    list.clear();
    list.addTopLevelItems(items);
}

QTreeWidgetItem* selectedSlideItem(const QTreeWidget& list)
{
    QTreeWidgetItem* current = list.currentItem();
    if (current && current->isSelected() && !current->parent())
        return current;
    const int count = list.topLevelItemCount();
    for (int position = 0; position < count; ++position) {
        QTreeWidgetItem* item = list.topLevelItem(position);
        if (item->isSelected())
            return item;
    }
    return nullptr;
}

void removeSelectedSlideRows(QTreeWidget& list)
{
    const int count = list.topLevelItemCount();
    QList<bool> selected(count);
    for (int position = 0; position < count; ++position)
        selected[position] = list.topLevelItem(position)->isSelected();
    const QList<RowRun> runs = selectedRunsLastFirst(selected);
    if (runs.isEmpty())
        return;
    const BulkChange change(list);
    for (const RowRun& run : runs)
        list.model()->removeRows(run.first, run.count);
}

SlideListBox::SlideListBox(QWidget* parent) : QTreeWidget(parent)
{
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
}

QStringList SlideListBox::mimeTypes() const
{
    // Files come as a list of addresses, from a file manager as from the picture browser.
    return QTreeWidget::mimeTypes() << QStringLiteral("text/uri-list");
}

void SlideListBox::dragEnterEvent(QDragEnterEvent* event)
{
    QTreeWidget::dragEnterEvent(event);
    if (event->isAccepted())
        event->setDropAction(event->source() == this ? Qt::MoveAction : Qt::CopyAction);
}

void SlideListBox::dragMoveEvent(QDragMoveEvent* event)
{
    QTreeWidget::dragMoveEvent(event);
    if (event->isAccepted())
        event->setDropAction(event->source() == this ? Qt::MoveAction : Qt::CopyAction);
}

void SlideListBox::dropEvent(QDropEvent* event)
{
    const int position = dropPosition(event->position().toPoint());
    if (event->source() == this) {
        moveSelectedRows(position);
        // Accepted as a copy: the view would otherwise remove the dragged rows once more.
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else if (event->mimeData()->hasUrls()) {
        QStringList paths;
        for (const QUrl& url : event->mimeData()->urls()) {
            if (url.isLocalFile())
                paths.append(url.toLocalFile());
        }
        event->setDropAction(Qt::CopyAction);
        event->accept();
        if (!paths.isEmpty())
            emit filesDropped(paths, position);
    } else {
        event->ignore();
    }
    stopAutoScroll();
    setState(NoState);
    viewport()->update();
}

bool SlideListBox::viewportEvent(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QTreeWidget::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    if (const QTreeWidgetItem* item = itemAt(help->pos())) {
        const SlideRow row = slideRowOf(*item);
        QToolTip::showText(help->globalPos(),
                           row.sizeText.isEmpty() ? row.fullPath() : row.fullPath() + u'\n' + row.sizeText, viewport(),
                           visualItemRect(item));
    } else {
        QToolTip::hideText();
    }
    return true;
}

int SlideListBox::dropPosition(QPoint point) const
{
    const QModelIndex index = indexAt(point);
    if (!index.isValid())
        return topLevelItemCount();
    const QRect row = visualRect(index);
    return index.row() + (point.y() >= row.center().y() ? 1 : 0);
}

void SlideListBox::moveSelectedRows(int position)
{
    QList<QTreeWidgetItem*> moving;
    int before = position;
    for (int row = 0; row < topLevelItemCount(); ++row) {
        if (topLevelItem(row)->isSelected()) {
            moving.append(topLevelItem(row));
            if (row < position)
                --before;
        }
    }
    if (moving.isEmpty())
        return;
    const BulkChange change(*this);
    for (QTreeWidgetItem* item : moving)
        takeTopLevelItem(indexOfTopLevelItem(item));
    insertTopLevelItems(before, moving);
    for (QTreeWidgetItem* item : moving)
        item->setSelected(true);
    setCurrentItem(moving.constFirst(), 0, QItemSelectionModel::NoUpdate);
}

} // namespace vantelo
