#pragma once
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPointF>
#include <cstdint>

#include "Draw.h"

// Drawing helpers of the jewellery and the clothing: shaded metal, pearls and cut stones, and the
// soft shadows a layer casts on what lies under it.
// The light of the sample portrait comes from the upper left.
namespace installdata {

// `art` over a soft shadow of its own alpha: a tight contact shadow and a wider one, both moved
// down and to the right by `drop` pixels and tinted dark brown, the wider one `opacity` strong.
QImage withDropShadow(const QImage& art, QPointF drop, int radius, double opacity);

// Multiplies alpha by how far each pixel is from `end` (0 at the end, 1 from `length` on), and
// darkens the colour a little closer in: the look of a strand turning away behind the neck.
// `origin` is the canvas place of the layer's top-left pixel; `end` is in canvas coordinates.
void fadeTowards(QImage& layer, QPoint origin, QPointF end, double length);

// Metal lit by `lit` (-1 turned away from the light .. 1 facing it): a dark rim, the body colour
// and a pale highlight, as polished metal reflects the room.
QColor metalShade(const QColor& metal, double lit);
// A polished metal bead or ball: a sphere with a bright reflection and a dark lower rim.
void drawMetalBall(QPainter& p, QPointF c, double r, const QColor& metal);
// A pearl: soft lustre, a pink-green overtone at the rim and a sharp reflection of the light.
void drawPearl(QPainter& p, QPointF c, double r, const QColor& body);
// A faceted round stone seen from above: pale table, darker facets and a star of light.
void drawCutStone(QPainter& p, QPointF c, double r, const QColor& stone);
// A teardrop stone, point up, from `top` down to `top + (0, height)`.
void drawTeardrop(QPainter& p, QPointF top, double width, double height, const QColor& stone);

}  // namespace installdata
