#pragma once
#include <QImage>
#include <QPointF>
#include <QRect>
#include <cstdint>
#include <vector>

#include "imaging/PixelGrid.h"

// The pixel work of the retouch and makeup tools on 32-bit pictures (RGB32 or premultiplied
// ARGB32, rows top-down, canvas coordinates). Nothing here reads or writes outside a picture.
namespace ms {

// An 8-bit stamp shape, rows top-down: a brush pattern's alpha or the soft disc mask's red.
struct AlphaMask {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> alpha;

    bool isEmpty() const { return alpha.empty(); }
    uint8_t at(int x, int y) const { return alpha[static_cast<size_t>(y) * width + x]; }

    // The alpha bytes of a (bottom-up) grid, or its red bytes.
    static AlphaMask fromGridAlpha(const PixelGrid& grid);
    static AlphaMask fromRed(const QImage& picture);
    // Every alpha doubled, at most 255.
    AlphaMask doubled() const;
};

// Top-left of a w x h rectangle centred on `at`: each coordinate rounded, halves to even.
QRect centredRect(QPointF at, int w, int h);

// 3 x 3 box blur of the 11 x 11 square around (x, y), from `src` into `dst` (which may share
// pixels with it). Columns and rows below 1 are raised to 1 and the walk goes on from there, so
// column 0 and row 0 are never written; source pixels outside the picture count as white.
// Each channel is floor(sum / 9); the written pixel is opaque.
void softenSquare(QImage& dst, const QImage& src, double x, double y);

// Copies the mask-sized area of `src` with top-left `from` onto `dst` at `to`, each pixel blended
// over with the mask's alpha (premultiplied, source over). Pixels of the area outside `src` are
// not stamped at all. `src` may be `dst`: the area is read before anything is written.
void stampArea(QImage& dst, QPoint to, const QImage& src, QPoint from, const AlphaMask& mask);

// The makeup brush: the mask in one colour (red in the low byte), premultiplied and blended onto
// `dst` stretched into `to`. The brush is drawn into a rectangle one pixel smaller than the mask.
void stampColour(QImage& dst, const QRect& to, const AlphaMask& mask, int32_t colour);

// A line of `width` pixels from a to b in a colour value (red in the low byte), round caps.
void drawLine(QImage& dst, QPointF a, QPointF b, int32_t colour, int width);

}  // namespace ms
