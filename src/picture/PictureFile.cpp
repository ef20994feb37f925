#include "picture/PictureFile.h"

#include "common/AppError.h"
#include "picture/BmpLayout.h"
#include "picture/GifLayout.h"
#include "picture/JpegLayout.h"
#include "reading/ReadingThreads.h"

#include <QBuffer>
#include <QImageReader>

namespace vantelo {
namespace {

constexpr std::int64_t BytesPerDecodedPixel = 4;
// A JPEG up to this size is decoded from a copy in memory (see decode()); a larger one is read
// from the file as it is decoded, so that no file can make the program hold more than this.
constexpr qint64 MaxJpegInMemoryBytes = qint64(64) << 20;
// Below 50 the JPEG reader upsamples colour by repeating pixels rather than interpolating.
constexpr int FastDecodeQuality = 49;

// The format the content begins with, of the three the program shows; judged here rather than by the
// reader, which would otherwise ask every format's plugin whether it reads these bytes.
QByteArray formatOf(QIODevice& device)
{
    const QByteArray start = device.peek(3);
    if (start.startsWith("\xFF\xD8"))
        return "jpeg";
    if (start.startsWith("GIF"))
        return "gif";
    if (start.startsWith("BM"))
        return "bmp";
    throw AppError(ErrorNumber::InvalidPicture);
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
void checkJpegCost(QIODevice& device)
{
    if (device.peek(2) != QByteArray("\xFF\xD8", 2))
        return;
    const JpegLayout layout = readJpegLayout(device, MaxJpegScans);
    if (layout.wholeImageBuffer && (layout.coefficientBytes > PictureAllocationLimitBytes ||
                                    layout.scans > MaxJpegScans || layout.scanBlocks > MaxJpegScanBlocks))
        throw AppError(ErrorNumber::InvalidPicture);
    if (layout.quantTableMissing)
        throw AppError(ErrorNumber::InvalidPicture);
    if (!device.seek(0))
        throw AppError(ErrorNumber::InvalidPicture);
}

// A BMP's headers, read before the decoder sees the file: Qt's reader gets some kinds wrong without
// failing. Tells whether its pixels are run-length coded.
bool checkBmp(QIODevice& device)
{
    if (device.peek(2) != "BM")
        return false;
    const BmpLayout layout = readBmpLayout(device);
    if (!layout.shownAsMade)
        throw AppError(ErrorNumber::InvalidPicture);
    return layout.runLength;
}

// A GIF's blocks up to its first picture's coded pixels, which the reader does not look at when
// measuring.
void checkGif(QIODevice& device)
{
    if (device.peek(3) != "GIF")
        return;
    if (!gifFirstImageHasData(device) || !device.seek(0))
        throw AppError(ErrorNumber::InvalidPicture);
}

} // namespace

struct PictureFile::Reader
{
    explicit Reader(ReadingProgress* readingProgress) : progress(readingProgress), file(readingProgress) {}

    ReadingProgress* progress;
    StorageFile file;
    QImageReader reader;
    QByteArray format;
    QSize stored; // before the orientation is applied
    QImageIOHandler::Transformations transformation = QImageIOHandler::TransformationNone;
    bool decoded = false;
    bool runLengthBmp = false;
    QByteArray bytes;
    QBuffer buffer;

    // The JPEG reader takes a picture held in memory in one piece, where from a file it takes a few
    // kilobytes at a time: for a large photo that is a tenth of the decoding time. The copy may differ
    // from what was measured when the file changed since, so it passes the same checks again.
    void decodeFromMemory()
    {
        const qint64 size = file.size();
        if (format != "jpeg" || size > MaxJpegInMemoryBytes)
            return;
        file.forgetReadAhead();
        if (!file.seek(0))
            throw AppError(ErrorNumber::InvalidPicture);
        // Exactly the file's size: QIODevice::read(n) would set aside far more than n. Whatever the
        // file becomes meanwhile, the copy is what is checked and decoded.
        bytes = QByteArray(size, Qt::Uninitialized);
        const qint64 read = file.read(bytes.data(), size);
        if (read < 0)
            throw AppError(failure());
        bytes.truncate(read);
        if (progress)
            progress->setAllRead();
        buffer.setBuffer(&bytes);
        if (!buffer.open(QIODevice::ReadOnly))
            throw AppError(ErrorNumber::InvalidPicture);
        checkJpegCost(buffer);
        reader.setDevice(&buffer);
        // Left to find the format itself, the reader would load every format's plugin to ask each
        // whether it reads these bytes. The JPEG reader fails to read the header of anything else.
        reader.setFormat(format);
        reader.setAutoDetectImageFormat(false);
        if (reader.size() != stored || reader.transformation() != transformation)
            throw AppError(ErrorNumber::InvalidPicture);
    }

    // The failure a refused picture stands for: its storage's, when a read failed for it.
    int failure() const
    {
        return file.systemError() != 0 ? storageFailure(file.systemError(), ErrorNumber::InvalidPicture)
                                       : ErrorNumber::InvalidPicture;
    }
};

PictureFile::PictureFile(const QString& path, ReadingProgress* progress) : m_reader(std::make_unique<Reader>(progress))
{
    StorageFile& file = m_reader->file;
    if (!file.openFile(path))
        throw AppError(m_reader->failure());
    m_stamp = file.stamp();
    try {
        checkJpegCost(file);
        checkGif(file);
        m_reader->runLengthBmp = checkBmp(file);
        readHeader();
    } catch (const AppError& error) {
        // A header that could not be read for the storage's sake is no fault of the picture's.
        if (error.number() == ErrorNumber::InvalidPicture)
            throw AppError(m_reader->failure());
        throw;
    }
}

void PictureFile::readHeader()
{
    // The limit holds for every reader of the process. Set once: pictures are opened on the decoding
    // threads too, and Qt keeps the limit in a plain variable.
    [[maybe_unused]] static const bool limited = [] {
        QImageReader::setAllocationLimit(PictureAllocationLimitMB);
        return true;
    }();
    QImageReader& reader = m_reader->reader;
    const QByteArray format = formatOf(m_reader->file);
    m_reader->format = format;
    reader.setDevice(&m_reader->file);
    reader.setFormat(format);
    reader.setAutoDetectImageFormat(false);
    reader.setAutoTransform(true);

    QSize& stored = m_reader->stored;
    stored = reader.size();
    // A bottom-up BMP is the usual kind; a top-down one states its height as negative.
    if (format == "bmp" && stored.width() > 0 && stored.height() < 0)
        stored.setHeight(-stored.height());
    if (!stored.isValid() || stored.isEmpty() || pixelsOf(stored) > MaxPicturePixels)
        throw AppError(ErrorNumber::InvalidPicture);
    if (format != "jpeg" && pixelsOf(stored) > MaxWholeDecodePixels)
        throw AppError(ErrorNumber::InvalidPicture);
    m_reader->transformation = reader.transformation();
    m_size = swapsSides(m_reader->transformation) ? stored.transposed() : stored;
}

PictureFile::~PictureFile() = default;

QImage PictureFile::decode(const QSize& displaySize)
{
    try {
        QImage image = decodeOnce(displaySize);
        if (m_reader->progress)
            m_reader->progress->setAllRead();
        return image;
    } catch (const AppError& error) {
        if (error.number() == ErrorNumber::InvalidPicture)
            throw AppError(m_reader->failure());
        throw;
    }
}

QImage PictureFile::decodeOnce(const QSize& displaySize)
{
    if (std::exchange(m_reader->decoded, true))
        throw AppError(ErrorNumber::InvalidPicture);
    QImageReader& reader = m_reader->reader;
    const bool scaled = displaySize.isValid() && !displaySize.isEmpty();
    if (pixelsOf(scaled ? displaySize : m_size) * BytesPerDecodedPixel > PictureAllocationLimitBytes)
        throw AppError(ErrorNumber::InvalidPicture);
    m_reader->decodeFromMemory();
    if (scaled) {
        // The scaled size applies before the orientation is, so a turned picture is asked for
        // with its sides swapped.
        reader.setScaledSize(swapsSides(m_reader->transformation) ? displaySize.transposed() : displaySize);
        // Shown smaller than it is, a JPEG loses nothing visible to the decoder's quicker colour
        // upsampling, and decodes a good deal faster.
        if (pixelsOf(displaySize) < pixelsOf(m_size))
            reader.setQuality(FastDecodeQuality);
    }
    QImage image;
    if (m_reader->runLengthBmp) {
        // Qt's BMP reader leaves the pixels that runs skip as it finds the memory; they are meant to
        // be the palette's first colour. It decodes into a picture it is given of its size and kind.
        image = QImage(m_reader->stored, QImage::Format_Indexed8);
        image.fill(0);
    }
    if (!reader.read(&image) || image.isNull())
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
