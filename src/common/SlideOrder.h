#pragma once

#include <cstdint>

// The order in which the show and the small demonstration take their rows. Positions are 1-based and 16-bit, like the list's.
namespace vantelo {

// List order: the position to show after position index of a list of count rows, so that rows
// come as 1, 2, ..., count, 1, 2, ... for ever.
std::int16_t nextOrderedIndex(std::int16_t index, std::int16_t count);

// Random order: the position for one draw r in [0, 1), (count - 1) * r + 1 in single precision,
// rounded halves to even. The first and last rows therefore come half as often as the others,
// and an empty list gives a position outside it.
std::int16_t randomPosition(std::int16_t count, float r);

// Fails with index out of bounds (35600) unless position names one of count rows, as the list
// itself does when asked for a row it does not have.
void checkSlidePosition(std::int16_t position, std::int16_t count);

} // namespace vantelo
