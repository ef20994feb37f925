#include "picture/SlideReader.h"

#include <algorithm>

namespace vantelo {

void SlideReader::ask(const SlideAsked& slide)
{
    if (find(slide) != m_asked.end())
        return;
    std::optional<DecodedSlide> previous;
    if (m_lastTaken && m_lastTaken->first == slide)
        previous = m_lastTaken->second;
    adopt(slide, Reading<DecodedSlide>(slide.path, [slide, previous](ReadingProgress& progress) {
              return decode(slide, progress, previous);
          }));
}

void SlideReader::adopt(const SlideAsked& slide, Reading<DecodedSlide> reading)
{
    reading.onAnswer([this] { emit answered(); });
    m_asked.push_back({slide, std::move(reading)});
}

void SlideReader::keepOnly(const QList<SlideAsked>& slides)
{
    std::erase_if(m_asked, [&](const Asked& asked) { return !slides.contains(asked.slide); });
}

std::optional<QImage> SlideReader::take(const SlideAsked& slide)
{
    const auto asked = find(slide);
    if (asked == m_asked.end() || !asked->reading.hasAnswer())
        return std::nullopt;
    Reading<DecodedSlide> reading = std::move(asked->reading);
    m_asked.erase(asked);
    m_lastTaken.reset();
    DecodedSlide decoded = reading.take();
    QImage picture = decoded.picture;
    m_lastTaken.emplace(slide, std::move(decoded));
    return picture;
}

bool SlideReader::isComing(const SlideAsked& slide)
{
    const auto asked = find(slide);
    if (asked == m_asked.end())
        return false;
    if (asked->reading.hasAnswer() || (asked->reading.started() && asked->reading.progress().allRead()))
        return true;
    if (!asked->reading.started())
        return false;
    const qint64 answers = asked->reading.progress().answers();
    return std::exchange(asked->answersSeen, answers) < answers;
}

DecodedSlide SlideReader::decode(const SlideAsked& slide, ReadingProgress& progress,
                                 const std::optional<DecodedSlide>& previous)
{
    PictureFile file(slide.path, &progress);
    if (previous && previous->stamp == file.stamp())
        return *previous;
    QImage picture = file.decode(slide.size);
    // Drawn many times but converted once, here rather than on the user-interface thread.
    const QImage::Format drawable =
        picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    if (picture.format() != drawable)
        picture.convertTo(drawable);
    return {std::move(picture), file.stamp()};
}

std::vector<SlideReader::Asked>::iterator SlideReader::find(const SlideAsked& slide)
{
    return std::find_if(m_asked.begin(), m_asked.end(), [&](const Asked& asked) { return asked.slide == slide; });
}

} // namespace vantelo
