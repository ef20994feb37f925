#pragma once

#include "GifWriter.h"
#include "common/AppError.h"
#include "config/BrowserLists.h"
#include "config/Vantelo.h"
#include "support/FakePlatform.h"
#include "support/TestFiles.h"

#include <QImageWriter>
#include <QPainter>

// Shared by the configuration window's tests.
namespace vantelo::test {

// The window over its own fake platform seams ("fp"), loaded as the program loads it, browsing
// folder when one is given.
struct TestWindow : FakePlatformHolder, Vantelo
{
    explicit TestWindow(const QString& folder = QString()) : Vantelo(fp.platform)
    {
        Form_Load();
        if (!folder.isEmpty())
            DirList->setPath(folder);
    }
};

// The window's messages as FakePrompter::said() writes them.
inline QString warning(const QString& text)
{
    return QStringLiteral("! Personal Vantelo Creator: ") + text;
}
inline QString report(int failure)
{
    return QStringLiteral("Personal Vantelo Creator: ") + errorReportText(AppError(failure));
}

// A real picture file with a red left half and a blue right half, so a test can tell the picture and
// its orientation from two pixels. format: "BMP", "JPEG" or "GIF". Empty when it could not be written.
inline QString writePicture(const QString& folder, const QString& name, int width, int height,
                            const char* format = "JPEG")
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QPainter(&image).fillRect(0, 0, width / 2, height, Qt::red);
    const QString path = QDir(folder).filePath(name);
    const bool written =
        QByteArray(format) == "GIF" ? vantelo::tools::writeGif(image, path) : QImageWriter(path, format).write(image);
    return written ? path : QString();
}

// A JPEG cut off inside its header, before the frame that gives its size.
inline QString writeDamagedJpeg(const QString& folder, const QString& name)
{
    QFile whole(writePicture(folder, QStringLiteral("whole-") + name, 64, 48));
    return whole.open(QIODevice::ReadOnly) ? writeBytes(folder, name, whole.read(40)) : QString();
}

} // namespace vantelo::test
