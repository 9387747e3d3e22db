#include <algorithm>
#include <cmath>

#include "HairEngine.h"
#include "HairGuides.h"

// Big waves: lit hairs where each turn of the sheet faces the light and soft shade where it turns
// away, locks parted by clefts and set in their own tones up to the roots, lock ends that stay
// dense down to a short soft taper, and a few loose hairs and ends leaving the mass.
namespace installdata {

namespace {

// Where the strands of a wave sheet lie: the guide point at (u, t) swung by the curl of the lock
// whose centre is t, as the strands themselves are.
QPointF wavePoint(const Sweep& s, const Guides& g, double u, double t, double phase) {
    const QPointF d = g.at(std::min(1.0, u + 0.01), t) - g.at(std::max(0.0, u - 0.01), t);
    const double len = std::max(1e-6, std::hypot(d.x(), d.y()));
    const QPointF tan = d / len, nrm(-tan.y(), tan.x());
    const double set = smoothstep(s.curlStart, s.curlStart + 0.2, u);
    const double a = s.curlAmp * set * (1.0 + s.curlGrow * std::max(0.0, u - s.curlStart));
    const double ph = phase + 2 * kPi * s.curlWaves * u;
    return g.at(u, t) + nrm * (a * std::sin(ph)) + tan * (a * s.loop * std::cos(ph));
}

// Px distance between two neighbouring lock centres at u.
double lockSpacing(const Guides& g, double u, int locks) {
    const QPointF across = g.at(u, 1.0) - g.at(u, 0.0);
    return std::hypot(across.x(), across.y()) / std::max(1, locks);
}

// The lower lengths as solid, tapered locks under the strands: the strands' ends no longer thin
// into see-through needles; the body tapers only over its last few px. Drawn behind what is there.
void drawDenseEnds(QPainter& p, const Sweep& s, const Guides& g, const HairPalette& c, Rng& rng) {
    QImage ends = newLayer(p.device()->width(), p.device()->height());
    QPainter q;
    beginPainter(q, ends);
    const int n = std::max(4, s.locks);
    for (int i = 0; i < n; ++i) {
        const double t = std::clamp((i + 0.5 + rng.symmetric(0.3)) / n, 0.02, 0.98);
        const double phase = s.phaseStep * (t * s.locks - 0.5) + rng.symmetric(0.2);
        const double end = 1.0 - s.lengthJitter * rng.range(0.0, 0.5) - s.layer * (1.0 - t) - 0.005;
        const double from = std::max(s.curlStart, end - 0.7);
        Polyline line;
        for (int k = 0; k <= 30; ++k) line.push_back(wavePoint(s, g, from + (end - from) * k / 30, t, phase));
        double px = 0;
        for (size_t k = 1; k < line.size(); ++k)
            px += std::hypot(line[k].x() - line[k - 1].x(), line[k].y() - line[k - 1].y());
        const double w = 1.8 * lockSpacing(g, std::max(from, end - 0.1), n) * rng.range(0.85, 1.15);
        const double taper = std::clamp(6.0 / std::max(1.0, px), 0.02, 0.3);
        fillRibbon(q, line, w, 0.8 * w, withAlpha(mix(c.dark, c.base, rng.range(0.35, 0.6)), 240), 0.0,
                   taper);
        for (int k = 0; k < 6; ++k) {  // a little strand texture where the body shows
            Polyline st = line;
            const double off = rng.symmetric(0.35 * w);
            for (size_t j = 0; j < st.size(); ++j) {
                const QPointF d = line[std::min(j + 1, line.size() - 1)] - line[j > 0 ? j - 1 : 0];
                const double len = std::max(1e-6, std::hypot(d.x(), d.y()));
                st[j] += QPointF(-d.y() / len, d.x() / len) * (off * (1.0 - 0.5 * j / line.size()));
            }
            fillRibbon(q, st, rng.range(0.6, 1.1), 0.3, strandColour(rng, c), 0.0, taper);
        }
    }
    q.end();
    drawBlurred(p, std::move(ends), 1, QPainter::CompositionMode_DestinationOver);
}

// A few ends that leave the lock and bend outward or back in: a loose, lived-in finish.
void drawBentEnds(QPainter& p, const Sweep& s, const Guides& g, const HairPalette& c, Rng& rng) {
    const int count = 2 + static_cast<int>(rng.uniform() * 2);
    for (int k = 0; k < count; ++k) {
        const double t = rng.range(0.25, 0.9);
        const double phase = s.phaseStep * (t * s.locks - 0.5);
        const double end = 0.97 - s.layer * (1.0 - t);
        // Along the wave of its lock, then curling off it for a few px past the end.
        Polyline line;
        for (int i = 0; i <= 10; ++i) line.push_back(wavePoint(s, g, end - 0.12 + 0.11 * i / 10, t, phase));
        const QPointF d = line.back() - line[line.size() - 2];
        const QPointF tan = d / std::max(1e-6, std::hypot(d.x(), d.y()));
        const QPointF out = g.at(end, 1.0) - g.at(end, 0.0);
        const double side = rng.uniform() < 0.75 ? 1.0 : -0.6, reach = rng.range(7, 12);
        const QPointF outDir = out / std::max(1e-6, std::hypot(out.x(), out.y())) * side;
        const QPointF from = line.back();
        for (int i = 1; i <= 6; ++i) {
            const double f = i / 6.0;
            line.push_back(from + tan * (reach * f) + outDir * (0.7 * reach * f * f));
        }
        line = sampleSpline(line, 32);
        fillRibbon(p, line, rng.range(2.0, 3.0), 0.6, withAlpha(mix(c.dark, c.base, 0.6), 150), 0.5, 0.3);
        for (int j = 0; j < 6; ++j) {
            Polyline st = line;
            const QPointF off(rng.symmetric(1.2), rng.symmetric(1.2));
            for (size_t i = 0; i < st.size(); ++i) st[i] += off * (static_cast<double>(i) / st.size());
            const QColor col = strandColour(rng, c);
            fillRibbon(p, st, rng.range(0.6, 1.0), 0.3, withAlpha(col, col.alpha() * 3 / 4), 0.4, 0.3);
        }
    }
}

// Signed phase distance (radians, -pi..pi) of ph from the nearest turn at `at`.
double phaseGap(double ph, double at) { return std::remainder(ph - at, 2 * kPi); }

// A wave turns its face to the light where the strands cross over outward and away from it where
// they cross back: lit hairs on the first, shade on the second (radians of curl phase).
constexpr double kCrest = -0.1 * kPi, kTrough = 0.95 * kPi;

// How a lock of the sheet takes the light: its own shift along the wave, so crests break where
// locks part, and how bright its crest is.
struct WaveLock {
    double shift, gain;
    bool parts;  // a visible cleft between this lock and the next
};

// One strand of the sheet from u0 to u1: its points and the curl phase and set at each.
struct WaveStrand {
    Polyline pts;
    std::vector<double> ph, set;
};

WaveStrand waveStrand(const Sweep& s, const Guides& g, double t, double phase, double u0, double u1) {
    const int n = 16 + static_cast<int>(28 * s.curlWaves * (u1 - u0));
    WaveStrand w;
    for (int i = 0; i <= n; ++i) {
        const double u = u0 + (u1 - u0) * i / n;
        w.pts.push_back(wavePoint(s, g, u, t, phase));
        w.ph.push_back(phase + 2 * kPi * s.curlWaves * u);
        w.set.push_back(smoothstep(s.curlStart, s.curlStart + 0.2, u));
    }
    return w;
}

// Draws the runs of a strand where weight(i) > floor, each faded by its peak weight.
template <class Weight, class Draw>
void forRuns(const WaveStrand& w, double floor, Weight weight, Draw draw) {
    const int n = static_cast<int>(w.pts.size());
    for (int i = 0; i < n;) {
        if (weight(i) <= floor) {
            ++i;
            continue;
        }
        int j = i;
        double peak = 0;
        while (j < n && weight(j) > floor) peak = std::max(peak, weight(j++));
        if (j - i >= 3) draw(Polyline(w.pts.begin() + i, w.pts.begin() + j), peak);
        i = j;
    }
}

// Where a strand at t ends: as the lock layering and the sheet's own length say.
double strandEnd(const Sweep& s, double t, Rng& rng) {
    return std::max(0.3, 0.99 - s.layer * (1.0 - t) - s.lengthJitter * rng.range(0.2, 0.8));
}

// Strands laid over the sheet (crisp on p, soft on `soft`): fine darker hairs for direction, a
// crisp, narrow run of lit hairs over each crest with a faint glow under it, soft shade in the
// troughs, and lifted, uneven hair at the roots.
void drawWaveStrands(QPainter& p, QPainter& soft, const Sweep& s, const Guides& g, const HairPalette& c,
                     const std::vector<WaveLock>& locks, Rng& rng) {
    const QColor deep = mix(c.dark, QColor(0, 0, 0), 0.35), hot = mix(c.sheen, QColor(255, 250, 240), 0.15);
    const double spacing = lockSpacing(g, 0.7, static_cast<int>(locks.size()));
    const int n = static_cast<int>(locks.size()) * 14;
    for (int i = 0; i < n; ++i) {
        const double t = std::clamp((i + 0.5 + rng.symmetric(0.5)) / n, 0.02, 0.98);
        const size_t li = std::min(locks.size() - 1, static_cast<size_t>(t * locks.size()));
        const WaveLock& lk = locks[li];
        const double phase = s.phaseStep * (t * s.locks - 0.5) + lk.shift + rng.symmetric(0.08);
        const WaveStrand w = waveStrand(s, g, t, phase, 0.01, strandEnd(s, t, rng));
        const int m = static_cast<int>(w.pts.size());
        if (i % 3 == 0) {  // strand direction through the whole sheet
            const QColor col = strandColour(rng, c);
            fillRibbon(p, w.pts, rng.range(0.5, 0.8), 0.3, withAlpha(col, col.alpha() / 2), 0.05, 0.2);
        }
        if (i % 4 == 0)  // soft shade in the troughs
            forRuns(
                w, 0.1,
                [&](int k) {
                    const double d = phaseGap(w.ph[k], kTrough);
                    return w.set[k] * std::exp(-d * d / 0.5);
                },
                [&](const Polyline& part, double peak) {
                    fillRibbon(soft, part, spacing, spacing, withAlpha(deep, static_cast<int>(110 * peak)),
                               0.3, 0.3);
                });
        if (rng.uniform() < 0.9) {  // lit hairs over the crests
            const double shift = rng.symmetric(0.12), sigma2 = 2 * std::pow(rng.range(0.2, 0.32), 2);
            // Hair by hair the light differs widely: some hairs glint, some hardly catch it, so a crest
            // that runs far along a side stays a band of lit hairs rather than a pale sheet.
            const double gain = lk.gain * rng.range(0.7, 1.0) * (rng.uniform() < 0.4 ? 0.35 : 1.0);
            const double width = rng.range(0.7, 1.3);
            auto lit = [&](int k) {
                const double d = phaseGap(w.ph[k], kCrest + shift);
                return w.set[k] * std::exp(-d * d / sigma2);
            };
            forRuns(w, 0.12, lit, [&](const Polyline& part, double peak) {
                fillRibbon(soft, part, 5.0, 5.0, withAlpha(c.sheen, static_cast<int>(30 * gain * peak)), 0.3,
                           0.3);
                fillRibbon(p, part, width, width, withAlpha(c.sheen, static_cast<int>(190 * gain * peak)),
                           0.35, 0.35);
            });
            forRuns(w, 0.6, lit, [&](const Polyline& part, double peak) {
                fillRibbon(p, part, 0.6 * width, 0.6 * width,
                           withAlpha(hot, static_cast<int>(210 * gain * peak)), 0.3, 0.3);
            });
        }
        if (rng.uniform() < 0.45) {  // roots: short runs lifted off the smooth top, light or dark
            const int k1 = std::max(3, static_cast<int>(m * rng.range(0.1, 0.3)));
            Polyline root(w.pts.begin(), w.pts.begin() + std::min(m, k1));
            const double lift = rng.symmetric(3.5);
            const Polyline along = root;
            for (size_t k = 0; k < root.size(); ++k)
                root[k] += normalAt(along, k) * (lift * std::sin(kPi * k / (root.size() - 1)));
            const bool light = rng.uniform() < 0.5;
            fillRibbon(p, root, rng.range(0.7, 1.3), 0.4,
                       light ? withAlpha(mix(c.base, c.light, 0.7), 150) : withAlpha(deep, 130), 0.1, 0.4);
        }
    }
}

// Clefts between locks that part: a fine dark line, with soft shade on the lock that slips under;
// and each lock in its own tone from the roots down, so the top reads as sections, not one shell.
void drawLockSections(QPainter& p, QPainter& soft, const Sweep& s, const Guides& g, const HairPalette& c,
                      const std::vector<WaveLock>& locks, Rng& rng) {
    const QColor deep = mix(c.dark, QColor(0, 0, 0), 0.35), lifted = mix(c.base, c.light, 0.6);
    const double spacing = lockSpacing(g, 0.7, static_cast<int>(locks.size()));
    for (size_t k = 0; k + 1 < locks.size(); ++k) {
        if (!locks[k].parts) continue;
        const double t = (k + 1.0) / locks.size();
        const double phase = s.phaseStep * (t * s.locks - 0.5) + 0.5 * (locks[k].shift + locks[k + 1].shift);
        const double from = rng.uniform() < 0.4 ? 0.02 : std::max(0.05, s.curlStart - rng.range(0.0, 0.15));
        const WaveStrand w = waveStrand(s, g, t, phase, from, strandEnd(s, t, rng));
        fillRibbon(p, w.pts, 0.3, rng.range(0.9, 1.5), withAlpha(deep, static_cast<int>(rng.range(90, 150))),
                   0.2, 0.1);
        const double side = locks[k].gain < locks[k + 1].gain ? -1.0 : 1.0;
        Polyline under = w.pts;
        for (size_t j = 0; j < under.size(); ++j) under[j] += normalAt(w.pts, j) * (side * 2.0);
        fillRibbon(soft, under, 1.0, 4.0, withAlpha(deep, 110), 0.3, 0.1);
    }
    for (size_t k = 0; k < locks.size(); ++k) {
        const double t = (k + 0.5) / locks.size(), tone = (locks[k].gain - 0.775) / 0.225;
        const double phase = s.phaseStep * (t * s.locks - 0.5) + locks[k].shift;
        const WaveStrand w = waveStrand(s, g, t, phase, 0.01, strandEnd(s, t, rng));
        fillRibbon(soft, w.pts, 0.6 * spacing, 0.8 * spacing,
                   tone > 0 ? withAlpha(lifted, static_cast<int>(55 * tone))
                            : withAlpha(deep, static_cast<int>(-70 * tone)),
                   0.05, 0.2);
    }
}

// A few loose hairs that leave their lock and cross its neighbours.
void drawLooseStrands(QPainter& p, const Sweep& s, const Guides& g, const HairPalette& c, Rng& rng) {
    for (int k = 0; k < 3 + s.locks / 8; ++k) {
        const double t = rng.range(0.1, 0.9), drift = rng.symmetric(0.25);
        const double phase = s.phaseStep * (t * s.locks - 0.5) + rng.symmetric(0.8);
        const double u0 = rng.range(0.1, 0.4), u1 = strandEnd(s, t, rng);
        Polyline line;
        for (int i = 0; i <= 40; ++i) {
            const double u = u0 + (u1 - u0) * i / 40;
            line.push_back(wavePoint(s, g, u, std::clamp(t + drift * (u - u0), 0.0, 1.0), phase));
        }
        const QColor col = mix(c.base, c.light, rng.range(0.2, 0.9));
        fillRibbon(p, line, rng.range(0.5, 0.8), 0.25, withAlpha(col, static_cast<int>(rng.range(90, 150))),
                   0.2, 0.3);
    }
    // Raised roots on the top: short runs that arch away from the smooth sheet and settle back into
    // it, so the crown is not a sleek shell. Kept within the sheet: outside it they read as a haze.
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    for (int k = 0; k < 4 + s.locks / 4; ++k) {
        const double t = rng.range(0.5, 1.0), u0 = rng.range(0.0, 0.14), u1 = u0 + rng.range(0.08, 0.2);
        const double lift = -rng.range(2.5, 7.0), phase = s.phaseStep * (t * s.locks - 0.5);
        Polyline line;
        for (int i = 0; i <= 20; ++i) {
            const double u = u0 + (u1 - u0) * i / 20;
            const QPointF out = g.at(u, 1.0) - g.at(u, 0.0);
            line.push_back(wavePoint(s, g, u, t, phase) + out / std::max(1e-6, std::hypot(out.x(), out.y())) *
                                                              (lift * std::sin(kPi * i / 20)));
        }
        const QColor col = mix(c.base, c.light, rng.range(0.0, 0.7));
        fillRibbon(p, line, rng.range(0.6, 1.0), 0.4, withAlpha(col, static_cast<int>(rng.range(100, 160))),
                   0.15, 0.3);
    }
    p.restore();
}

}  // namespace

void drawWaveLight(QPainter& p, const Sweep& s, const HairPalette& c) {
    if (!p.transform().isIdentity() || p.device()->devType() != QInternal::Image) return;
    const Guides g(s.guides);
    Rng rng(s.seed * 31 + 5);
    if (s.mass) drawDenseEnds(p, s, g, c, rng);
    const int w = p.device()->width(), h = p.device()->height();
    QImage shade = newLayer(w, h), hairs = newLayer(w, h);
    {
        QPainter soft, crisp;
        beginPainter(soft, shade);
        beginPainter(crisp, hairs);
        std::vector<WaveLock> locks(std::max(1, s.locks));
        for (WaveLock& lk : locks) lk = {rng.symmetric(0.2), rng.range(0.55, 1.0), rng.uniform() < 0.55};
        drawWaveStrands(crisp, soft, s, g, c, locks, rng);
        drawLockSections(crisp, soft, s, g, c, locks, rng);
    }
    // Both laid over the sheet keeping its alpha: the soft shade and glow first, the hairs on top.
    drawBlurred(p, std::move(shade), 3, QPainter::CompositionMode_SourceAtop);
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    p.drawImage(0, 0, hairs);
    p.restore();
    if (s.mass) {
        drawLooseStrands(p, s, g, c, rng);
        drawBentEnds(p, s, g, c, rng);
    }
}

}  // namespace installdata
