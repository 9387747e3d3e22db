#pragma once
#include <QImage>

#include "imaging/PixelGrid.h"

namespace ms {

// The one place where bottom-up straight-alpha grids meet top-down pictures.
// A picture of any format becomes a grid of its size (straight alpha, bottom row first).
PixelGrid gridFromImage(const QImage& image);
// A grid becomes a top-down straight-alpha picture (QImage::Format_ARGB32).
QImage imageFromGrid(const PixelGrid& grid);

}  // namespace ms
