// Times the two bulk operations of the slide list against the slow way of doing the same work:
//   - "===>" with 1000 distinct 4000 x 3000 JPEGs selected (headers read on the reading threads, each
//     row put in as it is measured),
//     against decoding every picture whole to measure it (50 decodes, extrapolated to 1000);
//   - dropping the same 1000 pictures onto the list, as files and as their folder (in name order);
//   - "Load List" of a 32767-row list (read whole, then one batch into the list view with sorting off
//     and painting held), against reading it and inserting the rows one by one with sorting on.
// Each time includes the wait for the reading threads and the event processing that lays out and paints
// the list afterwards.
// Usage: bench_list [folder for the pictures]   (default: a temporary folder, removed afterwards)
#include "BenchSupport.h"
#include "config/BrowserLists.h"
#include "config/SlideListView.h"
#include "config/Vantelo.h"
#include "platform/QtPlatform.h"
#include "slidelist/SlideListFile.h"

#include <QApplication>
#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QLinearGradient>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QUrl>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace vantelo;
using vantelo::bench::ConsolePrompter;
using vantelo::bench::medianOf;
using vantelo::bench::waitForReadingThreads;

namespace {

constexpr int Pictures = 1000;
constexpr int SlowSample = 50;
constexpr int BaseImages = 8;
constexpr int Rows = 32767;

// Answers every open dialog with one file.
class FixedDialogs : public Dialogs
{
public:
    QString openFileName(QWidget*, const QString&, const QString&) override { return file; }
    QString saveFileName(QWidget*, const QString&, const QString&) override { return {}; }
    std::optional<QColor> chooseColor(QWidget*, const QColor&) override { return std::nullopt; }
    QString file;
};

// Milliseconds of each timed run; prepare runs untimed before each, and one run first warms up.
std::vector<double> timeRuns(int runs, const std::function<void()>& prepare, const std::function<bool()>& work)
{
    std::vector<double> times;
    for (int run = 0; run <= runs; ++run) {
        prepare();
        QElapsedTimer clock;
        clock.start();
        if (!work())
            return {};
        if (run > 0)
            times.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    return times;
}

void printTimes(const char* label, const std::vector<double>& times)
{
    std::printf("%-58s median %8.1f ms   runs:", label, medianOf(times));
    for (double t : times)
        std::printf(" %.1f", t);
    std::printf("\n");
}

// A camera-sized picture, smooth enough to stay small on disk: 1000 of them must fit in /tmp.
QByteArray baseJpeg(int variant)
{
    QImage image(4000, 3000, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 4000, 3000);
    sky.setColorAt(0, QColor::fromHsv(variant * 360 / BaseImages, 160, 230));
    sky.setColorAt(1, QColor::fromHsv((variant * 360 / BaseImages + 120) % 360, 200, 90));
    painter.fillRect(image.rect(), sky);
    painter.setBrush(QColor::fromHsv((variant * 47) % 360, 220, 200));
    for (int i = 0; i < 12; ++i)
        painter.drawEllipse(QPoint(300 + i * 310, 800 + (i * variant * 97) % 1800), 180 + i * 10, 140);
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(85);
    return writer.write(image) ? bytes : QByteArray();
}

// Every file differs from the others: a comment segment naming it follows the start marker.
bool writePictures(const QString& folder, QStringList& names)
{
    std::vector<QByteArray> bases;
    for (int variant = 0; variant < BaseImages; ++variant) {
        bases.push_back(baseJpeg(variant));
        if (bases.back().isEmpty())
            return false;
    }
    for (int n = 0; n < Pictures; ++n) {
        const QByteArray note = "bench picture " + QByteArray::number(n);
        const int length = int(note.size()) + 2;
        const QByteArray& base = bases[size_t(n % BaseImages)];
        QByteArray bytes = base.left(2);
        bytes += char(0xFF);
        bytes += char(0xFE);
        bytes += char(length >> 8);
        bytes += char(length & 0xFF);
        bytes += note;
        bytes += base.mid(2);
        const QString name = QStringLiteral("IMG_%1.jpg").arg(n, 4, 10, QLatin1Char('0'));
        QFile file(QDir(folder).filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return false;
        names << name;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir work;
    if (!work.isValid())
        return 2;
    // A private settings folder: a load writes the setting "File".
    bench::usePrivateFolders(work);
    QApplication application(argc, argv);

    QString folder;
    if (argc > 1) {
        folder = QDir(QString::fromLocal8Bit(argv[1])).filePath(QStringLiteral("bench_list_pictures"));
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
    } else {
        folder = work.filePath(QStringLiteral("pictures"));
        QDir().mkpath(folder);
    }
    QStringList names;
    std::printf("writing %d distinct 4000 x 3000 JPEGs to %s ...\n", Pictures, qPrintable(folder));
    std::fflush(stdout);
    if (!writePictures(folder, names)) {
        std::fprintf(stderr, "cannot write the pictures\n");
        return 1;
    }
    qint64 bytes = 0;
    for (const QString& name : names)
        bytes += QFileInfo(QDir(folder).filePath(name)).size();
    std::printf("pictures: %d files, %.1f MB\n", Pictures, double(bytes) / 1e6);

    ConsolePrompter prompter;
    FixedDialogs dialogs;
    Platform& real = qtPlatform();
    Platform platform{prompter, dialogs, real.screen, real.random, real.registry, real.launcher, real.program};
    Vantelo window(platform);
    window.show();
    auto* fileList = window.findChild<FileListBox*>(QStringLiteral("FileList"));
    auto* slideList = window.findChild<QTreeWidget*>(QStringLiteral("lvwMain"));
    window.findChild<DirListBox*>(QStringLiteral("DirList"))->setPath(folder);
    fileList->setPattern(QStringLiteral("*.jpg"));
    fileList->refresh();
    waitForReadingThreads();
    if (fileList->count() != Pictures) {
        std::fprintf(stderr, "the file list shows %d files\n", fileList->count());
        return 1;
    }

    // ---- adding ----
    const std::vector<double> add = timeRuns(
        7,
        [&] {
            slideList->clear();
            QApplication::processEvents();
            fileList->selectAll();
        },
        [&] {
            window.findChild<QPushButton*>(QStringLiteral("cmdPicture(2)"))->click();
            waitForReadingThreads();
            return prompter.failures == 0 && slideList->topLevelItemCount() == Pictures;
        });

    // ---- dropping: the same 1000 pictures as files from a file manager, then as their folder ----
    auto* listViewport = slideList->viewport();
    const auto dropOnList = [&](const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        const QPoint at(listViewport->width() / 2, listViewport->height() - 2);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(listViewport, &enter);
        QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(listViewport, &move);
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(listViewport, &drop);
        waitForReadingThreads();
    };
    QList<QUrl> fileUrls;
    for (const QString& name : names)
        fileUrls.append(QUrl::fromLocalFile(QDir(folder).filePath(name)));
    const auto inNameOrder = [&] {
        for (int n = 0; n < Pictures; ++n) {
            if (slideList->topLevelItem(n)->text(1) != names[n] || slideList->topLevelItem(n)->text(2).isEmpty())
                return false;
        }
        return true;
    };
    const std::vector<double> dropFiles = timeRuns(
        7, [&] { slideList->clear(); },
        [&] {
            dropOnList(fileUrls);
            return prompter.failures == 0 && slideList->topLevelItemCount() == Pictures && inNameOrder();
        });
    const std::vector<double> dropFolder = timeRuns(
        7, [&] { slideList->clear(); },
        [&] {
            dropOnList({QUrl::fromLocalFile(folder)});
            return prompter.failures == 0 && slideList->topLevelItemCount() == Pictures && inNameOrder();
        });

    const std::vector<double> decodes = timeRuns(
        3, [] {},
        [&] {
            for (int n = 0; n < SlowSample; ++n) {
                QImageReader reader(QDir(folder).filePath(names[n * (Pictures / SlowSample)]));
                reader.setAllocationLimit(1024);
                if (reader.read().isNull())
                    return false;
            }
            return true;
        });

    // ---- loading ----
    const QString list = work.filePath(QStringLiteral("long.vtl"));
    SlideRows rows;
    rows.reserve(Rows);
    for (int n = 0; n < Rows; ++n)
        rows.append({folder + u'/', names[n % Pictures], QStringLiteral("3000 X 4000"), QString()});
    WriteSlideList(rows, list);
    std::printf("list: %d rows, %lld bytes\n", Rows, static_cast<long long>(QFileInfo(list).size()));
    dialogs.file = list;

    const std::vector<double> load = timeRuns(
        9,
        [&] {
            slideList->clear();
            QApplication::processEvents();
        },
        [&] {
            window.findChild<QPushButton*>(QStringLiteral("cmdLoad"))->click();
            waitForReadingThreads();
            return prompter.failures == 0 && slideList->topLevelItemCount() == Rows;
        });

    // The same list view, filled the slow way.
    QTreeWidget slowList;
    slowList.setColumnCount(4);
    slowList.setHeaderLabels({QString(), QStringLiteral("Name"), QStringLiteral("Size"), QStringLiteral("Color")});
    slowList.setRootIsDecorated(false);
    slowList.setUniformRowHeights(true);
    slowList.setSelectionMode(QAbstractItemView::ExtendedSelection);
    slowList.setGeometry(372, 8, 173, 261);
    slowList.show();
    const std::vector<double> slowLoad = timeRuns(
        5,
        [&] {
            slowList.setSortingEnabled(false);
            slowList.clear();
            slowList.setSortingEnabled(true);
            QApplication::processEvents();
        },
        [&] {
            SlideRows read;
            ReadSlideList(list, read);
            for (const SlideRow& row : read)
                slowList.addTopLevelItem(newSlideItem(row));
            QApplication::processEvents();
            return slowList.topLevelItemCount() == Rows;
        });

    if (add.empty() || dropFiles.empty() || dropFolder.empty() || decodes.empty() || load.empty() || slowLoad.empty()) {
        std::fprintf(stderr, "a timed run failed\n");
        return 1;
    }
    std::vector<double> slowAdd;
    for (double t : decodes)
        slowAdd.push_back(t * Pictures / SlowSample);

    printTimes("add 1000 with ===> (headers on the reading threads):", add);
    printTimes("add 1000 the slow way (full decodes, 50 x 20):", slowAdd);
    std::printf("add: %.0f times faster\n", medianOf(slowAdd) / medianOf(add));
    printTimes("drop the 1000 files onto the list:", dropFiles);
    printTimes("drop their folder onto the list:", dropFolder);
    printTimes("load 32767 (one batch, sorting off, painting held):", load);
    printTimes("load 32767 the slow way (one by one, sorting on):", slowLoad);
    std::printf("load: %.1f times faster\n", medianOf(slowLoad) / medianOf(load));
    if (argc > 1)
        QDir(folder).removeRecursively();
    std::printf("add_1000_ms: %.0f drop_1000_files_ms: %.0f drop_folder_ms: %.0f load_32767_ms: %.0f\n", medianOf(add),
                medianOf(dropFiles), medianOf(dropFolder), medianOf(load));
    return 0;
}
