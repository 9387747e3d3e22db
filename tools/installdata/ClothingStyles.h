#pragma once
#include <functional>

#include "GarmentShading.h"

// The garments of the clothing library and the pieces they share: necklines, the folds cloth
// makes on this body, seams, and the finishing of a picture (neckline shadow on the skin).
namespace installdata::garment {

// The left half and its mirror image, as one line from the left shoulder to the right.
Polyline fullNeckline(const Polyline& leftHalf);
// A band of `width` pixels inside the garment along a line (a neckband, a binding, a front band).
QPainterPath bandAlong(const QPainterPath& garment, const Polyline& line, double width);
// Folds most garments make on this body: from the armpits, down the sleeves, over the chest;
// each garment's own seed moves them a little.
std::vector<Fold> commonFolds(double strength, uint64_t seed);
// The seams of set-in sleeves, from the shoulder point round the front of the arm to the armpit.
void drawArmholeSeams(QPainter& p, const QColor& fabric, bool stitched = false, const QColor& thread = {});
// A fine dark line round a piece's edge, the thickness of the cloth seen from the front.
void drawEdge(QPainter& p, const QPainterPath& piece, const QColor& fabric);
// Knitted ribs across a band that runs along `line`, `width` pixels wide.
void drawRibsAcross(QPainter& p, const Polyline& line, double width, const QColor& fabric);
// The panels lit, the details painted over them in canvas coordinates, and the shadow the
// neckline casts on the skin.
QImage finishGarment(const std::vector<Panel>& panels, uint32_t seed,
                     const std::function<void(QPainter&)>& details);

QImage bretonTee();
QImage vNeckKnit();
QImage offShoulderTop();
QImage wrapTop();
QImage laceTop();
QImage blazerOverCamisole();
QImage openCollarShirt();
QImage cardiganOverCamisole();
QImage denimJacketOverTee();
QImage collaredBlouse();

}  // namespace installdata::garment
