#pragma once
#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "imaging/PixelGrid.h"

namespace ms {

// B, G, R multiplied by A / 255, rounded to nearest (the product is never a tie). Alpha unchanged.
void premultiply_pixel(uint32_t& pixel);

// Integer form of premultiply_pixel, for whole grids and surfaces:
// c' = (c * a + 127) / 255 per colour channel. c * a / 255 is never a tie, so this is the same
// nearest integer; the tests check all 65536 cases against the float form.
inline uint32_t premultiplied(uint32_t p) {
    const uint32_t a = p >> 24;
    if (a == 255) return p;
    if (a == 0) return 0;
    const uint32_t r = ((p >> 16 & 0xFF) * a + 127) / 255;
    const uint32_t g = ((p >> 8 & 0xFF) * a + 127) / 255;
    const uint32_t b = ((p & 0xFF) * a + 127) / 255;
    return a << 24 | r << 16 | g << 8 | b;
}

// The 501 x 501 source grid of photo rotation, both indices 0 .. 500.
struct RotationGrid {
    static constexpr int kSize = 501;
    std::vector<uint32_t> values = std::vector<uint32_t>(kSize * kSize, 0);
    uint32_t& at(int x, int y) { return values[static_cast<size_t>(y) * kSize + x]; }
    uint32_t at(int x, int y) const { return values[static_cast<size_t>(y) * kSize + x]; }
};

// Bilinear sample at real position (x, y); channel k of a value is bits 8k .. 8k+7.
// Callers keep floor(x) and floor(y) within 0 .. 499.
std::array<double, 3> sample_bilinear(const RotationGrid& grid, double x, double y);

struct Hsv {
    double h = 0;  // degrees [0, 360)
    double s = 0;  // 0 .. 100
    double v = 0;  // 0 .. 100
};
struct Rgb {
    int c0 = 0, c1 = 0, c2 = 0;  // red, green, blue 0 .. 255
};

Hsv rgb_to_hsv(int c0, int c1, int c2);
Rgb hsv_to_rgb(double h, double s, double v);

// Sorted copy of values[1 .. n] (index 0 unused). Without the ascending flag the result is largest
// first and, among equal values, the one with the higher index comes first; with the flag it is the
// exact reverse. This is the ordering of a repeated largest-unused-value selection; it is computed
// with a stable sort so that long listings stay fast.
template <typename T>
std::vector<T> sort_by_key(const std::vector<T>& values, int n, bool ascending) {
    std::vector<T> out(values.begin() + 1, values.begin() + 1 + n);
    std::stable_sort(out.begin(), out.end(), [](const T& a, const T& b) { return a < b; });
    if (!ascending) std::reverse(out.begin(), out.end());
    out.insert(out.begin(), T{});
    return out;
}

}  // namespace ms
