#pragma once

#include "slidelist/SlideRow.h"

class QTreeWidget;
class QTreeWidgetItem;

// The slide list as a list view holds it: one top-level item per row, the folder as the item's
// text (the hidden first column), then the file name, the size text and the spare text in
// columns 1 to 3. Both windows keep their rows this way.
namespace vantelo {

QTreeWidgetItem* newSlideItem(const SlideRow& row);
SlideRow slideRowOf(const QTreeWidgetItem& item);
SlideRows slideRowsOf(const QTreeWidget& list);

// Appends rows after the last one, in one insertion.
void appendSlideRows(QTreeWidget& list, const SlideRows& rows);

// Puts rows in place of every row the list holds, in one batch with sorting off and painting
// held until the list is whole.
void replaceSlideRows(QTreeWidget& list, const SlideRows& rows);

// The row the list reports as its selected one: the current row when it is selected, else the
// first selected row; none when no row is selected.
QTreeWidgetItem* selectedSlideItem(const QTreeWidget& list);

// Removes every selected row; the others keep their order.
void removeSelectedSlideRows(QTreeWidget& list);

} // namespace vantelo
