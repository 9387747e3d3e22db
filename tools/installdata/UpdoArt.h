#pragma once
#include <functional>

#include "HairDrawing.h"

// The sculpted parts of updos and traditional styles, drawn over the strands they belong to.
namespace installdata {

// Half the width of a bouffant's hair where it lies close over the temples and ears, px.
constexpr double kBouffantSide = 88;

// A bouffant: a pouf backcombed all round and wound into a bun on top.
bool bouffant(const HairVariant& v);
// A point of a bouffant's outline `angle` from the top round the head's middle; rx, ry are the
// radii of the hair lying close to the head, with the distance off the outline asked for.
QPointF bouffantPoint(double angle, double rx, double ry, double pouf, double width);
// A point of a swept updo's outline `out` px off it: `angle` 0 on top, pi/2 at the left side.
QPointF outlinePoint(const HairVariant& v, double angle, double out);
// The line `f` of the way across a sheet given by its sampled guide lines (all of one length),
// mirrored about the face's middle for the right-hand side.
Polyline lineAcross(const std::vector<Polyline>& lines, double f, bool mirror);
// The fine arcs of backcombing over a pouf's swept sheet; `across(f)` is the line f of the way
// across it.
void drawTeasing(QPainter& p, const std::function<Polyline(double)>& across, const HairPalette& c,
                 uint64_t seed);
// The solid mass under a pouf's strands.
void fillPouf(QPainter& p, const HairVariant& v, const HairPalette& c);
// The top of a bouffant over its swept hair (guides in the left-hand frame, mirrored for the right):
// a smooth, round ball whose strands sweep up and back in one flow, lit in a broad soft band from
// the upper left, with a little teasing only along its top edge.
void drawBouffantTop(QPainter& p, const std::vector<Polyline>& guides, const HairVariant& v,
                     const HairPalette& c, uint64_t seed);
// A bouffant's bun: locks wrapped round it from the bottom up, lit on the upper left and shaded
// underneath, seated in the ball with a soft shadow and the ball's hair running up into it.
void drawBouffantBun(QPainter& p, const HairVariant& v, QPointF centre, double rx, double ry,
                     const HairPalette& c, uint64_t seed);

// A bun of hair wound round on itself: a rope of strands coiled inwards, lit as a tube from the
// upper left, each turn shading the one it lies on, with a soft shadow where it sits on the head.
void drawWoundBun(QPainter& p, QPointF centre, double rx, double ry, const HairPalette& c, uint64_t seed);
// Locks laid again over a wound bun (SourceAtop: its outline stays), all wound one way round it
// from the bottom up, lit on the upper left and darkest underneath.
void windBunLocks(QPainter& p, QPointF centre, double rx, double ry, const HairPalette& c, Rng& rng);
// A wound bun with its locks wound again over it.
void drawCoiledBun(QPainter& p, QPointF centre, double rx, double ry, const HairPalette& c, uint64_t seed);
// The hairline of hair pulled back is not a painted edge: the roots stand apart with skin between
// them, and the sheet thins over the ear. Erases fine gaps along the pull outside the portrait's
// own hair (which stays covered), then draws the roots crossing them, fine where they leave the
// skin; a soft roll of light where the hair lifts off the temples.
void openTheHairline(QPainter& p, const HairPalette& c, uint64_t seed);
// A plait laid over the head along the path, `w` wide: sections of unequal size crossing in from
// alternate edges, each overlapping and shading the last, drawn in fine strands; the ends tucked away.
void drawCrownPlait(QPainter& p, const Polyline& path, double w, const HairPalette& c, uint64_t seed);
// A bouffant's full fringe, drawn over the swept hair, is not cut straight: it follows the forehead
// in pointed pieces of unequal width and length, the forehead showing between their points.
void softenFringe(QPainter& p, const HairVariant& v, const HairPalette& c);
// The soft shadow a hanging length (its right edge given, `w` wide) casts on the neck, shoulders
// and clothes behind it, down and to the right; the backdrop takes none.
void castOnNeck(QPainter& p, const Polyline& rightEdge, double w);
// A ponytail's length from its tie to its end, full after the tie and tapering to the tips, with
// its shadow on the neck.
void drawTail(QPainter& p, const HairVariant& v, const Attachment& a, const HairPalette& c, uint64_t seed);
// Deep S-shaped ridges pressed across the hair already on the layer, crest lit, trough shaded;
// the sides cut to the waves' scallops and ended in pin curls, the rest painted only over hair.
void drawFingerWaves(QPainter& p, const HairVariant& v);

}  // namespace installdata
