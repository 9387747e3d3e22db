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

#include "imaging/Magnify.h"
#include "imaging/MagnifyKernels.h"

namespace {

// A portrait-like canvas: a graded backdrop, shaded hair, face and clothes, and per-pixel grain of up to
// 6 levels, as in a photograph. Opaque and premultiplied, like the studio's canvas.
QImage portraitCanvas() {
    QImage img(ms::kMagnifySourceWidth, ms::kMagnifySourceHeight, QImage::Format_ARGB32_Premultiplied);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        QLinearGradient backdrop(0, 0, 0, img.height());
        backdrop.setColorAt(0, QColor(70, 110, 160));
        backdrop.setColorAt(1, QColor(200, 215, 230));
        p.fillRect(img.rect(), backdrop);
        QRadialGradient hair(190, 170, 160);
        hair.setColorAt(0, QColor(90, 55, 30));
        hair.setColorAt(1, QColor(30, 18, 10));
        p.setPen(Qt::NoPen);
        p.setBrush(hair);
        p.drawEllipse(QPointF(190, 190), 150, 170);
        QRadialGradient skin(175, 200, 120);
        skin.setColorAt(0, QColor(245, 205, 180));
        skin.setColorAt(1, QColor(190, 140, 115));
        p.setBrush(skin);
        p.drawEllipse(QPointF(190, 225), 95, 125);
        QLinearGradient cloth(0, 380, 0, 480);
        cloth.setColorAt(0, QColor(150, 30, 60));
        cloth.setColorAt(1, QColor(80, 10, 30));
        p.setBrush(cloth);
        p.drawRoundedRect(QRectF(40, 370, 300, 140), 60, 60);
    }
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> grain(-6, 6);
    for (int y = 0; y < img.height(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
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

const QImage& canvas() {
    static const QImage c = portraitCanvas();
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
