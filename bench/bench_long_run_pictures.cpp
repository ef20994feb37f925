// Writes the pictures of the long run (long_run.sh) and its slide list: small and 50-megapixel JPEGs,
// baseline and progressive, a GIF, a BMP, and last a row for a picture that is not there.
// Usage: bench_long_run_pictures FOLDER   (writes FOLDER/long-run.vtl and the pictures beside it)
#include "BenchSupport.h"
#include "GifWriter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>

#include <cstdio>

namespace {

struct Picture
{
    const char* name;
    int width;
    int height;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_long_run_pictures FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(folder.path()))
        return 1;

    // In list order: the missing picture comes last, so its report marks the end of each pass.
    const Picture pictures[] = {
        {"small-baseline.jpg", 640, 480},
        {"large-baseline.jpg", 8660, 5774},
        {"picture.gif", 800, 600},
        {"small-progressive.jpg", 1024, 768},
        {"large-progressive.jpg", 8660, 5774},
        {"picture.bmp", 1200, 900},
        {"missing.jpg", 640, 480},
    };
    QByteArray list = ' ' + QByteArray::number(std::size(pictures)) + " \r\n";
    int row = 0;
    for (const Picture& picture : pictures) {
        const QString name = QString::fromLatin1(picture.name);
        const QString path = folder.absoluteFilePath(name);
        bool written = true;
        if (name.endsWith(QLatin1String(".jpg")) && name != QLatin1String("missing.jpg")) {
            written = vantelo::bench::writeGrainyJpeg(path, picture.width, picture.height, 7 + row, 100 * row,
                                                      name.contains(QLatin1String("progressive")));
        } else if (name != QLatin1String("missing.jpg")) {
            // The GIF and the BMP get the same kind of picture, made as a JPEG first.
            const QString source = folder.absoluteFilePath(QStringLiteral("source.jpg"));
            written = vantelo::bench::writeGrainyJpeg(source, picture.width, picture.height, 7 + row, 100 * row, false);
            const QImage image(source);
            written = written && QFile::remove(source) &&
                      (name.endsWith(QLatin1String(".gif")) ? vantelo::tools::writeGif(image, path)
                                                            : image.save(path, "BMP"));
        }
        if (!written) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        ++row;
        list += QByteArray::number(row) + " | " + QFile::encodeName(folder.absolutePath()) + "/ | " + picture.name +
                " | " + QByteArray::number(picture.height) + " X " + QByteArray::number(picture.width) + " | \r\n";
    }
    QFile file(folder.absoluteFilePath(QStringLiteral("long-run.vtl")));
    if (!file.open(QIODevice::WriteOnly) || file.write(list) != list.size())
        return 1;
    return 0;
}
