#include <algorithm>
#include <array>
#include <cmath>

#include "PortraitParts.h"

// Light and shade laid over the shaded skin of the sample portrait by the key from the upper left: the
// broad modelling of the face, neck and shoulders, and the finer forms of the nose (bridge, tip,
// wings, nostrils and the shadows they throw), the ears and the lips, which the height fields carry
// through the lighting too softly.
namespace installdata::portrait {

using namespace face;

void brighten(QImage& img, const Field& weight, double strength, const QColor& light) {
    for (int y = 0; y < img.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const double t = std::clamp(weight(x, y) * strength, 0.0, 1.0);
            if (t <= 0) continue;
            auto ch = [t](int v, int l) { return static_cast<int>(std::lround(v + (l - v) * t)); };
            row[x] = qRgb(ch(qRed(row[x]), light.red()), ch(qGreen(row[x]), light.green()),
                          ch(qBlue(row[x]), light.blue()));
        }
    }
}

Field blobs(std::initializer_list<std::array<double, 6>> list) {
    Field f(kCanvasW, kCanvasH);
    for (const auto& b : list) addBlob(f, QPointF(b[0], b[1]), b[2], b[3], b[4], b[5]);
    return f;
}

Field ridge(const Polyline& line, double radius, double a0, double a1) {
    Field f(kCanvasW, kCanvasH);
    addRidge(f, sampleSpline(line, 24), radius, a0, a1);
    return f;
}

void shadeSkin(QImage& img, const Field& weight, double strength, Tone keep, double most) {
    for (int y = 0; y < img.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const double t = std::clamp(weight(x, y) * strength, 0.0, most);
            if (t <= 0) continue;
            auto ch = [t](int v, double k) {
                return std::clamp(static_cast<int>(std::lround(v * (1 - t * (1 - k)))), 0, 255);
            };
            row[x] = qRgb(ch(qRed(row[x]), keep.r), ch(qGreen(row[x]), keep.g), ch(qBlue(row[x]), keep.b));
        }
    }
}

// The face turns from the key: the far cheek, the temples, the sockets, the hollows under the
// cheekbones, every side toward the outline and the underside of the jaw and chin fall into soft
// shade, while the near cheekbone, the top of the chin and the near column of the philtrum face the
// light. The jaw goes a little cooler than the cheeks.
void modelFaceLight(QImage& img) {
    const Field face = coverageOf(facePath(), kCanvasW, kCanvasH);
    // Within a few px of the hair region the skin stays light enough to tell from the hair.
    const QPainterPath region = ownHairRegion();
    Polyline rim;
    for (double t = 0; t <= 1.0; t += 1.0 / 200) rim.push_back(region.pointAtPercent(t));
    const Field fromHair = distanceTo({rim}, face);
    Field clear(kCanvasW, kCanvasH);
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x)
            clear(x, y) = static_cast<float>(smoothstep(8.0, 22.0, fromHair(x, y)));
    Field inside = face;
    blurField(inside, 6);
    const Field edge = distanceTo({faceOutline()}, face);
    Field shade(kCanvasW, kCanvasH), cool(kCanvasW, kCanvasH);
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x) {
            if (face(x, y) <= 0) continue;
            // The far half turns away as a smooth plane: faint by the nose, deepest only close to its
            // outline, a little more lower down.
            const double far = std::pow(smoothstep(196.0, 268.0, x + 0.5), 1.3) *
                               (0.45 + 0.45 * smoothstep(210.0, 290.0, y + 0.5));
            const double jaw =
                smoothstep(272.0, 330.0, y + 0.5) * smoothstep(10.0, 60.0, std::abs(x + 0.5 - kMidX));
            // Every side turns back toward the outline: the forehead to the hairline, the cheeks away;
            // the jaw only in a narrower rim, the lower face being a smooth plane up to it.
            const double rimWidth = 20.0 - 8.0 * smoothstep(250.0, 290.0, y + 0.5);
            const double nearJaw = x < kMidX ? 1.0 - 0.45 * smoothstep(272.0, 296.0, y + 0.5) : 1.0;
            const double turn = nearJaw * smoothstep(rimWidth, 2.0, edge(x, y));
            shade(x, y) =
                static_cast<float>(face(x, y) * clear(x, y) * (0.55 * far + 0.12 * jaw + 0.4 * turn));
            cool(x, y) = static_cast<float>(face(x, y) * jaw * (0.5 + 0.5 * smoothstep(kMidX, 262.0, x)));
        }
    const Field hollows = blobs({{{124, 172, 10, 24, 1.0, 0}},
                                 {{256, 172, 10, 24, 1.4, 0}},  // temples
                                 {{134, 268, 11, 14, 0.8, 0.3}},
                                 {{246, 268, 11, 14, 1.3, -0.3}},  // under the cheekbones
                                 {{172, 204, 5, 8, 0.8, 0}},
                                 {{208, 204, 5, 8, 1.2, 0}},  // the sockets beside the root of the nose
                                 {{160, 196, 15, 6.5, 1.5, 0.1}},
                                 {{220, 196, 15, 6.5, 1.9, -0.1}},  // the sockets under the brows
                                 {{156, 218, 13, 3.5, 0.7, 0}},
                                 {{224, 218, 13, 3.5, 0.9, 0}},    // and the soft shade under the eyes
                                 {{190, 331, 16, 3, 0.5, 0}},      // the chin turning under
                                 {{190, 311, 11, 2.6, 0.5, 0}}});  // the dip under the lower lip
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x) shade(x, y) += hollows(x, y) * face(x, y) * 0.3f * clear(x, y);
    shadeSkin(img, shade, 1.0, kWarmShade);
    shadeSkin(img, cool, 0.12, kCoolShade);
    const Field lit = blobs({{{142, 232, 14, 8, 0.7, 0.35}},  // near cheekbone
                             {{188, 320, 9, 5, 0.6, 0}},      // top of the chin
                             {{184, 272, 3, 6, 0.5, 0}}});    // the near column of the philtrum
    Field litFace = lit;
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x) litFace(x, y) *= inside(x, y);
    brighten(img, litFace, 0.1, QColor(246, 220, 202));
}

// Skin in a photograph is less saturated than its painted albedo suggests: chroma pulled a little
// toward the grey of the same luminance, on the face, the ears, the neck and the shoulders alike.
void settleSkinColour(QImage& img) {
    const Field skin = coverageOf(facePath().united(earsPath()).united(bodyPath()), kCanvasW, kCanvasH);
    Field lips = coverageOf(upperLipPath().united(lowerLipPath()), kCanvasW, kCanvasH);
    blurField(lips, 2);
    for (int y = 0; y < kCanvasH; ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < kCanvasW; ++x) {
            // The lips keep most of their rose: they are not skin over a tan.
            const double t = 0.14 * skin(x, y) * (1.0 - 0.7 * lips(x, y));
            if (t <= 0) continue;
            const QRgb c = row[x];
            const double luma = 0.299 * qRed(c) + 0.587 * qGreen(c) + 0.114 * qBlue(c);
            auto ch = [&](int v) {
                return std::clamp(static_cast<int>(std::lround(v + (luma - v) * t)), 0, 255);
            };
            row[x] = qRgb(ch(qRed(c)), ch(qGreen(c)), ch(qBlue(c)));
        }
    }
}

// The nose as a photograph shows it under a key from the upper left: a lit ridge down the bridge that
// ends in the bright top of the tip, the far side of the nose and the cheek beside it in shade, round
// wings set off by a soft groove, dark nostrils, and the soft shadow of the tip on the upper lip.
void drawNoseForm(QImage& img) {
    // The far side of the bridge and the shadow the nose throws onto the cheek beside it.
    shadeSkin(img, ridge({{194, 210}, {195.5, 224}, {197, 238}, {199, 248}}, 3.2, 0.25, 0.55), 1.0,
              kWarmShade);
    shadeSkin(img, ridge({{199, 226}, {202, 242}, {205, 256}}, 4.5, 0.1, 0.28), 1.0, kWarmShade);
    // The near side only a faint edge where it meets the cheek.
    shadeSkin(img, ridge({{183.5, 214}, {182.5, 230}, {181.5, 243}}, 2.6, 0.06, 0.12), 1.0, kWarmShade);
    // Lit ridge of the bridge, faint at the root, and the tip's broad top and its glint.
    const Field bridge = ridge({{189, 212}, {188.6, 226}, {188.4, 240}}, 1.6, 0.35, 0.8);
    brighten(img, bridge, 0.28, QColor(250, 222, 204));
    brighten(img, blobs({{{188.5, 245.5, 4.2, 3.4, 1.0, 0}}}), 0.25, QColor(248, 212, 194));
    brighten(img, blobs({{{187.8, 244.8, 1.8, 1.4, 1.0, 0}}}), 0.35, QColor(255, 244, 236));
    // The underside of the tip turns down, out of the light.
    shadeSkin(img, blobs({{{191, 252.5, 6.5, 2.4, 1.0, 0}}}), 0.22, kWarmShade);
    Field wings(kCanvasW, kCanvasH);
    for (int side : {-1, 1}) {
        const double k = side < 0 ? 0.7 : 1.0;  // the far wing a little deeper in shade
        // The groove round each wing where it leaves the cheek, deepest at its lower back.
        addRidge(
            wings,
            sampleSpline(
                mapped({{179.5, 248}, {176.5, 251}, {175.8, 255}, {177.5, 258.5}, {181, 260.5}}, side), 20),
            1.4, 0.1 * k, 0.7 * k);
        addBlob(wings, mapped({{179.5, 259.5}}, side)[0], 3.5, 1.5, 0.25 * k);  // under the wing
    }
    shadeSkin(img, wings, 1.0, kWarmShade);
    // The wings' rounded tops catch a little light.
    brighten(img, blobs({{{180.5, 251.5, 2.6, 2.0, 1.0, 0}}, {{199.5, 251.5, 2.4, 1.8, 0.45, 0}}}), 0.18,
             QColor(244, 214, 196));
    // Nostrils: dark ovals under the tip, the inner end low by the columella, the outer end tucked up
    // under the wing; a softer surround in shade, then the dark opening.
    Field nostrils(kCanvasW, kCanvasH), holes(kCanvasW, kCanvasH);
    for (int side : {-1, 1}) {
        const QPointF c = mapped({{185.0, 257.6}}, side)[0];
        addBlob(nostrils, c, 4.6, 2.4, side < 0 ? 0.6 : 0.75, side * -0.32);
        addBlob(holes, c + QPointF(side * -0.2, 0.3), 3.4, 1.4, side < 0 ? 0.8 : 1.0, side * -0.35);
    }
    shadeSkin(img, nostrils, 0.35, kWarmShade);
    shadeSkin(img, holes, 0.85, Tone{0.34, 0.22, 0.22});
    // The shadow of the tip on the upper lip: soft, pushed down and to the right, away from the key.
    shadeSkin(img, blobs({{{193, 264, 10, 3.6, 1.0, 0.08}}, {{196, 269, 7, 4, 0.45, 0.2}}}), 0.3, kWarmShade);
    // The philtrum below it: a shallow groove between two soft columns, the far one's side in shade.
    shadeSkin(img, ridge({{190.5, 265}, {190.5, 272}, {190.8, 279}}, 1.8, 0.16, 0.1), 1.0, kWarmShade);
    shadeSkin(img, ridge({{195.5, 265}, {196, 272}, {196.5, 279}}, 1.6, 0.14, 0.08), 1.0, kWarmShade);
}

// The folds of the ears: the rim lit along its top and back with the groove inside it in shade, the
// bowl deep and dark round the opening, and the shade where the ear tucks in behind the cheek. The far
// ear lies a little deeper in shade.
void drawEarForm(QImage& img) {
    const Field ears = coverageOf(earsPath(), kCanvasW, kCanvasH);
    Field groove(kCanvasW, kCanvasH), bowl(kCanvasW, kCanvasH), rim(kCanvasW, kCanvasH);
    for (int side : {-1, 1}) {
        const double k = side < 0 ? 1.0 : 1.25;
        addRidge(groove, sampleSpline(mapped({{105.5, 221}, {103, 229}, {102.5, 238}, {104, 249}}, side), 20),
                 1.2, 0.12 * k, 0.4 * k);
        // Where it tucks in behind the cheek.
        addRidge(groove, sampleSpline(mapped({{117, 216}, {116, 230}, {116.5, 248}}, side), 20), 1.6,
                 0.45 * k, 0.35 * k);
        addBlob(bowl, mapped({{112.5, 235}}, side)[0], 2.6, 7.0, 0.7 * k);
        addBlob(bowl, mapped({{111.5, 239}}, side)[0], 3.4, 6.5, 0.3 * k);  // the bowl's soft surround
        addBlob(bowl, mapped({{114.5, 241}}, side)[0], 1.6, 2.2, 0.6 * k);  // the opening behind the tragus
        addBlob(bowl, mapped({{110, 226}}, side)[0], 3.5, 2.0, 0.3 * k);    // the fold above the bowl
        addRidge(rim, sampleSpline(mapped({{113, 208.3}, {105, 209.6}, {99.4, 219}, {98.8, 236}}, side), 20),
                 1.3, side < 0 ? 1.0 : 0.4, side < 0 ? 0.6 : 0.2);
        addRidge(rim, sampleSpline(mapped({{109, 231}, {107.6, 240}, {108.6, 249}}, side), 12), 1.2, 0.5,
                 0.3);
    }
    Field far(kCanvasW, kCanvasH);
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x) {
            groove(x, y) *= ears(x, y);
            bowl(x, y) *= ears(x, y);
            rim(x, y) *= ears(x, y);
            // Its top, by the hair, stays light enough to tell from it.
            far(x, y) = x > kMidX ? ears(x, y) * static_cast<float>(smoothstep(212.0, 224.0, y + 0.5)) : 0.0f;
        }
    shadeSkin(img, far, 0.18, kWarmShade);
    shadeSkin(img, groove, 1.4, kWarmShade);
    shadeSkin(img, bowl, 1.4, Tone{0.5, 0.36, 0.36});
    brighten(img, rim, 0.3, QColor(248, 218, 202));
    // The antihelix, the inner ridge between the rim's groove and the bowl, lit along its near edge,
    // and the rim's outer edge turning away behind it.
    Field inner(kCanvasW, kCanvasH), back(kCanvasW, kCanvasH);
    for (int side : {-1, 1}) {
        addRidge(inner,
                 sampleSpline(mapped({{112.5, 214.5}, {107.5, 224}, {106.2, 236}, {108.5, 247}}, side), 20),
                 1.1, side < 0 ? 0.7 : 0.35, side < 0 ? 0.4 : 0.2);
        addRidge(back, sampleSpline(mapped({{100, 214}, {97.6, 226}, {97.6, 242}, {101, 254}}, side), 20),
                 1.4, 0.5, 0.3);
    }
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x) {
            inner(x, y) *= ears(x, y);
            back(x, y) *= ears(x, y) * static_cast<float>(smoothstep(214.0, 226.0, y + 0.5));
        }
    brighten(img, inner, 0.32, QColor(244, 212, 196));
    shadeSkin(img, back, 0.9, kWarmShade);
    // The ear sits back from the face and leans away from the lens: a little darker than the cheek
    // overall, most toward the head and under the lobe, where the lobe's round bottom turns under.
    Field set(kCanvasW, kCanvasH);
    for (int side : {-1, 1}) {
        addBlob(set, mapped({{107, 262}}, side)[0], 5.5, 2.6, 0.9);
        addBlob(set, mapped({{115, 236}}, side)[0], 3.0, 18.0, 0.5);
    }
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x)
            set(x, y) =
                ears(x, y) * (0.25f + set(x, y)) * static_cast<float>(smoothstep(212.0, 224.0, y + 0.5));
    shadeSkin(img, set, 0.45, kWarmShade);
}

// The upper lip faces down, away from the key, and sits darker than the lower one, which rolls out
// into the light: a soft sheen across its full middle, a little left of centre, and the shade of its
// own roll below it, soft where the lip meets the chin.
void modelLips(QImage& img) {
    Field upper = coverageOf(upperLipPath(), kCanvasW, kCanvasH);
    blurField(upper, 4);
    shadeSkin(img, upper, 0.3, kWarmShade);
    Field sheen = blobs({{{186, 297, 8, 2.4, 1.0, 0.05}}, {{198, 296.5, 5, 1.8, 0.5, 0}}});
    const Field lower = coverageOf(lowerLipPath(), kCanvasW, kCanvasH);
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x) sheen(x, y) *= lower(x, y);
    brighten(img, sheen, 0.24, QColor(248, 214, 210));
    // Where the lower lip turns down out of the light it stays rose, the blood under its thin skin
    // showing, rather than sinking to the grey brown of shaded skin.
    Field underside = lower;
    blurField(underside, 2);
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x)
            underside(x, y) *= static_cast<float>(smoothstep(kMouthY + 4.0, kMouthY + 10.0, y + 0.5));
    brighten(img, underside, 0.18, QColor(196, 104, 114));
    shadeSkin(img, ridge({{172, 304}, {181, 307.5}, {190, 308.5}, {199, 307.5}, {208, 304}}, 2.0, 0.3, 0.42),
              1.0, kWarmShade);
    // The vermilion border: the skin just above the upper lip rolls over a fine ridge that catches
    // the key, so the lip is set off by a light line rather than a painted edge; the near side brighter.
    Polyline border =
        sampleSpline({{165, 290.4}, {172, 285.8}, {180, 280.9}, {185.5, 279.7}, {190, 281.6}}, 16);
    Field roll(kCanvasW, kCanvasH);
    addRidge(roll, border, 0.9, 0.5, 1.0);
    addRidge(roll, mapped(border, 1), 0.9, 0.3, 0.6);
    brighten(img, roll, 0.2, QColor(250, 226, 212));
    // The philtrum's columns catch the light on their near edges; its groove and the far column's
    // inner side stay in shade.
    Field columns = ridge({{185.2, 266}, {185.0, 273}, {184.8, 280}}, 1.4, 0.6, 1.0);
    addRidge(columns, sampleSpline({{194.4, 266}, {194.6, 273}, {194.8, 280}}, 12), 1.1, 0.3, 0.45);
    brighten(img, columns, 0.18, QColor(248, 222, 206));
    // The lower lip's roll throws a soft shade on the skin below it, densest under its middle.
    shadeSkin(img, ridge({{170, 301}, {180, 305.5}, {190, 306.5}, {200, 305.5}, {210, 301}}, 2.2, 0.08, 0.12),
              1.0, kWarmShade);
    // The corners sink into a little shade where the lips turn in, the far one deeper.
    shadeSkin(img, blobs({{{163.5, 291.5, 3.6, 2.6, 0.35, 0}}, {{216.5, 291, 3.8, 2.8, 0.45, 0}}}), 1.0,
              kWarmShade);
}

// Neck and shoulders under the same key: the far side and the rounded edges of the shoulders turn
// away into shade, the collarbones catch a thin light over the hollows above and below them, and
// the neck rounds off on its far side.
void modelBodyLight(QImage& img) {
    const Field body = coverageOf(bodyPath(), kCanvasW, kCanvasH);
    Field inner = body;
    blurField(inner, 9);  // a narrow turn: the outline stays a clear step against the backdrop
    Field shade(kCanvasW, kCanvasH);
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x) {
            if (body(x, y) <= 0) continue;
            const double far = smoothstep(196.0, 370.0, x + 0.5);
            // The sides of the neck are no silhouette: the neck runs on behind the jaw there.
            const double behind =
                smoothstep(350.0, 330.0, y + 0.5) * smoothstep(70.0, 50.0, std::abs(x + 0.5 - kMidX));
            const double turn = smoothstep(0.95, 0.5, inner(x, y)) * (1.0 - behind);
            const double neck = smoothstep(200.0, 218.0, x + 0.5) * smoothstep(356.0, 340.0, y + 0.5);
            shade(x, y) = static_cast<float>(body(x, y) * (0.4 * far + 0.3 * turn + 0.3 * neck));
        }
    Field hollows(kCanvasW, kCanvasH), bones(kCanvasW, kCanvasH), caps(kCanvasW, kCanvasH);
    for (int side : {-1, 1}) {
        const double k = side < 0 ? 1.0 : 0.6;  // the far collarbone and shoulder catch less light
        addRidge(hollows, sampleSpline(mapped({{166, 357}, {146, 358}, {122, 363}, {102, 370}}, side), 20),
                 3.5, 0.3, 0.15);
        // The soft shade under the collarbone, widest where the chest muscle starts below it.
        addRidge(hollows, sampleSpline(mapped({{168, 378}, {146, 378.5}, {118, 382}}, side), 20), 4.5, 0.4,
                 0.26);
        // The bone's ridge catches the key along its top, fading out toward the notch and the shoulder.
        addRidge(bones, sampleSpline(mapped({{176, 368}, {162, 365}, {140, 366}, {112, 371}}, side), 20), 2.2,
                 0.6 * k, 0.3 * k);
        addRidge(bones, sampleSpline(mapped({{164, 366}, {140, 367}}, side), 8), 1.3, 0.5 * k, 0.5 * k);
        // The deltoid's round cap lit from above, and the groove where it meets the chest muscle.
        addBlob(caps, mapped({{62, 402}}, side)[0], 26, 15, 1.0 * k, side * 0.55);
        addBlob(caps, mapped({{72, 428}}, side)[0], 12, 20, 0.45 * k, side * 0.3);
        addRidge(hollows, sampleSpline(mapped({{100, 386}, {92, 412}, {84, 444}, {78, 476}}, side), 16), 10.0,
                 0.16, 0.24);
    }
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x) {
            shade(x, y) += hollows(x, y) * body(x, y);
            caps(x, y) *= inner(x, y);
        }
    shadeSkin(img, shade, 1.0, kWarmShade);
    brighten(img, bones, 0.42, QColor(246, 216, 198));
    brighten(img, caps, 0.17, QColor(244, 214, 196));
}

}  // namespace installdata::portrait
