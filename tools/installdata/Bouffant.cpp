#include <algorithm>
#include <cmath>

#include "Geometry.h"
#include "HairFinish.h"
#include "UpdoArt.h"

// A bouffant's own parts: the ball of backcombed hair over the crown (its outline, its solid mass,
// its teased surface) and the bun seated on top of it.
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

// A bun on a pouf sits in the mass: the hair around its base runs up into it over its lower rim,
// in strand groups shaded where they turn under it.
void seatBun(QPainter& p, QPointF centre, double rx, double ry, const HairPalette& c, uint64_t seed) {
    Rng rng(seed);
    const QColor deep = mix(c.dark, QColor(0, 0, 0), 0.4);
    for (int k = 0; k < 90; ++k) {
        const double t = rng.range(0.08, 0.92) * kPi, t2 = t + rng.symmetric(0.25);  // below the middle
        const double from = rng.range(1.12, 1.35), to = rng.range(0.72, 0.9);
        const QPointF a = centre + QPointF(std::cos(t) * rx * from, std::sin(t) * ry * from);
        const QPointF b = centre + QPointF(std::cos(t2) * rx * to, std::sin(t2) * ry * to);
        const QPointF m = lerp(a, b, 0.5) + QPointF(std::cos(t) * 4, std::sin(t) * 4);
        const double shade = std::sin(t) * 0.5 + 0.5 * rng.uniform();
        fillRibbon(
            p, sampleSpline({a, m, b}, 12), rng.range(0.7, 1.3), 0.3,
            withAlpha(mix(strandColour(rng, c), deep, shade * 0.6), static_cast<int>(rng.range(120, 220))),
            0.25, 0.35);
    }
}

}  // namespace installdata
