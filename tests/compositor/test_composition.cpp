#include <gtest/gtest.h>

#include <QFile>

#include "compositor/Composition.h"
#include "compositor/Kinds.h"
#include "compositor/Preparation.h"
#include "imaging/GridImage.h"
#include "imaging/PixelHelpers.h"
#include "platform/PictureFile.h"
#include "support/Fixtures.h"

using namespace ms;
using ms::test::ProgramFolder;
using ms::test::raw;

namespace {

// A studio on a program folder holding one uniform component per kind, each a distinct colour at
// half alpha, and geometry that moves every layer over the canvas point (190, 200), so the
// colour there tells the order in which the layers were blended.
struct OrderedStudio {
    ProgramFolder folder;
    StudioState s;
    static constexpr QPoint probe{190, 200};

    OrderedStudio() {
        const QImage portrait = test::solidPicture(380, 480, QColor(10, 20, 30));
        EXPECT_TRUE(savePictureBmp(folder.file("ziyuan/huaban.bmp"), portrait));
        EXPECT_TRUE(initialiseStudio(s, folder.path()));
        PixelGrid brows(180, 40);
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 180; ++x) brows.at(x, y) = x < 90 ? 0x80FF0000u : 0x8000FF00u;
        PixelGrid earrings(80, 65);
        for (int y = 0; y < 65; ++y)
            for (int x = 0; x < 80; ++x) earrings.at(x, y) = x < 40 ? 0x800000FFu : 0x80FFFF00u;
        DesignState& d = s.doc.design;
        d.meimaoxingname = folder.component("meimao/k1.tta", brows);
        d.erhuanname = folder.component("erhuan/e1.tta", earrings);
        d.zuixingname = folder.component("zuixing/k1.tta", 100, 50, 0x80000000u);
        d.xianglianname = folder.component("xianglian/n1.tta", 200, 140, 0x80FF00FFu);
        d.fuzhuangname = folder.component("fuzhuang/c1.tta", 400, 190, 0x8000FFFFu);
        d.faxingname = folder.component("faxing/dz1.tta", 380, 480, 0x80804020u);
        d.yanjingname = folder.component("yanjing/g1.tta", 180, 70, 0x80204080u);
        d.maoziname = folder.component("maozi/h1.tta", 380, 250, 0x80408020u);
        d.lipColour = colourValue(200, 100, 50);
        LayerGeometry& g = d.geometry;
        g.mmleftz = -20;
        g.mmtopz = g.mmtopy = -5;
        g.zuixingtop = -80;
        g.xiangliantop = -130;
        g.fuzhuangtop = 110;
        g.erhuanleft = -85;
        g.erhuantop = 60;
    }

    // Straight colour of each layer at the probe.
    uint32_t colourOf(Layer l) const {
        switch (l) {
            case Layer::EyebrowLeft:
                return 0x80FF0000u;
            case Layer::EyebrowRight:
                return 0x8000FF00u;
            case Layer::Lips:
                return 0x80C86432u;  // tinted with the lip colour
            case Layer::Necklace:
                return 0x80FF00FFu;
            case Layer::Clothing:
                return 0x8000FFFFu;
            case Layer::Hairstyle:
                return 0x80804020u;
            case Layer::Glasses:
                return 0x80204080u;
            case Layer::Hat:
                return 0x80408020u;
            case Layer::EarringLeft:
                return 0x800000FFu;
            case Layer::EarringRight:
                return 0x80FFFF00u;
            case Layer::Cutout:
                return 0xFF000000u;
        }
        return 0;
    }

    uint32_t expected(uint32_t base, std::initializer_list<Layer> order) const {
        uint32_t d = base;
        for (Layer l : order) {
            uint32_t p = colourOf(l);
            premultiply_pixel(p);
            const uint32_t ia = 255 - (p >> 24);
            uint32_t out = 0;
            for (int sh = 0; sh < 32; sh += 8)
                out |= ((p >> sh & 0xFF) + ((d >> sh & 0xFF) * ia + 127) / 255) << sh;
            d = out;
        }
        return d;
    }

    uint32_t probeValue() const { return raw(s.session.views.Pichuaban, probe.x(), probe.y()); }
};

}  // namespace

TEST(Composition, EachRecompositionHasItsOwnLayerOrder) {
    OrderedStudio o;
    const uint32_t photo = 0xFF0A141Eu;
    ASSERT_TRUE(huaban_hecheng2(o.s));
    EXPECT_EQ(o.probeValue(),
              o.expected(photo, {Layer::EyebrowLeft, Layer::EyebrowRight, Layer::Lips, Layer::Glasses,
                                 Layer::Necklace, Layer::Clothing, Layer::Hairstyle, Layer::EarringLeft,
                                 Layer::EarringRight, Layer::Hat}));
    huaban_hecheng1(o.s);
    EXPECT_EQ(o.probeValue(),
              o.expected(photo, {Layer::EyebrowLeft, Layer::EyebrowRight, Layer::Lips, Layer::Necklace,
                                 Layer::Clothing, Layer::Hairstyle, Layer::Glasses, Layer::Hat,
                                 Layer::EarringLeft, Layer::EarringRight}));
    EXPECT_EQ(raw(o.s.session.views.Pichuaban1, 190, 200), o.probeValue());

    // Background differs from the photo; a black mask leaves the cut-out layer invisible.
    o.s.doc.design.Picbeijing = test::solidPicture(380, 480, QColor(90, 90, 90));
    o.s.doc.design.PicRGB = test::solidPicture(380, 480, QColor(255, 255, 255));
    o.s.doc.design.PicA = test::solidPicture(380, 480, Qt::black);
    const uint32_t bg = 0xFF5A5A5Au;
    ASSERT_TRUE(huaban_hecheng3(o.s));
    EXPECT_EQ(o.probeValue(),
              o.expected(bg, {Layer::Necklace, Layer::Clothing, Layer::EyebrowLeft, Layer::EyebrowRight,
                              Layer::Lips, Layer::Glasses, Layer::Hairstyle, Layer::EarringLeft,
                              Layer::EarringRight, Layer::Hat}));
}

TEST(Composition, CutOutPhotoHidesWhatLiesBehindIt) {
    OrderedStudio o;
    o.s.doc.design.Picbeijing = test::solidPicture(380, 480, QColor(90, 90, 90));
    o.s.doc.design.PicRGB = test::solidPicture(380, 480, QColor(0, 0, 0));
    o.s.doc.design.PicA = test::solidPicture(380, 480, Qt::white);
    ASSERT_TRUE(huaban_hecheng3(o.s));
    // Necklace and clothing lie behind the opaque cut-out; the rest is blended over it.
    EXPECT_EQ(o.probeValue(), o.expected(0xFF000000u, {Layer::EyebrowLeft, Layer::EyebrowRight, Layer::Lips,
                                                       Layer::Glasses, Layer::Hairstyle, Layer::EarringLeft,
                                                       Layer::EarringRight, Layer::Hat}));
    // With everything else removed a white mask shows the cut-out photo over the whole canvas.
    StudioState& s = o.s;
    s.doc.design = DesignState{.PicMT = s.doc.design.PicMT,
                               .Picbeijing = s.doc.design.Picbeijing,
                               .PicRGB = test::solidPicture(380, 480, QColor(1, 2, 3)),
                               .PicA = test::solidPicture(380, 480, Qt::white)};
    EXPECT_TRUE(huaban_hecheng3(s));
    EXPECT_EQ(raw(s.session.views.Pichuaban, 0, 0), 0xFF010203u);
    EXPECT_EQ(raw(s.session.views.Pichuaban, 379, 479), 0xFF010203u);
    s.doc.design.PicA = test::solidPicture(380, 480, Qt::black);
    EXPECT_TRUE(huaban_hecheng3(s));
    EXPECT_EQ(raw(s.session.views.Pichuaban, 0, 0), 0xFF5A5A5Au);
}

TEST(Composition, AutomaticDesignStepPicksANumberedHairstyle) {
    OrderedStudio o;
    StudioState& s = o.s;
    ASSERT_TRUE(huaban_hecheng2(s));  // prepares every surface
    QFile::remove(s.doc.design.faxingname);
    o.folder.component("faxing/000.tta", 380, 480, 0);
    o.folder.component("faxing/a2.tta", 380, 480, 0x80804020u);
    s.doc.design.Picbeijing = test::solidPicture(380, 480, QColor(90, 90, 90));
    s.session.library.hairFirstCode = s.session.library.hairSecondCode = QString();
    // Two files: n is 1 or 2; only "*2*" matches.
    double draws[] = {0.1, 0.2, 0.7};
    int i = 0;
    ASSERT_TRUE(faxing_name(s, [&] { return draws[i++]; }));
    EXPECT_EQ(i, 3);
    EXPECT_TRUE(s.doc.design.faxingname.endsWith("/faxing/a2.tta"));
    ASSERT_TRUE(huaban_hecheng(s));
    EXPECT_TRUE(s.doc.design.faxingname.endsWith("/faxing/a2.tta"));
    EXPECT_EQ(o.probeValue(),
              o.expected(0xFF5A5A5Au, {Layer::EyebrowLeft, Layer::EyebrowRight, Layer::Necklace, Layer::Lips,
                                       Layer::Glasses, Layer::Clothing, Layer::Hairstyle, Layer::EarringLeft,
                                       Layer::EarringRight, Layer::Hat}));
}

TEST(Composition, RandomHairstyleSearchIsBoundedAndKeepsTheCurrentOne) {
    OrderedStudio o;
    o.folder.component("faxing/abc.tta", 380, 10, 0);
    const QString before = o.s.doc.design.faxingname;
    int calls = 0;
    EXPECT_FALSE(faxing_name(o.s, [&] {
        ++calls;
        return 0.99;
    }));  // n = 2: no name holds a 2
    EXPECT_GT(calls, 10);
    EXPECT_EQ(o.s.doc.design.faxingname, before);
}

TEST(Composition, ModifiedFlagKeepsTheWarpedHairstyle) {
    OrderedStudio o;
    StudioState& s = o.s;
    ASSERT_TRUE(huaban_hecheng2(s));
    // A "warp": the hairstyle surface now holds something the file does not.
    s.doc.surfaces.of(Kind::faxing) = Surface(test::solidPicture(380, 480, QColor(0, 255, 0)));
    s.doc.flags.modified(Kind::faxing) = true;
    s.doc.design.yanjingname = o.folder.component("yanjing/g2.tta", 180, 70, 0);  // new glasses
    ASSERT_TRUE(huaban_hecheng2(s));
    EXPECT_EQ(raw(s.session.views.Pichuaban, 5, 470) & 0xFFFFFFu, 0x00FF00u);
    s.doc.flags.modified(Kind::faxing) = false;  // a new hairstyle chosen
    ASSERT_TRUE(huaban_hecheng2(s));
    EXPECT_NE(raw(s.session.views.Pichuaban, 5, 470) & 0xFFFFFFu, 0x00FF00u);
}

TEST(Preparation, LipsAreTintedAndFadedOnlyInTheSurface) {
    OrderedStudio o;
    StudioState& s = o.s;
    PixelGrid shape(100, 50);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 100; ++x) shape.at(x, y) = pixelBGRA(x, y, 7, (x * 5 + y) % 256);
    s.doc.design.zuixingname = o.folder.component("zuixing/h1.tta", shape);
    s.doc.design.lipColour = colourValue(255, 0, 80);
    s.doc.design.zuixingnd = -20;
    ASSERT_TRUE(zuixing_hecheng(s));
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 100; ++x) {
            const uint32_t p = s.doc.grids.lips.at(x, y);
            ASSERT_EQ(p, pixelBGRA(80, 0, 255, alphaOf(shape.at(x, y))));
            const uint32_t sp = raw(s.doc.surfaces.of(Kind::zuixing).image(), x, 49 - y);
            ASSERT_EQ(alphaOf(sp), std::max(0, alphaOf(shape.at(x, y)) - 20));
        }
    EXPECT_EQ(s.doc.grids.lipsBackup, s.doc.grids.lips);
}

TEST(Preparation, EyebrowsTwiceGiveTheSameSurfaceAndStraightGrid) {
    OrderedStudio o;
    StudioState& s = o.s;
    std::mt19937 rng(3);
    const PixelGrid brows = test::randomGrid(180, 40, rng);
    s.doc.design.meimaoxingname = o.folder.component("meimao/d1.tta", brows);
    ASSERT_TRUE(meimao_hecheng(s));
    const QImage first = s.doc.surfaces.of(Kind::meimao).image();
    EXPECT_EQ(s.doc.grids.eyebrow, brows);
    ASSERT_TRUE(meimao_hecheng(s));
    EXPECT_EQ(s.doc.surfaces.of(Kind::meimao).image(), first);
    EXPECT_EQ(s.doc.grids.eyebrow, brows);
    EXPECT_EQ(s.doc.grids.eyebrowBackup, brows);
}

TEST(Preparation, HairstyleRowZeroLandsAtTheBottomOfItsRectangle) {
    OrderedStudio o;
    StudioState& s = o.s;
    PixelGrid hair(380, 2);
    for (int x = 0; x < 380; ++x) hair.at(x, 0) = 0xFFFF0000u;
    s.doc.design.faxingname = o.folder.component("faxing/dz2.tta", hair);
    s.doc.design.geometry = {};
    copyOpaque(s.doc.surfaces.canvas, s.doc.design.PicMT);
    ASSERT_TRUE(faxing_hecheng(s));
    EXPECT_EQ(s.doc.design.hairHeight, 2);
    EXPECT_EQ(raw(s.doc.surfaces.canvas, 100, 1), 0xFFFF0000u);
    EXPECT_EQ(raw(s.doc.surfaces.canvas, 100, 0), 0xFF0A141Eu);
    ASSERT_TRUE(faxing_hecheng1(s));
    EXPECT_EQ(s.session.views.Picfx.size(), QSize(380, 2));
    EXPECT_EQ(s.session.views.Picfx.pixel(7, 0) & 0xFFFFFFu, 0u);  // transparent black drawn opaque
    EXPECT_EQ(s.doc.grids.hairstyle, hair);
}

TEST(Preparation, UnreadableFilesLeaveLayerAndCanvasAndTheRestGoesOn) {
    OrderedStudio o;
    StudioState& s = o.s;
    ASSERT_TRUE(huaban_hecheng2(s));
    const QImage hairBefore = s.doc.surfaces.of(Kind::faxing).image();
    const PixelGrid gridBefore = s.doc.grids.hairstyle;
    const QImage canvasBefore = s.doc.surfaces.canvas.copy();
    QFile f(s.doc.design.faxingname);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(QByteArray(30, 1));  // truncated
    f.close();
    const Status st = faxing_hecheng(s);
    EXPECT_FALSE(st);
    EXPECT_EQ(s.doc.surfaces.of(Kind::faxing).image(), hairBefore);
    EXPECT_EQ(s.doc.grids.hairstyle, gridBefore);
    EXPECT_EQ(s.doc.surfaces.canvas, canvasBefore);

    // Inside a reload the failing hairstyle is reported; the hat after it is still prepared.
    s.doc.design.maoziname = o.folder.component("maozi/h2.tta", 380, 250, 0xFF123456u);
    const Status whole = huaban_hecheng2(s);
    EXPECT_FALSE(whole);
    EXPECT_TRUE(whole.message.contains("dz1.tta"));
    EXPECT_EQ(raw(s.session.views.Pichuaban, 50, 50), 0xFF123456u);
}

TEST(Defaults, ResetChoosesTheDefaultFilesAndShowsThePortrait) {
    ProgramFolder folder;
    QImage portrait(380, 480, QImage::Format_RGB32);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 380; ++x) portrait.setPixel(x, y, qRgb(x % 256, y % 256, 77));
    EXPECT_TRUE(savePictureBmp(folder.file("ziyuan/huaban.bmp"), portrait));
    for (const char* k : {"faxing", "meimao", "zuixing", "maozi", "yanjing", "erhuan", "xianglian"})
        folder.component(QString("%1/000.tta").arg(k), 4, 4, 0);
    folder.component("faxing/0001.tta", 380, 480, 0xFFFFFFFFu);  // sorts after 000.tta
    StudioState s;
    ASSERT_TRUE(initialiseStudio(s, folder.path()));
    s.doc.design.geometry.faxingWidth = 9;
    s.doc.design.geometry.mmtopy = 3;
    s.doc.design.geometry.fuzhuangheight = 4;
    ASSERT_TRUE(CHUSHI_MOBAN(s));
    EXPECT_EQ(s.doc.design.faxingname, folder.file("faxing/000.tta"));
    EXPECT_EQ(s.doc.design.maoziname, folder.file("maozi/000.tta"));
    EXPECT_EQ(s.doc.design.fuzhuangname, QString());  // no default: an empty layer, not the folder
    EXPECT_EQ(s.doc.design.geometry, LayerGeometry{});
    EXPECT_EQ(s.session.views.Pichuaban.convertToFormat(QImage::Format_RGB32), portrait);
    EXPECT_EQ(s.doc.design.Picbeijing, portrait);
    EXPECT_TRUE(s.doc.design.PicRGB.isNull());
    EXPECT_TRUE(fuzhuang_hecheng(s));  // no component: nothing to read, nothing drawn
    EXPECT_TRUE(s.doc.surfaces.of(Kind::fuzhuang).isEmpty());
}

TEST(Defaults, MissingPortraitGivesAGreyCanvasAndAMessage) {
    ProgramFolder folder;
    StudioState s;
    const Status st = initialiseStudio(s, folder.path());
    EXPECT_FALSE(st);
    EXPECT_EQ(s.session.views.Pichuaban.size(), QSize(380, 480));
    EXPECT_EQ(s.doc.design.PicMT.size(), QSize(380, 480));
}

TEST(OutputStep, MagnifiedViewOnlyWhileVisible) {
    OrderedStudio o;
    ASSERT_TRUE(huaban_hecheng2(o.s));
    EXPECT_TRUE(o.s.session.views.Picfangda.isNull());
    o.s.session.views.PicfangdaVisible = true;
    huaban_hecheng1(o.s);
    EXPECT_EQ(o.s.session.views.Picfangda.size(), QSize(608, 768));
    EXPECT_EQ(o.s.session.views.Picfangda.pixel(0, 0), o.s.session.views.Pichuaban.pixel(0, 0));
    // The next composition does not disturb the pictures the views already show.
    const QImage shown = o.s.session.views.Pichuaban;
    const QImage copy = shown.copy();
    o.s.doc.design.geometry.faxingleft = 40;
    huaban_hecheng1(o.s);
    EXPECT_EQ(shown, copy);
    EXPECT_NE(o.s.session.views.Pichuaban, copy);
}

// Every library has a "000.tta": a broken one names its library, not just the file name all eight
// share.
TEST(Preparation, ABrokenLibraryFileNamesItsLibrary) {
    OrderedStudio o;
    const QString brows = o.folder.component("meimao/000.tta", 180, 40, 0x80FF0000u);
    QFile::resize(brows, 100);
    o.s.doc.design.meimaoxingname = brows;
    const Status st = huaban_hecheng2(o.s);
    EXPECT_EQ(st.code, StatusCode::Damaged);
    EXPECT_TRUE(st.message.contains("眉型库")) << st.message.toStdString();
    EXPECT_TRUE(st.message.contains("000.tta")) << st.message.toStdString();
    // A slot's own file is not in a library and is not said to be.
    const QString slotFile = o.folder.component("kelm/meimaokelm2.tta", 180, 40, 0x80FF0000u);
    QFile::resize(slotFile, 100);
    o.s.doc.design.meimaoxingname = slotFile;
    const Status slot = huaban_hecheng2(o.s);
    EXPECT_FALSE(slot.message.contains("库")) << slot.message.toStdString();
}
