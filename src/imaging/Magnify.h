#pragma once
#include <QImage>
#include <cstdint>

namespace ms {

// The magnified view: the 380 x 480 canvas at exactly 8/5 in both axes.
constexpr int kMagnifySourceWidth = 380;
constexpr int kMagnifySourceHeight = 480;
constexpr int kMagnifyWidth = 608;
constexpr int kMagnifyHeight = 768;

// Where output pixel d of an axis samples a source axis of `size` pixels. With pixel centres aligned,
// u = (d + 0.5) / 1.6 - 0.5 = (10 d - 3) / 16: every u is a whole number of sixteenths, so the bilinear
// weight of the second pixel, frac(u), is exact in 1/16 steps. Below the first pixel (only d = 0, u = -3/16)
// and beyond the last one (only the last d, u = last + 3/16) both pixels are the edge pixel.
struct MagnifyTap {
    int first = 0;   // source pixel weighted 16 - frac
    int second = 0;  // source pixel weighted frac: first + 1, or first at the edges
    int frac = 0;    // 0 .. 15
};

constexpr MagnifyTap magnifyTap(int d, int size) {
    const int sixteenths = 10 * d - 3;
    if (sixteenths < 0) return {0, 0, 0};
    const int first = sixteenths / 16;
    if (first >= size - 1) return {size - 1, size - 1, 0};
    return {first, first + 1, sixteenths % 16};
}

// One channel of a bilinear sample. c00 and c10 are the first and second pixel of the first row, c01 and
// c11 those of the second row; fx and fy (0 .. 15) are the sixteenths given to the second pixel and row:
//   v = (16 - fy) * ((16 - fx) * c00 + fx * c10) + fy * ((16 - fx) * c01 + fx * c11)      (0 .. 65280)
// The weights are exact, so the true value is v / 256. It is rounded once, to the nearest integer with
// halves rounded up: (v + 128) >> 8. Halves go up rather than to the even neighbour as elsewhere in the
// program because telling a half apart costs the vector kernels three more operations per vector (about a
// third more time) and the magnified picture is only ever displayed.
// Weighting and rounding are both monotone, so a premultiplied colour channel stays at or below the alpha
// computed with it, and a flat region stays exactly flat.
constexpr int magnifyChannel(int c00, int c10, int c01, int c11, int fx, int fy) {
    const int v = (16 - fy) * ((16 - fx) * c00 + fx * c10) + fy * ((16 - fx) * c01 + fx * c11);
    return (v + 128) >> 8;
}

// The 1.6 x picture of a 380 x 480 Format_ARGB32_Premultiplied canvas: 608 x 768, the same format. Every
// channel of output pixel (x, y) is magnifyChannel of the four source pixels given by magnifyTap(x, 380)
// and magnifyTap(y, 480), so nearest with halves up: (v + 128) >> 8. The AVX2 kernel runs when the
// processor has it, the SSE2 one otherwise; both give exactly these bytes.
// `out` keeps its buffer when it already is a detached 608 x 768 premultiplied picture, so repeated
// redraws allocate nothing; otherwise it gets a new one (a picture shared with a view is left to the view).
// A canvas of another format is converted first (an allocation); one of another size is scaled by Qt
// instead, as a fallback only.
void magnifyCanvas(const QImage& canvas, QImage& out);

// Recomputes only the output rows whose samples use a source row in [firstSourceRow, lastSourceRow]
// (inclusive, clamped to the canvas), after a redraw that changed only those rows: a band of n rows
// touches 1.6 n + 2 output rows, give or take one. `out` must hold the picture of an earlier magnifyCanvas
// call; when it is not a 608 x 768 premultiplied picture, or the canvas is not a 380 x 480 premultiplied one,
// the whole picture is made by magnifyCanvas instead.
void magnifyRows(const QImage& canvas, QImage& out, int firstSourceRow, int lastSourceRow);

// The same picture computed pixel by pixel straight from magnifyTap and magnifyChannel; slow, for tests.
QImage magnifyCanvasReference(const QImage& canvas);

}  // namespace ms
