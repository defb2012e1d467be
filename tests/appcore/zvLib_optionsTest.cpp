// Options and colours in the settings file: the defaults of an empty file, the written
// spellings and their round trip, the measure colour, system colours, the colour reset, values
// edited by hand, and what the main window is told.
#include "app/core/zvLib_options.h"

#include "app/core/zvLib_settings.h"
#include "foundation/NUX_STD_ini.h"
#include "foundation/zvLang.h"
#include "model/zvLib_globals.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <map>

using namespace zvLib;
using testsupport::readAll;
using testsupport::TempDir;
using testsupport::writeAll;
using Pairs = std::vector<std::pair<std::string, std::string>>;

namespace {

constexpr std::int32_t Sys(std::uint32_t index)
{
    return static_cast<std::int32_t>(0x80000000u | index);
}

// Stands in for the main window: remembers what it was told, gives a fixed item bar width.
class FakeMainWindow : public zvOptionsHost {
  public:
    std::map<std::string, bool> pressed;
    std::int32_t backColor = -1;
    void ToolPressed(const std::string& tool, bool on) override { pressed[tool] = on; }
    std::int32_t ItemBarWidth() const override { return 2400; }
    void CanvasBackColor(std::int32_t color) override { backColor = color; }
};

// Every value the options hold, for comparing whole states.
struct State {
    cFixed gridWidth;
    std::int16_t gridStyle, laneWidth;
    std::array<bool, 7> flags;         // grid, lines, lanes, fill, fillex, codes, kerbs
    std::array<std::int32_t, 7> named; // measure, background, normal, hilite, sketch, banked, kerbs
    std::array<std::int32_t, 8> lanes;
    std::array<std::int32_t, 12> radii;
    bool operator==(const State&) const = default;
};

const State kDefaults = {
    100,
    1,
    2,
    {true, false, true, true, true, true, true},
    {0x000000, 0xFFFFFF, 0xDCDCDC, Sys(13), Sys(22), 0x4DA9FD, Sys(16)},
    {0x0000FF, 0xFF901E, 0x32CD32, 0x4DE4FF, 0xFFFF00, 0xFF00FF, 0xFFFFFF, 0xA9A9A9},
    {0x2257FF, 0x0098FF, 0x07C1FF, 0x3BEBFF, 0x4AC38B, 0x50AF4C, 0xD4BC00, 0xEBCE87, 0xF39621,
     0xB5513F, 0xFFFFFF, 0xFFFFFF}};

State Current()
{
    return {GridWidth,
            GridStyle,
            LaneWidth,
            {ShowGrid, ShowLines, ShowLanes, ShowFill, ShowFillEx, ShowCodes, ShowKerbs},
            {measure, background, tracknormal, trackhilite, tracksketch, trackbanked, trackkerbs},
            LaneColors,
            RadiusColors};
}

// Puts a value different from every default (and from another seed's) into each option.
void Scramble(int seed)
{
    GridWidth = cFixed::fromRaw(125000 + seed);
    GridStyle = static_cast<std::int16_t>(seed % 2 == 0 ? 0 : 3);
    LaneWidth = static_cast<std::int16_t>(5 + seed);
    ShowGrid = ShowLanes = ShowFill = ShowFillEx = ShowCodes = ShowKerbs = false;
    ShowLines = true;
    std::int32_t* named[] = {&measure,     &background,  &tracknormal, &trackhilite,
                             &tracksketch, &trackbanked, &trackkerbs};
    for (int i = 0; i < 7; ++i) {
        *named[i] = 0x10 * i + seed;
    }
    tracknormal = Sys(5) + seed;
    for (std::size_t i = 0; i < LaneColors.size(); ++i) {
        LaneColors[i] = static_cast<std::int32_t>(0x1000 * (i + 1)) + seed;
    }
    for (std::size_t i = 0; i < RadiusColors.size(); ++i) {
        RadiusColors[i] = static_cast<std::int32_t>(0x20000 * (i + 1)) + seed;
    }
}

class Options : public ::testing::Test {
  protected:
    TempDir tmp;
    FakeMainWindow window;
    void SetUp() override
    {
        IniFile = tmp.file("Zorv.ini");
        OptionsHost = &window;
        zvLang::LangID("EN");
    }
    void TearDown() override
    {
        OptionsHost = nullptr;
        IniFile = tmp.file("none.ini");
        OptionsLoad();
        IniFile.clear();
        zvLang::LangID("");
        ResetModelGlobals();
    }
    Pairs Section(const std::string& name) const
    {
        Pairs pairs;
        NUX_STD_library::IniReadSection(name, IniFile, pairs);
        return pairs;
    }
};

} // namespace

TEST_F(Options, AnEmptyFileGivesTheDefaultsAndTheToolbarFollows)
{
    for (const bool fileExists : {false, true}) {
        if (fileExists) {
            writeAll(IniFile, "");
        }
        Scramble(1);
        OptionsLoad();
        EXPECT_EQ(Current(), kDefaults);
        const std::map<std::string, bool> tools = {
            {"grid", true},   {"lines", false}, {"lanes", true}, {"fill", true},
            {"fillex", true}, {"refs", true},   {"kerbs", true}};
        EXPECT_EQ(window.pressed, tools);
        EXPECT_EQ(window.backColor, 0xFFFFFF);
    }
}

TEST_F(Options, SaveWritesTheWrittenSpellingsAndLoadReadsThemBack)
{
    Scramble(2);
    zvLang::LangID("FR");
    CurSetID = "Set1";
    State saved = Current();
    OptionsSave();
    saved.named[0] = kDefaults.named[0]; // the measure colour is not written

    EXPECT_EQ(Section("Options"), (Pairs{{"LangID", "FR"},
                                         {"Gridstyle", "0"},
                                         {"Gridwidth", "12.5002"},
                                         {"LaneWidth", "7"},
                                         {"ShowGrid", "0"},
                                         {"ShowLines", "-1"},
                                         {"ShowFill", "0"},
                                         {"ShowFillEx", "0"},
                                         {"ShowLanes", "0"},
                                         {"ShowCodes", "0"},
                                         {"ShowKerbs", "0"},
                                         {"ItemBarWidth\\Set1", "2400"}}));
    const Pairs colors = Section("Colors");
    ASSERT_EQ(colors.size(), 26u); // six named colours, eight lanes, twelve radii
    const char* named[] = {"Background", "Tracknormal", "Trackhilite", "Tracksketch", "Trackbanked",
                           "Trackkerbs", "Lane1",       "Lane8",       "R1",          "R12"};
    const std::size_t at[] = {0, 1, 2, 3, 4, 5, 6, 13, 14, 25};
    for (std::size_t i = 0; i < std::size(at); ++i) {
        EXPECT_EQ(colors[at[i]].first, named[i]);
    }
    EXPECT_EQ(colors[1].second, "-2147483641"); // a system colour comes out negative

    Scramble(3);
    OptionsLoad();
    EXPECT_EQ(Current(), saved);
    EXPECT_TRUE(window.pressed.at("lines"));
    EXPECT_FALSE(window.pressed.at("refs"));
    EXPECT_EQ(window.backColor, saved.named[1]);
}

TEST_F(Options, TheMeasureColourIsReadButNeverWritten)
{
    writeAll(IniFile, "[Colors]\nmeasure=255\n");
    OptionsLoad();
    EXPECT_EQ(measure, 255);
    measure = 0x123456;
    OptionsSave();
    const std::string text = readAll(IniFile);
    EXPECT_NE(text.find("measure=255\n"), std::string::npos);
    EXPECT_EQ(text.find("measure="), text.rfind("measure="));
    EXPECT_EQ(text.find(std::to_string(0x123456)), std::string::npos);
}

TEST_F(Options, ColourResetRestoresDefaultsKeepsOptionsAndSystemColoursRoundTrip)
{
    Scramble(5);
    OptionsSave();
    DeleteSetting("Zorv", "colors", "");
    OptionsLoad();
    State expected = kDefaults;
    expected.gridWidth = cFixed::fromRaw(125005);
    expected.gridStyle = 3;
    expected.laneWidth = 10;
    expected.flags = {false, true, false, false, false, false, false};
    EXPECT_EQ(Current(), expected);
    EXPECT_EQ(window.backColor, 0xFFFFFF);

    OptionsSave(); // the default system colours are written negative and read back
    EXPECT_EQ(GetSetting("Zorv", "Colors", "Trackhilite"), "-2147483635");
    EXPECT_EQ(GetSetting("Zorv", "Colors", "Trackkerbs"), "-2147483632");
    Scramble(6);
    OptionsLoad();
    EXPECT_EQ(Current(), expected);
}

TEST_F(Options, HandEditedValuesConvertOrFallBack)
{
    writeAll(IniFile, "[options]\ngridwidth=12,5\nGRIDSTYLE=7\nLaneWidth=3.0\nShowGrid=false\n"
                      "ShowKerbs=FALSE\nShowFill=0\n"
                      "[colors]\nbackground=Tomato\ntracknormal= #ff0000 \n"
                      "trackhilite=&H8000000F&\ntracksketch=&H00FF8000&\n"
                      "trackbanked=not a colour\ntrackkerbs=99999999999\nmeasure=@orange\n"
                      "Lane1=black\nLane2=-1\nLane3=1.5\nLane4=&h80000012\nLane5=&H123456789\n"
                      "R1=unknownname\nR2=RGB(10, 20, 30)\nR3=\n");
    OptionsLoad();
    State expected = kDefaults;
    expected.gridWidth = cFixed::fromRaw(125000);
    expected.laneWidth = 3; // grid style 7 is none of 0 to 3: the default stays
    expected.flags[0] = expected.flags[3] = expected.flags[6] = false;
    expected.named = {
        255 + 186 * 256 + 21 * 65536, 0x4763FF, 0x0000FF, Sys(15), 0xFF8000, 0x4DA9FD, Sys(16)};
    expected.lanes[0] = 0;
    expected.lanes[1] = -1;
    expected.lanes[2] = 2;
    expected.lanes[3] = Sys(0x12);
    expected.radii[1] = 10 + 256 * 20 + 65536 * 30;
    EXPECT_EQ(Current(), expected);
    EXPECT_EQ(window.backColor, 0x4763FF);

    // Booleans: -1, 0, 1, True, False in any case; anything else is the default (off here).
    const std::pair<const char*, bool> flags[] = {{"1", true},     {"-1", true}, {"tRUE", true},
                                                  {"yes", false},  {"2", false}, {"on", false},
                                                  {"-1.0", false}, {"", false}};
    for (const auto& [text, on] : flags) {
        writeAll(IniFile, std::string("[Options]\nShowLines=") + text + "\n");
        OptionsLoad();
        EXPECT_EQ(ShowLines, on) << text;
        EXPECT_EQ(window.pressed.at("lines"), on) << text;
    }
}

TEST_F(Options, TheItemBarWidthNeedsAMainWindowAndASet)
{
    OptionsSave(); // no set loaded yet
    OptionsHost = nullptr;
    CurSetID = "Set1";
    OptionsSave();
    OptionsLoad();
    EXPECT_EQ(readAll(IniFile).find("ItemBarWidth"), std::string::npos);
    EXPECT_TRUE(window.pressed.empty());

    writeAll(IniFile, "[Options]\nitembarwidth\\SET1=1000\n");
    OptionsHost = &window;
    OptionsSave();
    EXPECT_EQ(GetSetting("Zorv", "Options", "ItemBarWidth\\Set1"), "2400");
    EXPECT_EQ(Section("Options").size(), 12u); // replaced in place, not added twice
}
