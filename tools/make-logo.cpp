// Draws the maker's logo, a shield in a circle, at the size of the preview box that shows it, and
// writes it as a GIF. Run by the build; the program loads the result from its own folder.
#include "GifWriter.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>

#include <cstdio>

namespace {

// Colours of the GIF writer's palette, so the flat areas come out exact.
const QColor Navy(0, 51, 102);
const QColor Gold(255, 204, 0);
const QColor Sky(102, 153, 204);

QPainterPath shieldPath(const QRectF& r)
{
    QPainterPath path;
    const qreal dip = r.height() * 0.06;
    path.moveTo(r.left(), r.top() + dip);
    path.quadTo(r.center().x(), r.top() - dip, r.right(), r.top() + dip);
    path.lineTo(r.right(), r.top() + r.height() * 0.45);
    path.cubicTo(r.right(), r.top() + r.height() * 0.78, r.center().x() + r.width() * 0.2, r.bottom() - dip,
                 r.center().x(), r.bottom());
    path.cubicTo(r.center().x() - r.width() * 0.2, r.bottom() - dip, r.left(), r.top() + r.height() * 0.78, r.left(),
                 r.top() + r.height() * 0.45);
    path.closeSubpath();
    return path;
}

QImage drawLogo()
{
    QImage image(125, 145, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    const QPointF centre(62.5, 72.5);
    painter.setPen(QPen(Gold, 5));
    painter.setBrush(Navy);
    painter.drawEllipse(centre, 57, 57);
    painter.setPen(QPen(Sky, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, 50, 50);

    const QRectF shield(centre.x() - 30, centre.y() - 36, 60, 74);
    const QPainterPath outline = shieldPath(shield);
    painter.setPen(QPen(Gold, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::white);
    painter.drawPath(outline);

    // Quartered field: two navy quarters, a gold cross between them.
    painter.save();
    painter.setClipPath(outline);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Navy);
    painter.drawRect(QRectF(shield.left(), shield.top(), shield.width() / 2, shield.height() * 0.42));
    painter.drawRect(
        QRectF(shield.center().x(), shield.top() + shield.height() * 0.42, shield.width() / 2, shield.height()));
    painter.setBrush(Gold);
    painter.drawRect(QRectF(shield.center().x() - 4, shield.top(), 8, shield.height()));
    painter.drawRect(QRectF(shield.left(), shield.top() + shield.height() * 0.42 - 4, shield.width(), 8));
    painter.restore();

    painter.setPen(QPen(Gold, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(outline);
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s output.gif\n", argv[0]);
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);
    if (!vantelo::tools::writeGif(drawLogo(), output)) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
