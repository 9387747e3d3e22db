#include <algorithm>
#include <array>
#include <cmath>

#include "Geometry.h"
#include "HairFinish.h"
#include "HairGuides.h"
#include "LooseHairParts.h"
#include "TousledHair.h"

// The layered cuts: shorter layers over the lengths ending in separate pieces, the top cut into
// pieces (a textured cut's into broad locks), and the sideburns in the hair's own tone.
namespace installdata {

using namespace face;

namespace {

// Where the layers of a layered cut end on a side that ends at `tip`, longest first: the
// collarbone, the shoulder, the jaw and the cheekbone, those well above the tip.
std::vector<double> tierEnds(double tip) {
    std::vector<double> ends;
    for (double y : {392.0, 344.0, 294.0, 250.0, 228.0})
        if (y < tip - 0.15 * (tip - 212) - 6) ends.push_back(y);
    return ends;
}

// A layer of a layered cut across `guides`: few, tightly gathered locks whose fill stops short of
// the edges, so it ends in separate pieces.
Sweep layerSweep(const HairVariant& v, std::vector<Polyline> guides, int locks, uint64_t seed) {
    Sweep s;
    s.guides = std::move(guides);
    s.locks = locks;
    s.strandsPerLock = 16;
    s.clump = 0.9;
    s.lengthJitter = 0.1 + 0.3 * v.choppy;
    s.wander = 2.5;
    s.width = 1.15;
    s.massInset = 0.14;
    s.clumpShade = 1.0;
    s.flyaways = 2;
    s.sheenAt = 0.1;
    s.sheenLen = 0.18;
    s.seed = seed;
    return s;
}

// One layer of a layered cut (left-hand frame), ending at `end`: a sheet from the parting over the
// side that covers the band [a, b] across it, the face side 0. Its ends turn out and up a little
// off the lengths under them.
Sweep tierSweep(const HairVariant& v, double part, double end, bool tuck, double a, double b, double flick,
                uint64_t seed) {
    Side t = sideShape(v, part, end, tuck);
    t.inner.back() += QPointF(-0.7 * flick, -0.35 * flick);
    t.outer.back() += QPointF(-flick, -0.45 * flick);
    return layerSweep(v,
                      {between(t.inner, t.outer, a), between(t.inner, t.outer, 0.5 * (a + b)),
                       between(t.inner, t.outer, b)},
                      8, seed);
}

// The top layer of a layered cut (left-hand frame): pieces from the parting over the outer part
// of the crown that end around the temple, turned out past the outline.
Sweep crownTierSweep(const HairVariant& v, double part, bool tuck, uint64_t seed) {
    const double flick = 12;
    const Side t = sideShape(v, part, 252, tuck);
    Polyline inner = between(t.inner, t.outer, 0.45), outer = t.outer;
    inner.resize(6);  // the crown: from the parting to the temple
    outer.resize(6);
    inner.push_back(inner.back() + QPointF(-0.4 * flick, 18));
    outer.push_back(outer.back() + QPointF(-0.6 * flick, 24));
    return layerSweep(v, {inner, between(inner, outer, 0.5), outer}, 9, seed);
}

// The shade a layer's ends cast on the longer hair under them, just below its tips: the depth
// between the layers.
void shadeUnderTier(QPainter& p, const Sweep& s, const HairPalette& c) {
    const Guides g(s.guides);
    Polyline under;
    for (int i = 0; i <= 12; ++i) under.push_back(g.at(0.9, i / 12.0) + QPointF(0, 6));
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    paintSoft(p, QSize(kCanvasW, kCanvasH), 4, 1.0, [&](QPainter& q) {
        fillRibbon(q, under, 10, 10, withAlpha(mix(c.dark, c.base, 0.15), 150), 0.3, 0.3);
    });
    p.restore();
}

// The ends of a layer gathered into pieces: each a tapered clump along the sheet to a point, in a
// tone of its own, lit along its upper stretch, so the layer ends in distinct flicks rather than
// in strands that fade out.
void drawLayerEnds(QPainter& p, const Sweep& s, const HairPalette& c) {
    const Guides g(s.guides);
    Rng rng(s.seed + 5);
    const int pieces = s.locks + 1;
    for (int i = 0; i < pieces; ++i) {
        const double t = std::clamp((i + 0.5 + rng.symmetric(0.3)) / pieces, 0.04, 0.96);
        const double end = rng.range(0.9, 1.0), from = rng.range(0.5, 0.62);
        Polyline line;
        for (int k = 0; k <= 16; ++k) line.push_back(g.at(from + (end - from) * k / 16, t));
        const double w = rng.range(4.0, 7.0);
        const QColor body = mix(c.dark, c.light, rng.range(0.3, 0.75));
        fillRibbon(p, line, w, 0.4, withAlpha(body, static_cast<int>(rng.range(170, 225))), 0.3, 0.05);
        const Polyline lit(line.begin() + 2, line.begin() + 10);
        fillRibbon(p, lit, 0.35 * w, 0.2 * w, withAlpha(c.light, static_cast<int>(rng.range(50, 120))), 0.4,
                   0.4);
    }
}

// A layer with the shade it casts under its ends and its pieces over them.
void drawLayer(QPainter& p, const Sweep& s, const HairPalette& c) {
    shadeUnderTier(p, s, c);
    drawSweep(p, s, c);
    drawLayerEnds(p, s, c);
}

}  // namespace

// The layers of a layered cut over both sides, the longest first so the shorter lie on top: the
// outer ones step the silhouette out, the top layer breaks the crown's outline at the temples and
// the shortest, in front, frame the face.
void drawTiers(QPainter& p, const HairVariant& v, const HairPalette& c) {
    for (int side : {-1, 1}) {
        const bool left = side < 0, tuck = left && v.tuckLeft;
        const double part = left ? v.part : 2 * kMidX - v.part, tip = left ? v.tipLeft : v.tipRight;
        const std::vector<double> ends = tierEnds(tip);
        auto place = [&](Sweep s) { return left ? s : mirroredSweep(s); };
        // A textured cut's short side ends in the top layer's pieces, turned out over the ear.
        if (ends.empty() && v.textured)
            drawLayer(p, place(crownTierSweep(v, part, tuck, v.seed * 7 + 20 + (left ? 0 : 1))), c);
        for (size_t k = 0; k < ends.size(); ++k) {
            const bool shortest = k + 1 == ends.size();
            if (shortest)
                drawLayer(p, place(crownTierSweep(v, part, tuck, v.seed * 7 + 20 + (left ? 0 : 1))), c);
            const double a = shortest ? 0.0 : 0.3, b = shortest ? 0.55 : 1.0;
            const double flick = std::min(22.0, 6 + 0.14 * (tip - ends[k]));
            drawLayer(
                p, place(tierSweep(v, part, ends[k], tuck, a, b, flick, v.seed * 7 + k * 2 + (left ? 0 : 1))),
                c);
        }
    }
}

// Short tapered pieces across a sheet (`g`, canvas frame) at staggered points from `from0` to
// `from1` along it, each a tone of its own that drifts a little across the combed direction, with a
// dark gap along one edge: the hair there reads as cut into pieces, not as one even fan of lines.
void drawPiecesOver(QPainter& p, const Guides& g, const HairPalette& c, Rng& rng, int pieces, double from0,
                    double from1, double drift) {
    for (int i = 0; i < pieces; ++i) {
        const double t = (i + 0.5 + rng.symmetric(0.45)) / pieces;
        const double from = rng.range(from0, from1), len = rng.range(0.16, 0.34), turn = rng.symmetric(drift);
        Polyline line, gap;
        for (int k = 0; k <= 12; ++k) {
            const double u = std::min(0.98, from + len * k / 12), across = t + turn * k * k / 144.0;
            line.push_back(g.at(u, across));
            gap.push_back(g.at(u, across + 0.035));
        }
        const double w = rng.range(5.0, 9.0);
        fillRibbon(p, gap, 0.4 * w, 0.5, withAlpha(mix(c.dark, QColor(0, 0, 0), 0.3), 170), 0.2, 0.1);
        const QColor body = mix(c.dark, c.light, rng.range(0.25, 0.85));
        fillRibbon(p, line, w, 0.5, withAlpha(body, static_cast<int>(rng.range(170, 235))), 0.2, 0.1);
        const Polyline lit(line.begin() + 1, line.begin() + 7);
        fillRibbon(p, lit, 0.3 * w, 0.15 * w, withAlpha(c.light, static_cast<int>(rng.range(60, 130))), 0.4,
                   0.4);
    }
}

// Broad locks across a sheet (`g`, canvas frame) for a textured cut: fewer and wider than a layered
// cut's pieces and of differing width, each bowed a little across the combed direction, with soft
// shade along the edge where it parts from its neighbour and light on the curve turned up to it. A
// few fine hairs run along each, so it stays hair rather than a brush stroke.
void drawLocksOver(QPainter& p, const Guides& g, const HairPalette& c, Rng& rng, int locks, double from0,
                   double from1) {
    const QColor deep = mix(c.dark, QColor(0, 0, 0), 0.3);
    const QColor lit = c.pale ? mix(c.base, c.light, 0.75) : mix(c.light, c.sheen, 0.3);
    for (int i = 0; i < locks; ++i) {
        const double t = (i + 0.5 + rng.symmetric(0.4)) / locks;
        const double from = rng.range(from0, from1), len = rng.range(0.3, 0.55), turn = rng.symmetric(0.14);
        const double w = rng.range(7.0, 16.0);
        Polyline line;
        for (int k = 0; k <= 14; ++k)
            line.push_back(g.at(std::min(0.98, from + len * k / 14), t + turn * k * k / 196.0));
        // Offset across the lock by `o` of its width: negative toward the light (up and left).
        auto across = [&](double o) {
            Polyline out(line.size());
            for (size_t k = 0; k < line.size(); ++k) {
                QPointF n = normalAt(line, k);
                if (n.x() * 0.6 + n.y() * 0.8 > 0) n = -n;  // toward the light
                out[k] = line[k] - n * (o * w * (1.0 - 0.6 * k / (line.size() - 1)));
            }
            return out;
        };
        // The shade runs the lock's whole length, faint at both ends, so it reads as the fold
        // between two locks rather than a smudge.
        paintSoft(p, QSize(kCanvasW, kCanvasH), 4, 1.0, [&](QPainter& q) {
            fillRibbon(q, across(0.45), 0.4 * w, 0.2 * w,
                       withAlpha(deep, static_cast<int>(rng.range(80, 120))), 0.45, 0.45);
        });
        const QColor body = mix(c.dark, c.light, rng.range(0.3, 0.7));
        fillRibbon(p, line, w, 0.25 * w, withAlpha(body, static_cast<int>(rng.range(200, 240))), 0.15, 0.2);
        for (int s = 0; s < 5; ++s) {
            const Polyline hair = across(rng.symmetric(0.35));
            fillRibbon(p, Polyline(hair.begin(), hair.end() - static_cast<int>(rng.range(0, 5))),
                       rng.range(0.6, 1.0), 0.3, strandColour(rng, c), 0.05, 0.2);
        }
        paintSoft(p, QSize(kCanvasW, kCanvasH), 2, 1.0, [&](QPainter& q) {
            const Polyline curve = across(-0.22);
            fillRibbon(q, Polyline(curve.begin() + 1, curve.begin() + 10), 0.35 * w, 0.15 * w,
                       withAlpha(lit, static_cast<int>(rng.range(110, 180))), 0.4, 0.4);
        });
    }
}

namespace {

const QColor kScalp(204, 164, 142);  // the skin of the scalp, seen down a parting

// One lock of a textured crown on its sheet: across the sheet from `t0` (its lower edge, toward
// the face) to `t1` (its upper edge, toward the outline) where it is broadest, from the parting to
// `end` along it, its tip bowed `bow` across the sheet toward the face. `slant` turns it across
// the sheet over its length (0.3 is some 10 degrees), so it crosses its neighbours rather than
// running beside them; `root` is its width at the parting against its broadest, where the locks
// gather. `tone` places its own colour between the hair's dark and light and drifts `drift` up
// and down along it from `phase`; `light` is how strongly its curve is lit. It is gathered from two
// or three narrower locks, parting at `cuts` across it, and `grain` seeds the strands it is made of.
struct CrownLock {
    double t0, t1, end, bow, tone, light;
    double slant = 0, root = 1, drift = 0, phase = 0;
    std::array<double, 2> cuts{-1, -1};    // where across it the narrower locks part; -1 for none
    std::array<double, 3> shift{0, 0, 0};  // each narrower lock's tone off the broad lock's
    uint64_t grain = 0;
};

// The point `f` across the lock (0 its lower edge, 1 its upper) at `u` along the sheet, the lock
// widened by `spread`: it fans out from its root at the parting over its first third, keeps its
// width over the head and narrows to a point over its last half.
QPointF lockPoint(const Guides& g, const CrownLock& k, double u, double f, double spread = 1.0) {
    const double s = u / k.end;
    const double fan = k.root + (1.0 - k.root) * smoothstep(0.0, 0.35, s);
    const double half = 0.5 * (k.t1 - k.t0) * spread * fan * (1.0 - 0.94 * smoothstep(0.45, 1.0, s));
    return g.at(u, 0.5 * (k.t0 + k.t1) + k.slant * (s - 0.4) + k.bow * s * s + (2 * f - 1) * half);
}

// The strands a lock is gathered from, as a tone across it (-1 dark .. 1 light) sampled `count`
// times: bunches a few strands wide in tones of their own, single strands finer than those, each
// strand a smooth rise and fall across some two pixels so that, crossing the pixel grid at a slant,
// it does not flicker along its length. The tone holds along the whole lock, so the strands run
// unbroken from root to tip.
std::vector<double> lockGrain(uint64_t seed, int count, double perStrand) {
    Rng rng(seed);
    const int strands = std::max(2, static_cast<int>(count / perStrand) + 2);
    std::vector<double> tone(static_cast<size_t>(strands));
    double bunch = rng.symmetric(1.0);
    for (int i = 0; i < strands; ++i) {
        if (i % 3 == 0) bunch = std::clamp(0.35 * bunch + rng.symmetric(1.0), -1.0, 1.0);
        tone[static_cast<size_t>(i)] = 0.65 * bunch + 0.35 * rng.symmetric(1.0);
    }
    std::vector<double> out(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const double x = (i + 0.5) / perStrand;
        const int a = static_cast<int>(x);
        const double w = smoothstep(0.0, 1.0, x - a);
        out[static_cast<size_t>(i)] =
            (1 - w) * tone[static_cast<size_t>(a)] + w * tone[static_cast<size_t>(a + 1)];
    }
    return out;
}

// The lock's colour `f` across it at `s` of its length, where it runs `steep` (0 across the head,
// 1 straight down), its strands there of tone `strand`: light on the broad lock's curve, highest
// just above its middle and fading toward the tip, falling smoothly to shade at both its edges.
// Between the narrower locks it is gathered from, a parting darkens toward the tips, where they
// separate. Where it runs down the side, turned away from the light, a groove of deep shade along
// its lower edge parts it from its neighbour, deepening toward the tip; across the top a hard line
// there reads as a combed stripe.
QColor lockColour(const CrownLock& k, const HairPalette& c, const QColor& lit, double f, double s,
                  double steep, double strand) {
    const QColor deep = mix(c.dark, QColor(0, 0, 0), 0.35);
    const double curve = std::pow(std::sin(kPi * std::pow(f, 1.6)), 2);
    const double along = smoothstep(0.0, 0.02, s) * (1.0 - 0.6 * smoothstep(0.5, 1.0, s));
    const double side = smoothstep(0.25, 0.75, steep);
    const double groove = (1.0 - smoothstep(0.0, 0.16, f)) * side * (0.25 + 0.45 * smoothstep(0.2, 0.8, s));
    double parting = 0, shift = k.shift[0];
    for (size_t i = 0; i < k.cuts.size(); ++i) {
        if (k.cuts[i] < 0) continue;
        parting = std::max(parting, 1.0 - smoothstep(0.0, 0.07, std::abs(f - k.cuts[i])));
        if (f > k.cuts[i]) shift = k.shift[i + 1];
    }
    parting *= 0.12 + 0.4 * smoothstep(0.45, 0.95, s);
    const double drift = k.drift * std::sin(k.phase + 2.5 * s);
    QColor out = mix(c.dark, c.light, std::clamp(k.tone + drift + shift + 0.16 * strand, 0.0, 1.0));
    out = mix(out, deep, std::min(1.0, (0.15 + 0.2 * side) * (1.0 - curve) + groove + parting));
    return mix(out, lit, k.light * curve * along * (0.5 + 0.3 * side) * (1.0 + 0.35 * strand));
}

// A lock filled cell by cell over its length and width, each cell a touch larger than its share
// so no seam shows between them; fine enough across to carry its strands.
void fillLock(QPainter& p, const Guides& g, const CrownLock& k, const HairPalette& c, const QColor& lit) {
    constexpr int kAlong = 30;
    const double wide =
        std::hypot(lockPoint(g, k, 0.3 * k.end, 1.0).x() - lockPoint(g, k, 0.3 * k.end, 0.0).x(),
                   lockPoint(g, k, 0.3 * k.end, 1.0).y() - lockPoint(g, k, 0.3 * k.end, 0.0).y());
    const int across = std::clamp(static_cast<int>(wide / 0.5), 8, 64);
    const std::vector<double> grain = lockGrain(k.grain, across, across * 2.0 / std::max(2.0, wide));
    p.setPen(Qt::NoPen);
    for (int j = 0; j < kAlong; ++j) {
        const double u0 = k.end * std::max(0.0, j - 0.2) / kAlong, u1 = k.end * (j + 1.2) / kAlong;
        const QPointF run = lockPoint(g, k, u1, 0.5) - lockPoint(g, k, u0, 0.5);
        const double steep = std::abs(run.y()) / std::max(1e-6, std::hypot(run.x(), run.y()));
        for (int i = 0; i < across; ++i) {
            const double f0 = std::max(0.0, i - 0.3) / across, f1 = std::min(1.0, (i + 1.3) / across);
            const QPointF cell[] = {lockPoint(g, k, u0, f0), lockPoint(g, k, u1, f0), lockPoint(g, k, u1, f1),
                                    lockPoint(g, k, u0, f1)};
            QColor colour = lockColour(k, c, lit, (i + 0.5) / across, (j + 0.5) / kAlong, steep,
                                       grain[static_cast<size_t>(i)]);
            colour.setAlphaF(1.0 - 0.85 * smoothstep(0.7, 1.0, (j + 0.5) / kAlong));  // no blunt end
            p.setBrush(colour);
            p.drawPolygon(cell, 4);
        }
    }
}

// The lock's own strands from the parting toward its tip: faint, fine and running nearly its whole
// length, in the lock's darker and lighter tones, so its fill reads as hair and not as a ribbon.
void drawLockStrands(QPainter& p, const Guides& g, const CrownLock& k, const HairPalette& c, Rng& rng) {
    for (int h = 0; h < 14; ++h) {
        const double f = rng.range(0.08, 0.92), to = k.end * rng.range(0.8, 0.98);
        Polyline line;
        for (int j = 0; j <= 32; ++j) line.push_back(lockPoint(g, k, to * j / 32, f));
        const QColor tone = mix(c.dark, c.light, rng.range(0.0, 0.9));
        fillRibbon(p, line, rng.range(0.5, 0.8), 0.3, withAlpha(tone, static_cast<int>(rng.range(30, 60))),
                   0.02, 0.3);
    }
}

// Fine hairs along a lock where it runs down the side, following its curve and its taper: lit ones
// over its upper half, darker ones below, faint enough that the lock stays one piece. Across the
// top of the head they would comb the lock back into stripes.
void drawLockHairs(QPainter& p, const Guides& g, const CrownLock& k, const HairPalette& c, const QColor& lit,
                   Rng& rng) {
    for (int h = 0; h < 5; ++h) {
        const double f = rng.range(0.15, 0.92), to = k.end * rng.range(0.7, 0.96);
        Polyline line;
        for (int j = 0; j <= 32; ++j) line.push_back(lockPoint(g, k, to * j / 32, f));
        size_t first = 1;  // where the lock turns down: its run there is more down than across
        while (first < line.size()) {
            const QPointF run = line[first] - line[first - 1];
            if (std::abs(run.y()) > std::abs(run.x())) break;
            ++first;
        }
        const QColor tone = f > 0.55 ? mix(c.light, lit, 0.5) : mix(c.dark, QColor(0, 0, 0), 0.2);
        const int alpha = static_cast<int>(rng.range(40, 75));
        const double width = rng.range(0.6, 0.9);
        if (line.size() - first < 4) continue;
        fillRibbon(p, Polyline(line.begin() + static_cast<long>(first) - 1, line.end()), width, 0.3,
                   withAlpha(tone, alpha), 0.15, 0.3);
    }
}

// Gives the lock its narrower locks, parting at two or three places across it in slightly
// differing tones, and the seed of its strands.
void gatherLock(Rng& rng, CrownLock& k) {
    const int m = 2 + static_cast<int>(rng.uniform() * 2);
    for (int j = 1; j < m; ++j) k.cuts[static_cast<size_t>(j - 1)] = (j + rng.symmetric(0.2)) / m;
    for (double& d : k.shift) d = rng.symmetric(0.07);
    k.grain = rng.next();
}

// The bed of the crown: `n` broad locks side by side from the sheet's face side to its outline,
// sharing their edges so no sliver of the layer under shows, full length, each drifting in tone
// along its length.
std::vector<CrownLock> lockBed(Rng& rng, int n) {
    std::vector<double> edges{-0.05};
    for (int i = 1; i < n; ++i) edges.push_back((i + rng.symmetric(0.3)) / n);
    edges.push_back(1.05);
    std::vector<CrownLock> row;
    for (int i = 0; i < n; ++i) {
        CrownLock k{edges[i] - 0.01,        edges[i + 1] + 0.01, rng.range(0.88, 1.0),
                    -rng.range(0.02, 0.16), rng.range(0.3, 0.6), rng.range(0.35, 0.6)};
        k.drift = rng.range(0.05, 0.12);
        k.phase = rng.range(0.0, 2 * kPi);
        gatherLock(rng, k);
        row.push_back(k);
    }
    return row;
}

// `n` locks over the bed, each placed, sized and turned on its own: of varied width and length,
// crossing the sheet at a few degrees to some fifteen either way, gathered at the parting and
// fanning out as they fall, in an order of their own so they overlap at random rather than in
// rows whose edges line up around the head.
std::vector<CrownLock> scatteredLocks(Rng& rng, int n) {
    std::vector<CrownLock> out;
    for (int i = 0; i < n; ++i) {
        const double mid = (i + 0.5 + rng.symmetric(0.5)) / n, half = 0.5 * rng.range(0.14, 0.34);
        CrownLock k{
            mid - half,         mid + half, rng.range(0.6, 1.0), -rng.range(0.0, 0.14), rng.range(0.25, 0.62),
            rng.range(0.3, 0.6)};
        k.slant = rng.symmetric(0.35);
        k.root = rng.range(0.6, 0.85);
        k.drift = rng.range(0.04, 0.1);
        k.phase = rng.range(0.0, 2 * kPi);
        gatherLock(rng, k);
        out.push_back(k);
    }
    for (size_t i = out.size(); i > 1; --i)  // shuffled, so neighbours lie over each other at random
        std::swap(out[i - 1], out[static_cast<size_t>(rng.uniform() * i)]);
    return out;
}

// The shade a group of locks casts on the hair under them, from halfway along each, where it
// starts to narrow, a little past its tip.
void shadeUnderLocks(QPainter& q, const Guides& g, const std::vector<CrownLock>& locks, const QColor& deep) {
    paintSoft(q, QSize(kCanvasW, kCanvasH), 2, 1.0, [&](QPainter& s) {
        for (const CrownLock& k : locks) {
            Polyline edge;
            auto at = [&](int j, double f) {
                const double u = k.end * (0.5 + 0.55 * j / 24);
                return lockPoint(g, k, u, f, 1.0 + 0.3 * j / 24);
            };
            for (int j = 0; j <= 24; ++j) edge.push_back(at(j, 0.0));
            for (int j = 24; j >= 0; --j) edge.push_back(at(j, 1.0));
            s.setPen(Qt::NoPen);
            s.setBrush(withAlpha(deep, 150));
            s.drawPath(pathThrough(edge, true));
        }
    });
}

// A textured cut's crown over the sheet `g` (canvas frame) from the parting to below the temple:
// a bed of broad locks, and over it `n` locks in three depths, each depth shading the hair under
// its tips. Each lock is lit on its curve and shaded into the groove along its lower edge.
void drawCrownLocks(QPainter& p, const Guides& g, const HairPalette& c, Rng& rng, int n) {
    const QColor lit = mix(c.pale ? mix(c.base, c.light, 0.75) : mix(c.light, c.sheen, 0.3), c.sheen, 0.4);
    const QColor deep = mix(c.dark, QColor(0, 0, 0), 0.4);
    const std::vector<CrownLock> bed = lockBed(rng, 4), over = scatteredLocks(rng, n);
    std::vector<std::vector<CrownLock>> depths{bed, {}, {}, {}};
    for (size_t i = 0; i < over.size(); ++i) depths[1 + i * 3 / over.size()].push_back(over[i]);
    QImage layer = newLayer(kCanvasW, kCanvasH);
    QPainter q;
    beginPainter(q, layer);
    for (const std::vector<CrownLock>& locks : depths) {
        shadeUnderLocks(q, g, locks, deep);
        for (const CrownLock& k : locks) {
            fillLock(q, g, k, c, lit);
            drawLockStrands(q, g, k, c, rng);
            drawLockHairs(q, g, k, c, lit, rng);
        }
    }
    // The parting: a hairline of scalp where the roots of the two sides meet, drawn by each side at
    // half strength so the two make one line.
    Polyline parting;
    for (int i = 0; i <= 24; ++i) parting.push_back(g.at(0.0, i / 24.0));
    fillRibbon(q, parting, 0.9, 0.9, withAlpha(mix(deep, kScalp, 0.45), 110), 0.05, 0.2);
    q.end();
    p.drawImage(0, 0, layer);
}

}  // namespace

// The top of a layered cut is cut into pieces too, from the parting to just below the temples; a
// textured cut's top falls in tapered locks instead and its lengths in broad ones.
void drawTopPieces(QPainter& p, const HairVariant& v, const HairPalette& c) {
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    if (v.textured) softenCrown(p);
    for (int side : {-1, 1}) {
        const bool left = side < 0;
        const Side sh = sideShape(v, left ? v.part : 2 * kMidX - v.part, 292, left && v.tuckLeft);
        std::vector<Polyline> crown{Polyline(sh.inner.begin(), sh.inner.begin() + 7),
                                    Polyline(sh.outer.begin(), sh.outer.begin() + 7)};
        if (!left)
            for (Polyline& l : crown) l = mirrored(l, kMidX);
        Rng rng(v.seed * 13 + (left ? 3 : 4));
        if (!v.textured) {
            drawPiecesOver(p, Guides(crown), c, rng, 22, 0.04, 0.55, 0.12);
            continue;
        }
        drawCrownLocks(p, Guides(crown), c, rng, 10);
        const double tip = left ? v.tipLeft : v.tipRight;
        if (tip < 260) continue;
        const Side full = sideShape(v, left ? v.part : 2 * kMidX - v.part, tip, left && v.tuckLeft);
        std::vector<Polyline> lengths{full.inner, full.outer};
        if (!left)
            for (Polyline& l : lengths) l = mirrored(l, kMidX);
        drawLocksOver(p, Guides(lengths), c, rng, 7, 0.35, 0.5);
    }
    p.restore();
}

// The cap runs down past the sideburns in the hair's darkest tone; between a layered cut's short
// face-framing pieces it would show as a black patch beside the eyes: there it takes the hair's
// own middle tone.
void lightSideburns(QPainter& p, const HairPalette& c) {
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    paintSoft(p, QSize(kCanvasW, kCanvasH), 6, 1.0, [&](QPainter& q) {
        for (int side : {-1, 1})
            softEllipse(q, QPointF(kMidX + side * 78, 206), 14, 26,
                        withAlpha(mix(c.dark, c.base, 0.85), 230));
    });
    p.restore();
}

}  // namespace installdata
