#pragma once
#include <QPainterPath>

#include "Draw.h"

// Strand-based hair: guide sweeps filled with clumped, tapered, semi-transparent strands.
namespace installdata {

struct HairPalette {
    QColor dark, base, light, sheen;
    // Black hair shows its light as a soft, wide, low sheen broken between strand groups, and its
    // groups differ in value; lit the way lighter hair is, it reads as a lacquered shell.
    bool black = false;
    // Light cool hair (ash blonde, silver grey): its sheen is nearly white on a light base, so crisp
    // lit strands over the whole mass read as tinsel. It takes its light as broad, soft strand
    // groups and a broken band, with only a few fine bright strands.
    bool pale = false;
    bool softSheen() const { return black || pale; }
};

// A sheet of hair across guide curves (root -> tip, first guide = inner edge, last = outer edge).
// Strands interpolate between neighbouring guides, gather into locks toward the tips and may wave
// or loop (curls).
struct Sweep {
    std::vector<Polyline> guides;
    int locks = 26;
    int strandsPerLock = 12;
    double clump = 0.45;         // how much strands gather to their lock centre at the tip
    double lengthJitter = 0.06;  // locks end at 1 - up to this fraction of the length
    double curlAmp = 0.0;        // px
    double curlWaves = 0.0;      // waves along the full strand
    double curlStart = 0.35;     // fraction of the length where the curl sets in
    double loop = 0.0;           // 0 waves, 1 ringlets
    double curlGrow = 0.0;       // how much the curl widens toward the tips
    double phaseStep = 0.6;      // curl phase step from lock to lock: waves run across the sheet
    double phaseJitter = 0.9;    // random phase per lock: ringlets curl each on their own
    double width = 1.1;
    double wander = 1.5;  // sideways drift of a lock, px
    double sheenAt = 0.22, sheenLen = 0.22;
    double layer = 0.0;       // locks next to the first guide end this fraction shorter (layers)
    int flyaways = 0;         // stray hairs leaving the outer edge
    bool mass = true;         // fill the region under the strands
    double massInset = 0.04;  // the fill stays this far inside the outer guides
    uint64_t seed = 1;
    // Straight loose hair: locks shaded as soft clumps that part toward the tips, the sheen laid
    // across the head (not along the strand), tips fading out. 0 off .. 1 full.
    double clumpShade = 0.0;
};

// Short hair whose strands follow the direction away from a crown point.
struct Crop {
    QPainterPath region;
    QPointF crown;
    double length = 8.0;
    double swirl = 0.0;  // radians added to the outward direction
    int density = 1500;
    double width = 0.9;
    int softness = 2;  // blur of the base fill, soft hairline
    uint64_t seed = 1;
};

void drawSweep(QPainter& p, const Sweep& s, const HairPalette& c);
// Ringlets (drawSweep hands curled sheets on): fat spiral locks over a dark core, the hair smooth
// from the roots to where the curl sets in.
void drawRingletSheet(QPainter& p, const Sweep& s, const HairPalette& c);
// Big waves: on each turn of a drawn sheet, fine lit hairs on the face turned to the light and soft
// shade on the other, broken lock by lock, and a denser fill behind its lower lengths so the ends
// stay full.
void drawWaveLight(QPainter& p, const Sweep& s, const HairPalette& c);
void drawCrop(QPainter& p, const Crop& crop, const HairPalette& c);
// A three-strand plait along the path (root to tip), width w0 at the root to w1 at the tip, solid
// under its lobes; tied off above a short tuft, or with its ends tucked away.
void drawBraid(QPainter& p, const Polyline& path, double w0, double w1, const HairPalette& c, uint64_t seed,
               bool tieOff = true);
// Strands of one colour family in a random mix of its shades.
QColor strandColour(Rng& rng, const HairPalette& c);

}  // namespace installdata
