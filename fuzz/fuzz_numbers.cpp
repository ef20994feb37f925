// The text-to-number rules: numericValue, textToInt16/32, isNumericText, checkedInt16. Beyond
// "no crash", the conversions must agree with one another and fail only with 13 or 6.
#include "FuzzSupport.h"

#include "common/AppError.h"
#include "common/Numbers.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <optional>

using namespace vantelo;

namespace {

template <typename F> auto failureOf(F&& f, int& number) -> std::optional<decltype(f())>
{
    number = 0;
    try {
        return f();
    } catch (const AppError& e) {
        number = e.number();
    }
    return std::nullopt;
}

void checkText(const QString& text)
{
    int leadingFailure = 0;
    const auto leading = failureOf([&] { return numericValue(text); }, leadingFailure);
    FUZZ_EXPECT(leading ? std::isfinite(*leading) : leadingFailure == ErrorNumber::Overflow);

    const bool numeric = isNumericText(text);
    int failure16 = 0;
    int failure32 = 0;
    const auto value16 = failureOf([&] { return textToInt16(text); }, failure16);
    const auto value32 = failureOf([&] { return textToInt32(text); }, failure32);

    FUZZ_EXPECT(value16 || failure16 == ErrorNumber::TypeMismatch || failure16 == ErrorNumber::Overflow);
    FUZZ_EXPECT(value32 || failure32 == ErrorNumber::TypeMismatch || failure32 == ErrorNumber::Overflow);
    // Whether a text is a number does not depend on the width asked for.
    FUZZ_EXPECT((failure16 == ErrorNumber::TypeMismatch) == (failure32 == ErrorNumber::TypeMismatch));
    FUZZ_EXPECT(numeric == (failure32 != ErrorNumber::TypeMismatch));
    if (value16) {
        FUZZ_EXPECT(value32 && *value32 == *value16);
    }
    // A whole-number text is its own leading number, so both readings round to the same value.
    if (value32) {
        FUZZ_EXPECT(leading);
        int roundFailure = 0;
        const auto rounded = failureOf([&] { return roundToInt32(*leading); }, roundFailure);
        FUZZ_EXPECT(rounded && *rounded == *value32);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = fuzz::bytesOf(data, size);
    checkText(QString::fromUtf8(bytes));
    // Every UTF-16 unit, lone surrogates included, as a settings file or list line may hold them.
    checkText(QString(reinterpret_cast<const QChar*>(bytes.constData()), bytes.size() / 2));

    if (size >= sizeof(std::int64_t)) {
        std::int64_t wide = 0;
        std::memcpy(&wide, data, sizeof wide);
        int failure = 0;
        const auto narrow = failureOf([&] { return checkedInt16(wide); }, failure);
        const bool fits =
            wide >= std::numeric_limits<std::int16_t>::min() && wide <= std::numeric_limits<std::int16_t>::max();
        FUZZ_EXPECT(fits ? (narrow && *narrow == wide) : failure == ErrorNumber::Overflow);

        double real = 0;
        std::memcpy(&real, data, sizeof real);
        const auto whole = failureOf([&] { return roundToInt32(real); }, failure);
        FUZZ_EXPECT(whole || failure == ErrorNumber::Overflow);
        if (whole) {
            FUZZ_EXPECT(std::fabs(real - *whole) <= 0.5);
        }
    }
    return 0;
}
