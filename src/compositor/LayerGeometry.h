#pragma once
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <cstdint>
#include <optional>

#include "compositor/Kind.h"

namespace ms {

// Signed 16-bit pixel offsets of every layer's placement; 0 is the kind's default placement.
// Field names are the design-file keys; fuzhuangheight exists in memory only.
struct LayerGeometry {
    int16_t faxingWidth = 0, faxingheight = 0, faxingleft = 0, faxingtop = 0;
    int16_t mmWidthz = 0, mmheightz = 0, mmleftz = 0, mmtopz = 0;
    int16_t mmWidthy = 0, mmheighty = 0, mmlefty = 0, mmtopy = 0;
    int16_t yjWidthz = 0, yjWidthy = 0, yjheightz = 0, yjheighty = 0;
    int16_t yjleftz = 0, yjtopz = 0, yjlefty = 0, yjtopy = 0;
    int16_t huziWidth = 0, huziheight = 0, huzileft = 0, huzitop = 0;
    int16_t zuixingWidth = 0, zuixingheight = 0, zuixingleft = 0, zuixingtop = 0;
    int16_t yanjingWidth = 0, yanjingheight = 0, yanjingleft = 0, yanjingtop = 0;
    int16_t maoziWidth = 0, maoziheight = 0, maozileft = 0, maozitop = 0;
    int16_t erhuanWidth = 0, erhuanleft = 0, erhuantop = 0;
    int16_t xianglianWidth = 0, xiangliantop = 0;
    int16_t fuzhuangWidth = 0, fuzhuangheight = 0, fuzhuangtop = 0;
    bool operator==(const LayerGeometry&) const = default;
};

// Source rectangle in the kind surface and destination rectangle on the canvas (top-down pixels).
struct Placement {
    QRect src;
    QRect dst;
};

// Placement when an already prepared surface is blended again; hairHeight is H of the hairstyle file.
Placement redrawPlacement(Layer layer, const LayerGeometry& g, int hairHeight);

// Placement when a preparation blends the surface it has just made; W and H from the file header.
Placement preparationPlacement(Layer layer, const LayerGeometry& g, int W, int H);

// The canvas pixel (top-down) to the pixel of the kind grid that a placement shows there, with
// the stretch undone (sampled at the pixel's centre) and the rows flipped: grid rows count from
// the bottom, and gridHeight is the height of the grid the source rectangle lies in. nullopt
// where the placement does not cover the canvas pixel.
std::optional<QPoint> canvasToGrid(const Placement& p, int gridHeight, QPoint canvas);

// A canvas position (real, whole numbers at pixel centres) to the same kind of position in the
// grid, rows counted from the bottom, anywhere on or off the placement; nullopt when the
// placement covers nothing.
std::optional<QPointF> canvasToGridF(const Placement& p, int gridHeight, QPointF canvas);

// The other way: where the centre of a grid pixel lands on the canvas, in canvas pixels (a whole
// number is the centre of that canvas pixel).
QPointF gridToCanvas(const Placement& p, int gridHeight, QPoint grid);

// The magnified view measures positions in points (3/4 of a screen pixel at 96 dots per inch)
// and takes 0.83 canvas pixels per point, not the exact 0.8333...
constexpr double kPointsPerViewPixel = 0.75;
constexpr double kCanvasPerMagnifiedPoint = 0.83;
QPointF magnifiedToCanvas(QPointF viewPixels);
QPointF canvasToMagnified(QPointF canvas);

}  // namespace ms
