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
    painter.setClipRect(event->rect());
    // The picture is normally decoded at the box's size already; stretching covers the rest.
    if (m_picture.size() != size())
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), m_picture);
}

void ImageBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

} // namespace vantelo
