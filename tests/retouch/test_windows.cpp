// The makeup tools driven with QTest on the real main window: options and colours in the makeup
// and palette windows, strokes through real mouse events on the canvas view and the magnified view.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>

#include "compositor/Composition.h"
#include "retouch/ColourPicture.h"
#include "retouch/Frmsebiao1.h"
#include "retouch/Frmsebiao2.h"
#include "shell/CanvasView.h"
#include "shell/HotLabel.h"
#include "shell/MainWindowFixture.h"
#include "support/AppEnvironment.h"

using namespace ms;

namespace {

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    test::addApplication<QApplication>("test_retouch_ui");

// The main window with the tools' files: a 16 x 16 opaque brush, an opaque disc, one cursor.
struct Studio : MainWindow {
    Studio() {
        folder.component(toolfiles::brushPattern(1), PixelGrid(16, 16, 0xFFFFFFFFu));
        folder.component(toolfiles::brushPattern(3), PixelGrid(6, 6, 0xFFFFFFFFu));
        EXPECT_TRUE(savePictureBmp(folder.file(QLatin1String(toolfiles::kSoftDiscMask)),
                                   test::solidPicture(50, 50, Qt::white)));
        QImage pen(32, 32, QImage::Format_ARGB32);
        pen.fill(Qt::transparent);
        pen.setPixel(2, 29, qRgba(0, 0, 0, 255));
        EXPECT_TRUE(pen.save(folder.file("ziyuan/hb.ico"), "ICO"));
        if (welcome()) welcome()->close();
        click("Imgbz");
        makeup = w->findChild<Frmsebiao2*>("Frmsebiao2");
        EXPECT_NE(makeup, nullptr);
        canvas = get<CanvasView>("Pichuaban");
        magnified = get<CanvasView>("Picfangda");
    }
    Frmsebiao2* makeup = nullptr;
    CanvasView* canvas = nullptr;
    CanvasView* magnified = nullptr;
    QImage& PicMT() { return studio.doc.design.PicMT; }
    QImage& view() { return studio.session.views.Pichuaban; }

    void option(int k) { QTest::mouseClick(makeup->Option[k - 1], Qt::LeftButton); }
    static void send(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton b, Qt::MouseButtons held,
                     Qt::KeyboardModifiers mods = {}) {
        QMouseEvent e(type, QPointF(at), w->mapToGlobal(QPointF(at)), b, held, mods);
        QApplication::sendEvent(w, &e);
    }
    // A drag with one button from a to b in view pixels.
    static void drag(QWidget* w, QPoint a, QPoint b, Qt::MouseButton button = Qt::LeftButton,
                     Qt::KeyboardModifiers mods = {}) {
        send(w, QEvent::MouseButtonPress, a, button, button, mods);
        for (int k = 1; k <= 6; ++k)
            send(w, QEvent::MouseMove, a + (b - a) * k / 6, Qt::NoButton, button, mods);
        send(w, QEvent::MouseButtonRelease, b, button, Qt::NoButton, mods);
    }
};

// Clearly different pixels of two pictures of the canvas size.
int differing(const QImage& a, const QImage& b) {
    int n = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 380; ++x) n += (a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF);
    return n;
}

}  // namespace

TEST(MakeupWindow, OpensFromTheStripWithThePanelAndTheToolsUnlocked) {
    Studio t;
    t.studio.session.tools.locked = true;
    t.click("Imgbz");
    EXPECT_FALSE(t.studio.session.tools.locked);
    EXPECT_TRUE(t.makeup->isVisible());
    EXPECT_TRUE(t.get("Fragjbz")->isVisible());
    EXPECT_EQ(t.text("LabSM"), "化妆工具选择");
    EXPECT_EQ(
        t.get<QLabel>("Fragjbz_text_1")->text(),
        "复制工具用法：                 点击复制工具后，在画像选择被复制的部位，按住键盘上Alt键同时点击鼠标"
        "左键，然后松开鼠标，移动到要复制的部位，按住鼠标左键移动，开始选中的部位就复制到当前部位，按住右键"
        "拖动可恢复原样。");
    EXPECT_EQ(t.canvas->cursor().shape(), Qt::BitmapCursor);  // the pen's own cursor

    // A cursor file that is missing gives a standard cursor and one message.
    t.option(2);
    EXPECT_EQ(t.canvas->cursor().shape(), Qt::CrossCursor);
    auto* message = t.w->findChild<QMessageBox*>("message");
    ASSERT_NE(message, nullptr);
    EXPECT_TRUE(message->text().contains("pq.ico"));
    message->close();
    t.option(1);
    t.option(2);
    EXPECT_FALSE(message->isVisible());

    // The hair tools close it and hide the panel.
    t.click("Imgfx1");
    QTest::qWait(0);
    EXPECT_FALSE(t.w->findChild<Frmsebiao2*>("Frmsebiao2"));
    EXPECT_FALSE(t.get("Fragjbz")->isVisible());
}

TEST(MakeupWindow, EveryToolPaintsThroughRealMouseEventsOnTheCanvasView) {
    Studio t;
    t.studio.session.tools.colour = colourValue(0, 0, 255);
    const QImage photo = t.PicMT();

    t.option(1);  // pen: a line, committed on release
    Studio::drag(t.canvas, {40, 300}, {120, 300});
    EXPECT_EQ(t.PicMT().pixel(80, 300) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(t.studio.doc.design.PicMT0, t.PicMT());

    t.option(2);  // brush: one stamp on release, shown under the layers
    Studio::drag(t.canvas, {200, 100}, {200, 100});
    EXPECT_EQ(t.view().pixel(200, 100) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(t.studio.session.tools.Shape5.rect.size(), QSize(7, 7));

    const QImage beforeSoften = t.PicMT();
    t.option(5);  // soften over the pen line
    Studio::drag(t.canvas, {70, 300}, {90, 300});
    EXPECT_GT(differing(t.PicMT(), beforeSoften), 20);

    t.option(7);  // eraser: the brush stamp goes, the committed pen line stays
    Studio::drag(t.canvas, {196, 100}, {204, 100});
    EXPECT_NE(t.PicMT().pixel(200, 100) & 0xFFFFFF, 0x0000FFu);

    const QImage beforeClone = t.PicMT();
    t.option(6);  // clone: Alt + click the source, then a press
    Studio::drag(t.canvas, {80, 300}, {80, 300}, Qt::LeftButton, Qt::AltModifier);
    Studio::drag(t.canvas, {300, 400}, {300, 400});
    EXPECT_EQ(t.PicMT().pixel(300, 400), t.studio.doc.design.PicMT0.pixel(80, 300));
    EXPECT_GT(differing(t.PicMT(), beforeClone), 100);

    const QImage beforeConcealer = t.PicMT();
    t.option(3);  // concealer: the skin where the stroke began, spread along it
    Studio::drag(t.canvas, {150, 50}, {250, 50});
    EXPECT_EQ(t.PicMT().pixel(250, 50), beforeConcealer.pixel(150, 50));
    EXPECT_NE(t.PicMT(), photo);
}

TEST(MakeupWindow, MagnifiedViewStrokesAndTheRightButtonRestore) {
    Studio t;
    t.click("Imgda");
    ASSERT_TRUE(t.magnified->isVisible());
    t.studio.session.tools.canvasDrawColour = colourValue(255, 0, 0);
    const QImage composed = t.view();

    t.option(1);  // pen on the canvas view itself
    Studio::drag(t.magnified, {100, 400}, {300, 400});
    const int y = roundHalfEven(400 * 0.6225);
    const auto isRed = [](QRgb p) { return qRed(p) > 240 && qGreen(p) < 16 && qBlue(p) < 16; };
    EXPECT_TRUE(isRed(t.view().pixel(120, y)));
    EXPECT_EQ(t.PicMT(), t.studio.doc.design.PicMT0) << "the working photo is not painted";
    const QRgb shown = t.studio.session.views.Picfangda.pixel(192, int((y + 0.5) * 1.6));
    EXPECT_GT(qRed(shown) - qGreen(shown), 100) << "the magnified view shows the line";

    // "撤消化妆" shows what the magnified view's tools kept; "清除全部化妆" recomposes.
    QPainter(&t.view()).fillRect(0, 0, 20, 20, Qt::black);
    QTest::mouseClick(t.makeup->Command2, Qt::LeftButton);
    EXPECT_TRUE(isRed(t.view().pixel(120, y)));
    EXPECT_NE(t.view().pixel(5, 5) & 0xFFFFFF, 0u);

    Studio::drag(t.magnified, {150, 400}, {250, 400}, Qt::RightButton);
    EXPECT_EQ(t.view().pixel(120, y), composed.pixel(120, y));

    t.option(6);  // clone: Alt + press, then a drag
    Studio::drag(t.magnified, {200, 200}, {200, 200}, Qt::LeftButton, Qt::AltModifier);
    const QImage beforeClone = t.view();
    Studio::drag(t.magnified, {400, 600}, {420, 600});
    EXPECT_GT(differing(t.view(), beforeClone), 500);
    QTest::mouseClick(t.makeup->Command1, Qt::LeftButton);
    EXPECT_EQ(differing(t.view(), composed), 0);
}

TEST(MakeupWindow, EyedropperPicksFromThePortraitAndKeepsTheTool) {
    Studio t;
    t.option(2);
    t.option(4);
    EXPECT_EQ(t.studio.session.tools.mode, ToolMode::brush);
    auto* stand = t.get<CanvasView>("Pichuaban1");
    ASSERT_TRUE(stand->isVisible());
    EXPECT_FALSE(t.canvas->isVisible());
    Studio::drag(stand, {300, 400}, {300, 400});
    const QRgb under = t.studio.session.views.Pichuaban.pixel(300, 400);
    EXPECT_EQ(t.studio.session.tools.colour, colourValue(qRed(under), qGreen(under), qBlue(under)));
    EXPECT_TRUE(t.canvas->isVisible());
    EXPECT_FALSE(stand->isVisible());
    EXPECT_FALSE(t.makeup->Option[3]->isChecked());
    EXPECT_EQ(t.studio.session.tools.mode, ToolMode::brush);

    // The chart picks only with the eyedropper chosen.
    const int32_t before = t.studio.session.tools.colour;
    QTest::mouseClick(t.makeup->Picture1, Qt::LeftButton, {}, QPoint(12, 12));
    EXPECT_EQ(t.studio.session.tools.colour, before);
}

TEST(PaletteWindow, TheLipClientShowsThePickAndABackgroundClickCloses) {
    Studio t;
    Frmsebiao1* palette = t.w->openPalette();
    QImage chart(205, 97, QImage::Format_RGB32);
    chart.fill(QColor(180, 30, 90));
    ASSERT_TRUE(palette->isVisible());
    std::optional<int32_t> lips;
    QObject::connect(palette, &Frmsebiao1::lipColourPicked, [&lips](int32_t c) { lips = c; });
    emit palette->Picture1->released(Qt::RightButton, colourValue(1, 2, 3));
    EXPECT_FALSE(lips);
    emit palette->Picture1->released(Qt::LeftButton, colourValue(180, 30, 90));
    EXPECT_EQ(lips, colourValue(180, 30, 90));
    EXPECT_EQ(t.studio.doc.design.lipColour, colourValue(180, 30, 90));
    EXPECT_EQ(palette->Label3->text(), QString::number(colourValue(180, 30, 90)));
    QTest::mouseClick(palette, Qt::LeftButton, {}, QPoint(2, 2));
    QTest::qWait(0);
    EXPECT_FALSE(t.w->findChild<Frmsebiao1*>("Frmsebiao1"));
}
