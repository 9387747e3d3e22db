#include <cmath>

#include "HatParts.h"
#include "InstallData.h"

// Hats: 380 x 250 pictures at canvas (0, -10), so local y = canvas y + 10, drawn over the hairstyle.
// Each is rendered from surfaces round the head (HatRender.h): the crown comes down over the skull
// to the forehead and temples, brims turn in perspective with their undersides in shade, and the
// lower edge casts a soft shadow on the forehead in the hat's own pixels. This file holds the
// brimmed hats; HatStyles.cpp the caps and soft hats.
namespace installdata::hats {

namespace {

// Where the middle of the head opening lands in the picture: the sides of a hat's band sit at
// canvas y 136, over the temples.
const QPointF kOrigin(190, 146);

double frontness(double u) { return std::max(0.0, std::cos(u)); }
double backness(double u) { return std::max(0.0, -std::cos(u)); }

// The crown, its band and the brim of a brimmed hat, with the head hiding the brim behind it.
struct BrimmedHat {
    Crown crown;
    Brim brim;
    double bandHeight;
    Material body, band, brimTop;
    QColor edge;
    double edgeThick = 2.5;
};

Scene brimmedScene(const BrimmedHat& h, double tilt) {
    Scene s;
    s.tilt = tilt;
    s.origin = kOrigin;
    const double vBand = profileV(h.crown.profile, h.bandHeight);
    s.parts.push_back(headOccluder());
    s.parts.push_back(crownPart(h.crown, h.band, -0.03, vBand));
    s.parts.push_back(crownPart(h.crown, h.body, vBand, 1.0));
    s.parts.push_back(brimPart(h.brim, h.brimTop));
    s.parts.push_back(brimEdgePart(h.brim, h.edgeThick, h.edge));
    return s;
}

// Band relief: the ribbon stands out from the crown by `thick` px below `height`.
std::function<Vec3(double, double, Vec3)> withBand(const Polyline& profile, double height, double thick,
                                                   std::function<Vec3(double, double, Vec3)> more = {}) {
    const double vBand = profileV(profile, height);
    return [=](double u, double v, Vec3 p) {
        const double k = 1.0 - smoothstep(vBand - 0.004, vBand + 0.004, v);
        p.x += std::sin(u) * thick * k;
        p.z += std::cos(u) * thick * k;
        return more ? more(u, v, p) : p;
    };
}

// Brim shade: darker next to the crown, where the crown shuts out the sky.
Material brimShade(Material m, const Brim& brim, double depth) {
    return shaded(std::move(m),
                  [brim, depth](const Sample& s) { return 1.0 - depth * gauss(s.v * brim.width(s.u), 9.0); });
}

HatDesign fedora(const QColor& felt_, const QColor& band, uint32_t seed) {
    BrimmedHat h;
    h.crown.profile = {{1, 0},     {0.975, 22}, {0.93, 48}, {0.87, 66},
                       {0.77, 77}, {0.5, 83},   {0.2, 85},  {0, 85}};
    h.crown.dip = [](double u) { return 10 * std::pow(frontness(u), 2); };
    h.crown.deform = withBand(h.crown.profile, 17, 1.4, [](double u, double v, Vec3 p) {
        // The teardrop crease along the top and the two pinches at the front.
        const double top = smoothstep(0.55, 0.9, v);
        p.y += 16 * top * gauss(p.x, 21) * (0.6 + 0.4 * frontness(u) + 0.3 * backness(u));
        const double pinch = 0.16 * gauss(std::abs(u) - 0.62, 0.3) * gauss(v - 0.72, 0.16);
        p.x *= 1 - pinch;
        p.z *= 1 - pinch * 1.4;
        return p;
    });
    h.bandHeight = 17;
    const double w = 66;
    h.brim.width = [w](double u) { return w + 6 * std::pow(std::sin(u), 2); };
    h.brim.drop = [dip = h.crown.dip](double u, double s) {
        // Snapped down in front, turned up at the back and a little at the sides.
        return dip(u) + 26 * s * s * std::pow(frontness(u), 1.5) - 10 * s * s * std::pow(backness(u), 2) -
               14 * s * s * std::pow(std::sin(u), 2);
    };
    h.body = felt(felt_, seed, crownCoords());
    h.band = ribbon(band, crownCoords());
    h.brimTop = brimShade(felt(felt_, seed + 1, brimCoords(h.brim)), h.brim, 0.35);
    h.edge = felt_.darker(130);
    return {brimmedScene(h, -0.08), [](QImage& img) { castForeheadShadow(img, 7, 10, 0.7); }};
}

HatDesign sunHat(const QColor& c, const QColor& band, uint32_t seed) {
    BrimmedHat h;
    h.crown.profile = {{1, 0}, {0.97, 24}, {0.9, 50}, {0.76, 68}, {0.46, 76}, {0, 78}};
    h.crown.dip = [](double u) { return 8 * std::pow(frontness(u), 2); };
    h.crown.deform = withBand(h.crown.profile, 14, 1.2);
    h.bandHeight = 14;
    h.brim.width = [](double u) { return 86 + 4 * std::pow(std::sin(u), 2); };
    h.brim.drop = [dip = h.crown.dip](double u, double s) {
        // Floppy: falls away all round, a little more in front, in soft waves.
        return dip(u) + 26 * std::pow(s, 1.6) + 8 * s * s * frontness(u) + 5 * s * s * std::sin(5 * u + 0.7);
    };
    h.body = straw(c, seed, crownCoords(), 4.2);
    h.band = ribbon(band, crownCoords());
    h.brimTop = brimShade(straw(c, seed + 1, brimCoords(h.brim), 4.6), h.brim, 0.3);
    h.edge = c.darker(125);
    h.edgeThick = 1.6;
    return {brimmedScene(h, -0.1), [](QImage& img) { castForeheadShadow(img, 8, 12, 0.72); }};
}

HatDesign boater(const QColor& c, const QColor& band, uint32_t seed) {
    BrimmedHat h;
    h.crown.profile = {{1, 0}, {0.99, 34}, {0.985, 63}, {0.95, 68}, {0.5, 70}, {0, 71}};
    h.crown.dip = [](double u) { return 6 * std::pow(frontness(u), 2); };
    h.crown.deform = withBand(h.crown.profile, 24, 1.0);
    h.bandHeight = 24;
    h.brim.width = [](double) { return 52.0; };
    h.brim.drop = [dip = h.crown.dip](double u, double s) { return dip(u) * (1 - s) + 3 * s * frontness(u); };
    h.body = straw(c, seed, crownCoords(), 6.0);
    h.band = ribbon(band, crownCoords());
    h.brimTop = brimShade(straw(c, seed + 1, brimCoords(h.brim), 6.0), h.brim, 0.25);
    h.edge = c.darker(120);
    h.edgeThick = 3.2;
    return {brimmedScene(h, 0.05), [](QImage& img) { castForeheadShadow(img, 7, 10, 0.66); }};
}

HatDesign bucketHat(const QColor& c, uint32_t seed) {
    BrimmedHat h;
    h.crown.profile = {{1, 0}, {0.94, 23}, {0.85, 46}, {0.74, 58}, {0.42, 63}, {0, 64}};
    h.crown.dip = [](double u) { return 6 * std::pow(frontness(u), 2) + 4 * std::pow(std::sin(u), 2); };
    h.crown.deform = withBand(h.crown.profile, 9, 0.8);
    h.bandHeight = 9;
    h.brim.width = [](double) { return 50.0; };
    h.brim.drop = [dip = h.crown.dip](double u, double s) {
        return dip(u) + 27 * s + 4 * s * s * frontness(u);
    };
    h.body = twill(c, seed, crownCoords(), 0);
    h.band = twill(c.darker(108), seed + 2, crownCoords(), 3.0);
    h.brimTop = brimShade(twill(c, seed + 1, brimCoords(h.brim), 5.0), h.brim, 0.3);
    h.edge = c.darker(115);
    h.edgeThick = 1.8;
    return {brimmedScene(h, -0.06), [](QImage& img) { castForeheadShadow(img, 7, 10, 0.68); }};
}

HatDesign cloche(const QColor& c, const QColor& band, uint32_t seed) {
    BrimmedHat h;
    h.crown.profile = {{1, 0}, {0.98, 20}, {0.93, 45}, {0.82, 70}, {0.6, 87}, {0.3, 94}, {0, 95}};
    // Pulled down low over the temples and ears, shallower in front.
    h.crown.dip = [](double u) { return 24 * std::pow(std::sin(u), 2) + 6 * frontness(u); };
    h.crown.deform = withBand(h.crown.profile, 12, 1.3);
    h.crown.a = kOpenA - 4;
    h.brim.a = h.crown.a;
    h.bandHeight = 12;
    h.brim.width = [](double u) { return 18 + 6 * frontness(u); };
    h.brim.drop = [dip = h.crown.dip](double u, double s) {
        return dip(u) + 14 * s + 3 * s * s * frontness(u);
    };
    h.body = felt(c, seed, crownCoords());
    h.band = ribbon(band, crownCoords());
    h.brimTop = brimShade(felt(c, seed + 1, brimCoords(h.brim)), h.brim, 0.3);
    h.edge = c.darker(125);
    h.edgeThick = 2.0;
    HatDesign d{brimmedScene(h, -0.04), [](QImage& img) { castForeheadShadow(img, 7, 10, 0.7); }};
    d.scene.origin += QPointF(0, 4);
    return d;
}

}  // namespace

std::vector<HatDesign> brimmedHats() {
    std::vector<HatDesign> out;
    out.push_back(fedora(QColor(84, 80, 78), QColor(30, 26, 26), 11));
    out.push_back(sunHat(QColor(226, 200, 150), QColor(40, 36, 34), 21));
    out.push_back(boater(QColor(234, 210, 156), QColor(34, 44, 84), 31));
    out.push_back(bucketHat(QColor(178, 162, 124), 41));
    out.push_back(cloche(QColor(112, 38, 60), QColor(62, 20, 34), 51));
    return out;
}

}  // namespace installdata::hats

namespace installdata {

void writeHats(Writer& out) {
    std::vector<hats::HatDesign> designs = hats::brimmedHats();
    for (hats::HatDesign& d : hats::brimlessHats()) designs.push_back(std::move(d));
    std::vector<QImage> pictures(designs.size());
    parallelFor(static_cast<int>(designs.size()), [&](int i) {
        pictures[i] = hat3d::render(designs[i].scene);
        if (designs[i].finish) designs[i].finish(pictures[i]);
    });
    int index = 0;
    for (const QImage& img : pictures)
        out.component(img, QStringLiteral("maozi/") + componentName({}, ++index));
}

}  // namespace installdata
