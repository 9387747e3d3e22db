// The line icons of the window art: paths in a 24 x 24 unit box, stroked in one colour.
#include "ShellIcons.h"

#include <QPainterPath>

namespace shellart {

namespace {

QPainterPath hairIconPath(Icon icon) {
    QPainterPath p;
    switch (icon) {
        case Icon::Hair:
            p.addEllipse(QPointF(12, 14), 4.6, 6);
            p.moveTo(5.5, 19);
            p.cubicTo(2.5, 8, 8, 2.5, 13.5, 3.2);
            p.cubicTo(20, 4, 22, 12, 19.5, 22);
            p.moveTo(8, 9.5);
            p.cubicTo(11, 9, 14, 7, 15.5, 5);
            break;
        case Icon::Dye:
            p.moveTo(12, 2.5);
            p.cubicTo(8, 8, 5, 12, 5, 15.5);
            p.cubicTo(5, 19.5, 8.2, 22, 12, 22);
            p.cubicTo(15.8, 22, 19, 19.5, 19, 15.5);
            p.cubicTo(19, 12, 16, 8, 12, 2.5);
            p.moveTo(8.5, 15.5);
            p.cubicTo(8.5, 17.5, 10, 19, 12, 19);
            break;
        case Icon::Scissors:
            p.addEllipse(QPointF(7, 18), 3, 3);
            p.addEllipse(QPointF(17, 18), 3, 3);
            p.moveTo(9, 15.6);
            p.lineTo(17.5, 3);
            p.moveTo(15, 15.6);
            p.lineTo(6.5, 3);
            break;
        default:
            break;
    }
    return p;
}

QPainterPath faceIconPath(Icon icon) {
    QPainterPath p;
    switch (icon) {
        case Icon::Brow:
            p.moveTo(3.5, 9);
            p.quadTo(11, 2.5, 20.5, 7.5);
            p.moveTo(4.5, 16);
            p.quadTo(12, 9.5, 19.5, 16);
            p.quadTo(12, 21.5, 4.5, 16);
            p.addEllipse(QPointF(12, 15.8), 2.1, 2.1);
            break;
        case Icon::Brush:
            p.moveTo(11, 13);
            p.cubicTo(6, 12, 3.5, 7, 4.5, 2.5);
            p.cubicTo(9, 3.5, 13, 7, 13.2, 11);
            p.closeSubpath();
            p.moveTo(13.5, 12.5);
            p.lineTo(20.5, 20.5);
            break;
        case Icon::Lips:
            p.moveTo(3, 12);
            p.cubicTo(6, 8.5, 8.5, 6.5, 10.5, 8);
            p.quadTo(12, 9, 13.5, 8);
            p.cubicTo(15.5, 6.5, 18, 8.5, 21, 12);
            p.cubicTo(18, 17.5, 15, 19, 12, 19);
            p.cubicTo(9, 19, 6, 17.5, 3, 12);
            p.moveTo(3, 12);
            p.quadTo(12, 14.2, 21, 12);
            break;
        case Icon::Gem:
            p.moveTo(6.5, 7);
            p.lineTo(17.5, 7);
            p.lineTo(21, 11);
            p.lineTo(12, 21.5);
            p.lineTo(3, 11);
            p.closeSubpath();
            p.moveTo(3, 11);
            p.lineTo(21, 11);
            p.moveTo(9.5, 7);
            p.lineTo(8.5, 11);
            p.lineTo(12, 21.5);
            p.lineTo(15.5, 11);
            p.lineTo(14.5, 7);
            break;
        default:
            break;
    }
    return p;
}

QPainterPath zoomIconPath(Icon icon) {
    QPainterPath p;
    p.addEllipse(QPointF(10, 10), 6.5, 6.5);
    p.moveTo(14.8, 14.8);
    p.lineTo(20.5, 20.5);
    if (icon != Icon::Zoom) {
        p.moveTo(7, 10);
        p.lineTo(13, 10);
    }
    if (icon == Icon::ZoomIn) {
        p.moveTo(10, 7);
        p.lineTo(10, 13);
    }
    return p;
}

QPainterPath controlIconPath(Icon icon) {
    QPainterPath p;
    switch (icon) {
        case Icon::Clock:
            p.addEllipse(QPointF(12, 12), 8.5, 8.5);
            p.moveTo(12, 6.5);
            p.lineTo(12, 12);
            p.lineTo(15.5, 14);
            break;
        case Icon::Undo:
        case Icon::Redo:
            p.moveTo(19, 18);
            p.cubicTo(19, 10.5, 14, 8, 7.5, 8.5);
            p.moveTo(11.5, 4.5);
            p.lineTo(7.5, 8.5);
            p.lineTo(11.5, 12.5);
            if (icon == Icon::Redo) p = QTransform(-1, 0, 0, 1, 24, 0).map(p);
            break;
        case Icon::Help:
            p.addEllipse(QPointF(12, 12), 8.5, 8.5);
            p.moveTo(9.3, 9.6);
            p.cubicTo(9.3, 6.6, 14.7, 6.6, 14.7, 9.6);
            p.cubicTo(14.7, 11.8, 12, 12, 12, 14.3);
            p.addEllipse(QPointF(12, 17.2), 0.6, 0.6);
            break;
        case Icon::Hide:
            p.moveTo(12, 4);
            p.lineTo(12, 14);
            p.moveTo(8, 10);
            p.lineTo(12, 14);
            p.lineTo(16, 10);
            p.moveTo(5, 19);
            p.lineTo(19, 19);
            break;
        case Icon::Power:
            // Open at the top: from 120 degrees counter-clockwise round to 60.
            p.arcMoveTo(QRectF(4, 5, 16, 16), 120);
            p.arcTo(QRectF(4, 5, 16, 16), 120, 300);
            p.moveTo(12, 3);
            p.lineTo(12, 12);
            break;
        case Icon::Zoom:
        case Icon::ZoomIn:
        case Icon::ZoomOut:
            return zoomIconPath(icon);
        case Icon::Hair:
        case Icon::Dye:
        case Icon::Scissors:
            return hairIconPath(icon);
        default:
            return faceIconPath(icon);
    }
    return p;
}

}  // namespace

void drawIcon(QPainter& p, Icon icon, const QRectF& box, const QColor& colour, double strokeUnits) {
    p.save();
    p.translate(box.topLeft());
    p.scale(box.width() / 24.0, box.height() / 24.0);
    p.setPen(QPen(colour, strokeUnits, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(controlIconPath(icon));
    p.restore();
}

}  // namespace shellart
