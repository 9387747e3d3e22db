#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

#include "PortraitParts.h"

// The sample portrait: a young woman, frontal, bare shoulders, close-cropped hair, soft studio light
// from the upper left against a painted grey backdrop. The skin is shaded per pixel (SkinShading).
namespace installdata {

namespace {

using namespace face;
using namespace portrait;

// Painted backdrop: lighter behind the head on the lit side, a soft mottle, and the sitter's own
// shadow falling to the lower right.
void drawBackdrop(QImage& img) {
    Field silhouette = coverageOf(facePath().united(bodyPath()).united(ownHairRegion()), kCanvasW, kCanvasH);
    Field shadow(kCanvasW, kCanvasH);
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x) shadow(x, y) = silhouette.clamped(x - 22, y - 14);
    blurField(shadow, 26);
    const Field mottle = fractalNoise(kCanvasW, kCanvasH, 90, 3, 0.55, 171);
    for (int y = 0; y < kCanvasH; ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < kCanvasW; ++x) {
            const double dx = (x - 160.0) / 260.0, dy = (y - 170.0) / 300.0;
            const double fall = std::min(1.0, std::sqrt(dx * dx + dy * dy));
            QColor c = mix(QColor(206, 206, 208), QColor(112, 116, 126), std::pow(fall, 1.4));
            const double k = (1.0 + 0.045 * mottle(x, y)) * (1.0 - 0.22 * shadow(x, y));
            row[x] = qRgb(std::clamp(static_cast<int>(c.red() * k), 0, 255),
                          std::clamp(static_cast<int>(c.green() * k), 0, 255),
                          std::clamp(static_cast<int>(c.blue() * k * 1.01), 0, 255));
        }
    }
}

// Close-cropped hair, kept strictly inside the own-hair region: a soft dark mass fading in at the
// hairline, then short strands that grow away from the crown, each wholly inside the region.
void drawOwnHair(QImage& img) {
    const QPainterPath region = ownHairRegion();
    QImage layer = newLayer(kCanvasW, kCanvasH);
    QPainter q;
    beginPainter(q, layer);
    paintSoft(q, layer.size(), 5, 1.0, [&](QPainter& m) {
        m.setPen(Qt::NoPen);
        m.setBrush(QColor(34, 26, 23, 250));
        m.drawPath(region);
    });
    const QPointF crown(188, 58);
    const QRectF box = region.boundingRect();
    Rng rng(181);
    const QColor tones[] = {QColor(22, 17, 15), QColor(40, 30, 26), QColor(58, 44, 36), QColor(84, 66, 54)};
    for (int k = 0; k < 9000; ++k) {
        const QPointF at(rng.range(box.left(), box.right()), rng.range(box.top(), box.bottom()));
        const QPointF d = at - crown;
        const double ang = std::atan2(d.y(), d.x()) + rng.symmetric(0.3), len = rng.range(3.0, 7.0);
        const QPointF dir(std::cos(ang), std::sin(ang));
        const QPointF tip = at + dir * len;
        if (!region.contains(at) || !region.contains(tip)) continue;
        const double lit = std::max(0.0, -(dir.x() * 0.4 + dir.y() * 0.6)) * smoothstep(150, 60, at.y());
        const QColor c = rng.uniform() < 0.12 + 0.3 * lit ? QColor(120, 98, 84)
                                                          : tones[static_cast<int>(rng.uniform() * 4)];
        fillRibbon(q, {at, at + dir * (len * 0.5) + QPointF(-dir.y(), dir.x()) * rng.symmetric(0.5), tip},
                   rng.range(0.6, 1.0), 0.15, withAlpha(c, static_cast<int>(rng.range(120, 220))));
    }
    q.setCompositionMode(QPainter::CompositionMode_SourceAtop);  // the cap turns away from the light
    QRadialGradient shade(QPointF(160, 70), 150);
    shade.setColorAt(0.35, QColor(0, 0, 0, 0));
    shade.setColorAt(1.0, QColor(0, 0, 0, 110));
    q.fillRect(layer.rect(), shade);
    q.end();
    QPainter p;
    beginPainter(p, img);
    p.setClipPath(region);
    p.drawImage(0, 0, layer);
    paintSoft(p, img.size(), 8, 0.35, [&](QPainter& m) {  // the sheen of the crown on the lit side
        m.setPen(QPen(QColor(150, 130, 116), 6, Qt::SolidLine, Qt::RoundCap));
        m.setBrush(Qt::NoBrush);
        m.drawArc(QRectF(126, 82, 120, 70), static_cast<int>(100 * 16), static_cast<int>(55 * 16));
    });
    p.end();
}

// A lens and skin that scatters light are never razor sharp: a little of a soft copy over the whole.
void soften(QImage& img) {
    QImage soft = img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    blurLayer(soft, 2);
    QPainter p(&img);
    p.setOpacity(0.35);
    p.drawImage(0, 0, soft);
}

// Film grain: a photograph is never clean.
void addGrain(QImage& img) {
    Rng rng(191);
    for (int y = 0; y < img.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const int n = static_cast<int>(std::lround(rng.symmetric(3.0)));
            row[x] = qRgb(std::clamp(qRed(row[x]) + n, 0, 255), std::clamp(qGreen(row[x]) + n, 0, 255),
                          std::clamp(qBlue(row[x]) + n, 0, 255));
        }
    }
}

}  // namespace

namespace {

QImage paintPortrait() {
    QImage img(kCanvasW, kCanvasH, QImage::Format_RGB32);
    drawBackdrop(img);
    const SkinSurface body = bodySurface(), ears = earSurface(), face = faceSurface();
    const Field front = frontHeight({&body, &ears, &face});
    shadeSurface(img, body, front);
    shadeSurface(img, ears, front);
    shadeSurface(img, face, front);
    drawEyes(img);
    QPainter p;
    beginPainter(p, img);
    drawBrows(p);
    p.end();
    drawOwnHair(img);
    soften(img);
    addGrain(img);
    return img.convertToFormat(QImage::Format_RGB888);
}

}  // namespace

// Painted once per run: the hairstyle cards reuse it.
QImage renderPortrait() {
    static const QImage portrait = paintPortrait();
    return portrait;
}

void writePortrait(Writer& out) { out.picture(renderPortrait(), QStringLiteral("ziyuan/huaban.bmp"), "BMP"); }

}  // namespace installdata
