#include "show/SlideSequence.h"

#include "common/AppError.h"
#include "common/Numbers.h"

#include <utility>

namespace vantelo {
namespace {

std::int16_t checkedPosition(std::int16_t position, std::int16_t count)
{
    if (position < 1 || position > count)
        throw AppError(ErrorNumber::IndexOutOfBounds);
    return position;
}

} // namespace

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

void SlideSequence::restart(std::optional<float> firstDraw)
{
    m_index = 1;
    m_nextDraw = firstDraw;
}

std::int16_t SlideSequence::next(qsizetype count)
{
    const std::int16_t rows = checkedInt16(count);
    if (m_ordered) {
        const std::int16_t position = checkedPosition(m_index, rows);
        m_index = nextOrderedIndex(m_index, rows);
        return position;
    }
    const float draw = m_nextDraw ? *std::exchange(m_nextDraw, std::nullopt) : m_random.reseedAndDraw();
    return checkedPosition(randomPosition(rows, draw), rows);
}

std::optional<std::int16_t> SlideSequence::upcoming(qsizetype count)
{
    const std::int16_t rows = checkedInt16(count);
    std::int16_t position = m_index;
    if (!m_ordered) {
        m_nextDraw = m_random.reseedAndDraw();
        position = randomPosition(rows, *m_nextDraw);
    }
    if (position < 1 || position > rows)
        return std::nullopt;
    return position;
}

} // namespace vantelo
