// Filling the pockets that hair walls in: a pocket inside solid hair takes the shade of the hair
// behind it, while one that only a faint stray wisp closes off stays clear, so no dark smudge
// appears beside the hair where the background should show past the wisp.
#include <gtest/gtest.h>

#include <QPainter>
#include <QPainterPath>

#include "Draw.h"
#include "EnclosedGaps.h"
#include "Geometry.h"

namespace {

using installdata::fillEnclosedGaps;

const QColor kHair(60, 40, 30), kBehind(40, 25, 20, 170);

// A solid lock (a disc) with a loop of hair leaving its right edge and coming back to it, walling
// in a pocket about 12 px across whose centre is returned.
QPointF lockWithLoop(QImage& layer, int loopAlpha, double loopWidth) {
    QPainter p(&layer);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(kHair);
    p.drawEllipse(QPointF(300, 80), 25, 25);
    QPainterPath loop(QPointF(322, 68));
    loop.cubicTo(QPointF(348, 56), QPointF(348, 104), QPointF(322, 92));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(kHair.red(), kHair.green(), kHair.blue(), loopAlpha), loopWidth));
    p.drawPath(loop);
    return {333, 80};
}

int alphaAt(const QImage& img, QPointF q) { return qAlpha(img.pixel(q.toPoint())); }

}  // namespace

TEST(EnclosedGaps, FillsPocketsInSolidHairButNotBesideAFaintWisp) {
    const QImage blank = installdata::newLayer(installdata::face::kCanvasW, installdata::face::kCanvasH);

    // A ring of solid hair: its inside is a see-through hole until it is filled.
    QImage ring = blank.copy();
    {
        QPainter p(&ring);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(kHair, 6));
        p.drawEllipse(QPointF(60, 80), 15, 15);
    }
    fillEnclosedGaps(ring, kBehind);
    EXPECT_GE(alphaAt(ring, {60, 80}), 120) << "a pocket walled in by solid hair stays see-through";
    EXPECT_EQ(alphaAt(ring, {60, 40}), 0) << "the background outside the ring was filled";

    // The same pocket closed off by a fine, faint stray hair: the background shows past the wisp.
    QImage wisp = blank.copy();
    const QPointF pocket = lockWithLoop(wisp, 60, 1.2);
    ASSERT_EQ(alphaAt(wisp, pocket), 0);
    fillEnclosedGaps(wisp, kBehind);
    EXPECT_LT(alphaAt(wisp, pocket), 8) << "a dark fill sits beside the hair, walled in only by a wisp";

    // A loop of solid hair around the same pocket does wall it in.
    QImage solid = blank.copy();
    lockWithLoop(solid, 255, 3.0);
    fillEnclosedGaps(solid, kBehind);
    EXPECT_GE(alphaAt(solid, pocket), 100) << "a pocket inside a solid loop stays see-through";
}
