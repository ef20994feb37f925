#include "config/ListFocus.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QPainter>
#include <QPointer>
#include <QStyleOptionFocusRect>

namespace vantelo {
namespace {

class EmptyListFocus : public QObject
{
public:
    explicit EmptyListFocus(QAbstractItemView& view) : QObject(&view), m_view(view), m_viewport(view.viewport())
    {
        view.installEventFilter(this);
        m_viewport->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // The view loses its focus while it is being destroyed too, when it is a view no more: only the
        // viewport, kept aside, is touched then.
        if (watched == &m_view && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
            if (m_viewport)
                m_viewport->update();
        } else if (watched == m_viewport && event->type() == QEvent::Paint && m_view.hasFocus() &&
                   !m_view.currentIndex().isValid()) {
            paintFocus();
        }
        return false;
    }

private:
    void paintFocus()
    {
        QPainter painter(m_viewport);
        QStyleOptionFocusRect option;
        option.initFrom(&m_view);
        option.rect = m_viewport->rect().adjusted(1, 1, -1, -1);
        option.backgroundColor = m_view.palette().color(QPalette::Base);
        m_view.style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, &m_view);
    }

    QAbstractItemView& m_view;
    QPointer<QWidget> m_viewport;
};

} // namespace

void showFocusWhenEmpty(QAbstractItemView& view)
{
    new EmptyListFocus(view);
}

} // namespace vantelo
