#include <QLinearGradient>
#include <QPainterPath>
#include <cmath>

#include "InstallData.h"

// Earring pairs (80 x 65; left earring at canvas (85, 248) from columns 0-39, right earring at
// canvas (255, 248) from columns 40-78) and necklaces (200 x 140 at canvas (90, 320)).
namespace installdata {

namespace {

constexpr double kPi = 3.14159265358979323846;
const QColor kGold(214, 170, 84), kSilver(206, 208, 214);

enum class EarringStyle { Hoop, PearlDrop, Crystals, Tassel, Stud, Fan };

struct EarringVariant {
    EarringStyle style;
    QColor metal, stone;
};

const EarringVariant kEarrings[] = {
    {EarringStyle::Hoop, kGold, {}},
    {EarringStyle::PearlDrop, kGold, {240, 236, 226}},
    {EarringStyle::Crystals, kSilver, {150, 190, 240}},
    {EarringStyle::Tassel, kGold, {170, 30, 50}},
    {EarringStyle::Stud, kSilver, {236, 240, 250}},
    {EarringStyle::Fan, kGold, {60, 140, 110}},
};

QBrush metalBrush(const QColor& m, double y0, double y1) {
    QLinearGradient g(0, y0, 0, y1);
    g.setColorAt(0.0, m.lighter(140));
    g.setColorAt(0.5, m);
    g.setColorAt(1.0, m.darker(150));
    return g;
}

// One earring around its hanging point at the origin (x within +-17).
void drawEarring(QPainter& p, const EarringVariant& e) {
    p.setPen(Qt::NoPen);
    p.setBrush(metalBrush(e.metal, -2, 2));
    p.drawEllipse(QPointF(0, 0), 1.8, 1.8);
    switch (e.style) {
        case EarringStyle::Hoop:
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(metalBrush(e.metal, 0, 26), 2.6));
            p.drawEllipse(QPointF(0, 12.5), 11, 12.5);
            p.setPen(QPen(QColor(255, 250, 220, 150), 0.8));
            p.drawArc(QRectF(-10, 1, 20, 24), 100 * 16, 70 * 16);
            break;
        case EarringStyle::PearlDrop:
            p.setPen(QPen(e.metal, 1.0));
            p.drawLine(QPointF(0, 1), QPointF(0, 14));
            drawBead(p, QPointF(0, 20), 5.5, e.stone);
            break;
        case EarringStyle::Crystals:
            p.setPen(QPen(e.metal, 0.8));
            p.drawLine(QPointF(0, 1), QPointF(0, 40));
            for (int k = 0; k < 4; ++k) drawBead(p, QPointF(0, 8 + 10.5 * k), 2.4 + 0.6 * k, e.stone);
            break;
        case EarringStyle::Tassel: {
            drawBead(p, QPointF(0, 6), 3.2, e.metal);
            Rng rng(5);
            for (int k = 0; k < 26; ++k) {
                const double x = rng.symmetric(4.5), len = 40 + rng.symmetric(3);
                fillRibbon(p, {{x * 0.3, 9}, {x, 9 + len * 0.5}, {x * 1.25, 9 + len}}, 1.1, 0.9,
                           withAlpha(mix(e.stone, e.stone.darker(160), rng.uniform()), 220));
            }
            p.setBrush(metalBrush(e.metal, 8, 13));
            p.drawRoundedRect(QRectF(-3.5, 8.5, 7, 4), 1.5, 1.5);
            break;
        }
        case EarringStyle::Stud:  // a stone in a claw setting on the lobe
            drawBead(p, QPointF(0, 1), 3.6, e.metal);
            drawBead(p, QPointF(0, 1), 2.8, e.stone);
            break;
        case EarringStyle::Fan:  // beads hanging from an arc, longest in the middle
            p.setPen(QPen(metalBrush(e.metal, 6, 12), 1.4));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(-9, 2, 18, 16), 200 * 16, 140 * 16);
            for (int k = -3; k <= 3; ++k) {
                const QPointF top(k * 2.8, 12 + 0.25 * k * k);
                const double len = 14 - 1.6 * std::abs(k);
                p.setPen(QPen(e.metal, 0.6));
                p.drawLine(top, top + QPointF(0, len));
                drawBead(p, top + QPointF(0, len + 1.6), 1.8, k % 2 == 0 ? e.stone : e.metal);
            }
            break;
    }
}

QImage renderEarrings(const EarringVariant& e) {
    QImage img = newLayer(80, 65);
    QPainter p;
    beginPainter(p, img);
    const double hangX = face::kLobeX - 85, hangY = face::kLobeY - 248;
    p.save();
    p.setClipRect(QRect(0, 0, 40, 65));
    p.translate(hangX, hangY);
    drawEarring(p, e);
    p.restore();
    p.setClipRect(QRect(40, 0, 39, 65));  // the right earring is shown one column narrower
    p.translate(2 * face::kMidX - face::kLobeX - 255 + 40, hangY);
    p.scale(-1, 1);
    drawEarring(p, e);
    return img;
}

enum class NecklaceStyle { Pearls, Pendant, Choker, Layered };

struct NecklaceVariant {
    NecklaceStyle style;
    double rx, ry;  // the arc around the neck
    QColor metal, stone;
};

const NecklaceVariant kNecklaces[] = {
    {NecklaceStyle::Pearls, 38, 48, kGold, {242, 238, 228}},
    {NecklaceStyle::Pendant, 34, 66, kGold, {40, 120, 90}},
    {NecklaceStyle::Choker, 31, 13, kSilver, {30, 24, 30}},
    {NecklaceStyle::Pearls, 42, 62, kGold, {222, 112, 96}},
    {NecklaceStyle::Pendant, 36, 80, kSilver, {150, 40, 60}},
    {NecklaceStyle::Layered, 33, 40, kGold, {236, 232, 220}},
};

QPointF arcPoint(const NecklaceVariant& n, double a) {
    return QPointF(100 - n.rx * std::cos(a), 6 + n.ry * std::sin(a));
}

void drawChain(QPainter& p, const NecklaceVariant& n) {
    Polyline chain;
    for (int i = 0; i <= 80; ++i) chain.push_back(arcPoint(n, 0.02 + (kPi - 0.04) * i / 80));
    fillRibbon(p, chain, 1.4, 1.4, n.metal.darker(130));
    for (size_t i = 0; i < chain.size(); i += 2) {  // links catch the light one by one
        p.setPen(Qt::NoPen);
        p.setBrush(withAlpha(n.metal.lighter(150), 200));
        p.drawEllipse(chain[i], 0.8, 0.6);
    }
}

void drawNecklaceBody(QPainter& p, const NecklaceVariant& n) {
    if (n.style == NecklaceStyle::Pearls) {
        for (double a = 0.05; a < kPi - 0.02; a += 0.105) drawBead(p, arcPoint(n, a), 3.2, n.stone);
        return;
    }
    if (n.style == NecklaceStyle::Layered) {  // a fine chain close to the neck and a longer beaded one
        NecklaceVariant inner = n, outer = n;
        inner.style = NecklaceStyle::Pendant;
        outer.ry = n.ry * 1.6;
        outer.rx = n.rx * 1.15;
        drawChain(p, inner);
        drawChain(p, outer);
        for (double a = 0.5; a < kPi - 0.45; a += 0.22) drawBead(p, arcPoint(outer, a), 2.0, n.stone);
        drawBead(p, arcPoint(inner, kPi / 2) + QPointF(0, 2.5), 2.6, n.metal);
        return;
    }
    Polyline chain;
    for (int i = 0; i <= 80; ++i) chain.push_back(arcPoint(n, 0.02 + (kPi - 0.04) * i / 80));
    if (n.style == NecklaceStyle::Choker) {
        fillRibbon(p, chain, 5.5, 5.5, n.stone);
        fillRibbon(p, chain, 1.0, 1.0, QColor(255, 255, 255, 40));
        drawBead(p, arcPoint(n, kPi / 2) + QPointF(0, 1), 3.5, n.metal);
        return;
    }
    drawChain(p, n);
    const QPointF drop = arcPoint(n, kPi / 2);
    QPainterPath gem;
    gem.moveTo(drop + QPointF(0, 2));
    gem.cubicTo(drop + QPointF(9, 10), drop + QPointF(7, 20), drop + QPointF(0, 22));
    gem.cubicTo(drop + QPointF(-7, 20), drop + QPointF(-9, 10), drop + QPointF(0, 2));
    p.setPen(QPen(n.metal, 1.6));
    QLinearGradient g(drop, drop + QPointF(0, 22));
    g.setColorAt(0.0, n.stone.lighter(160));
    g.setColorAt(1.0, n.stone.darker(160));
    p.setBrush(g);
    p.drawPath(gem);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 170));
    p.drawEllipse(drop + QPointF(-2, 9), 1.5, 2.5);
}

QImage renderNecklace(const NecklaceVariant& n) {
    QImage img = newLayer(200, 140);
    QPainter p;
    beginPainter(p, img);
    paintSoft(p, img.size(), 3, 0.35, [&](QPainter& q) {  // shadow on the skin
        q.translate(1.2, 2.2);
        drawNecklaceBody(q, n);
    });
    drawNecklaceBody(p, n);
    return img;
}

}  // namespace

void writeEarrings(Writer& out) {
    int index = 0;
    for (const EarringVariant& e : kEarrings)
        out.component(renderEarrings(e), QStringLiteral("erhuan/") + componentName({}, ++index));
}

void writeNecklaces(Writer& out) {
    int index = 0;
    for (const NecklaceVariant& n : kNecklaces)
        out.component(renderNecklace(n), QStringLiteral("xianglian/") + componentName({}, ++index));
}

}  // namespace installdata
