#include <algorithm>
#include <cmath>

#include "PortraitParts.h"

// The face of the sample portrait as a lit surface: the forms of brow, sockets, cheekbones, nose,
// lips and chin as heights, and the colour of the skin, its flush, pores and freckles as albedo.
namespace installdata::portrait {

namespace {

using namespace face;

void addMirroredRidge(Field& f, const Polyline& half, double radius, double a0, double a1) {
    for (int side : {-1, 1}) addRidge(f, mapped(half, side), radius, a0, a1);
}

void addMirroredBlob(Field& f, QPointF c, double rx, double ry, double amp, double angle = 0.0) {
    addBlob(f, c, rx, ry, amp, angle);
    addBlob(f, QPointF(2 * kMidX - c.x(), c.y()), rx, ry, amp, -angle);
}

void tintMirrored(SkinSurface& s, QPointF c, double rx, double ry, const QColor& colour, double strength) {
    tintBlob(s, c, rx, ry, colour, strength);
    tintBlob(s, QPointF(2 * kMidX - c.x(), c.y()), rx, ry, colour, strength);
}

// Skull and face: a rounded outline over a shallow ellipsoid, so the cheeks turn away at the sides.
void modelBase(SkinSurface& s) {
    const Field d = distanceTo({faceOutline()}, s.cover);
    Field base(kCanvasW, kCanvasH);
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x) {
            if (s.cover(x, y) <= 0) continue;
            const double ex = (x + 0.5 - kMidX) / 84.0, ey = (y + 0.5 - 196.0) / 150.0;
            const double ellipsoid = 52.0 * std::sqrt(std::max(0.0, 1.0 - ex * ex - ey * ey));
            base(x, y) = roundEdge(d(x, y), 36.0f) * 0.75f + static_cast<float>(ellipsoid);
        }
    blurField(base, 10);  // no crease where the edges of the outline meet, as on the chin
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x) s.height(x, y) = base(x, y);
}

void modelEyesAndBrows(Field& h) {
    addMirroredRidge(h, {{130, 192}, {146, 186}, {164, 186}, {180, 193}}, 6.5, 3.0, 4.0);  // brow ridge
    addBlob(h, QPointF(190, 196), 8, 10, 2.0);                                             // glabella
    addMirroredBlob(h, QPointF(156, 205), 19, 12, -9.0);                                   // socket
    addMirroredBlob(h, QPointF(155, 206), 14, 9, 6.0);  // eyeball under the lids
    addMirroredRidge(h, {{169, 200}, {160, 193.5}, {150, 192}, {140, 195.5}, {135, 201}}, 1.4, -1.6,
                     -0.8);  // crease
    Polyline lidRim = upperLid(-1);
    for (QPointF& q : lidRim) q += QPointF(0, -1.0);
    addMirroredRidge(h, lidRim, 1.3, 1.0, 1.0);
    Polyline lowerRim = lowerLid(-1);
    for (QPointF& q : lowerRim) q += QPointF(0, 1.4);
    addMirroredRidge(h, lowerRim, 1.5, 0.5, 0.5);
    addMirroredRidge(h, {{141, 217}, {155, 221}, {169, 218}}, 4.0, -1.4, -1.0);  // tear trough
    addMirroredBlob(h, QPointF(121, 176), 10, 22, -3.0);                         // temple
}

void modelCheeksAndNose(Field& h) {
    addMirroredBlob(h, QPointF(141, 236), 22, 13, 5.0, 0.2);                        // cheekbone
    addMirroredBlob(h, QPointF(134, 274), 16, 18, -4.0);                            // below it
    addRidge(h, {{190, 204}, {190, 222}, {190, 238}, {190, 248}}, 10.0, 1.5, 7.0);  // base of the nose
    addRidge(h, {{190, 200}, {190, 214}, {190, 232}, {190, 243}}, 7.5, 2.0, 5.5);   // bridge
    addBlob(h, QPointF(190, 246), 6.5, 6.0, 7.0);                                   // tip
    addMirroredBlob(h, QPointF(179, 250), 5.5, 4.6, 6.0);                           // alae
    addMirroredRidge(h, {{181, 243}, {175.5, 246.5}, {174.5, 252.5}, {179, 256.5}}, 1.8, -0.6, -1.6);
    addMirroredBlob(h, QPointF(184.5, 254.2), 3.2, 1.5, -8.0, 0.25);  // nostrils
    addRidge(h, {{190, 250}, {190, 257}}, 2.0, 3.0, 2.0);             // columella
    addBlob(h, QPointF(190, 260.5), 9, 2.8, -3.0);                    // under the nose
    addMirroredBlob(h, QPointF(160, 268), 9, 13, 1.4);                // the cheeks round off beside the mouth
}

void modelMouthAndChin(SkinSurface& s) {
    Field& h = s.height;
    addMirroredRidge(h, {{187.5, 262}, {186.5, 282}}, 2.0, 0.35, 0.3);  // philtrum columns
    Field upper = coverageOf(upperLipPath(), kCanvasW, kCanvasH),
          lower = coverageOf(lowerLipPath(), kCanvasW, kCanvasH);
    blurField(upper, 4);
    blurField(lower, 5);
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x) h(x, y) += 3.0f * upper(x, y) + 4.5f * lower(x, y);
    addRidge(h, mouthLine(), 1.0, -2.5, -2.5);
    addMirroredBlob(h, QPointF(164, 291), 3.0, 3.0, -2.5);
    addRidge(h, {{176, 309}, {190, 311.5}, {204, 309}}, 3.5, -2.5, -2.5);  // under the lower lip
    addBlob(h, QPointF(190, 321), 15, 9, 5.0);                             // chin
}

// Pores: small pits, densest on the nose and cheeks, and a fine unevenness of the colour; the lips
// carry fine vertical creases.
void modelTexture(SkinSurface& s) {
    const Field grain = fractalNoise(kCanvasW, kCanvasH, 2.0, 2, 0.6, 102);
    const Field creases = valueNoise(kCanvasW, kCanvasH, 1.0, 5.0, 103);
    Field lips = coverageOf(upperLipPath(), kCanvasW, kCanvasH);
    const Field lower = coverageOf(lowerLipPath(), kCanvasW, kCanvasH);
    Field dense(kCanvasW, kCanvasH);
    addBlob(dense, QPointF(190, 244), 14, 12, 1.0);
    addMirroredBlob(dense, QPointF(150, 250), 20, 16, 0.7);
    Field pits(kCanvasW, kCanvasH);
    Rng rng(101);
    for (int k = 0; k < 9000; ++k) {
        const QPointF at(rng.range(112, 268), rng.range(84, 334));
        const double depth =
            0.12 + 0.25 * std::min(1.0f, dense.clamped(static_cast<int>(at.x()), static_cast<int>(at.y())));
        addBlob(pits, at, 0.75, 0.75, -depth * rng.range(0.5, 1.0));
    }
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x) {
            const float lip = std::min(1.0f, lips(x, y) + lower(x, y));
            s.micro(x, y) = (1 - lip) * pits(x, y) + lip * 0.22f * creases(x, y);
            const float speck = 1.0f + (1 - lip) * 0.025f * grain(x, y);
            s.r(x, y) *= speck;
            s.g(x, y) *= speck;
            s.b(x, y) *= speck;
        }
}

void colourSkin(SkinSurface& s) {
    fillSurface(s, QColor(224, 184, 162), 0.3);
    const Field blotch = fractalNoise(kCanvasW, kCanvasH, 28.0, 3, 0.5, 111),
                warm = valueNoise(kCanvasW, kCanvasH, 18, 18, 112);
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x) {
            const float k = 1.0f + 0.035f * blotch(x, y), t = 0.018f * warm(x, y);
            s.r(x, y) = s.r(x, y) * k + t;
            s.g(x, y) *= k;
            s.b(x, y) = s.b(x, y) * k - 0.5f * t;
        }
    tintBlob(s, QPointF(190, 140), 42, 22, QColor(228, 186, 156), 0.2);        // forehead, a little yellower
    tintMirrored(s, QPointF(146, 250), 26, 18, QColor(216, 136, 122), 0.16);   // flush of the cheeks
    tintBlob(s, QPointF(190, 247), 12, 9, QColor(216, 136, 122), 0.22);        // nose tip and alae
    tintMirrored(s, QPointF(156, 218), 15, 4.5, QColor(176, 134, 136), 0.2);   // under the eyes
    tintMirrored(s, QPointF(155, 198), 15, 5, QColor(192, 138, 128), 0.2);     // lids
    tintMirrored(s, QPointF(172, 206), 3.5, 3.5, QColor(204, 128, 122), 0.3);  // inner corners
    tintBlob(s, QPointF(190, 320), 13, 8, QColor(220, 158, 140), 0.15);
    tintBlob(s, QPointF(190, 292), 34, 19, QColor(206, 158, 138), 0.12);  // round the mouth
    Field lips = coverageOf(upperLipPath(), kCanvasW, kCanvasH),
          lower = coverageOf(lowerLipPath(), kCanvasW, kCanvasH);
    blurField(lips, 1);
    blurField(lower, 1);
    tintSurface(s, lips, QColor(156, 68, 74), 0.88);
    tintSurface(s, lower, QColor(180, 90, 90), 0.85);
    Field line(kCanvasW, kCanvasH);
    Polyline inner = mouthLine();
    inner = Polyline(inner.begin() + 3, inner.end() - 3);  // the corners stay soft
    addRidge(line, inner, 0.9, 1.0, 1.0);
    tintSurface(s, line, QColor(96, 44, 48), 0.9);
    for (int side : {-1, 1})
        tintBlob(s, QPointF(kMidX + side * 5.5, 254.2), 3.0, 1.4, QColor(84, 44, 40), 0.85);
    Rng rng(113);
    for (int k = 0; k < 46; ++k) {  // faint freckles over the nose and cheeks
        const QPointF at(190 + rng.symmetric(52), 238 + rng.symmetric(16));
        tintBlob(s, at, rng.range(0.6, 1.1), rng.range(0.6, 1.0), QColor(170, 112, 86),
                 rng.range(0.06, 0.16));
    }
    tintBlob(s, QPointF(234, 263), 1.1, 1.0, QColor(120, 78, 62), 0.55);  // a small mole
    const Field redness = fractalNoise(kCanvasW, kCanvasH, 10.0, 2, 0.5, 114);
    Field flush(kCanvasW, kCanvasH);
    addBlob(flush, QPointF(190, 250), 14, 10, 1.0);  // fine red veins round the nose and on the cheeks
    addBlob(flush, QPointF(150, 248), 18, 12, 0.7);
    addBlob(flush, QPointF(230, 248), 18, 12, 0.7);
    addBlob(flush, QPointF(190, 318), 12, 8, 0.6);
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x) {
            const float t = std::max(0.0f, redness(x, y)) * std::min(1.0f, flush(x, y)) * 0.25f;
            s.g(x, y) -= 0.09f * t;
            s.b(x, y) -= 0.06f * t;
        }
}

void glossSkin(SkinSurface& s) {
    Field tZone(kCanvasW, kCanvasH), lips = coverageOf(upperLipPath(), kCanvasW, kCanvasH);
    const Field lower = coverageOf(lowerLipPath(), kCanvasW, kCanvasH);
    addBlob(tZone, QPointF(190, 150), 30, 20, 0.35);
    addRidge(tZone, {{190, 212}, {190, 248}}, 7, 0.1, 0.35);
    addBlob(tZone, QPointF(190, 321), 12, 8, 0.25);
    addMirroredBlob(tZone, QPointF(144, 232), 14, 9, 0.15);
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x)
            s.gloss(x, y) += tZone(x, y) + 0.3f * lips(x, y) + 0.6f * lower(x, y);
}

}  // namespace

SkinSurface faceSurface() {
    SkinSurface s(kCanvasW, kCanvasH);
    s.cover = coverageOf(facePath(), kCanvasW, kCanvasH);
    s.depth = 38;
    modelBase(s);
    modelEyesAndBrows(s.height);
    modelCheeksAndNose(s.height);
    modelMouthAndChin(s);
    colourSkin(s);
    modelTexture(s);
    glossSkin(s);
    return s;
}

}  // namespace installdata::portrait
