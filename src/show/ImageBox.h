#pragma once

#include <QImage>
#include <QRectF>
#include <QWidget>

namespace vantelo {

// An image box: shows its picture stretched to the whole box. It handles no input itself: it tells
// its window about clicks and pointer movement, and the window decides what they mean. Its place
// can be kept in fractional pixels, as the window's geometry computes it, and is shown on the whole
// pixels that covers.
class ImageBox : public QWidget
{
    Q_OBJECT
public:
    explicit ImageBox(QWidget* parent = nullptr);

    void setBox(const QRectF& box);
    QRectF box() const { return m_box; }

    void setPicture(QImage picture);
    const QImage& picture() const { return m_picture; }

signals:
    void clicked(); // a button released over the box
    void pointerMoved(QPoint globalPosition);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QRectF m_box;
    QImage m_picture;
};

} // namespace vantelo
