#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

#include "Geometry.h"
#include "HairFinish.h"
#include "UpdoArt.h"

// The parts of an updo's pouf: a bouffant's ball of backcombed hair over the crown (its outline, its
// smooth top combed over it, teased only along its edge) and the bun seated on it; the solid mass
// under any pouf and the teasing across a high ponytail's.
namespace installdata {

using namespace face;

namespace {

// How far the ray from the origin in direction (-s, -c) runs before it leaves an ellipse with radii
// bx, by centred h above the origin (which it holds):
// t^2 (s^2 / bx^2 + c^2 / by^2) - 2 t h c / by^2 + h^2 / by^2 - 1 = 0.
double rayOut(double s, double c, double h, double bx, double by) {
    const double a = s * s / (bx * bx) + c * c / (by * by), b = -2 * h * c / (by * by);
    return (-b + std::sqrt(b * b - 4 * a * (h * h / (by * by) - 1))) / (2 * a);
}

// The ball of backcombed hair over the crown, as bouffantPoint draws its outline: centre and
// radii, px.
struct Ball {
    QPointF centre;
    double rx, ry;
};
Ball ballOf(const HairVariant& v) { return {{kMidX, 160 - 1.4 * v.pouf}, 2.85 * v.width, 1.85 * v.pouf}; }

struct Vec3 {
    double x, y, z;
};
double dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 unit(Vec3 a) {
    const double n = std::sqrt(dot(a, a));
    return {a.x / n, a.y / n, a.z / n};
}

// Light from the upper left and in front (x right, y down, z toward the viewer).
const Vec3 kLight = unit({-0.5, -0.65, 0.6});

// How lit the ball's hair is at q, 0 deep shade .. about 1.2: wrapped light from the upper left,
// and a broad band across the strands where they turn the light to the viewer. The band runs round
// the ball as a shallow arc, just under the bun in the middle and rising toward the sides, where the
// ball turns away; brightest on the left.
double ballLight(const Ball& b, QPointF q) {
    const double nx = (q.x() - b.centre.x()) / b.rx, ny = (q.y() - b.centre.y()) / b.ry;
    const Vec3 n = unit({nx, ny, std::sqrt(std::max(0.04, 1 - nx * nx - ny * ny))});
    // The hair turns into shade toward the ball's rim, where it lies edge-on.
    const double diffuse = std::clamp(0.1 + 0.75 * dot(n, kLight), 0.0, 1.0) * (0.45 + 0.55 * std::sqrt(n.z));
    const double band = gauss(ny + 0.12 + 0.35 * nx * nx, 0.26) * std::clamp(0.8 - 0.5 * nx, 0.0, 1.0);
    return diffuse * (1 - 0.3 * band) + 0.7 * band;
}

// The colour of the ball's hair lit `light` (as ballLight), before the strands' own tones.
QColor ballColour(const HairPalette& c, double light) {
    light = std::clamp(light, 0.0, 1.3);
    const QColor deep = mix(c.dark, QColor(0, 0, 0), 0.35), lit = mix(c.light, c.sheen, 0.35);
    if (light < 0.5) return mix(deep, c.base, light / 0.5);
    return light < 1.0 ? mix(c.base, c.light, (light - 0.5) / 0.5) : mix(c.light, lit, (light - 1.0) / 0.3);
}

// How much of the top's art lies over hair at canvas row y: all of it over the crown, none from
// the temples down, where the sides lie close to the head.
double topWeight(double y) { return 1 - smoothstep(105, 135, y); }

// The ball shaded round under its strands: a smooth field of the light, laid over the hair.
void shadeBall(QPainter& p, const Ball& b, const HairPalette& c) {
    QImage shade = newLayer(kCanvasW, kCanvasH);
    for (int y = 0; y < 140; ++y) {
        auto* row = reinterpret_cast<QRgb*>(shade.scanLine(y));
        for (int x = 0; x < kCanvasW; ++x) {
            const QColor col = ballColour(c, ballLight(b, QPointF(x + 0.5, y + 0.5)));
            row[x] =
                qPremultiply(qRgba(col.red(), col.green(), col.blue(), static_cast<int>(185 * topWeight(y))));
        }
    }
    p.drawImage(0, 0, shade);
}

// Fine strands along the sweep, each lit by the ball where it runs: the light band is made of
// them, and they all run one way. `across(f)` is the line f of the way across one half.
void drawBallStrands(QPainter& p, const std::function<Polyline(double)>& across, const Ball& b,
                     const HairPalette& c, Rng& rng) {
    for (int k = 0; k < 520; ++k) {
        Polyline l = across(rng.uniform());
        const QPointF shift(rng.symmetric(1.5), rng.symmetric(1.5));
        const double tone = rng.symmetric(0.14), w = rng.range(0.5, 1.0);
        const int alpha = static_cast<int>(rng.range(110, 200));
        const size_t from = static_cast<size_t>(rng.range(0.05, 0.35) * (l.size() - 1));
        const size_t to = static_cast<size_t>(rng.range(0.86, 1.0) * (l.size() - 1));
        for (size_t i = from; i + 1 <= to; i += 3) {
            const size_t j = std::min(to, i + 4);
            Polyline seg(l.begin() + i, l.begin() + j + 1);
            for (QPointF& q : seg) q += shift;
            const QPointF mid = seg[seg.size() / 2];
            const double weight = topWeight(mid.y());
            if (weight <= 0.02) continue;
            fillRibbon(p, seg, w, w,
                       withAlpha(ballColour(c, ballLight(b, mid) + tone), static_cast<int>(alpha * weight)));
        }
    }
}

// Soft partings between broad strand groups, each with a lit ridge beside it, along the sweep.
void drawBallPartings(QPainter& p, const std::function<Polyline(double)>& across, const HairPalette& c,
                      Rng& rng) {
    const QColor deep = mix(c.dark, QColor(0, 0, 0), 0.45), lit = mix(c.light, c.sheen, 0.3);
    paintSoft(p, QSize(kCanvasW, kCanvasH), 2, 0.7, [&](QPainter& q) {
        for (int k = 0; k < 9; ++k) {
            const double f = (k + rng.range(0.2, 0.8)) / 9;
            Polyline l = across(f);
            l = Polyline(l.begin() + static_cast<long>(rng.range(0.15, 0.35) * l.size()),
                         l.begin() + static_cast<long>(rng.range(0.75, 0.95) * l.size()));
            const double depth = rng.range(0.3, 1.0);
            fillRibbon(q, l, 1.2 + 1.6 * depth, 0.8, withAlpha(deep, static_cast<int>(60 + 90 * depth)), 0.2,
                       0.3);
            Polyline ridge = l;
            for (QPointF& pt : ridge) pt += QPointF(2.5, 0.5);
            fillRibbon(q, ridge, 2.0, 1.0, withAlpha(lit, static_cast<int>(30 + 50 * depth)), 0.3, 0.4);
        }
    });
}

// A little backcombing shows only along the ball's top edge, beside and behind the bun: short fine
// arcs lying at small angles to the edge.
void teaseTheTopEdge(QPainter& p, const HairVariant& v, const HairPalette& c, Rng& rng) {
    const QColor deep = mix(c.dark, QColor(0, 0, 0), 0.3), lit = mix(c.light, c.sheen, 0.2);
    for (int k = 0; k < 110; ++k) {
        const double a = (rng.uniform() < 0.5 ? -1 : 1) * rng.range(0.3, 1.2), in = rng.range(1.0, 7.0);
        const QPointF at = outlinePoint(v, a, -in);
        QPointF d = outlinePoint(v, a - 0.02, -in) - at;
        d /= std::max(1e-6, std::hypot(d.x(), d.y()));
        d = turned(d, rng.symmetric(0.5));
        const double len = rng.range(4, 9), bend = rng.symmetric(0.2);
        Polyline h{at};
        for (int s = 1; s <= 4; ++s) h.push_back(h.back() + turned(d, bend * s) * (len / 4));
        const bool light = rng.uniform() < 0.5;
        fillRibbon(p, h, rng.range(0.5, 0.8), 0.3,
                   withAlpha(light ? lit : deep, static_cast<int>(rng.range(50, light ? 110 : 120))), 0.2,
                   0.3);
    }
}

// The ball's hair runs up into the bun over its lower rim: strands from the crown below it, lit
// as the ball is where they leave it and shaded as they turn in under the bun.
void seatBun(QPainter& p, const Ball& ball, QPointF centre, double rx, double ry, const HairPalette& c,
             Rng& rng) {
    const QColor deep = mix(c.dark, QColor(0, 0, 0), 0.5);
    for (int k = 0; k < 110; ++k) {
        const double t = rng.range(0.15, 0.85) * kPi, t2 = t + rng.symmetric(0.06);  // below the middle
        const double from = rng.range(1.1, 1.4), to = rng.range(0.7, 0.88);
        const QPointF a = centre + QPointF(std::cos(t) * rx * from, std::sin(t) * ry * from);
        const QPointF b = centre + QPointF(std::cos(t2) * rx * to, std::sin(t2) * ry * to);
        const Polyline h =
            sampleSpline({a, lerp(a, b, 0.5) + QPointF(std::cos(t) * 3, std::sin(t) * 3), b}, 12);
        const QColor out = ballColour(c, ballLight(ball, a) + rng.symmetric(0.12));
        const int alpha = static_cast<int>(rng.range(120, 210));
        fillRibbon(p, Polyline(h.begin(), h.begin() + 7), 0.9, 0.9, withAlpha(out, alpha), 0.3, 0.0);
        fillRibbon(p, Polyline(h.begin() + 6, h.end()), 0.9, 0.3, withAlpha(mix(out, deep, 0.6), alpha), 0.0,
                   0.4);
    }
}

}  // namespace

bool bouffant(const HairVariant& v) { return v.pouf > 0 && v.pieces[0].kind == Piece::Bun; }

// A bouffant's outline `angle` from the top round the head's middle (190, 160): a ball of
// backcombed hair over the crown, centred 1.4 pouf above that middle, 2.85 width wide, 1.85 pouf
// high above its middle and shorter below it, merged softly into the hair lying close to the head
// (radii rx, ry) at the temples and ears, so that it rounds over the crown and comes in below it
// instead of standing as a box. rx, ry include the distance off the outline asked for.
QPointF bouffantPoint(double angle, double rx, double ry, double pouf, double width) {
    const double s = std::sin(angle), c = std::cos(angle), out = rx - kBouffantSide;
    const double h = 1.4 * pouf, bx = 2.85 * width + out;
    double t = rayOut(s, c, h, bx, std::max(1.85 * pouf + out, h + 1));
    if (t * c < h) t = rayOut(s, c, h, bx, std::max(h + 4 + out, h + 1));
    const double head = 1 / std::sqrt(s * s / (rx * rx) + c * c / (ry * ry));
    const double r = std::pow(std::pow(t, 10) + std::pow(head, 10), 0.1);
    return {kMidX - r * s, 160 - r * c};
}

// Backcombed hair is not one smooth sheet: short fine arcs lie at small angles across the pull,
// lit and shaded, thickest over the crown. `across(f)` is the line f of the way across the sheet.
void drawTeasing(QPainter& p, const std::function<Polyline(double)>& across, const HairPalette& c,
                 uint64_t seed) {
    Rng rng(seed);
    const QColor deep = mix(c.dark, QColor(0, 0, 0), 0.35), lit = mix(c.light, c.sheen, 0.25);
    std::vector<Polyline> lines;
    for (int k = 0; k <= 8; ++k) lines.push_back(across(k / 8.0));
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    for (int k = 0; k < 320; ++k) {
        const Polyline& l = lines[static_cast<size_t>(rng.range(0, 8.999))];
        const size_t i = static_cast<size_t>(rng.range(0.2, 0.92) * (l.size() - 2));
        const QPointF at = l[i] + QPointF(rng.symmetric(6), rng.symmetric(6));
        QPointF d = l[i + 1] - l[i];
        d /= std::max(1e-6, std::hypot(d.x(), d.y()));
        d = turned(d, rng.symmetric(0.7));
        const double len = rng.range(7, 18), bend = rng.symmetric(0.18);
        Polyline h{at};
        for (int s = 1; s <= 5; ++s) h.push_back(h.back() + turned(d, bend * s) * (len / 5));
        const bool light = rng.uniform() < 0.45;
        fillRibbon(p, h, rng.range(0.5, 1.0), 0.3,
                   withAlpha(light ? lit : deep, static_cast<int>(rng.range(40, light ? 110 : 130))), 0.2,
                   0.3);
    }
    p.restore();
}

// The solid mass under a pouf's strands, from behind one ear over the crown to the other, closed
// above the hairline.
void fillPouf(QPainter& p, const HairVariant& v, const HairPalette& c) {
    Polyline ring;
    for (int k = 0; k <= 60; ++k) ring.push_back(outlinePoint(v, 1.62 - 3.24 * k / 60, -1));
    for (const QPointF q :
         {QPointF(272, 150), QPointF(255, 118), QPointF(kMidX, 104), QPointF(125, 118), QPointF(108, 150)})
        ring.push_back(q);
    fillHairBase(p, c, ring, QPointF(170, 80), 160);
}

void drawBouffantTop(QPainter& p, const std::vector<Polyline>& guides, const HairVariant& v,
                     const HairPalette& c, uint64_t seed) {
    const Ball b = ballOf(v);
    std::vector<Polyline> lines;
    for (const Polyline& g : guides) lines.push_back(sampleSpline(g, 48));
    Rng rng(seed);
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);  // only over the hair beneath
    shadeBall(p, b, c);
    for (bool mirror : {false, true}) {
        auto across = [&](double f) { return lineAcross(lines, f, mirror); };
        drawBallStrands(p, across, b, c, rng);
        drawBallPartings(p, across, c, rng);
    }
    teaseTheTopEdge(p, v, c, rng);
    p.restore();
}

void drawBouffantBun(QPainter& p, const HairVariant& v, QPointF centre, double rx, double ry,
                     const HairPalette& c, uint64_t seed) {
    drawWoundBun(p, centre, rx, ry, c, seed);
    Rng rng(seed + 1);
    windBunLocks(p, centre, rx, ry, c, rng);
    seatBun(p, ballOf(v), centre, rx, ry, c, rng);
}

}  // namespace installdata
