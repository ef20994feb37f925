#pragma once

#include "common/AppError.h"
#include "reading/ReadingThreads.h"
#include "slidelist/SlideRow.h"

#include <QPersistentModelIndex>

#include <deque>
#include <functional>
#include <optional>

class QTreeWidget;

// The rows of one add: each picture is measured from its header on the reading threads, a few ahead of
// the row the list waits for, and the rows go into the list in their own order as they are measured,
// in front of the row they were dropped before (or at the end). A row whose picture cannot be measured
// goes in without a size and ends the add. Rows still being measured are not in the list, so an add
// given up (destroyed) leaves no row half added.
namespace vantelo {

inline constexpr int MeasuredAhead = 4;

class RowAdding
{
public:
    // before: the row the new ones go in front of; an invalid one for the list's end. answered is told,
    // on the user-interface thread, whenever a picture has been measured.
    RowAdding(QTreeWidget& list, SlideRows rows, const QPersistentModelIndex& before, std::function<void()> answered);

    struct Step
    {
        int added = 0;
        int total = 0;
        std::optional<SlideRow> last;    // the row put in last
        std::optional<AppError> failure; // why the last row has no size; nothing more comes
        bool complete = false;
    };
    // Puts into the list every row measured since, in order, up to the first still being measured.
    Step advance();

private:
    void measureAhead();
    void insert(const SlideRows& rows);

    QTreeWidget& m_list;
    SlideRows m_rows;
    int m_asked = 0;
    int m_added = 0;
    std::deque<Reading<QString>> m_measuring; // rows m_added.. onwards
    QPersistentModelIndex m_before;
    QPersistentModelIndex m_after; // the row put in last
    std::function<void()> m_answered;
};

} // namespace vantelo
