#include "MensClumps.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

#include "Geometry.h"

namespace installdata {

namespace {

using namespace face;

QPointF unit(QPointF d) {
    const double len = std::hypot(d.x(), d.y());
    return len > 1e-9 ? d / len : QPointF(0, 1);
}

// Points along a bowed line from a to b, bulging `bow` px to the side at its middle.
Polyline bowed(QPointF a, QPointF b, double bow, int n = 6) {
    const QPointF d = b - a, across = unit(QPointF(-d.y(), d.x()));
    Polyline pts(n);
    for (int i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / (n - 1);
        pts[i] = lerp(a, b, t) + across * (bow * 4 * t * (1 - t));
    }
    return pts;
}

struct Clump {
    QPointF root, dir;
    double len, key, turn;
};

// The clump's spine from its root: straight along `dir`, or bent along the flow turned by `turn`.
Polyline spine(const ClumpField& f, QPointF root, QPointF dir, double len, double turn) {
    if (!f.follow) return {root, root + dir * len};
    constexpr int kSteps = 6;
    Polyline pts{root};
    QPointF at = root, d = dir;
    for (int i = 0; i < kSteps; ++i) {
        at += d * (len / kSteps);
        pts.push_back(at);
        d = turned(unit(f.flow(at)), turn);
    }
    return pts;
}

// The spine bowed `bow` px to the side at its middle and moved by `shift`, as n points.
Polyline bowedSpine(const Polyline& s, double bow, QPointF shift, double stretch, int n = 6) {
    if (s.size() == 2) return bowed(s.front() + shift, s.back() + shift * stretch, bow, n);
    const QPointF d = s.back() - s.front(), across = unit(QPointF(-d.y(), d.x()));
    Polyline pts;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / (s.size() - 1);
        pts.push_back(s[i] + across * (bow * 4 * t * (1 - t)) + shift * (1 + (stretch - 1) * t));
    }
    return pts;
}

// The point at fraction t along a spine's points.
QPointF along(const Polyline& s, double t) {
    const double at = std::clamp(t, 0.0, 1.0) * (s.size() - 1);
    const size_t i = std::min(s.size() - 2, static_cast<size_t>(at));
    return lerp(s[i], s[i + 1], at - i);
}

// The clumps of the field on a jittered grid of roots, those furthest from the source first.
std::vector<Clump> layoutClumps(const ClumpField& f, Rng& rng) {
    const QRectF box = f.roots.boundingRect();
    std::vector<Clump> clumps;
    const double dy = f.spacing * 0.8;
    for (double y = box.top(); y < box.bottom(); y += dy)
        for (double x = box.left(); x < box.right(); x += f.spacing) {
            const QPointF root(x + rng.symmetric(f.spacing * 0.6), y + rng.symmetric(dy * 0.6));
            double turn = rng.symmetric(f.jitter);
            const double scale = rng.range(0.65, 1.3);
            if (!f.roots.contains(root)) continue;
            if (f.sway > 0)
                turn += f.sway * (2 * valueNoise(root.x() / f.swayScale, root.y() / f.swayScale,
                                                 static_cast<uint32_t>(f.seed)) -
                                  1);
            const QPointF dir = turned(unit(f.flow(root)), turn);
            double len = f.length * scale;
            auto tipOf = [&](double l) { return spine(f, root, dir, l, turn).back(); };
            const bool clipped = !f.reach.contains(tipOf(len));
            while (len > 2 && !f.reach.contains(tipOf(len))) len *= 0.85;
            if (clipped) len *= rng.range(0.6, 1.0);  // tips short of the edge by different amounts
            const QPointF d = root - f.source;
            clumps.push_back({root, dir, len, std::hypot(d.x(), d.y()), turn});
        }
    std::stable_sort(clumps.begin(), clumps.end(),
                     [](const Clump& a, const Clump& b) { return a.key > b.key; });
    return clumps;
}

}  // namespace

double HeadLight::lit(QPointF q) const {
    double nx = (q.x() - centre.x()) / radius, ny = (q.y() - centre.y()) / radius;
    const double r2 = nx * nx + ny * ny;
    if (r2 > 0.96) nx *= std::sqrt(0.96 / r2), ny *= std::sqrt(0.96 / r2);
    const double nz = std::sqrt(std::max(0.04, 1 - nx * nx - ny * ny));
    const double lx = -0.45, ly = -0.62, lz = 0.64;  // upper left, toward the viewer
    return std::clamp(0.1 + 0.95 * (nx * lx + ny * ly + nz * lz), 0.0, 1.0);
}

double HeadLight::sheen(QPointF q) const {
    const QPointF d = q - centre;
    const double r = std::hypot(d.x(), d.y()), a = std::atan2(d.y(), d.x());
    const double across = (r - band) / (0.2 * band);
    const double facing = 0.5 + 0.5 * std::cos(a + 2.0);  // the upper left is at about -2 rad
    return std::exp(-across * across) * facing * facing;
}

namespace {

// A clump built of `count` strands along its bowed spine `sp` (w px wide): over a faint base of
// the dark under it, each strand of its own tone, width and length, the strands gathering into two
// or three points of different lengths. Strands on the side toward the light (`side` +1 where
// `across` points to it) are paler, and the lit ones catch a streak of light.
void drawStrandBundle(QPainter& p, const Polyline& sp, QPointF across, double w, double side, double lit,
                      double band, const QColor& body, const HairPalette& c, int count, Rng& rng) {
    fillRibbon(p, sp, w * 0.7, w * 0.25, withAlpha(mix(body, c.dark, 0.55), 150), 0.3, 0.35);
    const int points = 2 + static_cast<int>(rng.range(0, 2));
    double tipAt[3], tipLen[3];
    for (int g = 0; g < points; ++g)
        tipAt[g] = ((g + 0.5) / points - 0.5) * w * 0.75 + rng.symmetric(0.5),
        tipLen[g] = rng.range(0.65, 1.0);
    for (int s = 0; s < count; ++s) {
        const double o = (static_cast<double>(s) + rng.range(0.15, 0.85)) / count - 0.5;  // -0.5 .. 0.5
        const int g = std::min(points - 1, static_cast<int>((o + 0.5) * points));
        const double from = rng.range(0.0, 0.12), to = tipLen[g] * rng.range(0.9, 1.0);
        Polyline line;
        for (int i = 0; i < 7; ++i) {
            const double t = from + (to - from) * i / 6.0, gather = smoothstep(0.45, 1.0, t);
            line.push_back(along(sp, t) + across * (o * w * 0.82 * (1 - gather) + tipAt[g] * gather));
        }
        const double toward = o * side * 2;  // -1 shaded side .. 1 lit side
        const double tone = std::clamp(0.5 + 0.4 * toward + rng.symmetric(0.35), 0.0, 1.0);
        const QColor col = tone < 0.5
                               ? mix(c.dark, body, 0.35 + 1.3 * tone)
                               : mix(body, c.light, std::clamp((tone - 0.5) * (0.5 + 0.8 * lit), 0.0, 0.7));
        fillRibbon(p, line, rng.range(0.7, 1.5), 0.25, withAlpha(col, static_cast<int>(rng.range(190, 245))),
                   0.15, 0.35);
        if (toward > 0.1 && rng.uniform() < 0.3 + 0.5 * lit) {  // light on a strand turned to it
            const double h0 = rng.range(0.05, 0.2), h1 = h0 + rng.range(0.5, 0.7);
            const Polyline hi(line.begin() + static_cast<int>(h0 * 6),
                              line.begin() + 1 + static_cast<int>(h1 * 6));
            if (hi.size() >= 2)
                fillRibbon(p, hi, 0.6, 0.3,
                           withAlpha(mix(c.light, c.sheen, band), static_cast<int>(70 + 130 * lit * toward)),
                           0.3, 0.4);
        }
    }
}

}  // namespace

void drawClumps(QPainter& p, const ClumpField& f, const HairPalette& c) {
    Rng rng(f.seed), fineRng(f.seed * 7919 + 13);
    const std::vector<Clump> clumps = layoutClumps(f, rng);
    const QColor shade = mix(c.dark, QColor(0, 0, 0), 0.45);
    for (const Clump& k : clumps) {
        const QPointF across(-k.dir.y(), k.dir.x());
        // The side of the clump toward the light (up and left).
        const double toLight = across.x() * -0.6 + across.y() * -0.8 > 0 ? 1.0 : -1.0;
        const double bow = rng.symmetric(f.bend), w = f.width * rng.range(0.75, 1.2);
        Polyline sp = spine(f, k.root, k.dir, k.len, k.turn);
        sp.back() += across * rng.symmetric(0.8);
        const QPointF tip = sp.back();
        const QPointF mid = along(sp, 0.5);
        const double lit = f.light.lit(mid), band = f.light.sheen(mid);
        // A line over the clump from fraction t0 of its length, offset o0 across it, to t1 and o1.
        auto stroke = [&](double t0, double o0, double t1, double o1, double b, int n) {
            if (sp.size() == 2)
                return bowed(lerp(k.root, tip, t0) + across * o0, lerp(k.root, tip, t1) + across * o1, b, n);
            Polyline line;
            for (int i = 0; i < n; ++i) {
                const double t = static_cast<double>(i) / (n - 1);
                line.push_back(along(sp, t0 + (t1 - t0) * t) + across * (o0 + (o1 - o0) * t));
            }
            return bowedSpine(line, b, {}, 1.0);
        };
        // The gap under the clump: dark, a little down and right of it.
        const QPointF off(0.9, 1.7);
        const QColor body =
            mix(c.dark, c.light, std::clamp(0.05 + 0.75 * lit * rng.range(0.6, 1.25), 0.0, 1.0));
        if (f.fine > 0) {  // a narrow dark gap along both sides, the clump a bundle of strands
            fillRibbon(p, bowedSpine(sp, bow, off * 0.4, 1.1), w * 1.1, 0.8,
                       withAlpha(shade, static_cast<int>(220 * f.contrast)), f.rootTaper, 0.4);
            drawStrandBundle(p, bowedSpine(sp, bow, {}, 1.0, 8), across, w, toLight, lit, band, body, c,
                             f.fine, fineRng);
            continue;
        }
        fillRibbon(p, bowedSpine(sp, bow, off, 1.2), w * 1.25, 0.8,
                   withAlpha(shade, static_cast<int>(170 * f.contrast)), f.rootTaper, 0.45);
        fillRibbon(p, bowedSpine(sp, bow, {}, 1.0), w, std::max(0.5, w * f.tipWidth), withAlpha(body, 245),
                   f.rootTaper, f.tipTaper);
        const int strands = 2 + static_cast<int>(rng.range(0, 2));
        for (int s = 0; s < strands; ++s) {
            const double o = rng.symmetric(w * 0.38), reach = rng.range(0.75, 1.0);
            const Polyline line = stroke(0, o, reach, o * 0.25, bow, 6);
            const QColor col =
                rng.uniform() < 0.35
                    ? mix(c.dark, body, 0.5)
                    : mix(body, c.light, std::min(1.0, lit * rng.range(0.2, 0.6) + band * 0.3));
            fillRibbon(p, line, rng.range(0.5, 0.9), 0.2,
                       withAlpha(col, static_cast<int>(rng.range(110, 180) * f.contrast)), 0.05, 0.4);
        }
        // The lit edge, brighter on the band across the crown; long streaks where it is combed.
        const double hi = std::min(1.0, lit * lit * 0.7 + band * (0.3 + f.gloss * 0.6));
        if (hi > 0.12) {
            const double from = rng.range(0.1, 0.35), to = std::min(1.0, from + 0.35 + 0.4 * f.gloss);
            const Polyline line = stroke(from, toLight * w * 0.25, to, toLight * w * 0.12, bow * 0.5, 5);
            fillRibbon(p, line, rng.range(0.7, 1.2) + f.gloss * 0.5, 0.4,
                       withAlpha(mix(c.light, c.sheen, band), static_cast<int>(200 * hi)), 0.3, 0.4);
        }
    }
}

void drawCoils(QPainter& p, const QPainterPath& region, double radius, const HeadLight& light,
               const HairPalette& c, uint64_t seed) {
    Rng rng(seed);
    const QRectF box = region.boundingRect();
    // Coils grow in groups that wind, tone and catch the light together: each coil takes the
    // group of the nearest of a scatter of centres, and darkens toward the group's edge, where
    // the gap to the next group lies.
    struct Group {
        QPointF at;
        double tone, phase, lean;
    };
    std::vector<Group> groups;
    const double cell = radius * 4.2;
    for (double y = box.top() - cell; y < box.bottom() + cell; y += cell * 0.85)
        for (double x = box.left() - cell; x < box.right() + cell; x += cell)
            groups.push_back({QPointF(x + rng.symmetric(cell * 0.4), y + rng.symmetric(cell * 0.35)),
                              rng.range(0.55, 1.3), rng.range(0, 2 * kPi), rng.symmetric(0.5)});
    auto nearest = [&](QPointF q, double& edge) {
        size_t best = 0;
        double d1 = 1e9, d2 = 1e9;
        for (size_t i = 0; i < groups.size(); ++i) {
            const double d = std::hypot(q.x() - groups[i].at.x(), q.y() - groups[i].at.y());
            if (d < d1)
                d2 = d1, d1 = d, best = i;
            else if (d < d2)
                d2 = d;
        }
        edge = 1.0 - std::clamp((d2 - d1) / (cell * 0.35), 0.0, 1.0);  // 1 on the boundary
        return groups[best];
    };
    const double step = radius * 1.45;
    const QColor shade = mix(c.dark, QColor(0, 0, 0), 0.5);
    for (double y = box.top(); y < box.bottom(); y += step * 0.8)
        for (double x = box.left(); x < box.right(); x += step) {
            const QPointF at(x + rng.symmetric(step * 0.5), y + rng.symmetric(step * 0.4));
            // Larger, looser coils on top; small and tight low on the sides.
            const double size = 1.15 - 0.35 * smoothstep(100, 200, at.y()),
                         r = radius * size * rng.range(0.7, 1.3);
            const double sideOn = rng.uniform(), jitter = rng.symmetric(0.6);
            if (!region.contains(at)) continue;
            double edge = 0;
            const Group& g = nearest(at, edge);
            const double lit = light.lit(at) * g.tone * (1 - 0.6 * edge), band = light.sheen(at);
            softEllipse(p, at + QPointF(0.8, 1.6), r * 1.3, r * 1.2,
                        withAlpha(shade, static_cast<int>(150 + 60 * edge)));  // its shadow
            const double start = g.phase + jitter;
            if (sideOn < 0.5) {  // seen from the side: an S of two half turns
                const double lean = g.lean + jitter * 0.5;
                Polyline s;
                for (int i = 0; i <= 16; ++i) {
                    const double t = i / 16.0, along = (t - 0.5) * 2.4 * r;
                    s.push_back(at + QPointF(std::cos(lean), std::sin(lean)) * along +
                                QPointF(-std::sin(lean), std::cos(lean)) *
                                    (0.55 * r * std::sin(2 * kPi * t)));
                }
                const QColor col = mix(c.dark, c.light, std::clamp(0.12 + 0.75 * lit, 0.0, 1.0));
                fillRibbon(p, s, rng.range(1.4, 2.1), 0.8, withAlpha(col, 235), 0.15, 0.25);
                Polyline hi(s.begin() + 2, s.begin() + 7);
                fillRibbon(p, hi, 1.0, 0.5,
                           withAlpha(mix(c.light, c.sheen, band), static_cast<int>(200 * std::min(1.0, lit))),
                           0.3, 0.3);
                continue;
            }
            const int turns = 2 + static_cast<int>(rng.range(0, 2));
            for (int t = 0; t < turns; ++t) {
                const double rr = r * (1.0 - 0.22 * t), a0 = start + t * 2.2, span = rng.range(1.8, 3.2);
                Polyline arc;
                for (int i = 0; i <= 12; ++i) {
                    const double a = a0 + span * i / 12, rad = rr * (1 - 0.25 * i / 12);
                    arc.push_back(at + QPointF(std::cos(a) * rad, std::sin(a) * rad * 0.85));
                }
                const QColor col =
                    mix(c.dark, c.light, std::clamp(0.12 + 0.75 * lit * rng.range(0.75, 1.0), 0.0, 1.0));
                fillRibbon(p, arc, rng.range(1.3, 2.0), 0.7, withAlpha(col, 235), 0.15, 0.3);
            }
            // The front of the coil, facing the light.
            Polyline hi;
            const double h0 = -2.4 + rng.symmetric(0.3);
            for (int i = 0; i <= 5; ++i)
                hi.push_back(at + QPointF(std::cos(h0 + 0.25 * i), std::sin(h0 + 0.25 * i)) * r * 0.75);
            const double glow = std::clamp(0.1 + lit * lit * 0.9 + band * 0.15 * (1 - edge), 0.0, 1.0);
            fillRibbon(p, hi, 1.3, 0.6,
                       withAlpha(mix(c.light, c.sheen, 0.3 + 0.7 * band), static_cast<int>(220 * glow)), 0.3,
                       0.3);
        }
}

namespace {

// The clippered sideburns' short hairs, growing down and a little back toward the ear: dense where
// they join the hair above, fewer toward the lower end and the face, where skin shows.
void sideburnHairs(QPainter& p, const HairPalette& c, Rng& rng) {
    for (int k = 0; k < 1500; ++k) {
        const double y = rng.range(160, 232), x = rng.range(95, 124), keepIt = rng.uniform();
        const double depth = (y - 160) / 72, toFace = smoothstep(110, 124, x);
        const int side = rng.uniform() < 0.5 ? -1 : 1;
        const double ang = kPi / 2 + side * rng.range(0.1, 0.4), len = rng.range(3, 6.5) * (1 - 0.35 * depth);
        const double tone = rng.range(0, 0.6), alpha = rng.range(100, 200) * (1 - 0.45 * depth);
        if (keepIt < depth * 0.55 + toFace * 0.4) continue;
        const QPointF a(side < 0 ? x : 2 * kMidX - x, y);
        const QPointF b = a + QPointF(std::cos(ang), std::sin(ang)) * len;
        fillRibbon(p, {a, lerp(a, b, 0.5), b}, rng.range(0.45, 0.7), 0.2,
                   withAlpha(mix(c.dark, c.base, tone), static_cast<int>(alpha)), 0.1, 0.4);
    }
}

}  // namespace

void fadeSides(QPainter& p, const HairPalette& c, uint64_t seed) {
    Rng rng(seed);
    // Low on the sides the clippered hair is so short that the skin shows through it: the colour
    // turns to stubble on skin, with the short hairs over it.
    const QColor stubble = mix(QColor(196, 156, 136), c.dark, 0.45);
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    paintSoft(p, QSize(kCanvasW, kCanvasH), 5, 1.0, [&](QPainter& q) {
        q.setPen(Qt::NoPen);
        QLinearGradient g(0, 150, 0, 214);
        g.setColorAt(0.0, withAlpha(stubble, 0));
        g.setColorAt(1.0, withAlpha(stubble, 150));
        q.setBrush(g);
        q.drawRect(QRectF(70, 150, 52, 110));
        q.drawRect(QRectF(2 * kMidX - 122, 150, 52, 110));
    });
    sideburnHairs(p, c, rng);
    p.restore();
    // Alpha kept per pixel: whole above the fade, falling off toward the ears with a ragged
    // lower edge; the portrait's own hair keeps every bit of it.
    QImage keep(kCanvasW, kCanvasH, QImage::Format_ARGB32_Premultiplied);
    keep.fill(Qt::transparent);
    {
        QPainter q;
        beginPainter(q, keep);
        q.setPen(Qt::NoPen);
        for (int x = 0; x < kCanvasW; ++x) {
            const double fromMid = std::abs(x + 0.5 - kMidX);
            const double start =
                196 + rng.range(0, 8) + smoothstep(68, 80, fromMid) * 8;  // the sideburn is longer
            QLinearGradient g(0, start, 0, start + 26 + rng.range(0, 10));
            g.setColorAt(0.0, Qt::black);
            g.setColorAt(0.5, QColor(0, 0, 0, 110));
            g.setColorAt(1.0, QColor(0, 0, 0, 0));
            q.setBrush(fromMid < 62 ? QBrush(Qt::black) : QBrush(g));
            q.drawRect(QRectF(x, 0, 1, kCanvasH));
        }
        q.setBrush(Qt::black);
        q.setPen(QPen(Qt::black, 4));
        q.drawPath(ownHairRegion());
    }
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    p.drawImage(0, 0, keep);
    p.restore();
    // Stubble on the skin below: short dark hairs pointing down and back, thinning out downward.
    for (int k = 0; k < 900; ++k) {
        const double y = rng.range(200, 244), depth = (y - 200) / 44;
        const double x = rng.range(102, 121);
        const int side = rng.uniform() < 0.5 ? -1 : 1;
        const double keepIt = rng.uniform();
        if (keepIt < depth * 0.85) continue;
        if (y > 228 && x > 114) continue;  // not onto the ear's front and the cheek
        const QPointF a(side < 0 ? x : 2 * kMidX - x, y);
        const double ang = kPi / 2 - side * rng.range(0.1, 0.6),
                     len = rng.range(1.2, 3.2) * (1.1 - depth * 0.5);
        const QPointF b = a + QPointF(std::cos(ang), std::sin(ang)) * len;
        fillRibbon(p, {a, lerp(a, b, 0.5), b}, rng.range(0.55, 0.9), 0.25,
                   withAlpha(mix(c.dark, c.base, rng.range(0, 0.5)),
                             static_cast<int>(rng.range(70, 170) * (1 - 0.5 * depth))),
                   0.0, 0.3);
    }
}

void drawHairlineHairs(QPainter& p, const Polyline& line, const Flow& flow, const HairPalette& c,
                       uint64_t seed) {
    Rng rng(seed);
    for (size_t i = 0; i < line.size(); ++i) {
        const QPointF at = line[i];
        const QPointF dir = unit(flow(at));
        // Hair combed up and back grows out of the skin below the line: fine, sparse, faint roots.
        const bool intoHair = dir.y() < -0.3;
        const int hairs = 2 + static_cast<int>(rng.range(0, 3));
        for (int h = 0; h < hairs; ++h) {
            const QPointF a = at + QPointF(rng.symmetric(1.6), rng.symmetric(1.6)) -
                              dir * (intoHair ? rng.range(-2, 1) : rng.range(1, 4));
            const QPointF d = turned(dir, rng.symmetric(0.45));
            const double len = intoHair ? rng.range(2, 5) : rng.range(2.5, 7);
            const QPointF b = a + d * len;
            const int alpha = static_cast<int>(intoHair ? rng.range(50, 140) : rng.range(90, 200));
            fillRibbon(p, bowed(a, b, rng.symmetric(0.8), 4), rng.range(0.5, 0.9), 0.2,
                       withAlpha(mix(c.dark, c.base, rng.range(0.1, 0.8)), alpha), intoHair ? 0.4 : 0.0, 0.3);
        }
        if (!intoHair && rng.uniform() < 0.18) {  // a small tuft: a few hairs gathered to one tip
            const QPointF d = turned(dir, rng.symmetric(0.3));
            const QPointF tip = at + d * rng.range(5, 9);
            for (int h = 0; h < 4; ++h)
                fillRibbon(p,
                           bowed(at - d * 3 + QPointF(rng.symmetric(1.5), rng.symmetric(1.5)), tip,
                                 rng.symmetric(0.7), 4),
                           rng.range(0.7, 1.1), 0.2, withAlpha(mix(c.dark, c.base, rng.range(0.2, 0.7)), 190),
                           0.0, 0.5);
        }
    }
}

void drawFlyaways(QPainter& p, const Polyline& outline, const Flow& flow, const HairPalette& c, int count,
                  uint64_t seed) {
    Rng rng(seed);
    for (int k = 0; k < count && !outline.empty(); ++k) {
        const QPointF at = outline[static_cast<size_t>(rng.uniform() * outline.size())];
        const QPointF out = unit(at - QPointF(kMidX, 170)), dir = unit(unit(flow(at)) + out * 1.2);
        const double len = rng.range(6, 16);
        const QPointF a = at - dir * 3, b = a + turned(dir, rng.symmetric(0.5)) * len;
        fillRibbon(p, bowed(a, b, rng.symmetric(3), 8), rng.range(0.45, 0.7), 0.15,
                   withAlpha(mix(c.base, c.light, rng.uniform()), static_cast<int>(rng.range(110, 200))), 0.0,
                   0.3);
    }
}

void drawBroadLight(QPainter& p, const QPainterPath& region, const HeadLight& light, const HairPalette& c,
                    double strength) {
    // The point of the ball facing the light most, and a soft fall-off around it.
    const QPointF peak = light.centre + QPointF(-0.45, -0.62) * (light.radius * 0.72);
    QRadialGradient g(peak, light.radius * 0.85);
    const QColor glow = mix(c.light, c.sheen, 0.25);
    g.setColorAt(0.0, withAlpha(glow, static_cast<int>(120 * strength)));
    g.setColorAt(0.45, withAlpha(glow, static_cast<int>(55 * strength)));
    g.setColorAt(1.0, withAlpha(glow, 0));
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    paintSoft(p, QSize(kCanvasW, kCanvasH), 4, 1.0, [&](QPainter& q) {
        q.setPen(Qt::NoPen);
        q.setBrush(g);
        q.drawPath(region);
    });
    p.restore();
}

void drawPile(QPainter& p, const QPainterPath& region, const Flow& flow, const HeadLight& light,
              const HairPalette& c, uint64_t seed) {
    Rng rng(seed);
    const QRectF box = region.boundingRect();
    constexpr double kStep = 1.6;
    for (double y = box.top(); y < box.bottom(); y += kStep)
        for (double x = box.left(); x < box.right(); x += kStep) {
            const QPointF at(x + rng.symmetric(kStep * 0.7), y + rng.symmetric(kStep * 0.7));
            const double len = rng.range(1.8, 4.0), tone = rng.range(-0.2, 0.2), alpha = rng.range(130, 230);
            const double turn = rng.symmetric(0.35);
            if (!region.contains(at)) continue;
            const QPointF d = turned(unit(flow(at)), turn);
            // Hairs facing the viewer are seen end on: shorter toward the middle of the crown.
            const double lit = light.lit(at);
            const QColor col = mix(c.dark, c.light, std::clamp(0.08 + 0.7 * lit * lit + tone, 0.0, 1.0));
            fillRibbon(p, {at, at + d * (len * 0.5), at + d * len}, rng.range(0.6, 0.9), 0.3,
                       withAlpha(col, static_cast<int>(alpha)), 0.0, 0.4);
        }
}

}  // namespace installdata
