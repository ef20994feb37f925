#include "platform/PictureFile.h"

#include "common/AppError.h"
#include "platform/JpegLayout.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace vantelo {
namespace {

constexpr std::int64_t BytesPerDecodedPixel = 4;

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

// A reader positioned on an accepted picture, or the failure a caller reports.
void openReader(QImageReader& reader, const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        throw AppError(ErrorNumber::FileNotFound);
    if (!info.isFile())
        throw AppError(ErrorNumber::InvalidPicture);
    reader.setFileName(path);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    reader.setAllocationLimit(PictureAllocationLimitMB);
    if (!isAcceptedFormat(reader.format()))
        throw AppError(ErrorNumber::InvalidPicture);
}

// The picture's stored size (before orientation), checked against the bounds in PictureFile.h.
QSize boundedStoredSize(QImageReader& reader, const QString& path)
{
    QSize size = reader.size();
    // A bottom-up BMP is the usual kind; a top-down one states its height as negative.
    if (reader.format() == "bmp" && size.width() > 0 && size.height() < 0)
        size.setHeight(-size.height());
    if (!size.isValid() || size.isEmpty() || pixelsOf(size) > MaxPicturePixels)
        throw AppError(ErrorNumber::InvalidPicture);

    if (reader.format() != "jpeg") {
        if (pixelsOf(size) > MaxWholeDecodePixels)
            throw AppError(ErrorNumber::InvalidPicture);
        return size;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(ErrorNumber::InvalidPicture);
    const JpegLayout layout = readJpegLayout(file, MaxJpegScans);
    if (layout.wholeImageBuffer && (layout.coefficientBytes > PictureAllocationLimitBytes ||
                                    layout.scans > MaxJpegScans || layout.scanBlocks > MaxJpegScanBlocks))
        throw AppError(ErrorNumber::InvalidPicture);
    return size;
}

} // namespace

QSize measurePicture(const QString& path)
{
    QImageReader reader;
    openReader(reader, path);
    QSize size = boundedStoredSize(reader, path);
    if (swapsSides(reader.transformation()))
        size.transpose();
    return size;
}

QImage decodePicture(const QString& path, const QSize& displaySize)
{
    QImageReader reader;
    openReader(reader, path);
    const QSize storedSize = boundedStoredSize(reader, path);
    const bool scaled = displaySize.isValid() && !displaySize.isEmpty();
    if (pixelsOf(scaled ? displaySize : storedSize) * BytesPerDecodedPixel > PictureAllocationLimitBytes)
        throw AppError(ErrorNumber::InvalidPicture);
    if (scaled) {
        // The scaled size applies before the orientation is, so a turned picture is asked for
        // with its sides swapped.
        QSize decodeSize = displaySize;
        if (swapsSides(reader.transformation()))
            decodeSize.transpose();
        reader.setScaledSize(decodeSize);
    }
    QImage image = reader.read();
    if (image.isNull())
        throw AppError(ErrorNumber::InvalidPicture);
    return image;
}

} // namespace vantelo
