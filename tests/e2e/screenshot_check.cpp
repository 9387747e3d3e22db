// Grabs the whole screen and looks for the sample portrait, drawn 1:1 by the canvas view.
// Exit 0 when at least 99% of its pixels around the welcome window are on screen within a small
// tolerance.
// Given the program folder as a third argument, it also checks the rest of the start screen
// around the portrait: the welcome window with its question and three buttons, the tool strip's
// captions and, when the installation has it, the main window's background picture.
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <cstdio>
#include <cstdlib>

#include "shell/ZjmLayout.h"

namespace {

bool close(QRgb a, QRgb b, int tol) {
    return std::abs(qRed(a) - qRed(b)) <= tol && std::abs(qGreen(a) - qGreen(b)) <= tol &&
           std::abs(qBlue(a) - qBlue(b)) <= tol;
}

// The welcome window opens centred over the canvas; the portrait is compared around it.
constexpr QRect kWelcomeOnPortrait{(380 - 360) / 2, (480 - 276) / 2, 360, 276};

double matchAt(const QImage& screen, const QImage& want, int ox, int oy) {
    long good = 0, all = 0;
    for (int y = 0; y < want.height(); ++y)
        for (int x = 0; x < want.width(); ++x) {
            if (kWelcomeOnPortrait.contains(x, y)) continue;
            good += close(screen.pixel(ox + x, oy + y), want.pixel(x, y), 8);
            ++all;
        }
    return double(good) / double(all);
}

// Pixels of `r` that are clearly darker than the light ground: drawn text.
int inkPixels(const QImage& screen, const QRect& r) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) n += qGray(screen.pixel(x, y)) < 110;
    return n;
}

bool allClose(const QImage& screen, const QRect& r, QRgb want) {
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (!close(screen.pixel(x, y), want, 4)) return false;
    return true;
}

// The start screen around the canvas view, whose top-left on screen is `canvas`.
bool checkStartScreen(const QImage& screen, QPoint canvas, const QString& programFolder) {
    const QPoint window = canvas - ms::zjm::kPichuaban.topLeft();
    // Centred over the canvas, as the main window places it.
    const QPoint welcome = canvas + kWelcomeOnPortrait.topLeft();
    bool ok = true;
    // The question in the welcome window's 64-pixel header, the buttons at rest below it, as
    // frmkaishi lays them out.
    if (inkPixels(screen, QRect(welcome, QSize(360, 64))) < 150) {
        std::printf("the welcome window's question is not on screen\n");
        ok = false;
    }
    for (int k = 0; k < 3; ++k)
        if (!allClose(screen, QRect(welcome + QPoint(56, 90 + 62 * k), QSize(40, 34)), qRgb(252, 250, 247))) {
            std::printf("welcome button %d is not on screen at rest\n", k + 1);
            ok = false;
        }
    for (const auto& tool : ms::zjm::kTools) {
        const QRect r = ms::zjm::toolRect(tool.hotArea).translated(window);
        const int ink = inkPixels(screen, r);
        if (ink < 40) {
            std::printf("the caption of tool %s is missing\n", tool.name);
            ok = false;
        }
        // Icon and caption on the strip's light ground: a picture that lost its transparency
        // would show as a dark block.
        if (ink > r.width() * r.height() / 3) {
            std::printf("tool %s is drawn as a dark block\n", tool.name);
            ok = false;
        }
    }
    const QImage background =
        QImage(programFolder + "/" + ms::zjm::kBackground).convertToFormat(QImage::Format_RGB32);
    if (!background.isNull()) {
        // The title in the top band is part of the background picture and nothing covers it.
        const QRect title(24, 8, 180, 56);
        const double share =
            matchAt(screen, background.copy(title), window.x() + title.x(), window.y() + title.y());
        if (share < 0.99) {
            std::printf("the background picture is not shown (%.1f%% of the title matches)\n", share * 100);
            ok = false;
        }
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    QGuiApplication app(argc, argv);
    const QImage want = QImage(QString::fromLocal8Bit(argv[2])).convertToFormat(QImage::Format_RGB32);
    if (want.isNull()) {
        std::fprintf(stderr, "no sample portrait at %s\n", argv[2]);
        return 2;
    }
    const QImage screen = app.primaryScreen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
    screen.save(QString::fromLocal8Bit(argv[1]));
    // Probe points spread over the portrait find candidate positions quickly.
    std::vector<QPoint> probes;
    for (int i = 0; i < 96 && probes.size() < 48; ++i)
        if (const QPoint p(20 + (i * 53) % 340, 20 + (i * 97) % 440); !kWelcomeOnPortrait.contains(p))
            probes.push_back(p);
    for (int oy = 0; oy + want.height() <= screen.height(); ++oy)
        for (int ox = 0; ox + want.width() <= screen.width(); ++ox) {
            bool all = true;
            for (const QPoint& p : probes)
                if (!close(screen.pixel(ox + p.x(), oy + p.y()), want.pixel(p), 8)) {
                    all = false;
                    break;
                }
            if (!all) continue;
            const double share = matchAt(screen, want, ox, oy);
            std::printf("portrait found at (%d, %d), %.2f%% of its pixels match\n", ox, oy, share * 100);
            if (share < 0.99) return 1;
            if (argc > 3 && !checkStartScreen(screen, QPoint(ox, oy), QString::fromLocal8Bit(argv[3])))
                return 1;
            return 0;
        }
    std::printf("portrait not on screen yet\n");
    return 1;
}
