#pragma once
#include <QPointF>
#include <algorithm>
#include <cmath>

#include "imaging/PixelGrid.h"

namespace ms::test {

// The warp written out step by step from its description, pixel by pixel, on a copy: for every
// pixel of the square around the start, weight ((r - d) / r)^2 inside the circle, source half a
// drag behind, clamped to W - 2 and H - 2, bilinear per channel with `right` rounded and fy in
// single precision. Used where the square stays clear of the last column and the top row, where
// the clamp makes no difference.
inline PixelGrid referenceWarp(const PixelGrid& m, double cx, double cy, int r, QPointF S, QPointF E) {
    PixelGrid d = m;
    const double c0 = S.x() - cx, r0 = cy - S.y();
    for (int i = static_cast<int>(std::nearbyint(c0 - r)); i <= static_cast<int>(std::nearbyint(c0 + r)); ++i)
        for (int j = static_cast<int>(std::nearbyint(r0 - r)); j <= static_cast<int>(std::nearbyint(r0 + r));
             ++j) {
            if (i < 0 || i > m.width - 1 || j < 0 || j > m.height - 1) continue;
            const double dist = std::sqrt((i - c0) * (i - c0) + (j - r0) * (j - r0));
            double u = i, v = j;
            if (dist < r) {
                const double w = std::pow((r - dist) / r, 2);
                u = i + 0.5 * w * (S.x() - E.x());
                v = j + 0.5 * w * (E.y() - S.y());
            }
            u = std::min(std::max(u, 0.0), double(m.width - 2));
            v = std::min(std::max(v, 0.0), double(m.height - 2));
            const int x0 = static_cast<int>(std::floor(u)), y0 = static_cast<int>(std::floor(v));
            const double fx = u - x0;
            const float fy = static_cast<float>(v - y0);
            uint32_t out = 0;
            for (int shift : {16, 8, 0, 24}) {  // red, green, blue, alpha
                auto p = [&](int x, int y) { return static_cast<float>(m.at(x, y) >> shift & 0xFF); };
                const float left = (1 - fy) * p(x0, y0) + fy * p(x0, y0 + 1);
                const float rightReal = (1 - fy) * p(x0 + 1, y0) + fy * p(x0 + 1, y0 + 1);
                const double right = std::nearbyint(rightReal);
                const double value = std::nearbyint(fx * right + (1 - fx) * left);
                out |= static_cast<uint32_t>(value) << shift;
            }
            d.at(i, j) = out;
        }
    return d;
}

}  // namespace ms::test
