#pragma once
#include "HairEngine.h"
#include "HairGuides.h"

namespace installdata {

// A textured cut's crown over the sheet `g` (canvas frame) from the parting to below the temple:
// a bed of broad locks, and over it `n` locks in three depths, each depth shading the hair under
// its tips. Each lock is lit on its curve and shaded into the groove along its lower edge.
void drawCrownLocks(QPainter& p, const Guides& g, const HairPalette& c, Rng& rng, int n);

}  // namespace installdata
