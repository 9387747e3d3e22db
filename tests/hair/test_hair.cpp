#include <gtest/gtest.h>

#include <QFile>

#include "adjust/LayerMoves.h"
#include "compositor/Composition.h"
#include "compositor/Preparation.h"
#include "hair/HairColour.h"
#include "hair/HairFiles.h"
#include "hair/HairTrim.h"
#include "imaging/PixelHelpers.h"
#include "imaging/Stamps.h"
#include "platform/PictureFile.h"
#include "support/Fixtures.h"
#include "support/TestSeed.h"

using namespace ms;

namespace {

// A studio on a plain grey portrait wearing a 380 x 480 hairstyle "faxing/dz001.tta": hair of
// alpha 200 over the lower half of the canvas (grid rows 0 .. 239), transparent above.
struct HairStudio {
    test::ProgramFolder folder;
    StudioState s;
    explicit HairStudio(const PixelGrid& hair = band()) {
        EXPECT_TRUE(savePictureBmp(folder.file("ziyuan/huaban.bmp"),
                                   test::solidPicture(380, 480, QColor(90, 90, 90))));
        EXPECT_TRUE(initialiseStudio(s, folder.path()));
        s.doc.design.faxingname = folder.component("faxing/dz001.tta", hair);
        EXPECT_TRUE(huaban_hecheng2(s));
        EXPECT_TRUE(openHairColour(s));
    }
    static PixelGrid band() {
        PixelGrid g(380, 480, 0);
        for (int y = 0; y < 240; ++y)
            for (int x = 0; x < 380; ++x) g.at(x, y) = pixelBGRA(40, 60, 90, 200);
        return g;
    }
    uint32_t surfaceAt(int x, int y) const {
        return test::raw(s.doc.surfaces.of(Kind::faxing).image(), x, y);
    }
    QRgb canvasAt(int x, int y) const { return s.doc.surfaces.canvas.pixel(x, y); }
    void dye(const Dye& d) {
        s.session.hair.dyeHue = d.A, s.session.hair.dyeSaturation = d.B, s.session.hair.dyeDarkening = d.C;
        ASSERT_TRUE(faxing_bianse(s));
    }
};

// The dye as it reads, pixel by pixel: hue A, saturation + B within 0 .. 100, V + C / V within
// 0 .. 95 (V = 0 stays), then premultiplied.
uint32_t referenceDye(uint32_t p, const Dye& d) {
    if (alphaOf(p) == 0) return 0;
    const Hsv hsv = rgb_to_hsv(redOf(p), greenOf(p), blueOf(p));
    double h = d.A;
    if (h < 0) h += 360;
    double s = hsv.s + d.B;
    s = s > 100 ? 100 : s < 0 ? 0 : s;
    double v = hsv.v;
    if (v != 0) v = v + d.C / v;
    v = v < 0 ? 0 : v > 95 ? 95 : v;
    const Rgb out = hsv_to_rgb(h, s, v);
    uint32_t q = pixelBGRA(out.c2, out.c1, out.c0, alphaOf(p));
    premultiply_pixel(q);
    return q;
}

}  // namespace

TEST(Dye, EveryPresetMatchesTheReferenceAndTheGridStaysUndyed) {
    auto rng = test::seededRng(71);
    PixelGrid hair = test::randomGrid(380, 120, rng);
    HairStudio t(hair);
    const PixelGrid undyed = t.s.doc.grids.hairstyle;
    for (const DyePreset& preset : dyePresets()) {
        t.dye(preset.dye);
        int wrong = 0;
        for (int y = 0; y < hair.height; ++y)
            for (int x = 0; x < hair.width; ++x)
                wrong += t.surfaceAt(x, hair.height - 1 - y) != referenceDye(hair.at(x, y), preset.dye);
        EXPECT_EQ(wrong, 0) << QString::fromUtf16(preset.caption).toStdString();
        EXPECT_EQ(t.s.doc.grids.hairstyle, undyed);
    }
}

TEST(Dye, HueSaturationValueAndTheCap) {
    const auto hsvOf = [](uint32_t p) { return rgb_to_hsv(redOf(p), greenOf(p), blueOf(p)); };
    const Dye blue = dyePresets()[10].dye;
    EXPECT_NEAR(hsvOf(dyePixel(pixelBGRA(40, 90, 160, 255), blue)).h, 210, 1.5);
    const Dye black = dyePresets()[11].dye;
    // V 20 (51 of 255) darkens by 1000 / 20 = 50: raised to 0. V 50.2 (128) becomes about 30.
    EXPECT_EQ(dyePixel(pixelBGRA(51, 51, 51, 255), black) & 0xFFFFFFu, 0u);
    EXPECT_NEAR(hsvOf(dyePixel(pixelBGRA(128, 128, 128, 255), black)).v, 30.3, 0.5);
    const Hsv white = hsvOf(dyePixel(pixelBGRA(255, 255, 255, 255), Dye{20, 10, 0}));
    EXPECT_NEAR(white.h, 20, 1.5);
    EXPECT_NEAR(white.s, 10, 0.5);
    EXPECT_NEAR(white.v, 95, 0.3);
    EXPECT_EQ(alphaOf(dyePixel(pixelBGRA(1, 2, 3, 0), black)), 0);
}

TEST(Highlights, StrokesStayInTheHairAndClearingRemovesDyeToo) {
    HairStudio t;
    const uint32_t plain = t.surfaceAt(100, 300);
    t.dye(dyePresets()[5].dye);
    const uint32_t golden = t.surfaceAt(100, 300);
    ASSERT_NE(golden, plain);
    // Begin: the hair picture, dyed, becomes the hairstyle; highlights go on top of the dye.
    ASSERT_TRUE(beginHighlights(t.s));
    EXPECT_EQ(t.surfaceAt(100, 300), golden);
    EXPECT_TRUE(t.s.session.tools.highlightBrush);

    // A stroke across the hair's top edge: kept on the hair, gone above it.
    AlphaMask disc;
    disc.width = disc.height = 9;
    disc.alpha.assign(81, 255);
    const int32_t gold = colourValue(250, 210, 80);
    QImage& picture = t.s.session.views.Picfx;
    stampColour(picture, QRect(120, 225, 9, 9), disc, gold);  // rows 225 .. 233: no hair
    stampColour(picture, QRect(200, 300, 9, 9), disc, gold);
    ASSERT_TRUE(commitHairPicture(t.s));
    huaban_hecheng1(t.s);
    EXPECT_EQ(qAlpha(t.surfaceAt(124, 229)), 0);
    EXPECT_EQ(t.canvasAt(124, 229), QColor(90, 90, 90).rgb());
    EXPECT_GT(qRed(t.canvasAt(204, 304)), 170);

    ASSERT_TRUE(clearHighlights(t.s));
    EXPECT_EQ(t.surfaceAt(204, 304), plain);
}

TEST(Highlights, OnAMovedHairstyleTheyLandUnderThePointer) {
    HairStudio t;
    t.s.doc.design.geometry.faxingleft = 10;  // the hairstyle 20 px to the right
    t.s.doc.design.geometry.faxingtop = -30;  // and 30 px up
    ASSERT_TRUE(faxing_hecheng1(t.s));
    AlphaMask disc;
    disc.width = disc.height = 5;
    disc.alpha.assign(25, 255);
    stampColour(t.s.session.views.Picfx, QRect(300, 220, 5, 5), disc, colourValue(250, 250, 250));
    ASSERT_TRUE(commitHairPicture(t.s));
    huaban_hecheng1(t.s);
    const QRgb under = t.canvasAt(302, 222), beside = t.canvasAt(302, 232);
    EXPECT_GT(qRed(under), 200);
    EXPECT_LT(qRed(beside), 150);
}

TEST(Scissors, AlphaArithmeticEdgesAndTheBackup) {
    HairStudio t;
    AlphaMask full;
    full.width = full.height = 10;
    full.alpha.assign(100, 255);
    // Canvas (100, 300) is grid column 100, row 179 of the unmoved hairstyle.
    ASSERT_TRUE(cutHair(t.s, {100, 300}, full));
    EXPECT_EQ(alphaOf(t.s.doc.grids.hairstyle.at(100, 179)), 0);
    EXPECT_EQ(alphaOf(t.s.doc.grids.hairstyle.at(100, 190)), 200);
    EXPECT_EQ(t.s.doc.grids.hairstyleBackup, t.s.doc.grids.hairstyle);
    ASSERT_TRUE(cutHair(t.s, {100, 300}, full));
    EXPECT_EQ(alphaOf(t.s.doc.grids.hairstyle.at(100, 179)), 0);
    EXPECT_EQ(qAlpha(t.s.doc.surfaces.of(Kind::faxing).image().pixel(100, 300)), 0);

    AlphaMask half = full;
    half.alpha.assign(100, 128);
    ASSERT_TRUE(cutHair(t.s, {200, 300}, half));
    EXPECT_EQ(alphaOf(t.s.doc.grids.hairstyle.at(200, 179)), 72);
    ASSERT_TRUE(cutHair(t.s, {200, 300}, half));
    EXPECT_EQ(alphaOf(t.s.doc.grids.hairstyle.at(200, 179)), 0);

    // Half outside the grid on the right: the inside half is cut.
    ASSERT_TRUE(cutHair(t.s, {378, 400}, full));
    EXPECT_EQ(alphaOf(t.s.doc.grids.hairstyle.at(376, 79)), 0);
    EXPECT_EQ(alphaOf(t.s.doc.grids.hairstyle.at(370, 79)), 200);

    // No hairstyle: nothing is cut, and the stylist is told why.
    t.s.doc.design.faxingname = t.folder.file("faxing/000.tta");
    const PixelGrid before = t.s.doc.grids.hairstyle;
    EXPECT_FALSE(cutHair(t.s, {50, 300}, full));
    EXPECT_EQ(t.s.doc.grids.hairstyle, before);
}

TEST(HairTools, SlidersAndTheResetKeepCutsWithAnotherLibraryCurrent) {
    HairStudio t;
    LayerGeometry& g = t.s.doc.design.geometry;
    dragMoveSlider(t.s, MoveTarget::Hairstyle, MoveSlider::Slider6, 10);
    EXPECT_EQ(g.faxingheight, -20);
    EXPECT_EQ(g.faxingtop, 30);
    dragMoveSlider(t.s, MoveTarget::Hairstyle, MoveSlider::Slider4, 5);
    EXPECT_EQ(g.faxingtop, 10);
    EXPECT_EQ(g.faxingheight, -20);

    AlphaMask full;
    full.width = full.height = 6;
    full.alpha.assign(36, 255);
    ASSERT_TRUE(cutHair(t.s, {50, 330}, full));
    const PixelGrid cut = t.s.doc.grids.hairstyle;
    t.s.session.library.currentKind = LibraryKind::Eyebrows;
    EXPECT_TRUE(resetHairstyle(t.s));
    EXPECT_EQ(t.s.doc.grids.hairstyle, cut);
    EXPECT_EQ(g.faxingheight, -20);  // the fields go back through the sliders only
    t.s.session.library.currentKind = LibraryKind::Hairstyles;
    EXPECT_TRUE(resetHairstyle(t.s));
    EXPECT_EQ(g, LayerGeometry());
    EXPECT_EQ(t.s.doc.grids.hairstyle, HairStudio::band());

    chooseScissors(t.s, 3);
    EXPECT_EQ(t.s.session.tools.mode, ToolMode::scissors);
    EXPECT_TRUE(t.s.session.tools.scissorShapeFile.endsWith("penqiang/14.tta"));
    setHairWarpSize(t.s, 6);
    EXPECT_EQ(t.s.session.tools.Shape5.rect.width(), 30);
}

TEST(HighlightPatterns, AStampMarksTheCutoutAndThePhotoWithSnapshotsAround) {
    HairStudio t;
    PixelGrid streak(80, 80, 0);
    for (int y = 0; y < 80; ++y)
        for (int x = 36; x < 44; ++x) streak.at(x, y) = pixelBGRA(60, 200, 240, 255);
    PixelGrid mask = streak;
    for (uint32_t& p : mask.pixels)
        if (p) p = 0xFFFFFFFFu;
    t.folder.component(hairfiles::highlightPattern(2), streak);
    t.folder.component(hairfiles::highlightMask(2), mask);
    EXPECT_TRUE(stampHighlightPattern(t.s, {150, 100}));  // nothing chosen: nothing stamped
    EXPECT_TRUE(t.s.doc.design.PicRGB.isNull());

    selectHighlightPattern(t.s, 2);
    const int32_t n = t.s.session.hair.snapshot;
    ASSERT_TRUE(stampHighlightPattern(t.s, {150, 100}));
    // Centred: offset 40 for the large patterns, drawn one pixel smaller.
    EXPECT_EQ(t.s.doc.design.PicA.pixel(150, 100), qRgb(255, 255, 255));
    EXPECT_EQ(t.s.doc.design.PicA.pixel(130, 100), qRgb(0, 0, 0));
    EXPECT_EQ(t.s.doc.design.PicRGB.pixel(150, 100), qRgb(240, 200, 60));
    EXPECT_EQ(t.canvasAt(150, 100), qRgb(240, 200, 60));
    EXPECT_EQ(t.s.session.hair.snapshot, n + 1);
    EXPECT_EQ(t.s.session.hair.lastSnapshot, n + 1);
    for (int k : {n, n + 1})
        for (const char* suffix : {"", "p"})
            EXPECT_TRUE(QFile::exists(t.folder.file(QString("temp/%1%2.bmp").arg(k).arg(suffix))));

    // A pattern that cannot be read stamps nothing and says so.
    selectHighlightPattern(t.s, 7);
    const QImage before = t.s.doc.design.PicRGB;
    EXPECT_FALSE(stampHighlightPattern(t.s, {150, 300}));
    EXPECT_EQ(t.s.doc.design.PicRGB, before);
}
