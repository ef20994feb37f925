#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

#include <functional>

// Picture files made on purpose to be broken, lying or expensive, for the hostile-picture test and
// its benchmark. Each is built from bytes here; nothing is read from outside.
namespace vantelo::test {

QByteArray encodeJpeg(const QImage& image, bool progressive, int quality = 80);

// A JPEG's marker segments: the marker code, the payload after the length field, and for a
// start-of-scan the entropy-coded data that follows it up to the next marker.
struct JpegSegment
{
    int marker = 0;
    QByteArray payload;
    QByteArray entropy;
};
QList<JpegSegment> splitJpeg(const QByteArray& jpeg);
QByteArray joinJpeg(const QList<JpegSegment>& segments); // start-of-image first, then each segment

// A JPEG with real tables and a frame header claiming `claimed`, with `components` components
// (the first sampled `lumaSampling`, e.g. 0x22 for 4:2:0 or 0x11 for 4:4:4) and `scans` scans
// that carry no coded data at all: the decoder must still pass over every block of every scan.
// Progressive scans after the first repeat one AC scan of the first component.
QByteArray hollowJpeg(QSize claimed, bool progressive, int components, int lumaSampling, int scans);

// A BMP with a 40-byte info header, a grey palette for 8 bits or fewer, and `pixels` as its data.
QByteArray bmpFile(int width, int height, int bitsPerPixel, int compression, const QByteArray& pixels);

// A real 8-bit grey picture with a soft pattern, so that JPEG has something to code.
QImage patternImage(QSize size, QImage::Format format);

enum class Outcome { Picture, Refused };

struct HostilePicture
{
    QString tag;      // says what the file is and what it claims
    QString fileName; // the name it is saved under; the content, not the name, decides
    std::function<QByteArray()> make;
    Outcome outcome;
    QSize measured; // the upright size measuring gives, when it does not refuse
};

// Every hostile picture the program must survive, with the outcome it must end in.
QList<HostilePicture> hostilePictures();

} // namespace vantelo::test
