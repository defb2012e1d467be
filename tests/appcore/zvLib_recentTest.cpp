// The recent-files list: newest first, at most four, a path already listed keeps its place
// whatever its letter case, gaps closed up, the settings file rewritten once and not at all
// once the settings are frozen by a reset.
#include "app/core/zvLib_recent.h"

#include "app/core/zvLib_settings.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>

using testsupport::readAll;
using testsupport::TempDir;
using testsupport::writeAll;
using Entries = std::array<std::string, zvLib::kMRUCount>;

namespace {

class RecentFiles : public ::testing::Test {
  protected:
    TempDir tmp;
    void SetUp() override { zvLib::IniFile = tmp.file("Zorv.ini"); }
    void TearDown() override
    {
        zvLib::FreezeSettings(false);
        zvLib::IniFile.clear();
    }
};

TEST_F(RecentFiles, NewestFirstAndAtMostFour)
{
    EXPECT_EQ(zvLib::MRUEntries(), (Entries{"", "", "", ""})) << "no settings file yet";
    zvLib::MRUAdd("/c/a.zv6");
    EXPECT_EQ(zvLib::MRUEntries(), (Entries{"/c/a.zv6", "", "", ""}));
    for (const char* p : {"/c/b.zv6", "/c/c.zvd", "/c/d.zv5", "/c/e.zv6"}) {
        zvLib::MRUAdd(p);
    }
    EXPECT_EQ(zvLib::MRUEntries(), (Entries{"/c/e.zv6", "/c/d.zv5", "/c/c.zvd", "/c/b.zv6"}));
    EXPECT_EQ(zvLib::GetSetting("Zorv", "MRUFiles", "1"), "/c/e.zv6");
    EXPECT_EQ(zvLib::GetSetting("Zorv", "MRUFiles", "5"), "") << "the fifth dropped out";
}

TEST_F(RecentFiles, ListedPathKeepsItsPlaceWhateverItsCase)
{
    zvLib::MRUAdd("/c/A.zv6");
    zvLib::MRUAdd("/c/b.zv6");
    const std::string before = readAll(zvLib::IniFile);
    zvLib::MRUAdd("/c/A.zv6");
    zvLib::MRUAdd("/C/a.ZV6");
    EXPECT_EQ(zvLib::MRUEntries(), (Entries{"/c/b.zv6", "/c/A.zv6", "", ""}));
    EXPECT_EQ(readAll(zvLib::IniFile), before) << "nothing rewritten";
    zvLib::MRUAdd("");
    zvLib::MRUAdd("/c/two\nlines.zv6");
    EXPECT_EQ(zvLib::MRUEntries(), (Entries{"/c/b.zv6", "/c/A.zv6", "", ""}));
}

TEST_F(RecentFiles, GapsAreClosedAndOtherSectionsKept)
{
    writeAll(zvLib::IniFile, "[Options]\nLangID=EN\n[MRUFiles]\n1=\n2=/c/two.zv6\n4= /c/four.zv6 \n"
                             "[Colors]\nmeasure=0\n");
    EXPECT_EQ(zvLib::MRUEntries(), (Entries{"", "/c/two.zv6", "", "/c/four.zv6"}));
    zvLib::MRUAdd("/c/new.zv6");
    EXPECT_EQ(zvLib::MRUEntries(), (Entries{"/c/new.zv6", "/c/two.zv6", "/c/four.zv6", ""}));
    EXPECT_EQ(zvLib::GetSetting("Zorv", "Options", "LangID"), "EN");
    EXPECT_EQ(zvLib::GetSetting("Zorv", "Colors", "measure"), "0");
}

TEST_F(RecentFiles, FrozenSettingsAreNotWritten)
{
    zvLib::MRUAdd("/c/a.zv6");
    std::filesystem::remove(zvLib::IniFile);
    zvLib::FreezeSettings(true);
    EXPECT_TRUE(zvLib::SettingsFrozen());
    zvLib::MRUAdd("/c/b.zv6");
    zvLib::SaveSetting("Zorv", "Options", "LangID", "IT");
    zvLib::DeleteSetting("Zorv", "Options", "");
    zvLib::SaveSettings("Options", {{"GridWidth", "250"}});
    EXPECT_FALSE(std::filesystem::exists(zvLib::IniFile));
    zvLib::FreezeSettings(false);
    zvLib::SaveSettings("Options", {{"GridWidth", "250"}, {"GridStyle", "2"}});
    EXPECT_EQ(zvLib::GetSetting("Zorv", "Options", "GridStyle"), "2");
}

} // namespace
