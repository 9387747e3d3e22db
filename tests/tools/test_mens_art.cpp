// Checks of the tops of the men's short cuts: hair cut short and combed one way shows clumps whose
// light runs a long way along the strands, not a pelt of short strokes like a fur hat; a crew cut
// seen from the front is an even, fine pile, not a carpet of coarse loops.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>
#include <vector>

#include "tools/ArtFiles.h"
#include "tools/ArtTensor.h"

namespace {

constexpr int kX0 = 118, kX1 = 252, kY0 = 58, kY1 = 122;  // the top, inside every short cut

struct TopTexture {
    double streak;  // correlation of the fine detail with itself 8 px along the strands
    double grain;   // spread of the fine detail's luminance, 0 .. 255
};

// The fine detail is the luminance less its blur (three box passes of radius 2); the strands run
// across the structure tensor's strong axis. Only solid hair counts: the point and both points
// 8 px from it along the strands are opaque.
TopTexture topTexture(const QImage& img) {
    const int w = img.width(), h = img.height();
    const std::vector<double> lum = arttest::lumGrid(img);
    std::vector<double> fine = lum;
    arttest::boxBlur(fine, w, h, 2, 3);
    for (size_t i = 0; i < fine.size(); ++i) fine[i] = lum[i] - fine[i];
    const arttest::Tensor t = arttest::structureTensor(img, 3);
    constexpr double kStep = 8;
    double same = 0, energy = 0, sum = 0, sum2 = 0;
    int n = 0;
    for (int y = kY0; y < kY1; ++y)
        for (int x = kX0; x < kX1; ++x) {
            const double a = t.strandAngle(x, y), dx = std::cos(a) * kStep, dy = std::sin(a) * kStep;
            auto solid = [&](double px, double py) {
                return qAlpha(img.pixel(std::lround(px), std::lround(py))) == 255;
            };
            if (!solid(x, y) || !solid(x + dx, y + dy) || !solid(x - dx, y - dy)) continue;
            const double f = fine[static_cast<size_t>(y) * w + x];
            same += f * 0.5 *
                    (arttest::bilinear(fine, w, h, x + dx, y + dy) +
                     arttest::bilinear(fine, w, h, x - dx, y - dy));
            energy += f * f, sum += f, sum2 += f * f, ++n;
        }
    const double mean = n > 0 ? sum / n : 0;
    return {energy > 0 ? same / energy : 0, n > 0 ? std::sqrt(std::max(0.0, sum2 / n - mean * mean)) : 0};
}

}  // namespace

// The side part (combed down on the near side, swept over on the far one) and the textured fringe
// (forward into the fringe) show strands that run on: their fine detail still matches itself 8 px
// further along, where a pelt of short strokes at many angles has lost it (0.22 and 0.11). The crew
// cut's pile is fine and even: coarse loops spread the fine detail's luminance by over 9.
TEST(MensArt, ShortCutsShowCombedClumpsAndAnEvenPile) {
    const std::pair<const char*, double> combed[] = {{"n001.tta", 0.28}, {"n004.tta", 0.14}};
    for (const auto& [name, least] : combed) {
        const QImage img = arttest::component(QStringLiteral("faxing"), QString::fromLatin1(name));
        ASSERT_FALSE(img.isNull()) << name;
        const double streak = topTexture(img).streak;
        std::printf("%s streak along the strands %.3f\n", name, streak);
        EXPECT_GE(streak, least) << name << "'s top reads as a pelt of short strokes";
    }
    const QImage crew = arttest::component(QStringLiteral("faxing"), QStringLiteral("n002.tta"));
    ASSERT_FALSE(crew.isNull());
    const double grain = topTexture(crew).grain;
    std::printf("n002.tta grain of the pile %.2f\n", grain);
    EXPECT_LE(grain, 7.0) << "the crew cut's top reads as a carpet of loops";
}

namespace {

// Median over the columns x0 .. x1 of the rows the alpha takes, going down from the top of the
// picture, to rise from 10% to 90%: about 1-2 px where the outline is crisp, more under a haze.
double topEdgeWidth(const QImage& img, int x0, int x1) {
    std::vector<double> widths;
    for (int x = x0; x <= x1; ++x) {
        int from = -1, to = -1;
        for (int y = 0; y < img.height() && to < 0; ++y) {
            const int a = qAlpha(img.pixel(x, y));
            if (from < 0 && a >= 26) from = y;
            if (a >= 230) to = y;
        }
        if (from >= 0 && to >= 0) widths.push_back(to - from);
    }
    if (widths.empty()) return 0;
    std::nth_element(widths.begin(), widths.begin() + widths.size() / 2, widths.end());
    return widths[widths.size() / 2];
}

// Share of the hair pixels of both sideburns of a men's cut (x 98 .. 117 on the left, mirrored on
// the right, y 165 .. 205) that are darker than all eight neighbours by 8 levels or more.
double sideburnDots(const QImage& img) {
    const int w = img.width();
    const std::vector<double> lum = arttest::lumGrid(img);
    int dots = 0, n = 0;
    for (int y = 165; y < 205; ++y)
        for (int x0 = 98; x0 < 118; ++x0)
            for (const int x : {x0, 379 - x0}) {
                if (qAlpha(img.pixel(x, y)) < 128) continue;
                const double at = lum[static_cast<size_t>(y) * w + x];
                bool lowest = true;
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx)
                        if ((dx || dy) && lum[static_cast<size_t>(y + dy) * w + x + dx] < at + 8)
                            lowest = false;
                dots += lowest, ++n;
            }
    return n > 0 ? static_cast<double>(dots) / n : 1.0;
}

}  // namespace

// The textured fringe's top ends in the points of its clumps: its alpha rises to solid within about
// 2 px, where a blurred brown haze over it takes 4 or more. The clippered sideburns of the men's
// cuts are short hairs growing down, not pepper on a paler ground: dots darker than all their
// neighbours make up 0.3-0.6% of a speckled sideburn, under 0.1% among hairs.
TEST(MensArt, FringeTopIsCrispAndSideburnsAreFineHairs) {
    const QImage fringe = arttest::component(QStringLiteral("faxing"), QStringLiteral("n004.tta"));
    ASSERT_FALSE(fringe.isNull());
    const double edge = topEdgeWidth(fringe, 150, 230);
    std::printf("n004.tta rise of the top outline %.1f px\n", edge);
    EXPECT_LE(edge, 2.5) << "n004's top sits under a blurred halo";
    for (const char* name : {"n001.tta", "n002.tta", "n003.tta", "n004.tta", "n006.tta"}) {
        const QImage img = arttest::component(QStringLiteral("faxing"), QString::fromLatin1(name));
        ASSERT_FALSE(img.isNull()) << name;
        const double dots = sideburnDots(img);
        std::printf("%s sideburn dots %.4f\n", name, dots);
        EXPECT_LE(dots, 0.002) << name << "'s sideburns are speckled";
    }
}

namespace {

// Share of the solid hair in x0 .. x1, y0 .. y1 that lies in a run of one flat tone across the
// strands: the luminance at -2 .. 2 px across them spans under 5 levels. Clumps of one tone with
// a pale midline are such runs over most of their width; bundles of strands of varied tone, with
// dark gaps between the bundles, are not.
double flatAcross(const QImage& img, const arttest::Tensor& t, const std::vector<double>& lum, int x0, int x1,
                  int y0, int y1) {
    const int w = img.width(), h = img.height();
    int flat = 0, n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            if (qAlpha(img.pixel(x, y)) < 255) continue;
            const double a = t.acrossAngle(x, y), ux = std::cos(a), uy = std::sin(a);
            double lo = 1e9, hi = -1e9;
            for (int d = -2; d <= 2; ++d) {
                const double v = arttest::bilinear(lum, w, h, x + ux * d, y + uy * d);
                lo = std::min(lo, v), hi = std::max(hi, v);
            }
            flat += hi - lo < 5, ++n;
        }
    return n > 0 ? static_cast<double>(flat) / n : 1.0;
}

}  // namespace

// The textured fringe's clumps are bundles of hair, not leaves: across them the tone changes from
// strand to strand within a few px, so flat runs 5 px wide cover about a tenth of the top, and
// the upper right of the crown (x 240 .. 290, y 45 .. 80) is no bare patch of the dark fill.
// Leaf-shaped clumps of one tone leave 19% of the top flat, and a third of that bare corner.
TEST(MensArt, FringeClumpsAreBundlesOfStrands) {
    const QImage img = arttest::component(QStringLiteral("faxing"), QStringLiteral("n004.tta"));
    ASSERT_FALSE(img.isNull());
    const std::vector<double> lum = arttest::lumGrid(img);
    const arttest::Tensor t = arttest::structureTensor(img, 1);
    const double top = flatAcross(img, t, lum, kX0, kX1, kY0, kY1);
    const double corner = flatAcross(img, t, lum, 240, 290, 45, 80);
    std::printf("n004.tta flat across the strands: top %.3f, upper right %.3f\n", top, corner);
    EXPECT_LE(top, 0.15) << "n004's clumps read as flat-toned leaves";
    EXPECT_LE(corner, 0.2) << "the upper right of n004's top is a bare patch of the fill";
}
