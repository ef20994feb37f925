#include "show/FirstSlide.h"

#include "common/Numbers.h"
#include "common/SizeText.h"
#include "settings/Settings.h"
#include "show/ShowGeometry.h"
#include "show/SlideSequence.h"
#include "slidelist/SlideListFile.h"

#include <QImageReader>

namespace vantelo {

std::optional<FirstSlide> firstSlideAhead(RandomSource& random)
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
        first.box = box.size();
        first.decodeSize = decodeSizeFor(first.box, 1.0);
        return first;
    } catch (...) {
        return std::nullopt;
    }
}

std::optional<HeadStart> startFirstSlide(RandomSource& random)
{
    std::optional<FirstSlide> first = firstSlideAhead(random);
    if (!first)
        return std::nullopt;
    // The lookup FirstSlide.h speaks of; it loads the one plugin this picture needs.
    QImageReader::imageFormat(first->path);
    HeadStart start{*first, std::make_unique<SlidePreparer>()};
    start.preparer->prepare(first->path, first->decodeSize);
    return start;
}

std::unique_ptr<SlidePreparer> settleDensity(HeadStart& start, qreal devicePixelRatio)
{
    const QSize decodeSize = decodeSizeFor(start.slide.box, devicePixelRatio);
    if (decodeSize == start.slide.decodeSize)
        return nullptr;
    start.slide.decodeSize = decodeSize;
    std::unique_ptr<SlidePreparer> guessed = std::exchange(start.preparer, std::make_unique<SlidePreparer>());
    start.preparer->prepare(start.slide.path, decodeSize);
    return guessed;
}

} // namespace vantelo
