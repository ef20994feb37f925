#include "show/ShowGeometry.h"

#include "common/AppError.h"
#include "common/Numbers.h"

#include <QWidget>

#include <algorithm>
#include <cmath>

namespace vantelo {
namespace {

int checkedLength(float length)
{
    const std::int32_t pixels = roundToInt32(length);
    if (pixels < 0)
        throw AppError(ErrorNumber::InvalidPropertyValue);
    if (pixels > QWIDGETSIZE_MAX)
        throw AppError(ErrorNumber::Overflow);
    return pixels;
}

} // namespace

QRect slideBox(std::int16_t workWidth, std::int16_t workHeight, const SizeNumbers& size)
{
    if (size.width == 0 || size.height == 0)
        throw AppError(ErrorNumber::DivisionByZero);
    const float scale = static_cast<float>(static_cast<double>(workHeight) / size.height);
    const int width = checkedLength(static_cast<float>(size.width) * scale);
    const int height = checkedLength(static_cast<float>(size.height) * scale);
    // Centred with the box's own whole-pixel lengths, so both margins come out equal.
    const std::int32_t left = roundToInt32(workWidth / 2.0 - width / 2.0);
    const std::int32_t top = roundToInt32(workHeight / 2.0 - height / 2.0);
    return QRect(left, top, width, height);
}

QSize decodeSizeFor(const QSize& box, qreal devicePixelRatio)
{
    const QSize devicePixels = (QSizeF(box) * devicePixelRatio).toSize();
    double width = std::max(1, devicePixels.width());
    double height = std::max(1, devicePixels.height());
    const double pixels = width * height;
    if (pixels > static_cast<double>(MaxDecodedPixels)) {
        const double shrink = std::sqrt(static_cast<double>(MaxDecodedPixels) / pixels);
        width = std::floor(width * shrink);
        height = std::floor(height * shrink);
    }
    return QSize(std::max(1, static_cast<int>(width)), std::max(1, static_cast<int>(height)));
}

std::int16_t showLength(int pixels)
{
    return static_cast<std::int16_t>(std::clamp(pixels, 0, 32767));
}

} // namespace vantelo
