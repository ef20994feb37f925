// Times a click on a large JPEG in the configuration window's file list (measure from the header,
// decode straight to the preview's size) against a full decode plus smooth scaling of the same file,
// and prints djpeg's 1/8-scale decode of it as the floor no JPEG preview can beat.
// Usage: bench_preview [picture.jpg]   (without a picture, a 6000 x 4000 baseline JPEG is made)
#include "BenchSupport.h"
#include "config/BrowserLists.h"
#include "config/StatusBar.h"
#include "config/Vantelo.h"
#include "platform/QtPlatform.h"
#include "show/ImageBox.h"

#include <QComboBox>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace vantelo;
using vantelo::bench::ConsolePrompter;
using vantelo::bench::medianOf;

namespace {

constexpr int Runs = 10;

// Milliseconds of each of Runs runs, after one run that warms the file cache and the code.
std::vector<double> timeRuns(const std::function<bool()>& work)
{
    std::vector<double> times;
    if (!work())
        return times;
    for (int run = 0; run < Runs; ++run) {
        QElapsedTimer clock;
        clock.start();
        if (!work())
            return {};
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    return times;
}

void printTimes(const char* label, const std::vector<double>& times)
{
    std::printf("%-34s median %7.1f ms   runs:", label, medianOf(times));
    for (double t : times)
        std::printf(" %.1f", t);
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv)
{
    // A private settings folder: the window's start-up writes settings.
    QTemporaryDir work;
    if (!work.isValid())
        return 2;
    bench::usePrivateFolders(work);
    QApplication application(argc, argv);

    QString picture = argc > 1 ? QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath() : QString();
    if (picture.isEmpty()) {
        picture = work.filePath(QStringLiteral("photo-6000x4000.jpg"));
        if (!bench::writeGrainyJpeg(picture, 6000, 4000, 20261206, 0, false)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(picture));
            return 1;
        }
    }
    const QFileInfo pictureInfo(picture);
    const QSize pictureSize = QImageReader(picture).size();
    std::printf("picture: %s, %d x %d, %lld bytes\n", qPrintable(pictureInfo.fileName()), pictureSize.width(),
                pictureSize.height(), static_cast<long long>(pictureInfo.size()));

    ConsolePrompter prompter;
    Platform& real = qtPlatform();
    Platform platform{prompter, real.dialogs, real.screen, real.random, real.registry, real.launcher, real.program};
    Vantelo window(platform);
    window.Form_Load();
    auto* dirList = window.findChild<DirListBox*>(QStringLiteral("DirList"));
    auto* fileList = window.findChild<FileListBox*>(QStringLiteral("FileList"));
    auto* preview = window.findChild<ImageBox*>(QStringLiteral("imgPreview"));
    auto* statusBar = window.findChild<StatusBar*>(QStringLiteral("stbVantelo"));
    dirList->setPath(pictureInfo.absolutePath());
    window.findChild<QComboBox*>(QStringLiteral("cboFiletype"))->setCurrentIndex(0);
    bench::waitForReadingThreads();
    const QList<QListWidgetItem*> entry = fileList->findItems(pictureInfo.fileName(), Qt::MatchExactly);
    if (entry.size() != 1) {
        std::fprintf(stderr, "the file list does not show %s\n", qPrintable(pictureInfo.fileName()));
        return 1;
    }
    fileList->setCurrentItem(entry.first());

    const std::vector<double> click = timeRuns([&] {
        emit fileList->click();
        bench::waitForReadingThreads();
        return prompter.failures == 0 && !preview->picture().isNull();
    });
    const QSize shown = preview->geometry().size();
    std::printf("preview: %s, box %d x %d, decoded %d x %d\n", qPrintable(statusBar->panelText(3)), shown.width(),
                shown.height(), preview->picture().width(), preview->picture().height());

    const std::vector<double> full = timeRuns([&] {
        QImageReader reader(picture);
        reader.setAllocationLimit(1024);
        const QImage image = reader.read();
        return !image.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).isNull();
    });

    const QString djpeg = QStandardPaths::findExecutable(QStringLiteral("djpeg"));
    std::vector<double> floor;
    if (!djpeg.isEmpty()) {
        floor = timeRuns([&] {
            QProcess process;
            process.setStandardOutputFile(QProcess::nullDevice());
            process.start(djpeg, {QStringLiteral("-scale"), QStringLiteral("1/8"), picture});
            return process.waitForFinished(60000) && process.exitCode() == 0;
        });
    }

    if (click.empty() || full.empty()) {
        std::fprintf(stderr, "a timed run failed\n");
        return 1;
    }
    printTimes("FileList_Click (ours):", click);
    printTimes("full decode + smooth scale:", full);
    if (!floor.empty()) {
        printTimes("djpeg -scale 1/8 (floor):", floor);
        std::printf("ours over floor: %.2f\n", medianOf(click) / medianOf(floor));
    } else {
        std::printf("djpeg -scale 1/8 (floor): not measured (djpeg not found)\n");
    }
    std::printf("speedup: %.1f\n", medianOf(full) / medianOf(click));
    return 0;
}
