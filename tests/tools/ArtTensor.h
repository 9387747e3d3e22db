#pragma once
// The structure tensor of an item's luminance, for the checks of which way its strands run.
#include <QImage>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "tools/ArtFiles.h"

namespace arttest {

// Per pixel the luminance gradient's outer product, averaged over a window (box passes of radius 3
// each way, close to a gaussian). Where strands run side by side the gradients all lie across them,
// and the averaged tensor has one strong axis; where short strokes cross at random angles the two
// axes are alike.
struct Tensor {
    int w = 0, h = 0;
    std::vector<double> xx, yy, xy;
    size_t at(int x, int y) const { return static_cast<size_t>(y) * w + x; }
    // 0 (no one direction) .. 1 (every gradient along one axis).
    double coherence(int x, int y) const {
        const size_t i = at(x, y);
        const double sum = xx[i] + yy[i];
        return sum <= 1e-9 ? 0.0 : std::hypot(xx[i] - yy[i], 2 * xy[i]) / sum;
    }
    // The direction across the strands (the tensor's strong axis), radians in (-pi/2, pi/2].
    double acrossAngle(int x, int y) const {
        const size_t i = at(x, y);
        return 0.5 * std::atan2(2 * xy[i], xx[i] - yy[i]);
    }
    // The strands' direction, radians in [0, pi): across the tensor's strong axis.
    double strandAngle(int x, int y) const {
        const double a = acrossAngle(x, y) + std::numbers::pi / 2;
        return a >= std::numbers::pi ? a - std::numbers::pi : a;
    }
};

// An item's luminance as a grid, row by row.
inline std::vector<double> lumGrid(const QImage& img) {
    std::vector<double> out(static_cast<size_t>(img.width()) * img.height());
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            out[static_cast<size_t>(y) * img.width() + x] = luminance(img.pixel(x, y));
    return out;
}

// A grid `w` x `h` at a real point, bilinear between its four nearest values, clamped to the edges.
inline double bilinear(const std::vector<double>& g, int w, int h, double x, double y) {
    const int x0 = std::clamp(static_cast<int>(x), 0, w - 2), y0 = std::clamp(static_cast<int>(y), 0, h - 2);
    const double fx = x - x0, fy = y - y0;
    auto at = [&](int i, int j) { return g[static_cast<size_t>(j) * w + i]; };
    return (1 - fy) * ((1 - fx) * at(x0, y0) + fx * at(x0 + 1, y0)) +
           fy * ((1 - fx) * at(x0, y0 + 1) + fx * at(x0 + 1, y0 + 1));
}

// `passes` box passes of radius r each way, rows then columns in turn, edges clamped.
inline void boxBlur(std::vector<double>& g, int w, int h, int r, int passes) {
    std::vector<double> tmp(g.size());
    for (int pass = 0; pass < 2 * passes; ++pass) {
        const bool rows = pass % 2 == 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                double sum = 0;
                for (int d = -r; d <= r; ++d) {
                    const int xs = rows ? std::clamp(x + d, 0, w - 1) : x,
                              ys = rows ? y : std::clamp(y + d, 0, h - 1);
                    sum += g[static_cast<size_t>(ys) * w + xs];
                }
                tmp[static_cast<size_t>(y) * w + x] = sum / (2 * r + 1);
            }
        g.swap(tmp);
    }
}

// The tensor averaged by `passes` box passes of radius 3 each way.
inline Tensor structureTensor(const QImage& img, int passes) {
    Tensor t{img.width(), img.height(), {}, {}, {}};
    const size_t n = static_cast<size_t>(t.w) * t.h;
    t.xx.assign(n, 0), t.yy.assign(n, 0), t.xy.assign(n, 0);
    auto lum = [&](int x, int y) { return luminance(img.pixel(x, y)); };
    for (int y = 1; y + 1 < t.h; ++y)
        for (int x = 1; x + 1 < t.w; ++x) {
            const double gx = 0.5 * (lum(x + 1, y) - lum(x - 1, y)),
                         gy = 0.5 * (lum(x, y + 1) - lum(x, y - 1));
            t.xx[t.at(x, y)] = gx * gx, t.yy[t.at(x, y)] = gy * gy, t.xy[t.at(x, y)] = gx * gy;
        }
    for (std::vector<double>* g : {&t.xx, &t.yy, &t.xy}) boxBlur(*g, t.w, t.h, 3, passes);
    return t;
}

}  // namespace arttest
