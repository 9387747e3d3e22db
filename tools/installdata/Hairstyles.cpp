#include <QMap>
#include <QPainterPath>
#include <cmath>

#include "HairEngine.h"
#include "InstallData.h"

// The hairstyle library: a table of parameterised variants, each drawn as strand sweeps around the
// sample portrait's head (canvas coordinates, the picture is placed at the canvas origin).
namespace installdata {

namespace {

using namespace face;

enum class Bangs { None, Full, Side, Curtain, Wispy };
enum class Form { Down, Updo, Crop };

struct Curl {
    double amp = 0, waves = 0, loop = 0, start = 0.35;
};

struct HairVariant {
    const char* code;
    int palette;
    Form form;
    double part;        // x of the parting
    double volume;      // how far the outline stands off the skull
    double tipLeft, tipRight;  // where the side hair ends (y)
    double spread;      // how far the ends flare outwards
    Curl curl;
    Bangs bangs;
    double choppy;      // 0 even ends .. 0.4 strongly layered
    uint64_t seed;
};

const HairPalette kPalettes[] = {
    {{14, 12, 12}, {34, 29, 28}, {60, 52, 50}, {130, 124, 128}},      // black
    {{30, 20, 15}, {60, 41, 30}, {90, 63, 45}, {170, 136, 108}},      // dark brown
    {{52, 28, 16}, {98, 57, 32}, {136, 86, 50}, {210, 160, 114}},     // chestnut
    {{62, 22, 12}, {120, 46, 24}, {162, 74, 38}, {228, 152, 110}},    // auburn
    {{118, 86, 48}, {178, 140, 90}, {214, 182, 130}, {248, 230, 192}},  // blonde
    {{92, 80, 70}, {150, 136, 118}, {192, 180, 162}, {238, 230, 216}},  // ash blonde
    {{40, 12, 18}, {86, 24, 38}, {124, 42, 58}, {210, 124, 144}},     // burgundy
};

// Codes: dz short straight, mz medium straight, cz long straight, s choppy, p updo, y artistic,
// dj short curly, mj medium curly, o big curls, cj long curly, l traditional, n men's.
const HairVariant kVariants[] = {
    {"dz", 0, Form::Down, 190, 8, 300, 300, 4, {}, Bangs::Full, 0.04, 101},
    {"dz", 2, Form::Down, 166, 9, 292, 298, 6, {}, Bangs::Side, 0.05, 102},
    {"mz", 1, Form::Down, 190, 8, 392, 392, 12, {2, 2, 0, 0.5}, Bangs::None, 0.06, 201},
    {"mz", 3, Form::Down, 170, 9, 380, 384, 10, {}, Bangs::Curtain, 0.06, 202},
    {"cz", 0, Form::Down, 190, 6, 470, 470, 14, {}, Bangs::None, 0.05, 301},
    {"cz", 4, Form::Down, 164, 9, 462, 466, 16, {1.5, 2, 0, 0.5}, Bangs::Side, 0.06, 302},
    {"s", 1, Form::Down, 182, 12, 322, 326, 10, {}, Bangs::Wispy, 0.24, 401},
    {"s", 2, Form::Down, 168, 12, 372, 368, 14, {}, Bangs::Side, 0.22, 402},
    {"p", 0, Form::Updo, 190, 6, 0, 0, 0, {}, Bangs::None, 0, 501},
    {"p", 2, Form::Updo, 168, 8, 0, 0, 0, {}, Bangs::Side, 0, 502},
    {"y", 6, Form::Down, 158, 12, 262, 410, 12, {}, Bangs::Side, 0.12, 601},
    {"y", 5, Form::Down, 200, 16, 300, 338, 10, {4, 3, 0.2, 0.4}, Bangs::Curtain, 0.1, 602},
    {"dj", 1, Form::Down, 184, 16, 302, 302, 10, {6, 6, 1.0, 0.3}, Bangs::None, 0.08, 701},
    {"dj", 0, Form::Down, 190, 18, 292, 292, 8, {4, 9, 1.0, 0.25}, Bangs::Full, 0.08, 702},
    {"mj", 2, Form::Down, 172, 14, 384, 384, 16, {6, 5, 0.6, 0.35}, Bangs::None, 0.08, 801},
    {"mj", 1, Form::Down, 190, 16, 376, 376, 18, {7, 6, 1.0, 0.3}, Bangs::Curtain, 0.08, 802},
    {"o", 3, Form::Down, 172, 14, 432, 432, 22, {11, 2.8, 0.3, 0.38}, Bangs::Side, 0.06, 901},
    {"o", 4, Form::Down, 190, 14, 420, 420, 22, {10, 3.2, 0.35, 0.35}, Bangs::Curtain, 0.06, 902},
    {"cj", 0, Form::Down, 190, 16, 472, 472, 22, {7, 8, 1.0, 0.3}, Bangs::None, 0.07, 1001},
    {"cj", 1, Form::Down, 170, 16, 466, 466, 24, {7, 8, 0.9, 0.3}, Bangs::Side, 0.07, 1002},
    {"l", 0, Form::Down, 190, 3, 445, 445, 6, {}, Bangs::Full, 0.02, 1101},
    {"l", 0, Form::Updo, 190, 4, 0, 0, 0, {}, Bangs::None, 0, 1102},
    {"n", 0, Form::Crop, 160, 10, 0, 0, 0, {}, Bangs::None, 0, 1201},
    {"n", 1, Form::Crop, 190, 14, 0, 0, 0, {}, Bangs::Wispy, 0, 1202},
};

// x of the inner edge of side hair at height y: along the cheek, then straight down past the jaw.
double innerEdgeX(double y) { return y < 300 ? 118.0 + (y - 210.0) * 0.07 : 124.0 + (y - 300.0) * 0.06; }

// Guides of the left side for a parting at `part` (both in the left-hand frame).
Sweep sideSweep(const HairVariant& v, double part, double tipY, uint64_t seed) {
    Sweep s;
    Polyline inner{{part, 115}, {part - 0.5 * (part - 134), 119}, {126, 138}, {120, 170}, {117, 210}};
    Polyline outer{{part, 74 - v.volume * 0.7}, {part - 0.55 * (part - 108), 78 - v.volume * 0.5},
                   {104 - v.volume * 0.8, 112}, {97 - v.volume * 1.3, 160}, {95 - v.volume * 1.4 - v.spread * 0.2, 212}};
    const int steps = std::max(1, static_cast<int>((tipY - 210) / 45));
    for (int k = 1; k <= steps; ++k) {
        const double y = 210 + (tipY - 210) * k / steps, f = static_cast<double>(k) / steps;
        inner.push_back({innerEdgeX(y), y});
        outer.push_back({95 - v.volume * 1.4 - v.spread * (0.2 + 0.8 * f), y});
    }
    s.guides = {inner, outer};
    s.locks = 22 + static_cast<int>((tipY - 250) / 20);
    s.strandsPerLock = 13;
    s.lengthJitter = v.choppy;
    s.clump = v.curl.loop > 0.5 ? 0.7 : 0.35 + v.choppy * 1.5;  // ringlets read as separate locks
    s.curlAmp = v.curl.amp;
    s.curlWaves = v.curl.waves * (tipY - 70) / 300;
    s.loop = v.curl.loop;
    s.curlStart = v.curl.start;
    s.sheenAt = 0.1;
    s.sheenLen = 0.18;
    s.seed = seed;
    return s;
}

Sweep bangsSweep(const HairVariant& v, double part, uint64_t seed) {
    Sweep s;
    switch (v.bangs) {
        case Bangs::Full:
        case Bangs::Wispy:
            s.guides = {{{part - 4, 96}, {170, 110}, {146, 136}, {134, 165}},
                        {{part + 4, 96}, {210, 110}, {234, 136}, {246, 165}}};
            break;
        case Bangs::Side:
            s.guides = {{{part - 6, 100}, {164, 114}, {140, 138}, {120, 168}},
                        {{part + 46, 104}, {214, 126}, {176, 150}, {136, 170}}};
            break;
        default:  // curtain: the left half; the right half mirrors it
            s.guides = {{{188, 100}, {180, 124}, {166, 150}, {146, 168}},
                        {{188, 104}, {156, 112}, {134, 138}, {124, 172}}};
            break;
    }
    s.locks = v.bangs == Bangs::Curtain ? 9 : 16;
    s.strandsPerLock = 11;
    s.lengthJitter = v.bangs == Bangs::Wispy ? 0.3 : 0.06;
    s.clump = v.bangs == Bangs::Wispy ? 0.8 : 0.4;
    s.curlAmp = v.curl.amp * 0.4;
    s.curlWaves = v.curl.waves * 0.4;
    s.loop = v.curl.loop;
    s.width = 1.0;
    s.sheenAt = 0.3;
    s.seed = seed;
    return s;
}

Sweep mirroredSweep(Sweep s) {
    for (Polyline& g : s.guides) g = mirrored(g, kMidX);
    s.seed += 17;
    return s;
}

void drawDown(QPainter& p, const HairVariant& v) {
    const HairPalette& c = kPalettes[v.palette];
    drawSweep(p, sideSweep(v, v.part, v.tipLeft, v.seed), c);
    drawSweep(p, mirroredSweep(sideSweep(v, 2 * kMidX - v.part, v.tipRight, v.seed + 1)), c);
    if (v.bangs == Bangs::None) return;
    const Sweep b = bangsSweep(v, v.part, v.seed + 2);
    drawSweep(p, b, c);
    if (v.bangs == Bangs::Curtain) drawSweep(p, mirroredSweep(b), c);
}

// Hair drawn back smoothly from the hairline to a bun, with loose tendrils at the temples.
void drawUpdo(QPainter& p, const HairVariant& v) {
    const HairPalette& c = kPalettes[v.palette];
    const bool high = v.code[0] == 'p';
    const QPointF bun(kMidX, high ? 50 : 70);
    for (int side : {-1, 1}) {
        Sweep s;
        const QPointF top(bun.x() - 4, bun.y() + 10);
        s.guides = {{{v.part, 114}, {v.part - 1, 96}, {bun.x() - 2, bun.y() + 22}, top},
                    {{150, 119}, {150, 100}, {166, 76}, top},
                    {{124, 142}, {120, 112}, {140, 80}, top},
                    {{117, 180}, {110, 140}, {124, 92}, {158, 66}, top},
                    {{115, 213}, {104 - v.volume, 160}, {110 - v.volume, 106}, {146, 68}, top}};
        s.locks = 26;
        s.strandsPerLock = 12;
        s.clump = 0.2;
        s.wander = 0.6;
        s.sheenAt = 0.55;
        s.sheenLen = 0.25;
        s.seed = v.seed + side + 5;
        drawSweep(p, side < 0 ? s : mirroredSweep(s), c);
    }
    drawBun(p, bun, high ? 38 : 30, high ? 28 : 20, c, v.seed + 9);
    for (int side : {-1, 1}) {  // tendrils in front of the ears
        Sweep t;
        t.guides = {{{123, 140}, {120, 180}, {122, 215}, {126, 238}}, {{119, 140}, {116, 180}, {117, 215}, {119, 236}}};
        t.locks = 2;
        t.strandsPerLock = 5;
        t.mass = false;
        t.curlAmp = 3;
        t.curlWaves = 4;
        t.loop = 0.4;
        t.curlStart = 0.2;
        t.width = 0.6;
        t.seed = v.seed + 20 + side;
        drawSweep(p, side < 0 ? t : mirroredSweep(t), c);
    }
    if (v.bangs != Bangs::None) drawSweep(p, bangsSweep(v, v.part, v.seed + 2), c);
}

// Men's short hair: a cropped cap a little fuller than the portrait's, a parted top sweep.
void drawMensCrop(QPainter& p, const HairVariant& v) {
    const HairPalette& c = kPalettes[v.palette];
    Polyline half{{190, 70 - v.volume}, {150, 72 - v.volume * 0.6}, {122, 88}, {106, 116}, {102, 150},
                  {103, 185}, {107, 214}, {114, 216}, {117, 192}, {120, 160}, {127, 138}, {142, 122},
                  {164, 114}, {190, 111}};
    Polyline all = sampleSpline(half, 80);
    Polyline right = mirrored(all, kMidX);
    for (auto it = right.rbegin(); it != right.rend(); ++it) all.push_back(*it);
    Crop crop;
    crop.region = pathThrough(all, true);
    crop.crown = v.bangs == Bangs::Wispy ? QPointF(190, 175) : QPointF(v.part, 30);
    crop.length = v.bangs == Bangs::Wispy ? 12 : 9;
    crop.swirl = v.bangs == Bangs::Wispy ? 0.0 : -0.2;
    crop.density = 7000;
    crop.width = 1.1;
    crop.seed = v.seed;
    drawCrop(p, crop, c);
    if (v.bangs == Bangs::Wispy) return;
    Sweep top;  // the longer top combed across from the side parting
    top.guides = {{{v.part, 100}, {184, 104}, {216, 112}, {244, 128}, {260, 150}},
                  {{v.part, 68 - v.volume}, {196, 58 - v.volume}, {236, 68 - v.volume * 0.5}, {262, 92}, {272, 128}}};
    top.locks = 20;
    top.strandsPerLock = 10;
    top.clump = 0.5;
    top.sheenAt = 0.3;
    top.seed = v.seed + 3;
    drawSweep(p, top, c);
}

QImage renderHairstyle(const HairVariant& v) {
    QImage layer = newLayer(kCanvasW, kCanvasH);
    QPainter p;
    beginPainter(p, layer);
    switch (v.form) {
        case Form::Down: drawDown(p, v); break;
        case Form::Updo: drawUpdo(p, v); break;
        case Form::Crop: drawMensCrop(p, v); break;
    }
    p.end();
    shadeHair(layer, QPointF(168, 80), 330, 120);
    keepFaceClear(layer);
    return layer;
}

}  // namespace

void writeHairstyles(Writer& out) {
    QMap<QString, int> counts;
    for (const HairVariant& v : kVariants) {
        const QString code = QString::fromLatin1(v.code);
        const int index = ++counts[code];
        out.component(renderHairstyle(v), QStringLiteral("faxing/") + componentName(code, index));
    }
}

}  // namespace installdata
