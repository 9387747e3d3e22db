#include <QPainterPath>
#include <QRadialGradient>

#include "InstallData.h"

// The pair that "去背景" puts behind a client's photo: a plain studio backdrop (baheng/00.jpg) and
// its mask (baheng/00p.jpg), white where the backdrop shows and black over a centred head and
// shoulders, which keep the photo.
namespace installdata {

namespace {

using namespace face;

QImage backdrop() {
    QImage img(kCanvasW, kCanvasH, QImage::Format_RGB32);
    QPainter p(&img);
    // A mottled grey-blue paper, lit from the upper left, darker towards the corners.
    QRadialGradient light(QPointF(150, 150), 420);
    light.setColorAt(0.0, QColor(202, 206, 212));
    light.setColorAt(0.6, QColor(160, 166, 176));
    light.setColorAt(1.0, QColor(104, 110, 122));
    p.fillRect(img.rect(), light);
    Rng rng(4711);
    for (int i = 0; i < 60; ++i) {
        const QPointF c(rng.range(0, kCanvasW), rng.range(0, kCanvasH));
        QRadialGradient blot(c, rng.range(30, 90));
        const int v = static_cast<int>(rng.range(-10, 10));
        blot.setColorAt(0.0, v > 0 ? QColor(255, 255, 255, 4 * v) : QColor(0, 0, 40, -4 * v));
        blot.setColorAt(1.0, QColor(0, 0, 0, 0));
        p.fillRect(img.rect(), blot);
    }
    return img;
}

// Black over the head (with room for the hair), the neck and the shoulders.
QImage mask() {
    QImage keep = newLayer(kCanvasW, kCanvasH);
    {
        QPainter p(&keep);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        p.drawEllipse(QPointF(kMidX, 200), 128, 158);
        QPainterPath body;
        body.moveTo(kMidX - 45, 300);
        body.cubicTo(kMidX - 50, 345, kMidX - 120, 350, kMidX - 175, 385);
        body.lineTo(-10, kCanvasH + 10);
        body.lineTo(kCanvasW + 10, kCanvasH + 10);
        body.lineTo(kMidX + 175, 385);
        body.cubicTo(kMidX + 120, 350, kMidX + 50, 345, kMidX + 45, 300);
        body.closeSubpath();
        p.drawPath(body);
    }
    blurLayer(keep, 6);  // a soft edge, so the photo fades into the backdrop
    QImage m(kCanvasW, kCanvasH, QImage::Format_RGB32);
    m.fill(Qt::white);
    QPainter p(&m);
    p.drawImage(0, 0, keep);
    return m;
}

}  // namespace

void writeBackdrop(Writer& out) {
    out.picture(backdrop(), QStringLiteral("baheng/00.jpg"), "JPG");
    out.picture(mask(), QStringLiteral("baheng/00p.jpg"), "JPG");
}

}  // namespace installdata
