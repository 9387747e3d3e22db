#pragma once
#include <QImage>
#include <QVector3D>
#include <vector>

#include "SkinField.h"

// Skin surfaces of the sample portrait (face, ears, neck and shoulders) lit per pixel by the studio
// light: a key from the upper left front, a cool fill from the right and the soft room light.
namespace installdata {

struct SkinSurface {
    SkinSurface(int w, int h)
        : cover(w, h), height(w, h), micro(w, h), r(w, h), g(w, h), b(w, h), gloss(w, h) {}
    Field cover;   // 0..1, where the surface is
    Field height;  // px toward the viewer, above `depth`; smooth forms
    Field micro;   // pores and fine texture, px; they break up the highlights more than the shading
    float depth = 0;
    float translucency = 0;  // extra wrap of the light round thin parts (ears), 0..1
    Field r, g, b;           // albedo, sRGB 0..1
    Field gloss;             // strength of the highlights, 0..1
};

// Fills the albedo with one colour and the gloss with one value where the surface is.
void fillSurface(SkinSurface& s, const QColor& albedo, double gloss);
// Mixes the albedo toward a colour by weight(x, y) * strength (weights 0..1).
void tintSurface(SkinSurface& s, const Field& weight, const QColor& colour, double strength);
// Gaussian spot of colour on the albedo.
void tintBlob(SkinSurface& s, QPointF c, double rx, double ry, const QColor& colour, double strength);
// The frontmost depth + height of the surfaces at each pixel; the shadows are cast against it.
Field frontHeight(const std::vector<const SkinSurface*>& surfaces);
// Shades the surface and lays it over the opaque target by its coverage.
void shadeSurface(QImage& target, const SkinSurface& s, const Field& front);
// The key light as the direction toward it (x right, y down, z toward the viewer), unit length.
QVector3D keyLightDirection();

}  // namespace installdata
