// How far apart slides come: the show's slides (its other monitors change with them) and the small
// demonstration's, ten intervals at each delay from the first slide on, with the worst against the delay.
//
//   bench_intervals [delay-seconds...]   (default: 1 5 7)
//
// Both run offscreen over three 4000 x 3000 JPEGs, each decoded ahead while the one before it is on
// screen, as in a real show; the first one is decoded when it is asked for. The last line is "worst: N.NN%" (the
// interval furthest from its delay).

#include "BenchSupport.h"
#include "config/Vantelo.h"
#include "config/WindowTimer.h"
#include "platform/QtPlatform.h"
#include "settings/Settings.h"
#include "show/FullShow.h"
#include "slidelist/SlideListFile.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>

#include <cmath>
#include <cstdio>
#include <vector>

using namespace vantelo;

namespace {

constexpr int Intervals = 10;

// Waits for Intervals + 1 events of what start() sets going and returns the intervals, in seconds.
template <typename Start> std::vector<double> intervalsOf(const Start& start)
{
    std::vector<double> times;
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    start([&] {
        times.push_back(double(clock.nsecsElapsed()) / 1e9);
        if (times.size() > Intervals)
            loop.quit();
    });
    loop.exec();
    std::vector<double> intervals;
    for (size_t i = 1; i < times.size(); ++i)
        intervals.push_back(times[i] - times[i - 1]);
    return intervals;
}

double report(const char* what, int delay, const std::vector<double>& intervals)
{
    double worst = 0;
    std::printf("%-5s delay %d s:", what, delay);
    for (double interval : intervals) {
        std::printf(" %.3f", interval);
        worst = std::max(worst, std::abs(interval - delay) / delay * 100.0);
    }
    std::printf("  (worst %.2f%%)\n", worst);
    std::fflush(stdout);
    return worst;
}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir work;
    bench::usePrivateFolders(work);
    QApplication application(argc, argv);
    std::vector<int> delays;
    for (int i = 1; i < argc; ++i)
        delays.push_back(QByteArray(argv[i]).toInt());
    if (delays.empty())
        delays = {1, 5, 7};

    SlideRows rows;
    for (int i = 0; i < 3; ++i) {
        const QString name = QStringLiteral("photo%1.jpg").arg(i);
        if (!bench::writeGrainyJpeg(work.filePath(name), 4000, 3000, quint32(i + 1), i * 900, false))
            return 1;
        rows.append(SlideRow{work.path() + u'/', name, QStringLiteral("3000 X 4000"), QString()});
    }
    WriteSlideList(rows, work.filePath(QStringLiteral("photos.vtl")));
    SaveSetting(SettingKey::ScreenWidth, QStringLiteral("1920"));
    SaveSetting(SettingKey::ScreenHeight, QStringLiteral("1080"));
    SaveSetting(SettingKey::ShowType, OrderedShowType);
    SaveSetting(SettingKey::File, work.filePath(QStringLiteral("photos.vtl")));

    Platform& qt = qtPlatform();
    bench::ConsolePrompter prompter;
    Platform platform{prompter, qt.dialogs, qt.screen, qt.random, qt.registry, qt.launcher, qt.program};
    double worst = 0;
    for (const int delay : delays) {
        SaveSetting(SettingKey::Delay, QString::number(delay));
        QPointer<FullShow> show = new FullShow(platform);
        worst = std::max(worst, report("show", delay, intervalsOf([&](const auto& seen) {
                                           QObject::connect(show, &FullShow::slideShown, seen);
                                           show->Form_Load();
                                           show->show();
                                       })));
        delete show.data();
        Vantelo window(platform);
        window.Form_Load();
        for (const SlideRow& row : rows)
            window.findChild<QTreeWidget*>(QStringLiteral("lvwMain"))
                ->addTopLevelItem(new QTreeWidgetItem({row.folder, row.fileName, row.sizeText, QString()}));
        window.show();
        worst = std::max(worst, report("demo", delay, intervalsOf([&](const auto& seen) {
                                           // Connected after the window's own handler: seen once the slide is.
                                           QObject::connect(window.findChild<WindowTimer*>(QStringLiteral("Timer1")),
                                                            &WindowTimer::timeout, seen);
                                           window.findChild<QPushButton*>(QStringLiteral("cmdDemoSM"))->click();
                                           seen();
                                       })));
    }
    std::printf("worst: %.2f%%\n", worst);
    return prompter.failures == 0 ? 0 : 1;
}
