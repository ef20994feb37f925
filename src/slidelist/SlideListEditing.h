#pragma once

#include "slidelist/SlideRow.h"

#include <QList>
#include <QString>
#include <QStringList>

// The rules behind editing the slide list, kept apart from the list view that shows it.
namespace vantelo {

// The folder text of a row added from the picture browser: the folder as the browser shows it,
// then the separator. A root folder already ends in the separator, so its rows get two in a row,
// which still names the pictures in it.
QString slideFolderText(const QString& browserFolder);

// The rows, still unmeasured, that files and folders dropped onto the list become, in the order
// dropped: a BMP, JPEG or GIF file (told by its extension, letter case ignored) is one row; a folder
// gives one row per such picture directly inside it, in name order regardless of case (its
// sub-folders are left alone, so a drop never walks a whole disk); anything else is skipped. It asks
// storage which paths are folders, so it belongs on a reading thread.
SlideRows droppedPictureRows(const QStringList& paths);

// Neighbouring row positions: the first (0-based) and how many.
struct RowRun
{
    int first = 0;
    int count = 0;
    friend bool operator==(const RowRun&, const RowRun&) = default;
};

// The selected rows as runs of neighbours, the last run first. Removing the runs in this order
// takes every selected row and leaves the others in their order, exactly as walking the list and
// examining a position again after each removal does, but with one removal per run rather than
// per row, so clearing a long list stays quick.
QList<RowRun> selectedRunsLastFirst(const QList<bool>& selected);

} // namespace vantelo
