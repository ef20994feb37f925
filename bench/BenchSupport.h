#pragma once

#include "platform/Platform.h"
#include "reading/ReadingThreads.h"

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <vector>

// What every benchmark needs: medians, and message boxes that print instead of waiting for an OK
// nobody can give.
namespace vantelo::bench {

inline double medianOf(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

// Points settings and the instance lock at work, and Qt at the offscreen platform unless told
// otherwise, before the application starts: a benchmark never touches the user's own settings.
inline void usePrivateFolders(const QTemporaryDir& work)
{
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(work.filePath(QStringLiteral("config"))));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(work.path()));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// Something like a photograph for the encoder: smooth colour fields with fine grain over them.
// grainSeed picks the grain, colourShift moves the red field sideways so pictures differ.
inline bool writeGrainyJpeg(const QString& path, int width, int height, quint32 grainSeed, int colourShift,
                            bool progressive)
{
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator grain(grainSeed);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int noise = int(grain.bounded(24)) - 12;
            const int r = std::clamp((x + colourShift) % width * 255 / width + noise, 0, 255);
            const int g = std::clamp(y * 255 / height + noise, 0, 255);
            const int b = std::clamp(((x ^ y) >> 4 & 0x7F) + 64 + noise, 0, 255);
            line[x] = qRgb(r, g, b);
        }
    }
    QImageWriter writer(path, "jpeg");
    writer.setQuality(90);
    writer.setProgressiveScanWrite(progressive);
    return writer.write(image);
}

// Lets every request to the reading threads finish and its answer arrive, as the window's user waits for
// what a step asked of storage.
inline void waitForReadingThreads()
{
    for (int quiet = 0; quiet < 2; QThread::msleep(1)) {
        QCoreApplication::processEvents();
        quiet = ReadingThreads::isIdle() ? quiet + 1 : 0;
    }
}

class ConsolePrompter : public Prompter
{
public:
    void showMessage(QWidget*, MessageIcon, const QString& title, const QString& text) override
    {
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
        ++failures;
    }
    void beep() override {}
    int failures = 0;
};

} // namespace vantelo::bench
