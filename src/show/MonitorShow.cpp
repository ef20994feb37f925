#include "show/MonitorShow.h"

#include "common/SizeText.h"
#include "show/ImageBox.h"
#include "show/ShowGeometry.h"

#include <QMouseEvent>

namespace vantelo {

MonitorShow::MonitorShow(RandomSource& random, const QRect& monitor, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), m_monitor(monitor),
      m_picture(new ImageBox(this)), m_sequence(random)
{
    setWindowTitle(QStringLiteral("Personal Vantelo"));
    // The show's background colour and cross cursor reach this window from the show's own.
    setAttribute(Qt::WA_WindowPropagation);
    setAutoFillBackground(true);
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
    m_picture->hide();
    connect(m_picture, &ImageBox::clicked, this, &MonitorShow::clicked);
    connect(m_picture, &ImageBox::pointerMoved, this, &MonitorShow::pointerMoved);
    connect(&m_reader, &SlideReader::answered, this, &MonitorShow::showArrived);
    setGeometry(monitor);
    setWindowState(Qt::WindowFullScreen);
}

void MonitorShow::start(bool ordered, std::int16_t firstPosition)
{
    m_sequence.setOrdered(ordered);
    m_sequence.restart();
    m_sequence.startAt(firstPosition);
    m_pending.reset();
    m_reader.keepOnly({});
    m_picture->hide();
}

void MonitorShow::showNext(const SlideRows& rows)
{
    m_rows = rows;
    if (m_pending && m_reader.isComing(m_pending->first))
        return;
    m_pending.reset();
    try {
        m_picture->hide();
        const SlideRow& row = rows[m_sequence.next(rows.size()) - 1];
        const QRect box = boxFor(row);
        m_pending.emplace(slideFor(row, box), box);
        m_reader.keepOnly({m_pending->first});
        m_reader.ask(m_pending->first);
    } catch (...) {
        // The show's own window meets the same row and reports it.
        prepareFollowing();
        return;
    }
    showArrived();
}

void MonitorShow::showArrived()
{
    if (!m_pending)
        return;
    try {
        std::optional<QImage> picture = m_reader.take(m_pending->first);
        if (!picture)
            return;
        const QRect box = std::exchange(m_pending, std::nullopt)->second;
        picture->setDevicePixelRatio(devicePixelRatioF());
        m_picture->setPicture(std::move(*picture));
        m_picture->setGeometry(box);
        m_picture->show();
    } catch (...) {
        m_pending.reset();
    }
    prepareFollowing();
}

void MonitorShow::prepareFollowing()
{
    try {
        if (const std::optional<std::int16_t> position = m_sequence.upcoming(m_rows.size())) {
            const SlideRow& row = m_rows[*position - 1];
            const SlideAsked next = slideFor(row, boxFor(row));
            m_reader.keepOnly({next});
            m_reader.ask(next);
        }
    } catch (...) {
    }
}

void MonitorShow::mouseMoveEvent(QMouseEvent* event)
{
    emit pointerMoved(event->globalPosition().toPoint());
}

void MonitorShow::mouseReleaseEvent(QMouseEvent*)
{
    emit clicked();
}

QRect MonitorShow::boxFor(const SlideRow& row) const
{
    return slideBox(showLength(m_monitor.width()), showLength(m_monitor.height()), readSizeText(row.sizeText));
}

SlideAsked MonitorShow::slideFor(const SlideRow& row, const QRect& box) const
{
    return {row.fullPath(), decodeSizeFor(box.size(), devicePixelRatioF())};
}

} // namespace vantelo
