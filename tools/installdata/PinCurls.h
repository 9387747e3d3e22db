#pragma once
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <cstdint>

#include "Draw.h"
#include "HairEngine.h"

// The flat pin curls that end the sides of a finger-wave set, pressed to the cheeks.
namespace installdata {

struct PinCurl {
    QPointF centre;  // canvas px
    double r;        // the coil's mean radius, px
    int side;        // -1 left, 1 right
    uint32_t seed;
};

// The coil's outline: a little oval, tipped and ragged, each curl its own.
QPainterPath coilOutline(const PinCurl& pc);

// The coil wound from the side's strands into a spiral over what is already drawn (SourceAtop):
// its turns shaded one by one and combed into fine strands, some crossing into the next turn, the
// side's strands flowing down into its outer turn and the end of the hair tucked into its centre.
void drawPinCurl(QPainter& p, const PinCurl& pc, const HairPalette& c, Rng& rng);

}  // namespace installdata
