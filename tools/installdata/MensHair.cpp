#include <QImage>
#include <QLinearGradient>
#include <QPolygonF>
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
    s.clump = 0.68;
    s.lengthJitter = 0.1;
    s.wander = 1.6;
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
    s.clump = 0.55;
    s.lengthJitter = 0.12;
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

// Directional strand groups over the crop: little combed pieces, each a few strands running away
// from the crown, with a shaded underside and a lit edge toward the light, so the top reads as
// textured hair instead of a smooth shell.
void drawCombedPieces(QPainter& p, const Crop& crop, const HairPalette& c) {
    Rng rng(crop.seed + 7);
    const QRectF box = crop.region.boundingRect();
    for (int k = 0; k < 900; ++k) {
        const QPointF at(rng.range(box.left(), box.right()),
                         rng.range(box.top(), std::min(box.bottom(), 175.0)));
        if (!crop.region.contains(at)) continue;
        const QPointF d = at - crop.crown;
        const double ang = std::atan2(d.y(), d.x()) + crop.swirl + rng.symmetric(0.2);
        const double len = crop.length * rng.range(1.4, 2.4);
        const QPointF dir(std::cos(ang), std::sin(ang)), across(-dir.y(), dir.x());
        const double bend = rng.symmetric(1.5);
        auto piece = [&](double off) {
            const QPointF a = at + across * off, b = a + dir * len + across * (bend - off * 0.5);
            return Polyline{a, lerp(a, b, 0.5) + across * bend * 0.3, b};
        };
        fillRibbon(p, piece(1.6), 2.2, 0.3, withAlpha(c.dark, 110), 0.1, 0.5);  // the shaded underside
        const int strands = 3 + static_cast<int>(rng.range(0, 3));
        for (int s = 0; s < strands; ++s)
            fillRibbon(p, piece(rng.symmetric(1.4)), rng.range(0.6, 1.0), 0.15, strandColour(rng, c), 0.1,
                       0.5);
        if (rng.uniform() < 0.4)  // the edge of the piece that faces the light
            fillRibbon(p, piece(-1.5), 0.7, 0.1, withAlpha(c.light, 150), 0.2, 0.5);
    }
}

// Clippered sides: toward the ears and nape the hair gets so short and sparse that the scalp shows
// through, a skin-warm tone rising softly into the longer hair, textured with stubble that thins
// out downward. Drawn over the hair only, so the coverage of the cut stays as it is.
void fadeSides(QPainter& p, const HairPalette& c, uint64_t seed) {
    const QSize size(p.device()->width(), p.device()->height());
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    paintSoft(p, size, 7, 1.0, [&](QPainter& q) {
        q.setPen(Qt::NoPen);
        for (int side : {-1, 1}) {
            QLinearGradient g(0, 150, 0, 224);
            g.setColorAt(0.0, QColor(172, 134, 112, 0));
            g.setColorAt(0.45, QColor(172, 134, 112, 95));
            g.setColorAt(1.0, QColor(180, 142, 120, 215));
            q.setBrush(g);
            const Polyline band{{80, 146}, {126, 150}, {124, 236}, {80, 236}};
            q.drawPath(pathThrough(side < 0 ? band : mirrored(band, kMidX), true));
        }
    });
    Rng rng(seed);
    for (int k = 0; k < 1400; ++k) {
        const double y = rng.range(150, 224), depth = (y - 150) / 74;
        if (rng.uniform() < depth * 0.7) continue;  // fewer, finer hairs lower down
        const int side = rng.uniform() < 0.5 ? -1 : 1;
        const double x = kMidX + side * (kMidX - rng.range(98, 124));
        const double ang = 1.57 + side * rng.range(0.15, 0.6),
                     len = rng.range(1.5, 3.5) * (1.2 - depth * 0.6);
        const QPointF a(x, y), b = a + QPointF(std::cos(ang), std::sin(ang)) * len;
        fillRibbon(p, {a, lerp(a, b, 0.5), b}, rng.range(0.6, 1.0), 0.2,
                   withAlpha(mix(c.dark, c.base, rng.uniform()), static_cast<int>(rng.range(90, 190))), 0.0,
                   0.3);
    }
    p.restore();
}

// The hair thins out at the front hairline and the temples: a soft skin-warm fade just inside the
// edge of what is drawn, so the line reads as hair growing out of skin instead of a cut edge.
void softHairline(QPainter& p) {
    const QImage* img = dynamic_cast<const QImage*>(p.device());
    if (!img) return;
    auto solid = [&](int x, int y) { return qAlpha(img->pixel(x, y)) > 200; };
    const QColor skin(178, 140, 118);
    struct Band {
        QPointF from, to;
    };
    std::vector<Band> bands;
    for (int x = 124; x <= 2 * kMidX - 124; ++x)  // the forehead: up from the face to the hair
        for (int y = 200; y > 100; --y)
            if (solid(x, y)) {
                bands.push_back({QPointF(x + 0.5, y - 8.0), QPointF(x + 0.5, y + 2.0)});
                break;
            }
    for (int y = 140; y <= 205; ++y)  // the temples: out from the face to the hair
        for (int side : {-1, 1})
            for (int d = 40; d < 80; ++d) {
                const int x = static_cast<int>(kMidX) + side * d;
                if (solid(x, y)) {
                    bands.push_back({QPointF(x + side * 5.0, y + 0.5), QPointF(x - side * 1.0, y + 0.5)});
                    break;
                }
            }
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    p.setPen(Qt::NoPen);
    for (const Band& b : bands) {
        QLinearGradient g(b.from, b.to);
        g.setColorAt(0.0, withAlpha(skin, 0));
        g.setColorAt(1.0, withAlpha(skin, 100));
        p.setBrush(g);
        const QPointF n = b.to - b.from, across = QPointF(-n.y(), n.x()) / std::hypot(n.x(), n.y()) * 0.5;
        p.drawPolygon(QPolygonF({b.from - across, b.to - across, b.to + across, b.from + across}));
    }
    p.restore();
}

// Sideburns: short strands combed down in front of the ear, over the faded band.
void drawSideburns(QPainter& p, const HairPalette& c, uint64_t seed) {
    Rng rng(seed);
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    for (int side : {-1, 1})
        for (int k = 0; k < 90; ++k) {
            const double y = rng.range(176, 214), x = rng.range(110, 121) + (y - 176) * 0.06;
            const QPointF a(side < 0 ? x : 2 * kMidX - x, y);
            const QPointF b = a + QPointF(side * rng.symmetric(0.8), rng.range(3, 6));
            fillRibbon(
                p, {a, lerp(a, b, 0.5), b}, rng.range(0.6, 0.9), 0.2,
                withAlpha(mix(c.dark, c.base, rng.range(0, 0.6)), static_cast<int>(rng.range(110, 200))), 0.1,
                0.4);
        }
    p.restore();
}

// Tips breaking the outline: along the top of what is drawn so far, groups of short tapered strands
// grow out past the edge, leaning the way the hair is combed.
void breakOutline(QPainter& p, const HairPalette& c, double part, uint64_t seed) {
    const QImage* img = dynamic_cast<const QImage*>(p.device());
    if (!img) return;
    auto alphaAt = [&](int x, int y) { return qAlpha(img->pixel(x, y)); };
    struct Edge {
        QPointF at, out;
    };
    std::vector<Edge> edges;
    for (int x = 100; x <= 280; x += 3)
        for (int y = 5; y < 150; ++y)
            if (alphaAt(x, y) > 235) {
                edges.push_back({QPointF(x, y), QPointF((x - kMidX) / 180.0, -1)});
                break;
            }
    Rng rng(seed);
    for (const Edge& e : edges) {
        const double lean = e.at.x() < part ? -0.5 : 0.5;
        const double base = std::atan2(e.out.y(), e.out.x()) + lean * rng.range(0.3, 1.0);
        const int count = 2 + static_cast<int>(rng.range(0, 4));
        for (int s = 0; s < count; ++s) {
            const double ang = base + rng.symmetric(0.3), len = rng.range(4, 10);
            const QPointF dir(std::cos(ang), std::sin(ang));
            const QPointF a = e.at - dir * rng.range(3, 6) + QPointF(rng.symmetric(2), rng.symmetric(2));
            const QPointF m = a + dir * len * 0.5 + QPointF(-dir.y(), dir.x()) * rng.symmetric(1.2);
            if (a.x() < 1 || a.y() < 1 || a.x() >= img->width() - 1 ||
                alphaAt(static_cast<int>(a.x()), static_cast<int>(a.y())) < 230)
                continue;  // only from inside the hair, never floating
            const QColor col = strandColour(rng, c);
            fillRibbon(p, {a, m, a + dir * len}, rng.range(0.9, 1.5), 0.1, col, 0.0, 0.6);
        }
    }
}

// A broad soft highlight where the top faces the light, up and left of the crown (`top` px above
// the head's centre).
void topSheen(QPainter& p, const HairPalette& c, double top) {
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    softEllipse(p, QPointF(170, 190 - top), 42, 16, withAlpha(c.sheen, 60));
    p.restore();
}

}  // namespace

void drawMensCrop(QPainter& p, const HairVariant& v, const HairPalette& c) {
    drawCap(p, c, 75, -3, v.seed);  // close to the skull: the crop itself stands off it
    const Crop crop = sideCrop(v);
    drawCrop(p, crop, c);
    drawCombedPieces(p, crop, c);
    fadeSides(p, c, v.seed + 31);
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
    drawSideburns(p, c, v.seed + 41);
    topSheen(p, c, fitOf(v).top);
    breakOutline(p, c, v.part, v.seed + 61);
    drawHairlineWisps(p, c, v.part, v.seed + 50);
    softHairline(p);
}

}  // namespace installdata
