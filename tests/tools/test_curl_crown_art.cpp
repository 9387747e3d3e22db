// Checks of the crown of the medium and long curly hairstyles: where the curls begin on the upper
// sides, the locks lying deeper in the mass are curls in shade, with strands and turns still to be
// seen, not dark blurred smudges.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "tools/ArtFiles.h"

namespace {

using arttest::luminance;

constexpr int kSolid = 230;
constexpr int kTop = 40, kBottom = 120;  // the upper sides, canvas rows
constexpr int kPatch = 2;                // a smudge covers at least a (2k+1)^2 square

// The share of the solid hair on the upper sides that lies in patches (squares of 5 x 5 px) both
// dark (under 0.8 of the median light of the solid hair there) and soft (the mean |Laplacian| of
// the light over the square under 0.2 of that median): a muddy smudge, where the hair shows neither
// strands nor turns.
double muddyShare(const QImage& img) {
    const int w = img.width(), h = img.height();
    std::vector<double> lum(static_cast<size_t>(w) * h, 0.0);
    std::vector<bool> solid(lum.size(), false);
    std::vector<double> all;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const QRgb p = img.pixel(x, y);
            const size_t i = static_cast<size_t>(y) * w + x;
            lum[i] = luminance(p);
            solid[i] = qAlpha(p) >= kSolid;
            if (solid[i] && y >= kTop && y < kBottom) all.push_back(lum[i]);
        }
    if (all.size() < 1000) return -1;
    std::nth_element(all.begin(), all.begin() + all.size() / 2, all.end());
    const double median = all[all.size() / 2];
    auto at = [&](int x, int y) { return lum[static_cast<size_t>(y) * w + x]; };
    auto dull = [&](int x, int y) {  // dark and without detail around (x, y)
        double lap = 0, light = 0;
        for (int dy = -kPatch; dy <= kPatch; ++dy)
            for (int dx = -kPatch; dx <= kPatch; ++dx) {
                const int u = x + dx, v = y + dy;
                if (!solid[static_cast<size_t>(v) * w + u]) return false;
                lap += std::abs(4 * at(u, v) - at(u - 1, v) - at(u + 1, v) - at(u, v - 1) - at(u, v + 1));
                light += at(u, v);
            }
        const double n = (2 * kPatch + 1) * (2 * kPatch + 1);
        return light / n < 0.8 * median && lap / n < 0.2 * median;
    };
    int hair = 0, muddy = 0;
    for (int y = kTop; y < kBottom; ++y)
        for (int x = kPatch + 1; x < w - kPatch - 1; ++x) {
            if (!solid[static_cast<size_t>(y) * w + x]) continue;
            ++hair;
            muddy += dull(x, y);
        }
    return hair > 0 ? static_cast<double>(muddy) / hair : -1;
}

TEST(CurlCrownArt, DeepLocksOnTheUpperSidesAreCurlsInShadeNotSmudges) {
    int measured = 0;
    double worst = 0, sum = 0;
    for (const char* code : {"mj", "cj"})
        for (const QString& name : arttest::items(QStringLiteral("faxing"), QString::fromLatin1(code))) {
            const double share = muddyShare(arttest::component(QStringLiteral("faxing"), name));
            if (share < 0) continue;
            std::printf("%s muddy share %.4f\n", qPrintable(name), share);
            ++measured;
            sum += share;
            worst = std::max(worst, share);
        }
    ASSERT_GE(measured, 12) << "too few curly styles to measure";
    std::printf("muddy share mean %.4f worst %.4f\n", sum / measured, worst);
    // Dark, blurred locks over the crown left about 0.16 of it smudged on average, 0.25 at worst.
    EXPECT_LE(sum / measured, 0.13) << "the upper sides are smudged on average";
    EXPECT_LE(worst, 0.22) << "one style's upper sides are smudged";
}

}  // namespace
