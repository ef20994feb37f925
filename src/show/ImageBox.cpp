#include "show/ImageBox.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace vantelo {

ImageBox::ImageBox(QWidget* parent) : QWidget(parent)
{
    // Without tracking, Qt would never tell us about a move with no button held.
    setMouseTracking(true);
}

void ImageBox::setBox(const QRectF& box)
{
    m_box = box;
    setGeometry(QRect(int(std::lround(box.left())), int(std::lround(box.top())), int(std::lround(box.width())),
                      int(std::lround(box.height()))));
}

void ImageBox::setPicture(QImage picture)
{
    m_picture = std::move(picture);
    update();
}

void ImageBox::paintEvent(QPaintEvent* event)
{
    if (m_picture.isNull() || width() <= 0 || height() <= 0)
        return;
    QPainter painter(this);
    const QRect exposed = event->rect() & rect();
    const QSizeF pictureSize = m_picture.deviceIndependentSize();
    if (pictureSize == QSizeF(size())) {
        painter.setClipRect(exposed);
        painter.drawImage(QPointF(0, 0), m_picture); // decoded at the size shown: no scaling
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // Only the exposed part is drawn, from the matching part of the picture: a panorama's box can be
    // hundreds of thousands of pixels wide, beyond what the painter's fixed-point scaling can span.
    const qreal xScale = qreal(m_picture.width()) / width();
    const qreal yScale = qreal(m_picture.height()) / height();
    const QRectF source(exposed.x() * xScale, exposed.y() * yScale, exposed.width() * xScale,
                        exposed.height() * yScale);
    painter.drawImage(QRectF(exposed), m_picture, source);
}

void ImageBox::mouseMoveEvent(QMouseEvent* event)
{
    emit pointerMoved(event->globalPosition().toPoint());
}

void ImageBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (rect().contains(event->position().toPoint()))
        emit clicked();
}

} // namespace vantelo
