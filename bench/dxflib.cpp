// The peer of bench_dxf: the C++ reader dxflib reading the same generated drawing with empty
// callbacks, from a file as it only reads files. Built only where libdxflib-dev is installed;
// never part of the program. With --read FILE it reads one file and ends, for timing the
// whole process beside `zvdump --dxf FILE` (bench/dxf_process.sh).
#include "DXFDrawing.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <dl_creationadapter.h>
#include <dl_dxf.h>

namespace {

// Reads the file with callbacks that do nothing; false when dxflib cannot open it.
bool ReadWithDxflib(const char* path)
{
    DL_CreationAdapter ignore;
    DL_Dxf dxf;
    return dxf.in(path, &ignore);
}

void BM_DxflibLoadFile(benchmark::State& state)
{
    const benchdxf::TempDrawing file;
    if (file.Path().empty()) {
        state.SkipWithError("the drawing cannot be written");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadWithDxflib(file.Path().c_str()));
    }
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations() * benchdxf::Drawing().size()));
}

} // namespace

BENCHMARK(BM_DxflibLoadFile)->Unit(benchmark::kMillisecond)->MinTime(2.0);

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--read") == 0) {
        return ReadWithDxflib(argv[2]) ? 0 : 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
