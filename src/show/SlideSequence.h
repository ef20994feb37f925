#pragma once

#include "platform/Platform.h"

#include <QtGlobal>

#include <cstdint>
#include <optional>

// Which row of a slide list comes next, for the show and for the small demonstration alike. No
// widgets and no pictures here: a window asks for the position to show, shows that row, and asks
// what comes after so it can have that picture decoded ahead. Positions are 1-based and 16-bit,
// like the list's.
namespace vantelo {

// List order: the position to show after position index of a list of count rows, so that rows
// come as 1, 2, ..., count, 1, 2, ... for ever.
std::int16_t nextOrderedIndex(std::int16_t index, std::int16_t count);

// Random order: the position for one draw r in [0, 1), (count - 1) * r + 1 in single precision,
// rounded halves to even. The first and last rows therefore come half as often as the others,
// and an empty list gives a position outside it.
std::int16_t randomPosition(std::int16_t count, float r);

class SlideSequence
{
public:
    explicit SlideSequence(RandomSource& random) : m_random(random) {}

    // List order, or random order with a fresh clock-seeded draw per slide.
    void setOrdered(bool ordered) { m_ordered = ordered; }
    bool isOrdered() const { return m_ordered; }

    // Starts again at the first row; a draw made ahead is dropped, or replaced by firstDraw for the
    // first slide in random order.
    void restart(std::optional<float> firstDraw = std::nullopt);

    // In list order, the next slide is the row at position.
    void startAt(std::int16_t position) { m_index = position; }
    // In list order, the position next() gives.
    std::int16_t nextPosition() const { return m_index; }

    // The position of the slide to show now, for a list of count rows, and the sequence moves on.
    // Fails with index out of bounds (35600) when that position names none of the rows, as an
    // empty list does, and then stays where it was; with overflow (6) for more than 32767 rows.
    std::int16_t next(qsizetype count);

    // The position the next call of next() will give for a list of count rows, so that its picture
    // can be decoded ahead. In random order the draw for it is made now and kept for next(). Nothing
    // when that position will name none of the rows.
    std::optional<std::int16_t> upcoming(qsizetype count);

    // The draw made ahead for next(), if any.
    std::optional<float> drawAhead() const { return m_nextDraw; }

private:
    RandomSource& m_random;
    bool m_ordered = true;
    std::int16_t m_index = 1;        // list order: the position next() gives
    std::optional<float> m_nextDraw; // random order: the draw made ahead for next()
};

} // namespace vantelo
