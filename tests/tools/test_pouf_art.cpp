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
#include "tools/ArtTensor.h"

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

using arttest::Tensor;

// The tensor averaged by three box passes each way.
Tensor structureTensor(const QImage& img) { return arttest::structureTensor(img, 3); }

// Whether the hair is solid over the whole window round (x, y), so the outline's edge does not count.
bool solidAround(const QImage& img, int x, int y, int r) {
    for (int dy = -r; dy <= r; ++dy)
        for (int dx = -r; dx <= r; ++dx)
            if (qAlpha(img.pixel(x + dx, y + dy)) < 255) return false;
    return true;
}

// A bun centred at `c`, rx by ry: the coherence of its strands, the correlation of its luminance
// with a ball's light n . (-0.5, -0.65, 0.6), and its mean luminance at the upper left and underneath.
struct Bun {
    double coherence, ballLight, lit, under;
};

Bun measureBun(const QImage& img, const Tensor& t, QPointF c, double rx, double ry) {
    double coh = 0, n = 0, sl = 0, sll = 0, sb = 0, sbb = 0, slb = 0, lit = 0, litN = 0, under = 0,
           underN = 0;
    for (int y = std::max(0, static_cast<int>(c.y() - ry)); y <= c.y() + ry; ++y)
        for (int x = static_cast<int>(c.x() - rx); x <= c.x() + rx; ++x) {
            const double nx = (x - c.x()) / rx, ny = (y - c.y()) / ry;
            if (std::hypot(nx, ny) > 0.85) continue;
            const double light =
                -0.5 * nx - 0.65 * ny + 0.6 * std::sqrt(std::max(0.0, 1 - nx * nx - ny * ny));
            const double l = arttest::luminance(img.pixel(x, y));
            coh += t.coherence(x, y), ++n;
            sl += light, sll += light * light, sb += l, sbb += l * l, slb += light * l;
            if (nx < -0.1 && ny < -0.15) lit += l, ++litN;
            if (ny > 0.41) under += l, ++underN;
        }
    const double corr = (slb / n - sl / n * sb / n) /
                        std::sqrt(std::max(1e-9, (sll / n - sl / n * sl / n) * (sbb / n - sb / n * sb / n)));
    return {coh / n, corr, lit / litN, under / underN};
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

// The top of the bouffant, whose ball is centred at (190, 93), 108 px to either side, with its bun at
// (190, 40), 51 by 39 px. The crown round the bun, from the ball's top down to the fringe's root
// (y 92), is hair combed up over the ball in one flow: the strands' local coherence is high and
// their directions agree across each side (a tangle of short strokes at random angles scores low on
// both). The bun is wound round in locks lying side by side (coherent too) and is round: its light
// follows a ball's lit from the upper left, bright above and shaded underneath, where it sits on
// the crown, instead of a dark patch of scribbles.
TEST(PoufArt, BouffantTopIsCombedAndItsBunWound) {
    const QImage img = arttest::component(QStringLiteral("faxing"), QStringLiteral("p009.tta"));
    ASSERT_FALSE(img.isNull());
    const Tensor t = structureTensor(img);
    auto bunAt = [](int x, int y) { return std::hypot((x - 190) / 51.0, (y - 40) / 39.0); };  // 1 on its rim
    double crown = 0, crownN = 0;
    double side[2][3] = {};  // per side, the doubled strand angles summed: cos, sin, count
    for (int y = 12; y <= 92; ++y)
        for (int x = 95; x <= 285; ++x) {
            if (bunAt(x, y) <= 1.3 || !solidAround(img, x, y, 4)) continue;
            crown += t.coherence(x, y), ++crownN;
            double* s = side[x < 190 ? 0 : 1];
            s[0] += std::cos(2 * t.strandAngle(x, y)), s[1] += std::sin(2 * t.strandAngle(x, y)), s[2] += 1;
        }
    ASSERT_GT(crownN, 2000) << "too little solid crown round the bun to judge";
    crown /= crownN;
    double agree = 1;
    for (const auto& s : side) agree = std::min(agree, std::hypot(s[0], s[1]) / std::max(1.0, s[2]));
    const Bun bun = measureBun(img, t, {190, 40}, 51, 39);
    std::printf(
        "p009.tta crown: strand coherence %.3f, directions agreeing %.3f; bun: coherence %.3f, its light "
        "against a ball's %.3f, %.0f at the upper left, %.0f underneath\n",
        crown, agree, bun.coherence, bun.ballLight, bun.lit, bun.under);
    EXPECT_GE(crown, 0.56) << "the strands over the crown cross each other in a tangle";
    EXPECT_GE(agree, 0.58) << "the crown's strands do not sweep one way over the ball";
    EXPECT_GE(bun.coherence, 0.6) << "the bun's strands are a scribble, not locks wound round it";
    EXPECT_GE(bun.ballLight, 0.75) << "the bun's light does not follow a ball's";
    EXPECT_GE(bun.lit - bun.under, 45) << "the bun is not lit above and shaded where it sits on the crown";
}

// Every other bun is wound the same way: locks lying side by side round it (coherent), lit as a
// ball from the upper left and shaded where it sits on the head. Wound every which way, with the
// locks crossing at random, the buns read as striped stones (o008) or dark scribbles (l002): their
// coherence was 0.42-0.70, their light against a ball's 0.40-0.80, and l002, l006 and l009 were
// barely lighter above than below (10-34); wound round in a rope of wraps, 0.56-0.71, 0.71-0.89
// and 35-110.
TEST(PoufArt, EveryBunIsWoundRoundAndLitAsABall) {
    struct Item {
        const char* name;
        QPointF centre;
        double size;  // the bun is 34 by 26 px at size 1
    };
    const Item buns[] = {{"p002.tta", {252, 86}, 0.9},  {"p003.tta", {116, 86}, 1.3},
                         {"p003.tta", {264, 86}, 1.3},  {"p005.tta", {190, 42}, 1.6},
                         {"o008.tta", {190, 60}, 0.91}, {"l002.tta", {190, 66}, 1.5},
                         {"l004.tta", {236, 74}, 0.72}, {"l006.tta", {190, 28}, 1.15},
                         {"l009.tta", {99, 228}, 0.8},  {"l009.tta", {281, 228}, 0.8}};
    for (const Item& b : buns) {
        const QImage img = arttest::component(QStringLiteral("faxing"), QString::fromLatin1(b.name));
        ASSERT_FALSE(img.isNull()) << b.name;
        const Bun bun = measureBun(img, structureTensor(img), b.centre, 34 * b.size, 26 * b.size);
        std::printf(
            "%s bun at (%.0f, %.0f): coherence %.3f, light against a ball's %.3f, %.0f above, %.0f under\n",
            b.name, b.centre.x(), b.centre.y(), bun.coherence, bun.ballLight, bun.lit, bun.under);
        EXPECT_GE(bun.coherence, 0.55) << b.name << ": the bun's locks cross at random";
        EXPECT_GE(bun.ballLight, 0.7) << b.name << ": the bun's light does not follow a ball's";
        EXPECT_GE(bun.lit - bun.under, 25) << b.name << ": the bun is not lit above and shaded below";
    }
}
