#include <algorithm>
#include <cmath>

#include "Geometry.h"
#include "HairFinish.h"
#include "HairGuides.h"
#include "LooseHairParts.h"
#include "TexturedCrown.h"
#include "TousledHair.h"

// The layered cuts: shorter layers over the lengths ending in separate pieces, the top cut into
// pieces (a textured cut's into broad locks, TexturedCrown.cpp), and the sideburns in the hair's own
// tone.
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
