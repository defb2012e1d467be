// libFuzzer target for the definition texts: any bytes are read as a circuit definition and as
// a track definition string. Only cError may be raised, and a definition the circuit accepted
// must read back as itself.
#include "foundation/cError.h"
#include "fuzz/FuzzPieces.h"
#include "model/zvCircuit.h"
#include "model/zvLib_globals.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void Check(bool ok)
{
    if (!ok) {
        std::abort();
    }
}

bool Setup()
{
    zvLib::SetStdWidth = 156;
    zvPieceRecord cross = FuzzPiece("X", 1, 350, 0, 2);
    cross.flgSwap = true;
    zvPieceRecord narrow = FuzzPiece("W(F)", 8, 300, 80, 2);
    narrow.sng3 = 40;
    zvLib::PieceTable = {FuzzPiece("S", 1, 350, 0, 2),
                         FuzzPiece("C(L)", 2, 45, 324, 1),
                         FuzzPiece("C(R)", 2, 45, 324, -1),
                         cross,
                         narrow,
                         zvLib::StartRecord()};
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool ready = Setup();
    (void)ready;
    const std::string text(reinterpret_cast<const char*>(data), size);
    zvCircuit c;
    c.Init("F", 4, 0, 0, 0);
    try {
        c.DefString(text);
        const std::string once = c.DefString();
        c.DefString(once);
        Check(c.DefString() == once);
    } catch (const cError&) {
    }
    try {
        c.tracks().First()->append(text);
        zvTrack::CheckDefinition(c.tracks().First()->GetDefinitionString());
    } catch (const cError&) {
    }
    return 0;
}
