#include "app/Module1.h"

#include "config/Vantelo.h"
#include "platform/DisplayGuard.h"
#include "platform/HostedPlatform.h"
#include "platform/InstanceLock.h"
#include "platform/MemoryUse.h"
#include "platform/QtPlatform.h"
#include "platform/ScreenSaverHost.h"
#include "platform/TerminationSignal.h"
#include "reading/ReadingThreads.h"
#include "reading/Storage.h"
#include "show/FullShow.h"

#include <QApplication>
#include <QPointer>
#include <QScreen>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>

namespace vantelo {

QString argumentText(int argc, char** argv)
{
    QStringList parts;
    for (int i = 1; i < argc; ++i)
        parts << QString::fromLocal8Bit(argv[i]);
    return parts.join(u' ');
}

StartMode startModeFor(const QString& argumentText)
{
    qsizetype first = 0;
    qsizetype last = argumentText.size();
    while (first < last && argumentText[first] == u' ')
        ++first;
    while (last > first && argumentText[last - 1] == u' ')
        --last;
    const QString head = argumentText.mid(first, std::min<qsizetype>(2, last - first)).toLower();
    if (head == QLatin1String("/c"))
        return StartMode::Configuration;
    if (head == QLatin1String("/s"))
        return StartMode::Show;
    return StartMode::Nothing;
}

namespace {

// A screen-saver host runs one copy per window it lends, one per monitor: those copies are outside
// the one-instance rule among themselves, each holding the lock of its own window.
std::optional<WId> lentWindow(StartMode mode)
{
    if (mode != StartMode::Show || !qEnvironmentVariableIsSet(HostWindowVariable))
        return std::nullopt;
    return parseHostWindowId(qEnvironmentVariable(HostWindowVariable));
}

// Qt gives up with a core dump where it reaches no window system; the guard ends with one line instead.
std::unique_ptr<QApplication> startApplication(int& argc, char** argv)
{
    const DisplayGuard guard;
    auto application = std::make_unique<QApplication>(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Personal Vantelo"));
    QApplication::setApplicationVersion(QStringLiteral(PROJECT_VERSION));
    return application;
}

int runConfiguration(Platform& platform)
{
    Vantelo configuration(platform);
    configuration.Form_Load();
    configuration.show();
    return QApplication::exec();
}

// The monitor a host's window lies on, counted left to right (then top to bottom) from 0, so that
// hosted copies on neighbouring monitors start on different rows.
int monitorIndexOf(QPoint position)
{
    QList<QRect> monitors;
    for (const QScreen* screen : QGuiApplication::screens())
        monitors.append(screen->geometry());
    std::sort(monitors.begin(), monitors.end(),
              [](const QRect& a, const QRect& b) { return std::pair(a.x(), a.y()) < std::pair(b.x(), b.y()); });
    for (qsizetype index = 0; index < monitors.size(); ++index) {
        if (monitors[index].contains(position))
            return int(index);
    }
    return 0;
}

// The show in windows of its own, one per monitor. Its list and first picture are read while the
// windows are shown.
FullShow* openOwnShow(Platform& platform)
{
    auto* show = new FullShow(platform); // deletes itself when it unloads
    show->Form_Load();
    show->show();
    return show;
}

// The show drawn into the window a screen-saver host lends it. While the configuration window (or a
// show of its own) runs, it may not show: it keeps the window in the background colour until the host
// ends it, so that no host ever starts it again and again.
FullShow* openHostedShow(Platform& hostedPlatform, ScreenSaverHost& host)
{
    auto* show = new FullShow(hostedPlatform);
    show->setHosted(true);
    show->setStartOffset(monitorIndexOf(host.position()));
    if (InstanceLock::isHeld(InstanceLock::defaultLockPath()))
        show->ShowBackgroundOnly();
    else
        show->Form_Load();
    host.embed(*show);
    show->show();
    return show;
}

int runShow(Platform& platform, bool lent)
{
    // Whoever started the show may end it with SIGTERM (XScreenSaver does, on input), or take its
    // window away: the event loop is left and the program ends as usual. The request may come while a
    // report raised by the load waits for its OK, before the event loop runs; leaving that report's
    // loop alone would not end the program.
    bool endRequested = false;
    const auto end = [&endRequested] {
        endRequested = true;
        QCoreApplication::exit(0);
    };
    TerminationSignal termination;
    QObject::connect(&termination, &TerminationSignal::received, qApp, end);

    // Both outlive the show, which may be drawing into the host's window and reporting through its platform.
    const std::unique_ptr<ScreenSaverHost> host = ScreenSaverHost::fromEnvironment();
    std::optional<HostedPlatform> hostedPlatform;
    // A lent window that is not there leaves the ordinary show, under the one-instance rule.
    InstanceLock ownLock;
    QPointer<FullShow> show;
    if (host) {
        hostedPlatform.emplace(platform, [h = host.get()] { return h->size(); });
        QObject::connect(host.get(), &ScreenSaverHost::gone, qApp, end);
        show = openHostedShow(hostedPlatform->platform(), *host);
    } else {
        if (lent && !ownLock.tryAcquire())
            return 0;
        show = openOwnShow(platform);
    }
    const int status = endRequested ? 0 : QApplication::exec();
    delete show.data();
    return status;
}

// A reading thread caught in storage that never answers keeps the process alive, and with it every
// descriptor it holds: the lock and the windows are let go of here, by hand, and then the program ends
// without waiting for any reading thread, or tearing down what one may still be using.
int leave(int status, InstanceLock& lock)
{
    QList<QPointer<QWidget>> windows;
    for (QWidget* window : QApplication::topLevelWidgets())
        windows.append(window);
    for (const QPointer<QWidget>& window : windows)
        delete window.data();
    QGuiApplication::sync();
    lock.release();
    if (!ReadingThreads::settleForExit()) {
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}

} // namespace

int Main(int argc, char** argv)
{
    keepMemoryCompact();
    const StartMode mode = startModeFor(argumentText(argc, argv));
    if (mode == StartMode::Nothing)
        return 0;
    // Before any thread, window or lock: the helpers that read storage inherit none of them.
    startStorageHelper();
    const std::optional<WId> lent = lentWindow(mode);
    InstanceLock instanceLock(lent ? InstanceLock::hostedLockPath(*lent) : InstanceLock::defaultLockPath());
    if (!instanceLock.tryAcquire())
        return 0;

    const std::unique_ptr<QApplication> application = startApplication(argc, argv);
    const int status =
        mode == StartMode::Configuration ? runConfiguration(qtPlatform()) : runShow(qtPlatform(), lent.has_value());
    return leave(status, instanceLock);
}

} // namespace vantelo
