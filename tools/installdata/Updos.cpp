#include <algorithm>
#include <cmath>

#include "Geometry.h"
#include "HairDrawing.h"
#include "HairFinish.h"
#include "UpdoArt.h"

// Updos and gathered pieces: hair drawn smoothly back from the hairline to buns, ponytails and
// plaits. Everything is solid: the cap under the swept hair, the swept sheets filled up to the
// pieces they gather into.
namespace installdata {

Polyline lineAcross(const std::vector<Polyline>& lines, double f, bool mirror) {
    const double x = std::clamp(f, 0.0, 1.0) * (lines.size() - 1);
    const size_t k = std::min(lines.size() - 2, static_cast<size_t>(x));
    Polyline out(lines[k].size());
    for (size_t i = 0; i < out.size(); ++i) out[i] = lerp(lines[k][i], lines[k + 1][i], x - k);
    return mirror ? mirrored(out, face::kMidX) : out;
}

namespace {

using namespace face;

// The skull the swept hair lies over; width: puffed out at the sides. A pouf keeps close to the
// skull at the sides and rises over the crown instead; a bouffant closest of all.
double sweepRx(const HairVariant& v) {
    return v.pouf > 0 ? (bouffant(v) ? kBouffantSide : 96) : 93 + 0.5 * v.volume + v.width;
}
double sweepRy(const HairVariant& v) { return v.pouf > 0 ? 100 : 96 + v.volume; }

// q pushed out onto the outline if it lies inside it.
QPointF ontoOutline(const HairVariant& v, QPointF q) {
    if (v.pouf <= 0) return ontoSkull(q, sweepRx(v), sweepRy(v));
    const QPointF d = q - QPointF(kMidX, 160);
    const QPointF o = outlinePoint(v, std::atan2(-d.x(), -d.y()), 0) - QPointF(kMidX, 160);
    return std::hypot(d.x(), d.y()) >= std::hypot(o.x(), o.y()) ? q : QPointF(kMidX, 160) + o;
}

// A bun's half width and half height at its size (px).
double bunRx(const Attachment& a) { return 34 * a.size; }
double bunRy(const Attachment& a) { return 26 * a.size; }

// The bun set on top of the crown, its lower rim within a few px of the smoothed hair's top, or
// null. The hair swept up into it shows between the crown and the rim; a bun sunk deeper into the
// outline hides where the hair meets it.
const Attachment* topKnot(const HairVariant& v) {
    const Attachment& a = v.pieces[0];
    if (a.kind != Piece::Bun || v.pouf > 0 || std::abs(a.x - kMidX) > 8) return nullptr;
    return a.y + bunRy(a) <= 164 - sweepRy(v) ? &a : nullptr;
}

// The left half of an updo in the left-hand frame: from the hairline over the skull to `target`.
Sweep updoSweep(const HairVariant& v, QPointF target, uint64_t seed) {
    QPointF top(target.x() + 4 * (target.x() <= kMidX ? -1 : 1), target.y() + 10);
    // Over a pouf the hair runs up and back over its top into the tie behind it.
    if (v.pouf > 0) top.setY(std::min(top.y(), 168 - sweepRy(v) - v.pouf));
    // Into a top knot the hair rises into the bun's base along its lower rim, the front locks
    // under its middle and those from the sides under its flanks, ending a little inside the rim.
    const Attachment* knot = topKnot(v);
    const double across[] = {0.08, 0.26, 0.42, 0.56, 0.68};
    const QPointF roots[] = {{v.part, 114}, {160, 117}, {136, 127}, {122, 152}, {117, 212}};
    const double a0 = std::asin(std::clamp((kMidX - v.part) / sweepRx(v), -1.0, 1.0));
    const double angles[] = {a0, 0.55, 0.95, 1.3, 1.62};
    Sweep s;
    // Hair pulled back is not pressed flat: it rises off the temples before it runs back. Under a
    // bouffant it is smoothed close over the temples and ears, the volume all above.
    const double lift[] = {0, 2, 6, bouffant(v) ? 0.0 : 5.0, bouffant(v) ? 0.0 : 1.0};
    for (int k = 0; k < 5; ++k) {
        // Over the skull's outline, then on to the gathering point around it.
        const QPointF over = v.pouf > 0
                                 ? outlinePoint(v, angles[k], lift[k])
                                 : skullPoint(angles[k], sweepRx(v) + lift[k], sweepRy(v) + 0.4 * lift[k]);
        const QPointF end = knot
                                ? QPointF(knot->x - bunRx(*knot) * across[k],
                                          knot->y + 0.8 * bunRy(*knot) * std::sqrt(1 - across[k] * across[k]))
                                : top;
        const QPointF mid = ontoOutline(v, lerp(over, end, 0.5));
        s.guides.push_back({roots[k], over, mid, end});
    }
    // Many fine locks: the strand groups drawn over them give the coarse structure.
    s.locks = 44;
    s.strandsPerLock = 8;
    s.clump = 0.2;
    s.wander = 0.9;
    s.massInset = 0.0;
    s.flyaways = 0;    // sleek
    s.sheenLen = 0.0;  // the crown's sheen is laid over the strand groups instead
    s.seed = seed;
    return s;
}

// A stretch of a line sampled evenly along it, u0..u1 of its length.
Polyline stretch(const Polyline& l, double u0, double u1) {
    const int n = static_cast<int>(l.size());
    const int a = std::clamp(static_cast<int>(u0 * (n - 1)), 0, n - 2);
    const int b = std::clamp(static_cast<int>(std::ceil(u1 * (n - 1))), a + 1, n - 1);
    return Polyline(l.begin() + a, l.begin() + b + 1);
}

// Distance between two lines sampled alike, at u of their length.
double gap(const Polyline& a, const Polyline& b, double u) {
    const size_t i = std::min(a.size() - 1, static_cast<size_t>(u * (a.size() - 1)));
    const QPointF d = a[i] - b[i];
    return std::hypot(d.x(), d.y());
}

// Hair pulled back lies in strand groups of unequal width converging on the gather point: each
// with its own tone, shallow or deep partings between them, some lying raised over the next with
// a soft shadow under their edge, and a broad sheen across the crown that the groups break up.
// Guides in the left-hand frame, f 0 first guide .. 1 last. `teased`: backcombed volume, in more
// groups, its sheen broken more unevenly and fine arcs crossing the pull.
void drawCombedGroups(QPainter& p, const std::vector<Polyline>& guides, bool mirror, const HairPalette& c,
                      double volume, bool teased, uint64_t seed) {
    std::vector<Polyline> lines;
    for (const Polyline& g : guides) lines.push_back(sampleSpline(g, 48));
    auto across = [&](double f) { return lineAcross(lines, f, mirror); };
    Rng rng(seed);
    // A full dome is backcombed and smoothed over: more groups, so its sheen breaks up.
    const bool dome = volume >= 18;
    const int groups = 5 + static_cast<int>(rng.range(0, 4)) + (dome ? 4 : 0) + (teased ? 3 : 0);
    std::vector<double> share;
    double total = 0;
    for (int g = 0; g < groups; ++g) total += share.emplace_back(std::pow(rng.range(0.3, 1.0), 1.7));
    std::vector<double> edges{0.0};
    for (int g = 0; g < groups; ++g) edges.push_back(edges.back() + share[g] / total);
    struct Group {
        Polyline lo, mid, hi;
        double tone, contrast, w0, w1;
        bool raised;
    };
    std::vector<Group> gs;
    for (int g = 0; g < groups; ++g) {
        Group G{across(edges[g]),
                across(edges[g] + (edges[g + 1] - edges[g]) * rng.range(0.3, 0.6)),
                across(edges[g + 1]),
                rng.range(0.0, 1.0),
                std::pow(rng.range(0.25, 1.0), 1.3),
                0,
                0,
                g > 0 && g + 1 < groups && rng.uniform() < 0.4};
        if (g == 0) G.contrast *= 0.3;  // meets the other half's first group at the middle
        G.w0 = gap(G.lo, G.hi, 0.15);
        G.w1 = gap(G.lo, G.hi, 0.85);
        gs.push_back(G);
    }
    const QSize size(kCanvasW, kCanvasH);
    const QColor deep = mix(c.dark, QColor(0, 0, 0), 0.5), lit = mix(c.light, c.sheen, 0.3);
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);  // only over the hair beneath
    // Each group its own tone: some a shade darker, some catching more light.
    paintSoft(p, size, 3, 0.7, [&](QPainter& q) {
        q.setPen(Qt::NoPen);
        for (const Group& G : gs) {
            Polyline ring = G.lo;
            ring.insert(ring.end(), G.hi.rbegin(), G.hi.rend());
            q.setBrush(withAlpha(G.tone < 0.5 ? deep : lit,
                                 static_cast<int>(270 * G.contrast * std::abs(G.tone - 0.5))));
            q.drawPath(pathThrough(ring, true));
        }
    });
    // The raised groups' soft shadow on the neighbour they lie over, then each lighter group's
    // lit ridge.
    paintSoft(p, size, 3, 0.6, [&](QPainter& q) {
        for (const Group& G : gs)
            if (G.raised) {
                Polyline under = G.hi;
                for (QPointF& pt : under) pt += QPointF(mirror ? -1.5 : 1.5, 2.0);
                fillRibbon(q, stretch(under, rng.range(0.0, 0.15), rng.range(0.75, 0.95)), 5, 2.5,
                           withAlpha(deep, 200), 0.2, 0.35);
            }
    });
    paintSoft(p, size, 4, 0.45, [&](QPainter& q) {
        for (const Group& G : gs)
            if (G.tone > 0.4)
                fillRibbon(q, stretch(G.mid, rng.range(0.0, 0.12), rng.range(0.6, 0.9)), 0.45 * G.w0,
                           0.3 * G.w1, withAlpha(lit, static_cast<int>(60 + 120 * G.contrast)), 0.25, 0.5);
    });
    // Partings of unequal depth and length, a few faint ones inside the broad groups.
    paintSoft(p, size, 1, 0.75, [&](QPainter& q) {
        for (int g = 1; g < groups; ++g) {
            const double depth = std::pow(rng.range(0.15, 1.0), 1.3);
            fillRibbon(q, stretch(gs[g].lo, rng.range(0.0, 0.25), rng.range(0.6, 1.0)), 1.0 + 3.0 * depth,
                       0.5 + 0.8 * depth, withAlpha(deep, static_cast<int>(40 + 170 * depth)), 0.25, 0.35);
        }
        for (const Group& G : gs)
            if (G.w0 > 16) {
                Polyline inner(G.lo.size());
                const double t = rng.range(0.3, 0.7);
                for (size_t i = 0; i < inner.size(); ++i) inner[i] = lerp(G.lo[i], G.hi[i], t);
                fillRibbon(q, stretch(inner, rng.range(0.1, 0.4), rng.range(0.55, 0.85)), 1.0, 0.6,
                           withAlpha(deep, static_cast<int>(rng.range(50, 110))), 0.3, 0.4);
            }
    });
    // The broad sheen over the front of the crown (the outline is a third of the way along): one
    // band across the strands, stepping a little and changing strength from group to group.
    paintSoft(p, size, 6, 0.6, [&](QPainter& q) {
        for (const Group& G : gs) {
            const double step = teased ? 0.13 : dome ? 0.06 : 0.012;
            const size_t i =
                static_cast<size_t>((0.25 + (teased ? 0.05 : 0.0) + rng.symmetric(step)) * (G.lo.size() - 1));
            if (dome && G.tone < (teased ? 0.45 : 0.3))
                continue;  // a group lying lower stays out of the light
            Polyline band;
            for (int k = 0; k <= 5; ++k) band.push_back(lerp(G.lo[i], G.hi[i], k / 5.0));
            fillRibbon(q, band, rng.range(12, 17), rng.range(12, 17),
                       withAlpha(mix(c.light, c.sheen, 0.6),
                                 static_cast<int>(255 * (teased ? 0.8 : 1.0) * rng.range(0.55, 1.0))));
        }
    });
    // Raised groups catch a thin line of light along the edge that lies over the next.
    paintSoft(p, size, 1, 0.6, [&](QPainter& q) {
        for (const Group& G : gs)
            if (G.raised) {
                Polyline rim(G.hi.size());
                for (size_t i = 0; i < rim.size(); ++i) rim[i] = lerp(G.hi[i], G.lo[i], 0.12);
                fillRibbon(q, stretch(rim, 0.05, rng.range(0.6, 0.85)), 1.4, 0.8, withAlpha(lit, 170), 0.3,
                           0.4);
            }
    });
    p.restore();
    if (teased) drawTeasing(p, across, c, seed + 1);
}

// A few loose hairs escaping the pull: at the temple in front of the ear and at the nape.
void drawLooseWisps(QPainter& p, bool mirror, const HairPalette& c, uint64_t seed) {
    Rng rng(seed);
    const struct {
        QPointF root, bend, end;
        int count;
    } wisps[] = {{{117, 156}, {110, 186}, {114, 222}, 4}, {{104, 240}, {97, 256}, {99, 274}, 2}};
    for (const auto& w : wisps)
        for (int k = 0; k < w.count; ++k) {
            const QPointF o(rng.symmetric(3), rng.symmetric(4));
            Polyline pts = sampleSpline({w.root + o, w.bend + o + QPointF(rng.symmetric(4), 0),
                                         w.end + QPointF(rng.symmetric(6), rng.symmetric(10))},
                                        16);
            if (mirror) pts = mirrored(pts, kMidX);
            fillRibbon(p, pts, rng.range(0.5, 0.9), 0.15, withAlpha(strandColour(rng, c), 140), 0.0, 0.1);
        }
}

// Flyaways lifting off the dome, over its outline, and fine baby hairs curling out of the hairline,
// so the silhouette is not a smooth shell. Left-hand frame.
void drawFlyaways(QPainter& p, const std::vector<Polyline>& guides, const HairVariant& v, bool mirror,
                  const HairPalette& c, uint64_t seed) {
    Rng rng(seed);
    auto edge = [&](double a, double out) { return outlinePoint(v, a, out); };  // `out` px off the outline
    auto put = [&](Polyline pts, double w, int alpha, const QColor& col) {
        if (mirror) pts = mirrored(pts, kMidX);
        fillRibbon(p, pts, w, 0.2, withAlpha(col, alpha), 0.05, 0.3);
    };
    for (int k = 0, n = 12 + static_cast<int>(rng.range(0, 6)); k < n; ++k) {
        // Along the pull toward the top, lifting a few px off the hair, the end free (a hair that
        // landed again would wall in a gap).
        const double a = rng.range(0.1, 1.5), da = rng.range(0.12, 0.45), out = rng.range(1.5, 9.0);
        const Polyline ctl{edge(a, -7), edge(a - 0.45 * da, 0.5 * out), edge(a - da, out)};
        put(sampleSpline(ctl, 16), rng.range(0.5, 0.8), static_cast<int>(rng.range(110, 200)),
            mix(strandColour(rng, c), c.light, 0.3));
    }
    // A few tufts of several hairs that have sprung loose from the pull.
    for (int k = 0, n = 2 + static_cast<int>(rng.range(0, 3)); k < n; ++k) {
        const double a = rng.range(0.2, 1.4), da = rng.range(0.2, 0.4), out = rng.range(5.0, 11.0);
        const QColor col = mix(strandColour(rng, c), c.light, 0.35);
        for (int h = 0; h < 4; ++h) {
            const double spread = rng.symmetric(2.5), lift = out * rng.range(0.7, 1.1);
            const Polyline ctl{edge(a + rng.symmetric(0.02), -6), edge(a - 0.5 * da, 0.55 * lift + spread),
                               edge(a - da * rng.range(0.85, 1.1), lift)};
            put(sampleSpline(ctl, 16), rng.range(0.55, 0.8), static_cast<int>(rng.range(120, 200)), col);
        }
    }
    // Short strands lying a little loose along the outline: a soft, uneven edge.
    for (int k = 0; k < 50; ++k) {
        const double a = rng.range(0.05, 1.55), da = rng.range(0.06, 0.18), out = rng.range(0.8, 4.0);
        const Polyline ctl{edge(a, -3), edge(a - 0.5 * da, 0.6 * out), edge(a - da, out)};
        put(sampleSpline(ctl, 10), rng.range(0.5, 0.8), static_cast<int>(rng.range(90, 180)),
            strandColour(rng, c));
    }
    Polyline roots;
    for (const Polyline& g : guides) roots.push_back(g.front());
    const Polyline hairline = sampleSpline(roots, 40);
    for (int k = 0, n = 8 + static_cast<int>(rng.range(0, 5)); k < n; ++k) {
        const QPointF r = hairline[static_cast<size_t>(rng.range(4, 39))] + QPointF(0.5, -1.5);
        // Down and out of the hairline, curling a little.
        const double ang = std::atan2(1.0, -0.55) + rng.symmetric(0.5), len = rng.range(4, 10);
        const double curl = rng.symmetric(0.6);
        Polyline pts{r};
        for (int i = 1; i <= 5; ++i)
            pts.push_back(pts.back() +
                          QPointF(std::cos(ang + curl * i), std::sin(ang + curl * i)) * (len / 5));
        put(pts, rng.range(0.4, 0.6), static_cast<int>(rng.range(90, 170)),
            mix(c.dark, c.base, rng.range(0.3, 1.0)));
    }
}

bool crownBraid(const Attachment& a) { return a.kind == Piece::Braid && std::abs(a.endX - a.x) > 100; }

// Where one half of the hair is gathered: its own piece, else the first, else the crown.
QPointF gatherPoint(const HairVariant& v, int half) {
    for (int i : {half, 0})
        if (v.pieces[i].kind != Piece::None && !crownBraid(v.pieces[i]))
            return {v.pieces[i].x, v.pieces[i].y};
    return {kMidX, 62 - v.volume};
}

// Solid hair under a top knot's base, between its lower rim and the cap: the two swept halves
// meet there, and without it the seam between them lets the backdrop through.
void fillKnotBase(QPainter& p, const Attachment& a, const HairPalette& c) {
    const double rx = 0.7 * bunRx(a), ry = 0.7 * bunRy(a), cy = a.y + 0.55 * bunRy(a);
    Polyline ring;
    for (int k = 0; k < 48; ++k) {
        const double t = 2 * kPi * k / 48;
        ring.push_back({a.x + rx * std::cos(t), cy + ry * std::sin(t)});
    }
    fillHairBase(p, c, ring, QPointF(a.x - 0.3 * rx, cy - ry), 2 * ry);
}

// The shade a top knot casts where it sits: a soft dark band on the swept hair just under its
// rim, deepest below its middle, so it sits down on the crown rather than floating over it.
void shadeUnderKnot(QPainter& p, const Attachment& a, const HairPalette& c) {
    const double rx = bunRx(a), ry = bunRy(a);
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);  // only over the hair beneath
    paintSoft(p, QSize(kCanvasW, kCanvasH), 3, 0.75, [&](QPainter& q) {
        q.setPen(Qt::NoPen);
        q.setBrush(mix(c.dark, QColor(0, 0, 0), 0.6));
        q.drawEllipse(QPointF(a.x + 0.08 * rx, a.y + 0.72 * ry), 1.02 * rx, 0.5 * ry);
    });
    p.restore();
}

void drawPiece(QPainter& p, const HairVariant& v, const Attachment& a, uint64_t seed) {
    const HairPalette& c = hairPalette(v.palette);
    switch (a.kind) {
        case Piece::None:
            return;
        case Piece::Bun:
            if (bouffant(v)) {
                drawBouffantBun(p, v, QPointF(a.x, a.y), bunRx(a), bunRy(a), c, seed);
                return;
            }
            if (&a == topKnot(v)) shadeUnderKnot(p, a, c);
            drawCoiledBun(p, QPointF(a.x, a.y), bunRx(a), bunRy(a), c, seed);
            return;
        case Piece::Tail:
            drawTail(p, v, a, c, seed);
            return;
        case Piece::Braid: {
            const QPointF s(a.x, a.y), e(a.endX, a.endY);
            const double w = 20 * a.size;
            if (crownBraid(a)) {  // over the head, temple to temple
                const Polyline arc{s,
                                   {s.x() - 8, 140},
                                   {130, 72 - v.volume},
                                   {kMidX, 56 - v.volume},
                                   {250, 72 - v.volume},
                                   {e.x() + 8, 140},
                                   e};
                drawCrownPlait(p, arc, w, c, seed);
                return;
            }
            const double out = s.x() < kMidX ? -5 : 5;
            const Polyline path =
                drapedFront({s, lerp(s, e, 0.35) + QPointF(out, 0), lerp(s, e, 0.7) + QPointF(out, 0), e});
            Polyline edge = sampleSpline(path, 60);
            for (QPointF& q : edge) q.rx() += 0.5 * w;
            castOnNeck(p, edge, w);
            drawBraid(p, path, w, w * 0.55, c, seed);
            return;
        }
    }
}

// High ponytails hang behind the head: drawn first, hidden behind the face and body.
bool pieceBehind(const Attachment& a) { return a.kind == Piece::Tail && a.y < 120; }

}  // namespace

// A point of the swept hair's outline `out` px off it: `angle` 0 on top, pi/2 at the left side.
// Smoothed hair lies on the squarish skull; a pouf is round, lifted most over the crown and
// narrowing to the temples.
QPointF outlinePoint(const HairVariant& v, double angle, double out) {
    const double rx = sweepRx(v) + out, ry = sweepRy(v) + out;
    if (v.pouf <= 0) return skullPoint(angle, rx, ry);
    if (bouffant(v)) return bouffantPoint(angle, rx, ry, v.pouf, v.width);
    const double s = std::sin(angle), c = std::cos(angle);
    const double lift = v.pouf * std::pow(std::max(0.0, c), 1.6);
    // Fullest a little above the temples, as backcombed hair stands; close to the head at them.
    const double shoulder = 0.2 * v.pouf * std::pow(std::abs(std::sin(2 * angle)), 1.5);
    const double full = smoothstep(0.0, 0.8, c);
    return {kMidX - (rx + (v.width + 0.25 * lift + shoulder) * full) * s, 160 - (ry + lift) * c};
}

void drawUpdo(QPainter& p, const HairVariant& v) {
    const HairPalette& c = hairPalette(v.palette);
    if (v.pouf > 0) {
        drawCap(p, c, 62, bouffant(v) ? -2 : 0.5 * v.width, v.seed);  // the hairline and the sides
        fillPouf(p, v, c);
    } else {
        drawCap(p, c, 66 - v.volume, 0.5 * v.volume + v.width, v.seed);
        if (const Attachment* knot = topKnot(v)) fillKnotBase(p, *knot, c);
    }
    std::vector<Sweep> halves;
    for (int half : {0, 1}) {
        QPointF target = gatherPoint(v, half);
        if (half == 1) target.setX(2 * kMidX - target.x());  // into the left-hand frame
        halves.push_back(updoSweep(v, target, v.seed + 5 + half));
        drawSweep(p, half == 0 ? halves.back() : mirroredSweep(halves.back()), c);
    }
    // The fine strands pulled taut blur into one surface; the strand groups over it are what
    // the eye reads.
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    p.fillRect(QRect(0, 0, kCanvasW, kCanvasH), withAlpha(mix(c.dark, c.base, 0.65), 105));
    p.restore();
    if (bouffant(v)) drawBouffantTop(p, halves[0].guides, v, c, v.seed + 60);
    for (int half : {0, 1}) {
        const Sweep& s = halves[half];
        if (!bouffant(v))
            drawCombedGroups(p, s.guides, half == 1, c, v.volume, v.pouf > 0, v.seed + 60 + half);
        drawLooseWisps(p, half == 1, c, v.seed + 70 + half);
        drawFlyaways(p, s.guides, v, half == 1, c, v.seed + 80 + half);
    }
    openTheHairline(p, c, v.seed + 90);
    drawHairlineWisps(p, c, v.part, v.seed + 50);
}

void drawPieces(QPainter& p, const HairVariant& v) {
    if (v.fingerWaves) drawFingerWaves(p, v);
    for (int i = 0; i < 2; ++i)
        if (!pieceBehind(v.pieces[i])) drawPiece(p, v, v.pieces[i], v.seed + 9 + i);
    if (v.pouf > 0 && v.bangs == Bangs::Full) softenFringe(p, v, hairPalette(v.palette));
}

void drawPiecesBehind(QPainter& p, const HairVariant& v) {
    if (!pieceBehind(v.pieces[0]) && !pieceBehind(v.pieces[1])) return;
    QImage behind = newLayer(kCanvasW, kCanvasH);
    {
        QPainter q;
        beginPainter(q, behind);
        for (int i = 0; i < 2; ++i)
            if (pieceBehind(v.pieces[i])) drawPiece(q, v, v.pieces[i], v.seed + 9 + i);
    }
    hideBehindBody(behind, true);
    p.drawImage(0, 0, behind);
}

}  // namespace installdata
