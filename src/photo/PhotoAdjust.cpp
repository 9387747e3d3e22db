#include "photo/PhotoAdjust.h"

#include <immintrin.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>
#include <vector>

#include "compositor/Document.h"
#include "imaging/PixelGrid.h"
#include "imaging/Rounding.h"

namespace ms {

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFFu;

QImage asRgb32(const QImage& picture) {
    return picture.format() == QImage::Format_RGB32 ? picture : picture.convertToFormat(QImage::Format_RGB32);
}

QImage whiteCanvas() {
    QImage canvas(kCanvasWidth, kCanvasHeight, QImage::Format_RGB32);
    canvas.fill(kWhite);
    return canvas;
}

const uint32_t* rowOf(const QImage& img, int y) {
    return reinterpret_cast<const uint32_t*>(img.constScanLine(y));
}
uint32_t* rowOf(QImage& img, int y) { return reinterpret_cast<uint32_t*>(img.scanLine(y)); }

// Row pointers, for the loops that walk a picture column by column.
std::vector<const uint32_t*> rowsOf(const QImage& img) {
    std::vector<const uint32_t*> rows(static_cast<size_t>(img.height()));
    for (int y = 0; y < img.height(); ++y) rows[y] = rowOf(img, y);
    return rows;
}
std::vector<uint32_t*> rowsOf(QImage& img) {
    std::vector<uint32_t*> rows(static_cast<size_t>(img.height()));
    for (int y = 0; y < img.height(); ++y) rows[y] = rowOf(img, y);
    return rows;
}

uint32_t opaquePixel(int r, int g, int b) {
    return 0xFF000000u | static_cast<uint32_t>(r) << 16 | static_cast<uint32_t>(g) << 8 |
           static_cast<uint32_t>(b);
}

// Qt's and the C library's AVX routines (fills, copies, conversions) may leave the upper halves of the
// vector registers in use; the SSE code of this file, built for the x86-64 baseline, then runs about four
// times slower until they are cleared. The loops with vector or floating-point work clear them first: one
// instruction, and none on processors without AVX, which cannot be in that state.
__attribute__((target("avx"))) void clearUpperHalvesAvx() { _mm256_zeroupper(); }
void clearUpperHalves() {
    static const bool avx = __builtin_cpu_supports("avx");
    if (avx) clearUpperHalvesAvx();
}

// ---- Resampling -----------------------------------------------------------------------------------------
//
// Separable: a vertical pass turns the source rows under one output row into one row of the source's
// width (only the columns the output window needs), a horizontal pass turns that row into the output row.
// Both passes multiply and add pairs of 16-bit lanes (SSE2 pmaddwd), two taps at a time.

// Weights have 14 fraction bits: 1.0 is 16384, which leaves a 16-bit lane room for the cubic's overshoot
// (the largest weight stays below 1.2 even where the edge of the picture cuts the kernel).
constexpr int kWeightBits = 14;
// The row between the passes keeps 6 fraction bits in 16-bit lanes (levels -512 .. 511): the cubic's
// overshoot, a few tens of levels past 0 .. 255, is neither clamped nor rounded to whole levels before the
// horizontal pass.
constexpr int kMidBits = 6;

// Catmull-Rom cubic (Keys, a = -0.5): 1 at 0 and 0 at every other integer, so it interpolates; support 2.
double catmullRom(double x) {
    constexpr double a = -0.5;
    x = std::fabs(x);
    if (x < 1) return ((a + 2) * x - (a + 3)) * x * x + 1;
    if (x < 2) return ((a * x - 5 * a) * x + 8 * a) * x - 4 * a;
    return 0;
}

// The taps of one axis scaled from `in` to `out` pixels, for the outputs from .. from + n - 1.
struct AxisTaps {
    int stride = 0;                // weight pairs stored per output
    std::vector<int> first;        // first source index of each output
    std::vector<int> pairs;        // weight pairs of each output; an odd tap count ends with a zero weight
    std::vector<int32_t> weights;  // `stride` pairs per output, the first tap's weight in the low half
    int lo = 0, hi = 0;            // source indices any output reads: [lo, hi)
};

AxisTaps axisTaps(int in, int out, int from, int n) {
    // Output pixel i covers source [i r, (i + 1) r): its centre is (i + 0.5) r, pixel j's is j + 0.5.
    // Scaling down widens the kernel by r, so every source pixel counts and fine detail averages out.
    const double r = static_cast<double>(in) / out;
    const double widen = std::max(1.0, r);
    const double support = 2 * widen;
    const int maxTaps = static_cast<int>(std::ceil(2 * support)) + 2;
    AxisTaps t;
    t.stride = (maxTaps + 1) / 2;
    t.first.resize(n);
    t.pairs.resize(n);
    t.weights.assign(static_cast<size_t>(n) * t.stride, 0);
    t.lo = in;
    std::vector<double> w(maxTaps);
    std::vector<int> q(maxTaps);
    for (int i = 0; i < n; ++i) {
        const double centre = (from + i + 0.5) * r;
        const int lo = std::max(0, static_cast<int>(std::floor(centre - support)));
        const int hi = std::min(in, static_cast<int>(std::ceil(centre + support)));
        int count = 0;
        double sum = 0;
        for (int j = lo; j < hi; ++j, ++count) {
            w[count] = catmullRom((j + 0.5 - centre) / widen);
            sum += w[count];
        }
        int s = 0, e = count;
        while (s < e - 1 && w[s] == 0) ++s;
        while (e > s + 1 && w[e - 1] == 0) --e;
        // Taps cut off by the picture's edge are left out and the rest scaled to sum to one. The rounded
        // weights are made to sum to exactly 1.0, so a plain area keeps its colour; the difference goes
        // to the largest weight, where it matters least.
        int total = 0, largest = s;
        for (int j = s; j < e; ++j) {
            q[j] = roundHalfEven(w[j] / sum * (1 << kWeightBits));
            total += q[j];
            if (w[j] > w[largest]) largest = j;
        }
        q[largest] += (1 << kWeightBits) - total;
        const int taps = e - s;
        t.first[i] = lo + s;
        t.pairs[i] = (taps + 1) / 2;
        for (int k = 0; k < taps; ++k) {
            const uint32_t bits = static_cast<uint16_t>(static_cast<int16_t>(q[s + k]));
            int32_t& pair = t.weights[static_cast<size_t>(i) * t.stride + k / 2];
            pair = static_cast<int32_t>(static_cast<uint32_t>(pair) | bits << (k % 2 ? 16 : 0));
        }
        t.lo = std::min(t.lo, t.first[i]);
        t.hi = std::max(t.hi, t.first[i] + taps);
    }
    return t;
}

// One row of the vertical pass: `rows` holds two source row pointers per weight pair (already moved to
// the first column needed); `mid` receives `width` pixels of four 16-bit channels with kMidBits fraction
// bits, in the byte order of the source pixels.
void verticalPass(const uint32_t* const* rows, const int32_t* weights, int pairs, int width, int16_t* mid) {
    constexpr int kShift = kWeightBits - kMidBits;
    const __m128i zero = _mm_setzero_si128();
    const __m128i half = _mm_set1_epi32(1 << (kShift - 1));
    int x = 0;
    for (; x + 4 <= width; x += 4) {
        __m128i a0 = half, a1 = half, a2 = half, a3 = half;
        for (int k = 0; k < pairs; ++k) {
            const __m128i w = _mm_set1_epi32(weights[k]);
            const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[2 * k] + x));
            const __m128i q = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[2 * k + 1] + x));
            // Channel c of pixel i of both rows side by side: (p, q) pairs for the multiply-add.
            const __m128i lo = _mm_unpacklo_epi8(p, q), hi = _mm_unpackhi_epi8(p, q);
            a0 = _mm_add_epi32(a0, _mm_madd_epi16(_mm_unpacklo_epi8(lo, zero), w));
            a1 = _mm_add_epi32(a1, _mm_madd_epi16(_mm_unpackhi_epi8(lo, zero), w));
            a2 = _mm_add_epi32(a2, _mm_madd_epi16(_mm_unpacklo_epi8(hi, zero), w));
            a3 = _mm_add_epi32(a3, _mm_madd_epi16(_mm_unpackhi_epi8(hi, zero), w));
        }
        const __m128i m01 = _mm_packs_epi32(_mm_srai_epi32(a0, kShift), _mm_srai_epi32(a1, kShift));
        const __m128i m23 = _mm_packs_epi32(_mm_srai_epi32(a2, kShift), _mm_srai_epi32(a3, kShift));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(mid + 4 * x), m01);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(mid + 4 * x + 8), m23);
    }
    for (; x < width; ++x) {
        std::array<int32_t, 4> acc;
        acc.fill(1 << (kShift - 1));
        for (int k = 0; k < pairs; ++k) {
            const int w0 = static_cast<int16_t>(weights[k] & 0xFFFF),
                      w1 = static_cast<int16_t>(weights[k] >> 16);
            const uint32_t p = rows[2 * k][x], q = rows[2 * k + 1][x];
            for (int c = 0; c < 4; ++c)
                acc[c] +=
                    w0 * static_cast<int>(p >> (8 * c) & 0xFF) + w1 * static_cast<int>(q >> (8 * c) & 0xFF);
        }
        for (int c = 0; c < 4; ++c) mid[4 * x + c] = static_cast<int16_t>(acc[c] >> kShift);
    }
}

// One row of the horizontal pass from the vertical pass's row, whose first pixel is source column lo.
void horizontalPass(const int16_t* mid, const AxisTaps& t, int n, uint32_t* out) {
    constexpr int kShift = kWeightBits + kMidBits;
    const __m128i half = _mm_set1_epi32(1 << (kShift - 1));
    for (int i = 0; i < n; ++i) {
        const int16_t* m = mid + 4 * (t.first[i] - t.lo);
        const int32_t* w = &t.weights[static_cast<size_t>(i) * t.stride];
        __m128i acc = half;
        for (int k = 0; k < t.pairs[i]; ++k) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(m + 8 * k));
            // (b0 g0 r0 a0 b1 g1 r1 a1) to (b0 b1 g0 g1 r0 r1 a0 a1): channel pairs for the multiply-add.
            const __m128i p = _mm_unpacklo_epi16(v, _mm_srli_si128(v, 8));
            acc = _mm_add_epi32(acc, _mm_madd_epi16(p, _mm_set1_epi32(w[k])));
        }
        const __m128i words = _mm_packs_epi32(_mm_srai_epi32(acc, kShift), _mm_setzero_si128());
        out[i] = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(words, words))) | 0xFF000000u;
    }
}

// ---- Per-pixel formulas ---------------------------------------------------------------------------------

// Colour sliders, one channel: c' = k c + D + shift, rounded and clamped to 0 .. 255, with k = contrast / 20
// and D = round(brightness + 127 - 127 k), so that contrast pivots about level 127.
int colourLevel(int c, double k, int d, int shift) {
    return std::clamp(roundHalfEven(k * c + d + shift), 0, 255);
}

// Skin tone, one channel: how much a pixel of luminance `luma` (0 .. 255) moves when the patch misses the
// skin colour by `diff` (patch minus skin). The whole difference at luminance 230, proportionally less
// towards black (over 230 levels) and towards white (over the last 25). The product is rounded, then
// divided with truncation toward zero.
int skinShift(double luma, int diff) {
    if (luma <= 230) return roundHalfEven(luma * diff) / 230;
    return roundHalfEven((255 - luma) * diff) / 25;
}

double luminance(uint32_t p) { return 0.3 * qRed(p) + 0.59 * qGreen(p) + 0.11 * qBlue(p); }

}  // namespace

QImage resampled(const QImage& source, QSize size, QRect window) {
    window &= QRect(QPoint(0, 0), size);
    if (source.isNull() || size.isEmpty() || window.isEmpty()) return {};
    const QImage src = asRgb32(source);
    if (size == src.size()) return src.copy(window);

    const AxisTaps across = axisTaps(src.width(), size.width(), window.left(), window.width());
    const AxisTaps down = axisTaps(src.height(), size.height(), window.top(), window.height());
    QImage out(window.size(), QImage::Format_RGB32);
    if (out.isNull()) return {};
    // One pixel more than the columns read: a pair whose second weight is zero reads one past the last.
    std::vector<int16_t> mid(static_cast<size_t>(across.hi - across.lo + 1) * 4, 0);
    std::vector<const uint32_t*> rows(static_cast<size_t>(down.stride) * 2);
    clearUpperHalves();
    for (int y = 0; y < window.height(); ++y) {
        const int first = down.first[y], pairs = down.pairs[y];
        // The zero-weight partner of an odd last tap is the same row again, never one past the picture.
        const int last = std::min(first + 2 * pairs, src.height()) - 1;
        for (int k = 0; k < 2 * pairs; ++k) rows[k] = rowOf(src, std::min(first + k, last)) + across.lo;
        verticalPass(rows.data(), &down.weights[static_cast<size_t>(y) * down.stride], pairs,
                     across.hi - across.lo, mid.data());
        horizontalPass(mid.data(), across, window.width(), rowOf(out, y));
    }
    return out;
}

QSize workingCopySize(QSize decoded) {
    const int w = decoded.width(), h = decoded.height();
    if (w <= kPhotoMaxWidth && h <= kPhotoMaxHeight) return decoded;
    // The side that reaches its limit first takes it; the other keeps the proportions.
    if (int64_t{w} * kPhotoMaxHeight >= int64_t{h} * kPhotoMaxWidth)
        return QSize(kPhotoMaxWidth, std::max(1, roundHalfEven(static_cast<double>(h) * kPhotoMaxWidth / w)));
    return QSize(std::max(1, roundHalfEven(static_cast<double>(w) * kPhotoMaxHeight / h)), kPhotoMaxHeight);
}

QImage workingCopy(const QImage& decoded) {
    const QImage rgb = asRgb32(decoded);
    const QSize size = workingCopySize(rgb.size());
    return size == rgb.size() ? rgb : resampled(rgb, size, QRect(QPoint(0, 0), size));
}

QRect fitPlacement(QSize source, FitSliders sliders) {
    // W * size / 50 rather than W * (size / 50): the product is exact, so a placement that falls on a half
    // pixel is seen as one and rounds to even.
    const double w = source.width() * sliders.size / 50.0, h = source.height() * sliders.size / 50.0;
    const int x0 = roundHalfEven(sliders.across + (kCanvasWidth - w) / 2);
    const int y0 = roundHalfEven((kCanvasHeight - h) / 2 - sliders.up);
    return QRect(x0, y0, roundHalfEven(w), roundHalfEven(h));
}

QImage fitPhoto(const QImage& source, FitSliders sliders) {
    QImage canvas = whiteCanvas();
    if (source.isNull()) return canvas;
    const QRect placed = fitPlacement(source.size(), sliders);
    // A placement of no size, or wholly off the canvas, leaves the canvas white rather than empty.
    if (placed.width() <= 0 || placed.height() <= 0) return canvas;
    const QRect visible = placed & canvas.rect();
    if (visible.isEmpty()) return canvas;
    const QImage part = resampled(source, placed.size(), visible.translated(-placed.topLeft()));
    for (int y = 0; y < part.height(); ++y)
        std::memcpy(rowOf(canvas, visible.top() + y) + visible.left(), rowOf(part, y),
                    static_cast<size_t>(part.width()) * 4);
    return canvas;
}

void captureRotation(const QImage& canvasView, RotationGrid& grid, const ColumnProgress& progress) {
    std::fill(grid.values.begin(), grid.values.end(), 0xFFFFFFFFu);
    const QImage view = asRgb32(canvasView);
    const std::vector<const uint32_t*> rows = rowsOf(view);
    const int height = std::min(kCanvasHeight + 1, view.height());
    clearUpperHalves();
    for (int x = 0; x <= kCanvasWidth; ++x) {
        if (x < view.width())
            for (int y = 0; y < height; ++y) {
                const uint32_t p = rows[y][x];
                grid.at(x, y) = static_cast<uint32_t>(colourValue(qRed(p), qGreen(p), qBlue(p)));
            }
        if (progress) {
            progress(x);
            clearUpperHalves();  // a progress bar may have painted
        }
    }
}

QImage rotatePhoto(const RotationGrid& grid, int degrees) {
    // About the canvas centre; the open rectangle keeps every bilinear sample's four grid positions on
    // the captured picture (columns 0 .. 379, rows 0 .. 479).
    constexpr double cx = kCanvasWidth / 2, cy = kCanvasHeight / 2;
    constexpr double maxX = kCanvasWidth - 1, maxY = kCanvasHeight - 1;
    const double phi = degrees * std::numbers::pi / 180;
    const double c = std::cos(phi), s = std::sin(phi);
    QImage out = whiteCanvas();
    clearUpperHalves();
    for (int y = 0; y < kCanvasHeight; ++y) {
        uint32_t* row = rowOf(out, y);
        for (int x = 0; x < kCanvasWidth; ++x) {
            const double X = c * (x - cx) + s * (y - cy) + cx;
            const double Y = c * (y - cy) - s * (x - cx) + cy;
            if (X > 0 && X < maxX && Y > 0 && Y < maxY) {
                const std::array<double, 3> v = sample_bilinear(grid, X, Y);
                row[x] = opaquePixel(roundHalfEven(v[0]), roundHalfEven(v[1]), roundHalfEven(v[2]));
            }
        }
    }
    return out;
}

QImage adjustColours(const QImage& background, ColourSliders sliders) {
    const QImage src = asRgb32(background);
    if (src.isNull()) return src;
    const double k = sliders.contrast / 20.0;
    const int d = roundHalfEven((sliders.brightness + 127) - 127 * k);
    std::array<uint32_t, 256> red, green, blue;  // each level moved to its place in the pixel
    for (int c = 0; c < 256; ++c) {
        red[c] = static_cast<uint32_t>(colourLevel(c, k, d, sliders.red)) << 16;
        green[c] = static_cast<uint32_t>(colourLevel(c, k, d, sliders.green)) << 8;
        blue[c] = static_cast<uint32_t>(colourLevel(c, k, d, 0));
    }
    QImage out(src.size(), QImage::Format_RGB32);
    for (int y = 0; y < src.height(); ++y) {
        const uint32_t* from = rowOf(src, y);
        uint32_t* to = rowOf(out, y);
        for (int x = 0; x < src.width(); ++x) {
            const uint32_t p = from[x];
            to[x] = 0xFF000000u | red[p >> 16 & 0xFF] | green[p >> 8 & 0xFF] | blue[p & 0xFF];
        }
    }
    return out;
}

bool coversSkinPatch(const QImage& canvasView) {
    return canvasView.width() > kSkinPatch.right() && canvasView.height() > kSkinPatch.bottom();
}

QImage correctSkinTone(const QImage& canvasView, const QImage& background, const ColumnProgress& progress) {
    const QImage src = asRgb32(background);
    if (src.isNull() || !coversSkinPatch(canvasView)) return src;
    const QImage view = asRgb32(canvasView);
    int sumR = 0, sumG = 0, sumB = 0;
    for (int y = kSkinPatch.top(); y <= kSkinPatch.bottom(); ++y)
        for (int x = kSkinPatch.left(); x <= kSkinPatch.right(); ++x) {
            const uint32_t p = rowOf(view, y)[x];
            sumR += qRed(p);
            sumG += qGreen(p);
            sumB += qBlue(p);
        }
    // Whole-level averages: integer division drops the fraction.
    const int n = kSkinPatch.width() * kSkinPatch.height();
    const int dR = sumR / n - kSkinRed, dG = sumG / n - kSkinGreen, dB = sumB / n - kSkinBlue;
    QImage out(src.size(), QImage::Format_RGB32);
    const std::vector<const uint32_t*> from = rowsOf(src);
    const std::vector<uint32_t*> to = rowsOf(out);
    const auto level = [](int c, int shift) { return std::clamp(c - shift, 0, 255); };
    clearUpperHalves();
    for (int x = 0; x < src.width(); ++x) {
        for (int y = 0; y < src.height(); ++y) {
            const uint32_t p = from[y][x];
            const double luma = luminance(p);
            to[y][x] = opaquePixel(level(qRed(p), skinShift(luma, dR)), level(qGreen(p), skinShift(luma, dG)),
                                   level(qBlue(p), skinShift(luma, dB)));
        }
        if (progress) {
            progress(x);
            clearUpperHalves();  // a progress bar may have painted
        }
    }
    return out;
}

}  // namespace ms
