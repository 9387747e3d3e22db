#include "RingletLayout.h"

#include <algorithm>
#include <cmath>

#include "Geometry.h"

// Where the ringlets of a curly sheet hang: the rows of locks gathered in clumps, the strays off the
// outline, the small locks between them and over the crown, and the first curls that rise among
// the top's ends. Each lock's axis, size, pitch and tone; CurlStrands draws them.
namespace installdata {

namespace {

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

// How a lock hangs between two heights of the sheet at t: drifting sideways, fanning outward
// toward the ends, an S-curl swinging from side to side; it may leave from `join`, the point
// where it splits off another lock.
struct AxisShape {
    double t, start, end, drift, freq, fan, swing = 0, swingLen = 1;
    double root = -1;  // where the sway and the fan are measured from; -1: the start
    const QPointF* join = nullptr;
    double gather = 0, centre = 0.5;  // how far it closes in on its clump's middle at the end
};

LockAxis buildAxis(const Guides& g, const AxisShape& a) {
    LockAxis axis;
    for (int k = 0; k <= 80; ++k) {
        const double from = a.root < 0 ? a.start : a.root;
        const double u = a.start + (a.end - a.start) * k / 80.0, along = (u - from) / (1.0 - from);
        const double t = a.t + (a.centre - a.t) * a.gather * std::pow(std::max(0.0, along), 1.2);
        QPointF q = g.at(u, t);
        const QPointF d = g.at(std::min(1.0, u + 0.01), t) - g.at(std::max(0.0, u - 0.01), t);
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

// x of the hairline at the left temple at height y (canvas, top-down), the line a lock's turns
// stay outside of beside the forehead; the right temple mirrors it about the middle. It follows
// the cap's hairline down to where the face is cleared from the brows down, and that zone's edge
// below it.
double templeLineX(double y) {
    static const Polyline line{{143, 131}, {130, 145}, {126, 160}, {125, 172}, {123, 200}};
    if (y <= line.front().y()) return line.front().x();
    for (size_t i = 1; i < line.size(); ++i)
        if (y <= line[i].y())
            return lerp(line[i - 1], line[i], (y - line[i - 1].y()) / (line[i].y() - line[i - 1].y())).x();
    return line.back().x();
}

// A lock whose turns would swing in over the temple hangs beside the forehead instead: its axis is
// eased out until the turns (about one radius either side) clear the hairline. Below the brows the
// face is cleared anyway, so the push fades out there and the lock falls on as it was; without it
// the clearing cuts such a lock off square at the brows and leaves its upper part as a stub.
void keepOffTemple(LockAxis& axis, double radius) {
    constexpr double kSoft = 3.0;  // px over which the push sets in, so the axis bends, not kinks
    for (QPointF& q : axis.pts) {
        const double inward = face::kMidX - std::abs(q.x() - face::kMidX);  // as if on the left
        // Only beside the forehead: the crown above it and anything over its middle stay.
        const double weight = smoothstep(126.0, 138.0, q.y()) * (1.0 - smoothstep(178.0, 200.0, q.y())) *
                              (1.0 - smoothstep(150.0, 162.0, inward));
        if (weight <= 0) continue;
        const double over = inward + radius - templeLineX(q.y());
        if (over <= -kSoft) continue;
        const double push = weight * (over >= kSoft ? over : (over + kSoft) * (over + kSoft) / (4 * kSoft));
        q.setX(q.x() + (q.x() < face::kMidX ? -push : push));
    }
    for (size_t i = 1; i < axis.pts.size(); ++i) {
        const QPointF d = axis.pts[i] - axis.pts[i - 1];
        axis.arc[i] = axis.arc[i - 1] + std::hypot(d.x(), d.y());
    }
}

// What the rows of ringlets, the strays and the crown's curls of one sheet share while they are
// laid out: the sheet, the curl's size and springiness, and the locks so far.
struct RingletLayout {
    RingletLayout(const Sweep& sweep, const Guides& guides);
    void add(Rng& rng, const AxisShape& shape, double radius, double dim, LockKind kind);
    void addRows(Rng& rng, Rng& extra);
    void addEscaped(Rng& rng);
    void addBetween(Rng& extra);
    void addCrown(Rng& extra);

    const Sweep& s;
    const Guides& g;
    double pxLength, fine, r0, u0, lazy, springy;
    int rows, front;
    std::vector<RingletLock> out;

  private:
    // Neighbouring locks gather in clumps of one to three that sway, wind and catch the light
    // together and close in on each other toward the ends; gaps open between the clumps.
    struct Clump {
        int left = 0;
        double drift = 0, freq = 1, phase = 0, tone = 0, centre = 0.5, tilt = 0, pitch = 1, end = 0;
    };
    void nextClump(Clump& c, double t, int count, Rng& rng, Rng& extra, Rng& across) const;
    void addRowLock(double t, double broad, int count, bool frontRow, double dim, const Clump& c, Rng& rng,
                    Rng& extra, Rng& across);
};

RingletLayout::RingletLayout(const Sweep& sweep, const Guides& guides)
    : s(sweep),
      g(guides),
      // Short hair curls in smaller, tighter coils, three rows deep.
      pxLength(lengthAlong(g, 0.5)),
      fine(1.0 - smoothstep(300.0, 345.0, pxLength)),
      r0(1.3 * s.curlAmp * (1.0 - 0.38 * fine)),
      // The curl sets in close to the roots; lazy curls (low loop) open into waves, springy ones
      // (many waves) stay tight.
      u0(std::max(0.08, s.curlStart - 0.12)),
      lazy(std::clamp((0.9 - s.loop) / 0.3, 0.0, 1.0)),
      springy(smoothstep(11.5, 14.5, s.curlWaves * 300.0 / std::max(100.0, pxLength))),
      rows(fine > 0.5 ? 3 : 2),
      // Front locks about 1.6 radii apart (short hair closer), so neighbours touch; the rows
      // behind fill between them.
      front(std::max(1, static_cast<int>(std::lround(sheetWidth(g, u0) / ((1.6 - 0.3 * fine) * r0))))) {}

void RingletLayout::add(Rng& rng, const AxisShape& shape, double radius, double dim, LockKind kind) {
    RingletLock lk;
    lk.axis = buildAxis(g, shape);
    keepOffTemple(lk.axis, radius);
    lk.radius = radius;
    lk.kind = kind;
    // Spirals, not stacked coils: a turn is two to three radii long, longer on lazy curls,
    // shorter on springy ones, on the fine coils of short hair as tight as its waves.
    lk.pitch = radius * rng.range(2.4, 3.1) * (1.0 + 0.3 * lazy) * (1.0 - 0.3 * springy) *
               (kind == LockKind::Open ? 1.25 : 1.0);
    // Long hair opens out more toward its ends; springy curls keep their coil.
    lk.loosen = rng.range(0.6, 1.2) * (0.5 + 0.6 * (1.0 - fine)) * (1.0 - 0.45 * springy) + 0.5 * lazy;
    lk.tone = rng.symmetric(1.0);
    lk.dim = dim;
    lk.hand = 1;  // all wound one way: neighbours winding against each other read as a plait
    lk.startPhase = rng.range(0.0, 1.0);
    lk.tilt = rng.symmetric(0.12 * lk.pitch);
    lk.splitAt = 1.0;
    out.push_back(std::move(lk));
}

void RingletLayout::nextClump(Clump& c, double t, int count, Rng& rng, Rng& extra, Rng& across) const {
    c.left = static_cast<int>(rng.uniform() * 3);
    c.drift = rng.symmetric(s.wander + (0.8 + 0.6 * fine) * r0);
    c.freq = rng.range(0.4, 1.8);
    c.phase = rng.uniform();
    c.tone = rng.symmetric(1.0);
    c.centre = std::clamp(t + 0.5 * c.left / std::max(1, count), 0.0, 1.0);
    // Tight springy coils with their turns all slanting one way read as hatching: each clump
    // leans its turns its own way and winds at its own pitch.
    c.tilt = extra.symmetric(0.25 + 0.4 * springy);
    c.pitch = std::exp(extra.symmetric(0.1 + 0.15 * springy));
    // A clump ends together, at its own height.
    c.end = across.range(0.0, 0.12);
}

// One lock of a row at `t` across the sheet, `broad` its share of the width against the mean.
void RingletLayout::addRowLock(double t, double broad, int count, bool frontRow, double dim, const Clump& c,
                               Rng& rng, Rng& extra, Rng& across) {
    // Uneven ends, locks setting in at different heights, and the outer ones fanning out toward
    // the ends so the mass grows in volume downward, lumpy along the silhouette.
    AxisShape a;
    a.t = t;
    // The lengths rise and fall in broad steps around the head, each side on its own.
    a.end = 1.0 - (s.lengthJitter + 0.06) * rng.uniform() - s.layer * (1.0 - t) -
            0.06 * valueNoise(3.5 * t, 0.5, static_cast<uint32_t>(s.seed)) -
            (frontRow ? rng.range(0.0, 0.06) : rng.range(0.0, 0.04)) - c.end;
    a.start = u0 + rng.range(0.0, 0.12);
    // Some front locks set in lower down, over the ones behind: the mass is deep, not a row of
    // locks all hanging from one line.
    if (frontRow && across.uniform() < 0.35) a.start += across.range(0.08, 0.25);
    a.fan = (t - 0.35) * rng.range(0.25, 0.75) * r0;
    // Locks lean and sway so that neighbours cross and gather instead of hanging parallel.
    a.drift = c.drift + rng.symmetric(0.2 * r0);
    a.freq = c.freq * rng.range(0.9, 1.1);
    a.centre = c.centre;
    a.gather = rng.range(0.3, 0.7);
    const double pick = rng.uniform();
    const LockKind kind = pick < 0.1 + 0.25 * lazy  ? LockKind::Wave
                          : pick < 0.4 + 0.1 * lazy ? LockKind::Open
                                                    : LockKind::Coil;
    // Clumps differ in width: a few broad ones, many slimmer ones between them.
    double radius = r0 * std::exp(rng.symmetric(0.42)) * broad;
    // Every lock sways in a slow S as it falls, wide enough that its edges never run straight
    // down beside its neighbours'; a loose wave swings wider.
    a.swing = radius * rng.range(0.35, 0.8) * across.range(1.2, 1.8);
    a.swingLen = rng.range(10.0, 18.0);
    if (kind == LockKind::Wave) {
        a.swing = radius * rng.range(0.8, 1.2);
        a.swingLen = rng.range(9.0, 14.0);
        radius *= 0.8;
    }
    add(rng, a, radius, dim, kind);
    out.back().startPhase = c.phase + rng.symmetric(0.12);
    out.back().pitch *= c.pitch;
    out.back().tilt = (c.tilt + extra.symmetric(0.1)) * out.back().pitch;
    out.back().tone = std::clamp(c.tone + rng.symmetric(0.25), -1.0, 1.0);
    // Some front locks split: a thinner lock leaves them part way down.
    if (frontRow && kind != LockKind::Wave && rng.uniform() < 0.4) {
        const double at = rng.range(0.25, 0.6);
        QPointF join, tan;
        out.back().axis.at(at * out.back().axis.length(), join, tan);
        out.back().splitAt = at;
        AxisShape b = a;
        b.t = std::clamp(t + rng.symmetric(1.0) / count, 0.0, 1.0);
        b.start = a.start + (a.end - a.start) * at;
        b.end = a.end - rng.range(0.0, 0.06);
        b.join = &join;
        add(rng, b, radius * rng.range(0.5, 0.75), 0.1,
            rng.uniform() < 0.5 ? LockKind::Open : LockKind::Coil);
    }
}

void RingletLayout::addRows(Rng& rng, Rng& extra) {
    // Where the locks of a row hang across the sheet and how broad each is: random shares of the
    // width, so broad and slim locks alternate unevenly instead of at one even step (columns).
    Rng across(s.seed * 40503u + 13);
    for (int row = 0; row < rows; ++row) {
        const int count = row == 0 ? front + 1 : front;
        const bool frontRow = row == rows - 1;
        const double dim = frontRow ? 0.0 : row == 0 ? 0.5 : 0.25;
        std::vector<double> share(count), place(count);
        double sum = 0;
        for (double& w : share) sum += (w = std::exp(across.symmetric(0.6)));
        double acc = 0;
        for (int i = 0; i < count; ++i) place[i] = (acc + 0.5 * share[i]) / sum, acc += share[i];
        // The back row reaches both edges of the sheet.
        if (row == 0 && count > 1)
            for (double& t : place) t = (t - place.front()) / (place.back() - place.front());
        Clump clump;
        for (int i = 0; i < count; ++i) {
            // Short hair's rows of small locks are scattered wider, so they merge instead of
            // hanging in columns.
            double t = std::clamp(place[i] + rng.symmetric((0.3 + 0.35 * fine) / (count + 1)), 0.0, 1.0);
            if (count == 1) t = 0.5;
            const double broad = std::sqrt(share[i] * count / sum);
            if (clump.left-- <= 0) nextClump(clump, t, count, rng, extra, across);
            addRowLock(t, broad, count, frontRow, dim, clump, rng, extra, across);
        }
    }
}

// A few curls escape the outline: short, small coils off the outer edge.
void RingletLayout::addEscaped(Rng& rng) {
    const int escaped = 3 + static_cast<int>(rng.uniform() * 4);
    for (int k = 0; k < escaped; ++k) {
        AxisShape a;
        a.t = rng.range(0.85, 1.0);
        a.start = rng.range(std::max(u0 + 0.1, 0.35), 0.7);
        a.end = std::min(1.0, a.start + rng.range(0.15, 0.3));
        a.fan = rng.range(0.8, 1.6) * r0;
        a.drift = rng.symmetric(3.0);
        a.freq = rng.range(0.6, 1.6);
        add(rng, a, r0 * rng.range(0.45, 0.65), 0.0, LockKind::Coil);
    }
}

// More small locks set in part way down between the others (most on short hair), so the lower
// lengths are a mass of curls rather than rows of columns.
void RingletLayout::addBetween(Rng& extra) {
    const int between = static_cast<int>(std::max(fine, 0.4) * front * 0.8);
    for (int k = 0; k < between; ++k) {
        AxisShape a;
        a.t = extra.range(0.05, 0.95);
        a.start = extra.range(0.35, 0.6);
        a.end = 1.0 - extra.range(0.0, 0.12) - s.layer * (1.0 - a.t);
        a.fan = (a.t - 0.35) * extra.range(0.25, 0.75) * r0;
        a.drift = extra.symmetric(s.wander + 0.8 * r0);
        a.freq = extra.range(0.4, 1.6);
        a.swing = r0 * extra.range(0.35, 0.8);
        a.swingLen = extra.range(10.0, 18.0);
        add(extra, a, r0 * extra.range(0.6, 0.9), extra.uniform() < 0.5 ? 0.0 : 0.25,
            extra.uniform() < 0.5 ? LockKind::Open : LockKind::Coil);
    }
}

// The curl starts near the roots: small, loose curls over the crown, half in the shade of the hair
// around them, so the top is soft and uneven.
void RingletLayout::addCrown(Rng& extra) {
    const int crown = std::max(4, static_cast<int>(1.6 * sheetWidth(g, 0.05) / r0));
    for (int k = 0; k < crown; ++k) {
        AxisShape a;
        a.t = 0.88 * (k + extra.uniform()) / crown;
        a.start = extra.range(0.08, 0.18);  // the parting itself stays combed
        // A layered cut: the crown's curls are shorter layers that fall onto the lengths.
        a.end = std::min(0.95, u0 + extra.range(0.1, 0.25) + s.layer * extra.range(0.6, 1.2));
        a.fan = 0.0;
        a.drift = extra.symmetric(0.5 * r0);
        a.freq = extra.range(0.6, 1.6);
        a.swing = r0 * extra.range(0.3, 0.6);
        a.swingLen = extra.range(8.0, 14.0);
        add(extra, a, r0 * extra.range(0.45, 0.7), extra.range(0.3, 0.5),
            extra.uniform() < 0.6 ? LockKind::Wave : LockKind::Open);
    }
}

}  // namespace

double lengthAlong(const Guides& g, double t) {
    double px = 0;
    for (int i = 0; i < 20; ++i) {
        const QPointF d = g.at((i + 1) / 20.0, t) - g.at(i / 20.0, t);
        px += std::hypot(d.x(), d.y());
    }
    return px;
}

std::vector<RingletLock> makeRinglets(const Sweep& s, const Guides& g, Rng& rng) {
    RingletLayout layout(s, g);
    Rng extra(s.seed * 2654435761u + 97);
    layout.addRows(rng, extra);
    layout.addEscaped(rng);
    // Deepest first, then each row in a shuffled order so no side always lies on top.
    std::vector<RingletLock>& out = layout.out;
    for (size_t i = out.size(); i-- > 1;) {
        const size_t j = static_cast<size_t>(rng.uniform() * (i + 1));
        std::swap(out[i], out[j]);
    }
    // The locks added on top of the rows draw on their own random stream, so the rows keep the
    // outline they have without them.
    layout.addBetween(extra);
    layout.addCrown(extra);
    std::stable_sort(out.begin(), out.end(),
                     [](const RingletLock& a, const RingletLock& b) { return a.dim > b.dim; });
    return std::move(out);
}

// The first curls form inside the top's own lengths: from where the rows set in (`from` to `to`
// down the sheet), small locks rise out of them and wind at the pitch of the top's waves, so their
// turns show between the top's ends and the top breaks into curls instead of stopping on a rim
// above them. They stay inside the sheet (away from both edges), so the outline is the one the
// rows already give; on their own random stream, so the rows keep their looks.
std::vector<RingletLock> makeFirstRinglets(const Sweep& s, const Guides& g, double from, double to,
                                           double wave) {
    Rng rng(s.seed * 2246822519u + 61);
    const double r0 = 1.3 * s.curlAmp;
    const int count = std::max(3, static_cast<int>(std::lround(sheetWidth(g, from) / (1.5 * r0))));
    std::vector<RingletLock> out;
    for (int k = 0; k < count; ++k) {
        AxisShape a;
        a.t = 0.12 + 0.66 * (k + rng.range(0.2, 0.8)) / count;
        a.start = rng.range(from, to);
        a.end = a.start + rng.range(0.18, 0.3);
        a.fan = 0.0;
        a.drift = rng.symmetric(0.4 * r0);
        a.freq = rng.range(0.6, 1.4);
        a.swing = r0 * rng.range(0.2, 0.45);
        a.swingLen = rng.range(10.0, 16.0);
        RingletLock lk;
        lk.radius = r0 * rng.range(0.5, 0.72);
        lk.axis = buildAxis(g, a);
        keepOffTemple(lk.axis, lk.radius);
        lk.kind = rng.uniform() < 0.75 ? LockKind::Open : LockKind::Coil;
        // A turn as long as one of the top's waves, so the strands above run on into it.
        lk.pitch = std::clamp(wave, 2.8 * lk.radius, 3.8 * lk.radius) * rng.range(0.9, 1.1);
        lk.loosen = rng.range(0.3, 0.6);
        lk.tone = rng.symmetric(0.45);
        lk.dim = rng.range(0.1, 0.25);
        lk.hand = 1;
        lk.startPhase = rng.uniform();
        lk.tilt = rng.symmetric(0.12 * lk.pitch);
        lk.splitAt = 1.0;
        out.push_back(std::move(lk));
    }
    return out;
}

}  // namespace installdata
