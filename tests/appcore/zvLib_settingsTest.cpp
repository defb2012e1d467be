// The settings file calls: reading with trimming and defaults, saving with the program's own
// number and Boolean texts, deleting keys and whole sections.
#include "app/core/zvLib_settings.h"

#include "foundation/NUX_STD_ini.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace zvLib;
using testsupport::readAll;
using testsupport::TempDir;
using testsupport::writeAll;

namespace {

class Settings : public ::testing::Test {
  protected:
    TempDir tmp;
    void SetUp() override { IniFile = tmp.file("Zorv.ini"); }
    void TearDown() override { IniFile.clear(); }
};

} // namespace

TEST_F(Settings, GetSettingTrimsAndFallsBackToTheDefault)
{
    EXPECT_EQ(GetSetting("Zorv", "Options", "GridWidth", 100), "100"); // no file yet
    writeAll(IniFile, "[Options]\nSeven=   7   \nQuoted=\"  8  \"\nEmpty=\nBlanks=\"   \"\n"
                      "Words= two words \n");
    EXPECT_EQ(GetSetting("Zorv", "Options", "Seven"), "7");
    EXPECT_EQ(GetSetting("Zorv", "Options", "Quoted", 1), "8");
    EXPECT_EQ(GetSetting("Zorv", "Options", "Words"), "two words");
    EXPECT_EQ(GetSetting("other app", "OPTIONS", "seven"), "7");

    EXPECT_EQ(GetSetting("Zorv", "Options", "Missing", 100), "100");
    EXPECT_EQ(GetSetting("Zorv", "Options", "Missing"), "");
    EXPECT_EQ(GetSetting("Zorv", "Options", "Empty", "x"), "x");
    EXPECT_EQ(GetSetting("Zorv", "Options", "Blanks", "x"), "x");
    EXPECT_EQ(GetSetting("Zorv", "Missing", "Seven", 2.5), "2.5");
    EXPECT_EQ(GetSetting("Zorv", "Options", "Missing", " padded "), " padded ");
    EXPECT_EQ(GetSetting("Zorv", "Options", "Missing", true), "True");
}

TEST_F(Settings, SaveSettingWritesLocaleFreeTextsAndEmptyDeletes)
{
    SaveSetting("Zorv", "Options", "LangID", "EN");
    SaveSetting("Zorv", "Options", "Width", cFixed::fromRaw(125000));
    SaveSetting("Zorv", "Options", "Ratio", 0.25);
    SaveSetting("Zorv", "Options", "Flag", false);
    SaveSetting("Zorv", "Options", "Count", -3);
    EXPECT_EQ(readAll(IniFile),
              "[Options]\nLangID=EN\nWidth=12.5\nRatio=0.25\nFlag=False\nCount=-3\n");

    SaveSetting("Zorv", "options", "langid", "IT"); // replaced in place
    EXPECT_EQ(GetSetting("Zorv", "Options", "LangID"), "IT");

    SaveSetting("Zorv", "Options", "Count", "");
    EXPECT_EQ(GetSetting("Zorv", "Options", "Count", 9), "9");
    EXPECT_EQ(readAll(IniFile), "[Options]\nLangID=IT\nWidth=12.5\nRatio=0.25\nFlag=False\n");
}

TEST_F(Settings, DeleteSettingRemovesAKeyOrAWholeSection)
{
    writeAll(IniFile, "[0]\nz=1\n[Options]\nLangID=EN\n[colors]\nLane1=255\nR1=0\n"
                      "[MRUFiles]\n1=/a.zv6\n");
    DeleteSetting("Zorv", "MRUFiles", "1");
    EXPECT_EQ(GetSetting("Zorv", "MRUFiles", "1"), "");

    DeleteSetting("Zorv", "Colors", "");
    EXPECT_EQ(GetSetting("Zorv", "Colors", "Lane1", "gone"), "gone");
    EXPECT_EQ(GetSetting("Zorv", "Colors", "R1", "gone"), "gone");
    std::vector<std::pair<std::string, std::string>> pairs;
    EXPECT_EQ(NUX_STD_library::IniReadSection("Colors", IniFile, pairs), 0);

    // Other sections stay, the hand-made section "0" included.
    EXPECT_EQ(GetSetting("Zorv", "Options", "LangID"), "EN");
    EXPECT_EQ(readAll(IniFile), "[0]\nz=1\n[Options]\nLangID=EN\n[MRUFiles]\n");
}
