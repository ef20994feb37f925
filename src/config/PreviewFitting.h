#pragma once

#include <QRect>
#include <QRectF>
#include <QSize>
#include <QStringView>

// Where the preview box goes for a picture of a given size text. Every measured picture is shown
// 133 pixels high, its width following from its proportions, centred on the preview's centre line
// x = 266.5 under the window's layout. Computed in single precision, as the window always has, so a
// box lands on the same fractional pixel as before.
namespace vantelo {

inline constexpr float FittedBoxHeight = 133.0f;
inline constexpr float FittedBoxTop = 44.0f;
inline constexpr float PreviewCentringOffset = 25.0f;

// The preview box of the default picture, which is never measured.
inline constexpr QRectF DefaultPreviewBox{204.0, 36.0, 125.0, 145.0};

// The fitted box (left, top, width, height) for a size text, height first around the first capital
// "X". Fails with division by zero (11) for a zero height or width and for a text without an "X",
// and with overflow (6) for a number above 32767.
QRectF fitPreviewBox(QStringView sizeText);

// The whole pixels a box covers on screen.
QRect pixelRect(const QRectF& box);

// The longest side the preview ever decodes a picture to. A box can be far wider than the window
// (a panorama is still shown 133 high), but nothing beyond the window is ever seen, and decoding to
// millions of pixels would only waste memory.
inline constexpr int MaxPreviewDecodeSide = 4096;

// The size to decode a picture to for the preview: the pixels of its fitted box, bounded. When the
// size text cannot be fitted, fitting the preview reports that and the picture is never shown, so a
// small square serves to prove the picture decodes.
QSize previewDecodeSize(QStringView sizeText);

} // namespace vantelo
