#include "ClothWeave.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "AccessoryDraw.h"

namespace installdata::garment {

// Brightness of the weave at a place on the body, around 1; u runs round the body, v down it.
double weaveFactor(const Fabric& fab, double x, double y, double u, double v, uint32_t seed) {
    const double n = valueNoise(x * 1.3, y * 1.3, seed) - 0.5;
    switch (fab.weave) {
        case Weave::Jersey:
            return 1 + 0.05 * n + 0.012 * std::sin(2 * std::numbers::pi * u / 1.7) +
                   0.02 * (valueNoise(x * 0.35, y * 0.9, seed + 7) - 0.5);  // uneven yarn
        case Weave::Rib:
            // each rib a little wider or tighter than the next, as knitted by hand-fed yarn
            return 1 + (0.06 + 0.04 * n) * std::sin(2 * std::numbers::pi * u / 3.3) +
                   0.035 * (valueNoise(u / 3.3, v * 0.12, seed + 13) - 0.5) +
                   0.012 * std::sin(2 * std::numbers::pi * v / 2.4) + 0.03 * n;
        case Weave::Silk:
            return 1 + 0.02 * n + 0.02 * (fractalNoise(x * 0.6, y * 0.6, seed + 3, 2) - 0.5);
        case Weave::Oxford:
            return 1 +
                   0.045 * ((static_cast<int>(std::floor(x)) + static_cast<int>(std::floor(y))) % 2 - 0.5) +
                   0.03 * n;
        case Weave::Denim: {
            const double slub = valueNoise(u * 0.8, v * 0.07, seed + 5) - 0.5;
            return 1 + 0.075 * std::sin(2 * std::numbers::pi * (0.7 * u + v) / 2.6) + 0.16 * slub + 0.04 * n;
        }
        case Weave::Suiting:
            return 1 + 0.035 * std::sin(2 * std::numbers::pi * (u - v) / 2.1) + 0.035 * n +
                   0.04 * (valueNoise(x * 0.5, y * 0.5, seed + 11) - 0.5);  // heathered wool yarn
        case Weave::Crepe:
            return 1 + 0.07 * (fractalNoise(x * 0.9, y * 0.9, seed + 9, 2) - 0.5);
        case Weave::Lace:
            return 1 + 0.03 * n;
    }
    return 1;
}

// How much lace thread covers a place (0 open net .. 1 solid): a hexagonal net of fine threads
// with five-petalled flowers scattered over it, corded at their edges.
double laceDensity(double u, double v, uint32_t seed) {
    auto thread = [](double t) {
        const double f = t - std::floor(t);
        return 1 - smoothstep(0.0, 0.2, std::min(f, 1 - f));
    };
    const double s3 = 0.866;
    double density = 0.42 * std::max({thread(u / 3.2), thread((0.5 * u + s3 * v) / 3.2),
                                      thread((-0.5 * u + s3 * v) / 3.2)});
    const double cell = 19;
    const int ci = static_cast<int>(std::floor(u / cell)), cj = static_cast<int>(std::floor(v / cell));
    for (int dj = -1; dj <= 1; ++dj)
        for (int di = -1; di <= 1; ++di) {
            const uint32_t key = seed + static_cast<uint32_t>((ci + di) * 7919 + (cj + dj) * 104729);
            const double cu = (ci + di + 0.5 + 0.8 * (valueNoise(0.5, 0.5, key) - 0.5)) * cell;
            const double cv = (cj + dj + 0.5 + 0.8 * (valueNoise(1.5, 0.5, key) - 0.5)) * cell;
            const double r = 6.0 + 4.0 * valueNoise(2.5, 0.5, key);
            const double du = u - cu, dv = v - cv, rho = std::hypot(du, dv);
            if (rho > r + 1.5) continue;
            const double turn = 6 * valueNoise(3.5, 0.5, key);
            double motif;
            if (valueNoise(4.5, 0.5, key) > 0.62) {  // a leaf with its middle vein
                const double lx = du * std::cos(turn) + dv * std::sin(turn),
                             ly = -du * std::sin(turn) + dv * std::cos(turn);
                const double e = std::hypot(lx / (1.1 * r), ly / (0.45 * r));
                motif = 0.7 * (1 - smoothstep(0.85, 1.05, e));
                if (e < 0.9 && std::abs(ly) < 0.45) motif = 0.45;
                motif = std::max(motif, 1 - smoothstep(0.0, 0.12, std::abs(e - 0.95)));
            } else {  // a flower of five or six petals with an eyelet
                const double petals = valueNoise(5.5, 0.5, key) > 0.5 ? 2.5 : 3.0;
                const double edge =
                    r * (0.66 + 0.34 * std::abs(std::cos(petals * (std::atan2(dv, du) + turn))));
                motif = (0.55 + 0.25 * std::abs(std::cos(3 * petals * std::atan2(dv, du)))) *
                        (1 - smoothstep(edge - 0.6, edge + 0.4, rho));
                motif = std::max(motif, 1 - smoothstep(0.0, 0.7, std::abs(rho - edge)));  // the cord
                if (rho < 2.2) motif = rho < 1.2 ? 1.0 : 0.2;
            }
            density = std::max(density, motif);
        }
    return density;
}

// How much a cloth rumples in small soft wrinkles over its big folds, in pixels of height.
double rumpleOf(Weave w) {
    switch (w) {
        case Weave::Jersey:
            return 1.5;
        case Weave::Rib:
            return 1.1;
        case Weave::Silk:
            return 1.3;
        case Weave::Oxford:
            return 1.3;
        case Weave::Denim:
            return 0.9;
        case Weave::Suiting:
            return 0.6;
        case Weave::Crepe:
            return 1.7;
        case Weave::Lace:
            return 1.1;
    }
    return 1;
}

// The fabric's colour at a place: dyed cloth is never one flat hue, its tone drifts a little
// over the piece and a little warmer or cooler from yarn to yarn.
QColor dyedColour(QColor c, double x, double y, uint32_t seed) {
    const double tone = fractalNoise(x / 26.0, y / 26.0, seed + 41, 2) - 0.5;
    const double warm = fractalNoise(x / 47.0, y / 47.0, seed + 43, 2) - 0.5 +
                        0.35 * (valueNoise(x * 0.9, y * 0.9, seed + 47) - 0.5);
    auto ch = [](double v) { return std::clamp(static_cast<int>(std::lround(v)), 0, 255); };
    return QColor(ch(c.red() * (1 + 0.06 * tone + 0.05 * warm)), ch(c.green() * (1 + 0.06 * tone)),
                  ch(c.blue() * (1 + 0.06 * tone - 0.05 * warm)));
}

}  // namespace installdata::garment
