#include <gtest/gtest.h>

#include "compositor/LayerGeometry.h"

using namespace ms;

TEST(Placement, DefaultsAtGeometryZero) {
    const LayerGeometry g;
    const struct {
        Layer layer;
        QRect dst;
    } expected[] = {
        {Layer::EyebrowLeft, QRect(100, 160, 90, 40)}, {Layer::EyebrowRight, QRect(190, 160, 89, 40)},
        {Layer::Lips, QRect(140, 265, 100, 50)},       {Layer::Necklace, QRect(90, 320, 200, 140)},
        {Layer::Clothing, QRect(-10, 300, 400, 190)},  {Layer::Hairstyle, QRect(0, 0, 380, 300)},
        {Layer::Glasses, QRect(100, 177, 180, 70)},    {Layer::Hat, QRect(0, -10, 379, 250)},
        {Layer::EarringLeft, QRect(85, 248, 40, 65)},  {Layer::EarringRight, QRect(255, 248, 39, 65)},
    };
    for (const auto& e : expected) EXPECT_EQ(redrawPlacement(e.layer, g, 300).dst, e.dst) << int(e.layer);
    EXPECT_EQ(redrawPlacement(Layer::EyebrowRight, g, 0).src, QRect(90, 0, 90, 40));
    EXPECT_EQ(redrawPlacement(Layer::EarringRight, g, 0).src, QRect(40, 0, 40, 65));
    EXPECT_EQ(redrawPlacement(Layer::Hairstyle, g, 300).src, QRect(0, 0, 380, 300));
}

TEST(Placement, HairstyleWidensAndMoves) {
    LayerGeometry g;
    g.faxingWidth = 10;
    EXPECT_EQ(redrawPlacement(Layer::Hairstyle, g, 480).dst, QRect(-10, 0, 400, 480));
    g = {};
    g.faxingleft = 10;
    EXPECT_EQ(redrawPlacement(Layer::Hairstyle, g, 480).dst, QRect(20, 0, 380, 480));
    g = {};
    g.faxingheight = 6;
    g.faxingtop = -2;
    EXPECT_EQ(redrawPlacement(Layer::Hairstyle, g, 480).dst, QRect(0, 4, 380, 486));
}

TEST(Placement, HalvesRoundToEven) {
    LayerGeometry g;
    g.mmleftz = 5;  // round(97.5) = 98
    EXPECT_EQ(redrawPlacement(Layer::EyebrowLeft, g, 0).dst.x(), 98);
    g.mmleftz = 7;  // round(96.5) = 96
    EXPECT_EQ(redrawPlacement(Layer::EyebrowLeft, g, 0).dst.x(), 96);
    g = {};
    g.mmheighty = 3;  // y = round(160 - 1.5) = 158, h = 43
    EXPECT_EQ(redrawPlacement(Layer::EyebrowRight, g, 0).dst, QRect(190, 158, 89, 43));
    g = {};
    g.zuixingWidth = 1;
    g.zuixingheight = 1;  // round(139.5) = 140, round(264.5) = 264
    EXPECT_EQ(redrawPlacement(Layer::Lips, g, 0).dst, QRect(140, 264, 101, 51));
    g = {};
    g.xianglianWidth = 3;  // x = 87, y = round(318.5) = 318
    EXPECT_EQ(redrawPlacement(Layer::Necklace, g, 0).dst, QRect(87, 318, 206, 143));
}

TEST(Placement, EarringsGrowAndSpread) {
    LayerGeometry g;
    g.erhuanWidth = 10;
    EXPECT_EQ(redrawPlacement(Layer::EarringLeft, g, 0).dst, QRect(80, 248, 50, 85));
    EXPECT_EQ(redrawPlacement(Layer::EarringRight, g, 0).dst, QRect(250, 248, 49, 85));
    g = {};
    g.erhuanleft = 4;
    g.erhuantop = 3;
    EXPECT_EQ(redrawPlacement(Layer::EarringLeft, g, 0).dst.topLeft(), QPoint(81, 245));
    EXPECT_EQ(redrawPlacement(Layer::EarringRight, g, 0).dst.topLeft(), QPoint(259, 245));
}

TEST(Placement, HatAndClothing) {
    LayerGeometry g;
    g.maoziheight = 5;
    g.maoziWidth = 2;
    g.maozileft = 3;
    g.maozitop = 1;
    EXPECT_EQ(redrawPlacement(Layer::Hat, g, 0).dst, QRect(4, -14, 383, 255));
    g = {};
    g.fuzhuangWidth = 5;
    g.fuzhuangheight = 7;
    g.fuzhuangtop = 20;
    EXPECT_EQ(redrawPlacement(Layer::Clothing, g, 0).dst, QRect(-15, 280, 410, 197));
}

TEST(Placement, PreparationUsesTheFileSize) {
    LayerGeometry g;
    // A 90-wide eyebrow file: halves of round(45); the right one one pixel narrower.
    Placement l = preparationPlacement(Layer::EyebrowLeft, g, 90, 40);
    EXPECT_EQ(l.src, QRect(0, 0, 45, 40));
    EXPECT_EQ(l.dst, QRect(100, 160, 45, 40));
    Placement r = preparationPlacement(Layer::EyebrowRight, g, 180, 40);
    EXPECT_EQ(r.src, QRect(90, 0, 90, 40));
    EXPECT_EQ(r.dst, QRect(190, 160, 89, 40));
    g.mmWidthy = 1;
    EXPECT_EQ(preparationPlacement(Layer::EyebrowRight, g, 181, 40).dst.width(), 92);  // round(91.5) = 92
    g = {};
    EXPECT_EQ(preparationPlacement(Layer::Hat, g, 380, 250).dst, QRect(0, -10, 379, 249));
    EXPECT_EQ(preparationPlacement(Layer::Hairstyle, g, 380, 300).dst, QRect(0, 0, 380, 300));
    EXPECT_EQ(preparationPlacement(Layer::Clothing, g, 100, 100).src, QRect(0, 0, 400, 190));
    Placement e = preparationPlacement(Layer::EarringRight, g, 81, 65);  // round(40.5) = 40
    EXPECT_EQ(e.src, QRect(40, 0, 40, 65));
    EXPECT_EQ(e.dst.width(), 40);  // round(39.5) = 40
}

TEST(Placement, SixteenBitArithmeticWrapsAndNonPositiveSizesStay) {
    LayerGeometry g;
    g.faxingWidth = 16400;  // 380 + 32800 wraps to a negative width: the layer is not drawn
    EXPECT_LT(redrawPlacement(Layer::Hairstyle, g, 480).dst.width(), 0);
    g = {};
    g.zuixingWidth = -100;
    EXPECT_EQ(redrawPlacement(Layer::Lips, g, 0).dst.width(), 0);
    g.zuixingheight = -60;
    EXPECT_EQ(redrawPlacement(Layer::Lips, g, 0).dst.height(), -10);
}
