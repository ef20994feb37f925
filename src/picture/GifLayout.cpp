#include "picture/GifLayout.h"

#include <QByteArray>

namespace vantelo {
namespace {

constexpr int HeaderBytes = 6 + 7;      // signature and version, logical screen descriptor
constexpr int ImageDescriptorBytes = 9; // after its ',' introducer
constexpr int MaxCodeBits = 12;

bool skip(QIODevice& device, qint64 bytes)
{
    return device.skip(bytes) == bytes;
}

bool skipColourTable(QIODevice& device, char flags)
{
    return !(flags & 0x80) || skip(device, qint64(3) << ((flags & 7) + 1));
}

// The reader takes the first byte of a graphic control or application extension as a length even
// when it is zero, where the format would end the extension there; it is followed here the same way.
bool skipExtension(QIODevice& device)
{
    char label = 0;
    char size = 0;
    if (!device.getChar(&label))
        return false;
    if ((label == '\xF9' || label == '\xFF') && (!device.getChar(&size) || !skip(device, quint8(size))))
        return false;
    for (;;) {
        if (!device.getChar(&size))
            return false;
        if (size == 0)
            return true;
        if (!skip(device, quint8(size)))
            return false;
    }
}

} // namespace

bool gifFirstImageHasData(QIODevice& device)
{
    const QByteArray header = device.read(HeaderBytes);
    if (header.size() < HeaderBytes || !skipColourTable(device, header[10]))
        return false;
    char introducer = 0;
    while (device.getChar(&introducer) && introducer == '!')
        if (!skipExtension(device))
            return false;
    if (introducer != ',')
        return false;
    const QByteArray descriptor = device.read(ImageDescriptorBytes);
    char codeBits = 0;
    char blockSize = 0;
    return descriptor.size() == ImageDescriptorBytes && skipColourTable(device, descriptor[8]) &&
           device.getChar(&codeBits) && quint8(codeBits) <= MaxCodeBits && device.getChar(&blockSize) &&
           (blockSize == 0 || device.getChar(nullptr));
}

} // namespace vantelo
