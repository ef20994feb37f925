#include "config/ColorValue.h"

namespace vantelo {

std::int32_t colorValue(const QColor& color)
{
    const QColor rgb = color.toRgb();
    return std::int32_t(rgb.red()) | std::int32_t(rgb.green()) << 8 | std::int32_t(rgb.blue()) << 16;
}

} // namespace vantelo
