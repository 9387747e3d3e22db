#include <QPainterPath>
#include <QVector3D>
#include <algorithm>
#include <cmath>

#include "PortraitParts.h"

// The portrait's own close crop, kept strictly inside the own-hair region: a dense cap lit as a
// dome, short strands flowing from the crown, and a hairline that thins out over the forehead and
// temples in fine hairs with the skin showing between them.
namespace installdata::portrait {

using namespace face;

namespace {

const QPointF kCrown(192, 40);  // hair flows away from here (the whorl, behind the top of the head)

// The two parts of the region's outline: the outer edge against the backdrop and ears, and the
// hairline on the forehead and temples; both as full (mirrored) polylines.
std::vector<Polyline> regionEdges(bool hairline) {
    const std::vector<QPointF> half = ownHairHalfOutline();
    const size_t split = 6;  // the lowest point of the side, where the hairline turns up
    const Polyline left = hairline ? Polyline(half.begin() + split, half.end())
                                   : Polyline(half.begin(), half.begin() + split + 1);
    return {left, mirrored(left, kMidX)};
}

// The cap as a dome round the skull: the key light from the upper left, falling off to the sides.
double capLight(double x, double y) {
    const double nx = (x - kMidX) / 92.0, ny = (y - 150.0) / 105.0;
    const double nz = std::sqrt(std::max(0.05, 1.0 - nx * nx - ny * ny));
    const double len = std::sqrt(nx * nx + ny * ny + nz * nz);
    const QVector3D n(static_cast<float>(nx / len), static_cast<float>(ny / len),
                      static_cast<float>(nz / len));
    const QVector3D key = keyLightDirection(), half = (key + QVector3D(0, 0, 1)).normalized();
    const double diffuse = std::max(0.0f, QVector3D::dotProduct(n, key));
    const double sheen = std::pow(std::max(0.0f, QVector3D::dotProduct(n, half)), 10.0);
    // The crown, facing up into the key, carries a broad soft sheen across it.
    const double crown = std::exp(-std::pow((x - 172.0) / 48.0, 2) - std::pow((y - 96.0) / 16.0, 2));
    return 0.3 + 0.7 * diffuse + 0.5 * sheen + 0.6 * crown;
}

// How much of the scalp the hair covers, 0..1: dense inside, thinning over the last px toward the
// hairline in small irregular tufts, and a soft edge against the backdrop.
Field hairDensity(const Field& cover) {
    const Field front = distanceTo(regionEdges(true), cover), outer = distanceTo(regionEdges(false), cover);
    const Field tufts = fractalNoise(kCanvasW, kCanvasH, 6.0, 3, 0.6, 183);
    const Field wander = valueNoise(kCanvasW, kCanvasH, 22, 22, 184);
    Field density(kCanvasW, kCanvasH);
    for (int y = 0; y < kCanvasH; ++y)
        for (int x = 0; x < kCanvasW; ++x) {
            if (cover(x, y) <= 0) continue;
            const double reach = 17.0 + 6.0 * wander(x, y);  // how far in the thinning goes
            const double hairline = smoothstep(0.0, reach, front(x, y) + 3.5 * tufts(x, y));
            // The outer edge is a fringe of single hairs against the light, not a cut line.
            const double edge = smoothstep(0.0, 6.5, outer(x, y) + 2.0 * tufts(x, y));
            density(x, y) = static_cast<float>(cover(x, y) * std::pow(hairline, 1.6) * edge);
        }
    return density;
}

const QColor kRoot(30, 22, 19), kLit(118, 94, 78);

// The scalp and the dense cap, per pixel; the roots darken the skin under a thin hairline.
void paintCap(QImage& img, const Field& cover, const Field& density) {
    const Field grain = valueNoise(kCanvasW, kCanvasH, 1.2, 1.2, 185);
    for (int y = 0; y < kCanvasH; ++y) {
        auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < kCanvasW; ++x) {
            if (cover(x, y) <= 0) continue;
            const double light = capLight(x + 0.5, y + 0.5) * (1.0 + 0.2 * grain(x, y));
            const QColor c = mix(kRoot, kLit, std::clamp(0.6 * light - 0.35, 0.0, 1.0));
            const double d = density(x, y);
            const QRgb under = row[x];
            const QColor skin = mix(QColor(qRed(under), qGreen(under), qBlue(under)), QColor(128, 100, 88),
                                    0.3 * smoothstep(0.0, 0.4, d));
            const QColor out = mix(skin, c, d);
            row[x] = qRgb(out.red(), out.green(), out.blue());
        }
    }
}

// Short strands flowing away from the crown over the cap, then fine single hairs where the hairline
// thins out; every strand starts and ends inside the region.
void drawStrands(QPainter& q, const QPainterPath& region, const Field& density) {
    Rng rng(181);
    const QRectF box = region.boundingRect();
    const auto densityAt = [&](QPointF at) {
        return density(std::clamp(static_cast<int>(at.x()), 0, kCanvasW - 1),
                       std::clamp(static_cast<int>(at.y()), 0, kCanvasH - 1));
    };
    for (int k = 0; k < 14000; ++k) {
        const QPointF at(rng.range(box.left(), box.right()), rng.range(box.top(), box.bottom()));
        const double d = densityAt(at);
        if (d <= 0.02) continue;
        // Toward the hairline fewer strands, so single hairs and the skin between them show.
        if (rng.uniform() > 1.6 * d) continue;
        const QPointF away = at - kCrown;
        const double ang = std::atan2(away.y(), away.x()) + rng.symmetric(0.35);
        const double len = rng.range(3.0, 7.5) * (0.6 + 0.4 * d);
        const QPointF dir(std::cos(ang), std::sin(ang)), tip = at + dir * len;
        if (!region.contains(at) || !region.contains(tip)) continue;
        const double light = capLight(at.x(), at.y()) * rng.range(0.5, 1.6);
        const QColor c = mix(kRoot, kLit, std::clamp(0.75 * light - 0.25, 0.0, 1.3));
        const int alpha = static_cast<int>(rng.range(110, 230) * (0.35 + 0.65 * d));
        fillRibbon(q, {at, at + dir * (len * 0.5) + QPointF(-dir.y(), dir.x()) * rng.symmetric(0.6), tip},
                   rng.range(0.45, 0.9), 0.12, withAlpha(c, alpha));
    }
    for (int k = 0; k < 9000; ++k) {
        const QPointF at(rng.range(box.left(), box.right()), rng.range(box.top(), box.bottom()));
        const double d = densityAt(at);
        if (d <= 0.01 || d >= 0.85) continue;
        const QPointF away = at - kCrown;
        const double ang = std::atan2(away.y(), away.x()) + rng.symmetric(0.25);
        const QPointF dir(std::cos(ang), std::sin(ang)), tip = at + dir * rng.range(2.5, 6.0);
        if (!region.contains(tip)) continue;
        const QPointF bend = QPointF(-dir.y(), dir.x()) * rng.symmetric(0.5);
        fillRibbon(q, {at, lerp(at, tip, 0.5) + bend, tip}, rng.range(0.3, 0.5), 0.08,
                   QColor(40, 30, 25, static_cast<int>(rng.range(70, 190) * (0.4 + 0.6 * d))));
    }
}

}  // namespace

void drawOwnHair(QImage& img) {
    const QPainterPath region = ownHairRegion();
    const Field cover = coverageOf(region, kCanvasW, kCanvasH);
    const Field density = hairDensity(cover);
    paintCap(img, cover, density);
    QImage layer = newLayer(kCanvasW, kCanvasH);
    QPainter q;
    beginPainter(q, layer);
    drawStrands(q, region, density);
    q.end();
    QPainter p;
    beginPainter(p, img);
    p.setClipPath(region);
    p.drawImage(0, 0, layer);
    p.end();
}

}  // namespace installdata::portrait
