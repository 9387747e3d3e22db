#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <tuple>
#include <vector>

#include "compositor/Composition.h"
#include "imaging/PixelGrid.h"
#include "photo/PhotoAdjust.h"
#include "photo/PhotoSession.h"
#include "platform/PictureFile.h"
#include "support/Fixtures.h"
#include "support/TestSeed.h"

using namespace ms;
using ms::test::ProgramFolder;
using ms::test::raw;
using ms::test::solidPicture;

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFFu;

uint32_t rgb(int r, int g, int b) { return qRgb(r, g, b); }

// Opaque noise with every channel in lo .. hi.
QImage noisePicture(int w, int h, std::mt19937& rng, int lo = 0, int hi = 255) {
    QImage img(w, h, QImage::Format_RGB32);
    std::uniform_int_distribution<int> level(lo, hi);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            reinterpret_cast<uint32_t*>(img.scanLine(y))[x] = rgb(level(rng), level(rng), level(rng));
    return img;
}

void put(QImage& img, int x, int y, uint32_t p) { reinterpret_cast<uint32_t*>(img.scanLine(y))[x] = p; }

int channel(uint32_t p, int c) { return static_cast<int>(p >> (8 * c) & 0xFF); }

// The same widened Catmull-Rom cubic in double precision, applied directly: the reference the fixed-point
// passes must stay within one level of.
double cubic(double x) {
    x = std::fabs(x);
    if (x < 1) return (1.5 * x - 2.5) * x * x + 1;
    if (x < 2) return ((-0.5 * x + 2.5) * x - 4) * x + 2;
    return 0;
}
std::vector<std::vector<double>> axisWeights(int in, int out) {
    const double r = static_cast<double>(in) / out, widen = std::max(1.0, r);
    std::vector<std::vector<double>> w(out, std::vector<double>(in));
    for (int i = 0; i < out; ++i) {
        double sum = 0;
        for (int j = 0; j < in; ++j) sum += w[i][j] = cubic((j + 0.5 - (i + 0.5) * r) / widen);
        for (double& v : w[i]) v /= sum;
    }
    return w;
}
// Channel c (0 blue .. 2 red) of every output pixel, unrounded.
std::vector<double> referenceResample(const QImage& src, QSize size, int c) {
    const auto wx = axisWeights(src.width(), size.width()), wy = axisWeights(src.height(), size.height());
    std::vector<double> across(static_cast<size_t>(src.height()) * size.width(), 0);
    for (int y = 0; y < src.height(); ++y)
        for (int i = 0; i < size.width(); ++i)
            for (int x = 0; x < src.width(); ++x)
                across[y * size.width() + i] += wx[i][x] * channel(raw(src, x, y), c);
    std::vector<double> out(static_cast<size_t>(size.width()) * size.height(), 0);
    for (int j = 0; j < size.height(); ++j)
        for (int i = 0; i < size.width(); ++i)
            for (int y = 0; y < src.height(); ++y)
                out[j * size.width() + i] += wy[j][y] * across[y * size.width() + i];
    return out;
}

// Largest difference between two pictures' colour channels over a rectangle of each.
int largestDifference(const QImage& a, QPoint atA, const QImage& b, QPoint atB, QSize size) {
    int worst = 0;
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            for (int c = 0; c < 3; ++c)
                worst = std::max(worst, std::abs(channel(raw(a, atA.x() + x, atA.y() + y), c) -
                                                 channel(raw(b, atB.x() + x, atB.y() + y), c)));
    return worst;
}

bool allWhite(const QImage& img, QRect r) {
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (raw(img, x, y) != kWhite) return false;
    return true;
}

}  // namespace

// ---- Resampling and the working copy ------------------------------------------------------------------

TEST(PhotoResample, StaysWithinOneLevelOfTheExactCubic) {
    std::mt19937 rng = test::seededRng(11);
    std::uniform_int_distribution<int> side(1, 48), out(1, 120);
    // Random sizes both ways, and reductions steep enough to need long kernels.
    std::vector<std::pair<QSize, QSize>> cases = {{{300, 7}, {7, 3}}, {{5, 400}, {9, 11}}, {{1, 1}, {13, 4}}};
    for (int i = 0; i < 40; ++i) cases.push_back({{side(rng), side(rng)}, {out(rng), out(rng)}});
    for (const auto& [from, to] : cases) {
        const QImage src = noisePicture(from.width(), from.height(), rng);
        const QImage ours = resampled(src, to, QRect(QPoint(0, 0), to));
        ASSERT_EQ(ours.size(), to);
        for (int c = 0; c < 3; ++c) {
            const std::vector<double> ref = referenceResample(src, to, c);
            for (int y = 0; y < to.height(); ++y)
                for (int x = 0; x < to.width(); ++x) {
                    const double want = std::clamp(ref[y * to.width() + x], 0.0, 255.0);
                    ASSERT_LE(std::fabs(channel(raw(ours, x, y), c) - want), 1.0)
                        << from.width() << "x" << from.height() << " to " << to.width() << "x" << to.height()
                        << " at " << x << "," << y << " channel " << c;
                }
        }
    }
}

TEST(PhotoResample, WindowsAreCutFromTheWholePicture) {
    std::mt19937 rng = test::seededRng(12);
    const QImage src = noisePicture(173, 211, rng);
    for (QSize size : {QSize(61, 500), QSize(400, 90), QSize(173, 211), QSize(3, 2)}) {
        const QImage whole = resampled(src, size, QRect(QPoint(0, 0), size));
        std::uniform_int_distribution<int> x(0, size.width() - 1), y(0, size.height() - 1);
        for (int i = 0; i < 10; ++i) {
            const auto [left, right] = std::minmax({x(rng), x(rng)});
            const auto [top, bottom] = std::minmax({y(rng), y(rng)});
            const QRect window(QPoint(left, top), QPoint(right, bottom));
            EXPECT_EQ(resampled(src, size, window), whole.copy(window))
                << "window " << window.x() << "," << window.y();
        }
        // A window reaching past the picture is clipped to it.
        EXPECT_EQ(resampled(src, size, QRect(-5, -5, 10000, 10000)), whole);
    }
    EXPECT_TRUE(resampled(src, QSize(0, 10), QRect(0, 0, 10, 10)).isNull());
    EXPECT_TRUE(resampled(QImage(), QSize(10, 10), QRect(0, 0, 10, 10)).isNull());
}

TEST(PhotoResample, KeepsPlainColoursAndAveragesFineDetail) {
    // Plain areas keep their colour exactly at any size.
    const QImage plain = solidPicture(97, 61, QColor(201, 13, 77));
    for (QSize size : {QSize(1, 1), QSize(30, 500), QSize(97, 61), QSize(300, 20)}) {
        const QImage out = resampled(plain, size, QRect(QPoint(0, 0), size));
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x) ASSERT_EQ(raw(out, x, y), rgb(201, 13, 77));
    }
    // A one-pixel checkerboard reduced by an uneven factor becomes an even grey, not a moire pattern.
    QImage checks(1200, 900, QImage::Format_RGB32);
    for (int y = 0; y < checks.height(); ++y)
        for (int x = 0; x < checks.width(); ++x) put(checks, x, y, (x + y) % 2 ? kWhite : rgb(0, 0, 0));
    const QImage grey = resampled(checks, {277, 208}, QRect(0, 0, 277, 208));
    for (int y = 0; y < grey.height(); ++y)
        for (int x = 0; x < grey.width(); ++x) ASSERT_NEAR(qRed(raw(grey, x, y)), 127.5, 4) << x << "," << y;
}

TEST(PhotoWorkingCopy, FitsLargePhotosInsideTwiceTheCanvas) {
    struct Case {
        QSize from, to;
    };
    for (const Case& c :
         {Case{{4000, 3000}, {760, 570}}, Case{{3000, 4000}, {720, 960}}, Case{{761, 960}, {760, 959}},
          Case{{760, 961}, {759, 960}}, Case{{20000, 10}, {760, 1}}, Case{{500, 600}, {500, 600}},
          Case{{760, 960}, {760, 960}}})
        EXPECT_EQ(workingCopySize(c.from), c.to) << c.from.width() << "x" << c.from.height();

    // Left half red, right half blue: the copy keeps them where they were.
    for (QSize from : {QSize(1900, 1000), QSize(20000, 10)}) {
        QImage photo(from, QImage::Format_RGB32);
        QPainter(&photo).fillRect(0, 0, from.width() / 2, from.height(), QColor(255, 0, 0));
        QPainter(&photo).fillRect(from.width() / 2, 0, from.width(), from.height(), QColor(0, 0, 255));
        const QImage copy = workingCopy(photo);
        const QSize to = workingCopySize(from);
        ASSERT_EQ(copy.size(), to);
        EXPECT_EQ(copy.format(), QImage::Format_RGB32);
        EXPECT_EQ(raw(copy, 0, to.height() / 2), rgb(255, 0, 0));
        EXPECT_EQ(raw(copy, to.width() / 2 - 2, to.height() / 2), rgb(255, 0, 0));
        EXPECT_EQ(raw(copy, to.width() / 2 + 1, to.height() / 2), rgb(0, 0, 255));
        EXPECT_EQ(raw(copy, to.width() - 1, to.height() / 2), rgb(0, 0, 255));
    }
    std::mt19937 rng = test::seededRng(13);
    for (QSize keep : {QSize(500, 600), QSize(760, 960), QSize(1, 1)}) {
        const QImage photo = noisePicture(keep.width(), keep.height(), rng);
        EXPECT_EQ(workingCopy(photo), photo);
        EXPECT_EQ(workingCopy(photo.convertToFormat(QImage::Format_ARGB32_Premultiplied)), photo);
    }
}

// ---- Fitting --------------------------------------------------------------------------------------------

TEST(PhotoFit, PlacesTheScaledPhotoAsTheSlidersSay) {
    std::mt19937 rng = test::seededRng(21);
    const QImage canvasSized = noisePicture(380, 480, rng);
    // The canvas size at the start values lands at (0, 0) unchanged.
    EXPECT_EQ(fitPhoto(canvasSized, {}), canvasSized);

    // Twenty right: the first twenty columns white, the rest the photo moved over.
    const QImage right = fitPhoto(canvasSized, {50, 20, 0});
    EXPECT_TRUE(allWhite(right, QRect(0, 0, 20, 480)));
    EXPECT_EQ(largestDifference(right, {20, 0}, canvasSized, {0, 0}, {360, 480}), 0);
    // Twenty up: the last twenty rows white.
    const QImage up = fitPhoto(canvasSized, {50, 0, 20});
    EXPECT_TRUE(allWhite(up, QRect(0, 460, 380, 20)));
    EXPECT_EQ(largestDifference(up, {0, 0}, canvasSized, {0, 20}, {380, 460}), 0);
    // Left and down are the negative values.
    const QImage leftDown = fitPhoto(canvasSized, {50, -7, -11});
    EXPECT_TRUE(allWhite(leftDown, QRect(373, 0, 7, 480)) && allWhite(leftDown, QRect(0, 0, 380, 11)));
    EXPECT_EQ(largestDifference(leftDown, {0, 11}, canvasSized, {7, 0}, {373, 469}), 0);

    // Twice the canvas at size 25 (half) fills it with the photo scaled down.
    const QImage large = noisePicture(760, 960, rng, 0, 200);
    const QImage half = fitPhoto(large, {25, 0, 0});
    EXPECT_EQ(half, resampled(large, {380, 480}, QRect(0, 0, 380, 480)));
    // Scaled up, the canvas shows the middle of the enlarged photo.
    const QImage small = noisePicture(190, 240, rng);
    EXPECT_EQ(fitPhoto(small, {100, 0, 0}), resampled(small, {380, 480}, QRect(0, 0, 380, 480)));
    // At 1.5 the 285 x 360 photo starts at round(47.5) = 48, round(60) = 60, with white around it.
    const QImage larger = fitPhoto(small, {75, 0, 0});
    EXPECT_EQ(largestDifference(larger, {48, 60}, resampled(small, {285, 360}, QRect(0, 0, 285, 360)), {0, 0},
                                {285, 360}),
              0);
    EXPECT_TRUE(allWhite(larger, QRect(0, 0, 48, 480)) && allWhite(larger, QRect(333, 0, 47, 480)) &&
                allWhite(larger, QRect(0, 0, 380, 60)) && allWhite(larger, QRect(0, 420, 380, 60)));
}

TEST(PhotoFit, RoundsHalfPixelsToEven) {
    struct Case {
        QSize source;
        FitSliders sliders;
        QRect placed;
    };
    for (const Case& c : {
             Case{{379, 479}, {}, {0, 0, 379, 479}},              // 0.5, 0.5: down to 0
             Case{{377, 477}, {}, {2, 2, 377, 477}},              // 1.5: up to 2
             Case{{383, 483}, {}, {-2, -2, 383, 483}},            // -1.5: down to -2
             Case{{381, 481}, {}, {0, 0, 381, 481}},              // -0.5: up to 0
             Case{{381, 481}, {25, 0, 0}, {95, 120, 190, 240}},   // 190.5 and 240.5 wide: 190, 240
             Case{{383, 483}, {25, 3, -3}, {97, 122, 192, 242}},  // 191.5, 241.5: 192, 242
             Case{{380, 480}, {37, 0, 0}, {49, 62, 281, 355}},    // 281.2, 355.2
         }) {
        EXPECT_EQ(fitPlacement(c.source, c.sliders), c.placed)
            << c.source.width() << "x" << c.source.height() << " size " << c.sliders.size;
    }
    // The placement is where the pixels go: an odd width at scale 1 starts at column 0, not -1 or 1.
    std::mt19937 rng = test::seededRng(22);
    const QImage odd = noisePicture(379, 477, rng);
    const QImage fitted = fitPhoto(odd, {});
    EXPECT_EQ(largestDifference(fitted, {0, 2}, odd, {0, 0}, {379, 477}), 0);
    EXPECT_TRUE(allWhite(fitted, QRect(379, 0, 1, 480)) && allWhite(fitted, QRect(0, 0, 380, 2)) &&
                allWhite(fitted, QRect(0, 479, 380, 1)));
}

TEST(PhotoFit, APhotoOffTheCanvasLeavesItWhite) {
    const QImage photo = solidPicture(500, 700, QColor(10, 20, 30));
    for (FitSliders off : {FitSliders{0, 0, 0}, FitSliders{50, -1000, 0}, FitSliders{50, 1000, 0},
                           FitSliders{50, 0, 1000}, FitSliders{50, 0, -1000}, FitSliders{-10, 0, 0}}) {
        const QImage out = fitPhoto(photo, off);
        ASSERT_EQ(out.size(), QSize(380, 480)) << off.size << " " << off.across << " " << off.up;
        EXPECT_TRUE(allWhite(out, out.rect())) << off.size << " " << off.across << " " << off.up;
    }
    // Partly off: what is on the canvas shows.
    const QImage partly = fitPhoto(photo, {50, -400, 0});
    EXPECT_EQ(raw(partly, 0, 240), rgb(10, 20, 30));
    EXPECT_TRUE(allWhite(partly, QRect(250, 0, 130, 480)));
    EXPECT_TRUE(allWhite(fitPhoto(QImage(), {}), QRect(0, 0, 380, 480)));
}

// ---- Rotation -------------------------------------------------------------------------------------------

TEST(PhotoRotation, CapturesTheCanvasViewAsColourValues) {
    std::mt19937 rng = test::seededRng(31);
    const QImage view = noisePicture(380, 480, rng).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    RotationGrid grid;
    std::vector<int> columns;
    captureRotation(view, grid, [&](int x) { columns.push_back(x); });
    for (int y = 0; y < 480; y += 7)
        for (int x = 0; x < 380; x += 3) {
            const QRgb p = raw(view, x, y);
            ASSERT_EQ(grid.at(x, y), static_cast<uint32_t>(colourValue(qRed(p), qGreen(p), qBlue(p))));
        }
    // Outside the picture every bit is set.
    for (QPoint outside :
         {QPoint(380, 0), QPoint(0, 480), QPoint(380, 480), QPoint(500, 500), QPoint(450, 3)})
        EXPECT_EQ(grid.at(outside.x(), outside.y()), 0xFFFFFFFFu);
    ASSERT_EQ(columns.size(), 381u);
    EXPECT_EQ(columns.front(), 0);
    EXPECT_EQ(columns.back(), 380);
}

TEST(PhotoRotation, TurnsAboutTheCentreAndKeepsTheRestWhite) {
    std::mt19937 rng = test::seededRng(32);
    const QImage view = noisePicture(380, 480, rng, 0, 250);
    RotationGrid grid;
    captureRotation(view, grid);

    // By 0: the picture except its border, which stays white.
    const QImage same = rotatePhoto(grid, 0);
    EXPECT_EQ(largestDifference(same, {1, 1}, view, {1, 1}, {378, 478}), 0);
    EXPECT_TRUE(allWhite(same, QRect(0, 0, 380, 1)) && allWhite(same, QRect(0, 479, 380, 1)) &&
                allWhite(same, QRect(0, 0, 1, 480)) && allWhite(same, QRect(379, 0, 1, 480)));

    // By 90: canvas (x, y) shows picture (y - 50, 430 - x); rows whose source lies off the picture stay
    // white.
    const QImage quarter = rotatePhoto(grid, 90);
    ASSERT_EQ(quarter.size(), QSize(380, 480));
    for (int y = 51; y <= 428; ++y)
        for (int x = 0; x < 380; ++x) {
            ASSERT_EQ(raw(quarter, x, y), raw(view, y - 50, 430 - x)) << x << "," << y;
        }
    EXPECT_TRUE(allWhite(quarter, QRect(0, 0, 380, 50)));
    EXPECT_TRUE(allWhite(quarter, QRect(0, 430, 380, 50)));
}

TEST(PhotoRotation, PositiveDegreesTurnClockwise) {
    // A dark dot 100 pixels right of the centre on a light picture.
    QImage view = solidPicture(380, 480, QColor(200, 200, 200));
    QPainter(&view).fillRect(286, 236, 9, 9, QColor(0, 0, 0));
    RotationGrid grid;
    captureRotation(view, grid);
    for (int degrees : {15, -15, 7}) {
        const QImage turned = rotatePhoto(grid, degrees);
        const double phi = degrees * 3.141592653589793 / 180;
        // On the screen (rows growing downwards) clockwise takes the dot below the centre line.
        const int x = static_cast<int>(std::lround(190 + 100 * std::cos(phi)));
        const int y = static_cast<int>(std::lround(240 + 100 * std::sin(phi)));
        EXPECT_EQ(raw(turned, x, y), rgb(0, 0, 0)) << degrees;
        EXPECT_EQ(raw(turned, 290, 240), rgb(200, 200, 200)) << degrees;
        EXPECT_EQ(raw(turned, 190, 240), rgb(200, 200, 200)) << degrees;
        EXPECT_EQ(raw(turned, 0, 0), kWhite);
    }
}

// ---- Colours and skin tone ------------------------------------------------------------------------------

TEST(PhotoColours, StartValuesChangeNothingAndEachSliderDoesItsPart) {
    std::mt19937 rng = test::seededRng(41);
    const QImage background = noisePicture(380, 480, rng);
    EXPECT_EQ(adjustColours(background, {}), background);

    QImage px(4, 1, QImage::Format_RGB32);
    put(px, 0, 0, rgb(101, 150, 211));
    put(px, 1, 0, rgb(0, 255, 40));
    put(px, 2, 0, rgb(127, 127, 127));
    put(px, 3, 0, rgb(10, 20, 30));
    // brightness 5, red 3, green -4, contrast 30: k = 1.5, D = round(132 - 190.5) = round(-58.5) = -58.
    const QImage a = adjustColours(px, {5, 3, -4, 30});
    EXPECT_EQ(raw(a, 0, 0), rgb(96, 163, 255));   // 96.5 to even; 225 - 62; 258.5 clamped
    EXPECT_EQ(raw(a, 1, 0), rgb(0, 255, 2));      // clamped at 0 and 255
    EXPECT_EQ(raw(a, 2, 0), rgb(136, 128, 132));  // 135.5, 128.5, 132.5 to even
    // Brightness alone adds; contrast 1 (k = 0.05, D = round(127 - 6.35) = 121) flattens towards 127.
    EXPECT_EQ(raw(adjustColours(px, {-20, 0, 0, 20}), 3, 0), rgb(0, 0, 10));
    EXPECT_EQ(raw(adjustColours(px, {0, 0, 0, 1}), 3, 0), rgb(122, 122, 122));  // 121.5, 122, 122.5
    EXPECT_EQ(raw(adjustColours(px, {0, 20, -20, 20}), 3, 0), rgb(30, 0, 30));
}

TEST(PhotoSkinTone, MovesTheBackgroundByThePatchDifference) {
    std::mt19937 rng = test::seededRng(42);
    const QImage background = noisePicture(380, 480, rng);
    // The patch is read from the canvas view: at the skin colour nothing changes, whatever the background.
    QImage view = noisePicture(380, 480, rng);
    QPainter(&view).fillRect(kSkinPatch, QColor(250, 190, 160));
    EXPECT_EQ(correctSkinTone(view, background), background);

    // Patch (240, 200, 150): differences -10, 10, -10.
    QPainter(&view).fillRect(kSkinPatch, QColor(240, 200, 150));
    QImage px(3, 1, QImage::Format_RGB32);
    put(px, 0, 0, rgb(100, 120, 140));  // luminance 116.2: round(1162) / 230 = 5
    put(px, 1, 0, rgb(250, 240, 235));  // luminance 242.45: round(125.5) / 25 = 5
    put(px, 2, 0, rgb(0, 255, 3));      // luminance 150.78: round(1507.8) / 230 = 6, clamped
    const QImage out = correctSkinTone(view, px);
    EXPECT_EQ(raw(out, 0, 0), rgb(105, 115, 145));
    EXPECT_EQ(raw(out, 1, 0), rgb(255, 235, 240));
    EXPECT_EQ(raw(out, 2, 0), rgb(6, 249, 9));

    // The patch average drops its fraction: 250.75 red counts as 250, so nothing moves.
    QImage uneven = view;
    QPainter(&uneven).fillRect(kSkinPatch, QColor(251, 190, 160));
    QPainter(&uneven).fillRect(kSkinPatch.adjusted(0, 15, 0, 0), QColor(250, 190, 160));
    QImage grey(1, 1, QImage::Format_RGB32);
    put(grey, 0, 0, rgb(230, 230, 230));
    EXPECT_EQ(correctSkinTone(uneven, grey), grey);
    // One level more on the whole patch moves the same pixel by one.
    QPainter(&uneven).fillRect(kSkinPatch, QColor(251, 190, 160));
    EXPECT_EQ(raw(correctSkinTone(uneven, grey), 0, 0), rgb(229, 230, 230));

    // A canvas view without the patch leaves the background alone.
    EXPECT_EQ(correctSkinTone(QImage(100, 100, QImage::Format_RGB32), background), background);
}

// ---- The session on a studio ----------------------------------------------------------------------------

namespace {

// A studio on a temporary program folder with a plain portrait and no components, reset as the main window
// does when it starts, so that a composition shows the working photo as it is.
struct PhotoStudio {
    ProgramFolder folder;
    StudioState s;

    PhotoStudio() {
        EXPECT_TRUE(
            savePictureBmp(folder.file("ziyuan/huaban.bmp"), solidPicture(380, 480, QColor(90, 90, 90))));
        EXPECT_TRUE(initialiseStudio(s, folder.path()));
        EXPECT_TRUE(CHUSHI_MOBAN(s));
    }

    // The backdrop pair: a blue backdrop, its mask white (backdrop shows) on the left half and black on the
    // right, where the photo stays.
    void writeBackdrop(bool colour = true, bool mask = true) const {
        if (colour) {
            const QImage backdrop = solidPicture(380, 480, QColor(0, 0, 255));
            EXPECT_TRUE(backdrop.save(folder.file("baheng/00.jpg"), "JPG", 100));
        }
        if (mask) {
            QImage m = solidPicture(380, 480, QColor(0, 0, 0));
            QPainter(&m).fillRect(0, 0, 190, 480, Qt::white);
            EXPECT_TRUE(m.save(folder.file("baheng/00p.jpg"), "JPG", 100));
        }
    }
};

bool near(uint32_t a, uint32_t b, int tolerance) {
    for (int c = 0; c < 3; ++c)
        if (std::abs(channel(a, c) - channel(b, c)) > tolerance) return false;
    return true;
}

void expectSameState(const StudioState& was, const StudioState& is) {
    const DesignState &a = was.doc.design, &b = is.doc.design;
    EXPECT_EQ(a.PicMT, b.PicMT);
    EXPECT_EQ(a.PicMT0, b.PicMT0);
    EXPECT_EQ(a.Picbeijing, b.Picbeijing);
    EXPECT_EQ(a.PicRGB, b.PicRGB);
    EXPECT_EQ(a.PicA, b.PicA);
    EXPECT_EQ(was.session.views.Pichuaban, is.session.views.Pichuaban);
    EXPECT_EQ(was.session.views.Pichuaban1, is.session.views.Pichuaban1);
    EXPECT_EQ(was.doc.surfaces.canvas, is.doc.surfaces.canvas);
    EXPECT_EQ(was.doc.surfaces.of(Kind::xiushi).image(), is.doc.surfaces.of(Kind::xiushi).image());
    EXPECT_EQ(was.doc.grids.cutout.pixels, is.doc.grids.cutout.pixels);
    EXPECT_EQ(was.doc.grids.cutoutMask.pixels, is.doc.grids.cutoutMask.pixels);
}

}  // namespace

TEST(PhotoSessionSteps, AMissingBackdropFileIsReportedAndChangesNothing) {
    PhotoStudio studio;
    PhotoSession session(studio.s);
    std::mt19937 rng = test::seededRng(51);
    session.takeIn(noisePicture(380, 480, rng));
    for (auto [colour, mask, named] : {std::tuple{false, false, "00.jpg"}, std::tuple{true, false, "00p.jpg"},
                                       std::tuple{false, true, "00.jpg"}}) {
        QFile::remove(studio.folder.file("baheng/00.jpg"));
        QFile::remove(studio.folder.file("baheng/00p.jpg"));
        studio.writeBackdrop(colour, mask);
        const StudioState before = studio.s;
        const Status st = session.replaceBackground();
        EXPECT_EQ(st.code, StatusCode::NotFound);
        EXPECT_TRUE(st.message.contains(QLatin1String(named))) << st.message.toStdString();
        expectSameState(before, studio.s);
    }
    // A file that is there but is no picture is reported the same way.
    studio.writeBackdrop();
    QFile broken(studio.folder.file("baheng/00p.jpg"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
    broken.write("\xFF\xD8\xFF not a picture");
    broken.close();
    const StudioState before = studio.s;
    const Status st = session.replaceBackground();
    EXPECT_EQ(st.code, StatusCode::Damaged);
    EXPECT_TRUE(st.message.contains(QLatin1String("00p.jpg"))) << st.message.toStdString();
    expectSameState(before, studio.s);
}

TEST(PhotoSessionSteps, TheBackdropReplacesTheBackgroundWhereTheMaskIsWhite) {
    PhotoStudio studio;
    studio.writeBackdrop();
    PhotoSession session(studio.s);
    session.takeIn(solidPicture(380, 480, QColor(200, 30, 30)));
    ASSERT_TRUE(session.replaceBackground());
    const StudioState& s = studio.s;
    const QImage& view = s.session.views.Pichuaban;
    EXPECT_TRUE(near(raw(view, 40, 240), rgb(0, 0, 255), 8));     // the backdrop
    EXPECT_TRUE(near(raw(view, 340, 240), rgb(200, 30, 30), 8));  // the photo
    EXPECT_EQ(s.doc.design.PicMT, view.convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(s.doc.design.PicMT0, s.doc.design.PicMT);
    EXPECT_EQ(s.session.views.Pichuaban1, view);
    // The background itself is not changed: a later colour step starts from the photo again.
    EXPECT_EQ(raw(s.doc.design.Picbeijing, 40, 240), rgb(200, 30, 30));
}

TEST(PhotoSessionSteps, ColourStepsAddUpUntilRestored) {
    PhotoStudio studio;
    PhotoSession session(studio.s);
    std::mt19937 rng = test::seededRng(52);
    const QImage photo = noisePicture(380, 480, rng, 30, 200);
    session.takeIn(photo);
    const DesignState& d = studio.s.doc.design;
    ASSERT_TRUE(session.adjustColours({5, 0, 0, 20}));
    ASSERT_TRUE(session.adjustColours({5, 0, 0, 20}));
    EXPECT_EQ(d.Picbeijing, adjustColours(photo, {10, 0, 0, 20}));
    EXPECT_EQ(d.PicMT, d.Picbeijing);
    // Composed without components, the canvas view shows the working photo.
    EXPECT_EQ(studio.s.session.views.Pichuaban.convertToFormat(QImage::Format_RGB32), d.PicMT);
    session.restore();
    EXPECT_EQ(d.Picbeijing, photo);
    EXPECT_EQ(d.PicMT, photo);
    EXPECT_EQ(studio.s.session.views.Pichuaban, photo);
}

TEST(PhotoSessionSteps, SkinToneMeasuresTheCanvasViewAndReportsProgress) {
    PhotoStudio studio;
    PhotoSession session(studio.s);
    std::vector<int> columns;
    session.setProgress([&](int x) { columns.push_back(x); });
    QImage photo = solidPicture(380, 480, QColor(100, 120, 140));
    QPainter(&photo).fillRect(kSkinPatch, QColor(240, 200, 150));
    session.takeIn(photo);
    ASSERT_TRUE(session.correctSkinTone());
    EXPECT_EQ(raw(studio.s.doc.design.Picbeijing, 0, 0), rgb(105, 115, 145));
    EXPECT_EQ(studio.s.doc.design.PicMT, studio.s.doc.design.Picbeijing);
    ASSERT_EQ(columns.size(), 380u);
    EXPECT_EQ(columns.back(), 379);

    studio.s.session.views.Pichuaban = QImage();
    const QImage before = studio.s.doc.design.Picbeijing;
    EXPECT_EQ(session.correctSkinTone().code, StatusCode::Refused);
    EXPECT_EQ(studio.s.doc.design.Picbeijing, before);
}

TEST(PhotoSessionSteps, AcceptMakesTheWorkingPhotoTheDesignsPhoto) {
    PhotoStudio studio;
    PhotoSession session(studio.s);
    EXPECT_TRUE(session.guidesShown());
    session.toggleGuides();
    EXPECT_FALSE(session.guidesShown());
    session.toggleGuides();
    session.takeIn(solidPicture(380, 480, QColor(1, 2, 3)));
    ASSERT_TRUE(session.adjustColours({0, 0, 0, 30}));
    // Something else changes the background before the window is closed: accept takes the working photo.
    studio.s.doc.design.Picbeijing = solidPicture(380, 480, QColor(9, 9, 9));
    const QImage working = studio.s.doc.design.PicMT;
    session.accept();
    EXPECT_EQ(studio.s.doc.design.Picbeijing, working);
    EXPECT_EQ(studio.s.doc.design.PicMT0, working);
    EXPECT_FALSE(session.guidesShown());
}

// A turned photo is what "确定" keeps: the working photo turns with the background.
TEST(PhotoSessionSteps, ARotationSurvivesAccept) {
    PhotoStudio studio;
    PhotoSession session(studio.s);
    QImage picture = solidPicture(380, 480, QColor(200, 180, 160));
    for (int y = 0; y < 480; ++y) picture.setPixel(190, y, qRgb(0, 0, 0));  // a vertical line
    session.takeIn(picture);
    session.prepareRotation();
    session.rotate(10);
    session.accept();
    const QImage& kept = studio.s.doc.design.PicMT0;
    EXPECT_EQ(kept, studio.s.doc.design.PicMT);
    // Turned by 10 degrees, the line is no longer at column 190 far from the centre.
    EXPECT_NE(kept.pixel(190, 40) & 0xFFFFFFu, 0u);
    EXPECT_NE(kept, fitPhoto(picture, {}));
}

TEST(PhotoSessionSteps, EndToEndFromADecodedPhotoToTheDesign) {
    PhotoStudio studio;
    StudioState& s = studio.s;
    PhotoSession session(s);
    std::mt19937 rng = test::seededRng(53);
    // A photo twice the canvas's proportions and more: its working copy is 760 x 570.
    const QImage photo = noisePicture(1520, 1140, rng, 20, 230);
    session.takeIn(photo);
    ASSERT_EQ(session.source().size(), QSize(760, 570));
    const QImage first = fitPhoto(session.source(), {});
    EXPECT_EQ(s.session.views.Pichuaban, first);
    EXPECT_EQ(s.doc.design.Picbeijing, first);
    EXPECT_EQ(s.doc.design.PicMT, first);
    // At scale 1 the 570 rows overhang: the middle of the copy, starting 190 columns and 45 rows in.
    EXPECT_EQ(largestDifference(first, {0, 0}, session.source(), {190, 45}, {380, 480}), 0);

    session.fit({25, 10, -10});
    EXPECT_EQ(session.fitSliders(), (FitSliders{25, 10, -10}));
    EXPECT_EQ(s.session.views.Pichuaban, fitPhoto(session.source(), {25, 10, -10}));
    for (const QImage& pic : {s.session.views.Pichuaban, s.doc.design.Picbeijing, s.doc.design.PicMT})
        EXPECT_EQ(pic.size(), QSize(380, 480));
    // Entirely off the canvas: still a white 380 x 480 picture everywhere.
    session.fit({50, -2000, 0});
    for (const QImage& pic : {s.session.views.Pichuaban, s.doc.design.Picbeijing, s.doc.design.PicMT}) {
        ASSERT_EQ(pic.size(), QSize(380, 480));
        EXPECT_TRUE(allWhite(pic, pic.rect()));
    }
    session.fit({40, 0, 0});
    const QImage fitted = s.session.views.Pichuaban;

    // Capture for rotation: the sliders go back to the start values without fitting again.
    int progressCalls = 0;
    session.setProgress([&](int) { ++progressCalls; });
    EXPECT_EQ(session.prepareRotation(), FitSliders{});
    EXPECT_EQ(progressCalls, 381);
    EXPECT_EQ(s.session.views.Pichuaban, fitted);
    session.rotate(0);
    const QImage turned = s.session.views.Pichuaban;
    EXPECT_EQ(s.doc.design.Picbeijing, turned);
    EXPECT_EQ(session.source(), turned);
    EXPECT_EQ(largestDifference(turned, {1, 1}, fitted, {1, 1}, {378, 478}), 0);
    // Each release turns the captured picture, not the last result; a fit then starts from it at scale 1.
    session.rotate(12);
    session.rotate(0);
    EXPECT_EQ(s.session.views.Pichuaban, turned);
    session.restore();
    EXPECT_EQ(s.session.views.Pichuaban, turned);

    ASSERT_TRUE(session.adjustColours({3, 1, 2, 22}));
    ASSERT_TRUE(session.correctSkinTone());
    const QImage working = s.doc.design.PicMT;
    EXPECT_EQ(s.doc.design.Picbeijing, working);
    session.accept();
    EXPECT_EQ(s.doc.design.Picbeijing, working);
    EXPECT_EQ(s.doc.design.PicMT0, working);
    // The design composes from the new photo.
    ASSERT_TRUE(huaban_hecheng2(s));
    EXPECT_EQ(s.session.views.Pichuaban.convertToFormat(QImage::Format_RGB32), working);
}
