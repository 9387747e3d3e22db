#pragma once
#include "HairDrawing.h"

// The sculpted parts of updos and traditional styles, drawn over the strands they belong to.
namespace installdata {

// A bun of hair wound round on itself: a rope of strands coiled inwards, lit as a tube from the
// upper left, each turn shading the one it lies on, with a soft shadow where it sits on the head.
void drawWoundBun(QPainter& p, QPointF centre, double rx, double ry, const HairPalette& c, uint64_t seed);
// Deep S-shaped ridges pressed across the hair already on the layer, crest lit, trough shaded;
// paints only over hair (the layer's alpha stays as it is).
void drawFingerWaves(QPainter& p, const HairVariant& v);

}  // namespace installdata
