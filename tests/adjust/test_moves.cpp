#include <gtest/gtest.h>

#include "adjust/FeatureColour.h"
#include "adjust/LayerMoves.h"
#include "adjust/LayerWarp.h"
#include "compositor/Composition.h"
#include "compositor/Preparation.h"
#include "platform/PictureFile.h"
#include "support/Fixtures.h"

using namespace ms;
using G = LayerGeometry;

namespace {

// A studio on a plain portrait with lips and eyebrows of half-transparent files.
struct AdjustStudio {
    test::ProgramFolder folder;
    StudioState s;
    AdjustStudio() {
        EXPECT_TRUE(savePictureBmp(folder.file("ziyuan/huaban.bmp"),
                                   test::solidPicture(380, 480, QColor(90, 90, 90))));
        EXPECT_TRUE(initialiseStudio(s, folder.path()));
        PixelGrid lips(100, 50, 0);
        for (int y = 15; y < 35; ++y)
            for (int x = 20; x < 80; ++x) lips.at(x, y) = pixelBGRA(9, 9, 9, 200);
        s.doc.design.zuixingname = folder.component("zuixing/k01.tta", lips);
        s.doc.design.meimaoxingname = folder.component("meimao/k01.tta", 180, 40, pixelBGRA(20, 30, 40, 150));
        EXPECT_TRUE(huaban_hecheng2(s));
    }
    void warpLips(QPointF from, QPointF to) {
        s.session.tools.press = from;
        s.session.tools.release = to;
        s.session.tools.libraryWarpSize = 4;
        ASSERT_TRUE(zuixing_bx(s));
    }
};

}  // namespace

TEST(MoveSliders, EachTargetWritesItsFieldsWithTheirMultiples) {
    const struct {
        MoveTarget target;
        MoveSlider slider;
        std::vector<std::pair<int16_t G::*, int>> expected;  // at v = 10
    } cases[] = {
        {MoveTarget::Hat, MoveSlider::Slider4, {{&G::maozitop, 40}}},
        {MoveTarget::Hat, MoveSlider::Slider3, {{&G::maoziWidth, 20}}},
        {MoveTarget::Hat, MoveSlider::Slider6, {{&G::maoziheight, -40}}},
        {MoveTarget::EyebrowLeft, MoveSlider::Slider5, {{&G::mmleftz, -10}}},
        {MoveTarget::EyebrowRight, MoveSlider::Slider5, {{&G::mmlefty, 10}}},
        {MoveTarget::EyebrowsBoth, MoveSlider::Slider5, {{&G::mmleftz, 10}, {&G::mmlefty, 10}}},
        {MoveTarget::EyebrowsBoth, MoveSlider::Slider4, {{&G::mmtopz, -10}, {&G::mmtopy, -10}}},
        {MoveTarget::EyebrowLeft, MoveSlider::Slider6, {{&G::mmheightz, 10}}},
        {MoveTarget::Lips, MoveSlider::Slider4, {{&G::zuixingtop, 10}}},
        {MoveTarget::Lips, MoveSlider::Slider6, {{&G::zuixingheight, -10}}},
        {MoveTarget::Glasses, MoveSlider::Slider5, {{&G::yanjingleft, 20}}},
        {MoveTarget::Glasses, MoveSlider::Slider4, {{&G::yanjingtop, 20}}},
        {MoveTarget::Earrings, MoveSlider::Slider4, {{&G::erhuantop, -10}}},
        {MoveTarget::Earrings, MoveSlider::Slider6, {}},
        {MoveTarget::Necklace, MoveSlider::Slider4, {{&G::xiangliantop, 10}}},
        {MoveTarget::Necklace, MoveSlider::Slider5, {}},
        {MoveTarget::Clothing, MoveSlider::Slider4, {{&G::fuzhuangtop, -30}}},
        {MoveTarget::Clothing, MoveSlider::Slider6, {{&G::fuzhuangheight, -40}}},
        {MoveTarget::Clothing, MoveSlider::Slider5, {}},
    };
    StudioState s;
    s.doc.surfaces.canvas = QImage(380, 480, QImage::Format_ARGB32_Premultiplied);
    int k = 0;
    for (const auto& c : cases) {
        s.doc.design.geometry = LayerGeometry();
        dragMoveSlider(s, c.target, c.slider, 10);
        G expected;
        for (const auto& [field, value] : c.expected) expected.*field = static_cast<int16_t>(value);
        EXPECT_TRUE(s.doc.design.geometry == expected) << "case " << k;
        EXPECT_EQ(sliderUsed(c.target, c.slider), !c.expected.empty()) << "case " << k;
        ++k;
    }
    EXPECT_EQ(moveTargetOf(LibraryKind::Accessories, AccessorySubKind::Clothing, EyebrowSides::Left),
              MoveTarget::Clothing);
    EXPECT_EQ(moveTargetOf(LibraryKind::Eyebrows, AccessorySubKind::Hat, EyebrowSides::Left),
              MoveTarget::EyebrowLeft);
    EXPECT_FALSE(moveTargetOf(LibraryKind::Hairstyles, AccessorySubKind::Hat, EyebrowSides::Both));
}

TEST(MoveSliders, SidesAndResetsByKind) {
    AdjustStudio t;
    G& g = t.s.doc.design.geometry;
    g.mmtopz = 3, g.mmheighty = -2, g.mmlefty = 4;
    chooseEyebrowSides(t.s, EyebrowSides::Left);
    EXPECT_EQ(t.s.session.eyebrowSides, EyebrowSides::Left);
    EXPECT_EQ(g.mmtopz, 3);
    chooseEyebrowSides(t.s, EyebrowSides::Both);
    EXPECT_TRUE(g == G());

    // The eyebrow reset leaves a warp; the lip reset brings back the file's shape.
    t.s.session.tools.press = {200, 180};
    t.s.session.tools.release = {190, 185};
    t.s.session.tools.libraryWarpSize = 5;
    ASSERT_TRUE(meimao_bx(t.s));
    const PixelGrid warpedBrows = t.s.doc.grids.eyebrow;
    g.mmWidthz = 5;
    EXPECT_TRUE(resetLayer(t.s, LibraryKind::Eyebrows, AccessorySubKind::Hat));
    EXPECT_EQ(g.mmWidthz, 0);
    EXPECT_EQ(t.s.doc.grids.eyebrow, warpedBrows);

    const PixelGrid fileLips = t.s.doc.grids.lips;
    t.warpLips({160, 290}, {170, 300});
    ASSERT_NE(t.s.doc.grids.lips, fileLips);
    g.zuixingtop = 4;
    EXPECT_TRUE(resetLayer(t.s, LibraryKind::Lips, AccessorySubKind::Hat));
    EXPECT_EQ(t.s.doc.grids.lips, fileLips);
    EXPECT_FALSE(t.s.doc.flags.modified(Kind::zuixing));
    EXPECT_EQ(g.zuixingtop, 0);

    // Accessories reset the fields of their tab only; the clothing loses its warped mark.
    g.maozitop = 8, g.yanjingtop = 6, g.fuzhuangtop = 3;
    t.s.doc.flags.modified(Kind::fuzhuang) = true;
    EXPECT_TRUE(resetLayer(t.s, LibraryKind::Accessories, AccessorySubKind::Hat));
    EXPECT_EQ(g.maozitop, 0);
    EXPECT_EQ(g.yanjingtop, 6);
    EXPECT_TRUE(t.s.doc.flags.modified(Kind::fuzhuang));
    EXPECT_TRUE(resetLayer(t.s, LibraryKind::Accessories, AccessorySubKind::Clothing));
    EXPECT_EQ(g.fuzhuangtop, 0);
    EXPECT_FALSE(t.s.doc.flags.modified(Kind::fuzhuang));
}

TEST(ColourStrength, ReleasesRebuildFromTheGridAndLipColoursFollowTheDesignMode) {
    AdjustStudio t;
    const auto browAlpha = [&t] { return qAlpha(t.s.doc.surfaces.of(Kind::meimao).image().pixel(5, 5)); };
    releaseColourSlider(t.s, LibraryKind::Eyebrows, -20);
    EXPECT_EQ(browAlpha(), 0);  // 150 - 160
    // A warp at -80, then a release at -5: file alpha - 40, not - 120.
    releaseColourSlider(t.s, LibraryKind::Eyebrows, -10);
    EXPECT_EQ(t.s.session.eyebrowStrength, -80);
    t.s.session.tools.press = {150, 180};
    t.s.session.tools.release = {160, 180};
    ASSERT_TRUE(meimao_bx(t.s));
    releaseColourSlider(t.s, LibraryKind::Eyebrows, -5);
    EXPECT_EQ(browAlpha(), 110);
    releaseColourSlider(t.s, LibraryKind::Lips, -4);
    EXPECT_EQ(t.s.doc.design.zuixingnd, -20);
    EXPECT_EQ(qAlpha(t.s.doc.surfaces.of(Kind::zuixing).image().pixel(50, 25)), 180);

    // Lip design mode off: only the stored colour changes.
    const QImage canvas = t.s.doc.surfaces.canvas.copy();
    const PixelGrid lips = t.s.doc.grids.lips;
    t.s.doc.design.lipColour = colourValue(0, 200, 0);
    Status problem;
    EXPECT_EQ(lipColourPicked(t.s, problem), LipColourFollow::Nothing);
    EXPECT_EQ(t.s.doc.surfaces.canvas, canvas);
    EXPECT_EQ(t.s.doc.grids.lips, lips);

    // In lip design the lips are prepared again in the new colour.
    t.s.session.lipDesignMode = true;
    EXPECT_EQ(lipColourPicked(t.s, problem), LipColourFollow::Reloaded);
    EXPECT_TRUE(problem);
    EXPECT_EQ(t.s.doc.grids.lips.at(50, 25), pixelBGRA(0, 200, 0, 200));

    // After a warp a new colour keeps the warped shape, and a strength release keeps both.
    t.warpLips({165, 292}, {175, 300});
    const PixelGrid warped = t.s.doc.grids.lips;
    t.s.doc.design.lipColour = colourValue(10, 20, 250);
    EXPECT_EQ(lipColourPicked(t.s, problem), LipColourFollow::Retinted);
    releaseColourSlider(t.s, LibraryKind::Lips, 0);
    for (size_t i = 0; i < warped.pixels.size(); ++i) {
        ASSERT_EQ(alphaOf(t.s.doc.grids.lips.pixels[i]), alphaOf(warped.pixels[i]));
        if (alphaOf(warped.pixels[i])) {
            ASSERT_EQ(t.s.doc.grids.lips.pixels[i] & 0xFFFFFFu, 0x0A14FAu) << i;
        }
    }
    EXPECT_EQ(t.s.doc.grids.lipsBackup, t.s.doc.grids.lips);
    EXPECT_TRUE(t.s.doc.flags.modified(Kind::zuixing));
}
