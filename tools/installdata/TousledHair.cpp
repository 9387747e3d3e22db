#include "TousledHair.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "Geometry.h"
#include "HairFinish.h"
#include "MensClumps.h"
#include "StrandField.h"

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
    // They run with the strands under them: straight down from the crown they would cross a
    // fringe or a top combed to the side in dark rungs.
    std::optional<StrandField> field;
    if (const auto* layer = dynamic_cast<const QImage*>(p.device()); layer && p.transform().isIdentity())
        field.emplace(*layer);
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
            if (field) cleft = field->streak(cleft[3], cleft[6] - cleft[0], r1 - r0, 6);
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

namespace {

// One piece of a punk crop: a clump of hair from its root on the scalp to a pointed tip.
struct SpikePiece {
    QPointF root, tip;
    double width, lit, key;
};

// The pieces over the top of the head, `a` the angle round the crown (0 on top, pi/2 at the left).
// Near the middle they are long and stand up, leaning in a little to a peak; toward the temples
// they shorten and lie down along the head. Spacing, length, width and lean all differ piece by
// piece, and some cross their neighbours.
std::vector<SpikePiece> spikePieces(const CrownShape& s, Rng& rng) {
    std::vector<SpikePiece> out;
    const HeadLight light{kCentre, s.rx + 10, 0.72 * s.ry};
    auto add = [&](double a, double f, double scale) {
        // None grow out of the forehead or the temples below the hairline.
        const QPointF at = onDome(a, f, s);
        if (at.y() > 132 - 0.25 * std::max(0.0, 100 - std::abs(at.x() - kMidX))) return;
        const double centre = std::exp(-(a / 0.55) * (a / 0.55));
        // How far the piece leans from upright: little on top, lying along the head at the sides.
        double lean = a * (0.35 + 1.1 * smoothstep(0.35, 1.3, std::abs(a)));
        lean += rng.uniform() < 0.22 ? rng.symmetric(0.6) : rng.symmetric(0.18);  // some cross
        const QPointF root = onDome(a, f, s), dir(-std::sin(lean), -std::cos(lean));
        double len = scale * (17 + 27 * centre) * rng.range(0.6, 1.35);
        if (rng.uniform() < 0.15) len *= 0.55;  // a short piece among the long ones
        // Tips stay on the canvas, short of its top by differing amounts.
        const double room = (root.y() - rng.range(2, 12)) / std::max(0.2, -dir.y());
        if (dir.y() < 0) len = std::min(len, room);
        const double w =
            (rng.uniform() < 0.2 ? rng.range(13, 19) : rng.range(7, 13)) * (0.75 + 0.35 * centre);
        const QPointF tip = root + dir * std::max(6.0, len);
        const QPointF d = root - QPointF(kMidX, 200);
        out.push_back({root, tip, w, light.lit(lerp(root, tip, 0.5)), std::hypot(d.x(), d.y())});
    };
    // Round the outline: uneven steps, closer together over the middle, where the hair is densest.
    for (double a = -1.45 + rng.range(0, 0.05); a < 1.45;) {
        add(a, rng.range(0.84, 0.95), 1.0);
        add(a + rng.symmetric(0.03), rng.range(0.7, 0.84), 0.85);
        a += rng.range(0.035, 0.13) * (0.6 + 0.5 * smoothstep(0.0, 1.0, std::abs(a)));
    }
    // Inside it, over the top of the head: shorter pieces whose tips lie over the roots of others.
    for (int k = 0; k < 260; ++k) {
        const double a = rng.symmetric(1.35), f = rng.range(0.25, 0.86);
        add(a, f, 0.8);
    }
    return out;
}

// A piece: the shade it casts, a body dark at the root and lighter toward the tip, fine strands
// along it, a lit edge, and a tip that splits into two or three separate points.
void drawSpikePiece(QPainter& p, const SpikePiece& k, const HairPalette& c, Rng& rng) {
    const QPointF along = k.tip - k.root;
    const double len = std::max(1.0, std::hypot(along.x(), along.y()));
    const QPointF dir = along / len, across(-dir.y(), dir.x());
    const double bow = rng.symmetric(0.12 * len);
    auto bowed = [&](QPointF a, QPointF b, double bend) {
        return sampleSpline({a, lerp(a, b, 0.5) + across * bend, b}, 10);
    };
    const QColor shade = mix(c.dark, QColor(0, 0, 0), 0.5);
    const QPointF off(1.0, 1.8);
    fillRibbon(p, bowed(k.root + off, k.tip + off * 1.3, bow), k.width * 1.2, 0.8, withAlpha(shade, 150), 0.1,
               0.5);
    const double tone = std::clamp(0.15 + 0.7 * k.lit * rng.range(0.7, 1.2), 0.0, 1.0);
    fillRibbon(p, bowed(k.root, k.tip, bow), k.width, 0.35 * k.width,
               withAlpha(mix(c.dark, c.base, 0.45 + 0.55 * tone), 245), 0.05, 0.45);
    // The outer half lighter: the ends are drier and catch more light than the roots.
    const Polyline body = bowed(k.root, k.tip, bow);
    const Polyline outer(body.begin() + 4, body.end());
    fillRibbon(p, outer, k.width * 0.75, 0.25 * k.width,
               withAlpha(mix(c.base, c.light, 0.2 + 0.7 * tone), 170), 0.4, 0.5);
    for (int s = 0; s < 4; ++s) {
        const double o = rng.symmetric(k.width * 0.35);
        const QPointF a = k.root + across * o,
                      b = lerp(k.root, k.tip, rng.range(0.7, 0.95)) + across * (0.3 * o);
        const QColor col = rng.uniform() < 0.4 ? mix(c.dark, c.base, 0.3) : mix(c.base, c.light, tone);
        fillRibbon(p, bowed(a, b, bow), rng.range(0.5, 0.9), 0.2,
                   withAlpha(col, static_cast<int>(rng.range(110, 190))), 0.1, 0.4);
    }
    // The tip parts into points of differing length, a little apart.
    const int points = 2 + static_cast<int>(rng.range(0, 2));
    const QPointF from = lerp(k.root, k.tip, 0.6) + across * (0.5 * bow);
    for (int t = 0; t < points; ++t) {
        const double o = (t - 0.5 * (points - 1)) * k.width * 0.28 + rng.symmetric(1.0);
        const QPointF end = k.root + along * rng.range(0.82, 1.08) + across * (o * 1.4);
        fillRibbon(p, bowed(from + across * (0.5 * o), end, 0.3 * bow), k.width * 0.3, 0.3,
                   withAlpha(mix(c.base, c.light, 0.3 + 0.6 * tone), static_cast<int>(rng.range(150, 220))),
                   0.2, 0.6);
    }
    if (k.lit > 0.35) {  // the edge toward the light
        const double side = across.x() * -0.6 + across.y() * -0.8 > 0 ? 1.0 : -1.0;
        const QPointF a = lerp(k.root, k.tip, 0.3) + across * (side * k.width * 0.22),
                      b = lerp(k.root, k.tip, 0.75) + across * (side * k.width * 0.1);
        fillRibbon(p, bowed(a, b, 0.5 * bow), rng.range(0.8, 1.3), 0.4,
                   withAlpha(mix(c.light, c.sheen, 0.4), static_cast<int>(160 * k.lit)), 0.3, 0.4);
    }
}

// A crop's sides are close and clean: faint strands hanging off the solid hair below the crown
// (more than 3 px out from it) are taken away.
void trimSides(QPainter& p) {
    auto* layer = dynamic_cast<QImage*>(p.device());
    if (!layer) return;
    const int w = layer->width(), h = layer->height(), reach = 3;
    std::vector<int> near(static_cast<size_t>(w) * h, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (qAlpha(layer->pixel(x, y)) > 200)
                for (int dy = -reach; dy <= reach; ++dy)
                    for (int dx = -reach; dx <= reach; ++dx)
                        if (x + dx >= 0 && x + dx < w && y + dy >= 0 && y + dy < h)
                            near[static_cast<size_t>(y + dy) * w + x + dx] = 1;
    for (int y = 120; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(layer->scanLine(y));
        for (int x = 0; x < w; ++x)
            if (!near[static_cast<size_t>(y) * w + x]) row[x] = 0;
    }
}

}  // namespace

void drawSpikyCrown(QPainter& p, const HairVariant& v, const HairPalette& c) {
    const CrownShape s = crownShape(v);
    trimSides(p);
    Rng rng(v.seed + 515);
    std::vector<SpikePiece> pieces = spikePieces(s, rng);
    // Those further from the face first: the pieces in front lie over the ones behind.
    std::stable_sort(pieces.begin(), pieces.end(),
                     [](const SpikePiece& a, const SpikePiece& b) { return a.key > b.key; });
    for (const SpikePiece& k : pieces) drawSpikePiece(p, k, c, rng);
    // The roots lie deep in the crop: a soft shade over the middle of the top, off the tips.
    const QSize size(p.device()->width(), p.device()->height());
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    paintSoft(p, size, 6, 1.0, [&](QPainter& q) {
        softEllipse(q, onDome(0, 0.55, s), 0.55 * s.rx, 0.3 * s.ry,
                    withAlpha(mix(c.dark, QColor(0, 0, 0), 0.5), 90));
    });
    p.restore();
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

void softenCrown(QPainter& p) {
    const auto* layer = dynamic_cast<const QImage*>(p.device());
    if (!layer || !p.transform().isIdentity()) return;
    QImage blurred = layer->convertToFormat(QImage::Format_ARGB32_Premultiplied);
    blurLayer(blurred, 7);
    // Per pixel: the blurred colour, unpremultiplied, laid over at the strength m (SourceAtop keeps
    // the hair's own alpha), so the result is mix(hair, blurred, m) inside the outline.
    QImage over = newLayer(layer->width(), layer->height());
    for (int y = 0; y < over.height(); ++y) {
        const double m = 0.85 * (1.0 - smoothstep(160.0, 215.0, y));
        if (m <= 0) break;
        const auto* in = reinterpret_cast<const QRgb*>(blurred.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(over.scanLine(y));
        for (int x = 0; x < over.width(); ++x) {
            const int a = qAlpha(in[x]);
            if (a == 0) continue;
            const double k = m * 255.0 / a;
            out[x] = qRgba(static_cast<int>(std::lround(qRed(in[x]) * k)),
                           static_cast<int>(std::lround(qGreen(in[x]) * k)),
                           static_cast<int>(std::lround(qBlue(in[x]) * k)),
                           static_cast<int>(std::lround(255 * m)));
        }
    }
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    p.drawImage(0, 0, over);
    p.restore();
}

}  // namespace installdata
