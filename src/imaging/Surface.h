#pragma once
#include <QImage>
#include <QRect>
#include <cstdint>
#include <vector>

#include "imaging/PixelGrid.h"

namespace ms {

// Per-row runs of non-transparent pixels of a surface, built when the surface is filled so that
// every later blend of it skips the transparent parts and copies the opaque ones.
struct SpanIndex {
    struct Span {
        int16_t x0, x1;  // [x0, x1)
        bool opaque;     // every pixel has alpha 255
        bool operator==(const Span&) const = default;
    };
    std::vector<Span> spans;
    std::vector<uint32_t> rowStart;  // spans of row y: [rowStart[y], rowStart[y + 1]); top-down rows

    void build(const QImage& image);
    // Builds rows y0 .. y1 (inclusive, clipped to the picture) again, keeping the other rows.
    void rebuildRows(const QImage& image, int y0, int y1);
    bool isEmpty() const { return rowStart.empty(); }
};

// An off-screen 32-bit drawing surface: premultiplied ARGB32, rows top-down. Its pixels change
// only through setImage and edit, so its span index always matches them.
class Surface {
  public:
    Surface() = default;
    explicit Surface(QImage image) { setImage(std::move(image)); }

    // Uploads a bottom-up grid: straight pixels are premultiplied on the way (the grid is not
    // touched), already premultiplied ones are copied.
    static Surface fromGrid(const PixelGrid& grid);
    static Surface fromPremultipliedGrid(const PixelGrid& grid);

    void setImage(QImage image);
    // Paints into the surface: `paint` receives the picture and changes pixels inside `touched`
    // only; the span index of those rows is built again.
    template <typename Paint>
    void edit(const QRect& touched, Paint&& paint) {
        if (image_.isNull()) return;
        paint(image_);
        spans_.rebuildRows(image_, touched.top(), touched.bottom());
    }
    void clear() { *this = Surface(); }

    const QImage& image() const { return image_; }
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
// The kernels run with `kernels`: the widest this processor has unless a caller (a test or a
// benchmark comparing them) asks for others; every set gives the same bytes.
struct BlendKernels {
    const char* name;
    void (*blendRun)(uint32_t* d, const uint32_t* s, int n);
    void (*lerpRows)(uint32_t* out, const uint32_t* r0, const uint32_t* r1, uint32_t w, int n);
    void (*blendResampled)(uint32_t* d, const uint32_t* row, const int* lo, const int* hi, const uint32_t* w,
                           const uint64_t* w4, int n);
};
const BlendKernels& sse2BlendKernels();
const BlendKernels* avx2BlendKernels();  // nullptr where the processor has no AVX2
const BlendKernels& bestBlendKernels();

bool blendOver(QImage& dst, const QRect& dstRect, const Surface& src, const QRect& srcRect,
               const BlendKernels& kernels = bestBlendKernels());

// Reference version of blendOver for the unstretched case, pixel by pixel, without the span index.
bool blendOverReference(QImage& dst, const QRect& dstRect, const QImage& src, const QRect& srcRect);

// Opaque copy of src's top-left (w x h) onto dst at (0, 0); alpha forced to 255. A null source
// leaves dst unchanged and returns false.
bool copyOpaque(QImage& dst, const QImage& src);

}  // namespace ms
