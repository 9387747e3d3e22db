#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

#include "InstallData.h"

// Glasses: 180 x 70 pictures at canvas (100, 177), so the eyes of the sample face are at local
// (55, 29) and (125, 29). Every lens holds its eye with the lashes (about 46 x 22 px round the eye
// centre on the sample face and the fitted photos) inside its rim, the bridge rests on the nose and
// the temples run back toward the ears; the frame casts a soft shadow on the cheeks.
namespace installdata {

namespace {

constexpr double kMid = 90;
// The top of the sample's left ear where the temple meets it, in the glasses' picture (placed at
// canvas (100, 177)).
const QPointF kEarTop(4.5, 32.0);

enum class Shape { Rectangle, Round, CatEye, Aviator, Wayfarer, Oval, Square };
// Full rim; heavy brow bar over a thin metal lower rim; top rim with a thread below; no rim.
enum class Rim { Full, Browline, HalfRim, Rimless };

struct GlassesVariant {
    Shape shape;
    Rim rim;
    QPointF centre;  // of the left lens, local
    double rx, ryTop, ryBottom;
    double width;  // of the rim
    QColor frame, tint;
    bool metal;  // thin metal with nose pads, instead of acetate
};

const GlassesVariant kGlasses[] = {
    {Shape::Rectangle, Rim::Full, {54, 30}, 30, 20, 15, 3.4, {34, 28, 26}, {150, 170, 190, 26}, false},
    {Shape::Round, Rim::Full, {54, 29}, 31, 27, 28, 1.6, {180, 146, 82}, {170, 160, 130, 24}, true},
    {Shape::CatEye, Rim::Full, {54, 30}, 30, 21, 15, 3.6, {110, 30, 40}, {150, 110, 120, 28}, false},
    {Shape::Aviator, Rim::Full, {54, 30}, 31, 20, 22, 1.7, {206, 176, 116}, {96, 86, 60, 70}, true},
    {Shape::Rectangle, Rim::Browline, {54, 30}, 30, 20, 16, 4.4, {40, 32, 30}, {150, 160, 170, 22}, false},
    {Shape::Oval, Rim::Rimless, {54, 28}, 31, 21, 20, 1.2, {190, 192, 198}, {170, 190, 205, 30}, true},
    {Shape::Square, Rim::Full, {52, 31}, 33, 23, 21, 4.0, {58, 40, 30}, {170, 150, 130, 26}, false},
    {Shape::Rectangle, Rim::HalfRim, {54, 30}, 30, 20, 15, 2.6, {90, 96, 108}, {160, 175, 190, 24}, true},
    {Shape::Wayfarer, Rim::Full, {54, 30}, 31, 21, 17, 4.6, {22, 20, 20}, {52, 44, 36, 88}, false},
    {Shape::Oval, Rim::Full, {54, 28}, 31, 21, 20, 1.1, {170, 172, 180}, {170, 180, 200, 22}, true},
};

// Outline of the left lens from the nose side, through the bottom, the outer side and the top (in
// fractions of its length: 0, 0.25, 0.5, 0.75); the right lens mirrors it.
QPainterPath lensPath(const GlassesVariant& g) {
    Polyline pts;
    for (int i = 0; i < 96; ++i) {
        const double a = 2 * kPi * i / 96, ca = std::cos(a), sa = std::sin(a);
        const double ry = sa < 0 ? g.ryTop : g.ryBottom;
        auto superellipse = [&](double e) {
            return QPointF(g.rx * std::copysign(std::pow(std::abs(ca), e), ca),
                           ry * std::copysign(std::pow(std::abs(sa), e), sa));
        };
        QPointF q(g.rx * ca, ry * sa);
        switch (g.shape) {
            case Shape::Round:
                break;
            case Shape::Oval:  // a soft oval, fuller at the corners than an ellipse
                q = superellipse(0.7);
                break;
            case Shape::Rectangle:
                q = superellipse(0.35);
                break;
            case Shape::Square:
                q = superellipse(0.42);
                break;
            case Shape::CatEye:  // the outer upper corner sweeps up and out
                q = superellipse(0.5);
                if (ca < 0)
                    q += QPointF(-3 * ca * ca * std::max(0.0, -sa),
                                 -(sa < 0 ? 12 * ca * ca * -sa : 4 * ca * ca * sa));
                break;
            case Shape::Wayfarer:  // wider at the top, the outer top corner lifted
                q = superellipse(0.42);
                q.rx() *= sa < 0 ? 1.0 : 1.0 - 0.1 * sa;
                if (ca < 0 && sa < 0) q.ry() -= 4 * ca * ca * -sa;
                break;
            case Shape::Aviator:  // teardrop: flat top, deep toward the nose and down
                q = superellipse(sa < 0 ? 0.45 : 0.85);
                if (sa > 0) q.ry() *= 1.0 + 0.18 * ca;
                break;
        }
        pts.push_back(g.centre + q);
    }
    return pathThrough(pts, true);
}

// The two lenses' outlines, the right one mirrored about the bridge.
QPainterPath mirroredPath(const QPainterPath& left) {
    QTransform m;
    m.translate(2 * kMid, 0);
    m.scale(-1, 1);
    return m.map(left);
}

// A point on the lens outline at angle a (0 nose side, pi/2 bottom, pi outer side), and the hinge.
QPointF lensPoint(const GlassesVariant& g, double a) {
    const QPainterPath lens = lensPath(g);
    const double t = std::fmod(a / (2 * kPi) + 1.0, 1.0);
    return lens.pointAtPercent(t);
}

QPointF hinge(const GlassesVariant& g) { return lensPoint(g, kPi + 0.45); }

// Glass: a faint tint darker at the top, a thin darker ring inside the edge where the glass turns,
// and the reflection of a window from the upper left as a soft diagonal band.
void drawLens(QPainter& p, const GlassesVariant& g, const QPainterPath& lens) {
    const QRectF box = lens.boundingRect();
    QLinearGradient tint(0, box.top(), 0, box.bottom());
    tint.setColorAt(0.0, g.tint);
    tint.setColorAt(1.0, withAlpha(g.tint, g.tint.alpha() * 55 / 100));
    p.fillPath(lens, tint);
    p.save();
    p.setClipPath(lens);
    p.setPen(QPen(withAlpha(g.tint.darker(170), 36), 3.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(lens);
    const QPointF c = box.center();
    QLinearGradient band(c + QPointF(-box.width() * 0.5, -box.height() * 0.5),
                         c + QPointF(box.width() * 0.1, box.height() * 0.3));
    band.setColorAt(0.0, QColor(255, 255, 255, 0));
    band.setColorAt(0.35, QColor(255, 255, 255, 34));
    band.setColorAt(0.5, QColor(255, 255, 255, 10));
    band.setColorAt(0.62, QColor(255, 255, 255, 22));
    band.setColorAt(0.8, QColor(255, 255, 255, 0));
    p.fillPath(lens, band);
    softEllipse(p, box.topLeft() + QPointF(box.width() * 0.3, box.height() * 0.18), box.width() * 0.16,
                box.height() * 0.07, QColor(255, 255, 255, 30));
    p.restore();
}

// A rim stroke lit from the upper left: a light edge above, the body, a dark edge below.
void strokeRim(QPainter& p, const GlassesVariant& g, const QPainterPath& path, double width) {
    const QRectF box = path.boundingRect();
    QLinearGradient body(box.topLeft(), box.bottomRight());
    body.setColorAt(0.0, g.frame.lighter(g.metal ? 165 : 150));
    body.setColorAt(0.45, g.frame);
    body.setColorAt(1.0, g.frame.darker(g.metal ? 170 : 150));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QBrush(body), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
    // The polish: a thin light line along the upper part of the rim.
    p.save();
    p.setClipRect(QRectF(box.left() - 4, box.top() - 4, box.width() + 8, box.height() * 0.45));
    p.setPen(QPen(QColor(255, 255, 255, g.metal ? 150 : 90), std::max(0.5, width * 0.25)));
    p.translate(-width * 0.12, -width * 0.22);
    p.drawPath(path);
    p.restore();
}

// Part of the lens outline between two fractions of its length, as an open path.
QPainterPath outlinePart(const QPainterPath& lens, double from, double to) {
    QPainterPath part;
    const int steps = 48;
    for (int i = 0; i <= steps; ++i) {
        const double t = std::fmod(from + (to - from) * i / steps + 1.0, 1.0);
        if (i == 0)
            part.moveTo(lens.pointAtPercent(t));
        else
            part.lineTo(lens.pointAtPercent(t));
    }
    return part;
}

void drawRims(QPainter& p, const GlassesVariant& g, const QPainterPath& lens) {
    switch (g.rim) {
        case Rim::Full:
            strokeRim(p, g, lens, g.width);
            break;
        case Rim::Browline: {
            strokeRim(p, g, outlinePart(lens, 0.0, 0.5), 1.1);
            GlassesVariant metal = g;
            metal.frame = QColor(196, 170, 120);
            metal.metal = true;
            strokeRim(p, metal, outlinePart(lens, 0.0, 0.5), 1.1);
            strokeRim(p, g, outlinePart(lens, 0.52, 0.98), g.width);
            break;
        }
        case Rim::HalfRim:
            strokeRim(p, g, outlinePart(lens, 0.45, 1.05), g.width);
            p.setPen(QPen(QColor(206, 210, 216, 215), 1.3));  // the nylon thread under the lens
            p.drawPath(outlinePart(lens, 0.0, 0.5));
            break;
        case Rim::Rimless:  // the polished edge of the glass catches the light
            p.setPen(QPen(QColor(206, 216, 226, 165), 1.6));
            p.setBrush(Qt::NoBrush);
            p.drawPath(lens);
            break;
    }
}

// Temples run from the hinges straight back to the tops of the ears: seen from the front they are
// short, falling a little along the side of the head and thinning and darkening as they turn away
// behind it. Level with the hinges they would stick out past the head into the air.
void drawTemples(QPainter& p, const GlassesVariant& g, double side) {
    const QPointF h = hinge(g);
    const QPointF from = side < 0 ? h : QPointF(2 * kMid - h.x(), h.y());
    const QPointF to(side < 0 ? kEarTop.x() : 2 * kMid - kEarTop.x(), std::max(h.y() + 4, kEarTop.y()));
    QLinearGradient grad(from, to);
    grad.setColorAt(0.0, g.frame.lighter(115));
    grad.setColorAt(0.7, g.frame.darker(150));
    grad.setColorAt(1.0, withAlpha(g.frame.darker(200), 0));
    const double w = g.metal ? 1.6 : std::max(2.4, g.width * 0.8);
    QPainterPath arm;
    arm.moveTo(from + QPointF(0, -w / 2));
    arm.quadTo(lerp(from, to, 0.5) + QPointF(0, -w * 0.4), to + QPointF(0, -0.4));
    arm.lineTo(to + QPointF(0, 0.4));
    arm.quadTo(lerp(from, to, 0.5) + QPointF(0, w * 0.4), from + QPointF(0, w / 2));
    arm.closeSubpath();
    p.fillPath(arm, grad);
    // The hinge block or the metal end piece.
    p.setPen(Qt::NoPen);
    p.setBrush(g.frame.darker(115));
    p.drawRoundedRect(QRectF(from.x() - 2.5, from.y() - w / 2 - 0.8, 5, w + 1.6), 1.2, 1.2);
}

void drawBridge(QPainter& p, const GlassesVariant& g, const QPainterPath& left) {
    const QPointF a = left.pointAtPercent(g.shape == Shape::Round ? 0.96 : 0.94);
    const QPointF b(2 * kMid - a.x(), a.y());
    QPainterPath bridge;
    bridge.moveTo(a);
    bridge.cubicTo(a + QPointF(5, -4), b + QPointF(-5, -4), b);
    strokeRim(p, g, bridge, g.metal ? 1.5 : std::max(2.6, g.width * 0.85));
    if (g.shape == Shape::Aviator) {  // the brow bar above
        QPainterPath bar;
        bar.moveTo(g.centre + QPointF(g.rx * 0.45, -g.ryTop + 1));
        bar.quadTo(QPointF(kMid, g.centre.y() - g.ryTop - 1),
                   QPointF(2 * kMid - g.centre.x() - g.rx * 0.45, g.centre.y() - g.ryTop + 1));
        strokeRim(p, g, bar, 1.3);
    }
    if (g.metal) {  // clear nose pads on their arms
        for (double s : {-1.0, 1.0}) {
            const QPointF pad(kMid + s * 8, g.centre.y() + 8);
            p.setPen(QPen(withAlpha(g.frame, 170), 0.8));
            p.drawLine(QPointF(kMid + s * 9, a.y() + 1), pad);
            p.setBrush(QColor(235, 238, 240, 70));
            p.setPen(QPen(QColor(255, 255, 255, 110), 0.6));
            p.drawEllipse(pad, 2.0, 3.4);
        }
    }
}

// The frame alone (rims, bridge, temples), to make its shadow from.
void drawFrame(QPainter& p, const GlassesVariant& g, const QPainterPath& left, const QPainterPath& right) {
    drawTemples(p, g, -1);
    drawTemples(p, g, 1);
    drawRims(p, g, left);
    drawRims(p, g, right);
    drawBridge(p, g, left);
}

QImage renderGlasses(const GlassesVariant& g) {
    QImage img = newLayer(180, 70);
    QPainter p;
    beginPainter(p, img);
    const QPainterPath left = lensPath(g), right = mirroredPath(left);
    // The frame's shadow on the cheeks and the sides of the nose, down and right of the frame; the
    // lenses are left clear of it, so the eyes keep their light.
    QPainterPath outside;
    outside.addRect(QRectF(img.rect()));
    p.save();
    p.setClipPath(outside.subtracted(left).subtracted(right));
    paintSoft(p, img.size(), 5, 0.42, [&](QPainter& q) {
        q.translate(2, 5);
        drawFrame(q, g, left, right);
        q.setCompositionMode(QPainter::CompositionMode_SourceIn);
        q.fillRect(QRectF(-10, -10, 200, 90), QColor(40, 22, 16));
    });
    p.restore();
    drawLens(p, g, left);
    drawLens(p, g, right);
    drawFrame(p, g, left, right);
    return img;
}

}  // namespace

void writeGlasses(Writer& out) {
    int index = 0;
    for (const GlassesVariant& g : kGlasses)
        out.component(renderGlasses(g), QStringLiteral("yanjing/") + componentName({}, ++index));
}

}  // namespace installdata
