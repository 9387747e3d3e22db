#include "TousledHair.h"

#include <algorithm>
#include <cmath>

#include "Geometry.h"
#include "HairFinish.h"
#include "MensClumps.h"

namespace installdata {

namespace {

using face::kCanvasH;
using face::kMidX;

const QPointF kCentre(kMidX, 160);

// A point `f` of the way from the centre of the head out to its outline, at `angle` (0 on top,
// pi/2 at the left side).
QPointF onDome(double angle, double f, const CrownShape& s) {
    return kCentre + (skullPoint(angle, s.rx, s.ry) - kCentre) * f;
}

// One group: from a root beside the parting it stands up a little, crosses the parting and lies
// down along the dome at `rest` of the way out. `dir` -1 falls to the right, 1 to the left.
// Returns the guides.
std::vector<Polyline> groupGuides(double a0, double f0, double dir, double reach, double lift, double w,
                                  double rest, const CrownShape& s) {
    Polyline inner, outer;
    for (int k = 0; k <= 5; ++k) {
        const double u = k / 5.0;
        const double a = a0 + dir * reach * u;
        const double f =
            f0 + (rest - f0) * smoothstep(0.0, 1.0, u) + lift * std::sin(kPi * std::min(1.0, 1.6 * u));
        const double r = std::hypot(onDome(a, 1, s).x() - kMidX, onDome(a, 1, s).y() - 160);
        const double half = 0.5 * w * (1.0 - 0.45 * u) / std::max(1.0, r);
        inner.push_back(onDome(a, f - half, s));
        outer.push_back(onDome(a, f + half, s));
    }
    return {inner, outer};
}

Polyline between(const Polyline& a, const Polyline& b, double t) {
    Polyline out(a.size());
    for (size_t i = 0; i < a.size(); ++i) out[i] = lerp(a[i], b[i], t);
    return out;
}

}  // namespace

CrownShape crownShape(const HairVariant& v) {
    const double crownTop = 70 - 1.3 * v.volume;
    return {92 + 0.8 * v.volume + 0.3 * v.width, 160 - crownTop};
}

double crownRaise(const HairVariant& v, double part) {
    // The further off the middle the parting, the more the lifted roots stand up on the heavy side
    // and lie flatter on the other.
    return (part > kMidX + 8 ? 5 : 0) + v.lift * std::clamp((part - kMidX) / 16, -0.3, 1.0);
}

double partingAngle(const CrownShape& s, double part) {
    return std::asin(std::clamp((kMidX - part) / s.rx, -1.0, 1.0));
}

CrownShape raised(const CrownShape& s, double up) { return {s.rx + 0.8 * up, s.ry + 1.3 * up}; }

void drawCrownTexture(QPainter& p, const HairVariant& v, const HairPalette& c, double strength) {
    const CrownShape s = crownShape(v);
    Rng rng(v.seed + 313);
    const double aPart = std::asin(std::clamp((kMidX - v.part) / s.rx, -1.0, 1.0));
    const QSize size(p.device()->width(), p.device()->height());
    const QColor deep = mix(c.dark, QColor(0, 0, 0), 0.4);
    const int groups = 6;
    // A big smooth dome is drawn as a spline that cuts inside its corners: its groups lie lower.
    const double rest = strength < 1 ? 0.92 : 0.97;
    for (int k = 0; k < groups; ++k) {
        // Alternate the side each falls to, the heavier side first, so they cross over each other.
        const double dir = (k % 2 == 0) == (v.part <= kMidX) ? -1.0 : 1.0;
        const double a0 = aPart - dir * rng.range(0.03, 0.1) + rng.symmetric(0.04);
        const double f0 = rng.range(0.8, 0.9), reach = rng.range(0.35, 0.7);
        const double lift = strength * rng.range(0.02, 0.06), w = rng.range(7, 12);
        const std::vector<Polyline> guides = groupGuides(a0, f0, dir, reach, lift, w, rest, s);
        // The shade the group casts on the hair beneath, on its lower side.
        p.save();
        p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
        paintSoft(p, size, 2, 1.0, [&](QPainter& q) {
            Polyline under = sampleSpline(guides[0], 20);
            for (QPointF& q0 : under) q0 += (kCentre - q0) * 0.025;
            fillRibbon(q, under, 3.5, 1.5, withAlpha(deep, static_cast<int>(strength * rng.range(70, 120))),
                       0.15, 0.4);
        });
        p.restore();
        Sweep g;
        g.guides = guides;
        g.locks = 3;
        g.strandsPerLock = 10;
        g.clump = 0.45;
        g.lengthJitter = 0.25;
        g.wander = 0.8;
        g.width = 1.0;
        g.massInset = 0.12;
        g.clumpShade = 1.0;
        g.seed = v.seed * 31 + k;
        drawSweep(p, g, c);
        // Light caught where the group stands up off the parting and turns over.
        Polyline ridge = sampleSpline(between(guides[0], guides[1], rng.range(0.55, 0.8)), 24);
        ridge = Polyline(ridge.begin() + 3, ridge.begin() + 16);
        fillRibbon(p, ridge, rng.range(1.5, 2.5), 0.8,
                   withAlpha(c.sheen, static_cast<int>(strength * rng.range(50, 110))), 0.4, 0.5);
    }
    // The dome's light is broken into groups: dark clefts running down from the crown through
    // the sheen band, and lit patches of differing strength between them.
    const double ringR = 0.66 * (96 + v.volume);
    const QPointF ringC(kMidX, 162);
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    paintSoft(p, size, 2, 1.0, [&](QPainter& q) {
        for (double a = -1.35 + rng.range(0, 0.15); a < 1.35; a += rng.range(0.13, 0.3)) {
            const double r0 = ringR * rng.range(0.55, 0.72), r1 = ringR * rng.range(0.88, 1.05);
            const double bend = rng.symmetric(0.06);
            Polyline cleft;
            for (int i = 0; i <= 6; ++i) {
                const double r = r0 + (r1 - r0) * i / 6, ang = a + bend * i / 6;
                cleft.push_back(ringC + QPointF(-std::sin(ang), -std::cos(ang)) * r);
            }
            if (rng.uniform() < 0.6)
                fillRibbon(q, cleft, rng.range(1.5, 3.5), rng.range(1.0, 2.5),
                           withAlpha(deep, static_cast<int>(strength * rng.range(110, 190))), 0.3, 0.3);
            else
                fillRibbon(q, cleft, rng.range(3, 6), rng.range(2, 4),
                           withAlpha(c.sheen, static_cast<int>(strength * rng.range(30, 90))), 0.35, 0.35);
        }
    });
    p.restore();
    // Stray hairs off the crown: they leave the outline and lean away over the backdrop. Spread
    // evenly and ending well clear of the outline, so no two close off a pocket of backdrop
    // (which the finish would fill as a gap in the hair).
    const int strays = strength < 1 ? 8 : 12;  // fewer over smooth lengths
    const bool liftedBob = v.lift > 0 && v.tousled;
    for (int k = 0; k < strays; ++k) {
        const double a = -1.2 + 2.4 * (k + 0.5) / strays + rng.symmetric(liftedBob ? 0.05 : 0.02);
        // They lie back along the head, away from the top, at a shallow angle to the outline.
        double turn = std::copysign(rng.range(0.05, 0.12), a), out = strength * rng.range(0.1, 0.17);
        const double back = rng.range(0.0, 0.15);
        CrownShape from = s;
        if (liftedBob) {
            // A lifted bob: from the raised outline, longer and lower, so they lie along the head
            // instead of standing up off it like bristles.
            turn *= 1.8;
            out *= 0.8;
            const bool left = a > 0;
            const double part = left ? v.part : 2 * kMidX - v.part;
            const double a0 = partingAngle(s, part);
            from = raised(
                s, crownRaise(v, part) * smoothstep(0.0, 2.0, 5 * (std::abs(a) - a0) / (kPi / 2 - a0)));
        }
        Polyline pts;
        for (int i = 0; i <= 14; ++i) {
            const double u = i / 14.0,
                         rise = u < 0.6 ? std::sin(kPi / 2 * u / 0.6) : 1.0 - back * (u - 0.6) / 0.4;
            pts.push_back(onDome(a + turn * u, rest - 0.01 + out * rise, from));
        }
        const QColor col = mix(c.base, c.light, rng.range(0.2, 0.9));
        fillRibbon(p, pts, rng.range(0.6, 0.9), 0.3,
                   withAlpha(col, static_cast<int>(strength * rng.range(110, 190))), 0.05, 0.3);
    }
}

void drawSpikyCrown(QPainter& p, const HairVariant& v, const HairPalette& c) {
    const CrownShape s = crownShape(v);
    auto dome = [&](double grow, double bottom) {
        QPainterPath e;
        e.addEllipse(kCentre, s.rx + grow, s.ry + grow);
        QPainterPath above;
        above.addRect(QRectF(0, 0, 2 * kMidX, bottom));
        return e.intersected(above);
    };
    ClumpField f;
    // Roots over the top down to the temples, inside the outline so each piece grows out of the hair.
    f.roots = dome(4, 136);
    f.reach = dome(24, 160);
    // Up on top; lower down the pieces turn to lie down the sides, so the spikes run into the
    // falling lengths without a line between them.
    f.flow = [](QPointF q) {
        const QPointF up = q - QPointF(kMidX, 320), down(q.x() < kMidX ? -0.5 : 0.5, 1.0);
        const double t = smoothstep(80.0, 130.0, q.y());
        return up / std::hypot(up.x(), up.y()) * (1 - t) + down * t;
    };
    f.source = QPointF(kMidX, 190);  // the pieces nearer the face lie over those behind
    f.light.centre = kCentre;
    f.light.radius = s.rx + 10;
    f.light.band = 0.72 * s.ry;
    f.length = 30;
    f.width = 10;
    f.spacing = 10;
    f.jitter = 0.35;
    f.bend = 3;
    f.gloss = 0.3;
    f.rootTaper = 0.1;
    f.tipTaper = 0.85;
    f.seed = v.seed + 515;
    drawClumps(p, f, c);
}

namespace {

// Breaks the cut line of the hair in columns [x0, x1): its lowest opaque pixel between yMin and
// yMax. `scale` sizes the gaps and pieces (the fringe's are smaller).
void breakCut(QPainter& p, const HairPalette& c, Rng& rng, int x0, int x1, int yMin, int yMax, double scale) {
    const QImage& img = *static_cast<const QImage*>(p.device());
    const QColor deep = mix(c.dark, QColor(0, 0, 0), 0.3);
    std::vector<QPointF> cut;
    for (int x = x0; x < x1; x += 2)
        for (int y = yMax; y > yMin; --y)
            if (qAlpha(img.pixel(x, y)) > 140) {
                cut.emplace_back(x, y);
                break;
            }
    if (cut.size() < 6) return;
    // Gaps between pieces: narrow wedges cut up from the line, soft at their top.
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_DestinationOut);
    paintSoft(p, img.size(), 1, 1.0, [&](QPainter& q) {
        for (size_t i = 2 + static_cast<size_t>(rng.uniform() * 3); i + 2 < cut.size();
             i += 3 + static_cast<size_t>(rng.uniform() * 5)) {
            const QPointF at = cut[i] + QPointF(0, 2);
            const double depth = scale * rng.range(6, 16), lean = rng.symmetric(2.5);
            const Polyline wedge{at, at + QPointF(lean * 0.5, -depth * 0.5), at + QPointF(lean, -depth)};
            fillRibbon(q, wedge, rng.range(1.6, 3.2), 0.3,
                       QColor(0, 0, 0, static_cast<int>(rng.range(150, 235))), 0.0, 0.1);
        }
    });
    p.restore();
    // Pieces that run on past the line and turn a little in or out, thinning to the tip.
    for (size_t i = static_cast<size_t>(rng.uniform() * 4); i < cut.size();
         i += 4 + static_cast<size_t>(rng.uniform() * 6)) {
        const QPointF at = cut[i];
        const double len = scale * rng.range(4, 11), turn = scale * rng.symmetric(5.0),
                     w = rng.range(2.5, 5.0);
        for (int k = 0; k < 6; ++k) {
            const double o = rng.symmetric(w / 2);
            const Polyline pts{at + QPointF(o, -18 * scale), at + QPointF(o + 0.2 * turn, -6 * scale),
                               at + QPointF(o * 0.6 + turn, len * rng.range(0.6, 1.0))};
            const QColor col = k == 0 ? withAlpha(deep, 120) : strandColour(rng, c);
            fillRibbon(p, sampleSpline(pts, 12), rng.range(0.7, 1.2), 0.15, col, 0.2, 0.3);
        }
    }
}

}  // namespace

void breakEnds(QPainter& p, const HairVariant& v, const HairPalette& c) {
    Rng rng(v.seed + 421);
    // Columns of the side hair, from the outline in to the edge of the face.
    breakCut(p, c, rng, 20, 125, 200, kCanvasH - 1, 1.0);
    breakCut(p, c, rng, 255, 360, 200, kCanvasH - 1, 1.0);
}

void breakFringe(QPainter& p, const HairVariant& v, const HairPalette& c) {
    Rng rng(v.seed + 422);
    // Only in front of the forehead: beside it the fringe lies over the portrait's own hair.
    breakCut(p, c, rng, 142, 238, 110, 205, 0.8);
}

}  // namespace installdata
