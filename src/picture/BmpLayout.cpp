#include "picture/BmpLayout.h"

#include "picture/PictureFile.h"

#include <QByteArray>

#include <algorithm>
#include <bit>
#include <cstdlib>

namespace vantelo {
namespace {

constexpr qint64 FileHeaderBytes = 14;
constexpr quint32 CoreHeaderBytes = 12; // OS/2 1.x: 16-bit sizes, no compression, 3-byte palette entries
constexpr quint32 InfoHeaderBytes = 40;
constexpr quint32 Os2HeaderBytes = 64;
constexpr quint32 V4HeaderBytes = 108;
constexpr quint32 V5HeaderBytes = 124;
// Red, green and blue masks: inside a V4 or V5 header, or right after an info header.
constexpr qint64 MasksAt = FileHeaderBytes + InfoHeaderBytes;
constexpr qint64 ColourMaskBytes = 12;
constexpr qint64 AlphaMaskAt = MasksAt + ColourMaskBytes; // V4 and V5 only
constexpr quint32 FourthByte = 0xFF000000;

enum Compression : quint32 { Plain = 0, RunLength8 = 1, RunLength4 = 2, BitFields = 3 };

// Little-endian, byte by byte: the callers have checked the bytes are there.
template <typename T> T numberAt(const QByteArray& bytes, qint64 at)
{
    quint64 value = 0;
    for (qint64 byte = qint64(sizeof(T)) - 1; byte >= 0; --byte)
        value = value << 8 | quint8(bytes.at(at + byte));
    return T(value);
}

bool isKnownHeaderSize(quint32 bytes)
{
    return bytes == CoreHeaderBytes || bytes == InfoHeaderBytes || bytes == Os2HeaderBytes || bytes == V4HeaderBytes ||
           bytes == V5HeaderBytes;
}

bool isKnownKind(int bits, quint32 compression)
{
    const bool depth = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    return depth &&
           (compression == Plain || (compression == RunLength8 && bits == 8) ||
            (compression == RunLength4 && bits == 4) || (compression == BitFields && (bits == 16 || bits == 32)));
}

// The reader turns a channel into 8 bits by shifting it down to bit 0 and multiplying by 256 over
// its range: right for one run of 1 to 8 bits, zero for a wider run, wrong for a mask with gaps.
bool isShortRun(quint32 mask, int bits)
{
    if (mask == 0 || (quint64(mask) >> bits) != 0)
        return false;
    const quint32 run = mask >> std::countr_zero(mask);
    return run <= 0xFF && (run & (run + 1)) == 0;
}

// Whether every pixel's fourth byte is 255, so that taking it for alpha changes nothing. A picture too
// large to be decoded whole is refused anyway, and not read.
bool fourthBytesOpaque(QIODevice& device, qint64 dataAt, qint64 pixels)
{
    const qint64 start = device.pos();
    if (pixels > MaxWholeDecodePixels || !device.seek(start + dataAt))
        return false;
    QByteArray chunk(qint64(1) << 16, Qt::Uninitialized);
    bool opaque = true;
    for (qint64 left = pixels * 4; opaque && left > 0;) {
        const qint64 wanted = std::min(left, qint64(chunk.size()));
        opaque = device.read(chunk.data(), wanted) == wanted;
        for (qint64 at = 3; opaque && at < wanted; at += 4)
            opaque = quint8(chunk.at(at)) == 0xFF;
        left -= wanted;
    }
    return device.seek(start) && opaque;
}

} // namespace

BmpLayout readBmpLayout(QIODevice& device)
{
    const QByteArray head = device.peek(FileHeaderBytes + V5HeaderBytes);
    if (head.size() < FileHeaderBytes + 4 || !head.startsWith("BM"))
        return {};
    const auto dataAt = numberAt<quint32>(head, 10);
    const auto headerBytes = numberAt<quint32>(head, 14);
    // The reader takes a header of any other size for a core header, reading its numbers from the
    // wrong places.
    if (!isKnownHeaderSize(headerBytes) || head.size() < FileHeaderBytes + qint64(headerBytes))
        return {};
    const bool core = headerBytes == CoreHeaderBytes;
    const qint64 width = core ? numberAt<qint16>(head, 18) : numberAt<qint32>(head, 18);
    const qint64 rows = std::abs(core ? numberAt<qint16>(head, 20) : qint64(numberAt<qint32>(head, 22)));
    const int planes = numberAt<quint16>(head, core ? 22 : 26);
    const int bits = numberAt<quint16>(head, core ? 24 : 28);
    const quint32 compression = core ? Plain : numberAt<quint32>(head, 30);
    const quint32 colours = core ? 0 : numberAt<quint32>(head, 46);
    // Other readers take an OS/2 2.x palette differently; its 24-bit pictures have none.
    if (width <= 0 || rows == 0 || planes != 1 || !isKnownKind(bits, compression) ||
        (headerBytes == Os2HeaderBytes && bits != 24))
        return {};

    qint64 paletteAt = FileHeaderBytes + headerBytes;
    if (compression == BitFields) {
        if (headerBytes == InfoHeaderBytes)
            paletteAt += ColourMaskBytes;
        if (head.size() < paletteAt)
            return {};
        const auto alpha = headerBytes >= V4HeaderBytes ? numberAt<quint32>(head, AlphaMaskAt) : 0;
        for (const qint64 at : {MasksAt, MasksAt + 4, MasksAt + 8})
            if (!isShortRun(numberAt<quint32>(head, at), bits))
                return {};
        if (alpha != 0 && !isShortRun(alpha, bits))
            return {};
    } else if (bits == 32 && headerBytes >= V4HeaderBytes && numberAt<quint32>(head, AlphaMaskAt) == FourthByte &&
               !fourthBytesOpaque(device, dataAt, width * rows)) {
        // The fourth byte of a plain picture is unused, but the reader takes it for alpha when the
        // header's alpha mask names exactly that byte; any other mask it ignores, as the format says.
        return {};
    }

    // The reader reads the whole palette, then the pixels from wherever it ended up if the pixel
    // offset points back into it.
    qint64 paletteEntries = 0;
    if (bits <= 8) {
        if (colours > (1U << bits)) // the reader refuses over 256 only when decoding, other readers any
            return {};
        paletteEntries = colours != 0 ? colours : 1 << bits;
    }
    if (dataAt < paletteAt + paletteEntries * (core ? 3 : 4))
        return {};

    const qint64 dataBytes = device.size() - dataAt;
    if (compression == RunLength8 || compression == RunLength4)
        return {dataBytes > 0, true};
    const qint64 rowBytes = (width * bits + 31) / 32 * 4;
    return {dataBytes >= 0 && dataBytes / rows >= rowBytes, false};
}

} // namespace vantelo
