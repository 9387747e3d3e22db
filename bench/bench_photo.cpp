// The photo adjustment on the installed studio: taking in a camera photo, a step of each slider, the
// automatic skin tone; and our resampler against Qt's smooth scaling, which it replaces. Registered here;
// the bench main runs them.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>

#include "BenchStudio.h"
#include "compositor/Composition.h"
#include "photo/PhotoAdjust.h"
#include "photo/PhotoSession.h"

using namespace ms;

namespace {

void check(const Status& st) {
    if (!st) std::fprintf(stderr, "set-up failed: %s\n", qPrintable(st.message));
}

// A photo-like picture of w x h: a graded backdrop, shaded hair around a face-like ellipse, clothes, and
// per-pixel grain of up to 8 levels, as a camera gives.
QImage cameraPhoto(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        QLinearGradient backdrop(0, 0, w, h);
        backdrop.setColorAt(0, QColor(60, 100, 150));
        backdrop.setColorAt(1, QColor(210, 220, 235));
        p.fillRect(img.rect(), backdrop);
        p.setPen(Qt::NoPen);
        QRadialGradient hair(w * 0.5, h * 0.4, h * 0.4);
        hair.setColorAt(0, QColor(95, 60, 35));
        hair.setColorAt(1, QColor(25, 15, 10));
        p.setBrush(hair);
        p.drawEllipse(QPointF(w * 0.5, h * 0.42), h * 0.3, h * 0.36);
        QRadialGradient skin(w * 0.47, h * 0.45, h * 0.28);
        skin.setColorAt(0, QColor(245, 205, 180));
        skin.setColorAt(1, QColor(185, 135, 110));
        p.setBrush(skin);
        p.drawEllipse(QPointF(w * 0.5, h * 0.48), h * 0.19, h * 0.26);
        QLinearGradient cloth(0, h * 0.75, 0, h);
        cloth.setColorAt(0, QColor(150, 30, 60));
        cloth.setColorAt(1, QColor(70, 10, 25));
        p.setBrush(cloth);
        p.drawRoundedRect(QRectF(w * 0.2, h * 0.76, w * 0.6, h * 0.3), h * 0.1, h * 0.1);
    }
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> grain(-8, 8);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            uint32_t pixel = 0xFF000000u;
            for (int shift = 0; shift < 24; shift += 8) {
                const int c = std::clamp(static_cast<int>(row[x] >> shift & 0xFF) + grain(rng), 0, 255);
                pixel |= static_cast<uint32_t>(c) << shift;
            }
            row[x] = pixel;
        }
    }
    return img;
}

// A decoded 12-megapixel camera photo (4000 x 3000).
const QImage& decodedPhoto() {
    static const QImage photo = cameraPhoto(4000, 3000);
    return photo;
}

// A working copy at its largest, 760 x 960.
const QImage& largestWorkingCopy() {
    static const QImage copy = cameraPhoto(760, 960);
    return copy;
}

// A studio started as the main window starts it, with a session that has taken in the largest working
// copy, each benchmark its own.
struct PhotoBench {
    StudioState s;
    std::unique_ptr<PhotoSession> session;

    PhotoBench() {
        check(initialiseStudio(s, bench::studioFolder()));
        check(CHUSHI_MOBAN(s));
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
        check(b.session->adjustColours({i++ % 2 ? -1 : 1, 0, 0, 20}));
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
        check(b.session->correctSkinTone());
        benchmark::DoNotOptimize(b.s.session.views.Pichuaban.constBits());
    }
}
BENCHMARK(BM_photo_skin_tone)->Unit(benchmark::kMicrosecond);

}  // namespace
