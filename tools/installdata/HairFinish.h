#pragma once
#include <QImage>
#include <QPainterPath>

#include "HairEngine.h"

// What every hairstyle shares: the skull cap under the strands, the body the hair falls against,
// and the finishing passes over the whole layer (light, sheen, cast shadow, the clear face).
namespace installdata {

// y of the top of the shoulder (or the side of the neck) at x on the left; x > 190 mirrors.
double shoulderTopY(double x);
// The neck and shoulders, closed below the canvas: hair behind them is hidden.
QPainterPath bodyPath();
// The path filled in black on a layer of the canvas's size, its edge softened by `blur`.
QImage maskOf(const QPainterPath& path, int blur);
// Hair in front of a shoulder rests on it: below where it meets the shoulder the line is pushed
// out along the slope, then falls on down the front, fanning `fan` px further out. Returns the
// line densely sampled.
Polyline drapedFront(const Polyline& controls, double fan = 0);
// A point of the squarish outline of the head around (190, 160): `angle` 0 on top, pi/2 at the
// left side, negative to the right. `power` 2 is an ellipse; higher is squarer.
QPointF skullPoint(double angle, double rx, double ry, double power = 2.5);
// q pushed out onto that outline if it lies inside it.
QPointF ontoSkull(QPointF q, double rx, double ry);
// The face oval, jaw to hairline.
QPainterPath faceOvalPath();

// An opaque fill over the whole skull, from a soft, rounded hairline just inside the forehead up
// to the crown at crownTop, `sideOut` px wider than the skull at the temples. Covers the
// portrait's own hair; strands drawn over it give the texture.
void drawCap(QPainter& p, const HairPalette& c, double crownTop, double sideOut, uint64_t seed);
// The opaque base under a mass of strands: the closed outline filled soft-edged, darkest at the
// rim and lighter toward `light`, `reach` px away.
void fillHairBase(QPainter& p, const HairPalette& c, const Polyline& outline, QPointF light, double reach);
// Short fine strands growing out of the hairline into the forehead and temples, so the edge of
// the hair is irregular and soft instead of a cut line.
void drawHairlineWisps(QPainter& p, const HairPalette& c, double part, uint64_t seed);

// Erases hair that lies behind the body (the neck and shoulders are in front of it), and with
// `face` also behind the face.
void hideBehindBody(QImage& layer, bool face);

struct HairLight {
    QPointF crown;  // centre of the head's curvature, where the sheen ring is centred
    double radius;  // radius of the sheen ring on the head
    double part;    // x of the parting: the roots there are darkest
    double tipY;    // lowest tip: long hair gets a second sheen band where it bends at the cheek
    QColor sheen;
    QColor shade;  // what the hair darkens toward away from the light: its own deep tone, not black
    uint64_t seed;
    // How much of the sheen ring to lay on: 1 for straight hair; less for hair whose own turns or
    // coils carry the light, which then gets no band on its lengths either.
    double sheenStrength = 1.0;
    // Black straight hair: the sheen is soft, wide and low, and broken between strand groups, as a
    // photograph of black hair shows it; an even band of crisp streaks reads as lacquer on it.
    bool brokenSheen = false;
};
// Light from the upper left: darker away from it, root shade at the parting, a streaky sheen band
// across the strands following the head, a second one along long lengths, and occlusion next to
// the face. Keeps the alpha of the layer.
void shadeVolume(QImage& layer, const HairLight& light);
// Soft, dark, semi-transparent bands on the skin just below and inside the hair's edge.
void castShadow(QImage& layer, int strength);
// Bridges the small V that the soft edges of the two sides leave in the outline where they meet at
// the parting (x `part`), through which the backdrop shows as a pale speck on the top of the head.
void closePartingNotch(QImage& layer, int part);
// Softly erases hair over the eyes, nose and mouth, leaving bangs above the brows and edge locks.
void keepFaceClear(QImage& layer);

}  // namespace installdata
