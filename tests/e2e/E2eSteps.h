#pragma once
// Steps shared by the end-to-end runs of the real main window on a virtual display.
#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QTimer>
#include <cstdio>
#include <functional>

#include "library/ThumbnailButton.h"
#include "persistence/FrmDKWJ.h"
#include "photo/Frmbj.h"
#include "platform/Theme.h"
#include "shell/Frmzjm.h"
#include "shell/HotLabel.h"

namespace ms::e2e {

inline void settle(int ms = 200) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

inline void mouse(QWidget* w, QEvent::Type type, QPointF at, Qt::MouseButton b, Qt::MouseButtons held,
                  Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QMouseEvent e(type, at, w->mapToGlobal(at), b, held, mods);
    QApplication::sendEvent(w, &e);
}

inline void click(QWidget* w, Qt::MouseButton b = Qt::LeftButton) {
    const QPointF at(w->width() / 2.0, w->height() / 2.0);
    mouse(w, QEvent::MouseButtonPress, at, b, b);
    mouse(w, QEvent::MouseButtonRelease, at, b, Qt::NoButton);
}

// A category tab clicked as the stylist clicks it, so that its button shows as the chosen one.
inline void clickTab(QWidget* tabs, int tab) {
    const QList<QAbstractButton*> buttons = tabs->findChildren<QAbstractButton*>();
    if (tab >= 0 && tab < buttons.size()) click(buttons[tab]);
}

// The share of pixels that differ clearly from `before`.
inline double changed(const QImage& now, const QImage& before) {
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

// A library window's thumbnail `index` clicked, when it is shown and enabled.
inline bool applyThumbnail(QWidget* window, int index) {
    for (ThumbnailButton* b : window->findChildren<ThumbnailButton*>())
        if (b->index() == index && b->isVisible() && b->isEnabled()) {
            click(b);
            settle();
            return true;
        }
    return false;
}

// The client photo through "调出新照片", the open-picture dialog and the photo adjustment, fitted
// as a stylist would for the test photo, and accepted. nullptr when it worked, else what failed.
inline const char* takeInPhoto(Frmzjm& window, const QString& photo) {
    if (QWidget* welcome = window.findChild<QWidget*>(QStringLiteral("frmkaishi"))) welcome->close();
    click(window.findChild<HotLabel*>(QStringLiteral("Label9_0")));
    settle();
    auto* dialog = window.findChild<FrmDKWJ*>();
    if (!dialog) return "the open-picture dialog did not open";
    emit dialog->photoChosen(photo);  // as "调入" does, which then closes the dialog
    dialog->close();
    settle();
    auto* adjust = window.findChild<Frmbj*>(QStringLiteral("Frmbj"));
    if (!adjust) return "the photo adjustment did not open";
    // This photo's face is small and sits high: a fifth larger and moved down as far as the fit goes,
    // the eyes come near the guide line.
    adjust->findChild<QSlider*>(QStringLiteral("Slider2"))->setValue(60);
    adjust->findChild<QSlider*>(QStringLiteral("Slider3"))->setValue(41);
    adjust->findChild<QSlider*>(QStringLiteral("Slider4"))->setValue(-100);
    settle();
    click(adjust->findChild<QPushButton*>(QStringLiteral("Command2")));
    settle();
    return nullptr;
}

// One run of the real main window, from the command line PROGRAM_FOLDER PHOTO OUT.png.
struct Run {
    StudioState& studio;
    Frmzjm& window;
    QString folder, photo, out;
    // The whole screen into `out`.
    void screenshot() const { QGuiApplication::primaryScreen()->grabWindow(0).save(out); }
    // A picture beside the screenshot: OUT-<suffix>.png.
    void keep(const QImage& picture, const char* suffix) const {
        picture.save(
            QString(out).replace(QLatin1String(".png"), QLatin1Char('-') + QLatin1String(suffix) + ".png"));
    }
};

// Starts the main window at the top left of the screen, lets it settle, and runs `steps`, whose
// result is the exit code.
inline int runMainWindow(int argc, char** argv, const char* name, const std::function<int(Run&)>& steps) {
    QApplication app(argc, argv);
    theme::applyStudioTheme(app);
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s PROGRAM_FOLDER PHOTO OUT.png\n", name);
        return 2;
    }
    StudioState studio;
    const QString folder = QString::fromLocal8Bit(argv[1]);
    Frmzjm window(studio, folder);
    window.move(0, 0);
    window.show();
    settle(800);
    Run run{studio, window, folder, QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3])};
    return steps(run);
}

}  // namespace ms::e2e
