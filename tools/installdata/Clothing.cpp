#include <QPainterPathStroker>
#include <cmath>

#include "ClothingStyles.h"
#include "InstallData.h"

// Clothing: 400 x 190 pictures placed at canvas (-10, 300), drawn in canvas coordinates. Every
// garment follows the portrait's shoulders and arms, covers its body below the neckline, and keeps
// the neckline open wide and low enough that every necklace stays in sight over it.
namespace installdata {

namespace garment {

Polyline fullNeckline(const Polyline& leftHalf) {
    Polyline all = leftHalf;
    const Polyline right = mirrored(leftHalf, face::kMidX);
    for (int i = static_cast<int>(right.size()) - 2; i >= 0; --i) all.push_back(right[i]);
    return all;
}

QPainterPath bandAlong(const QPainterPath& garment, const Polyline& line, double width) {
    QPainterPathStroker stroker;
    stroker.setWidth(2 * width);
    stroker.setCapStyle(Qt::FlatCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(pathThrough(line, false)).intersected(garment);
}

std::vector<Fold> commonFolds(double strength, uint64_t seed) {
    Rng rng(seed);
    auto jitter = [&](Polyline line, double amount) {
        for (QPointF& q : line) q += QPointF(rng.symmetric(amount), rng.symmetric(amount));
        return sampleSpline(line, 16);
    };
    std::vector<Fold> all;
    for (int side = 0; side < 2; ++side) {
        std::vector<Fold> folds{
            {jitter({{60, 418}, {76, 442}, {98, 478}}, 5), rng.range(3.5, 5.5),
             -rng.range(1.8, 3.0) * strength},
            {jitter({{66, 416}, {90, 440}, {114, 486}}, 6), rng.range(5, 7), rng.range(1.4, 2.4) * strength},
            {jitter({{29, 414}, {25, 452}, {21, 492}}, 3), rng.range(5, 7), rng.range(1.8, 2.8) * strength},
            {jitter({{45, 424}, {44, 460}, {44, 494}}, 3), rng.range(3, 4.5),
             -rng.range(1.2, 2.2) * strength},
            {jitter({{112, 476}, {146, 470}, {178, 484}}, 4), rng.range(6, 9),
             -rng.range(0.5, 0.9) * strength},
        };
        for (Fold& f : folds) {
            if (side == 1) f.line = mirrored(f.line, face::kMidX);
            all.push_back(f);
        }
    }
    return all;
}

void drawEdge(QPainter& p, const QPainterPath& piece, const QColor& fabric) {
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(withAlpha(fabric.darker(230), 120), 0.8));
    p.drawPath(piece);
    p.translate(0.7, 0.8);
    p.setClipPath(piece, Qt::IntersectClip);
    p.setPen(QPen(withAlpha(fabric.lighter(140), 70), 0.7));
    p.drawPath(piece);
    p.restore();
}

void drawArmholeSeams(QPainter& p, const QColor& fabric, bool stitched, const QColor& thread) {
    const Polyline seam{{37, 391}, {47, 402}, {54, 414}, {58, 428}, {60, 440}};
    drawSeam(p, seam, fabric, stitched, thread);
    drawSeam(p, mirrored(seam, face::kMidX), fabric, stitched, thread);
}

void drawRibsAcross(QPainter& p, const Polyline& line, double width, const QColor& fabric) {
    p.save();
    for (size_t i = 1; i + 1 < line.size(); ++i) {
        const QPointF d = line[i + 1] - line[i - 1];
        const double len = std::hypot(d.x(), d.y());
        if (len < 1e-6) continue;
        const QPointF n(d.y() / len, -d.x() / len);
        p.setPen(QPen(withAlpha(fabric.darker(150), 90), 0.8));
        p.drawLine(line[i] - n * (0.5 * width), line[i] + n * (0.5 * width));
    }
    p.restore();
}

QImage finishGarment(const std::vector<Panel>& panels, uint32_t seed,
                     const std::function<void(QPainter&)>& details) {
    QImage img = renderPanels(panels, seed);
    QPainter p;
    beginCanvasPainter(p, img);
    QPainterPath garment;
    for (const Panel& panel : panels) garment = garment.united(panel.region);
    p.setClipPath(garment);
    details(p);
    p.end();
    shadeNeckline(img, garment);
    return img;
}

namespace {

// A neckline from a few points, smoothed.
Polyline neckline(const Polyline& points) { return sampleSpline(points, 48); }

}  // namespace

QImage bretonTee() {
    const Polyline neck = neckline({{123, 345}, {127, 362}, {138, 381}, {157, 396}, {175, 402}, {190, 403}});
    const QPainterPath tee = bodyShape(2.5).subtracted(neckOpening(neck));
    const Fabric jersey{QColor(236, 232, 222), Weave::Jersey, 0.05, QColor(36, 46, 84), 9.0, 4.4};
    Fabric binding = jersey;
    binding.stripePeriod = 0;
    binding.colour = jersey.stripe;
    const Polyline edge = fullNeckline(neck);
    const QPainterPath band = bandAlong(tee, edge, 4.0);
    return finishGarment({{tee, jersey, commonFolds(1.0, 101)}, {band, binding, {}, 0.6}}, 11,
                         [&](QPainter& p) {
                             Polyline stitch;
                             for (size_t i = 0; i < edge.size(); ++i)
                                 stitch.push_back(edge[i] + QPointF(0, 4.6));
                             drawSeam(p, stitch, binding.colour);
                             drawArmholeSeams(p, jersey.colour);
                         });
}

QImage vNeckKnit() {
    const Polyline neck = neckline({{139, 340}, {150, 358}, {163, 379}, {177, 399}, {190, 418}});
    const QPainterPath knit = bodyShape(3.0).subtracted(neckOpening(neck));
    const Fabric rib{QColor(124, 38, 54), Weave::Rib, 0.0};
    Fabric bandRib = rib;
    bandRib.colour = rib.colour.darker(106);
    const Polyline edge = fullNeckline(neck);
    const QPainterPath band = bandAlong(knit, edge, 6.0);
    std::vector<Fold> folds = commonFolds(1.2, 102);
    folds.push_back({{{176, 424}, {190, 432}, {204, 424}}, 3.0, -2.0});  // the V pulls at its point
    return finishGarment({{knit, rib, folds}, {band, bandRib, {}, 0.8}}, 12, [&](QPainter& p) {
        Polyline inner;
        for (const QPointF& q : edge) inner.push_back(q + QPointF(0, 3.0));
        drawRibsAcross(p, sampleSpline(edge, 140), 11.0, bandRib.colour);
        drawSeam(p, {{190, 418}, {190, 428}}, bandRib.colour);  // where the band crosses over
        drawArmholeSeams(p, rib.colour);
    });
}

QImage offShoulderTop() {
    const Polyline top =
        sampleSpline({{-4, 416}, {26, 409}, {62, 401}, {104, 397}, {148, 399}, {190, 402}}, 60);
    const QPainterPath blouse = bodyShape(2.5).intersected(belowCurve(top));
    Polyline hemLine;  // the flounce's hem waves a little where its folds fall
    for (const QPointF& q : top) hemLine.push_back(q + QPointF(0, 17 + 1.3 * std::sin(q.x() * 0.55)));
    const QPainterPath flounce = blouse.subtracted(belowCurve(hemLine));
    const Fabric crepe{QColor(206, 148, 150), Weave::Crepe, 0.15};
    std::vector<Fold> gathers = commonFolds(0.8, 103), ruffle;
    Rng rng(31);
    // gathers under the elastic and the flounce's folds, unevenly spaced as elastic gathers cloth
    for (size_t i = 0; i < top.size(); i += rng.uniform() < 0.4 ? 3 : 2) {
        const QPointF q = top[i] + QPointF(rng.symmetric(2.2), 0),
                      m(2 * face::kMidX - q.x() + rng.symmetric(2.0), q.y());
        for (const QPointF& at : {q, m}) {
            const double fall = rng.range(8, 20);
            gathers.push_back({{at + QPointF(0, 20), at + QPointF(rng.symmetric(2), 20 + fall)},
                               rng.range(1.6, 2.8),
                               -rng.range(0.8, 2.0)});
            ruffle.push_back({{at + QPointF(0, -3), at + QPointF(rng.symmetric(2.5), 19)},
                              rng.range(2.0, 3.6),
                              rng.symmetric(3.6)});
        }
    }
    return finishGarment({{blouse, crepe, gathers}, {flounce, crepe, ruffle, 2.5}}, 13, [&](QPainter& p) {
        Polyline hem;
        for (const QPointF& q : hemLine) hem.push_back(q + QPointF(0, -0.6));
        drawSeam(p, hem, crepe.colour);
        Polyline elastic;
        for (const QPointF& q : top) elastic.push_back(q + QPointF(0, 3));
        drawSeam(p, elastic, crepe.colour);
    });
}

QImage wrapTop() {
    const Polyline edge = sampleSpline(
        {{139, 340}, {152, 364}, {171, 392}, {190, 413}, {214, 442}, {244, 474}, {262, 496}}, 60);
    Polyline outline{{-20, 300}, {139, 300}};
    outline.insert(outline.end(), edge.begin(), edge.end());
    outline.push_back({262, 520});
    outline.push_back({-20, 520});
    const QPainterPath body = bodyShape(2.5);
    const QPainterPath over = body.intersected(pathThrough(outline, true));
    const QPainterPath under = body.intersected(mirroredPath(pathThrough(outline, true)));
    const Fabric satin{QColor(30, 108, 86), Weave::Crepe, 0.45};
    std::vector<Fold> overFolds = commonFolds(1.0, 104), underFolds = commonFolds(1.0, 105);
    for (int k = 0; k < 4; ++k) {  // drape gathered towards the tie at the waist
        const double t = k / 3.0;
        overFolds.push_back(
            {{{268.0 - 6 * k, 494}, {226 - 24 * t, 462 - 10 * t}, {184 - 40 * t, 440 - 14 * t}},
             3.5 + k,
             k % 2 ? -3.0 : 2.6});
        underFolds.push_back(
            {{{112.0 + 6 * k, 494}, {150 + 20 * t, 466 - 8 * t}, {182 + 30 * t, 448 - 10 * t}},
             3.5 + k,
             k % 2 ? -2.6 : 2.2});
    }
    const QPainterPath binding = bandAlong(over, edge, 5.0);
    const QPainterPath underBinding = bandAlong(under, mirrored(edge, face::kMidX), 5.0);
    return finishGarment({{under, satin, underFolds},
                          {underBinding, satin, {}, 0.6},
                          {over, satin, overFolds, 3.0},
                          {binding, satin, {}, 0.6}},
                         14, [&](QPainter& p) {
                             Polyline stitch;
                             for (const QPointF& q : edge) stitch.push_back(q + QPointF(-3.2, 2.6));
                             drawSeam(p, stitch, satin.colour);
                             drawArmholeSeams(p, satin.colour);
                         });
}

QImage laceTop() {
    Polyline neck;  // a scalloped edge: small arcs along a wide round neckline
    const Polyline base = sampleSpline({{118, 346}, {122, 366}, {137, 386}, {161, 398}, {190, 402}}, 400);
    double run = 0;
    for (size_t i = 0; i < base.size(); ++i) {
        if (i > 0) run += std::hypot(base[i].x() - base[i - 1].x(), base[i].y() - base[i - 1].y());
        const QPointF d = base[std::min(i + 1, base.size() - 1)] - base[i > 0 ? i - 1 : 0];
        const double len = std::max(1e-6, std::hypot(d.x(), d.y()));
        const double phase = std::fmod(run, 9.0) / 9.0;
        const double scallop = 3.0 * std::sqrt(std::max(0.0, 1 - (2 * phase - 1) * (2 * phase - 1)));
        neck.push_back(base[i] + QPointF(-d.y() / len, d.x() / len) * -scallop);
    }
    const QPainterPath top = bodyShape(2.5).subtracted(neckOpening(neck));
    Fabric lace{QColor(30, 27, 32), Weave::Lace, 0.1};
    lace.ground = QColor(214, 178, 158);
    return finishGarment({{top, lace, commonFolds(0.9, 106)}}, 15, [&](QPainter& p) {
        p.setPen(QPen(withAlpha(lace.colour, 230), 1.2));  // the corded edge
        p.setBrush(Qt::NoBrush);
        const Polyline edge = fullNeckline(neck);
        p.drawPolyline(edge.data(), static_cast<int>(edge.size()));
        drawArmholeSeams(p, lace.colour);
    });
}

}  // namespace garment

void writeClothing(Writer& out) {
    using namespace garment;
    const std::vector<std::function<QImage()>> garments{bretonTee,
                                                        vNeckKnit,
                                                        offShoulderTop,
                                                        wrapTop,
                                                        laceTop,
                                                        blazerOverCamisole,
                                                        openCollarShirt,
                                                        cardiganOverCamisole,
                                                        denimJacketOverTee,
                                                        collaredBlouse};
    std::vector<QImage> pictures(garments.size());
    parallelFor(static_cast<int>(garments.size()), [&](int i) { pictures[i] = garments[i](); });
    int index = 0;
    for (const QImage& picture : pictures)
        out.component(picture, QStringLiteral("fuzhuang/") + componentName({}, ++index));
}

}  // namespace installdata
