#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// Picture files: BMP, GIF and JPEG, judged by their content, never by their name. Pictures are
// read upright: a JPEG's orientation tag is applied, so a portrait phone photo measures and shows
// as portrait. Safe to call from any thread.
namespace vantelo {

// The largest decoded image the program will allocate, in megabytes (Qt's reader refuses larger).
inline constexpr int PictureAllocationLimitMB = 256;

// The picture's upright size in pixels, read from its header only.
// Fails with AppError 53 when the file does not exist, 481 "Invalid picture" when it is not a
// readable BMP, GIF or JPEG.
QSize measurePicture(const QString& path);

// Decodes the picture upright, straight to displaySize when one is given (stretched to exactly
// that size, the way an image box stretches its picture), else at its own size. Decoding to the
// size shown lets JPEG skip most of the work and memory of a full decode.
// Fails like measurePicture, and with 481 when the content cannot be decoded.
QImage decodePicture(const QString& path, const QSize& displaySize = QSize());

} // namespace vantelo
