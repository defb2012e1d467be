// Benchmark of one full redraw of the main canvas: a circuit of four tracks of 500 pieces
// with grid, origin cross, rooms, lines, texts and measures, fitted into a full-HD canvas
// widget, with and without smoothed edges, and with the widget's paint (the image copied to
// the screen) or without. One redraw must stay within a 60 Hz frame (16 ms).
#include "PieceChain.h"
#include "app/zvQtUI.h"
#include "foundation/zvLib_canvas.h"
#include "model/zvCircuit.h"
#include "model/zvObject.h"
#include "platform/cPictureBox.h"
#include "view/zvLib_view.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

constexpr int kPieces = 500;

// One track: straights and crossovers with a half-turn every 24 pieces.
std::string trackDefinition()
{
    static const char* const kRow[] = {"B:S350;", "B:X350;", "B:S350;", "B:F2;"};
    std::string def;
    for (int i = 0; i < kPieces; ++i) {
        const bool turn = i % 28 >= 24;
        def += turn ? ((i / 28) % 2 == 0 ? "B:C45(L);" : "B:C45(R);") : kRow[i % 4];
    }
    return def;
}

std::shared_ptr<zvObject> object(const char* cls, std::vector<cFixed> points)
{
    auto o = std::make_shared<zvObject>();
    o->Class(cls);
    o->PointArr(points);
    o->Color(0x404040);
    return o;
}

// The current circuit: four tracks of 500 pieces, two rooms, and lines, texts and measures
// spread over it.
std::shared_ptr<zvCircuit> bigCircuit()
{
    benchchain::fillTable();
    zvLib::SetScale = 32;
    auto c = std::make_shared<zvCircuit>();
    c->Init("B", 8, 0, 0, 0);
    const std::string def = trackDefinition();
    for (const auto& t : c->tracks()) {
        t->append(def);
    }
    c->objects().Add(object("room", {-500, 1000, 9000, 1000, 9000, -9000, -500, -9000}));
    c->objects().Add(object("room", {9000, 1000, 15000, 1000, 15000, -9000, 9000, -9000}));
    for (int i = 0; i < 20; ++i) {
        const cFixed x(i * 700);
        c->objects().Add(object("line", {x, 500, x + cFixed(600), -8000}));
        c->objects().Add(object("measure", {x, -8500, x + cFixed(650), -8500}));
        auto t = object("text", {x, 800});
        t->Text("Note " + std::to_string(i));
        c->objects().Add(t);
    }
    zvLib::Circuit(c);
    return c;
}

void BM_CanvasRedraw(benchmark::State& state)
{
    int argc = 1;
    char name[] = "qt_canvas";
    char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    cPictureBox pic;
    pic.resize(1920, 1080);
    pic.show();
    QApplication::processEvents();
    pic.Surface().Antialiasing(state.range(0) != 0);
    zvLib::MainPic = &pic.Surface();
    zvLib::UI = std::make_shared<zvQtUI>();
    zvLib::ShowGrid = true;
    const auto circuit = bigCircuit();
    zvLib::ZoomExtents();
    const bool paint = state.range(1) != 0;
    for (auto _ : state) {
        circuit->Draw();
        if (paint) {
            pic.repaint();
        }
        benchmark::DoNotOptimize(pic.Surface().Image().constBits());
    }
    state.counters["pieces"] = static_cast<double>(circuit->GetTotalItems());
    state.counters["objects"] = static_cast<double>(circuit->objects().Count());
    state.counters["view_mm"] = pic.Surface().ScaleWidth();
    zvLib::Circuit(nullptr);
    zvLib::UI.reset();
    zvLib::MainPic = nullptr;
}
BENCHMARK(BM_CanvasRedraw)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"smooth", "paint"})
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
