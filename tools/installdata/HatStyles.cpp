#include <cmath>

#include "HatParts.h"

// The caps, knits and soft hats without a brim: each comes down over the temples at the sides, so
// it wraps the head, and a visor or a cuff shades the forehead.
namespace installdata::hats {

namespace {

const QPointF kOrigin(190, 146);

double frontness(double u) { return std::max(0.0, std::cos(u)); }

// Distance in pixels round the crown from the nearest of `count` seams (one at the back).
double seamDistance(double u, int count, double a) {
    const double step = 2 * kPi / count;
    const double k = std::remainder(u - kPi, step);
    return std::abs(k) * a;
}

// Panel seams pressed into a crown, with a button where they meet on top.
std::function<Vec3(double, double, Vec3)> panelled(int count, double depth) {
    return [=](double u, double v, Vec3 p) {
        const double d = seamDistance(u, count, kOpenA * (1 - v));
        const double k =
            1.0 - depth / kOpenA * gauss(d, 2.2) * smoothstep(0.0, 0.15, v) * (1 - smoothstep(0.9, 1.0, v));
        p.x *= k;
        p.z *= k;
        return p;
    };
}

Material withSeams(Material m, int count) {
    return shaded(std::move(m), [count](const Sample& s) {
        return 1.0 - 0.35 * gauss(seamDistance(s.u, count, kOpenA * (1 - s.v)), 1.2);
    });
}

// A stiff bill in front: phi across its root along the opening, s from the crown out.
Part visor(double length, double slope, double curve, std::function<double(double)> dip, Material m) {
    Part p;
    p.surface = [=](double phi, double s) {
        const double reach = length * (1 - 0.45 * std::pow(phi / 1.0, 2)) * s;
        return Vec3{kOpenA * std::sin(phi) * (1 + 0.06 * s), dip(phi) + slope * s + curve * s * phi * phi,
                    kOpenC * std::cos(phi) + reach};
    };
    p.material = std::move(m);
    p.u0 = -1.0;
    p.u1 = 1.0;
    p.v0 = -0.06;  // its root tucked under the crown
    p.nu = 80;
    p.nv = 16;
    p.inside = {0, 1000, 0};
    p.twoSided = true;
    return p;
}

// The underside of a bill is faced in a darker grey-green cloth.
Material underInGrey(Material m) {
    return [m = std::move(m)](const Sample& s) {
        Surfel out = m(s);
        if (s.underside) {
            const double l = (out.r + out.g + out.b) / 3;
            out.r = 0.55 * l + 0.12;
            out.g = 0.6 * l + 0.14;
            out.b = 0.55 * l + 0.12;
        }
        return out;
    };
}

Part sphere(Vec3 centre, double r, Material m) {
    Part p;
    p.surface = [=](double u, double v) {
        return centre + Vec3{r * std::sin(v) * std::sin(u), -r * std::cos(v), r * std::sin(v) * std::cos(u)};
    };
    p.material = std::move(m);
    p.u0 = -kPi;
    p.u1 = kPi;
    p.v0 = 0.01;
    p.v1 = kPi - 0.01;
    p.nu = 48;
    p.nv = 24;
    p.inside = centre;
    return p;
}

Coords sphereCoords(double r) {
    return [r](const Sample& s) { return QPointF(s.u * r, s.v * r); };
}

Scene sceneOf(std::vector<Part> parts, double tilt, double roll = 0, QPointF shift = {}) {
    Scene s;
    s.parts = std::move(parts);
    s.tilt = tilt;
    s.roll = roll;
    s.origin = kOrigin + shift;
    return s;
}

HatDesign beret(const QColor& c, uint32_t seed) {
    Crown cr;
    cr.profile = {{1, 0}, {1.0, 8}, {1.1, 16}, {1.27, 30}, {1.3, 41}, {1.12, 54}, {0.6, 64}, {0, 66}};
    cr.dip = [](double u) { return 10 * std::pow(std::sin(u), 2) + 3 * frontness(u); };
    // Pulled over to the viewer's right, where its full edge droops.
    cr.deform = [](double, double v, Vec3 p) {
        const double k = smoothstep(0.12, 0.7, v);
        p.x += 20 * k;
        p.y += 0.16 * k * p.x - 4 * k;
        return p;
    };
    const double vBand = profileV(cr.profile, 7.5);
    std::vector<Part> parts{
        crownPart(cr, felt(c.darker(112), seed + 1, crownCoords()), 0, vBand),
        crownPart(cr, felt(c, seed, crownCoords()), vBand, 1),
        sphere(crownPoint(cr, 0, 1) + Vec3{0, -2.5, 0}, 3.2, felt(c.darker(115), seed, sphereCoords(3)))};
    return {sceneOf(std::move(parts), 0.1), [](QImage& img) { castForeheadShadow(img, 6, 9, 0.66); }};
}

HatDesign beanie(const QColor& c, const QColor& pom, uint32_t seed) {
    Crown cr;
    cr.profile = {{1, 0}, {1, 22}, {0.97, 42}, {0.9, 62}, {0.74, 82}, {0.45, 96}, {0, 101}};
    cr.dip = [](double u) { return 14 * std::pow(std::sin(u), 2) + 5 * frontness(u); };
    const double vCuff = profileV(cr.profile, 24);
    cr.deform = [vCuff](double u, double v, Vec3 p) {  // the folded cuff stands out
        const double k = 1.0 - smoothstep(vCuff - 0.01, vCuff + 0.01, v);
        p.x += std::sin(u) * 3.5 * k;
        p.z += std::cos(u) * 3.5 * k;
        p.z -= 8 * v * v;  // slouches back a little
        return p;
    };
    std::vector<Part> parts{
        crownPart(cr, knit(c.darker(104), seed + 1, crownCoords(), true), 0, vCuff),
        crownPart(cr, knit(c, seed, crownCoords(), false), vCuff, 1),
        sphere(crownPoint(cr, 0, 1) + Vec3{0, -17, -8}, 25, fur(pom, seed + 2, sphereCoords(19)))};
    return {sceneOf(std::move(parts), 0.06), [pom, seed](QImage& img) {
                castForeheadShadow(img, 6, 9, 0.64);
                furFringe(img, pom, seed);
            }};
}

HatDesign baseballCap(const QColor& c, uint32_t seed) {
    Crown cr;
    cr.profile = {{1, 0}, {0.98, 18}, {0.92, 38}, {0.79, 56}, {0.5, 69}, {0, 73}};
    cr.dip = [](double u) { return 12 * std::pow(std::sin(u), 2) + 2 * frontness(u); };
    cr.deform = panelled(6, 1.5);
    const Material body = withSeams(twill(c, seed, crownCoords(), 0), 6);
    std::vector<Part> parts{
        crownPart(cr, body, 0, 1),
        visor(72, 14, 30, cr.dip,
              underInGrey(twill(
                  c, seed + 1, [](const Sample& s) { return QPointF(s.u * 90, s.v * 64); }, 4.0))),
        sphere(crownPoint(cr, 0, 1) + Vec3{0, -1.5, 0}, 4, twill(c, seed, sphereCoords(4), 0))};
    return {sceneOf(std::move(parts), 0.0), [](QImage& img) { castForeheadShadow(img, 8, 11, 0.72); }};
}

HatDesign newsboy(const QColor& c, const QColor& fleck, uint32_t seed) {
    Crown cr;
    cr.profile = {{1, 0}, {1.05, 11}, {1.15, 30}, {1.17, 46}, {1.04, 62}, {0.6, 75}, {0, 79}};
    cr.dip = [](double u) { return 11 * std::pow(std::sin(u), 2) + 2 * frontness(u); };
    const std::function<Vec3(double, double, Vec3)> panels = panelled(8, 2.0);
    // The soft top is pulled forward over the peak and sags onto it.
    cr.deform = [panels](double u, double v, Vec3 p) {
        p = panels(u, v, p);
        p.z += 24 * smoothstep(0.15, 0.85, v);
        p.y += 8 * smoothstep(0.4, 1.0, v) * frontness(u);
        return p;
    };
    const Material body = withSeams(tweed(c, fleck, seed, crownCoords()), 8);
    std::vector<Part> parts{
        crownPart(cr, body, 0, 1),
        visor(40, 12, 5, cr.dip,
              tweed(c.darker(106), fleck, seed + 1,
                    [](const Sample& s) { return QPointF(s.u * 90, s.v * 40); })),
        sphere(crownPoint(cr, 0, 1) + Vec3{0, -1.5, 0}, 4.5, tweed(c, fleck, seed, sphereCoords(4)))};
    return {sceneOf(std::move(parts), 0.1), [](QImage& img) { castForeheadShadow(img, 8, 11, 0.7); }};
}

HatDesign furHat(const QColor& c, uint32_t seed) {
    Crown cr;
    cr.profile = {{1.08, 0}, {1.16, 28}, {1.16, 56}, {1.09, 79}, {0.72, 90}, {0, 93}};
    cr.dip = [](double u) { return 10 * std::pow(std::sin(u), 2) + 3 * frontness(u); };
    std::vector<Part> parts{crownPart(cr, fur(c, seed, crownCoords()), 0, 1)};
    return {sceneOf(std::move(parts), 0.12), [c, seed](QImage& img) {
                furFringe(img, c, seed);
                castForeheadShadow(img, 7, 11, 0.66);
            }};
}

}  // namespace

std::vector<HatDesign> brimlessHats() {
    std::vector<HatDesign> out;
    out.push_back(beret(QColor(150, 30, 42), 71));
    out.push_back(beanie(QColor(222, 212, 192), QColor(230, 222, 206), 81));
    out.push_back(baseballCap(QColor(36, 50, 82), 91));
    out.push_back(newsboy(QColor(112, 96, 78), QColor(170, 120, 80), 101));
    out.push_back(furHat(QColor(120, 96, 78), 111));
    return out;
}

}  // namespace installdata::hats
