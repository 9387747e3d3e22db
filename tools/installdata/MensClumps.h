#pragma once
#include <QPainterPath>
#include <functional>

#include "HairEngine.h"

// Short men's hair drawn clump by clump: groups of strands with their own tips, a dark gap under
// each, lit from the upper left; and the clippered sides that thin out into the skin.
namespace installdata {

// Direction the hair is combed at a canvas point (root -> tip), any length.
using Flow = std::function<QPointF(QPointF)>;

// The rounded surface the hair lies on, for its light: a ball at `centre` of `radius` px, and
// the radius of the bright band of sheen around the crown.
struct HeadLight {
    QPointF centre{190, 165};
    double radius = 105, band = 72;
    // 0 turned away from the light (upper left, toward the viewer) .. 1 facing it.
    double lit(QPointF q) const;
    // 0 .. 1 on the bright band across the crown, strongest on the upper left.
    double sheen(QPointF q) const;
};

struct ClumpField {
    QPainterPath roots;  // where clumps grow from
    QPainterPath reach;  // where their tips may go: a little past the outline, never far
    Flow flow;
    QPointF source;  // clumps nearer this point lie over those further away
    HeadLight light;
    double length = 10, width = 4;  // typical clump, px
    double spacing = 4.5;           // grid step of the roots, px
    double jitter = 0.25;           // random turn of a clump, radians
    double bend = 1.5;              // sideways bow of a clump, px
    double gloss = 0.0;             // 0 dry, matt .. 1 combed with product: long bright streaks
    double rootTaper = 0.0;         // fraction of a clump over which it widens from its roots
    double contrast = 1.0;          // strength of the gaps and strands: low for a velvety close crop
    double tipWidth = 0.0;          // width kept at the tip, as a share of the clump's: 0 a spike
    double tipTaper = 0.65;         // fraction of a clump over which it narrows into its tip
    double sway = 0.0;              // slow turn shared by neighbouring clumps, radians
    double swayScale = 40;          // px over which that turn changes
    bool follow = false;            // a clump bends along the flow instead of running straight
    // Strands each clump is built of, root to tip, over a faint darker base, gathering into two or
    // three points; 0 draws each clump as one solid lock.
    int fine = 0;
    uint64_t seed = 1;
};

void drawClumps(QPainter& p, const ClumpField& f, const HairPalette& c);
// Broad soft light over what is drawn in the region (its alpha kept): strongest where the head
// turns to the light, `strength` 0 .. 1.
void drawBroadLight(QPainter& p, const QPainterPath& region, const HeadLight& light, const HairPalette& c,
                    double strength);
// A close crop seen from the front: a dense, even pile of very short hairs pointing along the
// flow, toned by the roundness of the skull under it.
void drawPile(QPainter& p, const QPainterPath& region, const Flow& flow, const HeadLight& light,
              const HairPalette& c, uint64_t seed);
// Small tight coils over the region, each a few lit turns around a shaded core.
void drawCoils(QPainter& p, const QPainterPath& region, double radius, const HeadLight& light,
               const HairPalette& c, uint64_t seed);
// The clippered sides below the temples: the hair fades out toward the ears over y 200..245
// (never inside the portrait's own hair), stubble scattered on the skin below, denser higher up.
void fadeSides(QPainter& p, const HairPalette& c, uint64_t seed);
// Fine hairs and small tufts growing out of the front hairline in the direction of the flow.
void drawHairlineHairs(QPainter& p, const Polyline& line, const Flow& flow, const HairPalette& c,
                       uint64_t seed);
// Stray hairs standing off the outline of the top, from points of the outline.
void drawFlyaways(QPainter& p, const Polyline& outline, const Flow& flow, const HairPalette& c, int count,
                  uint64_t seed);

}  // namespace installdata
