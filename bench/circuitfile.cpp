// Benchmarks of the circuit file at the size of a large club layout: four tracks of 2,500
// pieces, 200 annotation objects and a 5 MB background drawing, saved (text, Base64, atomic
// replace) and opened (parse, checks, drawing decoded and read, every piece rebuilt).
#include "dxf/zvLib_dxf.h"
#include "model/zvCircuit.h"
#include "model/zvLib_globals.h"
#include "model/zvObject.h"
#include "model/zvUI.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

constexpr int kPieces = 2500;
constexpr int kObjects = 200;
constexpr std::size_t kDrawingBytes = 5u << 20;

// A user interface that loads the one set "B".
class BenchUI : public zvQuietUI {
  public:
    std::int16_t LoadSet(const std::string& setCode) override { return setCode == "B" ? 0 : -4; }
};

zvPieceRecord benchRecord(const std::string& item, int classe, double sng1, double sng2, int o)
{
    zvPieceRecord rec;
    rec.setID = "B";
    rec.itemID = item;
    rec.code = item;
    rec.description = "Bench " + item;
    rec.stdWidth = 156;
    rec.lanesGap = 39;
    rec.classe = classe;
    rec.sng1 = cFixed::fromDouble(sng1);
    rec.sng2 = cFixed::fromDouble(sng2);
    rec.Orientation = o;
    rec.r = 2;
    return rec;
}

// A drawing of lines, circles and texts of about kDrawingBytes, CR LF line ends.
std::string drawing()
{
    std::string out = "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n";
    char buf[256];
    for (int n = 0; out.size() < kDrawingBytes; ++n) {
        const double x = (n % 997) * 10.5;
        const double y = (n % 991) * 7.25;
        if (n % 5 == 4) {
            std::snprintf(buf, sizeof buf,
                          "  0\r\nTEXT\r\n  8\r\nT%d\r\n 10\r\n%.4f\r\n 20\r\n%.4f\r\n  1\r\nPit "
                          "%d\r\n",
                          n % 40, x, y, n);
        } else if (n % 5 == 3) {
            std::snprintf(buf, sizeof buf,
                          "  0\r\nCIRCLE\r\n  8\r\nC%d\r\n 10\r\n%.4f\r\n 20\r\n%.4f\r\n 40\r\n"
                          "%.4f\r\n",
                          n % 40, x, y, 5.0 + n % 50);
        } else {
            std::snprintf(buf, sizeof buf,
                          "  0\r\nLINE\r\n  8\r\nL%d\r\n 10\r\n%.4f\r\n 20\r\n%.4f\r\n 11\r\n"
                          "%.4f\r\n 21\r\n%.4f\r\n",
                          n % 40, x, y, y, x);
        }
        out += buf;
    }
    return out + "  0\r\nENDSEC\r\n  0\r\nEOF\r\n";
}

// An annotation object of each class in turn.
std::shared_ptr<zvObject> benchObject(int i)
{
    static const char* const kClasses[] = {"line", "text", "measure", "room"};
    auto o = std::make_shared<zvObject>();
    o->Class(kClasses[i % 4]);
    o->ID("O" + std::to_string(i));
    const std::string x = std::to_string(i * 37);
    o->Points(x + ":0;" + x + ":500;" + std::to_string(i * 37 + 400) + ":500");
    o->Size(2);
    o->Text("Label " + std::to_string(i));
    return o;
}

// The folder and the saved file of the benchmarks; the drawing copies land there too.
struct Files {
    std::filesystem::path dir;
    std::string file;
};

const Files& files()
{
    static const Files f = [] {
        Files made;
        made.dir = std::filesystem::temp_directory_path() /
                   ("zorv-bench-file-" + std::to_string(getpid()));
        std::filesystem::create_directories(made.dir);
        setenv("TMPDIR", made.dir.c_str(), 1);
        made.file = (made.dir / "big.zv6").string();
        return made;
    }();
    return f;
}

// The big circuit, current, with its objects and drawing.
std::shared_ptr<zvCircuit> bigCircuit()
{
    zvLib::ResetModelGlobals();
    zvLib::SetStdWidth = 156;
    zvLib::PieceTable = {benchRecord("S350", 1, 350, 0, 2), benchRecord("C45(R)", 2, 45, 600, -1),
                         benchRecord("C45(L)", 2, 45, 600, 1), zvLib::StartRecord()};
    zvLib::UI = std::make_shared<BenchUI>();
    static const char* const kCycle[] = {"B:S350;", "B:C45(L);", "B:S350;", "B:C45(R);"};
    std::string def;
    for (int i = 0; i < kPieces; ++i) {
        def += kCycle[i % 4];
    }
    auto c = std::make_shared<zvCircuit>();
    c->Init("B", 8, 0, 0, 0);
    for (const auto& t : c->tracks()) {
        t->append(def);
    }
    for (int i = 0; i < kObjects; ++i) {
        c->objects().Add(benchObject(i));
    }
    zvLib::DXF = std::make_unique<cDXF>();
    zvLib::DXF->LoadBytes(drawing());
    zvLib::Circuit(c);
    return c;
}

void BM_FileSave(benchmark::State& state)
{
    const auto c = bigCircuit();
    const std::string& file = files().file;
    for (auto _ : state) {
        if (!c->FileSave(file)) {
            state.SkipWithError("save failed");
        }
    }
    state.SetLabel(std::to_string(std::filesystem::file_size(file) >> 10) + " KiB");
}
BENCHMARK(BM_FileSave)->Unit(benchmark::kMillisecond);

void BM_FileOpen(benchmark::State& state)
{
    const auto c = bigCircuit();
    const std::string& file = files().file;
    c->FileSave(file);
    for (auto _ : state) {
        auto opened = std::make_shared<zvCircuit>();
        if (opened->FileOpen(file) != 0) {
            state.SkipWithError("open failed");
        }
        benchmark::DoNotOptimize(opened->tracks().Count());
    }
}
BENCHMARK(BM_FileOpen)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    std::filesystem::remove_all(files().dir, ec);
    return 0;
}
