// The show's visible tick on camera-sized JPEGs: from the timer's tick to the picture set in the
// picture box, with the next slide prepared in the background (ours) and with the naive path
// (full decode, then smooth scaling, on the tick). Also the decode alone against djpeg.
//
//   bench_show [picture-folder]
//
// The pictures (20 baseline JPEGs of 6000 x 4000) are made on the first run and kept in the folder
// (default: $TMPDIR/vantelo-bench-show). Each show runs in a child process of its own, so that its
// peak RSS is its own. The last line is "speedup: N.N" (naive visible tick over ours, medians).

#include "BenchSupport.h"
#include "common/AppError.h"
#include "picture/PictureFile.h"
#include "platform/QtPlatform.h"
#include "settings/Settings.h"
#include "show/FullShow.h"
#include "slidelist/SlideListFile.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImageWriter>
#include <QPointer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace vantelo;
using vantelo::bench::medianOf;

namespace {

constexpr int PictureCount = 20;
constexpr int PictureWidth = 6000;
constexpr int PictureHeight = 4000;
constexpr int WorkWidth = 1920;
constexpr int WorkHeight = 1080;
constexpr int MeasuredTicks = 15;

QString picturePath(const QString& folder, int index)
{
    return QDir(folder).filePath(QStringLiteral("photo%1.jpg").arg(index + 1, 2, 10, QLatin1Char('0')));
}

// Photo-like content: smooth gradients that differ per picture, with a little grain, so the
// entropy decoder has about the work a camera picture gives it.
QImage makePhoto(int index)
{
    QImage image(PictureWidth, PictureHeight, QImage::Format_RGB32);
    quint32 seed = 2654435761u * static_cast<quint32>(index + 1);
    for (int y = 0; y < PictureHeight; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < PictureWidth; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int grain = static_cast<int>((seed >> 24) & 0x1F) - 16;
            const int r = (x * 255 / PictureWidth + index * 37) % 256;
            const int g = (y * 255 / PictureHeight + index * 71) % 256;
            const int b = ((x + y) * 255 / (PictureWidth + PictureHeight) + index * 113) % 256;
            line[x] = qRgb(std::clamp(r + grain, 0, 255), std::clamp(g + grain, 0, 255), std::clamp(b + grain, 0, 255));
        }
    }
    return image;
}

bool ensurePictures(const QString& folder)
{
    QDir().mkpath(folder);
    for (int i = 0; i < PictureCount; ++i) {
        const QString path = picturePath(folder, i);
        if (QFile::exists(path))
            continue;
        std::printf("making %s\n", qPrintable(path));
        std::fflush(stdout);
        QImageWriter writer(path, "jpeg");
        writer.setQuality(90);
        writer.setProgressiveScanWrite(false);
        writer.setOptimizedWrite(false);
        if (!writer.write(makePhoto(i))) {
            std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(path), qPrintable(writer.errorString()));
            return false;
        }
    }
    return true;
}

qint64 peakRssKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Reports go to stderr: nothing may wait for a click here.
class QuietPrompter : public Prompter
{
public:
    void showMessage(QWidget*, MessageIcon, const QString&, const QString& text) override
    {
        ++reports;
        std::fprintf(stderr, "report: %s\n", qPrintable(text));
    }
    void beep() override {}
    int reports = 0;
};

// Times each tick of the show's timer, from the timer event to the picture shown.
class TickClock : public QObject
{
public:
    explicit TickClock(FullShow& show)
    {
        QTimer* timer = show.findChild<QTimer*>(QStringLiteral("Timer1"));
        timer->installEventFilter(this);
        QObject::connect(&show, &FullShow::slideShown, this, [this] {
            if (m_clock.isValid()) {
                ticks.push_back(static_cast<double>(m_clock.nsecsElapsed()) / 1e6);
                m_clock.invalidate();
            }
        });
    }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Timer)
            m_clock.start();
        return false;
    }
    std::vector<double> ticks;

private:
    QElapsedTimer m_clock;
};

// One show in this process: ours, or the naive path. Prints its tick times and peak RSS.
int runShow(int argc, char** argv, bool naive, const QString& folder)
{
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
    QApplication application(argc, argv);

    SlideRows rows;
    for (int i = 0; i < PictureCount; ++i)
        rows.append(SlideRow{folder + u'/', QFileInfo(picturePath(folder, i)).fileName(),
                             QStringLiteral("%1 X %2").arg(PictureHeight).arg(PictureWidth), QString()});
    const QString listPath = home.filePath(QStringLiteral("bench.vtl"));
    WriteSlideList(rows, listPath);
    SaveSetting(SettingKey::ScreenWidth, QString::number(WorkWidth));
    SaveSetting(SettingKey::ScreenHeight, QString::number(WorkHeight));
    SaveSetting(SettingKey::Delay, QStringLiteral("1"));
    SaveSetting(SettingKey::ShowType, QStringLiteral("Ordered"));
    SaveSetting(SettingKey::File, listPath);

    Platform& qt = qtPlatform();
    QuietPrompter prompter;
    Platform platform{prompter, qt.dialogs, qt.screen, qt.random, qt.registry, qt.launcher, qt.program};
    if (naive) {
        // What a tick costs without decoding ahead: a full decode and a smooth scale, on the tick.
        std::vector<double> ticks;
        const QSize shown(qRound(PictureWidth * double(WorkHeight) / PictureHeight), WorkHeight);
        for (int i = 0; i < MeasuredTicks; ++i) {
            QElapsedTimer tick;
            tick.start();
            const QImage picture = decodePicture(picturePath(folder, i % PictureCount))
                                       .scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            if (picture.isNull())
                return 1;
            ticks.push_back(static_cast<double>(tick.nsecsElapsed()) / 1e6);
        }
        std::printf("ticks_ms:");
        for (double tick : ticks)
            std::printf(" %.3f", tick);
        std::printf("\npeak_rss_kb: %lld\nreports: 0\n", static_cast<long long>(peakRssKb()));
        return 0;
    }
    // Quitting closes every window, and the show deletes itself when it closes.
    QPointer<FullShow> show = new FullShow(platform);
    TickClock clock(*show);
    QObject::connect(show, &FullShow::slideShown, &application, [&] {
        if (clock.ticks.size() >= static_cast<size_t>(MeasuredTicks))
            QCoreApplication::quit();
    });
    show->Form_Load();
    show->show();
    QTimer::singleShot(5 * 60 * 1000, &application, &QCoreApplication::quit); // never hang
    QApplication::exec();
    delete show.data();

    std::printf("ticks_ms:");
    for (double tick : clock.ticks)
        std::printf(" %.3f", tick);
    std::printf("\npeak_rss_kb: %lld\nreports: %d\n", static_cast<long long>(peakRssKb()), prompter.reports);
    return prompter.reports == 0 && !clock.ticks.empty() ? 0 : 1;
}

struct ShowFigures
{
    double tickMs = 0;
    size_t ticks = 0;
    double peakMb = 0;
    bool ok = false;
};

ShowFigures runChild(const QString& mode, const QString& folder)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child"), mode, folder});
    child.waitForFinished(10 * 60 * 1000);
    ShowFigures figures;
    std::vector<double> ticks;
    for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
        if (line.startsWith("ticks_ms:")) {
            for (const QByteArray& value : line.mid(9).trimmed().split(' '))
                if (!value.isEmpty())
                    ticks.push_back(value.toDouble());
        } else if (line.startsWith("peak_rss_kb:")) {
            figures.peakMb = line.mid(12).trimmed().toDouble() / 1024.0;
        }
    }
    figures.ok = child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0;
    figures.ticks = ticks.size();
    figures.tickMs = medianOf(ticks);
    return figures;
}

// Wall time of djpeg decoding the file at the scale, output thrown away (includes its start-up).
double djpegMs(const QString& scale, const QString& path)
{
    QProcess djpeg;
    QElapsedTimer clock;
    clock.start();
    djpeg.start(QStringLiteral("djpeg"),
                {QStringLiteral("-scale"), scale, QStringLiteral("-outfile"), QStringLiteral("/dev/null"), path});
    if (!djpeg.waitForFinished(60000) || djpeg.exitCode() != 0)
        return -1;
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 4 && QByteArray(argv[1]) == "--child")
        return runShow(argc, argv, QByteArray(argv[2]) == "naive", QString::fromLocal8Bit(argv[3]));

    QGuiApplication application(argc, argv);
    const QString folder =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::temp().filePath(QStringLiteral("vantelo-bench-show"));
    if (!ensurePictures(folder))
        return 1;

    const double scale = static_cast<double>(WorkHeight) / PictureHeight;
    const QSize shown(qRound(PictureWidth * scale), WorkHeight);
    std::printf("bench_show: %d baseline JPEGs of %d x %d in %s; work area %d x %d; list order, delay 1 s\n",
                PictureCount, PictureWidth, PictureHeight, qPrintable(folder), WorkWidth, WorkHeight);

    std::vector<double> ours, threeEighths, oneEighth;
    for (int i = 0; i < PictureCount; ++i) {
        const QString path = picturePath(folder, i);
        QElapsedTimer clock;
        clock.start();
        try {
            const QImage image = decodePicture(path, shown);
            if (image.size() != shown)
                return 1;
        } catch (const AppError& error) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(errorReportText(error)));
            return 1;
        }
        ours.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        threeEighths.push_back(djpegMs(QStringLiteral("3/8"), path));
        oneEighth.push_back(djpegMs(QStringLiteral("1/8"), path));
    }
    const double oursMs = medianOf(ours);
    const double djpegMs38 = medianOf(threeEighths);
    std::printf("decode to %d x %d (decodePicture, scaled read): median %.1f ms\n", shown.width(), shown.height(),
                oursMs);
    std::printf("djpeg -scale 3/8 (%d x %d, process included): median %.1f ms; ours / djpeg = %.2f\n",
                PictureWidth * 3 / 8, PictureHeight * 3 / 8, djpegMs38, oursMs / djpegMs38);
    std::printf("djpeg -scale 1/8 (the floor): median %.1f ms\n", medianOf(oneEighth));
    std::fflush(stdout);

    const ShowFigures prepared = runChild(QStringLiteral("ours"), folder);
    std::printf(
        "visible tick, next slide prepared in the background: median %.3f ms over %zu ticks; peak RSS %.1f MB%s\n",
        prepared.tickMs, prepared.ticks, prepared.peakMb, prepared.ok ? "" : " (FAILED)");
    std::fflush(stdout);
    const ShowFigures naive = runChild(QStringLiteral("naive"), folder);
    std::printf("visible tick, naive (full decode + smooth scaling on the tick): median %.3f ms over %zu ticks; "
                "peak RSS %.1f MB%s\n",
                naive.tickMs, naive.ticks, naive.peakMb, naive.ok ? "" : " (FAILED)");
    if (!prepared.ok || !naive.ok || prepared.tickMs <= 0)
        return 1;
    std::printf("speedup: %.1f\n", naive.tickMs / prepared.tickMs);
    return 0;
}
