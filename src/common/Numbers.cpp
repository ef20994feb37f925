#include "common/Numbers.h"

#include "common/AppError.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

namespace vantelo {
namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Length of the longest prefix of text (from pos) that forms a decimal number:
// sign, digits, optional fraction, optional exponent. Returns 0 when no digit is found.
qsizetype scanNumber(QStringView text, qsizetype pos, std::string& out)
{
    const qsizetype start = pos;
    const qsizetype n = text.size();
    if (pos < n && (text[pos] == u'+' || text[pos] == u'-')) {
        out += static_cast<char>(text[pos].unicode());
        ++pos;
    }
    bool digits = false;
    while (pos < n && isDigit(text[pos])) {
        out += static_cast<char>(text[pos].unicode());
        ++pos;
        digits = true;
    }
    if (pos < n && text[pos] == u'.') {
        out += '.';
        ++pos;
        while (pos < n && isDigit(text[pos])) {
            out += static_cast<char>(text[pos].unicode());
            ++pos;
            digits = true;
        }
    }
    if (!digits) {
        out.clear();
        return 0;
    }
    if (pos < n && (text[pos] == u'e' || text[pos] == u'E' || text[pos] == u'd' || text[pos] == u'D')) {
        qsizetype e = pos + 1;
        std::string exponent = "e";
        if (e < n && (text[e] == u'+' || text[e] == u'-')) {
            exponent += static_cast<char>(text[e].unicode());
            ++e;
        }
        bool expDigits = false;
        while (e < n && isDigit(text[e])) {
            exponent += static_cast<char>(text[e].unicode());
            ++e;
            expDigits = true;
        }
        if (expDigits) {
            out += exponent;
            pos = e;
        }
    }
    return pos - start;
}

double toDouble(const std::string& number)
{
    // from_chars ignores the locale, so a decimal point is a point whatever the user's language.
    const char* first = number.data();
    if (*first == '+')
        ++first;
    double value = 0.0;
    const auto [end, ec] = std::from_chars(first, number.data() + number.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Too small to represent is zero; too large is the platform's overflow.
        if (number.find("e-") != std::string::npos)
            return 0.0;
        throw AppError(ErrorNumber::Overflow);
    }
    if (ec != std::errc() || !std::isfinite(value))
        throw AppError(ErrorNumber::Overflow);
    return value;
}

std::optional<double> wholeTextNumber(QStringView text)
{
    qsizetype pos = 0;
    const qsizetype n = text.size();
    while (pos < n && isBlank(text[pos]))
        ++pos;
    std::string number;
    const qsizetype len = scanNumber(text, pos, number);
    if (len == 0)
        return std::nullopt;
    pos += len;
    while (pos < n && isBlank(text[pos]))
        ++pos;
    if (pos != n)
        return std::nullopt;
    return toDouble(number);
}

template <typename Int> Int roundChecked(double value)
{
    if (std::isnan(value))
        throw AppError(ErrorNumber::Overflow);
    const double rounded = std::nearbyint(value); // the default rounding mode is to nearest, ties to even
    if (rounded < static_cast<double>(std::numeric_limits<Int>::min()) ||
        rounded > static_cast<double>(std::numeric_limits<Int>::max()))
        throw AppError(ErrorNumber::Overflow);
    return static_cast<Int>(rounded);
}

} // namespace

double numericValue(QStringView text)
{
    qsizetype pos = 0;
    while (pos < text.size() && isBlank(text[pos]))
        ++pos;
    std::string number;
    if (scanNumber(text, pos, number) == 0)
        return 0.0;
    return toDouble(number);
}

std::int16_t roundToInt16(double value)
{
    return roundChecked<std::int16_t>(value);
}

std::int32_t roundToInt32(double value)
{
    return roundChecked<std::int32_t>(value);
}

std::int16_t textToInt16(QStringView text)
{
    const auto value = wholeTextNumber(text);
    if (!value)
        throw AppError(ErrorNumber::TypeMismatch);
    return roundToInt16(*value);
}

std::int32_t textToInt32(QStringView text)
{
    const auto value = wholeTextNumber(text);
    if (!value)
        throw AppError(ErrorNumber::TypeMismatch);
    return roundToInt32(*value);
}

bool isNumericText(QStringView text)
{
    try {
        return wholeTextNumber(text).has_value();
    } catch (const AppError&) {
        return true; // a number, just too large for a double
    }
}

std::int16_t checkedInt16(std::int64_t value)
{
    if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max())
        throw AppError(ErrorNumber::Overflow);
    return static_cast<std::int16_t>(value);
}

} // namespace vantelo
