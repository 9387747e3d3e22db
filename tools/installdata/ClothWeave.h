#pragma once
#include <QColor>
#include <cstdint>

#include "GarmentShading.h"

// The look of the cloth itself, apart from how it lies on the body: the grain of its weave or knit,
// lace, the small wrinkles it keeps, and the uneven tone of its dye. Canvas coordinates; u runs
// round the body and v down it.
namespace installdata::garment {

// Brightness of the weave at a place on the body, around 1.
double weaveFactor(const Fabric& fab, double x, double y, double u, double v, uint32_t seed);
// How much lace thread covers a place (0 open net .. 1 solid).
double laceDensity(double u, double v, uint32_t seed);
// How much a cloth rumples in small soft wrinkles over its big folds, in pixels of height.
double rumpleOf(Weave w);
// The fabric's colour at a place, its tone drifting a little over the piece.
QColor dyedColour(QColor c, double x, double y, uint32_t seed);

}  // namespace installdata::garment
