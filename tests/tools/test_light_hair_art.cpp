// Checks of light, cool hair (ash blonde, silver grey): its light lies in soft, broad strand groups
// with only a few fine bright strands, not in thin bright streaks over the whole mass.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "tools/ArtFiles.h"

namespace {

struct Streaks {
    int hair = 0;     // solid hair pixels looked at
    double fine = 0;  // share of them that are a thin line brighter than the hair around it
};

// Over the solid hair from the crown to the jaw: a pixel is part of a fine bright streak when it is
// well above the mean of the 9x9 pixels around it (a lit strand is a line a pixel or two wide, a lit
// group of strands is wider than the window).
Streaks streaks(const QImage& img) {
    const int w = img.width(), h = img.height(), r = 4;
    const std::vector<bool> solid = arttest::alphaMask(img, 250);
    std::vector<double> lum(solid.size());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) lum[static_cast<size_t>(y) * w + x] = arttest::luminance(img.pixel(x, y));
    Streaks out;
    int fine = 0;
    for (int y = 40 + r; y < std::min(h - r, 330); ++y)
        for (int x = r; x < w - r; ++x) {
            double sum = 0;
            bool inside = true;
            for (int dy = -r; dy <= r && inside; ++dy)
                for (int dx = -r; dx <= r; ++dx) {
                    const size_t i = static_cast<size_t>(y + dy) * w + x + dx;
                    if (!solid[i]) {
                        inside = false;
                        break;
                    }
                    sum += lum[i];
                }
            if (!inside) continue;
            ++out.hair;
            const double l = lum[static_cast<size_t>(y) * w + x];
            fine += l - sum / ((2 * r + 1) * (2 * r + 1)) > 24;
        }
    if (out.hair > 0) out.fine = static_cast<double>(fine) / out.hair;
    return out;
}

}  // namespace

// Light grey or ash hair crossed everywhere by thin bright streaks reads as tinsel or a nylon wig;
// in a photograph a few fine strands catch the light and the rest of it lies in broad groups.
// Drawn with a crisp lit streak on every other strand these items had 4.5-7.6% of their hair in
// such streaks.
TEST(HairArt, LightCoolHairIsNotTinsel) {
    // The ash blonde and silver grey items of the straight and textured categories.
    for (const char* n : {"y002.tta", "y003.tta", "dz007.tta", "cz007.tta", "s007.tta"}) {
        const QImage img = arttest::component(QStringLiteral("faxing"), QString::fromLatin1(n));
        ASSERT_FALSE(img.isNull()) << n;
        const Streaks s = streaks(img);
        std::printf("%s: %d solid hair pixels, %.4f of them in fine bright streaks\n", n, s.hair, s.fine);
        ASSERT_GT(s.hair, 5000) << n << ": too little solid hair to judge";
        EXPECT_LE(s.fine, 0.03) << n << ": thin bright streaks all over the hair, like tinsel";
    }
}
