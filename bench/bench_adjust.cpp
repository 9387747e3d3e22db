// The layer edits on the installed studio: one step of a move and stretch slider, and one warp at
// the largest radius of the hairstyle, the eyebrows and the lips with the surface rebuild and the
// redraw; beside them the warp of the grid alone, ours and the plain scalar one the tests check
// ours against. Registered here; the
// bench main runs them.
#include <benchmark/benchmark.h>

#include <cmath>

#include "BenchStudio.h"
#include "adjust/LayerMoves.h"
#include "adjust/LayerWarp.h"
#include "compositor/Kinds.h"
#include "compositor/StudioState.h"
#include "support/ReferenceWarp.h"

using namespace ms;

namespace {

// The stretch-across slider of the hat dragged back and forth, one step each time.
void BM_adjust_slider_step(benchmark::State& state) {
    StudioState s;
    bench::dress(s);
    int64_t i = 0;
    for (auto _ : state) {
        const int v = static_cast<int>(i++ % 21) - 10;
        dragMoveSlider(s, MoveTarget::Hat, MoveSlider::Slider3, v);
        benchmark::DoNotOptimize(s.doc.surfaces.canvas.constBits());
    }
}

// Drags of radius 100 over the middle of the layer, alternating left and right so that the layer
// keeps its content.
struct WarpBench {
    StudioState s;
    Kind kind;
    QPointF centre;
    WarpBench(Kind k, QPointF canvasCentre) : kind(k), centre(canvasCentre) {
        bench::dress(s);
        s.session.tools.libraryWarpSize = s.session.tools.hairWarpSize = 20;
        s.session.library.currentKind = kindInfo(k).library;
    }
    void stroke(int64_t i) {
        const QPointF end = centre + QPointF(i % 2 ? 12 : -12, 6);
        s.session.tools.press = *warpInput(s, kindInfo(kind).library, centre);
        const QPointF release = *warpInput(s, kindInfo(kind).library, end);
        s.session.tools.release = QPointF(release.x(), std::nearbyint(release.y()));
    }
};

void warpSteps(benchmark::State& state, Kind k, QPointF centre) {
    WarpBench b(k, centre);
    int64_t i = 0;
    for (auto _ : state) {
        b.stroke(i++);
        benchmark::DoNotOptimize(warpLayer(b.s, k));
    }
}

void BM_warp_hairstyle(benchmark::State& state) { warpSteps(state, Kind::faxing, {190, 150}); }
void BM_warp_eyebrows(benchmark::State& state) { warpSteps(state, Kind::meimao, {140, 180}); }
void BM_warp_lips(benchmark::State& state) { warpSteps(state, Kind::zuixing, {190, 290}); }

// The hairstyle grid alone at radius 100: ours (arg 1) and the plain one (arg 0).
void BM_warp_grid(benchmark::State& state) {
    StudioState s;
    bench::dress(s);
    PixelGrid grid = s.doc.grids.hairstyle, backup;
    const double cy = grid.height;
    int64_t i = 0;
    for (auto _ : state) {
        const QPointF S(190, cy - 200), E(i++ % 2 ? 202 : 178, cy - 194);
        if (state.range(0))
            warpGrid(grid, backup, WarpOrigin{0, cy}, 100, S, E);
        else
            grid = backup = test::referenceWarp(grid, 0, cy, 100, S, E);
        benchmark::DoNotOptimize(grid.pixels.data());
    }
}

}  // namespace

BENCHMARK(BM_adjust_slider_step)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_warp_hairstyle)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_warp_eyebrows)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_warp_lips)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_warp_grid)->ArgName("ours")->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);
