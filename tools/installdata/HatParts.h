#pragma once
#include <QColor>
#include <QImage>
#include <functional>

#include "Draw.h"
#include "HatRender.h"

// The parts hats are built from (crowns over the head opening, brims, bands, visors) and their
// materials. Hat space: x right, y down, z toward the viewer, in pixels of the picture; the origin is
// the middle of the head opening, which is an ellipse of half width kOpenA and half depth kOpenC.
namespace installdata::hats {

using hat3d::Material;
using hat3d::Part;
using hat3d::Sample;
using hat3d::Scene;
using hat3d::Surfel;
using hat3d::Vec3;

// The opening is a little wider than the skull at the temples, for the hair under it.
constexpr double kOpenA = 100, kOpenC = 100;

// Where on a material a sample lies, in pixels: along its rows and across them.
using Coords = std::function<QPointF(const Sample&)>;

// Materials; each varies the colour and carves a relief that the light picks out.
Material felt(const QColor& c, uint32_t seed, const Coords& at);
Material straw(const QColor& c, uint32_t seed, const Coords& at, double row);  // plaited rows `row` px wide
Material knit(const QColor& c, uint32_t seed, const Coords& at, bool ribbed);
Material fur(const QColor& c, uint32_t seed, const Coords& at);
Material twill(const QColor& c, uint32_t seed, const Coords& at, double stitchRows);  // stitched every N px
Material tweed(const QColor& c, const QColor& fleck, uint32_t seed, const Coords& at);
Material ribbon(const QColor& c, const Coords& at);  // grosgrain: fine ribs across its length
// Darkens a material by `shade(sample)` in [0, 1] (1: unchanged), for creases and contact shade.
Material shaded(Material m, std::function<double(const Sample&)> shade);

// A crown: `profile` goes from the opening (radius 1, height 0) up to the middle of the top
// (radius 0) as (radius fraction, height px as on the bare skull; the crown stands taller, to clear
// the hair, and profileHeight gives the height it is drawn at); `dip(u)` lowers the opening at angle u (0 at
// the front); `deform` moves points after that (creases, panels, slouch).
struct Crown {
    Polyline profile;
    std::function<double(double u)> dip;
    std::function<Vec3(double u, double v, Vec3 p)> deform;
    double a = kOpenA, c = kOpenC;
};
Vec3 crownPoint(const Crown& crown, double u, double v);
Part crownPart(const Crown& crown, Material m, double v0 = -0.03, double v1 = 1);

// A brim round the opening (or round `a` x `c`): `width(u)` px out, `drop(u, s)` px down at
// s in [0, 1] from the crown to the edge. Two-sided, so its underside shows where it faces the viewer.
struct Brim {
    std::function<double(double u)> width;
    std::function<double(double u, double s)> drop;
    double a = kOpenA, c = kOpenC;
};
Vec3 brimPoint(const Brim& brim, double u, double s);
Part brimPart(const Brim& brim, Material m);
// The cut edge of a brim, `thick` px deep below its outer line.
Part brimEdgePart(const Brim& brim, double thick, const QColor& c);

// The head under the hat: it hides the parts of a brim behind it.
Part headOccluder();

// Material coordinates of a crown and of a brim: along the circumference, and up or out.
Coords crownCoords(double a = kOpenA);
Coords brimCoords(const Brim& brim);

// The height of a crown profile reached at v, and the v at which it reaches `height`.
double profileHeight(const Polyline& profile, double v);
double profileV(const Polyline& profile, double height);

// A hat ready to draw: the scene to render, then what is painted onto the rendered picture.
struct HatDesign {
    Scene scene;
    std::function<void(QImage&)> finish;
};
// The hats with a brim (Hats.cpp), and the caps, knits and soft hats without one (HatStyles.cpp).
std::vector<HatDesign> brimmedHats();
std::vector<HatDesign> brimlessHats();

// The soft dark band that the hat's lower edge casts on the forehead, hair and temples, put under the
// hat's own pixels: its alpha shifted down by `drop`, blurred and kept to the head.
void castForeheadShadow(QImage& hat, double drop, int blur, double opacity);
// Short hairs across the outline, for fur: strands of the colour out from the opaque edge.
void furFringe(QImage& hat, const QColor& c, uint32_t seed);

}  // namespace installdata::hats
