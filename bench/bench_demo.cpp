// The small demonstration over 50-megapixel photos at a one-second delay: how long the window's
// thread is held at each slide change, against what decoding each slide at the preview's size on
// that thread would hold it (the tick without the background preparation).
// Usage: bench_demo [ticks]   (baseline and progressive 8660 x 5774 JPEGs are made in a temporary folder)
#include "BenchSupport.h"
#include "config/PreviewFitting.h"
#include "config/Vantelo.h"
#include "config/WindowTimer.h"
#include "picture/PictureFile.h"
#include "platform/QtPlatform.h"
#include "settings/Settings.h"
#include "show/ImageBox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QImageWriter>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace vantelo;
using vantelo::bench::ConsolePrompter;
using vantelo::bench::medianOf;

namespace {

constexpr int PhotoWidth = 8660;
constexpr int PhotoHeight = 5774;
constexpr int PhotosPerSet = 3;

void printTimes(const char* label, const std::vector<double>& times)
{
    const double worst = times.empty() ? 0.0 : *std::max_element(times.begin(), times.end());
    std::printf("  %-44s median %6.1f ms  max %6.1f ms  (%zu)\n", label, medianOf(times), worst, times.size());
}

// Milliseconds of a decode at the preview's size of each photo, on this thread, three rounds.
std::vector<double> directDecodes(const QStringList& photos, const QString& sizeText)
{
    std::vector<double> times;
    const QSize size = previewDecodeSize(sizeText);
    decodePicture(photos.first(), size); // warms the file cache and the code
    for (int round = 0; round < 3; ++round) {
        for (const QString& photo : photos) {
            QElapsedTimer clock;
            clock.start();
            if (decodePicture(photo, size).isNull())
                return {};
            times.push_back(double(clock.nsecsElapsed()) / 1e6);
        }
    }
    return times;
}

void waitMilliseconds(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// Runs the demonstration for ticks slide changes at a one-second delay and returns how long the
// window's thread was held at each change the timer brought: from the last beat of a 1 ms heartbeat
// before the change to its end. firstSlide is the click's own slide, for which nothing was prepared.
std::vector<double> demonstrationHolds(Platform& platform, const QStringList& photos, const QString& sizeText,
                                       int ticks, double& firstSlide, int& failures)
{
    SaveSetting(SettingKey::Delay, QStringLiteral("1"));
    Vantelo window(platform);
    window.Form_Load();
    auto* timer = window.findChild<WindowTimer*>(QStringLiteral("Timer1"));
    for (const QString& photo : photos) {
        const QFileInfo file(photo);
        window.findChild<QTreeWidget*>(QStringLiteral("lvwMain"))
            ->addTopLevelItem(new QTreeWidgetItem({file.absolutePath() + u'/', file.fileName(), sizeText, QString()}));
    }
    window.show();
    waitMilliseconds(500); // the window's first paint is no slide change

    QElapsedTimer clock;
    clock.start();
    qint64 lastBeat = 0;
    QTimer heartbeat;
    heartbeat.setTimerType(Qt::PreciseTimer);
    heartbeat.setInterval(1);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] { lastBeat = clock.nsecsElapsed(); });

    std::vector<double> holds;
    QEventLoop loop;
    // Connected after the window's own handler, so this runs when the slide change is done.
    QObject::connect(timer, &WindowTimer::timeout, [&] {
        holds.push_back(double(clock.nsecsElapsed() - lastBeat) / 1e6);
        if (int(holds.size()) >= ticks || !timer->isEnabled())
            loop.quit();
    });
    heartbeat.start();
    waitMilliseconds(50);
    const qint64 clickStart = clock.nsecsElapsed();
    window.findChild<QPushButton*>(QStringLiteral("cmdDemoSM"))->click();
    lastBeat = clock.nsecsElapsed();
    firstSlide = double(lastBeat - clickStart) / 1e6;
    QTimer::singleShot((ticks + 5) * 1000, &loop, &QEventLoop::quit);
    loop.exec();
    failures = !timer->isEnabled() || int(holds.size()) < ticks;
    emit window.findChild<ImageBox*>(QStringLiteral("imgPreview"))->clicked();
    return holds;
}

} // namespace

int main(int argc, char** argv)
{
    // A private settings folder: the window's start-up and this benchmark write settings.
    QTemporaryDir work;
    if (!work.isValid())
        return 2;
    bench::usePrivateFolders(work);
    QApplication application(argc, argv);
    const int ticks = argc > 1 ? std::max(2, QString::fromLocal8Bit(argv[1]).toInt()) : 10;
    const QString sizeText = QString::number(PhotoHeight) + QStringLiteral(" X ") + QString::number(PhotoWidth);
    std::printf("photos: %d x %d (%.1f MP), preview decode %d x %d, delay 1 s, %d slide changes\n", PhotoWidth,
                PhotoHeight, PhotoWidth * PhotoHeight / 1e6, previewDecodeSize(sizeText).width(),
                previewDecodeSize(sizeText).height(), ticks);

    ConsolePrompter prompter;
    Platform& real = qtPlatform();
    Platform platform{prompter, real.dialogs, real.screen, real.random, real.registry, real.launcher, real.program};
    SaveSetting(SettingKey::File, work.filePath(QStringLiteral("list.vtl")));

    for (const bool progressive : {false, true}) {
        QStringList photos;
        for (int k = 0; k < PhotosPerSet; ++k) {
            const QString photo =
                work.filePath(QStringLiteral("%1-%2.jpg").arg(progressive ? "progressive" : "baseline").arg(k));
            if (!bench::writeGrainyJpeg(photo, PhotoWidth, PhotoHeight, quint32(k + 1), (k + 1) * 997, progressive)) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(photo));
                return 1;
            }
            photos << photo;
        }
        std::printf("%s JPEGs, %lld bytes each (first)\n", progressive ? "progressive" : "baseline",
                    static_cast<long long>(QFileInfo(photos.first()).size()));
        const std::vector<double> direct = directDecodes(photos, sizeText);
        int failures = 0;
        double first = 0.0;
        const std::vector<double> holds = demonstrationHolds(platform, photos, sizeText, ticks, first, failures);
        if (direct.empty() || failures || prompter.failures) {
            std::fprintf(stderr, "a run failed\n");
            return 1;
        }
        printTimes("decode at preview size on the window's thread:", direct);
        printTimes("window's thread held per slide change:", holds);
        std::printf("  %-44s %6.1f ms\n", "first slide, at the click (nothing prepared):", first);
    }
    return 0;
}
