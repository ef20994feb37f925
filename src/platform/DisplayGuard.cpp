#include "platform/DisplayGuard.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

namespace vantelo {
namespace {

struct HeldMessage
{
    QtMsgType type;
    QByteArray category;
    QString text;
};

// Only one guard at a time: the message handler is process-wide.
QtMessageHandler previousHandler = nullptr;
QList<HeldMessage>* heldMessages = nullptr;
// Qt starts threads of its own while it reaches the window system (the X connection's reader).
std::mutex heldMessagesMutex;

void guardHandler(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type != QtFatalMsg) {
        const std::lock_guard lock(heldMessagesMutex);
        if (heldMessages)
            heldMessages->append({type, QByteArray(context.category), text});
        else // the guard went while this message was on its way
            std::fprintf(stderr, "%s\n", qPrintable(text));
        return;
    }
    std::fputs(unreachableDisplayLine(), stderr);
    std::fflush(stderr);
    // Not exit(): that would run destructors of objects Qt is half-way through building.
    std::_Exit(1);
}

} // namespace

DisplayGuard::DisplayGuard()
{
    heldMessages = new QList<HeldMessage>;
    previousHandler = qInstallMessageHandler(guardHandler);
}

DisplayGuard::~DisplayGuard()
{
    qInstallMessageHandler(previousHandler);
    const std::lock_guard lock(heldMessagesMutex);
    for (const HeldMessage& message : *heldMessages) {
        const QMessageLogContext context(nullptr, 0, nullptr, message.category.constData());
        if (previousHandler)
            previousHandler(message.type, context, message.text);
        else
            std::fprintf(stderr, "%s\n", qPrintable(message.text));
    }
    delete heldMessages;
    heldMessages = nullptr;
}

const char* unreachableDisplayLine()
{
    static std::string line;
    const QByteArray x11 = qgetenv("DISPLAY");
    const QByteArray wayland = qgetenv("WAYLAND_DISPLAY");
    if (!x11.isEmpty())
        line = "vantelo.scr: cannot open display \"" + x11.toStdString() + "\"\n";
    else if (!wayland.isEmpty())
        line = "vantelo.scr: cannot open display \"" + wayland.toStdString() + "\"\n";
    else
        line = "vantelo.scr: cannot open a display: neither DISPLAY nor WAYLAND_DISPLAY is set\n";
    return line.c_str();
}

} // namespace vantelo
