#include "platform/ScreenSaverHost.h"

#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <QWidget>

#include <cstdlib>
#include <limits>

#if defined(VANTELO_HAVE_XCB) && QT_CONFIG(xcb)
#define VANTELO_X11_HOST 1
#include <xcb/xcb.h>
#endif

namespace vantelo {

std::optional<WId> parseHostWindowId(const QString& text)
{
    const QString trimmed = text.trimmed();
    QStringView digits(trimmed);
    int base = 10;
    if (digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        digits = digits.mid(2);
        base = 16;
    }
    // Only plain digits: no sign, no blanks inside, no octal reading of a leading zero.
    if (digits.isEmpty())
        return std::nullopt;
    for (const QChar c : digits) {
        if (!(c.isDigit() || (base == 16 && QStringLiteral("abcdefABCDEF").contains(c))))
            return std::nullopt;
    }
    bool ok = false;
    const qulonglong id = digits.toULongLong(&ok, base);
    if (!ok || id == 0 || id > std::numeric_limits<quint32>::max())
        return std::nullopt;
    return static_cast<WId>(id);
}

#ifdef VANTELO_X11_HOST

// Hears, on Qt's own X connection, what the host does to its window.
class ScreenSaverHost::EventWatch : public QAbstractNativeEventFilter
{
public:
    explicit EventWatch(ScreenSaverHost& host) : m_host(host)
    {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~EventWatch() override
    {
        if (QCoreApplication* application = QCoreApplication::instance())
            application->removeNativeEventFilter(this);
    }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override
    {
        if (eventType != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        const auto window = static_cast<xcb_window_t>(m_host.m_window);
        // Acted on after the event's own handling, so that whoever listens may close or delete windows.
        switch (event->response_type & 0x7f) {
        case XCB_CONFIGURE_NOTIFY: {
            const auto* configure = reinterpret_cast<const xcb_configure_notify_event_t*>(event);
            if (configure->window == window) {
                const QSize size(configure->width, configure->height);
                QMetaObject::invokeMethod(
                    &m_host, [host = &m_host, size] { host->hostResized(size); }, Qt::QueuedConnection);
            }
            break;
        }
        case XCB_DESTROY_NOTIFY: {
            const auto* destroy = reinterpret_cast<const xcb_destroy_notify_event_t*>(event);
            if (destroy->window == window)
                QMetaObject::invokeMethod(
                    &m_host, [host = &m_host] { host->hostDestroyed(); }, Qt::QueuedConnection);
            break;
        }
        default:
            break;
        }
        return false;
    }

private:
    ScreenSaverHost& m_host;
};

std::unique_ptr<ScreenSaverHost> ScreenSaverHost::forWindow(WId window)
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return nullptr;
    const auto id = static_cast<xcb_window_t>(window);

    // Each client keeps its own event mask on a window, so asking for the host's resizes and its end
    // takes nothing from the host. Asked first, so that no resize can slip in after the size is read.
    const std::uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    if (xcb_generic_error_t* error = xcb_request_check(
            connection, xcb_change_window_attributes_checked(connection, id, XCB_CW_EVENT_MASK, &mask))) {
        std::free(error);
        return nullptr;
    }
    xcb_generic_error_t* error = nullptr;
    xcb_get_geometry_reply_t* geometry = xcb_get_geometry_reply(connection, xcb_get_geometry(connection, id), &error);
    std::free(error);
    if (!geometry)
        return nullptr;
    const QSize size(geometry->width, geometry->height);
    const xcb_window_t root = geometry->root;
    std::free(geometry);
    QPoint position;
    if (xcb_translate_coordinates_reply_t* place = xcb_translate_coordinates_reply(
            connection, xcb_translate_coordinates(connection, id, root, 0, 0), nullptr)) {
        position = QPoint(place->dst_x, place->dst_y);
        std::free(place);
    }
    return std::unique_ptr<ScreenSaverHost>(new ScreenSaverHost(window, size, position));
}

#else

class ScreenSaverHost::EventWatch
{
public:
    explicit EventWatch(ScreenSaverHost&) {}
};

std::unique_ptr<ScreenSaverHost> ScreenSaverHost::forWindow(WId)
{
    return nullptr;
}

#endif

std::unique_ptr<ScreenSaverHost> ScreenSaverHost::fromEnvironment()
{
    if (!qEnvironmentVariableIsSet(HostWindowVariable))
        return nullptr;
    const QString text = qEnvironmentVariable(HostWindowVariable);
    const std::optional<WId> window = parseHostWindowId(text);
    std::unique_ptr<ScreenSaverHost> host = window ? forWindow(*window) : nullptr;
    if (!host)
        qWarning("Personal Vantelo: %s is \"%s\", which names no window here; the show opens its own.",
                 HostWindowVariable, qPrintable(text));
    return host;
}

ScreenSaverHost::ScreenSaverHost(WId window, QSize size, QPoint position)
    : m_window(window), m_size(size), m_position(position), m_hostWindow(QWindow::fromWinId(window)),
      m_watch(std::make_unique<EventWatch>(*this))
{
}

ScreenSaverHost::~ScreenSaverHost()
{
    // The embedded widget's window is a child of the host's stand-in; let go of it before the
    // stand-in goes, or it would take the widget's window with it.
    if (m_embedded && m_embedded->windowHandle())
        m_embedded->windowHandle()->setParent(nullptr);
}

void ScreenSaverHost::embed(QWidget& widget)
{
    widget.winId();
    widget.windowHandle()->setParent(m_hostWindow.get());
    widget.setGeometry(QRect(QPoint(0, 0), m_size));
    m_embedded = &widget;
}

void ScreenSaverHost::hostResized(QSize size)
{
    if (size == m_size)
        return;
    m_size = size;
    if (m_embedded)
        m_embedded->setGeometry(QRect(QPoint(0, 0), size));
    emit resized(size);
}

void ScreenSaverHost::hostDestroyed()
{
    emit gone();
}

} // namespace vantelo
