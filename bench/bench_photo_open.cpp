// Opening a client's photo from disk: a 24-megapixel JPEG read as its working copy (decoded at a
// reduced size) and fitted to the canvas, against plain QImage loading of the same file.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRandomGenerator>

#include "photo/PhotoAdjust.h"
#include "platform/PictureFile.h"

namespace {

// A 6000 x 4000 photo-like JPEG, written once into the temporary folder.
const QString& photoFile() {
    static const QString path = [] {
        const QString file = QDir::temp().filePath(QStringLiteral("ms-bench-24mp.jpg"));
        QImage img(6000, 4000, QImage::Format_RGB32);
        QPainter p(&img);
        QLinearGradient g(0, 0, 6000, 4000);
        g.setColorAt(0, QColor(60, 80, 120));
        g.setColorAt(1, QColor(220, 200, 170));
        p.fillRect(img.rect(), g);
        p.setBrush(QColor(236, 196, 170));
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(3000, 1800), 900, 1200);
        p.end();
        QRandomGenerator rng(24);
        for (int y = 0; y < img.height(); y += 3) {
            auto* row = reinterpret_cast<uint32_t*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x) row[x] ^= rng.bounded(8u) * 0x010101u;  // grain
        }
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
