#include "TexturedCrown.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "Geometry.h"
#include "HairFinish.h"
#include "LooseHairParts.h"

// A textured cut's crown: a bed of broad locks from the parting, and over it locks of their own
// widths, lengths and slants, gathered from narrower locks and fine strands, lit on their curves.
namespace installdata {

using namespace face;

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

}  // namespace

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

}  // namespace installdata
