// Checks of the updos whose volume is a pouf (a high ponytail, a bouffant): the volume rises round
// over the crown and keeps close to the head at the temples, instead of a wide, flat-topped dome
// whose brim overhangs them like a hat; a bouffant's volume is a ball over the crown, not a box with
// tall side walls, and its full fringe ends in pieces that follow the forehead, not in one blunt,
// straight edge.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "Geometry.h"
#include "tools/ArtFiles.h"

namespace {

using namespace installdata::face;

// x of the outermost solid hair on the left of row y (the ponytail hangs on the right).
int leftEdge(const QImage& img, int y) {
    for (int x = 0; x < kMidX; ++x)
        if (qAlpha(img.pixel(x, y)) >= 200) return x;
    return static_cast<int>(kMidX);
}

// Mean change of alpha from one pixel to the next along row y over the forehead, x 146-234: a
// fringe cut straight across changes little along a row just above its edge; pieces with the
// forehead between their tips change a lot.
double rowRoughness(const QImage& img, int y) {
    double sum = 0;
    for (int x = 146; x < 234; ++x) sum += std::abs(qAlpha(img.pixel(x + 1, y)) - qAlpha(img.pixel(x, y)));
    return sum / 88;
}

// x of the outermost solid hair on the right of row y.
int rightEdge(const QImage& img, int y) {
    for (int x = kCanvasW - 1; x > kMidX; --x)
        if (qAlpha(img.pixel(x, y)) >= 200) return x;
    return static_cast<int>(kMidX);
}

int widthAt(const QImage& img, int y) { return rightEdge(img, y) - leftEdge(img, y); }

// The fringe's lower edge in column x: the first row below y 125 (inside the fringe over the
// whole forehead) that is less than half covered.
int fringeEdgeAt(const QImage& img, int x) {
    int y = 125;
    while (y < 200 && qAlpha(img.pixel(x, y)) >= 128) ++y;
    return y;
}

double mean(const std::vector<int>& v) {
    double sum = 0;
    for (int e : v) sum += e;
    return v.empty() ? 0.0 : sum / static_cast<double>(v.size());
}

}  // namespace

// The portrait's skull side is at x 97 at the temple (y 135); its crown at y 64 over the middle.
TEST(PoufArt, VolumeRisesOverTheCrownAndKeepsCloseAtTheTemples) {
    for (const char* name : {"p004.tta", "p009.tta"}) {
        const QImage img = arttest::component(QStringLiteral("faxing"), QString::fromLatin1(name));
        ASSERT_FALSE(img.isNull()) << name;
        const int temple = leftEdge(img, 135), crown = leftEdge(img, 85);
        int top = 0;
        while (top < 160 && qAlpha(img.pixel(130, top)) < 200) ++top;
        std::printf("%s edge at the temple x %d, above it x %d, top over the left crown y %d\n", name, temple,
                    crown, top);
        EXPECT_GE(temple, crown - 4) << name << ": the volume overhangs the temples like a brim";
        EXPECT_LE(top, 52) << name << ": the volume does not rise over the crown";
    }
}

TEST(PoufArt, BouffantFringeEndsInPieces) {
    const QImage img = arttest::component(QStringLiteral("faxing"), QStringLiteral("p009.tta"));
    ASSERT_FALSE(img.isNull());
    // The fringe ends about y 150 over the middle: rows a few px above its edge.
    double rough = 0;
    for (int y = 140; y <= 146; ++y) rough = std::max(rough, rowRoughness(img, y));
    std::printf("p009.tta fringe edge roughness %.1f\n", rough);
    EXPECT_GE(rough, 6.0) << "the fringe is cut in one blunt, straight edge";
}

// The fringe's edge over the forehead, x 146-233, column by column: pieces of unequal length make it
// differ from the median of its neighbours (a straight or evenly curved cut does not), and it
// follows the forehead round, lower toward the temples (x 140-148 and 232-240) than over the
// middle (x 182-198), yet clear of the brows.
TEST(PoufArt, BouffantFringeFollowsTheForeheadInPieces) {
    const QImage img = arttest::component(QStringLiteral("faxing"), QStringLiteral("p009.tta"));
    ASSERT_FALSE(img.isNull());
    std::vector<int> edge;  // x 130..250
    for (int x = 130; x <= 250; ++x) edge.push_back(fringeEdgeAt(img, x));
    auto at = [&](int x) { return edge[static_cast<size_t>(x - 130)]; };
    double offMedian = 0, sum = 0, sumSq = 0;
    for (int x = 146; x < 234; ++x) {
        std::vector<int> near(edge.begin() + (x - 138), edge.begin() + (x - 121));  // x - 8 .. x + 8
        std::nth_element(near.begin(), near.begin() + 8, near.end());
        offMedian += std::abs(at(x) - near[8]);
        sum += at(x);
        sumSq += static_cast<double>(at(x)) * at(x);
    }
    offMedian /= 88;
    const double spread = std::sqrt(std::max(0.0, sumSq / 88 - (sum / 88) * (sum / 88)));
    std::vector<int> middle, temples;
    for (int x = 182; x <= 198; ++x) middle.push_back(at(x));
    for (int x = 140; x <= 148; ++x) temples.push_back(at(x)), temples.push_back(at(380 - x));
    const double drop = mean(temples) - mean(middle);
    const int lowest = *std::max_element(edge.begin(), edge.end());
    std::printf(
        "p009.tta fringe edge: off its neighbours' median %.1f px, spread %.1f px, %.1f px lower at "
        "the temples than over the middle (y %.1f), lowest y %d\n",
        offMedian, spread, drop, mean(middle), lowest);
    EXPECT_GE(offMedian, 2.0) << "the fringe ends in one even line, not in pieces";
    EXPECT_GE(spread, 4.0) << "the fringe's edge hardly varies across the forehead";
    EXPECT_GE(drop, 6.5) << "the fringe runs straight across instead of following the forehead";
    EXPECT_LE(lowest, static_cast<int>(kBrowY) - 10) << "the fringe's pieces hang over the brows";
}

// A bouffant's volume is a ball over the crown: widest above the forehead, then coming in, so that
// at the temples (y 135-150) it is clearly narrower than at its widest, and at the ears (y 170-200)
// it lies within a few px of the head (the skull side there is at x 106), not standing off it in
// tall side walls.
TEST(PoufArt, BouffantComesInBelowTheCrown) {
    const QImage img = arttest::component(QStringLiteral("faxing"), QStringLiteral("p009.tta"));
    ASSERT_FALSE(img.isNull());
    int widest = 0, widestY = 0;
    for (int y = 30; y <= 120; ++y)
        if (widthAt(img, y) > widest) widest = widthAt(img, y), widestY = y;
    std::vector<int> temple, earLeft, earRight;
    for (int y = 135; y <= 150; ++y) temple.push_back(widthAt(img, y));
    for (int y = 170; y <= 200; ++y)
        earLeft.push_back(leftEdge(img, y)), earRight.push_back(rightEdge(img, y));
    const double ratio = mean(temple) / std::max(1, widest);
    std::printf(
        "p009.tta widest %d px at y %d, %.0f px at the temples (%.2f of it), over the ears x %.0f and "
        "%.0f\n",
        widest, widestY, mean(temple), ratio, mean(earLeft), mean(earRight));
    EXPECT_LE(widestY, 100) << "the volume is widest low on the head, not over the crown";
    EXPECT_LE(ratio, 0.86) << "the sides stand as tall walls instead of coming in to the temples";
    EXPECT_GE(mean(earLeft), 96) << "the hair stands off the head over the left ear";
    EXPECT_LE(mean(earRight), 2 * kMidX - 96) << "the hair stands off the head over the right ear";
}
