#include "GarmentShading.h"

#include <QPainterPathStroker>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "AccessoryDraw.h"
#include "ClothWeave.h"
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
    const double bx = (std::abs(x - face::kMidX) - 44) / 34, by = (y - 452) / 36;
    return h + 3.5 * std::exp(-(bx * bx + by * by));
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

// The mean of a picture-sized field over a box of radius r, run twice (close to a gaussian).
std::vector<double> localMean(std::vector<double> f, int r) {
    std::vector<double> tmp(f.size());
    for (int pass = 0; pass < 2; ++pass) {
        for (int j = 0; j < kHeight; ++j)
            for (int i = 0; i < kWidth; ++i) {
                double sum = 0;
                for (int d = -r; d <= r; ++d)
                    sum += f[static_cast<size_t>(j) * kWidth + std::clamp(i + d, 0, kWidth - 1)];
                tmp[static_cast<size_t>(j) * kWidth + i] = sum / (2 * r + 1);
            }
        for (int j = 0; j < kHeight; ++j)
            for (int i = 0; i < kWidth; ++i) {
                double sum = 0;
                for (int d = -r; d <= r; ++d)
                    sum += tmp[static_cast<size_t>(std::clamp(j + d, 0, kHeight - 1)) * kWidth + i];
                f[static_cast<size_t>(j) * kWidth + i] = sum / (2 * r + 1);
            }
    }
    return f;
}

// The slope of a picture-sized field at (i, j), by central differences clamped at the borders.
std::pair<double, double> slopeAt(const std::vector<double>& h, int i, int j) {
    const int i0 = std::max(i - 1, 0), i1 = std::min(i + 1, kWidth - 1);
    const int j0 = std::max(j - 1, 0), j1 = std::min(j + 1, kHeight - 1);
    auto at = [&](int a, int b) { return h[static_cast<size_t>(b) * kWidth + a]; };
    return {(at(i1, j) - at(i0, j)) / (i1 - i0), (at(i, j1) - at(i, j0)) / (j1 - j0)};
}

// The surface of a panel's cloth over the picture, per pixel. height: with its small wrinkles,
// for the diffuse light; drape: without them, for the highlights of silk, which run along the big
// folds; fold: the folds alone; mean: the height averaged round each place, to find hollows.
struct ClothSurface {
    std::vector<double> height, drape, fold, mean;
};

ClothSurface clothSurface(const Panel& panel, uint32_t seed) {
    const BodyField& f = bodyField();
    const double rumple = rumpleOf(panel.fabric.weave);
    const size_t n = static_cast<size_t>(kWidth) * kHeight;
    ClothSurface c{std::vector<double>(n), std::vector<double>(n), std::vector<double>(n), {}};
    // Only round the panel: the blur of the hollows reaches 10 pixels, the slopes one.
    const QRect box = panel.region.boundingRect()
                          .toAlignedRect()
                          .translated(-kLeft, -kTop)
                          .adjusted(-12, -12, 12, 12)
                          .intersected(QRect(0, 0, kWidth, kHeight));
    for (int j = box.top(); j <= box.bottom(); ++j)
        for (int i = box.left(); i <= box.right(); ++i) {
            const size_t k = static_cast<size_t>(j) * kWidth + i;
            const double x = i + kLeft + 0.5, y = j + kTop + 0.5;
            c.fold[k] = foldHeight(panel.folds, QPointF(x, y));
            const double wrinkle = fractalNoise(x / 10.0, y / 16.0, seed + 61, 2) - 0.5;
            c.drape[k] = bodyHeight(f, i, j, panel.ease) + c.fold[k];
            c.height[k] = c.drape[k] + rumple * wrinkle;
        }
    c.mean = localMean(c.height, 5);
    return c;
}

QImage shadePanel(const Panel& panel, uint32_t seed) {
    const BodyField& f = bodyField();
    const Fabric& fab = panel.fabric;
    const ClothSurface surface = clothSurface(panel, seed);
    const auto& [height, drape, fold, mean] = surface;
    QImage out = regionMask(panel.region);
    const double lx = -0.5, ly = -0.58, lz = 0.64;  // towards the light
    const double hl = std::hypot(lx, ly, lz + 1);
    for (int j = 0; j < kHeight; ++j) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(j));
        const double y = j + kTop + 0.5;
        for (int i = 0; i < kWidth; ++i) {
            const int a = qAlpha(row[i]);
            if (a == 0) continue;
            const size_t k = static_cast<size_t>(j) * kWidth + i;
            const auto [hx, hy] = slopeAt(height, i, j);
            const double nl = std::hypot(hx, hy, 1.0);
            const double nx = -hx / nl, ny = -hy / nl, nz = 1 / nl;
            const double ndl = nx * lx + ny * ly + nz * lz;
            const double cavity = std::clamp(1 + 0.03 * std::min(0.0, fold[k]), 0.6, 1.0);
            // Cloth scatters light among its fibres: a wrapped, soft fall-off, darker in hollows the
            // light reaches less, and a faint fuzz of lit fibres where matte cloth turns away.
            const double diffuse = std::max(0.0, (ndl + 0.5) / 1.5);
            const double hollow = std::clamp((height[k] - mean[k]) / 4.0, -1.0, 0.6);
            double shade = (0.34 + 0.78 * diffuse) * cavity * (1 + 0.1 * hollow);
            shade += (1 - fab.sheen) * 0.07 * (1 - nz) * diffuse;
            shade *= 1 - 0.12 * smoothstep(380, 490, y);
            shade *=
                0.96 + 0.08 * fractalNoise(i / 38.0, j / 38.0, seed + 21, 2);  // cloth never lies quite even
            // u runs round the body and v down it: lines across the body sag in the middle, as
            // circles round a body below the eye do; lines down it crowd a little at the sides.
            const double x = i + kLeft + 0.5, w = std::max(150.0, f.halfWidth[j]);
            const double xn = std::clamp((x - face::kMidX) / w, -0.999, 0.999);
            const double u = 280 * std::asin((x - face::kMidX) / 280);
            const auto [dx, dy] = slopeAt(drape, i, j);
            const double v = y - 9 * std::sqrt(1 - xn * xn) + 0.6 * fold[k] + 0.45 * (height[k] - drape[k]);
            QColor c = dyedColour(fab.colour, x, y, seed);
            if (fab.stripePeriod > 0)
                c = mix(c, dyedColour(fab.stripe, x, y, seed + 5),
                        bands(v, fab.stripePeriod, fab.stripeWidth));
            if (fab.pinPeriod > 0)  // the stripes bend a little where the cloth turns in a fold
                c = mix(c, fab.pinstripe, 0.65 * bands(u + 2.5 * dx, fab.pinPeriod, 0.7));
            if (fab.weave == Weave::Lace) c = mix(fab.ground, c, laceDensity(u, v, seed));
            if (fab.weave == Weave::Denim)  // worn paler where the cloth stands out
                c = mix(c, QColor(150, 172, 196), std::clamp(0.05 * fold[k] + 0.35 * (1 - nz), 0.0, 0.45));
            shade *= weaveFactor(fab, x, y, u, v, seed);
            // Silk and satin catch narrow highlights on the crests of folds, broken where the
            // threads twist and the cloth buckles; matte cloth keeps only a trace of them.
            const double dl = std::hypot(dx, dy, 1.0);
            const double ndh = std::max(0.0, (-dx * lx - dy * ly + lz + 1) / (dl * hl));
            const double streak = smoothstep(0.36, 0.7, fractalNoise(u / 7.0, v / 20.0, seed + 31, 2));
            const double gloss = fab.sheen * smoothstep(0.2, 0.5, fab.sheen);
            const double specular =
                gloss * (0.5 * std::pow(ndh, 44) * (0.2 + 0.8 * streak) + 0.06 * std::pow(ndh, 10));
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
            drawBlurred(p, regionMask(panel.region), static_cast<int>(std::lround(1.5 + panel.lift)),
                        QPainter::CompositionMode_SourceAtop, QPointF(0.5 * panel.lift, 1.0 * panel.lift),
                        0.55);
        }
        p.drawImage(0, 0, shadePanel(panel, seed + static_cast<uint32_t>(n) * 101));
    }
    return out;
}

void shadeNeckline(QImage& layer, const QPainterPath& garment) {
    // A tight contact shadow where the cloth touches the skin and a broader one it casts away
    // from the light (down and right), strongest beside collars that stand off the neck.
    QImage contact = newLayer(kWidth, kHeight), cast = newLayer(kWidth, kHeight);
    for (QImage* img : {&contact, &cast}) {
        QPainter p;
        beginCanvasPainter(p, *img);
        p.fillPath(garment, QColor(40, 22, 16));
    }
    blurLayer(contact, 2);
    blurLayer(cast, 5);
    QImage shadow = newLayer(kWidth, kHeight);
    {
        QPainter p;
        beginPainter(p, shadow);
        p.setOpacity(0.85);
        p.drawImage(QPointF(0.6, 1.1), contact);
        p.setOpacity(0.75);
        p.drawImage(QPointF(3.0, 4.6), cast);
    }
    // No darker than this: a necklace under the neckline must stay in sight through it.
    constexpr int kDeepest = 112;
    for (int y = 0; y < kHeight; ++y) {
        auto* row = reinterpret_cast<QRgb*>(shadow.scanLine(y));
        for (int x = 0; x < kWidth; ++x) {
            const int a = qAlpha(row[x]);
            if (a <= kDeepest) continue;
            auto ch = [&](int c) { return c * kDeepest / a; };  // premultiplied: scale every channel
            row[x] = qRgba(ch(qRed(row[x])), ch(qGreen(row[x])), ch(qBlue(row[x])), kDeepest);
        }
    }
    QPainter q;
    beginCanvasPainter(q, layer);
    q.setClipPath(bodyShape(0).subtracted(garment));  // only on skin, not in the air past the shoulders
    q.setCompositionMode(QPainter::CompositionMode_DestinationOver);
    q.drawImage(QPointF(kLeft, kTop), shadow);
}

void drawSeam(QPainter& p, const Polyline& line, const QColor& fabric, bool stitched, const QColor& thread) {
    const Polyline smooth = sampleSpline(line, std::max(8, static_cast<int>(line.size()) * 12));
    p.save();
    p.setBrush(Qt::NoBrush);
    // the seam allowance under the cloth: a soft ridge whose far side, away from the light, is shaded
    p.setPen(QPen(withAlpha(fabric.darker(200), 34), 3.0, Qt::SolidLine, Qt::RoundCap));
    p.translate(0.9, 1.2);
    p.drawPolyline(smooth.data(), static_cast<int>(smooth.size()));
    p.translate(-0.9, -1.2);
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
