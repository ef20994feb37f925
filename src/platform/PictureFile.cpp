#include "platform/PictureFile.h"

#include "common/AppError.h"

#include <QFileInfo>
#include <QImageReader>

namespace vantelo {
namespace {

bool isAcceptedFormat(const QByteArray& format)
{
    return format == "bmp" || format == "gif" || format == "jpeg";
}

bool swapsSides(QImageIOHandler::Transformations transformation)
{
    return transformation & QImageIOHandler::TransformationRotate90;
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

} // namespace

QSize measurePicture(const QString& path)
{
    QImageReader reader;
    openReader(reader, path);
    QSize size = reader.size();
    if (!size.isValid() || size.isEmpty())
        throw AppError(ErrorNumber::InvalidPicture);
    if (swapsSides(reader.transformation()))
        size.transpose();
    return size;
}

QImage decodePicture(const QString& path, const QSize& displaySize)
{
    QImageReader reader;
    openReader(reader, path);
    if (displaySize.isValid() && !displaySize.isEmpty()) {
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
