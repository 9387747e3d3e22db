// adjust-screenshot PROGRAM_FOLDER PHOTO OUT.png: the real main window on a real display (Xvfb)
// takes a client photo in, puts eyebrows on it, narrows them and brings them together with the
// sliders, arches the left brow with the warp tool by a real drag on the canvas view, then puts a
// hat on and stretches it; then saves a screenshot. Exit 0 when the brow was warped where it was
// dragged and the hat grew wider and taller.
#include <QRadioButton>
#include <cstdio>

#include "E2eSteps.h"
#include "library/FrmTK.h"
#include "library/FrmTK1.h"
#include "library/LibraryWindows.h"
#include "library/ThumbnailButton.h"
#include "platform/DragSlider.h"
#include "shell/CanvasView.h"

using namespace ms;
using namespace ms::e2e;

namespace {

// A slider at 0 dragged with the mouse to v: the handle is pressed in the middle and moved a
// pixel at a time until it shows v (vertical sliders have their maximum at the bottom).
void dragSlider(DragSlider* s, int v) {
    QPointF at(s->width() / 2.0, s->height() / 2.0);
    const QPointF step =
        s->orientation() == Qt::Vertical ? QPointF(0, v > 0 ? 1 : -1) : QPointF(v > 0 ? 1 : -1, 0);
    mouse(s, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    for (int k = 0; k < 400 && s->value() != v; ++k) {
        at += step;
        mouse(s, QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
    }
    mouse(s, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    settle(50);
}

// Opaque pixels of a layer's surface: how much of it shows.
int coverage(const QImage& surface) {
    int n = 0;
    for (int y = 0; y < surface.height(); ++y)
        for (int x = 0; x < surface.width(); ++x) n += qAlpha(surface.pixel(x, y)) > 128;
    return n;
}

}  // namespace

int adjust(Run& run) {
    StudioState& studio = run.studio;
    Frmzjm& window = run.window;
    if (const char* failed = takeInPhoto(window, run.photo)) return std::printf("%s\n", failed), 1;

    // Eyebrows, narrowed, brought together and raised over this small face.
    click(window.findChild<HotLabel*>(QStringLiteral("Imgmm")));
    settle();
    FrmTK* library = window.libraries().componentWindow();
    if (!library || !applyThumbnail(library, 1)) return std::printf("no eyebrows to apply\n"), 1;
    dragSlider(library->slider(MoveSlider::Slider3), -10);
    dragSlider(library->slider(MoveSlider::Slider5), -10);
    dragSlider(library->slider(MoveSlider::Slider4), -10);
    const LayerGeometry& g = studio.doc.design.geometry;
    std::printf("brows: mmWidthz %d mmleftz %d mmtopz %d\n", g.mmWidthz, g.mmleftz, g.mmtopz);

    // The warp tool: the left brow's tail pulled up into an arch.
    library->findChild<QRadioButton*>(QStringLiteral("check1"))->click();
    library->findChild<QSlider*>(QStringLiteral("Slider1"))->setValue(4);
    settle();
    const Placement left = redrawPlacement(Layer::EyebrowLeft, g, studio.doc.design.hairHeight);
    const QPointF tail(left.dst.left() + left.dst.width() * 0.3, left.dst.top() + 20);
    const PixelGrid before = studio.doc.grids.eyebrow;
    const QImage unwarped = studio.session.views.Pichuaban.copy();
    auto* canvas = window.findChild<CanvasView*>(QStringLiteral("Pichuaban"));
    mouse(canvas, QEvent::MouseMove, tail, Qt::NoButton, Qt::NoButton);
    mouse(canvas, QEvent::MouseButtonPress, tail, Qt::LeftButton, Qt::LeftButton);
    for (int k = 1; k <= 12; ++k)
        mouse(canvas, QEvent::MouseMove, tail - QPointF(0, k), Qt::NoButton, Qt::LeftButton);
    mouse(canvas, QEvent::MouseButtonRelease, tail - QPointF(0, 12), Qt::LeftButton, Qt::NoButton);
    settle();
    const bool warped = studio.doc.flags.modified(Kind::meimao) && studio.doc.grids.eyebrow != before;
    run.keep(unwarped, "unwarped");

    // A hat, raised onto the head, wider and taller.
    click(window.findChild<HotLabel*>(QStringLiteral("Imgmz")));
    settle();
    library = window.libraries().componentWindow();
    if (!library || !applyThumbnail(library, 2)) return std::printf("no hat to apply\n"), 1;
    const int hatBefore = coverage(studio.doc.surfaces.canvas);
    const QImage beforeStretch = studio.session.views.Pichuaban.copy();
    dragSlider(library->slider(MoveSlider::Slider4), -6);
    dragSlider(library->slider(MoveSlider::Slider3), 4);
    dragSlider(library->slider(MoveSlider::Slider6), -3);
    settle(400);
    std::printf("hat: maoziWidth %d maoziheight %d\n", g.maoziWidth, g.maoziheight);

    run.screenshot();
    const QImage after = studio.session.views.Pichuaban.copy();
    run.keep(after, "canvas");
    const double stretched = changed(after, beforeStretch);
    std::printf("brow warped: %s; canvas changed by the stretch: %.1f%% (%d)\n", warped ? "yes" : "no",
                100 * stretched, hatBefore);
    const bool ok = warped && g.maoziWidth == 8 && g.maoziheight == 12 && stretched > 0.01;
    return ok ? 0 : 1;
}

int main(int argc, char** argv) { return runMainWindow(argc, argv, "adjust-screenshot", adjust); }
