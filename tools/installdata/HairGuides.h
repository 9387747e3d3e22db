#pragma once
#include <algorithm>

#include "Draw.h"

// The guide curves of a sweep, densely sampled: at(s, t) is the point a fraction s along the hair
// (root 0 .. tip 1) and t across the sheet (first guide 0 .. last guide 1).
namespace installdata {

constexpr int kGuideSamples = 161;

struct Guides {
    std::vector<Polyline> lines;  // each sampled at kGuideSamples points
    explicit Guides(const std::vector<Polyline>& controls) {
        for (const Polyline& c : controls) lines.push_back(sampleSpline(c, kGuideSamples));
    }
    QPointF at(double s, double t) const {
        const double f = std::clamp(s, 0.0, 1.0) * (kGuideSamples - 1);
        const int i = std::min(static_cast<int>(f), kGuideSamples - 2);
        const double k = f - i;
        const double g = std::clamp(t, 0.0, 1.0) * (static_cast<int>(lines.size()) - 1);
        const int j = std::min(static_cast<int>(g), static_cast<int>(lines.size()) - 2);
        const QPointF a = lerp(lines[j][i], lines[j][i + 1], k),
                      b = lerp(lines[j + 1][i], lines[j + 1][i + 1], k);
        return lerp(a, b, g - j);
    }
};

}  // namespace installdata
