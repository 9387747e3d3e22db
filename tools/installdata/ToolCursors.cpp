// The cursors of the canvas tools: each tool drawn small, lying from its point at the hot spot.
#include "ToolCursors.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

#include "Draw.h"

namespace installdata {

namespace {

namespace tf = ms::toolfiles;

const QColor kOutline(36, 32, 30);
const QColor kLight(252, 250, 246);

// A light shape traced with a thin dark line: it shows on light and on dark skin.
void outlined(QPainter& p, const QPainterPath& path, const QBrush& fill, double width = 1.1) {
    p.setPen(QPen(kOutline, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawPath(path);
}

QPainterPath polygonPath(std::initializer_list<QPointF> points) {
    QPainterPath path;
    path.addPolygon(QPolygonF(points));
    path.closeSubpath();
    return path;
}

// A tool lying from its point at the hot spot towards the upper right: x runs along the tool.
void alongDiagonal(QPainter& p, QPoint hotSpot) {
    p.translate(hotSpot.x() + 0.5, hotSpot.y() + 0.5);
    p.rotate(-45);
}

void drawPencil(QPainter& p) {
    alongDiagonal(p, tf::cursorArt(tf::CursorId::Pen).hotSpot);
    outlined(p, polygonPath({{-0.8, 0}, {9, -3.4}, {31, -3.4}, {31, 3.4}, {9, 3.4}}), kLight);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(234, 204, 164));  // the sharpened wood
    p.drawPolygon(QPolygonF({{-0.8, 0}, {9, -3.4}, {9, 3.4}}));
    p.setBrush(QColor(92, 52, 48));  // the lead, a brow brown
    p.drawPolygon(QPolygonF({{-0.8, 0}, {3.6, -1.5}, {3.6, 1.5}}));
    p.setPen(QPen(QColor(200, 194, 188), 0.8));
    p.drawLine(QPointF(10, 0), QPointF(30, 0));  // a facet of the barrel
    outlined(p, polygonPath({{-0.8, 0}, {9, -3.4}, {31, -3.4}, {31, 3.4}, {9, 3.4}}), Qt::NoBrush);
    p.setPen(QPen(kOutline, 0.9));
    p.drawLine(QPointF(9, -3.4), QPointF(9, 3.4));
    QPainterPath cap;
    cap.addRoundedRect(QRectF(31, -3.4, 4, 6.8), 1.2, 1.2);
    outlined(p, cap, QColor(168, 115, 125));
}

void drawPowderBrush(QPainter& p) {
    alongDiagonal(p, tf::cursorArt(tf::CursorId::Brush).hotSpot);
    QPainterPath handle;
    handle.moveTo(17, -2.2);
    handle.lineTo(32, -1.6);
    handle.quadTo(34.5, 0, 32, 1.6);
    handle.lineTo(17, 2.2);
    handle.closeSubpath();
    outlined(p, handle, kLight);
    QPainterPath ferrule;
    ferrule.addRect(QRectF(11, -2.8, 6.5, 5.6));
    outlined(p, ferrule, QColor(206, 208, 214));
    // The tuft: a full dome of bristles, dusted with rose powder at the tip.
    QPainterPath tuft;
    tuft.moveTo(0, 0);
    tuft.cubicTo(0, -4.8, 6, -5.2, 11.3, -2.8);
    tuft.lineTo(11.3, 2.8);
    tuft.cubicTo(6, 5.2, 0, 4.8, 0, 0);
    QLinearGradient powder(0, 0, 11, 0);
    powder.setColorAt(0.0, QColor(222, 146, 152));
    powder.setColorAt(0.45, QColor(240, 206, 204));
    powder.setColorAt(1.0, kLight);
    outlined(p, tuft, powder);
    p.setPen(QPen(QColor(190, 150, 150), 0.6));
    p.drawLine(QPointF(3.5, -1.2), QPointF(10, -1.6));
    p.drawLine(QPointF(3.5, 1.2), QPointF(10, 1.6));
}

void drawSoftDot(QPainter& p) {
    const QPointF c = QPointF(tf::cursorArt(tf::CursorId::Soften).hotSpot) + QPointF(0.5, 0.5);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kOutline, 3.4));
    p.drawEllipse(c, 12.0, 12.0);
    p.setPen(QPen(kLight, 1.4));
    p.drawEllipse(c, 12.0, 12.0);
    // A pale halo, so the dot shows on dark skin, and the blurred dark dot itself.
    QRadialGradient halo(c, 8.5);
    halo.setColorAt(0.0, QColor(255, 255, 255, 210));
    halo.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(halo);
    p.drawEllipse(c, 8.5, 8.5);
    QRadialGradient dot(c, 6.0);
    dot.setColorAt(0.0, QColor(36, 32, 30, 255));
    dot.setColorAt(0.3, QColor(36, 32, 30, 235));
    dot.setColorAt(1.0, QColor(36, 32, 30, 0));
    p.setBrush(dot);
    p.drawEllipse(c, 6.0, 6.0);
}

void drawStamp(QPainter& p) {
    const QPointF c = QPointF(tf::cursorArt(tf::CursorId::Clone).hotSpot) + QPointF(0.5, 0.5);
    // Cross-hairs with a gap round the point, light lines edged dark.
    const QLineF arms[] = {{c + QPointF(-14, 0), c + QPointF(-3.5, 0)},
                           {c + QPointF(3.5, 0), c + QPointF(14, 0)},
                           {c + QPointF(0, -14), c + QPointF(0, -3.5)},
                           {c + QPointF(0, 3.5), c + QPointF(0, 14)}};
    p.setPen(QPen(kOutline, 3.2, Qt::SolidLine, Qt::FlatCap));
    for (const QLineF& l : arms) p.drawLine(l);
    p.setPen(QPen(kLight, 1.2, Qt::SolidLine, Qt::FlatCap));
    for (const QLineF& l : arms)
        p.drawLine(l.p1() + (l.p2() - l.p1()) * 0.06, l.p2() - (l.p2() - l.p1()) * 0.06);
    QPainterPath centre;
    centre.addEllipse(c, 1.6, 1.6);
    outlined(p, centre, kOutline, 0.8);
    // The stamp in the upper right quarter: knob, neck, block and its inked rubber.
    QPainterPath knob;
    knob.addEllipse(QPointF(25.5, 3.6), 2.8, 2.6);
    outlined(p, knob, kLight);
    QPainterPath neck;
    neck.addRect(QRectF(24, 6, 3, 3.5));
    outlined(p, neck, kLight);
    QPainterPath block;
    block.addRoundedRect(QRectF(19.8, 9.3, 11.4, 3.6), 1.2, 1.2);
    outlined(p, block, kLight);
    QPainterPath rubber;
    rubber.addRect(QRectF(20.8, 12.9, 9.4, 1.6));
    outlined(p, rubber, QColor(168, 115, 125), 0.8);
}

void drawConcealer(QPainter& p) {
    alongDiagonal(p, tf::cursorArt(tf::CursorId::Concealer).hotSpot);
    QPainterPath tube;
    tube.addRoundedRect(QRectF(11, -4, 21, 8), 1.5, 1.5);
    outlined(p, tube, kLight);
    p.setPen(QPen(QColor(168, 115, 125), 1.4));
    p.drawLine(QPointF(14, -3.2), QPointF(14, 3.2));
    QPainterPath collar;
    collar.addRect(QRectF(8, -3.3, 3, 6.6));
    outlined(p, collar, QColor(206, 208, 214));
    // The stick, skin beige, rounded at the working end.
    QPainterPath stick;
    stick.moveTo(8, -2.6);
    stick.lineTo(2.6, -2.6);
    stick.arcTo(QRectF(0, -2.6, 5.2, 5.2), 90, 180);
    stick.lineTo(8, 2.6);
    stick.closeSubpath();
    outlined(p, stick, QColor(234, 196, 164));
}

void drawEraser(QPainter& p) {
    alongDiagonal(p, tf::cursorArt(tf::CursorId::Eraser).hotSpot);
    QPainterPath block;
    block.addRoundedRect(QRectF(0, -6.3, 25, 12.6), 1.6, 1.6);
    outlined(p, block, kLight);
    // The rubbing end in soft pink, the rest in its paper sleeve.
    p.save();
    p.setClipPath(block);
    p.fillRect(QRectF(0, -7, 9, 14), QColor(244, 178, 184));
    p.restore();
    outlined(p, block, Qt::NoBrush);
    p.setPen(QPen(kOutline, 0.9));
    p.drawLine(QPointF(9, -6.3), QPointF(9, 6.3));
    p.setPen(QPen(QColor(196, 188, 182), 0.8));
    p.drawLine(QPointF(13, -3), QPointF(21, -3));
    p.drawLine(QPointF(13, 0), QPointF(21, 0));
}

void drawScissors(QPainter& p) {
    const QPointF c = QPointF(tf::cursorArt(tf::CursorId::Scissors).hotSpot) + QPointF(0.5, 0.5);
    // Two halves, each a blade reaching up past the pivot and a shank down to its finger ring.
    for (double side : {-1.0, 1.0}) {
        const QPointF tip = c + QPointF(side * 8.5, -15), ring = c + QPointF(-side * 7.5, 9.5);
        const QPointF along = (tip - c) / std::hypot((tip - c).x(), (tip - c).y());
        const QPointF across(-along.y(), along.x());
        QPainterPath blade;
        blade.moveTo(c + across * 2.6 - along * 2);
        blade.lineTo(tip + across * 0.3);
        blade.lineTo(tip - across * 0.3);
        blade.lineTo(c - across * 2.0 - along * 2);
        blade.closeSubpath();
        const QPointF down = (ring - c) / std::hypot((ring - c).x(), (ring - c).y());
        const QPointF downAcross(-down.y(), down.x());
        QPainterPath shank;
        shank.moveTo(c + downAcross * 1.6);
        shank.lineTo(ring - down * 3.5 + downAcross * 1.3);
        shank.lineTo(ring - down * 3.5 - downAcross * 1.3);
        shank.lineTo(c - downAcross * 1.6);
        shank.closeSubpath();
        QPainterPath loop;
        loop.addEllipse(ring, 4.6, 4.6);
        QPainterPath hole;
        hole.addEllipse(ring, 2.0, 2.0);
        outlined(p, blade.united(shank).united(loop).subtracted(hole), kLight);
    }
    QPainterPath pivot;
    pivot.addEllipse(c, 1.7, 1.7);
    outlined(p, pivot, QColor(120, 112, 108), 0.9);
}

void drawEyedropper(QPainter& p) {
    alongDiagonal(p, tf::cursorArt(tf::CursorId::Eyedropper).hotSpot);
    QPainterPath bulb;
    bulb.moveTo(23.5, -3.2);
    bulb.lineTo(31, -3.4);
    bulb.arcTo(QRectF(27.6, -3.4, 6.8, 6.8), 90, -180);
    bulb.lineTo(23.5, 3.2);
    bulb.closeSubpath();
    outlined(p, bulb, QColor(178, 170, 174));
    QPainterPath collar;
    collar.addRect(QRectF(20.5, -3.8, 3, 7.6));
    outlined(p, collar, QColor(206, 208, 214));
    // The glass: a tube narrowing to the tip, a drop of colour in its lower end.
    const QPainterPath glass = polygonPath(
        {{-0.6, -0.8}, {8, -1.8}, {9.5, -2.6}, {20.5, -2.6}, {20.5, 2.6}, {9.5, 2.6}, {8, 1.8}, {-0.6, 0.8}});
    outlined(p, glass, QColor(236, 244, 248));
    p.save();
    p.setClipPath(glass);
    p.fillRect(QRectF(-1, -3, 12.5, 6), QColor(200, 110, 120));
    p.restore();
    outlined(p, glass, Qt::NoBrush);
}

void drawHand(QPainter& p) {
    const QPointF c = QPointF(tf::cursorArt(tf::CursorId::Locked).hotSpot) + QPointF(0.5, 0.5);
    // An open right hand, the hot spot in its palm: four fingers up, the thumb to the left.
    p.translate(c.x() - 16, c.y() - 17);
    constexpr double kFinger = 4.0, kThumb = 3.8, kLine = 1.1;
    const double fingers[][2] = {{11, 6.4}, {15, 3.8}, {19, 4.8}, {23, 8.0}};  // centre x, top
    const QRectF palm(9.5, 12, 23 + kFinger / 2 - 9.5, 15.5);
    // The parts drawn dark and a line's width larger, then light on top: one outline round them all.
    for (bool fill : {false, true}) {
        const QColor colour = fill ? kLight : kOutline;
        const double grow = fill ? 0.0 : 2 * kLine;
        p.setPen(QPen(colour, kFinger + grow, Qt::SolidLine, Qt::RoundCap));
        for (const auto& f : fingers) p.drawLine(QPointF(f[0], f[1] + kFinger / 2), QPointF(f[0], 16));
        p.setPen(QPen(colour, kThumb + grow, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(5.4, 13.6), QPointF(11, 22));
        p.setPen(fill ? QPen(Qt::NoPen) : QPen(colour, grow));
        p.setBrush(colour);
        p.drawRoundedRect(palm, 4.5, 4.5);
    }
    // The fingers touch; thin lines on pixel centres part them down to the palm.
    p.setPen(QPen(kOutline, 0.9, Qt::SolidLine, Qt::RoundCap));
    for (int k = 0; k + 1 < 4; ++k) {
        const double x = (fingers[k][0] + fingers[k + 1][0]) / 2;
        p.drawLine(QPointF(x, std::max(fingers[k][1], fingers[k + 1][1]) + kFinger / 2), QPointF(x, 14.5));
    }
}

}  // namespace

QImage toolCursor(tf::CursorId id) {
    QImage layer = newLayer(tf::kCursorSide, tf::kCursorSide);
    QPainter p;
    beginPainter(p, layer);
    switch (id) {
        case tf::CursorId::Pen:
            drawPencil(p);
            break;
        case tf::CursorId::Brush:
            drawPowderBrush(p);
            break;
        case tf::CursorId::Soften:
            drawSoftDot(p);
            break;
        case tf::CursorId::Clone:
            drawStamp(p);
            break;
        case tf::CursorId::Concealer:
            drawConcealer(p);
            break;
        case tf::CursorId::Eraser:
            drawEraser(p);
            break;
        case tf::CursorId::Scissors:
            drawScissors(p);
            break;
        case tf::CursorId::Eyedropper:
            drawEyedropper(p);
            break;
        case tf::CursorId::Locked:
            drawHand(p);
            break;
    }
    p.end();
    return layer.convertToFormat(QImage::Format_ARGB32);
}

}  // namespace installdata
