#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>

// The size text of a picture: its height, " X ", its width, in decimal pixels (height first).
namespace vantelo {

struct SizeNumbers
{
    std::int16_t height = 0; // the number before the first capital "X"
    std::int16_t width = 0;  // the number after it
};

QString makeSizeText(int height, int width);

// Reads the two numbers around the first capital "X" (case counts). Without an "X" the height
// reads as 0 and the width is the number at the start of the whole text. Each number is read
// with numericValue and rounded to 16 bits, so a number above 32767 fails with overflow (6).
SizeNumbers readSizeText(QStringView sizeText);

} // namespace vantelo
