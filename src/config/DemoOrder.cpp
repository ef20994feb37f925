#include "config/DemoOrder.h"

#include "common/AppError.h"
#include "common/Numbers.h"

namespace vantelo {

std::int16_t nextDemoIndex(std::int16_t demoIndex, std::int16_t rowCount)
{
    if (demoIndex == rowCount)
        demoIndex = 0;
    return checkedInt16(std::int64_t(demoIndex) + 1);
}

std::int16_t randomDemoPosition(float draw, std::int16_t rowCount)
{
    const float position = draw * float(rowCount - 1) + 1.0f;
    return roundToInt16(double(position));
}

void checkDemoPosition(std::int16_t position, std::int16_t rowCount)
{
    if (position < 1 || position > rowCount)
        throw AppError(ErrorNumber::IndexOutOfBounds);
}

} // namespace vantelo
