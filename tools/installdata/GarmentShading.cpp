#include "GarmentShading.h"

#include <QPainterPathStroker>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "AccessoryDraw.h"
#include "Geometry.h"

namespace installdata::garment {

namespace {

// Distance from p to the segment ab.
double segmentDistance(QPointF p, QPointF a, QPointF b) {
    const QPointF ab = b - a, ap = p - a;
    const double len2 = ab.x() * ab.x() + ab.y() * ab.y();
    const double t = len2 > 0 ? std::clamp((ap.x() * ab.x() + ap.y() * ab.y()) / len2, 0.0, 1.0) : 0.0;
    const QPointF q = a + ab * t;
    return std::hypot(p.x() - q.x(), p.y() - q.y());
}

double polylineDistance(QPointF p, const Polyline& line) {
    double best = 1e9;
    for (size_t i = 1; i < line.size(); ++i) best = std::min(best, segmentDistance(p, line[i - 1], line[i]));
    return best;
}

// A round profile: 0 at the silhouette, rising as a quarter circle of radius r to r.
double roundProfile(double d, double r) {
    if (d <= 0) return 0;
    if (d >= r) return r;
    const double t = 1 - d / r;
    return r * std::sqrt(1 - t * t);
}

// The left half of the body outline as a smooth curve through its points.
Polyline smoothOutline() { return sampleSpline(face::bodyHalfOutline(), 120); }

// Per-pixel facts about the body under the clothing picture, computed once.
struct BodyField {
    std::vector<double> outlineDistance;  // signed: positive inside the body
    std::vector<double> creaseDistance;   // to the line between arm and torso on the same side
    std::vector<double> halfWidth;        // half the body's width, per row

    BodyField() {
        const Polyline half = smoothOutline(), right = mirrored(half, face::kMidX);
        QPolygonF body;
        for (const QPointF& q : half) body << q;
        for (auto it = right.rbegin(); it != right.rend(); ++it) body << *it;
        const Polyline crease = sampleSpline({{57, 412}, {60, 440}, {63, 470}, {66, 500}}, 12);
        const Polyline creaseRight = mirrored(crease, face::kMidX);
        outlineDistance.resize(static_cast<size_t>(kWidth) * kHeight);
        creaseDistance.resize(outlineDistance.size());
        for (int j = 0; j < kHeight; ++j)
            for (int i = 0; i < kWidth; ++i) {
                const QPointF p(i + kLeft + 0.5, j + kTop + 0.5);
                const double d = std::min(polylineDistance(p, half), polylineDistance(p, right));
                const size_t k = static_cast<size_t>(j) * kWidth + i;
                outlineDistance[k] = body.containsPoint(p, Qt::OddEvenFill) ? d : -d;
                creaseDistance[k] = polylineDistance(p, p.x() < face::kMidX ? crease : creaseRight);
            }
        for (int j = 0; j < kHeight; ++j) {
            const double y = j + kTop + 0.5;
            double x = half.back().x();
            for (size_t i = 1; i < half.size(); ++i)
                if (y <= half[i].y()) {
                    x = half[i - 1].x() + (y - half[i - 1].y()) / (half[i].y() - half[i - 1].y()) *
                                              (half[i].x() - half[i - 1].x());
                    break;
                }
            halfWidth.push_back(face::kMidX - x);
        }
    }
};

const BodyField& bodyField() {
    static const BodyField field;
    return field;
}

// Height of the body's surface towards the viewer, in pixels, before folds.
double bodyHeight(const BodyField& f, int i, int j, double ease) {
    const size_t k = static_cast<size_t>(j) * kWidth + i;
    const double x = i + kLeft + 0.5, y = j + kTop + 0.5;
    double h = roundProfile(f.outlineDistance[k] + ease, 30);
    const double crease = f.creaseDistance[k] / 5.5;  // arms part from the torso below the armpits
    h -= 9 * smoothstep(404, 436, y) * std::exp(-crease * crease);
    const double cx = (x - face::kMidX) / 100;
    h += 14 * std::exp(-cx * cx) * smoothstep(325, 385, y);  // the chest rounds towards the middle
    const double bx = (std::abs(x - face::kMidX) - 44) / 30, by = (y - 452) / 30;
    return h + 5 * std::exp(-(bx * bx + by * by));
}

// Distance from p to the line and how far along the line (0 .. 1) its nearest point lies.
std::pair<double, double> nearestOnLine(QPointF p, const Polyline& line) {
    double best = 1e9, bestRun = 0, run = 0;
    for (size_t i = 1; i < line.size(); ++i) {
        const QPointF a = line[i - 1], ab = line[i] - a, ap = p - a;
        const double len2 = ab.x() * ab.x() + ab.y() * ab.y(), len = std::sqrt(len2);
        const double t = len2 > 0 ? std::clamp((ap.x() * ab.x() + ap.y() * ab.y()) / len2, 0.0, 1.0) : 0.0;
        const double d = std::hypot(ap.x() - ab.x() * t, ap.y() - ab.y() * t);
        if (d < best) best = d, bestRun = run + t * len;
        run += len;
    }
    return {best, run > 0 ? bestRun / run : 0};
}

// Folds are strongest a little after they start and die away towards their ends.
double foldHeight(const std::vector<Fold>& folds, QPointF p) {
    double h = 0;
    for (const Fold& f : folds) {
        const auto [dist, along] = nearestOnLine(p, f.line);
        const double d = dist / f.width;
        if (d < 3)
            h +=
                f.depth * std::exp(-d * d) * smoothstep(0.0, 0.2, along) * (1 - smoothstep(0.55, 1.0, along));
    }
    return h;
}

// Brightness of the weave at a place on the body, around 1; u runs round the body, v down it.
double weaveFactor(const Fabric& fab, double x, double y, double u, double v, uint32_t seed) {
    const double n = valueNoise(x * 1.3, y * 1.3, seed) - 0.5;
    switch (fab.weave) {
        case Weave::Jersey:
            return 1 + 0.045 * n + 0.02 * std::sin(2 * std::numbers::pi * u / 1.7);
        case Weave::Rib:
            return 1 + (0.085 + 0.04 * n) * std::sin(2 * std::numbers::pi * u / 3.3) +
                   0.012 * std::sin(2 * std::numbers::pi * v / 2.4) + 0.03 * n;
        case Weave::Silk:
            return 1 + 0.02 * n + 0.02 * (fractalNoise(x * 0.6, y * 0.6, seed + 3, 2) - 0.5);
        case Weave::Oxford:
            return 1 +
                   0.045 * ((static_cast<int>(std::floor(x)) + static_cast<int>(std::floor(y))) % 2 - 0.5) +
                   0.03 * n;
        case Weave::Denim: {
            const double slub = valueNoise(u * 0.8, v * 0.07, seed + 5) - 0.5;
            return 1 + 0.075 * std::sin(2 * std::numbers::pi * (0.7 * u + v) / 2.6) + 0.16 * slub + 0.04 * n;
        }
        case Weave::Suiting:
            return 1 + 0.035 * std::sin(2 * std::numbers::pi * (u - v) / 2.1) + 0.03 * n;
        case Weave::Crepe:
            return 1 + 0.07 * (fractalNoise(x * 0.9, y * 0.9, seed + 9, 2) - 0.5);
        case Weave::Lace:
            return 1 + 0.03 * n;
    }
    return 1;
}

// How much lace thread covers a place (0 open net .. 1 solid): a hexagonal net of fine threads
// with five-petalled flowers scattered over it, corded at their edges.
double laceDensity(double u, double v, uint32_t seed) {
    auto thread = [](double t) {
        const double f = t - std::floor(t);
        return 1 - smoothstep(0.0, 0.2, std::min(f, 1 - f));
    };
    const double s3 = 0.866;
    double density = 0.42 * std::max({thread(u / 3.2), thread((0.5 * u + s3 * v) / 3.2),
                                      thread((-0.5 * u + s3 * v) / 3.2)});
    const double cell = 19;
    const int ci = static_cast<int>(std::floor(u / cell)), cj = static_cast<int>(std::floor(v / cell));
    for (int dj = -1; dj <= 1; ++dj)
        for (int di = -1; di <= 1; ++di) {
            const uint32_t key = seed + static_cast<uint32_t>((ci + di) * 7919 + (cj + dj) * 104729);
            const double cu = (ci + di + 0.5 + 0.8 * (valueNoise(0.5, 0.5, key) - 0.5)) * cell;
            const double cv = (cj + dj + 0.5 + 0.8 * (valueNoise(1.5, 0.5, key) - 0.5)) * cell;
            const double r = 6.0 + 4.0 * valueNoise(2.5, 0.5, key);
            const double du = u - cu, dv = v - cv, rho = std::hypot(du, dv);
            if (rho > r + 1.5) continue;
            const double turn = 6 * valueNoise(3.5, 0.5, key);
            double motif;
            if (valueNoise(4.5, 0.5, key) > 0.62) {  // a leaf with its middle vein
                const double lx = du * std::cos(turn) + dv * std::sin(turn),
                             ly = -du * std::sin(turn) + dv * std::cos(turn);
                const double e = std::hypot(lx / (1.1 * r), ly / (0.45 * r));
                motif = 0.7 * (1 - smoothstep(0.85, 1.05, e));
                if (e < 0.9 && std::abs(ly) < 0.45) motif = 0.45;
                motif = std::max(motif, 1 - smoothstep(0.0, 0.12, std::abs(e - 0.95)));
            } else {  // a flower of five or six petals with an eyelet
                const double petals = valueNoise(5.5, 0.5, key) > 0.5 ? 2.5 : 3.0;
                const double edge =
                    r * (0.66 + 0.34 * std::abs(std::cos(petals * (std::atan2(dv, du) + turn))));
                motif = (0.55 + 0.25 * std::abs(std::cos(3 * petals * std::atan2(dv, du)))) *
                        (1 - smoothstep(edge - 0.6, edge + 0.4, rho));
                motif = std::max(motif, 1 - smoothstep(0.0, 0.7, std::abs(rho - edge)));  // the cord
                if (rho < 2.2) motif = rho < 1.2 ? 1.0 : 0.2;
            }
            density = std::max(density, motif);
        }
    return density;
}

// Coverage of a band of `width` pixels once every `period` pixels of t, antialiased.
double bands(double t, double period, double width) {
    const double f = t - period * std::floor(t / period);
    return std::clamp(std::min(f + 0.5, width + 0.5 - f), 0.0, 1.0);
}

QImage regionMask(const QPainterPath& region) {
    QImage mask = newLayer(kWidth, kHeight);
    QPainter p;
    beginCanvasPainter(p, mask);
    p.fillPath(region, Qt::black);
    return mask;
}

QImage shadePanel(const Panel& panel, uint32_t seed) {
    const BodyField& f = bodyField();
    std::vector<double> height(static_cast<size_t>(kWidth) * kHeight), fold(height.size());
    for (int j = 0; j < kHeight; ++j)
        for (int i = 0; i < kWidth; ++i) {
            const size_t k = static_cast<size_t>(j) * kWidth + i;
            fold[k] = foldHeight(panel.folds, QPointF(i + kLeft + 0.5, j + kTop + 0.5));
            height[k] = bodyHeight(f, i, j, panel.ease) + fold[k];
        }
    QImage out = regionMask(panel.region);
    const Fabric& fab = panel.fabric;
    const double lx = -0.5, ly = -0.58, lz = 0.64;  // towards the light
    const double hl = std::hypot(lx, ly, lz + 1);
    for (int j = 0; j < kHeight; ++j) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(j));
        const double y = j + kTop + 0.5;
        for (int i = 0; i < kWidth; ++i) {
            const int a = qAlpha(row[i]);
            if (a == 0) continue;
            const size_t k = static_cast<size_t>(j) * kWidth + i;
            const int i0 = std::max(i - 1, 0), i1 = std::min(i + 1, kWidth - 1);
            const int j0 = std::max(j - 1, 0), j1 = std::min(j + 1, kHeight - 1);
            const double hx = (height[static_cast<size_t>(j) * kWidth + i1] -
                               height[static_cast<size_t>(j) * kWidth + i0]) /
                              (i1 - i0);
            const double hy = (height[static_cast<size_t>(j1) * kWidth + i] -
                               height[static_cast<size_t>(j0) * kWidth + i]) /
                              (j1 - j0);
            const double nl = std::hypot(hx, hy, 1.0);
            const double nx = -hx / nl, ny = -hy / nl, nz = 1 / nl;
            const double ndl = nx * lx + ny * ly + nz * lz;
            const double cavity = std::clamp(1 + 0.035 * std::min(0.0, fold[k]), 0.55, 1.0);
            double shade = (0.3 + 0.82 * std::max(0.0, (ndl + 0.4) / 1.4)) * cavity;
            shade *= 1 - 0.12 * smoothstep(380, 490, y);
            shade *=
                0.96 + 0.08 * fractalNoise(i / 38.0, j / 38.0, seed + 21, 2);  // cloth never lies quite even
            // u runs round the body and v down it: lines across the body sag in the middle, as
            // circles round a body below the eye do; lines down it crowd a little at the sides.
            const double x = i + kLeft + 0.5, w = std::max(150.0, f.halfWidth[j]);
            const double xn = std::clamp((x - face::kMidX) / w, -0.999, 0.999);
            const double u = 280 * std::asin((x - face::kMidX) / 280);
            const double v = y - 9 * std::sqrt(1 - xn * xn) + 0.6 * fold[k];
            QColor c = fab.colour;
            if (fab.stripePeriod > 0) c = mix(c, fab.stripe, bands(v, fab.stripePeriod, fab.stripeWidth));
            if (fab.pinPeriod > 0) c = mix(c, fab.pinstripe, 0.8 * bands(u, fab.pinPeriod, 0.7));
            if (fab.weave == Weave::Lace) c = mix(fab.ground, c, laceDensity(u, v, seed));
            if (fab.weave == Weave::Denim)  // worn paler where the cloth stands out
                c = mix(c, QColor(150, 172, 196), std::clamp(0.05 * fold[k] + 0.35 * (1 - nz), 0.0, 0.45));
            shade *= weaveFactor(fab, x, y, u, v, seed);
            const double ndh = (nx * lx + ny * ly + nz * (lz + 1)) / hl;
            const double specular = fab.sheen * (0.26 * std::pow(std::max(0.0, ndh), 6) +
                                                 0.12 * std::pow(std::max(0.0, ndh), 24));
            auto channel = [&](int v0) {
                const double lit = v0 * shade + specular * (150 + 0.4 * v0);
                return std::clamp(static_cast<int>(std::lround(lit * a / 255.0)), 0, a);
            };
            row[i] = qRgba(channel(c.red()), channel(c.green()), channel(c.blue()), a);
        }
    }
    return out;
}

}  // namespace

QPainterPath bodyShape(double ease) {
    const Polyline half = smoothOutline();
    Polyline all = half;
    all.push_back({half.back().x(), 520});
    const Polyline right = mirrored(all, face::kMidX);
    for (auto it = right.rbegin(); it != right.rend(); ++it) all.push_back(*it);
    QPainterPath body = pathThrough(all, true);
    if (ease <= 0) return body;
    QPainterPathStroker stroker;
    stroker.setWidth(2 * ease);
    stroker.setJoinStyle(Qt::RoundJoin);
    return body.united(stroker.createStroke(body)).simplified();
}

QPainterPath neckOpening(const Polyline& leftHalf) {
    const Polyline right = mirrored(leftHalf, face::kMidX);
    Polyline all{QPointF(leftHalf.front().x(), 200)};
    all.insert(all.end(), leftHalf.begin(), leftHalf.end());
    for (auto it = right.rbegin(); it != right.rend(); ++it) all.push_back(*it);
    all.push_back({right.front().x(), 200});
    return pathThrough(all, true);
}

QPainterPath belowCurve(const Polyline& leftHalf) {
    Polyline all{{leftHalf.front().x() - 40, leftHalf.front().y()}};
    all.insert(all.end(), leftHalf.begin(), leftHalf.end());
    const Polyline right = mirrored(leftHalf, face::kMidX);
    for (auto it = right.rbegin(); it != right.rend(); ++it) all.push_back(*it);
    all.push_back({right.front().x() + 40, right.front().y()});
    all.push_back({right.front().x() + 40, 520});
    all.push_back({leftHalf.front().x() - 40, 520});
    return pathThrough(all, true);
}

QPainterPath mirroredPath(const QPainterPath& path) {
    QTransform t;
    t.translate(2 * face::kMidX, 0);
    t.scale(-1, 1);
    return t.map(path);
}

void beginCanvasPainter(QPainter& p, QImage& layer) {
    beginPainter(p, layer);
    p.translate(-kLeft, -kTop);
}

QImage renderPanels(const std::vector<Panel>& panels, uint32_t seed) {
    QImage out = newLayer(kWidth, kHeight);
    QPainter p;
    beginPainter(p, out);
    for (size_t n = 0; n < panels.size(); ++n) {
        const Panel& panel = panels[n];
        if (n > 0 && panel.lift > 0) {  // its shadow on the panels already laid
            QImage shadow = regionMask(panel.region);
            blurLayer(shadow, static_cast<int>(std::lround(1.5 + panel.lift)));
            p.save();
            p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
            p.setOpacity(0.55);
            p.drawImage(QPointF(0.5 * panel.lift, 1.0 * panel.lift), shadow);
            p.restore();
        }
        p.drawImage(0, 0, shadePanel(panel, seed + static_cast<uint32_t>(n) * 101));
    }
    return out;
}

void shadeNeckline(QImage& layer, const QPainterPath& garment) {
    QImage shadow = newLayer(kWidth, kHeight);
    QPainter p;
    beginCanvasPainter(p, shadow);
    p.fillPath(garment, QColor(40, 22, 16));
    p.end();
    blurLayer(shadow, 4);
    QPainter q;
    beginCanvasPainter(q, layer);
    q.setClipPath(bodyShape(0).subtracted(garment));  // only on skin, not in the air past the shoulders
    q.setCompositionMode(QPainter::CompositionMode_DestinationOver);
    q.setOpacity(0.4);
    q.drawImage(QPointF(kLeft + 0.8, kTop + 1.6), shadow);
}

void drawSeam(QPainter& p, const Polyline& line, const QColor& fabric, bool stitched, const QColor& thread) {
    const Polyline smooth = sampleSpline(line, std::max(8, static_cast<int>(line.size()) * 12));
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(withAlpha(fabric.darker(190), 120), 1.0, Qt::SolidLine, Qt::RoundCap));
    p.drawPolyline(smooth.data(), static_cast<int>(smooth.size()));
    p.translate(0.6, 0.7);
    p.setPen(QPen(withAlpha(fabric.lighter(135), 70), 0.7, Qt::SolidLine, Qt::RoundCap));
    p.drawPolyline(smooth.data(), static_cast<int>(smooth.size()));
    if (stitched) {
        p.translate(1.4, 0.9);
        QPen pen(withAlpha(thread, 210), 0.7, Qt::CustomDashLine, Qt::FlatCap);
        pen.setDashPattern({2.2, 1.6});
        p.setPen(pen);
        p.drawPolyline(smooth.data(), static_cast<int>(smooth.size()));
    }
    p.restore();
}

void drawButton(QPainter& p, QPointF c, double r, const QColor& colour, bool metal) {
    p.save();
    p.setPen(Qt::NoPen);
    QRadialGradient shadow(c + QPointF(0.7, 1.2), r * 1.6);
    shadow.setColorAt(0.0, QColor(20, 12, 10, 120));
    shadow.setColorAt(1.0, QColor(20, 12, 10, 0));
    p.setBrush(shadow);
    p.drawEllipse(c + QPointF(0.7, 1.2), r * 1.6, r * 1.6);
    if (metal) {
        drawMetalBall(p, c, r, colour);
    } else {
        QRadialGradient g(c + QPointF(-0.4 * r, -0.5 * r), 1.6 * r);
        g.setColorAt(0.0, colour.lighter(135));
        g.setColorAt(0.6, colour);
        g.setColorAt(1.0, colour.darker(170));
        p.setBrush(g);
        p.setPen(QPen(colour.darker(200), 0.5));
        p.drawEllipse(c, r, r);
        p.setPen(Qt::NoPen);
        p.setBrush(colour.darker(180));
        for (int k = 0; k < 4; ++k)
            p.drawEllipse(c + QPointF(k % 2 == 0 ? -0.3 * r : 0.3 * r, k < 2 ? -0.3 * r : 0.3 * r),
                          0.12 * r + 0.15, 0.12 * r + 0.15);
    }
    p.restore();
}

}  // namespace installdata::garment
