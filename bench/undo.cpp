// Benchmarks of the undo stack on a circuit of four tracks of 500 pieces: recording 1,000
// states after changes (each state its own text) and after zooms (states share the text), and
// one undo step, which rebuilds every piece of the circuit from the state's text.
#include "PieceChain.h"
#include "model/cUndo.h"
#include "model/zvCircuit.h"
#include "model/zvUI.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <string>

namespace {

constexpr int kPieces = 500;
constexpr int kStates = 1000;

// An interface that only keeps the canvas window.
class ViewOnlyUI : public zvQuietUI {
  public:
    zvViewRect GetViewRect() override { return view; }
    void SetViewRect(const zvViewRect& rect) override { view = rect; }
    std::int16_t LoadSet(const std::string&) override { return 0; }
    zvViewRect view{-1000, 20000, 26000, -20000};
};

// The definition of one track: straights and crossovers with a half-turn every 24 pieces.
std::string trackDefinition()
{
    static const char* const kRow[] = {"B:S350;", "B:X350;", "B:S350;", "B:S350;"};
    std::string def;
    for (int i = 0; i < kPieces; ++i) {
        const bool turn = i % 28 >= 24;
        def += turn ? ((i / 28) % 2 == 0 ? "B:C45(L);" : "B:C45(R);") : kRow[i % 4];
    }
    return def;
}

// The current circuit: four tracks of 500 pieces, and an interface for the canvas window.
std::shared_ptr<zvCircuit> bigCircuit()
{
    benchchain::fillTable();
    zvLib::SetScale = 32;
    zvLib::UI = std::make_shared<ViewOnlyUI>();
    auto c = std::make_shared<zvCircuit>();
    c->Init("B", 8, 0, 0, 0);
    const std::string def = trackDefinition();
    for (const auto& t : c->tracks()) {
        t->append(def);
    }
    zvLib::Circuit(c);
    return c;
}

void BM_Push1000Changes(benchmark::State& state)
{
    auto c = bigCircuit();
    cUndo& undo = zvLib::Undo();
    for (auto _ : state) {
        undo.Clear();
        for (int i = 0; i < kStates; ++i) {
            // A new name changes the text as cheaply as any change of the circuit could.
            c->Name(std::to_string(i));
            undo.Push();
        }
    }
    state.counters["text_bytes"] = static_cast<double>(undo.State(1).text->size());
    undo.Clear();
}
BENCHMARK(BM_Push1000Changes)->Unit(benchmark::kMillisecond);

void BM_Push1000Zooms(benchmark::State& state)
{
    auto c = bigCircuit();
    cUndo& undo = zvLib::Undo();
    auto& ui = static_cast<ViewOnlyUI&>(*zvLib::UI);
    for (auto _ : state) {
        undo.Clear();
        for (int i = 0; i < kStates; ++i) {
            ui.view.ScaleWidth = static_cast<float>(26000 - i);
            undo.Push();
        }
    }
    undo.Clear();
}
BENCHMARK(BM_Push1000Zooms)->Unit(benchmark::kMillisecond);

void BM_OneUndoStep(benchmark::State& state)
{
    auto c = bigCircuit();
    cUndo& undo = zvLib::Undo();
    undo.Clear();
    undo.Push();
    c->tracks().First()->append("B:S350;");
    undo.Push();
    int step = -1;
    for (auto _ : state) {
        undo.Pop(step);
        step = -step;
    }
    state.counters["pieces"] = static_cast<double>(c->GetTotalItems());
    undo.Clear();
}
BENCHMARK(BM_OneUndoStep)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
