#include <gtest/gtest.h>

#include <QString>
#include <random>

#include "imaging/GridImage.h"
#include "imaging/PixelHelpers.h"
#include "imaging/Rounding.h"
#include "support/TestSeed.h"

using namespace ms;

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(97.5), 98);
    EXPECT_EQ(roundHalfEven(96.5), 96);
    EXPECT_EQ(roundHalfEven(2.4999), 2);
    EXPECT_EQ(wrap16(32768), -32768);
    EXPECT_EQ(wrap16(-32769), 32767);
}

TEST(Premultiply, HandCases) {
    uint32_t p = pixelBGRA(100, 200, 255, 128);
    premultiply_pixel(p);
    EXPECT_EQ(p, pixelBGRA(50, 100, 128, 128));
    p = pixelBGRA(10, 20, 30, 0);
    premultiply_pixel(p);
    EXPECT_EQ(p, 0u);
    p = pixelBGRA(10, 20, 30, 255);
    premultiply_pixel(p);
    EXPECT_EQ(p, pixelBGRA(10, 20, 30, 255));
}

// The integer form every grid upload uses (a grid becoming a premultiplied picture) against the
// real-valued single-pixel form, for every channel value and alpha.
TEST(Premultiply, GridFormMatchesSinglePixelFormForEveryChannelAndAlpha) {
    PixelGrid g(256, 256);
    for (int a = 0; a < 256; ++a)
        for (int c = 0; c < 256; ++c) g.at(c, a) = pixelBGRA(c, 255 - c, c / 2, a);
    const QImage picture = imageFromGrid(g, GridAlpha::Premultiply);
    ASSERT_EQ(picture.format(), QImage::Format_ARGB32_Premultiplied);
    for (int a = 0; a < 256; ++a)
        for (int c = 0; c < 256; ++c) {
            uint32_t p = g.at(c, a);
            premultiply_pixel(p);
            ASSERT_EQ(reinterpret_cast<const uint32_t*>(picture.constScanLine(255 - a))[c], p)
                << c << " " << a;
        }
}

TEST(SampleBilinear, MixesRowsThenColumnsWithTheRoundedRightColumn) {
    RotationGrid grid;
    grid.at(10, 20) = 0x000000;  // c00 = 0
    grid.at(10, 21) = 0x000064;  // c01 = 100 (channel 0)
    grid.at(11, 20) = 0x0000C8;  // c10 = 200
    grid.at(11, 21) = 0x000001;  // c11 = 1
    const auto r = sample_bilinear(grid, 10.5, 20.5);
    // a = 0.5*0 + 0.5*100 = 50; b = round(0.5*200 + 0.5*1) = round(100.5) = 100; 0.5*100 + 0.5*50
    EXPECT_DOUBLE_EQ(r[0], 75.0);
    EXPECT_DOUBLE_EQ(r[1], 0.0);
    const auto q = sample_bilinear(grid, 10.0, 20.0);
    EXPECT_DOUBLE_EQ(q[0], 0.0);
}

TEST(Hsv, KnownColoursAndTheFloorFactor) {
    Hsv red = rgb_to_hsv(255, 0, 0);
    EXPECT_DOUBLE_EQ(red.h, 0);
    EXPECT_DOUBLE_EQ(red.s, 100);
    EXPECT_DOUBLE_EQ(red.v, 100);
    EXPECT_DOUBLE_EQ(rgb_to_hsv(0, 0, 255).h, 240);
    EXPECT_DOUBLE_EQ(rgb_to_hsv(0, 255, 0).h, 120);
    EXPECT_NEAR(rgb_to_hsv(255, 0, 128).h, 329.88, 0.01);  // negative hue wrapped
    Hsv grey = rgb_to_hsv(128, 128, 128);
    EXPECT_DOUBLE_EQ(grey.h, 0);
    EXPECT_DOUBLE_EQ(grey.s, 0);
    EXPECT_NEAR(grey.v, 50.196, 0.001);
    Rgb white = hsv_to_rgb(0, 0, 100);
    EXPECT_EQ(white.c0, 255);
    EXPECT_EQ(white.c1, 255);
    EXPECT_EQ(white.c2, 255);
    Rgb six = hsv_to_rgb(360, 100, 100);  // h = 6 is treated as 0: red
    EXPECT_EQ(six.c0, 255);
    EXPECT_EQ(six.c1, 0);
    EXPECT_EQ(six.c2, 0);
}

TEST(Hsv, RoundTripStaysWithinOneStep) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int i = 0; i < 5000; ++i) {
        const int r = byte(rng), g = byte(rng), b = byte(rng);
        const Hsv h = rgb_to_hsv(r, g, b);
        const Rgb back = hsv_to_rgb(h.h, h.s, h.v);
        ASSERT_NEAR(back.c0, r, 1) << r << "," << g << "," << b;
        ASSERT_NEAR(back.c1, g, 1);
        ASSERT_NEAR(back.c2, b, 1);
    }
}

// Compares by key only, so that the order among equal keys is visible through id.
struct Item {
    int key = 0, id = 0;
    bool operator<(const Item& o) const { return key < o.key; }
    bool operator>=(const Item& o) const { return key >= o.key; }
    bool operator==(const Item& o) const { return key == o.key && id == o.id; }
};

// The literal repeated selection: the largest unused value, the highest index among equals.
static std::vector<Item> selectionSort(const std::vector<Item>& v, int n, bool ascending) {
    std::vector<bool> used(n + 1, false);
    std::vector<Item> picks(n + 1);
    for (int i = 1; i <= n; ++i) {
        int cand = 0;
        for (int j = 1; j <= n; ++j)
            if (!used[j] && (cand == 0 || v[j] >= v[cand])) cand = j;
        used[cand] = true;
        picks[i] = v[cand];
    }
    std::vector<Item> out(n + 1);
    for (int i = 1; i <= n; ++i) out[ascending ? n - i + 1 : i] = picks[i];
    return out;
}

TEST(SortByKey, SmallCaseAndAgreementWithTheSelectionOrder) {
    const std::vector<int> v = {0, 3, 1, 2};
    EXPECT_EQ(sort_by_key(v, 3, false), (std::vector<int>{0, 3, 2, 1}));
    EXPECT_EQ(sort_by_key(v, 3, true), (std::vector<int>{0, 1, 2, 3}));
    std::mt19937 rng = test::seededRng(3);
    for (int round = 0; round < 50; ++round) {
        const int n = std::uniform_int_distribution<int>(0, 300)(rng);
        std::vector<Item> values(n + 1);
        for (int i = 1; i <= n; ++i) values[i] = {std::uniform_int_distribution<int>(0, 20)(rng), i};
        for (bool asc : {false, true})
            ASSERT_EQ(sort_by_key(values, n, asc), selectionSort(values, n, asc)) << "round " << round;
    }
}

TEST(SortByKey, TextsSortByCharacterCodes) {
    const std::vector<QString> v = {{}, "b", "B", "a10", "a2"};
    const auto out = sort_by_key(v, 4, true);
    EXPECT_EQ(out[1], "B");
    EXPECT_EQ(out[2], "a10");
    EXPECT_EQ(out[3], "a2");
    EXPECT_EQ(out[4], "b");
}
