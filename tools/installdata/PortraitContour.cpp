#include <algorithm>
#include <cmath>
#include <iterator>

#include "PortraitParts.h"

// The lower face of the sample portrait as planes that turn, and the skin's natural colour zones,
// sheen and pores laid over the shaded face.
namespace installdata::portrait {

using namespace face;

namespace {

// Each channel multiplied by 1 + weight * (k - 1): a shift of the skin's colour that keeps its shading.
void tintShaded(QImage& img, const Field& weight, double kr, double kg, double kb) {
    for (int y = 0; y < img.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const double t = weight(x, y);
            if (t <= 0.001) continue;
            auto ch = [t](int v, double k) {
                return std::clamp(static_cast<int>(std::lround(v * (1 + t * (k - 1)))), 0, 255);
            };
            row[x] = qRgb(ch(qRed(row[x]), kr), ch(qGreen(row[x]), kg), ch(qBlue(row[x]), kb));
        }
    }
}

Field timesCover(Field f, const Field& cover) {
    for (int y = 0; y < f.height(); ++y)
        for (int x = 0; x < f.width(); ++x) f(x, y) *= cover(x, y);
    return f;
}

// The side planes of the cheeks and jaw, turned from the lens, over the face's coverage `face`:
// beside the lit front of the lower face, and along the jaw's outline.
Field sidePlanes(const Field& face) {
    // The lit front of the lower face as an egg: its half width at each row, tapering from the
    // cheekbones to the chin, a little toward the key.
    auto frontHalfWidth = [](double y) {
        constexpr double rows[][2] = {{240, 58}, {262, 43}, {284, 31}, {304, 24}, {316, 17}, {330, 5}};
        if (y <= rows[0][0]) return rows[0][1];
        for (size_t i = 1; i < std::size(rows); ++i)
            if (y <= rows[i][0])
                return rows[i - 1][1] +
                       (rows[i][1] - rows[i - 1][1]) * (y - rows[i - 1][0]) / (rows[i][0] - rows[i - 1][0]);
        return rows[std::size(rows) - 1][1];
    };
    // Near the outline of the jaw the side plane has turned furthest: it sinks toward the shade of
    // the neck behind it, so the jaw's silhouette does not stand out as a lit block.
    const Field edge = distanceTo({faceOutline()}, face);
    Field side(kCanvasW, kCanvasH);
    for (int y = 230; y < 340; ++y) {
        const double half = frontHalfWidth(y + 0.5), start = smoothstep(236.0, 264.0, y + 0.5);
        for (int x = 0; x < kCanvasW; ++x) {
            if (face(x, y) <= 0) continue;
            // On the near side below the jaw angle the skin stays lit up to a narrow edge: the jaw
            // reads by the shadow under it, not by a dark band inside it.
            const double dx = x + 0.5 - 187.0, far = dx > 0 ? 1.1 : 1.0,
                         lit = dx > 0 ? 1.0 : 1.0 - 0.5 * smoothstep(272.0, 296.0, y + 0.5);
            const double rim = smoothstep(16.0, 2.0, edge(x, y)) * smoothstep(248.0, 284.0, y + 0.5);
            side(x, y) = static_cast<float>(
                face(x, y) * start * far *
                (0.5 * smoothstep(half - 2.0, half + 30.0, std::abs(dx)) + 0.8 * lit * rim));
        }
    }
    blurField(side, 4);
    return side;
}

}  // namespace

// Below the cheekbones the face narrows: the side planes of the cheeks and jaw turn away from the
// lens in a band that widens toward the jaw angle and runs in toward the chin, so the lit front of
// the face tapers from the cheekbones to a rounded chin. The chin is a ball lit on top with a hollow
// above it under the lower lip and its underside in shade.
void contourLowerFace(QImage& img) {
    const Field face = coverageOf(facePath(), kCanvasW, kCanvasH);
    const Field side = sidePlanes(face);
    // The hollow under the cheekbone runs down and in toward the mouth corner.
    Field hollow(kCanvasW, kCanvasH);
    for (int s : {-1, 1}) {
        const double k = s < 0 ? 1.0 : 0.5;  // the far side is in shade already
        addRidge(hollow, sampleSpline(mapped({{124, 252}, {133, 263}, {143, 276}, {152, 289}}, s), 24), 6.5,
                 0.5 * k, 0.15 * k);
    }
    // The fold from the wing of the nose to the mouth corner: a soft crease, clear on the far side
    // where the cheek above it turns from the key, faint on the near side.
    for (int s : {-1, 1})
        addRidge(hollow, sampleSpline(mapped({{176, 257}, {170, 266}, {166, 276}, {163, 287}}, s), 16), 4.5,
                 s < 0 ? 0.1 : 0.4, s < 0 ? 0.06 : 0.25);
    // Under the lower lip, and the chin turning under toward the neck.
    Field chin = blobs({{{190, 309.5, 14, 2.8, 1.2, 0}},
                        {{191, 311, 6, 2.2, 0.6, 0}},
                        {{171, 321, 8, 6, 1.7, 0.7}},
                        {{209, 321, 8, 6, 2.0, -0.7}}});
    addRidge(
        chin,
        sampleSpline(
            {{158, 319}, {168, 326.5}, {179, 330.2}, {190, 331.2}, {201, 330.2}, {212, 326.5}, {222, 319}},
            24),
        4.5, 0.9, 1.0);
    // The jaw's corners turn back under the ears, so the lit front ends in a curve, not a square.
    const Field corners = blobs({{{138, 300, 14, 7, 0.5, 0.75}}, {{242, 300, 14, 7, 1.2, -0.75}}});
    const Field muzzle = blobs({{{191, 284, 30, 20, 1.0, 0}}, {{190, 317, 16, 8, 1.1, 0}}});
    Field shade(kCanvasW, kCanvasH), under(kCanvasW, kCanvasH), front(kCanvasW, kCanvasH);
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x) {
            shade(x, y) = face(x, y) * (0.58f * side(x, y) + 0.42f * hollow(x, y) + 0.25f * corners(x, y));
            under(x, y) = face(x, y) * 0.3f * chin(x, y);
            front(x, y) = face(x, y) * 0.1f * muzzle(x, y);
        }
    // Round the mouth the skin faces a little down and sits no lighter than the lit cheek, so the
    // mouth and chin do not stand out from the face as a pale snout.
    shadeSkin(img, front, 1.0, kWarmShade);
    // The side planes turn toward the cool fill and the room: their shade is less red than the rest.
    shadeSkin(img, shade, 1.0, Tone{0.72, 0.63, 0.62});
    shadeSkin(img, under, 1.0, kWarmShade);
    // The lit front: the ball of the chin, and a soft light on the middle of the face and the near
    // cheekbone above the turning planes.
    brighten(img, timesCover(blobs({{{187.5, 318, 8, 5, 1.0, 0}}, {{186.5, 317, 3.5, 2.5, 0.8, 0}}}), face),
             0.16, QColor(246, 218, 200));
    brighten(img, timesCover(blobs({{{186, 228, 26, 30, 0.6, 0}}, {{146, 236, 10, 6, 0.5, 0.4}}}), face),
             0.08, QColor(244, 214, 196));
    // The near cheekbone takes the key fully: the brightest skin below the eyes, above the softer
    // lower cheek.
    brighten(img, timesCover(blobs({{{143, 235, 13, 7, 1.0, 0.4}}}), face), 0.13, QColor(248, 222, 204));
}

// Skin is not one colour: blood shows warmer and redder in the cheeks, the tip of the nose, the ears
// and round the eyes; the thin skin under the eyes and at the temples runs a little bluish grey, the
// skin round the mouth and along the jaw a little olive, the forehead a touch yellow. The flush is
// patchy, broken by a slow mottle, and the light itself undulates a little over the skin's surface,
// so no zone reads as a painted disc or one smooth gradient.
void colourSkinZones(QImage& img) {
    const Field face = coverageOf(facePath(), kCanvasW, kCanvasH),
                ears = coverageOf(earsPath(), kCanvasW, kCanvasH);
    Field lips = coverageOf(upperLipPath().united(lowerLipPath()), kCanvasW, kCanvasH);
    blurField(lips, 2);
    const Field red = blobs({{{150, 246, 22, 16, 1.0, 0.2}},
                             {{230, 246, 22, 16, 0.35, -0.2}},
                             {{190, 247, 8, 6, 1.0, 0}},
                             {{190, 232, 4, 10, 0.3, 0}},
                             {{171, 206, 4.5, 4, 0.6, 0}},
                             {{209, 206, 4.5, 4, 0.6, 0}},  // the inner corners of the eyes
                             {{156, 199, 14, 5, 0.4, 0.1}},
                             {{224, 199, 14, 5, 0.4, -0.1}},  // the lids
                             {{188, 322, 10, 7, 0.35, 0}}});
    const Field grey = blobs({{{156, 222, 12, 3.5, 0.9, 0.05}},
                              {{224, 222, 12, 3.5, 0.9, -0.05}},  // under the eyes
                              {{127, 184, 9, 22, 0.7, 0}},
                              {{253, 184, 9, 22, 0.7, 0}},  // the temples
                              {{190, 276, 16, 4, 0.35, 0}}});
    const Field mouth = blobs({{{190, 296, 30, 20, 1.0, 0}}, {{190, 318, 24, 12, 0.7, 0}}});
    const Field patchy = fractalNoise(kCanvasW, kCanvasH, 9.0, 3, 0.55, 301),
                swell = fractalNoise(kCanvasW, kCanvasH, 7.0, 2, 0.5, 302);
    Field flush(kCanvasW, kCanvasH), cool(kCanvasW, kCanvasH), olive(kCanvasW, kCanvasH),
        yellow(kCanvasW, kCanvasH);
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x) {
            const float skin = face(x, y) * (1 - lips(x, y)), blotch = 0.7f + 0.6f * patchy(x, y);
            flush(x, y) = std::min(1.0f, skin * red(x, y) * blotch + 0.5f * ears(x, y));
            cool(x, y) = std::min(1.0f, skin * grey(x, y) * blotch);
            const double jaw =
                smoothstep(262.0, 300.0, y + 0.5) * smoothstep(20.0, 55.0, std::abs(x + 0.5 - kMidX));
            olive(x, y) = static_cast<float>(skin * std::min(1.0, mouth(x, y) + 0.8 * jaw));
            yellow(x, y) = static_cast<float>(face(x, y) * smoothstep(175.0, 120.0, y + 0.5) * blotch);
        }
    tintShaded(img, flush, 1.02, 0.915, 0.915);
    tintShaded(img, cool, 0.94, 0.96, 1.0);
    tintShaded(img, olive, 0.96, 0.985, 0.95);
    tintShaded(img, yellow, 1.0, 0.99, 0.935);
    // A shallow undulation of the lit skin's surface: a few per cent, coarser than the pores, on the
    // face and on the chest and shoulders below the collarbones (the neck is in shade).
    const Field skin = coverageOf(facePath().united(bodyPath()), kCanvasW, kCanvasH);
    Field wave(kCanvasW, kCanvasH);
    for (int y = 0; y < kCanvasH; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < kCanvasW; ++x) {
            const double lit = smoothstep(145.0, 200.0, qGray(row[x])),
                         open = std::max<double>(face(x, y), smoothstep(362.0, 380.0, y + 0.5));
            wave(x, y) = static_cast<float>(skin(x, y) * open * (1 - lips(x, y)) * lit * swell(x, y));
        }
    }
    tintShaded(img, wave, 1.025, 1.03, 1.03);
}

// The soft sheen of skin's own oil where it faces the key: the forehead, the bridge of the nose, the
// tops of the cheekbones and the ball of the chin; broken by the pores and strongest where it is lit.
void addSkinSheen(QImage& img) {
    const Field face = coverageOf(facePath(), kCanvasW, kCanvasH);
    const Field sheen = blobs({{{176, 138, 24, 14, 0.8, 0.1}},
                               {{207, 142, 14, 10, 0.35, 0}},
                               {{188.5, 226, 2.6, 13, 0.7, 0}},
                               {{141, 229, 10, 4.5, 0.55, 0.4}},
                               {{238, 228, 9, 4, 0.3, -0.4}},
                               {{187, 317, 6, 3.5, 0.6, 0}}});
    const Field broken = fractalNoise(kCanvasW, kCanvasH, 3.0, 2, 0.6, 117);
    Rng rng(118);
    Field pits(kCanvasW, kCanvasH);
    for (int k = 0; k < 5000; ++k)
        addBlob(pits, QPointF(rng.range(112, 268), rng.range(100, 334)), 0.7, 0.7, rng.range(0.5, 1.0));
    Field weight(kCanvasW, kCanvasH);
    for (int y = 0; y < kCanvasH; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < kCanvasW; ++x) {
            if (face(x, y) <= 0 || sheen(x, y) < 0.01f) continue;
            const double lit = smoothstep(150.0, 205.0, qGray(row[x]));
            weight(x, y) = static_cast<float>(face(x, y) * sheen(x, y) * lit *
                                              std::clamp(0.8 + 0.8 * broken(x, y), 0.2, 1.4) *
                                              (1.0 - 0.8 * std::min(1.0f, pits(x, y))));
        }
    }
    brighten(img, weight, 0.28, QColor(255, 240, 232));
}

// Pores a photograph resolves in the lit skin: fine dark points and a fine unevenness, strongest on
// the nose and the cheeks, faint in the shade where there is little light to show them.
void addPores(QImage& img) {
    const Field face = coverageOf(facePath(), kCanvasW, kCanvasH);
    Field hair = coverageOf(ownHairRegion(), kCanvasW, kCanvasH);
    blurField(hair, 3);
    const Field dense = blobs({{{190, 242, 12, 14, 1.0, 0}},
                               {{148, 244, 24, 18, 1.0, 0.2}},
                               {{232, 244, 24, 18, 1.0, -0.2}},
                               {{190, 150, 40, 22, 0.15, 0}},
                               {{190, 318, 14, 9, 0.5, 0}}});
    Field pits(kCanvasW, kCanvasH), open(kCanvasW, kCanvasH);
    Rng rng(119);
    for (int k = 0; k < 7000; ++k)
        addBlob(pits, QPointF(rng.range(112, 268), rng.range(96, 334)), 0.6, 0.6, rng.range(0.4, 1.0));
    // The nose and cheeks carry larger, more open pores than the forehead.
    Rng wide(303);
    for (int k = 0; k < 2600; ++k) {
        const QPointF at(wide.range(120, 260), wide.range(215, 285));
        const double r = wide.range(0.7, 1.0);
        addBlob(open, at, r, r * wide.range(0.8, 1.0), wide.range(0.5, 1.0));
    }
    // Only the texture, not a darker cheek: the pores less their own local mean.
    Field openMean = open;
    blurField(openMean, 3);
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x)
            open(x, y) = std::min(1.0f, open(x, y)) - std::min(1.0f, openMean(x, y));
    const Field fine = valueNoise(kCanvasW, kCanvasH, 1.2, 1.2, 120),
                peel = valueNoise(kCanvasW, kCanvasH, 1.8, 1.8, 304);
    for (int y = 90; y < 336; ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 100; x < 280; ++x) {
            const double w = face(x, y) * (1 - hair(x, y));
            if (w <= 0) continue;
            const double lit = 0.25 + 0.75 * smoothstep(100.0, 200.0, qGray(row[x]));
            const double d = std::min(1.0f, dense(x, y));
            const double depth = (0.3 + 0.7 * d) * lit * w;
            const double k = 1.0 - depth * (0.075 * std::min(1.0f, pits(x, y)) - 0.025 * fine(x, y)) -
                             d * lit * w * (0.1 * open(x, y) - 0.04 * peel(x, y));
            row[x] =
                qRgb(std::clamp(static_cast<int>(std::lround(qRed(row[x]) * (1 - (1 - k) * 0.8))), 0, 255),
                     std::clamp(static_cast<int>(std::lround(qGreen(row[x]) * k)), 0, 255),
                     std::clamp(static_cast<int>(std::lround(qBlue(row[x]) * k)), 0, 255));
        }
    }
}

}  // namespace installdata::portrait
