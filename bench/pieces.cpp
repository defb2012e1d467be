// Benchmarks of the piece factory: one piece of each class made at a turned pose, and a chain
// of mixed pieces laid end to start as a track rebuild does.
#include "model/zvLib_factory.h"
#include "model/zvLib_globals.h"

#include <array>
#include <benchmark/benchmark.h>
#include <string>

namespace {

zvPieceRecord benchRecord(const std::string& item, int classe, double sng1, double sng2, int o)
{
    zvPieceRecord rec;
    rec.setID = "B";
    rec.itemID = item;
    rec.code = item;
    rec.stdWidth = 156;
    rec.lanesGap = 39;
    rec.kerbsWidth = 20;
    rec.classe = classe;
    rec.sng1 = cFixed::fromDouble(sng1);
    rec.sng2 = cFixed::fromDouble(sng2);
    rec.sng3 = 60;
    rec.Orientation = o;
    rec.r = 2;
    return rec;
}

void fillTable()
{
    zvLib::ResetModelGlobals();
    zvLib::SetStdWidth = 156;
    auto& t = zvLib::PieceTable;
    t.push_back(benchRecord("S350", 1, 350, 0, 2));
    t.push_back(benchRecord("C45(R)", 2, 45, 324, -1));
    t.push_back(benchRecord("C45(L)", 2, 45, 324, 1));
    t.push_back(benchRecord("W350(F)", 8, 350, 120, 2));
    zvPieceRecord cross = benchRecord("X350", 1, 350, 0, 2);
    cross.flgSwap = true;
    t.push_back(cross);
    zvPieceRecord ticks = benchRecord("F2", 1, 350, 0, 2);
    ticks.flags = 2;
    t.push_back(ticks);
    zvPieceRecord sets = benchRecord("P350", 1, 350, 0, 2);
    sets.extra = "L1=0:39;175:20;350:39\r\nL2=0:-39;175:-20;350:-39";
    t.push_back(sets);
    t.push_back(zvLib::StartRecord());
}

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

void BM_Chain2000(benchmark::State& state)
{
    fillTable();
    const std::array<const char*, 4> loop = {"S350", "C45(L)", "C45(L)", "X350"};
    for (auto _ : state) {
        std::string item = "S350";
        auto p = zvLib::CreateItem("B", item, 0, 0, 0);
        for (int i = 1; i < 2000; ++i) {
            item = loop[static_cast<std::size_t>(i) % loop.size()];
            p = zvLib::CreateItem("B", item, p->xFine(), p->yFine(), p->aFine());
        }
        benchmark::DoNotOptimize(p);
    }
}
BENCHMARK(BM_Chain2000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
