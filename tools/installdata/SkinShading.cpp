#include "SkinShading.h"

#include <QVector3D>
#include <algorithm>
#include <cmath>

namespace installdata {

namespace {

float toLinear(float c) { return std::pow(std::clamp(c, 0.0f, 1.0f), 2.2f); }
int toSrgb(float c) {
    return static_cast<int>(std::lround(255.0f * std::pow(std::clamp(c, 0.0f, 1.0f), 1 / 2.2f)));
}

const QVector3D kFill = QVector3D(0.75f, -0.05f, 0.66f).normalized();
const QVector3D kKeyColour(0.99f, 0.91f, 0.82f), kFillColour(0.3f, 0.31f, 0.34f), kRoom(0.12f, 0.12f, 0.13f);
// Red light scatters furthest under the skin: it wraps further round the forms and into the shadows.
const float kWrap[3] = {0.28f, 0.15f, 0.12f};

// Lambert's falloff, but light scattered in the skin carries a little past the terminator, so a
// form never turns into shadow along a hard line.
float softTerminator(float d) {
    constexpr float k = 0.14f;
    return d >= k ? d : k * std::exp((d - k) / k);
}

// 1 where the key light reaches the point, 0 in a cast shadow, soft in between.
Field keyVisibility(const SkinSurface& s, const Field& front) {
    const QVector3D l = keyLightDirection();
    const double planar = std::hypot(l.x(), l.y());
    const double sx = l.x() / planar, sy = l.y() / planar, rise = l.z() / planar;
    Field lit(s.cover.width(), s.cover.height(), 1.0f);
    parallelFor(s.cover.height(), [&](int y) {
        for (int x = 0; x < s.cover.width(); ++x) {
            if (s.cover(x, y) <= 0) continue;
            double z = s.depth + s.height(x, y) + 1.5, px = x, py = y, block = 0;
            for (int step = 1; step < 90; ++step) {
                px += sx;
                py += sy;
                z += rise;
                if (px < 0 || py < 0 || px >= s.cover.width() - 1 || py >= s.cover.height() - 1) break;
                // The key is a broad source: the penumbra widens with the distance to the occluder.
                block = std::max(block, smoothstep(0.0, 5.0 + 0.8 * step, front.sample(px, py) - z));
                if (block >= 1.0 || z > 160) break;
            }
            lit(x, y) = static_cast<float>(1.0 - block);
        }
    });
    return lit;
}

}  // namespace

QVector3D keyLightDirection() { return QVector3D(-0.68f, -0.42f, 0.6f).normalized(); }

void fillSurface(SkinSurface& s, const QColor& albedo, double gloss) {
    for (int y = 0; y < s.cover.height(); ++y)
        for (int x = 0; x < s.cover.width(); ++x) {
            s.r(x, y) = static_cast<float>(albedo.redF());
            s.g(x, y) = static_cast<float>(albedo.greenF());
            s.b(x, y) = static_cast<float>(albedo.blueF());
            s.gloss(x, y) = static_cast<float>(gloss);
        }
}

void tintSurface(SkinSurface& s, const Field& weight, const QColor& c, double strength) {
    for (int y = 0; y < s.cover.height(); ++y)
        for (int x = 0; x < s.cover.width(); ++x) {
            const float t = static_cast<float>(std::clamp(weight(x, y) * strength, 0.0, 1.0));
            if (t <= 0) continue;
            s.r(x, y) += (static_cast<float>(c.redF()) - s.r(x, y)) * t;
            s.g(x, y) += (static_cast<float>(c.greenF()) - s.g(x, y)) * t;
            s.b(x, y) += (static_cast<float>(c.blueF()) - s.b(x, y)) * t;
        }
}

void tintBlob(SkinSurface& s, QPointF c, double rx, double ry, const QColor& colour, double strength) {
    Field w(s.cover.width(), s.cover.height());
    addBlob(w, c, rx, ry, 1.0);
    tintSurface(s, w, colour, strength);
}

Field frontHeight(const std::vector<const SkinSurface*>& surfaces) {
    Field f(surfaces.front()->cover.width(), surfaces.front()->cover.height(), -1000.0f);
    for (const SkinSurface* s : surfaces)
        for (int y = 0; y < f.height(); ++y)
            for (int x = 0; x < f.width(); ++x)
                if (s->cover(x, y) > 0.5f) f(x, y) = std::max(f(x, y), s->depth + s->height(x, y));
    return f;
}

void shadeSurface(QImage& target, const SkinSurface& s, const Field& front) {
    const int w = s.cover.width(), h = s.cover.height();
    const Field lit = keyVisibility(s, front);
    Field litSoft = lit, cavity = s.height;
    blurField(litSoft, 4);
    blurField(cavity, 8);
    const QVector3D key = keyLightDirection(), half = (key + QVector3D(0, 0, 1)).normalized();
    parallelFor(h, [&](int y) {
        auto* row = reinterpret_cast<QRgb*>(target.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const float cover = s.cover(x, y);
            if (cover <= 0) continue;
            auto slope = [&](const Field& f, int dx, int dy) {
                return 0.5f * (f.clamped(x + dx, y + dy) - f.clamped(x - dx, y - dy));
            };
            const float hx = slope(s.height, 1, 0), hy = slope(s.height, 0, 1);
            const float mx = slope(s.micro, 1, 0), my = slope(s.micro, 0, 1);
            const QVector3D n = QVector3D(-hx - 0.35f * mx, -hy - 0.35f * my, 1).normalized();
            const QVector3D nSpec = QVector3D(-hx - 1.1f * mx, -hy - 1.1f * my, 1).normalized();
            const float occlusion =
                std::clamp(1.0f - 0.045f * std::max(0.0f, cavity(x, y) - s.height(x, y)), 0.45f, 1.0f);
            const float ndl = QVector3D::dotProduct(n, key),
                        fill = std::max(0.0f, QVector3D::dotProduct(n, kFill));
            const float sky = occlusion * (0.65f + 0.35f * n.z());
            // The key is aimed at the face: its light pools there and falls off toward the frame.
            const float pool = 1.0f - 0.4f * static_cast<float>(smoothstep(
                                                 60.0, 300.0, std::hypot(x - 180.0, (y - 200.0) * 0.8)));
            const float albedo[3] = {toLinear(s.r(x, y)), toLinear(s.g(x, y)), toLinear(s.b(x, y))};
            const float visibility[3] = {std::max(lit(x, y), litSoft(x, y)),
                                         lit(x, y) * 0.5f + litSoft(x, y) * 0.5f,
                                         std::min(lit(x, y), litSoft(x, y))};
            // The softbox is broad: besides the tight glint, a flat-topped sheen where the skin faces it.
            const float ndh = std::max(0.0f, QVector3D::dotProduct(nSpec, half));
            // A pore is a pit the sheen cannot reach: the highlights break up into fine dark points.
            const float pore =
                std::clamp(1.0f + 2.4f * s.micro(x, y), 0.25f, 1.0f);  // the key reaches it less
            const float specular = pore * s.gloss(x, y) * visibility[2] *
                                   (0.24f * std::pow(ndh, 30.0f) + 0.11f * std::pow(ndh, 6.0f) +
                                    0.3f * s.gloss(x, y) * static_cast<float>(smoothstep(0.91, 0.99, ndh)));
            const QRgb under = row[x];
            const int under3[3] = {qRed(under), qGreen(under), qBlue(under)};
            int out[3];
            for (int c = 0; c < 3; ++c) {
                const float wrap = kWrap[c] + s.translucency * (c == 0 ? 1.0f : 0.6f);
                const float diffuse = softTerminator((ndl + wrap) / (1 + wrap)) *
                                      (visibility[c] + (1 - visibility[c]) * 0.5f * s.translucency);
                // Light bouncing inside the skin comes out in its own colour: warm, saturated shadows.
                const float bounce = sky * kRoom[c] * (0.45f + 1.1f * albedo[c]);
                const float light =
                    (0.9f + 0.1f * pore) * pool * diffuse * kKeyColour[c] + fill * kFillColour[c] + bounce;
                const float colour = albedo[c] * light + specular * kKeyColour[c];
                out[c] = static_cast<int>(std::lround(under3[c] + (toSrgb(colour) - under3[c]) * cover));
            }
            row[x] = qRgb(out[0], out[1], out[2]);
        }
    });
}

}  // namespace installdata
