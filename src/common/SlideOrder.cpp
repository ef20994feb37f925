#include "common/SlideOrder.h"

#include "common/AppError.h"
#include "common/Numbers.h"

namespace vantelo {

std::int16_t nextOrderedIndex(std::int16_t index, std::int16_t count)
{
    if (index == count)
        index = 0;
    return checkedInt16(index + 1);
}

std::int16_t randomPosition(std::int16_t count, float r)
{
    const float position = static_cast<float>(count - 1) * r + 1.0f;
    return roundToInt16(position);
}

void checkSlidePosition(std::int16_t position, std::int16_t count)
{
    if (position < 1 || position > count)
        throw AppError(ErrorNumber::IndexOutOfBounds);
}

} // namespace vantelo
