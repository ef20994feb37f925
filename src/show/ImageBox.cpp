#include "show/ImageBox.h"

#include <QMouseEvent>
#include <QPainter>

namespace vantelo {

ImageBox::ImageBox(QWidget* parent) : QWidget(parent)
{
    // Without tracking, Qt would never tell us about a move with no button held.
    setMouseTracking(true);
}

void ImageBox::setPicture(QImage picture)
{
    m_picture = std::move(picture);
    update();
}

void ImageBox::paintEvent(QPaintEvent* event)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.setClipRegion(event->region());
    if (m_picture.deviceIndependentSize() == QSizeF(size())) {
        painter.drawImage(QPointF(0, 0), m_picture); // decoded at the size shown: no scaling
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), m_picture);
}

void ImageBox::mouseMoveEvent(QMouseEvent* event)
{
    emit pointerMoved(event->globalPosition().toPoint());
}

void ImageBox::mouseReleaseEvent(QMouseEvent*)
{
    emit clicked();
}

} // namespace vantelo
