#include "config/KeyPressFilter.h"

#include <QKeyEvent>

namespace vantelo {

int typedCharacter(const QKeyEvent& key)
{
    switch (key.key()) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
    case Qt::Key_Delete:
        return -1;
    default:
        break;
    }
    const QString text = key.text();
    if (text.isEmpty() || text.front().category() == QChar::Other_Control)
        return -1;
    return text.front().unicode();
}

KeyPressFilter::KeyPressFilter(QObject* parent, std::function<void(int&)> handler)
    : QObject(parent), m_handler(std::move(handler))
{
}

bool KeyPressFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    int KeyAscii = typedCharacter(*static_cast<QKeyEvent*>(event));
    if (KeyAscii < 0)
        return false;
    m_handler(KeyAscii);
    return KeyAscii == 0;
}

} // namespace vantelo
