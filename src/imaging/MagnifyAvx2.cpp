// The magnifier's AVX2 kernel. This file alone is compiled with -mavx2 and only runs when bestKernel()
// found AVX2, so it calls no inline function from a header at run time (see MagnifyKernels.h).
#include <immintrin.h>

#include "imaging/MagnifyKernels.h"

#ifndef __AVX2__
#error "MagnifyAvx2.cpp must be compiled with -mavx2"
#endif

namespace ms::magnify {

namespace {

// A block's 32 values are made as two vectors, each a 128-bit half of two output pixels: A holds columns
// 0 1 | 4 5 and B columns 2 3 | 6 7. The vertical pass packs A and B with one vpackuswb, which interleaves
// the halves, and so writes columns 0 .. 7 in order. Each half is a pshufb of 16 source bytes (a window of
// 4 pixels) into (first, second) byte pairs for every channel, then a vpmaddubsw with (16 - frac, frac).
constexpr int kHalfColumns[4][2] = {{0, 1}, {4, 5}, {2, 3}, {6, 7}};  // A low, A high, B low, B high

// Which pixel each half's window starts at, relative to 5b, and the shuffle and weight bytes for a block.
// Inner blocks start the windows at -1, 2, 1, 2; the first block cannot read pixel -1 and the last cannot
// read pixel 380, so theirs start inside the row and the clamped taps point at the edge pixel.
struct BlockPlan {
    int window[4];
    int8_t control[2][32];
    int8_t weight[2][32];
};

constexpr BlockPlan makePlan(int b, int w0, int w1, int w2, int w3) {
    BlockPlan plan{{w0, w1, w2, w3}, {}, {}};
    for (int half = 0; half < 4; ++half)
        for (int i = 0; i < 2; ++i) {
            const MagnifyTap t = magnifyTap(8 * b + kHalfColumns[half][i], kMagnifySourceWidth);
            const int first = t.first - 5 * b - plan.window[half],
                      second = t.second - 5 * b - plan.window[half];
            for (int c = 0; c < 4; ++c) {
                const int at = 16 * (half % 2) + 8 * i + 2 * c;
                plan.control[half / 2][at] = static_cast<int8_t>(4 * first + c);
                plan.control[half / 2][at + 1] = static_cast<int8_t>(4 * second + c);
                plan.weight[half / 2][at] = static_cast<int8_t>(16 - t.frac);
                plan.weight[half / 2][at + 1] = static_cast<int8_t>(t.frac);
            }
        }
    return plan;
}

constexpr bool windowsHold(const BlockPlan& plan, int b) {
    for (int half = 0; half < 2; ++half)
        for (int i = 0; i < 32; ++i)
            if (plan.control[half][i] < 0 || plan.control[half][i] > 15) return false;
    for (int w : plan.window)
        if (5 * b + w < 0 || 5 * b + w + 3 > kMagnifySourceWidth - 1) return false;
    return true;
}

constexpr BlockPlan kFirstPlan = makePlan(0, 0, 2, 1, 2);
constexpr BlockPlan kInnerPlan = makePlan(1, -1, 2, 1, 2);
constexpr BlockPlan kLastPlan = makePlan(kBlocks - 1, -1, 1, 1, 1);

// Every inner block has the plan of block 1 (the taps shift by exactly 5 pixels every 8 columns).
constexpr bool innerBlocksAlike() {
    for (int b = 2; b < kBlocks - 1; ++b) {
        const BlockPlan p = makePlan(b, -1, 2, 1, 2);
        for (int half = 0; half < 2; ++half)
            for (int i = 0; i < 32; ++i)
                if (p.control[half][i] != kInnerPlan.control[half][i] ||
                    p.weight[half][i] != kInnerPlan.weight[half][i] || !windowsHold(p, b))
                    return false;
    }
    return true;
}
static_assert(windowsHold(kFirstPlan, 0) && windowsHold(kInnerPlan, 1) &&
              windowsHold(kLastPlan, kBlocks - 1));
static_assert(innerBlocksAlike());

inline __m256i load256(const void* p) { return _mm256_loadu_si256(static_cast<const __m256i*>(p)); }
inline __m128i load128(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }

inline void block(const uint8_t* src, uint16_t* h, int b, const BlockPlan& plan, __m256i controlA,
                  __m256i controlB, __m256i weightA, __m256i weightB) {
    const uint8_t* p = src + 4 * 5 * b;
    const __m256i bias = _mm256_set1_epi16(kRowBias);
    const __m256i pixelsA = _mm256_inserti128_si256(_mm256_castsi128_si256(load128(p + 4 * plan.window[0])),
                                                    load128(p + 4 * plan.window[1]), 1);
    const __m256i pixelsB = _mm256_inserti128_si256(_mm256_castsi128_si256(load128(p + 4 * plan.window[2])),
                                                    load128(p + 4 * plan.window[3]), 1);
    // Each pair sums to at most 16 * 255, far from where vpmaddubsw saturates.
    const __m256i ha =
        _mm256_add_epi16(_mm256_maddubs_epi16(_mm256_shuffle_epi8(pixelsA, controlA), weightA), bias);
    const __m256i hb =
        _mm256_add_epi16(_mm256_maddubs_epi16(_mm256_shuffle_epi8(pixelsB, controlB), weightB), bias);
    _mm256_store_si256(reinterpret_cast<__m256i*>(h + 32 * b), ha);
    _mm256_store_si256(reinterpret_cast<__m256i*>(h + 32 * b + 16), hb);
}

inline void planBlock(const uint8_t* src, uint16_t* h, int b, const BlockPlan& plan) {
    block(src, h, b, plan, load256(plan.control[0]), load256(plan.control[1]), load256(plan.weight[0]),
          load256(plan.weight[1]));
}

void horizontalAvx2(const uint8_t* src, uint16_t* h) {
    planBlock(src, h, 0, kFirstPlan);
    planBlock(src, h, kBlocks - 1, kLastPlan);
    const __m256i controlA = load256(kInnerPlan.control[0]), controlB = load256(kInnerPlan.control[1]);
    const __m256i weightA = load256(kInnerPlan.weight[0]), weightB = load256(kInnerPlan.weight[1]);
    for (int b = 1; b < kBlocks - 1; ++b) block(src, h, b, kInnerPlan, controlA, controlB, weightA, weightB);
}

// As verticalSse2, 16 values a vector: (16 - fy) (h0 + 8) + fy (h1 + 8) = v + 128 <= 65408, shifted by 8.
void verticalAvx2(const uint16_t* h0, const uint16_t* h1, int fy, uint8_t* dst) {
    const __m256i w0 = _mm256_set1_epi16(static_cast<short>(16 - fy));
    const __m256i w1 = _mm256_set1_epi16(static_cast<short>(fy));
    auto lanes = [&](int i) {
        const __m256i a = _mm256_load_si256(reinterpret_cast<const __m256i*>(h0 + i));
        const __m256i b = _mm256_load_si256(reinterpret_cast<const __m256i*>(h1 + i));
        return _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(a, w0), _mm256_mullo_epi16(b, w1)), 8);
    };
    for (int i = 0; i < kRowLanes; i += 32)
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i),
                            _mm256_packus_epi16(lanes(i), lanes(i + 16)));
}

}  // namespace

const Kernel kAvx2Kernel{"AVX2", horizontalAvx2, verticalAvx2};

}  // namespace ms::magnify
