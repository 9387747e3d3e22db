#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "imaging/Magnify.h"
#include "imaging/MagnifyKernels.h"
#include "imaging/PixelGrid.h"
#include "support/TestSeed.h"

using namespace ms;

namespace {

constexpr QImage::Format kPremultiplied = QImage::Format_ARGB32_Premultiplied;

// The shared test seed (printed once; MS_TEST_SEED replays it).
std::mt19937 seededRng() { return test::seededRng(10); }

int uniform(std::mt19937& rng, int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }

uint32_t randomOpaque(std::mt19937& rng) { return 0xFF000000u | (rng() & 0xFFFFFFu); }

// A valid premultiplied pixel of any alpha: every colour channel at most alpha.
uint32_t randomPremultiplied(std::mt19937& rng) {
    const int a = uniform(rng, 0, 255);
    return pixelBGRA(uniform(rng, 0, a), uniform(rng, 0, a), uniform(rng, 0, a), a);
}

uint32_t& at(QImage& img, int x, int y) { return reinterpret_cast<uint32_t*>(img.scanLine(y))[x]; }
uint32_t at(const QImage& img, int x, int y) {
    return reinterpret_cast<const uint32_t*>(img.constScanLine(y))[x];
}

QImage filledCanvas(uint32_t pixel) {
    QImage img(kMagnifySourceWidth, kMagnifySourceHeight, kPremultiplied);
    img.fill(pixel);
    return img;
}

// Fills rows [y0, y1) with one kind of content chosen at random: the cases a vector kernel gets wrong
// first are the extremes (products up to 255 * 256), lone pixels and stripes out of step with the 5-pixel
// period, so those are made on purpose alongside plain noise.
void fillBand(QImage& img, std::mt19937& rng, int y0, int y1) {
    const int kind = uniform(rng, 0, 5);
    const uint32_t a = randomOpaque(rng), b = randomOpaque(rng);
    const int stripe = uniform(rng, 1, 7);
    for (int y = y0; y < y1; ++y)
        for (int x = 0; x < img.width(); ++x) {
            uint32_t& p = at(img, x, y);
            switch (kind) {
                case 0:
                    p = randomOpaque(rng);
                    break;
                case 1:
                    p = a;
                    break;
                case 2:
                    p = (x + y) % 2 ? 0xFFFFFFFFu : 0xFF000000u;
                    break;
                case 3:
                    p = x / stripe % 2 ? a : b;
                    break;
                case 4:
                    p = y / stripe % 2 ? a : b;
                    break;
                default: {
                    const int g = x * 255 / (img.width() - 1);
                    p = pixelBGRA(g, 255 - g, (g * 7) & 0xFF, 255);
                }
            }
        }
}

// Bands of random kinds and heights, lone white and black pixels on top, and optionally a few
// translucent premultiplied pixels (the canvas is opaque in the program, but nothing may break if not).
QImage hardCanvas(std::mt19937& rng, bool translucent) {
    QImage img(kMagnifySourceWidth, kMagnifySourceHeight, kPremultiplied);
    for (int y = 0; y < img.height();) {
        const int h = std::min(uniform(rng, 1, 60), img.height() - y);
        fillBand(img, rng, y, y + h);
        y += h;
    }
    for (int i = 0; i < 300; ++i)
        at(img, uniform(rng, 0, img.width() - 1), uniform(rng, 0, img.height() - 1)) =
            i % 2 ? 0xFFFFFFFFu : 0xFF000000u;
    if (translucent)
        for (int i = 0; i < 200; ++i)
            at(img, uniform(rng, 0, img.width() - 1), uniform(rng, 0, img.height() - 1)) =
                randomPremultiplied(rng);
    return img;
}

::testing::AssertionResult samePicture(const QImage& actual, const QImage& expected) {
    if (actual.size() != expected.size() || actual.format() != expected.format())
        return ::testing::AssertionFailure() << "size or format differs";
    int differing = 0;
    std::string first;
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            if (at(actual, x, y) != at(expected, x, y) && differing++ == 0) {
                char buf[96];
                std::snprintf(buf, sizeof buf, "first at (%d, %d): %08x, expected %08x", x, y,
                              at(actual, x, y), at(expected, x, y));
                first = buf;
            }
    if (differing == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << differing << " pixels differ, " << first;
}

QImage magnified(const QImage& canvas) {
    QImage out;
    magnifyCanvas(canvas, out);
    return out;
}

QImage magnifiedWith(const magnify::Kernel& kernel, const QImage& canvas) {
    QImage out;
    magnify::magnifyCanvasWith(kernel, canvas, out);
    return out;
}

// Every kernel this processor can run; magnifyCanvas itself uses only the best one.
std::vector<const magnify::Kernel*> kernels() {
    std::vector<const magnify::Kernel*> k{&magnify::kSse2Kernel};
    if (__builtin_cpu_supports("avx2"))
        k.push_back(&magnify::kAvx2Kernel);
    else
        std::printf("no AVX2 on this processor: its kernel is not tested\n");
    return k;
}

}  // namespace

TEST(MagnifyTap, FollowsThePixelCentreMappingAndClampsOnlyTheEndPixels) {
    for (const auto& [outSize, size] :
         {std::pair{kMagnifyWidth, kMagnifySourceWidth}, std::pair{kMagnifyHeight, kMagnifySourceHeight}}) {
        int clamped = 0;
        for (int d = 0; d < outSize; ++d) {
            SCOPED_TRACE(d);
            const double u = (d + 0.5) / 1.6 - 0.5;
            const MagnifyTap t = magnifyTap(d, size);
            if (u < 0 || u > size - 1) {
                ++clamped;
                const int edge = u < 0 ? 0 : size - 1;
                EXPECT_EQ(t.first, edge);
                EXPECT_EQ(t.second, edge);
                continue;
            }
            EXPECT_EQ(t.first, static_cast<int>(std::floor(u)));
            EXPECT_EQ(t.second, t.first + 1);
            EXPECT_NEAR(t.frac / 16.0, u - std::floor(u), 1e-9);
        }
        EXPECT_EQ(clamped, 2);
    }
}

// magnifyChannel against bilinear interpolation written as two real-valued lerps, rounded to nearest with
// halves up, for every weight pair; the values are dyadic, so the doubles are exact.
TEST(MagnifyChannel, IsTheExactBilinearValueRoundedHalfUp) {
    std::mt19937 rng = seededRng();
    const int extremes[][4] = {{0, 0, 0, 0},     {255, 255, 255, 255}, {255, 0, 0, 0}, {0, 0, 0, 255},
                               {0, 255, 255, 0}, {128, 0, 0, 0},       {0, 0, 0, 128}, {1, 0, 0, 0}};
    for (int fy = 0; fy < 16; ++fy)
        for (int fx = 0; fx < 16; ++fx)
            for (int i = 0; i < 400; ++i) {
                int c[4];
                for (int k = 0; k < 4; ++k) c[k] = i < 8 ? extremes[i][k] : uniform(rng, 0, 255);
                const double top = c[0] + (c[1] - c[0]) * (fx / 16.0);
                const double bottom = c[2] + (c[3] - c[2]) * (fx / 16.0);
                const double value = top + (bottom - top) * (fy / 16.0);
                ASSERT_EQ(magnifyChannel(c[0], c[1], c[2], c[3], fx, fy),
                          static_cast<int>(std::floor(value + 0.5)))
                    << c[0] << " " << c[1] << " " << c[2] << " " << c[3] << " fx " << fx << " fy " << fy;
            }
    // Halves, with the odd weights the magnifier really uses: 128 at weight 1/256 is exactly 0.5.
    EXPECT_EQ(magnifyChannel(0, 0, 0, 128, 1, 1), 1);
    EXPECT_EQ(magnifyChannel(0, 0, 0, 127, 1, 1), 0);
}

TEST(MagnifyCanvas, MatchesTheReferenceOnSeededAndHandMadeCanvases) {
    std::mt19937 rng = seededRng();
    std::vector<std::pair<std::string, QImage>> canvases = {
        {"white", filledCanvas(0xFFFFFFFFu)},
        {"opaque black", filledCanvas(0xFF000000u)},
        {"transparent", filledCanvas(0u)},
    };
    for (int i = 0; i < 6; ++i) canvases.emplace_back("opaque " + std::to_string(i), hardCanvas(rng, false));
    for (int i = 0; i < 3; ++i)
        canvases.emplace_back("translucent " + std::to_string(i), hardCanvas(rng, true));
    QImage noise(kMagnifySourceWidth, kMagnifySourceHeight, kPremultiplied);
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x) at(noise, x, y) = randomPremultiplied(rng);
    canvases.emplace_back("premultiplied noise", noise);

    for (const auto& [name, canvas] : canvases) {
        SCOPED_TRACE(name);
        const QImage expected = magnifyCanvasReference(canvas);
        for (const magnify::Kernel* kernel : kernels()) {
            SCOPED_TRACE(kernel->name);
            EXPECT_TRUE(samePicture(magnifiedWith(*kernel, canvas), expected));
        }
        const QImage out = magnified(canvas);
        ASSERT_EQ(out.format(), kPremultiplied);
        EXPECT_TRUE(samePicture(out, expected));
        bool premultiplied = true;
        for (int y = 0; y < out.height(); ++y)
            for (int x = 0; x < out.width(); ++x) {
                const uint32_t p = at(out, x, y);
                premultiplied = premultiplied && redOf(p) <= alphaOf(p) && greenOf(p) <= alphaOf(p) &&
                                blueOf(p) <= alphaOf(p);
            }
        EXPECT_TRUE(premultiplied);
    }
    // Flat stays exactly flat.
    QImage flat(kMagnifyWidth, kMagnifyHeight, kPremultiplied);
    flat.fill(0xFF3A7FC4u);
    EXPECT_TRUE(samePicture(magnified(filledCanvas(0xFF3A7FC4u)), flat));
}

TEST(MagnifyCanvas, HandComputedCornersAndEdgeBlend) {
    std::mt19937 rng = seededRng();
    // Corners: the end rows and columns sample outside the canvas and take the corner pixel itself, even
    // though every neighbour differs from it.
    QImage canvas = hardCanvas(rng, false);
    const int w = kMagnifySourceWidth - 1, h = kMagnifySourceHeight - 1;
    at(canvas, 0, 0) = 0xFF102030u;
    at(canvas, w, 0) = 0xFF405060u;
    at(canvas, 0, h) = 0xFF708090u;
    at(canvas, w, h) = 0xFFA0B0C0u;
    const std::pair<int, int> neighbours[] = {{1, 0},     {0, 1},     {1, 1},     {w - 1, 0},
                                              {w, 1},     {w - 1, 1}, {0, h - 1}, {1, h},
                                              {1, h - 1}, {w - 1, h}, {w, h - 1}, {w - 1, h - 1}};
    for (const auto& [x, y] : neighbours) at(canvas, x, y) = 0xFFFFFFFFu;

    // A vertical edge between source columns 189 (A) and 190 (B). Output column 303 samples u = 189 + 3/16
    // and column 304 u = 189 + 13/16; every other column sees one colour only.
    //   A = (r 200, g 40, b 0), B = (r 0, g 120, b 255)
    //   303: r = 13 * 200 / 16 = 162.5 -> 163, g = (13 * 40 + 3 * 120) / 16 = 55, b = 3 * 255 / 16 = 47.8 ->
    //   48 304: r = 3 * 200 / 16 = 37.5 -> 38, g = (3 * 40 + 13 * 120) / 16 = 105, b = 13 * 255 / 16 = 207.2
    //   -> 207
    const uint32_t colourA = pixelBGRA(0, 40, 200, 255), colourB = pixelBGRA(255, 120, 0, 255);
    const uint32_t blend303 = pixelBGRA(48, 55, 163, 255), blend304 = pixelBGRA(207, 105, 38, 255);
    QImage edge = filledCanvas(colourB);
    for (int y = 0; y < kMagnifySourceHeight; ++y)
        for (int x = 0; x < 190; ++x) at(edge, x, y) = colourA;

    for (const magnify::Kernel* kernel : kernels()) {
        SCOPED_TRACE(kernel->name);
        QImage out = magnifiedWith(*kernel, canvas);
        EXPECT_EQ(at(out, 0, 0), 0xFF102030u);
        EXPECT_EQ(at(out, kMagnifyWidth - 1, 0), 0xFF405060u);
        EXPECT_EQ(at(out, 0, kMagnifyHeight - 1), 0xFF708090u);
        EXPECT_EQ(at(out, kMagnifyWidth - 1, kMagnifyHeight - 1), 0xFFA0B0C0u);

        out = magnifiedWith(*kernel, edge);
        EXPECT_EQ(at(out, 302, 400), colourA);
        EXPECT_EQ(at(out, 303, 400), blend303);
        EXPECT_EQ(at(out, 304, 400), blend304);
        EXPECT_EQ(at(out, 305, 400), colourB);
        int wrong = 0;
        for (int y = 0; y < kMagnifyHeight; ++y)
            for (int x = 0; x < kMagnifyWidth; ++x)
                wrong += at(out, x, y) != (x < 303    ? colourA
                                           : x == 303 ? blend303
                                           : x == 304 ? blend304
                                                      : colourB);
        EXPECT_EQ(wrong, 0);
    }
}

TEST(MagnifyCanvas, ReusesItsOwnBufferButNeverWritesIntoASharedOne) {
    std::mt19937 rng = seededRng();
    const QImage first = hardCanvas(rng, false), second = hardCanvas(rng, false);
    QImage out;
    magnifyCanvas(first, out);
    const uchar* buffer = out.constBits();
    magnifyCanvas(second, out);
    EXPECT_EQ(out.constBits(), buffer);
    EXPECT_TRUE(samePicture(out, magnifyCanvasReference(second)));

    // A view still showing the previous picture keeps it.
    const QImage shown = out;
    magnifyCanvas(first, out);
    EXPECT_NE(out.constBits(), shown.constBits());
    EXPECT_TRUE(samePicture(shown, magnifyCanvasReference(second)));
    EXPECT_TRUE(samePicture(out, magnifyCanvasReference(first)));

    // A picture of the wrong size or format is replaced, not written into.
    for (QImage wrong : {QImage(kMagnifyWidth, kMagnifyHeight, QImage::Format_RGB32),
                         QImage(kMagnifyWidth - 8, kMagnifyHeight, kPremultiplied)}) {
        magnifyCanvas(first, wrong);
        EXPECT_TRUE(samePicture(wrong, magnifyCanvasReference(first)));
    }
}

TEST(MagnifyCanvas, AcceptsOtherFormatsAndSizes) {
    std::mt19937 rng = seededRng();
    const QImage canvas = hardCanvas(rng, false);
    EXPECT_TRUE(
        samePicture(magnified(canvas.convertToFormat(QImage::Format_RGB32)), magnifyCanvasReference(canvas)));
    const QImage odd = magnified(canvas.copy(0, 0, 200, 100));
    EXPECT_EQ(odd.size(), QSize(kMagnifyWidth, kMagnifyHeight));
    EXPECT_EQ(odd.format(), kPremultiplied);

    QImage inPlace = canvas;
    magnifyCanvas(inPlace, inPlace);
    EXPECT_TRUE(samePicture(inPlace, magnifyCanvasReference(canvas)));
}

TEST(MagnifyRows, RecomputesExactlyTheRowsTouchingTheBand) {
    std::mt19937 rng = seededRng();
    const QImage before = hardCanvas(rng, false);
    const int start = uniform(rng, 0, kMagnifySourceHeight - 40);
    const std::pair<int, int> bands[] = {{0, 0},     {0, 39},    {440, 479},         {479, 479},
                                         {250, 250}, {100, 139}, {start, start + 39}};
    for (const auto& [firstRow, lastRow] : bands) {
        SCOPED_TRACE(std::to_string(firstRow) + " .. " + std::to_string(lastRow));
        QImage after = before.copy();
        fillBand(after, rng, firstRow, lastRow + 1);
        for (int x = 0; x < kMagnifySourceWidth; ++x)  // both end rows surely change, by 128 a channel
            for (int y : {firstRow, lastRow}) at(after, x, y) = at(before, x, y) ^ 0x00808080u;
        const QImage expected = magnifyCanvasReference(after);

        for (const magnify::Kernel* kernel : kernels()) {
            SCOPED_TRACE(kernel->name);
            // Mark every output row; the ones out of the band's reach must keep the mark.
            QImage out = magnifiedWith(*kernel, before);
            const uint32_t mark = 0x01020304u;  // not premultiplied, so never a computed value
            for (int y = 0; y < kMagnifyHeight; ++y) at(out, 5, y) = mark;
            magnify::magnifyRowsWith(*kernel, after, out, firstRow, lastRow);

            int recomputedOutside = 0;
            for (int y = 0; y < kMagnifyHeight; ++y) {
                const MagnifyTap t = magnifyTap(y, kMagnifySourceHeight);
                if (t.second >= firstRow && t.first <= lastRow) continue;
                recomputedOutside += at(out, 5, y) != mark;
                at(out, 5, y) = at(expected, 5, y);
            }
            EXPECT_EQ(recomputedOutside, 0);
            EXPECT_TRUE(samePicture(out, expected));
        }
    }
}

TEST(MagnifyRows, IgnoresEmptyBandsAndClampsRowsOutsideTheCanvas) {
    std::mt19937 rng = seededRng();
    const QImage before = hardCanvas(rng, false), after = hardCanvas(rng, false);
    QImage out = magnified(before);
    magnifyRows(after, out, 30, 29);
    magnifyRows(after, out, -20, -1);
    magnifyRows(after, out, kMagnifySourceHeight, kMagnifySourceHeight + 5);
    EXPECT_TRUE(samePicture(out, magnified(before)));
    magnifyRows(after, out, -100, 1000);
    EXPECT_TRUE(samePicture(out, magnifyCanvasReference(after)));

    // Without an earlier picture the whole one is made.
    QImage empty;
    magnifyRows(after, empty, 10, 20);
    EXPECT_TRUE(samePicture(empty, magnifyCanvasReference(after)));
}
