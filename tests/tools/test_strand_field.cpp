// Reading which way the strands of a finished hair layer run, so that light laid on afterwards
// follows them: on a sheet of strands the streaks keep to the strands whichever way they were
// started, and one hard edge across the sheet (a bun's rim, a shadow) does not turn them.
#include <gtest/gtest.h>

#include <QPainter>
#include <cmath>

#include "Draw.h"
#include "StrandField.h"

namespace {

using installdata::StrandField;

// A sheet of fine strands, alternately light and dark, at `angle` (radians from the x axis), over
// the whole picture; with `edge`, a solid dark band across the picture at right angles to them.
QImage strandSheet(double angle, bool edge) {
    QImage img = installdata::newLayer(200, 200);
    img.fill(QColor(120, 90, 60));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(100, 100);
    p.rotate(angle * 180 / M_PI);
    for (int k = -150; k <= 150; k += 3)
        p.fillRect(QRectF(-150, k, 300, 1.2), k % 2 ? QColor(150, 115, 80) : QColor(80, 55, 35));
    if (edge) p.fillRect(QRectF(-6, -150, 12, 300), QColor(20, 12, 8));
    return img;
}

// The angle between a streak's overall run and the strands, 0 .. pi/2.
double offStrands(const installdata::Polyline& pts, double angle) {
    const QPointF d = pts.back() - pts.front();
    const double a = std::atan2(d.y(), d.x()) - angle;
    return std::abs(std::remainder(a, M_PI));
}

}  // namespace

TEST(StrandField, StreaksFollowTheStrandsNotTheWayTheyWereStarted) {
    for (double angle : {0.0, M_PI / 2, 0.6, -1.1}) {
        const StrandField field(strandSheet(angle, false));
        double clarity = 0;
        field.along({100, 100}, clarity);
        EXPECT_GT(clarity, 0.8) << "angle " << angle;
        // Started across the strands, at right angles to them.
        const QPointF across(-std::sin(angle), std::cos(angle));
        const installdata::Polyline pts = field.streak({100, 100}, across, 30);
        ASSERT_EQ(pts.size(), 7u);
        EXPECT_LT(offStrands(pts, angle), 0.2) << "angle " << angle;
        EXPECT_NEAR(std::hypot(pts.back().x() - pts.front().x(), pts.back().y() - pts.front().y()), 30, 1.5);
    }
}

TEST(StrandField, AHardEdgeAcrossTheStrandsDoesNotTurnAStreakAlongIt) {
    // Horizontal strands, a dark vertical band at x 94..106: a streak beside the band still runs
    // along the strands, across the band, not down its edge.
    const StrandField field(strandSheet(0.0, true));
    const installdata::Polyline pts = field.streak({90, 100}, {0, 1}, 24);
    EXPECT_LT(offStrands(pts, 0.0), 0.3);
}

TEST(StrandField, WhereNoStrandsShowAStreakKeepsTheWayItWasStarted) {
    QImage flat = installdata::newLayer(100, 100);
    flat.fill(QColor(90, 70, 50));
    const StrandField field(flat);
    double clarity = 1;
    field.along({50, 50}, clarity);
    EXPECT_EQ(clarity, 0.0);
    const installdata::Polyline pts = field.streak({50, 50}, {3, 4}, 20, 4);
    EXPECT_NEAR(pts.front().x(), 44, 0.01);
    EXPECT_NEAR(pts.front().y(), 42, 0.01);
    EXPECT_NEAR(pts.back().x(), 56, 0.01);
    EXPECT_NEAR(pts.back().y(), 58, 0.01);
}
