#include <gtest/gtest.h>

#include <QFile>
#include <QThread>

#include "RetouchStudio.h"
#include "retouch/MakeupTools.h"

using namespace ms;
using test::RetouchStudio;
using test::rgbAt;

namespace {

// Every pixel names its own position: red x, green y (both below 256 in the tests' areas).
QImage coded() {
    QImage img(380, 480, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 380; ++x) img.setPixel(x, y, qRgb(x % 256, y % 256, 77));
    return img;
}

// A pattern w x 1 whose alpha rises smoothly from 0 at the left to 4 (w - 1) at the right.
PixelGrid ramp(int w) {
    PixelGrid g(w, 1);
    for (int x = 0; x < w; ++x) g.at(x, 0) = pixelBGRA(255, 255, 255, 4 * x);
    return g;
}

}  // namespace

TEST(ToolDispatch, TheMagnifiedViewMapsPointsByPoint83AndStampsTheBrushThere) {
    EXPECT_EQ(toCanvas(View::Canvas, {10.5, 7}), QPointF(10.5, 7));
    // View point (100, 200) is view pixel (133.3, 266.7): canvas (83, 166).
    const QPointF c = toCanvas(View::Magnified, QPointF(100, 200) / 0.75);
    EXPECT_NEAR(c.x(), 83, 1e-9);
    EXPECT_NEAR(c.y(), 166, 1e-9);

    RetouchStudio t;
    t.pattern(1, PixelGrid(16, 16, 0xFFFFFFFFu));
    t.t().mode = ToolMode::brush;
    t.t().colour = colourValue(250, 0, 0);
    const ToolResult r = t.on(View::Magnified, MouseAction::Down, {83, 166});
    EXPECT_EQ(r.recompose, Recompose::None);
    EXPECT_EQ(r.cursor, toolfiles::CursorId::Brush);
    EXPECT_EQ(rgbAt(t.view(), 75, 158), 0xFA0000u);
    EXPECT_EQ(rgbAt(t.view(), 89, 172), 0xFA0000u);
    EXPECT_NE(rgbAt(t.view(), 74, 158), 0xFA0000u);
    EXPECT_NE(rgbAt(t.view(), 90, 172), 0xFA0000u);  // one pixel smaller than the pattern
    EXPECT_NE(rgbAt(t.PicMT(), 80, 160), 0xFA0000u) << "the magnified view paints on the canvas view";
}

TEST(ToolDispatch, TheToolsLockStopsBothViewsButNotTheMagnifiedRestore) {
    RetouchStudio t;
    t.t().locked = true;
    const QImage photo = t.PicMT();
    for (ToolMode m : {ToolMode::pen, ToolMode::soften, ToolMode::eraser, ToolMode::concealer}) {
        t.t().mode = m;
        t.drag(View::Canvas, {100, 100}, {140, 120});
        t.drag(View::Magnified, {100, 100}, {140, 120});
    }
    EXPECT_EQ(t.PicMT(), photo);

    // Something drawn over the canvas view is brushed away by a right drag, lock or no lock.
    QPainter(&t.view()).fillRect(QRect(90, 90, 40, 40), Qt::black);
    const ToolResult r = t.on(View::Magnified, MouseAction::Move, {110, 110}, Qt::RightButton);
    EXPECT_EQ(r.cursor, toolfiles::CursorId::Eraser);
    EXPECT_EQ(rgbAt(t.view(), 110, 110), rgbAt(t.s.doc.surfaces.canvas, 110, 110));
    EXPECT_EQ(t.on(View::Magnified, MouseAction::Up, {110, 110}, Qt::RightButton).magnifiedCursor,
              toolfiles::CursorId::Locked);
}

TEST(ToolDispatch, MagnifiedCloneCopiesFromTheMovingSourceWithItsOffsetsAndLimits) {
    RetouchStudio t;
    t.t().mode = ToolMode::clone;
    const QImage before = coded();
    t.view() = before;
    t.t().cloneSource = {200, 200};
    t.t().cloneAnchor = {100, 100};
    t.on(View::Magnified, MouseAction::Move, {110, 120});
    // The area at (182, 188) lands at (85, 95).
    EXPECT_EQ(rgbAt(t.view(), 85, 95), rgbAt(before, 182, 188));
    EXPECT_EQ(rgbAt(t.view(), 134, 144), rgbAt(before, 231, 237));
    EXPECT_EQ(rgbAt(t.view(), 84, 95), rgbAt(before, 84, 95));
    EXPECT_EQ(t.s.session.views.Pichuaban1Kept, t.view());

    // The source corner stays inside: x 10 - 28 is raised to 0.
    t.view() = before;
    t.t().cloneSource = {10, 100};
    t.on(View::Magnified, MouseAction::Move, {100, 100});
    EXPECT_EQ(rgbAt(t.view(), 75, 75), rgbAt(before, 0, 68));

    // Alt + press chooses the source; a press sets the anchor there and stamps.
    t.view() = before;
    t.on(View::Magnified, MouseAction::Down, {60, 70}, Qt::LeftButton, true);
    EXPECT_NEAR(t.t().cloneSource.x(), 60, 1e-9);
    t.on(View::Magnified, MouseAction::Down, {150, 160.4});
    EXPECT_NEAR(t.t().cloneAnchor.x(), 150, 1e-9);
    EXPECT_EQ(t.t().cloneAnchor.y(), 160);
    EXPECT_EQ(rgbAt(t.view(), 125, 135), rgbAt(before, 32, 38));  // (60 - 28, 70 - 32)
}

TEST(ToolDispatch, CanvasBrushAndClonePaintOnceOnTheWorkingPhoto) {
    RetouchStudio t;
    t.t().mode = ToolMode::brush;
    t.t().colour = colourValue(0, 0, 250);
    const QImage photo = t.PicMT();
    t.on(View::Canvas, MouseAction::Down, {60, 60});
    const ToolResult moved = t.on(View::Canvas, MouseAction::Move, {60, 60});
    EXPECT_EQ(moved.recompose, Recompose::None);
    EXPECT_EQ(t.t().Shape5.rect, QRect(56, 56, 7, 7));  // 7 x brush size 1, 56.5 rounded to even
    EXPECT_EQ(t.PicMT(), photo) << "nothing while the button is held";
    EXPECT_EQ(t.on(View::Canvas, MouseAction::Up, {60, 60}).recompose, Recompose::Redraw);
    EXPECT_EQ(rgbAt(t.PicMT(), 60, 60), 0x0000FAu);
    EXPECT_EQ(rgbAt(t.view(), 60, 60), 0x0000FAu) << "under no layer: the view shows it";

    t.t().mode = ToolMode::clone;
    t.PicMT() = t.s.doc.design.PicMT0 = coded();
    t.on(View::Canvas, MouseAction::Down, {40, 50}, Qt::LeftButton, true);  // source
    EXPECT_EQ(t.t().Shape5.rect, QRect(32, 42, 16, 16));
    EXPECT_EQ(t.on(View::Canvas, MouseAction::Move, {200, 200}).recompose, Recompose::None);
    EXPECT_EQ(t.on(View::Canvas, MouseAction::Down, {200, 200}).recompose, Recompose::Reload);
    EXPECT_EQ(rgbAt(t.PicMT(), 192, 192), rgbAt(t.s.doc.design.PicMT0, 32, 42));
    t.on(View::Canvas, MouseAction::Down, {300, 300});  // the same source again
    EXPECT_EQ(rgbAt(t.PicMT(), 292, 292), rgbAt(t.s.doc.design.PicMT0, 32, 42));
}

TEST(ToolDispatch, TheDraggedEraserDoublesAlphaWithoutARingAndClearAllKeepsCommittedPen) {
    RetouchStudio t;
    t.pattern(1, ramp(64));
    t.t().mode = ToolMode::eraser;
    t.s.doc.design.PicMT0 = test::solidPicture(380, 480, Qt::white);
    t.PicMT() = test::solidPicture(380, 480, Qt::black);
    const ToolResult r = t.on(View::Canvas, MouseAction::Move, {100, 100});
    EXPECT_EQ(r.recompose, Recompose::Reload);
    EXPECT_TRUE(r.showPhotoAfter);
    EXPECT_EQ(t.view(), t.PicMT()) << "during the drag the view shows the photo alone";
    int last = -1;
    for (int x = 68; x < 132; ++x) {
        const int v = qRed(t.PicMT().pixel(x, 100));
        EXPECT_GE(v, last) << "a ring at x " << x;
        last = v;
    }
    EXPECT_EQ(qRed(t.PicMT().pixel(68 + 32, 100)), 255);  // alpha 128 doubled is full, not 0
    t.PicMT() = test::solidPicture(380, 480, Qt::black);
    t.on(View::Canvas, MouseAction::Up, {100, 100});
    EXPECT_EQ(qRed(t.PicMT().pixel(68 + 32, 100)), 128);  // the release counts once

    // Pen strokes are committed on release; brush stamps are not.
    RetouchStudio c;
    c.t().mode = ToolMode::pen;
    c.t().colour = colourValue(0, 200, 0);
    c.drag(View::Canvas, {50, 300}, {150, 300});
    c.t().mode = ToolMode::brush;
    c.on(View::Canvas, MouseAction::Up, {100, 200});
    ASSERT_EQ(rgbAt(c.PicMT(), 100, 200), 0x00C800u);
    EXPECT_TRUE(clearAllMakeup(c.s));
    EXPECT_EQ(rgbAt(c.PicMT(), 100, 300), 0x00C800u);
    EXPECT_NE(rgbAt(c.PicMT(), 100, 200), 0x00C800u);
    EXPECT_EQ(rgbAt(c.view(), 100, 300), 0x00C800u);
}

TEST(ToolDispatch, RestoreRemovesMagnifiedStrokesButNotCanvasOnes) {
    RetouchStudio t;
    t.t().mode = ToolMode::pen;
    t.t().colour = t.t().canvasDrawColour = colourValue(0, 0, 0);
    // The canvas view's stroke first: its recomposition would replace the magnified view's.
    t.drag(View::Canvas, {60, 300}, {120, 300});
    t.drag(View::Magnified, {60, 100}, {120, 100});
    ASSERT_EQ(rgbAt(t.view(), 90, 100), 0u);
    ASSERT_EQ(rgbAt(t.view(), 90, 300), 0u);
    t.drag(View::Magnified, {80, 100}, {100, 100}, Qt::RightButton);
    t.drag(View::Magnified, {80, 300}, {100, 300}, Qt::RightButton);
    EXPECT_NE(rgbAt(t.view(), 90, 100), 0u);
    EXPECT_EQ(rgbAt(t.view(), 90, 300), 0u);
}

TEST(ToolDispatch, SoftenRepeatsTheSameOnTheCanvasViewAndDeepensOnTheMagnifiedView) {
    RetouchStudio t;
    t.t().mode = ToolMode::soften;
    QImage stripes(380, 480, QImage::Format_RGB32);
    for (int x = 0; x < 380; ++x)
        for (int y = 0; y < 480; ++y) stripes.setPixel(x, y, x % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    t.PicMT() = t.s.doc.design.PicMT0 = stripes;
    t.on(View::Canvas, MouseAction::Move, {100, 100});
    const QImage once = t.PicMT();
    t.on(View::Canvas, MouseAction::Move, {100, 100});
    EXPECT_EQ(t.PicMT(), once);
    EXPECT_NE(once, stripes);

    t.view() = t.s.session.views.Pichuaban1 = stripes;
    t.on(View::Magnified, MouseAction::Move, {200, 200});
    const int first = qRed(t.view().pixel(200, 200));
    t.on(View::Magnified, MouseAction::Move, {200, 200});
    const int second = qRed(t.view().pixel(200, 200));
    EXPECT_LT(std::abs(second - 128), std::abs(first - 128));
}

TEST(ToolDispatch, WarpsTakeLayerRelativePointsInBothViewsAndTheSilentRowsDoNothing) {
    RetouchStudio t;
    t.s.doc.grids.hairstyle = t.s.doc.grids.hairstyleBackup = PixelGrid();  // no hairstyle
    t.s.doc.design.geometry.faxingleft = 10;
    t.s.doc.design.geometry.faxingtop = -4;
    t.s.session.library.currentKind = LibraryKind::Hairstyles;
    t.t().mode = ToolMode::warp;
    t.on(View::Canvas, MouseAction::Down, {100, 100});
    t.on(View::Canvas, MouseAction::Up, {120, 130.6});
    // The hairstyle is placed at 2 x faxingleft across: the grid point under the pointer.
    EXPECT_EQ(t.t().press, QPointF(80, 105));
    EXPECT_EQ(t.t().release, QPointF(100, 136));  // 135.6 rounded
    // No hairstyle on the canvas: nothing is warped and the layer is not marked.
    EXPECT_FALSE(t.s.doc.flags.modified(Kind::faxing));

    // The magnified view warps in the concealer mode, relative to the layer like the canvas view.
    t.s.doc.grids.eyebrow = t.s.doc.grids.eyebrowBackup = PixelGrid(180, 40, 0xFF102030u);
    t.s.doc.grids.eyebrow.at(50, 20) = 0xFFFFFFFFu;
    t.s.doc.design.geometry.mmtopz = 5;
    t.s.session.library.currentKind = LibraryKind::Eyebrows;
    t.t().libraryWarpSize = 2;
    t.t().mode = ToolMode::concealer;
    t.on(View::Magnified, MouseAction::Down, {150, 174});
    t.on(View::Magnified, MouseAction::Up, {160, 184.2});
    EXPECT_NEAR(t.t().press.y(), 179, 1e-9);
    EXPECT_EQ(t.t().release.y(), 189);
    EXPECT_TRUE(t.s.doc.flags.modified(Kind::meimao));
    EXPECT_NE(t.s.doc.grids.eyebrow.at(50, 20), 0xFFFFFFFFu);

    // The clothing is warped on the canvas view only.
    t.s.session.library.currentKind = LibraryKind::Accessories;
    t.s.doc.grids.clothing = t.s.doc.grids.clothingBackup = PixelGrid(400, 190, 0xFF000000u);
    t.s.doc.grids.clothing.at(100, 100) = 0xFFFFFFFFu;
    t.drag(View::Magnified, {100, 390}, {130, 400});
    EXPECT_FALSE(t.s.doc.flags.modified(Kind::fuzhuang));

    const QImage view = t.view();
    const QImage photo = t.PicMT();
    const PixelGrid brows = t.s.doc.grids.eyebrow;
    t.s.session.library.currentKind = LibraryKind::Eyebrows;
    for (ToolMode m : {ToolMode::warp, ToolMode::eraser, ToolMode::scissors}) {
        t.t().mode = m;
        t.drag(View::Magnified, {150, 174}, {170, 190});
    }
    EXPECT_EQ(t.view(), view);
    EXPECT_EQ(t.PicMT(), photo);
    EXPECT_EQ(t.s.doc.grids.eyebrow, brows);
}

TEST(ToolDispatch, AMissingPatternIsToldOnceAndAChangedOneIsReadAgain) {
    RetouchStudio t;
    QFile::remove(t.folder.file(toolfiles::brushPattern(1)));
    t.t().mode = ToolMode::brush;
    t.t().colour = colourValue(0, 0, 250);
    const QImage photo = t.PicMT();
    EXPECT_FALSE(t.on(View::Canvas, MouseAction::Up, {60, 60}).problem);
    EXPECT_TRUE(t.on(View::Canvas, MouseAction::Up, {60, 60}).problem) << "told once";
    EXPECT_EQ(t.PicMT(), photo);

    t.pattern(1, PixelGrid(4, 4, 0xFFFFFFFFu));
    t.on(View::Canvas, MouseAction::Up, {60, 60});
    EXPECT_EQ(t.t().patternWidth, 4);
    EXPECT_EQ(rgbAt(t.PicMT(), 60, 60), 0x0000FAu);
    QThread::msleep(20);
    t.pattern(1, PixelGrid(12, 12, 0xFFFFFFFFu));
    t.on(View::Canvas, MouseAction::Up, {200, 200});
    EXPECT_EQ(t.t().patternWidth, 12);

    QFile f(t.folder.file(QLatin1String(toolfiles::kSoftDiscMask)));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("BM not a picture");
    f.close();
    t.t().mode = ToolMode::clone;
    const QImage view = t.view();
    EXPECT_FALSE(t.on(View::Magnified, MouseAction::Move, {100, 100}).problem);
    EXPECT_EQ(t.view(), view);
}

TEST(MakeupTools, OptionsBrushSizeEyedropperAndUndo) {
    RetouchStudio t;
    openMakeupTools(t.s);
    EXPECT_EQ(t.t().brushPatternFile, t.folder.file("penqiang/1.tta"));
    setBrushSize(t.s, 4);
    EXPECT_EQ(t.t().Shape5.rect.size(), QSize(20, 20));
    EXPECT_EQ(t.t().canvasDrawWidth, 4);
    EXPECT_EQ(t.t().brushPatternFile, t.folder.file("penqiang/4.tta"));
    EXPECT_EQ(chooseMakeupOption(t.s, MakeupOption::Brush), toolfiles::CursorId::Brush);
    t.on(View::Canvas, MouseAction::Move, {100, 100});
    EXPECT_EQ(t.t().Shape5.rect.size(), QSize(28, 28));

    // The eyedropper leaves the tool mode; its pick is the pen's and the brush's colour.
    EXPECT_EQ(chooseMakeupOption(t.s, MakeupOption::Eyedropper), std::nullopt);
    EXPECT_EQ(t.t().mode, ToolMode::brush);
    beginEyedropper(t.s);
    const auto picked = colourAt(t.s.session.views.Pichuaban1Kept, {10, 10});
    ASSERT_TRUE(picked);
    EXPECT_EQ(*picked, colourValue(200, 40, 40));  // the portrait's top-left quadrant
    EXPECT_FALSE(colourAt(t.s.session.views.Pichuaban1Kept, {380, 10}));
    pickMakeupColour(t.s, *picked);
    EXPECT_EQ(t.t().canvasDrawColour, *picked);

    // "撤消化妆" brings back the view as the eyedropper kept it.
    const QImage kept = t.view();
    QPainter(&t.view()).fillRect(0, 0, 50, 50, Qt::black);
    undoMakeup(t.s);
    EXPECT_EQ(t.view(), kept);
}

TEST(MakeupTools, ThePaletteServesTheHighlightBrushOrTheLips) {
    RetouchStudio t;
    const PalettePick lips = paletteRelease(t.s, PalettePicture::Chart, colourValue(180, 20, 60));
    EXPECT_FALSE(lips.highlight);
    EXPECT_EQ(t.s.doc.design.lipColour, colourValue(180, 20, 60));
    EXPECT_EQ(t.t().mode, ToolMode::pen);

    t.t().highlightBrush = true;
    t.t().mode = ToolMode::pen;
    const PalettePick onPalette = paletteRelease(t.s, PalettePicture::Palette, colourValue(240, 200, 80));
    EXPECT_TRUE(onPalette.highlight);
    EXPECT_FALSE(onPalette.closePalette);
    EXPECT_EQ(t.t().mode, ToolMode::brush);
    EXPECT_EQ(t.t().colour, colourValue(240, 200, 80));
    EXPECT_EQ(t.t().brushPatternFile, t.folder.file("penqiang/1.tta"));
    EXPECT_TRUE(paletteRelease(t.s, PalettePicture::Chart, 0).closePalette);
    EXPECT_EQ(t.s.doc.design.lipColour, colourValue(180, 20, 60));
}
