// Benchmarks of the one file writer: saves of a circuit-sized text into a folder 30 levels
// deep, by its plain name and through a link of the user's own, each save walking the path
// part by part before the hidden file is written and renamed into place, and the walk alone.
#include "foundation/NUX_STD_files.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr int kLevels = 30;

// A fresh folder 30 levels deep below the temporary folder, removed when done.
class DeepFolder {
  public:
    DeepFolder()
    {
        std::string pattern = NUX_STD_library::GetTempFolder() + "zorv-bench-XXXXXX";
        root_ = mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
        fs::path deep = root_;
        for (int i = 0; i < kLevels; ++i) {
            deep /= "level" + std::to_string(i);
        }
        fs::create_directories(deep);
        deep_ = deep.string();
    }
    ~DeepFolder()
    {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }
    DeepFolder(const DeepFolder&) = delete;
    DeepFolder& operator=(const DeepFolder&) = delete;
    const std::string& root() const { return root_; }
    const std::string& deep() const { return deep_; }

  private:
    std::string root_;
    std::string deep_;
};

// About the size of a small saved circuit.
const std::string kText(4096, 'x');

void BM_SaveThirtyLevelsDeep(benchmark::State& state)
{
    DeepFolder folder;
    const std::string path = folder.deep() + "/circuit.zv6";
    for (auto _ : state) {
        benchmark::DoNotOptimize(NUX_STD_library::WriteFileText(path, kText));
    }
}
BENCHMARK(BM_SaveThirtyLevelsDeep)->Iterations(1000)->Repetitions(5)->ReportAggregatesOnly();

void BM_SaveThroughAnOwnLinkThirtyLevelsDeep(benchmark::State& state)
{
    DeepFolder folder;
    const std::string file = folder.deep() + "/circuit.zv6";
    NUX_STD_library::WriteFileText(file, kText);
    const std::string link = folder.root() + "/current.zv6";
    fs::create_symlink(file, link);
    for (auto _ : state) {
        benchmark::DoNotOptimize(NUX_STD_library::WriteFileText(link, kText));
    }
}
BENCHMARK(BM_SaveThroughAnOwnLinkThirtyLevelsDeep)
    ->Iterations(1000)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

// The walk alone, without the disk's flush that dominates a save: what the writer's lookup of
// a path costs.
void BM_WalkThirtyLevelsDeep(benchmark::State& state)
{
    DeepFolder folder;
    const std::string path = folder.deep() + "/circuit.zv6";
    for (auto _ : state) {
        benchmark::DoNotOptimize(NUX_STD_library::IsRefusedLink(path));
    }
}
BENCHMARK(BM_WalkThirtyLevelsDeep)->Iterations(10000)->Repetitions(5)->ReportAggregatesOnly();

// The walk through a link of the user's own to the same file, which the walk judges by what
// the system's own lookup reaches before it follows the link's text.
void BM_WalkThroughAnOwnLinkThirtyLevelsDeep(benchmark::State& state)
{
    DeepFolder folder;
    const std::string file = folder.deep() + "/circuit.zv6";
    NUX_STD_library::WriteFileText(file, kText);
    const std::string link = folder.root() + "/current.zv6";
    fs::create_symlink(file, link);
    for (auto _ : state) {
        benchmark::DoNotOptimize(NUX_STD_library::IsRefusedLink(link));
    }
}
BENCHMARK(BM_WalkThroughAnOwnLinkThirtyLevelsDeep)
    ->Iterations(10000)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

} // namespace

BENCHMARK_MAIN();
