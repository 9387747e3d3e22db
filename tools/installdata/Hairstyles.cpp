#include <QMap>
#include <QPainterPath>
#include <QRegularExpression>
#include <cmath>

#include "HairEngine.h"
#include "HairVariants.h"
#include "HairstyleRecords.h"
#include "InstallData.h"

// The hairstyle library: a table of parameterised variants, each drawn as strand sweeps around the
// sample portrait's head (canvas coordinates, the picture is placed at the canvas origin).
namespace installdata {

void drawMensCrop(QPainter& p, const HairVariant& v, const HairPalette& c);

namespace {

using namespace face;

constexpr double kPi = 3.14159265358979323846;

const HairPalette kPalettes[] = {
    {{14, 12, 12}, {34, 29, 28}, {60, 52, 50}, {130, 124, 128}},        // black
    {{30, 20, 15}, {60, 41, 30}, {90, 63, 45}, {170, 136, 108}},        // dark brown
    {{52, 28, 16}, {98, 57, 32}, {136, 86, 50}, {210, 160, 114}},       // chestnut
    {{62, 22, 12}, {120, 46, 24}, {162, 74, 38}, {228, 152, 110}},      // auburn
    {{118, 86, 48}, {178, 140, 90}, {214, 182, 130}, {248, 230, 192}},  // blonde
    {{92, 80, 70}, {150, 136, 118}, {192, 180, 162}, {238, 230, 216}},  // ash blonde
    {{40, 12, 18}, {86, 24, 38}, {124, 42, 58}, {210, 124, 144}},       // burgundy
    {{22, 16, 14}, {44, 32, 27}, {70, 52, 42}, {150, 126, 110}},        // espresso
    {{80, 50, 26}, {140, 94, 52}, {186, 134, 80}, {236, 198, 150}},     // caramel
    {{74, 74, 80}, {136, 136, 142}, {188, 188, 194}, {240, 240, 246}},  // silver grey
};

// Waves swing whole sheets of hair together; ringlets coil lock by lock.
void applyCurl(Sweep& s, const Curl& c, double length) {
    if (c.amp <= 0) return;
    s.curlAmp = c.amp;
    s.curlWaves = c.waves * length / 300;  // table counts waves per 300 px of hair
    s.loop = c.loop;
    s.curlStart = c.start;
    if (c.amp >= 10) {
        s.phaseStep = 0.22;
        s.phaseJitter = 0.35;
        s.clump = 0.3;
        s.width = 1.35;
        s.curlGrow = 0.6;
        s.strandsPerLock += 3;
        s.massInset = 0.12;
    } else if (c.loop >= 0.5) {
        s.phaseStep = 0.0;
        s.phaseJitter = kPi;
        s.clump = 0.75;
        s.curlGrow = 0.5;
        s.wander = 2.5;
        s.massInset = 0.14;
    }
}

// x of the inner edge of side hair at height y: along the cheek, then straight down past the jaw.
double innerEdgeX(double y) { return y < 300 ? 118.0 + (y - 210.0) * 0.07 : 124.0 + (y - 300.0) * 0.06; }

// Guides of the left side for a parting at `part` (both in the left-hand frame).
Sweep sideSweep(const HairVariant& v, double part, double tipY, uint64_t seed) {
    Sweep s;
    Polyline inner{{part, 115}, {part - 0.5 * (part - 134), 119}, {126, 138}, {120, 170}, {117, 210}};
    Polyline outer{{part, 74 - v.volume * 0.7},
                   {part - 0.55 * (part - 108), 78 - v.volume * 0.5},
                   {104 - v.volume * 0.8, 112},
                   {97 - v.volume * 1.3, 160},
                   {95 - v.volume * 1.4 - v.spread * 0.2, 212}};
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
    s.clump = 0.35 + v.choppy * 1.5;
    if (v.choppy >= 0.15) {  // layered cuts end in a few broad pieces rather than many needles
        s.locks = s.locks * 3 / 5;
        s.strandsPerLock = 20;
        s.width = 1.25;
    }
    applyCurl(s, v.curl, tipY - 70);
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
    Curl soft = v.curl;  // a fringe only bends where the rest curls
    soft.amp *= 0.35;
    soft.waves *= 0.5;
    soft.loop = std::min(soft.loop, 0.3);
    applyCurl(s, soft, 80);
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

// A point pushed out onto the skull (an ellipse over the head) if it lies inside it.
QPointF onSkull(QPointF q, double volume) {
    const QPointF c(kMidX, 160);
    const double rx = 86 + volume, ry = 92 + volume;
    const QPointF d = q - c;
    const double r = std::hypot(d.x() / rx, d.y() / ry);
    return r >= 1.0 || r < 1e-6 ? q : c + d / r;
}

// The left half of an updo in the left-hand frame: from the hairline over the skull to the bun.
Sweep updoSweep(const HairVariant& v, QPointF bun, uint64_t seed) {
    const QPointF top(bun.x() - 4 * (bun.x() <= kMidX ? 1 : -1), bun.y() + 10);
    const QPointF roots[] = {{v.part, 111}, {158, 113}, {134, 124}, {120, 152}, {116, 208}};
    const QPointF over[] = {{v.part - 1, 92}, {154, 94}, {124, 106}, {108, 140}, {104 - v.volume, 170}};
    Sweep s;
    for (int k = 0; k < 5; ++k) {
        const QPointF mid = onSkull(lerp(over[k], top, 0.5), v.volume * 0.5);
        s.guides.push_back({roots[k], over[k], mid, top});
    }
    s.locks = 26;
    s.strandsPerLock = 12;
    s.clump = 0.2;
    s.wander = 0.6;
    s.sheenAt = 0.55;
    s.sheenLen = 0.25;
    s.seed = seed;
    return s;
}

void drawTendrils(QPainter& p, const HairVariant& v, const HairPalette& c) {
    for (int side : {-1, 1}) {  // in front of the ears
        Sweep t;
        t.guides = {{{123, 140}, {120, 180}, {122, 215}, {126, 238}},
                    {{119, 140}, {116, 180}, {117, 215}, {119, 236}}};
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
}

// Hair drawn back smoothly from the hairline to one or two buns, loose tendrils at the temples.
void drawUpdo(QPainter& p, const HairVariant& v) {
    const HairPalette& c = kPalettes[v.palette];
    const QPointF bun(v.bunX, v.bunY), mirroredBun(2 * kMidX - v.bunX, v.bunY);
    for (int side : {-1, 1}) {
        const QPointF target = side < 0 || v.twinBuns ? bun : mirroredBun;  // in the left-hand frame
        const Sweep s = updoSweep(v, target, v.seed + side + 5);
        drawSweep(p, side < 0 ? s : mirroredSweep(s), c);
    }
    const double rx = 38 * v.bunSize, ry = 28 * v.bunSize;
    drawBun(p, bun, rx, ry, c, v.seed + 9);
    if (v.twinBuns) drawBun(p, mirroredBun, rx, ry, c, v.seed + 10);
    drawTendrils(p, v, c);
    if (v.bangs == Bangs::None) return;
    const Sweep b = bangsSweep(v, v.part, v.seed + 2);
    drawSweep(p, b, c);
    if (v.bangs == Bangs::Curtain) drawSweep(p, mirroredSweep(b), c);
}

QImage renderHairstyle(const HairVariant& v) {
    QImage layer = newLayer(kCanvasW, kCanvasH);
    QPainter p;
    beginPainter(p, layer);
    switch (v.form) {
        case Form::Down:
            drawDown(p, v);
            break;
        case Form::Updo:
            drawUpdo(p, v);
            break;
        case Form::Crop:
            drawMensCrop(p, v, kPalettes[v.palette]);
            break;
    }
    p.end();
    shadeHair(layer, QPointF(168, 80), 330, 120);
    keepFaceClear(layer);
    return layer;
}

// Every file must land in its own category and in no other when the program lists them.
void checkNames(Writer& out, const std::vector<QString>& names) {
    const auto codes = hairCategoryCodes();
    const auto patterns = hairCategoryPatterns();
    QMap<QString, int> perCategory;
    for (size_t i = 0; i < names.size(); ++i) {
        const QString own = QString::fromLatin1(hairVariants()[i].code);
        ++perCategory[own];
        for (size_t k = 0; k < codes.size(); ++k) {
            const QRegularExpression re(
                QRegularExpression::wildcardToRegularExpression(QString::fromLatin1(patterns[k])),
                QRegularExpression::CaseInsensitiveOption);
            const bool match = re.match(names[i]).hasMatch(), should = own == QLatin1String(codes[k]);
            if (match != should)
                out.fail(QStringLiteral("发型 %1 %2分类 %3")
                             .arg(names[i], match ? QStringLiteral("误入") : QStringLiteral("不在"),
                                  QString::fromLatin1(patterns[k])));
        }
    }
    for (const char* code : codes)
        if (perCategory.value(QString::fromLatin1(code)) < 6)
            out.fail(QStringLiteral("分类 %1 的发型少于 6 个").arg(QString::fromLatin1(code)));
    const std::vector<HairstyleRecord> records = hairstyleRecords();
    if (records.size() != names.size()) out.fail(QStringLiteral("适合记录与发型文件数目不符"));
    for (size_t i = 0; i < std::min(names.size(), records.size()); ++i)
        if (records[i].name != names[i]) out.fail(QStringLiteral("发型 %1 没有对应的适合记录").arg(names[i]));
}

}  // namespace

void writeHairstyles(Writer& out) {
    const auto variants = hairVariants();
    const int n = static_cast<int>(variants.size());
    std::vector<QString> names(n);
    for (int i = 0; i < n; ++i) names[i] = hairstyleFileName(i);
    checkNames(out, names);
    if (!out.failures().isEmpty()) return;
    const QImage portrait = renderPortrait();
    std::vector<QImage> layers(n), cards(n);
    parallelFor(n, [&](int i) {
        layers[i] = renderHairstyle(variants[i]);
        cards[i] = renderHairCard(portrait, layers[i], variants[i]);
    });
    for (int i = 0; i < n; ++i) {
        out.component(layers[i], QStringLiteral("faxing/") + names[i]);
        out.picture(cards[i], QStringLiteral("faxing1/") + names[i].chopped(3) + QStringLiteral("BMP"),
                    "BMP");
    }
}

}  // namespace installdata
