// The print window: opening it until its first paint, and the nine-up page rendered to PDF with the
// size of the file. Registered here; the bench main runs them and prints the size.
#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>

#include "BenchStudio.h"
#include "print/Frmdy.h"

using namespace ms;

namespace ms::bench {
double gNineUpPdfBytes = 0;
}

namespace {

// The current design as the window gets it: a photo-like canvas picture.
const QImage& design() {
    static const QImage picture = bench::photoLike(380, 480);
    return picture;
}

void BM_print_window_open(benchmark::State& state) {
    for (auto _ : state) {
        Frmdy window(design(), nullptr);
        window.show();
        const QPixmap first = window.grab();  // the first paint
        benchmark::DoNotOptimize(first.cacheKey());
    }
}

void BM_print_nine_up_pdf(benchmark::State& state) {
    QTemporaryDir dir;
    Frmdy window(design(), nullptr);
    window.layouts[3]->click();
    const QString path = dir.filePath(QStringLiteral("nine.pdf"));
    for (auto _ : state) bench::check(window.savePdf(path));
    bench::gNineUpPdfBytes = static_cast<double>(QFileInfo(path).size());
}

}  // namespace

BENCHMARK(BM_print_window_open)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_print_nine_up_pdf)->Unit(benchmark::kMillisecond);
