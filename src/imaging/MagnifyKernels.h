#pragma once
// Internals of the magnifier, shared by its instruction-set variants (Magnify.cpp, MagnifyAvx2.cpp) and its
// tests and benchmarks. MagnifyAvx2.cpp is compiled with -mavx2, so it may use inline functions of this
// header and of Magnify.h only in constant expressions: one it called at run time would be compiled there
// with AVX2, and the linker could keep that copy for the whole program.
#include <cstdint>

#include "imaging/Magnify.h"

namespace ms::magnify {

// The horizontal pass of one source row: 16 bits for every output column and channel,
// h = (16 - fx) * first + fx * second (0 .. 4080) plus kRowBias. The order of the values in the row belongs
// to the kernel that wrote it; its vertical pass reads them back in that order.
constexpr int kRowLanes = kMagnifyWidth * 4;

// The vertical weights sum to 16, so 8 added to every h becomes the 128 that makes the final shift by 8
// round to nearest, without an addition per output row.
constexpr int kRowBias = 8;

// 5 source pixels make 8 output pixels, so the column taps repeat every 8 columns, shifted by 5 pixels.
// Block b is output columns 8b .. 8b + 7.
constexpr int kBlocks = kMagnifyWidth / 8;
static_assert(kMagnifyWidth == 8 * kBlocks && kMagnifySourceWidth == 5 * kBlocks);
static_assert(kMagnifyHeight * kMagnifySourceWidth == kMagnifyWidth * kMagnifySourceHeight);

// The two passes of one instruction set. Rows are 32-byte aligned.
struct Kernel {
    const char* name;
    // sourceRow: the 380 pixels of a source row.
    void (*horizontal)(const uint8_t* sourceRow, uint16_t* row);
    // outRow: the 608 pixels ((16 - fy) * row0 + fy * row1) >> 8, rows from this kernel's horizontal pass.
    void (*vertical)(const uint16_t* row0, const uint16_t* row1, int fy, uint8_t* outRow);
};

extern const Kernel kSse2Kernel;
extern const Kernel kAvx2Kernel;  // only on processors with AVX2

// The kernel magnifyCanvas uses: AVX2 when the processor (and the system) supports it, else SSE2.
const Kernel& bestKernel();

// magnifyCanvas and magnifyRows with a chosen kernel.
void magnifyCanvasWith(const Kernel& kernel, const QImage& canvas, QImage& out);
void magnifyRowsWith(const Kernel& kernel, const QImage& canvas, QImage& out, int firstSourceRow,
                     int lastSourceRow);

}  // namespace ms::magnify
