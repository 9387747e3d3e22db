// Checks of the hair beside the forehead: where no fringe crosses the temple, the inner edge of the
// side's hair follows the face down past the brows instead of bulging onto the forehead and then
// stopping in a square cut where the face is cleared.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "Geometry.h"
#include "tools/ArtFiles.h"

namespace {

using installdata::face::kMidX;

constexpr int kOpaque = 200;
constexpr int kOuterX = 100;  // inside the side's hair at the temples, left-side canvas x

// The inner edge of the side's hair on row y, as a left-side canvas x (the right side mirrored):
// the last opaque pixel of the run that starts at kOuterX and runs toward the middle; -1 when
// there is no hair at kOuterX on that row.
int innerEdge(const QImage& img, int y, bool left) {
    auto opaque = [&](int x) {
        const int at = left ? x : img.width() - 1 - x;
        return qAlpha(img.pixel(at, y)) >= kOpaque;
    };
    if (!opaque(kOuterX)) return -1;
    int x = kOuterX;
    while (x + 1 < static_cast<int>(kMidX) && opaque(x + 1)) ++x;
    return x;
}

int maxEdge(const QImage& img, int from, int to, bool left) {
    int m = -1;
    for (int y = from; y <= to; ++y) m = std::max(m, innerEdge(img, y, left));
    return m;
}

TEST(TempleArt, SideHairDoesNotStopInAStubAboveTheBrows) {
    const QStringList names = arttest::items(QStringLiteral("faxing"));
    ASSERT_FALSE(names.isEmpty());
    int checked = 0;
    for (const QString& name : names) {
        const QImage img = arttest::component(QStringLiteral("faxing"), name);
        ASSERT_FALSE(img.isNull()) << name.toStdString();
        for (const bool left : {true, false}) {
            // A fringe or curtain running on from the side across the temple legitimately lies over
            // the forehead and ends above the brows; and a side with no hair beside the cheek (short
            // back and sides, the ear showing) has no inner edge to follow.
            const int forehead = maxEdge(img, 140, 160, left), beside = maxEdge(img, 174, 184, left);
            if (forehead >= 150 || beside < 0) continue;
            ++checked;
            // The edge may curve in toward the face, but not draw back by more than a few px within
            // a few rows: that is a lock cut off square.
            int drop = 0, at = 0;
            for (int y = 156; y <= 172; ++y) {
                const int d = innerEdge(img, y, left) - innerEdge(img, y + 6, left);
                if (d > drop) drop = d, at = y;
            }
            const int bulge = maxEdge(img, 158, 168, left) - beside;
            std::printf("%s %s: edge above the brows %d px past the one beside them, drops %d px at row %d\n",
                        qPrintable(name), left ? "left" : "right", bulge, drop, at);
            EXPECT_LE(drop, 8) << name.toStdString() << (left ? " left" : " right") << ": drops " << drop
                               << " px within 6 rows at row " << at;
        }
    }
    // Most hairstyles leave the temples free: the check must have seen them.
    EXPECT_GE(checked, 60);
}

}  // namespace
