#include <algorithm>
#include <cmath>

#include "Geometry.h"
#include "HairDrawing.h"
#include "HairFinish.h"
#include "HairGuides.h"
#include "ShortCurls.h"
#include "TousledHair.h"

// Loose hair: a sheet each side from the parting over the skull and down past the face, split at
// the shoulders into lengths that fall in front and lengths that go behind, over a darker layer
// of hair behind the neck; and the fringes.
namespace installdata {

namespace {

using namespace face;

// The hairline from the right temple over the top to the left one, densely sampled: the sheets
// root along it, a little inside the portrait's own hairline.
const Polyline& hairline() {
    static const Polyline line = [] {
        const Polyline left{{190, 119}, {162, 122}, {140, 129}, {127, 144},
                            {121, 168}, {118, 194}, {117, 212}};
        Polyline all(left.rbegin(), left.rend() - 1);
        all = mirrored(all, kMidX);
        all.insert(all.end(), left.begin(), left.end());
        return sampleSpline(all, 200);
    }();
    return line;
}

// x of the inner edge of side hair at height y: along the cheek, then down past the jaw.
double innerEdgeX(double y) { return y < 300 ? 118.0 + (y - 210.0) * 0.07 : 124.3 + (y - 300.0) * 0.06; }

struct Side {
    Polyline inner, outer;  // control points, the same count, matching heights below the temple
};

// The left side of the hair for a parting at `part`, ending at `tip` (left-hand frame).
Side sideShape(const HairVariant& v, double part, double tip, bool tuck) {
    // Rising away from the parting, so the two sides meet there without a step.
    const double raise = crownRaise(v, part);
    const CrownShape crown = crownShape(v);
    const Polyline& h = hairline();
    size_t start = h.size() / 2;  // the hairline point over the parting, on the top of the head
    for (size_t i = 0; i < h.size(); ++i)
        if (h[i].y() < 135 && std::abs(h[i].x() - part) < std::abs(h[start].x() - part)) start = i;
    Side s;
    for (int k = 0; k < 6; ++k) s.inner.push_back(h[start + (h.size() - 1 - start) * k / 5]);
    s.inner[0] = QPointF(part, 116);
    if (tuck) s.inner[5] = QPointF(105, 206);  // over the ear and behind it
    const double a0 = partingAngle(crown, part);
    Rng rng(v.seed + (part == v.part ? 17 : 18));
    for (int k = 0; k < 6; ++k) {
        // A tousled or blow-dried crown is not a smooth shell: the outline rises and falls a little.
        const bool uneven = (v.tousled || v.lift > 0) && k > 0;
        const double up = raise * smoothstep(0.0, 2.0, k) + (uneven ? rng.range(-2.0, 2.0) : 0.0);
        const CrownShape r = raised(crown, up);
        s.outer.push_back(skullPoint(a0 + (kPi / 2 - a0) * k / 5, r.rx, r.ry, v.domePower));
    }
    const int steps = std::max(1, static_cast<int>(std::lround((tip - 212) / 40)));
    for (int k = 1; k <= steps; ++k) {
        const double y = 212 + (tip - 212) * k / steps, f = static_cast<double>(k) / steps;
        const double bulge = v.width * std::exp(-std::pow((y - 250) / 70, 2));
        double in = tuck ? 96 - (y - 212) * 0.02 : innerEdgeX(y);
        if (v.spread < 0) in -= v.spread * 0.5 * f * f;  // turned under toward the neck
        // Lifted roots stand off the head at the temples; below the ear the lengths fall closer.
        const double fall = 1.3 * v.lift * smoothstep(205.0, 300.0, y);
        const double out = std::min(kMidX - crown.rx - bulge - v.spread * std::pow(f, 1.5) + fall, in - 16);
        s.inner.push_back({in, y});
        s.outer.push_back({out, y});
    }
    return s;
}

Polyline between(const Polyline& a, const Polyline& b, double t) {
    Polyline out(a.size());
    for (size_t i = 0; i < a.size(); ++i) out[i] = lerp(a[i], b[i], t);
    return out;
}

Sweep sideSweep(const HairVariant& v, std::vector<Polyline> guides, double tip, double share, uint64_t seed) {
    Sweep s;
    s.guides = std::move(guides);
    s.locks = std::max(6, static_cast<int>((22 + (tip - 250) / 20) * share));
    s.strandsPerLock = 13;
    s.lengthJitter = v.choppy;
    s.clump = 0.35 + v.choppy * 1.5;
    if (v.choppy >= 0.15) {  // choppy cuts end in a few broad pieces rather than many needles
        s.locks = std::max(5, s.locks * 3 / 5);
        s.strandsPerLock = 20;
        s.width = 1.25;
    }
    if (v.curl.amp < 3 && v.choppy < 0.15) {  // straight hair lies in broader clumps
        s.locks = std::max(6, s.locks * 2 / 3);
        s.strandsPerLock = 19;
        s.clump = 0.5 + v.choppy * 1.5;
    }
    if (v.tousled) {  // uneven ends: pieces part, thin out and turn a little in or out
        s.lengthJitter = v.choppy + 0.1;
        s.clump += 0.2;
        s.wander = 3.5;
    }
    s.layer = v.layers;
    // Spikes already break a punk crop's outline: long strays hanging off its sides only look lost.
    s.flyaways = v.spiky ? 1 : (v.curl.amp < 3 ? 5 : 2) + static_cast<int>((v.volume - v.lift) / 5);
    s.clumpShade = v.curl.amp < 3 ? 1.0 : 0.0;
    applyCurl(s, v.curl, tip - 70);
    s.sheenAt = 0.1;
    s.sheenLen = 0.18;
    s.seed = seed;
    return s;
}

// Lifted hair spans a wide wedge over the crown, where the side sheet's strands fan out thinly:
// a layer of shorter hair under it fills the dome and ends above the ear.
Sweep domeSweep(const Side& sh, uint64_t seed) {
    Sweep s;
    s.guides = {Polyline(sh.inner.begin(), sh.inner.begin() + 7),
                Polyline(sh.outer.begin(), sh.outer.begin() + 7)};
    s.locks = 10;
    s.strandsPerLock = 12;
    s.lengthJitter = 0.3;
    s.clump = 0.5;
    s.mass = false;
    s.clumpShade = 1.0;
    s.sheenAt = 0.1;
    s.sheenLen = 0.18;
    s.seed = seed;
    return s;
}

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
// Over the `crown`, whose strands softenCrown has melted, the locks carry the texture alone: they
// are narrower and closer, shaded deeper where they part and lit broader toward the sheen, and
// have no fine hairs (over the blur those comb it back into lines). Left flat, the blur there took
// the crown's sheen as square patches of light.
void drawLocksOver(QPainter& p, const Guides& g, const HairPalette& c, Rng& rng, int locks, double from0,
                   double from1, bool crown = false) {
    const QColor deep = mix(c.dark, QColor(0, 0, 0), 0.3);
    const QColor plainLit = c.pale ? mix(c.base, c.light, 0.75) : mix(c.light, c.sheen, 0.3);
    const QColor lit = crown ? mix(plainLit, c.sheen, 0.5) : plainLit;
    const double shadeAlpha = crown ? 2.2 : 1.0, shadeWidth = crown ? 0.5 : 0.4;
    const double litAlpha = crown ? 1.4 : 1.0, litWidth = crown ? 0.42 : 0.35;
    const int fineHairs = crown ? 0 : 5, litEnd = crown ? 12 : 10;
    for (int i = 0; i < locks; ++i) {
        const double t = (i + 0.5 + rng.symmetric(0.4)) / locks;
        const double from = rng.range(from0, from1), len = rng.range(0.3, 0.55), turn = rng.symmetric(0.14);
        const double w = rng.range(7.0, 16.0) * (crown ? 0.7 : 1.0);
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
            const double a = std::min(255.0, shadeAlpha * rng.range(80, 120));
            fillRibbon(q, across(0.45), shadeWidth * w, 0.2 * w, withAlpha(deep, static_cast<int>(a)), 0.45,
                       0.45);
        });
        const QColor body = mix(c.dark, c.light, rng.range(0.3, 0.7));
        fillRibbon(p, line, w, 0.25 * w, withAlpha(body, static_cast<int>(rng.range(200, 240))), 0.15, 0.2);
        for (int s = 0; s < fineHairs; ++s) {
            const Polyline hair = across(rng.symmetric(0.35));
            fillRibbon(p, Polyline(hair.begin(), hair.end() - static_cast<int>(rng.range(0, 5))),
                       rng.range(0.6, 1.0), 0.3, strandColour(rng, c), 0.05, 0.2);
        }
        paintSoft(p, QSize(kCanvasW, kCanvasH), 2, 1.0, [&](QPainter& q) {
            const Polyline curve = across(-0.22);
            const double a = std::min(255.0, litAlpha * rng.range(110, 180));
            fillRibbon(q, Polyline(curve.begin() + 1, curve.begin() + litEnd), litWidth * w, 0.15 * w,
                       withAlpha(lit, static_cast<int>(a)), 0.4, 0.4);
        });
    }
}

// The top of a layered cut is cut into pieces too, from the parting to just below the temples; a
// textured cut's top and lengths fall in broad locks instead.
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
        // Locks rooted at the parting, so no bare blur is left beside it, then shorter layers.
        drawLocksOver(p, Guides(crown), c, rng, 14, 0.0, 0.06, true);
        drawLocksOver(p, Guides(crown), c, rng, 20, 0.1, 0.45, true);
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

// The hair at the back of the head, seen beside the neck: darker, under everything else.
void drawUnderLayer(QPainter& p, const HairVariant& v, double tip) {
    const HairPalette& c = hairPalette(v.palette);
    // A layered cut thins out at the back: more light reaches the hair there.
    const double deep = v.layered ? 0.0 : 0.3, lit = v.layered ? 0.25 : 0.0;
    const HairPalette dim{mix(c.dark, QColor(0, 0, 0), deep), mix(c.dark, c.base, 0.3 + lit),
                          mix(c.dark, c.base, 0.8 + lit), mix(c.base, c.light, 0.5)};
    QImage under = newLayer(kCanvasW, kCanvasH);
    {
        QPainter q;
        beginPainter(q, under);
        Sweep s;
        s.guides = {{{114, 190}, {112, 260}, {118, tip}},
                    {{kMidX, 200}, {kMidX, tip}},
                    {{266, 190}, {268, 260}, {262, tip}}};
        s.locks = 24;
        s.strandsPerLock = 8;
        s.lengthJitter = 0.1;
        applyCurl(s, v.curl, tip - 70);
        s.seed = v.seed + 40;
        drawSweep(q, s, dim);
    }
    hideBehindBody(under, true);
    p.drawImage(0, 0, under);
}

double shareInFront(Drape d) { return d == Drape::Behind ? 0.0 : d == Drape::Front ? 1.0 : 0.62; }

// The palette of loose hair: black gets cool blue-grey lights instead of a flat warm grey.
HairPalette downPalette(const HairVariant& v) {
    HairPalette c = hairPalette(v.palette);
    if (v.palette == 0 && v.curl.amp < 3) {
        c.light = mix(c.light, QColor(60, 64, 74), 0.5);
        c.sheen = QColor(122, 130, 148);
    }
    return c;
}

// The parting: a thin line of scalp between the two sheets, the roots beside it in shade.
void drawParting(QPainter& p, const HairVariant& v, const HairPalette& c) {
    const double top = 84 - 1.3 * v.volume;
    // A tousled parting wanders a little where the hair either side crosses it.
    const Polyline line = v.tousled || v.lift > 0
                              ? sampleSpline({{v.part, 119},
                                              {v.part + 2.4, 104},
                                              {v.part - 1.8, 0.5 * (104 + top)},
                                              {v.part + 1.5, top}},
                                             32)
                              : sampleSpline({{v.part, 119}, {v.part + 0.6, 104}, {v.part + 1.5, top}}, 24);
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    paintSoft(p, QSize(kCanvasW, kCanvasH), 1, 1.0, [&](QPainter& q) {
        fillRibbon(q, line, 4.5, 1.5, withAlpha(mix(c.dark, QColor(0, 0, 0), 0.4), 60), 0.0, 0.3);
        fillRibbon(q, line, 1.7, 0.5, QColor(222, 180, 158, 235), 0.0, 0.5);
    });
    p.restore();
}

// Where the head turns away from the light the hair is in shade: the sides below the crown, more
// on the right, and deepest behind the ears where it passes round them. The shade is the hair's
// own darkest tone, so fair hair goes a deeper warm tone in it instead of grey.
void shadeSides(QPainter& p, const HairPalette& c) {
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    paintSoft(p, QSize(kCanvasW, kCanvasH), 8, 1.0, [&](QPainter& q) {
        const QColor shade = mix(c.dark, QColor(0, 0, 0), 0.45);
        for (int side : {-1, 1}) {
            const double k = side < 0 ? 1.0 : 1.25;
            softEllipse(q, QPointF(kMidX + side * 98, 210), 26, 90,
                        withAlpha(shade, static_cast<int>(110 * k)));
            softEllipse(q, QPointF(kMidX + side * 76, 238), 12, 30,
                        withAlpha(shade, static_cast<int>(120 * k)));
        }
    });
    p.restore();
}

// The variant drawn with its lift: the crown and the temples stand further off the head.
HairVariant lifted(const HairVariant& v) {
    HairVariant w = v;
    w.volume = v.liftedVolume();
    return w;
}

}  // namespace

void drawDown(QPainter& p, QPainter& behind, const HairVariant& variant) {
    const HairVariant v = lifted(variant);
    if (v.shortCurls) {
        std::vector<std::vector<Polyline>> sides;
        for (int side : {-1, 1}) {
            const bool left = side < 0;
            const Side sh = sideShape(v, left ? v.part : 2 * kMidX - v.part, left ? v.tipLeft : v.tipRight,
                                      left && v.tuckLeft);
            sides.push_back({sh.inner, sh.outer});
            if (!left)
                for (Polyline& g : sides.back()) g = mirrored(g, kMidX);
        }
        drawShortCurls(p, behind, v, sides);
        return;
    }
    const HairPalette c = downPalette(v);
    // Under lifted hair the cap stays a little inside the outline, so its soft edge never shows.
    drawCap(p, c, 70 - 1.3 * v.volume + 0.3 * v.lift, 0.8 * v.volume - 0.3 * v.lift, v.seed);
    if (v.textured) {
        // Beside a short side the cap would end the hair in a straight edge down to the sideburn:
        // there the tapered pieces make the outline, over the ear.
        p.save();
        p.setCompositionMode(QPainter::CompositionMode_DestinationOut);
        QPainterPath outside;  // the portrait's own hair stays under the cap
        outside.addRect(0, 0, kCanvasW, kCanvasH);
        p.setClipPath(outside.subtracted(ownHairRegion()));
        paintSoft(p, QSize(kCanvasW, kCanvasH), 6, 1.0, [&](QPainter& q) {
            for (int side : {-1, 1})
                if ((side < 0 ? v.tipLeft : v.tipRight) < 260)
                    softEllipse(q, QPointF(kMidX + side * 104, 236), 26, 56, QColor(0, 0, 0, 255));
        });
        p.restore();
    }
    if (v.layered) lightSideburns(p, c);
    const double lowest = std::max(v.tipLeft, v.tipRight), highest = std::min(v.tipLeft, v.tipRight);
    if (v.backTip > 0)
        drawUnderLayer(behind, v, v.backTip);
    else if (lowest > 262)
        drawUnderLayer(behind, v, std::min(highest, lowest - 10) - 8);
    QImage back = newLayer(kCanvasW, kCanvasH);
    QPainter b;
    beginPainter(b, back);
    std::vector<Sweep> front, domes;
    for (int side : {-1, 1}) {
        const bool left = side < 0;
        const double part = left ? v.part : 2 * kMidX - v.part, tip = left ? v.tipLeft : v.tipRight;
        Side sh = sideShape(v, part, tip, left && v.tuckLeft);
        for (const Attachment& a : v.pieces) {  // gathered into a tie below the ear: converge on it
            const bool tied = (a.kind == Piece::Tail || a.kind == Piece::Braid) && a.y > 180;
            if (!tied || (a.x < kMidX) != left || std::abs(a.endX - a.x) > 100) continue;
            const double x = left ? a.x : 2 * kMidX - a.x;
            sh.inner.back() = QPointF(x + 6, a.y + 4);
            sh.outer.back() = QPointF(x - 6, a.y + 4);
        }
        // A textured cut's short side tapers in over the ear, its pieces thinning to points.
        const bool taper = v.textured && tip < 260;
        if (taper) {
            sh.outer.back() += QPointF(16, -12);
            sh.inner.back() += QPointF(0, -6);
        }
        const uint64_t seed = v.seed + (left ? 0 : 1);
        auto place = [&](Sweep s) { return left ? s : mirroredSweep(s); };
        if (v.lift > 0) domes.push_back(place(domeSweep(sh, seed + 60)));
        if (tip <= 330) {
            Sweep side = sideSweep(v, {sh.inner, sh.outer}, tip, 1.0, seed);
            if (taper) {
                side.clump = 1.0;
                side.lengthJitter = 0.3;
            }
            front.push_back(place(side));
            continue;
        }
        const double f = shareInFront(left ? v.drapeLeft : v.drapeRight);
        if (f < 1)
            drawSweep(b,
                      place(sideSweep(v, {between(sh.inner, sh.outer, std::max(0.0, f - 0.12)), sh.outer},
                                      tip, 1.0 - f, seed + 7)),
                      c);
        if (f > 0)
            front.push_back(place(sideSweep(
                v, {drapedFront(sh.inner), drapedFront(between(sh.inner, sh.outer, f), 14)}, tip, f, seed)));
    }
    b.end();
    hideBehindBody(back, false);
    p.drawImage(0, 0, back);
    for (const Sweep& s : domes) drawSweep(p, s, c);
    for (const Sweep& s : front) drawSweep(p, s, c);
    if (v.layered) {
        drawTiers(p, v, c);
        drawTopPieces(p, v, c);
    }
    if (v.curl.amp < 3) {
        // A layered cut is shaded layer by layer; over its thinner hair by the face this shade
        // would set a dark block beside the eyes.
        if (!v.layered) shadeSides(p, c);
        drawParting(p, v, c);
    }
    drawHairlineWisps(p, c, v.part, v.seed + 50);
    if (v.tousled || v.layered) breakEnds(p, v, c);
    // Over the fringe if there is one; a blow-dried crown's groups are milder.
    if ((v.tousled || v.lift > 0) && v.bangs == Bangs::None) drawCrownTexture(p, v, c, v.tousled ? 1.0 : 0.7);
    if (v.spiky && v.bangs == Bangs::None) drawSpikyCrown(p, v, c);
}

void drawBangs(QPainter& p, const HairVariant& variant) {
    if (variant.bangs == Bangs::None) return;
    const HairVariant v = lifted(variant);
    const HairPalette c = downPalette(v);
    Sweep s;
    const double fy = v.fringeY > 0 ? v.fringeY : 162;
    const bool flip = v.part > kMidX;  // a side fringe sweeps away from the parting
    const double part = flip ? 2 * kMidX - v.part : v.part;
    switch (v.bangs) {
        case Bangs::Full:
        case Bangs::Wispy: {
            const Polyline g0{{150, 96}, {131, 118}, {122, 150}, {119, fy + 24}};
            const Polyline g1{{168, 92}, {151, 112}, {143, 140}, {140, fy + 7}};
            const Polyline g2{{kMidX, 90}, {188, 112}, {kMidX, 140}, {kMidX, fy}};
            s.guides = {g0, g1, g2, mirrored(g1, kMidX), mirrored(g0, kMidX)};
            break;
        }
        case Bangs::Side:
            s.guides = {{{part + 2, 94}, {part + 40, 100}, {250, 122}, {264, 158}, {268, fy + 20}},
                        {{part - 4, 98}, {part + 16, 118}, {200, fy - 22}, {238, fy - 4}, {262, fy + 26}},
                        {{part - 10, 104}, {148, 130}, {168, fy - 8}, {212, fy + 4}, {254, fy + 30}}};
            break;
        default:  // curtain: the left half; the right half mirrors it
            s.guides = {{{188, 96}, {184, 122}, {170, 150}, {150, fy + 8}, {134, fy + 34}},
                        {{186, 98}, {160, 106}, {136, 128}, {124, 160}, {120, fy + 40}}};
            break;
    }
    if (flip)
        for (Polyline& g : s.guides) g = mirrored(g, kMidX);
    if (v.shortCurls) {
        drawCurlyFringe(p, v, s.guides);
        if (v.bangs == Bangs::Curtain) drawCurlyFringe(p, v, mirroredSweep(s).guides);
        return;
    }
    const bool wispy = v.bangs == Bangs::Wispy;
    s.locks = v.bangs == Bangs::Curtain ? 10 : wispy ? 22 : 18;
    s.strandsPerLock = wispy ? 7 : 12;
    s.lengthJitter = wispy ? 0.3 : v.curl.amp < 3 ? 0.16 : 0.1;  // straight: the tips run past the fill
    s.clump = wispy ? 0.8 : 0.5;
    // A tousled cut's wispy fringe keeps a fill under its pieces: over the short crop's thin cap the
    // portrait's own hairline would show between them.
    s.mass = !wispy || v.tousled;
    s.massInset = 0.02;
    s.wander = 2.0;
    Curl soft = v.curl;  // a fringe only bends where the rest curls
    soft.amp *= 0.35;
    soft.waves *= 0.5;
    soft.loop = std::min(soft.loop, 0.3);
    applyCurl(s, soft, 80);
    s.width = 1.0;
    s.sheenAt = 0.3;
    s.clumpShade = v.curl.amp < 3 ? 0.8 : 0.0;
    if (v.tousled) {  // a bob's fringe: pieces of uneven length whose tips thin out past the fill
        s.lengthJitter += 0.1;
        s.massInset = 0.07;
        s.clump += 0.15;
        s.clumpShade = v.curl.amp < 3 ? 1.0 : 0.0;
    }
    s.seed = v.seed + 2;
    drawSweep(p, s, c);
    if (v.bangs == Bangs::Curtain) drawSweep(p, mirroredSweep(s), c);
    if (v.layered) {  // a layered cut's fringe is cut into pieces like its top
        p.save();
        p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
        Rng rng(v.seed * 13 + 5);
        // A textured fringe falls in broad locks, any other in fine pieces.
        auto over = [&](const Sweep& sweep) {
            if (v.textured)
                drawLocksOver(p, Guides(sweep.guides), c, rng, 6, 0.05, 0.4);
            else
                drawPiecesOver(p, Guides(sweep.guides), c, rng, 16, 0.05, 0.6, 0.1);
        };
        over(s);
        if (v.bangs == Bangs::Curtain) over(mirroredSweep(s));
        p.restore();
    }
    if (v.tousled) breakFringe(p, v, c);
    // A side or curtain fringe of a layered cut already sweeps off the parting: groups crossing
    // it there would hatch the top.
    const bool sweptTop = v.layered && (v.bangs == Bangs::Side || v.bangs == Bangs::Curtain);
    if ((v.tousled || v.lift > 0) && !sweptTop) drawCrownTexture(p, v, c, v.tousled ? 1.0 : 0.7);
    if (v.spiky) drawSpikyCrown(p, v, c);  // the top stands over the roots of the fringe
}

}  // namespace installdata
