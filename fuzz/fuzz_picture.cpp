// Picture files of any content: measuring and a small decode end in a size, a picture of exactly
// the size asked for, or 481, within the memory and time bounds PictureFile.h states.
//
// Only our own code is instrumented: Qt and the system's BMP, GIF and JPEG decoders are Debian's
// uninstrumented libraries, so coverage feedback stops at their door and a memory error inside
// them shows only if it crashes outright. libFuzzer's -rss_limit_mb and -timeout still catch a
// picture that makes them allocate or work without bound.
#include "FuzzSupport.h"

#include "common/AppError.h"
#include "picture/JpegLayout.h"
#include "picture/PictureFile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QLoggingCategory>

using namespace vantelo;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    static int argc = 1;
    static char name[] = "fuzz_picture";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv); // the picture plugins are found through the application
    // A broken picture is the normal case here; its warnings would only slow the run down.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio*=false"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static fuzz::ScratchFiles scratch;
    const QByteArray bytes = fuzz::bytesOf(data, size);
    const QString path = scratch.write(QStringLiteral("input.picture"), bytes);

    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    const JpegLayout layout = readJpegLayout(buffer, MaxJpegScans);
    FUZZ_EXPECT(layout.scans <= MaxJpegScans + 1);
    if (!layout.wholeImageBuffer) {
        FUZZ_EXPECT(layout.scans <= 1 && layout.coefficientBytes == 0);
    }

    bool measured = false;
    try {
        const QSize upright = measurePicture(path);
        FUZZ_EXPECT(upright.width() > 0 && upright.height() > 0);
        // The frame the layout found is the one the decoder reads.
        if (layout.hasFrame) {
            FUZZ_EXPECT(upright == QSize(layout.width, layout.height) || upright == QSize(layout.height, layout.width));
        }
        measured = true;
    } catch (const AppError& e) {
        FUZZ_EXPECT(e.number() == ErrorNumber::InvalidPicture);
    }

    const QSize shown(48, 32);
    try {
        const QImage image = decodePicture(path, shown);
        FUZZ_EXPECT(image.size() == shown);
        // Whatever the program can show, it must also be able to measure (and so list).
        FUZZ_EXPECT(measured);
    } catch (const AppError& e) {
        FUZZ_EXPECT(e.number() == ErrorNumber::InvalidPicture);
    }
    return 0;
}
