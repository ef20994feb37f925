#include "config/SlideListView.h"

#include "slidelist/SlideListEditing.h"

#include <QTreeWidget>

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
    return new QTreeWidgetItem(QStringList{row.folder, row.fileName, row.sizeText, row.spare});
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

void appendSlideRows(QTreeWidget& list, const SlideRows& rows)
{
    if (rows.isEmpty())
        return;
    list.addTopLevelItems(newSlideItems(rows));
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

} // namespace vantelo
