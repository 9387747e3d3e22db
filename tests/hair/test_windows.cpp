// The hair colour and hair tools windows driven from the real main window's tool strip, with real
// mouse events on the canvas view.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

#include "compositor/Composition.h"
#include "hair/Frmyanse.h"
#include "hair/frmfx.h"
#include "platform/DragSlider.h"
#include "retouch/ColourPicture.h"
#include "retouch/Frmsebiao1.h"
#include "shell/CanvasView.h"
#include "shell/MainWindowFixture.h"
#include "support/AppEnvironment.h"

using namespace ms;

namespace {

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    test::addApplication<QApplication>("test_hair_ui");

// The main window wearing hairstyle dz001 (opaque, from the test folder), with a 10 x 10 opaque
// brush and a 20 x 20 opaque scissor shape.
struct HairWindow : MainWindow {
    HairWindow() {
        folder.component(toolfiles::brushPattern(1), PixelGrid(10, 10, 0xFFFFFFFFu));
        folder.component(toolfiles::scissorShape(4), PixelGrid(20, 20, 0xFFFFFFFFu));
        if (welcome()) welcome()->close();
        studio.doc.design.faxingname = folder.file("faxing/dz001.tta");
        EXPECT_TRUE(huaban_hecheng2(studio));
        canvas = get<CanvasView>("Pichuaban");
    }
    CanvasView* canvas = nullptr;
    uint32_t hairAt(int x, int y) { return test::raw(studio.doc.surfaces.of(Kind::faxing).image(), x, y); }
    void drag(QPoint a, QPoint b) {
        sendMouse(canvas, QEvent::MouseButtonPress, a, Qt::LeftButton, Qt::LeftButton);
        for (int k = 1; k <= 4; ++k)
            sendMouse(canvas, QEvent::MouseMove, a + (b - a) * k / 4, Qt::NoButton, Qt::LeftButton);
        sendMouse(canvas, QEvent::MouseButtonRelease, b, Qt::LeftButton, Qt::NoButton);
    }
};

}  // namespace

TEST(HairColourWindow, PresetsDyeHighlightsPaintAndClear) {
    HairWindow t;
    t.click("Imgfx2");
    Frmyanse* w = t.w->hairColour();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(t.studio.session.tools.locked);
    EXPECT_FALSE(t.canvas->isEnabled());
    const uint32_t plain = t.hairAt(100, 100);
    QTest::mouseClick(w->optqita[10], Qt::LeftButton);
    EXPECT_EQ(w->Slider1->value(), -150);
    EXPECT_NE(t.hairAt(100, 100), plain);
    EXPECT_EQ(t.studio.session.views.Pichuaban.pixel(100, 100), t.studio.doc.surfaces.canvas.pixel(100, 100));
    // A drag without release dyes nothing; the release does.
    w->Slider3->setValue(-500);
    const uint32_t blue = t.hairAt(100, 100);
    EXPECT_EQ(t.hairAt(100, 100), blue);
    QTest::mouseClick(w->Slider3, Qt::LeftButton, {}, w->Slider3->rect().center());
    EXPECT_NE(t.hairAt(100, 100), blue);

    const uint32_t darker = t.hairAt(100, 100);
    QTest::mouseClick(w->Command1, Qt::LeftButton);
    EXPECT_EQ(t.hairAt(100, 100), darker);  // highlights go on top of the dye
    auto* palette = t.w->findChild<Frmsebiao1*>("Frmsebiao1");
    ASSERT_NE(palette, nullptr);
    emit palette->Picture2->released(Qt::LeftButton, colourValue(250, 220, 120));
    EXPECT_EQ(t.studio.session.tools.mode, ToolMode::brush);
    EXPECT_TRUE(t.canvas->isEnabled());
    EXPECT_EQ(w->Label4->palette().color(QPalette::Window), QColor(250, 220, 120));
    t.drag(QPoint(60, 100), QPoint(120, 100));
    EXPECT_EQ(t.hairAt(90, 100) & 0xFFFFFFu, 0xFADC78u);
    EXPECT_EQ(t.hairAt(90, 140), darker);

    QTest::mouseClick(w->Command2, Qt::LeftButton);
    EXPECT_EQ(t.hairAt(90, 100), plain);
}

TEST(HairToolsWindow, ScissorsCutWhereClickedAndTheSlidersMoveTheHair) {
    HairWindow t;
    t.click("Imgfx1");
    frmfx* w = t.w->hairTools();
    ASSERT_NE(w, nullptr);
    QTest::mouseClick(w->scissors[4], Qt::LeftButton);
    EXPECT_EQ(t.studio.session.tools.mode, ToolMode::scissors);
    EXPECT_TRUE(t.canvas->isEnabled());
    sendMouse(t.canvas, QEvent::MouseButtonPress, QPoint(150, 200), Qt::LeftButton, Qt::LeftButton);
    sendMouse(t.canvas, QEvent::MouseButtonRelease, QPoint(150, 200), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(qAlpha(t.hairAt(150, 200)), 0);
    EXPECT_EQ(qAlpha(t.hairAt(150, 230)), 255);
    EXPECT_EQ(qAlpha(t.studio.doc.surfaces.canvas.pixel(150, 200)), 255);

    QTest::keyClick(w->slider(MoveSlider::Slider5), Qt::Key_Right);
    EXPECT_EQ(t.studio.doc.design.geometry.faxingleft, 1);
    w->slider(MoveSlider::Slider6)->setValue(10);
    EXPECT_EQ(t.studio.doc.design.geometry.faxingheight, -20);
    EXPECT_EQ(t.studio.doc.design.geometry.faxingtop, 30);

    t.studio.session.library.currentKind = LibraryKind::Hairstyles;
    QTest::mouseClick(w->Cmdfuwei, Qt::LeftButton);
    EXPECT_EQ(t.studio.doc.design.geometry, LayerGeometry());
    EXPECT_EQ(qAlpha(t.hairAt(150, 200)), 255);  // the cut is undone with the file

    // Shaping: the hair tools' size makes the outline.
    QTest::mouseClick(w->shaping, Qt::LeftButton, {}, QPoint(8, w->shaping->height() / 2));
    EXPECT_EQ(t.studio.session.tools.mode, ToolMode::warp);
    EXPECT_FALSE(w->scissors[4]->isChecked());  // one option at a time
    QTest::mouseClick(w->scissors[2], Qt::LeftButton);
    EXPECT_FALSE(w->shaping->isChecked());
    QTest::mouseClick(w->shaping, Qt::LeftButton, {}, QPoint(8, w->shaping->height() / 2));
    w->Slider1->setValue(4);
    sendMouse(t.canvas, QEvent::MouseMove, QPoint(100, 100), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(t.studio.session.tools.Shape5.rect.width(), 16);
}
