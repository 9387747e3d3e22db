// The hair tools on the installed studio: the dye of a whole hairstyle with the redraw (beside it
// the plain per-pixel dye), one highlight stroke step through the canvas tools, the commit of the
// highlights, and one scissors cut. Registered here; the bench main runs them.
#include <benchmark/benchmark.h>

#include "BenchStudio.h"
#include "compositor/Composition.h"
#include "compositor/Preparation.h"
#include "hair/HairColour.h"
#include "hair/HairTrim.h"
#include "imaging/PixelHelpers.h"
#include "imaging/Surface.h"
#include "platform/ComponentFile.h"
#include "retouch/ToolDispatch.h"

using namespace ms;

namespace {

struct HairBench {
    StudioState s;
    HairBench() {
        bench::dress(s);
        bench::check(openHairColour(s));
        const Dye coffee = dyePresets()[0].dye;
        s.session.hair.dyeHue = coffee.A, s.session.hair.dyeSaturation = coffee.B;
    }
};

void BM_hair_dye(benchmark::State& state) {
    HairBench b;
    int column = 0;
    for (auto _ : state) {
        bench::check(faxing_bianse(b.s, [&column](int c) { column = c; }));
        benchmark::DoNotOptimize(column);
    }
}

// Every pixel through the colour conversions, one by one, then the same upload and redraw.
void BM_hair_dye_plain(benchmark::State& state) {
    HairBench b;
    const Dye dye = dyePresets()[0].dye;
    for (auto _ : state) {
        PixelGrid dyed = b.s.doc.grids.hairstyleBackup;
        for (uint32_t& p : dyed.pixels) {
            p = dyePixel(p, dye);
            premultiply_pixel(p);
        }
        b.s.doc.surfaces.of(Kind::faxing) = Surface::fromPremultipliedGrid(dyed);
        huaban_hecheng1(b.s);
    }
}

// A highlight stroke across the hair, one mouse move a step, brush size 5.
void BM_hair_highlight_step(benchmark::State& state) {
    HairBench b;
    CanvasTools tools;
    bench::check(beginHighlights(b.s));
    ToolState& t = b.s.session.tools;
    t.mode = ToolMode::brush;
    t.colour = colourValue(240, 200, 120);
    t.brushSize = 5;
    t.brushPatternFile = b.s.path(QStringLiteral("penqiang/5.tta"));
    CanvasEvent e{MouseAction::Down, Qt::LeftButton, Qt::LeftButton, false, QPointF(120, 120)};
    tools.handle(b.s, View::Canvas, e);
    e.action = MouseAction::Move;
    e.button = Qt::NoButton;
    int64_t i = 0;
    for (auto _ : state) {
        e.pos = QPointF(120.0 + static_cast<double>(i % 140), 120.0 + static_cast<double>(i % 30));
        ++i;
        benchmark::DoNotOptimize(tools.handle(b.s, View::Canvas, e).changed);
    }
}

void BM_hair_highlight_commit(benchmark::State& state) {
    HairBench b;
    for (auto _ : state) {
        bench::check(commitHairPicture(b.s));
        huaban_hecheng1(b.s);
    }
}

// The largest scissor shape, 40 x 40, here and there over the hair.
void BM_hair_scissors_cut(benchmark::State& state) {
    HairBench b;
    ComponentImage shape;
    bench::check(
        readComponentFile(b.s.path(QStringLiteral("penqiang/16.tta")), GridSizing::fromHeader(), shape));
    const AlphaMask mask = AlphaMask::fromGridAlpha(shape.grid);
    int64_t i = 0;
    for (auto _ : state) {
        bench::check(cutHair(b.s, QPointF(100.0 + static_cast<double>(i % 180), 60.0), mask));
        ++i;
    }
}

}  // namespace

BENCHMARK(BM_hair_dye)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_hair_dye_plain)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_hair_highlight_step)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_hair_highlight_commit)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_hair_scissors_cut)->Unit(benchmark::kMicrosecond);
