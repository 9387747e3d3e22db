#include <QLinearGradient>
#include <algorithm>
#include <cmath>
#include <functional>

#include "HairEngine.h"
#include "HairGuides.h"

// Ringlets: fat spiral locks lying side by side and over each other. Each lock is a dark body
// (the inside and the back of its coil) with one broad band per turn in front, lit as a tube from
// the upper left; fine fibres run along the bands and a few frizzy hairs stand off the edges.
// Also the broad light and shade bands that follow the crests of big waves.
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

struct RingletLock {
    Axis axis;
    double radius, pitch, tone;
    bool back;          // in the row behind: darker, partly covered
    int hand;           // which way the coil winds: 1 or -1
    double startPhase;  // where along its turn the first band sits
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

std::vector<RingletLock> makeRinglets(const Sweep& s, const Guides& g, Rng& rng) {
    const double r0 = 1.3 * s.curlAmp;
    // Half a wave of the table's curl per turn: the coils are as tight as the strands would wave.
    double pxLength = 0;
    for (int i = 0; i < 20; ++i) {
        const QPointF d = g.at((i + 1) / 20.0, 0.5) - g.at(i / 20.0, 0.5);
        pxLength += std::hypot(d.x(), d.y());
    }
    const double pitch0 = std::clamp(
        0.55 * pxLength / std::max(1.0, s.curlWaves) / std::sqrt(std::max(0.5, s.loop)), 10.0, 20.0);
    const double u0 = std::max(0.0, s.curlStart - 0.04);
    // Front locks about 1.6 radii apart, so neighbours touch; a row behind fills between them.
    const int front = std::max(1, static_cast<int>(std::lround(sheetWidth(g, u0) / (1.6 * r0))));
    std::vector<RingletLock> out;
    for (int row = 0; row < 2; ++row) {
        const int count = row == 0 ? front + 1 : front;
        for (int i = 0; i < count; ++i) {
            RingletLock lk;
            lk.back = row == 0;
            double t = row == 0 ? static_cast<double>(i) / std::max(1, count - 1)
                                : (i + 0.5) / static_cast<double>(count);
            t = std::clamp(t + rng.symmetric(0.25 / (count + 1)), 0.0, 1.0);
            if (count == 1) t = 0.5;
            // Uneven ends, locks setting in at different heights, and the outer ones fanning out
            // toward the ends so the mass grows in volume downward.
            const double end = 1.0 - (s.lengthJitter + 0.08) * rng.uniform() - s.layer * (1.0 - t) -
                               (lk.back ? rng.range(0.0, 0.05) : 0.0);
            const double start = u0 + rng.range(0.0, 0.08), fan = (t - 0.35) * rng.range(0.3, 0.6) * r0;
            const double drift = rng.symmetric(s.wander + 3.0), freq = rng.range(0.6, 1.6);
            for (int k = 0; k <= 80; ++k) {
                const double u = start + (end - start) * k / 80.0, along = (u - start) / (1.0 - start);
                QPointF q = g.at(u, t);
                const QPointF d = g.at(std::min(1.0, u + 0.01), t) - g.at(std::max(0.0, u - 0.01), t);
                const double len = std::max(1e-6, std::hypot(d.x(), d.y()));
                const QPointF across = g.at(u, 1.0) - g.at(u, 0.0);
                q += QPointF(-d.y() / len, d.x() / len) * (drift * std::sin(freq * kPi * along)) +
                     across / std::max(1e-6, std::hypot(across.x(), across.y())) * (fan * along * along);
                lk.axis.arc.push_back(k == 0
                                          ? 0.0
                                          : lk.axis.arc.back() + std::hypot(q.x() - lk.axis.pts.back().x(),
                                                                            q.y() - lk.axis.pts.back().y()));
                lk.axis.pts.push_back(q);
            }
            lk.radius = r0 * rng.range(0.85, 1.15);
            lk.pitch = pitch0 * rng.range(0.9, 1.1);
            lk.tone = rng.symmetric(1.0);
            lk.hand = rng.uniform() < 0.5 ? 1 : -1;
            lk.startPhase = rng.range(0.0, 1.0);
            out.push_back(std::move(lk));
        }
    }
    // Behind first, then the front row in a shuffled order so no side always lies on top.
    for (size_t i = out.size(); i-- > 1;) {
        const size_t j = static_cast<size_t>(rng.uniform() * (i + 1));
        std::swap(out[i], out[j]);
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const RingletLock& a, const RingletLock& b) { return a.back > b.back; });
    return out;
}

// Radius of the coil a distance d down its lock: it opens out from the smooth top over the first
// turns and widens toward the ends.
double coilRadius(const RingletLock& lk, double d, double grow) {
    const double f = d / std::max(1.0, lk.axis.length());
    const double tipIn = 1.0 - 0.35 * smoothstep(0.93, 1.0, f);
    return lk.radius * (0.45 + 0.55 * smoothstep(0.0, 2.2 * lk.pitch, d)) * (1.0 + 0.6 * grow * f) * tipIn;
}

// One band per turn across the front of the coil, from one edge of the lock to the other and a
// half pitch down: lit on its upper left, a dark crease under it where the next turn tucks in.
void drawTurn(QPainter& p, QPainter& detail, const RingletLock& lk, double dk, double grow,
              const HairPalette& c, const std::function<QColor(const QColor&)>& tint, Rng& rng) {
    const double f = dk / std::max(1.0, lk.axis.length());
    const double r = coilRadius(lk, std::max(0.0, dk), grow) * rng.range(0.85, 1.12),
                 pitch = lk.pitch * (1.0 + 0.3 * grow * f);
    const double thick = rng.range(0.72, 0.88) * pitch, sag = rng.range(0.1, 0.3) * pitch;
    constexpr int kSteps = 12;
    Polyline mid, top, bottom;
    for (int i = 0; i <= kSteps; ++i) {
        const double ph = -kPi / 2 + kPi * i / kSteps;
        QPointF pos, tan;
        // Seen a little from above, the front of a turn hangs in a shallow crescent.
        lk.axis.at(std::max(0.0, dk + pitch * ph / (2 * kPi) + sag * std::cos(ph)), pos, tan);
        const QPointF nrm(-tan.y(), tan.x());
        const QPointF q = pos + nrm * (lk.hand * r * std::sin(ph));
        const double h = 0.5 * thick * (0.3 + 0.7 * std::sqrt(std::max(0.0, std::cos(ph))));
        mid.push_back(q);
        top.push_back(q - tan * h);
        bottom.push_back(q + tan * h);
    }
    Polyline outline = top;
    outline.insert(outline.end(), bottom.rbegin(), bottom.rend());
    const QPointF centre = mid[kSteps / 2];
    QLinearGradient tube(centre + QPointF(-0.9 * r, -0.9 * r), centre + QPointF(0.8 * r, 0.8 * r));
    // Turns catch the light unevenly: some bright, some turned into the shade.
    const double lit = rng.range(0.0, 0.45) + 0.2 * std::max(0.0, lk.tone);
    const double shaded = rng.uniform() < 0.25 ? rng.range(0.2, 0.5) : 0.0;
    tube.setColorAt(0.0, tint(mix(mix(c.light, c.sheen, lit), c.base, shaded)));
    tube.setColorAt(0.3, tint(mix(mix(c.base, c.light, 0.3 + lit), c.dark, shaded)));
    tube.setColorAt(0.62, tint(mix(c.dark, c.base, 0.7)));
    tube.setColorAt(1.0, tint(mix(c.dark, QColor(0, 0, 0), 0.25)));
    p.setPen(Qt::NoPen);
    p.setBrush(tube);
    p.drawPath(pathThrough(sampleSpline(outline, 4 * kSteps), true));
    // Fibres along the band, a crease under it and a glint on its upper left.
    for (int k = 0; k < 9; ++k) {
        const double off = -0.4 + 0.8 * (k + rng.uniform()) / 9, sway = rng.symmetric(0.08);
        Polyline fibre = mid;
        for (size_t i = 0; i < fibre.size(); ++i)
            fibre[i] = lerp(top[i], bottom[i], std::clamp(0.5 + off + sway * std::sin(0.5 * i), 0.05, 0.95));
        QColor col = strandColour(rng, c);
        fillRibbon(detail, fibre, rng.range(0.4, 0.7), 0.3, tint(withAlpha(col, col.alpha() * 3 / 4)), 0.15,
                   0.2);
    }
    fillRibbon(detail, bottom, 1.2, 1.2, withAlpha(mix(c.dark, QColor(0, 0, 0), 0.4), 70), 0.3, 0.3);
    const int g0 = 2 + static_cast<int>(rng.uniform() * 2), g1 = 6 + static_cast<int>(rng.uniform() * 3);
    Polyline glint;
    for (int i = g0; i <= g1; ++i) glint.push_back(lerp(top[i], bottom[i], 0.32));
    fillRibbon(detail, glint, std::max(1.1, 0.2 * thick), 0.8,
               withAlpha(c.sheen, static_cast<int>(rng.range(70, 150))), 0.3, 0.4);
}

// A few fine hairs curling off the edges of a lock: the soft, frizzy rim of curly hair.
void drawFrizz(QPainter& p, const RingletLock& lk, double grow, const HairPalette& c, Rng& rng) {
    const double total = lk.axis.length();
    const int count = static_cast<int>(total / lk.pitch * (lk.back ? 0.6 : 1.4));
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

void drawLock(QPainter& p, const RingletLock& lk, const Sweep& s, const HairPalette& c, Rng& rng) {
    const double total = lk.axis.length(), grow = s.curlGrow;
    const double dim = std::clamp((lk.back ? 0.45 : 0.0) + (lk.tone < 0 ? -0.3 * lk.tone : 0.0), 0.0, 0.8);
    const auto tint = [&](const QColor& col) { return withAlpha(mix(col, c.dark, dim), col.alpha()); };
    // The body and the bands are softened a little on a scratch layer around the lock; the
    // fibres and glints over them stay crisp.
    QRectF box;
    for (const QPointF& q : lk.axis.pts) box |= QRectF(q, QSizeF(1, 1));
    box = box.adjusted(-3 * lk.radius - 8, -3 * lk.radius - 8, 3 * lk.radius + 8, 3 * lk.radius + 8);
    const QPoint at(static_cast<int>(std::floor(box.left())), static_cast<int>(std::floor(box.top())));
    QImage soft = newLayer(static_cast<int>(box.width()) + 2, static_cast<int>(box.height()) + 2),
           fine = newLayer(soft.width(), soft.height());
    QPainter q, f;
    beginPainter(q, soft);
    beginPainter(f, fine);
    q.translate(-at);
    f.translate(-at);
    // The body: the inside of the coil, seen between the turns.
    const QColor shade = mix(c.dark, QColor(0, 0, 0), lk.back ? 0.4 : 0.2);
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
    q.end();
    f.end();
    if (!lk.back) {  // a soft shadow on the hair behind, down and to the right of the lock
        QImage shadow = soft;
        {
            QPainter sp;
            beginPainter(sp, shadow);
            sp.setCompositionMode(QPainter::CompositionMode_SourceIn);
            sp.fillRect(shadow.rect(), QColor(0, 0, 0, 110));
        }
        blurLayer(shadow, 4);
        p.save();
        p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
        p.drawImage(at + QPoint(2, 3), shadow);
        p.restore();
    }
    blurLayer(soft, 1);
    p.drawImage(at, soft);
    p.drawImage(at, fine);
    drawFrizz(p, lk, grow, c, rng);
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
    // Smooth from the roots to where the curl sets in; the locks take over from there.
    Sweep top = s;
    top.curlAmp = 0;
    top.mass = false;
    top.flyaways = 0;
    top.lengthJitter = 0.02;
    const double cut = std::min(1.0, s.curlStart + 0.12);
    for (size_t i = 0; i < top.guides.size(); ++i) {
        const int n = std::max(3, static_cast<int>(cut * (kGuideSamples - 1)));
        top.guides[i] = Polyline(g.lines[i].begin(), g.lines[i].begin() + n);
    }
    drawSweep(p, top, c);
    for (const RingletLock& lk : makeRinglets(s, g, rng)) drawLock(p, lk, s, c, rng);
}

void drawWaveLight(QPainter& p, const Sweep& s, const HairPalette& c) {
    if (!p.transform().isIdentity() || p.device()->devType() != QInternal::Image) return;
    const Guides g(s.guides);
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
    blurLayer(bands, 5);
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    p.drawImage(0, 0, bands);
    p.restore();
}

}  // namespace installdata
