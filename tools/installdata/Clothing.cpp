#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include "InstallData.h"

// Clothing: 400 x 190 pictures placed at canvas (-10, 300). The garment covers the portrait's
// shoulders and leaves the neck; outlines are given in canvas coordinates and shifted on drawing.
namespace installdata {

namespace {

enum class Neckline { Crew, VNeck, Boat, Lapels, Scoop, Turtle };

struct ClothingVariant {
    Neckline neckline;
    QColor fabric, trim;
    bool stripes;
};

const ClothingVariant kClothing[] = {
    {Neckline::Crew, {236, 232, 224}, {214, 208, 198}, false},
    {Neckline::VNeck, {196, 120, 130}, {176, 100, 112}, false},
    {Neckline::Boat, {40, 52, 92}, {236, 236, 240}, true},
    {Neckline::Lapels, {44, 42, 46}, {238, 236, 232}, false},
    {Neckline::Scoop, {96, 124, 104}, {80, 106, 88}, false},
    {Neckline::Turtle, {150, 120, 92}, {134, 104, 78}, false},
};

// Left half of the neckline, from the shoulder seam at the neck to the middle of the front.
Polyline necklineHalf(Neckline n) {
    switch (n) {
        case Neckline::Crew:
            return {{150, 334}, {156, 350}, {172, 361}, {190, 363}};
        case Neckline::VNeck:
            return {{150, 334}, {162, 360}, {177, 386}, {190, 406}};
        case Neckline::Boat:
            return {{122, 344}, {150, 352}, {172, 356}, {190, 357}};
        case Neckline::Lapels:
            return {{148, 334}, {160, 362}, {176, 396}, {190, 422}};
        case Neckline::Scoop:
            return {{142, 338}, {148, 364}, {166, 384}, {190, 389}};
        case Neckline::Turtle:
            return {{161, 314}, {170, 316}, {180, 317}, {190, 317}};
    }
    return {};
}

QPainterPath garmentPath(Neckline n) {
    const Polyline neck = necklineHalf(n);
    Polyline shoulder{{4, 490},    {8, 440},  {20, 400},
                      {46, 372},   {96, 350}, {neck.front().x() - 14, neck.front().y() + 4},
                      neck.front()};
    Polyline left = sampleSpline(shoulder, 50);
    for (const QPointF& q : sampleSpline(neck, 30)) left.push_back(q);
    Polyline all = left;
    const Polyline right = mirrored(left, face::kMidX);
    for (auto it = right.rbegin(); it != right.rend(); ++it) all.push_back(*it);
    return pathThrough(all, true);
}

void drawFabric(QPainter& p, const ClothingVariant& c, const QPainterPath& body) {
    QLinearGradient g(0, 320, 0, 490);
    g.setColorAt(0.0, c.fabric.lighter(108));
    g.setColorAt(1.0, c.fabric.darker(118));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(body);
    p.save();
    p.setClipPath(body);
    if (c.stripes) {
        for (double y = 352; y < 490; y += 14) p.fillRect(QRectF(-20, y, 420, 6), withAlpha(c.trim, 230));
    }
    const QSize size(400, 490);
    paintSoft(p, size, 14, 0.5, [&](QPainter& q) {  // rounded shoulders and arms turning away
        q.setPen(QPen(c.fabric.darker(170), 22));
        q.setBrush(Qt::NoBrush);
        q.drawPath(body);
    });
    paintSoft(p, size, 8, 0.35, [&](QPainter& q) {  // soft folds from the armpits
        q.setPen(QPen(c.fabric.darker(160), 6, Qt::SolidLine, Qt::RoundCap));
        q.drawLine(QPointF(52, 430), QPointF(96, 486));
        q.drawLine(QPointF(328, 430), QPointF(284, 486));
        q.drawLine(QPointF(120, 450), QPointF(132, 490));
        q.drawLine(QPointF(262, 452), QPointF(250, 490));
    });
    softEllipse(p, QPointF(70, 384), 44, 22, withAlpha(c.fabric.lighter(125), 120));
    softEllipse(p, QPointF(310, 384), 44, 22, withAlpha(c.fabric.lighter(115), 90));
    p.restore();
}

void drawTrim(QPainter& p, const ClothingVariant& c) {
    Polyline half = sampleSpline(necklineHalf(c.neckline), 30);
    Polyline edge = half;
    const Polyline right = mirrored(half, face::kMidX);
    for (auto it = right.rbegin(); it != right.rend(); ++it) edge.push_back(*it);
    if (c.neckline == Neckline::Lapels) {  // a shirt in the opening, then the jacket lapels
        for (int side : {-1, 1}) {
            Polyline lapel{
                {190 + side * 40.0, 328}, {190 + side * 34.0, 372}, {190 + side * 14.0, 420}, {190.0, 422}};
            Polyline l = sampleSpline(
                side < 0 ? necklineHalf(c.neckline) : mirrored(necklineHalf(c.neckline), 190), 30);
            for (const QPointF& q : sampleSpline(lapel, 30)) l.insert(l.begin(), q);
            p.setPen(QPen(c.fabric.darker(200), 1.2));
            p.setBrush(c.fabric.lighter(125));
            p.drawPath(pathThrough(l, true));
        }
        return;
    }
    if (c.neckline == Neckline::Turtle) {  // the rolled collar up the neck, ribbed
        QPainterPath collar;
        collar.addRoundedRect(QRectF(158, 312, 64, 30), 8, 8);
        p.setPen(Qt::NoPen);
        p.setBrush(c.fabric.lighter(106));
        p.drawPath(collar);
        p.save();
        p.setClipPath(collar);
        for (double x = 160; x < 222; x += 3.4)
            fillRibbon(p, {{x, 312}, {x + 0.4, 342}}, 1.2, 1.2, withAlpha(c.trim.darker(125), 140));
        softEllipse(p, QPointF(176, 322), 14, 8, withAlpha(c.fabric.lighter(130), 110));
        softEllipse(p, QPointF(216, 330), 12, 14, withAlpha(c.fabric.darker(150), 120));
        p.restore();
        fillRibbon(p, {{158, 342}, {190, 345}, {222, 342}}, 2.0, 2.0, withAlpha(c.trim.darker(140), 160));
        return;
    }
    fillRibbon(p, edge, 5, 5, c.trim);
    fillRibbon(p, edge, 1.0, 1.0, withAlpha(c.fabric.darker(150), 150));
    if (c.neckline == Neckline::Scoop)  // a fine ribbed band along the edge
        for (size_t i = 0; i < edge.size(); i += 2)
            fillRibbon(p, {edge[i] + QPointF(0, -2), edge[i] + QPointF(0, 2)}, 0.6, 0.6,
                       withAlpha(c.trim.darker(140), 150));
}

QImage renderClothing(const ClothingVariant& c) {
    QImage canvas = newLayer(400, 490);  // canvas x + 10, canvas y as is; cropped below
    QPainter p;
    beginPainter(p, canvas);
    p.translate(10, 0);
    if (c.neckline == Neckline::Lapels) {  // the shirt under the jacket fills the opening
        QPainterPath shirt;
        shirt.addRect(140, 320, 100, 110);
        p.fillPath(shirt.subtracted(garmentPath(Neckline::Crew)).intersected(shirt), c.trim);
        p.setPen(QPen(c.trim.darker(115), 1.2));
        p.setBrush(c.trim);
        p.drawPath(garmentPath(Neckline::Crew).subtracted(garmentPath(Neckline::Lapels)));
    }
    drawFabric(p, c, garmentPath(c.neckline));
    drawTrim(p, c);
    p.end();
    return canvas.copy(0, 300, 400, 190);
}

}  // namespace

void writeClothing(Writer& out) {
    int index = 0;
    for (const ClothingVariant& c : kClothing)
        out.component(renderClothing(c), QStringLiteral("fuzhuang/") + componentName({}, ++index));
}

}  // namespace installdata
