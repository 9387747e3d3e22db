#include <cmath>

#include "HairEngine.h"
#include "HairVariants.h"
#include "InstallData.h"

// Men's cuts: short cropped sides and back, and a top that is parted, lifted, combed back or
// brushed forward. Strands of the crop fall away from a crown above the head, so they lie flat.
namespace installdata {

namespace {

using namespace face;

Crop sideCrop(const HairVariant& v) {
    const double top = 70 - v.volume;
    Polyline half{{190, top}, {150, top + 2 + v.volume * 0.4},
                  {122, 88},  {106, 116},
                  {102, 150}, {103, 185},
                  {107, 214}, {114, 216},
                  {117, 192}, {120, 160},
                  {127, 138}, {142, 122},
                  {164, 114}, {190, 111}};
    Polyline all = sampleSpline(half, 80);
    Polyline right = mirrored(all, kMidX);
    for (auto it = right.rbegin(); it != right.rend(); ++it) all.push_back(*it);
    Crop crop;
    crop.region = pathThrough(all, true);
    crop.crown = QPointF(v.part, 20);
    crop.length = v.cut == MensCut::Crew ? 5.5 : 7.5;
    crop.swirl = v.part < kMidX ? -0.15 : 0.0;
    crop.density = 7000;
    crop.width = 1.0;
    crop.seed = v.seed;
    return crop;
}

Sweep topSheet(const HairVariant& v, std::vector<Polyline> guides, int locks, uint64_t salt) {
    Sweep s;
    s.guides = std::move(guides);
    s.locks = locks;
    s.strandsPerLock = 10;
    s.clump = 0.5;
    s.wander = 1.0;
    s.sheenAt = 0.3;
    s.seed = v.seed + salt;
    return s;
}

// Hair brushed up from the hairline and back: a quiff stands tall, a slick-back lies close.
Sweep liftedTop(const HairVariant& v, double height) {
    const double crest = 60 - height;
    Polyline left{{144, 120}, {136, 92}, {146, crest + 12}, {170, crest + 4}};
    Polyline middle{{190, 114}, {190, 90}, {190, crest - 2}, {190, crest - 4}};
    Sweep s = topSheet(v, {left, middle, mirrored(left, kMidX)}, 24, 3);
    s.clump = 0.3;
    s.sheenAt = 0.45;
    s.sheenLen = 0.3;
    return s;
}

// Hair brushed forward from the crown onto the forehead, ending in separate textured pieces.
Sweep forwardTop(const HairVariant& v, double endY, double choppy) {
    const double top = 64 - v.volume;
    Polyline left{{160, top + 6}, {140, 88}, {132, 118}, {134, endY - 8}};
    Polyline middle{{190, top - 2}, {190, 80}, {188, 112}, {190, endY + 2}};
    Sweep s = topSheet(v, {left, middle, mirrored(left, kMidX)}, 22, 4);
    s.lengthJitter = choppy;
    s.clump = 0.75;
    s.wander = 2.2;
    s.sheenAt = 0.25;
    return s;
}

}  // namespace

void drawMensCrop(QPainter& p, const HairVariant& v, const HairPalette& c) {
    drawCrop(p, sideCrop(v), c);
    switch (v.cut) {
        case MensCut::Crew:
            return;
        case MensCut::SidePart:
            drawSweep(p,
                      topSheet(v,
                               {{{v.part, 100}, {184, 104}, {216, 112}, {244, 128}, {260, 150}},
                                {{v.part, 68 - v.volume},
                                 {196, 58 - v.volume},
                                 {236, 68 - v.volume * 0.5},
                                 {262, 92},
                                 {272, 128}}},
                               20, 3),
                      c);
            return;
        case MensCut::Quiff:
            drawSweep(p, liftedTop(v, v.volume + 4), c);
            return;
        case MensCut::SlickBack:
            drawSweep(p, liftedTop(v, 2), c);
            return;
        case MensCut::Fringe:
            drawSweep(p, forwardTop(v, 150, 0.18), c);
            return;
        case MensCut::Textured:
            drawSweep(p, forwardTop(v, 124, 0.35), c);
            return;
    }
}

}  // namespace installdata
