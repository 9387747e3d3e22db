#include <algorithm>
#include <cmath>

#include "HairEngine.h"
#include "HairGuides.h"

// Big waves: broad light and shade bands following the crests across the sheet, lock ends that
// stay dense down to a short soft taper, and a few loose ends bending away from the mass.
namespace installdata {

namespace {

constexpr double kPi = 3.14159265358979323846;

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

}  // namespace

void drawWaveLight(QPainter& p, const Sweep& s, const HairPalette& c) {
    if (!p.transform().isIdentity() || p.device()->devType() != QInternal::Image) return;
    const Guides g(s.guides);
    Rng rng(s.seed * 31 + 5);
    if (s.mass) drawDenseEnds(p, s, g, c, rng);
    QImage bands = newLayer(p.device()->width(), p.device()->height());
    QPainter q;
    beginPainter(q, bands);
    // Lines of equal curl phase run across the sheet; the strands' own offsets are followed so
    // each band lies on the same turn of every lock. Light on the crests, shade in the troughs.
    const double across = s.phaseStep * s.locks, wave = 2 * kPi * std::max(0.5, s.curlWaves);
    const double pxLength =
        std::hypot(g.at(1, 0.5).x() - g.at(0, 0.5).x(), g.at(1, 0.5).y() - g.at(0, 0.5).y());
    const double bandW = std::clamp(0.3 * pxLength / std::max(0.5, s.curlWaves), 8.0, 40.0);
    for (int k = -4; k < 2 * static_cast<int>(s.curlWaves + 6); ++k) {
        const bool lit = k % 2 == 0;
        const double ph = kPi * k + (lit ? 0.55 : 0.3) * kPi;
        Polyline line;
        std::vector<double> fade;
        for (int i = 0; i <= 24; ++i) {
            const double t = i / 24.0, u = (ph - across * t) / wave;
            if (u < 0 || u > 0.97) continue;
            const QPointF a = g.at(u, t),
                          d = g.at(std::min(1.0, u + 0.01), t) - g.at(std::max(0.0, u - 0.01), t);
            const double len = std::max(1e-6, std::hypot(d.x(), d.y()));
            const double set = smoothstep(s.curlStart, s.curlStart + 0.2, u);
            const double amp = s.curlAmp * set * (1.0 + s.curlGrow * std::max(0.0, u - s.curlStart));
            line.push_back(a + QPointF(-d.y() / len, d.x() / len) * (amp * std::sin(ph)));
            fade.push_back(set);
        }
        if (line.size() < 3) continue;
        const double f = *std::max_element(fade.begin(), fade.end());
        if (f < 0.3) continue;
        const QColor col = lit ? withAlpha(c.sheen, static_cast<int>(140 * f))
                               : withAlpha(c.dark, static_cast<int>(110 * f));
        fillRibbon(q, line, bandW * (lit ? 0.7 : 1.0), bandW * (lit ? 0.7 : 1.0), col, 0.2, 0.2);
    }
    q.end();
    drawBlurred(p, std::move(bands), 5, QPainter::CompositionMode_SourceAtop);
    if (s.mass) drawBentEnds(p, s, g, c, rng);
}

}  // namespace installdata
