#pragma once
#include <algorithm>
#include <cmath>
#include <vector>

#include "HairEngine.h"

// One curly lock drawn as a bundle of fine strands wound into a spiral around its axis: the dark
// inside of the coil, the backs of its turns in shade and the fronts lit from the upper left.
namespace installdata {

// A lock's axis sampled by arc length: position and unit tangent at any distance from its start.
struct LockAxis {
    Polyline pts;
    std::vector<double> arc;
    double length() const { return arc.back(); }
    void at(double d, QPointF& pos, QPointF& tan) const {
        const size_t n = pts.size();
        const size_t i =
            std::clamp<size_t>(std::lower_bound(arc.begin(), arc.end(), d) - arc.begin(), 1, n - 1);
        const double k = std::clamp((d - arc[i - 1]) / std::max(1e-6, arc[i] - arc[i - 1]), 0.0, 1.0);
        pos = lerp(pts[i - 1], pts[i], k);
        const QPointF dd = pts[std::min(i + 1, n - 1)] - pts[i - 1];
        tan = dd / std::max(1e-6, std::hypot(dd.x(), dd.y()));
    }
};

// Most locks are tight coils; some are stretched corkscrews turned so the spiral is seen from the
// side (the back of each turn shows between the fronts), a few are loose S-curls.
enum class LockKind { Coil, Open, Wave };

struct RingletLock {
    LockAxis axis;
    double radius, pitch, tone;
    double dim;         // 0 a lock in front .. 1 deep inside the mass: darker and less defined
    int hand;           // which way the coil winds: 1 or -1
    double startPhase;  // where along its turn the lock starts, in turns
    double tilt;        // px the turns lean along the lock from one edge to the other
    double splitAt;     // fraction of the length where a thinner lock leaves it (1: none)
    double loosen;      // how much the turns open out toward the end: pitch x (0.8 + loosen) there
    LockKind kind = LockKind::Coil;
};

// Radius of the coil a distance d (px) down its lock; `grow` widens it toward the end.
double coilRadius(const RingletLock& lk, double d, double grow);
// The length of one turn a distance d (px) down the lock.
double turnPitch(const RingletLock& lk, double d);
// The body and the backs of the turns on q (a layer softened later), the fronts' strands on f.
void paintLock(QPainter& q, QPainter& f, const RingletLock& lk, double grow, const HairPalette& c, Rng& rng);

}  // namespace installdata
