#pragma once
#include <vector>

#include "CurlStrands.h"
#include "HairGuides.h"

namespace installdata {

// Length in px of the sheet `g` from root to tip at `t` across it.
double lengthAlong(const Guides& g, double t);
// The ringlets of a curly sheet, deepest first: the rows, strays off the outline, small locks
// between them and loose curls over the crown.
std::vector<RingletLock> makeRinglets(const Sweep& s, const Guides& g, Rng& rng);
// The first curls rising among the ends of the top, from `from` to `to` down the sheet, wound at
// the length `wave` of the top's waves.
std::vector<RingletLock> makeFirstRinglets(const Sweep& s, const Guides& g, double from, double to,
                                           double wave);

}  // namespace installdata
