// Opening a client's photo from disk: a 24-megapixel JPEG read as its working copy (decoded at a
// reduced size) and fitted to the canvas, against plain QImage loading of the same file.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QImage>

#include "BenchStudio.h"
#include "photo/PhotoAdjust.h"
#include "platform/PictureFile.h"

namespace {

// A 6000 x 4000 photo-like JPEG, written once into the temporary folder.
const QString& photoFile() {
    static const QString path = [] {
        const QString file = QDir::temp().filePath(QStringLiteral("ms-bench-24mp.jpg"));
        const QImage img = ms::bench::photoLike(6000, 4000);
        img.save(file, "JPG", 90);
        return file;
    }();
    return path;
}

void BM_photo_open_24mp(benchmark::State& state) {
    const QString& file = photoFile();
    for (auto _ : state) {
        QImage working;
        if (!ms::loadPicture(file, ms::PicturePurpose::Photo, working))
            return state.SkipWithError("unreadable");
        benchmark::DoNotOptimize(ms::fitPhoto(working, {}).constBits());
    }
}
BENCHMARK(BM_photo_open_24mp)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_photo_open_24mp_plain_qimage(benchmark::State& state) {
    const QString& file = photoFile();
    for (auto _ : state) {
        QImage whole(file);
        benchmark::DoNotOptimize(whole.constBits());
    }
}
BENCHMARK(BM_photo_open_24mp_plain_qimage)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
