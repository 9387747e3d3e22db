#include <QLinearGradient>
#include <QMap>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

#include "InstallData.h"

// Glasses (180 x 70 at canvas (100, 177)) and hats (380 x 250 at canvas (0, -10)).
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
};

// Outline of the left lens around its centre; the right lens mirrors it.
QPainterPath lensPath(const GlassesVariant& g, QPointF c) {
    QPainterPath path;
    Polyline pts;
    for (int i = 0; i < 72; ++i) {
        const double a = 2 * kPi * i / 72, ca = std::cos(a), sa = std::sin(a);
        double x = g.rx * ca, y = g.ry * sa;
        switch (g.shape) {
            case LensShape::Round: break;
            case LensShape::Rectangle:  // superellipse: straight sides, rounded corners
                x = g.rx * std::copysign(std::pow(std::abs(ca), 0.4), ca);
                y = g.ry * std::copysign(std::pow(std::abs(sa), 0.4), sa);
                break;
            case LensShape::CatEye:
                x = g.rx * std::copysign(std::pow(std::abs(ca), 0.6), ca);
                y = g.ry * std::copysign(std::pow(std::abs(sa), 0.7), sa) - (ca < 0 && sa < 0 ? 5 * ca * ca * -sa : 0);
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
        if (g.metal) {  // nose pad
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

enum class HatStyle { Fedora, SunHat, Beret, Beanie };

struct HatVariant {
    HatStyle style;
    QColor body, band;
};

const HatVariant kHats[] = {
    {HatStyle::Fedora, {92, 88, 86}, {36, 30, 30}},
    {HatStyle::SunHat, {222, 196, 146}, {150, 46, 52}},
    {HatStyle::Beret, {150, 34, 44}, {120, 24, 34}},
    {HatStyle::Beanie, {224, 214, 196}, {206, 194, 176}},
};

QBrush hatShade(const QColor& c, QRectF box) {
    QLinearGradient g(box.topLeft(), box.topRight());
    g.setColorAt(0.0, c.lighter(118));
    g.setColorAt(0.45, c);
    g.setColorAt(1.0, c.darker(150));
    return g;
}

// Hat pictures are 10 px above the canvas: local y 130 is canvas y 120.
void drawBrim(QPainter& p, const HatVariant& h, double rx, double ry, double y) {
    QRadialGradient g(QPointF(170, y - ry * 0.6), rx * 1.2);
    g.setColorAt(0.0, h.body.lighter(112));
    g.setColorAt(1.0, h.body.darker(135));
    p.setPen(QPen(h.body.darker(160), 1.0));
    p.setBrush(g);
    p.drawEllipse(QPointF(190, y), rx, ry);
}

void drawCrown(QPainter& p, const HatVariant& h, const Polyline& leftHalf) {
    Polyline all = sampleSpline(leftHalf, 50);
    Polyline right = mirrored(all, 190);
    for (auto it = right.rbegin(); it != right.rend(); ++it) all.push_back(*it);
    const QPainterPath crown = pathThrough(all, true);
    p.setPen(Qt::NoPen);
    p.setBrush(hatShade(h.body, crown.boundingRect()));
    p.drawPath(crown);
}

void drawFedoraOrSunHat(QPainter& p, const HatVariant& h) {
    const bool sun = h.style == HatStyle::SunHat;
    drawBrim(p, h, sun ? 182 : 132, sun ? 34 : 22, 128);
    drawCrown(p, h, {{190, 40}, {150, 42}, {112, 56}, {104, 90}, {104, 128}, {190, 134}});
    if (!sun) softEllipse(p, QPointF(190, 52), 22, 8, QColor(0, 0, 0, 60));  // crease of the crown
    QPainterPath band;
    band.moveTo(104, 108);
    band.cubicTo(130, 116, 250, 116, 276, 108);
    band.lineTo(276, 126);
    band.cubicTo(250, 134, 130, 134, 104, 126);
    band.closeSubpath();
    p.setBrush(hatShade(h.band, band.boundingRect()));
    p.drawPath(band);
    if (sun) {  // woven straw: fine rings
        Rng rng(3);
        p.setPen(QPen(QColor(150, 120, 70, 70), 0.7));
        p.setBrush(Qt::NoBrush);
        for (int k = 1; k < 9; ++k) p.drawEllipse(QPointF(190, 128), 90 + 11.0 * k, 17 + 2.0 * k);
        for (int k = 0; k < 30; ++k) p.drawLine(QPointF(112 + 5.5 * k, 60 + rng.symmetric(2)), QPointF(111 + 5.5 * k, 106));
    }
}

void drawBeretOrBeanie(QPainter& p, const HatVariant& h) {
    if (h.style == HatStyle::Beret) {
        QRadialGradient g(QPointF(160, 60), 140);
        g.setColorAt(0.0, h.body.lighter(125));
        g.setColorAt(1.0, h.body.darker(150));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.save();
        p.translate(200, 82);
        p.rotate(-8);
        p.drawEllipse(QPointF(0, 0), 112, 44);
        p.restore();
        p.setBrush(hatShade(h.band, QRectF(104, 100, 172, 30)));
        p.drawRoundedRect(QRectF(106, 104, 168, 22), 10, 10);
        p.setBrush(h.body.darker(140));
        p.drawEllipse(QPointF(204, 38), 3, 5);  // stalk
        return;
    }
    drawCrown(p, h, {{190, 30}, {140, 36}, {110, 66}, {102, 110}, {104, 150}, {190, 154}});
    p.setPen(QPen(QColor(150, 138, 120, 90), 1.2));
    for (int k = -10; k <= 10; ++k) {  // knit ribs
        const double x = 190 + 8.5 * k;
        p.drawLine(QPointF(x, 124), QPointF(x, 150));
        p.drawLine(QPointF(x, 58 + std::abs(k) * 2.5), QPointF(x * 0.96 + 7.6, 118));
    }
    p.setPen(QPen(h.band.darker(130), 2));
    p.drawLine(QPointF(103, 122), QPointF(277, 122));
}

QImage renderHat(const HatVariant& h) {
    QImage img = newLayer(380, 250);
    QPainter p;
    beginPainter(p, img);
    p.translate(190, 12);  // the shapes below are drawn a little high and narrow for this head
    p.scale(1.07, 1.0);
    p.translate(-190, 0);
    paintSoft(p, img.size(), 6, 0.35, [&](QPainter& q) {  // shadow cast on the forehead
        q.setPen(Qt::NoPen);
        q.setBrush(QColor(40, 20, 10));
        q.drawEllipse(QPointF(190, h.style == HatStyle::Beanie ? 158 : 140), 74, 10);
    });
    if (h.style == HatStyle::Fedora || h.style == HatStyle::SunHat) drawFedoraOrSunHat(p, h);
    else drawBeretOrBeanie(p, h);
    return img;
}

}  // namespace

void writeGlasses(Writer& out) {
    int index = 0;
    for (const GlassesVariant& g : kGlasses) out.component(renderGlasses(g), QStringLiteral("yanjing/") + componentName({}, ++index));
}

void writeHats(Writer& out) {
    int index = 0;
    for (const HatVariant& h : kHats) out.component(renderHat(h), QStringLiteral("maozi/") + componentName({}, ++index));
}

}  // namespace installdata
