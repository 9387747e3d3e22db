// The adjustments of the component library window driven with real mouse events on the real main
// window: move and stretch sliders, the brow sides, the reset, the warp tool on the canvas, the
// colour strength and the lip colour from the palette.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "library/FrmTK.h"
#include "library/FrmTK1.h"
#include "library/LibraryWindows.h"
#include "library/ThumbnailButton.h"
#include "platform/DragSlider.h"
#include "retouch/ColourPicture.h"
#include "retouch/Frmsebiao1.h"
#include "shell/CanvasView.h"
#include "shell/MainWindowFixture.h"
#include "support/AppEnvironment.h"

using namespace ms;
using test::solidPicture;

namespace {

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    test::addApplication<QApplication>("test_adjust_ui");

// A press on the handle of a slider at 0 (the middle of its range), moves with `held` towards
// one end and beyond it, and the release.
void dragToEnd(QSlider* s, bool toMaximum, Qt::MouseButtons held = Qt::LeftButton) {
    const QPoint middle = s->rect().center();
    const bool vertical = s->orientation() == Qt::Vertical;
    // Vertical sliders have their maximum at the bottom.
    const int sign = toMaximum ? 1 : -1;
    const QPoint step = vertical ? QPoint(0, sign * s->height() / 8) : QPoint(sign * s->width() / 8, 0);
    sendMouse(s, QEvent::MouseButtonPress, middle, Qt::LeftButton, held);
    for (int k = 1; k <= 6; ++k) sendMouse(s, QEvent::MouseMove, middle + step * k, Qt::NoButton, held);
    sendMouse(s, QEvent::MouseButtonRelease, middle + step * 6, Qt::LeftButton, Qt::NoButton);
}

void drag(QWidget* w, QPoint a, QPoint b) {
    sendMouse(w, QEvent::MouseButtonPress, a, Qt::LeftButton, Qt::LeftButton);
    for (int k = 1; k <= 4; ++k)
        sendMouse(w, QEvent::MouseMove, a + (b - a) * k / 4, Qt::NoButton, Qt::LeftButton);
    sendMouse(w, QEvent::MouseButtonRelease, b, Qt::LeftButton, Qt::NoButton);
}

// The main window with one eyebrow pair and one lip shape in its libraries.
struct AdjustWindow : MainWindow {
    AdjustWindow() {
        PixelGrid brows(180, 40, 0);
        for (int y = 15; y < 25; ++y)
            for (int x = 10; x < 170; ++x) brows.at(x, y) = pixelBGRA(30, 40, 50, 230);
        folder.component("meimao/k01.tta", brows);
        PixelGrid lips(100, 50, 0);
        for (int y = 15; y < 35; ++y)
            for (int x = 20; x < 80; ++x) lips.at(x, y) = pixelBGRA(9, 9, 9, 220);
        folder.component("zuixing/k01.tta", lips);
        if (welcome()) welcome()->close();
    }
    FrmTK* window() { return w->libraries().componentWindow(); }
    template <typename T = QWidget>
    T* control(const char* name) {
        T* c = window()->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    DragSlider* slider(MoveSlider m) { return window()->slider(m); }
    void applyFirst() {
        for (ThumbnailButton* b : window()->findChildren<ThumbnailButton*>())
            if (b->index() == 0 && b->isVisible())
                return QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
        ADD_FAILURE() << "no thumbnail shown";
    }
    LayerGeometry& g() { return studio.doc.design.geometry; }
};

}  // namespace

TEST(AdjustWindow, SlidersMoveTheOpenLayerOnlyWhileDraggedWithTheLeftButton) {
    AdjustWindow t;
    t.click("Imgmz");
    ASSERT_NE(t.window(), nullptr);
    dragToEnd(t.slider(MoveSlider::Slider4), true);
    EXPECT_EQ(t.g().maozitop, 40);
    EXPECT_EQ(t.slider(MoveSlider::Slider4)->value(), 10);

    // Keyboard steps, a click on the track and a drag with both buttons change no field.
    QSlider* across = t.slider(MoveSlider::Slider3);
    QTest::keyClick(across, Qt::Key_Right);
    EXPECT_EQ(across->value(), 1);
    QTest::mouseClick(across, Qt::LeftButton, {}, QPoint(across->width() - 3, across->height() / 2));
    dragToEnd(t.slider(MoveSlider::Slider5), true, Qt::LeftButton | Qt::RightButton);
    EXPECT_EQ(t.g().maoziWidth, 0);
    EXPECT_EQ(t.g().maozileft, 0);

    QTest::mouseClick(t.control<QPushButton>("Cmdfuwei"), Qt::LeftButton);
    EXPECT_EQ(t.g().maozitop, 0);
    for (int k = 0; k < kMoveSliderCount; ++k) EXPECT_EQ(t.slider(MoveSlider(k))->value(), 0);

    // One brow follows the slider; the side outlives the window, the sliders start at 0.
    t.click("Imgmm");
    QTest::mouseClick(t.control<QRadioButton>("Option5"), Qt::LeftButton);
    dragToEnd(t.slider(MoveSlider::Slider5), true);
    EXPECT_EQ(t.g().mmleftz, -10);
    EXPECT_EQ(t.g().mmlefty, 0);
    dragToEnd(t.slider(MoveSlider::Slider6), false);
    EXPECT_EQ(t.g().mmheightz, -10);
    t.click("Imgmm");
    EXPECT_TRUE(t.control<QRadioButton>("Option5")->isChecked());
    EXPECT_EQ(t.slider(MoveSlider::Slider5)->value(), 0);
    QTest::mouseClick(t.control<QRadioButton>("Option6"), Qt::LeftButton);
    EXPECT_EQ(t.g().mmleftz, 0);
    EXPECT_EQ(t.g().mmheightz, 0);
    EXPECT_EQ(t.studio.session.eyebrowSides, EyebrowSides::Both);
}

TEST(AdjustWindow, TheWarpToolReshapesTheBrowUnderThePointer) {
    AdjustWindow t;
    t.click("Imgmm");
    t.applyFirst();
    dragToEnd(t.slider(MoveSlider::Slider4), false);  // the brows 10 px up
    ASSERT_EQ(t.g().mmtopz, 10);
    auto* canvas = t.get<CanvasView>("Pichuaban");
    EXPECT_FALSE(canvas->isEnabled());  // the library window took the canvas's mouse
    QTest::mouseClick(t.control<QRadioButton>("check1"), Qt::LeftButton);
    EXPECT_TRUE(canvas->isEnabled());
    EXPECT_EQ(t.studio.session.tools.mode, ToolMode::warp);
    t.control<QSlider>("Slider1")->setValue(4);
    EXPECT_EQ(t.studio.session.tools.Shape5.rect.width(), 20);

    // The left brow's band is grid rows 15 .. 24, on the canvas at y 165 .. 174 less the 10 px.
    const PixelGrid before = t.studio.doc.grids.eyebrow;
    const QImage view = t.studio.session.views.Pichuaban.copy();
    drag(canvas, QPoint(140, 170), QPoint(140, 186));
    EXPECT_TRUE(t.studio.doc.flags.modified(Kind::meimao));
    EXPECT_NE(t.studio.doc.grids.eyebrow, before);
    EXPECT_NE(t.studio.session.views.Pichuaban, view);
    // Pulled down at x 140 (grid column 40), the brow now reaches below its band there.
    EXPECT_GT(alphaOf(t.studio.doc.grids.eyebrow.at(40, 12)), 0);
    EXPECT_EQ(alphaOf(before.at(40, 12)), 0);
}

TEST(AdjustWindow, StrengthOnReleaseAndLipColoursFromThePalette) {
    AdjustWindow t;
    t.click("Imgmm");
    t.applyFirst();
    QSlider* strength = t.control<QSlider>("Slider2");
    EXPECT_EQ(strength->value(), 0);  // a brow thumbnail puts it back to 0
    strength->setValue(-10);
    EXPECT_EQ(t.studio.session.eyebrowStrength, 0);  // no release yet
    QTest::mouseClick(strength, Qt::LeftButton, {}, strength->rect().center());
    EXPECT_EQ(t.studio.session.eyebrowStrength, 8 * strength->value());
    t.applyFirst();
    EXPECT_EQ(t.studio.session.eyebrowStrength, 0);

    t.click("Imgzx");
    EXPECT_TRUE(t.studio.session.lipDesignMode);
    t.applyFirst();
    QTest::mouseClick(t.control<QPushButton>("Command8"), Qt::LeftButton);
    auto* palette = t.w->findChild<Frmsebiao1*>("Frmsebiao1");
    ASSERT_NE(palette, nullptr);
    EXPECT_TRUE(palette->isVisible());
    emit palette->Picture1->released(Qt::LeftButton, colourValue(0, 180, 0));
    EXPECT_EQ(t.studio.doc.grids.lips.at(50, 25), pixelBGRA(0, 180, 0, 220));
    // The lip thumbnail shows the new colour.
    ThumbnailButton* first = nullptr;
    for (ThumbnailButton* b : t.window()->findChildren<ThumbnailButton*>())
        if (b->index() == 0 && b->isVisible()) first = b;
    ASSERT_NE(first, nullptr);
    const QImage thumb = first->grab().toImage();
    bool green = false;
    for (int y = 0; y < thumb.height() && !green; ++y)
        for (int x = 0; x < thumb.width() && !green; ++x) {
            const QColor c = thumb.pixelColor(x, y);
            green = c.green() > 150 && c.red() < 60 && c.blue() < 60;
        }
    EXPECT_TRUE(green);

    // The hairstyle library ends lip design: a pick changes the stored colour only.
    t.click("ImgFx");
    EXPECT_FALSE(t.studio.session.lipDesignMode);
    const PixelGrid lips = t.studio.doc.grids.lips;
    emit palette->Picture1->released(Qt::LeftButton, colourValue(200, 0, 200));
    EXPECT_EQ(t.studio.doc.design.lipColour, colourValue(200, 0, 200));
    EXPECT_EQ(t.studio.doc.grids.lips, lips);
}
