#include "ShortCurls.h"

#include <algorithm>
#include <cmath>

#include "CurlCoils.h"
#include "Geometry.h"
#include "HairDrawing.h"
#include "HairFinish.h"
#include "HairGuides.h"

// Each coil is a short helix seen from the front: the backs of its turns in shade, the fronts as
// lit bands over a dark core. Coils are scattered evenly over the sheets in three layers, the
// deeper ones darker and softer, each layer casting a soft shadow on the ones under it. Frizz and a
// few loose curls leave the outline; fringes hang from the hairline on a dark core of their own.
namespace installdata {

namespace {

using namespace face;

CurlStyle styleOf(const HairVariant& v) {
    return {std::max(2.5, v.curl.amp), std::max(0.6, v.curl.waves), std::clamp(v.curl.loop, 0.0, 1.0),
            v.curl.start};
}

// A group of curls that turn together and share one highlight: the cell of a jittered grid
// nearest the point, with how far it is from the next one (small in the gaps between groups).
struct Group {
    QPointF centre;
    double gap;
    uint32_t id;
};

uint32_t hashOf(uint32_t a, uint32_t b, uint32_t c) {
    uint32_t h = a * 0x9E3779B1u ^ (b + 0x7F4A7C15u) * 0x85EBCA77u ^ (c + 0x165667B1u) * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    return h ^ (h >> 15);
}

double unitOf(uint32_t id, uint32_t what) { return (hashOf(id, what, 0x51u) >> 8) / 16777216.0; }

Group groupAt(QPointF q, double cell, uint32_t seed) {
    const int cx = static_cast<int>(std::floor(q.x() / cell)),
              cy = static_cast<int>(std::floor(q.y() / cell));
    double best = 1e18, next = 1e18;
    Group g{q, 0.0, 0};
    for (int j = cy - 1; j <= cy + 1; ++j)
        for (int i = cx - 1; i <= cx + 1; ++i) {
            const uint32_t id = hashOf(static_cast<uint32_t>(i), static_cast<uint32_t>(j), seed);
            const QPointF c((i + 0.15 + 0.7 * unitOf(id, 1)) * cell, (j + 0.15 + 0.7 * unitOf(id, 2)) * cell);
            const double d = std::hypot(c.x() - q.x(), c.y() - q.y());
            if (d < best) {
                next = best;
                best = d;
                g.centre = c;
                g.id = id;
            } else if (d < next) {
                next = d;
            }
        }
    g.gap = next - best;
    return g;
}

// How far down the sheet the hair reaches at t across it: the outer edge shorter, so the ends
// round in rather than stop in a cut line.
double endAt(double t) { return 1.0 - 0.22 * t * t; }

// Coils spread evenly over a sheet: random points across it, each kept only if no coil of the same
// layer lies nearer than `spacing`. Those on the outer edge and the ends stand out past the sheet,
// so single curls break the outline.
void scatterCoils(std::vector<Coil>& out, const Guides& g, const CurlStyle& st, double dim, double spacing,
                  double uFrom, QPointF crown, Rng& rng) {
    const size_t first = out.size();
    const uint32_t seed = static_cast<uint32_t>(rng.next());
    // Points are drawn evenly over the canvas, not over (u, t): kept in proportion to the area
    // a step of u and t covers there.
    auto area = [&](double u, double t) {
        const QPointF du = g.at(u + 0.01, t) - g.at(u - 0.01, t), dt = g.at(u, t + 0.01) - g.at(u, t - 0.01);
        return std::abs(du.x() * dt.y() - du.y() * dt.x());
    };
    double most = 1e-9;
    for (int i = 0; i <= 20; ++i)
        for (int j = 0; j <= 10; ++j) most = std::max(most, area(0.01 + 0.98 * i / 20, 0.01 + 0.98 * j / 10));
    for (int tries = 0; tries < 6000; ++tries) {
        // The ends vary in length across the sheet, in a few broad steps.
        const double t = rng.range(0.0, st.across),
                     end = st.reach * (endAt(t) - 0.1 * valueNoise(5.0 * t, 0.5, seed + 1)),
                     u = rng.range(uFrom, end);
        if (rng.uniform() * most > area(u, t)) continue;
        QPointF q = g.at(u, t);
        QPointF across = g.at(u, 1.0) - g.at(u, 0.0);
        across /= std::max(1e-6, std::hypot(across.x(), across.y()));
        // The hair leaves the crown and falls: away from it on top, down at the sides.
        QPointF away = q - crown;
        away /= std::max(1e-6, std::hypot(away.x(), away.y()));
        QPointF tan = lerp(away, QPointF(0, 1), 0.7 * smoothstep(150, 260, q.y()));
        tan /= std::max(1e-6, std::hypot(tan.x(), tan.y()));
        // Curls are larger and looser on top and at the outline, tighter toward the nape.
        const Group grp = groupAt(q, 3.6 * st.r, seed + 7);
        const double outline = std::max(smoothstep(0.75, 1.0, t), smoothstep(140, 90, q.y()));
        const double place = (1.0 - 0.28 * smoothstep(215, 300, q.y())) * (1.0 + 0.06 * outline);
        const double r = st.r * place * std::exp(0.35 * (2 * unitOf(grp.id, 3) - 1) + rng.symmetric(0.22));
        // Out past the outer edge and the ends, and in over the inner edge, so single curls break
        // every edge of the sheet.
        q += across *
                 (r * (0.7 * smoothstep(0.8, 1.0, t) - st.inward * smoothstep(0.2, 0.0, t)) * rng.uniform()) +
             tan * (r * smoothstep(0.8, 1.0, u / end) * rng.range(-0.2, st.dangle));
        // Between groups the front layers open onto the dark inside of the mass.
        const double gap = 1.0 - smoothstep(0.2 * st.r, 1.1 * st.r, grp.gap);
        if (dim < 0.5 && rng.uniform() < 0.75 * gap) continue;
        bool free = true;
        for (size_t i = first; i < out.size() && free; ++i) {
            const QPointF d = out[i].at - q;
            const double near = spacing * (0.35 + 0.65 * (r + out[i].r) / (2 * st.r));
            free = d.x() * d.x() + d.y() * d.y() > near * near;
        }
        if (!free) continue;
        // A group shares its light: lit toward the upper left of it, in shade on the far side,
        // and one group brighter than the next.
        const QPointF off = (q - grp.centre) / (1.8 * st.r);
        const double groupTone = 1.3 * unitOf(grp.id, 4) - 0.5 - 0.35 * smoothstep(170, 300, q.y());
        const double shape = -0.55 * off.x() - 0.7 * off.y();
        const double turn = 1.1 * (unitOf(grp.id, 5) - 0.5) + rng.symmetric(0.25);
        Coil k;
        k.at = q;
        k.axis = QPointF(tan.x() * std::cos(turn) - tan.y() * std::sin(turn),
                         tan.x() * std::sin(turn) + tan.y() * std::cos(turn));
        k.r = r;
        k.hand = (unitOf(grp.id, 6) < 0.5) == (rng.uniform() < 0.85) ? 1 : -1;
        k.phase = rng.range(0, 2 * kPi);
        k.cored = st.cored;
        const double kind = rng.uniform(),
                     loop = std::clamp(st.loop - 0.35 * outline * rng.uniform(), 0.0, 1.0);
        if (st.cored && st.loop > 0.5 && kind < 0.22) {  // seen end-on: a ring
            k.turns = rng.range(0.95, 1.25);
            k.pitch = r * rng.range(0.25, 0.5);
            k.sag = rng.range(0.75, 0.95);
            k.open = false;
        } else if (kind < 0.45) {  // seen side-on: an S of one loose turn
            k.turns = rng.range(0.9, 1.4);
            k.pitch = r * rng.range(1.5, 2.1);
            k.sag = 0.0;
            k.open = true;
        } else {
            k.turns = st.turns * rng.range(0.6, 1.3);
            k.pitch = r * (0.95 + 1.6 * (1.0 - loop)) * rng.range(0.8, 1.25);
            k.sag = 0.3 * loop;
            k.open = loop < 0.35;
        }
        k.dim = std::clamp(dim + rng.symmetric(0.08) + 0.55 * gap - 0.4 * groupTone, 0.0, 1.0);
        k.tone = std::clamp(groupTone + 0.6 * shape + rng.symmetric(0.2), -1.0, 1.0);
        if (!st.cored) {  // alone on the skin: no mass to sink into, and in the open light
            k.dim = std::min(k.dim, 0.2);
            k.tone = std::max(k.tone, 0.4);
        }
        k.edge = outline > 0.5;
        k.group = grp.centre;
        k.groupTone = groupTone;
        out.push_back(k);
    }
}

// The dark, dense inside of the mass under the coils, stopping short of the ends.
void drawCore(QPainter& p, const std::vector<Guides>& sheets, const HairPalette& c, double end) {
    paintSoft(p, QSize(kCanvasW, kCanvasH), 3, 1.0, [&](QPainter& q) {
        q.setPen(Qt::NoPen);
        q.setBrush(withAlpha(mix(c.dark, QColor(0, 0, 0), 0.3), 240));
        for (const Guides& g : sheets) {
            Polyline poly;
            for (int i = 0; i <= 40; ++i) poly.push_back(g.at(end * i / 40, 0.05));
            for (int i = 1; i < 10; ++i) poly.push_back(g.at(end * endAt(0.92 * i / 10), 0.92 * i / 10));
            for (int i = 40; i >= 0; --i) poly.push_back(g.at(end * endAt(0.92) * i / 40, 0.92));
            q.drawPath(pathThrough(poly, true));
        }
    });
}

// The dark inside of a fringe across its whole width, from where its curls begin (`from` of its
// length) down to `end`; the lower edge scalloped and uneven, so the curls over it, not the core,
// end it. Above `from` its roots lie over the crown's curls, which show there: a core reaching up
// to the parting would sit on them as a bare dark blot.
void drawFringeCore(QPainter& p, const Guides& g, const HairPalette& c, double from, double end,
                    uint32_t seed) {
    paintSoft(p, QSize(kCanvasW, kCanvasH), 2, 1.0, [&](QPainter& q) {
        q.setPen(Qt::NoPen);
        q.setBrush(withAlpha(mix(c.dark, QColor(0, 0, 0), 0.3), 250));
        Polyline poly;
        for (int i = 0; i <= 24; ++i) poly.push_back(g.at(from, i / 24.0));
        for (int i = 0; i <= 12; ++i) poly.push_back(g.at(from + (end - from) * i / 12, 1.0));
        for (int i = 40; i >= 0; --i) {
            const double t = i / 40.0, scallop = std::abs(std::sin(kPi * 5.5 * t));
            poly.push_back(
                g.at(end * (1.0 - 0.1 * valueNoise(7.0 * t, 0.5, seed) - 0.06 * (1 - scallop)), t));
        }
        for (int i = 12; i >= 0; --i) poly.push_back(g.at(from + (end - from) * i / 12, 0.0));
        q.drawPath(pathThrough(poly, true));
    });
}

// Points on the outline of the hair in `layer` (where its blurred alpha lies between 0.3 and 0.7)
// and the outward direction there, at most one per 3 px cell, none on or facing the face.
struct OutlinePoint {
    QPointF at, out;
};

std::vector<OutlinePoint> outlineOf(const QImage& layer) {
    const int w = layer.width(), h = layer.height();
    std::vector<float> a(static_cast<size_t>(w) * h), b(a.size());
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(layer.constScanLine(y));
        for (int x = 0; x < w; ++x) a[static_cast<size_t>(y) * w + x] = qAlpha(row[x]) / 255.0f;
    }
    // A 5 x 5 box blur, in two passes, so the direction across the edge is steady.
    for (int pass = 0; pass < 2; ++pass) {
        const int dx = pass == 0 ? 1 : w;
        const int len = pass == 0 ? w : h;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const int pos = pass == 0 ? x : y;
                float sum = 0;
                int n = 0;
                for (int k = std::max(0, pos - 2); k <= std::min(len - 1, pos + 2); ++k, ++n)
                    sum += a[static_cast<size_t>(y) * w + x + (k - pos) * dx];
                b[static_cast<size_t>(y) * w + x] = sum / n;
            }
        std::swap(a, b);
    }
    const QPainterPath face = faceOvalPath();
    std::vector<OutlinePoint> out;
    for (int cy = 1; cy < h / 3 - 1; ++cy)
        for (int cx = 5; cx < w / 3 - 5; ++cx)
            for (int k = 0; k < 9; ++k) {
                const int x = 3 * cx + k % 3, y = 3 * cy + k / 3;
                const size_t i = static_cast<size_t>(y) * w + x;
                if (a[i] < 0.3f || a[i] >= 0.7f) continue;
                const QPointF grad(a[i + 1] - a[i - 1], a[i + w] - a[i - w]);
                const double len = std::hypot(grad.x(), grad.y());
                if (len < 1e-3) continue;
                const QPointF n = -grad / len, q(x + 0.5, y + 0.5);
                // Nothing stands off toward the face, where it would lie alone on the skin.
                if (face.contains(q + 10 * n) || face.contains(q)) break;
                out.push_back({q, n});
                break;
            }
    return out;
}

// What stands off a head of short curls: fine frizz leaving the outline all round, and here and
// there a loose curl springing out of it. Each starts inside the mass, so nothing floats free.
void standOffTheOutline(QImage& layer, const CurlStyle& st, const HairPalette& c, Rng& rng) {
    const std::vector<OutlinePoint> outline = outlineOf(layer);
    std::vector<Coil> loose;
    for (const OutlinePoint& o : outline) {
        if (rng.uniform() > 0.035) continue;
        bool free = true;
        for (const Coil& k : loose)
            free = free && std::hypot(k.at.x() - o.at.x(), k.at.y() - o.at.y()) > 6 * st.r;
        if (!free || o.at.x() < 4 * st.r || o.at.x() > kCanvasW - 4 * st.r) continue;
        Coil k;
        k.r = st.r * rng.range(0.55, 0.8);
        k.axis = turned(o.out, rng.symmetric(0.7));
        k.turns = rng.range(1.2, 2.2);
        k.pitch = k.r * rng.range(0.9, 1.3);
        k.at = o.at + k.axis * (0.5 * k.turns * k.pitch - 0.3 * k.r);
        k.sag = 0.3 * st.loop;
        k.hand = rng.uniform() < 0.5 ? 1 : -1;
        k.phase = rng.range(0, 2 * kPi);
        k.open = st.loop < 0.35;
        k.cored = false;
        k.dim = 0.1;
        k.tone = rng.range(0.0, 0.6);
        k.edge = true;
        k.group = k.at;
        k.groupTone = 0.0;
        loose.push_back(k);
    }
    QPainter p;
    beginPainter(p, layer);
    drawLayerOfCoils(p, loose, st, c, rng, false);
    // Frizz: fine hairs that leave the outline and curl, lighter where the light goes through.
    for (const OutlinePoint& o : outline) {
        const int hairs = static_cast<int>(rng.range(0.0, 1.6 + 0.8 * st.frizz));
        for (int h = 0; h < hairs; ++h) {
            const bool flyaway = rng.uniform() < 0.18;
            const double len = (flyaway ? rng.range(12, 22) : rng.range(5, 11)) * (0.8 + 0.04 * st.r);
            // At most about 130 degrees of turn: a tighter loop would wall in a dot of background.
            const double bend = rng.symmetric(flyaway ? 0.2 : 0.3) * (0.6 + 0.4 * st.loop);
            QPointF dir = turned(o.out, rng.symmetric(0.9)), at = o.at - o.out * rng.range(0.5, 2.0);
            Polyline hairLine{at};
            const int steps = 12;
            for (int i = 0; i < steps; ++i) {
                dir = turned(dir, bend * (0.4 + i * 0.05));
                at += dir * (len / steps);
                hairLine.push_back(at);
            }
            if (at.x() < 4 || at.x() > kCanvasW - 4) continue;  // nothing reaches the picture's sides
            const QColor col = mix(mix(c.dark, c.base, 0.7), c.light, rng.range(0.2, 0.8));
            fillRibbon(p, hairLine, rng.range(0.6, 0.95), 0.3,
                       withAlpha(col, static_cast<int>(rng.range(130, 220))), 0.0, 0.5);
        }
    }
}

// Coils in three layers over the sheets, back to front.
void drawMass(QPainter& p, const std::vector<Guides>& sheets, const CurlStyle& st, const HairPalette& c,
              int layers, double uFrom, QPointF crown, Rng& rng) {
    const double dims[] = {0.6, 0.3, 0.0};
    for (int layer = 3 - layers; layer < 3; ++layer) {
        std::vector<Coil> coils;
        for (const Guides& g : sheets)
            scatterCoils(coils, g, st, dims[layer], st.spread * st.r * (layer == 0 ? 1.5 : 1.9), uFrom, crown,
                         rng);
        drawLayerOfCoils(p, coils, st, c, rng, layer > 0);
    }
}

}  // namespace

void drawShortCurls(QPainter& p, QPainter& behind, const HairVariant& v,
                    const std::vector<std::vector<Polyline>>& sides) {
    const HairPalette& c = hairPalette(v.palette);
    const CurlStyle st = styleOf(v);
    Rng rng(v.seed * 131 + 7);
    const double lowest = std::max(v.tipLeft, v.tipRight);
    if (lowest > 262) {  // the back of the hair beside the neck: darker, under everything
        const HairPalette dim{mix(c.dark, QColor(0, 0, 0), 0.35), mix(c.dark, c.base, 0.3),
                              mix(c.dark, c.base, 0.75), mix(c.base, c.light, 0.4)};
        const double tip = std::min(v.tipLeft, v.tipRight) - 6;
        const std::vector<Guides> back{Guides({{{114, 190}, {112, 250}, {120, tip}},
                                               {{kMidX, 196}, {kMidX, tip + 4}},
                                               {{266, 190}, {268, 250}, {260, tip}}})};
        QImage under = newLayer(kCanvasW, kCanvasH);
        {
            QPainter q;
            beginPainter(q, under);
            drawCore(q, back, dim, 0.93);
            drawMass(q, back, st, dim, 1, 0.0, QPointF(kMidX, 120), rng);
        }
        hideBehindBody(under, true);
        behind.drawImage(0, 0, under);
    }
    drawCap(p, c, 70 - 1.3 * v.volume, 0.8 * v.volume, v.seed);
    std::vector<Guides> sheets;
    for (auto guides : sides) {
        // The inner edge stands off the cheek by about a curl, so the curls there, not the face's
        // clear zone, give the edge its shape.
        for (QPointF& q : guides.front()) {
            const double off = 0.8 * st.r * smoothstep(165, 185, q.y()) * (1.0 - smoothstep(275, 300, q.y()));
            q.rx() += q.x() < kMidX ? -off : off;
        }
        sheets.emplace_back(guides);
    }
    QImage mass = newLayer(kCanvasW, kCanvasH);
    {
        QPainter q;
        beginPainter(q, mass);
        drawCore(q, sheets, c, 0.9);
        drawMass(q, sheets, st, c, 3, 0.0, QPointF(v.part, 74), rng);
        // Small curls spilling over the hairline from the parting to the temples: a soft edge.
        CurlStyle edge = st;
        edge.r *= 0.75;
        edge.reach = 0.45;
        edge.across = 0.12;
        edge.inward = 1.6;
        edge.spread = 1.3;
        drawMass(q, sheets, edge, c, 1, 0.0, QPointF(v.part, 74), rng);
    }
    standOffTheOutline(mass, st, c, rng);
    p.drawImage(0, 0, mass);
}

void drawCurlyFringe(QPainter& p, const HairVariant& v, const std::vector<Polyline>& guides) {
    const HairPalette& c = hairPalette(v.palette);
    CurlStyle st = styleOf(v);
    st.r *= 0.85;  // the curls are a little smaller where the hair is shorter
    st.dangle = 3.0;
    Rng rng(v.seed * 131 + 11);
    const Guides whole(guides);
    if (v.bangs != Bangs::Wispy) {
        // Solid from the roots to most of its length, so nothing shows between its curls.
        constexpr double kFrom = 0.2;  // where the fringe's own curls begin
        drawFringeCore(p, whole, c, kFrom, 0.85, static_cast<uint32_t>(v.seed));
        drawMass(p, {whole}, st, c, 2, kFrom, QPointF(v.part, 60), rng);
        return;
    }
    // A few curly pieces hanging from the hairline with the forehead between them: each a narrow
    // sheet of the fringe, rooted under the mass, of its own length.
    std::vector<Guides> pieces;
    for (const double at : {0.27, 0.5, 0.73}) {
        const double mid = at + rng.symmetric(0.04), half = rng.range(0.07, 0.09),
                     end = rng.range(0.72, 0.88);
        std::vector<Polyline> sides(2);
        for (int k = 0; k <= 8; ++k) {
            const double u = end * k / 8, spread = half * (1.0 - 0.35 * k / 8);
            sides[0].push_back(whole.at(u, mid - spread));
            sides[1].push_back(whole.at(u, mid + spread));
        }
        pieces.emplace_back(sides);
    }
    st.reach = 1.0;
    st.spread = 1.1;
    st.inward = 0.3;
    drawCore(p, pieces, c, 0.8);
    drawMass(p, pieces, st, c, 2, 0.0, QPointF(v.part, 60), rng);
}

}  // namespace installdata
