#include "StrandField.h"

#include <algorithm>
#include <cmath>

namespace installdata {

namespace {

constexpr int kSmooth = 8;  // the blur radius the tensor is averaged over: a few strands wide

}  // namespace

StrandField::StrandField(const QImage& layer)
    : w_(layer.width()), h_(layer.height()), xx_(w_, h_), xy_(w_, h_), yy_(w_, h_) {
    const QImage img = layer.convertToFormat(QImage::Format_ARGB32);
    Field lum(w_, h_);
    for (int y = 0; y < h_; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < w_; ++x)
            lum(x, y) = static_cast<float>(
                (0.3 * qRed(row[x]) + 0.59 * qGreen(row[x]) + 0.11 * qBlue(row[x])) * qAlpha(row[x]) / 255.0);
    }
    auto L = [&](int x, int y) { return lum.clamped(x, y); };
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
            xx_(x, y) = gx * gx / g2;
            xy_(x, y) = gx * gy / g2;
            yy_(x, y) = gy * gy / g2;
        }
    for (Field* f : {&xx_, &xy_, &yy_}) blurField(*f, kSmooth);
}

QPointF StrandField::along(QPointF q, double& clarity) const {
    const int x = std::clamp(static_cast<int>(std::lround(q.x())), 0, w_ - 1),
              y = std::clamp(static_cast<int>(std::lround(q.y())), 0, h_ - 1);
    const double a = xx_(x, y), b = xy_(x, y), c = yy_(x, y), spread = std::hypot(a - c, 2 * b);
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
