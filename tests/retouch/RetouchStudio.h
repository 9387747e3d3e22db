#pragma once
#include "compositor/Composition.h"
#include "retouch/ToolDispatch.h"
#include "shell/ShellFixture.h"

namespace ms::test {

// A studio on the quadrant portrait with every kind at its empty default, a 16 x 16 opaque brush
// pattern "penqiang/1.tta" and an opaque soft disc mask, so stamps copy exactly.
struct RetouchStudio {
    ShellFolder folder;
    StudioState s;
    CanvasTools tools;
    RetouchStudio() {
        pattern(1, PixelGrid(16, 16, 0xFFFFFFFFu));
        EXPECT_TRUE(savePictureBmp(folder.file(QLatin1String(toolfiles::kSoftDiscMask)),
                                   solidPicture(50, 50, QColor(255, 255, 255))));
        EXPECT_TRUE(initialiseStudio(s, folder.path()));
        EXPECT_TRUE(CHUSHI_MOBAN(s));
    }
    void pattern(int n, const PixelGrid& g) { folder.component(toolfiles::brushPattern(n), g); }
    ToolState& t() { return s.session.tools; }
    QImage& PicMT() { return s.doc.design.PicMT; }
    QImage& view() { return s.session.views.Pichuaban; }

    ToolResult on(View v, MouseAction a, QPointF canvasPos, Qt::MouseButton b = Qt::LeftButton,
                  bool alt = false) {
        CanvasEvent e;
        e.action = a;
        e.button = a == MouseAction::Move ? Qt::NoButton : b;
        e.buttons = a == MouseAction::Up ? Qt::MouseButtons() : Qt::MouseButtons(b);
        e.alt = alt;
        // The magnified view reports its own pixels: 0.6225 canvas pixels each.
        e.pos = v == View::Canvas ? canvasPos : canvasPos / 0.6225;
        return tools.handle(s, v, e);
    }
    // A left drag from a to b in whole steps, pressed and released.
    void drag(View v, QPointF a, QPointF b, Qt::MouseButton button = Qt::LeftButton) {
        on(v, MouseAction::Down, a, button);
        const int n = 8;
        for (int k = 1; k <= n; ++k) on(v, MouseAction::Move, a + (b - a) * k / n, button);
        on(v, MouseAction::Up, b, button);
    }
};

inline QRgb rgbAt(const QImage& img, int x, int y) { return img.pixel(x, y) & 0xFFFFFFu; }

}  // namespace ms::test
