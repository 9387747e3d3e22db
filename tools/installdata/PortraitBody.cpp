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

Polyline faceOutline() {
    return symmetricOutline({{190, 86},
                             {160, 90},
                             {132, 108},
                             {118, 140},
                             {114, 180},
                             {114, 218},
                             {118, 250},
                             {127, 280},
                             {142, 306},
                             {163, 325},
                             {190, 331}},
                            90);
}

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

SkinSurface bodySurface() {
    SkinSurface s(kCanvasW, kCanvasH);
    s.cover = coverageOf(bodyPath(), kCanvasW, kCanvasH);
    const Field d = distanceTo(bodySides(), s.cover);
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x)
            if (s.cover(x, y) > 0) s.height(x, y) = roundEdge(d(x, y), 26.0f);
    Field& h = s.height;
    addBlob(h, QPointF(190, 500), 150, 110, 16.0);  // the chest comes forward
    for (int side : {-1, 1}) {
        addRidge(h, mapped({{182, 362}, {162, 360}, {134, 362}, {104, 371}}, side), 4.0, 1.6,
                 1.2);                                                                     // collarbone
        addRidge(h, mapped({{174, 351}, {152, 351}, {126, 356}}, side), 6.0, -1.6, -1.2);  // hollow above it
        addRidge(h, mapped({{167, 262}, {171, 302}, {185, 352}}, side), 4.0, 1.8, 1.2);    // neck muscle
        addBlob(h, mapped({{62, 404}}, side)[0], 40, 34, 6.0);                             // shoulder
        addBlob(h, mapped({{146, 478}}, side)[0], 48, 34, 7.0);                            // chest
    }
    addBlob(h, QPointF(190, 357), 7, 5, -3.0);  // hollow of the throat
    for (int side : {-1, 1})
        addRidge(h, mapped({{52, 412}, {46, 440}, {44, 480}}, side), 5.0, -1.5,
                 -3.0);                                       // where the arm meets the chest
    addRidge(h, {{190, 380}, {190, 480}}, 11.0, -0.6, -1.4);  // breastbone between the chest muscles
    const Field texture = valueNoise(kCanvasW, kCanvasH, 2.0, 2.0, 121);
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x) s.micro(x, y) = 0.07f * texture(x, y);
    fillSurface(s, QColor(226, 188, 166), 0.2);
    const Field blotch = fractalNoise(kCanvasW, kCanvasH, 34.0, 3, 0.5, 122);
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x) {
            const float k = 1.0f + 0.03f * blotch(x, y);
            s.r(x, y) *= k;
            s.g(x, y) *= k;
            s.b(x, y) *= k;
        }
    tintBlob(s, QPointF(190, 410), 70, 40, QColor(224, 164, 142), 0.18);  // warmer skin of the chest
    tintBlob(s, QPointF(190, 300), 22, 40, QColor(230, 188, 162), 0.2);   // paler throat
    return s;
}

SkinSurface earSurface() {
    SkinSurface s(kCanvasW, kCanvasH);
    QPainterPath ears;
    std::vector<Polyline> rims;
    for (int side : {-1, 1}) {
        const Polyline outline = sampleSpline(earOutline(side), 40);
        ears.addPath(pathThrough(outline, true));
        rims.push_back(outline);
    }
    s.cover = coverageOf(ears, kCanvasW, kCanvasH);
    s.depth = 30;
    const Field d = distanceTo(rims, s.cover);
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x)
            if (s.cover(x, y) > 0) s.height(x, y) = roundEdge(d(x, y), 5.0f);
    for (int side : {-1, 1}) {
        addBlob(s.height, mapped({{110, 236}}, side)[0], 4.0, 9.0, -5.0);  // bowl of the ear
        addRidge(s.height, mapped({{111, 213}, {103.5, 224}, {104, 242}, {108.5, 251}}, side), 1.4, 2.0, 1.2);
        addBlob(s.height, mapped({{108, 256}}, side)[0], 3.5, 3.5, 1.5);  // lobe
    }
    const Field texture = valueNoise(kCanvasW, kCanvasH, 2.0, 2.0, 131);
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x) s.micro(x, y) = 0.07f * texture(x, y);
    fillSurface(s, QColor(220, 170, 150), 0.3);
    for (int side : {-1, 1}) tintBlob(s, mapped({{110, 236}}, side)[0], 4, 8, QColor(200, 136, 118), 0.35);
    return s;
}

}  // namespace installdata::portrait
