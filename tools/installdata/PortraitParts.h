#pragma once
#include <QImage>
#include <QPainterPath>
#include <array>
#include <initializer_list>

#include "InstallData.h"
#include "SkinShading.h"

// The parts of the sample portrait, drawn in this order: backdrop, neck and shoulders, ears, face,
// eyes, brows, own hair. Features are described for the left half of the face (smaller x) and
// mirrored about the middle for the right half (side -1 left, +1 right).
namespace installdata::portrait {

Polyline mapped(const Polyline& line, int side);
// A closed left-half outline (top to bottom on the middle) completed by its mirror image.
Polyline symmetricOutline(const Polyline& leftHalf, int samples);
Polyline faceOutline();
QPainterPath facePath();
QPainterPath bodyPath();
QPainterPath earsPath();
// Behind the jaw the neck runs up to the ears, turned away from the lens and deep in the shade of
// the head: a soft, dark, warm form between the earlobe, the jaw and the side of the neck, so the head
// sits on a neck rather than floating over the backdrop.
QPainterPath neckBehindJaw();
// Rounded edge of a form: rises from 0 at the outline to `radius` at that distance inside it.
float roundEdge(float distance, float radius);

// The eye opening between the lids, and the lids themselves, in canvas coordinates.
Polyline upperLid(int side);
Polyline lowerLid(int side);
QPainterPath eyeOpening(int side);
// The portrait's own lips: the upper lip, the lower lip and the line where they meet.
QPainterPath upperLipPath();
QPainterPath lowerLipPath();
Polyline mouthLine();

SkinSurface faceSurface();
SkinSurface bodySurface();
SkinSurface earSurface();

// Shade on skin keeps its texture and stays warm: where weight * strength (at most `most`) is t,
// each channel is multiplied by 1 - t * (1 - keep), red kept most as it scatters furthest under
// the skin.
struct Tone {
    double r, g, b;
};
void shadeSkin(QImage& img, const Field& weight, double strength, Tone keep, double most = 1.0);
constexpr Tone kWarmShade{0.68, 0.56, 0.54}, kCoolShade{0.72, 0.66, 0.68};
// Light added toward a pale warm colour, as a soft sheen over the skin: c + (light - c) * t.
void brighten(QImage& img, const Field& weight, double strength, const QColor& light);
// Gaussian blobs as {x, y, rx, ry, amplitude, angle}, summed on one field.
Field blobs(std::initializer_list<std::array<double, 6>> list);
// A gaussian ridge along a curve through the points.
Field ridge(const Polyline& line, double radius, double a0, double a1);

// Light and shade laid over the shaded skin: the broad modelling of the face, neck and shoulders,
// and the finer forms of the nose, ears and lips that the height fields carry too softly.
void modelFaceLight(QImage& canvas);
void drawNoseForm(QImage& canvas);
void drawEarForm(QImage& canvas);
void modelLips(QImage& canvas);
void modelBodyLight(QImage& canvas);
// Pulls the shaded skin's colour toward a photograph's, less saturated than the albedo.
void settleSkinColour(QImage& canvas);
// The lower face's turning planes and rounded chin, the skin's colour zones, its sheen and pores.
void contourLowerFace(QImage& canvas);
void colourSkinZones(QImage& canvas);
void addSkinSheen(QImage& canvas);
void addPores(QImage& canvas);
// Where the skin surfaces meet: the face's outline turning into the head, the forehead rolling into
// the hairline, and the neck set back behind the jaw in the shade of the head.
void joinFaceToHead(QImage& canvas);
void shadeHairline(QImage& canvas);
void shapeNeck(QImage& canvas);
void textureBodySkin(QImage& canvas);
// Eyeballs, lids and lashes over the shaded face.
void drawEyes(QImage& canvas);
void drawBrows(QPainter& p);
// The close crop inside the own-hair region, over the finished face.
void drawOwnHair(QImage& img);

}  // namespace installdata::portrait
