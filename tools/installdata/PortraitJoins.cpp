#include <algorithm>
#include <cmath>

#include "PortraitParts.h"

// Where the skin surfaces of the sample portrait meet: the face turning softly into the ears, the
// neck and the hairline as one skin under one light, and the neck as a column behind the jaw.
namespace installdata::portrait {

using namespace face;

namespace {

// Shade of which red takes only `redShare` of the strength and green and blue about 0.9, so it stays
// warm; never full.
void shadeWhere(QImage& img, const Field& weight, double strength, double redShare = 0.55) {
    shadeSkin(img, weight, strength, Tone{1 - redShare, 0.1, 0.12}, 0.95);
}

// Light bounced up from the chest reaches under the chin: the deepest shade there lifts toward a warm
// skin shadow instead of sinking to black.
void liftUnderChin(QImage& img) {
    Field skin = coverageOf(facePath().united(bodyPath()).united(neckBehindJaw()), kCanvasW, kCanvasH);
    blurField(skin, 2);  // no seam where the lifted skin meets the unlifted backdrop
    const QColor floor(112, 76, 64);
    for (int y = 270; y < 380; ++y) {
        const double reach = smoothstep(270.0, 300.0, y + 0.5) * smoothstep(380.0, 360.0, y + 0.5);
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < kCanvasW; ++x) {
            if (skin(x, y) <= 0) continue;
            const QRgb c = row[x];
            const double lum = 0.299 * qRed(c) + 0.587 * qGreen(c) + 0.114 * qBlue(c);
            const double t = 0.75 * reach * skin(x, y) * smoothstep(84.0, 20.0, lum);
            if (t <= 0) continue;
            auto ch = [t](int u, int v) { return static_cast<int>(std::lround(u + (v - u) * t)); };
            row[x] = qRgb(ch(qRed(c), floor.red()), ch(qGreen(c), floor.green()), ch(qBlue(c), floor.blue()));
        }
    }
}

// The neck as a cylinder about 0.7 of the face wide under the key from the upper left: its front lit
// softly in the middle and turning into shade at both sides (the far side deeper), and beyond the
// column, behind the jaw angles and under the ears, deep shade that merges with the backdrop, so the
// lit column and not the whole block reads as the neck. The muscles from behind the ears to the
// notch between the collarbones show as soft ridges, lit on their near side.
void turnNeckColumn(QImage& img) {
    const Field neck = coverageOf(bodyPath().united(neckBehindJaw()), kCanvasW, kCanvasH);
    const Field face = coverageOf(facePath(), kCanvasW, kCanvasH);
    Field ridges(kCanvasW, kCanvasH), grooves(kCanvasW, kCanvasH);
    for (int s : {-1, 1}) {
        const double k = s < 0 ? 1.0 : 0.45;  // the far muscle catches less light
        addRidge(ridges, sampleSpline(mapped({{146, 286}, {156, 316}, {170, 340}, {184, 359}}, s), 24), 5.0,
                 0.5 * k, 0.9 * k);
        addRidge(grooves, sampleSpline(mapped({{138, 300}, {146, 324}, {158, 344}}, s), 20), 5.0, 0.45, 0.3);
    }
    Field shade(kCanvasW, kCanvasH), deep(kCanvasW, kCanvasH);
    for (int y = 244; y < 380; ++y) {
        // Over the top of the chest the column widens into the trapezius and the lit shoulders.
        const double reach = smoothstep(376.0, 346.0, y + 0.5);
        for (int x = 0; x < kCanvasW; ++x) {
            const double open = neck(x, y) * (1 - face(x, y));
            if (open <= 0) continue;
            const double n = (x + 0.5 - 189.0) / 52.0;  // across the column, -1 and 1 at its sides
            const double turn = smoothstep(0.08, 1.0, std::abs(n)) * (n > 0 ? 0.62 : 0.5);
            const double behind = smoothstep(0.9, 1.25, std::abs(n)) * (n > 0 ? 0.28 : 0.3);
            shade(x, y) = static_cast<float>(open * reach * (0.03 + turn + behind + 0.3 * grooves(x, y)));
            deep(x, y) = static_cast<float>(open * reach * smoothstep(0.85, 1.2, std::abs(n)));
        }
    }
    blurField(shade, 3);
    blurField(deep, 4);
    shadeWhere(img, shade, 1.0, 0.7);
    // In the deep shade the skin loses its colour toward the grey of the shaded backdrop beside it.
    for (int y = 244; y < 380; ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < kCanvasW; ++x) {
            const double t = 0.55 * deep(x, y);
            if (t <= 0.002) continue;
            const double luma = 0.299 * qRed(row[x]) + 0.587 * qGreen(row[x]) + 0.114 * qBlue(row[x]);
            auto ch = [t](int v, double l) { return static_cast<int>(std::lround(v + (l - v) * t)); };
            row[x] =
                qRgb(ch(qRed(row[x]), 0.97 * luma), ch(qGreen(row[x]), luma), ch(qBlue(row[x]), 1.08 * luma));
        }
    }
    for (int y = 270; y < 372; ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < kCanvasW; ++x) {
            const double t = 0.1 * ridges(x, y) * neck(x, y) * (1 - face(x, y));
            if (t <= 0) continue;
            auto ch = [t](int v, int l) { return static_cast<int>(std::lround(v + (l - v) * t)); };
            row[x] = qRgb(ch(qRed(row[x]), 236), ch(qGreen(row[x]), 200), ch(qBlue(row[x]), 180));
        }
    }
}

}  // namespace

// The cheeks and temples turn away toward the outline: a darker, redder band just inside it all the
// way round below the hair, and across the outline itself the two sides are mixed over a few pixels,
// so the face ends where the form turns, not at a cut.
void joinFaceToHead(QImage& img) {
    const Field face = coverageOf(facePath(), kCanvasW, kCanvasH);
    Field hair = coverageOf(ownHairRegion(), kCanvasW, kCanvasH);
    blurField(hair, 10);            // the skin by the hair stays light enough to tell from it
    Field box(kCanvasW, kCanvasH);  // where the distance to the outline is needed, on both sides
    for (int y = 80; y < 345; ++y)
        for (int x = 100; x < 280; ++x) box(x, y) = 1.0f;
    const Field edge = distanceTo({faceOutline()}, box);
    // The neck's sides meet the shaded neck behind the jaw in the same skin: no seam there either.
    const std::vector<QPointF> half = bodyHalfOutline();
    const Polyline neckSide = sampleSpline(Polyline(half.begin(), half.begin() + 4), 30);
    Field near(kCanvasW, kCanvasH);
    for (int y = 240; y < 345; ++y)
        for (int x = 100; x < 280; ++x) near(x, y) = 1.0f;
    const Field side = distanceTo({neckSide, mirrored(neckSide, kMidX)}, near);
    const Field wander = valueNoise(kCanvasW, kCanvasH, 14, 14, 195);
    Field turn(kCanvasW, kCanvasH), band(kCanvasW, kCanvasH);
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x) {
            const double d = edge(x, y), inside = face(x, y);
            // Below the hairline only: the cheeks, the jaw and the chin's underside.
            const double start = x < kMidX ? 170.0 : 215.0;  // the far temple is in shade already
            const double below =
                smoothstep(start, start + 45.0, y + 0.5) * std::max(0.0f, 1.0f - 3.0f * hair(x, y));
            const double reach = 15.0 + 4.0 * wander(x, y);
            turn(x, y) = static_cast<float>(inside * below * (x > kMidX ? 0.6 : 1.0) *
                                            std::pow(smoothstep(reach, 0.0, d), 1.5));
            band(x, y) =
                static_cast<float>(std::max(below * smoothstep(4.5, 1.0, d),
                                            (1.0 - inside) * near(x, y) * smoothstep(4.0, 0.0, side(x, y))));
        }
    shadeWhere(img, turn, 0.3, 0.5);
    // A soft copy laid over the outline's own pixels: skin scatters light across the turn.
    QImage soft = img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    blurLayer(soft, 3);
    for (int y = 0; y < kCanvasH; ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        const auto* s = reinterpret_cast<const QRgb*>(soft.constScanLine(y));
        for (int x = 0; x < kCanvasW; ++x) {
            const double t = band(x, y);
            if (t <= 0) continue;
            auto ch = [t](int u, int v) { return static_cast<int>(std::lround(u + (v - u) * t)); };
            row[x] = qRgb(ch(qRed(row[x]), qRed(s[x])), ch(qGreen(row[x]), qGreen(s[x])),
                          ch(qBlue(row[x]), qBlue(s[x])));
        }
    }
    liftUnderChin(img);
}

// The ears, the neck, the shoulders and the chest carry the face's fine pores and unevenness too, a
// little softer, so the skin reads as one from the face over the ears down to the frame's bottom.
void textureBodySkin(QImage& img) {
    Field where = coverageOf(earsPath().united(bodyPath()).united(neckBehindJaw()), kCanvasW, kCanvasH);
    const Field face = coverageOf(facePath(), kCanvasW, kCanvasH);
    Field pits(kCanvasW, kCanvasH);
    Rng rng(196);
    for (int k = 0; k < 24000; ++k)
        addBlob(pits, QPointF(rng.range(0, kCanvasW), rng.range(200, kCanvasH)), 0.8, 0.8,
                -rng.range(0.5, 1.0));
    const Field grain = fractalNoise(kCanvasW, kCanvasH, 2.0, 2, 0.6, 197);
    for (int y = 200; y < kCanvasH; ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < kCanvasW; ++x) {
            const double w = where(x, y) * (1 - face(x, y));
            if (w <= 0) continue;
            const double k = 1.0 + w * (0.042 * std::max(-1.0f, pits(x, y)) + 0.024 * grain(x, y));
            auto ch = [k](int v) { return std::clamp(static_cast<int>(std::lround(v * k)), 0, 255); };
            row[x] = qRgb(ch(qRed(row[x])), ch(qGreen(row[x])), ch(qBlue(row[x])));
        }
    }
}

// The forehead and temples roll up and back into the hairline: a soft shade of the turning skin and
// of the hair's own fringe over the last px below it, deeper at the temples than on the middle.
void shadeHairline(QImage& img) {
    const QPainterPath region = ownHairRegion();
    const Field face = coverageOf(facePath(), kCanvasW, kCanvasH);
    Polyline rim;
    for (double t = 0; t <= 1.0; t += 1.0 / 240) rim.push_back(region.pointAtPercent(t));
    const Field fromHair = distanceTo({rim}, face);
    const Field hair = coverageOf(region, kCanvasW, kCanvasH);
    Field shade(kCanvasW, kCanvasH);
    for (int y = 60; y < 240; ++y)
        for (int x = 0; x < kCanvasW; ++x) {
            if (face(x, y) <= 0 || hair(x, y) >= 1) continue;
            const double temple = smoothstep(20.0, 62.0, std::abs(x + 0.5 - kMidX));
            shade(x, y) = static_cast<float>(face(x, y) * (1 - hair(x, y)) *
                                             smoothstep(18.0, 0.0, fromHair(x, y)) * (0.4 + 0.6 * temple));
        }
    blurField(shade, 4);
    // Only where the skin is well lit: the far temple is in shade already and stays clear of the hair.
    for (int y = 60; y < 240; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < kCanvasW; ++x)
            shade(x, y) *= static_cast<float>(smoothstep(140.0, 180.0, qGray(row[x])));
    }
    shadeWhere(img, shade, 0.22);
}

// The neck is a column set back behind the jaw: the chin and jaw throw a clear soft shadow on it, its
// sides turn into shade, the muscles from behind the ears down to the notch between the collarbones
// are only hinted, and the light on its front stays below the light on the face.
void shapeNeck(QImage& img) {
    const Field body = coverageOf(bodyPath(), kCanvasW, kCanvasH);
    const Field face = coverageOf(facePath(), kCanvasW, kCanvasH);
    // The cast shadow: the face's lower outline pushed down and right, away from the key.
    Field cast(kCanvasW, kCanvasH);
    for (int y = 250; y < 400; ++y)
        for (int x = 0; x < kCanvasW; ++x) cast(x, y) = face.clamped(x - 4, y - 12);
    blurField(cast, 4);
    Field shade(kCanvasW, kCanvasH);
    for (int y = 240; y < 420; ++y)
        for (int x = 0; x < kCanvasW; ++x) {
            const double open = body(x, y) * (1 - face(x, y));
            if (open <= 0) continue;
            const double dx = x + 0.5 - 187.0;
            // The column: its front faces the lens, its sides turn away (the far side more).
            const double column = smoothstep(345.0, 385.0, y + 0.5);
            const double side = smoothstep(10.0, 30.0, std::abs(dx)) * (dx > 0 ? 1.0 : 0.75) * (1 - column);
            // The whole neck and the top of the chest sit lower in the light than the face.
            const double set = smoothstep(420.0, 350.0, y + 0.5) * smoothstep(95.0, 20.0, std::abs(dx));
            shade(x, y) =
                static_cast<float>(open * std::min(0.5, 0.12 * cast(x, y) + 0.25 * side + 0.1 * set));
        }
    Field muscles(kCanvasW, kCanvasH), lit(kCanvasW, kCanvasH);
    for (int s : {-1, 1}) {
        // The groove inside each muscle, and its lit outer edge toward the key.
        addRidge(muscles, sampleSpline(mapped({{166, 322}, {174, 338}, {180, 352}}, s), 16), 4.5, 0.06, 0.08);
        addRidge(lit, sampleSpline(mapped({{160, 326}, {170, 344}, {180, 361}}, s), 16), 2.6,
                 s < 0 ? 0.5 : 0.15, s < 0 ? 0.7 : 0.2);
    }
    // The notch between the collarbones: a soft hollow, not a cut.
    addBlob(muscles, QPointF(189.5, 363), 9, 5, 0.16);
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x) shade(x, y) += muscles(x, y) * body(x, y) * (1 - face(x, y));
    shadeWhere(img, shade, 1.0, 0.8);
    for (int y = 300; y < 380; ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < kCanvasW; ++x) {
            const double t = 0.07 * lit(x, y) * body(x, y) * (1 - face(x, y)) * (1 - cast(x, y));
            if (t <= 0) continue;
            auto ch = [t](int v, int l) { return static_cast<int>(std::lround(v + (l - v) * t)); };
            row[x] = qRgb(ch(qRed(row[x]), 240), ch(qGreen(row[x]), 206), ch(qBlue(row[x]), 186));
        }
    }
    turnNeckColumn(img);
}

}  // namespace installdata::portrait
