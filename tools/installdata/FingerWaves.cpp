#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "Geometry.h"
#include "PinCurls.h"
#include "UpdoArt.h"

namespace installdata {

namespace {

// The wave field over the head. Phase 0 at `top`, about one wave every `pitch` px down, the
// spacing a little uneven; the crests lie at phase pi/2, the troughs at 3pi/2. The ridges swing
// as an S across the head, each with its own swing, and drop toward the sides as they run round
// the skull (more near the crown, where the head is rounder).
struct WaveField {
    double top, pitch, part;
    double shift(double x, double y) const {
        const double dx = x - face::kMidX, round = std::clamp((220 - y) / 150, 0.2, 1.0);
        return 16 * (1 + 0.45 * std::sin(y / 29 + 1)) * std::sin(2 * kPi * (x - part) / 160 + y / 60) +
               0.0026 * dx * dx * round;
    }
    // The ridges widen as they run round to the sides, a little more on the far side of the
    // parting, where the hair sweeps away from it.
    double widen(double x) const {
        const double dx = (x - face::kMidX) / 110, away = std::clamp((x - part) / 160, -0.5, 1.0);
        return 1 + 0.3 * std::min(1.0, dx * dx) + 0.1 * away;
    }
    // Rises with y: the uneven spacing term never outruns the even one.
    double phase(double x, double y) const {
        const double d = (y - top - shift(x, y)) / (pitch * widen(x));
        return 2 * kPi * d + 0.9 * std::sin(2 * kPi * d / 2.6 + 0.8 + x / 150);
    }
    // How deep the wave at this phase is pressed: each ridge its own.
    static double depth(double ph) { return 0.72 + 0.28 * std::sin(1.7 * ph / (2 * kPi) + 2.1); }
    // The line of constant phase (crest, trough) across the head.
    Polyline line(double ph) const {
        Polyline pts;
        for (double x = 24; x <= 356; x += 4) {
            double lo = top - 80, hi = top + 600;
            for (int k = 0; k < 24; ++k) {
                const double mid = 0.5 * (lo + hi);
                (phase(x, mid) < ph ? lo : hi) = mid;
            }
            pts.push_back({x, 0.5 * (lo + hi)});
        }
        return pts;
    }
};

// How much a point of the head faces the light (upper left, in front): the crests dim as they run
// round the sides and toward the right, fade where the sides turn away toward the outline, and break
// up where the hair is pressed less evenly.
double facing(double x, double y, uint32_t seed) {
    const double sx = std::clamp((x - face::kMidX) / 115, -1.3, 1.3);
    const double turn =
        std::clamp(0.8 - 0.25 * sx - 0.4 * sx * sx - 0.002 * std::max(0.0, y - 160), 0.0, 1.0) *
        (1 - 0.6 * smoothstep(0.65, 0.95, std::abs(sx)));
    return turn * (0.45 + 0.9 * fractalNoise(x / 26, y / 18, seed, 2));
}

// The waves' relief shaded pixel by pixel: a rounded crest, the slope above it catching light from
// above, a soft shaded trough under it that never sinks to a black line; painted over the hair
// already on the layer. Along the top of each crest lies the gloss of pressed hair: a narrow
// bright band that breaks where the hair turns from the light. Black hair takes almost no light
// on its slopes (lit like brown hair it greys) and a narrower gloss.
void shadeRelief(QPainter& p, const WaveField& f, const HairPalette& c, uint32_t seed) {
    const double slopeLight = c.black ? 0.12 : 0.55, glossWidth = c.black ? 0.3 : 0.7;
    QImage dark = newLayer(face::kCanvasW, face::kCanvasH), light = dark.copy(), gloss = dark.copy();
    const QColor deep = mix(c.dark, QColor(0, 0, 0), 0.3), shine = mix(c.light, c.sheen, 0.45);
    const QColor glint = mix(c.sheen, QColor(255, 255, 255), 0.1);
    const auto premul = [](const QColor& col, double a) {
        const int al = static_cast<int>(std::clamp(a, 0.0, 1.0) * 255);
        return qRgba(col.red() * al / 255, col.green() * al / 255, col.blue() * al / 255, al);
    };
    for (int y = 0; y < dark.height(); ++y) {
        auto* dr = reinterpret_cast<QRgb*>(dark.scanLine(y));
        auto* lr = reinterpret_cast<QRgb*>(light.scanLine(y));
        auto* gr = reinterpret_cast<QRgb*>(gloss.scanLine(y));
        const double set = smoothstep(f.top, f.top + 30, y);  // smooth over the top of the head
        if (set <= 0) continue;
        for (int x = 0; x < dark.width(); ++x) {
            const double ph = f.phase(x, y), k = set * WaveField::depth(ph), towards = facing(x, y, seed);
            const double crest = std::pow(std::max(0.0, std::sin(ph)), 1.4);
            const double trough = std::pow(std::max(0.0, -std::sin(ph + 0.35)), 1.8);
            // The light along a crest comes and goes as the pressed hair turns, and is combed into
            // streaks that zigzag with the strands, turning at every ridge.
            const double strands =
                0.55 + 0.9 * valueNoise((x - 5 * set * std::sin(ph)) / 1.6, y / 16.0, seed + 7);
            const double broken = strands * (0.35 + 0.9 * fractalNoise(x / 14.0, y / 40.0, seed + 5, 2));
            const double lit = k * towards * broken * (0.45 * crest + 0.25 * std::max(0.0, std::cos(ph)));
            const double shade = k * trough * (0.35 + 0.3 * (1 - std::min(towards, 1.0)));
            // Just above the top of the crest, where the ridge turns up to the light.
            const double w = std::remainder(ph - 0.38 * kPi, 2 * kPi);
            const double along = smoothstep(0.25, 0.7, fractalNoise(x / 15.0, y / 30.0, seed + 9, 3));
            const double shown =
                0.6 * k * std::min(0.35 + towards, 1.0) * std::exp(-w * w / glossWidth) * along * strands;
            dr[x] = premul(deep, 0.65 * shade);
            lr[x] = premul(shine, slopeLight * lit);
            gr[x] = premul(glint, shown);
        }
    }
    p.drawImage(0, 0, dark);
    p.drawImage(0, 0, light);
    p.drawImage(0, 0, gloss);
}

// A strand's colour by how much it faces the light (0..1): from `deep` in shade through the base
// to the light tone where it turns up to the light.
QColor strandTone(const HairPalette& c, const QColor& deep, double lit) {
    return lit > 0.6 ? mix(c.base, c.light, (lit - 0.6) * 2.5) : mix(deep, c.base, lit / 0.6);
}

// Strands combed through the waves: each zigzags, turning at every crest and trough; the stretch
// of it that faces up toward the light is lit, the one facing down lies in shade.
void drawWavedStrands(QPainter& p, const WaveField& f, double bottom, const HairPalette& c, Rng& rng) {
    const QColor deep = mix(c.dark, QColor(0, 0, 0), 0.35);
    for (double x0 = 20; x0 < 360; x0 += rng.range(0.7, 1.5)) {
        const double amp = rng.range(4.0, 6.5), x = x0 + rng.symmetric(0.5), tone = rng.symmetric(0.2);
        const double step = 2.5, chunk = rng.range(0.35, 0.6);
        Polyline piece;
        double phStart = 0;
        for (double y = f.top - 12; y <= bottom + 4; y += step) {
            const double ph = f.phase(x, y), set = smoothstep(f.top, f.top + 30, y);  // smooth on top
            const QPointF q(x + set * amp * std::sin(ph), y);
            piece.push_back(q);
            if (piece.size() == 1) phStart = ph - rng.range(0, chunk);  // breaks differ per strand
            if (ph - phStart < chunk && y + step <= bottom + 4) continue;
            const double mid = 0.5 * (ph + phStart);
            const double lit = std::clamp(0.5 + set * 0.5 * std::cos(mid) + tone, 0.0, 1.0);
            const QColor col = strandTone(c, deep, lit);
            fillRibbon(p, piece, 1.0, 1.0, withAlpha(col, static_cast<int>(rng.range(110, 190))));
            piece = {q};
            phStart = ph;
        }
    }
}

// Fine strands laid along the waves: each follows a ridge's S-curve for a stretch, drifting a
// little across it, lighter over the crest than down in the trough.
void drawCombedStrands(QPainter& p, const WaveField& f, int waves, const HairPalette& c, Rng& rng) {
    const QColor deep = mix(c.dark, QColor(0, 0, 0), 0.3);
    for (int i = 0; i < 60 * waves; ++i) {
        const double ph = 2 * kPi * rng.range(0.2, waves), drift = rng.symmetric(0.3) * f.pitch;
        const Polyline ridge = f.line(ph);
        const size_t len = 5 + static_cast<size_t>(rng.range(0, 14));
        const size_t from = static_cast<size_t>(rng.range(0, static_cast<double>(ridge.size() - len)));
        Polyline piece;
        for (size_t k = 0; k < len; ++k)
            piece.push_back(ridge[from + k] + QPointF(0, drift * static_cast<double>(k) / len));
        const double lit = std::clamp(0.5 + 0.5 * std::sin(ph) + rng.symmetric(0.2), 0.0, 1.0);
        const QColor col = strandTone(c, deep, lit);
        fillRibbon(p, piece, 0.8, 0.8, withAlpha(col, static_cast<int>(rng.range(90, 170))), 0.3, 0.3);
    }
}

// Where each side ends: not cut square at the cheek but wound into a flat pin curl pressed to it
// in front of the ear, its lower edge at the side's tip.
std::vector<PinCurl> placeCurls(const QImage& layer, const HairVariant& v) {
    std::vector<PinCurl> curls;
    for (int side : {-1, 1}) {
        const double tip = side < 0 ? v.tipLeft : v.tipRight, r = 15, x = face::kMidX + side * 76;
        // Only where the side hair comes down over the cheek.
        if (qAlpha(layer.pixel(static_cast<int>(x), static_cast<int>(tip - 2 * r))) < 120) continue;
        curls.push_back({QPointF(x, tip - r - 2), r, side, static_cast<uint32_t>(v.seed * 2 + 41 + side)});
    }
    return curls;
}

// The ends below the pin curls taken away: below each curl's centre the ends go, above it the
// side's outer edge rounds in to the curl.
void cutEndsAtCurls(QPainter& p, const std::vector<PinCurl>& curls) {
    for (const PinCurl& pc : curls) {
        const double from = pc.centre.x() + pc.side * (pc.r + 30), to = pc.centre.x() - pc.side * (pc.r + 4);
        QPainterPath below, side, curl = coilOutline(pc);
        below.addRect(QRectF(std::min(from, to), pc.centre.y() - 40, std::abs(to - from), 130));
        side.addEllipse(pc.centre - QPointF(0, 40), pc.r + 13, 40);
        curl = curl.united(side);
        p.save();
        p.setCompositionMode(QPainter::CompositionMode_DestinationOut);
        p.fillPath(below.subtracted(curl), QColor(0, 0, 0));
        p.restore();
    }
}

// How far out from the middle, on one side of row y, the hair last has at least `alpha`, in px
// (0: none between 40 and 170 px out).
double outerEdge(const QImage& layer, int side, int y, int alpha) {
    double far = 0;
    for (int d = 40; d < 170; ++d) {
        const int x = static_cast<int>(face::kMidX) + side * d;
        if (x >= 0 && x < layer.width() && qAlpha(layer.pixel(x, y)) >= alpha) far = d;
    }
    return far;
}

// How far the solid hair (alpha >= 120) reaches out from the middle on one side in each row from
// `from` to `to`, in px, averaged over 17 rows so that single strands over the edge do not count.
std::vector<double> smoothEdge(const QImage& layer, int side, int from, int to) {
    std::vector<double> raw;
    for (int y = from - 8; y <= to + 8; ++y) raw.push_back(outerEdge(layer, side, y, 120));
    std::vector<double> edge;
    for (size_t i = 8; i + 8 < raw.size(); ++i) {
        double sum = 0;
        int n = 0;
        for (size_t k = i - 8; k <= i + 8; ++k)
            if (raw[k] > 0) sum += raw[k], ++n;
        edge.push_back(n > 0 ? sum / n : 0.0);
    }
    return edge;
}

// The upper sides scalloped with the waves: over the temple and the ear each crest swells the
// outline out in a rounded lobe where it runs off the side of the head, and each trough presses it
// in, narrower than the lobes. Rows `from` to `to` (top-down); the scallop fades in and out at them.
void scallopSide(QPainter& p, const WaveField& f, int side, int from, int to, const QColor& body) {
    const auto* layer = dynamic_cast<const QImage*>(p.device());
    if (!layer || to - from < 40) return;
    const std::vector<double> edge = smoothEdge(*layer, side, from, to);
    Polyline outline, inner, outer;
    for (int y = from; y <= to; ++y) {
        const double e = edge[static_cast<size_t>(y - from)];
        if (e <= 0) return;
        const double x = face::kMidX + side * e, ph = f.phase(x, y);
        const double fade = smoothstep(from, from + 24, y) * (1 - smoothstep(to - 16, to, y));
        // 0 deep in the trough, 1 on the crest: the root rounds the lobes and pinches the troughs.
        const double u = std::sqrt(0.5 + 0.5 * std::sin(ph)), o = x + side * 7 * fade * (1.45 * u - 0.95);
        outline.push_back({o, static_cast<double>(y)});
        inner.push_back({x - side * 16, static_cast<double>(y)});
        // Where the scallop fades out, the strands over the edge stay.
        outer.push_back({o + side * 14 * (1 - fade), static_cast<double>(y)});
    }
    for (int y = to; y >= from; --y)
        outer.push_back({outer[static_cast<size_t>(y - from)].x() + side * 30, static_cast<double>(y)});
    Polyline swell = inner;
    swell.insert(swell.end(), outline.rbegin(), outline.rend());
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_DestinationOut);
    paintSoft(p, layer->size(), 1, 1.0,
              [&](QPainter& q) { q.fillPath(pathThrough(outer, true), Qt::black); });
    p.setCompositionMode(QPainter::CompositionMode_DestinationOver);  // under the strands already there
    p.setPen(Qt::NoPen);
    p.fillPath(pathThrough(swell, true), body);
    p.restore();
}

// The last row of a side's scallop: a little past where the side starts rounding in to its curl,
// to smooth that step; without a curl, 50 rows above the side's tip.
int scallopEnd(const HairVariant& v, const std::vector<PinCurl>& curls, int side) {
    double end = (side < 0 ? v.tipLeft : v.tipRight) - 50;
    for (const PinCurl& pc : curls)
        if (pc.side == side) end = pc.centre.y() - 20;
    return static_cast<int>(end);
}

// Fine strands over the scalloped edge of one side, rows `from` to `to`: each leaves the mass a few
// px inside the outline, bows out past it and comes back in lower down, or ends out in the air; in
// the colour of the hair it leaves, so the scallops soften without losing their shape.
void frayScallops(QPainter& p, const QImage& layer, int side, int from, int to, Rng& rng) {
    std::vector<double> edge;
    for (int y = from; y <= to + 20; ++y) edge.push_back(outerEdge(layer, side, y, 220));
    for (double y = from + 8; y < to - 4; y += rng.range(2.5, 5.5)) {
        const double len = rng.range(7, 15), e0 = edge[static_cast<size_t>(y - from)];
        const double e1 = edge[static_cast<size_t>(y + len - from)];
        if (e0 <= 0 || e1 <= 0) continue;
        const QPointF start(face::kMidX + side * (e0 - rng.range(2.5, 5.5)), y);
        const QRgb under = layer.pixel(static_cast<int>(start.x()), static_cast<int>(y));
        if (qAlpha(under) < 250) continue;
        const bool loose = rng.uniform() < 0.3;
        const QPointF end(face::kMidX + side * (loose ? e1 + rng.range(1.5, 3.5) : e1 - rng.range(2, 5)),
                          y + len);
        const double bow = rng.range(1.5, 3.5);
        Polyline line;
        for (int k = 0; k <= 8; ++k) {
            const double t = k / 8.0, out = loose ? 0.5 * bow * t : bow * std::sin(kPi * t);
            line.push_back(lerp(start, end, t) + QPointF(side * out, 0));
        }
        const QColor col = mix(QColor(under), QColor(0, 0, 0), rng.range(0, 0.15));
        fillRibbon(p, line, 0.6, loose ? 0.3 : 0.6, withAlpha(col, static_cast<int>(rng.range(110, 180))),
                   0.3, loose ? 0.6 : 0.3);
    }
}

// The sides sculpted: the ends cut away below the pin curls and the curls laid in their place; the
// upper sides scalloped from the temple down to where the side rounds in to its curl.
void sculptSides(QPainter& p, const WaveField& f, const HairVariant& v, const std::vector<PinCurl>& curls,
                 const HairPalette& c) {
    const QColor body = mix(c.dark, c.base, 0.6);
    cutEndsAtCurls(p, curls);
    for (int side : {-1, 1}) scallopSide(p, f, side, 100, scallopEnd(v, curls, side), body);
    paintSoft(p, QSize(face::kCanvasW, face::kCanvasH), 1, 1.0, [&](QPainter& q) {
        q.setPen(Qt::NoPen);
        q.setBrush(body);
        for (const PinCurl& pc : curls) q.drawPath(coilOutline(pc));
    });
}

}  // namespace

void drawFingerWaves(QPainter& p, const HairVariant& v) {
    const HairPalette& c = hairPalette(v.palette);
    const WaveField f{60 - 0.6 * v.volume, 33, v.part};
    const double bottom = std::max(v.tipLeft, v.tipRight);
    const QSize size(face::kCanvasW, face::kCanvasH);
    Rng rng(v.seed + 31);
    const int waves = static_cast<int>((bottom - f.top) / f.pitch) + 2;
    const auto* layer = dynamic_cast<const QImage*>(p.device());
    const std::vector<PinCurl> curls = layer ? placeCurls(*layer, v) : std::vector<PinCurl>{};
    p.save();
    sculptSides(p, f, v, curls, c);
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);  // only over hair already drawn
    p.fillRect(QRect(QPoint(0, 0), size), withAlpha(mix(c.dark, c.base, 0.7), 190));
    drawWavedStrands(p, f, bottom, c, rng);
    Rng combed(v.seed + 35);
    drawCombedStrands(p, f, waves, c, combed);
    shadeRelief(p, f, c, static_cast<uint32_t>(v.seed + 33));
    Rng curlRng(v.seed + 37);
    for (const PinCurl& pc : curls) drawPinCurl(p, pc, c, curlRng);
    p.restore();
    if (!layer) return;
    Rng frayRng(v.seed + 39);
    const QImage before = layer->copy();  // the strands of one side never reach the other's edge
    for (int side : {-1, 1}) frayScallops(p, before, side, 100, scallopEnd(v, curls, side), frayRng);
}

}  // namespace installdata
