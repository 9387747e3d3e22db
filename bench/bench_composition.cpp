// Composition benchmarks on the installed libraries, with the same ten-layer redraw drawn by plain
// QPainter calls and by pixman for comparison. Run through `make bench`.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <QApplication>
#include <QPainter>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "BenchStudio.h"
#include "compositor/Composition.h"
#include "compositor/Kinds.h"
#include "compositor/Preparation.h"
#include "imaging/Surface.h"
#include "platform/FileLookup.h"

using namespace ms;

namespace ms::bench {
extern double gNineUpPdfBytes;  // the nine-up page's PDF, in bytes (bench_print.cpp)
extern double gCameraGrowthMB;  // resident memory growth over 600 camera frames (bench_camera.cpp)
}  // namespace ms::bench

namespace {

QString gStudio;

}  // namespace

const QString& ms::bench::studioFolder() { return gStudio; }

namespace {

using bench::check;

constexpr Layer kRedrawOrder[] = {Layer::EyebrowLeft, Layer::EyebrowRight, Layer::Lips,    Layer::Necklace,
                                  Layer::Clothing,    Layer::Hairstyle,    Layer::Glasses, Layer::Hat,
                                  Layer::EarringLeft, Layer::EarringRight};

// A studio with one real component of every kind prepared; `stretch` pixels on every layer.
StudioState& studio(int stretch) {
    static std::map<int, StudioState> studios;
    auto [it, fresh] = studios.try_emplace(stretch);
    StudioState& s = it->second;
    if (!fresh) return s;
    bench::dress(s);
    DesignState& d = s.doc.design;
    if (stretch) {
        LayerGeometry& g = d.geometry;
        g.faxingWidth = g.faxingheight = stretch;
        g.mmWidthz = g.mmheightz = g.mmWidthy = g.mmheighty = stretch;
        g.zuixingWidth = g.zuixingheight = stretch;
        g.yanjingWidth = g.yanjingheight = stretch;
        g.maoziWidth = g.maoziheight = stretch;
        g.erhuanWidth = g.xianglianWidth = stretch;
        g.fuzhuangWidth = g.fuzhuangheight = stretch;
    }
    return s;
}

void BM_huaban_hecheng1(benchmark::State& state) {
    StudioState& s = studio(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        huaban_hecheng1(s);
        benchmark::DoNotOptimize(s.session.views.Pichuaban.constBits());
    }
}

// The same redraw with a chosen set of blend kernels, to show what the AVX2 kernels gain.
void BM_redraw_kernels(benchmark::State& state) {
    StudioState& s = studio(static_cast<int>(state.range(0)));
    const BlendKernels* k = state.range(1) ? avx2BlendKernels() : &sse2BlendKernels();
    if (!k) return state.SkipWithError("no AVX2 on this processor");
    state.SetLabel(k->name);
    QImage canvas(kCanvasWidth, kCanvasHeight, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        copyOpaque(canvas, s.doc.design.PicMT);
        for (Layer l : kRedrawOrder) {
            const Placement pl = redrawPlacement(l, s.doc.design.geometry, s.doc.design.hairHeight);
            blendOver(canvas, pl.dst, s.doc.surfaces.of(kindOf(l)), pl.src, *k);
        }
        benchmark::DoNotOptimize(canvas.constBits());
    }
}

// The magnified view's part of a redraw while it is shown: the dressed canvas stretched 1.6 times.
void BM_magnified_redraw(benchmark::State& state) {
    StudioState& s = studio(0);
    huaban_hecheng1(s);
    Views& v = s.session.views;
    magnifyView(v);
    for (auto _ : state) {
        magnifyView(v);
        benchmark::DoNotOptimize(v.Picfangda.constBits());
    }
}

// What it replaces: Qt's smooth scaling of the same canvas (spread over Qt's threads: wall time).
void BM_magnified_qt_smooth(benchmark::State& state) {
    StudioState& s = studio(0);
    huaban_hecheng1(s);
    for (auto _ : state) {
        QImage out = s.session.views.Pichuaban.scaled(kMagnifiedWidth, kMagnifiedHeight,
                                                      Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        benchmark::DoNotOptimize(out.constBits());
    }
}

// A whole redraw with the magnified view shown, as every slider and brush move will cost.
void BM_huaban_hecheng1_magnified(benchmark::State& state) {
    StudioState& s = studio(0);
    s.session.views.PicfangdaVisible = true;
    for (auto _ : state) {
        huaban_hecheng1(s);
        benchmark::DoNotOptimize(s.session.views.Picfangda.constBits());
    }
    s.session.views.PicfangdaVisible = false;
}

void BM_qpainter_redraw(benchmark::State& state) {
    StudioState& s = studio(static_cast<int>(state.range(0)));
    const bool smooth = state.range(1) != 0;
    QImage canvas(kCanvasWidth, kCanvasHeight, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter p(&canvas);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.drawImage(0, 0, s.doc.design.Picbeijing);
        p.drawImage(0, 0, s.doc.design.PicMT);
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        p.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
        for (Layer l : kRedrawOrder) {
            const Placement pl = redrawPlacement(l, s.doc.design.geometry, s.doc.design.hairHeight);
            p.drawImage(pl.dst, s.doc.surfaces.of(kindOf(l)).image(), pl.src);
        }
        p.end();
        benchmark::DoNotOptimize(canvas.constBits());
    }
}

pixman_image_t* wrap(const QImage& img) {
    return pixman_image_create_bits(PIXMAN_a8r8g8b8, img.width(), img.height(),
                                    const_cast<uint32_t*>(reinterpret_cast<const uint32_t*>(img.constBits())),
                                    static_cast<int>(img.bytesPerLine()));
}

void BM_pixman_redraw(benchmark::State& state) {
    StudioState& s = studio(static_cast<int>(state.range(0)));
    const bool stretched = state.range(0) != 0;
    QImage canvas(kCanvasWidth, kCanvasHeight, QImage::Format_ARGB32_Premultiplied);
    pixman_image_t* dst = wrap(canvas);
    const QImage photo = s.doc.design.PicMT.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage back = s.doc.design.Picbeijing.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    pixman_image_t* photoImg = wrap(photo);
    pixman_image_t* backImg = wrap(back);
    struct Prepared {
        pixman_image_t* img;
        QRect dst;
    };
    std::vector<Prepared> layers;
    for (Layer l : kRedrawOrder) {
        const Placement pl = redrawPlacement(l, s.doc.design.geometry, s.doc.design.hairHeight);
        pixman_image_t* img = wrap(s.doc.surfaces.of(kindOf(l)).image());
        pixman_transform_t t;
        pixman_transform_init_scale(&t, pixman_double_to_fixed(double(pl.src.width()) / pl.dst.width()),
                                    pixman_double_to_fixed(double(pl.src.height()) / pl.dst.height()));
        pixman_transform_translate(&t, nullptr, pixman_int_to_fixed(pl.src.x()),
                                   pixman_int_to_fixed(pl.src.y()));
        pixman_image_set_transform(img, &t);
        pixman_image_set_filter(img, stretched ? PIXMAN_FILTER_BILINEAR : PIXMAN_FILTER_NEAREST, nullptr, 0);
        layers.push_back({img, pl.dst});
    }
    for (auto _ : state) {
        pixman_image_composite32(PIXMAN_OP_SRC, backImg, nullptr, dst, 0, 0, 0, 0, 0, 0, kCanvasWidth,
                                 kCanvasHeight);
        pixman_image_composite32(PIXMAN_OP_SRC, photoImg, nullptr, dst, 0, 0, 0, 0, 0, 0, kCanvasWidth,
                                 kCanvasHeight);
        for (const Prepared& p : layers)
            pixman_image_composite32(PIXMAN_OP_OVER, p.img, nullptr, dst, 0, 0, 0, 0, p.dst.x(), p.dst.y(),
                                     p.dst.width(), p.dst.height());
        benchmark::DoNotOptimize(canvas.constBits());
    }
    for (const Prepared& p : layers) pixman_image_unref(p.img);
    pixman_image_unref(photoImg);
    pixman_image_unref(backImg);
    pixman_image_unref(dst);
}

void BM_huaban_hecheng2(benchmark::State& state) {
    StudioState& s = studio(0);
    for (auto _ : state) benchmark::DoNotOptimize(huaban_hecheng2(s).ok());
}

void BM_CHUSHI_MOBAN(benchmark::State& state) {
    StudioState s;
    check(initialiseStudio(s, gStudio));
    for (auto _ : state) benchmark::DoNotOptimize(CHUSHI_MOBAN(s).ok());
}

BENCHMARK(BM_huaban_hecheng1)->ArgName("stretch")->Arg(0)->Arg(3)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_qpainter_redraw)
    ->ArgNames({"stretch", "smooth"})
    ->Args({0, 0})
    ->Args({3, 0})
    ->Args({3, 1})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_pixman_redraw)->ArgName("stretch")->Arg(0)->Arg(3)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_redraw_kernels)
    ->ArgNames({"stretch", "avx2"})
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({3, 0})
    ->Args({3, 1})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_magnified_redraw)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_magnified_qt_smooth)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_huaban_hecheng1_magnified)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_huaban_hecheng2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CHUSHI_MOBAN)->Unit(benchmark::kMillisecond);

// Keeps the median (or the single run) of every benchmark for the closing ratio line.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    std::map<std::string, double> medians;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs) {
            std::string name = r.benchmark_name();
            if (r.run_type == Run::RT_Aggregate) {
                if (r.aggregate_name != "median") continue;
                name = name.substr(0, name.rfind('_'));
            }
            if (const auto at = name.find("/real_time"); at != std::string::npos) name.erase(at, 10);
            if (const auto at = name.find("/iterations:"); at != std::string::npos) name.erase(at);
            medians[name] = r.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

}  // namespace

int main(int argc, char** argv) {
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], "--studio=", 9) == 0)
            gStudio = QString::fromLocal8Bit(argv[i] + 9);
        else
            args.push_back(argv[i]);
    }
    if (gStudio.isEmpty()) {
        std::fprintf(stderr, "usage: studio-bench --studio=<program folder> [benchmark flags]\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int n = static_cast<int>(args.size());
    QApplication app(n, args.data());
    benchmark::Initialize(&n, args.data());
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto m = [&](const char* k) { return reporter.medians.count(k) ? reporter.medians[k] : 0.0; };
    const double fastest0 =
        std::min(m("BM_qpainter_redraw/stretch:0/smooth:0"), m("BM_pixman_redraw/stretch:0"));
    const double fastest3 =
        std::min(m("BM_qpainter_redraw/stretch:3/smooth:1"), m("BM_pixman_redraw/stretch:3"));
    const double un = m("BM_huaban_hecheng1/stretch:0") / fastest0;
    const double st = m("BM_huaban_hecheng1/stretch:3") / fastest3;
    std::printf(
        "stretched baselines use bilinear filtering, as ours does; nearest-neighbour QPainter "
        "stretched: %.1f us\n",
        m("BM_qpainter_redraw/stretch:3/smooth:0"));
    std::printf(
        "blend kernels, redraw: unstretched AVX2 %.1f us, SSE2 %.1f us; stretched AVX2 %.1f us, SSE2 %.1f "
        "us\n",
        m("BM_redraw_kernels/stretch:0/avx2:1"), m("BM_redraw_kernels/stretch:0/avx2:0"),
        m("BM_redraw_kernels/stretch:3/avx2:1"), m("BM_redraw_kernels/stretch:3/avx2:0"));
    std::printf(
        "magnifier kernels: AVX2 %.1f us, SSE2 %.1f us; whole redraw with the magnified view: %.1f us\n",
        m("BM_magnify_ours"), m("BM_magnify_ours_sse2"), m("BM_huaban_hecheng1_magnified"));
    std::printf("redraw ratio ours/fastest: unstretched %.2f, stretched %.2f\n", un, st);
    std::printf("target redraw: %.0f us (at most 300 us; fastest baseline %.0f us)\n",
                m("BM_huaban_hecheng1/stretch:0"), fastest0);
    std::printf("target redraw-stretched: %.0f us (at most 1200 us; fastest bilinear baseline %.0f us)\n",
                m("BM_huaban_hecheng1/stretch:3"), fastest3);
    std::printf("target huaban_hecheng2: %.2f ms (at most 5 ms)\n", m("BM_huaban_hecheng2"));
    std::printf("target photo-take-in: %.1f ms (at most 25 ms)\n", m("BM_photo_take_in"));
    std::printf("target photo-fit-step: %.2f ms (at most 4 ms; with Qt's smooth scaling %.2f ms)\n",
                m("BM_photo_fit_step") / 1000, m("BM_photo_fit_step_qt_smooth") / 1000);
    std::printf("target photo-rotate-step: %.2f ms (at most 8 ms)\n", m("BM_photo_rotate_step") / 1000);
    std::printf("target photo-colour-step: %.2f ms (at most 6 ms)\n", m("BM_photo_colour_step") / 1000);
    std::printf("target photo-skin-tone: %.2f ms (at most 6 ms)\n", m("BM_photo_skin_tone") / 1000);
    std::printf("target photo-open-24mp: %.0f ms (at most 250 ms; plain QImage loading %.0f ms)\n",
                m("BM_photo_open_24mp"), m("BM_photo_open_24mp_plain_qimage"));
    std::printf("target magnified-redraw: %.0f us (at most 250 us; Qt smooth scaling %.0f us)\n",
                m("BM_magnified_redraw"), m("BM_magnified_qt_smooth"));
    const double read = m("BM_tool_pattern_read");
    std::printf("target tool-soften-step: %.0f us (at most 1000 us)\n", m("BM_tool_soften_step"));
    std::printf(
        "target tool-concealer-step: %.0f us (at most 1000 us; reading the pattern for each stamp adds %.0f "
        "us)\n",
        m("BM_tool_concealer_step"), read);
    std::printf("target tool-pen-step: %.0f us (at most 1000 us)\n", m("BM_tool_pen_step"));
    std::printf(
        "target tool-eraser-step: %.0f us (at most 3000 us; reading the pattern for each stamp adds %.0f "
        "us)\n",
        m("BM_tool_eraser_step"), read);
    std::printf("target tool-magnified-clone-stamp: %.0f us (at most 2000 us)\n",
                m("BM_tool_magnified_clone_stamp"));
    std::printf("target slider-step: %.2f ms (at most 0.3 ms)\n", m("BM_adjust_slider_step") / 1000);
    const double ours = m("BM_warp_grid/ours:1") / 1000, plain = m("BM_warp_grid/ours:0") / 1000;
    std::printf(
        "target warp-hairstyle: %.2f ms (at most 2 ms; the grid warp alone %.2f ms, plain scalar %.2f ms)\n",
        m("BM_warp_hairstyle") / 1000, ours, plain);
    std::printf("target warp-eyebrows: %.2f ms (at most 1 ms)\n", m("BM_warp_eyebrows") / 1000);
    std::printf("target warp-lips: %.2f ms (at most 1 ms)\n", m("BM_warp_lips") / 1000);
    std::printf("target dye: %.2f ms (at most 4 ms; the plain per-pixel dye %.2f ms)\n",
                m("BM_hair_dye") / 1000, m("BM_hair_dye_plain") / 1000);
    std::printf("target highlight-step: %.2f ms (at most 0.5 ms)\n", m("BM_hair_highlight_step") / 1000);
    std::printf("target highlight-commit: %.2f ms (at most 2 ms)\n", m("BM_hair_highlight_commit") / 1000);
    std::printf("target scissors-cut: %.2f ms (at most 2 ms)\n", m("BM_hair_scissors_cut") / 1000);
    std::printf("target print-window-open: %.1f ms (at most 50 ms)\n", m("BM_print_window_open"));
    std::printf("target print-nine-up-pdf: %.1f ms (at most 300 ms)\n", m("BM_print_nine_up_pdf"));
    std::printf("target print-nine-up-pdf-size: %.2f MB (at most 3 MB; the nine pictures raw %.2f MB)\n",
                bench::gNineUpPdfBytes / (1024 * 1024), 9 * 380 * 480 * 3 / (1024.0 * 1024));
    std::printf("target face-model-load: %.0f ms (reported; read on its own thread at start-up)\n",
                m("BM_face_model_load"));
    std::printf("target first-frame: %.1f ms (at most 10%% more than without the face finder: %.1f ms)\n",
                m("BM_first_frame/1"), m("BM_first_frame/0"));
    std::printf("target face-fit: %.0f ms (at most 150 ms for a 3000 x 4000 photo)\n", m("BM_face_fit"));
    std::printf("target face-fit-rotated: %.0f ms (at most 400 ms, found only by the rotation search)\n",
                m("BM_face_fit_rotated"));
    std::printf("target camera-frame: %.2f ms (at most 8 ms per 1280 x 720 frame)\n", m("BM_camera_frame"));
    std::printf("target camera-memory-growth: %.1f MB (at most 5 MB over 600 frames at 30 a second)\n",
                bench::gCameraGrowthMB);
    std::printf("target install-data: %.1f s (at most 60 s for the whole program folder)\n",
                m("BM_install_data"));
    return 0;
}
