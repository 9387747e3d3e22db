// hair-screenshot PROGRAM_FOLDER PHOTO OUT.png: the real main window on a real display (Xvfb)
// takes a client photo in and dresses it with a hairstyle; in "美发工具" it trims the ends with the
// scissors, in "彩色漂染" it dyes the hair with each preset (a canvas picture of each beside the
// screenshot, OUT-dye<i>.png) and settles on one, then paints highlights in a colour from the
// palette with real drags; then saves a screenshot. Exit 0 when the dye, the highlights and the cut all
// changed the hair.
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <cstdio>

#include "E2eSteps.h"
#include "hair/Frmyanse.h"
#include "hair/frmfx.h"
#include "retouch/ColourPicture.h"
#include "retouch/Frmsebiao1.h"
#include "shell/CanvasView.h"

using namespace ms;
using namespace ms::e2e;

namespace {

void stroke(QWidget* canvas, QPointF a, QPointF b) {
    mouse(canvas, QEvent::MouseMove, a, Qt::NoButton, Qt::NoButton);
    mouse(canvas, QEvent::MouseButtonPress, a, Qt::LeftButton, Qt::LeftButton);
    // A pointer moves a pixel or two between events.
    const int steps = static_cast<int>(QLineF(a, b).length() / 1.5);
    for (int k = 1; k <= steps; ++k)
        mouse(canvas, QEvent::MouseMove, a + (b - a) * k / steps, Qt::NoButton, Qt::LeftButton);
    mouse(canvas, QEvent::MouseButtonRelease, b, Qt::LeftButton, Qt::NoButton);
}

// The hairstyle's opaque extent on the canvas: its left, right and lowest rows.
QRect hairExtent(const StudioState& s) {
    const QImage& hair = s.doc.surfaces.of(Kind::faxing).image();
    QRect r;
    for (int y = 0; y < hair.height(); ++y)
        for (int x = 0; x < hair.width(); ++x)
            if (qAlpha(hair.pixel(x, y)) > 200) r |= QRect(x, y, 1, 1);
    return r;
}

}  // namespace

int dress(Run& run) {
    StudioState& studio = run.studio;
    Frmzjm& window = run.window;
    if (const char* failed = takeInPhoto(window, run.photo)) return std::printf("%s\n", failed), 1;
    click(window.findChild<HotLabel*>(QStringLiteral("ImgFx")));
    settle(600);
    QWidget* library = window.findChild<QWidget*>(QStringLiteral("FrmTK1"));
    if (!library) return std::printf("the hairstyle library did not open\n"), 1;
    click(library->findChild<QWidget*>(QStringLiteral("ImgTK1")));
    settle(600);
    const QRect hair = hairExtent(studio);
    auto* canvas = window.findChild<CanvasView*>(QStringLiteral("Pichuaban"));
    std::printf("hair extent %d,%d %dx%d\n", hair.x(), hair.y(), hair.width(), hair.height());

    // Trim: the soft disc over the ends on both sides.
    click(window.findChild<HotLabel*>(QStringLiteral("Imgfx1")));
    settle();
    frmfx* tools = window.hairTools();
    if (!tools) return std::printf("the hair tools window did not open\n"), 1;
    tools->scissors[5]->click();
    const QImage beforeCut = studio.session.views.Pichuaban.copy();
    for (double f : {0.12, 0.88}) {
        const QPointF at(hair.left() + f * hair.width(), hair.bottom() - 8);
        mouse(canvas, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
        mouse(canvas, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    }
    settle(400);
    const double cut = changed(studio.session.views.Pichuaban, beforeCut);
    const QImage undyed = studio.session.views.Pichuaban.copy();
    click(window.findChild<HotLabel*>(QStringLiteral("Imgfx2")));
    settle();
    Frmyanse* colour = window.hairColour();
    if (!colour) return std::printf("the hair colour window did not open\n"), 1;
    double dyed = 0;  // how far the blue dye moved the canvas
    for (int i = 0; i < 12; ++i) {
        colour->optqita[i]->click();
        settle(50);
        run.keep(studio.session.views.Pichuaban, QStringLiteral("dye%1").arg(i).toLatin1().constData());
        if (i == 10) dyed = changed(studio.session.views.Pichuaban, undyed);
    }
    colour->optqita[0]->click();  // coffee
    settle();

    // Highlights: light honey from the palette, three strokes down the hair.
    colour->Command1->click();
    settle();
    auto* palette = window.findChild<Frmsebiao1*>(QStringLiteral("Frmsebiao1"));
    if (!palette) return std::printf("the palette did not open\n"), 1;
    emit palette->Picture2->released(Qt::LeftButton, colourValue(226, 190, 130));
    settle();
    const QImage beforeHighlights = studio.session.views.Pichuaban.copy();
    const double top = hair.top() + 0.15 * hair.height(), bottom = hair.top() + 0.8 * hair.height();
    for (double f : {0.3, 0.45, 0.7})
        stroke(canvas, QPointF(hair.left() + f * hair.width(), top),
               QPointF(hair.left() + f * hair.width() + 6, bottom));
    settle();
    const double highlighted = changed(studio.session.views.Pichuaban, beforeHighlights);

    run.screenshot();
    run.keep(studio.session.views.Pichuaban, "canvas");
    std::printf("changed by the dye %.1f%%, the highlights %.1f%%, the cut %.1f%%\n", 100 * dyed,
                100 * highlighted, 100 * cut);
    return dyed > 0.03 && highlighted > 0.002 && cut > 0.001 ? 0 : 1;
}

int main(int argc, char** argv) { return runMainWindow(argc, argv, "hair-screenshot", dress); }
