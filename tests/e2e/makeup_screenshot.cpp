// makeup-screenshot PROGRAM_FOLDER PHOTO OUT.png: the real main window on a real display (Xvfb)
// takes a client photo in, opens "化妆工具", picks colours from the colour chart with the eyedropper
// and, with real mouse events on the canvas view, softens the skin under one eye, puts blush on
// both cheeks with the makeup brush and colours the lips; then saves a screenshot. Exit 0 when the
// cheeks and lips took the colours and the softened skin is smoother.
#include <QRadioButton>
#include <cmath>
#include <cstdio>

#include "E2eSteps.h"
#include "retouch/ColourPicture.h"
#include "retouch/Frmsebiao2.h"
#include "shell/CanvasView.h"

using namespace ms;
using namespace ms::e2e;

namespace {

// Where the test photo's features sit on the canvas at the fit of takeInPhoto.
const QPointF kLeftCheek(158, 182), kRightCheek(224, 182);
const QRect kUpperLip(176, 199, 34, 2), kLowerLip(184, 213, 18, 3);
// The lips follow the smile: their ends rise (canvas y grows downwards).
double lipY(const QRect& lip, int x) {
    const double half = lip.width() / 2.0, u = (x - lip.center().x()) / half;
    return lip.center().y() + (lip == kLowerLip ? -2.0 * u * u : 1.5 * u * u);
}
const QRect kUnderEye(154, 164, 22, 8);  // the skin below the left eye

// The eyedropper on the colour chart: the swatch nearest to `wanted`.
void pickFromChart(Frmsebiao2* makeup, const QString& P, QColor wanted) {
    const QImage chart = colourPicture(P, toolfiles::kColourChart, toolfiles::kColourChartSize);
    QPoint best;
    int bestDistance = 1 << 30;
    for (int r = 0; r < 7; ++r)
        for (int c = 0; c < 16; ++c) {
            const QPoint at(7 + 12 * c + 5, 7 + 12 * r + 5);
            const QColor have = chart.pixelColor(at);
            const int d = std::abs(have.red() - wanted.red()) + std::abs(have.green() - wanted.green()) +
                          std::abs(have.blue() - wanted.blue());
            if (d < bestDistance) bestDistance = d, best = at;
        }
    makeup->Option[3]->click();
    mouse(makeup->Picture1, QEvent::MouseMove, best, Qt::NoButton, Qt::NoButton);
    mouse(makeup->Picture1, QEvent::MouseButtonPress, best, Qt::LeftButton, Qt::LeftButton);
    mouse(makeup->Picture1, QEvent::MouseButtonRelease, best, Qt::LeftButton, Qt::NoButton);
}

void dab(QWidget* canvas, QPointF at) {
    mouse(canvas, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
    mouse(canvas, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    mouse(canvas, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
}

double mean(const QImage& img, const QRect& r, int (*channel)(QRgb)) {
    double sum = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) sum += channel(img.pixel(x, y));
    return sum / (r.width() * r.height());
}

// How much neighbouring pixels differ: lower is smoother.
double roughness(const QImage& img, const QRect& r) {
    double sum = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x < r.right(); ++x)
            sum += std::abs(qGray(img.pixel(x, y)) - qGray(img.pixel(x + 1, y)));
    return sum / (r.width() * r.height());
}

// Redness: red above the mean of green and blue.
int redness(QRgb p) { return qRed(p) - (qGreen(p) + qBlue(p)) / 2; }

}  // namespace

int makeUp(Run& run) {
    StudioState& studio = run.studio;
    Frmzjm& window = run.window;
    const QString& folder = run.folder;
    if (const char* failed = takeInPhoto(window, run.photo)) return std::printf("%s\n", failed), 1;
    const QImage fitted = studio.session.views.Pichuaban.copy();

    click(window.findChild<HotLabel*>(QStringLiteral("Imgbz")));
    settle();
    auto* makeup = window.findChild<Frmsebiao2*>(QStringLiteral("Frmsebiao2"));
    if (!makeup) return std::printf("the makeup tools did not open\n"), 1;
    auto* canvas = window.findChild<CanvasView*>(QStringLiteral("Pichuaban"));

    // First the skin under the left eye is softened with a drag.
    makeup->Option[4]->click();
    mouse(canvas, QEvent::MouseButtonPress, kUnderEye.topLeft(), Qt::LeftButton, Qt::LeftButton);
    for (int y = kUnderEye.top(); y <= kUnderEye.bottom(); y += 4)
        for (int x = kUnderEye.left(); x <= kUnderEye.right(); x += 3)
            mouse(canvas, QEvent::MouseMove, QPointF(x, y), Qt::NoButton, Qt::LeftButton);
    mouse(canvas, QEvent::MouseButtonRelease, kUnderEye.bottomRight(), Qt::LeftButton, Qt::NoButton);
    // Blush: a soft rose, the large brush, two dabs on the apple of each cheek.
    pickFromChart(makeup, folder, QColor(232, 140, 150));
    makeup->Slider1->setValue(7);
    makeup->Option[1]->click();
    for (QPointF cheek : {kLeftCheek, kRightCheek})
        for (QPointF d : {QPointF(0, 0), QPointF(-3, 3)}) dab(canvas, cheek + d);
    // Lips: a deep rose, the smallest brush along the thin upper lip, the next along the lower.
    pickFromChart(makeup, folder, QColor(190, 40, 70));
    makeup->Option[1]->click();
    for (auto [lip, size] : {std::pair{kUpperLip, 1}, std::pair{kLowerLip, 2}}) {
        makeup->Slider1->setValue(size);
        for (int pass = 0; pass < 2; ++pass)
            for (int x = lip.left(); x <= lip.right(); x += 2) dab(canvas, QPointF(x, lipY(lip, x)));
    }
    settle(400);

    const QImage madeUp = studio.session.views.Pichuaban.copy();
    run.screenshot();
    run.keep(madeUp, "canvas");
    bool ok = true;
    for (QPointF cheek : {kLeftCheek, kRightCheek}) {
        const QRect r(cheek.toPoint() - QPoint(6, 6), QSize(13, 13));
        const double before = mean(fitted, r, redness), after = mean(madeUp, r, redness);
        std::printf("cheek redness %.0f -> %.0f\n", before, after);
        ok = ok && after > before + 12;
    }
    const double lipsBefore = mean(fitted, kUpperLip, redness), lipsAfter = mean(madeUp, kUpperLip, redness);
    std::printf("lip redness %.0f -> %.0f\n", lipsBefore, lipsAfter);
    ok = ok && lipsAfter > lipsBefore + 15;
    const QRect inner = kUnderEye.adjusted(3, 3, -3, -3);
    const double roughBefore = roughness(fitted, inner), roughAfter = roughness(madeUp, inner);
    std::printf("skin roughness under the eye %.1f -> %.1f\n", roughBefore, roughAfter);
    ok = ok && roughAfter < roughBefore * 0.8;
    return ok ? 0 : 1;
}

int main(int argc, char** argv) { return runMainWindow(argc, argv, "makeup-screenshot", makeUp); }
