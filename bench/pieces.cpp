// Benchmarks of the pieces: one piece of each class made at a turned pose, a chain of mixed
// pieces laid end to start as a track rebuild does, and that chain drawn on the recording
// surface.
#include "PieceChain.h"
#include "foundation/cRecordSurface.h"
#include "foundation/zvLib_canvas.h"

#include <array>
#include <benchmark/benchmark.h>
#include <memory>
#include <string>
#include <vector>

namespace {

using benchchain::fillTable;

const std::array<const char*, 8> kItems = {"<START>", "S350", "C45(R)", "C45(L)",
                                           "W350(F)", "X350", "F2",     "P350"};

void BM_CreateItem(benchmark::State& state)
{
    fillTable();
    const std::string base = kItems[static_cast<std::size_t>(state.range(0))];
    const std::string set = base == "<START>" ? "Zorv" : "B";
    state.SetLabel(base);
    for (auto _ : state) {
        std::string item = base + "[AB]";
        auto p = zvLib::CreateItem(set, item, cFixed::fromDouble(1234.5678),
                                   cFixed::fromDouble(-87.25), cFixed::fromDouble(22.5));
        benchmark::DoNotOptimize(p);
    }
}
BENCHMARK(BM_CreateItem)->DenseRange(0, static_cast<int>(kItems.size()) - 1);

// The 2,000-piece chain laid end to start, as a track rebuild lays it.
void BM_Chain2000(benchmark::State& state)
{
    fillTable();
    for (auto _ : state) {
        auto chain = benchchain::makeChain();
        benchmark::DoNotOptimize(chain.data());
    }
}
BENCHMARK(BM_Chain2000)->Unit(benchmark::kMicrosecond);

// The 2,000-piece chain drawn with fills, lanes and labels on a recording canvas of full-HD
// size that shows the whole chain.
void BM_Draw2000(benchmark::State& state)
{
    fillTable();
    const auto chain = benchchain::makeChain();
    cRecordSurface canvas({.width = 1920, .height = 1080});
    canvas.Scale(-15000, 26000, 32111, -500);
    zvLib::MainPic = &canvas;
    for (auto _ : state) {
        canvas.Clear();
        for (const auto& p : chain) {
            p->Draw();
        }
        benchmark::DoNotOptimize(canvas.Lines().data());
    }
    zvLib::MainPic = nullptr;
}
BENCHMARK(BM_Draw2000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
