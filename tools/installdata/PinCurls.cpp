#include "PinCurls.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace installdata {

namespace {

// How many turns the coil winds from its rim in to its centre, and how they narrow: the turn
// phase grows as (rho / r)^kNarrow, so the outer turns are broad and the inner ones fine.
constexpr double kTurns = 3.0, kNarrow = 0.72;

// The curl is pressed flat on the cheek, which turns away from the eye toward the ear: seen from
// the front it is a little narrower than tall, its long axis tipped along the line of the jaw (top
// out toward the ear), and the two are pinned differently: the left leans less than the right.
// `wide` and `tall` scale the round coil of the curl's own frame, `tilt` turns it (canvas radians,
// clockwise).
struct CoilShape {
    double wide, tall, tilt;
};

CoilShape coilShape(const PinCurl& pc) {
    Rng rng(pc.seed * 13 + 5);
    const double wide = rng.range(0.8, 0.88), tall = 1 / std::pow(wide, 0.7);
    return {wide, tall, pc.side * (pc.side < 0 ? rng.range(0.2, 0.4) : rng.range(0.55, 0.8))};
}

// A point of the curl in its own frame, where the coil is round: `rho` px from the centre and the
// angle `a` there (radians, y down, as on the canvas); `canvasA` is the canvas angle of the point,
// for the light.
struct CoilPoint {
    double rho, a, canvasA;
};

CoilPoint toCoil(const PinCurl& pc, const CoilShape& s, QPointF at) {
    const QPointF d = at - pc.centre, q = turned(d, -s.tilt);
    const double u = q.x() / s.wide, v = q.y() / s.tall;
    return {std::hypot(u, v), std::atan2(v, u), std::atan2(d.y(), d.x())};
}

QPointF fromCoil(const PinCurl& pc, const CoilShape& s, double rho, double a) {
    return pc.centre + turned(QPointF(s.wide * rho * std::cos(a), s.tall * rho * std::sin(a)), s.tilt);
}

// The coil's rim at angle `a` of its frame: it wanders a few per cent either way, continuously round
// the curl and differently for each curl, and is pressed a little flatter on the face side.
double coilEdge(const PinCurl& pc, double a) {
    const double toFace = pc.side < 0 ? std::cos(a) : -std::cos(a);
    const double pressed = 0.07 * std::pow(std::max(0.0, toFace), 3);
    return pc.r *
           (0.9 + 0.14 * fractalNoise(1.4 * std::cos(a) + 5, 1.4 * std::sin(a) + 5, pc.seed, 2) - pressed);
}

// How unevenly the turns are wound, 0..0.25 of a turn, continuous round the curl.
double wobble(const PinCurl& pc, double a) {
    return 0.25 * fractalNoise(2 * std::cos(a) + 9, 2 * std::sin(a) + 9, pc.seed + 3, 2);
}

// The coil wound from the rim in toward the pinned centre: going inward a strand turns the way
// that brings it down the curl's outer side first (anticlockwise on the left, clockwise on the
// right). Along a strand that keeps to its turn `turnPhase` stays the same; across the turns it
// rises by one per turn, outward, and by one per revolution round the centre: a spiral.
double turnPhase(const PinCurl& pc, double rho, double a) {
    return kTurns * std::pow(rho / pc.r, kNarrow) + pc.side * a / (2 * kPi) + wobble(pc, a);
}

// Where the turn phase is `ph` at angle `a` (not wrapped): turnPhase solved for rho; 0 past the
// centre.
double turnRadius(const PinCurl& pc, double ph, double a) {
    const double f = ph - pc.side * a / (2 * kPi) - wobble(pc, a);
    return f <= 0 ? 0 : pc.r * std::pow(f / kTurns, 1 / kNarrow);
}

// How far the end of the hair, tucked in over the last narrow turns, covers their grooves at `rho`
// px from the centre: 1 in the middle, 0 from a third of the radius out.
double tucked(const PinCurl& pc, double rho) { return 1 - smoothstep(0.1 * pc.r, 0.32 * pc.r, rho); }

// The light on the coil at `rho` px from its centre (its frame) and canvas angle `a`, `across` 0..1
// from a turn's inner to its outer edge. Each turn is a flattened tube of hair lying on the cheek,
// lit from the upper left: lit on the side of it that faces up and left, shaded under it, dark in
// the grooves between the turns. The coil as a whole tips away at its rim and sinks a little toward
// the pinned centre, where the end of the hair is tucked in. Returns the diffuse light (0..1) and
// the gloss (0..1).
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
    const double inward = 0.65 + 0.35 * smoothstep(0.1 * pc.r, 0.7 * pc.r, rho);
    const double shade = (0.2 + 0.8 * groove) * inward;
    return {diffuse * shade, std::pow(facingHalf, black ? 24.0 : 18.0) * groove * inward};
}

// A coil strand's colour by its light (0..1): from `deep` in shade through the base to the light
// tone, and toward `glint` with the gloss. Black hair's turns lighten no further than its base;
// its light is the narrow gloss.
QColor coilTone(const HairPalette& c, const QColor& deep, const QColor& glint, double lit, double gloss) {
    const double l = c.black ? std::min(lit, 0.7) : lit;
    const QColor tone = l > 0.6 ? mix(c.base, c.light, (l - 0.6) * 2.5) : mix(deep, c.base, l / 0.6);
    return mix(tone, glint, std::clamp(gloss * (c.black ? 0.9 : 0.6), 0.0, 1.0));
}

// The coil pixel by pixel over what is already drawn (SourceAtop), its turns combed into fine
// strands that run round with them and drift across each turn as they go, so that they cross from
// one turn into the next. Its edge is soft and a little ragged, and at the top it fades into the
// side hair coming down into it.
void shadeCoil(QPainter& p, const PinCurl& pc, const CoilShape& s, const HairPalette& c) {
    const QColor deep = mix(c.dark, QColor(0, 0, 0), 0.35), glint = mix(c.sheen, QColor(255, 255, 255), 0.1);
    const int reach = static_cast<int>(std::ceil(1.3 * pc.r)) + 3;
    const int x0 = static_cast<int>(pc.centre.x()) - reach, y0 = static_cast<int>(pc.centre.y()) - reach;
    QImage coil = newLayer(2 * reach + 1, 2 * reach + 1);
    for (int y = 0; y < coil.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(coil.scanLine(y));
        for (int x = 0; x < coil.width(); ++x) {
            const QPointF at(x0 + x + 0.5, y0 + y + 0.5);
            const CoilPoint q = toCoil(pc, s, at);
            const double ph = turnPhase(pc, q.rho, q.a), across = ph - std::floor(ph);
            // The angle wound inward along the turn, unwrapped across the branch cut of `a` by the
            // turn's number; times the radius, about the length along the strands.
            const double wound = pc.side * q.a - 2 * kPi * std::floor(ph);
            const double along = wound * std::max(q.rho, 3.0);
            // Strands: six to a turn's width, long along it, each drifting across the turn as it
            // goes round.
            const double lane = valueNoise(6 * (across + 0.3 * wound / (2 * kPi)), along / 14, pc.seed + 5);
            // Each strand catches the light in short glints along it, a few px long.
            const double glints =
                valueNoise(6 * (across + 0.3 * wound / (2 * kPi)) + 17, along / 3, pc.seed + 7);
            const double fibre = smoothstep(0.2, 0.8, lane) * (0.55 + 0.9 * glints);
            // Here and there the strands of a turn lie over the groove into the next: lit there as
            // the middle of a turn. In the middle the end of the hair lies tucked over the last
            // narrow turns.
            const double bridged = std::max(
                0.6 * smoothstep(0.6, 0.9, valueNoise(along / 5, 3.7 * std::floor(ph), pc.seed + 11)),
                tucked(pc, q.rho));
            // The grooves' edges are strands ending, ragged, not a cut line.
            const double frayed =
                ph + 0.2 * (valueNoise(along / 2.5, 2.3 * std::floor(ph), pc.seed + 13) - 0.5);
            const double lying = 0.5 + (frayed - std::floor(frayed) - 0.5) * (1 - bridged);
            const double ragged = 1.0 + 2.6 * lane;
            double cover = std::clamp((coilEdge(pc, q.a) - q.rho) / ragged + 0.4, 0.0, 1.0);
            const double above = pc.centre.y() - at.y();
            cover *=
                1 - 0.85 * smoothstep(0.2 * pc.r, 1.1 * pc.r, above) * smoothstep(0.6 * pc.r, pc.r, q.rho);
            if (cover <= 0) continue;
            const auto [diffuse, gloss] = coilLight(pc, q.rho, q.canvasA, lying, c.black);
            const QColor col =
                coilTone(c, deep, glint, diffuse * (0.25 + 1.5 * fibre), gloss * (0.2 + 1.2 * fibre));
            const int al = static_cast<int>(cover * 255);
            row[x] = qRgba(col.red() * al / 255, col.green() * al / 255, col.blue() * al / 255, al);
        }
    }
    p.drawImage(x0, y0, coil);
}

// A strand of the coil: from `rho0` px out at the curl's outer side it winds `span` radians inward,
// its turn phase rising by `cross` per revolution (0 keeps to its turn; a strand that crosses goes
// over the groove into the next). `lead` px of the side hair above it come down into it, leaving the
// side `drift` px further out (or in), bowed `sway` px either way, and easing into the outer turn.
Polyline coilStrand(const PinCurl& pc, const CoilShape& s, double rho0, double span, double lead,
                    double drift, double sway, double cross) {
    const double outer = pc.side < 0 ? kPi : 0, ph0 = turnPhase(pc, rho0, outer);
    const QPointF start = fromCoil(pc, s, rho0, outer);
    Polyline line;
    for (double y = -lead; y < 0; y += 2) {
        const double k = 1 + y / lead;
        line.push_back(start + QPointF(pc.side * drift * (1 - k) * (1 - k) + 4 * sway * k * (1 - k), y));
    }
    for (double phi = 0; phi <= span; phi += 0.12) {
        const double a = outer + pc.side * phi, rho = turnRadius(pc, ph0 + cross * phi / (2 * kPi), a);
        if (rho < 0.1 * pc.r) break;
        line.push_back(fromCoil(pc, s, rho, a));
    }
    return line;
}

// A short strand wound from `rho0` px out at angle `a0` for `span` radians inward, its phase rising
// by `cross` per revolution: a stray over the turns, or an end tucked into the centre.
Polyline coilArc(const PinCurl& pc, const CoilShape& s, double rho0, double a0, double span, double cross) {
    const double ph0 = turnPhase(pc, rho0, a0);
    Polyline line;
    for (double phi = 0; phi <= span; phi += 0.1) {
        const double a = a0 + pc.side * phi, rho = turnRadius(pc, ph0 + cross * phi / (2 * kPi), a);
        if (rho < 0.04 * pc.r) break;
        line.push_back(fromCoil(pc, s, rho, a));
    }
    return line;
}

// How a strand over the coil takes its light: `keepLit` lights it as the middle of a turn even
// over a groove (a strand that crosses into the next turn shows there); otherwise it takes the light
// of the turn where it lies, `tone` times as bright (a lighter or darker strand within the turn).
struct StrandLook {
    double w;
    int alpha;
    double taperOut;
    bool keepLit;
    double tone = 1;
};

// A strand over the coil in short pieces, each coloured by the light where it lies.
void paintCoilStrand(QPainter& p, const PinCurl& pc, const CoilShape& s, const HairPalette& c,
                     const Polyline& line, const StrandLook& look) {
    const QColor deep = mix(c.dark, QColor(0, 0, 0), 0.35), glint = mix(c.sheen, QColor(255, 255, 255), 0.1);
    for (size_t i = 0; i + 1 < line.size(); i += 4) {
        const Polyline piece(line.begin() + i, line.begin() + std::min(i + 5, line.size()));
        const CoilPoint q = toCoil(pc, s, piece[piece.size() / 2]);
        const double ph = turnPhase(pc, q.rho, q.a), across = ph - std::floor(ph);
        const double lying =
            look.keepLit ? std::clamp(across, 0.25, 0.75) : 0.5 + (across - 0.5) * (1 - tucked(pc, q.rho));
        const auto [lit, gloss] = coilLight(pc, q.rho, q.canvasA, lying, c.black);
        const double end = i + 5 >= line.size() ? look.taperOut : 0, start = i == 0 ? 0.8 : 0;
        const QColor col = coilTone(c, deep, glint, std::min(1.0, lit * look.tone), gloss * look.tone);
        fillRibbon(p, piece, look.w, look.w, withAlpha(col, look.alpha), start, end);
    }
}

// Loose ends along the rim on the face side, where the curl lies on the cheek, standing a little
// off it: the edge is hair, not a cut.
void drawRimEnds(QPainter& p, const PinCurl& pc, const CoilShape& s, const HairPalette& c, Rng& rng) {
    const QColor deep = mix(c.dark, QColor(0, 0, 0), 0.35), glint = mix(c.sheen, QColor(255, 255, 255), 0.1);
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    for (int i = 0; i < 10; ++i) {
        const double a = (pc.side < 0 ? rng.range(0.05, 0.55) : rng.range(0.45, 0.95)) * kPi;
        const double span = rng.range(0.25, 0.6), off = rng.range(-2.0, 0.6);
        Polyline line;
        for (int k = 0; k <= 8; ++k) {
            const double b = a + pc.side * span * k / 8,
                         rho = coilEdge(pc, b) + off + 0.8 * std::sin(kPi * k / 8);
            line.push_back(fromCoil(pc, s, rho, b));
        }
        fillRibbon(p, line, 0.6, 0.6,
                   withAlpha(coilTone(c, deep, glint, 0.35, 0), static_cast<int>(rng.range(70, 130))), 0.35,
                   0.35);
    }
    p.restore();
}

}  // namespace

QPainterPath coilOutline(const PinCurl& pc) {
    const CoilShape s = coilShape(pc);
    Polyline pts;
    for (int k = 0; k < 48; ++k) {
        const double a = 2 * kPi * k / 48;
        pts.push_back(fromCoil(pc, s, coilEdge(pc, a), a));
    }
    return pathThrough(pts, true);
}

void drawPinCurl(QPainter& p, const PinCurl& pc, const HairPalette& c, Rng& rng) {
    const CoilShape s = coilShape(pc);
    shadeCoil(p, pc, s, c);
    // Strands wound round with the turns, a little lighter or darker than the turn they lie in,
    // each drifting slowly across it: the coil is combed hair, not a moulded ring.
    for (int i = 0; i < 90; ++i) {
        const Polyline line = coilArc(pc, s, rng.range(0.15, 0.95) * pc.r, rng.range(0, 2 * kPi),
                                      rng.range(1.5, 4.0), rng.symmetric(0.25));
        paintCoilStrand(
            p, pc, s, c, line,
            {rng.range(0.5, 0.75), static_cast<int>(rng.range(110, 190)), 0.5, false, rng.range(0.5, 1.8)});
    }
    // The side's strands coming down into the outer turn, all bowed the same way, as combed.
    const double outerEdge = coilEdge(pc, pc.side < 0 ? kPi : 0), bow = rng.uniform() < 0.5 ? -1 : 1;
    for (int i = 0; i < 26; ++i) {
        const double rho0 = rng.range(0.62, 1.0) * outerEdge;
        const Polyline line = coilStrand(pc, s, rho0, rng.range(1.2, 2.6) * kPi, rng.range(8, 22),
                                         rng.symmetric(4), bow * rng.range(0.3, 1.5), rng.symmetric(0.3));
        paintCoilStrand(p, pc, s, c, line,
                        {rng.range(0.7, 1.1), static_cast<int>(rng.range(120, 200)), 0.5, true});
    }
    // Strays that leave their turn for the next one in or out, over the groove between them.
    for (int i = 0; i < 20; ++i) {
        const double span = rng.range(1.2, 2.2), shift = rng.range(0.5, 0.9) * (rng.uniform() < 0.5 ? -1 : 1);
        const Polyline line =
            coilArc(pc, s, rng.range(0.3, 0.85) * pc.r, rng.range(0, 2 * kPi), span, shift * 2 * kPi / span);
        paintCoilStrand(p, pc, s, c, line,
                        {rng.range(0.55, 0.8), static_cast<int>(rng.range(140, 210)), 0.4, true});
    }
    // The end of the hair tucked into the centre: the innermost turn's strands run on into it and
    // end there, tapering.
    const double tuck = rng.range(0, 2 * kPi);
    for (int i = 0; i < 6; ++i) {
        const Polyline line =
            coilArc(pc, s, rng.range(0.25, 0.4) * pc.r, tuck + rng.symmetric(0.5), 2 * kPi, -0.6);
        paintCoilStrand(p, pc, s, c, line,
                        {rng.range(0.6, 0.9), static_cast<int>(rng.range(130, 200)), 0.8, true});
    }
    drawRimEnds(p, pc, s, c, rng);
}

}  // namespace installdata
