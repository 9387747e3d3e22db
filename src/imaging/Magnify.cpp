#include "imaging/Magnify.h"

#include <emmintrin.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "imaging/MagnifyKernels.h"

namespace ms {

namespace magnify {

namespace {

constexpr QImage::Format kFormat = QImage::Format_ARGB32_Premultiplied;

template <int N, int Size>
constexpr std::array<MagnifyTap, N> tapTable() {
    std::array<MagnifyTap, N> t{};
    for (int d = 0; d < N; ++d) t[d] = magnifyTap(d, Size);
    return t;
}
constexpr auto kColumnTaps = tapTable<kMagnifyWidth, kMagnifySourceWidth>();
constexpr auto kRowTaps = tapTable<kMagnifyHeight, kMagnifySourceHeight>();

// Relative to source pixel 5b, the columns of block b mix these pixels with the next ones, with the weights
// of block 1; the SSE2 code below is written for exactly this pattern. Only the first and the last column
// are clamped to the edge: there the pattern reads pixels -1 and 0, and 379 and 380, and the widened row
// holds copies of the edge pixel at -1 and 380. Weights summing to 16 on two equal pixels give exactly the
// clamped value.
constexpr int kPatternFirst[8] = {-1, 0, 1, 1, 2, 2, 3, 4};
constexpr bool patternHolds() {
    for (int b = 0; b < kBlocks; ++b)
        for (int k = 0; k < 8; ++k) {
            const MagnifyTap t = kColumnTaps[8 * b + k];
            const int first = 5 * b + kPatternFirst[k];
            if (first < 0 || first + 1 > kMagnifySourceWidth - 1) {
                if (t.first != std::clamp(first, 0, kMagnifySourceWidth - 1) || t.second != t.first)
                    return false;
            } else if (t.first != first || t.second != first + 1 || t.frac != kColumnTaps[8 + k].frac) {
                return false;
            }
        }
    return true;
}
static_assert(patternHolds());

// The weights of the 8 columns of a block as four vectors of two pixels, 16-bit lanes.
struct BlockWeights {
    __m128i first[4], second[4];
    BlockWeights() {
        for (int pair = 0; pair < 4; ++pair) {
            const short f0 = static_cast<short>(kColumnTaps[8 + 2 * pair].frac);
            const short f1 = static_cast<short>(kColumnTaps[8 + 2 * pair + 1].frac);
            second[pair] = _mm_setr_epi16(f0, f0, f0, f0, f1, f1, f1, f1);
            first[pair] = _mm_sub_epi16(_mm_set1_epi16(16), second[pair]);
        }
    }
};

inline __m128i weigh(__m128i first, __m128i second, const BlockWeights& w, int pair) {
    const __m128i h =
        _mm_add_epi16(_mm_mullo_epi16(first, w.first[pair]), _mm_mullo_epi16(second, w.second[pair]));
    return _mm_add_epi16(h, _mm_set1_epi16(kRowBias));
}

// The SSE2 horizontal pass, values in output order. The row is first widened to 16-bit lanes with the edge
// pixels repeated once beyond both ends, so that every block is the same vector code and any pixel pair is
// one unaligned load.
void horizontalSse2(const uint8_t* src, uint16_t* h) {
    static const BlockWeights w;
    constexpr int kPixelLanes = 4;
    alignas(16) uint16_t wide[kPixelLanes * (kMagnifySourceWidth + 4)];
    uint16_t* px = wide + 2 * kPixelLanes;  // pixel 0, 16-byte aligned; pixels -1 and 380 are used
    const __m128i zero = _mm_setzero_si128();
    for (int i = 0; i < 4 * kMagnifySourceWidth; i += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        _mm_store_si128(reinterpret_cast<__m128i*>(px + i), _mm_unpacklo_epi8(bytes, zero));
        _mm_store_si128(reinterpret_cast<__m128i*>(px + i + 8), _mm_unpackhi_epi8(bytes, zero));
    }
    std::memcpy(px - kPixelLanes, px, sizeof(uint16_t) * kPixelLanes);
    std::memcpy(px + kPixelLanes * kMagnifySourceWidth, px + kPixelLanes * (kMagnifySourceWidth - 1),
                sizeof(uint16_t) * kPixelLanes);
    auto pair = [&](int pixel) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(px + kPixelLanes * pixel));
    };
    for (int b = 0; b < kBlocks; ++b) {
        const int p = 5 * b;  // pXY holds pixels p + X and p + Y, m0 pixels p - 1 and p
        const __m128i m0 = pair(p - 1), p01 = pair(p), p12 = pair(p + 1), p34 = pair(p + 3),
                      p45 = pair(p + 4);
        const __m128i p11 = _mm_shuffle_epi32(p12, _MM_SHUFFLE(1, 0, 1, 0));
        const __m128i p22 = _mm_shuffle_epi32(p12, _MM_SHUFFLE(3, 2, 3, 2));
        const __m128i p33 = _mm_shuffle_epi32(p34, _MM_SHUFFLE(1, 0, 1, 0));
        __m128i* out = reinterpret_cast<__m128i*>(h + 32 * b);
        _mm_store_si128(out, weigh(m0, p01, w, 0));
        _mm_store_si128(out + 1, weigh(p11, p22, w, 1));
        _mm_store_si128(out + 2, weigh(p22, p33, w, 2));
        _mm_store_si128(out + 3, weigh(p34, p45, w, 3));
    }
}

// magnifyChannel's vertical half and rounding on two cached rows: (16 - fy) (h0 + 8) + fy (h1 + 8)
// = v + 128 exactly (at most 65408, so unsigned 16-bit lanes hold it, and the low 16 bits that mullo keeps
// are the whole product), shifted right by 8.
void verticalSse2(const uint16_t* h0, const uint16_t* h1, int fy, uint8_t* dst) {
    const __m128i w0 = _mm_set1_epi16(static_cast<short>(16 - fy));
    const __m128i w1 = _mm_set1_epi16(static_cast<short>(fy));
    auto lanes = [&](int i) {
        const __m128i a = _mm_load_si128(reinterpret_cast<const __m128i*>(h0 + i));
        const __m128i b = _mm_load_si128(reinterpret_cast<const __m128i*>(h1 + i));
        return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(a, w0), _mm_mullo_epi16(b, w1)), 8);
    };
    for (int i = 0; i < kRowLanes; i += 16)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_packus_epi16(lanes(i), lanes(i + 8)));
}

// Output rows firstRow .. lastRow of `out` (608 x 768, kFormat, already detached) from `canvas`
// (380 x 480, kFormat). Each source row needed goes through the horizontal pass once.
void magnifyOutputRows(const Kernel& kernel, const QImage& canvas, uint8_t* out, qsizetype outStride,
                       int firstRow, int lastRow) {
    alignas(32) uint16_t cache[2][kRowLanes];
    int cached[2] = {-1, -1};
    const uint8_t* src = canvas.constBits();
    const qsizetype srcStride = canvas.bytesPerLine();
    // A row's two source rows are consecutive, so slot (row & 1) never evicts the other one in use.
    auto row = [&](int sy) -> const uint16_t* {
        const int slot = sy & 1;
        if (cached[slot] != sy) {
            kernel.horizontal(src + sy * srcStride, cache[slot]);
            cached[slot] = sy;
        }
        return cache[slot];
    };
    for (int y = firstRow; y <= lastRow; ++y) {
        const MagnifyTap t = kRowTaps[y];
        const uint16_t* h0 = row(t.first);
        const uint16_t* h1 = row(t.second);
        kernel.vertical(h0, h1, t.frac, out + y * outStride);
    }
}

bool isMagnifiedPicture(const QImage& img) {
    return img.width() == kMagnifyWidth && img.height() == kMagnifyHeight && img.format() == kFormat;
}

}  // namespace

const Kernel kSse2Kernel{"SSE2", horizontalSse2, verticalSse2};

const Kernel& bestKernel() {
    static const Kernel& best = __builtin_cpu_supports("avx2") ? kAvx2Kernel : kSse2Kernel;
    return best;
}

void magnifyCanvasWith(const Kernel& kernel, const QImage& canvas, QImage& out) {
    if (&canvas == &out) {  // replacing `out` below would replace the canvas too
        magnifyCanvasWith(kernel, QImage(canvas), out);
        return;
    }
    if (canvas.width() != kMagnifySourceWidth || canvas.height() != kMagnifySourceHeight) {
        out = canvas.scaled(kMagnifyWidth, kMagnifyHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                  .convertToFormat(kFormat);
        return;
    }
    if (canvas.format() != kFormat) {
        magnifyCanvasWith(kernel, canvas.convertToFormat(kFormat), out);
        return;
    }
    // A shared buffer would be copied by bits() only to be overwritten; take a fresh one instead.
    if (!isMagnifiedPicture(out) || !out.isDetached()) out = QImage(kMagnifyWidth, kMagnifyHeight, kFormat);
    magnifyOutputRows(kernel, canvas, out.bits(), out.bytesPerLine(), 0, kMagnifyHeight - 1);
}

void magnifyRowsWith(const Kernel& kernel, const QImage& canvas, QImage& out, int firstSourceRow,
                     int lastSourceRow) {
    if (canvas.width() != kMagnifySourceWidth || canvas.height() != kMagnifySourceHeight ||
        canvas.format() != kFormat || !isMagnifiedPicture(out)) {
        magnifyCanvasWith(kernel, canvas, out);
        return;
    }
    firstSourceRow = std::max(firstSourceRow, 0);
    lastSourceRow = std::min(lastSourceRow, kMagnifySourceHeight - 1);
    if (firstSourceRow > lastSourceRow) return;
    // Both source rows of a tap rise with the output row, so the rows touching the band are one run.
    int firstRow = 0;
    while (kRowTaps[firstRow].second < firstSourceRow) ++firstRow;
    int lastRow = kMagnifyHeight - 1;
    while (kRowTaps[lastRow].first > lastSourceRow) --lastRow;
    magnifyOutputRows(kernel, canvas, out.bits(), out.bytesPerLine(), firstRow, lastRow);
}

}  // namespace magnify

void magnifyCanvas(const QImage& canvas, QImage& out) {
    magnify::magnifyCanvasWith(magnify::bestKernel(), canvas, out);
}

void magnifyRows(const QImage& canvas, QImage& out, int firstSourceRow, int lastSourceRow) {
    magnify::magnifyRowsWith(magnify::bestKernel(), canvas, out, firstSourceRow, lastSourceRow);
}

QImage magnifyCanvasReference(const QImage& canvas) {
    constexpr QImage::Format kFormat = QImage::Format_ARGB32_Premultiplied;
    if (canvas.width() != kMagnifySourceWidth || canvas.height() != kMagnifySourceHeight) return {};
    const QImage src = canvas.convertToFormat(kFormat);
    QImage out(kMagnifyWidth, kMagnifyHeight, kFormat);
    for (int y = 0; y < kMagnifyHeight; ++y) {
        const MagnifyTap ty = magnifyTap(y, src.height());
        const auto* row0 = reinterpret_cast<const uint32_t*>(src.constScanLine(ty.first));
        const auto* row1 = reinterpret_cast<const uint32_t*>(src.constScanLine(ty.second));
        auto* dst = reinterpret_cast<uint32_t*>(out.scanLine(y));
        for (int x = 0; x < kMagnifyWidth; ++x) {
            const MagnifyTap tx = magnifyTap(x, src.width());
            const uint32_t p00 = row0[tx.first], p10 = row0[tx.second];
            const uint32_t p01 = row1[tx.first], p11 = row1[tx.second];
            uint32_t pixel = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                const int c = magnifyChannel(p00 >> shift & 0xFF, p10 >> shift & 0xFF, p01 >> shift & 0xFF,
                                             p11 >> shift & 0xFF, tx.frac, ty.frac);
                pixel |= static_cast<uint32_t>(c) << shift;
            }
            dst[x] = pixel;
        }
    }
    return out;
}

}  // namespace ms
