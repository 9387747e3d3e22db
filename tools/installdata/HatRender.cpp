#include "HatRender.h"

#include <QColor>
#include <algorithm>
#include <cstdint>
#include <limits>

#include "Draw.h"

namespace installdata::hat3d {

namespace {

constexpr int kScale = 3;  // samples per picture pixel along each axis

uint32_t hash3(int32_t i, int32_t j, uint32_t seed) {
    uint32_t h =
        seed * 0x9E3779B1u ^ static_cast<uint32_t>(i) * 0x85EBCA77u ^ static_cast<uint32_t>(j) * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return h;
}

// One rasterised sample: which part won the depth test and where on it.
struct GSample {
    float depth = -std::numeric_limits<float>::infinity();
    int part = -1;  // -1 nothing, -2 an occluder
    float u = 0, v = 0;
    Vec3 pos, normal;
};

struct Vertex {
    double sx, sy, depth, u, v;
    Vec3 pos, normal;
};

class Projection {
  public:
    explicit Projection(const Scene& s)
        : ct_(std::cos(s.tilt)),
          st_(std::sin(s.tilt)),
          cr_(std::cos(s.roll)),
          sr_(std::sin(s.roll)),
          origin_(s.origin) {}
    // Roll about the view axis, then lean forward about the x axis.
    Vec3 rotate(const Vec3& p) const {
        const double x = p.x * cr_ - p.y * sr_, y = p.x * sr_ + p.y * cr_;
        return {x, y * ct_ + p.z * st_, p.z * ct_ - y * st_};
    }
    QPointF screen(const Vec3& rotated) const { return origin_ + QPointF(rotated.x, rotated.y); }

  private:
    double ct_, st_, cr_, sr_;
    QPointF origin_;
};

Vertex makeVertex(const Part& part, const Projection& proj, double u, double v) {
    const double du = (part.u1 - part.u0) / part.nu * 0.25, dv = (part.v1 - part.v0) / part.nv * 0.25;
    const Vec3 p = part.surface(u, v);
    const Vec3 tu = part.surface(u + du, v) - part.surface(u - du, v);
    const Vec3 tv = part.surface(u, v + dv) - part.surface(u, v - dv);
    Vec3 n = tu.cross(tv).normalised();
    if (n.dot(p - part.inside) < 0) n = n * -1.0;
    const Vec3 r = proj.rotate(p);
    const QPointF s = proj.screen(r);
    return {s.x() * kScale, s.y() * kScale, r.z, u, v, p, proj.rotate(n)};
}

void rasterise(std::vector<GSample>& g, int w, int h, int partIndex, const Vertex& a, const Vertex& b,
               const Vertex& c) {
    const double area = (b.sx - a.sx) * (c.sy - a.sy) - (b.sy - a.sy) * (c.sx - a.sx);
    if (std::abs(area) < 1e-9) return;
    const int x0 = std::max(0, static_cast<int>(std::floor(std::min({a.sx, b.sx, c.sx}))));
    const int x1 = std::min(w - 1, static_cast<int>(std::ceil(std::max({a.sx, b.sx, c.sx}))));
    const int y0 = std::max(0, static_cast<int>(std::floor(std::min({a.sy, b.sy, c.sy}))));
    const int y1 = std::min(h - 1, static_cast<int>(std::ceil(std::max({a.sy, b.sy, c.sy}))));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const double px = x + 0.5, py = y + 0.5;
            const double wa = ((b.sx - px) * (c.sy - py) - (b.sy - py) * (c.sx - px)) / area;
            const double wb = ((c.sx - px) * (a.sy - py) - (c.sy - py) * (a.sx - px)) / area;
            const double wc = 1.0 - wa - wb;
            if (wa < -1e-4 || wb < -1e-4 || wc < -1e-4) continue;  // shared edges: no sample falls through
            const double depth = wa * a.depth + wb * b.depth + wc * c.depth;
            GSample& s = g[static_cast<size_t>(y) * w + x];
            if (depth <= s.depth) continue;
            s.depth = static_cast<float>(depth);
            s.part = partIndex;
            s.u = static_cast<float>(wa * a.u + wb * b.u + wc * c.u);
            s.v = static_cast<float>(wa * a.v + wb * b.v + wc * c.v);
            s.pos = a.pos * wa + b.pos * wb + c.pos * wc;
            s.normal = (a.normal * wa + b.normal * wb + c.normal * wc).normalised();
        }
}

struct Lit {
    double r = 0, g = 0, b = 0, a = 0;
};

// Light from the upper left and a little in front; a dim warm bounce from below (skin and hair).
Lit shade(const Surfel& m, Vec3 n, bool underside) {
    static const Vec3 light = Vec3{-0.68, -0.62, 0.42}.normalised();
    static const Vec3 half = (light + Vec3{0, 0, 1}).normalised();
    const double wrap = std::max(0.0, (n.dot(light) + 0.25) / 1.25);
    double ambient = 0.27 + 0.10 * std::clamp(-n.y, 0.0, 1.0);
    if (underside) ambient *= 0.62;
    const double bounce = 0.10 * std::clamp(n.y, 0.0, 1.0);
    const double lum = ambient + 0.86 * wrap;
    const double specular = m.shine * std::pow(std::max(0.0, n.dot(half)), 22.0);
    const double rim = m.sheen * std::pow(1.0 - std::clamp(std::abs(n.z), 0.0, 1.0), 2.0);
    auto ch = [&](double albedo, double warm) {
        return std::clamp(albedo * (lum + rim) + albedo * bounce * warm + specular, 0.0, 1.0);
    };
    return {ch(m.r, 1.0), ch(m.g, 0.8), ch(m.b, 0.65), 1.0};
}

}  // namespace

double cellRandom(int i, int j, uint32_t seed) { return hash3(i, j, seed) * (1.0 / 4294967296.0); }

double fbm2(double x, double y, uint32_t seed, int octaves) {
    double sum = 0, amp = 0.5, norm = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * valueNoise(x, y, seed + o * 7919u);
        norm += amp;
        x = x * 2.03 + 17.1;
        y = y * 2.03 - 9.7;
        amp *= 0.5;
    }
    return sum / norm;
}

Surfel surfel(const QColor& c, double brightness) {
    return {c.redF() * brightness, c.greenF() * brightness, c.blueF() * brightness, 0, 0, 0};
}

QImage render(const Scene& scene) {
    const int w = scene.width * kScale, h = scene.height * kScale;
    std::vector<GSample> g(static_cast<size_t>(w) * h);
    const Projection proj(scene);
    for (size_t pi = 0; pi < scene.parts.size(); ++pi) {
        const Part& part = scene.parts[pi];
        std::vector<Vertex> grid;
        grid.reserve(static_cast<size_t>(part.nu + 1) * (part.nv + 1));
        for (int j = 0; j <= part.nv; ++j)
            for (int i = 0; i <= part.nu; ++i)
                grid.push_back(makeVertex(part, proj, part.u0 + (part.u1 - part.u0) * i / part.nu,
                                          part.v0 + (part.v1 - part.v0) * j / part.nv));
        const int id = part.material ? static_cast<int>(pi) : -2;
        for (int j = 0; j < part.nv; ++j)
            for (int i = 0; i < part.nu; ++i) {
                const Vertex& a = grid[j * (part.nu + 1) + i];
                const Vertex& b = grid[j * (part.nu + 1) + i + 1];
                const Vertex& c = grid[(j + 1) * (part.nu + 1) + i];
                const Vertex& d = grid[(j + 1) * (part.nu + 1) + i + 1];
                rasterise(g, w, h, id, a, b, d);
                rasterise(g, w, h, id, a, d, c);
            }
    }

    // Materials first, so that relief can be lit from the height differences between samples.
    std::vector<Surfel> m(g.size());
    std::vector<uint8_t> under(g.size(), 0);
    for (size_t k = 0; k < g.size(); ++k) {
        GSample& s = g[k];
        if (s.part < 0) continue;
        const Part& part = scene.parts[s.part];
        if (s.normal.z < 0) {
            s.normal = s.normal * -1.0;
            under[k] = part.twoSided;
        }
        m[k] = part.material({s.u, s.v, s.pos, under[k] != 0});
    }
    auto heightAt = [&](int x, int y, int part, double fallback) {
        if (x < 0 || y < 0 || x >= w || y >= h) return fallback;
        const size_t k = static_cast<size_t>(y) * w + x;
        return g[k].part == part ? m[k].height : fallback;
    };
    std::vector<Lit> lit(g.size());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const size_t k = static_cast<size_t>(y) * w + x;
            if (g[k].part < 0) continue;
            const double h0 = m[k].height;
            const double gx =
                (heightAt(x + 1, y, g[k].part, h0) - heightAt(x - 1, y, g[k].part, h0)) * kScale / 2;
            const double gy =
                (heightAt(x, y + 1, g[k].part, h0) - heightAt(x, y - 1, g[k].part, h0)) * kScale / 2;
            const Vec3 n = (g[k].normal - Vec3{gx, gy, 0} * g[k].normal.z).normalised();
            lit[k] = shade(m[k], n, under[k] != 0);
        }

    QImage out(scene.width, scene.height, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < scene.height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < scene.width; ++x) {
            double r = 0, gg = 0, b = 0, a = 0;
            for (int sy = 0; sy < kScale; ++sy)
                for (int sx = 0; sx < kScale; ++sx) {
                    const Lit& l = lit[static_cast<size_t>(y * kScale + sy) * w + x * kScale + sx];
                    r += l.r * l.a;
                    gg += l.g * l.a;
                    b += l.b * l.a;
                    a += l.a;
                }
            const double n = kScale * kScale;
            auto q = [n](double v) {
                return static_cast<int>(std::lround(std::clamp(v / n, 0.0, 1.0) * 255));
            };
            row[x] = qRgba(q(r), q(gg), q(b), q(a));
        }
    }
    return out;
}

}  // namespace installdata::hat3d
