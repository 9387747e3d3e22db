// The magnified view's redraw: our 1.6 x bilinear magnifier (with the kernel it picks, and with SSE2 only,
// to show what the AVX2 kernel gains) against the QImage::scaled call it replaces, and the partial update
// of a 40-row band. Registered here; the bench main runs them.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <algorithm>
#include <random>

#include "BenchStudio.h"
#include "imaging/Magnify.h"
#include "imaging/MagnifyKernels.h"

namespace {

const QImage& canvas() {
    static const QImage c = ms::bench::photoLike(ms::kMagnifySourceWidth, ms::kMagnifySourceHeight)
                                .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return c;
}

// Times magnify(out) with the same `out` throughout, as the redraws of the view use it.
template <typename Magnify>
void timeRedraws(benchmark::State& state, Magnify magnify) {
    QImage out;
    magnify(out);
    for (auto _ : state) {
        magnify(out);
        benchmark::DoNotOptimize(out.constBits());
        benchmark::ClobberMemory();
    }
}

void BM_magnify_ours(benchmark::State& state) {
    state.SetLabel(ms::magnify::bestKernel().name);
    timeRedraws(state, [](QImage& out) { ms::magnifyCanvas(canvas(), out); });
}
BENCHMARK(BM_magnify_ours)->Unit(benchmark::kMicrosecond);

void BM_magnify_ours_sse2(benchmark::State& state) {
    timeRedraws(state,
                [](QImage& out) { ms::magnify::magnifyCanvasWith(ms::magnify::kSse2Kernel, canvas(), out); });
}
BENCHMARK(BM_magnify_ours_sse2)->Unit(benchmark::kMicrosecond);

void BM_magnify_qt_smooth(benchmark::State& state) {
    for (auto _ : state) {
        QImage out = canvas().scaled(ms::kMagnifyWidth, ms::kMagnifyHeight, Qt::IgnoreAspectRatio,
                                     Qt::SmoothTransformation);
        benchmark::DoNotOptimize(out.constBits());
    }
}
// Qt spreads the smooth scaling over its thread pool, so only wall time compares.
BENCHMARK(BM_magnify_qt_smooth)->Unit(benchmark::kMicrosecond)->UseRealTime();

// A redraw that changed only the lips: 40 source rows through the middle of the face. The untimed first
// call finds no picture yet and makes the whole one.
void BM_magnify_rows_band(benchmark::State& state) {
    timeRedraws(state, [](QImage& out) { ms::magnifyRows(canvas(), out, 280, 319); });
}
BENCHMARK(BM_magnify_rows_band)->Unit(benchmark::kMicrosecond);

}  // namespace
