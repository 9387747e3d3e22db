#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

#include "UpdoArt.h"

namespace installdata {

namespace {

struct Vec3 {
    double x, y, z;
};
Vec3 operator*(double k, Vec3 a) { return {k * a.x, k * a.y, k * a.z}; }
Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
double dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
Vec3 unit(Vec3 a) { return (1.0 / std::sqrt(dot(a, a))) * a; }

// Light from the upper left and in front (x right, y down, z toward the viewer).
const Vec3 kLight = unit({-0.5, -0.65, 0.6});

// The ball under a bun's locks, round and lit from the upper left, its far side `deep` of the way
// from the hair's dark tone to black.
void fillBunBall(QPainter& p, QPointF centre, double rx, double ry, const HairPalette& c, double deep) {
    QRadialGradient g(centre + QPointF(-0.3 * rx, -0.35 * ry), 1.4 * rx);
    g.setColorAt(0.0, c.base);
    g.setColorAt(1.0, mix(c.dark, QColor(0, 0, 0), deep));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(centre, rx * 0.97, ry * 0.97);
}

// One lock wound round the ball: a band about the great circle with axis `n`, seen from the front.
struct Lock {
    Vec3 u, w, n;        // the circle's plane (u, w) and its axis
    double start, span;  // where on the circle the lock shows, radians
    double halfWidth;    // of the band, as an angle off the circle
};

Lock randomLock(Rng& rng) {
    // Wound round the bun every which way, mostly about its upright axis (leaning up to ~65 degrees).
    const double tilt = rng.symmetric(1.15), turn = rng.range(0, 2 * kPi);
    const Vec3 n = unit({std::sin(tilt) * std::cos(turn), -std::cos(tilt), std::sin(tilt) * std::sin(turn)});
    const Vec3 u = unit(cross(n, {0.3, 0.1, 1.0}));
    return {u, cross(n, u), n, rng.range(0, 2 * kPi), rng.range(2.0, 3.6), rng.range(0.2, 0.34)};
}

// Strands of the lock, each shaded by the ball's normal where it runs; the part of the circle
// facing away from the viewer is skipped.
void drawLock(QPainter& p, const Lock& lk, QPointF centre, double rx, double ry, const HairPalette& c,
              Rng& rng) {
    const QColor deep = mix(c.dark, QColor(0, 0, 0), 0.4), hi = mix(c.light, c.sheen, 0.45);
    auto project = [&](Vec3 q) { return centre + QPointF(q.x * rx, q.y * ry); };
    auto onBall = [&](double t, double d) {
        return std::cos(d) * (std::cos(t) * lk.u + std::sin(t) * lk.w) + std::sin(d) * lk.n;
    };
    // The lock's shadow on what lies under it.
    Polyline edge;
    for (int i = 0; i <= 24; ++i) {
        const Vec3 q = onBall(lk.start + lk.span * i / 24, lk.halfWidth * 1.2);
        if (q.z > 0) edge.push_back(project(q));
    }
    if (edge.size() > 2) fillRibbon(p, edge, 0.14 * rx, 0.14 * rx, withAlpha(deep, 150), 0.2, 0.2);
    const int strands = 12;
    for (int s = 0; s < strands; ++s) {
        const double d = lk.halfWidth * (2.0 * (s + rng.uniform()) / strands - 1.0);
        const double t0 = lk.start + rng.range(0, 0.3), t1 = lk.start + lk.span - rng.range(0, 0.3);
        Polyline piece;
        double litSum = 0;
        for (int i = 0; i <= 30; ++i) {
            const Vec3 q = onBall(t0 + (t1 - t0) * i / 30, d);
            if (q.z < 0.05) {
                piece.clear();
                litSum = 0;
                continue;
            }
            piece.push_back(project(q));
            litSum += std::clamp(0.2 + 1.05 * dot(q, kLight), 0.0, 1.0);  // wrapped: soft terminator
            if (piece.size() < 5 && i < 30) continue;
            // Strands at the band's edges dip into the neighbouring locks: darker.
            const double lit = litSum / piece.size() * (1.0 - 0.75 * std::pow(std::abs(d) / lk.halfWidth, 2));
            QColor col = lit > 0.55 ? mix(c.base, hi, (lit - 0.55) * 2.2) : mix(deep, c.base, lit / 0.55);
            if (lit > 0.72) col = mix(col, c.sheen, std::min(0.85, (lit - 0.72) * 3.0 * rng.range(0.5, 1.0)));
            fillRibbon(p, piece, 1.3, 1.3, withAlpha(col, static_cast<int>(rng.range(170, 250))));
            piece = {piece.back()};
            litSum = 0;
        }
    }
}

// One wrap of the twisted rope of hair a bun is wound from: a band about the circle at latitude
// `lat` round the axis n (its top tipped toward the viewer, who looks up at the bun, so its front
// arcs bow up), over `span` radians from `start`, `halfWidth` wide in latitude. Its strands twist
// across the band as a rope's do, `twist` widths per radian, and a tucked end narrows to under
// half its width over its last `taper` radians.
struct BunLock {
    Vec3 u, w, n;
    double lat, start, span, halfWidth, twist, taper;
};

// The frame of a wrap about the axis leaning `roll` to the right and tipped `tip` toward the viewer.
BunLock randomBunLock(Rng& rng, double lat, double tip, double roll, double twist) {
    const Vec3 n = unit({std::sin(roll), -std::cos(tip), std::sin(tip)});
    const Vec3 u = unit({n.y, -n.x, 0});  // level, across the viewer
    const Vec3 w = cross(n, u);
    // Round the front, where the wrap is seen, its ends toward the back.
    const double span = rng.range(4.2, 5.9), front = std::atan2(w.z, u.z);
    return {u, w, n, lat, front - span / 2 + rng.symmetric(0.5), span, rng.range(0.09, 0.25), twist, 0.0};
}

// The point of the ball `t` radians round the wrap's circle and `d` off it in latitude.
Vec3 onWrap(const BunLock& lk, double t, double d) {
    return std::cos(d) * (std::cos(t) * lk.u + std::sin(t) * lk.w) + std::sin(d) * lk.n;
}

// The wrap's half-width at t: full along it, narrowing into the tuck at a tucked end.
double wrapHalfWidth(const BunLock& lk, double t) {
    const double left = lk.start + lk.span - t;
    return lk.taper > 0 ? lk.halfWidth * std::clamp(left / lk.taper, 0.45, 1.0) : lk.halfWidth;
}

// The wrap's strands, each lit by the bun's roundness where it runs and darker toward the band's
// edges, where the rope turns under; a strand twisting past an edge goes under and comes up at the
// other. Under the strands, a soft shade on what the wrap lies over, so the gaps between wraps
// read dark. The back of the ball is skipped.
void drawBunLock(QPainter& p, const BunLock& lk, QPointF centre, double rx, double ry, const HairPalette& c,
                 Rng& rng) {
    const QColor deep = mix(c.dark, QColor(0, 0, 0), 0.5), hi = mix(c.light, c.sheen, 0.4);
    auto project = [&](Vec3 q) { return centre + QPointF(q.x * rx, q.y * ry); };
    Polyline shade;
    for (int i = 0; i <= 30; ++i) {
        const double t = lk.start + lk.span * i / 30;
        const Vec3 q = onWrap(lk, t, lk.lat + 0.15 * wrapHalfWidth(lk, t));
        if (q.z > 0.05) shade.push_back(project(q));
    }
    const double shadeW = 2.5 * lk.halfWidth * ry;
    if (shade.size() > 2) fillRibbon(p, shade, shadeW, shadeW, withAlpha(deep, 110), 0.15, 0.3);
    const int strands = 14 + static_cast<int>(lk.halfWidth * 40);
    for (int s = 0; s < strands; ++s) {
        const double off0 = (s + rng.uniform()) / strands, tone = rng.symmetric(0.1),
                     w = rng.range(0.6, 1.05);
        const double t0 = lk.start + rng.range(0, 0.3), t1 = lk.start + lk.span - rng.range(0, 0.2);
        Polyline piece;
        double lastOff = off0;
        for (int i = 0; i <= 44; ++i) {
            const double t = t0 + (t1 - t0) * i / 44, turn = off0 + lk.twist * (t - lk.start);
            const double off = 2.0 * (turn - std::floor(turn)) - 1.0;  // -1 .. 1 across the band
            if (std::abs(off - lastOff) > 1.0) piece.clear();          // under, and up at the other edge
            lastOff = off;
            const Vec3 q = onWrap(lk, t, lk.lat + wrapHalfWidth(lk, t) * off);
            if (q.z < 0.05) {
                piece.clear();
                continue;
            }
            piece.push_back(project(q));
            if (piece.size() < 5 && i < 44) continue;
            const double round = std::clamp(0.15 + 0.95 * dot(q, kLight), 0.0, 1.0);
            const double lit = std::clamp(round * (1.0 - 0.5 * off * off) + tone, 0.0, 1.0);
            const QColor col = lit > 0.5 ? mix(c.base, hi, (lit - 0.5) * 2) : mix(deep, c.base, lit / 0.5);
            fillRibbon(p, piece, w, w, withAlpha(col, static_cast<int>(rng.range(180, 245))));
            piece = {piece.back()};
        }
    }
}

// A single strand come loose from the rope, lying across the wraps in a long, shallow arc.
void drawLooseStrand(QPainter& p, const BunLock& lk, QPointF centre, double rx, double ry,
                     const HairPalette& c, Rng& rng) {
    Polyline strand;
    const double bow = rng.symmetric(0.25);
    for (int i = 0; i <= 20; ++i) {
        const double f = i / 20.0;
        const Vec3 q = onWrap(lk, lk.start + lk.span * f, lk.lat + bow * std::sin(kPi * f));
        if (q.z < 0.1) break;
        strand.push_back(centre + QPointF(q.x * rx, q.y * ry));
    }
    if (strand.size() < 6) return;
    const double lit =
        std::clamp(0.25 + 0.9 * dot(onWrap(lk, lk.start + lk.span / 2, lk.lat), kLight), 0.0, 1.0);
    fillRibbon(p, strand, 0.75, 0.45, withAlpha(mix(c.dark, mix(c.light, c.sheen, 0.3), lit), 200), 0.2, 0.4);
}

// The rope's last wraps cross over the top of the coil about axes of their own, at angles to each
// other, so the top is not a whorl; the very end is tucked under at the front, into its own shade.
void crossTheTop(QPainter& p, const BunLock& coil, QPointF centre, double rx, double ry, const HairPalette& c,
                 Rng& rng) {
    const int over = 1;
    const double first = rng.range(0, kPi);
    for (int k = 0; k < over; ++k) {
        const double a = first + kPi * k / over + rng.symmetric(0.25);
        // Tipped well off the coil's axis but not square to it, and only one: two square across
        // each other make a cross on the top, a hot-cross bun rather than a rope wound on.
        const double off = rng.range(1.05, 1.3);
        BunLock lk = coil;
        lk.n = unit(std::cos(off) * coil.n + std::sin(off) * (std::cos(a) * coil.u + std::sin(a) * coil.w));
        lk.u = unit(coil.n + (-dot(coil.n, lk.n)) * lk.n);  // over the top of the coil
        lk.w = cross(lk.n, lk.u);
        if (lk.w.z < 0) lk.w = -1.0 * lk.w;  // t rises from behind the top toward the viewer
        lk.lat = rng.symmetric(0.3), lk.halfWidth = rng.range(0.12, 0.21);
        lk.start = -rng.range(0.9, 1.4);
        lk.span = (k + 1 < over ? rng.range(0.9, 1.6) : rng.range(0.5, 1.0)) - lk.start;
        if (k + 1 == over) {
            lk.taper = 0.4;
            const Vec3 end = onWrap(lk, lk.start + lk.span, lk.lat);
            if (end.z > 0)
                softEllipse(p, centre + QPointF(end.x * rx, end.y * ry), 0.15 * rx, 0.1 * ry,
                            withAlpha(QColor(0, 0, 0), 170));
        }
        drawBunLock(p, lk, centre, rx, ry, c, rng);
    }
}

}  // namespace

void drawWoundBun(QPainter& p, QPointF centre, double rx, double ry, const HairPalette& c, uint64_t seed) {
    Rng rng(seed);
    // Where it sits on the head: a dark, soft crescent under the lower rim.
    softEllipse(p, centre + QPointF(0.06 * rx, 0.7 * ry), 1.1 * rx, 0.55 * ry, withAlpha(c.dark, 210));
    softEllipse(p, centre + QPointF(0.1 * rx, 0.45 * ry), 1.15 * rx, 0.75 * ry,
                withAlpha(QColor(0, 0, 0), 90));
    fillBunBall(p, centre, rx, ry, c, 0.35);
    const double r = 0.97;  // locks lie on the ball's surface
    for (int k = 0; k < 15; ++k) drawLock(p, randomLock(rng), centre, rx * r, ry * r, c, rng);
    // Single strands wandering off the rim, so the outline is not a clean ellipse.
    for (int k = 0; k < 10; ++k) {
        const double a = rng.range(0, 2 * kPi), span = rng.range(0.4, 0.9);
        Polyline strand;
        for (int i = 0; i <= 10; ++i) {
            const double t = a + span * i / 10, out = 1.0 + 0.06 * std::sin(kPi * i / 10);
            strand.push_back(centre + QPointF(std::cos(t) * rx * out, std::sin(t) * ry * out));
        }
        fillRibbon(p, strand, 0.8, 0.4, withAlpha(strandColour(rng, c), 160), 0.2, 0.3);
    }
    // The whole bun is round: turning into shade at the lower right rim.
    QRadialGradient ball(centre + QPointF(-0.35 * rx, -0.4 * ry), 1.55 * rx);
    ball.setColorAt(0.0, withAlpha(c.sheen, 40));
    ball.setColorAt(0.4, withAlpha(c.light, 0));
    ball.setColorAt(0.8, withAlpha(QColor(0, 0, 0), 30));
    ball.setColorAt(1.0, withAlpha(QColor(0, 0, 0), 130));
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    QPainterPath rim;
    rim.addEllipse(centre, rx * 1.08, ry * 1.08);
    p.setClipPath(rim);
    p.setBrush(ball);
    p.drawEllipse(centre, rx * 1.08, ry * 1.08);
    p.restore();
}

void windBunLocks(QPainter& p, QPointF centre, double rx, double ry, const HairPalette& c, Rng& rng) {
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    fillBunBall(p, centre, rx, ry, c, 0.4);
    const double r = 0.97;  // the wraps lie on the ball's surface
    // This bun's own coil: how its axis leans and tips, and which way its rope is twisted.
    const double tip = rng.range(0.5, 0.72), roll = rng.symmetric(0.22);
    const double twist = (rng.uniform() < 0.5 ? -1.0 : 1.0) * rng.range(0.25, 0.45);
    // The rope wound from the bottom up, each wrap of its own width lying over the one below it,
    // a little apart from it here and overlapping it there; the last ones lean off the axis.
    double lat = -1.0;
    while (lat < 1.3) {
        const double lean = lat > 0.5 ? rng.symmetric(0.25) : rng.symmetric(0.1);
        BunLock lk = randomBunLock(rng, 0, tip + rng.symmetric(0.08), roll + lean, twist);
        lk.lat = lat + lk.halfWidth;
        lat += 2 * lk.halfWidth + rng.range(-0.06, 0.05);
        drawBunLock(p, lk, centre, rx * r, ry * r, c, rng);
    }
    crossTheTop(p, randomBunLock(rng, 0, tip, roll, twist), centre, rx * r, ry * r, c, rng);
    // A few strands come loose from the rope and lie across it.
    const int loose = 2 + static_cast<int>(rng.uniform() * 3);
    for (int k = 0; k < loose; ++k) {
        BunLock lk = randomBunLock(rng, rng.range(-0.6, 0.9), tip + rng.symmetric(0.3),
                                   roll + rng.symmetric(0.35), twist);
        const double span = rng.range(1.0, 2.0);
        lk.start += (lk.span - span) / 2, lk.span = span;  // still round the front
        drawLooseStrand(p, lk, centre, rx * r, ry * r, c, rng);
    }
    // Round: lit at the upper left, shaded toward the lower right and darkest underneath.
    QRadialGradient ball(centre + QPointF(-0.35 * rx, -0.45 * ry), 1.6 * rx);
    ball.setColorAt(0.0, withAlpha(c.sheen, 60));
    ball.setColorAt(0.35, withAlpha(c.light, 0));
    ball.setColorAt(0.75, withAlpha(QColor(0, 0, 0), 40));
    ball.setColorAt(1.0, withAlpha(QColor(0, 0, 0), 150));
    QLinearGradient under(0, centre.y() + 0.2 * ry, 0, centre.y() + ry);
    under.setColorAt(0.0, withAlpha(QColor(0, 0, 0), 0));
    under.setColorAt(1.0, withAlpha(QColor(0, 0, 0), 110));
    QPainterPath rim;
    rim.addEllipse(centre, rx * 1.02, ry * 1.02);
    p.setClipPath(rim);
    p.fillPath(rim, ball);
    p.fillPath(rim, under);
    p.restore();
}

void drawCoiledBun(QPainter& p, QPointF centre, double rx, double ry, const HairPalette& c, uint64_t seed) {
    drawWoundBun(p, centre, rx, ry, c, seed);
    Rng rng(seed + 1);
    windBunLocks(p, centre, rx, ry, c, rng);
}

}  // namespace installdata
