// Benchmarks of tracks and the circuit at the size of a large club layout: four tracks of
// 2,500 pieces. Appending one piece at a time, re-laying the tracks out, writing and reading
// the definition text, the hit test run on every mouse move, and one append as the append
// command does it (append after the current piece, clear the selection, select the new piece).
#include "model/zvCircuit.h"
#include "model/zvLib_globals.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <random>
#include <string>

namespace {

constexpr int kPieces = 2500;

zvPieceRecord benchRecord(const std::string& item, int classe, double sng1, double sng2, int o)
{
    zvPieceRecord rec;
    rec.setID = std::string(1, 'B');
    rec.itemID = item;
    rec.code = item;
    rec.description = "Bench " + item;
    rec.stdWidth = 156;
    rec.lanesGap = 39;
    rec.kerbsWidth = 20;
    rec.classe = classe;
    rec.sng1 = cFixed::fromDouble(sng1);
    rec.sng2 = cFixed::fromDouble(sng2);
    rec.Orientation = o;
    rec.r = 2;
    rec.R0 = cFixed::fromDouble(sng2);
    return rec;
}

void fillTable()
{
    zvLib::ResetModelGlobals();
    zvLib::SetStdWidth = 156;
    zvLib::SetScale = 32;
    auto& t = zvLib::PieceTable;
    t.push_back(benchRecord("S350", 1, 350, 0, 2));
    t.push_back(benchRecord("C45(R)", 2, 45, 600, -1));
    t.push_back(benchRecord("C45(L)", 2, 45, 600, 1));
    zvPieceRecord cross = benchRecord("X350", 1, 350, 0, 2);
    cross.flgSwap = true;
    t.push_back(cross);
    t.push_back(zvLib::StartRecord());
}

// The definition of piece i of a long meandering chain.
const char* pieceAt(int i)
{
    static const char* const kCycle[] = {"B:S350;", "B:C45(L);", "B:S350;",   "B:C45(R);",
                                         "B:S350;", "B:X350;",   "B:C45(R);", "B:C45(L);"};
    return kCycle[i % 8];
}

std::string longDefinition()
{
    std::string def;
    for (int i = 0; i < kPieces; ++i) {
        def += pieceAt(i);
    }
    return def;
}

// A current circuit of four tracks of 2,500 pieces each.
std::shared_ptr<zvCircuit> bigCircuit()
{
    fillTable();
    auto c = std::make_shared<zvCircuit>();
    c->Init("B", 8, 0, 0, 0);
    const std::string def = longDefinition();
    for (const auto& t : c->tracks()) {
        t->append(def);
    }
    zvLib::Circuit(c);
    return c;
}

void BM_AppendOneByOne(benchmark::State& state)
{
    fillTable();
    for (auto _ : state) {
        zvTrack track;
        track.index(1);
        track.Init(0, 0, 0);
        for (int i = 0; i < kPieces; ++i) {
            track.append(pieceAt(i));
        }
        benchmark::DoNotOptimize(track.items().Count());
    }
    state.SetLabel("2,500 appends");
}
BENCHMARK(BM_AppendOneByOne)->Unit(benchmark::kMillisecond);

void BM_ReCalcLayoutFourTracks(benchmark::State& state)
{
    auto c = bigCircuit();
    for (auto _ : state) {
        for (const auto& t : c->tracks()) {
            t->ReCalcLayout();
        }
    }
}
BENCHMARK(BM_ReCalcLayoutFourTracks)->Unit(benchmark::kMillisecond);

void BM_DefStringWrite(benchmark::State& state)
{
    auto c = bigCircuit();
    for (auto _ : state) {
        benchmark::DoNotOptimize(c->DefString());
    }
}
BENCHMARK(BM_DefStringWrite)->Unit(benchmark::kMillisecond);

void BM_DefStringRead(benchmark::State& state)
{
    auto c = bigCircuit();
    const std::string text = c->DefString();
    for (auto _ : state) {
        c->DefString(text);
    }
}
BENCHMARK(BM_DefStringRead)->Unit(benchmark::kMillisecond);

void BM_LocateItem(benchmark::State& state)
{
    auto c = bigCircuit();
    const auto e = c->GetExtent();
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> ux(e[0].toDouble(), e[2].toDouble());
    std::uniform_real_distribution<double> uy(e[1].toDouble(), e[3].toDouble());
    for (auto _ : state) {
        const auto hit = c->LocateItem(cFixed::fromDouble(ux(rng)), cFixed::fromDouble(uy(rng)));
        benchmark::DoNotOptimize(hit.item);
    }
}
BENCHMARK(BM_LocateItem)->Unit(benchmark::kMicrosecond);

void BM_OneAppendAtTheEnd(benchmark::State& state)
{
    auto c = bigCircuit();
    const std::string snapshot = c->DefString();
    c->tracks().First()->items().Last()->Selected(true);
    int i = 0;
    for (auto _ : state) {
        // As the append command does it, followed by the first hit test after the change.
        zvTrack& t = *c->CurTrack();
        t.append(pieceAt(i++), c->CurItem());
        t.clearSelection();
        t.items().Last()->Selected(true);
        benchmark::DoNotOptimize(c->LocateItem(0, 0).item);
        if (t.items().Count() > kPieces + 200) {
            state.PauseTiming();
            c->DefString(snapshot);
            c->tracks().First()->items().Last()->Selected(true);
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_OneAppendAtTheEnd)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
