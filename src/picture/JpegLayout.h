#pragma once

#include <QIODevice>

#include <cstdint>

// What decoding a JPEG will cost, read from its markers without decoding anything. A baseline
// JPEG is decoded in one pass whatever its size; a progressive one (or one whose first scan
// leaves components out) is held whole in the decoder as coefficients, and every further scan is
// another pass over them: a small file with thousands of scans can keep the decoder busy for
// seconds. These figures let the picture reader refuse such a file before decoding it.
namespace vantelo {

struct JpegLayout
{
    bool hasFrame = false; // a start-of-image marker followed by a frame header
    int width = 0;
    int height = 0;
    bool progressive = false;
    bool wholeImageBuffer = false;     // the decoder keeps every coefficient of the picture
    std::int64_t coefficientBytes = 0; // memory the whole-image buffer takes, when there is one
    int scans = 0;                     // start-of-scan markers, counted while wholeImageBuffer
    std::int64_t scanBlocks = 0;       // 8 x 8 blocks the counted scans pass over, summed
    // A read scan takes a component whose quantization table no earlier marker defined: the
    // header reads fine, the decoder fails once it starts on that scan.
    bool quantTableMissing = false;
};

// Reads the markers from the device's current position to the end of the picture. Scans are
// counted only for a whole-image buffer, and counting stops once more than maxScans were seen,
// so the cost of the look stays bounded by the file's length.
JpegLayout readJpegLayout(QIODevice& device, int maxScans);

} // namespace vantelo
