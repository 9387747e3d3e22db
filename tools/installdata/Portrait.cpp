#include <QPainterPath>
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

// A lens and skin that scatters light are never razor sharp: a little of a soft copy over the whole.
void soften(QImage& img) {
    QImage soft = img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    blurLayer(soft, 2);
    QPainter p(&img);
    p.setOpacity(0.3);
    p.drawImage(0, 0, soft);
}

// A lens focused on the eyes: the head stays sharp, the shoulders and chest soften as they fall
// away below it, and the backdrop is out of focus. Blur grows from 0 (sharp) to 1 (a 6 px blur).
void depthOfField(QImage& img) {
    Field head = coverageOf(facePath().united(ownHairRegion()).united(earsPath()), kCanvasW, kCanvasH);
    blurField(head, 10);
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x) head(x, y) = std::min(1.0f, 2.0f * head(x, y));
    const Field body = coverageOf(bodyPath(), kCanvasW, kCanvasH);
    QImage mid = img.convertToFormat(QImage::Format_ARGB32_Premultiplied), far = mid;
    blurLayer(mid, 3);
    blurLayer(far, 6);
    for (int y = 0; y < kCanvasH; ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        const auto* m = reinterpret_cast<const QRgb*>(mid.constScanLine(y));
        const auto* f = reinterpret_cast<const QRgb*>(far.constScanLine(y));
        for (int x = 0; x < kCanvasW; ++x) {
            const double fall =
                smoothstep(345, 480, y + 0.5) * 0.7 +
                0.35 * smoothstep(70, 170, std::abs(x + 0.5 - kMidX)) * smoothstep(340, 400, y);
            const double subject = body(x, y) * std::min(1.0, fall);
            const double blur = std::clamp((subject + (1 - body(x, y)) * 0.9) * (1.0 - head(x, y)), 0.0, 1.0);
            const QRgb a = blur < 0.5 ? row[x] : m[x], b = blur < 0.5 ? m[x] : f[x];
            const double t = blur < 0.5 ? blur * 2 : blur * 2 - 1;
            auto ch = [&](int u, int v) { return static_cast<int>(std::lround(u + (v - u) * t)); };
            row[x] = qRgb(ch(qRed(a), qRed(b)), ch(qGreen(a), qGreen(b)), ch(qBlue(a), qBlue(b)));
        }
    }
}

// Sensor noise: a fine grain in brightness and a weaker, slightly coarser one in colour, stronger
// in the darks, as a photograph is never clean.
void addGrain(QImage& img) {
    const Field chromaR = valueNoise(kCanvasW, kCanvasH, 1.6, 1.6, 192),
                chromaB = valueNoise(kCanvasW, kCanvasH, 1.6, 1.6, 193);
    Rng rng(191);
    for (int y = 0; y < img.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const double luma = (qRed(row[x]) * 0.3 + qGreen(row[x]) * 0.59 + qBlue(row[x]) * 0.11) / 255.0;
            const double k = 1.4 - 0.6 * luma, n = rng.symmetric(3.2) * k;
            const double cr = 2.2 * k * chromaR(x, y), cb = 2.2 * k * chromaB(x, y);
            auto ch = [](double v) { return std::clamp(static_cast<int>(std::lround(v)), 0, 255); };
            row[x] = qRgb(ch(qRed(row[x]) + n + cr), ch(qGreen(row[x]) + n - 0.5 * (cr + cb)),
                          ch(qBlue(row[x]) + n + cb));
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
    depthOfField(img);
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
