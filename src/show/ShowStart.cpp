#include "show/ShowStart.h"

#include "common/Numbers.h"
#include "common/SizeText.h"
#include "show/ShowGeometry.h"
#include "show/SlideSequence.h"
#include "slidelist/SlideListFile.h"

namespace vantelo {
namespace {

std::optional<SlideAsked> firstSlideOf(const SlideRows& rows, const FirstSlideRule& rule)
{
    const std::int16_t count = checkedInt16(rows.size());
    if (count == 0)
        return std::nullopt;
    const std::int16_t position =
        rule.randomDraw ? randomPosition(count, *rule.randomDraw) : std::int16_t(rule.startOffset % count + 1);
    if (position < 1 || position > count)
        return std::nullopt;
    const SlideRow& row = rows[position - 1];
    const QRect box = slideBox(rule.workWidth, rule.workHeight, readSizeText(row.sizeText));
    return SlideAsked{row.fullPath(), decodeSizeFor(box.size(), rule.devicePixelRatio)};
}

} // namespace

Reading<ShowStart> readShowStart(const QString& listPath, const FirstSlideRule& rule)
{
    return Reading<ShowStart>(listPath, [listPath, rule](ReadingProgress&) {
        ShowStart start;
        ReadSlideList(listPath, start.rows);
        try {
            start.firstSlide = firstSlideOf(start.rows, rule);
        } catch (...) {
            return start;
        }
        if (start.firstSlide) {
            start.firstPicture =
                Reading<DecodedSlide>(start.firstSlide->path, [slide = *start.firstSlide](ReadingProgress& progress) {
                    return SlideReader::decode(slide, progress);
                });
        }
        return start;
    });
}

} // namespace vantelo
