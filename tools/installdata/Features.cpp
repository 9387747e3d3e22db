#include <QMap>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "InstallData.h"

// Eyebrow pairs, 180 x 40 at canvas (100, 160): the left brow is drawn in columns 0-89 and the
// right brow is its mirror image. A brow is fine hairs over a faint tone of the skin beneath, thin
// and upright at the inner end (the head) and dense, lying flat and tapering at the tail.
namespace installdata {

namespace {

struct BrowShape {
    char category;
    QColor colour;
    QPointF head, arch, tail;  // left brow, pixels of the pair picture; the portrait's brow runs
                               // from (76, 30) over (47, 21.5) to (31, 25.5)
    double bow;                // the head-to-arch line bulges up by this much; 0 keeps it straight
    double tailBow;            // the same for the arch-to-tail line
    double headW, bodyW;       // thickness at the head and at the widest, px
    double density;            // hairs per square px
    double hairLen;            // px
    double messy;              // spread of the hair directions, radians
    uint64_t seed;
};

// k lovely, d oriental, y elegant, x wild, z intellectual, w charming, o European, m men's.
const BrowShape kBrows[] = {
    // lovely: soft, rounded, not too long, warm browns
    {'k', {104, 74, 54}, {76, 29.5}, {47, 21.5}, {30, 26}, 1.6, 0.8, 5.0, 5.6, 1.5, 3.6, 0.16, 11},
    {'k', {70, 50, 40}, {77, 29}, {50, 20}, {33, 24.5}, 2.2, 1.0, 5.6, 6.2, 1.5, 3.8, 0.16, 12},
    {'k', {128, 92, 66}, {75, 30}, {48, 23}, {31, 27.5}, 1.0, 0.6, 4.4, 5.0, 1.4, 3.4, 0.14, 13},
    {'k', {88, 62, 46}, {77, 29}, {52, 21}, {36, 25}, 2.0, 0.6, 6.0, 6.6, 1.6, 3.8, 0.18, 14},
    // oriental: long, slender willow-leaf curve, low arch
    {'d', {50, 40, 36}, {77, 28.5}, {50, 21}, {20, 26.5}, 2.0, 1.2, 3.6, 4.2, 1.6, 3.4, 0.1, 21},
    {'d', {76, 58, 46}, {76, 28}, {46, 22.5}, {22, 25.5}, 1.4, 0.8, 3.2, 3.8, 1.6, 3.2, 0.1, 22},
    {'d', {38, 32, 30}, {78, 29}, {54, 20}, {19, 25}, 2.6, 1.8, 4.0, 4.6, 1.7, 3.6, 0.1, 23},
    {'d', {92, 68, 52}, {76, 29}, {48, 23}, {24, 28}, 1.0, 0.6, 3.0, 3.4, 1.6, 3.0, 0.1, 24},
    // elegant: slim, clear lifted arch, long fine tail
    {'y', {66, 48, 38}, {77, 29}, {44, 18.5}, {24, 25.5}, 0.8, 0.6, 4.6, 4.8, 1.6, 3.6, 0.12, 31},
    {'y', {44, 34, 30}, {77, 29.5}, {46, 18.5}, {27, 25}, 0.4, 0.8, 4.2, 4.4, 1.6, 3.4, 0.12, 32},
    {'y', {100, 74, 56}, {76, 28.5}, {42, 19.5}, {22, 27}, 1.2, 0.4, 5.0, 5.0, 1.5, 3.6, 0.12, 33},
    {'y', {58, 42, 34}, {78, 29}, {48, 18}, {30, 24}, 0.6, 1.2, 4.0, 4.4, 1.7, 3.4, 0.12, 34},
    // wild: full, brushed up, long unruly hairs
    {'x', {52, 38, 30}, {78, 30}, {48, 21}, {25, 25.5}, 1.0, 0.6, 8.0, 8.6, 1.4, 5.6, 0.34, 41},
    {'x', {32, 26, 24}, {79, 30.5}, {46, 19.5}, {24, 26.5}, 1.4, 0.8, 8.6, 9.4, 1.5, 6.2, 0.38, 42},
    {'x', {72, 52, 38}, {78, 29.5}, {50, 22}, {28, 25}, 0.6, 0.4, 7.4, 8.0, 1.4, 5.2, 0.3, 43},
    {'x', {46, 34, 28}, {80, 30}, {44, 18}, {22, 24}, 1.8, 1.0, 7.8, 9.8, 1.5, 6.6, 0.4, 44},
    // intellectual: straight, even, defined
    {'z', {72, 60, 52}, {77, 28}, {46, 23}, {27, 24}, 0.0, 0.0, 5.6, 5.6, 1.6, 3.8, 0.12, 51},
    {'z', {44, 36, 32}, {77, 27.5}, {48, 24}, {26, 25.5}, 0.2, 0.2, 5.2, 5.4, 1.7, 3.6, 0.12, 52},
    {'z', {60, 48, 40}, {78, 28.5}, {44, 22}, {24, 22.5}, 0.0, 0.0, 6.2, 6.0, 1.6, 4.0, 0.12, 53},
    {'z', {86, 68, 56}, {76, 27}, {50, 24.5}, {30, 26.5}, 0.4, 0.0, 4.6, 4.8, 1.6, 3.6, 0.12, 54},
    // charming: high, lifted arch with a soft peak
    {'w', {74, 52, 40}, {77, 29}, {45, 20.5}, {26, 25.5}, 2.2, 1.0, 4.8, 5.0, 1.6, 3.6, 0.14, 61},
    {'w', {48, 36, 32}, {77, 29.5}, {48, 19.5}, {30, 26}, 2.8, 0.8, 4.4, 4.6, 1.6, 3.4, 0.14, 62},
    {'w', {96, 70, 54}, {76, 28.5}, {42, 20.5}, {24, 24.5}, 1.8, 1.4, 5.2, 5.4, 1.5, 3.8, 0.14, 63},
    {'w', {62, 44, 36}, {78, 30}, {50, 20.5}, {32, 27}, 3.2, 0.4, 4.2, 4.2, 1.6, 3.4, 0.14, 64},
    // European: strong angled arch, full head
    {'o', {86, 64, 50}, {76, 30}, {42, 20.5}, {24, 26}, 0.0, -0.5, 6.2, 5.0, 1.6, 4.0, 0.14, 71},
    {'o', {54, 42, 36}, {77, 30.5}, {45, 19.5}, {28, 27}, 0.0, -0.8, 6.8, 5.4, 1.6, 4.0, 0.14, 72},
    {'o', {112, 84, 62}, {76, 29.5}, {40, 21}, {22, 25}, 0.3, -0.3, 5.6, 4.6, 1.5, 3.8, 0.14, 73},
    {'o', {40, 32, 28}, {78, 31}, {47, 19}, {31, 24}, 0.0, -1.0, 7.2, 5.8, 1.7, 4.2, 0.14, 74},
    // men's: thick, low, straight and dense
    {'m', {30, 24, 22}, {81, 28.5}, {48, 22.5}, {20, 25}, 0.4, 0.2, 9.0, 8.6, 1.9, 5.0, 0.22, 81},
    {'m', {58, 44, 36}, {80, 27.5}, {48, 23}, {21, 24}, 0.0, 0.0, 8.4, 8.0, 1.8, 4.6, 0.2, 82},
    {'m', {44, 34, 30}, {82, 29}, {50, 21}, {19, 26}, 0.8, 0.4, 10.0, 9.6, 2.0, 5.4, 0.26, 83},
    {'m', {76, 58, 46}, {80, 28}, {46, 24}, {23, 26.5}, 0.2, 0.0, 7.6, 7.2, 1.8, 4.4, 0.2, 84},
};

Polyline browSpine(const BrowShape& b) {
    const QPointF mid1 = lerp(b.head, b.arch, 0.5) + QPointF(0, -b.bow);
    const QPointF mid2 = lerp(b.arch, b.tail, 0.5) + QPointF(0, -b.tailBow);
    return sampleSpline({b.head, mid1, b.arch, mid2, b.tail}, 80);
}

// Thickness along the brow, u from the head (0) to the tail (1): it swells to the widest before
// the arch and tapers to a point at the tail.
double browWidth(const BrowShape& b, double u) {
    const double k = 1.25;  // hairs lie along the brow and cover less than their roots' band
    if (u < 0.3) return k * (b.headW + (b.bodyW - b.headW) * smoothstep(0.0, 0.3, u));
    return k * b.bodyW * (1.0 - 0.9 * std::pow((u - 0.3) / 0.7, 1.6));
}

// The head fades in over its first quarter: fewer, fainter hairs.
double headFade(double u) { return 0.3 + 0.7 * smoothstep(0.0, 0.28, u); }

QPointF normalAt(const Polyline& spine, double u) {
    const QPointF a = splineAt(spine, std::max(0.0, u - 0.01)), c = splineAt(spine, std::min(1.0, u + 0.01));
    const double len = std::max(1e-6, std::hypot(c.x() - a.x(), c.y() - a.y()));
    return QPointF(-(c.y() - a.y()) / len, (c.x() - a.x()) / len);
}

// A faint tone of the brow under the hairs, so the brow reads as one shape without an outline.
void drawTone(QPainter& p, const BrowShape& b, const Polyline& spine) {
    paintSoft(p, QSize(90, 40), 3, 1.0, [&](QPainter& q) {
        q.setPen(Qt::NoPen);
        for (int i = 0; i <= 60; ++i) {
            const double u = i / 60.0, w = browWidth(b, u);
            const QPointF at = splineAt(spine, u);
            q.setBrush(withAlpha(b.colour, static_cast<int>(40 * headFade(u) * headFade(u))));
            q.drawEllipse(at, w * 0.45, w * 0.4);
        }
    });
}

// Hairs: upright at the head, then lying toward the tail; the upper rows slant down and the lower
// rows up, so they meet along the middle of the brow.
void drawHairs(QPainter& p, const BrowShape& b, const Polyline& spine) {
    Rng rng(b.seed);
    double length = 0;
    for (size_t i = 1; i < spine.size(); ++i)
        length += std::hypot(spine[i].x() - spine[i - 1].x(), spine[i].y() - spine[i - 1].y());
    const int count = static_cast<int>(1.5 * b.density * length * b.bodyW);
    for (int k = 0; k < count; ++k) {
        const double u = rng.uniform(), v = rng.symmetric(0.5);
        if (rng.uniform() > headFade(u)) continue;
        const double w = browWidth(b, u);
        const QPointF root = splineAt(spine, u) + normalAt(spine, u) * (v * w);
        const QPointF ahead =
            splineAt(spine, std::min(1.0, u + 0.02)) - splineAt(spine, std::max(0.0, u - 0.02));
        const double along = std::atan2(ahead.y(), ahead.x());
        const double upright = -kPi / 2 - 0.3;  // up and a little toward the tail
        const double lying = along + (v < 0 ? 0.38 : -0.22) * (1.0 - 0.5 * u);
        double ang = upright + (lying - upright) * smoothstep(0.04, 0.3, u) + rng.symmetric(b.messy);
        const double len = b.hairLen * rng.range(0.7, 1.15) * (1.0 - 0.45 * u) * (u < 0.15 ? 0.75 : 1.0);
        const double bend = rng.symmetric(0.08) + (u > 0.3 ? 0.06 : 0.0);
        Polyline hair{root};
        for (int i = 0; i < 4; ++i) {
            ang += bend;
            hair.push_back(hair.back() + QPointF(std::cos(ang), std::sin(ang)) * (len / 4));
        }
        const double shade = rng.uniform();
        const QColor c = shade < 0.25 ? mix(b.colour, QColor(200, 170, 140), 0.25)
                                      : b.colour.darker(100 + static_cast<int>(shade * 30));
        const int alpha = static_cast<int>(rng.range(120, 210) * headFade(u));
        fillRibbon(p, sampleSpline(hair, 8), rng.range(0.55, 0.85), 0.12, withAlpha(c, alpha));
    }
}

// (1 - t) * a + t * b per premultiplied channel.
QImage mixLayers(const QImage& a, const QImage& b, double t) {
    QImage out = a.copy();
    for (int y = 0; y < a.height(); ++y) {
        const auto* ra = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* rb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        auto* ro = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            auto m = [&](int ca, int cb) { return static_cast<int>(std::lround(ca + (cb - ca) * t)); };
            ro[x] = qRgba(m(qRed(ra[x]), qRed(rb[x])), m(qGreen(ra[x]), qGreen(rb[x])),
                          m(qBlue(ra[x]), qBlue(rb[x])), m(qAlpha(ra[x]), qAlpha(rb[x])));
        }
    }
    return out;
}

// Premultiplied pixels scaled so the strongest is `cap`: the skin always shows through a little.
void capAlpha(QImage& img, int cap) {
    int strongest = 1;
    for (int y = 0; y < img.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) strongest = std::max(strongest, qAlpha(row[x]));
    }
    if (strongest <= cap) return;
    for (int y = 0; y < img.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            auto s = [&](int c) { return c * cap / strongest; };
            row[x] = qRgba(s(qRed(row[x])), s(qGreen(row[x])), s(qBlue(row[x])), s(qAlpha(row[x])));
        }
    }
}

QImage renderBrow(const BrowShape& b) {
    QImage half = newLayer(90, 40);
    QPainter p;
    beginPainter(p, half);
    const Polyline spine = browSpine(b);
    drawTone(p, b, spine);
    drawHairs(p, b, spine);
    p.end();
    QImage soft = half.copy();  // a quarter of a soft copy: hairs as a camera sees them, not razor-cut
    blurLayer(soft, 1);
    half = mixLayers(half, soft, 0.25);
    capAlpha(half, 228);
    QImage pair = newLayer(180, 40);
    QPainter q(&pair);
    q.drawImage(0, 0, half);
    q.drawImage(90, 0, half.mirrored(true, false));
    return pair;
}

}  // namespace

void writeEyebrows(Writer& out) {
    constexpr int n = sizeof(kBrows) / sizeof(kBrows[0]);
    std::vector<QImage> pictures(n);
    parallelFor(n, [&](int i) { pictures[i] = renderBrow(kBrows[i]); });
    QMap<char, int> counts;
    for (int i = 0; i < n; ++i)
        out.component(pictures[i],
                      QStringLiteral("meimao/") +
                          componentName(QString(QChar(kBrows[i].category)), ++counts[kBrows[i].category]));
}

}  // namespace installdata
