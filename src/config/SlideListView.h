#pragma once

#include "slidelist/SlideRow.h"

#include <QStringList>
#include <QTreeWidget>

// The slide list as a list view holds it: one top-level item per row, the folder as the item's
// text (the hidden first column), then the file name, the size text and the spare text in
// columns 1 to 3. Both windows keep their rows this way.
namespace vantelo {

QTreeWidgetItem* newSlideItem(const SlideRow& row);
SlideRow slideRowOf(const QTreeWidgetItem& item);
SlideRows slideRowsOf(const QTreeWidget& list);

// Puts rows in before the row at position (at the end for the row count), in one insertion.
void insertSlideRows(QTreeWidget& list, int position, const SlideRows& rows);

// Puts rows in place of every row the list holds, in one batch with sorting off and painting
// held until the list is whole.
void replaceSlideRows(QTreeWidget& list, const SlideRows& rows);

// The row the list reports as its selected one: the current row when it is selected, else the
// first selected row; none when no row is selected.
QTreeWidgetItem* selectedSlideItem(const QTreeWidget& list);

// Removes every selected row; the others keep their order.
void removeSelectedSlideRows(QTreeWidget& list);

// The slide list's list view: rows are dragged into a new order within it, and files and folders
// dropped on it from a file manager or the picture browser are handed to the window to add. A row's
// tooltip names its picture's whole path and its size: the folder column is never shown, and a long
// name is cut.
class SlideListBox : public QTreeWidget
{
    Q_OBJECT
public:
    explicit SlideListBox(QWidget* parent = nullptr);

signals:
    // Local files and folders dropped before the row at position (the row count: after the last).
    void filesDropped(const QStringList& paths, int position);

protected:
    QStringList mimeTypes() const override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    // The row a drop at point goes before: between rows, never onto one.
    int dropPosition(QPoint point) const;
    void moveSelectedRows(int position);
};

} // namespace vantelo
