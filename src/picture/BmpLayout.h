#pragma once

#include <QIODevice>

// What Qt's BMP reader will make of a BMP file, read from its headers without decoding anything.
// The reader shows most BMPs as their makers meant them, but gets a few kinds wrong without failing:
// a colour mask wider than 8 bits or with gaps in it (a channel comes out black or wrong), the unused
// fourth byte of a plain 32-bit picture taken as alpha when the header's alpha mask names that byte (a
// picture whose fourth bytes are not all 255 comes out see-through), a palette that runs into the pixels or an
// OS/2 2.x palette (colours shifted), and pixel rows cut short (the missing ones left as the memory
// was). It also measures, then refuses to decode, a palette larger than the bits can index.
// A channel of fewer than 8 bits is scaled up by multiplying, so a 5-bit one tops out at 248, not
// 255: close enough to show.
namespace vantelo {

struct BmpLayout
{
    bool shownAsMade = false; // none of the kinds above: the reader decodes it as its maker meant
    bool runLength = false;   // RLE4 or RLE8 pixels, whose runs may skip pixels
};

// Reads the headers at the device's current position and leaves it there; the device's size tells
// whether the pixel rows are all there. Only a plain 32-bit picture whose header names its fourth byte as
// alpha has its pixels read as well.
BmpLayout readBmpLayout(QIODevice& device);

} // namespace vantelo
