#include "CurlStrands.h"

#include <algorithm>
#include <cmath>
#include <functional>

// Each lock is a flat ribbon of hair wound into a spiral: a bundle of fine strands side by side
// along the lock, each a helix seen from the front. Where a strand passes in front it catches the
// light from the upper left; behind, it is in the lock's shade. The turns vary in size and pitch
// (smooth noise along the lock), and toward the tip the strands part into an open, ragged end.
namespace installdata {

namespace {}  // namespace

// Radius of the coil a distance d down its lock: small and tight near the roots, widening toward
// the ends, thinner below where a lock split off it, and tapering over the last turn into an open
// tip.
double coilRadius(const RingletLock& lk, double d, double grow) {
    const double f = d / std::max(1.0, lk.axis.length());
    const double tipIn = 1.0 - 0.6 * smoothstep(0.84, 1.0, f);
    const double split = 1.0 - 0.2 * smoothstep(lk.splitAt, lk.splitAt + 0.08, f);
    const double swell = 1.0 + 0.22 * std::sin(0.8 * d / lk.pitch + 6.0 * lk.startPhase);
    return lk.radius * (0.5 + 0.5 * smoothstep(0.0, 1.5 * lk.pitch, d)) * (0.8 + (0.2 + 0.6 * grow) * f) *
           tipIn * split * swell;
}

// The length of one turn a distance d down the lock: tight near the roots, opening out toward
// the ends.
double turnPitch(const RingletLock& lk, double d) {
    const double f = std::clamp(d / std::max(1.0, lk.axis.length()), 0.0, 1.0);
    return lk.pitch * (0.8 + lk.loosen * f);
}

namespace {

// Light from the upper left and in front on a turn at phase ph (0: in front), 0..1.
double turnLight(const RingletLock& lk, QPointF nrm, double ph) {
    const double side = lk.hand * std::sin(ph), facing = std::max(0.0, std::cos(ph));
    // The edges of a turn, where it rolls away round the lock, fall into its shade.
    return std::max(0.0, -0.55 * nrm.x() * side - 0.5 * nrm.y() * side + 0.7 * facing) *
           (0.25 + 0.75 * std::sqrt(facing));
}

// A stretch of one strand that stays on the front (or the back) of its turn.
struct HelixRun {
    Polyline pts;
    double light[3];  // at its start, middle and end
    bool front;
    double along;               // where its middle lies down the lock, 0..1
    double across;              // where the strand lies across its ribbon: -0.5 rootward .. 0.5
    std::vector<double> phase;  // of the turn at each point (0: in front), in radians
    std::vector<double> peak;   // the phase at each point where the turn faces the light most
};

// The phase where a turn faces the light most: turnLight without its edge shade is
// a sin(ph) + b cos(ph), greatest at atan2(a, b).
double litPhase(const RingletLock& lk, QPointF nrm) {
    return std::atan2(lk.hand * (-0.55 * nrm.x() - 0.5 * nrm.y()), 0.7);
}

// The runs of every strand of the lock, front and back.
std::vector<HelixRun> helixRuns(const RingletLock& lk, double grow, uint32_t seed, Rng& rng) {
    const double total = lk.axis.length();
    const int n = std::max(8, static_cast<int>(total / 2.0));
    std::vector<double> ph(n + 1), rad(n + 1), width(n + 1);
    double acc = 2 * kPi * lk.startPhase;
    for (int i = 0; i <= n; ++i) {
        const double d = total * i / n, x = d / (1.3 * lk.pitch);
        // A turn is as long as the lock's ratio of pitch to radius says where it is, so the small
        // turns near the roots are tight and the wide ones toward the ends stretch out.
        rad[i] = coilRadius(lk, d, grow) * (0.82 + 0.36 * valueNoise(x, 7.5, seed));
        // Near the roots the narrow turns keep a long pitch: the hair waves there before it curls.
        const double pitch = std::max(0.8 * lk.pitch, rad[i] * turnPitch(lk, d) / lk.radius) *
                             (0.65 + 0.7 * valueNoise(x, 3.5, seed));
        // The ribbon is narrower than a turn on stretched turns, so the backs show between them.
        width[i] = pitch *
                   (lk.kind == LockKind::Wave ? 0.8 : 0.52 - 0.12 * smoothstep(1.7, 3.0, pitch / rad[i])) *
                   (1.5 - 0.5 * smoothstep(0.0, 0.3, d / total));  // near the roots the turns lie close
        ph[i] = acc;
        acc += 2 * kPi * (total / n) / pitch;
    }
    const int count = std::clamp(static_cast<int>(1.3 * lk.radius), 9, 15);
    std::vector<HelixRun> runs;
    for (int k = 0; k < count; ++k) {
        const double across = (k + rng.uniform()) / count - 0.5, own = rng.range(0.82, 1.16);
        const double lag = rng.symmetric(0.3), sag = rng.range(0.05, 0.3);
        const int last = static_cast<int>(n * (1.0 - rng.range(0.0, 0.07)));
        HelixRun run{{}, {0, 0, 0}, true, 0.0, across, {}, {}};
        int i = 0;
        std::vector<double> lit;
        auto flush = [&] {
            if (run.pts.size() >= 3) {
                const size_t m = lit.size();
                run.light[0] = lit.front(), run.light[1] = lit[m / 2], run.light[2] = lit.back();
                run.along = (i - 0.5 * m) / n;
                runs.push_back(run);
            }
            run.pts.clear();
            run.phase.clear();
            run.peak.clear();
            lit.clear();
        };
        for (i = 0; i <= last; ++i) {
            const double d = total * i / n, f = d / total, phase = ph[i] + lag;
            // Near the tip the strands fan out along the lock and loosen: an open end.
            const double part = 1.0 + 0.7 * smoothstep(0.88, 1.0, f);
            QPointF pos, tan;
            lk.axis.at(std::max(0.0, d + across * width[i] * part + sag * rad[i] * std::cos(phase) +
                                         lk.tilt * std::sin(phase)),
                       pos, tan);
            const QPointF nrm(-tan.y(), tan.x());
            const bool front = std::cos(phase) > 0;
            const QPointF q = pos + nrm * (lk.hand * rad[i] * own * part * std::sin(phase));
            if (front != run.front) {
                if (!run.pts.empty()) {  // share the turning point, so the strand is unbroken
                    const QPointF keep = run.pts.back();
                    const double keepPhase = run.phase.back(), keepPeak = run.peak.back();
                    flush();
                    run.pts.push_back(keep);
                    run.phase.push_back(keepPhase);
                    run.peak.push_back(keepPeak);
                    lit.push_back(turnLight(lk, nrm, phase));
                }
                run.front = front;
            }
            run.pts.push_back(q);
            run.phase.push_back(phase);
            run.peak.push_back(litPhase(lk, nrm));
            lit.push_back(turnLight(lk, nrm, phase));
        }
        flush();
    }
    return runs;
}

// The backs of the turns, dark, under the lock's body: they show only at its edges.
void drawBacks(QPainter& q, const std::vector<HelixRun>& runs, const RingletLock& lk, const HairPalette& c,
               const std::function<QColor(const QColor&)>& tint) {
    const QColor back = tint(mix(c.dark, QColor(0, 0, 0), 0.3 + 0.2 * lk.dim));
    q.setBrush(Qt::NoBrush);
    // Near the root the turns are small and close: their backs there would pile up into a dark
    // block, so they set in softly.
    const double rootLen = std::min(0.25, 2.0 * lk.pitch / std::max(1.0, lk.axis.length()));
    for (const HelixRun& run : runs) {
        if (run.front) continue;
        const double rise = 0.3 + 0.7 * smoothstep(0.0, rootLen, run.along);
        q.setPen(QPen(withAlpha(back, static_cast<int>(230 * rise)), 1.3, Qt::SolidLine, Qt::RoundCap));
        q.drawPolyline(run.pts.data(), static_cast<int>(run.pts.size()));
    }
}

// One strand across the front of a turn of dark hair, segment by segment: near the hair's dark
// and base tones over most of the turn, and a glint where the turn faces the light. Each turn takes
// its glint at its own place, length and strength (noise on the turn's number, so every strand of a
// turn agrees), on the few strands near one line across its ribbon: a short arc along the turn,
// not a spot across it. The ribbon's lower edge rolls over the next turn as a thin lit rim and its
// upper edge tucks under the turn above as a thin dark line, so turns in shade keep their shape.
void drawDarkFront(QPainter& f, const HelixRun& run, double gain, double width, uint32_t seed,
                   const QColor& top, const QColor& glint, const std::function<QColor(const QColor&)>& tint,
                   const HairPalette& c, double define) {
    const size_t m = run.pts.size();
    const double turn = std::round(run.phase[m / 2] / (2 * kPi));
    const double shift = 0.5 * (valueNoise(turn, 1.0, seed) - 0.5),
                 spread = 0.36 + 0.2 * valueNoise(turn, 2.0, seed),
                 strength = std::clamp(gain * (0.35 + 0.8 * valueNoise(turn, 3.0, seed)), 0.0, 1.0),
                 line = 0.3 * (valueNoise(turn, 4.0, seed) - 0.5) - 0.08;
    // Strands of one turn differ a little in where and how much they catch: fibres, not a band.
    const double x = run.pts[m / 2].x() * 0.73 + run.pts[m / 2].y() * 0.41;
    const double own = (1.0 + 0.5 * valueNoise(x, turn, seed ^ 0x9e37u)) * gauss(run.across - line, 0.2),
                 lag = 0.16 * (valueNoise(x, turn + 0.5, seed ^ 0x7f4au) - 0.5),
                 grain = 0.6 + 0.8 * valueNoise(x, turn + 0.25, seed ^ 0x3c6eu);
    const double rim = smoothstep(0.28, 0.46, run.across), tuck = 1.0 - smoothstep(-0.46, -0.3, run.across);
    const QColor low = mix(c.dark, QColor(0, 0, 0), 0.15), edge = mix(low, glint, 0.4);
    double arc = 0;
    for (size_t i = 1; i < m; ++i) {
        const double ph = 0.5 * (run.phase[i - 1] + run.phase[i]),
                     peak = 0.5 * (run.peak[i - 1] + run.peak[i]);
        const double off = std::remainder(ph - peak - shift - lag, 2 * kPi);
        const QPointF step = run.pts[i] - run.pts[i - 1];
        arc += std::hypot(step.x(), step.y());
        // Facing the viewer lifts the turn a little off the dark, strand by strand (grain) and in
        // flecks a few px long along the strand, so the turns in shade still show their fibres;
        // the turns facing the light rise a little more, and the glint rides on that.
        const double facing = std::max(0.0, std::cos(ph)), toLight = gauss(off, 1.2);
        const double fleck = 0.6 + 0.4 * valueNoise(arc / 2.5, x, seed ^ 0x51a7u);
        const double g = gauss(off, spread) * strength * own;
        QColor col = mix(low, c.base, std::clamp((0.25 + 0.7 * facing * gain) * grain * fleck, 0.0, 1.0));
        col = mix(col, top, 0.1 * toLight * facing * std::min(1.0, gain));
        col = mix(col, edge, 0.35 * rim * std::sqrt(facing));
        col = mix(col, QColor(0, 0, 0), 0.6 * tuck);
        col = mix(col, top, std::min(1.0, 1.1 * g));
        col = mix(col, glint, 0.6 * smoothstep(0.35, 1.0, g));
        f.setPen(QPen(withAlpha(tint(mix(col, mix(c.dark, c.base, 0.55), 0.5 * (1.0 - define))), 235), width,
                      Qt::SolidLine, Qt::RoundCap));
        f.drawLine(run.pts[i - 1], run.pts[i]);
    }
}

// The fronts of the turns over the body, with their light running across them, and a glint where a
// front turns most toward the light. Turns deep in the mass are flatter and darker.
void drawFronts(QPainter& q, QPainter& f, const std::vector<HelixRun>& runs, const RingletLock& lk,
                const HairPalette& c, const std::function<QColor(const QColor&)>& tint, Rng& rng,
                uint32_t seed) {
    const double define = 1.0 - 0.35 * lk.dim;
    // Black, dark brown and espresso: lit the way lighter hair is, the whole front of each turn
    // turns a flat mid-grey and the curls read as grey ribbons.
    const bool darkHair = qGray(c.base.rgb()) < 55;
    const QColor flat = mix(c.dark, c.base, 0.55);
    // Black hair shows its curls through cool grey-blue light on each turn, not warm brown.
    const double inky = 1.0 - smoothstep(28.0, 48.0, qGray(c.base.rgb()));
    const QColor top = mix(mix(c.light, c.sheen, 0.3 + 0.3 * inky), QColor(118, 126, 144), 0.45 * inky);
    const QColor glint = mix(c.sheen, QColor(176, 184, 200), 0.5 * inky);
    // Under the strands of each front, its ribbon as a whole, softened with the lock's body.
    for (const HelixRun& run : runs)
        if (run.front) {
            q.setPen(QPen(tint(mix(c.dark, c.base, 0.45)), 2.6, Qt::SolidLine, Qt::RoundCap));
            q.drawPolyline(run.pts.data(), static_cast<int>(run.pts.size()));
        }
    f.setBrush(Qt::NoBrush);
    for (const HelixRun& run : runs) {
        if (!run.front) continue;
        const QPointF mid = run.pts[run.pts.size() / 2];
        // Broad patches of the mass catch more light than others, across neighbouring locks.
        const double zone =
            0.5 + 0.5 * std::sin(mid.y() / 34.0 + mid.x() / 47.0 + 2.0 * std::sin(mid.x() / 61.0));
        // Near the roots the turns are small and soft: they read as texture, not as coils.
        // Turn by turn the light is broken: some turns face it, some are turned away.
        const double broken = 0.55 + 0.75 * valueNoise(mid.x() / 9.0, mid.y() / 9.0, 0x5eedu);
        const double gain = broken * define * (1.0 + 0.3 * inky) *
                            (0.4 + 0.2 * inky + 0.25 * lk.dim +
                             (0.6 - 0.2 * inky - 0.25 * lk.dim) * smoothstep(0.0, 0.4, run.along)) *
                            (0.55 + 0.6 * zone) * (0.8 + 0.25 * lk.tone) * rng.range(0.75, 1.15);
        // The light runs across the front: each half of the run in the tone of its own light.
        QColor tone[3];
        for (int k = 0; k < 3; ++k) {
            const double l = std::clamp(std::pow(run.light[k], 1.2) * gain * 1.5, 0.0, 1.0);
            const QColor col = l < 0.45 ? mix(mix(c.dark, QColor(0, 0, 0), 0.15), c.base, l / 0.45)
                                        : mix(c.base, top, (l - 0.45) / 0.55);
            tone[k] = withAlpha(tint(mix(col, flat, 0.5 * (1.0 - define))), 235);
        }
        const double width = rng.range(1.0, 1.5);
        const int m = static_cast<int>(run.pts.size()), half = m / 2;
        if (darkHair) {
            drawDarkFront(f, run, gain, width, seed, top, glint, tint, c, define);
        } else {
            f.setPen(QPen(mix(tone[1], tone[0], 0.3), width, Qt::SolidLine, Qt::RoundCap));
            f.drawPolyline(run.pts.data(), half + 1);
            f.setPen(QPen(mix(tone[1], tone[2], 0.3), width, Qt::SolidLine, Qt::RoundCap));
            f.drawPolyline(run.pts.data() + half, m - half);
        }
        // The draws stay the same on dark hair, so the locks after this one keep their strands.
        if (run.light[1] * gain < 0.72 || rng.uniform() < 0.55 || m < 6) continue;
        const double alpha = rng.range(60, 130);
        if (darkHair) continue;
        f.setPen(QPen(withAlpha(glint, static_cast<int>(alpha * define)), 0.9, Qt::SolidLine, Qt::RoundCap));
        f.drawPolyline(run.pts.data() + m / 4, m / 2);
    }
}
}  // namespace

void paintLock(QPainter& q, QPainter& f, const RingletLock& lk, double grow, const HairPalette& c, Rng& rng) {
    const double total = lk.axis.length();
    // A lock deep in the mass is in shade, but its turns still show: darkened only part of the
    // way toward the shadow tone, its inside no blacker than a front lock's.
    const double dim = std::clamp(0.5 * lk.dim + (lk.tone < 0 ? -0.3 * lk.tone : 0.0), 0.0, 0.5);
    const auto tint = [&](const QColor& col) { return withAlpha(mix(col, c.dark, dim), col.alpha()); };
    const QColor shade = mix(c.dark, QColor(0, 0, 0), 0.2);
    const uint32_t seed = static_cast<uint32_t>(rng.next());
    const std::vector<HelixRun> runs = helixRuns(lk, grow, seed, rng);
    drawBacks(q, runs, lk, c, tint);
    // The inside of the coil ends above the last turn, so the tip hangs open. A wave is a flat
    // ribbon: little of its inside shows.
    const double inside = lk.kind == LockKind::Wave ? 1.2 : 1.9;
    const double bodyEnd = total - 0.9 * turnPitch(lk, total);
    for (double d = 0; d < bodyEnd; d += 3) {
        QPointF a, b, tan;
        lk.axis.at(d, a, tan);
        lk.axis.at(std::min(bodyEnd, d + 3), b, tan);
        const double fade = 1.0 - 0.5 * smoothstep(bodyEnd - 2.0 * lk.pitch, bodyEnd, d);
        // Near the roots the lock lies flat on the head: no deep hollow inside it yet, only the
        // hair's own tone between the turns.
        const double flat = 1.0 - smoothstep(0.0, 4.0 * lk.pitch, d);
        // The body fades in from the root, so a lock rises out of the hair around it rather than
        // starting on a blunt edge.
        const double rise = 0.1 + 0.9 * smoothstep(0.0, 2.0 * lk.pitch, d);
        q.setPen(
            QPen(withAlpha(mix(shade, tint(mix(c.dark, c.base, 0.75)), flat), static_cast<int>(240 * rise)),
                 inside * coilRadius(lk, d, grow) * fade, Qt::SolidLine, Qt::RoundCap));
        q.drawLine(a, b);
    }
    drawFronts(q, f, runs, lk, c, tint, rng, seed);
}

}  // namespace installdata
