// Checks of the crown of the medium and long curly hairstyles: where the curls begin on the upper
// sides, the locks lying deeper in the mass are curls in shade, with strands and turns still to be
// seen, not dark blurred smudges.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "tools/ArtFiles.h"
#include "tools/ArtTensor.h"

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
    // Dark turns without a tucked edge or fibres in their shade still read as smudges at 0.123;
    // with them the mean is about 0.107.
    EXPECT_LE(sum / measured, 0.115) << "the upper sides are smudged on average";
    EXPECT_LE(worst, 0.22) << "one style's upper sides are smudged";
}

// How the smooth top gives way to the curls. Over the crown the strands run out from the parting
// across the head; the local orientation coherence (structure tensor over 13 x 13 px) is high where
// they lie parallel and low over the curls. Along each row, walking out from the middle, the
// largest drop of the mean coherence from the 12 px before a point to the 12 px after it measures
// how abruptly the combed top stops: a seam where every strand ends on one line drops sharply,
// top strands that end staggered and loosen into the curls drop gradually.
constexpr int kWin = 6, kRun = 12, kMidX = 190;

double seamStep(const QImage& img) {
    const int w = img.width(), h = img.height();
    auto idx = [w](int x, int y) { return static_cast<size_t>(y) * w + x; };
    const std::vector<double> lum = arttest::lumGrid(img);
    std::vector<double> jxx(lum.size()), jyy(lum.size()), jxy(lum.size());
    const std::vector<bool> solid = arttest::alphaMask(img, kSolid);
    for (int y = 1; y < h - 1; ++y)
        for (int x = 1; x < w - 1; ++x) {
            const double gx = lum[idx(x + 1, y)] - lum[idx(x - 1, y)],
                         gy = lum[idx(x, y + 1)] - lum[idx(x, y - 1)];
            jxx[idx(x, y)] = gx * gx, jyy[idx(x, y)] = gy * gy, jxy[idx(x, y)] = gx * gy;
        }
    auto coherence = [&](int x, int y) {  // -1 where the window is not all hair
        double a = 0, b = 0, c = 0;
        for (int dy = -kWin; dy <= kWin; ++dy)
            for (int dx = -kWin; dx <= kWin; ++dx) {
                if (!solid[idx(x + dx, y + dy)]) return -1.0;
                a += jxx[idx(x + dx, y + dy)], b += jyy[idx(x + dx, y + dy)], c += jxy[idx(x + dx, y + dy)];
            }
        return std::sqrt((a - b) * (a - b) + 4 * c * c) / (a + b + 1e-6);
    };
    double sum = 0;
    int rows = 0;
    for (int y = kTop; y < kBottom; y += 2) {
        std::vector<double> coh(static_cast<size_t>(w), -1.0);
        for (int x = kWin + 1; x < w - kWin - 1; ++x) coh[static_cast<size_t>(x)] = coherence(x, y);
        for (const int dir : {-1, 1}) {
            double best = 0;
            bool any = false;
            for (int x = kMidX + dir * kRun; x - kRun > kWin && x + kRun < w - kWin - 1; x += dir) {
                double in = 0, out = 0;
                bool ok = true;
                for (int k = 0; k < kRun && ok; ++k) {
                    const double a = coh[static_cast<size_t>(x - dir * (k + 1))],
                                 b = coh[static_cast<size_t>(x + dir * k)];
                    ok = a >= 0 && b >= 0;
                    in += a, out += b;
                }
                if (!ok) continue;
                any = true;
                best = std::max(best, (in - out) / kRun);
            }
            if (any) sum += best, ++rows;
        }
    }
    return rows > 0 ? sum / rows : -1;
}

TEST(CurlCrownArt, TheTopLoosensIntoTheCurlsWithoutASeam) {
    int measured = 0;
    double worst = 0, sum = 0;
    for (const char* code : {"mj", "cj"})
        for (const QString& name : arttest::items(QStringLiteral("faxing"), QString::fromLatin1(code))) {
            const double step = seamStep(arttest::component(QStringLiteral("faxing"), name));
            if (step < 0) continue;
            std::printf("%s seam step %.4f\n", qPrintable(name), step);
            ++measured;
            sum += step;
            worst = std::max(worst, step);
        }
    ASSERT_GE(measured, 12) << "too few curly styles to measure";
    std::printf("seam step mean %.4f worst %.4f\n", sum / measured, worst);
    // A combed band whose strands all stopped on one line above the curls dropped by 0.39 on
    // average, 0.49 at worst; with the rows hanging from under the top's ends, its rim still showed
    // as a cap at 0.3755. The first curls rising among those ends bring it to about 0.353.
    EXPECT_LE(sum / measured, 0.365) << "the top stops on a seam above the curls";
    EXPECT_LE(worst, 0.46) << "one style's top stops on a seam above its curls";
}

}  // namespace
