#include <gtest/gtest.h>

#include "LibraryStudio.h"
#include "library/LibraryBrowser.h"
#include "library/SuitabilityLink.h"
#include "library/Thumbnails.h"

using namespace ms;
using ms::test::raw;

namespace {
// Number of canvas pixels of this colour (0xRRGGBB).
int pixelsOf(const QImage& img, uint32_t rgb) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) n += (raw(img, x, y) & 0xFFFFFFu) == rgb;
    return n;
}
}  // namespace

TEST(ThumbnailRect, EveryKindWithRoundingHalvesToEven) {
    EXPECT_EQ(thumbnailRect(ThumbnailKind::Hairstyle, 380, 480), QRect(-2, -18, 100, 126));
    EXPECT_EQ(thumbnailRect(ThumbnailKind::Eyebrows, 180, 40), QRect(0, 2, 100, 22));
    EXPECT_EQ(thumbnailRect(ThumbnailKind::Eyebrows, 50, 90), QRect(0, 2, 100, 22));
    EXPECT_EQ(thumbnailRect(ThumbnailKind::Lips, 100, 50), QRect(-15, 6, 98, 49));  // (60 - 49) / 2 = 5.5
    EXPECT_EQ(thumbnailRect(ThumbnailKind::Hat, 380, 250), QRect(-8, 4, 80, 53));   // 3.5 -> 4
    EXPECT_EQ(thumbnailRect(ThumbnailKind::Glasses, 180, 70), QRect(0, -2, 100, 39));
    EXPECT_EQ(thumbnailRect(ThumbnailKind::Earrings, 80, 65), QRect(-2, 16, 70, 57));    // 16.5 -> 16
    EXPECT_EQ(thumbnailRect(ThumbnailKind::Necklace, 200, 140), QRect(-2, 10, 70, 49));  // 10.5 -> 10
    EXPECT_EQ(thumbnailRect(ThumbnailKind::Clothing, 400, 190), QRect(-2, 24, 70, 33));  // 23.5 -> 24
    EXPECT_EQ(areaOf(thumbnailKindOf(LibraryKind::Accessories, AccessorySubKind::Glasses)),
              ThumbnailArea::Strip);
    EXPECT_EQ(areaOf(thumbnailKindOf(LibraryKind::Eyebrows, AccessorySubKind::Necklace)),
              ThumbnailArea::Strip);
    EXPECT_EQ(areaOf(thumbnailKindOf(LibraryKind::Accessories, AccessorySubKind::Clothing)),
              ThumbnailArea::Square);
    EXPECT_EQ(areaSize(ThumbnailArea::Square), QSize(67, 67));
}

TEST(ThumbnailPicture, DrawnAtItsRectangleLipsInTheLipColourBadFilesBlank) {
    test::LibraryStudio st;
    const QString hair = st.folder.component("faxing/dz1.tta", 380, 480, 0xFFFF0000u);
    QImage pic;
    ASSERT_TRUE(renderThumbnail(hair, ThumbnailKind::Hairstyle, 0, pic));
    ASSERT_EQ(pic.size(), QSize(100, 100));
    EXPECT_EQ(raw(pic, 0, 0), 0xFFFF0000u);
    EXPECT_EQ(raw(pic, 97, 99), 0xFFFF0000u);
    EXPECT_EQ(raw(pic, 98, 50), 0xFFFFFFFFu);  // the drawing is two pixels left of the edge

    const QString lip = st.folder.component("zuixing/k1.tta", 100, 50, 0xFF0000FFu);  // blue in the file
    ASSERT_TRUE(renderThumbnail(lip, ThumbnailKind::Lips, colourValue(255, 0, 80), pic));
    EXPECT_EQ(raw(pic, 30, 30), 0xFFFF0050u);
    EXPECT_EQ(raw(pic, 30, 3), 0xFFFFFFFFu);  // above the rectangle at y = 6

    const QString half = st.folder.component("zuixing/k2.tta", 100, 50, 0x800000FFu);
    ASSERT_TRUE(renderThumbnail(half, ThumbnailKind::Lips, colourValue(0, 0, 0), pic));
    EXPECT_EQ(raw(pic, 30, 30), 0xFF7F7F7Fu);  // black at alpha 128 over white

    QFile::resize(lip, 40);
    EXPECT_FALSE(renderThumbnail(lip, ThumbnailKind::Lips, 0, pic));
    EXPECT_TRUE(pic.isNull());
    EXPECT_FALSE(renderThumbnail(st.folder.file("zuixing/none.tta"), ThumbnailKind::Lips, 0, pic));
}

TEST(Openers, SetKindFolderCodesPatternAndCaptions) {
    test::LibraryStudio st;
    LibraryState& lib = st.s.session.library;
    st.s.doc.design.lipColour = colourValue(1, 2, 3);
    LibraryBrowser lips(st.s, LibraryKind::Lips);
    lips.open();
    EXPECT_EQ(lib.currentKind, LibraryKind::Lips);
    EXPECT_EQ(lib.folder, st.s.P + "/zuixing/");
    EXPECT_EQ(lib.pattern, st.s.P + "/zuixing/k*");
    EXPECT_EQ(lib.lipCode, "k");
    EXPECT_EQ(st.s.doc.design.lipColour, colourValue(255, 0, 80));
    EXPECT_EQ(st.s.doc.design.zuixingnd, -50);
    EXPECT_EQ(lips.panel().resetCaption, "唇型复原");
    EXPECT_EQ(lips.panel().colourCaption, "唇型颜色浓淡");
    EXPECT_EQ(lips.panel().warpSize, 8);

    LibraryBrowser brows(st.s, LibraryKind::Eyebrows);
    brows.open();
    EXPECT_TRUE(st.s.doc.design.woman);
    EXPECT_EQ(lib.pattern, st.s.P + "/meimao/k*");
    EXPECT_EQ(brows.panel().resetCaption, "眉毛复原");
    EXPECT_EQ(brows.panel().warpSize, 7);
    brows.selectCategory(7);
    EXPECT_FALSE(st.s.doc.design.woman);
    EXPECT_EQ(lib.eyebrowCode, "m");
    brows.selectCategory(0);
    EXPECT_TRUE(st.s.doc.design.woman);

    LibraryBrowser acc(st.s, LibraryKind::Accessories);
    lib.accessorySubKind = AccessorySubKind::Necklace;
    acc.open();
    EXPECT_EQ(lib.accessorySubKind, AccessorySubKind::Hat);
    EXPECT_EQ(lib.pattern, st.s.P + "/maozi/*");
    EXPECT_FALSE(acc.panel().colourSliderShown);
    EXPECT_FALSE(acc.panel().warpShown);
    EXPECT_EQ(acc.panel().resetCaption, "饰品复位");
    acc.selectCategory(4);
    EXPECT_EQ(lib.folder, st.s.P + "/fuzhuang/");
    EXPECT_EQ(lib.accessorySubKind, AccessorySubKind::Clothing);
    EXPECT_TRUE(acc.panel().warpShown);
    EXPECT_EQ(acc.panel().warpSize, 7);
    EXPECT_FALSE(acc.panel().moveAcrossShown);
    acc.selectCategory(2);
    EXPECT_TRUE(acc.panel().moveAcrossShown);
    EXPECT_FALSE(acc.panel().stretchUpDownShown);

    LibraryBrowser hair(st.s, LibraryKind::Hairstyles);
    hair.open();
    EXPECT_EQ(lib.currentKind, LibraryKind::Hairstyles);
    EXPECT_EQ(lib.pattern, st.s.P + "/faxing/d*z*");
    hair.selectCategory(4);
    EXPECT_EQ(lib.pattern, st.s.P + "/faxing/p**");
    EXPECT_EQ(lib.hairFirstCode, "p");
    EXPECT_EQ(lib.hairSecondCode, "");
}

TEST(Browser, UnreadableThumbnailIsBlankAndDisabledAndCannotBeApplied) {
    test::LibraryStudio st;
    st.components("meimao", {"k1.tta", "k2.tta", "k3.tta"}, 180, 40);
    QFile::resize(st.folder.file("meimao/k2.tta"), 10);
    LibraryBrowser b(st.s, LibraryKind::Eyebrows);
    b.open();
    EXPECT_TRUE(b.thumbnailEnabled(0));
    EXPECT_FALSE(b.thumbnailEnabled(1));
    EXPECT_TRUE(b.thumbnail(1).isNull());
    // The broken one says why; the good ones and the empty places say nothing.
    EXPECT_TRUE(b.thumbnailProblem(1).contains("k2.tta")) << b.thumbnailProblem(1).toStdString();
    EXPECT_TRUE(b.thumbnailProblem(0).isEmpty());
    EXPECT_TRUE(b.thumbnailProblem(3).isEmpty());
    EXPECT_TRUE(b.thumbnailEnabled(2));
    EXPECT_FALSE(b.thumbnailEnabled(3));
    EXPECT_TRUE(b.stripAreaShown());
    const DesignState before = st.s.doc.design;
    EXPECT_FALSE(b.apply(1).done);
    EXPECT_FALSE(b.apply(4).done);
    EXPECT_EQ(st.s.doc.design.meimaoxingname, before.meimaoxingname);
    EXPECT_EQ(st.s.session.history.position, 0);
}

TEST(Browser, ApplyingSetsTheKindRecomposesAndRecordsOneSnapshot) {
    test::LibraryStudio st;
    st.s.doc.design.lipColour = colourValue(0, 0, 255);
    st.folder.component("zuixing/k1.tta", 100, 50, 0xFF00FF00u);
    st.folder.component("maozi/h1.tta", 380, 250, 0xFF00FF00u);
    st.folder.component("yanjing/g1.tta", 180, 70, 0xFF112233u);
    st.folder.component("fuzhuang/c1.tta", 400, 190, 0xFF445566u);
    LibraryBrowser lips(st.s, LibraryKind::Lips);
    lips.open();
    st.s.doc.design.zuixingnd = 0;  // full strength, so the canvas shows the plain lip colour
    st.s.doc.flags.modified(Kind::zuixing) = true;
    st.s.doc.flags.modified(Kind::meimao) = true;
    const QImage before = st.s.session.views.Pichuaban.copy();
    const LibraryApplied r = lips.apply(0);
    ASSERT_TRUE(r.done);
    EXPECT_TRUE(r.problems.isEmpty()) << r.problems.join('\n').toStdString();
    EXPECT_EQ(st.s.doc.design.zuixingname, st.folder.file("zuixing/k1.tta"));
    EXPECT_FALSE(st.s.doc.flags.modified(Kind::zuixing));
    EXPECT_TRUE(st.s.doc.flags.modified(Kind::meimao));  // another kind's flag stays
    EXPECT_NE(st.s.session.views.Pichuaban, before);
    EXPECT_GT(pixelsOf(st.s.session.views.Pichuaban, 0xFF0050u), 1000);  // the lips, in the lip colour
    EXPECT_EQ(st.s.session.history.position, 1);
    EXPECT_TRUE(st.snapshotExists(1));
    EXPECT_FALSE(st.snapshotExists(2));
    EXPECT_EQ(lips.panel().colourSlider, -10);  // a lip click leaves the colour slider

    LibraryBrowser acc(st.s, LibraryKind::Accessories);
    acc.open();
    ASSERT_TRUE(acc.apply(0).done);
    EXPECT_EQ(st.s.doc.design.maoziname, st.folder.file("maozi/h1.tta"));
    acc.selectCategory(1);
    EXPECT_TRUE(acc.stripAreaShown());
    ASSERT_TRUE(acc.apply(0).done);
    EXPECT_EQ(st.s.doc.design.yanjingname, st.folder.file("yanjing/g1.tta"));
    EXPECT_EQ(acc.panel().colourSlider, 0);  // a strip click puts the colour slider to 0
    acc.selectCategory(4);
    EXPECT_FALSE(acc.stripAreaShown());
    st.s.doc.flags.modified(Kind::fuzhuang) = true;
    ASSERT_TRUE(acc.apply(0).done);
    EXPECT_EQ(st.s.doc.design.fuzhuangname, st.folder.file("fuzhuang/c1.tta"));
    EXPECT_FALSE(st.s.doc.flags.modified(Kind::fuzhuang));
    EXPECT_EQ(st.s.session.history.position, 4);
    EXPECT_FALSE(st.snapshotExists(5));
}

TEST(Browser, StaysTiedToItsKindWhenAnotherLibraryOpens) {
    test::LibraryStudio st;
    st.components("meimao", {"k1.tta", "k2.tta", "k3.tta", "k4.tta", "k5.tta", "k6.tta", "k7.tta"}, 180, 40);
    st.components("faxing", {"dz1.tta"}, 380, 480);
    LibraryBrowser brows(st.s, LibraryKind::Eyebrows);
    brows.open();
    LibraryBrowser hair(st.s, LibraryKind::Hairstyles);
    hair.open();
    ASSERT_EQ(st.s.session.library.currentKind, LibraryKind::Hairstyles);
    brows.nextPage();
    EXPECT_TRUE(brows.thumbnailEnabled(0));
    EXPECT_EQ(brows.thumbnail(0).size(), QSize(100, 33));  // still drawn as eyebrows
    const LibraryApplied r = brows.apply(0);
    ASSERT_TRUE(r.done);
    EXPECT_EQ(st.s.doc.design.meimaoxingname, st.folder.file("meimao/k7.tta"));
    EXPECT_EQ(st.s.doc.design.faxingname, QString());
    EXPECT_EQ(st.s.session.library.currentKind,
              LibraryKind::Eyebrows);  // the window used last is the current kind
    EXPECT_EQ(brows.panel().colourSlider, 0);
}
