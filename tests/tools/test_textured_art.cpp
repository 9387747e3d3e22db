// Checks of the textured cuts: over the crown the hair reads as broad locks in soft light and
// shade, not as a comb's fan of fine parallel lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "tools/ArtFiles.h"

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
