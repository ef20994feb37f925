#pragma once

#include <QList>
#include <QString>

namespace vantelo {

// One slide: four plain texts. The folder ends in the path separator, so the picture's full path
// is the folder followed directly by the file name.
struct SlideRow
{
    QString folder;
    QString fileName;
    QString sizeText; // height first, as makeSizeText writes it; empty when measuring failed
    QString spare;    // nothing in the program fills it; kept because files may carry it

    QString fullPath() const { return folder + fileName; }
    friend bool operator==(const SlideRow&, const SlideRow&) = default;
};

using SlideRows = QList<SlideRow>;

// A slide list holds at most this many rows: counts and positions are 16-bit.
inline constexpr int MaxSlideRows = 32767;

} // namespace vantelo
