#pragma once

#include "picture/SlidePreparer.h"
#include "platform/Platform.h"

#include <QSize>
#include <QString>

#include <memory>
#include <optional>

// The show's first slide, decoded while the program is still starting: the window system's start-up
// and the decode of a large photo each take a good part of a second, and with two cores they can
// run side by side. Worked out from the settings and the slide list file alone, before any window
// exists, the way the show's load and first tick will work it out; the show then finds the picture
// ready. Nothing here reports anything: whatever fails is met again, and reported, by the load.
namespace vantelo {

struct FirstSlide
{
    QString path;
    QSize decodeSize;               // for a screen of one device pixel per pixel
    std::optional<float> randomDraw; // random order: the draw that chose the row
};

// The first slide the show will show, or nothing when the settings or the list do not lead to one.
std::optional<FirstSlide> firstSlideAhead(RandomSource& random);

// A first slide being decoded, to hand to the show.
struct HeadStart
{
    FirstSlide slide;
    std::unique_ptr<SlidePreparer> preparer;
};

// Starts decoding the first slide in the background; nothing when there is none.
std::optional<HeadStart> startFirstSlide(RandomSource& random);

} // namespace vantelo
