#include "HairEngine.h"

#include <QLinearGradient>
#include <QPainterPathStroker>
#include <algorithm>
#include <cmath>

#include "HairGuides.h"

namespace installdata {

namespace {

struct Lock {
    double centre, spread, length, phase, drift, driftFreq;
    double tone;  // -1 a lock in shade .. 1 a lock catching the light
};

struct Strand {
    Polyline pts;
    std::vector<float> front;  // -1 back .. 1 front of the curl turn at each point, 0 uncurled
};

// Points of one strand: interpolated guide position, clumping, drift and curl offsets.
Strand strandPoints(const Sweep& s, const Guides& g, const Lock& lk, double t, double end, Rng& rng) {
    const int n = 34 + static_cast<int>(s.curlWaves * 12 * end);
    const double ownPhase = rng.symmetric(0.18), jitterAmp = rng.range(0.2, 0.9);
    const double jitterFreq = rng.range(2.0, 5.0), jitterPh = rng.range(0, 2 * kPi);
    Polyline base(n);
    for (int i = 0; i < n; ++i) {
        const double u = end * i / (n - 1);
        const double ts = t + (lk.centre - t) * s.clump * std::pow(u, 1.5);
        base[i] = g.at(u, ts);
    }
    Strand out{Polyline(n), std::vector<float>(n, 0.0f)};
    for (int i = 0; i < n; ++i) {
        const double u = end * i / (n - 1);
        const QPointF d = base[std::min(i + 1, n - 1)] - base[std::max(i - 1, 0)];
        const double len = std::max(1e-6, std::hypot(d.x(), d.y()));
        const QPointF tan(d.x() / len, d.y() / len), nrm(-tan.y(), tan.x());
        double side =
            lk.drift * std::sin(lk.driftFreq * u * kPi) * u + jitterAmp * std::sin(jitterFreq * u + jitterPh);
        QPointF off = nrm * side;
        if (s.curlAmp > 0) {
            const double set = smoothstep(s.curlStart, s.curlStart + 0.2, u);
            const double a = s.curlAmp * set * (1.0 + s.curlGrow * std::max(0.0, u - s.curlStart));
            const double ph = lk.phase + ownPhase + 2 * kPi * s.curlWaves * u;
            off += nrm * (a * std::sin(ph)) + tan * (a * s.loop * std::cos(ph));
            out.front[i] = static_cast<float>(set * std::cos(ph));
        }
        out.pts[i] = base[i] + off;
    }
    return out;
}

// Curled strands turn toward and away from the light: highlights on the front of each turn,
// shade on the back, so locks read as coils or waves instead of a flat zigzag.
void shadeTurns(QPainter& p, const Strand& st, double w, const HairPalette& c, Rng& rng, bool lit) {
    const int n = static_cast<int>(st.pts.size());
    int i = 0;
    while (i < n) {
        const bool front = st.front[i] > 0.55f, back = st.front[i] < -0.6f;
        if ((!front || !lit) && !back) {
            ++i;
            continue;
        }
        int j = i;
        while (j < n && (front ? st.front[j] > 0.55f : st.front[j] < -0.6f)) ++j;
        if (j - i >= 3) {
            Polyline part(st.pts.begin() + i, st.pts.begin() + j);
            // Pale hair: its near-white sheen on every turn reads as tinsel; the turns take its
            // light tone instead.
            const QColor lit = c.pale ? mix(c.base, c.light, 0.6) : c.sheen;
            const QColor col = front ? withAlpha(lit, static_cast<int>(rng.range(60, 130)))
                                     : withAlpha(c.dark, static_cast<int>(rng.range(90, 160)));
            fillRibbon(p, part, w, w, col, 0.3, 0.3);
        }
        i = j;
    }
}

std::vector<Lock> makeLocks(const Sweep& s, Rng& rng) {
    std::vector<Lock> locks(s.locks);
    for (int i = 0; i < s.locks; ++i) {
        Lock& lk = locks[i];
        lk.centre = std::clamp((i + 0.5 + rng.symmetric(0.35)) / s.locks, 0.0, 1.0);
        lk.spread = 1.7 / s.locks;
        lk.length = 1.0 - s.lengthJitter * rng.uniform() - s.layer * (1.0 - lk.centre);
        lk.phase = s.phaseStep * i + rng.symmetric(s.phaseJitter);
        lk.drift = rng.symmetric(s.wander);
        lk.driftFreq = rng.range(0.5, 1.6);
        lk.tone = rng.symmetric(1.0);
    }
    return locks;
}

void drawMass(QPainter& p, const Guides& g, const Sweep& s, const HairPalette& c) {
    // Big waves swing the whole sheet: the fill swings with the strands' curl (the phase of the
    // lock at t) and reaches as far down as they do.
    const bool waves = s.curlAmp >= 10;
    const double end = 1.0 - 0.6 * s.lengthJitter -
                       (waves           ? 0.05
                        : s.curlAmp > 0 ? 0.03 + 0.006 * s.curlAmp
                                        : 0.0);
    // Under straight hair the fill ends raggedly, so that the ends are strands fading out
    // rather than a cut edge.
    const bool straight = s.clumpShade > 0 && s.curlAmp < 3;
    const double ragged = straight ? (c.black ? 0.08 : 0.05) : 0.0;
    const double wobble = static_cast<double>(s.seed % 97);
    // Black straight ends stop short of the strands, so that its tips are strands thinning out.
    const double shorter = straight && c.black ? 0.04 : 0.0;
    auto endAt = [&](double t) {
        const double r = ragged * std::sin(t * 41 + wobble) * std::sin(t * 17 + 0.3 * wobble);
        return std::max(0.2, end - shorter - r - s.layer * (1.0 - t));
    };
    const int across = ragged > 0 ? 24 : 8;
    auto at = [&](double u, double t) {
        if (!waves) return g.at(u, t);
        const QPointF d = g.at(std::min(1.0, u + 0.01), t) - g.at(std::max(0.0, u - 0.01), t);
        const double len = std::max(1e-6, std::hypot(d.x(), d.y()));
        const double set = smoothstep(s.curlStart, s.curlStart + 0.2, u);
        const double a = s.curlAmp * set * (1.0 + s.curlGrow * std::max(0.0, u - s.curlStart));
        const double ph = s.phaseStep * (t * s.locks - 0.5) + 2 * kPi * s.curlWaves * u;
        return g.at(u, t) + QPointF(-d.y() / len, d.x() / len) * (a * std::sin(ph));
    };
    // One strip between each pair of neighbouring guides, so the fill follows every guide (a sheet
    // swept round the skull keeps its outline) and its ends step where the cut is layered.
    const int strips = static_cast<int>(g.lines.size()) - 1;
    QPainterPath fill;
    fill.setFillRule(Qt::WindingFill);
    // Wave sheets are filled out to their edge strands: a gap there reads as a see-through pocket.
    const double inset = waves ? 0.02 : s.massInset;
    for (int k = 0; k < strips; ++k) {
        const double t0 = std::max(inset, static_cast<double>(k) / strips),
                     t1 = std::min(1.0 - inset, static_cast<double>(k + 1) / strips);
        Polyline poly;
        for (int i = 0; i <= 60; ++i) poly.push_back(at(endAt(t0) * i / 60, t0));
        for (int i = 1; i < across; ++i) {
            const double t = t0 + (t1 - t0) * i / across;
            poly.push_back(at(endAt(t), t));
        }
        for (int i = 60; i >= 0; --i) poly.push_back(at(endAt(t1) * i / 60, t1));
        for (int i = 1; i < 8; ++i)
            poly.push_back(g.at(0.0, t1 + (t0 - t1) * i / 8));  // back along the roots
        fill.addPath(pathThrough(poly, true));
    }
    const QSize size(p.device()->width(), p.device()->height());
    const int blur = waves ? 3 : s.curlAmp > 0 ? 8 : 4;  // wave sheets keep a firm edge, no soft rim
    paintSoft(p, size, blur, 1.0, [&](QPainter& q) {
        q.setPen(Qt::NoPen);
        q.setBrush(withAlpha(mix(c.dark, c.base, 0.35), waves ? 252 : 235));
        q.drawPath(fill);
    });
}

// Stray hairs: they leave the outer edge and wander off it, fine and faint.
void drawFlyaways(QPainter& p, const Guides& g, const Sweep& s, const HairPalette& c, Rng& rng) {
    for (int k = 0; k < s.flyaways; ++k) {
        const double u0 = rng.range(0.15, 0.75), u1 = std::min(1.0, u0 + rng.range(0.05, 0.12));
        const double amp = rng.range(3, 8), t = rng.uniform() < 0.8 ? 1.0 : 0.0;
        Polyline pts;
        for (int i = 0; i <= 16; ++i) {
            const double u = u0 + (u1 - u0) * i / 16;
            QPointF out = g.at(u, 1.0) - g.at(u, 0.0);
            const double len = std::max(1e-6, std::hypot(out.x(), out.y()));
            out /= len;
            if (t < 0.5) out = -out;
            pts.push_back(g.at(u, t) + out * (amp * static_cast<double>(i) / 16));
        }
        const QColor col = mix(c.base, c.light, rng.uniform());
        fillRibbon(p, pts, 0.55, 0.25, withAlpha(col, static_cast<int>(rng.range(45, 100))), 0.1, 0.0);
    }
}

}  // namespace

QColor strandColour(Rng& rng, const HairPalette& c) {
    const double r = rng.uniform();
    const QColor base = r < 0.3 ? c.dark : r < 0.78 ? c.base : c.light;
    return withAlpha(mix(base, c.base, rng.range(0.0, 0.4)), static_cast<int>(rng.range(95, 195)));
}

namespace {

// Where the light catches straight hair, 0..1 (canvas coordinates): a broad band across the crown
// that follows the head's round down to the temples, and a fainter one where long lengths bend
// below the cheek; brighter on the upper left, the side the light comes from. `spread` widens the
// bands.
double sheenWeight(QPointF q, double spread = 1.0) {
    const double dx = q.x() - 190, a = (q.y() - 100 - 0.0045 * dx * dx) / (12.0 * spread),
                 b = (q.y() - 268) / (15.0 * spread);
    const double facing = 0.78 - 0.22 * std::clamp(dx / 90, -1.0, 1.0);
    return (std::exp(-a * a) + (std::abs(dx) > 62 ? 0.4 * std::exp(-b * b) : 0.0)) * facing;
}

// Soft clumps: a dark cleft between neighbouring locks that opens toward the tips, and a faint
// lit ridge down the middle of the locks that face the light. Over the strands, keeping alpha.
void drawClumpShade(QPainter& p, const Guides& g, const Sweep& s, const HairPalette& c,
                    const std::vector<Lock>& locks) {
    Rng rng(s.seed + 991);
    std::vector<Lock> sorted = locks;
    std::sort(sorted.begin(), sorted.end(), [](const Lock& a, const Lock& b) { return a.centre < b.centre; });
    const QSize size(p.device()->width(), p.device()->height());
    const QColor deep = mix(c.dark, QColor(0, 0, 0), 0.35);
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    // The clefts are narrow: drawn straight on, antialiased.
    for (size_t k = 0; k + 1 < sorted.size(); ++k) {
        const Lock& a = sorted[k];
        const Lock& b = sorted[k + 1];
        Lock gap = a;
        gap.centre = 0.5 * (a.centre + b.centre);
        gap.drift = 0.5 * (a.drift + b.drift);
        const double end = std::min(a.length, b.length);
        const Strand st = strandPoints(s, g, gap, gap.centre, end, rng);
        const int n = static_cast<int>(st.pts.size()), i0 = n / 6;
        const Polyline part(st.pts.begin() + i0, st.pts.end());
        const int alpha = static_cast<int>(s.clumpShade * rng.range(60, 140));
        fillRibbon(p, part, 0.4, 1.2 + 1.6 * s.clumpShade, withAlpha(deep, alpha), 0.25, 0.1);
    }
    if (!c.softSheen()) {
        paintSoft(p, size, 3, 1.0, [&](QPainter& q) {
            for (const Lock& lk : sorted) {
                if (lk.tone < -0.1) continue;
                const Strand st = strandPoints(s, g, lk, lk.centre, lk.length * 0.92, rng);
                const int alpha = static_cast<int>(s.clumpShade * (20 + 40 * lk.tone));
                fillRibbon(q, st.pts, 2.5, 2.0, withAlpha(c.light, alpha), 0.2, 0.3);
            }
        });
        p.restore();
        return;
    }
    // Black and pale: every group gets its own value, broad and soft, so the mass is not one flat
    // tone. Pale hair is lifted less (its light tone is near its sheen) and shaded a little more.
    const double lift = c.black ? 110 : 70, sink = c.black ? 90 : 100;
    paintSoft(p, size, 4, 1.0, [&](QPainter& q) {
        for (const Lock& lk : sorted) {
            const Strand st = strandPoints(s, g, lk, lk.centre, lk.length * 0.9, rng);
            const QColor col = lk.tone > 0
                                   ? withAlpha(c.light, static_cast<int>(s.clumpShade * lift * lk.tone))
                                   : withAlpha(deep, static_cast<int>(-s.clumpShade * sink * lk.tone));
            fillRibbon(q, st.pts, 4.5, 3.0, col, 0.15, 0.35);
        }
    });
    p.restore();
}

// The sheen of one lit strand of straight hair: the stretches of it that cross the sheen bands.
// Soft sheen (black and pale hair) lies in a wider band, fainter, only on the groups turned to the
// light; `dim` scales its strength.
void drawBandSheen(QPainter& p, const Polyline& pts, double w, double tone, const QColor& col, Rng& rng,
                   bool soft = false, double dim = 1.0) {
    const int n = static_cast<int>(pts.size());
    const double gain =
        dim * rng.range(0.3, 1.0) * (soft ? 0.55 * smoothstep(-0.2, 0.7, tone) : 0.7 + 0.3 * tone);
    if (gain <= 0) return;
    std::vector<double> weight(n);
    for (int i = 0; i < n; ++i) weight[i] = sheenWeight(pts[i], soft ? 1.7 : 1.0);
    int i = 0;
    while (i < n) {
        if (weight[i] < 0.3) {
            ++i;
            continue;
        }
        int j = i;
        double peak = 0;
        while (j < n && weight[j] >= 0.3) peak = std::max(peak, weight[j++]);
        if (j - i >= 2) {
            const Polyline part(pts.begin() + std::max(0, i - 1), pts.begin() + std::min(n, j + 1));
            fillRibbon(p, part, w, w, withAlpha(col, static_cast<int>(std::min(200.0, 200 * peak * gain))),
                       0.4, 0.4);
        }
        i = j;
    }
}

// A strand of straight hair fades out over its last stretch (the last `fade` of it) instead of
// ending blunt.
void fillTaperedStrand(QPainter& p, const Polyline& pts, double w, const QColor& col, double fade = 0.2) {
    const int n = static_cast<int>(pts.size()), cut = static_cast<int>(n * (1 - fade));
    fillRibbon(p, Polyline(pts.begin(), pts.begin() + cut + 1), w, w * 0.6, col, 0.02, 0.0);
    fillRibbon(p, Polyline(pts.begin() + cut, pts.end()), w * 0.6, w * 0.15, withAlpha(col, col.alpha() / 2),
               0.0, 0.3);
}

void drawStrands(QPainter& p, const Guides& g, const Sweep& s, const HairPalette& c,
                 const std::vector<Lock>& locks, Rng& rng) {
    struct SheenStrand {
        Polyline pts;
        double w, tone;
    };
    std::vector<SheenStrand> sheen;
    const bool turns = s.curlAmp >= 3 && s.curlAmp < 10;  // big waves: lit by drawWaveLight
    const bool straight = s.clumpShade > 0 && s.curlAmp < 3, black = straight && c.black;
    struct LitStrand {
        Polyline pts;
        double w, tone;
    };
    std::vector<LitStrand> litStrands;
    // Choices that only pale hair makes draw from their own sequence, so that its strands, strays
    // and outline stay where they are: pale hair changes colour, not shape.
    Rng paleRng(s.seed + 4241);
    for (int pass = 0; pass < s.strandsPerLock; ++pass) {
        for (const Lock& lk : locks) {
            const double t = std::clamp(lk.centre + lk.spread * rng.symmetric(0.5), 0.0, 1.0);
            const double end = lk.length * (1.0 - 0.07 * rng.uniform());
            Strand st = strandPoints(s, g, lk, t, end, rng);
            const double w = s.width * rng.range(0.65, 1.35);
            // Locks differ in tone, so the mass reads as locks rather than as even lines.
            QColor col = strandColour(rng, c);
            // Pale hair: strands close in tone within a lock (dark and light hairs side by side are
            // a row of bright lines on it), the locks further apart.
            if (c.pale) col = mix(col, withAlpha(mix(c.base, c.light, 0.2), col.alpha()), 0.6);
            col = lk.tone < 0 ? mix(col, withAlpha(c.dark, col.alpha()), -0.55 * lk.tone)
                              : mix(col, withAlpha(c.light, col.alpha()), 0.4 * lk.tone);
            if (straight)
                fillTaperedStrand(p, st.pts, w, col, black ? rng.range(0.2, 0.4) : 0.2);
            else
                fillRibbon(p, st.pts, w, w * 0.3, col, 0.02, 0.0);
            // No sheen on the very edges: a lit strand along the silhouette reads as an outline.
            const bool lit = rng.uniform() < (straight ? 0.6 : 0.45) && t > 0.06 && t < 0.94;
            if (turns) shadeTurns(p, st, w, c, rng, lit);
            if (lit && straight && lk.tone > -0.6)
                litStrands.push_back({std::move(st.pts), w, lk.tone});
            else if (lit && s.curlAmp < 10 && !black)  // big waves are lit turn by turn instead
                sheen.push_back({std::move(st.pts), w, lk.tone});
        }
    }
    if (straight) {
        drawClumpShade(p, g, s, c, locks);
        if (black) {
            p.save();
            p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
            paintSoft(p, QSize(p.device()->width(), p.device()->height()), 2, 1.0, [&](QPainter& q) {
                for (const auto& [pts, w, tone] : litStrands)
                    drawBandSheen(q, pts, w * 1.8, tone, c.sheen, rng, true);
            });
            p.restore();
        } else {
            // Pale hair: the lit strands take its light tone, only a few on the groups turned to the
            // light its bright sheen; the band itself is laid on soft and broken below.
            for (const auto& [pts, w, tone] : litStrands) {
                const bool bright = !c.pale || (tone > 0.3 && paleRng.uniform() < 0.12);
                drawBandSheen(p, pts, w * 0.7, tone, bright ? c.sheen : mix(c.base, c.light, 0.3), rng);
            }
        }
        if (c.pale) {
            p.save();
            p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
            paintSoft(p, QSize(p.device()->width(), p.device()->height()), 2, 1.0, [&](QPainter& q) {
                for (const auto& [pts, w, tone] : litStrands)
                    drawBandSheen(q, pts, w * 1.8, tone, mix(c.light, c.sheen, 0.5), paleRng, true, 0.45);
            });
            p.restore();
        }
        // A few loose hairs that stray across the clumps.
        for (int k = 0; k < s.locks / 3; ++k) {
            Lock stray = locks[static_cast<size_t>(rng.uniform() * locks.size()) % locks.size()];
            stray.drift = rng.symmetric(7.0);
            stray.driftFreq = rng.range(0.8, 1.6);
            const Strand st =
                strandPoints(s, g, stray, stray.centre, stray.length * rng.range(0.85, 1.0), rng);
            const QColor col = mix(c.base, c.light, rng.range(0.3, 1.0));
            fillTaperedStrand(p, st.pts, 0.6, withAlpha(col, static_cast<int>(rng.range(60, 120))));
        }
    }
    // Pale hair: the sheen stretches take its light tone, only a few on the groups turned to the
    // light stay bright.
    for (const auto& [pts, w, tone] : sheen) {
        const bool bright = !c.pale || (tone > 0.1 && paleRng.uniform() < 0.3);
        const int n = static_cast<int>(pts.size());
        const double a = std::clamp(s.sheenAt + rng.symmetric(0.06), 0.0, 0.9);
        const double len = turns ? std::min(s.sheenLen, s.curlStart - a + 0.05) : s.sheenLen;
        const int i0 = static_cast<int>(a * n), i1 = std::min(n, static_cast<int>((a + len) * n));
        if (i1 - i0 < 3) continue;
        Polyline part(pts.begin() + i0, pts.begin() + i1);
        fillRibbon(
            p, part, w * 0.9, w * 0.9,
            withAlpha(bright ? c.sheen : mix(c.base, c.light, 0.5), static_cast<int>(rng.range(70, 150))),
            0.35, 0.35);
    }
    drawFlyaways(p, g, s, c, rng);
}

}  // namespace

void drawSweep(QPainter& p, const Sweep& s, const HairPalette& c) {
    const Guides g(s.guides);
    Rng rng(s.seed);
    if (s.curlAmp >= 4 && s.loop >= 0.5) {
        drawRingletSheet(p, s, c);
        return;
    }
    if (s.mass) drawMass(p, g, s, c);
    const std::vector<Lock> locks = makeLocks(s, rng);
    drawStrands(p, g, s, c, locks, rng);
    if (s.curlAmp >= 10) drawWaveLight(p, s, c);
}

void drawCrop(QPainter& p, const Crop& crop, const HairPalette& c) {
    const QSize size(p.device()->width(), p.device()->height());
    paintSoft(p, size, crop.softness, 1.0, [&](QPainter& q) {
        q.setPen(Qt::NoPen);
        q.setBrush(withAlpha(c.dark, 245));
        q.drawPath(crop.region);
    });
    Rng rng(crop.seed);
    const QRectF box = crop.region.boundingRect();
    for (int k = 0; k < crop.density; ++k) {
        QPointF at(rng.range(box.left(), box.right()), rng.range(box.top(), box.bottom()));
        if (!crop.region.contains(at)) continue;
        const QPointF d = at - crop.crown;
        double ang = std::atan2(d.y(), d.x()) + crop.swirl + rng.symmetric(0.25);
        const double bend = rng.symmetric(0.12), len = crop.length * rng.range(0.6, 1.3);
        Polyline pts{at};
        for (int i = 0; i < 5; ++i) {
            ang += bend;
            pts.push_back(pts.back() + QPointF(std::cos(ang), std::sin(ang)) * (len / 5));
        }
        const bool lit = rng.uniform() < 0.25;
        const QColor col = lit ? withAlpha(c.sheen, 90) : strandColour(rng, c);
        fillRibbon(p, pts, crop.width * rng.range(0.7, 1.3), 0.2, col, 0.15, 0.0);
    }
}

void drawBraid(QPainter& p, const Polyline& path, double w0, double w1, const HairPalette& c, uint64_t seed,
               bool tieOff) {
    const Polyline line = sampleSpline(path, 200);
    std::vector<double> arc(line.size(), 0.0);
    for (size_t i = 1; i < line.size(); ++i)
        arc[i] = arc[i - 1] + std::hypot(line[i].x() - line[i - 1].x(), line[i].y() - line[i - 1].y());
    const double total = arc.back();
    auto at = [&](double d, QPointF& pos, QPointF& tan) {
        const size_t i =
            std::min<size_t>(std::lower_bound(arc.begin(), arc.end(), d) - arc.begin(), line.size() - 1);
        const size_t a = i == 0 ? 0 : i - 1;
        pos = line[i];
        const QPointF dd = line[std::min(i + 1, line.size() - 1)] - line[a];
        const double len = std::max(1e-6, std::hypot(dd.x(), dd.y()));
        tan = dd / len;
    };
    const double plaited = tieOff ? total * 0.86 : total;  // then the tie and a loose tuft
    fillRibbon(p, Polyline(line.begin(), line.begin() + (tieOff ? 173 : 200)), w0 * 0.8, w1 * 0.7,
               mix(c.dark, c.base, 0.3), 0.0, 0.0);
    Rng rng(seed);
    int k = 0;
    for (double d = 0; d < plaited; d += 0.42 * (w0 + (w1 - w0) * d / total), ++k) {
        const double w = w0 + (w1 - w0) * d / total, side = k % 2 ? 1.0 : -1.0;
        QPointF pos, tan;
        at(d, pos, tan);
        const QPointF nrm(-tan.y(), tan.x());
        // Each lobe runs from the braid's edge down and in across the middle: a broad, rounded
        // section of hair with a crease where it tucks under the next one.
        const QPointF a = pos + nrm * (side * 0.46 * w) - tan * (0.1 * w);
        const QPointF m = pos + nrm * (side * 0.1 * w) + tan * (0.28 * w);
        const QPointF b = pos - nrm * (side * 0.3 * w) + tan * (0.62 * w);
        const Polyline lobe = sampleSpline({a, m, b}, 12);
        fillRibbon(p, lobe, 0.66 * w, 0.3 * w, mix(c.dark, c.base, 0.45), 0.3, 0.25);
        fillRibbon(p, lobe, 0.46 * w, 0.2 * w, mix(c.base, c.light, 0.25), 0.35, 0.3);
        Polyline crease = lobe;
        for (QPointF& q : crease) q -= tan * (0.26 * w);
        fillRibbon(p, crease, 0.12 * w, 0.05 * w, withAlpha(c.dark, 150), 0.3, 0.3);
        for (int s = 0; s < 7; ++s) {  // strands along the lobe, lit along its upper part
            Polyline st = lobe;
            const double off = rng.symmetric(0.16 * w);
            for (QPointF& q : st) q += nrm * off;
            const bool lit = s < 3;
            fillRibbon(p, Polyline(st.begin() + (lit ? 2 : 0), st.end() - (lit ? 4 : 0)), rng.range(0.6, 1.1),
                       0.4,
                       lit ? withAlpha(c.sheen, static_cast<int>(rng.range(60, 130))) : strandColour(rng, c),
                       0.3, 0.2);
        }
    }
    if (!tieOff) return;  // the ends tucked away under the hair
    QPointF tie, tan;
    at(plaited, tie, tan);
    Sweep tuft;
    const QPointF nrm(-tan.y(), tan.x());
    const QPointF tip = line.back();
    tuft.guides = {{tie + nrm * (0.25 * w1), tie + nrm * (0.3 * w1) + tan * 8.0, tip + nrm * (0.45 * w1)},
                   {tie - nrm * (0.25 * w1), tie - nrm * (0.3 * w1) + tan * 8.0, tip - nrm * (0.45 * w1)}};
    tuft.locks = 6;
    tuft.strandsPerLock = 8;
    tuft.clump = 0.6;
    tuft.lengthJitter = 0.25;
    tuft.wander = 1.2;
    tuft.seed = seed + 3;
    drawSweep(p, tuft, c);
    p.setPen(Qt::NoPen);
    p.setBrush(mix(c.dark, QColor(0, 0, 0), 0.3));
    p.drawEllipse(tie, 0.36 * w1, 0.36 * w1);
}

}  // namespace installdata
