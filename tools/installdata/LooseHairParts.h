#pragma once
#include <vector>

#include "HairDrawing.h"
#include "HairGuides.h"

// The shapes loose hair is built on and the layered cut's parts, shared by the files that draw
// loose hair. Canvas coordinates; "left-hand frame" functions draw the left side.
namespace installdata {

struct Side {
    Polyline inner, outer;  // control points, the same count, matching heights below the temple
};

// The left side of the hair for a parting at `part`, ending at `tip` (left-hand frame).
Side sideShape(const HairVariant& v, double part, double tip, bool tuck);
// The polyline a fraction t of the way from a to b, point by point (the same count).
Polyline between(const Polyline& a, const Polyline& b, double t);

// The layers of a layered cut over both sides, the longest first so the shorter lie on top.
void drawTiers(QPainter& p, const HairVariant& v, const HairPalette& c);
// Short tapered pieces across a sheet (`g`, canvas frame) at staggered points from `from0` to
// `from1` along it: the hair there reads as cut into pieces, not as one even fan of lines.
void drawPiecesOver(QPainter& p, const Guides& g, const HairPalette& c, Rng& rng, int pieces, double from0,
                    double from1, double drift);
// Broad locks across a sheet (`g`, canvas frame) for a textured cut's lengths and fringe.
void drawLocksOver(QPainter& p, const Guides& g, const HairPalette& c, Rng& rng, int locks, double from0,
                   double from1);
// The top of a layered cut cut into pieces from the parting to just below the temples; a textured
// cut's top in tapered locks rooted at the parting instead, and its lengths in broad ones.
void drawTopPieces(QPainter& p, const HairVariant& v, const HairPalette& c);
// A layered cut's sideburns in the hair's own middle tone instead of the cap's darkest.
void lightSideburns(QPainter& p, const HairPalette& c);

}  // namespace installdata
