// Benchmarks of the one file writer: saves of a circuit-sized text into a folder 30 levels
// deep, by its plain name, through a link of the user's own and through a chain of such links,
// each save walking the path part by part before the hidden file is written and renamed into
// place, and the walk alone.
#include "foundation/NUX_STD_files.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr int kLevels = 30;
// How many links lead one to the next to the file.
constexpr int kChain = 8;

// About the size of a small saved circuit.
const std::string kText(4096, 'x');

// A fresh folder 30 levels deep below the temporary folder holding a saved file, a link of the
// user's own to that file beside the top folder, and a chain of links to that link, each but
// the last relative; removed when done.
class DeepFolder {
  public:
    DeepFolder()
    {
        std::string pattern = NUX_STD_library::GetTempFolder() + "zorv-bench-XXXXXX";
        const std::string root = mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
        fs::path deep = root;
        for (int i = 0; i < kLevels; ++i) {
            deep /= "level" + std::to_string(i);
        }
        fs::create_directories(deep);
        root_ = root;
        file_ = (deep / "circuit.zv6").string();
        link_ = root + "/current.zv6";
        NUX_STD_library::WriteFileText(file_, kText);
        fs::create_symlink(file_, link_);
        fs::path next = "current.zv6";
        for (int i = 0; i < kChain; ++i) {
            const std::string name = "chain" + std::to_string(i) + ".zv6";
            fs::create_symlink(next, fs::path(root) / name);
            next = name;
        }
        chain_ = root + "/" + next.string();
    }
    ~DeepFolder()
    {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }
    DeepFolder(const DeepFolder&) = delete;
    DeepFolder& operator=(const DeepFolder&) = delete;
    // The file 30 levels deep.
    const std::string& file() const { return file_; }
    // The user's own link to it.
    const std::string& link() const { return link_; }
    // The first of a chain of links that ends at that link.
    const std::string& chain() const { return chain_; }

  private:
    std::string root_;
    std::string file_;
    std::string link_;
    std::string chain_;
};

// One of the folder's names: the file itself, the link to it, or the chain of links.
using NameOf = const std::string& (DeepFolder::*)() const;

// Saves by the name, again and again. Through a link, the walk judges it by what the system's
// own lookup reaches before it follows the link's text.
void BM_Save(benchmark::State& state, NameOf name)
{
    const DeepFolder folder;
    const std::string& path = (folder.*name)();
    for (auto _ : state) {
        benchmark::DoNotOptimize(NUX_STD_library::WriteFileText(path, kText));
    }
}

// Walks the name as a save does, without the disk's flush that dominates a save: what the
// writer's lookup of a path costs.
void BM_Walk(benchmark::State& state, NameOf name)
{
    const DeepFolder folder;
    const std::string& path = (folder.*name)();
    for (auto _ : state) {
        benchmark::DoNotOptimize(NUX_STD_library::IsRefusedLink(path));
    }
}

// Each name saved 1,000 times and walked 10,000 times, five times over.
void Register(const char* what, NameOf name)
{
    const std::string deep = std::string(what) + "ThirtyLevelsDeep";
    benchmark::RegisterBenchmark(("BM_Save" + deep).c_str(), BM_Save, name)
        ->Iterations(1000)
        ->Repetitions(5)
        ->ReportAggregatesOnly();
    benchmark::RegisterBenchmark(("BM_Walk" + deep).c_str(), BM_Walk, name)
        ->Iterations(10000)
        ->Repetitions(5)
        ->ReportAggregatesOnly();
}

} // namespace

int main(int argc, char** argv)
{
    Register("", &DeepFolder::file);
    Register("ThroughAnOwnLink", &DeepFolder::link);
    Register("ThroughAChainOfLinks", &DeepFolder::chain);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
