// The installation-data generator: one whole run into a fresh folder, as the build makes it.
#include <benchmark/benchmark.h>

#include <QProcess>
#include <QTemporaryDir>

namespace {

void BM_install_data(benchmark::State& state) {
    for (auto _ : state) {
        QTemporaryDir folder;
        QProcess run;
        run.start(QStringLiteral(MS_INSTALL_DATA_GENERATOR), {folder.path()});
        if (!run.waitForFinished(600'000) || run.exitStatus() != QProcess::NormalExit || run.exitCode() != 0)
            state.SkipWithError("the generator failed");
        state.PauseTiming();  // removing the folder is not the generator's time
        folder.remove();
        state.ResumeTiming();
    }
}

}  // namespace

BENCHMARK(BM_install_data)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();
