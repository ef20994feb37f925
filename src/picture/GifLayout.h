#pragma once

#include <QIODevice>

// Whether a GIF's first picture has what Qt's GIF reader needs to decode it, read from the blocks
// before its coded pixels. The reader measures a GIF by its first image descriptor alone, and only
// when decoding refuses one that ends before the coded pixels begin or announces codes of more than
// 12 bits. Coded pixels it cannot follow are refused only when decoded: finding them means decoding.
namespace vantelo {

// Reads from the device's current position, where the GIF starts, and leaves the position anywhere.
bool gifFirstImageHasData(QIODevice& device);

} // namespace vantelo
