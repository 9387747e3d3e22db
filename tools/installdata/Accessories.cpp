#include <QLinearGradient>
#include <QMap>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

#include "InstallData.h"

// Glasses: 180 x 70 pictures at canvas (100, 177).
namespace installdata {

namespace {

constexpr double kPi = 3.14159265358979323846;

enum class LensShape { Round, Rectangle, CatEye, Aviator };

struct GlassesVariant {
    LensShape shape;
    QColor frame, tint;
    double frameW;
    double rx, ry;  // lens half size
    bool metal;     // thin metal frame with nose pads
};

const GlassesVariant kGlasses[] = {
    {LensShape::Rectangle, {32, 26, 24}, {150, 170, 190, 34}, 3.2, 24, 15, false},
    {LensShape::Round, {176, 140, 72}, {170, 150, 110, 40}, 1.4, 19, 18, true},
    {LensShape::CatEye, {96, 30, 36}, {120, 60, 70, 70}, 3.0, 25, 15, false},
    {LensShape::Aviator, {200, 170, 110}, {60, 66, 60, 150}, 1.5, 25, 19, true},
    {LensShape::Round, {30, 28, 28}, {140, 150, 170, 30}, 2.6, 21, 19, false},
    {LensShape::Rectangle, {150, 152, 158}, {170, 180, 190, 26}, 1.2, 23, 13, true},
};

// Outline of the left lens around its centre; the right lens mirrors it.
QPainterPath lensPath(const GlassesVariant& g, QPointF c) {
    QPainterPath path;
    Polyline pts;
    for (int i = 0; i < 72; ++i) {
        const double a = 2 * kPi * i / 72, ca = std::cos(a), sa = std::sin(a);
        double x = g.rx * ca, y = g.ry * sa;
        switch (g.shape) {
            case LensShape::Round:
                break;
            case LensShape::Rectangle:  // superellipse: straight sides, rounded corners
                x = g.rx * std::copysign(std::pow(std::abs(ca), 0.4), ca);
                y = g.ry * std::copysign(std::pow(std::abs(sa), 0.4), sa);
                break;
            case LensShape::CatEye:
                x = g.rx * std::copysign(std::pow(std::abs(ca), 0.6), ca);
                y = g.ry * std::copysign(std::pow(std::abs(sa), 0.7), sa) -
                    (ca < 0 && sa < 0 ? 5 * ca * ca * -sa : 0);
                break;
            case LensShape::Aviator:  // teardrop: deeper toward the outer lower side
                y = sa > 0 ? g.ry * sa * (1.0 + 0.25 * -ca) : g.ry * 0.8 * sa;
                break;
        }
        pts.push_back(c + QPointF(x, y));
    }
    return pathThrough(pts, true);
}

void drawLens(QPainter& p, const GlassesVariant& g, QPointF c) {
    const QPainterPath lens = lensPath(g, c);
    QLinearGradient tint(0, c.y() - g.ry, 0, c.y() + g.ry);
    tint.setColorAt(0.0, g.tint);
    tint.setColorAt(1.0, withAlpha(g.tint, g.tint.alpha() / 3));
    p.fillPath(lens, tint);
    p.save();
    p.setClipPath(lens);
    p.setPen(QPen(QColor(255, 255, 255, 60), 5));
    p.drawLine(c + QPointF(-g.rx * 0.5, g.ry), c + QPointF(g.rx * 0.2, -g.ry));
    p.setPen(QPen(QColor(255, 255, 255, 35), 2));
    p.drawLine(c + QPointF(-g.rx * 0.1, g.ry), c + QPointF(g.rx * 0.55, -g.ry));
    p.restore();
    QLinearGradient rim(0, c.y() - g.ry, 0, c.y() + g.ry);
    rim.setColorAt(0.0, g.frame.lighter(g.metal ? 150 : 135));
    rim.setColorAt(0.5, g.frame);
    rim.setColorAt(1.0, g.frame.darker(140));
    p.setPen(QPen(QBrush(rim), g.frameW));
    p.setBrush(Qt::NoBrush);
    p.drawPath(lens);
}

QImage renderGlasses(const GlassesVariant& g) {
    QImage img = newLayer(180, 70);
    QPainter p;
    beginPainter(p, img);
    const QPointF left(55, 30), right(125, 30);
    for (int side : {-1, 1}) {
        p.save();
        if (side > 0) {  // mirror the left lens about the bridge
            p.translate(180, 0);
            p.scale(-1, 1);
        }
        drawLens(p, g, left);
        const QPointF hinge = left + QPointF(-g.rx, -g.ry * 0.45);
        p.setPen(QPen(g.frame.darker(120), g.frameW * 0.9, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(hinge, QPointF(2, hinge.y() - 2));  // temple arm toward the ear
        if (g.metal) {                                 // nose pad
            p.setPen(QPen(QColor(200, 200, 200, 120), 0.8));
            p.setBrush(QColor(240, 240, 240, 70));
            p.drawEllipse(left + QPointF(g.rx * 0.85, g.ry * 0.3), 2.2, 3.6);
        }
        p.restore();
    }
    QPainterPath bridge;
    bridge.moveTo(left + QPointF(g.rx - 1, -g.ry * 0.35));
    bridge.quadTo(QPointF(90, 18), right + QPointF(-g.rx + 1, -g.ry * 0.35));
    p.setPen(QPen(g.frame, g.frameW * 0.9, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(bridge);
    if (g.shape == LensShape::Aviator) {  // double bridge bar
        p.setPen(QPen(g.frame, 1.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(left + QPointF(g.rx * 0.6, -g.ry * 0.85), right + QPointF(-g.rx * 0.6, -g.ry * 0.85));
    }
    return img;
}

}  // namespace

void writeGlasses(Writer& out) {
    int index = 0;
    for (const GlassesVariant& g : kGlasses)
        out.component(renderGlasses(g), QStringLiteral("yanjing/") + componentName({}, ++index));
}

}  // namespace installdata
