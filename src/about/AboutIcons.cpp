#include "about/AboutIcons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace vantelo {

namespace {

QImage blankIcon()
{
    QImage icon(AboutIconSize, AboutIconSize, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    return icon;
}

// A small landscape inside rect: sky, sun, a far hill and a near one.
void paintLandscape(QPainter& painter, const QRectF& rect)
{
    QLinearGradient sky(rect.topLeft(), rect.bottomLeft());
    sky.setColorAt(0.0, QColor(0x3A, 0x7B, 0xD5));
    sky.setColorAt(1.0, QColor(0xBF, 0xE3, 0xFF));
    painter.fillRect(rect, sky);

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xFF, 0xD2, 0x3F));
    const qreal sunRadius = rect.height() * 0.17;
    painter.drawEllipse(QPointF(rect.right() - rect.width() * 0.27, rect.top() + rect.height() * 0.3), sunRadius,
                        sunRadius);

    QPainterPath farHill;
    farHill.moveTo(rect.left(), rect.bottom());
    farHill.lineTo(rect.left(), rect.top() + rect.height() * 0.62);
    farHill.lineTo(rect.left() + rect.width() * 0.35, rect.top() + rect.height() * 0.3);
    farHill.lineTo(rect.left() + rect.width() * 0.7, rect.bottom());
    farHill.closeSubpath();
    painter.setBrush(QColor(0x5B, 0x6E, 0x8C));
    painter.drawPath(farHill);

    QPainterPath nearHill;
    nearHill.moveTo(rect.left(), rect.bottom());
    nearHill.lineTo(rect.left(), rect.top() + rect.height() * 0.8);
    nearHill.quadTo(rect.left() + rect.width() * 0.55, rect.top() + rect.height() * 0.45, rect.right(),
                    rect.top() + rect.height() * 0.72);
    nearHill.lineTo(rect.right(), rect.bottom());
    nearHill.closeSubpath();
    painter.setBrush(QColor(0x3C, 0x9A, 0x3A));
    painter.drawPath(nearHill);
}

} // namespace

QImage drawPictureIcon()
{
    QImage icon = blankIcon();
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);

    const QRectF frame(1.5, 3.5, 29, 25);
    painter.setPen(QPen(QColor(0x4A, 0x2C, 0x10), 1));
    QLinearGradient wood(frame.topLeft(), frame.bottomRight());
    wood.setColorAt(0.0, QColor(0xD9, 0xA0, 0x5B));
    wood.setColorAt(1.0, QColor(0x8B, 0x55, 0x22));
    painter.setBrush(wood);
    painter.drawRect(frame);

    const QRectF picture = frame.adjusted(3.5, 3.5, -3.5, -3.5);
    painter.setClipRect(picture);
    paintLandscape(painter, picture);
    painter.setClipping(false);
    painter.setPen(QPen(QColor(0x4A, 0x2C, 0x10), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(picture);
    return icon;
}

QImage drawSlidesIcon()
{
    QImage icon = blankIcon();
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);

    const QColor outline(0x30, 0x30, 0x30);
    const auto paintMount = [&](const QRectF& mount, const QColor& card, bool withPicture) {
        painter.setPen(QPen(outline, 1));
        painter.setBrush(card);
        painter.drawRoundedRect(mount, 2.5, 2.5);
        const QRectF window = mount.adjusted(4, 4, -4, -4);
        if (withPicture) {
            painter.save();
            painter.setClipRect(window);
            paintLandscape(painter, window);
            painter.restore();
        } else {
            painter.fillRect(window, QColor(0x9A, 0x9A, 0x9A));
        }
        painter.setPen(QPen(outline, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(window);
    };
    paintMount(QRectF(1.5, 1.5, 20, 20), QColor(0xC8, 0xC8, 0xC8), false);
    paintMount(QRectF(7.5, 7.5, 21, 21), QColor(0xF4, 0xF1, 0xE6), true);

    QPainterPath play;
    play.moveTo(21, 21);
    play.lineTo(31, 26);
    play.lineTo(21, 31);
    play.closeSubpath();
    painter.setPen(QPen(QColor(0x7A, 0x10, 0x10), 1));
    painter.setBrush(QColor(0xD6, 0x2B, 0x2B));
    painter.drawPath(play);
    return icon;
}

} // namespace vantelo
