#include <algorithm>
#include <cmath>

#include "PortraitParts.h"

// Outlines of the sample portrait, and its bare neck, shoulders and ears as lit surfaces.
namespace installdata::portrait {

using namespace face;

Polyline mapped(const Polyline& line, int side) { return side < 0 ? line : mirrored(line, kMidX); }

Polyline symmetricOutline(const Polyline& leftHalf, int samples) {
    Polyline all = sampleSpline(leftHalf, samples);
    const Polyline right = mirrored(all, kMidX);
    for (auto it = right.rbegin(); it != right.rend(); ++it) all.push_back(*it);
    all.push_back(all.front());
    return all;
}

Polyline faceOutline() { return symmetricOutline(face::faceHalfOutline(), 90); }

QPainterPath facePath() { return pathThrough(faceOutline(), true); }

namespace {

// The sides of the neck and shoulders, each from below the ear down past the canvas bottom.
std::vector<Polyline> bodySides() {
    const std::vector<QPointF> half = bodyHalfOutline();
    const Polyline left = sampleSpline(Polyline(half.begin(), half.end()), 80);
    return {left, mirrored(left, kMidX)};
}

Polyline earOutline(int side) {
    return mapped(
        {{116, 206}, {104, 208}, {97, 222}, {97, 242}, {101, 256}, {106, 262}, {112, 261}, {117, 250}}, side);
}

}  // namespace

QPainterPath bodyPath() {
    const std::vector<Polyline> sides = bodySides();
    Polyline all = sides[0];
    for (auto it = sides[1].rbegin(); it != sides[1].rend(); ++it) all.push_back(*it);
    return pathThrough(all, true);
}

float roundEdge(float distance, float radius) {
    const float t = 1.0f - std::min(distance / radius, 1.0f);
    return radius * std::sqrt(std::max(0.0f, 1.0f - t * t));
}

namespace {

// Neck and shoulders: a round neck on a broad, rounded torso, the trapezius sloping between them,
// the shoulders' deltoids, the collarbones meeting at the hollow of the throat, the neck muscles
// running down to it, and the upper chest.
void modelBody(SkinSurface& s) {
    const Field d = distanceTo(bodySides(), s.cover);
    Field& h = s.height;
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x) {
            if (s.cover(x, y) <= 0) continue;
            const double u = (x + 0.5 - kMidX) / 31.0, v = (x + 0.5 - kMidX) / 182.0;
            const double neck = 24.0 * std::sqrt(std::max(0.0, 1.0 - u * u));
            const double torso = 40.0 * std::sqrt(std::max(0.0, 1.0 - v * v));
            const double t = smoothstep(318.0, 380.0, y + 0.5);
            h(x, y) = static_cast<float>((1 - t) * neck + t * torso) + 0.55f * roundEdge(d(x, y), 44.0f);
        }
    blurField(h, 8);
    for (int side : {-1, 1}) {
        const auto at = [&](double x, double y) { return mapped({{x, y}}, side)[0]; };
        addRidge(h, mapped({{179, 369.5}, {166, 366}, {140, 367}, {112, 372}, {82, 381}}, side), 5.5, 3.4,
                 0.8);  // collarbone, fading out under the shoulder
        addRidge(h, mapped({{164, 356}, {144, 357}, {118, 362}, {98, 370}}, side), 8.0, -3.6,
                 -0.8);                                                                    // above it
        addRidge(h, mapped({{170, 380}, {140, 381}, {110, 386}}, side), 7.0, -1.0, -0.6);  // and below it
        addRidge(h, mapped({{166, 262}, {169, 300}, {175, 334}, {180, 352}}, side), 6.5, 1.4,
                 0.6);                           // neck muscle
        addBlob(h, at(54, 414), 34, 38, 11.0);   // shoulder
        addBlob(h, at(136, 468), 50, 36, 9.0);   // chest
        addBlob(h, at(124, 508), 40, 30, 12.0);  // the breast's top
        addBlob(h, at(44, 474), 14, 40, -5.0);   // where the arm meets the chest
    }
    addBlob(h, QPointF(190, 361), 12, 8, -1.4);               // hollow of the throat
    addRidge(h, {{190, 382}, {190, 480}}, 10.0, -0.4, -1.0);  // breastbone between the chest muscles
    addBlob(h, QPointF(190, 322), 9, 14, 1.2);                // the windpipe under the skin
}

}  // namespace

SkinSurface bodySurface() {
    SkinSurface s(kCanvasW, kCanvasH);
    s.cover = coverageOf(bodyPath(), kCanvasW, kCanvasH);
    modelBody(s);
    const Field texture = valueNoise(kCanvasW, kCanvasH, 2.0, 2.0, 121);
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x) s.micro(x, y) = 0.07f * texture(x, y);
    fillSurface(s, QColor(222, 179, 155), 0.28);
    const Field blotch = fractalNoise(kCanvasW, kCanvasH, 34.0, 3, 0.5, 122);
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x) {
            const float k = 1.0f + 0.03f * blotch(x, y);
            s.r(x, y) *= k;
            s.g(x, y) *= k;
            s.b(x, y) *= k;
        }
    tintBlob(s, QPointF(190, 410), 70, 40, QColor(222, 150, 130), 0.28);  // warmer, sun-touched chest
    tintBlob(s, QPointF(190, 305), 24, 40, QColor(232, 190, 164), 0.18);  // paler throat
    for (int side : {-1, 1})
        tintBlob(s, mapped({{56, 400}}, side)[0], 30, 26, QColor(224, 156, 136), 0.15);  // flushed shoulders
    // Faint freckles and small marks over the chest and shoulders, never two alike.
    Field marks(kCanvasW, kCanvasH);
    Rng rng(123);
    for (int k = 0; k < 140; ++k) {
        const QPointF at(rng.range(40, 340), rng.range(352, 470));
        const double r = rng.range(0.6, 1.4);
        addBlob(marks, at, r, r * rng.range(0.7, 1.0), rng.range(0.3, 1.0));
    }
    tintSurface(s, marks, QColor(176, 112, 88), 0.22);
    return s;
}

QPainterPath neckBehindJaw() {
    // From under the lobe the muscle runs down and in behind the jaw angle, and the column's side
    // comes out below the jaw some three quarters of the jaw's width apart, meeting the slope to the
    // shoulder.
    QPainterPath sides;
    for (int side : {-1, 1})
        sides.addPath(pathThrough(sampleSpline(mapped({{112, 257},
                                                       {124, 254},
                                                       {164, 254},
                                                       {164, 338},
                                                       {142, 341},
                                                       {143.5, 326},
                                                       {141, 311},
                                                       {133, 293},
                                                       {122, 274},
                                                       {112, 257}},
                                                      side),
                                               40),
                                  true));
    return sides;
}

QPainterPath earsPath() {
    QPainterPath ears;
    for (int side : {-1, 1}) ears.addPath(pathThrough(sampleSpline(earOutline(side), 40), true));
    return ears;
}

SkinSurface earSurface() {
    SkinSurface s(kCanvasW, kCanvasH);
    std::vector<Polyline> rims;
    for (int side : {-1, 1}) rims.push_back(sampleSpline(earOutline(side), 40));
    s.cover = coverageOf(earsPath(), kCanvasW, kCanvasH);
    s.depth = 30;
    s.translucency = 0.45f;  // light shines through the thin ear
    const Field d = distanceTo(rims, s.cover);
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x)
            if (s.cover(x, y) > 0) s.height(x, y) = 0.8f * roundEdge(d(x, y), 5.0f);
    for (int side : {-1, 1}) {
        Field& h = s.height;
        addRidge(h, mapped({{113, 208.5}, {104.5, 210.5}, {99.5, 222}, {99.5, 242}, {103, 253}}, side), 1.7,
                 2.4,
                 1.6);  // the rim (helix)
        addRidge(h, mapped({{111, 212.5}, {104, 224}, {103, 240}, {105.5, 250}}, side), 1.4, -1.6, -1.0);
        addRidge(h, mapped({{114, 214}, {108, 225}, {107, 239}, {110, 249}}, side), 1.8, 1.8,
                 1.2);                                                // antihelix
        addBlob(h, mapped({{112.5, 236}}, side)[0], 3.2, 8.0, -5.0);  // bowl (concha)
        addBlob(h, mapped({{116.5, 241}}, side)[0], 1.8, 3.0, 1.6);   // tragus
        addBlob(h, mapped({{106.5, 256}}, side)[0], 4.0, 4.0, 1.8);   // lobe
    }
    const Field texture = valueNoise(kCanvasW, kCanvasH, 2.0, 2.0, 131);
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x) s.micro(x, y) = 0.07f * texture(x, y);
    fillSurface(s, QColor(218, 170, 150), 0.2);
    for (int side : {-1, 1}) {
        tintBlob(s, mapped({{112.5, 236}}, side)[0], 3.5, 8, QColor(150, 92, 84), 0.55);  // the bowl in shade
        tintBlob(s, mapped({{115.5, 238}}, side)[0], 2.5, 8, QColor(168, 112, 100),
                 0.3);  // where it meets the head
        tintBlob(s, mapped({{101, 232}}, side)[0], 4, 16, QColor(212, 138, 124),
                 0.22);  // the thin rim glows red
        tintBlob(s, mapped({{106.5, 257}}, side)[0], 4, 4, QColor(220, 146, 132), 0.25);
        tintBlob(s, mapped({{106, 210}}, side)[0], 7, 4, QColor(240, 204, 184),
                 0.45);  // the top faces the light
    }
    return s;
}

}  // namespace installdata::portrait
