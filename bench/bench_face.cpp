// The automatic face fit: reading the landmark model, the main window's first frame with and without
// the face finder (which reads its model once that frame is painted), and the fit of a 3000 x 4000 photo
// upright and turned beyond what the detector sees upright. Registered here; the bench main prints the
// figures.
#include <benchmark/benchmark.h>

#include <QPainter>
#include <memory>

#include "BenchStudio.h"
#include "compositor/StudioState.h"
#include "photo/FaceFit.h"
#include "photo/PhotoSession.h"
#include "platform/FaceFinder.h"
#include "shell/Frmzjm.h"

using namespace ms;

namespace {

const FaceFinder& finder() {
    static const FaceFinder loaded;
    loaded.waitForModel();
    return loaded;
}

// The portrait of matplotlib's sample data enlarged onto a 3000 x 4000 photo, upright or turned.
QImage bigPortrait(int degrees) {
    const QImage portrait(QStringLiteral("/usr/share/matplotlib/mpl-data/sample_data/grace_hopper.jpg"));
    QImage photo(3000, 4000, QImage::Format_RGB32);
    photo.fill(QColor(200, 205, 210));
    QPainter p(&photo);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.translate(1500, 2000);
    p.rotate(degrees);
    p.translate(-1500, -1758);
    p.drawImage(QRect(0, 0, 3000, 3516), portrait);
    return photo;
}

void BM_face_model_load(benchmark::State& state) {
    for (auto _ : state) {
        const FaceFinder loading;
        if (loading.waitForModel() != FaceFinder::Model::Ready) state.SkipWithError("no landmark model");
    }
}

// From the start of the program to the main window's first frame.
void BM_first_frame(benchmark::State& state) {
    const bool withFaces = state.range(0) != 0;
    for (auto _ : state) {
        auto studio = std::make_unique<StudioState>();
        std::unique_ptr<FaceFinder> faces;
        if (withFaces)
            faces =
                std::make_unique<FaceFinder>(FaceFinder::defaultModelPath(), FaceFinder::Start::WhenAsked);
        auto window = std::make_unique<Frmzjm>(*studio, bench::studioFolder());
        window->setFaceFinder(faces.get());
        window->show();
        const QPixmap first = window->grab();
        benchmark::DoNotOptimize(first.cacheKey());
        state.PauseTiming();
        // The model is read after the first frame, as the program does; without the finder one is read
        // all the same, so that both cases start the next frame from the same state of the machine.
        if (!faces) faces = std::make_unique<FaceFinder>();
        faces->waitForModel();
        window.reset();
        faces.reset();
        studio.reset();
        state.ResumeTiming();
    }
}

void fitBench(benchmark::State& state, int degrees) {
    const QImage working = workingCopy(bigPortrait(degrees));
    const FaceFinder& faces = finder();
    StudioState s;
    PhotoSession session(s);
    session.takeIn(working);
    for (auto _ : state) {
        AlignResult fitted;
        bench::check(session.autoAlign(faces, fitted));
        benchmark::DoNotOptimize(fitted.sliders.size);
    }
}

void BM_face_fit(benchmark::State& state) { fitBench(state, 0); }
void BM_face_fit_rotated(benchmark::State& state) { fitBench(state, 50); }

}  // namespace

BENCHMARK(BM_face_model_load)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_first_frame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_face_fit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_face_fit_rotated)->Unit(benchmark::kMillisecond);
