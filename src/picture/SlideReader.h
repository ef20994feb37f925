#pragma once

#include "picture/PictureFile.h"
#include "reading/ReadingThreads.h"

#include <QImage>
#include <QList>
#include <QObject>
#include <QSize>
#include <QString>

#include <optional>
#include <vector>

namespace vantelo {

// A slide as a window asks for it: the picture's file and the size to decode it to.
struct SlideAsked
{
    QString path;
    QSize size;
    friend bool operator==(const SlideAsked&, const SlideAsked&) = default;
};

// A slide's picture, ready to be drawn, and the file it came from.
struct DecodedSlide
{
    QImage picture;
    FileStamp stamp;
};

// The pictures one show window, or the small demonstration, asks for: each read and decoded on the
// reading threads (ReadingThreads.h) at the size it is shown and converted once for drawing, then kept
// until the window takes it. Which slide comes when, every failure and every report stay with the window.
class SlideReader : public QObject
{
    Q_OBJECT
public:
    // Asks for the slide unless it is asked already. The slide taken last, asked again, is only checked
    // for a change of its file, not decoded again: a list of one row, a random draw of the same row.
    void ask(const SlideAsked& slide);
    // A slide asked elsewhere, handed in to be taken like one asked here.
    void adopt(const SlideAsked& slide, Reading<DecodedSlide> reading);
    // Drops the requests for every other slide: answers still coming for them are never seen.
    void keepOnly(const QList<SlideAsked>& slides);

    // The slide's picture once it came, and its request is done with; its failure, thrown. Nothing
    // while it is on its way, or when it was never asked.
    std::optional<QImage> take(const SlideAsked& slide);

    // Whether the slide asked is still coming: it came, it is being decoded, or its storage answered
    // something since the last time this was asked. Not so for one still waiting for a thread.
    bool isComing(const SlideAsked& slide);

    // The reading thread's part: opens, measures and decodes the slide, or finds previous unchanged.
    static DecodedSlide decode(const SlideAsked& slide, ReadingProgress& progress,
                               const std::optional<DecodedSlide>& previous = std::nullopt);

signals:
    // A slide asked for has come (or failed): take() has it.
    void answered();

private:
    struct Asked
    {
        SlideAsked slide;
        Reading<DecodedSlide> reading;
        qint64 answersSeen = 0;
    };
    std::vector<Asked>::iterator find(const SlideAsked& slide);

    std::vector<Asked> m_asked;
    std::optional<std::pair<SlideAsked, DecodedSlide>> m_lastTaken;
};

} // namespace vantelo
