#include "SmileLips.h"

#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "SkinField.h"

// Smiling lips, 100 x 50 at canvas (140, 265) like the closed ones (local y down). A smile stretches
// the lips wider and thinner and lifts the corners; the teeth show through an opening that is
// widest in the middle and closes at the corners, a little short of the lips' own corners where the
// lips meet. Each edge is a curve over u = (x - centre) / half width in [-1, 1].
namespace installdata {

namespace {

constexpr double kCx = 50;
constexpr int kW = 100, kH = 50;
constexpr double kOpenShare = 0.92;  // the opening's half width as a share of the lips'

struct SmileShape {
    char category;
    double halfWidth;
    double cornerY, tilt;           // corner height; the right corner this much lower than the left
    double openTop, gap;            // the opening in the middle: its top and its height
    double upperThick, lowerThick;  // the lips in the middle
    double lowerSides;              // 0.5 full to the corners .. 0.9 tapering early
    double bowDepth, peakX;         // cupid's bow: dip at the middle, and the peaks' distance from it
    double edgeSoftness;            // 0 crisp .. 1 soft lip line
    uint64_t seed;
};

// Fitted to a smiling mouth with its corners about 76 px apart and the teeth showing over local
// y 19 .. 27 in the middle; the items vary round it, each in its category's character.
const SmileShape kSmiles[] = {
    {'k', 37.5, 13.0, 0.0, 19.6, 7.2, 6.5, 10.0, 0.55, 1.3, 6.0, 0.6, 101},
    {'k', 36.0, 11.5, -0.4, 19.2, 7.6, 6.0, 11.5, 0.9, 1.6, 5.0, 0.7, 102},
    {'h', 40.0, 12.5, 0.2, 19.4, 7.4, 8.0, 12.0, 0.5, 1.2, 8.5, 0.6, 111},
    {'h', 37.0, 13.5, 0.0, 19.8, 7.2, 8.5, 13.0, 0.8, 1.5, 7.5, 0.8, 112},
    {'x', 39.0, 12.5, 0.0, 19.4, 7.4, 6.5, 9.0, 0.75, 0.8, 7.5, 0.5, 121},
    {'x', 35.5, 14.0, 0.3, 19.8, 7.0, 7.0, 9.5, 0.55, 1.0, 8.5, 0.5, 122},
    {'y', 40.5, 12.0, 1.2, 19.4, 7.6, 7.0, 11.5, 0.6, 1.6, 6.0, 0.4, 131},
    {'y', 38.0, 11.5, -1.0, 19.0, 7.8, 7.5, 12.0, 0.75, 1.8, 6.5, 0.5, 132},
    {'z', 36.0, 13.0, 0.0, 19.6, 7.2, 6.0, 8.0, 0.8, 0.6, 8.5, 0.2, 141},
    {'z', 40.0, 12.0, 0.0, 19.4, 7.4, 5.5, 8.5, 0.5, 0.7, 9.5, 0.25, 142},
};

double bell(double u, double p) { return std::pow(std::max(0.0, 1 - u * u), p); }

// The four edges of a smile, each a height (local y) at column x.
struct SmileCurves {
    const SmileShape& v;
    double corner(double x) const { return v.cornerY + 0.5 * v.tilt * (x - kCx) / v.halfWidth; }
    double u(double x) const { return (x - kCx) / v.halfWidth; }
    double uOpen(double x) const { return u(x) / kOpenShare; }
    double topMid() const { return v.openTop - v.upperThick; }
    double rise() const { return v.cornerY + v.bowDepth - topMid(); }
    double upperLine(double x) const {  // the upper lip line, with its bow
        const double dx = x - kCx;
        const double bow = std::exp(-std::pow(dx / (0.75 * v.peakX), 2)) -
                           0.5 * std::exp(-std::pow((std::abs(dx) - v.peakX) / (0.8 * v.peakX), 2));
        return corner(x) - rise() * bell(u(x), 0.6) + v.bowDepth * bow * bell(u(x), 1.0);
    }
    double openTop(double x) const { return corner(x) + (v.openTop - v.cornerY) * bell(uOpen(x), 0.6); }
    double openBottom(double x) const {
        return corner(x) + (v.openTop + v.gap - v.cornerY) * bell(uOpen(x), 0.55);
    }
    double lowerLine(double x) const {
        return corner(x) + (v.openTop + v.gap + v.lowerThick - v.cornerY) * bell(u(x), v.lowerSides);
    }
    bool opened(double x) const { return std::abs(uOpen(x)) < 1; }
    // Between the lips: the middle of the opening, or the corner line beyond it.
    double parting(double x) const { return opened(x) ? 0.5 * (openTop(x) + openBottom(x)) : corner(x); }
};

// A curve from one end of the span to the other, sampled densely toward the ends where it bends.
template <class F>
Polyline sampled(double halfSpan, F height) {
    Polyline out;
    for (int i = 0; i <= 90; ++i) {
        const double x = kCx + halfSpan * std::sin(std::numbers::pi * (i / 90.0 - 0.5));
        out.emplace_back(x, height(x));
    }
    return out;
}

QPainterPath closedBetween(const Polyline& upper, const Polyline& lower) {
    Polyline all = upper;
    for (auto it = lower.rbegin(); it != lower.rend(); ++it) all.push_back(*it);
    return pathThrough(all, true);
}

// Fine creases across each lip, 0 .. 1, fanning out from a point beyond the opening: below it for
// the upper lip, above it for the lower one. `across` runs 0 at the opening to 1 at the lip line.
struct Crease {
    double s, depth, halfWidth, wave;
};
double creaseAt(const std::vector<Crease>& creases, double s, double across) {
    double out = 0;
    const double span = smoothstep(0.05, 0.3, across) * smoothstep(1.0, 0.6, across);
    for (const Crease& c : creases) {
        const double d = s - c.s - 0.12 * c.wave * std::sin(across * 5.0 + c.wave);
        if (std::abs(d) > 3 * c.halfWidth) continue;
        out = std::max(out, c.depth * span * std::exp(-(d * d) / (c.halfWidth * c.halfWidth)));
    }
    return out;
}

QImage renderSmile(const SmileShape& v) {
    const SmileCurves c{v};
    const Polyline top = sampled(v.halfWidth, [&](double x) { return c.upperLine(x); });
    const Polyline bottom = sampled(v.halfWidth, [&](double x) { return c.lowerLine(x); });
    const double openHalf = v.halfWidth * kOpenShare;
    const Polyline openTop = sampled(openHalf, [&](double x) { return c.openTop(x); });
    const Polyline openBottom = sampled(openHalf, [&](double x) { return c.openBottom(x); });

    // The lip line defined but not cut out: a crisp line keeps more of the sharp coverage.
    const Field cover = softEdgedCoverage(closedBetween(top, bottom), kW, kH, 0.8 - 0.5 * v.edgeSoftness);
    // The opening: zero wherever it is whole, a soft step of a pixel onto the wet inner lip.
    const Field openSharp = coverageOf(closedBetween(openTop, openBottom), kW, kH);
    Field open = openSharp;
    blurField(open, 1);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) open(x, y) = std::max(open(x, y), openSharp(x, y));

    const Field outer = distanceTo({top, bottom}, cover);
    const Field inner = distanceTo({openTop, openBottom}, cover);
    const Field mottle = valueNoise(kW, kH, 3.5, 2.5, v.seed * 5 + 3);

    Rng rng(v.seed * 5 + 1);
    std::vector<Crease> creases[2];
    for (auto& lip : creases)
        for (double s = -v.halfWidth * 1.3; s < v.halfWidth * 1.3; s += rng.range(1.3, 3.4))
            lip.push_back(
                {s + rng.symmetric(0.3), rng.range(0.3, 1.0), rng.range(0.35, 0.65), rng.symmetric(3.0)});
    const double fan = 0.8 * v.halfWidth, mid = c.parting(kCx);  // the creases' origin beyond the opening
    const double lowerMid = c.openBottom(kCx) + 0.4 * v.lowerThick;

    QImage img(kW, kH, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    for (int y = 0; y < kH; ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < kW; ++x) {
            const double coverage = cover(x, y) * (1 - open(x, y));
            if (coverage <= 0) continue;
            const double px = x + 0.5, py = y + 0.5, dx = px - kCx;
            const bool lower = py > c.parting(px);
            double a = lower ? 0.82 : 0.78;
            a += 0.1 * std::exp(-outer(x, y) / 1.0);  // denser at the lip line
            // Thinner on the wet inner lip; the lower lip's shows less, rolled toward the teeth.
            a *= lower ? 0.66 + 0.34 * smoothstep(0.0, 2.5, inner(x, y))
                       : 0.6 + 0.4 * smoothstep(0.0, 3.5, inner(x, y));
            a *= 0.6 + 0.4 * smoothstep(v.halfWidth + 0.5, v.halfWidth - 7, std::abs(dx));  // corners
            const double shine =
                lower ? gauss(dx + 4, py - lowerMid, 0.3 * v.halfWidth, 0.22 * v.lowerThick)
                      : 0.5 * (gauss(dx + v.peakX + 2, py - c.topMid() - 0.45 * v.upperThick, 4.5, 1.4) +
                               gauss(dx - v.peakX - 2, py - c.topMid() - 0.45 * v.upperThick, 4.5, 1.4));
            a *= 1.0 - 0.42 * std::min(1.0, shine);
            const double dy = lower ? py - (mid - fan) : (mid + fan) - py;
            const double across = inner(x, y) / std::max(0.5f, inner(x, y) + outer(x, y));
            a *= 0.88 + 0.12 * smoothstep(0.2, 0.9, across);  // more pigment toward the lip line
            const double crease = creaseAt(creases[lower], std::atan2(dx, dy) * fan, across);
            a *= 1.0 - 0.14 * crease + 0.04 * mottle(x, y);
            const double alpha = std::clamp(a * coverage, 0.0, 1.0);
            const double light = 0.85 + 0.3 * shine - 0.2 * std::exp(-inner(x, y) / 1.5);
            auto ch = [&](double k) { return std::clamp(static_cast<int>(k * light), 0, 255); };
            row[x] = qRgba(ch(184), ch(52), ch(70), static_cast<int>(std::lround(255 * alpha)));
        }
    }
    return img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

}  // namespace

std::vector<SmileLipPicture> drawSmileLips() {
    constexpr int n = sizeof(kSmiles) / sizeof(kSmiles[0]);
    std::vector<SmileLipPicture> out(n);
    parallelFor(n, [&](int i) { out[i] = {kSmiles[i].category, renderSmile(kSmiles[i])}; });
    return out;
}

}  // namespace installdata
