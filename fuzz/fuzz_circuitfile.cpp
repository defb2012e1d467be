// libFuzzer target for the circuit file reader: any bytes are opened as a circuit file. Nothing
// may crash, hang or throw; a refused file leaves no circuit behind, and an opened one saves.
#include "dxf/zvLib_dxf.h"
#include "fuzz/FuzzPieces.h"
#include "model/zvCircuit.h"
#include "model/zvLib_globals.h"
#include "model/zvUI.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

void Check(bool ok)
{
    if (!ok) {
        std::abort();
    }
}

// A user interface that asks nothing and loads the one set "F".
class QuietUI : public zvQuietUI {
  public:
    std::int16_t LoadSet(const std::string& setCode) override { return setCode == "F" ? 0 : -4; }
};

// A folder of this process for the file under test.
std::string Setup()
{
    const auto dir =
        std::filesystem::temp_directory_path() / ("zorv-fuzz-circuit-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    setenv("TMPDIR", dir.c_str(), 1);
    zvLib::SetStdWidth = 156;
    zvLib::PieceTable = {FuzzPiece("S", 1, 350, 0, 2), FuzzPiece("C(L)", 2, 45, 324, 1),
                         FuzzPiece("C(R)", 2, 45, 324, -1), zvLib::StartRecord()};
    zvLib::UI = std::make_shared<QuietUI>();
    return (dir / "in.zv6").string();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = Setup();
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    zvLib::DXF.reset();
    zvCircuit c;
    zvFileOpenInfo info;
    if (c.FileOpen(path, &info) == 0) {
        Check(c.tracks().Count() >= 1 && c.tracks().Count() <= 4 && info.Skipped >= 0);
        Check(c.FileSave(path + ".out"));
    } else {
        Check(!info.Reason.empty() && c.tracks().Count() == 0 && zvLib::DXF == nullptr);
    }
    return 0;
}
