#pragma once
#include <QImage>
#include <QPointF>
#include <cmath>
#include <functional>
#include <vector>

// A small renderer for hats: each part is a parametric surface in hat space, rasterised with a depth
// buffer at three times the picture size, shaded per sample (material colour, relief, light from the
// upper left) and averaged down, so crowns wrap the head and brims turn in true perspective.
namespace installdata::hat3d {

struct Vec3 {
    double x = 0, y = 0, z = 0;
    Vec3 operator+(const Vec3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    Vec3 operator-(const Vec3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    Vec3 operator*(double s) const { return {x * s, y * s, z * s}; }
    double dot(const Vec3& o) const { return x * o.x + y * o.y + z * o.z; }
    Vec3 cross(const Vec3& o) const { return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x}; }
    Vec3 normalised() const {
        const double l = std::sqrt(dot(*this));
        return l > 1e-12 ? *this * (1.0 / l) : Vec3{0, 0, 1};
    }
};

// What a material sees at one sample: the part's parameters, the point in hat space (x right, y down,
// z toward the viewer, origin at the middle of the head opening), and which side faces the viewer.
struct Sample {
    double u = 0, v = 0;
    Vec3 pos;
    bool underside = false;
};

// Colour (0..1 per channel), relief height in pixels (lit as a bump), and highlights.
struct Surfel {
    double r = 0, g = 0, b = 0;
    double height = 0;
    double shine = 0;  // strength of the sharp highlight
    double sheen = 0;  // soft lightening toward the outline, as on felt and velvet
};

using Surface = std::function<Vec3(double u, double v)>;
using Material = std::function<Surfel(const Sample&)>;

struct Part {
    Surface surface;
    Material material;  // none: the part only hides what is behind it (the head)
    double u0 = 0, u1 = 1, v0 = 0, v1 = 1;
    int nu = 96, nv = 24;
    Vec3 inside;  // normals point away from this point (for two-sided parts: the top side)
    bool twoSided = false;
};

struct Scene {
    std::vector<Part> parts;
    double tilt = 0;  // radians the hat leans forward: its front comes lower and nearer
    double roll = 0;  // radians the hat leans to the viewer's left (negative) or right
    QPointF origin;   // where hat-space (0, 0, 0) lands in the picture
    int width = 380, height = 250;
};

// The hat as a premultiplied layer of the scene's size.
QImage render(const Scene& scene);

// Sum of octaves of the value noise of Draw.h, each finer and shifted, in [0, 1]: for materials.
double fbm2(double x, double y, uint32_t seed, int octaves);
// A per-cell random number in [0, 1) for integer cells (strands, stitches, flecks).
double cellRandom(int i, int j, uint32_t seed);

// Surfel from an sRGB colour with a brightness factor.
Surfel surfel(const QColor& c, double brightness = 1.0);

}  // namespace installdata::hat3d
