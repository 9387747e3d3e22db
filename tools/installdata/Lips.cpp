#include <QMap>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "InstallData.h"
#include "SkinField.h"
#include "SmileLips.h"

// Lips, 100 x 50 at canvas (140, 265); local (50, 25) is the mouth centre of the portrait. The
// program keeps only the alpha of a lip picture and fills it with the chosen lip colour, so the alpha
// carries the look of lipstick: a defined edge, a body that lets the lips' own tone through, a
// weaker mouth line and highlights, and fine creases that fan out from the mouth line.
namespace installdata {

namespace {

constexpr double kCx = 50, kCy = 25;
constexpr int kW = 100, kH = 50;

struct LipShape {
    char category;
    double halfWidth, upperH, lowerH;
    double bowDepth, peakX;  // cupid's bow: dip at the middle, and the peaks' distance from it
    double cornerDrop;       // corners below (+) or above (-) the mouth line
    double fullness;         // 0 flat .. 1 rounded outline
    uint64_t seed;
};

// k lovely, h gorgeous, x graceful, y wild, z intellectual.
const LipShape kLips[] = {
    {'k', 25, 8.5, 12.5, 2.0, 5.5, -0.8, 0.9, 1},    {'k', 21.5, 10, 14, 2.8, 4.5, -1.4, 1.0, 2},
    {'k', 28, 7, 10.5, 1.4, 7, -0.2, 0.8, 3},        {'k', 24, 11, 11, 3.0, 4.8, -0.6, 0.95, 4},
    {'h', 30, 10, 15, 2.2, 8, 0.4, 0.95, 11},        {'h', 34, 11.5, 16.5, 1.8, 9.5, 0.2, 0.9, 12},
    {'h', 27.5, 13, 14, 2.8, 6.5, 0.6, 1.0, 13},     {'h', 32, 8.5, 18, 1.4, 9.5, 0.9, 0.8, 14},
    {'x', 27, 8, 11, 1.8, 7, 0.0, 0.6, 21},          {'x', 31, 6.5, 9.5, 1.3, 8.5, 0.3, 0.5, 22},
    {'x', 24.5, 9.5, 12.5, 2.2, 5.5, -0.3, 0.7, 23}, {'x', 28.5, 9.5, 9.5, 1.6, 7.5, 0.5, 0.6, 24},
    {'y', 32, 10.5, 15, 3.0, 7, 1.0, 1.0, 31},       {'y', 34.5, 12, 13.5, 3.2, 6.5, 1.4, 0.9, 32},
    {'y', 29.5, 12.5, 17, 2.6, 6.5, 0.6, 1.0, 33},   {'y', 33.5, 9, 16.5, 3.6, 7.5, 1.8, 0.95, 34},
    {'z', 27, 6.5, 9.5, 1.0, 8, 0.4, 0.4, 41},       {'z', 30.5, 5.5, 9, 0.8, 9.5, 0.0, 0.45, 42},
    {'z', 24.5, 7, 8.5, 1.2, 7, 0.7, 0.35, 43},      {'z', 32, 6, 10.5, 0.9, 10, 0.2, 0.4, 44},
};

// Upper edge of the upper lip (upper = true) or lower edge of the lower lip, corner to corner.
Polyline lipEdge(const LipShape& v, bool upper) {
    const double w = v.halfWidth, c = kCy + v.cornerDrop;
    Polyline half;
    if (upper)
        half = {{kCx - w, c},
                {kCx - w * 0.7, kCy - v.upperH * (0.45 + 0.2 * v.fullness)},
                {kCx - v.peakX, kCy - v.upperH},
                {kCx, kCy - v.upperH + v.bowDepth}};
    else
        half = {{kCx - w, c},
                {kCx - w * 0.72, kCy + v.lowerH * (0.5 + 0.25 * v.fullness)},
                {kCx - w * 0.3, kCy + v.lowerH * 0.97},
                {kCx, kCy + v.lowerH}};
    Polyline all = sampleSpline(half, 30);
    const Polyline right = mirrored(all, kCx);
    for (auto it = right.rbegin() + 1; it != right.rend(); ++it) all.push_back(*it);
    return all;
}

// The mouth line, corner to corner, a little lower in the middle.
Polyline mouthLine(const LipShape& v) {
    const double w = v.halfWidth, c = kCy + v.cornerDrop;
    return sampleSpline({{kCx - w, c},
                         {kCx - w * 0.5, kCy + 0.3},
                         {kCx, kCy + 0.9},
                         {kCx + w * 0.5, kCy + 0.3},
                         {kCx + w, c}},
                        60);
}

// Where the lips part, 0 .. 1: a band along the mouth line that follows the smile, widest in the
// middle and tapering to the corners, lying more on the lower lip (the lower lip drops as a mouth
// opens). Over a closed mouth it reads as lips turning in toward the line; over a slight smile the
// teeth show softly through it instead of along one bright line.
double parting(const LipShape& v, const Polyline& line, double px, double py) {
    double lineY = line.front().y();
    for (size_t i = 1; i < line.size(); ++i)
        if (px <= line[i].x()) {
            const double t = (px - line[i - 1].x()) / std::max(1e-6, line[i].x() - line[i - 1].x());
            lineY = line[i - 1].y() + std::clamp(t, 0.0, 1.0) * (line[i].y() - line[i - 1].y());
            break;
        } else {
            lineY = line[i].y();
        }
    const double t = std::clamp((px - kCx) / v.halfWidth, -1.0, 1.0);
    const double open = (0.5 + 1.5 * std::pow(1 - t * t, 0.8)) *  // the band's half-height
                        std::min(1.0, (v.upperH + v.lowerH) / 20);
    const double d = std::abs(py - (lineY + 0.2 * open)) / open;
    return 1 - smoothstep(0.6, 1.35, d);
}

QPainterPath lipsPath(const LipShape& v) {
    Polyline outline = lipEdge(v, true);
    const Polyline lower = lipEdge(v, false);
    for (auto it = lower.rbegin() + 1; it != lower.rend(); ++it) outline.push_back(*it);
    return pathThrough(outline, true);
}

// Fine creases of both lips, 0 (none) .. 1 (deepest). Lip creases run across each lip from the
// mouth line to the lip line and fan out toward the corners, so each crease is a short, slightly
// wavy dip along a ray from a point on the far side of the mouth line; their spacing, depth, width
// and length vary. `seam` and `edge` are the distances to the mouth line and to the lip lines.
Field lipCreases(const LipShape& v, const Field& cover, const Field& seam, const Field& edge) {
    struct Crease {
        double s, depth, halfWidth, from, to, wave;
    };
    const double fan = 1.25 * v.halfWidth;  // distance of the rays' origin from the mouth line
    std::vector<Crease> lips[2];
    Rng rng(v.seed * 7 + 1);
    for (auto& creases : lips)
        for (double s = -v.halfWidth * 1.2; s < v.halfWidth * 1.2; s += rng.range(1.3, 3.4))
            creases.push_back({s + rng.symmetric(0.3), rng.range(0.25, 1.0), rng.range(0.3, 0.65),
                               rng.range(0.0, 0.35), rng.range(0.45, 1.05), rng.symmetric(3.0)});
    Field out(kW, kH);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            if (cover(x, y) <= 0) continue;
            const double px = x + 0.5, py = y + 0.5;
            const bool lower = py > kCy + 0.9;
            const double dy = lower ? py - (kCy - fan) : (kCy + fan) - py;
            const double across = seam(x, y) / std::max(0.5f, seam(x, y) + edge(x, y));  // 0 seam .. 1 edge
            const double s = std::atan2(px - kCx, dy) * fan;  // px along the mouth line
            double depth = 0;
            for (const Crease& c : lips[lower ? 1 : 0]) {
                const double d = s - c.s - c.wave * 0.12 * std::sin(across * 5.0 + c.wave);
                if (std::abs(d) > 3 * c.halfWidth) continue;
                const double span =
                    smoothstep(c.from, c.from + 0.2, across) * smoothstep(c.to, c.to - 0.25, across);
                depth = std::max(depth, c.depth * span * std::exp(-(d * d) / (c.halfWidth * c.halfWidth)));
            }
            out(x, y) = static_cast<float>(depth);
        }
    return out;
}

QImage renderLips(const LipShape& v) {
    const Field cover = softEdgedCoverage(lipsPath(v), kW, kH, 0.5);  // half of the lip line a little soft
    const Field edge = distanceTo({lipEdge(v, true), lipEdge(v, false)}, cover);
    const Polyline line = mouthLine(v);
    const Field seam = distanceTo({line}, cover);
    const Field creases = lipCreases(v, cover, seam, edge);
    const Field mottle = valueNoise(kW, kH, 4.0, 3.0, v.seed * 7 + 2);
    QImage img(kW, kH, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    for (int y = 0; y < kH; ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < kW; ++x) {
            if (cover(x, y) <= 0) continue;
            const double px = x + 0.5, py = y + 0.5, lower = py > kCy + 0.9 ? 1.0 : 0.0;
            double a = lower > 0 ? 0.76 : 0.72;
            a += 0.13 * std::exp(-edge(x, y) / 1.0);  // a defined lip line
            // More pigment toward the lip line, less where the lips turn in toward the mouth line.
            const double across = seam(x, y) / std::max(0.5f, seam(x, y) + edge(x, y));
            a *= 0.86 + 0.14 * smoothstep(0.1, 0.85, across);
            a *= 1.0 - 0.38 * parting(v, line, px, py);
            a *= 1.0 - 0.15 * std::exp(-std::pow(seam(x, y) / 1.1, 2.0));  // the mouth line shows through
            a *= 0.5 +
                 0.5 * smoothstep(v.halfWidth + 0.5, v.halfWidth - 6, std::abs(px - kCx));  // thin corners
            const double shine =
                lower * gauss(px - kCx - 3, py - kCy - v.lowerH * 0.45, v.halfWidth * 0.34, v.lowerH * 0.2) +
                (1 - lower) * 0.6 *
                    (gauss(px - kCx + v.peakX + 1, py - kCy + v.upperH * 0.5, 4.0, 1.6) +
                     gauss(px - kCx - v.peakX - 1, py - kCy + v.upperH * 0.5, 4.0, 1.6));
            a *= 1.0 - 0.5 * std::min(1.0, shine);
            a *= 1.0 - 0.14 * creases(x, y) + 0.04 * mottle(x, y);
            const double alpha = std::clamp(a * cover(x, y), 0.0, 1.0);
            const double light = 0.85 + 0.3 * shine - 0.25 * std::exp(-seam(x, y) / 2.0);
            auto ch = [&](double c) { return std::clamp(static_cast<int>(c * light), 0, 255); };
            row[x] = qRgba(ch(184), ch(52), ch(70), static_cast<int>(std::lround(255 * alpha)));
        }
    }
    return img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

}  // namespace

void writeLips(Writer& out) {
    constexpr int n = sizeof(kLips) / sizeof(kLips[0]);
    std::vector<QImage> pictures(n);
    parallelFor(n, [&](int i) { pictures[i] = renderLips(kLips[i]); });
    QMap<char, int> counts;
    const auto write = [&](const QImage& picture, char category) {
        out.component(
            picture, QStringLiteral("zuixing/") + componentName(QString(QChar(category)), ++counts[category]),
            2);
    };
    for (int i = 0; i < n; ++i) write(pictures[i], kLips[i].category);
    // The smiling lips follow the closed ones of their category.
    for (const SmileLipPicture& smile : drawSmileLips()) write(smile.picture, smile.category);
}

}  // namespace installdata
