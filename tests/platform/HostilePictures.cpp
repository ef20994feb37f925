#include "HostilePictures.h"

#include "GifWriter.h"
#include "platform/PictureFile.h"

#include <QBuffer>
#include <QImageWriter>
#include <QtEndian>

namespace vantelo::test {
namespace {

void appendBig16(QByteArray& bytes, int value)
{
    bytes.append(char((value >> 8) & 0xFF)).append(char(value & 0xFF));
}

void appendLittle16(QByteArray& bytes, int value)
{
    bytes.append(char(value & 0xFF)).append(char((value >> 8) & 0xFF));
}

void appendLittle32(QByteArray& bytes, qint64 value)
{
    for (int shift = 0; shift < 32; shift += 8)
        bytes.append(char((value >> shift) & 0xFF));
}

QByteArray startOfScan(const QList<int>& componentIds, int spectralStart, int spectralEnd)
{
    QByteArray payload;
    payload.append(char(componentIds.size()));
    for (int id : componentIds)
        payload.append(char(id)).append(char(id == 1 ? 0x00 : 0x11));
    payload.append(char(spectralStart)).append(char(spectralEnd)).append(char(0));
    return payload;
}

// A small picture whose JPEG gives real quantisation and Huffman tables to borrow.
const QList<JpegSegment>& donorTables()
{
    static const QList<JpegSegment> tables = [] {
        QList<JpegSegment> kept;
        for (const JpegSegment& s : splitJpeg(encodeJpeg(patternImage(QSize(16, 16), QImage::Format_RGB32), false)))
            if (s.marker == 0xDB || s.marker == 0xC4)
                kept.append(s);
        return kept;
    }();
    return tables;
}

QByteArray realJpeg(QSize size, bool progressive)
{
    return encodeJpeg(patternImage(size, QImage::Format_RGB32), progressive);
}

QByteArray gif(QSize size)
{
    return vantelo::tools::encodeGif(patternImage(size, QImage::Format_RGB32));
}

// Rewrites a GIF's logical screen size and its first frame's size.
QByteArray gifClaiming(QByteArray bytes, QSize screen, QSize frame)
{
    auto put16 = [&bytes](int at, int value) {
        bytes[at] = char(value & 0xFF);
        bytes[at + 1] = char((value >> 8) & 0xFF);
    };
    put16(6, screen.width());
    put16(8, screen.height());
    const int colourTable = (bytes[10] & 0x80) ? 3 * (2 << (bytes[10] & 0x07)) : 0;
    qsizetype at = 13 + colourTable;
    while (at < bytes.size() && bytes[at] == '!') { // extension blocks before the frame
        at += 2;
        while (at < bytes.size() && bytes[at] != 0)
            at += 1 + static_cast<unsigned char>(bytes[at]);
        ++at;
    }
    if (at + 9 < bytes.size() && bytes[at] == ',') {
        put16(at + 5, frame.width());
        put16(at + 7, frame.height());
    }
    return bytes;
}

// BMP run-length data: each row one run of `value`, then end of line; end of bitmap at the end.
QByteArray rle8Rows(int width, int height, int value)
{
    QByteArray data;
    for (int y = 0; y < height; ++y) {
        for (int left = width; left > 0; left -= 255)
            data.append(char(std::min(left, 255))).append(char(value));
        data.append('\0').append('\0');
    }
    data.append('\0').append('\1');
    return data;
}

} // namespace

QImage patternImage(QSize size, QImage::Format format)
{
    QImage image(size, QImage::Format_Grayscale8);
    for (int y = 0; y < size.height(); ++y) {
        uchar* line = image.scanLine(y);
        for (int x = 0; x < size.width(); ++x)
            line[x] = uchar((x / 7 + y / 5) * 37 % 200 + (x * y) % 41);
    }
    return format == QImage::Format_Grayscale8 ? image : image.convertToFormat(format);
}

QByteArray encodeJpeg(const QImage& image, bool progressive, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    writer.setProgressiveScanWrite(progressive);
    writer.write(image);
    return bytes;
}

QList<JpegSegment> splitJpeg(const QByteArray& jpeg)
{
    QList<JpegSegment> segments;
    qsizetype at = 2; // past the start-of-image marker
    while (at + 1 < jpeg.size() && static_cast<unsigned char>(jpeg[at]) == 0xFF) {
        JpegSegment segment;
        segment.marker = static_cast<unsigned char>(jpeg[at + 1]);
        at += 2;
        if (segment.marker == 0xD9) {
            segments.append(segment);
            break;
        }
        const int length = qFromBigEndian<quint16>(jpeg.constData() + at);
        segment.payload = jpeg.mid(at + 2, length - 2);
        at += length;
        if (segment.marker == 0xDA) {
            qsizetype end = at;
            while (end + 1 < jpeg.size() && !(static_cast<unsigned char>(jpeg[end]) == 0xFF && jpeg[end + 1] != 0 &&
                                              !(static_cast<unsigned char>(jpeg[end + 1]) >= 0xD0 &&
                                                static_cast<unsigned char>(jpeg[end + 1]) <= 0xD7)))
                ++end;
            segment.entropy = jpeg.mid(at, end - at);
            at = end;
        }
        segments.append(segment);
    }
    return segments;
}

QByteArray joinJpeg(const QList<JpegSegment>& segments)
{
    QByteArray jpeg("\xFF\xD8", 2);
    for (const JpegSegment& s : segments) {
        jpeg.append(char(0xFF)).append(char(s.marker));
        if (s.marker == 0xD9)
            continue;
        appendBig16(jpeg, int(s.payload.size()) + 2);
        jpeg.append(s.payload).append(s.entropy);
    }
    return jpeg;
}

QByteArray hollowJpeg(QSize claimed, bool progressive, int components, int lumaSampling, int scans)
{
    QList<JpegSegment> segments = donorTables();
    JpegSegment frame;
    frame.marker = progressive ? 0xC2 : 0xC0;
    frame.payload.append(char(8));
    appendBig16(frame.payload, claimed.height());
    appendBig16(frame.payload, claimed.width());
    frame.payload.append(char(components));
    for (int id = 1; id <= components; ++id)
        frame.payload.append(char(id)).append(char(id == 1 ? lumaSampling : 0x11)).append(char(id == 1 ? 0 : 1));
    segments.append(frame);

    QList<int> all;
    for (int id = 1; id <= components; ++id)
        all.append(id);
    segments.append({0xDA, startOfScan(all, 0, progressive ? 0 : 63), {}});
    for (int k = 1; k < scans; ++k)
        segments.append({0xDA, startOfScan({1}, 1, 63), {}});
    segments.append({0xD9, {}, {}});
    return joinJpeg(segments);
}

QByteArray bmpFile(int width, int height, int bitsPerPixel, int compression, const QByteArray& pixels)
{
    const int paletteEntries = bitsPerPixel <= 8 ? 1 << bitsPerPixel : 0;
    const int offset = 14 + 40 + 4 * paletteEntries;
    QByteArray bmp("BM");
    appendLittle32(bmp, offset + pixels.size());
    appendLittle32(bmp, 0);
    appendLittle32(bmp, offset);
    appendLittle32(bmp, 40);
    appendLittle32(bmp, width);
    appendLittle32(bmp, height);
    appendLittle16(bmp, 1);
    appendLittle16(bmp, bitsPerPixel);
    appendLittle32(bmp, compression);
    appendLittle32(bmp, pixels.size());
    appendLittle32(bmp, 2835);
    appendLittle32(bmp, 2835);
    appendLittle32(bmp, 0);
    appendLittle32(bmp, 0);
    for (int i = 0; i < paletteEntries; ++i) {
        const char grey = char(i * 255 / std::max(1, paletteEntries - 1));
        bmp.append(grey).append(grey).append(grey).append('\0');
    }
    return bmp.append(pixels);
}

QList<HostilePicture> hostilePictures()
{
    const auto picture = Outcome::Picture;
    const auto refused = Outcome::Refused;
    const QSize none;
    // Height of a 50-megapixel picture at 3:2, the shape of a camera's.
    const QSize fiftyMegapixels(8660, 5774);

    return {
        {"empty file", "empty.jpg", [] { return QByteArray(); }, refused, none},
        {"one byte", "one.jpg", [] { return QByteArray(1, char(0xFF)); }, refused, none},
        {"JPEG cut off in its coded data", "cut.jpg",
         [] {
             const QByteArray whole = realJpeg(QSize(320, 240), false);
             return whole.left(whole.size() * 6 / 10);
         },
         picture, QSize(320, 240)},
        {"JPEG cut off in its header", "cut-header.jpg", [] { return realJpeg(QSize(320, 240), false).left(120); },
         refused, none},
        {"JPEG with garbage after its header", "garbage.jpg",
         [] {
             QList<JpegSegment> segments = splitJpeg(realJpeg(QSize(320, 240), false));
             for (JpegSegment& s : segments)
                 if (s.marker == 0xDA)
                     for (qsizetype i = 0; i < s.entropy.size(); ++i)
                         s.entropy[i] = char((i * 7919 + 13) % 255); // never 0xFF, so no marker appears
             return joinJpeg(segments);
         },
         picture, QSize(320, 240)},
        {"BMP claiming 30000 x 30000 with no pixels", "huge.bmp",
         [] { return bmpFile(30000, 30000, 24, 0, QByteArray(64, '\x40')); }, refused, none},
        {"BMP with a negative width", "negative.bmp",
         [] { return bmpFile(-100, 50, 24, 0, QByteArray(300 * 50, '\x40')); }, refused, none},
        {"top-down BMP (negative height)", "top-down.bmp",
         [] { return bmpFile(100, -50, 24, 0, QByteArray(300 * 50, '\x40')); }, picture, QSize(100, 50)},
        {"run-length BMP of 30 bytes claiming 8000 x 8000", "rle-huge.bmp",
         [] { return bmpFile(8000, 8000, 8, 1, QByteArray("\x00\x01", 2)); }, refused, none},
        {"run-length BMP of 5000 x 5000, under the whole-decode cap", "rle-big.bmp",
         [] { return bmpFile(5000, 5000, 8, 1, rle8Rows(5000, 5000, 0x80)); }, picture, QSize(5000, 5000)},
        {"GIF claiming 65535 x 65535", "huge.gif",
         [] { return gifClaiming(gif(QSize(40, 30)), QSize(65535, 65535), QSize(65535, 65535)); }, refused, none},
        {"GIF claiming 8000 x 8000, over the whole-decode cap", "big.gif",
         [] { return gifClaiming(gif(QSize(40, 30)), QSize(8000, 8000), QSize(8000, 8000)); }, refused, none},
        {"truncated GIF", "cut.gif",
         [] {
             const QByteArray whole = gif(QSize(40, 30));
             return whole.left(30);
         },
         refused, none},
        {"XBM named .jpg", "xbm.jpg",
         [] { return QByteArray("#define a_width 8\n#define a_height 2\nstatic char a_bits[] = {0x01, 0x80};\n"); },
         refused, none},
        {"PNG named .jpg", "png.jpg",
         [] {
             QByteArray bytes;
             QBuffer buffer(&bytes);
             buffer.open(QIODevice::WriteOnly);
             patternImage(QSize(20, 10), QImage::Format_RGB32).save(&buffer, "PNG");
             return bytes;
         },
         refused, none},
        {"50-megapixel JPEG", "fifty.jpg",
         [fiftyMegapixels] { return encodeJpeg(patternImage(fiftyMegapixels, QImage::Format_Grayscale8), false, 75); },
         picture, fiftyMegapixels},
        {"progressive JPEG", "progressive.jpg", [] { return realJpeg(QSize(1600, 1200), true); }, picture,
         QSize(1600, 1200)},
        {"baseline JPEG claiming 65500 x 65500 with no data", "hollow-huge.jpg",
         [] { return hollowJpeg(QSize(65500, 65500), false, 3, 0x22, 1); }, refused, none},
        {"baseline JPEG claiming 16000 x 16000 with no data", "hollow-big.jpg",
         [] { return hollowJpeg(QSize(16000, 16000), false, 3, 0x22, 1); }, picture, QSize(16000, 16000)},
        {"progressive JPEG of 8000 x 6000 at 4:4:4, over the coefficient memory", "hollow-444.jpg",
         [] { return hollowJpeg(QSize(8000, 6000), true, 3, 0x11, 10); }, refused, none},
        {"progressive JPEG of 8000 x 6000 at 4:2:0, within it", "hollow-420.jpg",
         [] { return hollowJpeg(QSize(8000, 6000), true, 3, 0x22, 10); }, picture, QSize(8000, 6000)},
        {"progressive JPEG with 5000 empty scans", "many-scans.jpg",
         [] { return hollowJpeg(QSize(2000, 2000), true, 3, 0x22, 5000); }, refused, none},
        {"progressive JPEG of 200 scans over too many blocks", "heavy-scans.jpg",
         [] { return hollowJpeg(QSize(8000, 4000), true, 1, 0x11, 200); }, refused, none},
        {"progressive JPEG of 200 scans within the budget", "light-scans.jpg",
         [] { return hollowJpeg(QSize(1000, 1000), true, 1, 0x11, 200); }, picture, QSize(1000, 1000)},
    };
}

} // namespace vantelo::test
