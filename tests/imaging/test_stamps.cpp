#include <gtest/gtest.h>

#include <QImage>

#include "imaging/Stamps.h"

using namespace ms;

namespace {

QImage filled(int w, int h, QRgb c) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

int red(const QImage& img, int x, int y) { return qRed(img.pixel(x, y)); }

AlphaMask solidMask(int w, int h, uint8_t a) {
    return AlphaMask{w, h, std::vector<uint8_t>(size_t(w) * h, a)};
}

}  // namespace

TEST(Soften, OneWhitePixelSpreadsAsAFloorOfNinthsAndUniformAreasStay) {
    QImage src = filled(200, 200, qRgb(0, 0, 0));
    src.setPixel(100, 100, qRgb(255, 255, 255));
    QImage dst = src;
    softenSquare(dst, src, 100, 100);
    for (int y = 98; y <= 102; ++y)
        for (int x = 98; x <= 102; ++x) {
            const bool near = std::abs(x - 100) <= 1 && std::abs(y - 100) <= 1;
            EXPECT_EQ(red(dst, x, y), near ? 28 : 0) << x << "," << y;
        }
    EXPECT_EQ(qRed(src.pixel(100, 100)), 255) << "the source is not touched";

    const QImage grey = filled(50, 50, qRgb(90, 120, 150));
    QImage softened = grey;
    softenSquare(softened, grey, 25.3, 24.7);
    EXPECT_EQ(softened, grey);
}

TEST(Soften, BordersKeepColumnAndRowZeroAndBrightenAtTheFarEdges) {
    const QImage black = filled(40, 30, qRgb(0, 0, 0));
    QImage dst = black;
    softenSquare(dst, black, 2, 2);
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(red(dst, k, 0), 0);
        EXPECT_EQ(red(dst, 0, k), 0);
    }
    // Row 1 and column 1 read row 0 and column 0, never the white outside.
    EXPECT_EQ(red(dst, 3, 1), 0);
    EXPECT_EQ(red(dst, 1, 1), 0);

    QImage far = black;
    softenSquare(far, black, 39, 29);
    EXPECT_EQ(red(far, 39, 20), 0) << "outside the square";
    EXPECT_EQ(red(far, 39, 27), 85);   // the column right of the picture
    EXPECT_EQ(red(far, 39, 29), 141);  // and the row below: five of nine, floor(1275 / 9)
}

TEST(Stamps, CentredRectanglesRoundHalvesToEven) {
    EXPECT_EQ(centredRect({50, 50}, 10, 10), QRect(45, 45, 10, 10));
    EXPECT_EQ(centredRect({50.5, 51.5}, 10, 10).topLeft(), QPoint(46, 46));  // 45.5 -> 46, 46.5 -> 46
    EXPECT_EQ(centredRect({10, 10}, 7, 5).topLeft(), QPoint(6, 8));          // 6.5 -> 6, 7.5 -> 8
}

TEST(Stamps, AnAreaPartlyOutsideItsSourceStampsOnlyTheInsidePart) {
    QImage src = filled(30, 30, qRgb(200, 10, 10));
    QImage dst = filled(60, 60, qRgb(0, 0, 255));
    stampArea(dst, QPoint(20, 20), src, QPoint(-5, 20), solidMask(20, 20, 255));
    // Columns 20..24 would come from x -5..-1 and rows 30..39 from y 30..39: outside the source.
    EXPECT_EQ(dst.pixel(22, 25), qRgb(0, 0, 255));
    EXPECT_EQ(dst.pixel(30, 35), qRgb(0, 0, 255));
    EXPECT_EQ(dst.pixel(25, 20), qRgb(200, 10, 10));
    EXPECT_EQ(dst.pixel(39, 29), qRgb(200, 10, 10));
    EXPECT_EQ(dst.pixel(40, 25), qRgb(0, 0, 255));

    // Half alpha: halfway, rounded.
    QImage half = filled(10, 10, qRgb(0, 0, 0));
    stampArea(half, QPoint(0, 0), filled(10, 10, qRgb(255, 255, 255)), QPoint(0, 0), solidMask(4, 4, 128));
    EXPECT_EQ(red(half, 2, 2), 128);
    EXPECT_EQ(red(half, 5, 5), 0);

    // Onto itself: the area is read before it is written.
    QImage self = filled(20, 20, qRgb(0, 0, 0));
    for (int x = 0; x < 20; ++x) self.setPixel(x, 0, qRgb(x * 10, 0, 0));
    stampArea(self, QPoint(2, 0), self, QPoint(0, 0), solidMask(10, 1, 255));
    for (int x = 2; x < 12; ++x) EXPECT_EQ(red(self, x, 0), (x - 2) * 10);
}

TEST(Stamps, TheBrushIsDrawnOnePixelSmallerInTheColourValue) {
    QImage dst = filled(100, 100, qRgb(255, 255, 255));
    QRect to = centredRect({50, 50}, 10, 10);
    to.setSize(QSize(9, 9));
    stampColour(dst, to, solidMask(10, 10, 255), colourValue(200, 30, 60));
    EXPECT_EQ(dst.pixel(45, 45), qRgb(200, 30, 60));
    EXPECT_EQ(dst.pixel(53, 53), qRgb(200, 30, 60));
    EXPECT_EQ(dst.pixel(54, 50), qRgb(255, 255, 255));
    EXPECT_EQ(dst.pixel(50, 54), qRgb(255, 255, 255));
    EXPECT_EQ(dst.pixel(44, 50), qRgb(255, 255, 255));
}

TEST(Stamps, MasksComeFromGridAlphaUprightAndFromRedAndDoubleWithSaturation) {
    PixelGrid g(2, 2);
    g.at(0, 0) = pixelBGRA(0, 0, 0, 10);  // bottom-left of the picture
    g.at(1, 1) = pixelBGRA(0, 0, 0, 200);
    const AlphaMask m = AlphaMask::fromGridAlpha(g);
    EXPECT_EQ(m.at(0, 1), 10);
    EXPECT_EQ(m.at(1, 0), 200);

    QImage red(1, 1, QImage::Format_RGB32);
    red.setPixel(0, 0, qRgb(77, 1, 2));
    EXPECT_EQ(AlphaMask::fromRed(red).at(0, 0), 77);

    const AlphaMask d = AlphaMask{4, 1, {127, 128, 200, 0}}.doubled();
    EXPECT_EQ(d.alpha, (std::vector<uint8_t>{254, 255, 255, 0}));
}
