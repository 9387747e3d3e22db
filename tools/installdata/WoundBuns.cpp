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

// One lock wound round the bun: strands about the circle at latitude `lat` round the axis n (its top
// tipped toward the viewer, who looks up at the bun, so its front arcs bow up), over `span` radians from
// `start`, `halfWidth` wide in latitude.
struct BunLock {
    Vec3 u, w, n;
    double lat, start, span, halfWidth;
};

BunLock randomBunLock(Rng& rng, double lat) {
    // The coil winds about an axis leaning a little to the right, each lock a little off it.
    const double tip = rng.range(0.5, 0.72), roll = 0.15 + rng.symmetric(0.1);
    const Vec3 n = unit({std::sin(roll), -std::cos(tip), std::sin(tip)});
    const Vec3 u = unit({n.y, -n.x, 0});  // level, across the viewer
    const Vec3 w{n.y * u.z - n.z * u.y, n.z * u.x - n.x * u.z, n.x * u.y - n.y * u.x};
    return {u, w, n, lat, rng.range(0, 2 * kPi), rng.range(3.5, 5.8), rng.range(0.12, 0.2)};
}

// The lock's strands, each lit by the bun's roundness where it runs and darker at the lock's edges,
// where it dips under its neighbours; the back of the circle is skipped.
void drawBunLock(QPainter& p, const BunLock& lk, QPointF centre, double rx, double ry, const HairPalette& c,
                 Rng& rng) {
    const QColor deep = mix(c.dark, QColor(0, 0, 0), 0.45), hi = mix(c.light, c.sheen, 0.4);
    for (int s = 0; s < 18; ++s) {
        const double off = (2.0 * (s + rng.uniform()) / 18 - 1.0), d0 = lk.lat + lk.halfWidth * off;
        const double tone = rng.symmetric(0.12), w = rng.range(0.7, 1.1);
        const double t0 = lk.start + rng.range(0, 0.4), t1 = lk.start + lk.span - rng.range(0, 0.4);
        Polyline piece;
        for (int i = 0; i <= 40; ++i) {
            // Each lock climbs as it winds, so the turns run into one another as a coil does.
            const double t = t0 + (t1 - t0) * i / 40, d = d0 + 0.05 * (t - lk.start);
            const Vec3 q{std::cos(d) * (std::cos(t) * lk.u.x + std::sin(t) * lk.w.x) + std::sin(d) * lk.n.x,
                         std::cos(d) * (std::cos(t) * lk.u.y + std::sin(t) * lk.w.y) + std::sin(d) * lk.n.y,
                         std::cos(d) * (std::cos(t) * lk.u.z + std::sin(t) * lk.w.z) + std::sin(d) * lk.n.z};
            if (q.z < 0.05) {
                piece.clear();
                continue;
            }
            piece.push_back(centre + QPointF(q.x * rx, q.y * ry));
            if (piece.size() < 5 && i < 40) continue;
            const double round = std::clamp(0.15 + 0.95 * dot(q, kLight), 0.0, 1.0);
            const double lit = std::clamp(round * (1.0 - 0.6 * off * off) + tone, 0.0, 1.0);
            const QColor col = lit > 0.5 ? mix(c.base, hi, (lit - 0.5) * 2) : mix(deep, c.base, lit / 0.5);
            fillRibbon(p, piece, w, w, withAlpha(col, static_cast<int>(rng.range(170, 240))));
            piece = {piece.back()};
        }
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
    // Locks wound round from the bottom to the top, each lying over the one below it.
    // The last turns are small circles round the top, where the coil ends.
    for (int k = 0; k < 28; ++k) {
        const double lat = -0.95 + 2.35 * (k + rng.range(0.2, 0.8)) / 28;
        drawBunLock(p, randomBunLock(rng, lat), centre, rx * 0.97, ry * 0.97, c, rng);
    }
    // Round: lit at the upper left, shaded toward the lower right and darkest underneath.
    QRadialGradient ball(centre + QPointF(-0.35 * rx, -0.45 * ry), 1.6 * rx);
    ball.setColorAt(0.0, withAlpha(c.sheen, 45));
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
