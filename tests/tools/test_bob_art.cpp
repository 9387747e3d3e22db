// Checks of the short straight bobs: a cut that breaks into pieces at the sides rather than one
// clean arc, and stray hairs standing off the crown so the outline is not a smooth shell.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "Geometry.h"
#include "tools/ArtFiles.h"

namespace {

using namespace installdata::face;

// Lowest row in (200, kCanvasH) of column x where the hair is solid (alpha > 140), or -1.
int cutRow(const QImage& img, int x) {
    for (int y = kCanvasH - 1; y > 200; --y)
        if (qAlpha(img.pixel(x, y)) > 140) return y;
    return -1;
}

// Columns of the side hair whose cut stands at least 3 px off the median of its neighbours
// within 6 px: notches between pieces and pieces running on past the line.
int brokenColumns(const QImage& img, int x0, int x1) {
    int broken = 0;
    for (int x = x0 + 6; x < x1 - 6; ++x) {
        const int y = cutRow(img, x);
        if (y < 0) continue;
        std::vector<int> near;
        for (int d = -6; d <= 6; ++d)
            if (const int n = cutRow(img, x + d); d != 0 && n >= 0) near.push_back(n);
        if (near.size() < 8) continue;
        std::nth_element(near.begin(), near.begin() + near.size() / 2, near.end());
        broken += std::abs(y - near[near.size() / 2]) >= 3;
    }
    return broken;
}

// Columns over the crown with faint hair (alpha 12..180) 5 to 16 px above the solid outline;
// a smooth shell has only its soft rim there, in a dozen columns at most.
int strayColumns(const QImage& img) {
    int stray = 0;
    for (int x = 120; x < 260; ++x) {
        int top = 0;
        while (top < 200 && qAlpha(img.pixel(x, top)) <= 200) ++top;
        if (top >= 200) continue;
        bool found = false;
        for (int y = std::max(0, top - 16); y <= top - 5; ++y) {
            const int a = qAlpha(img.pixel(x, y));
            found = found || (a >= 12 && a <= 180);
        }
        stray += found;
    }
    return stray;
}

}  // namespace

TEST(HairArt, ShortBobsHaveBrokenEndsAndStrayHairsOffTheCrown) {
    const QStringList names = arttest::items(QStringLiteral("faxing"), QStringLiteral("dz"));
    ASSERT_EQ(names.size(), 8);
    int allEnds = 0;
    for (const QString& n : names) {
        const QImage img = arttest::component(QStringLiteral("faxing"), n);
        ASSERT_FALSE(img.isNull()) << n.toStdString();
        const int ends = brokenColumns(img, 20, 125) + brokenColumns(img, 255, 360);
        const int stray = strayColumns(img);
        std::printf("%s broken cut columns %d, stray-hair columns %d\n", qPrintable(n), ends, stray);
        EXPECT_GE(ends, 8) << n.toStdString() << ": the cut is one clean line";
        EXPECT_GE(stray, 20) << n.toStdString() << ": the crown is a smooth shell";
        allEnds += ends;
    }
    // Pieces are scattered, so one short cut may break in few columns; over the category the
    // cuts break in at least 20 columns per style.
    EXPECT_GE(allEnds, 20 * names.size());
}
