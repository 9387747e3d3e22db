#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

#include "InstallData.h"

// Eyes, brows, nose and lips of the sample portrait. Features are described for the left half of
// the face (smaller x) and mirrored about the middle for the right half.
namespace installdata {

namespace {

using namespace face;

const QColor kShade(170, 112, 92);
const QSize kSize(kCanvasW, kCanvasH);

Polyline mapped(const Polyline& line, int side) { return side < 0 ? line : mirrored(line, kMidX); }

const Polyline kUpperLid{{171, 207}, {165, 200}, {154, 196.5}, {144, 198.5}, {137.5, 204}};
const Polyline kLowerLid{{137.5, 204}, {145, 210.5}, {156, 212.5}, {166, 210.5}, {171, 207}};

QPainterPath eyeOpening(int side) {
    Polyline all = sampleSpline(mapped(kUpperLid, side), 30);
    for (const QPointF& q : sampleSpline(mapped(kLowerLid, side), 30)) all.push_back(q);
    return pathThrough(all, true);
}

void drawEyeball(QPainter& p, int side) {
    const QPainterPath opening = eyeOpening(side);
    const double cx = side < 0 ? kEyeLeftX - 0.5 : kEyeRightX + 0.5;
    p.save();
    p.setClipPath(opening);
    QRadialGradient white(QPointF(cx, kEyeY + 1), 20);
    white.setColorAt(0.0, QColor(246, 242, 240));
    white.setColorAt(1.0, QColor(200, 186, 184));
    p.fillPath(opening, white);
    QRadialGradient iris(QPointF(cx, kEyeY - 1), 7.4);
    iris.setColorAt(0.0, QColor(40, 24, 16));
    iris.setColorAt(0.3, QColor(86, 56, 36));
    iris.setColorAt(0.8, QColor(112, 76, 48));
    iris.setColorAt(1.0, QColor(52, 34, 24));
    p.setPen(Qt::NoPen);
    p.setBrush(iris);
    p.drawEllipse(QPointF(cx, kEyeY - 1), 7.4, 7.4);
    p.setBrush(QColor(14, 10, 8));
    p.drawEllipse(QPointF(cx, kEyeY - 1), 2.9, 2.9);
    QLinearGradient lid(0, kEyeY - 10, 0, kEyeY - 2);  // the upper lid shades the eyeball
    lid.setColorAt(0.0, QColor(90, 55, 45, 150));
    lid.setColorAt(1.0, QColor(90, 55, 45, 0));
    p.fillPath(opening, lid);
    p.setBrush(QColor(255, 255, 255, 235));
    p.drawEllipse(QPointF(cx - 2.4, kEyeY - 3.6), 1.7, 1.5);
    p.setBrush(QColor(255, 255, 255, 90));
    p.drawEllipse(QPointF(cx + 2.6, kEyeY + 2.2), 1.1, 0.9);
    p.restore();
}

void drawLidsAndLashes(QPainter& p, int side) {
    paintSoft(p, kSize, 2, 0.55, [&](QPainter& q) {  // lid crease
        Polyline crease{{168, 199}, {160, 192.5}, {150, 191}, {141, 194.5}};
        fillRibbon(q, sampleSpline(mapped(crease, side), 24), 0.8, 1.6, QColor(150, 95, 78), 0.2, 0.25);
    });
    fillRibbon(p, sampleSpline(mapped(kUpperLid, side), 36), 0.7, 2.6, QColor(34, 22, 20, 235), 0.0, 0.06);
    Polyline wing{{140, 200.5}, {137, 203}, {134, 202}};
    fillRibbon(p, sampleSpline(mapped(wing, side), 10), 2.0, 0.2, QColor(34, 22, 20, 210));
    for (int k = 0; k < 9; ++k) {  // lashes along the outer two thirds of the lid
        const double u = 0.35 + 0.07 * k;
        const QPointF root = splineAt(mapped(kUpperLid, side), u);
        const double out = side < 0 ? -1.0 : 1.0, len = 3.0 + 2.5 * u;
        Polyline lash{root, root + QPointF(out * 0.8 * u * len, -0.7 * len),
                      root + QPointF(out * 1.6 * u * len, -len)};
        fillRibbon(p, sampleSpline(lash, 8), 0.9, 0.15, QColor(30, 20, 18, 170));
    }
    fillRibbon(p, sampleSpline(mapped(kLowerLid, side), 30), 0.6, 0.9, QColor(120, 78, 66, 110), 0.1, 0.3);
}

void drawNose(QPainter& p) {
    paintSoft(p, kSize, 6, 0.5, [](QPainter& q) {  // sides of the bridge, the right side in shade
        q.setPen(QPen(QColor(180, 120, 98), 3.0, Qt::SolidLine, Qt::RoundCap));
        q.drawLine(QPointF(181, 214), QPointF(178, 242));
        q.setPen(QPen(QColor(165, 105, 86), 4.0, Qt::SolidLine, Qt::RoundCap));
        q.drawLine(QPointF(199, 214), QPointF(202, 242));
    });
    softEllipse(p, QPointF(189, 232), 3.5, 14, QColor(252, 232, 218, 110));  // bridge highlight
    softEllipse(p, QPointF(189, 245), 7, 5, QColor(252, 232, 218, 140));     // tip
    paintSoft(p, kSize, 2, 0.7, [](QPainter& q) {
        for (int side : {-1, 1}) {
            Polyline ala{{181, 240}, {175.5, 247}, {177, 253}, {183, 255}};
            fillRibbon(q, sampleSpline(mapped(ala, side), 20), 1.0, 2.2, kShade, 0.2, 0.2);
            q.save();
            q.translate(side < 0 ? 184 : 196, 253);
            q.rotate(side < 0 ? 15 : -15);
            q.setPen(Qt::NoPen);
            q.setBrush(QColor(110, 60, 52));
            q.drawEllipse(QPointF(0, 0), 3.6, 1.7);
            q.restore();
        }
    });
    softEllipse(p, QPointF(190, 259), 14, 4, withAlpha(kShade, 70));     // under the tip
    softEllipse(p, QPointF(190, 271), 4, 9, QColor(252, 230, 216, 60));  // philtrum
}

void drawLipShapes(QPainter& q) {
    const Polyline upper{{164, 291}, {172, 287.5}, {180, 283.5}, {185.5, 282}, {190, 284}};
    const Polyline lower{{164, 291}, {170, 296.5}, {180, 301.5}, {190, 303}};
    const Polyline seam{{164, 291}, {176, 291.2}, {190, 292.3}};
    auto whole = [](const Polyline& half, const Polyline& closing) {
        Polyline all = sampleSpline(half, 24);
        Polyline r = mirrored(all, kMidX);
        for (auto it = r.rbegin(); it != r.rend(); ++it) all.push_back(*it);
        for (auto it = closing.rbegin(); it != closing.rend(); ++it) all.push_back(*it);
        return pathThrough(all, true);
    };
    Polyline seamAll = sampleSpline(seam, 20);
    Polyline seamRight = mirrored(seamAll, kMidX);
    for (auto it = seamRight.rbegin(); it != seamRight.rend(); ++it) seamAll.push_back(*it);
    QLinearGradient up(0, 282, 0, 292);
    up.setColorAt(0.0, QColor(200, 118, 118));
    up.setColorAt(1.0, QColor(178, 96, 100));
    q.setPen(Qt::NoPen);
    q.fillPath(whole(upper, seamAll), up);
    QRadialGradient low(QPointF(190, 296), 28);
    low.setColorAt(0.0, QColor(222, 140, 138));
    low.setColorAt(1.0, QColor(196, 112, 114));
    q.fillPath(whole(lower, seamAll), low);
    fillRibbon(q, seamAll, 1.2, 1.2, QColor(112, 52, 58, 220), 0.1, 0.1);
}

}  // namespace

void drawPortraitEyes(QPainter& p) {
    for (int side : {-1, 1}) {
        const double cx = side < 0 ? kEyeLeftX : kEyeRightX;
        softEllipse(p, QPointF(cx, kEyeY - 7), 24, 13, withAlpha(kShade, 55));                 // socket
        softEllipse(p, QPointF(cx - side * 2, kEyeY - 14), 16, 5, QColor(250, 228, 214, 90));  // lid
        drawEyeball(p, side);
        drawLidsAndLashes(p, side);
    }
}

void drawPortraitBrows(QPainter& p) {
    paintSoft(p, kSize, 1, 0.75, [](QPainter& q) {
        Rng rng(11);
        for (int side : {-1, 1}) {
            const Polyline brow{{175, 189}, {162, 183}, {147, 180.5}, {131, 185}};
            fillRibbon(q, sampleSpline(mapped(brow, side), 30), 3.4, 0.8, QColor(128, 96, 78, 120), 0.12);
            for (int k = 0; k < 40; ++k) {
                const double u = rng.uniform();
                const QPointF at = splineAt(mapped(brow, side), u) + QPointF(0, rng.symmetric(1.2));
                const double dx = (side < 0 ? -1 : 1) * (2.5 + 2 * u), dy = -1.8 + 2.2 * u;
                fillRibbon(q, {at, at + QPointF(dx, dy)}, 0.7, 0.2, QColor(110, 80, 64, 150));
            }
        }
    });
}

void drawPortraitNoseAndLips(QPainter& p) {
    drawNose(p);
    softEllipse(p, QPointF(190, 309), 15, 4.5, withAlpha(kShade, 80));  // under the lower lip
    paintSoft(p, kSize, 1, 1.0, drawLipShapes);
    softEllipse(p, QPointF(193, 296.5), 8, 2.4, QColor(255, 236, 232, 110));
    softEllipse(p, QPointF(181, 285.5), 4, 1.2, QColor(255, 236, 232, 70));
}

}  // namespace installdata
