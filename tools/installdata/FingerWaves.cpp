#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "Geometry.h"
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

struct PinCurl {
    QPointF centre;
    double r;
    int side;
    uint32_t seed;
};

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

// The coil's outline is no circle: its radius at angle `a` (canvas radians, y down) wanders a few
// per cent either way, continuously round the curl and differently for each curl.
double coilEdge(const PinCurl& pc, double a) {
    return pc.r * (0.88 + 0.14 * fractalNoise(1.4 * std::cos(a) + 5, 1.4 * std::sin(a) + 5, pc.seed, 2));
}

QPainterPath coilOutline(const PinCurl& pc) {
    Polyline pts;
    for (int k = 0; k < 48; ++k) {
        const double a = 2 * kPi * k / 48;
        pts.push_back(pc.centre + coilEdge(pc, a) * QPointF(std::cos(a), std::sin(a)));
    }
    return pathThrough(pts, true);
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

// The coil wound from the rim in toward the pinned centre: going inward a strand turns the way
// that brings it down the curl's outer side first (anticlockwise on the left, clockwise on the
// right), `pitch` px nearer the centre with each turn. Along a strand `turnPhase` stays the same;
// across the turns it rises by one per turn, outward.
double turnPhase(const PinCurl& pc, double rho, double a) {
    const double pitch = 0.36 * pc.r;
    const double wobble = 0.25 * fractalNoise(2 * std::cos(a) + 9, 2 * std::sin(a) + 9, pc.seed + 3, 2);
    return rho / pitch + pc.side * a / (2 * kPi) + wobble;
}

// The light on the coil at `rho` px and angle `a` from its centre, `across` 0..1 from a turn's inner
// to its outer edge. Each turn is a flattened tube of hair lying on the cheek, lit from the upper
// left: lit on the side of it that faces up and left, shaded under it, dark in the grooves between
// the turns. The coil as a whole tips away at its rim and sinks toward the pinned centre, a small
// dark eye. Returns the diffuse light (0..1) and the gloss (0..1).
std::pair<double, double> coilLight(const PinCurl& pc, double rho, double a, double across, bool black) {
    const double t = 2 * across - 1, rim = rho / pc.r;
    const double nx = (t + 0.35 * rim) * std::cos(a), ny = (t + 0.35 * rim) * std::sin(a);
    const double nz = std::sqrt(std::max(0.0, 1 - t * t)) + 0.2, len = std::sqrt(nx * nx + ny * ny + nz * nz);
    const double lx = -0.5, ly = -0.65, lz = 0.6, ll = std::sqrt(lx * lx + ly * ly + lz * lz);
    const double diffuse = std::clamp(0.2 + (nx * lx + ny * ly + nz * lz) / (len * ll), 0.0, 1.0);
    // The half-way direction between the light and the eye, for the gloss.
    const double hx = lx / ll, hy = ly / ll, hz = lz / ll + 1, hl = std::sqrt(hx * hx + hy * hy + hz * hz);
    const double facingHalf = std::max(0.0, (nx * hx + ny * hy + nz * hz) / (len * hl));
    const double groove = smoothstep(0.0, 0.22, across) * smoothstep(0.0, 0.22, 1 - across);
    const double inward = 0.45 + 0.55 * smoothstep(0.15 * pc.r, 0.75 * pc.r, rho);
    const double eye = 1 - 0.75 * (1 - smoothstep(0.12 * pc.r, 0.32 * pc.r, rho));
    const double shade = (0.2 + 0.8 * groove) * inward * eye;
    return {diffuse * shade, std::pow(facingHalf, black ? 40.0 : 18.0) * groove * inward * eye};
}

QColor coilTone(const HairPalette& c, const QColor& deep, const QColor& glint, double lit, double gloss) {
    // Black hair's turns lighten no further than its base; its light is the narrow gloss.
    const QColor tone = strandTone(c, deep, c.black ? std::min(lit, 0.7) : lit);
    return mix(tone, glint, std::clamp(gloss * (c.black ? 0.9 : 0.6), 0.0, 1.0));
}

// The coil pixel by pixel over what is already drawn (SourceAtop), its turns combed into fine
// strands that run round with them. Its edge is soft and a little ragged, and at the top it fades
// into the side hair coming down into it.
void shadeCoil(QPainter& p, const PinCurl& pc, const HairPalette& c) {
    const QColor deep = mix(c.dark, QColor(0, 0, 0), 0.35), glint = mix(c.sheen, QColor(255, 255, 255), 0.1);
    const int reach = static_cast<int>(std::ceil(1.2 * pc.r)) + 3;
    const int x0 = static_cast<int>(pc.centre.x()) - reach, y0 = static_cast<int>(pc.centre.y()) - reach;
    QImage coil = newLayer(2 * reach + 1, 2 * reach + 1);
    for (int y = 0; y < coil.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(coil.scanLine(y));
        for (int x = 0; x < coil.width(); ++x) {
            const double dx = x0 + x + 0.5 - pc.centre.x(), dy = y0 + y + 0.5 - pc.centre.y();
            const double rho = std::hypot(dx, dy), a = std::atan2(dy, dx), edge = coilEdge(pc, a);
            const double ph = turnPhase(pc, rho, a), across = ph - std::floor(ph);
            // Strands: fine across the turn, long along it.
            const double lane = valueNoise(ph * 6.5, pc.side * a * std::max(rho, 3.0) / 11, pc.seed + 5);
            const double ragged = 1.0 + 2.6 * lane;
            double cover = std::clamp((edge - rho) / ragged + 0.4, 0.0, 1.0);
            cover *= 1 - 0.85 * smoothstep(0.2 * pc.r, 1.1 * pc.r, -dy) * smoothstep(0.6 * pc.r, pc.r, rho);
            if (cover <= 0) continue;
            const auto [diffuse, gloss] = coilLight(pc, rho, a, across, c.black);
            const QColor col = coilTone(c, deep, glint, diffuse * (0.45 + 1.0 * lane), gloss * (0.4 + lane));
            const int al = static_cast<int>(cover * 255);
            row[x] = qRgba(col.red() * al / 255, col.green() * al / 255, col.blue() * al / 255, al);
        }
    }
    p.drawImage(x0, y0, coil);
}

// A strand of the coil: from `rho0` px out at the curl's outer side it winds `span` radians inward,
// its phase across the turns kept; `lead` px of the side hair above it come straight down into it.
// It leaves the side `drift` px further out (or in), easing into the outer turn.
Polyline coilStrand(const PinCurl& pc, double rho0, double span, double lead, double drift) {
    const double outer = pc.side < 0 ? kPi : 0, pitch = 0.36 * pc.r;
    Polyline line;
    for (double y = -lead; y < 0; y += 2) {
        const double s = 1 + y / lead;
        line.push_back(pc.centre + QPointF(pc.side * (rho0 + drift * (1 - s) * (1 - s)), y));
    }
    for (double phi = 0; phi <= span; phi += 0.12) {
        const double a = outer + pc.side * phi, rho = rho0 - pitch * phi / (2 * kPi);
        if (rho < 0.15 * pc.r) break;
        line.push_back(pc.centre + rho * QPointF(std::cos(a), std::sin(a)));
    }
    return line;
}

// A flat pin curl: the coil shaded turn by turn, the strands of the side flowing down into its
// outer turn, and a few strays that cross the grooves or stand off its rim.
void drawPinCurl(QPainter& p, const PinCurl& pc, const HairPalette& c, Rng& rng) {
    const QColor deep = mix(c.dark, QColor(0, 0, 0), 0.35), glint = mix(c.sheen, QColor(255, 255, 255), 0.1);
    shadeCoil(p, pc, c);
    const auto strand = [&](const Polyline& line, double w, int alpha, double taperOut) {
        for (size_t i = 0; i + 1 < line.size(); i += 4) {
            const Polyline piece(line.begin() + i, line.begin() + std::min(i + 5, line.size()));
            const QPointF d = piece[piece.size() / 2] - pc.centre;
            const double rho = std::hypot(d.x(), d.y()), a = std::atan2(d.y(), d.x());
            const double ph = turnPhase(pc, rho, a);
            const auto [lit, gloss] =
                coilLight(pc, rho, a, std::clamp(ph - std::floor(ph), 0.25, 0.75), c.black);
            const double end = i + 5 >= line.size() ? taperOut : 0, start = i == 0 ? 0.8 : 0;
            fillRibbon(p, piece, w, w, withAlpha(coilTone(c, deep, glint, lit, gloss), alpha), start, end);
        }
    };
    for (int i = 0; i < 26; ++i) {
        const double rho0 = rng.range(0.62, 1.0) * coilEdge(pc, pc.side < 0 ? kPi : 0);
        const Polyline line =
            coilStrand(pc, rho0, rng.range(1.2, 2.4) * kPi, rng.range(8, 22), rng.symmetric(4));
        strand(line, rng.range(0.7, 1.1), static_cast<int>(rng.range(120, 200)), 0.5);
    }
    for (int i = 0; i < 10; ++i) {
        const double a = rng.range(0, 2 * kPi), rho0 = rng.range(0.4, 0.9) * pc.r;
        Polyline line;
        for (int k = 0; k <= 12; ++k) {
            const double b = a + pc.side * 0.12 * k, rho = rho0 - 0.2 * k;
            line.push_back(pc.centre + rho * QPointF(std::cos(b), std::sin(b)));
        }
        fillRibbon(p, line, 0.6, 0.6, withAlpha(coilTone(c, deep, glint, 0.5, 0), 110), 0.3, 0.3);
    }
    // Loose ends along the rim, standing a little off it: the edge is hair, not a cut.
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    for (int i = 0; i < 10; ++i) {
        // On the face side, where the curl lies on the cheek.
        const double a = (pc.side < 0 ? rng.range(0.05, 0.55) : rng.range(0.45, 0.95)) * kPi;
        const double span = rng.range(0.25, 0.6), off = rng.range(-2.0, 0.6);
        Polyline line;
        for (int k = 0; k <= 8; ++k) {
            const double b = a + pc.side * span * k / 8,
                         rho = coilEdge(pc, b) + off + 0.8 * std::sin(kPi * k / 8);
            line.push_back(pc.centre + rho * QPointF(std::cos(b), std::sin(b)));
        }
        fillRibbon(p, line, 0.6, 0.6,
                   withAlpha(coilTone(c, deep, glint, 0.35, 0), static_cast<int>(rng.range(70, 130))), 0.35,
                   0.35);
    }
    p.restore();
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
