#include "CurlCoils.h"

#include <algorithm>
#include <cmath>

#include "Geometry.h"
#include "HairDrawing.h"
#include "HairFinish.h"
#include "HairGuides.h"

namespace installdata {

namespace {

using namespace face;

// The line moved `off` px along its own normal, the normal taken toward `down`.
Polyline offsetLine(const Polyline& line, double off, QPointF down) {
    Polyline out(line.size());
    for (size_t i = 0; i < line.size(); ++i) {
        QPointF n = normalAt(line, i);
        if (n.x() * down.x() + n.y() * down.y() < 0) n = -n;
        out[i] = line[i] + n * off;
    }
    return out;
}

// Light from the upper left and in front, on the surface of a turn at phase ph.
double lightAt(const Coil& k, double ph) {
    const QPointF nrm(-k.axis.y(), k.axis.x());
    const double side = k.hand * std::sin(ph);
    const double nx = nrm.x() * side, ny = nrm.y() * side, nz = std::cos(ph);
    return std::max(0.0, -0.5 * nx - 0.55 * ny + 0.67 * nz);
}

// Points along the helix, n + 1 of them, and the phase of the turn at each (0: in front).
void sampleHelix(const Coil& k, int n, Polyline& pts, std::vector<double>& phase) {
    const QPointF nrm(-k.axis.y(), k.axis.x());
    const double len = k.turns * k.pitch;
    pts.resize(n + 1);
    phase.resize(n + 1);
    for (int i = 0; i <= n; ++i) {
        const double s = static_cast<double>(i) / n, ph = k.phase + 2 * kPi * k.turns * s;
        const double rr = k.r * (0.72 + 0.28 * std::sin(kPi * s));
        pts[i] = k.at + k.axis * (len * (s - 0.5) + k.sag * rr * std::cos(ph)) +
                 nrm * (k.hand * rr * std::sin(ph));
        phase[i] = ph;
    }
}

// Core and turns on p, fibres, creases and glints on fine.
void drawCoil(QPainter& p, QPainter& fine, const Coil& k, const HairPalette& c, Rng& rng) {
    const int n = std::max(10, static_cast<int>(k.turns * 18));
    const double len = k.turns * k.pitch;
    Polyline pts;
    std::vector<double> phase;
    sampleHelix(k, n, pts, phase);
    const QColor black(0, 0, 0);
    const QColor deep = mix(c.dark, black, 0.3 + 0.3 * k.dim);
    const double w = std::clamp(0.85 * k.pitch, 1.6, 1.25 * k.r);
    // The inside of the coil, seen between its turns.
    const Polyline core{k.at - k.axis * (0.45 * len), k.at, k.at + k.axis * (0.45 * len)};
    if (k.cored) fillRibbon(p, core, 1.5 * k.r, 1.3 * k.r, withAlpha(deep, 235), 0.15, 0.25);
    auto shadeOf = [&](const QColor& col, double extra) {
        return mix(col, deep, std::clamp(0.75 * k.dim + extra - 0.15 * k.tone, 0.0, 0.9));
    };
    // Runs of points on the back, then on the front of the turns.
    for (int pass = 0; pass < 2; ++pass) {
        const bool front = pass == 1;
        int i = 0;
        while (i <= n) {
            const bool here = std::cos(phase[i]) >= 0 || k.open;
            if (here != front) {
                ++i;
                continue;
            }
            int j = i;
            while (j <= n && (std::cos(phase[j]) >= 0 || k.open) == front) ++j;
            const Polyline run(pts.begin() + std::max(0, i - 1), pts.begin() + std::min(n + 1, j + 1));
            const int from = i;
            i = j;
            if (run.size() < 3) continue;
            if (!front) {
                fillRibbon(p, run, 0.9 * w, 0.9 * w, shadeOf(mix(c.dark, c.base, 0.55), 0.15), 0.06, 0.06);
                continue;
            }
            const double mid = phase[std::clamp((from + j) / 2, 0, n)];
            const double lit = lightAt(k, mid) * (0.55 + 0.45 * k.tone);
            // A dark band of many fine hairs that carry the light: more of them on a broad band.
            const QColor body = shadeOf(mix(mix(c.dark, c.base, 0.6), c.light, 0.3 * lit), 0.0);
            fillRibbon(p, run, w, w, body, 0.06, 0.06);
            // The lower edge tucks under the next turn.
            fillRibbon(fine, offsetLine(run, 0.42 * w, k.axis), 0.5 * w, 0.5 * w,
                       withAlpha(deep, static_cast<int>(90 + 60 * k.dim)), 0.25, 0.25);
            const int fibres = 3 + static_cast<int>(w / 1.4);
            for (int f = 0; f < fibres; ++f) {
                const double catchLight = lit * rng.range(0.3, 1.0);
                const QColor col = strandColour(rng, c), lit2 = mix(mix(col, c.light, 0.8 * catchLight),
                                                                    c.sheen, 0.3 * catchLight * catchLight);
                fillRibbon(fine, offsetLine(run, (f + rng.uniform()) / fibres * 0.8 * w - 0.4 * w, k.axis),
                           rng.range(0.45, 0.8), 0.3,
                           withAlpha(shadeOf(lit2, 0.0), static_cast<int>(col.alpha() * 0.7)), 0.2, 0.2);
            }
            if (k.dim > 0.45 || lit < 0.35 || rng.uniform() < 0.25) continue;
            Polyline glint;
            for (int m = from; m < j; ++m)
                if (lightAt(k, phase[m]) > 0.62) glint.push_back(pts[m]);
            if (glint.size() < 3) continue;
            fillRibbon(fine, offsetLine(glint, -0.18 * w, k.axis), 0.35 * w, 0.3 * w,
                       withAlpha(c.sheen, static_cast<int>(rng.range(60, 140) * (1.0 - k.dim) * lit)), 0.3,
                       0.3);
        }
    }
}

// A few fine hairs curling off a coil.
void drawFrizz(QPainter& p, const Coil& k, double amount, const HairPalette& c, Rng& rng) {
    const int count = static_cast<int>(amount * rng.range(0.0, 3.0));
    for (int m = 0; m < count; ++m) {
        const double a0 = rng.range(0, 2 * kPi), rr = rng.range(1.5, 3.5) * (1 + 0.2 * k.r / 5);
        const QPointF centre = k.at + QPointF(std::cos(a0), std::sin(a0)) * (k.r + rr * 0.8);
        const double span = rng.range(2.5, 4.5) * (rng.uniform() < 0.5 ? 1 : -1), b0 = a0 + kPi;
        Polyline pts;
        for (int i = 0; i <= 10; ++i) {
            const double a = b0 + span * i / 10;
            pts.push_back(centre + QPointF(std::cos(a), std::sin(a)) * (rr * (1.0 + 0.4 * i / 10)));
        }
        fillRibbon(p, pts, 0.55, 0.3,
                   withAlpha(mix(c.base, c.light, rng.uniform()), static_cast<int>(rng.range(40, 100))), 0.0,
                   0.3);
    }
}

}  // namespace

void drawLayerOfCoils(QPainter& p, const std::vector<Coil>& coils, const CurlStyle& st, const HairPalette& c,
                      Rng& rng, bool shadow) {
    QImage body = newLayer(kCanvasW, kCanvasH), fine = newLayer(kCanvasW, kCanvasH);
    {
        QPainter q, f;
        beginPainter(q, body);
        beginPainter(f, fine);
        for (const Coil& k : coils) drawCoil(q, f, k, c, rng);
        // None on the bare forehead, where a curling hair would wall in a dot of skin.
        const QPainterPath face = faceOvalPath(), ownHair = ownHairRegion();
        Rng frizz(rng.next());
        for (const Coil& k : coils)
            if ((k.dim < 0.3 || k.edge) && (!face.contains(k.at) || ownHair.contains(k.at)))
                drawFrizz(f, k, k.edge ? 1.0 + 2.0 * st.frizz : st.frizz, c, frizz);
        // One broad soft highlight over each lit group, on the coils only.
        q.setCompositionMode(QPainter::CompositionMode_SourceAtop);
        q.setPen(Qt::NoPen);
        std::vector<QPointF> done;
        for (const Coil& k : coils) {
            if (k.groupTone < 0.1 || k.dim > 0.5 ||
                std::find(done.begin(), done.end(), k.group) != done.end())
                continue;
            done.push_back(k.group);
            const QPointF at = k.group - QPointF(0.5, 0.7) * st.r;
            const double rad = 2.2 * st.r;
            QRadialGradient glow(at, rad);
            const int a = static_cast<int>(std::min(1.0, k.groupTone) * 125 * (1.0 - k.dim));
            glow.setColorAt(0.0, withAlpha(mix(c.light, c.sheen, 0.3), a));
            glow.setColorAt(1.0, withAlpha(c.light, 0));
            q.setBrush(glow);
            q.drawEllipse(at, rad, rad);
        }
    }
    if (shadow) drawHalfSizeShadow(p, body, QPointF(1.5, 2.5), 120);
    blurLayer(body, 1);
    p.drawImage(0, 0, body);
    p.drawImage(0, 0, fine);
}

}  // namespace installdata
