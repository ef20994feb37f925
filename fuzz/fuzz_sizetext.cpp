// The size text "h X w": any text reads as two 16-bit numbers or fails with overflow (6), and
// every size text the program writes reads back as the numbers it was made from.
#include "FuzzSupport.h"

#include "common/AppError.h"
#include "common/Numbers.h"
#include "common/SizeText.h"

#include <cstring>

using namespace vantelo;

namespace {

void checkText(const QString& text)
{
    try {
        const SizeNumbers read = readSizeText(text);
        // Without a capital X there is no height, and the width is the text's leading number.
        if (!text.contains(u'X')) {
            FUZZ_EXPECT(read.height == 0);
            FUZZ_EXPECT(read.width == roundToInt16(numericValue(text)));
        }
    } catch (const AppError& e) {
        FUZZ_EXPECT(e.number() == ErrorNumber::Overflow);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    checkText(QString::fromUtf8(bytes));
    checkText(QString(reinterpret_cast<const QChar*>(bytes.constData()), bytes.size() / 2));

    if (size >= 2 * sizeof(std::int16_t)) {
        std::int16_t height = 0;
        std::int16_t width = 0;
        std::memcpy(&height, data, sizeof height);
        std::memcpy(&width, data + sizeof height, sizeof width);
        const SizeNumbers read = readSizeText(makeSizeText(height, width));
        FUZZ_EXPECT(read.height == height && read.width == width);
    }
    return 0;
}
