#include "config/PreviewFitting.h"

#include "common/AppError.h"
#include "common/SizeText.h"
#include "config/VanteloLayout.h"

#include <algorithm>
#include <cmath>

namespace vantelo {
namespace {

// The line every fitted box is centred on, from the design: the list view's left edge, less half
// the browser frame's right edge, less the centring offset (266.5).
constexpr float previewCentreLine()
{
    constexpr QRect list = layout::control("lvwMain").rect;
    constexpr QRect frame = layout::control("fraDirectory").rect;
    return float(list.left()) - float(frame.left() + frame.width()) / 2.0f - PreviewCentringOffset;
}

int boundedSide(int side)
{
    return std::clamp(side, 1, MaxPreviewDecodeSide);
}

} // namespace

QRectF fitPreviewBox(QStringView sizeText)
{
    const SizeNumbers numbers = readSizeText(sizeText);
    if (numbers.width == 0 || numbers.height == 0)
        throw AppError(ErrorNumber::DivisionByZero);
    const float factor = FittedBoxHeight / float(numbers.height);
    const float width = float(numbers.width) * factor;
    const float height = float(numbers.height) * factor;
    if (width < 0.0f || height < 0.0f) // only a hand-edited size text can be negative
        throw AppError(ErrorNumber::InvalidProcedureCall);
    const float left = previewCentreLine() - width / 2.0f;
    return QRectF(left, FittedBoxTop, width, height);
}

QRect pixelRect(const QRectF& box)
{
    return QRect(int(std::lround(box.left())), int(std::lround(box.top())), int(std::lround(box.width())),
                 int(std::lround(box.height())));
}

QSize previewDecodeSize(QStringView sizeText)
{
    QSize size{int(FittedBoxHeight), int(FittedBoxHeight)};
    try {
        size = pixelRect(fitPreviewBox(sizeText)).size();
    } catch (const AppError&) {
    }
    return QSize(boundedSide(size.width()), boundedSide(size.height()));
}

} // namespace vantelo
