// Benchmark of piece drawing on the Qt surface: the 2,000-piece chain drawn with fills, lanes
// and labels into a full-HD canvas image that shows all of it, with and without smoothed edges.
#include "PieceChain.h"
#include "foundation/zvLib_canvas.h"
#include "platform/cQtSurface.h"

#include <QGuiApplication>

#include <array>
#include <benchmark/benchmark.h>
#include <memory>
#include <string>
#include <vector>

namespace {

void BM_QtDraw2000(benchmark::State& state)
{
    int argc = 1;
    char name[] = "qt_pieces";
    char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    benchchain::fillTable();
    const auto chain = benchchain::makeChain();
    cQtSurface canvas(1920, 1080);
    canvas.Antialiasing(state.range(0) != 0);
    canvas.Scale(-15000, 26000, 32111, -500);
    zvLib::MainPic = &canvas;
    // Layers: 0 everything the default options show, 1 without code labels, 2 outlines and
    // fills only.
    zvLib::ShowCodes = state.range(1) == 0;
    zvLib::ShowLanes = state.range(1) < 2;
    for (auto _ : state) {
        canvas.Cls();
        for (const auto& p : chain) {
            p->Draw();
        }
        benchmark::DoNotOptimize(canvas.Image().constBits());
    }
    zvLib::MainPic = nullptr;
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(chain.size()));
}
BENCHMARK(BM_QtDraw2000)
    ->ArgsProduct({{0, 1}, {0, 1, 2}})
    ->ArgNames({"smooth", "layers"})
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
