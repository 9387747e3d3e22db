#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "imaging/BlendKernels.h"
#include "support/Fixtures.h"
#include "support/TestSeed.h"

using namespace ms::kernels;

namespace {

// Premultiplied pixels in runs of one alpha: transparent, opaque, 1, 254 or anything, as the spans of
// components are.
std::vector<uint32_t> randomPixels(int n, std::mt19937& rng) {
    std::vector<uint32_t> v(n);
    for (int i = 0; i < n;) {
        const uint32_t a = static_cast<uint32_t>(ms::test::hardAlpha(rng));
        for (int run = 1 + static_cast<int>(rng() % 9); run > 0 && i < n; --run, ++i) {
            auto c = [&] { return a ? rng() % (a + 1) : 0; };
            v[i] = a << 24 | c() << 16 | c() << 8 | c();
        }
    }
    return v;
}

uint32_t overExact(uint32_t s, uint32_t d) {
    uint32_t out = 0;
    for (int sh = 0; sh < 32; sh += 8) {
        const double v = (s >> sh & 0xFF) + (d >> sh & 0xFF) * (255.0 - (s >> 24)) / 255.0;
        out |= static_cast<uint32_t>(std::lround(v)) << sh;
    }
    return out;
}

}  // namespace

TEST(BlendKernels, OverRoundsEveryAlphaAndChannelExactly) {
    for (uint32_t a = 0; a < 256; ++a)
        for (uint32_t d = 0; d < 256; d += 3) {
            const uint32_t s = a << 24 | (a / 2) << 16 | a << 8 | (a / 3);
            const uint32_t dp = d << 24 | d << 16 | (255 - d) << 8 | d;
            ASSERT_EQ(over(s, dp), overExact(s, dp)) << a << " " << d;
        }
}

TEST(BlendKernels, VectorFormsMatchTheScalarForms) {
    std::mt19937 rng = ms::test::seededRng(5);
    const bool avx2 = __builtin_cpu_supports("avx2");
    for (int round = 0; round < 300; ++round) {
        const int n = 1 + rng() % 97;
        const std::vector<uint32_t> s = randomPixels(n, rng), d = randomPixels(n, rng),
                                    r1 = randomPixels(n, rng);
        std::vector<uint32_t> scalar = d;
        for (int i = 0; i < n; ++i) store(scalar[i], s[i]);
        std::vector<uint32_t> sse = d;
        blendRun(sse.data(), s.data(), n);
        ASSERT_EQ(sse, scalar) << "round " << round;

        const uint32_t w = rng() % 257;
        std::vector<uint32_t> mixed(n), mixedScalar(n);
        for (int i = 0; i < n; ++i) mixedScalar[i] = lerp(s[i], r1[i], w);
        lerpRows(mixed.data(), s.data(), r1.data(), w, n);
        ASSERT_EQ(mixed, mixedScalar) << "round " << round;

        std::vector<int> lo(n), hi(n);
        std::vector<uint32_t> wx(n);
        std::vector<uint64_t> w4(n);
        for (int i = 0; i < n; ++i) {
            lo[i] = rng() % n, hi[i] = std::min(lo[i] + 1, n - 1), wx[i] = rng() % 256;
            w4[i] = wx[i] * 0x0001000100010001ull;
        }
        std::vector<uint32_t> resampledScalar = d, resampled = d;
        for (int i = 0; i < n; ++i) store(resampledScalar[i], lerp(s[lo[i]], s[hi[i]], wx[i]));
        blendResampled(resampled.data(), s.data(), lo.data(), hi.data(), wx.data(), w4.data(), n);
        ASSERT_EQ(resampled, resampledScalar) << "round " << round;
        if (!avx2) continue;
        std::vector<uint32_t> v = d;
        blendRunAvx2(v.data(), s.data(), n);
        ASSERT_EQ(v, scalar) << "round " << round;
        std::vector<uint32_t> mixedAvx2(n, 0xDEADBEEFu);  // not the buffer the SSE2 kernel already filled
        lerpRowsAvx2(mixedAvx2.data(), s.data(), r1.data(), w, n);
        ASSERT_EQ(mixedAvx2, mixedScalar) << "round " << round;
        v = d;
        blendResampledAvx2(v.data(), s.data(), lo.data(), hi.data(), wx.data(), w4.data(), n);
        ASSERT_EQ(v, resampledScalar) << "round " << round;
    }
}
