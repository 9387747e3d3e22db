// Checks of the finger-wave sets: the sides come down in front of the ears and round in to their
// ends, instead of stopping at the cheek in a straight edge cut off square, which reads as a helmet;
// the light on the waves comes and goes smoothly, not in square blocks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "Geometry.h"
#include "tools/ArtFiles.h"

namespace {

using namespace installdata::face;

// One side of the hair beside the face, in canvas rows (top-down): how far the solid hair
// (alpha >= 160) reaches outward in each row, in px from the middle, 0 where the row holds fewer
// than six solid pixels (a stray strand is not the outline).
std::vector<int> sideReach(const QImage& img, int side) {
    std::vector<int> reach(img.height(), 0);
    for (int y = 0; y < img.height(); ++y) {
        int count = 0, far = 0;
        for (int d = 50; d < 150; ++d) {
            const int x = static_cast<int>(kMidX) + side * d;
            if (x < 0 || x >= img.width() || qAlpha(img.pixel(x, y)) < 160) continue;
            ++count;
            far = d;
        }
        if (count >= 6) reach[y] = far;
    }
    return reach;
}

// The longest straight vertical seam in the solid hair: a column along which, row after row, the
// tone steps the same way by at least `step` from one pixel to the next while the pixels on either
// side of the step stay even. Light that comes and goes in square blocks leaves such seams at the
// blocks' sides; the shading of a wave changes over several pixels and a strand's two edges step
// both ways, so neither does.
int longestSeam(const QImage& img, double step) {
    const auto lum = [&](int x, int y) { return arttest::luminance(img.pixel(x, y)); };
    int best = 0;
    for (int x = 41; x + 2 < img.width() - 40; ++x) {
        int run = 0, sign = 0;
        for (int y = 20; y < 320; ++y) {
            bool solid = true;
            for (int i = -1; i <= 2; ++i) solid = solid && qAlpha(img.pixel(x + i, y)) >= 250;
            const double d = lum(x + 1, y) - lum(x, y);
            const bool isolated = solid && std::abs(d) >= step &&
                                  std::abs(lum(x, y) - lum(x - 1, y)) < std::abs(d) / 3 &&
                                  std::abs(lum(x + 2, y) - lum(x + 1, y)) < std::abs(d) / 3;
            const int s = isolated ? (d > 0 ? 1 : -1) : 0;
            run = s != 0 && s == sign ? run + 1 : (s != 0 ? 1 : 0);
            sign = s;
            best = std::max(best, run);
        }
    }
    return best;
}

// The swells of one side's outline from row `from` to `to`: peaks of the reach (averaged over five
// rows) that stand at least 3 px over the lowest reach between them and the next higher row, or the
// end of the rows, on either side. A smooth side bulges once; a side scalloped by its waves swells
// at every crest.
int countSwells(const std::vector<int>& reach, int from, int to) {
    std::vector<double> r;
    for (int y = from; y <= to; ++y) {
        double sum = 0;
        for (int k = -2; k <= 2; ++k) sum += reach[y + k];
        r.push_back(sum / 5);
    }
    const int n = static_cast<int>(r.size());
    int swells = 0;
    for (int i = 1; i + 1 < n; ++i) {
        if (!(r[i] > r[i - 1] && r[i] >= r[i + 1])) continue;
        double low[2] = {r[i], r[i]};
        for (int dir : {-1, 1})
            for (int j = i + dir; j >= 0 && j < n && r[j] <= r[i]; j += dir)
                low[dir > 0] = std::min(low[dir > 0], r[j]);
        if (r[i] - std::max(low[0], low[1]) >= 3) ++swells;
    }
    return swells;
}

TEST(HairArt, FingerWaveSidesRoundInToTheirEnds) {
    for (const char* n : {"y006.tta", "l008.tta"}) {
        const QImage img = arttest::component(QStringLiteral("faxing"), QString::fromLatin1(n));
        ASSERT_FALSE(img.isNull()) << n;
        for (int side : {-1, 1}) {
            const std::vector<int> reach = sideReach(img, side);
            int bottom = 0;
            for (int y = 140; y < img.height(); ++y)
                if (reach[y] > 0) bottom = y;
            ASSERT_GT(bottom, 160) << n << ": no hair beside the face";
            // How far the side stands out (the median over the rows 15 to 40 above its end, so one
            // wave's swell does not count) against the furthest its last five rows reach.
            std::vector<int> above(reach.begin() + bottom - 40, reach.begin() + bottom - 15);
            std::nth_element(above.begin(), above.begin() + above.size() / 2, above.end());
            const int standing = above[above.size() / 2];
            const int end = *std::max_element(reach.begin() + bottom - 4, reach.begin() + bottom + 1);
            std::printf("%s %s side ends at y %d, rounding in %d px over its last rows\n", n,
                        side < 0 ? "left" : "right", bottom, standing - end);
            EXPECT_GE(bottom, kLobeY - 15) << n << ": the side stops at the cheek, short of the ear lobe";
            EXPECT_GE(standing - end, 8) << n << ": the side ends in a straight edge cut off square";
        }
    }
}

// With the noise that breaks their light sampled at whole multiples of 7 and 14 px, the crests were
// lit in square blocks; their seams ran straight down 8 rows in both items (4 since).
TEST(HairArt, FingerWaveLightHasNoSquareSeams) {
    for (const char* n : {"y006.tta", "l008.tta"}) {
        const QImage img = arttest::component(QStringLiteral("faxing"), QString::fromLatin1(n));
        ASSERT_FALSE(img.isNull()) << n;
        const int seam = longestSeam(img, 3);
        std::printf("%s: longest straight seam %d px\n", n, seam);
        EXPECT_LE(seam, 6) << n << ": the light on the waves is cut into square blocks";
    }
}

// Finger waves swell out at the sides on each crest and are pressed in at each trough, so the
// upper side, from the temple down to the ear, is scalloped; drawn as one smooth curve it swelled
// once on every side.
TEST(HairArt, FingerWaveSidesSwellWithTheWaves) {
    constexpr int kTempleY = 100, kEarY = static_cast<int>(kLobeY) - 25;
    for (const char* n : {"y006.tta", "l008.tta"}) {
        const QImage img = arttest::component(QStringLiteral("faxing"), QString::fromLatin1(n));
        ASSERT_FALSE(img.isNull()) << n;
        for (int side : {-1, 1}) {
            const std::vector<int> reach = sideReach(img, side);
            ASSERT_GT(*std::min_element(reach.begin() + kTempleY - 2, reach.begin() + kEarY + 3), 0)
                << n << ": a row of the upper side holds no hair";
            const int swells = countSwells(reach, kTempleY, kEarY);
            std::printf("%s %s side: %d swells between the temple and the ear\n", n,
                        side < 0 ? "left" : "right", swells);
            EXPECT_GE(swells, 2) << n << ": the upper side is one smooth curve, not swelling with the waves";
            EXPECT_LE(swells, 3) << n << ": the upper side is ragged, more swells than waves";
        }
    }
}

// Black hair pressed in waves stays black over the crown: its light is a narrow gloss along the
// crests, not a grey wash. The crown's solid hair, on the whole, stays within 1.5 of the black
// palette's base tone, and still carries a gloss.
TEST(HairArt, FingerWaveBlackCrownStaysBlack) {
    const double base = arttest::luminance(qRgb(34, 29, 28));  // the black palette's base tone
    const QImage img = arttest::component(QStringLiteral("faxing"), QStringLiteral("y006.tta"));
    ASSERT_FALSE(img.isNull());
    std::vector<double> lum;
    for (int y = 70; y < 120; ++y)
        for (int x = static_cast<int>(kMidX) - 60; x <= static_cast<int>(kMidX) + 60; ++x)
            if (qAlpha(img.pixel(x, y)) >= 250) lum.push_back(arttest::luminance(img.pixel(x, y)));
    ASSERT_GT(lum.size(), 3000u) << "no solid hair over the crown";
    double sum = 0;
    for (double l : lum) sum += l;
    const double mean = sum / static_cast<double>(lum.size());
    std::sort(lum.begin(), lum.end());
    const double gloss = lum[lum.size() * 99 / 100];
    std::printf("y006.tta crown: mean luminance %.1f against the base's %.1f (%+.1f), gloss %.1f\n", mean,
                base, mean - base, gloss);
    EXPECT_LE(mean - base, 1.5) << "the light greys the black crown";
    EXPECT_GE(gloss - base, 15) << "the black crown has lost the gloss on its crests";
}

// The pin curl ending one side of a finger-wave set, as a circle in canvas px. Its lowest row of
// solid hair (at least four pixels of alpha >= 250) between 60 and 105 px from the middle, where
// nothing else hangs below the curl, gives the bottom and, at the middle of those pixels, the
// centre's column. The rows 5 to 13 above it each give r = (w^2 + h^2) / 2h from how far the solid
// hair at height h reaches outward of that column (w); the median of those. Only the outer half
// is measured: on the face side the hair may thin over the cheek. r is 0 where no curl is found.
struct Disc {
    double cx = 0, cy = 0, r = 0;
};

Disc findPinCurl(const QImage& img, int side) {
    const auto solid = [&](int d, int y) {
        return qAlpha(img.pixel(static_cast<int>(kMidX) + side * d, y)) >= 250;
    };
    int bottom = -1;
    double at = 0;
    for (int y = 150; y < img.height(); ++y) {
        int count = 0, sum = 0;
        for (int d = 60; d <= 105; ++d)
            if (solid(d, y)) ++count, sum += d;
        if (count >= 4) bottom = y, at = static_cast<double>(sum) / count;
    }
    if (bottom < 0) return {};
    std::vector<double> radii;
    for (int h = 5; h <= 13; ++h) {
        int far = static_cast<int>(at);
        while (far < 130 && solid(far + 1, bottom - h)) ++far;
        const double w = far + 0.5 - at;
        radii.push_back((w * w + h * h) / (2.0 * h));
    }
    std::nth_element(radii.begin(), radii.begin() + radii.size() / 2, radii.end());
    const double r = radii[radii.size() / 2];
    return {kMidX + side * at, bottom + 0.5 - r, r};
}

// Along radii from a curl's centre through its lower half (above, it runs into the side hair), from
// a fifth of its radius to 0.85 of it: the luminance averaged across the radius over 3 px,
// and how often it turns from light to dark or back by at least `swing`. A coil's turns, each lit
// on one side and shaded in the groove to the next, alternate as the radius crosses them; a disc
// in one flat fill, or strands strewn over it, hardly does. The mean over the radii.
double coilAlternations(const QImage& img, const Disc& c, double swing) {
    double total = 0;
    constexpr int kRadii = 11;
    for (int k = 0; k < kRadii; ++k) {
        const double a = (0.1 + 0.8 * k / (kRadii - 1)) * M_PI, ux = std::cos(a), uy = std::sin(a);
        std::vector<double> lum;
        for (double s = 0.2 * c.r; s <= 0.85 * c.r; s += 0.5) {
            double sum = 0;
            for (int t = -1; t <= 1; ++t) {
                const int x = static_cast<int>(std::lround(c.cx + s * ux - t * uy));
                const int y = static_cast<int>(std::lround(c.cy + s * uy + t * ux));
                sum += arttest::luminance(img.pixel(x, y));
            }
            lum.push_back(sum / 3);
        }
        // Turns counted with hysteresis: the last extreme must be left by `swing` the other way.
        // Before the first move the lowest and highest so far both count.
        int turns = 0, dir = 0;
        double lo = lum.front(), hi = lum.front();
        for (double l : lum) {
            lo = std::min(lo, l), hi = std::max(hi, l);
            if (dir >= 0 && l < hi - swing)
                turns += dir > 0, dir = -1, lo = l;
            else if (dir <= 0 && l > lo + swing)
                turns += dir < 0, dir = 1, hi = l;
        }
        total += turns;
    }
    return total / kRadii;
}

// A pin curl is hair wound flat round on itself: seen from the front its turns show as rings of
// light and shade round a dark eye. Painted as one dark disc with a few strands over it, the radii
// from its centre crossed about one change of light (0.7 in the black set's curls, 1.3 in the
// brown); its lower half is in shade, so a coil's turns show there faintly but show.
TEST(HairArt, FingerWavePinCurlsShowTheirTurns) {
    for (const char* n : {"y006.tta", "l008.tta"}) {
        const QImage img = arttest::component(QStringLiteral("faxing"), QString::fromLatin1(n));
        ASSERT_FALSE(img.isNull()) << n;
        double both = 0;
        for (int side : {-1, 1}) {
            const Disc c = findPinCurl(img, side);
            ASSERT_GT(c.r, 10) << n << ": no pin curl ends the side";
            ASSERT_LT(c.r, 25) << n << ": the side does not end in a pin curl";
            // The fitted centre may be off by a pixel or two on a ragged outline: the mean over
            // the centres round it.
            double turns = 0;
            for (int dy = -2; dy <= 2; ++dy)
                for (int dx = -2; dx <= 2; ++dx)
                    turns += coilAlternations(img, {c.cx + dx, c.cy + dy, c.r}, 4) / 25;
            std::printf("%s %s pin curl at (%.0f, %.0f) r %.1f: %.2f changes of light along a radius\n", n,
                        side < 0 ? "left" : "right", c.cx, c.cy, c.r, turns);
            EXPECT_GE(turns, 1.0) << n << ": a pin curl is a flat disc, its turns do not show";
            both += turns / 2;
        }
        EXPECT_GE(both, 1.45) << n << ": the pin curls' turns hardly show";
    }
}

// The luminance at a point between pixel centres (pixel (x, y) at integer coordinates), bilinear.
double luminanceAt(const QImage& img, double x, double y) {
    const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
    const double fx = x - x0, fy = y - y0;
    const auto l = [&](int dx, int dy) { return arttest::luminance(img.pixel(x0 + dx, y0 + dy)); };
    return (1 - fy) * ((1 - fx) * l(0, 0) + fx * l(1, 0)) + fy * ((1 - fx) * l(0, 1) + fx * l(1, 1));
}

// How dark a hole lies in the middle of a curl: the darkest disc of a fifth of its radius, wholly
// solid, centred within 4 px of the fitted centre, as a fraction of the median luminance of the
// solid hair of the lower half between 0.3 and 0.9 of the radius. A coil round a dark eye makes
// a dark disc there; a coil whose end is tucked into its centre has none darker than its grooves
// allow.
double holeDepth(const QImage& img, const Disc& c) {
    const double rad = 0.2 * c.r;
    const int reach = static_cast<int>(std::ceil(rad));
    double darkest = 1e9;
    for (int oy = -4; oy <= 4; ++oy)
        for (int ox = -4; ox <= 4; ++ox) {
            const int x0 = static_cast<int>(std::lround(c.cx)) + ox,
                      y0 = static_cast<int>(std::lround(c.cy)) + oy;
            double sum = 0;
            int n = 0;
            bool solid = true;
            for (int dy = -reach; dy <= reach; ++dy)
                for (int dx = -reach; dx <= reach; ++dx) {
                    if (dx * dx + dy * dy > rad * rad) continue;
                    solid = solid && qAlpha(img.pixel(x0 + dx, y0 + dy)) >= 250;
                    sum += arttest::luminance(img.pixel(x0 + dx, y0 + dy)), ++n;
                }
            if (solid && n > 0) darkest = std::min(darkest, sum / n);
        }
    std::vector<double> ring;
    for (int y = static_cast<int>(c.cy); y <= static_cast<int>(c.cy + c.r); ++y)
        for (int x = static_cast<int>(c.cx - c.r); x <= static_cast<int>(c.cx + c.r); ++x) {
            const double d = std::hypot(x - c.cx, y - c.cy);
            if (d >= 0.3 * c.r && d <= 0.9 * c.r && qAlpha(img.pixel(x, y)) >= 250)
                ring.push_back(arttest::luminance(img.pixel(x, y)));
        }
    if (ring.empty() || darkest > 1e8) return 0;
    std::nth_element(ring.begin(), ring.begin() + ring.size() / 2, ring.end());
    return darkest / ring[ring.size() / 2];
}

// How much the light along a curl's turns is broken into strands: along arcs round its centre
// through the lower half (0.05 to 0.95 pi, at 0.35 to 0.75 of the radius, sampled every half
// pixel), the luminance's departure from the mean of its neighbours 1 px either way, against the
// departure of the luminance smoothed over 3 px from its mean along the arc. The arcs run with
// the turns: a turn moulded in one smooth tube of light changes slowly along them, strands and
// their glints change from pixel to pixel. Means over the centres within 2 px of the fitted one.
double strandTexture(const QImage& img, const Disc& c) {
    double fine = 0, coarse = 0;
    for (int oy = -2; oy <= 2; oy += 2)
        for (int ox = -2; ox <= 2; ox += 2)
            for (double f = 0.35; f < 0.8; f += 0.1) {
                const double rad = f * c.r;
                const int n = static_cast<int>(0.9 * M_PI * rad / 0.5);
                std::vector<double> l;
                for (int i = 0; i < n; ++i) {
                    const double a = (0.05 + 0.9 * i / (n - 1)) * M_PI;
                    l.push_back(
                        luminanceAt(img, c.cx + ox + rad * std::cos(a), c.cy + oy + rad * std::sin(a)));
                }
                double f1 = 0, c1 = 0, mean = 0;
                for (size_t i = 2; i + 2 < l.size(); ++i) f1 += std::abs(l[i] - 0.5 * (l[i - 2] + l[i + 2]));
                std::vector<double> smooth;
                for (size_t i = 3; i + 3 < l.size(); ++i) {
                    double s = 0;
                    for (size_t k = i - 3; k <= i + 3; ++k) s += l[k];
                    smooth.push_back(s / 7), mean += s / 7;
                }
                mean /= static_cast<double>(smooth.size());
                for (double s : smooth) c1 += std::abs(s - mean);
                fine += f1 / static_cast<double>(l.size() - 4) / 45;
                coarse += c1 / static_cast<double>(smooth.size()) / 45;
            }
    return coarse > 0 ? fine / coarse : 0;
}

// A flat pin curl is hair wound round on itself, its end tucked into the middle: neither a ring
// round a dark hole nor a moulded tube. Drawn as even rings round a dark eye, the curls' middles
// held a disc at 0.34 to 0.58 of the turns' light, and along the turns the light changed from pixel
// to pixel 0.19 to 0.27 times as much as it changed over several.
TEST(HairArt, FingerWavePinCurlsAreCoiledHair) {
    for (const char* n : {"y006.tta", "l008.tta"}) {
        const QImage img = arttest::component(QStringLiteral("faxing"), QString::fromLatin1(n));
        ASSERT_FALSE(img.isNull()) << n;
        double hole = 0, strands = 0;
        for (int side : {-1, 1}) {
            const Disc c = findPinCurl(img, side);
            ASSERT_GT(c.r, 10) << n << ": no pin curl ends the side";
            ASSERT_LT(c.r, 25) << n << ": the side does not end in a pin curl";
            const double h = holeDepth(img, c), s = strandTexture(img, c);
            std::printf(
                "%s %s pin curl: darkest middle %.2f of its turns' light, strands along the turns %.2f\n", n,
                side < 0 ? "left" : "right", h, s);
            EXPECT_GE(h, 0.55) << n << ": a dark hole in the middle of the pin curl";
            EXPECT_GE(s, 0.27) << n << ": the pin curl's turns are smooth tubes, no strands in them";
            hole += h / 2, strands += s / 2;
        }
        EXPECT_GE(hole, 0.65) << n << ": the pin curls wind round dark holes";
        EXPECT_GE(strands, 0.31) << n << ": the pin curls' turns are moulded, not combed hair";
    }
}

}  // namespace
