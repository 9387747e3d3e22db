#include <algorithm>
#include <cmath>

#include "UpdoArt.h"

namespace installdata {

namespace {

// A point and its unit tangent at arc length d along a densely sampled line.
struct Along {
    Polyline line;
    std::vector<double> arc;
    explicit Along(const Polyline& controls) : line(sampleSpline(controls, 240)), arc(line.size(), 0.0) {
        for (size_t i = 1; i < line.size(); ++i)
            arc[i] = arc[i - 1] + std::hypot(line[i].x() - line[i - 1].x(), line[i].y() - line[i - 1].y());
    }
    double length() const { return arc.back(); }
    void at(double d, QPointF& pos, QPointF& tan) const {
        const size_t i =
            std::min<size_t>(std::lower_bound(arc.begin(), arc.end(), d) - arc.begin(), line.size() - 1);
        pos = line[i];
        const QPointF dd = line[std::min(i + 1, line.size() - 1)] - line[i == 0 ? 0 : i - 1];
        tan = dd / std::max(1e-6, std::hypot(dd.x(), dd.y()));
    }
};

// One section of the plait crossing over from one edge toward the other: where it comes out from
// under the last one, its width and tone all a little its own.
struct Section {
    Polyline spine;
    double width, tone;
};

Section makeSection(const Along& path, double d, double w, int k, Rng& rng) {
    QPointF pos, tan;
    path.at(d + rng.symmetric(0.07 * w), pos, tan);
    const QPointF nrm(-tan.y(), tan.x());
    const double side = k % 2 ? 1.0 : -1.0, reach = rng.range(0.36, 0.5), lean = rng.range(0.45, 0.75);
    const QPointF a = pos + nrm * (side * reach * w) - tan * (0.12 * w);
    const QPointF m = pos + nrm * (side * rng.range(0.0, 0.14) * w) + tan * (0.22 * w);
    const QPointF b = pos - nrm * (side * rng.range(0.22, 0.36) * w) + tan * (lean * w);
    return {sampleSpline({a, m, b}, 14), w * rng.range(0.34, 0.46), rng.range(0.0, 1.0)};
}

}  // namespace

void drawCrownPlait(QPainter& p, const Polyline& controls, double w, const HairPalette& c, uint64_t seed) {
    const Along path(controls);
    Rng rng(seed);
    const QColor deep = mix(c.dark, QColor(0, 0, 0), 0.45), lit = mix(c.light, c.sheen, 0.35);
    // The hair under the sections, darkest down the middle where they tuck in.
    fillRibbon(p, path.line, 0.86 * w, 0.86 * w, mix(c.dark, c.base, 0.35), 0.04, 0.04);
    fillRibbon(p, path.line, 0.25 * w, 0.25 * w, withAlpha(deep, 170), 0.06, 0.06);
    int k = 0;
    for (double d = 0.1 * w; d < path.length() - 0.3 * w; d += w * rng.range(0.24, 0.34), ++k) {
        const Section s = makeSection(path, d, w, k, rng);
        // Its shadow on the sections it lies over, then its body, darker toward where it turns under.
        Polyline shade = s.spine;
        for (QPointF& q : shade) q += QPointF(1.2, 1.8);
        fillRibbon(p, shade, 1.05 * s.width, 0.5 * s.width, withAlpha(deep, 95), 0.25, 0.2);
        fillRibbon(p, s.spine, s.width, 0.45 * s.width, mix(c.dark, c.base, 0.55 + 0.3 * s.tone), 0.3, 0.25);
        // Fine strands along it: lit on the rise where it comes out, sinking into shade at its end.
        const int strands = 9 + static_cast<int>(rng.range(0, 5));
        for (int i = 0; i < strands; ++i) {
            const double across = (i + rng.uniform()) / strands - 0.5;
            Polyline st = s.spine;
            for (size_t j = 0; j < st.size(); ++j) {
                const QPointF n = normalAt(s.spine, j);
                const double narrow = 1.0 - 0.5 * j / (st.size() - 1.0);
                st[j] += n * (across * s.width * narrow + rng.symmetric(0.3));
            }
            const double onRise = 0.5 - across;  // the edge toward the light catches it
            QColor col = strandColour(rng, c);
            if (rng.uniform() < 0.25 + 0.35 * s.tone * onRise) col = mix(col, lit, rng.range(0.3, 0.8));
            const size_t from = static_cast<size_t>(rng.range(0, 3)),
                         to = st.size() - static_cast<size_t>(rng.range(0, 4));
            fillRibbon(p, Polyline(st.begin() + from, st.begin() + to), rng.range(0.55, 0.95), 0.4,
                       withAlpha(col, static_cast<int>(rng.range(150, 235))), 0.2, 0.3);
        }
        // Where it turns under the next section: a soft crease.
        const Polyline end(s.spine.end() - 5, s.spine.end());
        fillRibbon(p, end, 0.5 * s.width, 0.35 * s.width, withAlpha(deep, 110), 0.3, 0.0);
    }
    // A few hairs pulled loose from the plait, lying across it.
    for (int i = 0; i < 14; ++i) {
        QPointF pos, tan;
        path.at(rng.range(0.05, 0.95) * path.length(), pos, tan);
        const QPointF nrm(-tan.y(), tan.x());
        const double side = rng.symmetric(0.5) * w, len = rng.range(0.6, 1.4) * w;
        const Polyline hair =
            sampleSpline({pos + nrm * side, pos + nrm * (side + rng.symmetric(0.2 * w)) + tan * (0.5 * len),
                          pos + nrm * (side + rng.symmetric(0.35 * w)) + tan * len},
                         12);
        fillRibbon(p, hair, rng.range(0.45, 0.7), 0.2, withAlpha(mix(strandColour(rng, c), lit, 0.3), 150),
                   0.1, 0.3);
    }
}

}  // namespace installdata
