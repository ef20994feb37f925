#include "config/RowAdding.h"

#include "common/SizeText.h"
#include "config/SlideListView.h"
#include "picture/PictureFile.h"

#include <QTreeWidget>

#include <iterator>

namespace vantelo {

RowAdding::RowAdding(QTreeWidget& list, SlideRows rows, const QPersistentModelIndex& before,
                     std::function<void()> answered)
    : m_list(list), m_rows(std::move(rows)), m_before(before), m_answered(std::move(answered))
{
    measureAhead();
}

RowAdding::Step RowAdding::advance()
{
    Step step;
    SlideRows ready;
    while (!m_measuring.empty() && m_measuring.front().hasAnswer()) {
        SlideRow row = m_rows[m_added + int(ready.size())];
        Reading<QString> measured = std::move(m_measuring.front());
        m_measuring.pop_front();
        try {
            row.sizeText = measured.take();
        } catch (...) {
            step.failure = currentFailure();
        }
        ready.append(std::move(row));
        if (step.failure)
            break;
    }
    insert(ready);
    m_added += int(ready.size());
    if (!ready.isEmpty())
        step.last = ready.constLast();
    if (step.failure)
        m_measuring.clear();
    else
        measureAhead();
    step.added = m_added;
    step.total = int(m_rows.size());
    step.complete = m_added == m_rows.size();
    return step;
}

void RowAdding::measureAhead()
{
    while (std::ssize(m_measuring) < MeasuredAhead && m_asked < m_rows.size()) {
        const QString path = m_rows[m_asked++].fullPath();
        m_measuring.emplace_back(path, [path](ReadingProgress& progress) {
            const QSize size = PictureFile(path, &progress).size();
            return makeSizeText(size.height(), size.width());
        });
        m_measuring.back().onAnswer(m_answered);
    }
}

void RowAdding::insert(const SlideRows& rows)
{
    if (rows.isEmpty())
        return;
    // Rows removed or loaded over meanwhile take their anchors with them: the rest go at the end.
    const int position = m_after.isValid()    ? m_after.row() + 1
                         : m_before.isValid() ? m_before.row()
                                              : m_list.topLevelItemCount();
    insertSlideRows(m_list, position, rows);
    m_after = QPersistentModelIndex(m_list.model()->index(position + int(rows.size()) - 1, 0));
}

} // namespace vantelo
