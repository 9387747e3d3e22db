#include <QLinearGradient>
#include <QMap>
#include <QPainterPath>
#include <cmath>

#include "InstallData.h"

// Eyebrow pairs (180 x 40 at canvas (100, 160)) and lips (100 x 50 at canvas (140, 265)).
namespace installdata {

namespace {

constexpr double kPi = 3.14159265358979323846;

// One brow in the left half of the pair picture; the right brow is its mirror image.
struct BrowVariant {
    char category;
    QColor colour;
    QPointF head, arch, tail;  // local coordinates of the pair picture
    double bow;                // how much the line between head and arch bulges upward
    double headW, archW, tailW;
    int hairs;
    double hairLen;
    uint64_t seed;
};

// k lovely, d oriental, y elegant, x wild, z intellectual, w charming, o European, m men's.
const BrowVariant kBrows[] = {
    {'k', {92, 64, 48}, {76, 29}, {48, 21}, {28, 26}, 1.0, 6.0, 5.0, 1.6, 260, 4.5, 11},
    {'k', {60, 44, 36}, {77, 29}, {47, 21.5}, {27, 25}, 1.5, 5.5, 4.6, 1.4, 240, 4.2, 12},
    {'d', {48, 38, 34}, {77, 28}, {50, 20.5}, {22, 26}, 2.0, 3.6, 4.2, 0.9, 200, 4.0, 21},
    {'d', {70, 52, 42}, {76, 28.5}, {50, 21}, {23, 27}, 2.5, 3.4, 4.0, 0.9, 190, 4.0, 22},
    {'y', {66, 48, 38}, {77, 29}, {43, 19}, {26, 26}, 0.5, 5.2, 4.2, 1.0, 230, 4.5, 31},
    {'y', {40, 32, 30}, {77, 29}, {44, 19.5}, {25, 26.5}, 0.5, 5.0, 4.0, 1.0, 220, 4.5, 32},
    {'x', {52, 38, 30}, {78, 29}, {48, 21}, {25, 25}, 1.0, 8.0, 6.6, 2.6, 430, 6.0, 41},
    {'x', {30, 24, 22}, {78, 30}, {46, 20}, {24, 26}, 1.2, 8.5, 7.0, 2.4, 450, 6.0, 42},
    {'z', {72, 60, 52}, {77, 28}, {46, 23}, {27, 24}, 0.0, 5.5, 5.0, 2.0, 250, 4.5, 51},
    {'z', {44, 36, 32}, {77, 28}, {46, 23}, {26, 25}, 0.0, 5.2, 4.6, 1.6, 240, 4.5, 52},
    {'w', {74, 52, 40}, {77, 29}, {45, 18}, {25, 26}, 2.2, 4.8, 4.0, 0.9, 220, 4.2, 61},
    {'w', {48, 36, 32}, {77, 29}, {46, 17.5}, {26, 27}, 2.4, 4.6, 3.8, 0.8, 210, 4.2, 62},
    {'o', {86, 64, 50}, {76, 30}, {42, 16.5}, {24, 26}, -0.5, 5.6, 4.6, 1.0, 240, 4.5, 71},
    {'o', {54, 42, 36}, {77, 30}, {43, 16}, {25, 27}, -0.5, 5.2, 4.4, 1.0, 230, 4.5, 72},
    {'m', {30, 24, 22}, {80, 28}, {48, 22}, {20, 25}, 0.5, 9.0, 8.0, 4.0, 520, 6.5, 81},
    {'m', {58, 44, 36}, {80, 27}, {48, 22}, {20, 24}, 0.0, 8.5, 7.6, 3.6, 480, 6.0, 82},
    {'k', {110, 78, 58}, {76, 29}, {47, 21}, {28, 25.5}, 1.2, 5.8, 4.8, 1.5, 250, 4.3, 13},
    {'d', {36, 30, 28}, {77, 28}, {51, 20}, {21, 26.5}, 2.2, 3.8, 4.3, 0.9, 210, 4.0, 23},
    {'y', {96, 72, 56}, {77, 29}, {43, 18.5}, {26, 26}, 0.6, 5.0, 4.1, 1.0, 220, 4.4, 33},
    {'x', {70, 50, 38}, {78, 29.5}, {47, 20.5}, {24, 25.5}, 1.1, 8.2, 6.8, 2.5, 440, 6.2, 43},
    {'z', {58, 46, 40}, {77, 28.5}, {46, 23.5}, {27, 24.5}, 0.0, 5.0, 4.8, 1.8, 230, 4.5, 53},
    {'w', {62, 44, 36}, {77, 29}, {45, 17}, {26, 26.5}, 2.6, 4.4, 3.8, 0.8, 200, 4.0, 63},
    {'o', {112, 84, 62}, {76, 30}, {42, 16}, {24, 26.5}, -0.4, 5.4, 4.5, 1.0, 230, 4.5, 73},
    {'m', {44, 34, 30}, {80, 28}, {47, 21.5}, {20, 24.5}, 0.3, 8.8, 7.8, 3.8, 500, 6.3, 83},
};

double browWidth(const BrowVariant& b, double u) {
    const double a = 0.62;  // where the arch sits along the brow
    if (u < a) return b.headW + (b.archW - b.headW) * (u / a);
    return b.archW + (b.tailW - b.archW) * ((u - a) / (1 - a));
}

Polyline browSpine(const BrowVariant& b) {
    const QPointF mid = lerp(b.head, b.arch, 0.5) + QPointF(0, -b.bow);
    return sampleSpline({b.head, mid, b.arch, lerp(b.arch, b.tail, 0.5) + QPointF(0, -0.3 * b.bow), b.tail},
                        60);
}

// Hairs grow upward at the head and lean toward the tail further on; those of the upper and
// lower rows meet along the middle of the brow.
void drawBrowHairs(QPainter& p, const BrowVariant& b, const Polyline& spine) {
    Rng rng(b.seed);
    for (int k = 0; k < b.hairs; ++k) {
        const double u = std::pow(rng.uniform(), 0.8), v = rng.symmetric(0.5);
        const QPointF at = splineAt(spine, u), ahead = splineAt(spine, std::min(1.0, u + 0.02));
        const double along = std::atan2(ahead.y() - at.y(), ahead.x() - at.x());
        const double w = browWidth(b, u);
        const QPointF root = at + QPointF(-std::sin(along), std::cos(along)) * (v * w);
        const double up = -kPi / 2 + 0.25, lean = along - v * 0.7;
        const double ang = up + (lean - up) * smoothstep(0.05, 0.3, u) + rng.symmetric(0.18);
        const double len = b.hairLen * rng.range(0.7, 1.2) * (0.6 + 0.4 * (1 - u));
        const double bend = rng.symmetric(0.1);
        Polyline hair{root, root + QPointF(std::cos(ang), std::sin(ang)) * (len * 0.5),
                      root + QPointF(std::cos(ang + bend), std::sin(ang + bend)) * len};
        const QColor c =
            mix(b.colour, rng.uniform() < 0.3 ? b.colour.lighter(150) : b.colour.darker(130), 0.5);
        fillRibbon(p, sampleSpline(hair, 6), rng.range(0.6, 1.0), 0.15,
                   withAlpha(c, static_cast<int>(rng.range(110, 220))));
    }
}

QImage renderBrow(const BrowVariant& b) {
    QImage half = newLayer(90, 40);
    QPainter p;
    beginPainter(p, half);
    const Polyline spine = browSpine(b);
    paintSoft(p, half.size(), 2, 0.55, [&](QPainter& q) {  // soft base tone between the hairs
        Polyline upper, lower;
        for (int i = 0; i < 60; ++i) {
            const double u = i / 59.0, w = browWidth(b, u) * 0.85;
            upper.push_back(spine[i] + QPointF(0, -0.5 * w));
            lower.push_back(spine[i] + QPointF(0, 0.5 * w));
        }
        for (auto it = lower.rbegin(); it != lower.rend(); ++it) upper.push_back(*it);
        q.setPen(Qt::NoPen);
        q.setBrush(withAlpha(b.colour, 190));
        q.drawPath(pathThrough(upper, true));
    });
    drawBrowHairs(p, b, spine);
    p.end();
    QImage pair = newLayer(180, 40);
    QPainter q(&pair);
    q.drawImage(0, 0, half);
    q.drawImage(90, 0, half.mirrored(true, false));
    return pair;
}

// Lips: the program recolours them and keeps the alpha, so the alpha carries body, edges,
// highlights and the darker seam. Local centre (50, 25) is the mouth centre of the portrait.
struct LipVariant {
    char category;
    double halfWidth, upperH, lowerH;
    double bowDepth, peakX;  // cupid's bow: dip depth and peak distance from the middle
    double cornerDrop;       // corners below (+) or above (-) the seam
    double fullness;         // 0 flat .. 1 rounded outline
    uint64_t seed;
};

// k lovely, h gorgeous, x graceful, y wild, z intellectual.
const LipVariant kLips[] = {
    {'k', 28, 9, 12, 2.0, 6, -0.5, 0.8, 1},           {'k', 27, 9.5, 13, 2.4, 5.5, -1.0, 0.9, 2},
    {'h', 33, 11, 15, 2.2, 8, 0.5, 0.9, 3},           {'h', 34, 10.5, 14, 1.6, 9, 0.0, 0.7, 4},
    {'x', 30, 8.5, 11, 1.8, 7, 0.0, 0.6, 5},          {'x', 31, 8, 11.5, 1.2, 8, 0.3, 0.5, 6},
    {'y', 34, 10, 15, 2.8, 7, 1.0, 1.0, 7},           {'y', 33, 11.5, 14, 3.0, 6.5, 0.6, 0.8, 8},
    {'z', 30, 7.5, 10, 1.2, 8, 0.4, 0.4, 9},          {'z', 31, 8, 10.5, 1.0, 9, 0.0, 0.45, 10},
    {'k', 27.5, 9.2, 12.5, 2.2, 5.8, -0.8, 0.85, 11}, {'h', 33.5, 11.5, 15.5, 2.6, 8.5, 0.3, 1.0, 12},
    {'x', 30.5, 8.2, 11.2, 1.5, 7.5, 0.1, 0.55, 13},  {'y', 34.5, 10.5, 14.5, 3.2, 7, 0.8, 0.9, 14},
    {'z', 30, 7.8, 10.2, 1.1, 8.5, 0.2, 0.4, 15},
};

Polyline lipOutline(const LipVariant& v, bool upper) {
    const double cx = 50, cy = 25, w = v.halfWidth, c = cy + v.cornerDrop;
    Polyline half;
    if (upper)
        half = {{cx - w, c},
                {cx - w * 0.7, cy - v.upperH * (0.45 + 0.2 * v.fullness)},
                {cx - v.peakX, cy - v.upperH},
                {cx, cy - v.upperH + v.bowDepth}};
    else
        half = {{cx - w, c},
                {cx - w * 0.72, cy + v.lowerH * (0.5 + 0.25 * v.fullness)},
                {cx - w * 0.3, cy + v.lowerH * 0.97},
                {cx, cy + v.lowerH}};
    Polyline all = sampleSpline(half, 30);
    Polyline right = mirrored(all, cx);
    for (auto it = right.rbegin() + 1; it != right.rend(); ++it) all.push_back(*it);
    return all;
}

Polyline lipSeam(const LipVariant& v) {
    const double cx = 50, cy = 25, w = v.halfWidth, c = cy + v.cornerDrop;
    return sampleSpline(
        {{cx - w, c}, {cx - w * 0.5, cy + 0.4}, {cx, cy + 1.0}, {cx + w * 0.5, cy + 0.4}, {cx + w, c}}, 50);
}

QPainterPath lipPart(const LipVariant& v, bool upper) {
    Polyline outline = lipOutline(v, upper);
    const Polyline seam = lipSeam(v);
    for (auto it = seam.rbegin(); it != seam.rend(); ++it) outline.push_back(*it);
    return pathThrough(outline, true);
}

QImage renderLips(const LipVariant& v) {
    QImage img = newLayer(100, 50);
    QPainter p;
    beginPainter(p, img);
    paintSoft(p, img.size(), 1, 1.0, [&](QPainter& q) {
        q.setPen(Qt::NoPen);
        q.setBrush(QColor(186, 58, 78, 222));
        q.drawPath(lipPart(v, true));
        q.setBrush(QColor(204, 72, 90, 200));
        q.drawPath(lipPart(v, false));
    });
    p.setCompositionMode(QPainter::CompositionMode_DestinationOut);  // highlights let skin light through
    softEllipse(p, QPointF(52, 25 + v.lowerH * 0.45), v.halfWidth * 0.36, v.lowerH * 0.26,
                QColor(0, 0, 0, 120));
    softEllipse(p, QPointF(50 - v.peakX, 25 - v.upperH * 0.55), 4, 1.6, QColor(0, 0, 0, 60));
    softEllipse(p, QPointF(50 + v.peakX, 25 - v.upperH * 0.55), 4, 1.6, QColor(0, 0, 0, 50));
    Rng rng(v.seed);
    for (int k = 0; k < 14; ++k) {  // fine vertical creases of the lower lip
        const double x = 50 + rng.symmetric(v.halfWidth * 0.6);
        p.setPen(QPen(QColor(0, 0, 0, 26), 0.6));
        p.drawLine(QPointF(x, 27 + rng.uniform() * 2), QPointF(x + rng.symmetric(1), 25 + v.lowerH * 0.8));
    }
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    paintSoft(p, img.size(), 1, 1.0,
              [&](QPainter& q) { fillRibbon(q, lipSeam(v), 1.0, 1.0, QColor(96, 22, 36, 255), 0.2, 0.2); });
    return img;
}

}  // namespace

void writeEyebrows(Writer& out) {
    QMap<char, int> counts;
    for (const BrowVariant& b : kBrows)
        out.component(renderBrow(b), QStringLiteral("meimao/") +
                                         componentName(QString(QChar(b.category)), ++counts[b.category]));
}

void writeLips(Writer& out) {
    QMap<char, int> counts;
    for (const LipVariant& v : kLips)
        out.component(
            renderLips(v),
            QStringLiteral("zuixing/") + componentName(QString(QChar(v.category)), ++counts[v.category]), 2);
}

}  // namespace installdata
