#include "HatParts.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace installdata::hats {

using hat3d::cellRandom;
using hat3d::fbm2;

namespace {

double fract(double x) { return x - std::floor(x); }
// 1 at whole numbers, 0 half way between: a ridge every unit.
double ridge(double x) { return 1.0 - std::abs(2.0 * fract(x) - 1.0); }

Surfel tinted(const QColor& c, double k) { return hat3d::surfel(c, k); }

}  // namespace

Material felt(const QColor& c, uint32_t seed, const Coords& at) {
    return [=](const Sample& s) {
        const QPointF p = at(s);
        const double blotch = fbm2(p.x() * 0.05, p.y() * 0.05, seed, 3);
        const double fibre = valueNoise(p.x() * 1.3, p.y() * 1.3, seed + 5) +
                             0.5 * valueNoise(p.x() * 2.9, p.y() * 2.6, seed + 9);
        Surfel m = tinted(c, 0.92 + 0.14 * blotch + 0.05 * fibre);
        m.height = 0.35 * fibre;
        m.sheen = 0.35;
        m.shine = 0.02;
        return m;
    };
}

Material straw(const QColor& c, uint32_t seed, const Coords& at, double row) {
    return [=](const Sample& s) {
        const QPointF p = at(s);
        const double across = p.y() / row;
        const int r = static_cast<int>(std::floor(across));
        const double inRow = fract(across);
        // Plaits slant one way in even rows and the other in odd ones, like sewn braid.
        const double slant = (r % 2 == 0 ? 1.0 : -1.0) * (inRow - 0.5) * row * 0.9;
        const double along = (p.x() + slant) / (row * 0.55);
        const int strand = static_cast<int>(std::floor(along));
        const double body = ridge(along + 0.5);
        const double groove = std::pow(std::sin(kPi * inRow), 0.6);
        const double tone =
            0.82 + 0.28 * cellRandom(r, strand, seed) + 0.08 * fbm2(p.x() * 0.04, p.y() * 0.04, seed, 2);
        Surfel m = tinted(c, tone * (0.72 + 0.28 * groove) * (0.88 + 0.12 * body));
        m.height = 0.9 * groove * (0.6 + 0.4 * body);
        m.shine = 0.10 * body * groove;
        return m;
    };
}

Material knit(const QColor& c, uint32_t seed, const Coords& at, bool ribbed) {
    return [=](const Sample& s) {
        const QPointF p = at(s);
        const double cw = 7.0, rh = 5.6;
        const double fx = fract(p.x() / cw), fy = fract(p.y() / rh);
        const int col = static_cast<int>(std::floor(p.x() / cw)),
                  row = static_cast<int>(std::floor(p.y() / rh));
        // Each stitch is a V of two slanted loops.
        auto leg = [&](double cx, double lean) {
            const double dx = fx - cx, dy = fy - 0.5;
            const double a = dx * std::cos(lean) + dy * std::sin(lean),
                         b = -dx * std::sin(lean) + dy * std::cos(lean);
            return std::max(0.0, 1.0 - (a / 0.24) * (a / 0.24) - (b / 0.62) * (b / 0.62));
        };
        double h = std::max(leg(0.28, -0.55), leg(0.72, 0.55));
        const bool purl = ribbed && col % 2 != 0;
        if (purl) h *= 0.35;
        const double tone =
            0.9 + 0.14 * cellRandom(col, row, seed) * 0.5 + 0.06 * fbm2(p.x() * 0.05, p.y() * 0.05, seed, 2);
        Surfel m = tinted(c, tone * (0.78 + 0.22 * std::sqrt(h)) * (purl ? 0.88 : 1.0));
        m.height = 1.3 * std::sqrt(h) - (purl ? 0.9 : 0.0);
        m.sheen = 0.25;
        return m;
    };
}

Material fur(const QColor& c, uint32_t seed, const Coords&) {
    return [=](const Sample& s) {
        // Clumps of pile lying down and out, each with lighter tips and dark roots between.
        const double x = s.pos.x + 0.6 * s.pos.z, y = s.pos.y;
        const double clump = fbm2(x * 0.09, y * 0.09, seed + 3, 3);
        const double hair = fbm2(x * 0.55 + 3 * clump, y * 0.22, seed, 3);
        const double fine = valueNoise(x * 1.4, y * 0.6, seed + 7);
        const double tip = std::pow(std::clamp(0.6 * hair + 0.4 * clump + 0.15 * fine, 0.0, 1.0), 1.5);
        Surfel m = tinted(c, 0.45 + 1.0 * tip);
        m.height = 3.0 * clump + 1.4 * hair + 0.4 * fine;
        m.sheen = 0.6;
        m.shine = 0.04;
        return m;
    };
}

Material twill(const QColor& c, uint32_t seed, const Coords& at, double stitchRows) {
    return [=](const Sample& s) {
        const QPointF p = at(s);
        const double weave = ridge((p.x() + p.y()) / 2.1);
        double tone = 0.93 + 0.06 * weave + 0.06 * fbm2(p.x() * 0.06, p.y() * 0.06, seed, 3);
        double h = 0.25 * weave;
        if (stitchRows > 0) {  // rows of topstitching: short raised dashes of thread
            const double d = std::abs(fract(p.y() / stitchRows + 0.5) - 0.5) * stitchRows;
            const double dash = fract(p.x() / 4.0) < 0.62 ? 1.0 : 0.0;
            const double thread = std::max(0.0, 1.0 - d / 0.8) * dash;
            h += 0.9 * thread - 0.5 * std::max(0.0, 1.0 - std::abs(d - 1.4) / 0.8);
            tone *= 1.0 + 0.12 * thread;
        }
        Surfel m = tinted(c, tone);
        m.height = h;
        m.sheen = 0.2;
        m.shine = 0.03;
        return m;
    };
}

Material tweed(const QColor& c, const QColor& fleck, uint32_t seed, const Coords& at) {
    return [=](const Sample& s) {
        const QPointF p = at(s);
        const double colW = 5.0;
        const int col = static_cast<int>(std::floor(p.x() / colW));
        const double dir = col % 2 == 0 ? 1.0 : -1.0;
        const double bone = ridge((p.y() + dir * (p.x() - col * colW)) / 1.7);
        const double n = fbm2(p.x() * 0.7, p.y() * 0.7, seed, 2);
        const bool isFleck =
            cellRandom(static_cast<int>(p.x() * 0.7), static_cast<int>(p.y() * 0.7), seed) > 0.93;
        Surfel m = isFleck ? tinted(fleck, 0.95) : tinted(c, 0.8 + 0.22 * bone + 0.14 * n);
        m.height = 0.5 * bone + 0.3 * n;
        m.sheen = 0.2;
        return m;
    };
}

Material ribbon(const QColor& c, const Coords& at) {
    return [=](const Sample& s) {
        const double rib = ridge(at(s).x() / 1.3);
        Surfel m = tinted(c, 0.9 + 0.12 * rib);
        m.height = 0.3 * rib;
        m.shine = 0.16;
        m.sheen = 0.15;
        return m;
    };
}

Material shaded(Material m, std::function<double(const Sample&)> shade) {
    return [m = std::move(m), shade = std::move(shade)](const Sample& s) {
        Surfel out = m(s);
        const double k = std::clamp(shade(s), 0.0, 1.0);
        out.r *= k;
        out.g *= k;
        out.b *= k;
        return out;
    };
}

// A hat is worn over the hair, which stands a good way off the skull on the crown: the profiles'
// heights, drawn to the skull, are raised by this factor so that the crown clears the hair's volume.
constexpr double kOverHair = 1.3;

double profileHeight(const Polyline& profile, double v) { return kOverHair * splineAt(profile, v).y(); }

double profileV(const Polyline& profile, double height) {
    double lo = 0, hi = 1;
    for (int k = 0; k < 30; ++k)
        (profileHeight(profile, 0.5 * (lo + hi)) < height ? lo : hi) = 0.5 * (lo + hi);
    return 0.5 * (lo + hi);
}

Vec3 crownPoint(const Crown& crown, double u, double v) {
    const double vc = std::clamp(v, 0.0, 1.0);
    const double r = std::max(0.0, splineAt(crown.profile, vc).x());
    const double dip = crown.dip ? crown.dip(u) * std::pow(1.0 - vc, 2.0) : 0.0;
    // Below v = 0 a short skirt hangs straight down, closing any crack against a brim or visor.
    const double skirt = std::max(0.0, -v) * 60;
    Vec3 p{crown.a * r * std::sin(u), -profileHeight(crown.profile, vc) + dip + skirt,
           crown.c * r * std::cos(u)};
    return crown.deform ? crown.deform(u, v, p) : p;
}

Part crownPart(const Crown& crown, Material m, double v0, double v1) {
    Part p;
    p.surface = [crown](double u, double v) { return crownPoint(crown, u, v); };
    p.material = std::move(m);
    p.u0 = -kPi;
    p.u1 = kPi;
    p.v0 = v0;
    p.v1 = v1;
    p.nu = 160;
    p.nv = 48;
    p.inside = crownPoint(crown, 0, 0.999) * 0.5;
    return p;
}

Vec3 brimPoint(const Brim& brim, double u, double s) {
    const double w = brim.width(u) * s;
    return {std::sin(u) * (brim.a + w), brim.drop(u, std::max(0.0, s)), std::cos(u) * (brim.c + w)};
}

Part brimPart(const Brim& brim, Material m) {
    Part p;
    p.surface = [brim](double u, double s) { return brimPoint(brim, u, s); };
    p.material = std::move(m);
    p.u0 = -kPi;
    p.u1 = kPi;
    p.v0 = -0.05;  // tucked under the crown, so no gap opens where they meet
    p.nu = 200;
    p.nv = 24;
    p.inside = {0, 1000, 0};
    p.twoSided = true;
    return p;
}

Part brimEdgePart(const Brim& brim, double thick, const QColor& c) {
    Part p;
    p.surface = [brim, thick](double u, double t) { return brimPoint(brim, u, 1.0) + Vec3{0, thick * t, 0}; };
    p.material = [c](const Sample&) {
        Surfel m = hat3d::surfel(c, 0.8);
        m.sheen = 0.2;
        return m;
    };
    p.u0 = -kPi;
    p.u1 = kPi;
    p.nu = 200;
    p.nv = 2;
    p.inside = {0, 0, 0};
    return p;
}

Part headOccluder() {
    Part p;
    p.surface = [](double u, double v) {
        return Vec3{78 * std::sin(v) * std::sin(u), 70 - 150 * std::cos(v), 88 * std::sin(v) * std::cos(u)};
    };
    p.u0 = -kPi;
    p.u1 = kPi;
    p.v0 = 1.0;  // from just above the opening down: the top of the head is inside the crown
    p.v1 = kPi - 0.02;
    p.nu = 96;
    p.nv = 48;
    p.inside = {0, 70, 0};
    return p;
}

Coords crownCoords(double a) {
    return [a](const Sample& s) { return QPointF(s.u * a, -s.pos.y); };
}

Coords brimCoords(const Brim& brim) {
    return [brim](const Sample& s) {
        return QPointF(s.u * (brim.a + 0.5 * brim.width(s.u)), s.v * brim.width(s.u));
    };
}

void castForeheadShadow(QImage& hat, double drop, int blur, double opacity) {
    QImage shadow = newLayer(hat.width(), hat.height());
    {
        QPainter p;
        beginPainter(p, shadow);
        p.drawImage(QPointF(1.5, drop), hat);
        p.setCompositionMode(QPainter::CompositionMode_SourceIn);
        p.fillRect(shadow.rect(), QColor(34, 20, 14));
    }
    blurLayer(shadow, blur);
    // Only on the head and the hair round it: the backdrop is far behind.
    QImage keep = newLayer(hat.width(), hat.height());
    {
        QPainter p;
        beginPainter(p, keep);
        QPainterPath head;
        head.addEllipse(QPointF(190, 150), 122, 120);
        p.fillPath(head, Qt::black);
    }
    blurLayer(keep, 16);
    {
        QPainter p(&shadow);
        p.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        p.drawImage(0, 0, keep);
    }
    QPainter p(&hat);
    p.setCompositionMode(QPainter::CompositionMode_DestinationOver);
    p.setOpacity(opacity);
    p.drawImage(0, 0, shadow);
}

void furFringe(QImage& hat, const QColor& c, uint32_t seed) {
    const QImage base = hat.copy();
    Rng rng(seed);
    QPainter p;
    beginPainter(p, hat);
    p.setCompositionMode(QPainter::CompositionMode_DestinationOver);
    for (int y = 1; y < base.height() - 1; ++y)
        for (int x = 1; x < base.width() - 1; ++x) {
            const int a = qAlpha(base.pixel(x, y));
            if (a < 200) continue;
            const int ax = qAlpha(base.pixel(x - 1, y)) - qAlpha(base.pixel(x + 1, y));
            const int ay = qAlpha(base.pixel(x, y - 1)) - qAlpha(base.pixel(x, y + 1));
            // Out of the top and side edges only: the lower edge is a neat turned hem.
            if (std::abs(ax) + std::abs(ay) < 40 || ay > 20 || rng.uniform() > 0.85) continue;
            const double len = std::hypot(ax, ay), ox = ax / len, oy = ay / len;
            const double l = rng.range(3.0, 8.0);
            const QPointF from(x + 0.5 - ox * 2, y + 0.5 - oy * 2);
            const QPointF to = from + QPointF(ox + rng.symmetric(0.5), oy + 0.5 + rng.symmetric(0.3)) * l;
            p.setPen(QPen(withAlpha(c.darker(100 + static_cast<int>(rng.range(0, 40))), 170),
                          rng.range(0.5, 0.9), Qt::SolidLine, Qt::RoundCap));
            p.drawLine(from, to);
        }
}

}  // namespace installdata::hats
