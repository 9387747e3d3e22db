// Checks of the straight styles, short to long, the layered cuts, the asymmetric styles, the loose
// traditional styles and the longer men's cuts: blow-dried hair stands off the head at the crown and
// the temples before it falls, instead of hugging the skull; black hair's sheen is broken between its
// strand groups; and the layered cuts keep their own colour beside the eyes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>
#include <vector>

#include "Geometry.h"
#include "tools/ArtFiles.h"

namespace {

using arttest::luminance;

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
// The outermost solid columns on the left and on the right, each the median over every other row
// from y0 to y1.
std::pair<int, int> sideEdges(const QImage& img, int y0, int y1) {
    std::vector<int> left, right;
    for (int y = y0; y <= y1; y += 2) {
        int l = 0, r = kCanvasW - 1;
        while (l < kMidX && qAlpha(img.pixel(l, y)) <= kSolid) ++l;
        while (r > kMidX && qAlpha(img.pixel(r, y)) <= kSolid) --r;
        left.push_back(l);
        right.push_back(r);
    }
    return {median(left), median(right)};
}

int templeStandOff(const QImage& img) {
    const auto [left, right] = sideEdges(img, 150, 180);
    const int ownLeft = 106, ownRight = kCanvasW - ownLeft;  // the portrait's own hair at the temples
    return std::min(ownLeft - left, right - ownRight);
}

// The sheen band over the top of the head, column by column either side of the parting: the mean
// of the three brightest solid pixels in the 45 rows below the crown, over 3 columns (a strand
// group is wider than that).
std::vector<double> sheenProfile(const QImage& img) {
    const int top = crownTop(img), mid = static_cast<int>(kMidX);
    std::vector<double> cols;
    for (int x = mid - 70; x <= mid + 70; ++x) {
        if (std::abs(x - mid) < 6) continue;  // the parting's scalp line
        std::vector<double> lit;
        for (int dx = -1; dx <= 1; ++dx)
            for (int y = top; y < top + 45; ++y)
                if (qAlpha(img.pixel(x + dx, y)) >= 230) lit.push_back(luminance(img.pixel(x + dx, y)));
        if (lit.size() < 30) continue;
        std::sort(lit.begin(), lit.end());
        cols.push_back((lit[lit.size() - 1] + lit[lit.size() - 2] + lit[lit.size() - 3]) / 3);
    }
    return cols;
}

// Median light of the solid hair from the crown down to the jaw.
double massMedian(const QImage& img) {
    std::vector<int> mass;
    for (int y = crownTop(img); y < 250; ++y)
        for (int x = 100; x < 280; ++x)
            if (qAlpha(img.pixel(x, y)) >= 230) mass.push_back(static_cast<int>(luminance(img.pixel(x, y))));
    return mass.empty() ? 0 : median(mass);
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
    // The loose traditional styles, sleek but not painted on: the long hime cut, the long middle
    // part and the bob; and the men's cuts that fall loose past the ears: the side part and the
    // middle part.
    for (const char* n : {"l001.tta", "l003.tta", "l005.tta", "n005.tta", "n007.tta"})
        check(QString::fromLatin1(n));
}

// Black straight hair under a band of sheen that runs evenly across the whole head, each column
// about as bright as the next, reads as a lacquered shell. In a photograph the sheen breaks where
// a group of strands turns from the light: a good part of the band lies well below its brightest
// columns, while the band still stands clear of the dark mass.
TEST(HairArt, BlackStraightHairIsNotLacquered) {
    for (const char* n : {"l001.tta", "l003.tta", "l005.tta", "cz001.tta"}) {
        const QImage img = arttest::component(QStringLiteral("faxing"), QString::fromLatin1(n));
        ASSERT_FALSE(img.isNull()) << n;
        const std::vector<double> cols = sheenProfile(img);
        ASSERT_GT(cols.size(), 60u) << n << ": no solid hair over the top of the head";
        std::vector<double> sorted = cols;
        std::sort(sorted.begin(), sorted.end());
        const double bright = sorted[sorted.size() * 9 / 10], mass = massMedian(img);
        const double dim = static_cast<double>(std::count_if(cols.begin(), cols.end(),
                                                             [&](double v) { return v < 0.7 * bright; })) /
                           static_cast<double>(cols.size());
        std::printf("%s sheen %.1f over a mass of %.1f, %.2f of it dimmed\n", n, bright, mass, dim);
        EXPECT_GE(dim, 0.25) << n << ": an even band of sheen over the whole head, like lacquer";
        EXPECT_GE(bright, 2.0 * mass) << n << ": no sheen on the hair";
    }
}

namespace {

int luma(QRgb c) { return (299 * qRed(c) + 587 * qGreen(c) + 114 * qBlue(c)) / 1000; }

// Median luma of the style's nearly opaque hair.
int massLuma(const QImage& img) {
    std::vector<int> l;
    for (int y = 0; y < kCanvasH; y += 2)
        for (int x = 0; x < kCanvasW; x += 2)
            if (const QRgb c = img.pixel(x, y); qAlpha(c) >= 230) l.push_back(luma(c));
    return l.empty() ? 0 : median(l);
}

// The largest connected patch of nearly opaque pixels with luma under `limit` beside either eye:
// from the temple to the edge of the cheek (58-98 px off the middle), brow to cheekbone (rows
// 176-236). In px.
int darkPatchBesideEyes(const QImage& img, int limit) {
    constexpr int kTop = 176, kRows = 61, kCols = 41;
    int largest = 0;
    for (int side : {-1, 1}) {
        auto xAt = [&](int col) { return static_cast<int>(kMidX) + side * (58 + col); };
        std::vector<char> dark(kRows * kCols);
        for (int r = 0; r < kRows; ++r)
            for (int col = 0; col < kCols; ++col) {
                const QRgb c = img.pixel(xAt(col), kTop + r);
                dark[r * kCols + col] = qAlpha(c) >= 220 && luma(c) < limit;
            }
        for (int start = 0; start < kRows * kCols; ++start) {
            if (!dark[start]) continue;
            int size = 0;
            std::vector<int> todo{start};
            dark[start] = 0;
            while (!todo.empty()) {
                const int i = todo.back();
                todo.pop_back();
                ++size;
                const int r = i / kCols, col = i % kCols;
                for (const auto& [dr, dc] : {std::pair{0, 1}, {0, -1}, {1, 0}, {-1, 0}}) {
                    const int rr = r + dr, cc = col + dc;
                    if (rr < 0 || rr >= kRows || cc < 0 || cc >= kCols || !dark[rr * kCols + cc]) continue;
                    dark[rr * kCols + cc] = 0;
                    todo.push_back(rr * kCols + cc);
                }
            }
            largest = std::max(largest, size);
        }
    }
    return largest;
}

}  // namespace

// Beside the eyes the hair of a layered cut is its own colour in shade, never a solid patch far
// darker than the rest of it, which reads as a hole or a black blot next to the face.
TEST(HairArt, LayeredCutsHaveNoBlackPatchesBesideTheEyes) {
    const QStringList names = arttest::items(QStringLiteral("faxing"), QStringLiteral("s"));
    ASSERT_EQ(names.size(), 8);
    for (const QString& n : names) {
        const QImage img = arttest::component(QStringLiteral("faxing"), n);
        ASSERT_FALSE(img.isNull()) << n.toStdString();
        const int mass = massLuma(img), patch = darkPatchBesideEyes(img, mass * 35 / 100);
        std::printf("%s hair luma %d, darkest patch beside an eye %d px\n", qPrintable(n), mass, patch);
        ASSERT_GE(mass, 20) << n.toStdString() << ": no opaque hair";
        EXPECT_LE(patch, 40) << n.toStdString() << ": a near-black patch beside the eyes";
    }
}

namespace {

// How far the upper corners of the head's outline stand out: along each upper diagonal from the
// middle of row 160, where the solid hair ends, against where the ellipse through the crown top
// and the sides at row 160 ends (1: an ellipse, more: squarer, a boxed top). The fuller side.
double cornerFullness(const QImage& img) {
    const auto [left, right] = sideEdges(img, 150, 170);
    const double l = left, r = right, cx = 0.5 * (l + r), a = 0.5 * (r - l), b = 160 - crownTop(img);
    double most = 0;
    for (int side : {-1, 1}) {
        double t = 0.3;  // well inside the hair
        while (t < 1.2 &&
               qAlpha(img.pixel(static_cast<int>(cx + side * a * t), static_cast<int>(160 - b * t))) > kSolid)
            t += 0.005;
        most = std::max(most, t * std::sqrt(2.0));
    }
    return most;
}

}  // namespace

// Short cuts round over the crown like the head beneath them: a box with a flat top and square
// corners reads as a wig (a superellipse of power 2.5 measures about 1.08 here, an ellipse 1.0).
// The layered cut with curtain bangs, the men's crew cut, the men's side part, which stands
// higher on its swept side, and the blunt straight cuts that fell off a flat top.
TEST(HairArt, ShortCutsRoundOverTheCrown) {
    const std::pair<const char*, double> cuts[] = {
        {"s001.tta", 1.05},  {"n002.tta", 1.09}, {"n001.tta", 1.125}, {"dz001.tta", 1.11},
        {"mz002.tta", 1.11}, {"y007.tta", 1.11}, {"cz005.tta", 1.13}};
    for (const auto& [n, most] : cuts) {
        const QImage img = arttest::component(QStringLiteral("faxing"), QString::fromLatin1(n));
        ASSERT_FALSE(img.isNull()) << n;
        const double fullness = cornerFullness(img);
        std::printf("%s corner fullness %.3f\n", n, fullness);
        EXPECT_LE(fullness, most) << n << " has a boxed crown";
    }
}

// A wispy fringe thins toward its tips in pieces of uneven length; it does not hang as a row of
// strings from the crown's edge, which then shows as a line across the forehead. Measured as the
// steepest fall of the mean alpha over four rows, down the middle of the forehead: an edge falls by
// 70-100, pieces by at most 65.
TEST(HairArt, WispyFringesThinOutWithoutAnEdgeAcrossTheForehead) {
    for (const char* n : {"cj005.tta", "cz008.tta", "mj003.tta", "mj008.tta", "mz008.tta", "o005.tta",
                          "p005.tta", "s003.tta", "y008.tta"}) {
        const QImage img = arttest::component(QStringLiteral("faxing"), QString::fromLatin1(n));
        ASSERT_FALSE(img.isNull()) << n;
        std::vector<double> rows;
        for (int y = 95; y < 185; ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
            double sum = 0;
            for (int x = 150; x <= 230; ++x) sum += qAlpha(row[x]);
            rows.push_back(sum / 81);
        }
        double steepest = 0;
        for (size_t i = 0; i + 4 < rows.size(); ++i) steepest = std::max(steepest, rows[i] - rows[i + 4]);
        std::printf("%s steepest fall of the fringe %.0f\n", n, steepest);
        EXPECT_LE(steepest, 65.0) << n << "'s fringe hangs from an edge across the forehead";
    }
}
