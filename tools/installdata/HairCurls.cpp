#include <algorithm>
#include <cmath>
#include <span>

#include "CurlStrands.h"
#include "Geometry.h"
#include "HairEngine.h"
#include "HairGuides.h"
#include "RingletLayout.h"

// Medium and long curls: spiral locks gathered in clumps that sway, wind and catch the light
// together, lying side by side and over each other in rows, deeper rows darker; tight and small
// near the roots, opening out toward the ends, with a few single curls and frizzy hairs breaking
// the outline. Over soft waves from the roots and a dark core.
namespace installdata {

namespace {

// A few fine hairs curling off the edges of a lock: the soft, frizzy rim of curly hair.
void drawFrizz(QPainter& p, const RingletLock& lk, double grow, const HairPalette& c, Rng& rng) {
    const double total = lk.axis.length();
    const int count = static_cast<int>(total / lk.pitch * (1.4 - 1.6 * lk.dim));
    for (int k = 0; k < count; ++k) {
        const double d = rng.range(0.1, 1.0) * total;
        QPointF pos, tan;
        lk.axis.at(d, pos, tan);
        const double side = rng.uniform() < 0.5 ? 1.0 : -1.0, r = coilRadius(lk, d, grow);
        const QPointF out = QPointF(-tan.y(), tan.x()) * side;
        const QPointF root = pos + out * (0.8 * r);
        const double rr = rng.range(1.5, 4.0), a0 = std::atan2(-out.y(), -out.x()),
                     span = rng.range(2.5, 5.0) * (rng.uniform() < 0.5 ? 1 : -1);
        const QPointF centre = root + out * rr;
        Polyline pts;
        for (int i = 0; i <= 10; ++i) {
            const double a = a0 + span * i / 10, grow2 = 1.0 + 0.5 * i / 10;
            pts.push_back(centre + QPointF(std::cos(a), std::sin(a)) * (rr * grow2));
        }
        const QColor col = mix(c.base, c.light, rng.uniform());
        fillRibbon(p, pts, 0.6, 0.3, withAlpha(col, static_cast<int>(rng.range(40, 110))), 0.0, 0.3);
    }
}

// The box a lock's turns reach into, with room for the blur.
QRectF lockBox(const RingletLock& lk, double grow) {
    QRectF box;
    for (const QPointF& q : lk.axis.pts) box |= QRectF(q, QSizeF(1, 1));
    const double reach = lk.radius * (2.0 + 0.6 * grow) + 5;
    return box.adjusted(-reach, -reach, reach, reach);
}

// Locks painted together on scratch layers over `box`: the bodies and bands softened a little, the
// fibres and glints over them crisp. The front locks (one at a time) cast a soft shadow on the hair
// behind them, down and to the right; the locks deep in the mass are painted all in one go.
void drawLocks(QPainter& p, std::span<const RingletLock> locks, const Sweep& s, const HairPalette& c,
               Rng& rng) {
    QRectF box;
    for (const RingletLock& lk : locks) box |= lockBox(lk, s.curlGrow);
    const QPoint at(static_cast<int>(std::floor(box.left())), static_cast<int>(std::floor(box.top())));
    QImage soft = newLayer(static_cast<int>(box.width()) + 2, static_cast<int>(box.height()) + 2),
           fine = newLayer(soft.width(), soft.height());
    QPainter q, f;
    beginPainter(q, soft);
    beginPainter(f, fine);
    q.translate(-at);
    f.translate(-at);
    for (const RingletLock& lk : locks) paintLock(q, f, lk, s.curlGrow, c, rng);
    q.end();
    f.end();
    if (locks.size() == 1 && locks[0].dim < 0.3) drawHalfSizeShadow(p, soft, at + QPoint(2, 3), 110);
    blurLayer(soft, 1);
    p.drawImage(at, soft);
    p.drawImage(at, fine);
    for (const RingletLock& lk : locks) drawFrizz(p, lk, s.curlGrow, c, rng);
}

}  // namespace

void drawRingletSheet(QPainter& p, const Sweep& s, const HairPalette& c) {
    const Guides g(s.guides);
    Rng rng(s.seed * 7919 + 41);
    // Dark and dense inside the mass: the core lies under everything.
    if (s.mass) {
        Sweep core = s;
        core.curlAmp = 0;
        core.strandsPerLock = 0;
        core.flyaways = 0;
        core.massInset = 0.1;
        core.lengthJitter = 0.25;  // ends well above the locks' tips, so none hangs blunt below them
        const HairPalette deep{mix(c.dark, QColor(0, 0, 0), 0.4), mix(c.dark, QColor(0, 0, 0), 0.2), c.dark,
                               c.base};
        drawSweep(p, core, deep);
    }
    // From the roots down to where the locks take over the hair already waves: soft, loosely
    // gathered waves, barely there at the parting and deepening toward the ear line, with the
    // light broken on their crests rather than running along the strands.
    // Its locks end at staggered heights, the longest reaching well in among the curls' roots, and
    // their waves deepen toward the ends into the size of the first turns, so the top loosens into
    // the curls instead of stopping at one line above them.
    Sweep top = s;
    const double cut = std::min(1.0, s.curlStart + 0.26), shortest = std::max(0.12, s.curlStart - 0.1);
    top.curlAmp = 1.6;  // soft waves: no dark backs of turns blotching the crown
    top.loop = 0.15;
    // A wave about as long as the curls' first turns, barely there at the parting and as deep as
    // those turns where the longest strands end.
    top.curlWaves = std::max(1.0, lengthAlong(g, 0.5) * cut / (4.5 * s.curlAmp));
    top.curlStart = 0.0;
    top.curlGrow = 4.0;
    top.phaseStep = 0.45;
    top.phaseJitter = 2.0;
    top.clump = 0.4;
    top.width = 1.3;
    top.locks = std::max(6, s.locks * 2 / 3);
    top.strandsPerLock = 15;
    top.sheenAt = 0.08;
    top.mass = false;
    top.flyaways = 0;
    top.lengthJitter = std::max(0.02, (cut - shortest) / cut);
    for (size_t i = 0; i < top.guides.size(); ++i) {
        const int n = std::max(3, static_cast<int>(cut * (kGuideSamples - 1)));
        top.guides[i] = Polyline(g.lines[i].begin(), g.lines[i].begin() + n);
    }
    // Curly hair never lies sleek enough for a combed gloss band: the crown's sheen is soft.
    HairPalette matte = c;
    matte.sheen = mix(c.base, c.light, 0.7);
    drawSweep(p, top, matte);
    const std::vector<RingletLock> locks = makeRinglets(s, g, rng);
    const size_t deep = static_cast<size_t>(
        std::count_if(locks.begin(), locks.end(), [](const RingletLock& lk) { return lk.dim >= 0.3; }));
    if (deep > 0) drawLocks(p, std::span(locks).first(deep), s, c, rng);
    for (size_t i = deep; i < locks.size(); ++i) drawLocks(p, std::span(locks).subspan(i, 1), s, c, rng);
    // The top's lower lengths turn into the first ringlets, rooted among its ends and over the
    // rows' upper turns.
    Rng first(s.seed * 3266489917u + 7);
    const double wave = lengthAlong(g, 0.5) * cut / top.curlWaves;
    const double rowsFrom = std::max(0.08, s.curlStart - 0.12);
    for (const RingletLock& lk :
         makeFirstRinglets(s, g, std::max(0.06, rowsFrom - 0.08), rowsFrom + 0.06, wave))
        drawLocks(p, std::span(&lk, 1), s, c, first);
}

}  // namespace installdata
