#include <algorithm>
#include <cmath>

#include "Geometry.h"
#include "HairDrawing.h"
#include "HairFinish.h"
#include "HairGuides.h"
#include "LooseHairParts.h"
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

}  // namespace

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

namespace {

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

// A wispy fringe thins toward its tips: from the roots it falls in pointed pieces of uneven
// length, dense where they leave the crown, so the crown's edge does not show as a line across the
// forehead and the fine strands drawn over them fan out of the pieces instead of hanging from it
// like a row of strings.
void drawWispyPieces(QPainter& p, const Sweep& s, const HairPalette& c, uint64_t seed) {
    constexpr int kPieces = 12;
    const Guides g(s.guides);
    Rng rng(seed);
    const QColor deep = mix(c.dark, QColor(0, 0, 0), 0.3);
    struct Piece {
        Polyline outline, spine;
        QColor body;
    };
    std::vector<Piece> pieces;
    for (int i = 0; i < kPieces; ++i) {
        const double t = (i + 0.5 + rng.symmetric(0.35)) / kPieces, tip = rng.range(0.5, 0.9);
        const double half = rng.range(0.6, 0.95) / kPieces, lean = rng.symmetric(0.04);
        Polyline a, b, spine;
        for (int k = 0; k <= 16; ++k) {
            const double u = tip * k / 16, w = half * std::pow(1.0 - k / 16.0, 0.8),
                         mid = t + lean * k * k / 256.0;
            a.push_back(g.at(u, mid - w));
            b.push_back(g.at(u, mid + w));
            spine.push_back(g.at(u, mid));
        }
        a.insert(a.end(), b.rbegin(), b.rend());
        pieces.push_back(
            {std::move(a), std::move(spine),
             withAlpha(mix(c.dark, c.base, rng.range(0.2, 0.65)), static_cast<int>(rng.range(205, 240)))});
    }
    paintSoft(p, QSize(kCanvasW, kCanvasH), 1, 1.0, [&](QPainter& q) {
        q.setPen(Qt::NoPen);
        for (const Piece& pc : pieces) {
            q.setBrush(pc.body);
            q.drawPath(pathThrough(pc.outline, true));
        }
    });
    // The fold between neighbouring pieces, and the light along each where it leaves the crown.
    paintSoft(p, QSize(kCanvasW, kCanvasH), 2, 1.0, [&](QPainter& q) {
        for (const Piece& pc : pieces) {
            const Polyline edge(pc.outline.begin() + 2, pc.outline.begin() + 13);
            fillRibbon(q, edge, 1.6, 0.4, withAlpha(deep, 120), 0.3, 0.2);
            const Polyline lit(pc.spine.begin() + 1, pc.spine.begin() + 8);
            fillRibbon(q, lit, 1.8, 0.6, withAlpha(c.light, static_cast<int>(rng.range(50, 100))), 0.4, 0.4);
        }
    });
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
        default:  // curtain: the left half; the right half mirrors it, running down all the way even
                  // when it is cut short
            s.guides = {
                {{188, 96}, {184, 122}, {170, std::min(150.0, fy - 2)}, {150, fy + 8}, {134, fy + 34}},
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
    // A fringe only bends where the rest curls, never so far that its short strands shade in turns
    // (on strands this short the turns read as the rungs of a ladder).
    Curl soft = v.curl;
    soft.amp = std::min(soft.amp * 0.35, 2.8);
    soft.waves *= 0.5;
    soft.loop = std::min(soft.loop, 0.3);
    applyCurl(s, soft, 80);
    s.width = 1.0;
    // A wispy fringe's pieces carry its light near the roots: lit lower down, across the thin
    // tips, the band would draw a line along the crown's edge.
    s.sheenAt = wispy && !s.mass ? 0.12 : 0.3;
    s.clumpShade = v.curl.amp < 3 ? 0.8 : 0.0;
    if (v.tousled) {  // a bob's fringe: pieces of uneven length whose tips thin out past the fill
        s.lengthJitter += 0.1;
        s.massInset = 0.07;
        s.clump += 0.15;
        s.clumpShade = v.curl.amp < 3 ? 1.0 : 0.0;
    }
    s.seed = v.seed + 2;
    if (wispy && !s.mass) drawWispyPieces(p, s, c, v.seed + 31);
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
