#include "StrandField.h"

#include <algorithm>
#include <cmath>

namespace installdata {

namespace {

constexpr int kSmooth = 4;  // the radius the tensor is averaged over: a few strands wide

// A box average of radius r, rows then columns (edges clamped).
void boxAverage(std::vector<float>& v, int w, int h, int r) {
    std::vector<float> tmp(v.size());
    auto pass = [&](const std::vector<float>& in, std::vector<float>& out, int n, int lines, int stride,
                    int step) {
        for (int l = 0; l < lines; ++l) {
            const size_t base = static_cast<size_t>(l) * stride;
            auto at = [&](int i) { return in[base + static_cast<size_t>(std::clamp(i, 0, n - 1)) * step]; };
            double sum = 0;
            for (int i = -r; i <= r; ++i) sum += at(i);
            for (int i = 0; i < n; ++i) {
                out[base + static_cast<size_t>(i) * step] = static_cast<float>(sum / (2 * r + 1));
                sum += at(i + r + 1) - at(i - r);
            }
        }
    };
    pass(v, tmp, w, h, w, 1);
    pass(tmp, v, h, w, 1, w);
}

}  // namespace

StrandField::StrandField(const QImage& layer) : w_(layer.width()), h_(layer.height()) {
    const QImage img = layer.convertToFormat(QImage::Format_ARGB32);
    std::vector<float> lum(static_cast<size_t>(w_) * h_);
    for (int y = 0; y < h_; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < w_; ++x)
            lum[static_cast<size_t>(y) * w_ + x] = static_cast<float>(
                (0.3 * qRed(row[x]) + 0.59 * qGreen(row[x]) + 0.11 * qBlue(row[x])) * qAlpha(row[x]) / 255.0);
    }
    xx_.assign(lum.size(), 0);
    xy_.assign(lum.size(), 0);
    yy_.assign(lum.size(), 0);
    auto L = [&](int x, int y) {
        return lum[static_cast<size_t>(std::clamp(y, 0, h_ - 1)) * w_ + std::clamp(x, 0, w_ - 1)];
    };
    for (int y = 0; y < h_; ++y)
        for (int x = 0; x < w_; ++x) {
            const float gx = (L(x + 1, y - 1) + 2 * L(x + 1, y) + L(x + 1, y + 1)) -
                             (L(x - 1, y - 1) + 2 * L(x - 1, y) + L(x - 1, y + 1));
            const float gy = (L(x - 1, y + 1) + 2 * L(x, y + 1) + L(x + 1, y + 1)) -
                             (L(x - 1, y - 1) + 2 * L(x, y - 1) + L(x + 1, y - 1));
            // Each pixel counts alike, however strong its edge: the many faint strands of a sheet
            // outvote the one hard edge of a bun or a shadow across them.
            const float g2 = gx * gx + gy * gy;
            if (g2 < 4) continue;
            const size_t i = static_cast<size_t>(y) * w_ + x;
            xx_[i] = gx * gx / g2;
            xy_[i] = gx * gy / g2;
            yy_[i] = gy * gy / g2;
        }
    for (auto* v : {&xx_, &xy_, &yy_}) boxAverage(*v, w_, h_, kSmooth);
}

QPointF StrandField::along(QPointF q, double& clarity) const {
    const int x = std::clamp(static_cast<int>(std::lround(q.x())), 0, w_ - 1),
              y = std::clamp(static_cast<int>(std::lround(q.y())), 0, h_ - 1);
    const size_t i = static_cast<size_t>(y) * w_ + x;
    const double a = xx_[i], b = xy_[i], c = yy_[i], spread = std::hypot(a - c, 2 * b);
    clarity = a + c > 0.05 ? spread / (a + c) : 0.0;
    // The tensor's main axis is across the strands (the way the light changes fastest).
    const double across = 0.5 * std::atan2(2 * b, a - c);
    return {-std::sin(across), std::cos(across)};
}

Polyline StrandField::streak(QPointF mid, QPointF hint, double length, int steps) const {
    const double step = length / steps, h = std::hypot(hint.x(), hint.y());
    if (h > 1e-9) hint /= h;
    auto walk = [&](QPointF from, QPointF dir, int n) {
        Polyline out;
        for (int k = 0; k < n; ++k) {
            double clarity = 0;
            QPointF d = along(from, clarity);
            if (d.x() * dir.x() + d.y() * dir.y() < 0) d = -d;
            // Unclear strands: keep going the way the streak was going.
            const double k2 = std::clamp((clarity - 0.15) / 0.25, 0.0, 1.0);
            dir = d * k2 + dir * (1 - k2);
            const double n2 = std::hypot(dir.x(), dir.y());
            if (n2 > 1e-9) dir /= n2;
            from += dir * step;
            out.push_back(from);
        }
        return out;
    };
    const Polyline ahead = walk(mid, hint, steps - steps / 2), back = walk(mid, -hint, steps / 2);
    Polyline pts(back.rbegin(), back.rend());
    pts.push_back(mid);
    pts.insert(pts.end(), ahead.begin(), ahead.end());
    return pts;
}

}  // namespace installdata
