#pragma once

#include <QImage>
#include <QWidget>

namespace vantelo {

// A picture box that stretches its picture to its own size. It handles no input itself: it tells
// its window about clicks and pointer movement, and the window decides what they mean.
class ImageBox : public QWidget
{
    Q_OBJECT
public:
    explicit ImageBox(QWidget* parent = nullptr);

    void setPicture(QImage picture);
    const QImage& picture() const { return m_picture; }

signals:
    void clicked();
    void pointerMoved(QPoint globalPosition);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage m_picture;
};

} // namespace vantelo
