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

// Painted backdrop lit by a spot behind the sitter: brightest high behind the head, falling off
// toward the corners, a soft mottle, the sitter's own shadow to the lower right, and the shade that
// the head and shoulders throw on the paper round the neck, where a photograph is never pale.
void drawBackdrop(QImage& img) {
    const Field silhouette = coverageOf(
        facePath().united(bodyPath()).united(ownHairRegion()).united(earsPath()), kCanvasW, kCanvasH);
    Field shadow(kCanvasW, kCanvasH), near = silhouette;
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x) shadow(x, y) = silhouette.clamped(x - 20, y - 12);
    blurField(shadow, 24);
    Field close = near;  // hugs the jaw and neck: the dark pocket where long hair falls beside them
    blurField(near, 64);
    blurField(close, 18);
    const Field mottle = fractalNoise(kCanvasW, kCanvasH, 90, 3, 0.55, 171),
                hue = valueNoise(kCanvasW, kCanvasH, 140, 140, 172);
    for (int y = 0; y < kCanvasH; ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        // Below the ears the paper lies in the shade of the head, deepest beside the neck.
        const double low =
            smoothstep(215.0, 300.0, y + 0.5) * (1.0 - 0.75 * smoothstep(340.0, 440.0, y + 0.5));
        const double jaw = smoothstep(236.0, 280.0, y + 0.5) * smoothstep(372.0, 330.0, y + 0.5);
        for (int x = 0; x < kCanvasW; ++x) {
            const double dx = (x - 168.0) / 250.0, dy = (y - 150.0) / 290.0;
            const double fall = std::min(1.0, std::sqrt(dx * dx + dy * dy));
            QColor c = mix(QColor(196, 197, 198), QColor(96, 102, 114), std::pow(fall, 1.25));
            const double vignette =
                1.0 - 0.28 * std::pow(std::hypot((x - 190.0) / 270.0, (y - 240.0) / 300.0), 2.2);
            const double shade = 1.0 - 0.2 * shadow(x, y) - 0.42 * low * std::min(1.0f, 1.5f * near(x, y)) -
                                 0.3 * jaw * std::min(1.0f, 1.8f * close(x, y));
            const double k = (1.0 + 0.04 * mottle(x, y)) * shade * vignette;
            const double warm = 0.015 * hue(x, y);
            row[x] = qRgb(std::clamp(static_cast<int>(c.red() * k * (1 + warm)), 0, 255),
                          std::clamp(static_cast<int>(c.green() * k), 0, 255),
                          std::clamp(static_cast<int>(c.blue() * k * (1.015 - warm)), 0, 255));
        }
    }
}

// Darkens skin by t (0..1) the way shade falls on it: red, scattered furthest under the skin, least.
QRgb warmShade(QRgb c, double t) {
    return qRgb(static_cast<int>(qRed(c) * (1 - 0.8 * t)), static_cast<int>(qGreen(c) * (1 - t)),
                static_cast<int>(qBlue(c) * (1 - t)));
}

void drawNeckBehindJaw(QImage& img) {
    Field form = coverageOf(neckBehindJaw(), kCanvasW, kCanvasH);
    blurField(form, 2);  // the neck's side is an outline in focus, like the shoulders
    const Field mottle = valueNoise(kCanvasW, kCanvasH, 9, 9, 177);
    Field jaw = coverageOf(facePath(), kCanvasW, kCanvasH);  // the jaw overhangs: shade next to it
    blurField(jaw, 6);
    for (int y = 240; y < 350; ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < kCanvasW; ++x) {
            const double t = 0.97 * std::min(1.0f, 1.3f * form(x, y));
            if (t <= 0) continue;
            // Lit a little from the key on the left, most on the side of the neck that turns toward
            // it, darker on the far side and up under the jaw and the ear.
            const double toward = x < kMidX ? 1.0 + 0.1 * smoothstep(150.0, 122.0, x + 0.5) : 0.84;
            const double k = toward * (1.0 + 0.05 * mottle(x, y)) *
                             (0.75 + 0.25 * smoothstep(250.0, 300.0, y + 0.5)) *
                             (1.0 - 0.5 * std::min(1.0f, 1.6f * jaw(x, y)));
            const QColor c(static_cast<int>(120 * k), static_cast<int>(85 * k), static_cast<int>(73 * k));
            row[x] = qRgb(static_cast<int>(qRed(row[x]) + (c.red() - qRed(row[x])) * t),
                          static_cast<int>(qGreen(row[x]) + (c.green() - qGreen(row[x])) * t),
                          static_cast<int>(qBlue(row[x]) + (c.blue() - qBlue(row[x])) * t));
        }
    }
}

// Under the jaw and chin the neck lies in the shadow of the head: darkest right under the outline and
// fading down the neck, reaching further on the far side, away from the key on the upper left.
void shadeUnderJaw(QImage& img) {
    const Field face = coverageOf(facePath(), kCanvasW, kCanvasH);
    const Field skin = coverageOf(bodyPath().united(neckBehindJaw()), kCanvasW, kCanvasH);
    Field shade(kCanvasW, kCanvasH);
    for (int x = 0; x < kCanvasW; ++x) {
        int bottom = -1;  // the lowest row of the face in this column
        for (int y = 250; y < 345; ++y)
            if (face(x, y) > 0.5f) bottom = y;
        if (bottom < 0) continue;
        const double reach = 9.0 + 13.0 * smoothstep(140.0, 240.0, x + 0.5);
        for (int y = bottom + 1; y < std::min(kCanvasH, bottom + 80); ++y)
            shade(x, y) = static_cast<float>(std::exp(-(y - bottom - 1) / reach));
    }
    blurField(shade, 3);
    for (int y = 240; y < 420; ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < kCanvasW; ++x) {
            const double t = 0.62 * shade(x, y) * skin(x, y) * (1 - face(x, y));
            if (t <= 0) continue;
            row[x] = warmShade(row[x], t);
        }
    }
}

// The cheeks and jaw turn away from the lens toward the outline and take less light there, so the
// face rounds off into the backdrop instead of ending at a cut edge.
void roundOffFace(QImage& img) {
    const Field face = coverageOf(facePath(), kCanvasW, kCanvasH);
    Field inner = face;
    blurField(inner, 14);
    for (int y = 200; y < kCanvasH; ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        const double below = smoothstep(226.0, 266.0, y + 0.5);
        for (int x = 0; x < kCanvasW; ++x) {
            if (face(x, y) <= 0) continue;
            // The lit side keeps more of its light toward the jaw.
            const double side = x < kMidX ? 0.6 : 1.0;
            const double t = 0.22 * side * below * face(x, y) * smoothstep(0.9, 0.45, inner(x, y));
            row[x] = warmShade(row[x], t);
        }
    }
}

// Fine vellus hair along the outline catches the key: a faint, lighter fringe of short strands that
// straddles the edge of the cheek and jaw, strongest on the lit side, so the skin does not end at a
// cut line. The strands radiate from the face, so their noise runs round it, not across.
void addPeachFuzz(QImage& img) {
    const Field face = coverageOf(facePath(), kCanvasW, kCanvasH),
                ears = coverageOf(earsPath(), kCanvasW, kCanvasH);
    Field band = face;
    blurField(band, 3);
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x)
            band(x, y) = band(x, y) > 0.01f && band(x, y) < 0.99f ? 1.0f : 0.0f;
    const Field d = distanceTo({faceOutline()}, band);
    const Field strands = valueNoise(1400, 2, 1.3, 1.0, 177);
    for (int y = 205; y < 336; ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < kCanvasW; ++x) {
            if (band(x, y) <= 0) continue;
            const double across = face(x, y) > 0.5f ? d(x, y) : -d(x, y);  // + inside the face
            const double profile = std::exp(-std::pow((across - 0.2) / 1.3, 2.0));
            const double round = std::atan2(y + 0.5 - 215.0, x + 0.5 - kMidX) * 200.0 + 700.0;
            const double hair = 0.5 + 0.5 * strands.sample(round, 0.5);
            const double lit = 0.45 + 0.55 * smoothstep(kMidX + 50.0, kMidX - 50.0, x + 0.5);
            // Along the jaw, turned away into shade, the fringe barely catches the light.
            const double t = 0.2 * profile * hair * lit * (1.0 - ears(x, y)) *
                             smoothstep(205.0, 232.0, y + 0.5) *
                             (1.0 - 0.75 * smoothstep(262.0, 292.0, y + 0.5));
            const QRgb c = row[x];
            auto mix = [t](int u, int v) { return static_cast<int>(std::lround(u + (v - u) * t)); };
            row[x] = qRgb(mix(qRed(c), 246), mix(qGreen(c), 222), mix(qBlue(c), 204));
        }
    }
}

// No face is a mirror image: a gentle displacement of the features, a pixel at most, leaves one eye
// a touch lower, one mouth corner a touch higher and the nose a little off the middle. It fades out
// toward the outline and the hairline, so the silhouette and the hair region stay where they are.
void breakSymmetry(QImage& img) {
    Field weight = coverageOf(facePath(), kCanvasW, kCanvasH),
          hair = coverageOf(ownHairRegion(), kCanvasW, kCanvasH);
    blurField(hair, 12);
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x) weight(x, y) = std::max(0.0f, weight(x, y) - 2.0f * hair(x, y));
    blurField(weight, 16);
    Field dx(kCanvasW, kCanvasH), dy(kCanvasW, kCanvasH);
    addBlob(dy, QPointF(kEyeLeftX, kEyeY), 16, 10, -0.6);  // the left eye sits lower
    addBlob(dy, QPointF(214, 290), 10, 8, 0.8);            // the right corner of the mouth higher
    addBlob(dx, QPointF(190, 250), 9, 10, -0.7);           // the nose leans a little to the right
    addBlob(dx, QPointF(190, 300), 22, 8, 0.4);            // and the mouth a little to the left
    const Field wobbleX = valueNoise(kCanvasW, kCanvasH, 36, 36, 175),
                wobbleY = valueNoise(kCanvasW, kCanvasH, 36, 36, 176);
    const QImage src = img.copy();
    for (int y = 0; y < kCanvasH; ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < kCanvasW; ++x) {
            const float w = std::min(1.0f, 2.0f * weight(x, y));
            if (w <= 0.01f) continue;
            // Read from where the feature came from: bilinear between the four source pixels.
            const double sx = x + w * (dx(x, y) + 0.4 * wobbleX(x, y)),
                         sy = y + w * (dy(x, y) + 0.4 * wobbleY(x, y));
            const int x0 = std::clamp(static_cast<int>(std::floor(sx)), 0, kCanvasW - 2),
                      y0 = std::clamp(static_cast<int>(std::floor(sy)), 0, kCanvasH - 2);
            const double tx = std::clamp(sx - x0, 0.0, 1.0), ty = std::clamp(sy - y0, 0.0, 1.0);
            const QRgb a = src.pixel(x0, y0), b = src.pixel(x0 + 1, y0), c = src.pixel(x0, y0 + 1),
                       d = src.pixel(x0 + 1, y0 + 1);
            auto ch = [&](int (*get)(QRgb)) {
                const double top = get(a) + (get(b) - get(a)) * tx, bottom = get(c) + (get(d) - get(c)) * tx;
                return static_cast<int>(std::lround(top + (bottom - top) * ty));
            };
            row[x] = qRgb(ch(qRed), ch(qGreen), ch(qBlue));
        }
    }
}

// A camera's tone curve, not boosted: shadows lifted a touch off black (a lens flares a little) and
// the highlights rolled off, the middle tones left nearly as they are.
void toneCurve(QImage& img) {
    int lut[256];
    for (int i = 0; i < 256; ++i) {
        const double v = i / 255.0, s = v * v * (3 - 2 * v);
        const double shoulder = v - 0.025 * std::pow(std::max(0.0, v - 0.75) / 0.25, 2.0);
        lut[i] = std::clamp(
            static_cast<int>(std::lround(255.0 * (0.012 + 0.97 * (0.9 * shoulder + 0.1 * s)))), 0, 255);
    }
    for (int y = 0; y < img.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            row[x] = qRgb(lut[qRed(row[x])], lut[qGreen(row[x])], lut[qBlue(row[x])]);
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

// A lens focused on the sitter: face, neck and shoulders share one plane of focus and keep crisp
// outlines, while the painted backdrop behind them is out of focus. The backdrop is blurred from its
// own pixels only (the sitter is masked out of the blur and divided out after it), so no skin
// colour smears across the outline into the paper.
void depthOfField(QImage& img) {
    const Field subject = coverageOf(
        facePath().united(bodyPath()).united(ownHairRegion()).united(earsPath()).united(neckBehindJaw()),
        kCanvasW, kCanvasH);
    QImage paper(kCanvasW, kCanvasH, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < kCanvasH; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(paper.scanLine(y));
        for (int x = 0; x < kCanvasW; ++x) {
            const int a = static_cast<int>(std::lround(255.0 * (1.0 - subject(x, y))));
            out[x] = qPremultiply(qRgba(qRed(row[x]), qGreen(row[x]), qBlue(row[x]), a));
        }
    }
    blurLayer(paper, 6);
    for (int y = 0; y < kCanvasH; ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        const auto* b = reinterpret_cast<const QRgb*>(paper.constScanLine(y));
        for (int x = 0; x < kCanvasW; ++x) {
            const double t = 0.9 * (1.0 - subject(x, y));
            if (t <= 0 || qAlpha(b[x]) < 8) continue;
            const QRgb c = qUnpremultiply(b[x]);
            auto ch = [t](int u, int v) { return static_cast<int>(std::lround(u + (v - u) * t)); };
            row[x] =
                qRgb(ch(qRed(row[x]), qRed(c)), ch(qGreen(row[x]), qGreen(c)), ch(qBlue(row[x]), qBlue(c)));
        }
    }
}

// A lens never brings the three colours to quite the same place: toward the frame red lands a
// fraction of a pixel further out than blue, and the colour (not the brightness) of each pixel
// bleeds a little into its neighbours, so high-contrast edges carry a faint fringe.
void chromaticSoftness(QImage& img) {
    const QImage src = img.copy();
    QImage soft = src.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    blurLayer(soft, 1);
    auto sample = [&](double sx, double sy, int (*get)(QRgb)) {
        const int x0 = std::clamp(static_cast<int>(std::floor(sx)), 0, kCanvasW - 2),
                  y0 = std::clamp(static_cast<int>(std::floor(sy)), 0, kCanvasH - 2);
        const double tx = std::clamp(sx - x0, 0.0, 1.0), ty = std::clamp(sy - y0, 0.0, 1.0);
        const double top =
            get(src.pixel(x0, y0)) + (get(src.pixel(x0 + 1, y0)) - get(src.pixel(x0, y0))) * tx;
        const double bottom =
            get(src.pixel(x0, y0 + 1)) + (get(src.pixel(x0 + 1, y0 + 1)) - get(src.pixel(x0, y0 + 1))) * tx;
        return top + (bottom - top) * ty;
    };
    constexpr double kSpread = 0.0028;  // red and blue each about 0.9 px off green at the corners
    for (int y = 0; y < kCanvasH; ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        const auto* s = reinterpret_cast<const QRgb*>(soft.constScanLine(y));
        for (int x = 0; x < kCanvasW; ++x) {
            const double dx = x - kMidX, dy = y - 220.0;
            double r = sample(kMidX + dx * (1 - kSpread), 220.0 + dy * (1 - kSpread), qRed);
            const double g = qGreen(src.pixel(x, y));
            double b = sample(kMidX + dx * (1 + kSpread), 220.0 + dy * (1 + kSpread), qBlue);
            // A third of the colour difference comes from the soft copy.
            const double sr = qRed(s[x]) - qGreen(s[x]), sb = qBlue(s[x]) - qGreen(s[x]);
            r = g + (r - g) * 0.67 + sr * 0.33;
            b = g + (b - g) * 0.67 + sb * 0.33;
            // The brightness stays the pixel's own: only its colour moves.
            const QRgb c = src.pixel(x, y);
            const double shift = (0.299 * qRed(c) + 0.114 * qBlue(c)) - (0.299 * r + 0.114 * b);
            auto ch = [](double v) { return std::clamp(static_cast<int>(std::lround(v)), 0, 255); };
            row[x] = qRgb(ch(r + shift), ch(g + shift), ch(b + shift));
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

constexpr float kHeadSetBack = 16.0f;  // px of the face's depth left out of its shadow on the neck

QImage paintPortrait() {
    QImage img(kCanvasW, kCanvasH, QImage::Format_RGB32);
    drawBackdrop(img);
    drawNeckBehindJaw(img);
    const SkinSurface body = bodySurface(), ears = earSurface(), face = faceSurface();
    // The neck runs on behind the face: where the face covers it, only the face can cast a shadow.
    Field front = frontHeight({&body, &ears, &face});
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x)
            if (face.cover(x, y) > 0.5f) front(x, y) = face.depth + face.height(x, y);
    // On the neck the traced shadow of the head would end in one hard-edged block; it is kept to a
    // short rim under the jaw, and shadeUnderJaw lays the shadow that fades down the neck.
    Field nearHead = front;
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x)
            if (face.cover(x, y) > 0.5f) nearHead(x, y) -= kHeadSetBack;
    shadeSurface(img, body, nearHead);
    modelBodyLight(img);
    shadeUnderJaw(img);
    shapeNeck(img);
    shadeSurface(img, ears, front);
    drawEarForm(img);
    shadeSurface(img, face, front);
    roundOffFace(img);
    modelFaceLight(img);
    drawNoseForm(img);
    modelLips(img);
    settleSkinColour(img);
    colourSkinZones(img);
    contourLowerFace(img);
    joinFaceToHead(img);
    shadeHairline(img);
    addPeachFuzz(img);
    addSkinSheen(img);
    drawEyes(img);
    QPainter p;
    beginPainter(p, img);
    drawBrows(p);
    p.end();
    breakSymmetry(img);
    drawOwnHair(img);
    soften(img);
    depthOfField(img);
    addPores(img);
    textureBodySkin(img);
    toneCurve(img);
    chromaticSoftness(img);
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
