#pragma once

#include "GifWriter.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QString>

// Real picture files for the window's tests: a red left half and a blue right half, so a test can
// tell the picture and its orientation from two pixels.
namespace vantelo::test {

inline QImage halvesImage(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QPainter(&image).fillRect(0, 0, width / 2, height, Qt::red);
    return image;
}

// format: "BMP", "JPEG" or "GIF".
inline QString writePicture(const QString& folder, const QString& name, int width, int height, const char* format)
{
    const QString path = QDir(folder).filePath(name);
    const QImage image = halvesImage(width, height);
    const bool written =
        QByteArray(format) == "GIF" ? vantelo::tools::writeGif(image, path) : QImageWriter(path, format).write(image);
    return written ? path : QString();
}

inline QString writeBytes(const QString& folder, const QString& name, const QByteArray& bytes)
{
    const QString path = QDir(folder).filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return path;
}

// A JPEG cut off inside its header, before the frame that gives its size.
inline QString writeDamagedJpeg(const QString& folder, const QString& name)
{
    const QString whole = writePicture(folder, QStringLiteral("whole-") + name, 64, 48, "JPEG");
    QFile file(whole);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return writeBytes(folder, name, file.read(40));
}

} // namespace vantelo::test
