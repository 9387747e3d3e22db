// One mouse-move step of each canvas tool on the installed studio, including the recomposition it
// asks for, and the pattern read the tools no longer repeat for every stamp. Registered here; the
// bench main runs them.
#include <benchmark/benchmark.h>

#include "BenchStudio.h"
#include "compositor/Composition.h"
#include "platform/ComponentFile.h"
#include "retouch/MakeupTools.h"
#include "retouch/ToolDispatch.h"

using namespace ms;

namespace {

// A studio dressed with a component of every kind, the makeup window open at brush size 5, and a
// tool.
struct ToolBench {
    StudioState s;
    CanvasTools tools;
    explicit ToolBench(MakeupOption option) {
        bench::dress(s);
        openMakeupTools(s);
        setBrushSize(s, 5);
        (void)chooseMakeupOption(s, option);
        s.session.tools.colour = colourValue(220, 120, 130);
    }
    ToolResult event(View v, MouseAction a, QPointF canvas) {
        CanvasEvent e;
        e.action = a;
        e.button = a == MouseAction::Move ? Qt::NoButton : Qt::LeftButton;
        e.buttons = a == MouseAction::Up ? Qt::NoButton : Qt::LeftButton;
        e.pos = v == View::Canvas ? canvas : canvas / 0.6225;
        return tools.handle(s, v, e);
    }
};

// The pointer walking back and forth over the face, one pixel a step.
QPointF along(int64_t i) {
    return {130.0 + static_cast<double>(i % 120), 200.0 + static_cast<double>(i % 40)};
}

void strokeSteps(benchmark::State& state, MakeupOption option, View view = View::Canvas) {
    ToolBench b(option);
    b.event(view, MouseAction::Down, along(0));
    int64_t i = 0;
    for (auto _ : state) {
        const ToolResult r = b.event(view, MouseAction::Move, along(++i));
        benchmark::DoNotOptimize(r.recompose);
    }
}

void BM_tool_soften_step(benchmark::State& state) { strokeSteps(state, MakeupOption::Soften); }
void BM_tool_concealer_step(benchmark::State& state) { strokeSteps(state, MakeupOption::Concealer); }
void BM_tool_pen_step(benchmark::State& state) { strokeSteps(state, MakeupOption::Pen); }
void BM_tool_eraser_step(benchmark::State& state) { strokeSteps(state, MakeupOption::Eraser); }

// One clone stamp of the magnified view, with the 608 x 768 refresh.
void BM_tool_magnified_clone_stamp(benchmark::State& state) {
    ToolBench b(MakeupOption::Clone);
    b.s.session.views.PicfangdaVisible = true;
    b.s.session.tools.cloneSource = {150, 150};
    b.s.session.tools.cloneAnchor = {200, 250};
    int64_t i = 0;
    for (auto _ : state) {
        const ToolResult r = b.event(View::Magnified, MouseAction::Move, along(++i));
        benchmark::DoNotOptimize(b.s.session.views.Picfangda.constBits());
        benchmark::DoNotOptimize(r.changed);
    }
}

// What each stamp would add if it read its pattern from disk again (size 5, 35 x 35).
void BM_tool_pattern_read(benchmark::State& state) {
    const QString path = bench::studioFolder() + QStringLiteral("/penqiang/5.tta");
    for (auto _ : state) {
        ComponentImage c;
        bench::check(readComponentFile(path, GridSizing::fromHeader(), c));
        benchmark::DoNotOptimize(c.grid.pixels.data());
    }
}

}  // namespace

BENCHMARK(BM_tool_soften_step)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_tool_concealer_step)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_tool_pen_step)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_tool_eraser_step)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_tool_magnified_clone_stamp)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_tool_pattern_read)->Unit(benchmark::kMicrosecond);
