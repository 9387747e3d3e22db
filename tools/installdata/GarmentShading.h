#pragma once
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdint>
#include <vector>

#include "Draw.h"
#include "Geometry.h"

// Shading of garments on the portrait's body, seen from the front with light from the upper left.
// A garment is a few panels (a top, a jacket over it, a collar...), each a region of the canvas in
// one fabric; every panel is lit per pixel over a height field of the body (round shoulders and
// arms, the chest, the crease between arm and torso) plus the folds of that panel.
// Canvas coordinates throughout; the picture is the canvas rectangle (-10, 300, 400, 190).
namespace installdata::garment {

constexpr int kLeft = -10, kTop = 300, kWidth = 400, kHeight = 190;

enum class Weave {
    Jersey,   // fine knit of tees: an even grain
    Rib,      // ribbed knit: ribs running down the body
    Silk,     // smooth, with a broad sheen
    Oxford,   // shirting: a fine basket weave
    Denim,    // diagonal twill with pale slubs, paler where the cloth is worn on ridges
    Suiting,  // wool twill of jackets, matte
    Crepe,    // crinkled grain of dresses and blouses
    Lace,     // flowers on a fine net, over a lining of the ground colour
};

struct Fabric {
    QColor colour;
    Weave weave = Weave::Jersey;
    double sheen = 0.0;  // 0 matte .. 1 satin
    QColor stripe{};     // stripes across the body when the period is set
    double stripePeriod = 0.0, stripeWidth = 0.0;
    QColor pinstripe{};  // fine lines down the body when the period is set
    double pinPeriod = 0.0;
    QColor ground{};  // the lining under lace
};

// A fold: a soft ridge (depth > 0) or valley (depth < 0) of `width` pixels along a line.
struct Fold {
    Polyline line;
    double width, depth;
};

struct Panel {
    QPainterPath region;
    Fabric fabric;
    std::vector<Fold> folds;
    double lift = 0.0;  // how far it stands over the panels under it: the size of its shadow
    double ease = 2.5;  // how far the cloth stands off the body at its outline
};

// The body outline grown by `ease` pixels, closed below the picture: a garment's outer shape.
QPainterPath bodyShape(double ease);
// Closes the left half of a neckline (from the shoulder line to the middle) with its mirror image
// and the space above the shoulders: what a garment cuts away to show the neck and chest.
QPainterPath neckOpening(const Polyline& leftHalf);
// Everything below a curve across the body given by its left half (from the arm to the middle).
QPainterPath belowCurve(const Polyline& leftHalf);
// Mirrors a path about the middle of the face.
QPainterPath mirroredPath(const QPainterPath& path);

// The panels lit and textured, bottom first, each casting a soft shadow on those before it.
QImage renderPanels(const std::vector<Panel>& panels, uint32_t seed);

// A painter on the clothing picture that takes canvas coordinates.
void beginCanvasPainter(QPainter& p, QImage& layer);

// The soft contact shadow a neckline edge casts on the skin inside it, drawn under the garment.
void shadeNeckline(QImage& layer, const QPainterPath& garment);

// Seam or stitching along a line: a sunken thread line with a lit edge beside it.
void drawSeam(QPainter& p, const Polyline& line, const QColor& fabric, bool stitched = false,
              const QColor& thread = {});

// A button: a shaded disc with a rim, holes and a soft shadow under it.
void drawButton(QPainter& p, QPointF c, double r, const QColor& colour, bool metal = false);

}  // namespace installdata::garment
