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
    setGeometry(monitor);
    setWindowState(Qt::WindowFullScreen);
}

void MonitorShow::start(bool ordered, std::int16_t firstPosition)
{
    m_sequence.setOrdered(ordered);
    m_sequence.restart();
    m_sequence.startAt(firstPosition);
    m_preparer.discard();
    m_picture->hide();
}

void MonitorShow::showNext(const SlideRows& rows)
{
    try {
        m_picture->hide();
        const SlideRow& row = rows[m_sequence.next(rows.size()) - 1];
        const QRect box = boxFor(row);
        QImage picture = m_preparer.take(row.fullPath(), decodeSizeFor(box.size(), devicePixelRatioF()));
        picture.setDevicePixelRatio(devicePixelRatioF());
        m_picture->setPicture(std::move(picture));
        m_picture->setGeometry(box);
        m_picture->show();
    } catch (...) {
        // The show's own window meets the same row and reports it.
    }
    try {
        if (const std::optional<std::int16_t> position = m_sequence.upcoming(rows.size())) {
            const SlideRow& row = rows[*position - 1];
            m_preparer.prepare(row.fullPath(), decodeSizeFor(boxFor(row).size(), devicePixelRatioF()));
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

} // namespace vantelo
