#include <QLinearGradient>
#include <cmath>

#include "HairDrawing.h"
#include "HairFinish.h"
#include "InstallData.h"

// Men's cuts: short cropped sides and back, and a top that is parted, lifted, combed back or
// brushed forward. Strands of the crop fall away from a crown above the head, so they lie flat.
namespace installdata {

namespace {

using namespace face;

// How far each cut stands off the skull: the top of the crop and the x of its sides at the
// temples; the clippered cuts hug the head, the longer ones stand out.
struct CropFit {
    double top, side, length;
};

CropFit fitOf(const HairVariant& v) {
    switch (v.cut) {
        case MensCut::Crew:
            return {74 - v.volume * 0.3, 103, 4.5};
        case MensCut::Quiff:
            return {70, 104, 4.5};
        case MensCut::SlickBack:
            return {72 - v.volume * 0.6, 103, 6.0};
        case MensCut::SidePart:
            return {70, 103, 7.0};
        case MensCut::Fringe:
            return {66 - v.volume * 0.3, 100, 7.5};
        case MensCut::Textured:
            return {62 - v.volume * 0.3, 98, 7.5};
        case MensCut::Curly:
            return {46 - v.volume * 0.3, 88, 4.0};
        default:
            return {70 - v.volume, 100, 7.5};
    }
}

Crop sideCrop(const HairVariant& v) {
    const CropFit fit = fitOf(v);
    const double top = fit.top, side = fit.side;
    // A rounded skull outline over the top, then down the sides, past the sideburn and back along
    // the hairline.
    Polyline half;
    for (double deg : {0.0, 25.0, 50.0, 72.0})
        half.push_back(skullPoint(deg * 3.14159265358979 / 180, kMidX - side + 1, 160 - top));
    const Polyline rest{{side, 150}, {side + 2, 185}, {side + 6, 212}, {113, 221}, {118, 196},
                        {121, 164},  {128, 140},      {143, 126},      {164, 121}, {190, 119}};
    half.insert(half.end(), rest.begin(), rest.end());
    Polyline all = sampleSpline(half, 80);
    Polyline right = mirrored(all, kMidX);
    for (auto it = right.rbegin(); it != right.rend(); ++it) all.push_back(*it);
    Crop crop;
    crop.region = pathThrough(all, true);
    crop.crown = QPointF(v.part, 20);
    crop.length = fit.length;
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
Sweep liftedTop(const HairVariant& v, double height, double breadth) {
    const double crest = 60 - height, x = kMidX - breadth;
    Polyline left{{x, 120}, {x - 8, 92}, {x + 2, crest + 12}, {x + 26, crest + 4}};
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

// Short tight curls piled on top, the sides faded close.
Sweep curlyTop(const HairVariant& v) {
    const double top = 62 - v.volume;
    Polyline left{{150, top + 14}, {128, 96}, {122, 122}, {128, 140}};
    Polyline middle{{kMidX, top}, {kMidX, 90}, {kMidX, 116}, {kMidX, 132}};
    Sweep s = topSheet(v, {left, middle, mirrored(left, kMidX)}, 26, 5);
    applyCurl(s, {4.5, 26, 1.0, 0.15}, 80);
    s.width = 1.2;
    s.flyaways = 6;
    return s;
}

// Clippered sides: toward the ears the hair is so short that the scalp shows through, a lighter,
// skin-warm tone that deepens up into the longer hair.
void fadeSides(QPainter& p) {
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    for (int side : {-1, 1}) {
        const double x0 = side < 0 ? 96 : 2 * kMidX - 126, x1 = x0 + 30;
        QLinearGradient g(0, 120, 0, 222);
        g.setColorAt(0.0, QColor(176, 140, 120, 0));
        g.setColorAt(1.0, QColor(176, 140, 120, 165));
        p.fillRect(QRectF(x0, 140, x1 - x0, 90), g);
    }
    p.restore();
}

}  // namespace

void drawMensCrop(QPainter& p, const HairVariant& v, const HairPalette& c) {
    drawCap(p, c, 75, -3, v.seed);  // close to the skull: the crop itself stands off it
    drawCrop(p, sideCrop(v), c);
    if (v.cut != MensCut::Curly && v.cut != MensCut::Textured) fadeSides(p);
    switch (v.cut) {
        case MensCut::Crew:
        case MensCut::Shoulder:
            break;
        case MensCut::SidePart:  // swept over from the parting, standing up on the far side
            drawSweep(p,
                      topSheet(v,
                               {{{v.part, 100}, {184, 104}, {216, 112}, {244, 128}, {262, 150}},
                                {{v.part, 72 - v.volume},
                                 {200, 60 - v.volume},
                                 {246, 66 - v.volume * 0.6},
                                 {280, 96},
                                 {286, 136}}},
                               22, 3),
                      c);
            break;
        case MensCut::Quiff:
            drawSweep(p, liftedTop(v, v.volume + 10, 30), c);  // tall and narrow at the front
            break;
        case MensCut::SlickBack:
            drawSweep(p, liftedTop(v, v.volume, 62), c);  // broad, swept back over the crown
            break;
        case MensCut::Fringe:
            drawSweep(p, forwardTop(v, 160, 0.18), c);
            break;
        case MensCut::Textured:
            drawSweep(p, forwardTop(v, 140, 0.45), c);
            break;
        case MensCut::Curly:
            drawSweep(p, curlyTop(v), c);
            break;
    }
    drawHairlineWisps(p, c, v.part, v.seed + 50);
}

}  // namespace installdata
