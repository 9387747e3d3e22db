#pragma once
#include <QPainter>
#include <QPointF>
#include <vector>

#include "Draw.h"
#include "HairEngine.h"

// The coils of short curly hair: each a short helix seen from the front, the backs of its turns
// in shade, the fronts as lit bands over a dark core, with fibres, creases, glints and frizz.
namespace installdata {

struct Coil {
    QPointF at, axis;  // centre, and the unit direction down the hair
    double r, pitch, turns, phase, sag;
    int hand;       // which way it winds: 1 or -1
    bool open;      // a loose wave: no turn goes behind
    bool cored;     // the dark inside shows: a coil in the mass, not one alone on the skin
    double dim;     // 0 in front .. 1 deep in the mass
    double tone;    // -1 turned into the shade .. 1 catching the light
    bool edge;      // on the outline, where frizz stands off it
    QPointF group;  // the centre of the group of curls it turns with
    double groupTone;
};

struct CurlStyle {
    double r, turns, loop, frizz;
    bool cored = true;
    double spread = 1.0;  // how far apart the coils lie, in their usual spacings
    double reach = 1.0;   // how far down the sheet they lie (of its length)
    double across = 1.0;  // how far across it from the inner edge
    double inward = 0.6;  // how far those on the inner edge lean over it, in radii
    double dangle = 1.3;  // how far those at the ends hang past them, in radii
};

// One layer of coils: its soft shadow on what is under it (keeping that alpha), then the coils.
void drawLayerOfCoils(QPainter& p, const std::vector<Coil>& coils, const CurlStyle& st, const HairPalette& c,
                      Rng& rng, bool shadow);

}  // namespace installdata
