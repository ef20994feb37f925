#pragma once

#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QWindow>

#include <memory>
#include <optional>

class QWidget;

namespace vantelo {

// XScreenSaver starts its screen savers with the window they are to draw into named in this variable.
inline constexpr char HostWindowVariable[] = "XSCREENSAVER_WINDOW";

// A window id as a host writes it: "0x" followed by hexadecimal digits, or decimal digits, with blanks
// around allowed. Nothing for anything else, for 0 and for ids beyond 32 bits.
std::optional<WId> parseHostWindowId(const QString& text);

// A window that a screen-saver host lends to the show, which then draws into it instead of opening a
// window of its own. The host decides when the show ends: it kills the process.
class ScreenSaverHost : public QObject
{
    Q_OBJECT
public:
    // The window named by XSCREENSAVER_WINDOW. Nothing when the variable is absent or not a window id,
    // when the window system is not X11, or when there is no such window. Needs the QGuiApplication.
    static std::unique_ptr<ScreenSaverHost> fromEnvironment();
    // Nothing when the window system is not X11 or there is no such window.
    static std::unique_ptr<ScreenSaverHost> forWindow(WId window);
    ~ScreenSaverHost() override;

    WId window() const { return m_window; }
    QSize size() const { return m_size; }
    // Where the window lies on the screen, when it was lent.
    QPoint position() const { return m_position; }

    // Makes widget, a window of its own until now, a child of the host window that covers all of it,
    // now and whenever the host resizes it. Call before the widget is shown; the widget has to be
    // destroyed before this host.
    void embed(QWidget& widget);

signals:
    void resized(QSize size);
    // The host destroyed its window: there is nothing left to draw into.
    void gone();

private:
    class EventWatch;
    ScreenSaverHost(WId window, QSize size, QPoint position);
    void hostResized(QSize size);
    void hostDestroyed();

    WId m_window;
    QSize m_size;
    QPoint m_position;
    std::unique_ptr<QWindow> m_hostWindow;
    std::unique_ptr<EventWatch> m_watch;
    QPointer<QWidget> m_embedded;
};

} // namespace vantelo
