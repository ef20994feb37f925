#include "show/FirstSlide.h"

#include "common/Numbers.h"
#include "common/SizeText.h"
#include "settings/Settings.h"
#include "show/ShowGeometry.h"
#include "show/SlideSequence.h"
#include "slidelist/SlideListFile.h"

namespace vantelo {

std::optional<FirstSlide> firstSlideAhead(RandomSource& random, qreal devicePixelRatio)
{
    try {
        const std::int16_t workWidth = textToInt16(GetSetting(SettingKey::ScreenWidth));
        const std::int16_t workHeight = textToInt16(GetSetting(SettingKey::ScreenHeight));
        const QString listPath = GetSetting(SettingKey::File);
        if (listPath.isEmpty())
            return std::nullopt;
        SlideRows rows;
        ReadSlideList(listPath, rows);
        SlideSequence sequence(random);
        sequence.setOrdered(GetSetting(SettingKey::ShowType) == OrderedShowType);
        FirstSlide first;
        const std::optional<std::int16_t> position = sequence.upcoming(rows.size());
        if (!position)
            return std::nullopt;
        if (!sequence.isOrdered())
            first.randomDraw = sequence.drawAhead();
        const SlideRow& row = rows[*position - 1];
        first.path = row.fullPath();
        const QRect box = slideBox(workWidth, workHeight, readSizeText(row.sizeText));
        first.decodeSize = decodeSizeFor(box.size(), devicePixelRatio);
        return first;
    } catch (...) {
        return std::nullopt;
    }
}

std::optional<HeadStart> startFirstSlide(RandomSource& random, qreal devicePixelRatio)
{
    std::optional<FirstSlide> first = firstSlideAhead(random, devicePixelRatio);
    if (!first)
        return std::nullopt;
    HeadStart start{*first, std::make_unique<SlidePreparer>()};
    start.preparer->prepare(first->path, first->decodeSize);
    return start;
}

} // namespace vantelo
