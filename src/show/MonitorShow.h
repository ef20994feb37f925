#pragma once

#include "picture/SlideReader.h"
#include "platform/Platform.h"
#include "show/SlideSequence.h"
#include "slidelist/SlideRow.h"

#include <QRect>
#include <QWidget>

#include <cstdint>
#include <optional>

namespace vantelo {

class ImageBox;

// The show on a monitor other than the one the configuration window recorded the work area of:
// covered in the background colour, with slides of its own from the same list, each fitted to this
// monitor's height and centred on it. It reports nothing: a row that cannot be shown leaves this
// monitor bare until the next slide, and the show's own window reports that row when it comes to it.
// Input over it is the show's input: it ends the whole show.
class MonitorShow : public QWidget
{
    Q_OBJECT
public:
    MonitorShow(RandomSource& random, const QRect& monitor, QWidget* parent);

    QRect monitor() const { return m_monitor; }

    // Starts the slides afresh: in list order at firstPosition, else at random.
    void start(bool ordered, std::int16_t firstPosition);
    // Shows the next slide of rows when its picture comes, and has the one after it read ahead. A slide
    // still coming at the next call is waited for (that call does nothing); one whose storage has not
    // answered since is given up for the next.
    void showNext(const SlideRows& rows);

signals:
    void pointerMoved(QPoint globalPosition);
    void clicked();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QRect boxFor(const SlideRow& row) const;
    SlideAsked slideFor(const SlideRow& row, const QRect& box) const;
    void showArrived();
    void prepareFollowing();

    QRect m_monitor;
    ImageBox* m_picture;
    SlideSequence m_sequence;
    SlideRows m_rows; // as the last showNext() had them
    SlideReader m_reader;
    std::optional<std::pair<SlideAsked, QRect>> m_pending; // the slide asked, and its box
};

} // namespace vantelo
