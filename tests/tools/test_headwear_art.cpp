// Checks of the generated hats and glasses: glasses fitted round the eyes of the sample face, hats
// that wrap the skull down to the forehead and temples and shade the forehead.
#include <gtest/gtest.h>

#include <QPainterPath>
#include <algorithm>

#include "Geometry.h"
#include "tools/ArtFiles.h"

namespace {

namespace face = installdata::face;

// Glasses are placed at canvas (100, 177), hats at (0, -10).
constexpr int kGlassesX = 100, kGlassesY = 177, kHatY = -10;
// Around each eye centre, the eye with its lashes on the sample portrait and the fitted photos.
constexpr int kEyeHalfW = 23, kEyeAbove = 14, kEyeBelow = 8;
// A frame pixel: opaque enough to hide what lies under it.
constexpr int kFrame = 128;

int alphaAt(const QImage& img, int x, int y) { return img.valid(x, y) ? qAlpha(img.pixel(x, y)) : 0; }

int darkness(QRgb c) { return 255 - std::max({qRed(c), qGreen(c), qBlue(c)}); }

}  // namespace

TEST(HeadwearArt, LibrariesOfferTenItems) {
    EXPECT_GE(arttest::items("maozi").size(), 10);
    EXPECT_GE(arttest::items("yanjing").size(), 10);
}

// Each lens holds its eye: no rim crosses the eye with its lashes, the lens lets the eye show, and
// the frame closes round it on every side within a lens' reach.
TEST(HeadwearArt, GlassesAreSizedToTheEyes) {
    const QStringList names = arttest::items("yanjing");
    ASSERT_FALSE(names.isEmpty());
    for (const QString& n : names) {
        const QImage g = arttest::component("yanjing", n);
        ASSERT_FALSE(g.isNull()) << n.toStdString();
        for (double eyeX : {face::kEyeLeftX, face::kEyeRightX}) {
            const int cx = static_cast<int>(eyeX) - kGlassesX, cy = static_cast<int>(face::kEyeY) - kGlassesY;
            int frameInBox = 0, sum = 0, count = 0;
            for (int y = cy - kEyeAbove; y <= cy + kEyeBelow; ++y)
                for (int x = cx - kEyeHalfW; x <= cx + kEyeHalfW; ++x)
                    frameInBox += alphaAt(g, x, y) >= kFrame;
            for (int y = cy - 3; y <= cy + 3; ++y)
                for (int x = cx - 5; x <= cx + 5; ++x, ++count) sum += alphaAt(g, x, y);
            EXPECT_EQ(frameInBox, 0) << n.toStdString() << " eye at x " << eyeX;
            EXPECT_LE(sum / count, 110) << n.toStdString() << " eye at x " << eyeX << " hidden by the lens";
            EXPECT_GT(sum, 0) << n.toStdString() << " eye at x " << eyeX << " has no lens";
            // Walking out from the eye centre, a frame pixel within 45 pixels on each side.
            const int dirs[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
            for (const auto& d : dirs) {
                bool found = false;
                for (int k = 1; k <= 45 && !found; ++k)
                    found = alphaAt(g, cx + d[0] * k, cy + d[1] * k) >= kFrame;
                EXPECT_TRUE(found) << n.toStdString() << " eye at x " << eyeX << " open toward " << d[0]
                                   << "," << d[1];
            }
        }
    }
}

// The temples run back from the hinges to the tops of the ears (canvas y 209), falling along the side
// of the head. Where they leave the picture at its sides (8 px at each edge), their alpha-weighted
// mean height is within 9 px of the ear's top; level with the hinges (12-19 px above it) they stuck
// out past the head like feelers.
TEST(HeadwearArt, GlassesTemplesRunBackToTheEars) {
    constexpr int kEarTopY = 209 - kGlassesY;
    for (const QString& n : arttest::items("yanjing")) {
        const QImage g = arttest::component("yanjing", n);
        ASSERT_FALSE(g.isNull()) << n.toStdString();
        double weight = 0, height = 0;
        for (int y = 0; y < g.height(); ++y)
            for (int x : {5, 6, 7, 8, 9, 10, 11, 12}) {
                for (int col : {x, g.width() - 1 - x}) {
                    const int a = alphaAt(g, col, y);
                    if (a <= 40) continue;
                    weight += a;
                    height += a * y;
                }
            }
        ASSERT_GT(weight, 0) << n.toStdString() << " has no temples";
        EXPECT_GE(height / weight, kEarTopY - 9)
            << n.toStdString() << "'s temples stick out level with the hinges";
    }
}

// The crown covers the top of the skull, the hat comes down to the forehead and over the temples,
// no two hats are the same shape, and the hat shades the forehead with a soft band under its edge.
TEST(HeadwearArt, HatsWrapTheHeadAndShadeTheForehead) {
    const QStringList names = arttest::items("maozi");
    ASSERT_FALSE(names.isEmpty());
    const QPainterPath skull = face::ownHairRegion();
    std::vector<std::vector<bool>> masks;
    for (const QString& n : names) {
        const QImage h = arttest::component("maozi", n);
        ASSERT_FALSE(h.isNull()) << n.toStdString();
        int top = 0, covered = 0;
        for (int y = 70; y < 110; ++y)
            for (int x = 100; x < 280; ++x)
                if (skull.contains(QPointF(x + 0.5, y + 0.5))) {
                    ++top;
                    covered += alphaAt(h, x, y - kHatY) >= 250;
                }
        EXPECT_GE(covered, top * 98 / 100) << n.toStdString() << " leaves the top of the skull bare";
        EXPECT_GE(alphaAt(h, 190, 125 - kHatY), 200) << n.toStdString() << " stops above the forehead";
        for (int x : {118, 262})
            EXPECT_GE(alphaAt(h, x, 138 - kHatY), 200) << n.toStdString() << " temple " << x;

        // Under the lowest opaque row of the hat at the middle of the forehead (and beside it), a dark
        // band at least six rows deep that is neither opaque nor faint, fading downward.
        for (int x : {160, 190, 220}) {
            int edge = 0;
            while (edge < h.height() && alphaAt(h, x, edge) < 250) ++edge;
            while (edge < h.height() && alphaAt(h, x, edge) >= 250) ++edge;
            int band = 0;
            for (int y = edge + 1; y < edge + 16; ++y) {
                const int a = alphaAt(h, x, y);
                band += a >= 30 && a <= 220 && darkness(h.pixel(x, y)) >= 150;
            }
            EXPECT_GE(band, 6) << n.toStdString() << " casts no shadow under its edge at x " << x;
            EXPECT_GT(alphaAt(h, x, edge + 2), alphaAt(h, x, edge + 14)) << n.toStdString() << " x " << x;
        }
        masks.push_back(arttest::alphaMask(h, 128));
    }
    for (size_t i = 0; i < masks.size(); ++i)
        for (size_t j = i + 1; j < masks.size(); ++j)
            EXPECT_LT(arttest::overlap(masks[i], masks[j]), 0.8)
                << names[i].toStdString() << " and " << names[j].toStdString() << " are the same shape";
}

// A hat is worn over the hairstyle, so its crown stands over the hair's volume: above the hat's
// outline, in the columns it spans, little of a hairstyle may show. For each hat, the pixels of
// each hairstyle (alpha 128 and up) above the hat's highest opaque pixel of their column, where the
// hat lets them show; the median over the hairstyles of one hat, and the median of those medians.
// Crowns sized for the bare skull let a strip of hair stand above them on nearly every style
// (medians 183-3948 px, 2867 over the hats; now 0-1665, 321).
TEST(HeadwearArt, HatsSitOverTheHairUnderThem) {
    const QStringList hairNames = arttest::items("faxing");
    std::vector<QImage> hair;
    for (const QString& n : hairNames) hair.push_back(arttest::component("faxing", n));
    ASSERT_FALSE(hair.empty());
    std::vector<int> perHat;
    for (const QString& n : arttest::items("maozi")) {
        const QImage h = arttest::component("maozi", n);
        ASSERT_FALSE(h.isNull()) << n.toStdString();
        std::vector<int> tops(h.width());  // the hat's first opaque row in each column
        for (int x = 0; x < h.width(); ++x)
            while (tops[x] < h.height() && alphaAt(h, x, tops[x]) < kFrame) ++tops[x];
        std::vector<int> counts;
        for (const QImage& f : hair) {
            int above = 0;
            for (int x = 0; x < std::min(h.width(), f.width()); ++x) {
                const int top = tops[x];
                if (top == h.height()) continue;
                for (int y = 0; y < top + kHatY; ++y)
                    above += alphaAt(f, x, y) >= kFrame && alphaAt(h, x, y - kHatY) < 64;
            }
            counts.push_back(above);
        }
        std::nth_element(counts.begin(), counts.begin() + counts.size() / 2, counts.end());
        const int median = counts[counts.size() / 2];
        EXPECT_LE(median, 2000) << n.toStdString() << " leaves the hair standing above its crown";
        perHat.push_back(median);
    }
    std::sort(perHat.begin(), perHat.end());
    ASSERT_FALSE(perHat.empty());
    EXPECT_LE(perHat[perHat.size() / 2], 600) << "hair stands above most hats";
}
