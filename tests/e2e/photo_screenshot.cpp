// photo-screenshot PROGRAM_FOLDER PHOTO OUT.png: the real main window on a real display (Xvfb)
// takes a client photo in through the open-picture dialog and the photo adjustment, fits it with
// the sliders as a stylist would, accepts it, dresses it with a hairstyle from the library window,
// and saves a screenshot. Exit 0 when the canvas shows the photo wearing the hairstyle.
#include <cstdio>

#include "E2eSteps.h"

using namespace ms::e2e;

int dress(Run& run) {
    ms::StudioState& studio = run.studio;
    ms::Frmzjm& window = run.window;
    const QString& photo = run.photo;
    const QImage portrait = studio.session.views.Pichuaban.copy();
    if (const char* failed = takeInPhoto(window, photo)) return std::printf("%s\n", failed), 1;
    const QImage fitted = studio.session.views.Pichuaban.copy();
    // A hairstyle from the library window.
    click(window.findChild<ms::HotLabel*>(QStringLiteral("ImgFx")));
    settle(600);
    QWidget* library = window.findChild<QWidget*>(QStringLiteral("FrmTK1"));
    if (!library) return std::printf("the hairstyle library did not open\n"), 1;
    click(library->findChild<QWidget*>(QStringLiteral("ImgTK2")));
    settle(600);
    const QImage dressed = studio.session.views.Pichuaban.copy();
    run.screenshot();
    const double photoShare = changed(fitted, portrait), hairShare = changed(dressed, fitted);
    std::printf("the photo changed %.0f%% of the canvas, the hairstyle %.0f%%\n", photoShare * 100,
                hairShare * 100);
    bool ok = photoShare > 0.5 && hairShare > 0.05;
    // The photo's orange suit below the left shoulder (photo (118, 240) at this fit).
    const QRgb suit = fitted.pixel(66, 321);
    if (!(qRed(suit) > 150 && qGreen(suit) < 140 && qBlue(suit) < 110)) {
        std::printf("the photo's suit is not at the bottom of the canvas\n");
        ok = false;
    }
    return ok ? 0 : 1;
}

int main(int argc, char** argv) { return runMainWindow(argc, argv, "photo-screenshot", dress); }
