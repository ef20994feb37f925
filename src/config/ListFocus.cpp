#include "config/ListFocus.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

namespace vantelo {
namespace {

class EmptyListFocus : public QObject
{
public:
    explicit EmptyListFocus(QAbstractItemView& view) : QObject(&view), m_view(view)
    {
        view.installEventFilter(this);
        view.viewport()->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &m_view && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut))
            m_view.viewport()->update();
        else if (watched == m_view.viewport() && event->type() == QEvent::Paint && m_view.hasFocus() &&
                 !m_view.currentIndex().isValid())
            paintFocus();
        return false;
    }

private:
    void paintFocus()
    {
        QPainter painter(m_view.viewport());
        QStyleOptionFocusRect option;
        option.initFrom(&m_view);
        option.rect = m_view.viewport()->rect().adjusted(1, 1, -1, -1);
        option.backgroundColor = m_view.palette().color(QPalette::Base);
        m_view.style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, &m_view);
    }

    QAbstractItemView& m_view;
};

} // namespace

void showFocusWhenEmpty(QAbstractItemView& view)
{
    new EmptyListFocus(view);
}

} // namespace vantelo
