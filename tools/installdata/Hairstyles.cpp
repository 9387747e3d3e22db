#include <QMap>
#include <QPainterPath>
#include <QRegularExpression>
#include <cmath>

#include "EnclosedGaps.h"
#include "HairDrawing.h"
#include "HairFinish.h"
#include "HairVariants.h"
#include "HairstyleRecords.h"
#include "InstallData.h"

// The hairstyle library: a table of parameterised variants, each drawn as strand sweeps around the
// sample portrait's head (canvas coordinates, the picture is placed at the canvas origin).
namespace installdata {

namespace {

using namespace face;

const HairPalette kPalettes[] = {
    {{14, 12, 12}, {34, 29, 28}, {60, 52, 50}, {130, 124, 128}, true},               // black
    {{30, 20, 15}, {60, 41, 30}, {90, 63, 45}, {170, 136, 108}},                     // dark brown
    {{52, 28, 16}, {98, 57, 32}, {136, 86, 50}, {210, 160, 114}},                    // chestnut
    {{62, 22, 12}, {120, 46, 24}, {162, 74, 38}, {228, 152, 110}},                   // auburn
    {{118, 86, 48}, {178, 140, 90}, {214, 182, 130}, {248, 230, 192}},               // blonde
    {{92, 80, 70}, {150, 136, 118}, {192, 180, 162}, {238, 230, 216}, false, true},  // ash blonde
    {{40, 12, 18}, {86, 24, 38}, {124, 42, 58}, {210, 124, 144}},                    // burgundy
    {{22, 16, 14}, {44, 32, 27}, {70, 52, 42}, {150, 126, 110}},                     // espresso
    {{80, 50, 26}, {140, 94, 52}, {186, 134, 80}, {236, 198, 150}},                  // caramel
    {{74, 74, 80}, {136, 136, 142}, {188, 188, 194}, {240, 240, 246}, false, true},  // silver grey
};

QImage renderHairstyle(const HairVariant& v) {
    QImage layer = newLayer(kCanvasW, kCanvasH), behind = newLayer(kCanvasW, kCanvasH);
    QPainter p, b;
    beginPainter(p, layer);
    beginPainter(b, behind);
    drawPiecesBehind(b, v);
    switch (v.form) {
        case Form::Down:
            drawDown(p, b, v);
            drawBangs(p, v);
            break;
        case Form::Updo:
            drawUpdo(p, v);
            drawBangs(p, v);
            break;
        case Form::Crop:
            drawMensCrop(p, v, kPalettes[v.palette]);
            break;
    }
    drawPieces(p, v);
    p.end();
    b.end();
    if (v.form == Form::Down && !v.spiky && !v.shortCurls) closePartingNotch(layer, static_cast<int>(v.part));
    const double tip = std::max(v.tipLeft, v.tipRight);
    const QColor dark = kPalettes[v.palette].dark;
    const QColor shade = QColor::fromRgbF(dark.redF() * 0.4f, dark.greenF() * 0.4f, dark.blueF() * 0.4f);
    // Big waves (not ringlets, which loop) light each turn and short curls each coil themselves; a
    // tousled crown breaks the ring with its own crossing strand groups.
    const bool bigWaves = v.curl.amp >= 10 && v.curl.loop < 0.5;
    const bool ringlets = !v.shortCurls && v.curl.amp >= 4 && v.curl.loop >= 0.5;
    // Finger waves catch the light on each crest (drawn with them), not in a ring round the head; a
    // textured crown's locks are lit each on its own curve, and the ring's streaks, running across
    // them at the top, would set square blotches over them.
    // A crew cut's pile is too short to gather the light into a crisp ring: a bright one sits on it
    // as a halo, so it takes the soft one of hair whose own shapes carry the light; so does a
    // choppy fringe, whose clumps are lit each on its own, where a crisp ring reads as a stripe.
    const bool ownLight = v.textured || v.cut == MensCut::Crew || v.cut == MensCut::Fringe;
    const double sheen = v.shortCurls || v.fingerWaves      ? 0.0
                         : bigWaves || ringlets || ownLight ? 0.35
                         : v.tousled                        ? 0.55
                         : v.lift > 0                       ? 0.75
                                                            : 1.0;
    HairLight light{QPointF(kMidX, 162),
                    96 + v.liftedVolume(),
                    v.part,
                    tip,
                    kPalettes[v.palette].sheen,
                    shade,
                    v.seed + 77,
                    sheen};
    // Black and pale hair take a soft band broken between strand groups: black where it lies
    // straight, pale wherever the ring is laid on (an even band of crisp streaks is tinsel on it).
    const HairPalette& pal = kPalettes[v.palette];
    light.brokenSheen =
        v.form != Form::Crop && (pal.black ? v.curl.amp < 3 : pal.pale && !bigWaves && !ringlets);
    // A near-white band on light hair is a glare: it lights toward its sheen, not to it.
    if (pal.pale) light.sheen = mix(pal.light, pal.sheen, 0.45);
    shadeVolume(layer, light);
    shadeVolume(behind, light);
    castShadow(layer, 140);
    beginPainter(p, layer);
    p.setCompositionMode(QPainter::CompositionMode_DestinationOver);
    p.drawImage(0, 0, behind);
    p.end();
    keepFaceClear(layer);
    fillEnclosedGaps(layer, withAlpha(mix(pal.dark, pal.base, 0.3), 170));
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
        if (perCategory.value(QString::fromLatin1(code)) < 8)
            out.fail(QStringLiteral("分类 %1 的发型少于 8 个").arg(QString::fromLatin1(code)));
    const std::vector<HairstyleRecord> records = hairstyleRecords();
    if (records.size() != names.size()) out.fail(QStringLiteral("适合记录与发型文件数目不符"));
    for (size_t i = 0; i < std::min(names.size(), records.size()); ++i)
        if (records[i].name != names[i]) out.fail(QStringLiteral("发型 %1 没有对应的适合记录").arg(names[i]));
}

}  // namespace

const HairPalette& hairPalette(int index) { return kPalettes[index]; }

void applyCurl(Sweep& s, const Curl& c, double length) {
    if (c.amp <= 0) return;
    s.curlAmp = c.amp;
    s.curlWaves = c.waves * length / 300;  // the table counts waves per 300 px of hair
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
        s.phaseJitter = 3.14159265358979323846;
        s.clump = 0.75;
        s.curlGrow = 0.5;
        s.wander = 2.5;
        s.massInset = 0.14;
    }
}

Sweep mirroredSweep(Sweep s) {
    for (Polyline& g : s.guides) g = mirrored(g, face::kMidX);
    s.seed += 17;
    return s;
}

void writeHairstyles(Writer& out, const QString& prefix) {
    std::vector<HairVariant> variants(hairVariants().begin(), hairVariants().end());
    std::vector<QString> names(variants.size());
    for (size_t i = 0; i < variants.size(); ++i) names[i] = hairstyleFileName(static_cast<int>(i));
    checkNames(out, names);
    if (!out.failures().isEmpty()) return;
    for (size_t i = names.size(); i-- > 0;) {
        if (names[i].startsWith(prefix)) continue;
        names.erase(names.begin() + static_cast<std::ptrdiff_t>(i));
        variants.erase(variants.begin() + static_cast<std::ptrdiff_t>(i));
    }
    const int n = static_cast<int>(variants.size());
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
