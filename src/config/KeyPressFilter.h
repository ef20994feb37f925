#pragma once

#include <QObject>

#include <functional>

class QKeyEvent;

namespace vantelo {

// The character a key press types into a text box, or -1 for a key that types nothing: moving the
// cursor, deleting forwards, moving the focus and the window's cancel key edit or act, they do not
// type. Backspace and Enter type their control characters, as they always have on this platform;
// other control characters come from command keys (copy, paste) and are no typing either.
int typedCharacter(const QKeyEvent& key);

// Hands each character typed into a text box to the box's key-press handler first; the box never
// sees a character the handler swallowed (set to 0).
class KeyPressFilter : public QObject
{
public:
    KeyPressFilter(QObject* parent, std::function<void(int&)> handler);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(int&)> m_handler;
};

} // namespace vantelo
