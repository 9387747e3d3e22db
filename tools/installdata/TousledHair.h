#pragma once
#include <QPainter>

#include "HairEngine.h"
#include "HairVariants.h"

// The lived-in texture of short loose hair, drawn over the smooth sheets of a tousled variant.
namespace installdata {

// The outline of the loose hair around the crown, which its sides are built on: the half-widths of
// an ellipse about (190, 160).
struct CrownShape {
    double rx, ry;
};
CrownShape crownShape(const HairVariant& v);
// How many px higher than that outline the side hair stands where it is fully raised, for the side
// whose parting is at `part` (left-hand frame): the side the parting throws the hair over stands
// higher than the flat side, and lifted roots stand up most there.
double crownRaise(const HairVariant& v, double part);
// The angle of the parting at `part` on the crown outline `s` (0 on the top of the head).
double partingAngle(const CrownShape& s, double part);
// The crown outline with the side hair raised `up` px: more in height than in width.
CrownShape raised(const CrownShape& s, double up);
// Strand groups that rise off the parting and cross over it, each with the shade it casts on the
// hair below, breaking the dome's light; fine stray hairs standing off the outline. `strength`
// scales the shade and light they lay on (1 for short tousled hair, less for smoother lengths).
void drawCrownTexture(QPainter& p, const HairVariant& v, const HairPalette& c, double strength = 1.0);
// Pointed pieces of hair standing up and out all over the top of the head, fanning from a point
// low in the head so that they lean outward over the sides, tips up to 24 px past the crown.
void drawSpikyCrown(QPainter& p, const HairVariant& v, const HairPalette& c);
// Breaks the one clean arc of the cut at the sides: gaps between the pieces where the backdrop
// shows, and pieces that run on past the line, turning a little in or out. `p` paints on a layer
// holding the side hair (bottom of each column found from its alpha).
void breakEnds(QPainter& p, const HairVariant& v, const HairPalette& c);
// The same along the lower edge of the fringe.
void breakFringe(QPainter& p, const HairVariant& v, const HairPalette& c);
// Blurs the colour of the hair already on `p` (a canvas-sized layer) over the top of the head,
// keeping its alpha: the fine combed strands there melt into soft light and shade, so the locks
// laid over them read as the texture. Fades out from the temples down.
void softenCrown(QPainter& p);

}  // namespace installdata
