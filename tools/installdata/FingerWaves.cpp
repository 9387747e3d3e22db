#include <algorithm>
#include <cmath>

#include "Geometry.h"
#include "UpdoArt.h"

namespace installdata {

namespace {

constexpr double kPi = 3.14159265358979323846;

// The wave field over the head. Phase 0 at `top`, one wave every `pitch` px down; the crests lie
// at phase pi/2, the troughs at 3pi/2. The ridges swing as an S across the head and drop toward
// the sides as they run round the skull (more near the crown, where the head is rounder).
struct WaveField {
    double top, pitch, part;
    double shift(double x, double y) const {
        const double dx = x - face::kMidX, round = std::clamp((220 - y) / 150, 0.2, 1.0);
        return 15 * (1 + 0.3 * std::sin(y / 37)) * std::sin(2 * kPi * (x - part) / 150 + y / 90) +
               0.0026 * dx * dx * round;
    }
    double phase(double x, double y) const { return 2 * kPi * (y - top - shift(x, y)) / pitch; }
    // The line of constant phase (crest, trough) across the head.
    Polyline line(double ph) const {
        Polyline pts;
        for (double x = 24; x <= 356; x += 4) {
            double y = top + ph / (2 * kPi) * pitch;
            for (int k = 0; k < 3; ++k) y = top + ph / (2 * kPi) * pitch + shift(x, y);
            pts.push_back({x, y});
        }
        return pts;
    }
};

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

// Each wave swells the outline where its crest reaches the edge of the hair.
void swellOutline(QPainter& p, const WaveField& f, int waves, const HairVariant& v, const HairPalette& c) {
    const auto* layer = dynamic_cast<const QImage*>(p.device());
    if (!layer) return;
    p.setPen(Qt::NoPen);
    p.setBrush(mix(c.dark, c.base, 0.5));
    for (int k = 0; k < waves; ++k) {
        const Polyline cr = f.line(2 * kPi * k + 0.5 * kPi);
        for (int side : {-1, 1}) {
            // Along the crest from the picture's side inwards to the first solid hair.
            const int n = static_cast<int>(cr.size());
            for (int i = side < 0 ? 0 : n - 1; i >= 0 && i < n && (cr[i].x() - face::kMidX) * side > 0;
                 i -= side) {
                const int x = static_cast<int>(cr[i].x()), y = static_cast<int>(std::lround(cr[i].y()));
                if (y < 0 || y >= layer->height() || qAlpha(layer->pixel(x, y)) < 120) continue;
                if (y >= 90 && y <= (side < 0 ? v.tipLeft : v.tipRight) - 18)
                    p.drawEllipse(QPointF(x + side * 0.5, y), 3.5, 0.45 * f.pitch);
                break;
            }
        }
    }
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
    // Deep troughs under each crest, then the crests' sharp sheen, broken where they turn away.
    paintSoft(p, size, 3, 0.7, [&](QPainter& q) {
        for (int k = 1; k < waves; ++k)
            fillRibbon(q, f.line(2 * kPi * k + 1.15 * kPi), 0.16 * f.pitch, 0.16 * f.pitch,
                       mix(c.dark, QColor(0, 0, 0), 0.6));
    });
    const QColor shine = mix(c.sheen, QColor(255, 255, 255), 0.2);
    paintSoft(p, size, 4, 0.45, [&](QPainter& q) {  // the broad glow on the crest
        for (int k = 1; k < waves; ++k) fillRibbon(q, f.line(2 * kPi * k + 0.3 * kPi), 7, 7, shine);
    });
    paintSoft(p, size, 1, 0.8, [&](QPainter& q) {
        for (int k = 1; k < waves; ++k) {
            const Polyline cr = f.line(2 * kPi * k + 0.38 * kPi);
            for (size_t a = 0; a + 3 < cr.size(); a += 5) {
                const Polyline piece(cr.begin() + a, cr.begin() + std::min(cr.size(), a + 6));
                fillRibbon(q, piece, 2.4, 2.4, withAlpha(shine, static_cast<int>(rng.range(140, 255))), 0.3,
                           0.3);
            }
        }
    });
    p.restore();
}

}  // namespace installdata
