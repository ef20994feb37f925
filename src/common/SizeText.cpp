#include "common/SizeText.h"

#include "common/Numbers.h"

namespace vantelo {

QString makeSizeText(int height, int width)
{
    return QString::number(height) + QStringLiteral(" X ") + QString::number(width);
}

SizeNumbers readSizeText(QStringView sizeText)
{
    const qsizetype x = sizeText.indexOf(u'X'); // -1 when absent, so the height part is empty
    SizeNumbers numbers;
    numbers.height = roundToInt16(numericValue(sizeText.left(x + 1)));
    numbers.width = roundToInt16(numericValue(sizeText.mid(x + 1)));
    return numbers;
}

} // namespace vantelo
