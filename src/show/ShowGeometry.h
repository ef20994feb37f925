#pragma once

#include "common/SizeText.h"

#include <QRect>
#include <QSize>

#include <cstdint>

// Where a slide's picture goes on the show window. The stored size text decides, never the picture
// file itself: a picture replaced by one of another size keeps the proportions the list recorded.
namespace vantelo {

// The picture box for a slide of the given size on a work area of workWidth x workHeight pixels:
// scaled, up or down, to exactly the work-area height and centred on the work area. A picture
// proportionally wider than the work area comes out wider than it and is cut off at both sides.
// The scale and the lengths are single precision; whole pixels are taken halves to even.
// Fails with division by zero (11) when the width or the height is 0, with 380 "Invalid property
// value" for a negative length and with overflow (6) for a box too large for any window.
QRect slideBox(std::int16_t workWidth, std::int16_t workHeight, const SizeNumbers& size);

// The most pixels a slide is decoded to (64 MB at four bytes a pixel). A box beyond that only
// happens for absurd size texts; it is decoded smaller and stretched when drawn.
inline constexpr qint64 MaxDecodedPixels = 4096LL * 4096LL;

// The size to decode a picture at for a box on a screen of devicePixelRatio device pixels per
// pixel, so that a high-density screen gets a sharp picture: the box in device pixels, at least one
// pixel each way and within MaxDecodedPixels (keeping the box's proportions).
QSize decodeSizeFor(const QSize& box, qreal devicePixelRatio = 1.0);

// A window's length as the show's 16-bit lengths hold it: a window system may allow windows beyond
// 16 bits, the show's lengths stop there.
std::int16_t showLength(int pixels);

} // namespace vantelo
