// Time and peak memory of measuring and decoding each picture of the fuzz corpus, at the preview's size and
// at a show's. Each decode runs in a fresh child process, so its peak resident memory is its own;
// the figures are medians of several runs, and the child's resident memory before it touches a
// picture is printed first, to be subtracted.
//
//   build/bench_hostile_pictures [runs]    (default 5)
//   build/bench_hostile_pictures --write FOLDER   (only saves every picture there, for a look with other tools)
#include "common/AppError.h"
#include "picture/PictureFile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <QLoggingCategory>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>

using namespace vantelo;

namespace {

// The process's own peak: VmHWM starts afresh at exec, where getrusage would still count the
// parent that forked us.
long peakResidentKB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

// Processor time of this process so far, in milliseconds: on a shared machine it varies far less
// than the time on the clock.
double processorMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

// Child: measure, then decode to width x height; prints "clock-ms processor-ms peak-KB outcome".
int runOne(const QString& path, int width, int height)
{
    QElapsedTimer timer;
    timer.start();
    const double processorStart = processorMs();
    QString outcome;
    try {
        const QSize size = measurePicture(path);
        const QImage image = decodePicture(path, QSize(width, height));
        outcome = QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
    } catch (const AppError& e) {
        outcome = QString::number(e.number());
    }
    const double ms = timer.nsecsElapsed() / 1e6;
    std::printf("%.1f %.1f %ld %s\n", ms, processorMs() - processorStart, peakResidentKB(), qPrintable(outcome));
    return 0;
}

struct Figures
{
    double ms = 0;
    double cpu = 0;
    long kb = 0;
    QString outcome;
};

Figures median(QList<Figures> runs)
{
    std::sort(runs.begin(), runs.end(), [](const Figures& a, const Figures& b) { return a.ms < b.ms; });
    Figures m = runs[runs.size() / 2];
    QList<double> cpus;
    QList<long> kbs;
    for (const Figures& f : runs) {
        cpus.append(f.cpu);
        kbs.append(f.kb);
    }
    std::sort(cpus.begin(), cpus.end());
    std::sort(kbs.begin(), kbs.end());
    m.cpu = cpus[cpus.size() / 2];
    m.kb = kbs[kbs.size() / 2];
    return m;
}

Figures runChild(const QStringList& arguments)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
    child.start(QCoreApplication::applicationFilePath(), arguments);
    child.waitForFinished(-1);
    const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
    Figures f;
    if (fields.size() == 4) {
        f.ms = fields[0].toDouble();
        f.cpu = fields[1].toDouble();
        f.kb = fields[2].toLong();
        f.outcome = QString::fromLatin1(fields[3]);
    }
    return f;
}

// The picture at path with its stated size rewritten: a JPEG's frame header, or a BMP's info header.
QByteArray claiming(const QString& path, int width, int height)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes = file.readAll();
    if (bytes.startsWith("BM")) {
        qToLittleEndian<qint32>(width, bytes.data() + 18);
        qToLittleEndian<qint32>(height, bytes.data() + 22);
    } else if (const qsizetype frame = bytes.indexOf("\xFF\xC2"); frame > 0) {
        qToBigEndian<quint16>(quint16(height), bytes.data() + frame + 5);
        qToBigEndian<quint16>(quint16(width), bytes.data() + frame + 7);
    }
    return bytes;
}

QByteArray fiftyMegapixelProgressive()
{
    QImage image(8660, 5774, QImage::Format_Grayscale8);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.scanLine(y)[x] = uchar((x / 7 + y / 5) * 37 % 200 + (x * y) % 41);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(75);
    writer.setProgressiveScanWrite(true);
    writer.write(image);
    return bytes;
}

struct BenchPicture
{
    QString name;
    QByteArray bytes;
};

// Every picture of the fuzz corpus, whose names say what each is and whether it is shown, and the
// worst each bound still lets through, made from corpus files.
QList<BenchPicture> benchPictures()
{
    const QDir corpus(QStringLiteral(CORPUS));
    QList<BenchPicture> pictures;
    for (const QString& name : corpus.entryList(QDir::Files)) {
        QFile file(corpus.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            pictures.append({name, file.readAll()});
    }
    pictures.append(
        {QStringLiteral("worst-allowed-progressive-10240x8192-420.jpg"),
         claiming(corpus.filePath(QStringLiteral("shown-8000x6000-progressive-420-within-coefficient-memory.jpg")),
                  10240, 8192)});
    pictures.append(
        {QStringLiteral("worst-allowed-whole-decode-5792x5792.bmp"),
         claiming(corpus.filePath(QStringLiteral("shown-5000x5000-run-length-within-whole-decode-limit.bmp")), 5792,
                  5792)});
    pictures.append({QStringLiteral("fifty-megapixel-progressive-grey.jpg"), fiftyMegapixelProgressive()});
    return pictures;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 5 && QByteArray(argv[1]) == "--one") {
        QGuiApplication app(argc, argv);
        QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio*=false"));
        return runOne(QString::fromLocal8Bit(argv[2]), atoi(argv[3]), atoi(argv[4]));
    }
    if (argc == 3 && QByteArray(argv[1]) == "--write") {
        QGuiApplication app(argc, argv);
        const QDir folder(QString::fromLocal8Bit(argv[2]));
        for (const BenchPicture& picture : benchPictures()) {
            QFile file(folder.filePath(picture.name));
            if (!file.open(QIODevice::WriteOnly) || file.write(picture.bytes) < 0)
                return 1;
        }
        return 0;
    }
    if (argc == 2 && QByteArray(argv[1]) == "--idle") {
        QGuiApplication app(argc, argv);
        std::printf("0 0 %ld idle\n", peakResidentKB());
        return 0;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtime; // the children's runtime folder, so Qt does not complain of a missing one
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    QGuiApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    QTemporaryDir dir;

    QList<Figures> idle;
    for (int i = 0; i < runs; ++i)
        idle.append(runChild({QStringLiteral("--idle")}));
    std::printf("child process before any picture: %ld KB resident\n", median(idle).kb);
    std::printf("times in ms on the clock / of processor; peaks in MB resident\n");
    std::printf("%-62s %7s %15s %7s | %15s %7s\n", "picture", "file KB", "preview ms", "peak", "show ms", "peak");

    for (const BenchPicture& picture : benchPictures()) {
        const QString path = dir.filePath(picture.name);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(picture.bytes);
        file.close();
        QList<Figures> preview, show;
        for (int i = 0; i < runs; ++i) {
            preview.append(runChild({QStringLiteral("--one"), path, QStringLiteral("125"), QStringLiteral("145")}));
            show.append(runChild({QStringLiteral("--one"), path, QStringLiteral("1440"), QStringLiteral("1080")}));
        }
        const Figures p = median(preview);
        const Figures s = median(show);
        std::printf("%-62s %7lld %7.1f/%7.1f %7.1f | %7.1f/%7.1f %7.1f  %s\n", qPrintable(picture.name),
                    QFileInfo(path).size() / 1024, p.ms, p.cpu, p.kb / 1024.0, s.ms, s.cpu, s.kb / 1024.0,
                    qPrintable(s.outcome));
        std::fflush(stdout);
        QFile::remove(path);
    }
    return 0;
}
