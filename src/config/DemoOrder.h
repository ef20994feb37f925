#pragma once

#include <cstdint>

// Which row of the slide list the small demonstration shows next. Positions are 1-based, as the
// list's rows are numbered for the user.
namespace vantelo {

// List order: the position after showing the row at demoIndex, in a list of rowCount rows. After
// the last row comes row 1 again, so the demonstration never ends by itself. A position beyond a
// list that shrank keeps counting up; the row it names does not exist, and showing it fails.
std::int16_t nextDemoIndex(std::int16_t demoIndex, std::int16_t rowCount);

// Random order: the position for a draw in [0, 1), the draw times (rowCount - 1) plus 1 in single
// precision, to the nearest whole number with halves to the even neighbour. So the first and last
// rows come up half as often as each row between them. An empty list gives no row (0 or 1).
std::int16_t randomDemoPosition(float draw, std::int16_t rowCount);

// Fails with index out of bounds (35600) unless position names one of rowCount rows.
void checkDemoPosition(std::int16_t position, std::int16_t rowCount);

} // namespace vantelo
