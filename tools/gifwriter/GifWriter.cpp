#include "GifWriter.h"

#include <QFile>

#include <array>
#include <vector>

namespace vantelo::tools {
namespace {

struct Palette
{
    std::array<QRgb, 256> colours{};
    Palette()
    {
        int i = 0;
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b)
                    colours[i++] = qRgb(r * 51, g * 51, b * 51);
        for (; i < 256; ++i) {
            const int grey = (i - 216) * 255 / 39;
            colours[i] = qRgb(grey, grey, grey);
        }
    }
    int nearest(QRgb c) const
    {
        int best = 0;
        int bestDistance = 1 << 30;
        for (int i = 0; i < 256; ++i) {
            const int dr = qRed(c) - qRed(colours[i]);
            const int dg = qGreen(c) - qGreen(colours[i]);
            const int db = qBlue(c) - qBlue(colours[i]);
            const int d = dr * dr + dg * dg + db * db;
            if (d < bestDistance) {
                bestDistance = d;
                best = i;
            }
        }
        return best;
    }
};

class BitPacker
{
public:
    void put(int code, int width)
    {
        m_accumulator |= static_cast<quint32>(code) << m_bits;
        m_bits += width;
        while (m_bits >= 8) {
            m_bytes.push_back(static_cast<char>(m_accumulator & 0xFF));
            m_accumulator >>= 8;
            m_bits -= 8;
        }
    }
    QByteArray finish()
    {
        if (m_bits > 0)
            m_bytes.push_back(static_cast<char>(m_accumulator & 0xFF));
        return m_bytes;
    }

private:
    QByteArray m_bytes;
    quint32 m_accumulator = 0;
    int m_bits = 0;
};

void putWord(QByteArray& out, int value)
{
    out.append(static_cast<char>(value & 0xFF));
    out.append(static_cast<char>((value >> 8) & 0xFF));
}

} // namespace

QByteArray encodeGif(const QImage& source)
{
    static const Palette palette;
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    QByteArray out("GIF89a");
    putWord(out, image.width());
    putWord(out, image.height());
    out.append(static_cast<char>(0xF7)); // global colour table of 256 entries
    out.append('\0').append('\0');
    for (QRgb c : palette.colours)
        out.append(static_cast<char>(qRed(c))).append(static_cast<char>(qGreen(c))).append(static_cast<char>(qBlue(c)));
    out.append(',');
    putWord(out, 0);
    putWord(out, 0);
    putWord(out, image.width());
    putWord(out, image.height());
    out.append('\0');
    out.append(static_cast<char>(8)); // minimum code size

    constexpr int Clear = 256;
    constexpr int End = 257;
    BitPacker packer;
    packer.put(Clear, 9);
    int sinceClear = 0;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            packer.put(palette.nearest(line[x]), 9);
            // Each literal adds a table entry; clearing before the table reaches 512 keeps codes 9 bits wide.
            if (++sinceClear == 254) {
                packer.put(Clear, 9);
                sinceClear = 0;
            }
        }
    }
    packer.put(End, 9);
    const QByteArray data = packer.finish();
    for (qsizetype i = 0; i < data.size(); i += 255) {
        const qsizetype n = std::min<qsizetype>(255, data.size() - i);
        out.append(static_cast<char>(n));
        out.append(data.constData() + i, n);
    }
    out.append('\0');
    out.append(';');
    return out;
}

bool writeGif(const QImage& image, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = encodeGif(image);
    return file.write(bytes) == bytes.size() && file.flush();
}

} // namespace vantelo::tools
