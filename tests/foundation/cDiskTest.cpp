// The file search on temporary folder trees: the wildcard test, recursion and pattern lists,
// size limits and most numbers, events, stopping, folder searches, links and unreadable folders.
#include "foundation/cDisk.h"

#include "foundation/NUX_STD_files.h"
#include "foundation/NUX_STD_system.h"
#include "support/TestSupport.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace fs = std::filesystem;
using testsupport::TempDir;

namespace {

std::vector<std::string> Sorted(std::vector<std::string> v)
{
    std::sort(v.begin(), v.end());
    return v;
}

// The hits of a result array without its empty index 0.
std::vector<std::string> Hits(const std::vector<std::string>& v)
{
    EXPECT_FALSE(v.empty());
    EXPECT_EQ(v.empty() ? std::string("?") : v[0], "");
    return Sorted(std::vector<std::string>(v.begin() + (v.empty() ? 0 : 1), v.end()));
}

class cDiskTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        Put("a.txt", 10);
        Put("b.TXT", 99);
        Put("c.dat", 100);
        Put("sub/d.txt", 5);
        Put("sub/deep/e.txt", 7);
        Put("notes.txt/f.txt", 3);
        Put(".hidden/g.txt", 1);
        Put(".h.txt", 2);
    }

    void Put(const std::string& rel, std::size_t size)
    {
        const fs::path p = tmp.path() / rel;
        fs::create_directories(p.parent_path());
        testsupport::writeAll(p.string(), std::string(size, 'x'));
    }

    std::string Root() const { return tmp.path().string(); }

    TempDir tmp;
    cDisk disk;
};

} // namespace

TEST(cDiskMatch, WildcardsCaseAndLists)
{
    EXPECT_TRUE(cDisk::MatchSpec("Readme.TXT", "*.txt"));
    EXPECT_TRUE(cDisk::MatchSpec("a.txt", "?.TXT"));
    EXPECT_FALSE(cDisk::MatchSpec("ab.txt", "?.txt"));
    EXPECT_TRUE(cDisk::MatchSpec("Makefile", "*.*"));
    EXPECT_FALSE(cDisk::MatchSpec("Makefile", "*.txt"));
    EXPECT_TRUE(cDisk::MatchSpec("x.doc", "*.txt; *.doc"));
    EXPECT_TRUE(cDisk::MatchSpec("abc", "a*c"));
    EXPECT_TRUE(cDisk::MatchSpec("ac", "a*c"));
    EXPECT_FALSE(cDisk::MatchSpec("abcd", "a*c"));
    EXPECT_FALSE(cDisk::MatchSpec("anything", ""));
    EXPECT_FALSE(cDisk::MatchSpec("a", ";"));
    EXPECT_TRUE(cDisk::MatchSpec("\xC3\xA9t\xC3\xA9.txt", "\xC3\x89T?.TXT")) << "é É, ? one letter";
    EXPECT_TRUE(cDisk::MatchSpec("bad\xFFname", "bad?name"));
}

TEST(cDiskMatch, ManyStarsStayFast)
{
    const std::string name(4000, 'a');
    EXPECT_FALSE(cDisk::MatchSpec(name, "*a*a*a*a*a*a*a*a*a*a*a*a*b"));
    EXPECT_TRUE(cDisk::MatchSpec(name + "b", "*a*a*a*a*a*a*a*a*a*a*a*a*b"));
}

TEST_F(cDiskTest, SearchFilesRecursesThroughMatchingFoldersOnly)
{
    std::string start = Root();
    EXPECT_EQ(disk.SearchFiles(start, true, "*.txt"), 4);
    EXPECT_EQ(start, Root() + "/") << "start folder normalised and written back";
    // sub and deep do not match "*.txt"; notes.txt does; dot folders are never entered.
    EXPECT_EQ(Hits(disk.FoundFilesNames()),
              (std::vector<std::string>{".h.txt", "a.txt", "b.TXT", "notes.txt/f.txt"}));
    EXPECT_EQ(disk.FoundFilesCount(), 4);
}

TEST_F(cDiskTest, SearchFilesAllNamesAndRelativePaths)
{
    std::string start = Root();
    ASSERT_EQ(disk.SearchFiles(start, true, "*"), 7);
    EXPECT_EQ(Hits(disk.FoundFilesNames()),
              (std::vector<std::string>{".h.txt", "a.txt", "b.TXT", "c.dat", "notes.txt/f.txt",
                                        "sub/d.txt", "sub/deep/e.txt"}));
    EXPECT_EQ(Hits(disk.ListFound()), (std::vector<std::string>{".h.txt", "a.txt", "b.TXT", "c.dat",
                                                                "d.txt", "e.txt", "f.txt"}));
    EXPECT_DOUBLE_EQ(disk.FoundFilesSize(), 10 + 99 + 100 + 5 + 7 + 3 + 2);

    EXPECT_EQ(disk.SearchFiles(start, false, "*"), 4) << "no recursion";
    EXPECT_EQ(disk.SearchFiles(start, true, "*", "*.txt"), 1) << "exclusion on folders too";
    EXPECT_EQ(Hits(disk.ListFound()), std::vector<std::string>{"c.dat"});
    EXPECT_EQ(disk.SearchFiles(start, true, ""), 0) << "an empty pattern list finds nothing";
}

TEST_F(cDiskTest, SizeLimits)
{
    std::string start = Root();
    EXPECT_EQ(disk.CountFiles(start, false, "*", "", cFixed(100), cFixed()), 1);
    EXPECT_DOUBLE_EQ(disk.FoundFilesSize(), 100);
    EXPECT_EQ(disk.CountFiles(start, false, "*", "", cFixed(), cFixed(99)), 3);
    EXPECT_EQ(disk.CountFiles(start, false, "*", "", cFixed(10), cFixed(99)), 2);
    EXPECT_EQ(disk.CountFiles(start, false, "*"), 4) << "0 and 0 accept every size";
}

TEST_F(cDiskTest, CountFilesRaisesPathChangeButNoProgress)
{
    std::vector<std::string> paths;
    int progress = 0;
    disk.PathChange = [&](std::string& p) { paths.push_back(p); };
    disk.Progress = [&](std::string&, std::string&, std::int32_t&, double&, bool&) { ++progress; };
    std::string start = Root();
    EXPECT_EQ(disk.CountFiles(start, true, "*"), 7);
    EXPECT_EQ(progress, 0);
    EXPECT_EQ(Sorted(paths), (std::vector<std::string>{Root() + "/notes.txt/", Root() + "/sub/",
                                                       Root() + "/sub/deep/"}));
}

TEST_F(cDiskTest, ProgressArgumentsAndCancel)
{
    std::vector<std::int32_t> counts;
    disk.Progress = [&](std::string& path, std::string& file, std::int32_t& found, double& bytes,
                        bool& cancel) {
        counts.push_back(found);
        EXPECT_EQ(disk.CurrentPath(), path);
        EXPECT_EQ(disk.CurrentFile(), file);
        EXPECT_DOUBLE_EQ(disk.FoundFilesSize(), bytes);
        path = "changed"; // the walk must not be disturbed by a handler's edits
        cancel = found == 2;
    };
    std::string start = Root();
    EXPECT_EQ(disk.SearchFiles(start, true, "*"), cDisk::kStopped);
    EXPECT_EQ(counts, (std::vector<std::int32_t>{1, 2}));
    EXPECT_EQ(disk.ListFound().size(), 1u);
    EXPECT_EQ(disk.FoundFilesNames().size(), 1u);
    EXPECT_EQ(disk.FoundFilesCount(), cDisk::kStopped);

    disk.Progress = nullptr;
    EXPECT_EQ(disk.SearchFiles(start, true, "*"), 7) << "the next search clears the stop flag";
}

TEST_F(cDiskTest, StopSearchBetweenStepsIsAStopToo)
{
    int aborts = 0;
    int steps = 0;
    disk.OnAbortSearch = [&] { ++aborts; };
    disk.DoEvents = [&] {
        if (++steps == 3) {
            disk.StopSearch();
        }
    };
    std::string start = Root();
    EXPECT_EQ(disk.CountFiles(start, true, "*"), cDisk::kStopped);
    EXPECT_EQ(aborts, 1);
    EXPECT_EQ(steps, 3) << "no entry is looked at after the stop";
    steps = 0;
    EXPECT_EQ(disk.SearchFiles(start, true, "*"), cDisk::kStopped);
    EXPECT_EQ(disk.ListFound().size(), 1u);
}

TEST_F(cDiskTest, MaxNumberEndsTheWholeSearch)
{
    std::string start = Root();
    EXPECT_EQ(disk.SearchFiles(start, true, "*", "", cFixed(), cFixed(), 5), 5);
    EXPECT_EQ(disk.ListFound().size(), 6u);
    EXPECT_EQ(disk.SearchFiles(start, true, "*", "", cFixed(), cFixed(), 0), 0);
}

TEST(cDiskLarge, FourHundredFiftyHits)
{
    TempDir tmp;
    for (int i = 0; i < 450; ++i) {
        testsupport::writeAll(tmp.file("f" + std::to_string(i) + ".bin"), "x");
    }
    cDisk disk;
    std::string start = tmp.path().string() + "/";
    ASSERT_EQ(disk.SearchFiles(start, false, "F*.BIN"), 450);
    EXPECT_EQ(disk.ListFound().size(), 451u);
    EXPECT_EQ(disk.FoundFilesNames().size(), 451u);
    EXPECT_EQ(Hits(disk.ListFound()).front(), "f0.bin");
}

TEST_F(cDiskTest, SearchFolders)
{
    std::vector<std::string> paths;
    disk.PathChange = [&](std::string& p) { paths.push_back(p); };
    std::string start = Root();
    EXPECT_EQ(disk.SearchFolders(start, false, "*"), 3);
    EXPECT_EQ(Hits(disk.ListFound()), (std::vector<std::string>{".hidden", "notes.txt", "sub"}));
    EXPECT_TRUE(paths.empty());
    EXPECT_EQ(disk.FoundFilesNames().size(), 4u);

    EXPECT_EQ(disk.SearchFolders(start, true, "*", "notes*"), 3);
    EXPECT_EQ(
        Hits(disk.ListFound()),
        (std::vector<std::string>{Root() + "/.hidden/", Root() + "/sub/", Root() + "/sub/deep/"}));
    EXPECT_EQ(Sorted(paths), Hits(disk.ListFound()));
}

TEST_F(cDiskTest, MissingStartFolderFindsNothing)
{
    int events = 0;
    disk.PathChange = [&](std::string&) { ++events; };
    std::string start = Root() + "/missing";
    EXPECT_EQ(disk.SearchFiles(start, true, "*"), 0);
    EXPECT_EQ(disk.SearchFolders(start, true, "*"), 0);
    EXPECT_EQ(events, 0);
}

TEST_F(cDiskTest, LinkLoopsEnd)
{
    fs::create_directory_symlink(tmp.path(), tmp.path() / "sub" / "loop");
    fs::create_directory_symlink(tmp.path() / "sub", tmp.path() / "sub" / "deep" / "up");
    std::string start = Root();
    EXPECT_EQ(disk.CountFiles(start, true, "*"), 7);
    EXPECT_EQ(disk.SearchFolders(start, true, "*"), 4) << "links neither listed nor walked";
}

TEST_F(cDiskTest, LinksAreNeitherFollowedNorReported)
{
    TempDir outside;
    testsupport::writeAll(outside.file("secret.txt"), std::string(1000, 's'));
    fs::create_directory_symlink(outside.path(), tmp.path() / "sub" / "away");
    fs::create_symlink(outside.file("secret.txt"), tmp.path() / "big.txt");
    fs::create_symlink(tmp.path() / "gone.txt", tmp.path() / "dangling.txt");
    std::string start = Root();
    EXPECT_EQ(disk.SearchFiles(start, true, "*"), 7);
    EXPECT_EQ(disk.FoundFilesSize(), 10.0 + 99 + 100 + 2 + 5 + 7 + 3);
    EXPECT_EQ(Hits(disk.FoundFilesNames()),
              Sorted({"a.txt", "b.TXT", "c.dat", ".h.txt", "sub/d.txt", "sub/deep/e.txt",
                      "notes.txt/f.txt"}));
    EXPECT_EQ(disk.SearchFolders(start, true, "*"), 4);
}

TEST_F(cDiskTest, UnreadableFoldersAreSkipped)
{
    std::string start = Root();
    if (geteuid() == 0) {
        GTEST_SKIP() << "permissions do not bind the superuser";
    }
    fs::permissions(tmp.path() / "sub", fs::perms::owner_all, fs::perm_options::remove);
    EXPECT_EQ(disk.CountFiles(start, true, "*"), 5);
    fs::permissions(tmp.path() / "sub", fs::perms::owner_all, fs::perm_options::add);
}

TEST_F(cDiskTest, FileInformationPassesThrough)
{
    const std::string file = tmp.file("a.txt");
    EXPECT_EQ(disk.GetFileDate(file, 1), NUX_STD_library::GetFileDate(file, 1));
    EXPECT_EQ(disk.GetFileVersion(file), NUX_STD_library::GetFileVersion(file));
    EXPECT_EQ(disk.GetFileType(file), NUX_STD_library::GetFileTypeName(file));
    EXPECT_EQ(disk.GetFileInfo(file, 2), NUX_STD_library::GetFileVersionString(file, 2));
}

TEST_F(cDiskTest, FolderGoneBeforeItsWalkContributesNothing)
{
    disk.PathChange = [&](std::string& p) {
        if (p == Root() + "/sub/") {
            fs::remove_all(p);
        }
    };
    std::string start = Root();
    EXPECT_EQ(disk.CountFiles(start, true, "*"), 5);
}

TEST(cDiskLarge, FilesOfFourGigabytesAndMore)
{
    TempDir tmp;
    const std::uintmax_t big = 5'000'000'000ULL;
    testsupport::writeAll(tmp.file("big.bin"), "");
    std::error_code ec;
    fs::resize_file(tmp.path() / "big.bin", big, ec);
    if (ec) {
        GTEST_SKIP() << "no sparse files here";
    }
    testsupport::writeAll(tmp.file("small.bin"), "abc");
    cDisk disk;
    std::string start = tmp.path().string();
    EXPECT_EQ(disk.SearchFiles(start, false, "*.bin"), 2);
    EXPECT_DOUBLE_EQ(disk.FoundFilesSize(), static_cast<double>(big) + 3);
    EXPECT_EQ(disk.CountFiles(start, false, "*", "", cFixed::fromWhole(4'000'000'000LL)), 1);
    EXPECT_EQ(disk.CountFiles(start, false, "*", "", cFixed(), cFixed(3)), 1);
}
