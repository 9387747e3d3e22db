#pragma once
#include <QPainterPath>
#include <vector>

#include "Draw.h"

// Float rasters for the per-pixel modelling of the sample portrait (x right, y down, canvas pixels):
// heights toward the viewer, coverages, albedo channels and masks.
namespace installdata {

class Field {
  public:
    Field() = default;
    Field(int w, int h, float fill = 0.0f) : w_(w), h_(h), v_(static_cast<size_t>(w) * h, fill) {}
    int width() const { return w_; }
    int height() const { return h_; }
    float& operator()(int x, int y) { return v_[static_cast<size_t>(y) * w_ + x]; }
    float operator()(int x, int y) const { return v_[static_cast<size_t>(y) * w_ + x]; }
    // Clamped to the edges.
    float clamped(int x, int y) const;
    // Bilinear, clamped to the edges.
    float sample(double x, double y) const;

  private:
    int w_ = 0, h_ = 0;
    std::vector<float> v_;
};

// Anti-aliased coverage of a path, 0..1.
Field coverageOf(const QPainterPath& path, int w, int h);
// Coverage with an edge that is defined but not cut out: `keep` of the sharp coverage, the rest
// blurred by a pixel.
Field softEdgedCoverage(const QPainterPath& path, int w, int h, double keep);
// Distance in px to the nearest of the open polylines, for the pixels where `where` > 0 (0 elsewhere).
Field distanceTo(const std::vector<Polyline>& lines, const Field& where);
// Smooth value noise in [-1, 1] with lattice cells of cx x cy px.
Field valueNoise(int w, int h, double cx, double cy, uint64_t seed);
// Sum of octaves of value noise, each half the cell and `gain` times the amplitude of the last.
Field fractalNoise(int w, int h, double cell, int octaves, double gain, uint64_t seed);
// Three box passes: close to a gaussian of the given radius.
void blurField(Field& f, int radius);

// Gaussian bump: amp * exp(-(dx/rx)^2 - (dy/ry)^2), the ellipse turned by `angle` radians.
void addBlob(Field& f, QPointF c, double rx, double ry, double amp, double angle = 0.0);
// A gaussian ridge of the given radius along a polyline; the amplitude runs from a0 to a1 along it.
void addRidge(Field& f, const Polyline& line, double radius, double a0, double a1);
// The same bump as addBlob, as a weight 0..1 (for tinting).
double blobWeight(QPointF at, QPointF c, double rx, double ry);

}  // namespace installdata
