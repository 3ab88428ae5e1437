// Times one "Plot" run of the built-in default circuit, traces drawn, for
// each of the four circuits, headless and with a configuration folder of its
// own so that no real preferences are read or written.

#include "app/main_window.h"
#include "app/startup.h"

#include "framework/runtime.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// One whole run: labels, reading the inputs, the measuring pass, the scales,
// the drawing pass into the waveform picture, the repaint request and the
// result texts. The picture gathers the traces of every run, as it does
// while a user presses "Plot" again and again.
void BM_PlotRun(benchmark::State& state) {
    MainWindow& window = MainWindow::Instance();
    window.RectType = static_cast<std::int32_t>(state.range(0));
    for (auto _ : state) {
        window.PlotPB_Action();
    }
    state.SetItemsProcessed(state.iterations() * 2 * window.NumSamples);
}
BENCHMARK(BM_PlotRun)
    ->ArgName("circuit")
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Arg(3)
    ->Unit(benchmark::kMicrosecond);

// The hook that every loop of the run calls, alone, to weigh its share.
void BM_BackgroundTaskHook(benchmark::State& state) {
    for (auto _ : state) {
        fw::RuntimeBackgroundTask();
    }
}
BENCHMARK(BM_BackgroundTaskHook);

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", /*overwrite=*/0);
    std::string pattern =
        (std::filesystem::temp_directory_path() / "kelvara-bench-XXXXXX").string();
    const char* configHome = mkdtemp(pattern.data());
    if (configHome == nullptr) {
        return 2;
    }
    setenv("XDG_CONFIG_HOME", configHome, /*overwrite=*/1);

    benchmark::Initialize(&argc, argv);
    fw::RuntimeInit(argc, argv);
    _Startup();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    std::error_code ignored;
    std::filesystem::remove_all(configHome, ignored);
    return 0;
}
