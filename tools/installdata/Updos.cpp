#include <QRadialGradient>
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

namespace {

using namespace face;

// The left half of an updo in the left-hand frame: from the hairline over the skull to `target`.
Sweep updoSweep(const HairVariant& v, QPointF target, uint64_t seed) {
    const QPointF top(target.x() + 4 * (target.x() <= kMidX ? -1 : 1), target.y() + 10);
    const QPointF roots[] = {{v.part, 114}, {160, 117}, {136, 127}, {122, 152}, {117, 212}};
    const double rx = 93 + 0.5 * v.volume + v.width, ry = 96 + v.volume;  // width: puffed out at the sides
    const double a0 = std::asin(std::clamp((kMidX - v.part) / rx, -1.0, 1.0));
    const double angles[] = {a0, 0.55, 0.95, 1.3, 1.62};
    Sweep s;
    for (int k = 0; k < 5; ++k) {
        // Over the skull's outline, then on to the gathering point around it.
        const QPointF over = skullPoint(angles[k], rx, ry);
        const QPointF mid = ontoSkull(lerp(over, top, 0.5), rx, ry);
        s.guides.push_back({roots[k], over, mid, top});
    }
    s.locks = 28;
    s.strandsPerLock = 12;
    s.clump = 0.2;
    s.wander = 0.6;
    s.massInset = 0.0;
    s.flyaways = 0;  // sleek
    s.sheenAt = 0.5;
    s.sheenLen = 0.25;
    s.seed = seed;
    return s;
}

// Hair pulled back is combed into strand groups: the guides (left-hand frame) interpolated to
// the group edges give dark grooves converging on the gather point, lit ridges between them.
void drawTension(QPainter& p, const std::vector<Polyline>& guides, bool mirror, const HairPalette& c,
                 uint64_t seed) {
    std::vector<Polyline> lines;
    for (const Polyline& g : guides) lines.push_back(sampleSpline(g, 48));
    auto across = [&](double f) {  // f 0 first guide .. 1 last
        const double x = f * (lines.size() - 1);
        const size_t k = std::min(lines.size() - 2, static_cast<size_t>(x));
        Polyline out(lines[k].size());
        for (size_t i = 0; i < out.size(); ++i) out[i] = lerp(lines[k][i], lines[k + 1][i], x - k);
        return mirror ? mirrored(out, kMidX) : out;
    };
    Rng rng(seed);
    const int groups = 9;
    std::vector<double> edges{0.0};
    for (int g = 1; g < groups; ++g) edges.push_back((g + rng.symmetric(0.3)) / groups);
    edges.push_back(1.0);
    const QSize size(kCanvasW, kCanvasH);
    paintSoft(p, size, 3, 0.55, [&](QPainter& q) {
        for (int g = 0; g < groups; ++g)
            fillRibbon(q, across(0.5 * (edges[g] + edges[g + 1])), 5.5, 1.5, mix(c.light, c.sheen, 0.25),
                       0.12, 0.45);
    });
    paintSoft(p, size, 1, 0.7, [&](QPainter& q) {
        for (int g = 1; g < groups; ++g)
            fillRibbon(q, across(edges[g]), 2.2, 0.8, mix(c.dark, QColor(0, 0, 0), 0.5), 0.08, 0.35);
    });
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

bool crownBraid(const Attachment& a) { return a.kind == Piece::Braid && std::abs(a.endX - a.x) > 100; }

// Where one half of the hair is gathered: its own piece, else the first, else the crown.
QPointF gatherPoint(const HairVariant& v, int half) {
    for (int i : {half, 0})
        if (v.pieces[i].kind != Piece::None && !crownBraid(v.pieces[i]))
            return {v.pieces[i].x, v.pieces[i].y};
    return {kMidX, 62 - v.volume};
}

// The soft shadow a hanging length casts on the neck, shoulder and clothes behind it: down and to
// the right, away from the light.
void castOnNeck(QPainter& p, const Polyline& rightEdge, double w) {
    Polyline fallen = rightEdge;
    for (QPointF& q : fallen) q += QPointF(4, 9);
    paintSoft(p, QSize(kCanvasW, kCanvasH), 6, 0.6,
              [&](QPainter& q) { fillRibbon(q, fallen, w, 0.6 * w, QColor(10, 6, 4), 0.1, 0.3); });
}

// A length of hair is round: shaded along both edges, lit a little left of its middle.
void roundLength(QPainter& p, const Polyline& l, const Polyline& centre, const Polyline& r,
                 const HairPalette& c) {
    Polyline lit(centre.size());
    for (size_t i = 0; i < centre.size(); ++i) lit[i] = lerp(centre[i], l[i], 0.35);
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    paintSoft(p, QSize(kCanvasW, kCanvasH), 3, 0.6, [&](QPainter& q) {
        const QColor deep = mix(c.dark, QColor(0, 0, 0), 0.5);
        fillRibbon(q, l, 4, 2, deep, 0.1, 0.2);
        fillRibbon(q, r, 7, 3, deep, 0.1, 0.2);
        fillRibbon(q, lit, 5, 1.5, mix(c.light, c.sheen, 0.3), 0.15, 0.35);
    });
    p.restore();
}

// A ponytail's length from its tie to its end: full after the tie, tapering to the tips.
void drawTail(QPainter& p, const HairVariant& v, const Attachment& a, const HairPalette& c, uint64_t seed) {
    const QPointF tie(a.x, a.y), end(a.endX, a.endY);
    const double w = 20 * a.size, out = tie.x() < kMidX ? -1 : 1;
    const QPointF d = end - tie;
    const QPointF bow(out * 12, 0);
    Polyline centre = sampleSpline({tie, tie + d * 0.3 + bow, tie + d * 0.7 + bow * 0.6, end}, 40);
    if (tie.y() > 200) centre = drapedFront(centre);
    Polyline l, r;
    for (size_t i = 0; i < centre.size(); ++i) {
        const double u = static_cast<double>(i) / (centre.size() - 1);
        const QPointF t = centre[std::min(i + 1, centre.size() - 1)] - centre[i == 0 ? 0 : i - 1];
        const double len = std::max(1e-6, std::hypot(t.x(), t.y()));
        const QPointF n(-t.y() / len, t.x() / len);
        const double half = 0.5 * w *
                            (0.55 + 0.9 * std::pow(std::sin(3.14159 * std::min(u * 1.4, 1.0)), 0.6)) *
                            (1.0 - 0.5 * std::max(0.0, u - 0.6) / 0.4);
        l.push_back(centre[i] + n * half);
        r.push_back(centre[i] - n * half);
    }
    castOnNeck(p, r, w);
    Sweep s;
    s.guides = {l, centre, r};
    s.locks = 18;
    s.strandsPerLock = 12;
    s.clump = 0.55;
    s.lengthJitter = 0.2;
    s.flyaways = 6;
    s.sheenAt = 0.08;
    applyCurl(s, v.curl, std::hypot(d.x(), d.y()));
    s.seed = seed;
    drawSweep(p, s, c);
    roundLength(p, l, centre, r, c);
    p.setPen(Qt::NoPen);
    p.setBrush(mix(c.dark, QColor(0, 0, 0), 0.4));
    p.drawEllipse(tie, 0.34 * w, 0.22 * w);
}

void drawPiece(QPainter& p, const HairVariant& v, const Attachment& a, uint64_t seed) {
    const HairPalette& c = hairPalette(v.palette);
    switch (a.kind) {
        case Piece::None:
            return;
        case Piece::Bun:
            drawWoundBun(p, QPointF(a.x, a.y), 34 * a.size, 26 * a.size, c, seed);
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
                drawBraid(p, arc, w, w * 0.8, c, seed, false);
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

void drawUpdo(QPainter& p, const HairVariant& v) {
    const HairPalette& c = hairPalette(v.palette);
    drawCap(p, c, 66 - v.volume, 0.5 * v.volume + v.width, v.seed);
    for (int half : {0, 1}) {
        QPointF target = gatherPoint(v, half);
        if (half == 1) target.setX(2 * kMidX - target.x());  // into the left-hand frame
        const Sweep s = updoSweep(v, target, v.seed + 5 + half);
        drawSweep(p, half == 0 ? s : mirroredSweep(s), c);
        drawTension(p, s.guides, half == 1, c, v.seed + 60 + half);
        drawLooseWisps(p, half == 1, c, v.seed + 70 + half);
    }
    drawHairlineWisps(p, c, v.part, v.seed + 50);
}

void drawPieces(QPainter& p, const HairVariant& v) {
    if (v.fingerWaves) drawFingerWaves(p, v);
    for (int i = 0; i < 2; ++i)
        if (!pieceBehind(v.pieces[i])) drawPiece(p, v, v.pieces[i], v.seed + 9 + i);
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
