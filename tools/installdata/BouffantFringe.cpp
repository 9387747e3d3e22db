#include <QLinearGradient>
#include <QPainterPathStroker>
#include <cmath>

#include "Geometry.h"
#include "HairFinish.h"
#include "UpdoArt.h"

// The full fringe of a bouffant, cut in pieces that follow the forehead.
namespace installdata {

using namespace face;

namespace {

// The lower edge of a bouffant's full fringe at x, `fy` over the middle: it follows the forehead
// round, dropping toward the temples.
double fringeEdge(double fy, double x) {
    const double d = (x - kMidX) / 50;
    return fy + 10 * d * d;
}

// One piece of a bouffant's fringe, x0..x1 wide where it leaves the fringe, narrowing to its point
// `drop` px below the edge: fine strands gathering toward the point over a fill that fades in from
// the fringe above, shaded down its left side so neighbouring pieces part.
void drawFringePiece(QPainter& p, double fy, double x0, double x1, double drop, const HairPalette& c,
                     Rng& rng) {
    const double tipX = x0 + (x1 - x0) * rng.range(0.3, 0.7);
    const double lean = (tipX - kMidX) / 300;  // the fringe fans out a little toward the temples
    const double top = fringeEdge(fy, tipX) - rng.range(20, 26), len = fringeEdge(fy, tipX) + drop - top;
    // The point stays over its own piece, clear of the partings either side.
    const QPointF tip(std::clamp(tipX + lean * len, x0 + 0.3 * (x1 - x0), x1 - 0.3 * (x1 - x0)), top + len);
    const double in = 0.2 * (x1 - x0);  // the fill lies a little inside the strands
    QPainterPath piece(QPointF(x0 + in, top));
    piece.quadTo(QPointF(x0 + in + 0.3 * (tip.x() - x0 - in), top + 0.6 * len), tip);
    piece.quadTo(QPointF(x1 - in + 0.3 * (tip.x() - x1 + in), top + 0.6 * len), QPointF(x1 - in, top));
    piece.closeSubpath();
    QLinearGradient fade(0, top, 0, top + 0.5 * len);
    const QColor fill = mix(c.dark, c.base, rng.range(0.5, 0.9));
    fade.setColorAt(0, withAlpha(fill, 0));
    fade.setColorAt(1, fill);
    p.setPen(Qt::NoPen);
    p.setBrush(fade);
    p.drawPath(piece);
    const int strands = 5 + static_cast<int>(x1 - x0);
    const double spread = 0.5 + 0.1 * (x1 - x0);
    for (int k = 0; k < strands; ++k) {
        const double x = x0 - 1 + (x1 - x0 + 2) * (k + rng.uniform()) / strands, y = top + rng.range(0, 10);
        // Most run to the point; some end short of it, so the point is ragged.
        const QPointF end = tip + QPointF(rng.symmetric(spread), -std::pow(rng.uniform(), 2) * 0.5 * len);
        const Polyline h{{x, y}, {x + (end.x() - x) * 0.4, y + 0.5 * (end.y() - y)}, end};
        fillRibbon(p, sampleSpline(h, 10), rng.range(0.6, 1.0), 0.2,
                   withAlpha(strandColour(rng, c), static_cast<int>(rng.range(140, 230))), 0.0, 0.3);
    }
    const QColor deep = mix(c.dark, QColor(0, 0, 0), 0.4);
    fillRibbon(p,
               sampleSpline({{x0 + 0.5, top + 8}, {x0 + 1 + 0.3 * (tip.x() - x0), top + 0.6 * len}, tip}, 10),
               1.4, 0.3, withAlpha(deep, 90), 0.3, 0.3);
}

}  // namespace

// The pieces parted up into the fringe, the hair by their points a little lighter than above.
void softenFringe(QPainter& p, const HairVariant& v, const HairPalette& c) {
    const double fy = v.fringeY > 0 ? v.fringeY : 162;
    Rng rng(v.seed + 95);
    QPainterPath clear;
    clear.addRect(0, 0, kCanvasW, kCanvasH);
    const QPainterPath own = ownHairRegion();
    QPainterPathStroker grow;
    grow.setWidth(10);
    clear = clear.subtracted(own.united(grow.createStroke(own)));  // the portrait's own hair stays covered
    p.save();
    p.setClipPath(clear);
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    paintSoft(p, QSize(kCanvasW, kCanvasH), 4, 1.0, [&](QPainter& q) {
        Polyline band;
        for (double x = 119; x <= 261; x += 4) band.push_back({x, fringeEdge(fy, x) - 8});
        fillRibbon(q, band, 12, 12, withAlpha(mix(c.base, c.light, 0.7), 80), 0.1, 0.1);
    });
    // The sides of the pieces, left to right from x 126 to about 254, 5 to 15 px apart.
    std::vector<double> sides{126 + rng.range(0, 3)};
    while (sides.back() < 244) sides.push_back(sides.back() + 5 + 10 * std::pow(rng.uniform(), 1.5));
    // The pieces alone make the edge: the fringe beneath ends above their points.
    p.setCompositionMode(QPainter::CompositionMode_DestinationOut);
    QPainterPath below(QPointF(sides.front(), fringeEdge(fy, sides.front()) - 2));
    for (double x = sides.front() + 2; x <= sides.back(); x += 2) below.lineTo(x, fringeEdge(fy, x) - 2);
    below.lineTo(sides.back(), 200);
    below.lineTo(sides.front(), 200);
    p.fillPath(below, QColor(0, 0, 0));
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    for (size_t k = 0; k + 1 < sides.size(); ++k) {
        // Longer pieces toward the temples, where the fringe meets the hair swept back.
        const double far = std::abs(0.5 * (sides[k] + sides[k + 1]) - kMidX) / 64;
        drawFringePiece(p, fy, sides[k], sides[k + 1], 13 * std::pow(rng.uniform(), 1.3) + 4 * far * far, c,
                        rng);
    }
    // The pieces part up into the fringe, the forehead showing between them.
    p.setCompositionMode(QPainter::CompositionMode_DestinationOut);
    for (size_t k = 1; k + 1 < sides.size(); ++k) {
        const double x = sides[k], e = fringeEdge(fy, x), depth = rng.range(5.0, 16.0);
        if (rng.uniform() < 0.25) continue;  // two pieces that part only at their points
        const Polyline notch{
            {x, e - 1}, {x + rng.symmetric(1), e - 0.5 * depth}, {x + rng.symmetric(1.5), e - depth}};
        fillRibbon(p, sampleSpline(notch, 8), rng.range(3.0, 5.0), 0.3, QColor(0, 0, 0), 0.0, 0.3);
    }
    p.restore();
}

}  // namespace installdata
