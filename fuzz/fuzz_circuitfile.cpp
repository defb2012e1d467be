// libFuzzer target for the circuit file reader: any bytes are opened as a circuit file. Nothing
// may crash, hang or throw; a refused file leaves no circuit behind, and an opened one saves, its
// save opens again with the same pieces, and a second save writes the same file.
#include "dxf/zvLib_dxf.h"
#include "foundation/NUX_STD_files.h"
#include "foundation/zvLib_text.h"
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

// A user interface that asks nothing and loads the one set "F", named in any case as the
// program's set loader takes it.
class QuietUI : public zvQuietUI {
  public:
    std::int16_t LoadSet(const std::string& setCode) override
    {
        return zvLib::SameText(setCode, "F") ? 0 : -4;
    }
};

// A folder of this process for the files under test.
std::filesystem::path Setup()
{
    const auto dir =
        std::filesystem::temp_directory_path() / ("zorv-fuzz-circuit-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    setenv("TMPDIR", dir.c_str(), 1);
    zvLib::SetStdWidth = 156;
    zvLib::PieceTable = {FuzzPiece("S", 1, 350, 0, 2), FuzzPiece("C(L)", 2, 45, 324, 1),
                         FuzzPiece("C(R)", 2, 45, 324, -1), zvLib::StartRecord()};
    zvLib::UI = std::make_shared<QuietUI>();
    return dir;
}

// The saved file's text without its save time, the one thing two saves may differ in.
std::string SavedText(const std::string& path)
{
    std::string text;
    NUX_STD_library::ReadFault fault = NUX_STD_library::ReadFault::None;
    Check(NUX_STD_library::ReadFileBytes(path, std::uint64_t(1) << 30, text, fault));
    const std::size_t from = text.find("<lastsaved>");
    const std::size_t to = text.find("</lastsaved>", from);
    if (from != std::string::npos && to != std::string::npos) {
        text.erase(from, to - from);
    }
    return text;
}

// True when two circuits hold the same tracks of the same pieces from the same start pose,
// and as many objects.
bool SamePieces(const zvCircuit& a, const zvCircuit& b)
{
    if (a.tracks().Count() != b.tracks().Count() || a.objects().Count() != b.objects().Count() ||
        a.Angle() != b.Angle() || a.StartX() != b.StartX() || a.StartY() != b.StartY()) {
        return false;
    }
    for (std::size_t i = 1; i <= a.tracks().Count(); ++i) {
        if (a.tracks().Item(i)->GetDefinitionString() !=
            b.tracks().Item(i)->GetDefinitionString()) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::filesystem::path dir = Setup();
    static const std::string path = (dir / "in.zv6").string();
    static const std::string first = (dir / "first.zv6").string();
    static const std::string second = (dir / "second.zv6").string();
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    zvLib::DXF.reset();
    zvCircuit c;
    zvFileOpenInfo info;
    if (c.FileOpen(path, &info) != 0) {
        Check(!info.Reason.empty() && c.tracks().Count() == 0 && zvLib::DXF == nullptr);
        return 0;
    }
    Check(c.tracks().Count() >= 1 && c.tracks().Count() <= 4 && info.Skipped >= 0);
    Check(c.FileSave(first));
    // What was saved opens again with the same pieces, and saving it again writes the same file.
    zvCircuit back;
    zvFileOpenInfo again;
    Check(back.FileOpen(first, &again) == 0 && again.Skipped == 0);
    Check(SamePieces(c, back));
    Check(back.FileSave(second));
    Check(SavedText(first) == SavedText(second));
    return 0;
}
