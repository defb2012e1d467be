// zvLib, the application state the model reads, with the start values the program's default
// settings give.
#include "model/zvLib_globals.h"

#include "foundation/zvLib_text.h"

namespace zvLib {

namespace {

// System colours carry the high bit and the system colour's index.
constexpr std::int32_t SystemColor(std::int32_t index)
{
    return static_cast<std::int32_t>(0x80000000u | static_cast<std::uint32_t>(index));
}

constexpr std::int32_t kTrackNormal = 0xDCDCDC;
constexpr std::int32_t kTrackHilite = SystemColor(13);
constexpr std::int32_t kTrackSketch = SystemColor(22);
constexpr std::int32_t kTrackKerbs = SystemColor(16);
constexpr std::int32_t kTrackBanked = 0x4DA9FD;
constexpr std::int32_t kMeasure = 0x000000;
constexpr std::array<std::int32_t, 8> kLaneColors = {0x0000FF, 0xFF901E, 0x32CD32, 0x4DE4FF,
                                                     0xFFFF00, 0xFF00FF, 0xFFFFFF, 0xA9A9A9};
constexpr std::array<std::int32_t, 12> kRadiusColors = {0x2257FF, 0x0098FF, 0x07C1FF, 0x3BEBFF,
                                                        0x4AC38B, 0x50AF4C, 0xD4BC00, 0xEBCE87,
                                                        0xF39621, 0xB5513F, 0xFFFFFF, 0xFFFFFF};

} // namespace

std::vector<zvPieceRecord> PieceTable;
std::string CurSetID;
cFixed SetStdWidth;
std::int16_t SetScale = 0;
std::string SetDescription;
std::vector<zvSetFacts> SetFacts;
std::string UserFile;

std::int32_t tracknormal = kTrackNormal;
std::int32_t trackhilite = kTrackHilite;
std::int32_t tracksketch = kTrackSketch;
std::int32_t trackkerbs = kTrackKerbs;
std::int32_t trackbanked = kTrackBanked;
std::int32_t measure = kMeasure;
std::array<std::int32_t, 8> LaneColors = kLaneColors;
std::array<std::int32_t, 12> RadiusColors = kRadiusColors;

bool ShowGrid = true;
bool ShowFill = true;
bool ShowFillEx = true;
bool ShowLanes = true;
bool ShowCodes = true;
bool ShowLines = false;
bool ShowKerbs = true;
std::int16_t LaneWidth = 2;

std::shared_ptr<zvSelectionHost> SelectionHost;

zvSetFacts SetFactsOf(const std::string& setCode)
{
    for (const zvSetFacts& facts : SetFacts) {
        if (SameText(facts.code, setCode)) {
            return facts;
        }
    }
    return {CurSetID, SetStdWidth, SetScale, SetDescription};
}

cFixed StdWidthOf(const std::string& setCode)
{
    return SetFactsOf(setCode).stdWidth;
}

zvPieceRecord StartRecord()
{
    zvPieceRecord rec;
    rec.setID = "Zorv";
    rec.itemID = "<START>";
    rec.description = "Start point";
    rec.classe = 0;
    rec.flags = 0;
    rec.lanesGap = 50;
    return rec;
}

void ResetModelGlobals()
{
    PieceTable.clear();
    CurSetID.clear();
    SetStdWidth = 0;
    SetScale = 0;
    SetDescription.clear();
    SetFacts.clear();
    UserFile.clear();
    tracknormal = kTrackNormal;
    trackhilite = kTrackHilite;
    tracksketch = kTrackSketch;
    trackkerbs = kTrackKerbs;
    trackbanked = kTrackBanked;
    measure = kMeasure;
    LaneColors = kLaneColors;
    RadiusColors = kRadiusColors;
    ShowGrid = true;
    ShowFill = true;
    ShowFillEx = true;
    ShowLanes = true;
    ShowCodes = true;
    ShowLines = false;
    ShowKerbs = true;
    LaneWidth = 2;
    SelectionHost.reset();
}

} // namespace zvLib
