#pragma once

#include "reading/Storage.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <cstdint>
#include <memory>

// Picture files: BMP, GIF and JPEG, judged by their content, never by their name. Pictures are
// read upright: a JPEG's orientation tag is applied, so a portrait phone photo measures and shows
// as portrait. Safe to call from any thread.
//
// Every picture passes the same bounds before anything is decoded, so that no file, however it
// was made, can make the program allocate without limit or stall for seconds. A picture beyond
// them is refused like any picture that cannot be loaded (481), both when it is measured and when
// it is decoded, so it never reaches a slide list it could not be shown from.
namespace vantelo {

class ReadingProgress;

// The largest image the program allocates while decoding, in megabytes; also the largest working
// memory a JPEG decoder may need for a progressive picture.
inline constexpr int PictureAllocationLimitMB = 256;
inline constexpr std::int64_t PictureAllocationLimitBytes = std::int64_t(PictureAllocationLimitMB) << 20;

// No picture of more pixels is measured or decoded (16384 x 16384). Even decoded straight to a
// small size, a JPEG costs time in proportion to its full pixel count.
inline constexpr std::int64_t MaxPicturePixels = std::int64_t(1) << 28;

// BMP and GIF cannot be decoded to a smaller size: they are decoded whole, then scaled, which
// takes up to eight bytes a pixel (the picture and a converted copy). 32 megapixels keeps that
// within the allocation limit.
inline constexpr std::int64_t MaxWholeDecodePixels = PictureAllocationLimitBytes / 8;

// A progressive JPEG is held whole in the decoder and each of its scans is another pass over it.
// Pictures from cameras and editors have about ten scans; these leave ample room for any real
// picture while keeping the worst decode well under a second.
inline constexpr int MaxJpegScans = 256;
inline constexpr std::int64_t MaxJpegScanBlocks = std::int64_t(1) << 26; // 8 x 8 blocks, summed over scans

// One picture file, opened once: measured from its header (and, for a JPEG, its list of scans),
// then decoded from the same open file. Constructing it fails with AppError 53 when the file does
// not exist, 68 "Device unavailable" when its storage fails (an I/O error, a share that went away),
// 481 "Invalid picture" when it is not a readable BMP, GIF or JPEG or lies beyond the bounds above,
// for a BMP of a kind the decoder would show otherwise than its maker meant (BmpLayout.h), and for a
// GIF whose first picture the decoder would refuse for its blocks (GifLayout.h). Reading may block
// for as long as the storage does: on a reading thread, progress hears of every answer from storage.
class PictureFile
{
public:
    explicit PictureFile(const QString& path, ReadingProgress* progress = nullptr);
    ~PictureFile();
    PictureFile(const PictureFile&) = delete;
    PictureFile& operator=(const PictureFile&) = delete;

    // The upright size in pixels.
    QSize size() const { return m_size; }
    // The file as it was when opened.
    FileStamp stamp() const { return m_stamp; }

    // Decodes the picture upright, straight to displaySize when one is given (stretched to exactly
    // that size, the way an image box stretches its picture), else at its own size. Decoding to the
    // size shown lets JPEG skip most of the work and memory of a full decode. Once per object.
    // Fails with 481 when the content cannot be decoded, and when the size asked for (or the
    // picture's own size, when none is asked for) would take more than the allocation limit at four
    // bytes a pixel; with 68 when its storage fails meanwhile.
    QImage decode(const QSize& displaySize = QSize());

private:
    void readHeader();
    QImage decodeOnce(const QSize& displaySize);

    struct Reader;
    std::unique_ptr<Reader> m_reader;
    QSize m_size;
    FileStamp m_stamp;
};

// The picture's upright size; fails like PictureFile.
QSize measurePicture(const QString& path);

// The picture decoded as PictureFile::decode does it.
QImage decodePicture(const QString& path, const QSize& displaySize = QSize());

} // namespace vantelo
