// Reading speed of the background drawing on the generated 50 MB drawing (DXFDrawing.h): read
// from memory, and loaded from a file as the developer tools load one. With --write FILE [MB]
// it only writes the drawing (of about MB megabytes when given), so that whole programs can be
// timed on it (bench/dxf_process.sh, bench/dxf_first_read.sh).
#include "DXFDrawing.h"
#include "dxf/cDXF.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

std::size_t Records(const cDXF& d)
{
    return d.Lines().size() + d.Arcs().size() + d.Circles().size() + d.Texts().size() +
           d.Vertices().size();
}

// Only the reading is timed: the copy it reads and the drawing's release are not.
void BM_ReadDrawing(benchmark::State& state)
{
    const std::string& bytes = benchdxf::Drawing();
    std::size_t records = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::string copy = bytes;
        auto d = std::make_unique<cDXF>();
        state.ResumeTiming();
        d->LoadBytes(std::move(copy));
        state.PauseTiming();
        records = Records(*d);
        d.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
    state.counters["records"] = static_cast<double>(records);
}

// Loading from a file (from the page cache after the first round), the release included.
void BM_LoadFile(benchmark::State& state)
{
    const benchdxf::TempDrawing file;
    if (file.Path().empty()) {
        state.SkipWithError("the drawing cannot be written");
        return;
    }
    std::size_t records = 0;
    for (auto _ : state) {
        cDXF d;
        d.fileLoad(file.Path());
        records = Records(d);
        benchmark::DoNotOptimize(records);
    }
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations() * benchdxf::Drawing().size()));
    state.counters["records"] = static_cast<double>(records);
}

} // namespace

BENCHMARK(BM_ReadDrawing)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_LoadFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--write") == 0) {
        return benchdxf::WriteDrawing(argv[2]) ? 0 : 1;
    }
    if (argc == 4 && std::strcmp(argv[1], "--write") == 0) {
        char* end = nullptr;
        const unsigned long mb = std::strtoul(argv[3], &end, 10);
        if (end == argv[3] || *end != '\0' || mb == 0 || mb > 4096) {
            std::fprintf(stderr, "usage: bench_dxf --write FILE [MB from 1 to 4096]\n");
            return 2;
        }
        return benchdxf::WriteBytes(argv[2], benchdxf::MakeDrawing(std::size_t(mb) << 20)) ? 0 : 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
