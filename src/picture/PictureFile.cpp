#include "picture/PictureFile.h"

#include "common/AppError.h"
#include "picture/JpegLayout.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace vantelo {
namespace {

constexpr std::int64_t BytesPerDecodedPixel = 4;
// Below 50 the JPEG reader upsamples colour by repeating pixels rather than interpolating.
constexpr int FastDecodeQuality = 49;

bool isAcceptedFormat(const QByteArray& format)
{
    return format == "bmp" || format == "gif" || format == "jpeg";
}

bool swapsSides(QImageIOHandler::Transformations transformation)
{
    return transformation & QImageIOHandler::TransformationRotate90;
}

std::int64_t pixelsOf(const QSize& size)
{
    return std::int64_t(size.width()) * size.height();
}

// A JPEG's markers, read before the decoder sees the file: a progressive picture can cost far more
// than its size suggests.
void checkJpegCost(QFile& file)
{
    if (file.peek(2) != QByteArray("\xFF\xD8", 2))
        return;
    const JpegLayout layout = readJpegLayout(file, MaxJpegScans);
    if (layout.wholeImageBuffer && (layout.coefficientBytes > PictureAllocationLimitBytes ||
                                    layout.scans > MaxJpegScans || layout.scanBlocks > MaxJpegScanBlocks))
        throw AppError(ErrorNumber::InvalidPicture);
    if (!file.seek(0))
        throw AppError(ErrorNumber::InvalidPicture);
}

} // namespace

struct PictureFile::Reader
{
    QFile file;
    QImageReader reader;
    bool decoded = false;
};

PictureFile::PictureFile(const QString& path) : m_reader(std::make_unique<Reader>())
{
    const QFileInfo info(path);
    if (!info.exists())
        throw AppError(ErrorNumber::FileNotFound);
    if (!info.isFile())
        throw AppError(ErrorNumber::InvalidPicture);
    QFile& file = m_reader->file;
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(ErrorNumber::InvalidPicture);
    checkJpegCost(file);

    // The limit holds for every reader of the process; it is the same for every picture.
    QImageReader::setAllocationLimit(PictureAllocationLimitMB);
    QImageReader& reader = m_reader->reader;
    reader.setDevice(&file);
    reader.setAutoTransform(true);
    const QByteArray format = reader.format();
    if (!isAcceptedFormat(format))
        throw AppError(ErrorNumber::InvalidPicture);

    QSize stored = reader.size();
    // A bottom-up BMP is the usual kind; a top-down one states its height as negative.
    if (format == "bmp" && stored.width() > 0 && stored.height() < 0)
        stored.setHeight(-stored.height());
    if (!stored.isValid() || stored.isEmpty() || pixelsOf(stored) > MaxPicturePixels)
        throw AppError(ErrorNumber::InvalidPicture);
    if (format != "jpeg" && pixelsOf(stored) > MaxWholeDecodePixels)
        throw AppError(ErrorNumber::InvalidPicture);
    m_size = swapsSides(reader.transformation()) ? stored.transposed() : stored;
}

PictureFile::~PictureFile() = default;

QImage PictureFile::decode(const QSize& displaySize)
{
    if (std::exchange(m_reader->decoded, true))
        throw AppError(ErrorNumber::InvalidPicture);
    QImageReader& reader = m_reader->reader;
    const bool scaled = displaySize.isValid() && !displaySize.isEmpty();
    if (pixelsOf(scaled ? displaySize : m_size) * BytesPerDecodedPixel > PictureAllocationLimitBytes)
        throw AppError(ErrorNumber::InvalidPicture);
    if (scaled) {
        // The scaled size applies before the orientation is, so a turned picture is asked for
        // with its sides swapped.
        reader.setScaledSize(swapsSides(reader.transformation()) ? displaySize.transposed() : displaySize);
        // Shown smaller than it is, a JPEG loses nothing visible to the decoder's quicker colour
        // upsampling, and decodes a good deal faster.
        if (pixelsOf(displaySize) < pixelsOf(m_size))
            reader.setQuality(FastDecodeQuality);
    }
    QImage image = reader.read();
    if (image.isNull())
        throw AppError(ErrorNumber::InvalidPicture);
    return image;
}

QSize measurePicture(const QString& path)
{
    return PictureFile(path).size();
}

QImage decodePicture(const QString& path, const QSize& displaySize)
{
    return PictureFile(path).decode(displaySize);
}

} // namespace vantelo
