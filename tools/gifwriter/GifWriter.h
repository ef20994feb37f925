#pragma once

#include <QByteArray>
#include <QImage>

// A small GIF encoder for the pictures our tests and the build make (Qt reads GIF but does not
// write it). Colours are reduced to a 6x6x6 cube plus greys; the LZW stream is kept at 9-bit codes
// by clearing the table often, which is simple and valid, if not small.
namespace vantelo::tools {

QByteArray encodeGif(const QImage& image);
bool writeGif(const QImage& image, const QString& path);

} // namespace vantelo::tools
