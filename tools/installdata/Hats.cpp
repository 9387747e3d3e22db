#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

#include "InstallData.h"

// Hats: 380 x 250 pictures at canvas (0, -10), so local y = canvas y + 10. Each hat sits down over
// the hair: its band follows the head just above the hairline (it sags toward the viewer), the
// crown is wide enough to take full hair, and it casts a soft shadow on the hair and forehead.
namespace installdata {

namespace {

constexpr double kMid = 190;

enum class HatStyle { Fedora, SunHat, Beret, Beanie, Cloche };

struct HatVariant {
    HatStyle style;
    QColor body, band;
    double bandThick;
    uint64_t seed;
};

const HatVariant kHats[] = {
    {HatStyle::Fedora, {92, 88, 86}, {36, 30, 30}, 15, 1},
    {HatStyle::SunHat, {222, 196, 146}, {150, 46, 52}, 13, 2},
    {HatStyle::Beret, {150, 34, 44}, {120, 24, 34}, 12, 3},
    {HatStyle::Beanie, {224, 214, 196}, {206, 194, 176}, 28, 4},
    {HatStyle::Cloche, {46, 54, 86}, {170, 60, 78}, 11, 5},
    {HatStyle::Fedora, {170, 128, 84}, {70, 46, 30}, 7, 6},
};

QPainterPath symmetric(const Polyline& leftHalf) {
    Polyline all = sampleSpline(leftHalf, 50);
    const Polyline right = mirrored(all, kMid);
    for (auto it = right.rbegin(); it != right.rend(); ++it) all.push_back(*it);
    return pathThrough(all, true);
}

// A band around the head seen from the front: its middle is nearer and lower than its ends.
QPainterPath bandPath(double y, double halfW, double sag, double thick) {
    QPainterPath path;
    path.moveTo(kMid - halfW, y);
    path.quadTo(kMid, y + 2 * sag, kMid + halfW, y);
    path.lineTo(kMid + halfW, y + thick);
    path.quadTo(kMid, y + thick + 2 * sag, kMid - halfW, y + thick);
    path.closeSubpath();
    return path;
}

// Lit from the upper left: lighter on the left, turning darker to the right and at the bottom.
void fillShaded(QPainter& p, const QPainterPath& path, const QColor& c) {
    const QRectF box = path.boundingRect();
    QLinearGradient g(box.topLeft(), box.topRight());
    g.setColorAt(0.0, c.lighter(120));
    g.setColorAt(0.4, c);
    g.setColorAt(1.0, c.darker(155));
    p.setPen(Qt::NoPen);
    p.fillPath(path, g);
    QLinearGradient v(box.topLeft(), box.bottomLeft());
    v.setColorAt(0.0, QColor(255, 255, 255, 30));
    v.setColorAt(0.5, QColor(0, 0, 0, 0));
    v.setColorAt(1.0, QColor(0, 0, 0, 60));
    p.fillPath(path, v);
}

// Fine speckle of lighter and darker fibres inside a path: felt, straw or knit surface.
void texture(QPainter& p, const QPainterPath& path, const QColor& c, int count, uint64_t seed) {
    Rng rng(seed);
    const QRectF box = path.boundingRect();
    p.save();
    p.setClipPath(path);
    for (int k = 0; k < count; ++k) {
        const QPointF at(rng.range(box.left(), box.right()), rng.range(box.top(), box.bottom()));
        const QColor col = rng.uniform() < 0.5 ? c.lighter(125) : c.darker(130);
        const double a = rng.range(0, 3.14159), len = rng.range(1.0, 2.6);
        p.setPen(QPen(withAlpha(col, 70), 0.7));
        p.drawLine(at, at + QPointF(std::cos(a) * len, std::sin(a) * len));
    }
    p.restore();
}

void castShadow(QPainter& p, double y, double rx, double ry) {
    paintSoft(p, QSize(380, 250), 8, 0.45, [&](QPainter& q) {
        q.setPen(Qt::NoPen);
        q.setBrush(QColor(30, 16, 10));
        q.drawEllipse(QPointF(kMid, y), rx, ry);
    });
}

void drawBrim(QPainter& p, const HatVariant& h, double y, double rx, double ry) {
    QPainterPath brim;
    brim.addEllipse(QPointF(kMid, y), rx, ry);
    QRadialGradient g(QPointF(160, y - ry * 0.5), rx * 1.1);
    g.setColorAt(0.0, h.body.lighter(115));
    g.setColorAt(1.0, h.body.darker(140));
    p.setPen(QPen(h.body.darker(165), 1.0));
    p.setBrush(g);
    p.drawPath(brim);
    texture(p, brim, h.body, 900, h.seed + 1);
}

void drawFedora(QPainter& p, const HatVariant& h) {
    const bool sun = h.style == HatStyle::SunHat;
    castShadow(p, 152, sun ? 120 : 96, 14);
    drawBrim(p, h, 136, sun ? 186 : 150, sun ? 38 : 25);
    if (sun) {  // woven straw rings on the brim
        p.setPen(QPen(withAlpha(h.body.darker(140), 70), 0.7));
        p.setBrush(Qt::NoBrush);
        for (int k = 1; k < 10; ++k) p.drawEllipse(QPointF(kMid, 136), 96 + 9.5 * k, 16 + 2.3 * k);
    }
    const QPainterPath crown = symmetric({{kMid, sun ? 52.0 : 46.0},
                                          {158, sun ? 50.0 : 43.0},
                                          {124, sun ? 60.0 : 54.0},
                                          {110, 86},
                                          {106, 128},
                                          {kMid, 141}});
    fillShaded(p, crown, h.body);
    texture(p, crown, h.body, 700, h.seed + 2);
    if (!sun) softEllipse(p, QPointF(kMid, 58), 26, 9, QColor(0, 0, 0, 70));  // the pinched crease
    const QPainterPath band = bandPath(128 - h.bandThick, 84, 6, h.bandThick);
    fillShaded(p, band, h.band);
}

void drawBeret(QPainter& p, const HatVariant& h) {
    castShadow(p, 150, 92, 12);
    QPainterPath body;
    body.addEllipse(QPointF(0, 0), 128, 48);
    QTransform t;
    t.translate(206, 94);
    t.rotate(-8);
    body = t.map(body);
    QRadialGradient g(QPointF(168, 62), 170);
    g.setColorAt(0.0, h.body.lighter(128));
    g.setColorAt(0.6, h.body);
    g.setColorAt(1.0, h.body.darker(175));
    p.setPen(Qt::NoPen);
    p.fillPath(body, g);
    texture(p, body, h.body, 1400, h.seed);
    softEllipse(p, QPointF(250, 120), 70, 14,
                withAlpha(h.body.darker(250), 120));  // the overhang's underside
    fillShaded(p, bandPath(124, 92, 6, h.bandThick), h.band);
    p.setBrush(h.body.darker(150));
    p.drawEllipse(QPointF(214, 48), 3, 5);  // stalk
}

void drawBeanie(QPainter& p, const HatVariant& h) {
    castShadow(p, 160, 92, 12);
    const QPainterPath crown =
        symmetric({{kMid, 32}, {146, 36}, {114, 58}, {98, 100}, {95, 142}, {kMid, 156}});
    fillShaded(p, crown, h.body);
    p.save();
    p.setClipPath(crown);
    p.setPen(QPen(withAlpha(h.body.darker(135), 110), 1.4));
    for (int k = -11; k <= 11; ++k) {  // knit ribs gathering to the top
        QPainterPath rib;
        rib.moveTo(kMid + 2.0 * k, 32);
        rib.quadTo(kMid + 7.0 * k, 70, kMid + 8.6 * k, 150);
        p.drawPath(rib);
    }
    p.restore();
    texture(p, crown, h.body, 1200, h.seed);
    const QPainterPath cuff = bandPath(126, 97, 7, h.bandThick);
    fillShaded(p, cuff, h.band);
    p.save();
    p.setClipPath(cuff);
    p.setPen(QPen(withAlpha(h.band.darker(140), 120), 1.6));
    for (double x = 92; x < 290; x += 4.2) p.drawLine(QPointF(x, 120), QPointF(x, 170));
    p.restore();
}

void drawCloche(QPainter& p, const HatVariant& h) {
    castShadow(p, 162, 100, 13);
    const QPainterPath crown =
        symmetric({{kMid, 40}, {148, 44}, {114, 64}, {100, 102}, {96, 140}, {kMid, 152}});
    fillShaded(p, crown, h.body);
    texture(p, crown, h.body, 1100, h.seed);
    QPainterPath brim;  // short and turned down around the face
    brim.moveTo(88, 130);
    brim.quadTo(kMid, 166, 292, 130);
    brim.lineTo(306, 152);
    brim.quadTo(kMid, 190, 74, 152);
    brim.closeSubpath();
    fillShaded(p, brim, h.body.darker(108));
    texture(p, brim, h.body, 500, h.seed + 1);
    fillShaded(p, bandPath(120, 94, 8, h.bandThick), h.band);
    for (int k = 0; k < 5; ++k) {  // a small fabric flower on the band
        const double a = k * 1.2566;
        drawBead(p, QPointF(126 + 6 * std::cos(a), 127 + 6 * std::sin(a)), 4.2, h.band.lighter(115));
    }
    drawBead(p, QPointF(126, 127), 2.6, QColor(236, 214, 150));
}

QImage renderHat(const HatVariant& h) {
    QImage img = newLayer(380, 250);
    QPainter p;
    beginPainter(p, img);
    switch (h.style) {
        case HatStyle::Fedora:
        case HatStyle::SunHat:
            drawFedora(p, h);
            break;
        case HatStyle::Beret:
            drawBeret(p, h);
            break;
        case HatStyle::Beanie:
            drawBeanie(p, h);
            break;
        case HatStyle::Cloche:
            drawCloche(p, h);
            break;
    }
    return img;
}

}  // namespace

void writeHats(Writer& out) {
    int index = 0;
    for (const HatVariant& h : kHats)
        out.component(renderHat(h), QStringLiteral("maozi/") + componentName({}, ++index));
}

}  // namespace installdata
