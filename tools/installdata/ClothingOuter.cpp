#include <cmath>

#include "ClothingStyles.h"

// Garments with collars, lapels and fronts: each a few panels laid one over another (the top under
// a jacket, the collar over the shirt), every upper panel shading the one under it.
namespace installdata::garment {

namespace {

Polyline smooth(const Polyline& points) { return sampleSpline(points, 48); }

QPainterPath closedShape(const Polyline& points) { return pathThrough(sampleSpline(points, 80), true); }

QPainterPath rectPath(const QRectF& r) {
    QPainterPath path;
    path.addRect(r);
    return path;
}

// A shape on the left and its mirror image on the right.
QPainterPath bothSides(const QPainterPath& left) { return left.united(mirroredPath(left)); }

// The inside of a collar that stands round the back of the neck, seen beside the neck.
QPainterPath collarStand() {
    return bothSides(closedShape({{144, 339}, {148, 331}, {154, 325}, {160, 322}, {160.5, 332}, {153, 337}}));
}

}  // namespace

QImage blazerOverCamisole() {
    const Polyline camiTop = smooth({{40, 400}, {100, 398}, {150, 400}, {190, 407}});
    const QPainterPath cami = bodyShape(1.5).intersected(belowCurve(camiTop));
    const Fabric silk{QColor(234, 226, 210), Weave::Silk, 0.6};
    const Polyline open = smooth({{147, 333}, {150, 352}, {156, 380}, {165, 410}, {177, 444}, {190, 474}});
    const QPainterPath jacket = bodyShape(3.5).subtracted(neckOpening(open));
    const Fabric wool{QColor(40, 46, 68), Weave::Suiting, 0.08};
    const Polyline lapelEdge{{147, 333}, {151, 356}, {157, 382}, {166, 412}, {176, 442},
                             {182, 462}, {160, 434}, {138, 405}, {121, 381}, {118, 375},
                             {126, 372}, {123, 366}, {130, 352}, {139, 340}};
    const QPainterPath lapel = bothSides(closedShape(lapelEdge));
    std::vector<Fold> jacketFolds = commonFolds(0.8, 201), lapelFolds;
    lapelFolds.push_back({open, 3.0, 2.2});  // the lapel rolls over along its inner edge
    lapelFolds.push_back({mirrored(open, face::kMidX), 3.0, 2.2});
    const std::vector<Panel> panels{{cami, silk, {{{{150, 400}, {170, 440}, {180, 490}}, 5, 2.0}}},
                                    {jacket, wool, jacketFolds, 3.5, 3.5},
                                    {collarStand(), Fabric{wool.colour.darker(135), Weave::Suiting}, {}, 0.0},
                                    {lapel, wool, lapelFolds, 2.2, 3.5}};
    return finishGarment(panels, 21, [&](QPainter& p) {
        p.save();
        p.setClipPath(cami.subtracted(jacket).subtracted(lapel), Qt::IntersectClip);
        const Polyline trim = sampleSpline(camiTop, 120);  // a fine lace edge on the camisole
        for (size_t i = 0; i + 1 < trim.size(); i += 2) {
            p.setPen(QPen(withAlpha(silk.colour.darker(125), 150), 0.7));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(trim[i] + QPointF(0, 1.2), 1.4, 1.2);
        }
        p.restore();
        drawEdge(p, lapel, wool.colour);
        drawSeam(p, smooth({{123, 366}, {128, 370}, {126, 372}}), wool.colour);  // the notch
        drawSeam(p, mirrored(smooth({{123, 366}, {128, 370}, {126, 372}}), face::kMidX), wool.colour);
        const QPolygonF welt{{222, 428.5}, {254, 425}, {254.3, 428.6}, {222.3, 432.1}};  // breast pocket
        p.setPen(QPen(withAlpha(wool.colour.darker(200), 200), 0.8));
        p.setBrush(wool.colour.lighter(112));
        p.drawPolygon(welt);
        p.setPen(QPen(withAlpha(wool.colour.lighter(150), 110), 0.6));
        p.drawLine(QPointF(222.6, 429.2), QPointF(253.6, 425.7));
        drawArmholeSeams(p, wool.colour);
        drawButton(p, {184, 476}, 3.4, QColor(30, 32, 40));
    });
}

QImage openCollarShirt() {
    const Polyline open = smooth({{147, 333}, {150, 352}, {156, 374}, {171, 398}, {190, 420}});
    const QPainterPath shirt = bodyShape(2.5).subtracted(neckOpening(open));
    Fabric oxford{QColor(182, 204, 230), Weave::Oxford, 0.05};
    oxford.pinstripe = QColor(244, 246, 250);
    oxford.pinPeriod = 5.0;
    const QPainterPath placket = shirt.intersected(rectPath({184.5, 410, 11, 90}));
    const Polyline collarEdge{{157, 322}, {149, 327}, {142, 335}, {135, 347}, {139, 360}, {150, 376},
                              {161, 393}, {160, 376}, {154, 356}, {152, 337}, {157, 325}};
    const QPainterPath collar = bothSides(closedShape(collarEdge));
    std::vector<Fold> folds = commonFolds(1.1, 202);
    folds.push_back({{{156, 420}, {162, 460}, {166, 496}}, 4.0, -1.2});
    Fabric inside = oxford;
    inside.colour = oxford.colour.darker(125);
    const std::vector<Panel> panels{{shirt, oxford, folds},
                                    {placket, oxford, {}, 0.8},
                                    {collarStand(), inside, {}, 0.0},
                                    {collar, oxford, {}, 2.2}};
    return finishGarment(panels, 22, [&](QPainter& p) {
        drawEdge(p, collar, oxford.colour);
        drawSeam(p, {{185, 412}, {185, 496}}, oxford.colour, true, oxford.colour.darker(130));
        drawSeam(p, {{195, 414}, {195, 496}}, oxford.colour, true, oxford.colour.darker(130));
        drawButton(p, {190, 432}, 2.3, QColor(240, 240, 236));
        drawButton(p, {190, 466}, 2.3, QColor(240, 240, 236));
        drawArmholeSeams(p, oxford.colour, true, oxford.colour.darker(130));
    });
}

QImage cardiganOverCamisole() {
    const Polyline camiTop = smooth({{80, 399}, {140, 398}, {190, 407}});
    const QPainterPath cami = bodyShape(1.5).intersected(belowCurve(camiTop));
    const Fabric silk{QColor(30, 28, 34), Weave::Silk, 0.55};
    const Polyline open = smooth({{136, 342}, {147, 362}, {160, 388}, {174, 414}, {190, 444}});
    const QPainterPath knit = bodyShape(3.0).subtracted(neckOpening(open));
    const Fabric rib{QColor(206, 188, 160), Weave::Rib};
    Polyline frontEdge = fullNeckline(open);
    QPainterPath band = bandAlong(knit, frontEdge, 7.0);
    band = band.united(rectPath({185, 440, 10, 60}).intersected(knit));
    Fabric bandRib = rib;
    bandRib.colour = rib.colour.darker(104);
    const std::vector<Panel> panels{
        {cami, silk, {}}, {knit, rib, commonFolds(1.2, 203), 3.0, 3.0}, {band, bandRib, {}, 0.8, 3.0}};
    return finishGarment(panels, 23, [&](QPainter& p) {
        drawRibsAcross(p, sampleSpline(frontEdge, 150), 13.0, bandRib.colour);
        for (double y = 446; y < 492; y += 1.6) {
            p.setPen(QPen(withAlpha(bandRib.colour.darker(150), 80), 0.7));
            p.drawLine(QPointF(185, y), QPointF(195, y));
        }
        drawButton(p, {190, 452}, 2.8, QColor(120, 92, 66));
        drawButton(p, {190, 478}, 2.8, QColor(120, 92, 66));
        drawArmholeSeams(p, rib.colour);
    });
}

QImage denimJacketOverTee() {
    const Polyline teeNeck = smooth({{134, 342}, {140, 368}, {157, 393}, {175, 403}, {190, 405}});
    const QPainterPath tee = bodyShape(1.5).subtracted(neckOpening(teeNeck));
    const Fabric jersey{QColor(238, 236, 232), Weave::Jersey};
    const Polyline front = smooth({{150, 331}, {152, 356}, {154, 392}, {156, 430}, {157, 470}, {158, 500}});
    const QPainterPath jacket = bodyShape(4.0).subtracted(neckOpening(front));
    const Fabric denim{QColor(70, 100, 144), Weave::Denim};
    const Polyline collarEdge{{153, 322}, {143, 326}, {130, 336}, {117, 350}, {122, 362},
                              {140, 379}, {147, 366}, {151, 350}, {153, 334}, {157, 324}};
    const QPainterPath collar = bothSides(closedShape(collarEdge));
    const QPainterPath flap =
        bothSides(closedShape({{90, 420}, {132, 417}, {131, 431}, {112, 439}, {92, 433}}));
    Fabric inside = denim;
    inside.colour = denim.colour.darker(130);
    std::vector<Fold> folds = commonFolds(1.3, 204);
    const QColor thread(206, 152, 72);
    const std::vector<Panel> panels{{tee, jersey, {}},
                                    {jacket, denim, folds, 3.5, 4.0},
                                    {collarStand(), inside, {}, 0.0},
                                    {collar, denim, {}, 2.4, 4.0},
                                    {flap, denim, {}, 1.6, 4.0}};
    return finishGarment(panels, 24, [&](QPainter& p) {
        drawEdge(p, collar, denim.colour);
        drawEdge(p, flap, denim.colour);
        const Polyline yoke{{58, 410}, {100, 404}, {130, 402}, {155, 404}};
        for (const Polyline& seam :
             {yoke, Polyline{{111, 440}, {113, 470}, {114, 496}}, Polyline{{90, 421}, {132, 418}}}) {
            drawSeam(p, seam, denim.colour, true, thread);
            drawSeam(p, mirrored(seam, face::kMidX), denim.colour, true, thread);
        }
        Polyline edge;
        for (const QPointF& q : front) edge.push_back(q + QPointF(-4, 0));
        drawSeam(p, edge, denim.colour, true, thread);
        drawSeam(p, mirrored(edge, face::kMidX), denim.colour, true, thread);
        for (double y : {416.0, 458.0}) {
            drawButton(p, {151, y}, 2.6, QColor(176, 112, 64), true);
            drawButton(p, {229, y}, 2.6, QColor(176, 112, 64), true);
        }
        drawButton(p, {112, 433}, 2.2, QColor(176, 112, 64), true);
        drawButton(p, {268, 433}, 2.2, QColor(176, 112, 64), true);
        drawArmholeSeams(p, denim.colour, true, thread);
    });
}

QImage collaredBlouse() {
    const Polyline open = smooth({{146, 334}, {152, 356}, {163, 380}, {177, 399}, {190, 410}});
    const QPainterPath blouse = bodyShape(2.5).subtracted(neckOpening(open));
    const Fabric silk{QColor(236, 216, 206), Weave::Silk, 0.45};
    const Polyline collarEdge{{157, 321}, {148, 325}, {136, 336}, {125, 350}, {122, 364}, {128, 377},
                              {142, 391}, {160, 401}, {176, 408}, {184, 410}, {180, 402}, {169, 389},
                              {161, 372}, {155, 354}, {154, 336}, {158, 325}};
    const QPainterPath collar = bothSides(closedShape(collarEdge));
    std::vector<Fold> folds = commonFolds(1.0, 205);
    for (int k = 0; k < 3; ++k) {  // soft gathers falling from the yoke
        folds.push_back({{{96.0 + 14 * k, 392}, {104.0 + 16 * k, 440}, {110.0 + 18 * k, 496}}, 5.0, 1.5});
        folds.push_back({{{284.0 - 14 * k, 392}, {276.0 - 16 * k, 440}, {270.0 - 18 * k, 496}}, 5.0, 1.5});
    }
    const std::vector<Panel> panels{{blouse, silk, folds},
                                    {blouse.intersected(rectPath({186, 409, 8, 91})), silk, {}, 0.6},
                                    {collar, silk, {}, 2.2}};
    return finishGarment(panels, 25, [&](QPainter& p) {
        drawEdge(p, collar, silk.colour);
        for (double y : {418.0, 446.0, 474.0}) drawButton(p, {190, y}, 1.9, QColor(246, 242, 236));
        drawArmholeSeams(p, silk.colour);
    });
}

}  // namespace installdata::garment
