#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QString>
#include <cmath>
#include <map>
#include <vector>

#include "compositor/ToolFiles.h"
#include "imaging/PixelGrid.h"
#include "platform/ComponentFile.h"
#include "platform/PictureFile.h"

// The installed files of the canvas tools, read through the studio's own readers.
using namespace ms;
namespace tf = ms::toolfiles;

namespace {

QString studioFile(const QString& relPath) { return QStringLiteral(MS_STUDIO_DIR "/") + relPath; }

ComponentImage readComponent(const QString& relPath) {
    ComponentImage img;
    const Status st = readComponentFile(studioFile(relPath), GridSizing::fromHeader(), img);
    EXPECT_TRUE(st) << relPath.toStdString() << ": " << st.message.toStdString();
    return img;
}

QImage readPicture(const char* relPath) {
    QImage img;
    const Status st = loadPicture(studioFile(QString::fromLatin1(relPath)), PicturePurpose::Artwork, img);
    EXPECT_TRUE(st) << relPath << ": " << st.message.toStdString();
    return img;
}

}  // namespace

TEST(ToolFiles, BrushPatternsAreSoftRoundBrushes) {
    for (int n = 1; n <= tf::kBrushSizes; ++n) {
        SCOPED_TRACE(n);
        const PixelGrid g = readComponent(tf::brushPattern(n)).grid;
        const int s = tf::brushPatternSide(n);
        ASSERT_EQ(g.width, s);
        ASSERT_EQ(g.height, s);
        const int c = s / 2;
        // Translucent at the centre, so makeup builds up with repeated dabs; doubled (the dragged
        // eraser) it is full.
        EXPECT_GE(alphaOf(g.at(c, c)), 128);
        EXPECT_LT(alphaOf(g.at(c, c)), 200);
        for (auto [x, y] : {std::pair{0, 0}, {s - 1, 0}, {0, s - 1}, {s - 1, s - 1}})
            EXPECT_EQ(alphaOf(g.at(x, y)), 0);
        // Outwards from the centre along its row, both ways, the brush only fades.
        for (int x = c + 1; x < s; ++x) EXPECT_LE(alphaOf(g.at(x, c)), alphaOf(g.at(x - 1, c))) << "x " << x;
        for (int x = c - 1; x >= 0; --x) EXPECT_LE(alphaOf(g.at(x, c)), alphaOf(g.at(x + 1, c))) << "x " << x;
        EXPECT_LT(alphaOf(g.at(0, c)), 64);  // soft, not a hard disc
    }
}

TEST(ToolFiles, ScissorShapesAndSoftDiscMask) {
    for (int i = 0; i < tf::kScissorShapes; ++i) {
        SCOPED_TRACE(i);
        const PixelGrid g = readComponent(tf::scissorShape(i)).grid;
        ASSERT_EQ(g.width, tf::kScissorSide);
        ASSERT_EQ(g.height, tf::kScissorSide);
        int cutting = 0;
        for (uint32_t px : g.pixels) cutting += alphaOf(px) > 128;
        EXPECT_GT(cutting, 100);
        EXPECT_LT(cutting, tf::kScissorSide * tf::kScissorSide);
        EXPECT_FALSE(readPicture(tf::scissorButton(i).toLatin1().constData()).isNull());
    }

    // The mask's red by distance from its centre (24.5, 24.5), averaged over rings of one pixel.
    const QImage mask = readPicture(tf::kSoftDiscMask);
    ASSERT_EQ(mask.size(), QSize(tf::kSoftDiscSide, tf::kSoftDiscSide));
    std::map<int, std::pair<double, int>> rings;
    for (int y = 0; y < mask.height(); ++y)
        for (int x = 0; x < mask.width(); ++x) {
            auto& [sum, count] = rings[static_cast<int>(std::lround(std::hypot(x - 24.5, y - 24.5)))];
            sum += qRed(mask.pixel(x, y));
            ++count;
        }
    const std::map<int, double> expected{{6, 254},  {8, 247}, {10, 230}, {12, 200}, {14, 162},
                                         {16, 120}, {18, 80}, {20, 49},  {22, 27},  {24, 12},
                                         {26, 5},   {28, 1},  {29, 0},   {32, 0},   {34, 0}};
    for (const auto& [d, red] : expected) {
        const auto& [sum, count] = rings.at(d);
        EXPECT_NEAR(sum / count, red, 10.0) << "distance " << d;
    }
    EXPECT_EQ(qRed(mask.pixel(0, 0)), 0);
    EXPECT_EQ(qRed(mask.pixel(24, 25)), 255);
}

TEST(ToolFiles, ColourChartAndPalette) {
    const QImage chart = readPicture(tf::kColourChart);
    ASSERT_EQ(chart.size(), tf::kColourChartSize);
    const std::pair<int, QColor> firstRow[] = {{0, Qt::red},   {1, Qt::yellow}, {2, Qt::green},
                                               {3, Qt::cyan},  {4, Qt::blue},   {5, Qt::magenta},
                                               {6, Qt::white}, {15, Qt::black}};
    for (const auto& [column, colour] : firstRow) {
        const QColor got = chart.pixelColor(7 + 12 * column + 5, 12);
        EXPECT_NEAR(got.red(), colour.red(), 24) << "column " << column;
        EXPECT_NEAR(got.green(), colour.green(), 24) << "column " << column;
        EXPECT_NEAR(got.blue(), colour.blue(), 24) << "column " << column;
    }
    EXPECT_EQ(chart.pixel(7 + 12 * 15 + 5, 12), qRgb(0, 0, 0));

    const QImage palette = readPicture(tf::kColourPalette);
    ASSERT_EQ(palette.size(), tf::kColourPaletteSize);
    const int w = palette.width(), h = palette.height();
    for (int x = 5; x < w - 5; x += 10) {
        EXPECT_GT(qGray(palette.pixel(x, 3)), 235) << "top, x " << x;
        EXPECT_LT(qGray(palette.pixel(x, h - 4)), 20) << "bottom, x " << x;
    }
    // Across the middle, full colours whose hue goes once round the wheel from red.
    for (int k = 0; k < 6; ++k) {
        const QColor c = palette.pixelColor(static_cast<int>(w * (k + 0.5) / 6), h / 2);
        EXPECT_GT(c.hsvSaturation(), 200) << "sixth " << k;
        EXPECT_NEAR(c.hsvHue(), 60 * k + 30, 15) << "sixth " << k;
    }
}

TEST(ToolFiles, CursorsPointWhereTheirHotSpotIs) {
    for (const tf::CursorArt& art : tf::kCursors) {
        SCOPED_TRACE(art.file);
        const QImage icon = readPicture(art.file);
        ASSERT_EQ(icon.size(), QSize(tf::kCursorSide, tf::kCursorSide));
        ASSERT_TRUE(icon.hasAlphaChannel());
        int transparent = 0;
        for (int y = 0; y < icon.height(); ++y)
            for (int x = 0; x < icon.width(); ++x) transparent += qAlpha(icon.pixel(x, y)) == 0;
        EXPECT_GT(transparent, 100);
        int nearest = 255;  // Chebyshev distance to the closest opaque-ish pixel
        for (int y = 0; y < icon.height(); ++y)
            for (int x = 0; x < icon.width(); ++x)
                if (qAlpha(icon.pixel(x, y)) >= 200)
                    nearest = std::min(
                        nearest, std::max(std::abs(x - art.hotSpot.x()), std::abs(y - art.hotSpot.y())));
        EXPECT_LE(nearest, 2);
    }
}
