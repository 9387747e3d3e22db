#pragma once
// Pixel kernels of the blend, on premultiplied 0xAARRGGBB words. The SSE2 forms give exactly the
// results of the scalar forms; the tests compare both against plain per-pixel references.
#include <cstdint>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ms::kernels {

// x * f / 255 rounded to nearest, for two 8-bit lanes (bits 0-7 and 16-23) at once; f in 0 .. 255.
inline uint32_t mulDiv255Lanes(uint32_t lanes, uint32_t f) {
    uint32_t t = lanes * f + 0x00800080u;
    return ((t + (t >> 8 & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
}

// d = s + d * (255 - sa) / 255
inline uint32_t over(uint32_t s, uint32_t d) {
    const uint32_t ia = 255 - (s >> 24);
    return s + (mulDiv255Lanes(d & 0x00FF00FFu, ia) | mulDiv255Lanes(d >> 8 & 0x00FF00FFu, ia) << 8);
}

// (a * (256 - w) + b * w) / 256 per channel, truncated; w in 0 .. 256.
inline uint32_t lerp(uint32_t a, uint32_t b, uint32_t w) {
    const uint32_t iw = 256 - w;
    const uint32_t rb = ((a & 0x00FF00FFu) * iw + (b & 0x00FF00FFu) * w) >> 8 & 0x00FF00FFu;
    const uint32_t ag = ((a >> 8 & 0x00FF00FFu) * iw + (b >> 8 & 0x00FF00FFu) * w) & 0xFF00FF00u;
    return rb | ag;
}

inline void store(uint32_t& d, uint32_t s) {
    if (s >= 0xFF000000u)
        d = s;
    else if (s != 0)
        d = over(s, d);
}

#if defined(__SSE2__)
// Two pixels of 16-bit channels times 16-bit factors, then the exact rounding of x / 255.
inline __m128i mulDiv255(__m128i x16, __m128i f16) {
    __m128i t = _mm_add_epi16(_mm_mullo_epi16(x16, f16), _mm_set1_epi16(128));
    return _mm_srli_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), 8);
}

// 255 - alpha of each pixel, repeated over its four 16-bit channels.
inline __m128i inverseAlpha16(__m128i s16) {
    const __m128i a = _mm_shufflehi_epi16(_mm_shufflelo_epi16(s16, 0xFF), 0xFF);
    return _mm_sub_epi16(_mm_set1_epi16(255), a);
}

inline __m128i over4(__m128i s, __m128i d) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i lo = mulDiv255(_mm_unpacklo_epi8(d, zero), inverseAlpha16(_mm_unpacklo_epi8(s, zero)));
    const __m128i hi = mulDiv255(_mm_unpackhi_epi8(d, zero), inverseAlpha16(_mm_unpackhi_epi8(s, zero)));
    return _mm_add_epi8(s, _mm_packus_epi16(lo, hi));
}

// Blends four source pixels onto d, skipping all-transparent and copying all-opaque groups.
inline void store4(uint32_t* d, __m128i s) {
    const __m128i zero = _mm_setzero_si128();
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(s, zero)) == 0xFFFF) return;
    const __m128i alpha = _mm_srai_epi32(s, 24);  // -1 where alpha is 255
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(alpha, _mm_set1_epi32(-1))) == 0xFFFF) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d), s);
        return;
    }
    const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d), over4(s, dv));
}

// Lerp of two pixels each (a, b as 16-bit channels) with per-pixel weights w16 (0 .. 256).
inline __m128i lerp16(__m128i a16, __m128i b16, __m128i w16) {
    const __m128i iw = _mm_sub_epi16(_mm_set1_epi16(256), w16);
    return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(a16, iw), _mm_mullo_epi16(b16, w16)), 8);
}

inline __m128i lerp4(__m128i a, __m128i b, __m128i wLo, __m128i wHi) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i lo = lerp16(_mm_unpacklo_epi8(a, zero), _mm_unpacklo_epi8(b, zero), wLo);
    const __m128i hi = lerp16(_mm_unpackhi_epi8(a, zero), _mm_unpackhi_epi8(b, zero), wHi);
    return _mm_packus_epi16(lo, hi);
}
#endif

// Source-over of n source pixels onto n destination pixels.
inline void blendRun(uint32_t* d, const uint32_t* s, int n) {
    int i = 0;
#if defined(__SSE2__)
    for (; i + 4 <= n; i += 4) store4(d + i, _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i)));
#endif
    for (; i < n; ++i) store(d[i], s[i]);
}

// out[i] = lerp(r0[i], r1[i], w) for n pixels: the vertical step of bilinear sampling.
inline void lerpRows(uint32_t* out, const uint32_t* r0, const uint32_t* r1, uint32_t w, int n) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i w16 = _mm_set1_epi16(static_cast<short>(w));
    for (; i + 4 <= n; i += 4) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(r0 + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(r1 + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), lerp4(a, b, w16, w16));
    }
#endif
    for (; i < n; ++i) out[i] = lerp(r0[i], r1[i], w);
}

// Horizontal step and blend: d[i] over= lerp(row[lo[i]], row[hi[i]], w[i]). w4 holds each
// weight repeated in four 16-bit lanes, so two of them load as one vector.
inline void blendResampled(uint32_t* d, const uint32_t* row, const int* lo, const int* hi, const uint32_t* w,
                           const uint64_t* w4, int n) {
    int i = 0;
#if defined(__SSE2__)
    for (; i + 4 <= n; i += 4) {
        const __m128i a = _mm_set_epi32(static_cast<int>(row[lo[i + 3]]), static_cast<int>(row[lo[i + 2]]),
                                        static_cast<int>(row[lo[i + 1]]), static_cast<int>(row[lo[i]]));
        const __m128i b = _mm_set_epi32(static_cast<int>(row[hi[i + 3]]), static_cast<int>(row[hi[i + 2]]),
                                        static_cast<int>(row[hi[i + 1]]), static_cast<int>(row[hi[i]]));
        const __m128i wLo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(w4 + i));
        const __m128i wHi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(w4 + i + 2));
        store4(d + i, lerp4(a, b, wLo, wHi));
    }
#else
    (void)w4;
#endif
    for (; i < n; ++i) store(d[i], lerp(row[lo[i]], row[hi[i]], w[i]));
}

#if defined(__x86_64__)
// The same three kernels in AVX2 (BlendKernelsAvx2.cpp), for processors that have it.
void blendRunAvx2(uint32_t* d, const uint32_t* s, int n);
void lerpRowsAvx2(uint32_t* out, const uint32_t* r0, const uint32_t* r1, uint32_t w, int n);
void blendResampledAvx2(uint32_t* d, const uint32_t* row, const int* lo, const int* hi, const uint32_t* w,
                        const uint64_t* w4, int n);
#endif

}  // namespace ms::kernels
