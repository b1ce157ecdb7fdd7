#include "drawing.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <algorithm>

void Drawing::paint(QPainter &painter, const QRectF &target) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // As SVG does: the view box scaled alike both ways, as large as fits, centred.
    const qreal scale =
        std::min(target.width() / viewBox.width(), target.height() / viewBox.height());
    painter.translate(target.center());
    painter.scale(scale, scale);
    painter.translate(-viewBox.width() / 2, -viewBox.height() / 2);
    painter.setPen(Qt::NoPen);
    for (const Shape &shape : shapes) {
        QPainterPath path;
        path.setFillRule(shape.evenOdd ? Qt::OddEvenFill : Qt::WindingFill);
        const float *point = coords.data() + shape.firstCoord;
        for (const Op op : ops.subspan(shape.firstOp, shape.opCount)) {
            switch (op) {
            case M:
                path.moveTo(point[0], point[1]);
                point += 2;
                break;
            case L:
                path.lineTo(point[0], point[1]);
                point += 2;
                break;
            case C:
                path.cubicTo(point[0], point[1], point[2], point[3], point[4], point[5]);
                point += 6;
                break;
            case Z:
                path.closeSubpath();
                break;
            }
        }
        if (shape.fill != noPaint)
            painter.fillPath(path, QColor::fromRgb(shape.fill));
        if (shape.stroke != noPaint) {
            QPen pen(QColor::fromRgb(shape.stroke), shape.strokeWidth, Qt::SolidLine, Qt::FlatCap,
                     Qt::MiterJoin);
            pen.setMiterLimit(4); // as in SVG
            painter.strokePath(path, pen);
        }
    }
    painter.restore();
}

QImage Drawing::image(QSizeF pixels) const
{
    QImage image(QSize(qCeil(pixels.width()), qCeil(pixels.height())),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paint(painter, QRectF(QPointF(0, 0), pixels));
    return image;
}
