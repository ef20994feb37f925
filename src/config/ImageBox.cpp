#include "config/ImageBox.h"

#include "config/PreviewFitting.h"

#include <QMouseEvent>
#include <QPainter>

namespace vantelo {

ImageBox::ImageBox(QWidget* parent) : QWidget(parent) {}

void ImageBox::setBox(const QRectF& box)
{
    m_box = box;
    setGeometry(pixelRect(box));
}

void ImageBox::setPicture(const QImage& picture)
{
    m_picture = picture;
    update();
}

void ImageBox::paintEvent(QPaintEvent* event)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    // The picture is normally decoded at the box's size already; stretching covers the rest.
    if (m_picture.size() != size())
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
    // Only the exposed part is drawn, from the matching part of the picture: a panorama's box can be
    // hundreds of thousands of pixels wide, beyond what the painter's fixed-point scaling can span.
    const QRect exposed = event->rect() & rect();
    const qreal xScale = qreal(m_picture.width()) / width();
    const qreal yScale = qreal(m_picture.height()) / height();
    const QRectF source(exposed.x() * xScale, exposed.y() * yScale, exposed.width() * xScale,
                        exposed.height() * yScale);
    painter.drawImage(QRectF(exposed), m_picture, source);
}

void ImageBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

} // namespace vantelo
