// Checks of the punk crop: the pieces standing off its top are spaced unevenly and stand taller over
// the middle than at the sides, like hair cut into a textured crop, instead of one regular ring of
// spikes round the head like a fur hat.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <vector>

#include "Geometry.h"
#include "tools/ArtFiles.h"

namespace {

using namespace installdata::face;

constexpr double kStep = 0.004;  // radians between outline samples
constexpr double kSpan = 1.3;    // either side of the top

// How far the solid hair (alpha >= 128) reaches from (kMidX, 160) at each angle over the top of the
// head, 0 on top and positive toward the left.
std::vector<double> outlineRadii(const QImage& img) {
    std::vector<double> radii;
    for (double a = -kSpan; a <= kSpan; a += kStep) {
        double r = 220;
        for (; r > 0; r -= 0.5) {
            const int x = static_cast<int>(std::lround(kMidX - r * std::sin(a)));
            const int y = static_cast<int>(std::lround(160 - r * std::cos(a)));
            if (x >= 0 && y >= 0 && x < img.width() && y < img.height() && qAlpha(img.pixel(x, y)) >= 128)
                break;
        }
        radii.push_back(r);
    }
    return radii;
}

struct Tip {
    size_t at;
    double height;  // above the lower of the notches either side
};

// The tips of the outline: highest within 0.03 rad either side and standing at least 3 px above
// the lowest point within 0.08 rad on both sides.
std::vector<Tip> outlineTips(const std::vector<double>& r) {
    const size_t peak = static_cast<size_t>(0.03 / kStep), notch = static_cast<size_t>(0.08 / kStep);
    std::vector<Tip> tips;
    for (size_t i = notch; i + notch < r.size(); ++i) {
        const auto win = r.begin() + static_cast<long>(i);
        if (*std::max_element(win - static_cast<long>(peak), win + static_cast<long>(peak) + 1) > r[i])
            continue;
        if (!tips.empty() && i - tips.back().at <= peak) continue;  // a flat top counts once
        const double left = *std::min_element(win - static_cast<long>(notch), win);
        const double right = *std::min_element(win + 1, win + static_cast<long>(notch) + 1);
        const double height = r[i] - std::max(left, right);
        if (height >= 3) tips.push_back({i, height});
    }
    return tips;
}

double mean(const std::vector<double>& v) {
    return std::accumulate(v.begin(), v.end(), 0.0) / static_cast<double>(v.size());
}

// Standard deviation over mean.
double variation(const std::vector<double>& v) {
    const double m = mean(v);
    double sq = 0;
    for (double x : v) sq += (x - m) * (x - m);
    return std::sqrt(sq / static_cast<double>(v.size())) / m;
}

}  // namespace

TEST(HairArt, PunkCropPiecesAreUnevenAndTallestOverTheMiddle) {
    const QImage img = arttest::component(QStringLiteral("faxing"), QStringLiteral("y008.tta"));
    ASSERT_FALSE(img.isNull());
    const std::vector<Tip> tips = outlineTips(outlineRadii(img));
    ASSERT_GE(tips.size(), 10u) << "the top has no pieces standing off it";
    std::vector<double> gaps, middle, sides;
    for (size_t i = 0; i < tips.size(); ++i) {
        const double angle = -kSpan + kStep * static_cast<double>(tips[i].at);
        (std::abs(angle) < 0.6 ? middle : sides).push_back(tips[i].height);
        if (i > 0) gaps.push_back(static_cast<double>(tips[i].at - tips[i - 1].at));
    }
    ASSERT_FALSE(middle.empty() || sides.empty()) << "no pieces over the middle or at the sides";
    const double spacing = variation(gaps);
    const double ratio = mean(middle) / mean(sides);
    std::printf("y008 outline tips %zu, spacing variation %.2f, middle/side tip height %.2f\n", tips.size(),
                spacing, ratio);
    EXPECT_GE(spacing, 0.5) << "the pieces stand evenly spaced round the head";
    EXPECT_GE(ratio, 1.3) << "the pieces at the sides stand as tall as those over the middle";
}
