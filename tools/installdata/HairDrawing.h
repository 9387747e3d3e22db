#pragma once
#include "HairEngine.h"
#include "HairVariants.h"

// The parts a hairstyle is drawn from, shared by the files that draw the kinds of styles. All in
// canvas coordinates; a "left-hand frame" function draws the left side, its mirror the right.
namespace installdata {

const HairPalette& hairPalette(int index);
// Waves swing whole sheets of hair together; ringlets coil lock by lock.
void applyCurl(Sweep& s, const Curl& c, double length);
// The same sweep about the face's middle, with its own seed.
Sweep mirroredSweep(Sweep s);
// Loose hair from the parting: the sides and the lengths at the shoulders; the hair seen behind
// the neck goes to `behind`, which lies under everything and casts no shadow on the skin.
void drawDown(QPainter& p, QPainter& behind, const HairVariant& v);
void drawBangs(QPainter& p, const HairVariant& v);
// Hair drawn back from the hairline to the first attachment (or the crown).
void drawUpdo(QPainter& p, const HairVariant& v);
// Buns, plaits and tails of the variant, over the rest; those that hang behind the head first.
void drawPieces(QPainter& p, const HairVariant& v);
void drawPiecesBehind(QPainter& p, const HairVariant& v);
void drawMensCrop(QPainter& p, const HairVariant& v, const HairPalette& c);

}  // namespace installdata
