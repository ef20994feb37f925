#include "picture/JpegLayout.h"

#include <QByteArray>

#include <algorithm>
#include <array>
#include <cstring>

namespace vantelo {
namespace {

constexpr qint64 ChunkBytes = qint64(64) * 1024;
constexpr int BlockBytes = 64 * 2; // 64 coefficients of 16 bits
constexpr int MaxComponents = 10;  // what the decoder accepts in a frame
constexpr int MaxComponentsInScan = 4;
constexpr int MaxQuantTables = 4;

// Sequential bytes from a device, in chunks, with a fast search for the next marker.
class ByteReader
{
public:
    explicit ByteReader(QIODevice& device) : m_device(device) {}

    // The next byte, or -1 at the end of the data.
    int next()
    {
        if (m_pos == m_buffer.size() && !refill())
            return -1;
        return static_cast<unsigned char>(m_buffer[m_pos++]);
    }

    // A 16-bit big-endian number, or -1 at the end of the data.
    int next16()
    {
        const int high = next();
        const int low = next();
        return high < 0 || low < 0 ? -1 : high << 8 | low;
    }

    bool skip(qint64 count)
    {
        while (count > 0) {
            if (m_pos == m_buffer.size() && !refill())
                return false;
            const qint64 step = std::min<qint64>(count, m_buffer.size() - m_pos);
            m_pos += step;
            count -= step;
        }
        return true;
    }

    // Moves to the next 0xFF byte and past it; false at the end of the data.
    bool skipPastNextFF()
    {
        for (;;) {
            if (m_pos == m_buffer.size() && !refill())
                return false;
            const char* start = m_buffer.constData() + m_pos;
            const void* found = std::memchr(start, 0xFF, static_cast<std::size_t>(m_buffer.size() - m_pos));
            if (found) {
                m_pos += static_cast<const char*>(found) - start + 1;
                return true;
            }
            m_pos = m_buffer.size();
        }
    }

private:
    bool refill()
    {
        m_buffer = m_device.read(ChunkBytes);
        m_pos = 0;
        return !m_buffer.isEmpty();
    }

    QIODevice& m_device;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
};

// The code of the next marker, skipping what the decoder skips on its way to one: stray bytes and
// fill bytes (0xFF repeated). Inside entropy-coded data, stuffed zeros and restart markers belong
// to the scan and are passed over too. -1 at the end of the data.
int nextMarker(ByteReader& bytes, bool inScan)
{
    for (;;) {
        if (!bytes.skipPastNextFF())
            return -1;
        int code = bytes.next();
        while (code == 0xFF)
            code = bytes.next();
        if (code < 0)
            return -1;
        if (code == 0x00)
            continue;
        if (inScan && code >= 0xD0 && code <= 0xD7)
            continue;
        return code;
    }
}

struct Component
{
    int id = 0;
    int quantTable = 0;
    int h = 1;
    int v = 1;
    std::int64_t widthInBlocks = 0;
    std::int64_t heightInBlocks = 0;
};

std::int64_t divideRoundingUp(std::int64_t a, std::int64_t b)
{
    return (a + b - 1) / b;
}

std::int64_t roundUp(std::int64_t a, std::int64_t b)
{
    return divideRoundingUp(a, b) * b;
}

bool isFrameMarker(int code)
{
    return code >= 0xC0 && code <= 0xCF && code != 0xC4 && code != 0xC8 && code != 0xCC;
}

class LayoutReader
{
public:
    LayoutReader(QIODevice& device, int maxScans) : m_bytes(device), m_maxScans(maxScans) {}

    JpegLayout read()
    {
        if (m_bytes.next() != 0xFF || m_bytes.next() != 0xD8)
            return m_layout;
        int code = nextMarker(m_bytes, false);
        while (code >= 0) {
            if (code == 0xD9 || code == 0xD8) // end of image; a second start is an error to the decoder
                break;
            if (code == 0x01 || (code >= 0xD0 && code <= 0xD7)) { // markers without a length
                code = nextMarker(m_bytes, false);
                continue;
            }
            const int length = m_bytes.next16();
            if (length < 2)
                break;
            if (isFrameMarker(code)) {
                if (m_layout.hasFrame || !readFrame(code, length))
                    break;
            } else if (code == 0xDB) {
                if (!readQuantTables(length))
                    break;
            } else if (code == 0xDA) {
                if (!readScan(length))
                    break;
                code = nextMarker(m_bytes, true);
                continue;
            } else if (!m_bytes.skip(length - 2)) {
                break;
            }
            code = nextMarker(m_bytes, false);
        }
        return m_layout;
    }

private:
    bool readFrame(int code, int length)
    {
        const int precision = m_bytes.next();
        const int height = m_bytes.next16();
        const int width = m_bytes.next16();
        const int count = m_bytes.next();
        if (precision < 0 || height < 0 || width < 0 || count < 1 || count > MaxComponents || length != 8 + 3 * count)
            return false;
        int maxH = 1;
        int maxV = 1;
        for (int i = 0; i < count; ++i) {
            Component& c = m_components[i];
            c.id = m_bytes.next();
            const int sampling = m_bytes.next();
            c.quantTable = m_bytes.next();
            if (c.id < 0 || sampling < 0 || c.quantTable < 0)
                return false;
            c.h = sampling >> 4;
            c.v = sampling & 0x0F;
            if (c.h < 1 || c.h > 4 || c.v < 1 || c.v > 4)
                return false;
            maxH = std::max(maxH, c.h);
            maxV = std::max(maxV, c.v);
        }
        m_count = count;
        m_maxH = maxH;
        m_maxV = maxV;
        for (int i = 0; i < count; ++i) {
            Component& c = m_components[i];
            c.widthInBlocks = divideRoundingUp(std::int64_t(width) * c.h, std::int64_t(maxH) * 8);
            c.heightInBlocks = divideRoundingUp(std::int64_t(height) * c.v, std::int64_t(maxV) * 8);
        }
        m_layout.hasFrame = true;
        m_layout.width = width;
        m_layout.height = height;
        m_layout.progressive = code == 0xC2 || code == 0xC6 || code == 0xCA || code == 0xCE;
        return true;
    }

    // Notes which quantization tables a DQT marker defines.
    bool readQuantTables(int length)
    {
        for (int left = length - 2; left > 0;) {
            const int which = m_bytes.next();
            const int bytes = (which >> 4) != 0 ? 128 : 64; // 16-bit or 8-bit values
            if (which < 0 || !m_bytes.skip(bytes))
                return false;
            if ((which & 0x0F) < MaxQuantTables)
                m_quantTables |= 1 << (which & 0x0F);
            left -= 1 + bytes;
        }
        return true;
    }

    // Counts one scan and the blocks it passes over; false when there is nothing more to learn.
    bool readScan(int length)
    {
        if (!m_layout.hasFrame)
            return false;
        const int count = m_bytes.next();
        if (count < 1 || count > MaxComponentsInScan || length != 6 + 2 * count)
            return false;
        std::array<const Component*, MaxComponentsInScan> inScan{};
        for (int i = 0; i < count; ++i) {
            const int id = m_bytes.next();
            if (id < 0 || m_bytes.next() < 0)
                return false;
            const auto found = std::find_if(m_components.begin(), m_components.begin() + m_count,
                                            [id](const Component& c) { return c.id == id; });
            if (found == m_components.begin() + m_count)
                return false; // the decoder stops at a scan of an unknown component
            inScan[i] = &*found;
            if (found->quantTable >= MaxQuantTables || !(m_quantTables & (1 << found->quantTable)))
                m_layout.quantTableMissing = true;
        }
        if (!m_bytes.skip(3)) // spectral selection and successive approximation
            return false;

        if (m_layout.scans == 0) {
            m_layout.wholeImageBuffer = m_layout.progressive || count < m_count;
            if (!m_layout.wholeImageBuffer)
                return false;
            for (int i = 0; i < m_count; ++i) {
                const Component& c = m_components[i];
                m_layout.coefficientBytes +=
                    roundUp(c.widthInBlocks, c.h) * roundUp(c.heightInBlocks, c.v) * BlockBytes;
            }
        }
        ++m_layout.scans;
        if (count == 1) {
            m_layout.scanBlocks += inScan[0]->widthInBlocks * inScan[0]->heightInBlocks;
        } else {
            const std::int64_t mcus = divideRoundingUp(m_layout.width, std::int64_t(m_maxH) * 8) *
                                      divideRoundingUp(m_layout.height, std::int64_t(m_maxV) * 8);
            for (int i = 0; i < count; ++i)
                m_layout.scanBlocks += mcus * inScan[i]->h * inScan[i]->v;
        }
        return m_layout.scans <= m_maxScans;
    }

    ByteReader m_bytes;
    int m_maxScans;
    JpegLayout m_layout;
    std::array<Component, MaxComponents> m_components{};
    int m_count = 0;
    int m_maxH = 1;
    int m_maxV = 1;
    int m_quantTables = 0; // bit n: table n defined
};

} // namespace

JpegLayout readJpegLayout(QIODevice& device, int maxScans)
{
    return LayoutReader(device, maxScans).read();
}

} // namespace vantelo
