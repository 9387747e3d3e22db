#include <algorithm>
#include <cmath>

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
    // Rises with y: the uneven spacing term never outruns the even one.
    double phase(double x, double y) const {
        const double d = (y - top - shift(x, y)) / pitch;
        return 2 * kPi * d + 0.55 * std::sin(2 * kPi * d / 2.6 + 0.8);
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
// round the sides and toward the right, and break up where the hair is pressed less evenly.
double facing(double x, double y, uint32_t seed) {
    const double sx = std::clamp((x - face::kMidX) / 115, -1.3, 1.3);
    const double turn =
        std::clamp(0.8 - 0.25 * sx - 0.4 * sx * sx - 0.002 * std::max(0.0, y - 160), 0.0, 1.0);
    return turn * (0.45 + 0.9 * fractalNoise(x / 26, y / 18, seed, 2));
}

// The waves' relief shaded pixel by pixel: a broad, rounded lit crest, the slope above it catching
// light from above, a soft shaded trough under it that never sinks to a black line; painted over
// the hair already on the layer. Pressed hair is glossy but soft: no hard ridge.
void shadeRelief(QPainter& p, const WaveField& f, const HairPalette& c, uint32_t seed) {
    QImage dark = newLayer(face::kCanvasW, face::kCanvasH), light = dark.copy();
    const QColor deep = mix(c.dark, QColor(0, 0, 0), 0.3), shine = mix(c.light, c.sheen, 0.45);
    for (int y = 0; y < dark.height(); ++y) {
        auto* dr = reinterpret_cast<QRgb*>(dark.scanLine(y));
        auto* lr = reinterpret_cast<QRgb*>(light.scanLine(y));
        const double set = smoothstep(f.top, f.top + 30, y);  // smooth over the top of the head
        if (set <= 0) continue;
        for (int x = 0; x < dark.width(); ++x) {
            const double ph = f.phase(x, y), k = set * WaveField::depth(ph), towards = facing(x, y, seed);
            const double crest = std::pow(std::max(0.0, std::sin(ph)), 1.4);
            const double trough = std::pow(std::max(0.0, -std::sin(ph + 0.35)), 1.8);
            // The light along a crest comes and goes as the pressed hair turns.
            const double broken = 0.35 + 0.9 * fractalNoise(x / 14, y / 40, seed + 5, 2);
            const double lit = k * towards * broken * (0.45 * crest + 0.25 * std::max(0.0, std::cos(ph)));
            const double shade = k * trough * (0.4 + 0.3 * (1 - std::min(towards, 1.0)));
            const auto premul = [](const QColor& col, double a) {
                const int al = static_cast<int>(std::clamp(a, 0.0, 1.0) * 255);
                return qRgba(col.red() * al / 255, col.green() * al / 255, col.blue() * al / 255, al);
            };
            dr[x] = premul(deep, 0.75 * shade);
            lr[x] = premul(shine, 0.8 * lit);
        }
    }
    p.drawImage(0, 0, dark);
    p.drawImage(0, 0, light);
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
            const QColor col =
                lit > 0.6 ? mix(c.base, c.light, (lit - 0.6) * 2.5) : mix(deep, c.base, lit / 0.6);
            fillRibbon(p, piece, 1.0, 1.0, withAlpha(col, static_cast<int>(rng.range(150, 230))));
            piece = {q};
            phStart = ph;
        }
    }
}

// Each wave swells the outline a little where its crest reaches the edge of the hair: a soft,
// shallow scallop just above the crest, in the hair's own mid tone.
void swellOutline(QPainter& p, const WaveField& f, int waves, const HairVariant& v, const HairPalette& c) {
    const auto* layer = dynamic_cast<const QImage*>(p.device());
    if (!layer) return;
    paintSoft(p, layer->size(), 1, 1.0, [&](QPainter& q) {
        q.setPen(Qt::NoPen);
        q.setBrush(mix(c.dark, c.base, 0.6));
        for (int k = 0; k < waves; ++k) {
            const Polyline cr = f.line(2 * kPi * k + 0.5 * kPi);
            for (int side : {-1, 1}) {
                // Along the crest from the picture's side inwards to the first solid hair.
                const int n = static_cast<int>(cr.size());
                for (int i = side < 0 ? 0 : n - 1; i >= 0 && i < n && (cr[i].x() - face::kMidX) * side > 0;
                     i -= side) {
                    const int x = static_cast<int>(cr[i].x()), y = static_cast<int>(std::lround(cr[i].y()));
                    if (y < 0 || y >= layer->height() || qAlpha(layer->pixel(x, y)) < 120) continue;
                    if (y >= 110 && y <= (side < 0 ? v.tipLeft : v.tipRight) - 18)
                        q.drawEllipse(QPointF(x + side * 0.5, y - 0.12 * f.pitch), 2.6, 0.34 * f.pitch);
                    break;
                }
            }
        }
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
    p.save();
    swellOutline(p, f, waves, v, c);
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);  // only over hair already drawn
    p.fillRect(QRect(QPoint(0, 0), size), withAlpha(mix(c.dark, c.base, 0.5), 200));
    drawWavedStrands(p, f, bottom, c, rng);
    shadeRelief(p, f, c, static_cast<uint32_t>(v.seed + 33));
    // The sheen on the crests, soft and in pieces, only where the crest faces the light.
    const QColor shine = mix(c.sheen, QColor(255, 255, 255), 0.1);
    paintSoft(p, size, 2, 0.65, [&](QPainter& q) {
        for (int k = 1; k < waves; ++k) {
            const Polyline cr = f.line(2 * kPi * k + 0.4 * kPi);
            for (size_t a = 0; a + 3 < cr.size(); a += 4 + static_cast<size_t>(rng.range(0, 4))) {
                const QPointF at = cr[a];
                const double towards = facing(at.x(), at.y(), static_cast<uint32_t>(v.seed + 33));
                if (towards < 0.55 || rng.uniform() < 0.25) continue;
                const Polyline piece(
                    cr.begin() + a,
                    cr.begin() + std::min(cr.size(), a + 4 + static_cast<size_t>(rng.range(0, 4))));
                fillRibbon(q, piece, 3.0, 3.0,
                           withAlpha(shine, static_cast<int>(std::min(255.0, 170 * towards))), 0.4, 0.4);
            }
        }
    });
    p.restore();
}

}  // namespace installdata
