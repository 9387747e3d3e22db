#include <QLinearGradient>
#include <algorithm>
#include <cmath>
#include <functional>
#include <span>

#include "HairEngine.h"
#include "HairGuides.h"

// Ringlets: fat spiral locks lying side by side and over each other. Each lock is a dark body
// (the inside and the back of its coil) with one broad band per turn in front, lit as a tube from
// the upper left; fine fibres run along the bands and a few frizzy hairs stand off the edges.
namespace installdata {

namespace {

constexpr double kPi = 3.14159265358979323846;

// A lock's axis sampled by arc length: position and unit tangent at any distance from its start.
struct Axis {
    Polyline pts;
    std::vector<double> arc;
    double length() const { return arc.back(); }
    void at(double d, QPointF& pos, QPointF& tan) const {
        const size_t n = pts.size();
        const size_t i =
            std::clamp<size_t>(std::lower_bound(arc.begin(), arc.end(), d) - arc.begin(), 1, n - 1);
        const double k = std::clamp((d - arc[i - 1]) / std::max(1e-6, arc[i] - arc[i - 1]), 0.0, 1.0);
        pos = lerp(pts[i - 1], pts[i], k);
        const QPointF dd = pts[std::min(i + 1, n - 1)] - pts[i - 1];
        tan = dd / std::max(1e-6, std::hypot(dd.x(), dd.y()));
    }
};

// Most locks are tight coils; some are stretched corkscrews turned so the spiral is seen from the
// side (the back of each turn shows between the fronts), a few are loose S-curls.
enum class LockKind { Coil, Open, Wave };

struct RingletLock {
    Axis axis;
    double radius, pitch, tone;
    double dim;         // 0 a lock in front .. 1 deep inside the mass: darker and less defined
    int hand;           // which way the coil winds: 1 or -1
    double startPhase;  // where along its turn the first band sits
    double tilt;        // px the turns lean along the lock from one edge to the other
    double splitAt;     // fraction of the length where a thinner lock leaves it (1: none)
    LockKind kind = LockKind::Coil;
};

// The sheet's widest span across, over the curled part.
double sheetWidth(const Guides& g, double from) {
    double w = 0;
    for (int i = 0; i <= 10; ++i) {
        const double u = from + (1.0 - from) * i / 10.0;
        const QPointF d = g.at(u, 1.0) - g.at(u, 0.0);
        w = std::max(w, std::hypot(d.x(), d.y()));
    }
    return w;
}

double lengthAlong(const Guides& g, double t) {
    double px = 0;
    for (int i = 0; i < 20; ++i) {
        const QPointF d = g.at((i + 1) / 20.0, t) - g.at(i / 20.0, t);
        px += std::hypot(d.x(), d.y());
    }
    return px;
}

// How a lock hangs between two heights of the sheet at t: drifting sideways, fanning outward
// toward the ends, an S-curl swinging from side to side; it may leave from `join`, the point
// where it splits off another lock.
struct AxisShape {
    double t, start, end, drift, freq, fan, swing = 0, swingLen = 1;
    double root = -1;  // where the sway and the fan are measured from; -1: the start
    const QPointF* join = nullptr;
};

Axis buildAxis(const Guides& g, const AxisShape& a) {
    Axis axis;
    for (int k = 0; k <= 80; ++k) {
        const double from = a.root < 0 ? a.start : a.root;
        const double u = a.start + (a.end - a.start) * k / 80.0, along = (u - from) / (1.0 - from);
        QPointF q = g.at(u, a.t);
        const QPointF d = g.at(std::min(1.0, u + 0.01), a.t) - g.at(std::max(0.0, u - 0.01), a.t);
        const double len = std::max(1e-6, std::hypot(d.x(), d.y()));
        const QPointF across = g.at(u, 1.0) - g.at(u, 0.0), nrm(-d.y() / len, d.x() / len);
        q += nrm * (a.drift * std::sin(a.freq * kPi * along)) +
             across / std::max(1e-6, std::hypot(across.x(), across.y())) * (a.fan * along * along);
        if (a.swing > 0) q += nrm * (a.swing * smoothstep(0.0, 0.2, along) * std::sin(kPi * k / a.swingLen));
        if (a.join) q = lerp(*a.join, q, smoothstep(0.0, 0.35, k / 80.0));
        axis.arc.push_back(k == 0 ? 0.0
                                  : axis.arc.back() +
                                        std::hypot(q.x() - axis.pts.back().x(), q.y() - axis.pts.back().y()));
        axis.pts.push_back(q);
    }
    return axis;
}

std::vector<RingletLock> makeRinglets(const Sweep& s, const Guides& g, Rng& rng) {
    // Short hair curls in smaller, tighter coils, three rows deep.
    const double pxLength = lengthAlong(g, 0.5), fine = 1.0 - smoothstep(300.0, 345.0, pxLength);
    const double r0 = 1.3 * s.curlAmp * (1.0 - 0.38 * fine);
    // Half a wave of the table's curl per turn: the coils are as tight as the strands would wave.
    const double pitch0 = std::clamp(
        0.55 * pxLength / std::max(1.0, s.curlWaves) / std::sqrt(std::max(0.5, s.loop)) * (1.0 - 0.3 * fine),
        10.0 - 3.5 * fine, 20.0);
    const double u0 = std::max(0.0, s.curlStart - 0.04);
    const int rows = fine > 0.5 ? 3 : 2;
    // Front locks about 1.6 radii apart, so neighbours touch; the rows behind fill between them.
    const int front = std::max(1, static_cast<int>(std::lround(sheetWidth(g, u0) / (1.6 * r0))));
    std::vector<RingletLock> out;
    auto add = [&](const AxisShape& shape, double radius, double dim, LockKind kind) {
        RingletLock lk;
        lk.axis = buildAxis(g, shape);
        lk.radius = radius;
        lk.kind = kind;
        lk.pitch =
            pitch0 * rng.range(0.8, 1.25) * std::sqrt(radius / r0) * (kind == LockKind::Open ? 1.6 : 1.0);
        lk.tone = rng.symmetric(1.0);
        lk.dim = dim;
        lk.hand = rng.uniform() < 0.5 ? 1 : -1;
        lk.startPhase = rng.range(0.0, 1.0);
        lk.tilt = rng.symmetric(0.12 * lk.pitch);
        lk.splitAt = 1.0;
        out.push_back(std::move(lk));
    };
    // Above them, up toward the parting, smaller and softer curls lie on the top of the head.
    const double crownEnd = std::min(0.3, s.curlStart + 0.06);
    const int crown = std::max(2, static_cast<int>(std::lround(sheetWidth(g, 0.1) / (1.3 * r0))));
    for (int row = 0; row < 2; ++row)
        for (int i = 0; i < crown; ++i) {
            AxisShape a;
            a.t = 0.3 +
                  0.62 * std::clamp((i + 0.5 * row + 0.25) / crown + rng.symmetric(0.15 / crown), 0.0, 1.0);
            a.start = rng.range(0.03, 0.12) + 0.06 * row;
            a.end = crownEnd + rng.range(0.0, 0.08);
            a.fan = 0;
            a.drift = rng.symmetric(2.0);
            a.freq = rng.range(0.6, 1.6);
            add(a, r0 * rng.range(0.5, 0.75), row == 0 ? 0.55 : 0.4, LockKind::Coil);
        }
    for (int row = 0; row < rows; ++row) {
        const int count = row == 0 ? front + 1 : front;
        const bool frontRow = row == rows - 1;
        const double dim = frontRow ? 0.0 : row == 0 ? 0.5 : 0.25;
        for (int i = 0; i < count; ++i) {
            double t = row == 0 ? static_cast<double>(i) / std::max(1, count - 1)
                                : (i + (rows == 3 && row == 1 ? 0.25 : 0.5)) / static_cast<double>(count);
            t = std::clamp(t + rng.symmetric(0.3 / (count + 1)), 0.0, 1.0);
            if (count == 1) t = 0.5;
            // Uneven ends, locks setting in at different heights, and the outer ones fanning out
            // toward the ends so the mass grows in volume downward, lumpy along the silhouette.
            AxisShape a;
            a.t = t;
            a.end = 1.0 - (s.lengthJitter + 0.08) * rng.uniform() - s.layer * (1.0 - t) -
                    (frontRow ? rng.range(0.0, 0.08) : rng.range(0.0, 0.05));
            a.start = u0 + rng.range(0.0, 0.12);
            a.fan = (t - 0.35) * rng.range(0.25, 0.75) * r0;
            a.drift = rng.symmetric(s.wander + 0.6 * r0);
            a.freq = rng.range(0.6, 2.2);
            const double pick = rng.uniform();
            const LockKind kind = frontRow && pick < 0.12 ? LockKind::Wave
                                  : pick < 0.28           ? LockKind::Open
                                                          : LockKind::Coil;
            double radius = r0 * std::exp(rng.symmetric(0.3));
            if (kind == LockKind::Wave) {
                a.swing = radius * rng.range(0.8, 1.2);
                a.swingLen = rng.range(9.0, 14.0);
                radius *= 0.8;
            }
            if (fine > 0.5 && kind != LockKind::Wave) {
                // Short curls gather in small clusters of a few turns, stacked down the column.
                const double seg = 4.0 * pitch0 / pxLength;
                a.root = a.start;
                for (double from = a.start; from < a.end - 0.5 * seg;) {
                    AxisShape b = a;
                    b.start = from;
                    b.end = std::min(a.end, from + seg * rng.range(0.8, 1.4));
                    if (a.end - b.end < 0.6 * seg) b.end = a.end;
                    b.t = std::clamp(t + rng.symmetric(0.5 / count), 0.0, 1.0);
                    add(b, radius * rng.range(0.8, 1.15), dim, kind);
                    from = b.end - seg * rng.range(0.25, 0.45);
                }
                continue;
            }
            add(a, radius, dim, kind);
            // Some front locks split: a thinner lock leaves them part way down.
            if (frontRow && kind == LockKind::Coil && rng.uniform() < 0.22) {
                const double at = rng.range(0.35, 0.6);
                QPointF join, tan;
                out.back().axis.at(at * out.back().axis.length(), join, tan);
                out.back().splitAt = at;
                AxisShape b = a;
                b.t = std::clamp(t + rng.symmetric(1.0) / count, 0.0, 1.0);
                b.start = a.start + (a.end - a.start) * at;
                b.end = a.end - rng.range(0.0, 0.06);
                b.join = &join;
                add(b, radius * 0.62, 0.1, LockKind::Coil);
            }
        }
    }
    // A few curls escape the outline: short, small coils off the outer edge.
    const int escaped = 1 + static_cast<int>(rng.uniform() * 3);
    for (int k = 0; k < escaped; ++k) {
        AxisShape a;
        a.t = rng.range(0.85, 1.0);
        a.start = rng.range(std::max(u0 + 0.1, 0.35), 0.7);
        a.end = std::min(1.0, a.start + rng.range(0.15, 0.3));
        a.fan = rng.range(0.5, 1.0) * r0;
        a.drift = rng.symmetric(3.0);
        a.freq = rng.range(0.6, 1.6);
        add(a, r0 * rng.range(0.45, 0.65), 0.0, LockKind::Coil);
    }
    // Deepest first, then each row in a shuffled order so no side always lies on top.
    for (size_t i = out.size(); i-- > 1;) {
        const size_t j = static_cast<size_t>(rng.uniform() * (i + 1));
        std::swap(out[i], out[j]);
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const RingletLock& a, const RingletLock& b) { return a.dim > b.dim; });
    return out;
}

// Radius of the coil a distance d down its lock: it opens out from the smooth top over the first
// turns, widens toward the ends and is thinner below where a lock split off it.
double coilRadius(const RingletLock& lk, double d, double grow) {
    const double f = d / std::max(1.0, lk.axis.length());
    const double tipIn = 1.0 - 0.35 * smoothstep(0.93, 1.0, f);
    const double split = 1.0 - 0.2 * smoothstep(lk.splitAt, lk.splitAt + 0.08, f);
    const double swell = 1.0 + 0.16 * std::sin(0.8 * d / lk.pitch + 6.0 * lk.startPhase);
    return lk.radius * (0.45 + 0.55 * smoothstep(0.0, 2.2 * lk.pitch, d)) * (1.0 + 0.6 * grow * f) * tipIn *
           split * swell;
}

// The edges of a band over half a turn of the coil, from phase ph0 to ph0 + pi (-pi/2: one edge of
// the lock, in front at 0); leaning by `tilt` px from one edge to the other.
struct Band {
    Polyline mid, top, bottom;
};
constexpr int kSteps = 12;

Band bandAround(const RingletLock& lk, double dk, double r, double pitch, double thick, double sag,
                double tilt, double ph0, double shift) {
    Band b;
    for (int i = 0; i <= kSteps; ++i) {
        const double ph = ph0 + kPi * i / kSteps;
        QPointF pos, tan;
        // Seen a little from above, the front of a turn hangs in a shallow crescent.
        lk.axis.at(std::max(0.0, dk + pitch * ph / (2 * kPi) + sag * std::cos(ph) + tilt * std::sin(ph)), pos,
                   tan);
        const QPointF nrm(-tan.y(), tan.x());
        const QPointF q = pos + nrm * (lk.hand * r * std::sin(ph) + shift);
        const double h = 0.5 * thick * (0.3 + 0.7 * std::sqrt(std::abs(std::cos(ph))));
        b.mid.push_back(q);
        b.top.push_back(q - tan * h);
        b.bottom.push_back(q + tan * h);
    }
    return b;
}

QPainterPath bandPath(const Band& b) {
    Polyline outline = b.top;
    outline.insert(outline.end(), b.bottom.rbegin(), b.bottom.rend());
    return pathThrough(sampleSpline(outline, 4 * kSteps), true);
}

// One band per turn across the front of the coil, from one edge of the lock to the other and a
// half pitch down: lit on its upper left, a dark crease under it where the next turn tucks in.
// Turns high on a lock and deep in the mass are less defined: flatter light, fainter fibres.
void drawTurn(QPainter& p, QPainter& detail, const RingletLock& lk, double dk, double grow,
              const HairPalette& c, const std::function<QColor(const QColor&)>& tint, Rng& rng) {
    const double f = dk / std::max(1.0, lk.axis.length());
    const double define = (1.0 - 0.8 * lk.dim) * (0.45 + 0.55 * smoothstep(0.0, 0.5, f));
    const bool open = lk.kind == LockKind::Open;
    // Turns differ in size and sit a little off the lock's line, so its edges are uneven.
    const double shift = rng.symmetric(0.22 * lk.radius);
    const double r = coilRadius(lk, std::max(0.0, dk), grow) * rng.range(0.8, 1.15),
                 pitch = lk.pitch * (1.0 + 0.3 * grow * f);
    const double thick = rng.range(0.72, 0.88) * pitch *
                         (open                        ? 0.55
                          : lk.kind == LockKind::Wave ? 1.1
                                                      : 1.0);
    const double sag = rng.range(0.05, 0.3) * pitch, tilt = lk.tilt + rng.symmetric(0.25 * pitch);
    const QColor flat = mix(c.dark, c.base, 0.5);
    const auto soften = [&](const QColor& col) { return tint(mix(col, flat, 0.5 * (1.0 - define))); };
    if (open) {  // the back of the turn, seen between the fronts of a lock turned to the side
        const Band back = bandAround(lk, dk, 0.9 * r, pitch, 0.7 * thick, -sag, tilt, kPi / 2, shift);
        p.setPen(Qt::NoPen);
        p.setBrush(tint(mix(mix(c.dark, c.base, 0.45), QColor(0, 0, 0), 0.15)));
        p.drawPath(bandPath(back));
    }
    const Band b = bandAround(lk, dk, r, pitch, thick, sag, tilt, -kPi / 2, shift);
    const QPointF centre = b.mid[kSteps / 2];
    QLinearGradient tube(centre + QPointF(-0.9 * r, -0.9 * r), centre + QPointF(0.8 * r, 0.8 * r));
    // Turns catch the light unevenly: some bright, some turned into the shade.
    // Broad patches of the mass catch more light than others, across neighbouring locks.
    const double zone =
        0.5 + 0.5 * std::sin(centre.y() / 34.0 + centre.x() / 47.0 + 2.0 * std::sin(centre.x() / 61.0));
    const double lit = (rng.range(0.0, 0.45) + 0.2 * std::max(0.0, lk.tone)) * define * (0.35 + 0.9 * zone);
    const double shaded =
        rng.uniform() < 0.2 + 0.3 * (1.0 - define) + 0.25 * (1.0 - zone) ? rng.range(0.25, 0.6) : 0.0;
    tube.setColorAt(0.0, soften(mix(mix(c.light, c.sheen, lit), c.base, shaded)));
    tube.setColorAt(0.3, soften(mix(mix(c.base, c.light, 0.3 + lit), c.dark, shaded)));
    tube.setColorAt(0.62, soften(mix(c.dark, c.base, 0.7)));
    tube.setColorAt(1.0, tint(mix(c.dark, QColor(0, 0, 0), 0.25)));
    p.setPen(Qt::NoPen);
    p.setBrush(tube);
    p.drawPath(bandPath(b));
    // Fibres along the band, a crease under it and a glint on its upper left.
    const int fibres = define > 0.55 ? 9 : 5;  // the less defined, the fewer fibres show
    for (int k = 0; k < fibres; ++k) {
        const double off = -0.4 + 0.8 * (k + rng.uniform()) / fibres, sway = rng.symmetric(0.08);
        Polyline fibre = b.mid;
        for (size_t i = 0; i < fibre.size(); ++i)
            fibre[i] =
                lerp(b.top[i], b.bottom[i], std::clamp(0.5 + off + sway * std::sin(0.5 * i), 0.05, 0.95));
        QColor col = strandColour(rng, c);
        fillRibbon(detail, fibre, rng.range(0.4, 0.7), 0.3,
                   tint(withAlpha(col, static_cast<int>(col.alpha() * (0.35 + 0.4 * define)))), 0.15, 0.2);
    }
    fillRibbon(detail, b.bottom, 1.2, 1.2, withAlpha(mix(c.dark, QColor(0, 0, 0), 0.4), 70), 0.3, 0.3);
    if (define < 0.4 || rng.uniform() < 0.2) return;  // a broken sheen: not every turn glints
    const int g0 = 2 + static_cast<int>(rng.uniform() * 2), g1 = 6 + static_cast<int>(rng.uniform() * 3);
    Polyline glint;
    for (int i = g0; i <= g1; ++i) glint.push_back(lerp(b.top[i], b.bottom[i], 0.32));
    fillRibbon(detail, glint, std::max(1.1, 0.2 * thick), 0.8,
               withAlpha(c.sheen, static_cast<int>(rng.range(70, 150) * define)), 0.3, 0.4);
}

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

// The body (the inside of the coil, seen between the turns) and the turns of a lock: bodies and
// bands on q, fibres and glints on f.
void paintLock(QPainter& q, QPainter& f, const RingletLock& lk, const Sweep& s, const HairPalette& c,
               Rng& rng) {
    const double total = lk.axis.length(), grow = s.curlGrow;
    const double dim = std::clamp(0.9 * lk.dim + (lk.tone < 0 ? -0.3 * lk.tone : 0.0), 0.0, 0.8);
    const auto tint = [&](const QColor& col) { return withAlpha(mix(col, c.dark, dim), col.alpha()); };
    const QColor shade = mix(c.dark, QColor(0, 0, 0), 0.2 + 0.4 * lk.dim);
    for (double d = 0; d < total; d += 3) {
        QPointF a, b, tan;
        lk.axis.at(d, a, tan);
        lk.axis.at(std::min(total, d + 3), b, tan);
        q.setPen(QPen(withAlpha(shade, 240), 1.8 * coilRadius(lk, d, grow), Qt::SolidLine, Qt::RoundCap));
        q.drawLine(a, b);
    }
    for (double dk = -lk.startPhase * lk.pitch; dk < total - 0.3 * lk.pitch;) {
        drawTurn(q, f, lk, dk, grow, c, tint, rng);
        dk += lk.pitch * (1.0 + 0.3 * grow * std::max(0.0, dk) / total) * rng.range(0.85, 1.15);
    }
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
    for (const RingletLock& lk : locks) paintLock(q, f, lk, s, c, rng);
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
        const HairPalette deep{mix(c.dark, QColor(0, 0, 0), 0.4), mix(c.dark, QColor(0, 0, 0), 0.2), c.dark,
                               c.base};
        drawSweep(p, core, deep);
    }
    // From the roots down to where the locks take over the hair already waves: soft, loosely
    // gathered waves, barely there at the parting and deepening toward the ear line, with the
    // light broken on their crests rather than running along the strands.
    Sweep top = s;
    const double cut = std::min(1.0, s.curlStart + 0.12);
    top.curlAmp = std::clamp(0.4 * s.curlAmp, 3.0, 4.0);
    top.loop = 0.15;
    top.curlWaves = std::max(1.0, 0.55 * s.curlWaves * cut);
    top.curlStart = 0.0;
    top.curlGrow = 1.2;
    top.phaseStep = 0.45;
    top.phaseJitter = 2.0;
    top.clump = 0.6;
    top.width = 1.5;
    top.locks = std::max(6, s.locks * 2 / 3);
    top.strandsPerLock = 12;
    top.sheenAt = 0.08;
    top.mass = false;
    top.flyaways = 0;
    top.lengthJitter = 0.02;
    for (size_t i = 0; i < top.guides.size(); ++i) {
        const int n = std::max(3, static_cast<int>(cut * (kGuideSamples - 1)));
        top.guides[i] = Polyline(g.lines[i].begin(), g.lines[i].begin() + n);
    }
    drawSweep(p, top, c);
    const std::vector<RingletLock> locks = makeRinglets(s, g, rng);
    const size_t deep = static_cast<size_t>(
        std::count_if(locks.begin(), locks.end(), [](const RingletLock& lk) { return lk.dim >= 0.3; }));
    if (deep > 0) drawLocks(p, std::span(locks).first(deep), s, c, rng);
    for (size_t i = deep; i < locks.size(); ++i) drawLocks(p, std::span(locks).subspan(i, 1), s, c, rng);
}

}  // namespace installdata
