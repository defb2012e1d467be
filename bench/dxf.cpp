// Reading speed of the background drawing: a generated 50 MB ASCII DXF with lines, arcs,
// circles, polylines with bulges and texts spread over many layers, read from memory.
#include "dxf/cDXF.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <random>
#include <string>

namespace {

constexpr std::size_t kTargetBytes = 50u << 20;
constexpr int kLayers = 600;

class Writer {
  public:
    explicit Writer(std::string& out) : out_(out) {}
    // One group: the code right-aligned in three places, then the value, as CAD programs do.
    void Group(int code, const std::string& value)
    {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%3d\r\n", code);
        out_ += buf;
        out_ += value;
        out_ += "\r\n";
    }
    void Number(int code, double v)
    {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.6f", v);
        Group(code, buf);
    }

  private:
    std::string& out_;
};

void WriteEntity(Writer& w, std::mt19937& rng, int n)
{
    std::uniform_real_distribution<double> pos(-5000, 5000);
    std::uniform_real_distribution<double> bulge(-1.5, 1.5);
    const std::string layer = "Layer-" + std::to_string(rng() % kLayers);
    switch (n % 6) {
    case 0:
    case 1:
        w.Group(0, "LINE");
        w.Group(8, layer);
        w.Number(10, pos(rng));
        w.Number(20, pos(rng));
        w.Number(30, 0);
        w.Number(11, pos(rng));
        w.Number(21, pos(rng));
        w.Number(31, 0);
        break;
    case 2:
        w.Group(0, "ARC");
        w.Group(8, layer);
        w.Number(10, pos(rng));
        w.Number(20, pos(rng));
        w.Number(40, 1 + std::fabs(pos(rng)) / 10);
        w.Number(50, rng() % 360);
        w.Number(51, rng() % 360);
        break;
    case 3:
        w.Group(0, "CIRCLE");
        w.Group(8, layer);
        w.Number(10, pos(rng));
        w.Number(20, pos(rng));
        w.Number(40, 1 + std::fabs(pos(rng)) / 10);
        break;
    case 4:
        w.Group(0, "TEXT");
        w.Group(8, layer);
        w.Number(10, pos(rng));
        w.Number(20, pos(rng));
        w.Number(40, 2.5);
        w.Group(1, "Pit lane " + std::to_string(n));
        break;
    default:
        w.Group(0, "POLYLINE");
        w.Group(8, layer);
        w.Group(66, "1");
        w.Group(70, n % 2 ? "1" : "0");
        for (int v = 0; v < 6; ++v) {
            w.Group(0, "VERTEX");
            w.Group(8, layer);
            w.Number(10, pos(rng));
            w.Number(20, pos(rng));
            w.Number(42, v % 2 ? bulge(rng) : 0.0);
        }
        w.Group(0, "SEQEND");
        break;
    }
}

const std::string& Drawing()
{
    static const std::string bytes = [] {
        std::string out;
        out.reserve(kTargetBytes + (1 << 20));
        Writer w(out);
        std::mt19937 rng(7);
        w.Group(0, "SECTION");
        w.Group(2, "ENTITIES");
        for (int n = 0; out.size() < kTargetBytes; ++n) {
            WriteEntity(w, rng, n);
        }
        w.Group(0, "ENDSEC");
        w.Group(0, "EOF");
        return out;
    }();
    return bytes;
}

void BM_ReadDrawing(benchmark::State& state)
{
    const std::string& bytes = Drawing();
    std::size_t records = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::string copy = bytes;
        cDXF d;
        state.ResumeTiming();
        d.LoadBytes(std::move(copy));
        records = d.Lines().size() + d.Arcs().size() + d.Circles().size() + d.Texts().size() +
                  d.Vertices().size();
        benchmark::DoNotOptimize(records);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
    state.counters["records"] = static_cast<double>(records);
}

} // namespace

BENCHMARK(BM_ReadDrawing)->Unit(benchmark::kMillisecond)->MinTime(2.0);

BENCHMARK_MAIN();
