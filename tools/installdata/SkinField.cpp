#include "SkinField.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace installdata {

float Field::clamped(int x, int y) const {
    return (*this)(std::clamp(x, 0, w_ - 1), std::clamp(y, 0, h_ - 1));
}

float Field::sample(double x, double y) const {
    const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
    const float tx = static_cast<float>(x - x0), ty = static_cast<float>(y - y0);
    const float top = clamped(x0, y0) * (1 - tx) + clamped(x0 + 1, y0) * tx;
    const float bottom = clamped(x0, y0 + 1) * (1 - tx) + clamped(x0 + 1, y0 + 1) * tx;
    return top * (1 - ty) + bottom * ty;
}

Field coverageOf(const QPainterPath& path, int w, int h) {
    QImage mask(w, h, QImage::Format_Alpha8);
    mask.fill(0);
    QPainter p(&mask);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawPath(path);
    p.end();
    Field f(w, h);
    for (int y = 0; y < h; ++y) {
        const uchar* row = mask.constScanLine(y);
        for (int x = 0; x < w; ++x) f(x, y) = row[x] / 255.0f;
    }
    return f;
}

namespace {

double segmentDistance(QPointF p, QPointF a, QPointF b) {
    const QPointF ab = b - a, ap = p - a;
    const double len2 = QPointF::dotProduct(ab, ab);
    const double t = len2 > 0 ? std::clamp(QPointF::dotProduct(ap, ab) / len2, 0.0, 1.0) : 0.0;
    const QPointF d = ap - ab * t;
    return std::hypot(d.x(), d.y());
}

double polylineDistance(QPointF p, const Polyline& line) {
    double best = 1e9;
    for (size_t i = 1; i < line.size(); ++i) best = std::min(best, segmentDistance(p, line[i - 1], line[i]));
    return best;
}

}  // namespace

Field softEdgedCoverage(const QPainterPath& path, int w, int h, double keep) {
    const Field sharp = coverageOf(path, w, h);
    Field cover = sharp;
    blurField(cover, 1);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) cover(x, y) = keep * sharp(x, y) + (1 - keep) * cover(x, y);
    return cover;
}

Field distanceTo(const std::vector<Polyline>& lines, const Field& where) {
    Field f(where.width(), where.height());
    parallelFor(where.height(), [&](int y) {
        for (int x = 0; x < where.width(); ++x) {
            if (where(x, y) <= 0) continue;
            double best = 1e9;
            for (const Polyline& l : lines)
                best = std::min(best, polylineDistance(QPointF(x + 0.5, y + 0.5), l));
            f(x, y) = static_cast<float>(best);
        }
    });
    return f;
}

Field valueNoise(int w, int h, double cx, double cy, uint64_t seed) {
    const int gw = static_cast<int>(w / cx) + 4, gh = static_cast<int>(h / cy) + 4;
    std::vector<float> lattice(static_cast<size_t>(gw) * gh);
    Rng rng(seed);
    for (float& v : lattice) v = static_cast<float>(rng.symmetric(1.0));
    auto at = [&](int i, int j) { return lattice[static_cast<size_t>(j) * gw + i]; };
    auto ease = [](double t) { return t * t * (3 - 2 * t); };
    Field f(w, h);
    for (int y = 0; y < h; ++y) {
        const double gy = y / cy + 1;
        const int j = static_cast<int>(gy);
        const double ty = ease(gy - j);
        for (int x = 0; x < w; ++x) {
            const double gx = x / cx + 1;
            const int i = static_cast<int>(gx);
            const double tx = ease(gx - i);
            const double top = at(i, j) + (at(i + 1, j) - at(i, j)) * tx;
            const double bottom = at(i, j + 1) + (at(i + 1, j + 1) - at(i, j + 1)) * tx;
            f(x, y) = static_cast<float>(top + (bottom - top) * ty);
        }
    }
    return f;
}

Field fractalNoise(int w, int h, double cell, int octaves, double gain, uint64_t seed) {
    Field sum(w, h);
    double amp = 1.0, total = 0.0;
    for (int o = 0; o < octaves; ++o, cell *= 0.5, amp *= gain) {
        const Field n = valueNoise(w, h, std::max(cell, 0.7), std::max(cell, 0.7), seed * 31 + o);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) sum(x, y) += static_cast<float>(amp) * n(x, y);
        total += amp;
    }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) sum(x, y) /= static_cast<float>(total);
    return sum;
}

void blurField(Field& f, int radius) {
    if (radius <= 0) return;
    const int w = f.width(), h = f.height(), r = std::max(1, radius / 2);
    std::vector<float> line;
    for (int pass = 0; pass < 3; ++pass) {
        for (int dir = 0; dir < 2; ++dir) {
            const int lines = dir == 0 ? h : w, len = dir == 0 ? w : h;
            line.resize(len);
            for (int l = 0; l < lines; ++l) {
                auto ref = [&](int i) -> float& { return dir == 0 ? f(i, l) : f(l, i); };
                for (int i = 0; i < len; ++i) line[i] = ref(i);
                double sum = 0;
                for (int k = -r; k <= r; ++k) sum += line[std::clamp(k, 0, len - 1)];
                for (int i = 0; i < len; ++i) {
                    ref(i) = static_cast<float>(sum / (2 * r + 1));
                    sum += line[std::clamp(i + r + 1, 0, len - 1)] - line[std::clamp(i - r, 0, len - 1)];
                }
            }
        }
    }
}

double blobWeight(QPointF at, QPointF c, double rx, double ry) {
    const double dx = (at.x() - c.x()) / rx, dy = (at.y() - c.y()) / ry;
    return std::exp(-(dx * dx + dy * dy));
}

void addBlob(Field& f, QPointF c, double rx, double ry, double amp, double angle) {
    const double reach = 3.0 * std::max(rx, ry), cs = std::cos(angle), sn = std::sin(angle);
    const int x0 = std::max(0, static_cast<int>(c.x() - reach)),
              x1 = std::min(f.width() - 1, static_cast<int>(c.x() + reach));
    const int y0 = std::max(0, static_cast<int>(c.y() - reach)),
              y1 = std::min(f.height() - 1, static_cast<int>(c.y() + reach));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const double px = x + 0.5 - c.x(), py = y + 0.5 - c.y();
            const double u = (px * cs + py * sn) / rx, v = (-px * sn + py * cs) / ry;
            f(x, y) += static_cast<float>(amp * std::exp(-(u * u + v * v)));
        }
}

void addRidge(Field& f, const Polyline& line, double radius, double a0, double a1) {
    if (line.size() < 2) return;
    double left = line.front().x(), right = left, top = line.front().y(), bottom = top;
    std::vector<double> along{0.0};
    for (size_t i = 1; i < line.size(); ++i) {
        left = std::min(left, line[i].x());
        right = std::max(right, line[i].x());
        top = std::min(top, line[i].y());
        bottom = std::max(bottom, line[i].y());
        along.push_back(along.back() +
                        std::hypot(line[i].x() - line[i - 1].x(), line[i].y() - line[i - 1].y()));
    }
    const double total = std::max(along.back(), 1e-6);
    const QRectF box(QPointF(left - 3 * radius, top - 3 * radius),
                     QPointF(right + 3 * radius, bottom + 3 * radius));
    const int x0 = std::max(0, static_cast<int>(box.left())),
              x1 = std::min(f.width() - 1, static_cast<int>(box.right()));
    const int y0 = std::max(0, static_cast<int>(box.top())),
              y1 = std::min(f.height() - 1, static_cast<int>(box.bottom()));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const QPointF p(x + 0.5, y + 0.5);
            double best = 1e9, where = 0;
            for (size_t i = 1; i < line.size(); ++i) {
                const QPointF a = line[i - 1], ab = line[i] - a;
                const double len2 = QPointF::dotProduct(ab, ab);
                const double t = len2 > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / len2, 0.0, 1.0) : 0.0;
                const QPointF d = p - a - ab * t;
                const double dist = std::hypot(d.x(), d.y());
                if (dist < best) {
                    best = dist;
                    where = (along[i - 1] + t * (along[i] - along[i - 1])) / total;
                }
            }
            const double amp = a0 + (a1 - a0) * where;
            f(x, y) += static_cast<float>(amp * std::exp(-(best * best) / (radius * radius)));
        }
}

}  // namespace installdata
