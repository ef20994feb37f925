#pragma once

#include <QImage>

// The About box's two 32 x 32 icons, drawn here rather than shipped as files.
namespace vantelo {

inline constexpr int AboutIconSize = 32;

// A framed landscape: the pictures the program shows.
QImage drawPictureIcon();
// Two slide mounts, one over the other, with a play mark: the slide show.
QImage drawSlidesIcon();

} // namespace vantelo
