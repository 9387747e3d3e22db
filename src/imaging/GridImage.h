#pragma once
#include <QImage>

#include "imaging/PixelGrid.h"

namespace ms {

// The one place where bottom-up grids meet top-down pictures.

// A picture of any format becomes a grid of its size (straight alpha, bottom row first).
PixelGrid gridFromImage(const QImage& image);

// What a grid's pixels are, and so what turning it into a picture does to them.
enum class GridAlpha {
    Straight,       // straight alpha: kept as it is in a Format_ARGB32 picture
    Premultiply,    // straight alpha: premultiplied on the way into a premultiplied picture
    Premultiplied,  // already premultiplied: copied into a premultiplied picture
};

// A grid becomes a top-down picture: Format_ARGB32 for straight grids, otherwise
// Format_ARGB32_Premultiplied. An empty grid gives a null picture.
QImage imageFromGrid(const PixelGrid& grid, GridAlpha alpha = GridAlpha::Straight);

}  // namespace ms
