#pragma once
#include <vector>

#include "HairEngine.h"
#include "HairVariants.h"

// Short curly hair: a rounded mass of small coils lying over and between each other, drawn over
// sheets of hair given by their guides (root -> tip, inner edge first). The variant's curl reads
// here as: amp the coils' radius in px, waves their turns, loop how tight they wind (1 closed
// coils .. 0 open waves), start how much frizz stands off them.
namespace installdata {

// The sides of the head (each a guide pair), the hair behind the neck when it shows, and the
// hairline's small curls.
void drawShortCurls(QPainter& p, QPainter& behind, const HairVariant& v,
                    const std::vector<std::vector<Polyline>>& sides);
// A fringe of curls spilling onto the forehead over the guides of the variant's fringe.
void drawCurlyFringe(QPainter& p, const HairVariant& v, const std::vector<Polyline>& guides);

}  // namespace installdata
