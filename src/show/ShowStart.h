#pragma once

#include "picture/SlideReader.h"
#include "reading/ReadingThreads.h"
#include "slidelist/SlideRow.h"

#include <QString>

#include <cstdint>
#include <optional>

// What the show reads before its first slide, on a reading thread: the slide list file, and straight
// after it the first slide's picture, which decodes while the show's windows are made and shown. The
// first slide is worked out there the way the show's first tick will work it out, so the tick finds it
// asked already. Nothing here reports anything: the show reports the list's failure, and its first
// tick meets and reports whatever fails for the first slide.
namespace vantelo {

// How the show picks and fits its first slide, known before the list is read.
struct FirstSlideRule
{
    bool ordered = true;
    int startOffset = 0;             // list order: rows further along than the first
    std::optional<float> randomDraw; // random order: the draw that picks it
    std::int16_t workWidth = 0;
    std::int16_t workHeight = 0;
    qreal devicePixelRatio = 1.0;
};

struct ShowStart
{
    SlideRows rows;
    std::optional<SlideAsked> firstSlide;
    Reading<DecodedSlide> firstPicture; // asked for firstSlide
};

// Reads the slide list at listPath on a reading thread; its failure (53, 76, 62, ...) is the answer's.
Reading<ShowStart> readShowStart(const QString& listPath, const FirstSlideRule& rule);

} // namespace vantelo
