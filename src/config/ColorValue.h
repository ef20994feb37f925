#pragma once

#include <QColor>

#include <cstdint>

namespace vantelo {

// A colour as the show's background setting holds it: red in the lowest byte, green in the next,
// blue in the third, the top byte 0. Transparency plays no part.
std::int32_t colorValue(const QColor& color);

} // namespace vantelo
