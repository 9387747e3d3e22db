#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

#include "HairEngine.h"
#include "InstallData.h"

// The sample portrait: a young woman, frontal, soft studio light from the upper left.
namespace installdata {

namespace {

using namespace face;

const QColor kSkin(238, 204, 182), kSkinLight(248, 224, 206), kSkinShade(196, 146, 122);
const QSize kSize(kCanvasW, kCanvasH);

// Closes a left-half outline (top to bottom at the middle) with its mirror image.
QPainterPath symmetricPath(const Polyline& leftHalf) {
    Polyline all = sampleSpline(leftHalf, 90);
    Polyline right = mirrored(all, kMidX);
    for (auto it = right.rbegin(); it != right.rend(); ++it) all.push_back(*it);
    return pathThrough(all, true);
}

QPainterPath facePath() {
    return symmetricPath({{190, 86},
                          {160, 90},
                          {132, 108},
                          {118, 140},
                          {114, 180},
                          {114, 218},
                          {118, 250},
                          {127, 280},
                          {142, 306},
                          {163, 325},
                          {190, 331}});
}

QPainterPath bodyPath() {
    Polyline half{{163, 250}, {162, 300}, {159, 328}, {138, 343}, {100, 358},
                  {60, 374},  {34, 396},  {22, 430},  {16, 470},  {14, 500}};
    Polyline all = sampleSpline(half, 80);
    Polyline right = mirrored(all, kMidX);
    for (auto it = right.rbegin(); it != right.rend(); ++it) all.push_back(*it);
    return pathThrough(all, true);
}

void drawBackground(QPainter& p) {
    QRadialGradient g(QPointF(175, 190), 330);
    g.setColorAt(0.0, QColor(214, 214, 218));
    g.setColorAt(0.55, QColor(178, 180, 186));
    g.setColorAt(1.0, QColor(118, 121, 130));
    p.fillRect(QRect(0, 0, kCanvasW, kCanvasH), g);
}

void drawBody(QPainter& p) {
    const QPainterPath body = bodyPath();
    QLinearGradient g(0, 300, 0, 480);
    g.setColorAt(0.0, kSkin);
    g.setColorAt(1.0, kSkin.darker(112));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(body);
    p.save();
    p.setClipPath(body);
    paintSoft(p, kSize, 8, 0.8, [](QPainter& q) {  // shadow of the jaw on the neck
        q.translate(0, 13);
        q.setBrush(QColor(150, 95, 75));
        q.setPen(Qt::NoPen);
        q.drawPath(facePath());
    });
    paintSoft(p, kSize, 10, 0.5, [](QPainter& q) {  // neck sides and shoulder rims turn away
        q.setBrush(Qt::NoBrush);
        q.setPen(QPen(kSkinShade, 12));
        q.drawPath(bodyPath());
    });
    paintSoft(p, kSize, 3, 0.45, [](QPainter& q) {  // collarbones: light above, shade below
        for (int side : {-1, 1}) {
            Polyline bone{{190 + side * 14.0, 357}, {190 + side * 45.0, 353}, {190 + side * 80.0, 352}};
            q.setPen(QPen(kSkinLight, 3, Qt::SolidLine, Qt::RoundCap));
            q.drawPath(pathThrough(sampleSpline(bone, 20), false));
            q.translate(0, 4);
            q.setPen(QPen(kSkinShade, 2.5, Qt::SolidLine, Qt::RoundCap));
            q.drawPath(pathThrough(sampleSpline(bone, 20), false));
            q.translate(0, -4);
        }
        softEllipse(q, QPointF(190, 356), 9, 6, withAlpha(kSkinShade, 200));
    });
    softEllipse(p, QPointF(70, 392), 40, 28, withAlpha(kSkinLight, 90));
    softEllipse(p, QPointF(310, 392), 40, 28, withAlpha(kSkinLight, 70));
    p.restore();
}

void drawTop(QPainter& p) {
    Polyline edge{{-5, 425}, {60, 432}, {130, 426}, {190, 436}, {250, 426}, {320, 432}, {385, 425}};
    Polyline all = sampleSpline(edge, 60);
    all.push_back({385, 485});
    all.push_back({-5, 485});
    QLinearGradient g(0, 425, 0, 480);
    g.setColorAt(0.0, QColor(132, 142, 160));
    g.setColorAt(1.0, QColor(92, 100, 118));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(pathThrough(all, true));
    const QPainterPath top = pathThrough(all, true);
    p.save();
    p.setClipPath(top);
    Rng rng(5);
    for (double x = -4; x < 386; x += 3.2) {  // fine knit ribs, bowing with the body
        const QColor c = rng.uniform() < 0.5 ? QColor(160, 170, 188, 60) : QColor(70, 78, 96, 70);
        fillRibbon(p, {{x, 424}, {x + (x - 190) * 0.03, 452}, {x + (x - 190) * 0.05, 482}}, 1.1, 1.1, c);
    }
    paintSoft(p, kSize, 6, 0.45, [](QPainter& q) {  // soft gathers of the fabric
        q.setPen(QPen(QColor(52, 58, 74), 5, Qt::SolidLine, Qt::RoundCap));
        for (double x : {120.0, 165.0, 215.0, 262.0}) q.drawLine(QPointF(x, 440), QPointF(x + 6, 480));
    });
    softEllipse(p, QPointF(86, 446), 60, 16, QColor(200, 206, 220, 70));  // light on the left shoulder
    p.restore();
    fillRibbon(p, sampleSpline(edge, 60), 5.0, 5.0, QColor(110, 120, 140));  // ribbed neckline band
    fillRibbon(p, sampleSpline(edge, 60), 1.0, 1.0, QColor(180, 188, 204, 150));
}

void drawEars(QPainter& p) {
    for (int side : {-1, 1}) {
        auto X = [side](double x) { return kMidX + side * (kMidX - x); };
        Polyline ear{{X(116), 206}, {X(104), 208}, {X(97), 222},  {X(97), 242},
                     {X(101), 256}, {X(106), 262}, {X(112), 261}, {X(117), 250}};
        QRadialGradient g(QPointF(X(108), 232), 30);
        g.setColorAt(0.0, QColor(226, 176, 156));
        g.setColorAt(1.0, QColor(214, 160, 138));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawPath(pathThrough(sampleSpline(ear, 40), true));
        paintSoft(p, kSize, 3, 0.6, [&](QPainter& q) {
            q.setPen(QPen(QColor(160, 100, 85), 3, Qt::SolidLine, Qt::RoundCap));
            Polyline fold{{X(110), 214}, {X(103), 224}, {X(104), 242}, {X(109), 250}};
            q.drawPath(pathThrough(sampleSpline(fold, 20), false));
            softEllipse(q, QPointF(X(110), 236), 4, 8, QColor(150, 90, 78, 200));
        });
    }
}

void drawFace(QPainter& p) {
    const QPainterPath path = facePath();
    QRadialGradient g(QPointF(182, 205), 150);
    g.setColorAt(0.0, kSkinLight);
    g.setColorAt(0.55, kSkin);
    g.setColorAt(1.0, QColor(214, 168, 144));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(path);
    p.save();
    p.setClipPath(path);
    paintSoft(p, kSize, 14, 0.55, [&](QPainter& q) {  // the face turns away at its outline
        q.setPen(QPen(kSkinShade, 16));
        q.setBrush(Qt::NoBrush);
        q.drawPath(path);
    });
    softEllipse(p, QPointF(124, 178), 16, 34, withAlpha(kSkinShade, 70));  // temples
    softEllipse(p, QPointF(256, 178), 16, 34, withAlpha(kSkinShade, 90));
    softEllipse(p, QPointF(186, 150), 46, 22, withAlpha(kSkinLight, 150));  // forehead
    softEllipse(p, QPointF(150, 232), 20, 12, withAlpha(kSkinLight, 120));  // cheekbones
    softEllipse(p, QPointF(230, 232), 20, 12, withAlpha(kSkinLight, 90));
    softEllipse(p, QPointF(146, 248), 24, 15, QColor(236, 146, 140, 60));  // blush
    softEllipse(p, QPointF(234, 248), 24, 15, QColor(236, 146, 140, 60));
    softEllipse(p, QPointF(190, 318), 18, 8, withAlpha(kSkinLight, 120));  // chin
    softEllipse(p, QPointF(138, 292), 22, 26, withAlpha(kSkinShade, 60));  // jaw
    softEllipse(p, QPointF(242, 292), 22, 26, withAlpha(kSkinShade, 75));
    p.restore();
}

}  // namespace

void drawPortraitEyes(QPainter& p);
void drawPortraitNoseAndLips(QPainter& p);
void drawPortraitBrows(QPainter& p);

namespace {

void drawHairCap(QPainter& p) {
    Polyline half{{190, 77},  {158, 80},  {131, 92},  {114, 114}, {107, 145}, {106, 180}, {108, 208},
                  {113, 214}, {116, 196}, {119, 166}, {126, 142}, {140, 127}, {162, 120}, {190, 117}};
    Polyline all = sampleSpline(half, 80);
    Polyline right = mirrored(all, kMidX);
    for (auto it = right.rbegin(); it != right.rend(); ++it) all.push_back(*it);
    Crop crop;
    crop.region = pathThrough(all, true);
    crop.crown = QPointF(186, 40);
    crop.length = 6.5;
    crop.density = 5200;
    crop.softness = 3;
    crop.seed = 7;
    HairPalette pal{QColor(28, 22, 20), QColor(48, 37, 32), QColor(72, 56, 46), QColor(140, 118, 104)};
    QImage layer = newLayer(kCanvasW, kCanvasH);
    QPainter q;
    beginPainter(q, layer);
    drawCrop(q, crop, pal);
    q.end();
    shadeHair(layer, QPointF(165, 70), 170, 90);
    p.drawImage(0, 0, layer);
}

}  // namespace

QImage renderPortrait() {
    QImage img = newLayer(kCanvasW, kCanvasH);
    QPainter p;
    beginPainter(p, img);
    drawBackground(p);
    drawBody(p);
    drawTop(p);
    drawEars(p);
    drawFace(p);
    drawPortraitEyes(p);
    drawPortraitBrows(p);
    drawPortraitNoseAndLips(p);
    drawHairCap(p);
    p.end();
    return img.convertToFormat(QImage::Format_RGB888);
}

void writePortrait(Writer& out) { out.picture(renderPortrait(), QStringLiteral("ziyuan/huaban.bmp"), "BMP"); }

}  // namespace installdata
