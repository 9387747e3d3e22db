// The photo adjustment on the installed studio: taking in a camera photo, a step of each slider, the
// automatic skin tone; and our resampler against Qt's smooth scaling, which it replaces. Registered here;
// the bench main runs them.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <cstdio>
#include <cstring>
#include <memory>

#include "BenchStudio.h"
#include "compositor/Composition.h"
#include "photo/PhotoAdjust.h"
#include "photo/PhotoSession.h"

using namespace ms;

namespace {

// A decoded 12-megapixel camera photo (4000 x 3000).
const QImage& decodedPhoto() {
    static const QImage photo = bench::photoLike(4000, 3000);
    return photo;
}

// A working copy at its largest, 760 x 960.
const QImage& largestWorkingCopy() {
    static const QImage copy = bench::photoLike(760, 960);
    return copy;
}

// A studio started as the main window starts it, with a session that has taken in the largest working
// copy, each benchmark its own.
struct PhotoBench {
    StudioState s;
    std::unique_ptr<PhotoSession> session;

    PhotoBench() {
        bench::check(initialiseStudio(s, bench::studioFolder()));
        bench::check(CHUSHI_MOBAN(s));
        session = std::make_unique<PhotoSession>(s);
        session->takeIn(largestWorkingCopy());
    }
};

// The size slider dragged over 20 .. 80: scaled down as far as 0.4 and up to 1.6.
FitSliders dragStep(int64_t i) { return {static_cast<int>(20 + i % 61), 0, 0}; }

void BM_photo_take_in(benchmark::State& state) {
    PhotoBench b;
    for (auto _ : state) {
        b.session->takeIn(decodedPhoto());
        benchmark::DoNotOptimize(b.s.session.views.Pichuaban.constBits());
    }
}
BENCHMARK(BM_photo_take_in)->Unit(benchmark::kMillisecond);

// The working copy alone, ours and with Qt's smooth scaling (spread over its thread pool, so only wall
// time compares).
void BM_photo_working_copy(benchmark::State& state) {
    for (auto _ : state) {
        const QImage copy = workingCopy(decodedPhoto());
        benchmark::DoNotOptimize(copy.constBits());
    }
}
BENCHMARK(BM_photo_working_copy)->Unit(benchmark::kMillisecond);

void BM_photo_working_copy_qt_smooth(benchmark::State& state) {
    const QSize size = workingCopySize(decodedPhoto().size());
    for (auto _ : state) {
        const QImage copy = decodedPhoto().scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        benchmark::DoNotOptimize(copy.constBits());
    }
}
BENCHMARK(BM_photo_working_copy_qt_smooth)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_photo_fit_step(benchmark::State& state) {
    PhotoBench b;
    int64_t i = 0;
    for (auto _ : state) {
        b.session->fit(dragStep(i++));
        benchmark::DoNotOptimize(b.s.session.views.Pichuaban.constBits());
    }
}
BENCHMARK(BM_photo_fit_step)->Unit(benchmark::kMicrosecond);

// The same drag with Qt's smooth scaling: the whole photo scaled, then its visible part placed.
void BM_photo_fit_step_qt_smooth(benchmark::State& state) {
    const QImage& source = largestWorkingCopy();
    int64_t i = 0;
    for (auto _ : state) {
        const FitSliders sliders = dragStep(i++);
        const QRect placed = fitPlacement(source.size(), sliders);
        const QImage scaled = source.scaled(placed.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        QImage canvas(kCanvasWidth, kCanvasHeight, QImage::Format_RGB32);
        canvas.fill(Qt::white);
        QPainter(&canvas).drawImage(placed.topLeft(), scaled);
        benchmark::DoNotOptimize(canvas.constBits());
    }
}
BENCHMARK(BM_photo_fit_step_qt_smooth)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_photo_rotate_step(benchmark::State& state) {
    PhotoBench b;
    b.session->fit({25, 0, 0});
    b.session->prepareRotation();
    int64_t i = 0;
    for (auto _ : state) {
        // The slider's range, -15 .. 15 degrees.
        b.session->rotate(static_cast<int>(i++ % 31) - 15);
        benchmark::DoNotOptimize(b.s.session.views.Pichuaban.constBits());
    }
}
BENCHMARK(BM_photo_rotate_step)->Unit(benchmark::kMicrosecond);

void BM_photo_colour_step(benchmark::State& state) {
    PhotoBench b;
    b.session->fit({25, 0, 0});
    int64_t i = 0;
    for (auto _ : state) {
        // Brightness one step up, then back: the changes add up on the background.
        bench::check(b.session->adjustColours({i++ % 2 ? -1 : 1, 0, 0, 20}));
        benchmark::DoNotOptimize(b.s.session.views.Pichuaban.constBits());
    }
}
BENCHMARK(BM_photo_colour_step)->Unit(benchmark::kMicrosecond);

void BM_photo_skin_tone(benchmark::State& state) {
    PhotoBench b;
    for (auto _ : state) {
        state.PauseTiming();
        b.session->fit({25, 0, 0});
        state.ResumeTiming();
        bench::check(b.session->correctSkinTone());
        benchmark::DoNotOptimize(b.s.session.views.Pichuaban.constBits());
    }
}
BENCHMARK(BM_photo_skin_tone)->Unit(benchmark::kMicrosecond);

}  // namespace
