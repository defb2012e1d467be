// The recent-files list: newest first, at most four, a file already listed keeps its place
// whatever name it is opened by, names differing only in case are two files, a file that is
// gone is known by its exact text, gaps closed up, the settings file rewritten once and not at
// all once the settings are frozen by a reset.
#include "app/core/zvLib_recent.h"

#include "app/core/zvLib_settings.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

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

// Nothing is made in "gone": its files are known by their text alone, byte for byte.
TEST_F(RecentFiles, AGoneFileKeepsItsPlaceByItsExactText)
{
    const std::string a = tmp.file("gone/A.zv6");
    const std::string b = tmp.file("gone/b.zv6");
    zvLib::MRUAdd(a);
    zvLib::MRUAdd(b);
    const std::string before = readAll(zvLib::IniFile);
    zvLib::MRUAdd(a);
    EXPECT_EQ(zvLib::MRUEntries(), (Entries{b, a, "", ""}));
    EXPECT_EQ(readAll(zvLib::IniFile), before) << "nothing rewritten";
    zvLib::MRUAdd("");
    zvLib::MRUAdd(tmp.file("gone/two\nlines.zv6"));
    EXPECT_EQ(zvLib::MRUEntries(), (Entries{b, a, "", ""}));
    const std::string otherCase = tmp.file("gone/a.ZV6");
    zvLib::MRUAdd(otherCase);
    EXPECT_EQ(zvLib::MRUEntries(), (Entries{otherCase, b, a, ""})) << "another name";
}

// On Linux "C.zv6" beside "c.zv6" is another file: opening it puts it first.
TEST_F(RecentFiles, NamesDifferingOnlyInCaseAreTwoFiles)
{
    const std::string lower = tmp.file("c.zv6");
    const std::string upper = tmp.file("C.zv6");
    writeAll(lower, "one circuit");
    writeAll(upper, "another circuit");
    if (std::filesystem::equivalent(lower, upper)) {
        GTEST_SKIP() << "the temporary folder ignores case";
    }
    zvLib::MRUAdd(lower);
    zvLib::MRUAdd(upper);
    EXPECT_EQ(zvLib::MRUEntries(), (Entries{upper, lower, "", ""}));
}

// "ldir" leads to "real/sub", so "ldir/../c.zv6" is "real/c.zv6" to the system, not "c.zv6";
// "lc.zv6" is a link to that file and "hard.zv6" a second name of it.
TEST_F(RecentFiles, OneFileBySeveralNamesKeepsTheEntryListedFirst)
{
    namespace fs = std::filesystem;
    fs::create_directories(tmp.path() / "real" / "sub");
    fs::create_directory_symlink("real/sub", tmp.path() / "ldir");
    const std::string file = tmp.file("real/c.zv6");
    writeAll(file, "one circuit");
    fs::create_symlink("real/c.zv6", tmp.path() / "lc.zv6");
    fs::create_hard_link(file, tmp.path() / "hard.zv6");
    const std::string beside = tmp.file("c.zv6");
    writeAll(beside, "another circuit");
    const std::string other = tmp.file("b.zv6");
    writeAll(other, "a third circuit");

    zvLib::MRUAdd(file);
    zvLib::MRUAdd(other);
    const std::string before = readAll(zvLib::IniFile);
    for (const char* name : {"ldir/../c.zv6", "lc.zv6", "hard.zv6", "./real//c.zv6"}) {
        zvLib::MRUAdd(tmp.file(name));
        EXPECT_EQ(zvLib::MRUEntries(), (Entries{other, file, "", ""})) << name;
    }
    EXPECT_EQ(readAll(zvLib::IniFile), before) << "nothing rewritten";
    zvLib::MRUAdd(beside);
    EXPECT_EQ(zvLib::MRUEntries(), (Entries{beside, other, file, ""}));
}

TEST_F(RecentFiles, GapsAreClosedAndOtherSectionsKept)
{
    writeAll(zvLib::IniFile, "[Options]\nLangID=EN\n[MRUFiles]\n1=\n2=/c/two.zv6\n4=/c/four.zv6\n"
                             "[Colors]\nmeasure=0\n");
    EXPECT_EQ(zvLib::MRUEntries(), (Entries{"", "/c/two.zv6", "", "/c/four.zv6"}));
    zvLib::MRUAdd("/c/new.zv6");
    EXPECT_EQ(zvLib::MRUEntries(), (Entries{"/c/new.zv6", "/c/two.zv6", "/c/four.zv6", ""}));
    EXPECT_EQ(zvLib::GetSetting("Zorv", "Options", "LangID"), "EN");
    EXPECT_EQ(zvLib::GetSetting("Zorv", "Colors", "measure"), "0");
}

// Each name is a file beside its look-alike without the blank or tab: the list must give back
// the very name added, however far it moves down, and never the look-alike.
TEST_F(RecentFiles, NamesWithBlanksAtTheirEndsComeBackAsAdded)
{
    const std::vector<std::string> odd = {tmp.file("plan.zv6 "), tmp.file("tab.zv6\t"),
                                          " " + tmp.file("lead.zv6"), "\t" + tmp.file("t.zv6")};
    for (const char* name : {"plan.zv6", "tab.zv6", "lead.zv6", "t.zv6"}) {
        writeAll(tmp.file(name), "the look-alike");
    }
    writeAll(odd[0], "the named file");
    writeAll(odd[1], "the named file");
    std::vector<std::string> added;
    const auto add = [&](const std::string& name) {
        zvLib::MRUAdd(name);
        added.insert(added.begin(), name);
        Entries expected{"", "", "", ""};
        for (std::size_t i = 0; i < expected.size() && i < added.size(); ++i) {
            expected[i] = added[i];
        }
        EXPECT_EQ(zvLib::MRUEntries(), expected) << "after [" << name << "]";
    };
    for (const std::string& name : odd) {
        add(name);
    }
    for (const char* later : {"a.zv6", "b.zv6", "c.zv6", "d.zv6"}) {
        add(tmp.file(later));
    }
}

// An entry that stands with blanks around it (an older program's, a hand edit) may have
// named a file with those blanks: it is neither shown as the trimmed name nor written back so.
TEST_F(RecentFiles, AnEntryStoredWithBlanksAroundItIsLeftOut)
{
    writeAll(zvLib::IniFile, "[MRUFiles]\n1=/c/plan.zv6 \n2=/c/two.zv6\n3= /c/three.zv6\n");
    EXPECT_EQ(zvLib::MRUEntries(), (Entries{"", "/c/two.zv6", "", ""}));
    zvLib::MRUAdd("/c/new.zv6");
    EXPECT_EQ(zvLib::MRUEntries(), (Entries{"/c/new.zv6", "/c/two.zv6", "", ""}));
    EXPECT_EQ(readAll(zvLib::IniFile).find("/c/plan.zv6\n"), std::string::npos);
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
