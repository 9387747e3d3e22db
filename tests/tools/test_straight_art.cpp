// Checks of the straight styles, short to long, the layered cuts, the asymmetric styles and the
// longer men's cuts: blow-dried hair stands off the head at the crown and the temples before it
// falls, instead of hugging the skull.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "Geometry.h"
#include "tools/ArtFiles.h"

namespace {

using namespace installdata::face;

constexpr int kSolid = 128;

int median(std::vector<int> v) {
    std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
    return v[v.size() / 2];
}

// Highest solid row over the middle of the head (median over the columns, so a stray hair or the
// parting does not decide it).
int crownTop(const QImage& img) {
    std::vector<int> tops;
    for (int x = static_cast<int>(kMidX) - 15; x <= static_cast<int>(kMidX) + 15; ++x) {
        int y = 0;
        while (y < kCanvasH && qAlpha(img.pixel(x, y)) <= kSolid) ++y;
        tops.push_back(y);
    }
    return median(tops);
}

// How far the solid hair reaches out beyond the portrait's own hair at the temples (rows 150-180),
// the lesser of the two sides.
int templeStandOff(const QImage& img) {
    std::vector<int> left, right;
    for (int y = 150; y <= 180; y += 2) {
        int l = 0, r = kCanvasW - 1;
        while (l < kMidX && qAlpha(img.pixel(l, y)) <= kSolid) ++l;
        while (r > kMidX && qAlpha(img.pixel(r, y)) <= kSolid) --r;
        left.push_back(l);
        right.push_back(r);
    }
    const int ownLeft = 106, ownRight = kCanvasW - ownLeft;  // the portrait's own hair at the temples
    return std::min(ownLeft - median(left), median(right) - ownRight);
}

}  // namespace

// Hair lying flat on the skull stands about 10 px off the portrait's own hair at the crown and at
// the temples; blow-dried roots lift it well clear at the crown and clear at the temples.
TEST(HairArt, StraightStylesStandOffTheHeadAtTheCrownAndTemples) {
    const int ownTop = 77;  // the portrait's own hair on top, at the middle
    auto check = [&](const QString& n) {
        const QImage img = arttest::component(QStringLiteral("faxing"), n);
        ASSERT_FALSE(img.isNull()) << n.toStdString();
        const int crown = ownTop - crownTop(img), temples = templeStandOff(img);
        std::printf("%s stands off the head %d px at the crown, %d px at the temples\n", qPrintable(n), crown,
                    temples);
        EXPECT_GE(crown, 15) << n.toStdString() << ": the crown lies flat on the head";
        EXPECT_GE(temples, 11) << n.toStdString() << ": the hair hugs the temples";
    };
    // The finger-wave set of the asymmetric styles keeps its close crown: its ridges are pressed
    // into the hair on the skull.
    const QString closeSet = QStringLiteral("y006.tta");
    for (const char* code : {"dz", "mz", "cz", "s", "y"}) {
        const QStringList names = arttest::items(QStringLiteral("faxing"), QString::fromLatin1(code));
        ASSERT_EQ(names.size(), 8) << code;
        for (const QString& n : names)
            if (n != closeSet) check(n);
    }
    // The men's cuts that fall loose past the ears: the side part and the middle part.
    for (const char* n : {"n005.tta", "n007.tta"}) check(QString::fromLatin1(n));
}
