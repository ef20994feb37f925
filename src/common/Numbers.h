#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>

// Whole numbers and their conversion from text, with the platform's rules: 16-bit and 32-bit
// signed ranges, halves rounded to the even neighbour, type mismatch (13) for a text that is no
// number, overflow (6) for a number outside the target width.
namespace vantelo {

// The numeric-value reading of text: leading blanks are skipped, reading stops at the first
// character that cannot continue a number, and a text without a leading number reads as 0.
// Understands a sign, decimals and an exponent ("1e2" is 100). Fails with overflow only for a
// number beyond the double range.
double numericValue(QStringView text);

// Whole number nearest to value, halves to the even neighbour, checked against the width.
std::int16_t roundToInt16(double value);
std::int32_t roundToInt32(double value);

// Text-to-integer conversion: the whole text (blanks around it allowed) must be a number.
std::int16_t textToInt16(QStringView text);
std::int32_t textToInt32(QStringView text);

// Whether textToInt16 would accept the text as a number at all (no conversion, no exception).
bool isNumericText(QStringView text);

// A 16-bit product or sum, failing with overflow like the platform's integer arithmetic.
std::int16_t checkedInt16(std::int64_t value);

} // namespace vantelo
