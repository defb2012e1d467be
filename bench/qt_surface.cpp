// The Qt drawing surface at canvas size: how fast a full-HD image takes many world segments
// and many filled device-pixel paths, with and without smoothed edges.
#include "platform/cQtSurface.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

// A full-HD canvas over 4000 by 2250 world millimetres with y up.
void prepare(cQtSurface& s, bool smooth)
{
    s.Antialiasing(smooth);
    s.Scale(-2000, 1125, 2000, -1125);
    s.Cls();
}

// 10,000 segments of a spiral spread over the visible world.
void BM_Segments(benchmark::State& state)
{
    cQtSurface s(1920, 1080);
    prepare(s, state.range(0) != 0);
    for (auto _ : state) {
        s.CurrentX(0);
        s.CurrentY(0);
        for (int i = 0; i < 10000; ++i) {
            const double a = i * 0.05;
            const double r = 1 + i * 0.1;
            s.LineTo(r * std::cos(a), r * std::sin(a), i & 0xFFFFFF);
        }
        benchmark::DoNotOptimize(s.Image().constBits());
    }
    state.SetItemsProcessed(state.iterations() * 10000);
}

// 2,000 filled paths shaped like curve bodies: two angle arcs joined by lines.
void BM_FilledPaths(benchmark::State& state)
{
    cQtSurface s(1920, 1080);
    prepare(s, state.range(0) != 0);
    s.FillStyle(0);
    s.FillColor(0xDCDCDC);
    for (auto _ : state) {
        for (int i = 0; i < 2000; ++i) {
            const int cx = 40 + (i * 37) % 1840;
            const int cy = 40 + (i * 53) % 1000;
            const float start = static_cast<float>((i * 15) % 360);
            s.BeginPath();
            s.MoveToEx(cx + 20, cy);
            s.AngleArc(cx, cy, 20, start, 45);
            s.AngleArc(cx, cy, 35, start + 45, -45);
            s.EndPath();
            s.FlattenPath();
            s.StrokeAndFillPath();
        }
        benchmark::DoNotOptimize(s.Image().constBits());
    }
    state.SetItemsProcessed(state.iterations() * 2000);
}

}  // namespace

BENCHMARK(BM_Segments)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilledPaths)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
