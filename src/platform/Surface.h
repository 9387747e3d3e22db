#pragma once
#include <QImage>
#include <QRect>
#include <cstdint>
#include <vector>

#include "imaging/PixelGrid.h"

namespace ms {

// Per-row runs of non-transparent pixels of a surface, built once when the surface is filled so
// that every later blend of it skips the transparent parts and copies the opaque ones.
struct SpanIndex {
    struct Span {
        int16_t x0, x1;  // [x0, x1)
        bool opaque;     // every pixel has alpha 255
    };
    std::vector<Span> spans;
    std::vector<uint32_t> rowStart;  // spans of row y: [rowStart[y], rowStart[y + 1]); top-down rows

    void build(const QImage& image);
    bool isEmpty() const { return rowStart.empty(); }
};

// An off-screen 32-bit drawing surface: premultiplied ARGB32, rows top-down.
class Surface {
  public:
    Surface() = default;
    explicit Surface(QImage image) { setImage(std::move(image)); }

    // Uploads a bottom-up straight grid. The grid's pixels must already be premultiplied when
    // `premultiplied` is true; otherwise they are premultiplied on the way (the grid is not touched).
    static Surface fromGrid(const PixelGrid& grid, bool premultiplied);

    void setImage(QImage image);
    // Call after painting into image() directly, so blends see the new pixels.
    void reindex() { spans_.build(image_); }
    void clear() { *this = Surface(); }

    const QImage& image() const { return image_; }
    QImage& image() { return image_; }
    const SpanIndex& spans() const { return spans_; }
    bool isEmpty() const { return image_.isNull(); }
    int width() const { return image_.width(); }
    int height() const { return image_.height(); }

  private:
    QImage image_;
    SpanIndex spans_;
};

// Source-over blend of a premultiplied source rectangle, stretched onto the destination rectangle:
// d = s + d * (255 - sa) / 255 per channel, rounded to nearest. Stretching samples bilinearly.
// A destination width or height that is not positive draws nothing; so does a source rectangle
// that is empty or not inside the source. Pixels outside the destination are clipped.
// Returns false when nothing could be drawn for one of those reasons.
bool blendOver(QImage& dst, const QRect& dstRect, const Surface& src, const QRect& srcRect);

// Reference version of blendOver for the unstretched case, pixel by pixel, without the span index.
bool blendOverReference(QImage& dst, const QRect& dstRect, const QImage& src, const QRect& srcRect);

// Opaque copy of src's top-left (w x h) onto dst at (0, 0); alpha forced to 255. A null source
// leaves dst unchanged and returns false.
bool copyOpaque(QImage& dst, const QImage& src);

}  // namespace ms
