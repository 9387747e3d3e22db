// photo-screenshot PROGRAM_FOLDER PHOTO OUT.png: the real main window on a real display (Xvfb)
// takes a client photo in through the open-picture dialog and the photo adjustment, fits it with
// the sliders as a stylist would, accepts it, dresses it with a hairstyle from the library window,
// and saves a screenshot. Exit 0 when the canvas shows the photo wearing the hairstyle.
#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QTimer>
#include <cstdio>

#include "compositor/StudioState.h"
#include "persistence/FrmDKWJ.h"
#include "photo/Frmbj.h"
#include "shell/Frmzjm.h"
#include "shell/HotLabel.h"

namespace {

void settle(int ms = 200) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void click(QWidget* w, Qt::MouseButton b = Qt::LeftButton) {
    const QPointF at(w->width() / 2.0, w->height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), b, b, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), b, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

// The share of canvas pixels that differ clearly from `before`.
double changed(const QImage& now, const QImage& before) {
    int n = 0;
    for (int y = 0; y < now.height(); ++y)
        for (int x = 0; x < now.width(); ++x) {
            const QRgb a = now.pixel(x, y), b = before.pixel(x, y);
            n += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                     std::abs(qBlue(a) - qBlue(b)) >
                 60;
        }
    return double(n) / (now.width() * now.height());
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: photo-screenshot PROGRAM_FOLDER PHOTO OUT.png\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]), photo = QString::fromLocal8Bit(argv[2]);
    ms::StudioState studio;
    ms::Frmzjm window(studio, folder);
    window.move(0, 0);
    window.show();
    settle(800);
    if (QWidget* welcome = window.findChild<QWidget*>(QStringLiteral("frmkaishi"))) welcome->close();
    const QImage portrait = studio.session.views.Pichuaban.copy();
    // "调出新照片", the photo chosen in the dialog, "调入".
    click(window.findChild<ms::HotLabel*>(QStringLiteral("Label9_0")));
    settle();
    auto* dialog = window.findChild<ms::FrmDKWJ*>();
    if (!dialog) return std::printf("the open-picture dialog did not open\n"), 1;
    emit dialog->photoChosen(photo);  // as "调入" does, which then closes the dialog
    dialog->close();
    settle();
    auto* adjust = window.findChild<ms::Frmbj*>(QStringLiteral("Frmbj"));
    if (!adjust) return std::printf("the photo adjustment did not open\n"), 1;
    // This photo's face is small and sits high: a fifth larger and moved down as far as the fit goes,
    // the eyes come near the guide line.
    adjust->findChild<QSlider*>(QStringLiteral("Slider2"))->setValue(60);
    adjust->findChild<QSlider*>(QStringLiteral("Slider3"))->setValue(41);
    adjust->findChild<QSlider*>(QStringLiteral("Slider4"))->setValue(-100);
    settle();
    click(adjust->findChild<QPushButton*>(QStringLiteral("Command2")));
    settle();
    const QImage fitted = studio.session.views.Pichuaban.copy();
    // A hairstyle from the library window.
    click(window.findChild<ms::HotLabel*>(QStringLiteral("ImgFx")));
    settle(600);
    QWidget* library = window.findChild<QWidget*>(QStringLiteral("FrmTK1"));
    if (!library) return std::printf("the hairstyle library did not open\n"), 1;
    click(library->findChild<QWidget*>(QStringLiteral("ImgTK2")));
    settle(600);
    const QImage dressed = studio.session.views.Pichuaban.copy();
    QScreen* screen = QGuiApplication::primaryScreen();
    screen->grabWindow(0).save(QString::fromLocal8Bit(argv[3]));
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
