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
            // Outside the outline only the ellipsoid, so the blur below does not pull the edge down.
            const double ex = (x + 0.5 - kMidX) / 79.0, ey = (y + 0.5 - 196.0) / 150.0;
            const double ellipsoid = 52.0 * std::sqrt(std::max(0.0, 1.0 - ex * ex - ey * ey));
            // The front of the chin faces the lens and turns under only near its lower edge: there the
            // rounded edge is narrower and lower (27 px high at full width elsewhere).
            const double chin =
                smoothstep(292.0, 322.0, y + 0.5) * smoothstep(44.0, 14.0, std::abs(x + 0.5 - kMidX));
            const float radius = static_cast<float>(36.0 - 22.0 * chin);
            const float roll =
                roundEdge(d(x, y), radius) / radius * 27.0f * static_cast<float>(1.0 - 0.6 * chin);
            base(x, y) = roll + static_cast<float>(ellipsoid);
        }
    blurField(base, 10);  // no crease where the edges of the outline meet, as on the chin
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x) s.height(x, y) = base(x, y);
}

// Broad, soft forms: the brow ridge over deep sockets, the eyeballs under the lids, the cheeks'
// rounded pads under the eyes and the cheekbones running back toward the ears.
void modelEyesAndBrows(Field& h) {
    addMirroredRidge(h, {{128, 190}, {144, 184.5}, {162, 185.5}, {178, 192}}, 8.0, 2.5, 3.0);  // brow ridge
    addBlob(h, QPointF(190, 195), 10, 12, 2.0);                                                // glabella
    addMirroredBlob(h, QPointF(157, 204), 21, 13, -10.0);                                      // socket
    addMirroredBlob(h, QPointF(169, 199), 6, 6, -2.5);        // deepest beside the root of the nose
    addMirroredBlob(h, QPointF(155, 205.5), 14.5, 8.5, 6.0);  // eyeball under the lids
    addMirroredRidge(h, {{169, 200}, {160, 193.5}, {150, 192}, {140, 195.5}, {135, 201}}, 1.4, -1.6,
                     -0.8);  // crease
    Polyline lidRim = upperLid(-1);
    for (QPointF& q : lidRim) q += QPointF(0, -1.0);
    addMirroredRidge(h, lidRim, 1.3, 1.0, 1.0);
    Polyline lowerRim = lowerLid(-1);
    for (QPointF& q : lowerRim) q += QPointF(0, 1.4);
    addMirroredRidge(h, lowerRim, 1.5, 0.5, 0.5);
    addMirroredRidge(h, {{143, 218}, {156, 222}, {169, 219}}, 5.0, -0.8, -0.6);  // tear trough
    addMirroredBlob(h, QPointF(121, 178), 11, 24, -3.2);                         // temple
}

void modelCheeks(Field& h) {
    addMirroredBlob(h, QPointF(149, 242), 20, 15, 4.0);        // the round of the cheek
    addMirroredBlob(h, QPointF(130, 229), 16, 11, 5.2, 0.35);  // cheekbone, back toward the ear
    addMirroredBlob(h, QPointF(133, 228), 8, 5, 1.0, 0.35);    // its crest
    addMirroredBlob(h, QPointF(134, 266), 12, 15, -7.5, 0.3);  // hollow below it
    addMirroredBlob(h, QPointF(161, 258), 10, 9, 1.5, 0.5);    // the soft pad beside the nose
    // The cheek ends in a soft fold from the wing of the nose toward the mouth corner.
    addMirroredRidge(h, {{175, 258}, {169, 267}, {165, 277}, {162, 287}}, 2.6, -0.9, -0.3);
    addMirroredBlob(h, QPointF(160, 270), 8, 10, 0.8, 0.3);
    addMirroredBlob(h, QPointF(165, 140), 22, 18, 2.5);  // the forehead's two soft domes
    // The front of the forehead turns to its sides along a soft edge above the outer brow.
    addMirroredRidge(h, {{146, 112}, {139, 134}, {136, 158}, {137, 178}}, 9.0, 1.6, 1.2);
    addMirroredRidge(h, {{128, 118}, {123, 142}, {121, 166}}, 7.0, -1.4, -1.0);
    // The jaw: a firm bone edge from below the ear down to the chin, the cheek hollow above it.
    addMirroredRidge(h, {{124, 262}, {129, 284}, {146, 303}, {166, 319}, {178, 323}}, 5.0, 2.2, 2.6);
    addMirroredBlob(h, QPointF(138, 286), 9, 12, -1.6, -0.5);
}

// The root of the nose sits low between the eyes; the bridge rises and narrows toward the tip,
// the base is broad with round wings, and the tip is a soft ball.
void modelNose(Field& h) {
    addRidge(h, {{190, 206}, {190, 219}, {190, 232}, {190, 244}}, 6.5, 1.2, 5.0);  // bridge
    addRidge(h, {{190, 228}, {190, 240}, {190, 249}}, 10.0, 0.0, 5.0);             // body, broad at the base
    addBlob(h, QPointF(190, 248), 7.0, 6.0, 7.5);                                  // tip
    addBlob(h, QPointF(190, 245), 4.0, 3.5, 1.5);                                  // its lit top
    addBlob(h, QPointF(192, 249), 4.0, 4.0, 0.8);              // a tip never quite on the middle
    addMirroredBlob(h, QPointF(180.5, 253.5), 5.0, 4.5, 5.0);  // wings
    addMirroredRidge(h, {{183, 245}, {177, 248}, {175.5, 254}, {178.5, 258.5}}, 1.6, -0.6, -1.6);
    addMirroredBlob(h, QPointF(185.2, 257.0), 2.8, 1.4, -2.2, 0.3);  // nostrils
    addRidge(h, {{190, 253}, {190, 259}}, 2.2, 2.5, 1.5);            // columella
    addBlob(h, QPointF(190, 262.5), 10, 3.0, -1.2);                  // under the nose
    addMirroredBlob(h, QPointF(176, 260), 4, 3, -1.5);               // where the wings meet the cheek
}

// Where the lips meet, a line is strongest on the middle and fades toward the corners to `floor`.
void fadeToCorners(Field& line, double floor) {
    for (int y = 280; y < 300; ++y)
        for (int x = 150; x < 230; ++x)
            line(x, y) *=
                static_cast<float>(floor + (1 - floor) * smoothstep(27.0, 6.0, std::abs(x + 0.5 - kMidX)));
}

// The upper lip leans forward from the mouth line to its border and faces down; the fuller lower
// lip rolls out and catches the light on top, with a soft shadow under it above the chin.
void modelMouthAndChin(SkinSurface& s) {
    Field& h = s.height;
    addBlob(h, QPointF(190, 284), 24, 20, 2.5);  // the mouth wraps round the teeth: its corners turn back
    addMirroredRidge(h, {{185.5, 265}, {184.5, 281}}, 3.0, 0.3, 0.3);  // philtrum columns
    Field upper = coverageOf(upperLipPath(), kCanvasW, kCanvasH),
          lower = coverageOf(lowerLipPath(), kCanvasW, kCanvasH);
    blurField(upper, 3);
    blurField(lower, 5);
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x) {
            const float lean = static_cast<float>(smoothstep(294.0, 283.0, y + 0.5));
            // The lower lip is fullest below its middle, tucked under the upper lip at the top.
            h(x, y) += 2.8f * upper(x, y) * (0.4f + 0.6f * lean) + 4.2f * lower.clamped(x, y - 1);
        }
    Polyline border =
        sampleSpline({{164, 291}, {172, 286.6}, {180, 281.8}, {185.5, 280.6}, {190, 282.6}}, 16);
    for (QPointF& q : border) q += QPointF(0, -1.2);
    addMirroredRidge(h, border, 1.1, 0.35, 0.5);  // the light roll along the upper lip's border
    Field groove(kCanvasW, kCanvasH);
    addRidge(groove, mouthLine(), 1.2, -1.2, -1.2);
    fadeToCorners(groove, 0.35);
    for (int y = 280; y < 300; ++y)
        for (int x = 150; x < 230; ++x) h(x, y) += groove(x, y);
    addMirroredBlob(h, QPointF(164, 291.5), 2.6, 2.2, -2.5);  // corners
    addBlob(h, QPointF(214, 288), 5, 4, 0.9);                 // one corner sits a touch higher
    addMirroredBlob(h, QPointF(159, 293), 5, 7, 0.8);         // and the small round of muscle beside them
    addRidge(h, {{174, 309}, {190, 312}, {206, 309}}, 4.0, -1.7, -1.7);  // under the lower lip
    // The chin: broad, with a flat front and two soft corners, a faint dip between them.
    addBlob(h, QPointF(190, 320), 21, 11, 7.5);
    addMirroredBlob(h, QPointF(180, 322), 7, 6, 1.2);
    addBlob(h, QPointF(190, 328), 14, 3.5, 1.0);
}

// Fine creases of the lips, 0..1: thin irregular lines (where a noise crosses zero) along rays that
// fan out from behind the mouth line, so they run across each lip and lean out toward the corners.
Field lipCreases() {
    const Field noise = valueNoise(160, 40, 1.0, 1.0, 103);
    Field creases(kCanvasW, kCanvasH);
    for (int y = 265; y < 315; ++y)
        for (int x = 150; x < 230; ++x) {
            const bool lower = y + 0.5 > kMouthY + 2.5;
            const double fan = 30.0, dy = lower ? y + 0.5 - (kMouthY - fan) : (kMouthY + fan) - (y + 0.5);
            const double along = std::atan2(x + 0.5 - kMidX, dy) * fan,
                         across = std::hypot(x + 0.5 - kMidX, dy);
            const double n = noise.sample(80 + along * 0.8, (lower ? 20 : 0) + (across - fan) * 0.3);
            creases(x, y) = static_cast<float>(std::pow(std::max(0.0, 1.0 - 3.0 * std::abs(n)), 2.0));
        }
    return creases;
}

// Pores: small pits, densest on the nose and cheeks, and a fine unevenness of the colour; the lips
// carry fine creases instead.
void modelTexture(SkinSurface& s) {
    const Field grain = fractalNoise(kCanvasW, kCanvasH, 2.0, 2, 0.6, 102);
    const Field creases = lipCreases();
    Field lips = coverageOf(upperLipPath(), kCanvasW, kCanvasH);
    const Field lower = coverageOf(lowerLipPath(), kCanvasW, kCanvasH);
    Field dense(kCanvasW, kCanvasH);
    addBlob(dense, QPointF(190, 244), 14, 12, 1.0);
    addMirroredBlob(dense, QPointF(150, 250), 20, 16, 0.7);
    addMirroredBlob(dense, QPointF(138, 232), 14, 8, 0.5);  // and open where the cheekbones catch the light
    addBlob(dense, QPointF(190, 150), 34, 20, 0.2);
    Field pits(kCanvasW, kCanvasH);
    Rng rng(101);
    for (int k = 0; k < 9000; ++k) {
        const QPointF at(rng.range(112, 268), rng.range(84, 334));
        const double depth =
            0.14 + 0.28 * std::min(1.0f, dense.clamped(static_cast<int>(at.x()), static_cast<int>(at.y())));
        addBlob(pits, at, 0.85, 0.85, -depth * rng.range(0.5, 1.0));
    }
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x) {
            const float lip = std::min(1.0f, lips(x, y) + lower(x, y));
            s.micro(x, y) = (1 - lip) * pits(x, y) - lip * 0.7f * creases(x, y);
            // Creases hold a little shadow of their own; the skin's fine unevenness elsewhere.
            const float speck = 1.0f + (1 - lip) * 0.03f * grain(x, y) - lip * 0.14f * creases(x, y);
            s.r(x, y) *= speck;
            s.g(x, y) *= speck;
            s.b(x, y) *= speck;
        }
}

void colourSkin(SkinSurface& s) {
    fillSurface(s, QColor(216, 175, 153), 0.3);
    const Field blotch = fractalNoise(kCanvasW, kCanvasH, 28.0, 3, 0.5, 111),
                warm = valueNoise(kCanvasW, kCanvasH, 30, 30, 112),
                mottle = fractalNoise(kCanvasW, kCanvasH, 7.0, 2, 0.5, 115);
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x) {
            const float k = 1.0f + 0.035f * blotch(x, y) + 0.02f * mottle(x, y),
                        t = 0.018f * warm(x, y) + 0.012f * mottle(x, y);
            s.r(x, y) = s.r(x, y) * k + t;
            s.g(x, y) *= k;
            s.b(x, y) = s.b(x, y) * k - 0.5f * t;
        }
    tintBlob(s, QPointF(190, 140), 42, 22, QColor(228, 186, 156), 0.2);        // forehead, a little yellower
    tintMirrored(s, QPointF(148, 244), 30, 22, QColor(222, 146, 128), 0.16);   // flush of the cheeks
    tintBlob(s, QPointF(190, 249), 12, 9, QColor(214, 128, 116), 0.4);         // nose tip and alae
    tintMirrored(s, QPointF(156, 218), 15, 4.5, QColor(176, 134, 136), 0.2);   // under the eyes
    tintMirrored(s, QPointF(155, 198), 15, 5, QColor(192, 138, 128), 0.2);     // lids
    tintMirrored(s, QPointF(172, 206), 3.5, 3.5, QColor(204, 128, 122), 0.3);  // inner corners
    tintBlob(s, QPointF(190, 320), 13, 8, QColor(220, 158, 140), 0.15);
    tintBlob(s, QPointF(190, 292), 34, 19, QColor(206, 158, 138), 0.12);  // round the mouth
    for (int side : {-1, 1}) {
        tintBlob(s, QPointF(kMidX + side * 4.8, 257.4), 3.0, 2.0, QColor(120, 72, 62), 0.2);    // nostrils
        tintBlob(s, QPointF(kMidX + side * 12.5, 253), 2.2, 5.0, QColor(196, 120, 110), 0.12);  // alar crease
    }
    Rng rng(113);
    for (int k = 0; k < 46; ++k) {  // faint freckles over the nose and cheeks
        const QPointF at(190 + rng.symmetric(52), 238 + rng.symmetric(16));
        tintBlob(s, at, rng.range(0.6, 1.1), rng.range(0.6, 1.0), QColor(170, 112, 86),
                 rng.range(0.06, 0.16));
    }
    tintBlob(s, QPointF(193, 261.5), 10, 3.2, QColor(168, 110, 96), 0.2);  // the nose shades the lip below
    tintBlob(s, QPointF(234, 263), 1.1, 1.0, QColor(120, 78, 62), 0.55);   // a small mole
    tintBlob(s, QPointF(232, 246), 26, 20, QColor(216, 140, 124), 0.06);   // one cheek flushes more
    tintBlob(s, QPointF(186, 322), 9, 6, QColor(214, 140, 124), 0.12);     // and the chin, off centre
    tintBlob(s, QPointF(140, 223), 8, 4, QColor(160, 124, 130), 0.12);     // a darker shadow under one eye
}

// Lips with a defined border on the upper lip and a softer one under the lower lip, darker and
// wetter toward the mouth line.
void colourLips(SkinSurface& s) {
    // The lips meet at the mouth line without a gap: each soft only on its outer edge.
    const Field upperSharp = coverageOf(upperLipPath(), kCanvasW, kCanvasH),
                lowerSharp = coverageOf(lowerLipPath(), kCanvasW, kCanvasH);
    Field upper = upperSharp, lower = lowerSharp;
    blurField(upper, 4);
    blurField(lower, 4);
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x) {
            // Only along the mouth line does a lip keep its full colour to the edge.
            const double seamUp = smoothstep(kMouthY - 6.0, kMouthY + 1.0, y + 0.5),
                         seamDown = smoothstep(kMouthY + 8.0, kMouthY + 2.0, y + 0.5);
            upper(x, y) = std::max(upper(x, y), static_cast<float>(upperSharp(x, y) * seamUp));
            lower(x, y) = std::max(lower(x, y), static_cast<float>(lowerSharp(x, y) * seamDown));
        }
    // A natural rose: the upper lip deeper, the fuller lower lip lighter and pinker.
    tintSurface(s, upper, QColor(178, 92, 100), 0.74);
    tintSurface(s, lower, QColor(210, 120, 124), 0.7);
    Field inner(kCanvasW, kCanvasH), line(kCanvasW, kCanvasH);
    Polyline seam = mouthLine();
    addRidge(inner, seam, 3.0, 1.0, 1.0);
    fadeToCorners(inner, 0.4);
    tintSurface(s, inner, QColor(150, 70, 72), 0.3);
    Field overhang(kCanvasW, kCanvasH);  // the upper lip shades the top of the lower lip
    Polyline under = seam;
    for (QPointF& q : under) q += QPointF(0, 2.2);
    addRidge(overhang, under, 2.4, 1.0, 1.0);
    fadeToCorners(overhang, 0.3);
    tintSurface(s, overhang, QColor(112, 54, 56), 0.5);
    addRidge(line, seam, 0.9, 1.0, 1.0);
    fadeToCorners(line, 0.0);
    tintSurface(s, line, QColor(104, 50, 52), 0.7);
}

// Where the skin shines: forehead, the top of the bridge, the tip of the nose, the chin and the
// lips; the lower lip wettest on its full middle, dry in the shade of the upper lip.
void glossSkin(SkinSurface& s) {
    Field tZone(kCanvasW, kCanvasH), lips = coverageOf(upperLipPath(), kCanvasW, kCanvasH);
    const Field lower = coverageOf(lowerLipPath(), kCanvasW, kCanvasH);
    addBlob(tZone, QPointF(190, 150), 30, 20, 0.3);
    addRidge(tZone, {{190, 212}, {190, 232}}, 6, 0.18, 0.05);  // a soft sheen high on the bridge
    addBlob(tZone, QPointF(189, 247), 4.5, 4.0, 0.45);         // and a small one on the tip
    addBlob(tZone, QPointF(190, 321), 12, 8, 0.25);
    addMirroredBlob(tZone, QPointF(138, 229), 15, 7, 0.2, 0.35);  // the top of the cheekbones
    addMirroredBlob(tZone, QPointF(140, 150), 9, 22, 0.12);       // where the forehead turns
    Field wet(kCanvasW, kCanvasH);
    addBlob(wet, QPointF(192, 300), 13, 3.5, 1.0);
    // Oil sits unevenly: the sheen breaks up into patches and fine points, not one smooth gradient.
    const Field patches = fractalNoise(kCanvasW, kCanvasH, 5.0, 3, 0.6, 116);
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x) {
            const float broken = std::clamp(0.7f + 1.4f * patches(x, y), 0.15f, 1.5f);
            s.gloss(x, y) +=
                tZone(x, y) * broken + 0.25f * lips(x, y) + lower(x, y) * (0.1f + 0.8f * wet(x, y));
        }
}

}  // namespace

SkinSurface faceSurface() {
    SkinSurface s(kCanvasW, kCanvasH);
    s.cover = coverageOf(facePath(), kCanvasW, kCanvasH);
    s.depth = 38;
    modelBase(s);
    modelEyesAndBrows(s.height);
    modelCheeks(s.height);
    modelNose(s.height);
    modelMouthAndChin(s);
    colourSkin(s);
    colourLips(s);
    modelTexture(s);
    glossSkin(s);
    return s;
}

}  // namespace installdata::portrait
