#pragma once

#include "picture/SlidePreparer.h"
#include "platform/Platform.h"

#include <QSize>
#include <QString>

#include <memory>
#include <optional>

// The show's first slide, decoded while the program is still starting: making the show's windows and
// decoding a large photo both take time, and with two cores they can run side by side. Worked out
// from the settings and the slide list file alone, before any window exists, the way the show's load
// and first tick will work it out; the show then finds the picture ready. Nothing here reports
// anything: whatever fails is met again, and reported, by the load.
namespace vantelo {

struct FirstSlide
{
    QString path;
    QSize box; // in pixels, before the screen's density
    QSize decodeSize;
    std::optional<float> randomDraw; // random order: the draw that chose the row
};

// The first slide the show will show, sized for a screen of one device pixel per pixel (the screen
// is not known yet; settleDensity below mends a wrong guess), or nothing when the settings or the
// list do not lead to one.
std::optional<FirstSlide> firstSlideAhead(RandomSource& random);

// A first slide being decoded, to hand to the show.
struct HeadStart
{
    FirstSlide slide;
    std::unique_ptr<SlidePreparer> preparer;
};

// Starts decoding the first slide in the background; nothing when there is none. May be called
// before the application exists: the picture's decoder, a plugin, is looked up on the calling
// thread, since a lookup on another thread could meet the application's start, which resets the
// folders plugins are looked up in.
std::optional<HeadStart> startFirstSlide(RandomSource& random);

// Once the screen's density is known, a wrong guess is decoded again at the right size; the preparer of the guess is
// handed back, still decoding, so that waiting for it is left to whoever can afford it. Nothing when the guess was
// right.
std::unique_ptr<SlidePreparer> settleDensity(HeadStart& start, qreal devicePixelRatio);

} // namespace vantelo
