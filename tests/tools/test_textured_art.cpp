// Checks of the textured cuts: over the crown the hair reads as broad locks in soft light and
// shade, not as a comb's fan of fine parallel lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <vector>

#include "tools/ArtFiles.h"
#include "tools/ArtTensor.h"

namespace {

struct Lines {
    int hair = 0;     // solid crown pixels looked at
    double fine = 0;  // share of them on a fine line across the column: a strand edge
};

// Over the solid hair of the crown (canvas rows 60-150), a pixel lies on a fine near-horizontal
// line when its brightness stands off the mean of the pixels two rows above and below it by more
// than 8 (a strand a pixel or two wide) while along its row it does not (the line runs on).
Lines crownLines(const QImage& img) {
    const int w = img.width();
    const std::vector<bool> solid = arttest::alphaMask(img, 250);
    auto lum = [&](int x, int y) { return arttest::luminance(img.pixel(x, y)); };
    auto inside = [&](int x, int y) {
        for (int d = -2; d <= 2; ++d)
            if (!solid[static_cast<size_t>(y + d) * w + x] || !solid[static_cast<size_t>(y) * w + x + d])
                return false;
        return true;
    };
    Lines out;
    int fine = 0;
    for (int y = 60; y < std::min(img.height() - 2, 150); ++y)
        for (int x = 2; x < w - 2; ++x) {
            if (!inside(x, y)) continue;
            ++out.hair;
            const double l = lum(x, y);
            const double across = l - 0.5 * (lum(x, y - 2) + lum(x, y + 2));
            const double along = l - 0.5 * (lum(x - 2, y) + lum(x + 2, y));
            fine += std::abs(across) > 8 && std::abs(along) < 0.5 * std::abs(across);
        }
    if (out.hair > 0) out.fine = static_cast<double>(fine) / out.hair;
    return out;
}

struct Patches {
    int solid = 0;    // 8 x 8 patches of solid hair looked at
    double flat = 0;  // share of them flat across the locks
};

// Over the top of the head beside the parting (canvas columns 130-262, rows 50-122), 8 x 8 patches
// of solid hair on a 4 px step: a patch is flat when its row means (the light across the locks,
// which run sideways there) spread by a standard deviation under 2. Locks in their own light and
// shade vary across every patch; a bare blur does not, and takes the crown's sheen as square
// patches of light.
Patches flatCrownPatches(const QImage& img) {
    constexpr int kPatch = 8;
    const std::vector<bool> solid = arttest::alphaMask(img, 250);
    Patches out;
    int flat = 0;
    for (int y0 = 50; y0 + kPatch <= 122; y0 += 4)
        for (int x0 = 130; x0 + kPatch <= 262; x0 += 4) {
            bool inside = true;
            for (int y = y0; y < y0 + kPatch && inside; ++y)
                for (int x = x0; x < x0 + kPatch && inside; ++x)
                    inside = solid[static_cast<size_t>(y) * img.width() + x];
            if (!inside) continue;
            double sum = 0, sq = 0;
            for (int y = y0; y < y0 + kPatch; ++y) {
                double row = 0;
                for (int x = x0; x < x0 + kPatch; ++x) row += arttest::luminance(img.pixel(x, y));
                row /= kPatch;
                sum += row;
                sq += row * row;
            }
            const double mean = sum / kPatch;
            ++out.solid;
            flat += std::sqrt(std::max(0.0, sq / kPatch - mean * mean)) < 2.0;
        }
    if (out.solid > 0) out.flat = static_cast<double>(flat) / out.solid;
    return out;
}

// Over the solid hair of the crown (canvas rows 50-150), the mean change of brightness 6 px along
// the hair against the mean change 6 px across it, the hair's direction at each pixel being the
// one the brightness changes least along, from the structure tensor of its gradient averaged over
// some 10 px. Long continuous locks change slowly along and quickly across; a field of short
// streaks and blotches changes as much along as across.
double alongAcross(const QImage& img) {
    const int w = img.width(), h = img.height();
    const std::vector<bool> solid = arttest::alphaMask(img, 250);
    const std::vector<double> lum = arttest::lumGrid(img);
    auto at = [&](double x, double y) { return arttest::bilinear(lum, w, h, x, y); };
    const arttest::Tensor t = arttest::structureTensor(img, 2);
    double along = 0, across = 0;
    for (int y = 50; y < std::min(h - 4, 150); ++y)
        for (int x = 4; x < w - 4; ++x) {
            bool inside = true;
            for (int d = -3; d <= 3 && inside; ++d)
                inside =
                    solid[static_cast<size_t>(y + d) * w + x] && solid[static_cast<size_t>(y) * w + x + d];
            if (!inside) continue;
            const double theta = t.acrossAngle(x, y);
            const double cx = 3 * std::cos(theta), cy = 3 * std::sin(theta);
            across += std::abs(at(x + cx, y + cy) - at(x - cx, y - cy));
            along += std::abs(at(x - cy, y + cx) - at(x + cy, y - cx));
        }
    return across > 0 ? along / across : 1.0;
}

// Mean absolute 4-neighbour Laplacian of the brightness over the solid hair in columns [x0, x1),
// canvas rows 90-215: how crisp the hair there is.
double sharpness(const QImage& img, int x0, int x1) {
    const int w = img.width();
    const std::vector<bool> solid = arttest::alphaMask(img, 250);
    const std::vector<double> lum = arttest::lumGrid(img);
    double sum = 0;
    int n = 0;
    for (int y = 90; y < 215; ++y)
        for (int x = x0; x < x1; ++x) {
            const size_t i = static_cast<size_t>(y) * w + x;
            if (!solid[i] || !solid[i - 1] || !solid[i + 1] || !solid[i - w] || !solid[i + w]) continue;
            sum += std::abs(lum[i - 1] + lum[i + 1] + lum[i - w] + lum[i + w] - 4 * lum[i]);
            ++n;
        }
    return n > 0 ? sum / n : 0.0;
}

// The crown's light along rays from the head's centre (canvas 190, 170), one every degree from 160
// to 20 degrees above the horizontal, sampled each pixel inward from the hair's outline to 70 px
// under it, less its running mean over 9 px so only the locks and their partings are left. For
// rays 15, 20 and 25 degrees apart, the mean correlation of those profiles over the depths both
// cross on solid hair: bands that run parallel to the outline all round the head correlate
// highly; locks crossing the rays at their own angles and places do not.
double radialBanding(const QImage& img) {
    const int w = img.width(), h = img.height();
    const std::vector<bool> solid = arttest::alphaMask(img, 250);
    const std::vector<double> lum = arttest::lumGrid(img);
    constexpr int kDepth = 70, kSmooth = 4;
    auto solidAt = [&](double x, double y) {
        const int ix = static_cast<int>(std::lround(x)), iy = static_cast<int>(std::lround(y));
        return ix >= 1 && iy >= 1 && ix < w - 1 && iy < h - 1 && solid[static_cast<size_t>(iy) * w + ix];
    };
    std::vector<std::vector<double>> rays;  // per degree, per depth; NaN off the solid hair
    for (int deg = 20; deg <= 160; ++deg) {
        const double cx = std::cos(deg * std::numbers::pi / 180),
                     cy = -std::sin(deg * std::numbers::pi / 180);
        int outline = 180;
        while (outline > kDepth && !solidAt(190 + outline * cx, 170 + outline * cy)) --outline;
        std::vector<double> raw(kDepth, std::nan(""));
        for (int d = 0; d < kDepth; ++d) {
            const double x = 190 + (outline - d) * cx, y = 170 + (outline - d) * cy;
            if (solidAt(x, y)) raw[d] = arttest::bilinear(lum, w, h, x, y);
        }
        std::vector<double> detail(raw.size(), std::nan(""));
        for (int i = kSmooth; i + kSmooth < static_cast<int>(raw.size()); ++i) {
            double sum = 0;
            bool whole = true;
            for (int d = -kSmooth; d <= kSmooth && whole; ++d) {
                whole = !std::isnan(raw[i + d]);
                sum += raw[i + d];
            }
            if (whole) detail[i] = raw[i] - sum / (2 * kSmooth + 1);
        }
        rays.push_back(detail);
    }
    double total = 0;
    int pairs = 0;
    for (int gap : {15, 20, 25})
        for (size_t i = 0; i + gap < rays.size(); ++i) {
            const std::vector<double>&a = rays[i], &b = rays[i + gap];
            double sa = 0, sb = 0, saa = 0, sbb = 0, sab = 0;
            int n = 0;
            for (size_t r = 0; r < a.size(); ++r) {
                if (std::isnan(a[r]) || std::isnan(b[r])) continue;
                sa += a[r], sb += b[r], saa += a[r] * a[r], sbb += b[r] * b[r], sab += a[r] * b[r];
                ++n;
            }
            if (n < 30) continue;
            const double va = saa - sa * sa / n, vb = sbb - sb * sb / n;
            if (va <= 1e-9 || vb <= 1e-9) continue;
            total += (sab - sa * sb / n) / std::sqrt(va * vb);
            ++pairs;
        }
    return pairs > 0 ? total / pairs : 1.0;
}

}  // namespace

// A textured cut's top falls in broad locks, lit on their curves and shaded where they part.
// Drawn over the side sheets' fine strands, fanning from the parting, it read as combed lines: 15.7%
// and 17.4% of the crowns' solid pixels on such lines (14.6% and 20.1% with the locks alone), as
// much as a smooth straight cut's 16-24%. Beside the parting the locks then began up to halfway
// along the sheet, leaving the blurred layer bare: 24.5% and 10.4% of the patches there were flat,
// and the sheen laid over them later read as square blotches (11.7% and 9.3% with the locks rooted
// at the parting).
TEST(HairArt, TexturedCrownIsLocksNotCombedLinesOrASmear) {
    for (const char* n : {"y002.tta", "y003.tta"}) {
        const QImage img = arttest::component(QStringLiteral("faxing"), QString::fromLatin1(n));
        ASSERT_FALSE(img.isNull()) << n;
        const Lines s = crownLines(img);
        std::printf("%s: %d solid crown pixels, %.4f of them on fine lines\n", n, s.hair, s.fine);
        ASSERT_GT(s.hair, 8000) << n << ": too little solid hair over the crown to judge";
        EXPECT_LE(s.fine, 0.14) << n << ": the crown reads as a comb's fine parallel lines";
        const Patches f = flatCrownPatches(img);
        std::printf("%s: %d solid patches beside the parting, %.4f of them flat\n", n, f.solid, f.flat);
        ASSERT_GT(f.solid, 300) << n << ": too little solid hair beside the parting to judge";
        EXPECT_LE(f.flat, 0.15) << n << ": the crown beside the parting is a smear, not locks";
    }
}

// Over the crown a textured cut's locks run from the parting down over the head in long continuous
// curves, lit along one edge and shaded into the groove by the next, and the short side is as crisp
// as the rest. Short locks at staggered starts over a blurred layer read as a field of broken
// streaks and blotches: the light changed 0.31 as much along the hair as across it (0.22 as
// continuous locks). On y003 the short right side, its locks melted by soft shade over a narrow
// sheet, was a blurred band: its mean Laplacian 0.6 of the long left side's (1.3 as crisp locks).
TEST(HairArt, TexturedCrownRunsInContinuousCrispLocks) {
    for (const char* n : {"y002.tta", "y003.tta"}) {
        const QImage img = arttest::component(QStringLiteral("faxing"), QString::fromLatin1(n));
        ASSERT_FALSE(img.isNull()) << n;
        const double ratio = alongAcross(img);
        std::printf("%s: the crown's light changes %.3f as much along the hair as across it\n", n, ratio);
        EXPECT_LE(ratio, 0.28) << n << ": the crown is short broken streaks, not continuous locks";
    }
    const QImage img = arttest::component(QStringLiteral("faxing"), QStringLiteral("y003.tta"));
    ASSERT_FALSE(img.isNull());
    const double left = sharpness(img, 80, 150), right = sharpness(img, 240, 300);
    std::printf("y003.tta: mean Laplacian %.2f on the short right side, %.2f on the long left\n", right,
                left);
    ASSERT_GT(left, 1.0) << "no solid hair on the long side to compare with";
    EXPECT_GE(right, 0.85 * left) << "the short side is a blurred band beside crisp locks";
}

// Over the crown a textured cut's locks cross the head at their own angles, widths and lengths,
// so their partings do not line up all round it. Cut as rows of parallel strips, each of one tone,
// the top read as concentric bands like a cake's rings: rays 15-25 degrees apart correlated 0.100
// and 0.062 (-0.065 and -0.069 as staggered, crossing locks; most other styles lie near 0).
TEST(HairArt, TexturedCrownIsNotConcentricBands) {
    for (const char* n : {"y002.tta", "y003.tta"}) {
        const QImage img = arttest::component(QStringLiteral("faxing"), QString::fromLatin1(n));
        ASSERT_FALSE(img.isNull()) << n;
        const double banding = radialBanding(img);
        std::printf("%s: rays through the crown 15-25 degrees apart correlate %.3f\n", n, banding);
        EXPECT_LE(banding, 0.03) << n << ": the crown reads as concentric bands, not locks";
    }
}
