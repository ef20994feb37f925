#pragma once

#include "picture/SlidePreparer.h"
#include "platform/Platform.h"

#include <QSize>
#include <QString>

#include <memory>
#include <optional>

// The show's first slide, decoded while the show's windows are made and loaded: both take time, and
// with two cores they can run side by side. Worked out from the settings and the slide list file
// alone, before any window exists, the way the show's load and first tick will work it out; the show
// then finds the picture ready. Nothing here reports anything: whatever fails is met again, and
// reported, by the load. Only once the application exists: decoding may scale, and scaling may
// paint, which needs the application's fonts.
namespace vantelo {

struct FirstSlide
{
    QString path;
    QSize decodeSize;
    std::optional<float> randomDraw; // random order: the draw that chose the row
};

// The first slide the show will show, sized for a screen of devicePixelRatio device pixels per pixel,
// or nothing when the settings or the list do not lead to one.
std::optional<FirstSlide> firstSlideAhead(RandomSource& random, qreal devicePixelRatio);

// A first slide being decoded, to hand to the show.
struct HeadStart
{
    FirstSlide slide;
    std::unique_ptr<SlidePreparer> preparer;
};

// Starts decoding the first slide in the background; nothing when there is none.
std::optional<HeadStart> startFirstSlide(RandomSource& random, qreal devicePixelRatio);

} // namespace vantelo
