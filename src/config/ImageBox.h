#pragma once

#include <QImage>
#include <QRectF>
#include <QWidget>

namespace vantelo {

// An image box: shows its picture stretched to the whole box. Its place is kept as the window's
// code sets it, in fractional pixels, and shown on the whole pixels that covers.
class ImageBox : public QWidget
{
    Q_OBJECT
public:
    explicit ImageBox(QWidget* parent = nullptr);

    void setBox(const QRectF& box);
    QRectF box() const { return m_box; }

    void setPicture(const QImage& picture);
    const QImage& picture() const { return m_picture; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QRectF m_box;
    QImage m_picture;
};

} // namespace vantelo
