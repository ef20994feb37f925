#include "app/Module1.h"

#include "config/Vantelo.h"
#include "platform/DisplayGuard.h"
#include "platform/HostedPlatform.h"
#include "platform/InstanceLock.h"
#include "platform/MemoryUse.h"
#include "platform/QtPlatform.h"
#include "platform/ScreenSaverHost.h"
#include "platform/TerminationSignal.h"
#include "show/FirstSlide.h"
#include "show/FullShow.h"

#include <QApplication>
#include <QPointer>
#include <QScreen>
#include <QStringList>

#include <algorithm>
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

} // namespace

int Main(int argc, char** argv)
{
    keepMemoryCompact();
    const StartMode mode = startModeFor(argumentText(argc, argv));
    // A screen-saver host runs one copy per window it lends, one per monitor: those copies are
    // outside the one-instance rule among themselves, one per host window.
    std::optional<WId> hostWindow;
    if (mode == StartMode::Show && qEnvironmentVariableIsSet(HostWindowVariable))
        hostWindow = parseHostWindowId(qEnvironmentVariable(HostWindowVariable));
    InstanceLock instanceLock(hostWindow ? InstanceLock::hostedLockPath(*hostWindow) : InstanceLock::defaultLockPath());
    if (!instanceLock.tryAcquire() || mode == StartMode::Nothing)
        return 0;

    Platform& platform = qtPlatform();

    // The show's first picture is decoded while the application starts and the show's windows are
    // made and loaded: on two cores, side by side. The screen's density is not known yet; most
    // screens have one pixel per pixel, and a wrong guess is decoded again once it is known. A
    // host's window is only known once the show embeds it, so a hosted show decodes when it loads.
    std::optional<HeadStart> headStart;
    if (mode == StartMode::Show && !hostWindow)
        headStart = startFirstSlide(platform.random);

    std::optional<DisplayGuard> displayGuard(std::in_place, [&instanceLock] { instanceLock.release(); });
    QApplication application(argc, argv);
    displayGuard.reset();
    QApplication::setApplicationName(QStringLiteral("Personal Vantelo"));
    QApplication::setApplicationVersion(QStringLiteral(PROJECT_VERSION));

    // The head start's density guess is checked now that the screen is known. Declared before the
    // show: a superseded decode still running is waited for only once the show is gone.
    std::unique_ptr<SlidePreparer> supersededDecode;
    if (headStart) {
        const QScreen* primary = QGuiApplication::primaryScreen();
        supersededDecode = settleDensity(*headStart, primary ? primary->devicePixelRatio() : 1.0);
    }

    // A request to end may come while a report raised by a window's load waits for its OK, before the
    // event loop runs: leaving that report's loop alone would not end the program.
    bool ending = false;
    const auto endProgram = [&ending] {
        ending = true;
        QCoreApplication::exit(0);
    };

    // Both outlive the show, which may be drawing into the host's window and reporting through its platform.
    std::unique_ptr<ScreenSaverHost> host;
    std::unique_ptr<HostedPlatform> hostedPlatform;
    std::unique_ptr<TerminationSignal> termination;
    std::unique_ptr<Vantelo> configuration;
    std::optional<InstanceLock> unhostedLock;
    QPointer<FullShow> show;
    if (mode == StartMode::Configuration) {
        configuration = std::make_unique<Vantelo>(platform);
        configuration->Form_Load();
        configuration->show();
    } else {
        // Whoever started the show may end it with SIGTERM (XScreenSaver does, on input): leave the
        // event loop and end as usual, so the instance lock goes with it.
        termination = std::make_unique<TerminationSignal>();
        QObject::connect(termination.get(), &TerminationSignal::received, &application, endProgram);
        // Under XScreenSaver the show draws into the window it lends; a variable that names no
        // window leaves the ordinary full-screen show, under the one-instance rule.
        host = ScreenSaverHost::fromEnvironment();
        if (hostWindow && !host) {
            unhostedLock.emplace(InstanceLock::defaultLockPath());
            if (!unhostedLock->tryAcquire())
                return 0;
        }
        if (host) {
            hostedPlatform = std::make_unique<HostedPlatform>(platform, [h = host.get()] { return h->size(); });
            QObject::connect(host.get(), &ScreenSaverHost::gone, &application, endProgram);
        }
        show = new FullShow(host ? hostedPlatform->platform() : platform); // deletes itself when it unloads
        show->setHosted(host != nullptr);
        if (headStart)
            show->setHeadStart(std::move(*headStart));
        if (host)
            show->setStartOffset(monitorIndexOf(host->position()));
        // While the configuration window (or a show of its own) runs, a hosted copy may not show:
        // it keeps its window in the background colour until the host ends it, so that no host ever
        // starts it again and again.
        if (host && InstanceLock::isHeld(InstanceLock::defaultLockPath()))
            show->ShowBackgroundOnly();
        else
            show->Form_Load();
        if (host)
            host->embed(*show);
        show->show();
    }
    const int status = ending ? 0 : QApplication::exec();
    delete show.data();
    return status;
}

} // namespace vantelo
