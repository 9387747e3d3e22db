// The camera: one 1280 x 720 frame from the sink's buffer to its pixels in the video area, and the
// resident memory over 600 frames of a live 30 frames-a-second picture. Registered here; the bench
// main runs them and prints the growth.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QEventLoop>
#include <QFile>
#include <QPainter>
#include <QTimer>
#include <cstring>

#include "BenchStudio.h"
#include "platform/Camera.h"
#include "platform/VideoArea.h"

using namespace ms;

namespace ms::bench {
double gCameraGrowthMB = -1;
}

namespace {

double residentMB() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1
               ? fields[1].toDouble() * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024 * 1024)
               : 0;
}

// What a frame costs: the copy out of the sink's buffer (rows of BGRx), then the video area
// drawing it scaled into its 380 x 480 place.
void BM_camera_frame(benchmark::State& state) {
    const QImage source = bench::photoLike(1280, 720);
    VideoArea area(nullptr);
    area.resize(380, 480);
    QImage screen(380, 480, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QImage frame(1280, 720, QImage::Format_RGB32);
        for (int y = 0; y < 720; ++y) std::memcpy(frame.scanLine(y), source.constScanLine(y), 1280 * 4);
        area.setFrame(frame);
        area.render(&screen);
        benchmark::DoNotOptimize(screen.constBits());
    }
}

// 600 frames of a live 1280 x 720 picture at 30 a second, each shown as it arrives.
void BM_camera_memory_growth(benchmark::State& state) {
    for (auto _ : state) {
        Camera camera;
        VideoArea area(nullptr);
        area.resize(380, 480);
        QImage screen(380, 480, QImage::Format_ARGB32_Premultiplied);
        QObject::connect(&camera, &Camera::frameArrived, [&] {
            area.setFrame(camera.currentFrame());
            area.render(&screen);
        });
        const QString live = QStringLiteral(
            "videotestsrc is-live=true num-buffers=%1 pattern=ball ! "
            "video/x-raw,width=1280,height=720,framerate=30/1");
        // A first second settles the pipeline's own buffers before the count starts.
        QEventLoop loop;
        QObject::connect(&camera, &Camera::failed, &loop, &QEventLoop::quit);
        bench::check(camera.start(live.arg(30)));
        QTimer::singleShot(5000, &loop, &QEventLoop::quit);
        loop.exec();
        const double before = residentMB();
        bench::check(camera.start(live.arg(600)));
        QTimer::singleShot(40000, &loop, &QEventLoop::quit);
        loop.exec();
        bench::gCameraGrowthMB = residentMB() - before;
    }
}

}  // namespace

BENCHMARK(BM_camera_frame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_camera_memory_growth)->Unit(benchmark::kSecond)->Iterations(1)->Repetitions(1);
