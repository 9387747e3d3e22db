// AVX2 forms of the blend kernels, eight pixels at a time; chosen at run time where the processor
// has AVX2. They give exactly the results of the scalar kernels in BlendKernels.h.
#include <immintrin.h>

#include "imaging/BlendKernels.h"

namespace ms::kernels {

namespace {

inline __m256i mulDiv255x8(__m256i x16, __m256i f16) {
    const __m256i t = _mm256_add_epi16(_mm256_mullo_epi16(x16, f16), _mm256_set1_epi16(128));
    return _mm256_srli_epi16(_mm256_add_epi16(t, _mm256_srli_epi16(t, 8)), 8);
}

inline __m256i inverseAlpha16x8(__m256i s16) {
    const __m256i a = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(s16, 0xFF), 0xFF);
    return _mm256_sub_epi16(_mm256_set1_epi16(255), a);
}

inline __m256i over8(__m256i s, __m256i d) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i lo =
        mulDiv255x8(_mm256_unpacklo_epi8(d, zero), inverseAlpha16x8(_mm256_unpacklo_epi8(s, zero)));
    const __m256i hi =
        mulDiv255x8(_mm256_unpackhi_epi8(d, zero), inverseAlpha16x8(_mm256_unpackhi_epi8(s, zero)));
    return _mm256_add_epi8(s, _mm256_packus_epi16(lo, hi));
}

inline void store8(uint32_t* d, __m256i s) {
    if (_mm256_testz_si256(s, s)) return;
    const __m256i opaque = _mm256_cmpeq_epi32(_mm256_srai_epi32(s, 24), _mm256_set1_epi32(-1));
    if (_mm256_movemask_epi8(opaque) == -1) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d), s);
        return;
    }
    const __m256i dv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(d), over8(s, dv));
}

inline __m256i lerp16x8(__m256i a16, __m256i b16, __m256i w16) {
    const __m256i iw = _mm256_sub_epi16(_mm256_set1_epi16(256), w16);
    return _mm256_srli_epi16(_mm256_add_epi16(_mm256_mullo_epi16(a16, iw), _mm256_mullo_epi16(b16, w16)), 8);
}

// wLo holds the weights of pixels 0, 1 and 4, 5 and wHi those of 2, 3 and 6, 7: the order in
// which unpacking within 128-bit lanes puts them.
inline __m256i lerp8(__m256i a, __m256i b, __m256i wLo, __m256i wHi) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i lo = lerp16x8(_mm256_unpacklo_epi8(a, zero), _mm256_unpacklo_epi8(b, zero), wLo);
    const __m256i hi = lerp16x8(_mm256_unpackhi_epi8(a, zero), _mm256_unpackhi_epi8(b, zero), wHi);
    return _mm256_packus_epi16(lo, hi);
}

}  // namespace

void blendRunAvx2(uint32_t* d, const uint32_t* s, int n) {
    int i = 0;
    for (; i + 8 <= n; i += 8) store8(d + i, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i)));
    for (; i < n; ++i) store(d[i], s[i]);
}

void lerpRowsAvx2(uint32_t* out, const uint32_t* r0, const uint32_t* r1, uint32_t w, int n) {
    int i = 0;
    const __m256i w16 = _mm256_set1_epi16(static_cast<short>(w));
    for (; i + 8 <= n; i += 8) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(r0 + i));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(r1 + i));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), lerp8(a, b, w16, w16));
    }
    for (; i < n; ++i) out[i] = lerp(r0[i], r1[i], w);
}

void blendResampledAvx2(uint32_t* d, const uint32_t* row, const int* lo, const int* hi, const uint32_t* w,
                        const uint64_t* w4, int n) {
    int i = 0;
    const auto* base = reinterpret_cast<const int*>(row);
    for (; i + 8 <= n; i += 8) {
        const __m256i a =
            _mm256_i32gather_epi32(base, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(lo + i)), 4);
        const __m256i b =
            _mm256_i32gather_epi32(base, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(hi + i)), 4);
        const __m128i w01 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(w4 + i));
        const __m128i w23 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(w4 + i + 2));
        const __m128i w45 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(w4 + i + 4));
        const __m128i w67 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(w4 + i + 6));
        store8(d + i, lerp8(a, b, _mm256_setr_m128i(w01, w45), _mm256_setr_m128i(w23, w67)));
    }
    for (; i < n; ++i) store(d[i], lerp(row[lo[i]], row[hi[i]], w[i]));
}

}  // namespace ms::kernels
