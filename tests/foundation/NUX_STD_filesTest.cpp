// Folder texts, folder creation, existence tests, whole-file reads and atomic writes, file
// times and sizes and the time-stamp names.
#include "foundation/NUX_STD_files.h"

#include "foundation/cError.h"
#include "support/TestSupport.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace NUX_STD_library;
using testsupport::AsUser;
using testsupport::Names;
using testsupport::TempDir;

TEST(NUX_STD_files, PathTexts)
{
    EXPECT_EQ(AddBackslash(""), "/");
    EXPECT_EQ(AddBackslash("/data/zorv"), "/data/zorv/");
    EXPECT_EQ(AddBackslash("/data/zorv/"), "/data/zorv/");
    EXPECT_EQ(AddBackslash("rel"), "rel/");

    EXPECT_EQ(GetFileExtension("archive.tar.gz"), "gz");
    EXPECT_EQ(GetFileExtension("file."), "");
    EXPECT_EQ(GetFileExtension("/dir.x/file"), "");
    EXPECT_EQ(GetFileExtension("noext"), "");

    EXPECT_EQ(SafeFileName(" a:b;c "), "a_b_c");
    EXPECT_EQ(SafeFileName("*;\\/:?|><\"x. y"), "__________x. y");
}

TEST(NUX_STD_files, SplitPathAssignsOnlyThePartsPresent)
{
    std::string folder = "keep", base, ext = "keep";
    SplitPath("/dir/file.ext", folder, base, ext);
    EXPECT_EQ(folder, "/dir/");
    EXPECT_EQ(base, "file");
    EXPECT_EQ(ext, ".ext");

    folder = "keep", ext = "keep";
    SplitPath("/dir.x/file", folder, base, ext);
    EXPECT_EQ(folder, "/dir.x/");
    EXPECT_EQ(base, "file");
    EXPECT_EQ(ext, "keep");

    folder = "keep";
    SplitPath("file.txt", folder, base, ext);
    EXPECT_EQ(folder, "keep");
    EXPECT_EQ(base, "file.txt");
    EXPECT_EQ(ext, "keep");
}

TEST(NUX_STD_files, FolderAndFileExistence)
{
    TempDir t;
    testsupport::writeAll(t.file("f.txt"), "x");
    const auto cwd = fs::current_path();
    long err = -1;
    EXPECT_TRUE(FolderExists(t.dir(), err));
    EXPECT_EQ(err, 0);
    EXPECT_TRUE(FolderExists("/", err));
    EXPECT_FALSE(FolderExists(t.file("missing"), err));
    EXPECT_EQ(err, 76);
    EXPECT_FALSE(FolderExists(t.file("f.txt"), err));
    EXPECT_NE(err, 0);
    err = 123;
    EXPECT_FALSE(FolderExists("   ", err));
    EXPECT_EQ(err, 123);
    EXPECT_EQ(fs::current_path(), cwd);

    EXPECT_TRUE(FileExists(t.file("f.txt"), err));
    EXPECT_EQ(err, 0);
    EXPECT_FALSE(FileExists(t.dir(), err));
    EXPECT_EQ(err, 75);
    EXPECT_FALSE(FileExists(t.file("missing"), err));
    EXPECT_EQ(err, 53);
}

TEST(NUX_STD_files, MakePathAndEnsureFolder)
{
    TempDir t;
    std::string p = t.file("a/b");
    MakePath(p);
    EXPECT_EQ(p, t.file("a/b") + "/");
    EXPECT_TRUE(fs::is_directory(t.path() / "a" / "b"));
    MakePath(p); // everything there already: nothing to do, nothing raised
    std::string empty;
    MakePath(empty);
    EXPECT_EQ(empty, "");

    testsupport::writeAll(t.file("blocker"), "x");
    std::string blocked = t.file("blocker/sub");
    try {
        MakePath(blocked);
        ADD_FAILURE() << "a file in the way must raise";
    } catch (const cError& e) {
        EXPECT_NE(e.Number(), 0);
        EXPECT_EQ(e.Source(), "MakePath");
    }

    EXPECT_EQ(zvLib::EnsureFolder(t.dir(), "x/y"), t.dir() + "x/y/");
    EXPECT_TRUE(fs::is_directory(t.path() / "x" / "y"));
    EXPECT_EQ(zvLib::EnsureFolder(t.path().string(), "x"), t.dir() + "x/");
    EXPECT_EQ(zvLib::EnsureFolder(t.path().string(), "blocker/sub"), t.dir());
}

TEST(NUX_STD_files, ReadFileTextMissingAndFailures)
{
    TempDir t;
    EXPECT_EQ(ReadFileText(t.file("missing.dxf")), "");
    EXPECT_FALSE(fs::exists(t.path() / "missing.dxf"));
    auto errorOf = [](const std::string& path) {
        try {
            ReadFileText(path);
        } catch (const cError& e) {
            return e.Number();
        }
        return 0L;
    };
    EXPECT_EQ(errorOf(t.file("nofolder/x")), 76);
    EXPECT_EQ(errorOf(""), 75);
    EXPECT_EQ(errorOf(t.dir()), 75);
}

TEST(NUX_STD_files, WriteAndReadKeepEveryByte)
{
    TempDir t;
    std::string bytes;
    for (int i = 0; i < 256; ++i) {
        bytes += static_cast<char>(i);
    }
    ASSERT_TRUE(WriteFileText(t.file("all.bin"), bytes + bytes));
    ASSERT_TRUE(WriteFileText(t.file("all.bin"), bytes)); // a shorter text replaces it whole
    EXPECT_EQ(ReadFileText(t.file("all.bin")), bytes);
    EXPECT_EQ(Names(t.path()), std::vector<std::string>{"all.bin"});
    EXPECT_EQ(GetFileSize64(t.file("all.bin")), cFixed(256));
}

TEST(NUX_STD_files, WriteFailuresLeaveTheOldFile)
{
    TempDir t;
    const std::string ro = t.file("ro.txt");
    testsupport::writeAll(ro, "old");
    chmod(ro.c_str(), 0444);
    EXPECT_FALSE(WriteFileText(ro, "new"));
    EXPECT_EQ(testsupport::readAll(ro), "old");

    fs::create_directory(t.path() / "dir");
    EXPECT_FALSE(WriteFileText(t.file("dir"), "new"));
    EXPECT_TRUE(fs::is_directory(t.path() / "dir"));
    EXPECT_FALSE(WriteFileText(t.file("nofolder/x.txt"), "new"));
    EXPECT_FALSE(WriteFileText("", "new"));
    EXPECT_EQ(Names(t.path()), (std::vector<std::string>{"dir", "ro.txt"}));
}

TEST(NUX_STD_files, WriteKeepsModeAndSymbolicLink)
{
    TempDir t;
    const std::string real = t.file("real.txt");
    testsupport::writeAll(real, "old");
    chmod(real.c_str(), 0640);
    fs::create_symlink(real, t.path() / "link.txt");
    ASSERT_TRUE(WriteFileText(t.file("link.txt"), "new"));
    EXPECT_TRUE(fs::is_symlink(t.path() / "link.txt"));
    EXPECT_EQ(testsupport::readAll(real), "new");
    struct stat st {};
    ASSERT_EQ(stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(NUX_STD_files, WriteReplacesALinkAnotherUserPlantedInASharedFolder)
{
    if (geteuid() != 0) {
        GTEST_SKIP() << "planting a link as another user needs root";
    }
    // A folder everybody may write, sticky as /tmp, with a link another user put there.
    constexpr uid_t kOther = 54321;
    TempDir t;
    const std::string victim = t.file("important.txt");
    testsupport::writeAll(victim, "mine");
    const fs::path shared = t.path() / "shared";
    fs::create_directory(shared);
    ASSERT_EQ(chmod(shared.c_str(), 01777), 0);
    const fs::path planted = shared / "report.csv";
    fs::create_symlink(victim, planted);
    ASSERT_EQ(lchown(planted.c_str(), kOther, kOther), 0);

    // The link itself gives way to the new file; the file it points at stays as it was.
    EXPECT_TRUE(WriteFileText(planted.string(), "saved"));
    EXPECT_EQ(testsupport::readAll(victim), "mine");
    EXPECT_FALSE(fs::is_symlink(planted));
    EXPECT_EQ(testsupport::readAll(planted.string()), "saved");
    // A planted link to a folder of ours is not followed on the way to the file either.
    const fs::path folderLink = shared / "project";
    fs::create_directory_symlink(t.path(), folderLink);
    ASSERT_EQ(lchown(folderLink.c_str(), kOther, kOther), 0);
    EXPECT_FALSE(WriteFileText((folderLink / "important.txt").string(), "overwritten"));
    EXPECT_EQ(testsupport::readAll(victim), "mine");
    EXPECT_EQ(Names(shared), (std::vector<std::string>{"project", "report.csv"}));
}

TEST(NUX_STD_files, WriteNeverGoesThroughALinkOfAnotherUser)
{
    if (geteuid() != 0) {
        GTEST_SKIP() << "making a link of another user needs root";
    }
    constexpr uid_t kOther = 12345;
    TempDir t;
    const std::string mine = t.file("mine.zv6");
    testsupport::writeAll(mine, "mine");
    // A folder anybody may write without the sticky bit, and a sticky one of the other user.
    const fs::path open = t.path() / "open";
    const fs::path theirs = t.path() / "theirs";
    fs::create_directory(open);
    fs::create_directory(theirs);
    ASSERT_EQ(chmod(open.c_str(), 0777), 0);
    ASSERT_EQ(chown(theirs.c_str(), kOther, kOther), 0);
    ASSERT_EQ(chmod(theirs.c_str(), 01777), 0);
    for (const fs::path& folder : {open, theirs}) {
        const fs::path link = folder / "circuit.zv6";
        fs::create_symlink(mine, link);
        ASSERT_EQ(lchown(link.c_str(), kOther, kOther), 0);
        EXPECT_TRUE(WriteFileText(link.string(), "saved")) << folder;
        EXPECT_EQ(testsupport::readAll(mine), "mine") << folder;
        EXPECT_FALSE(fs::is_symlink(link)) << folder;
        EXPECT_EQ(testsupport::readAll(link.string()), "saved") << folder;
    }
}

TEST(NUX_STD_files, WriteOverAnotherUsersFileKeepsItsOwnerButNoSetIdBit)
{
    if (geteuid() != 0) {
        GTEST_SKIP() << "making a file of another user needs root";
    }
    constexpr uid_t kOther = 12345;
    TempDir t;
    const fs::path shared = t.path() / "shared";
    fs::create_directory(shared);
    ASSERT_EQ(chmod(shared.c_str(), 01777), 0);
    const std::string theirs = (shared / "r.zv6").string();
    testsupport::writeAll(theirs, "theirs");
    ASSERT_EQ(chown(theirs.c_str(), kOther, kOther), 0);
    ASSERT_EQ(chmod(theirs.c_str(), 06777), 0);

    const mode_t mask = umask(022);
    const bool written = WriteFileText(theirs, "mine");
    umask(mask);
    ASSERT_TRUE(written);
    struct stat st {};
    ASSERT_EQ(lstat(theirs.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0777u);
    EXPECT_EQ(st.st_uid, kOther);
    EXPECT_EQ(testsupport::readAll(theirs), "mine");
}

TEST(NUX_STD_files, ATeamMatesSaveLeavesTheFileToItsOwnerAndTeam)
{
    if (geteuid() != 0) {
        GTEST_SKIP() << "a team of other users needs root";
    }
    constexpr uid_t kOwner = 23401;
    constexpr uid_t kMate = 23402;
    constexpr gid_t kTeam = 23400;
    TempDir t;
    ASSERT_EQ(chmod(t.path().c_str(), 0755), 0);
    const fs::path folder = t.path() / "team";
    fs::create_directory(folder);
    ASSERT_EQ(chown(folder.c_str(), kOwner, kTeam), 0);
    ASSERT_EQ(chmod(folder.c_str(), 02775), 0);
    const std::string file = (folder / "c.zv6").string();
    testsupport::writeAll(file, "owner");
    ASSERT_EQ(chown(file.c_str(), kOwner, kTeam), 0);
    ASSERT_EQ(chmod(file.c_str(), 0664), 0);

    // A team mate saves the owner's file; the file stays the team's and its owner saves again.
    EXPECT_TRUE(AsUser(kMate, {kTeam}, [&] { return WriteFileText(file, "mate"); }));
    struct stat st {};
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_gid, kTeam);
    EXPECT_EQ(st.st_mode & 07777, 0664u);
    EXPECT_TRUE(AsUser(kOwner, {kTeam}, [&] { return WriteFileText(file, "owner again"); }));
    EXPECT_EQ(testsupport::readAll(file), "owner again");

    // A user's file saved by root stays the user's.
    const fs::path home = t.path() / "home";
    fs::create_directory(home);
    ASSERT_EQ(chown(home.c_str(), kOwner, kOwner), 0);
    const std::string users = (home / "u.zv6").string();
    testsupport::writeAll(users, "user");
    ASSERT_EQ(chown(users.c_str(), kOwner, kOwner), 0);
    ASSERT_EQ(chmod(users.c_str(), 0640), 0);
    ASSERT_TRUE(WriteFileText(users, "root"));
    ASSERT_EQ(stat(users.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, kOwner);
    EXPECT_EQ(st.st_gid, kOwner);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_TRUE(AsUser(kOwner, {}, [&] { return WriteFileText(users, "user again"); }));
}

TEST(NUX_STD_files, ASaveRacingAFolderSwapNeverLandsOutsideTheNamedFolder)
{
    if (geteuid() != 0) {
        GTEST_SKIP() << "a link of another user needs root";
    }
    constexpr uid_t kOther = 23456;
    TempDir t;
    // A folder of ours holding a file of the same name, which no save may reach.
    const fs::path mine = t.path() / "mine";
    fs::create_directory(mine);
    testsupport::writeAll((mine / "c.zv6").string(), "precious");
    // We save into "sub" of the other user's open folder, while they keep swapping "sub" and
    // a link of theirs to our folder.
    const fs::path open = t.path() / "open";
    fs::create_directory(open);
    ASSERT_EQ(chown(open.c_str(), kOther, kOther), 0);
    ASSERT_EQ(chmod(open.c_str(), 0777), 0);
    fs::create_directory(open / "sub");
    fs::create_directory_symlink(mine, open / "lure");
    ASSERT_EQ(lchown((open / "lure").c_str(), kOther, kOther), 0);
    std::atomic<bool> stop{false};
    std::thread swapper([&] {
        const int folder = ::open(open.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        while (!stop) {
            renameat2(folder, "sub", folder, "lure", RENAME_EXCHANGE);
            std::this_thread::sleep_for(std::chrono::microseconds(20));
        }
        close(folder);
    });
    int saved = 0;
    for (int i = 0; i < 1000; ++i) {
        saved += WriteFileText((open / "sub" / "c.zv6").string(), "saved") ? 1 : 0;
    }
    stop = true;
    swapper.join();
    EXPECT_EQ(testsupport::readAll((mine / "c.zv6").string()), "precious");
    EXPECT_EQ(Names(mine), std::vector<std::string>{"c.zv6"});
    const fs::path real = fs::is_symlink(open / "sub") ? open / "lure" : open / "sub";
    EXPECT_EQ(Names(real), std::vector<std::string>{"c.zv6"}) << saved << " saves went through";
}

TEST(NUX_STD_files, TheHiddenFileOfASaveIsPrivateWhileItIsWritten)
{
    TempDir t;
    const std::string file = t.file("c.zv6");
    testsupport::writeAll(file, "old");
    ASSERT_EQ(chmod(file.c_str(), 0600), 0);
    const int watch = inotify_init1(IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, t.path().c_str(), IN_CREATE), 0);
    // The first file made in the folder is looked at as soon as it is there.
    mode_t seen = 0;
    bool looked = false;
    std::thread watcher([&] {
        alignas(inotify_event) char events[4096];
        if (read(watch, events, sizeof events) > 0) {
            const auto* event = reinterpret_cast<const inotify_event*>(events);
            struct stat st {};
            looked = event->len > 0 && lstat(t.file(event->name).c_str(), &st) == 0;
            seen = st.st_mode;
        }
    });
    const mode_t mask = umask(022);
    const bool written = WriteFileText(file, std::string(std::size_t(64) << 20, 'x'));
    umask(mask);
    watcher.join();
    close(watch);
    ASSERT_TRUE(written);
    ASSERT_TRUE(looked) << "the hidden file was gone before it could be looked at";
    EXPECT_EQ(seen & 077, 0u);
}

TEST(NUX_STD_files, ANamedPipeIsNeverOpened)
{
    TempDir t;
    const std::string pipe = t.file("p.zv6");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    // A writer waits until anybody opens the pipe for reading.
    std::atomic<bool> opened{false};
    std::thread writer([&] {
        const int fd = open(pipe.c_str(), O_WRONLY | O_CLOEXEC);
        opened = true;
        if (fd >= 0) {
            close(fd);
        }
    });
    long err = 0;
    EXPECT_FALSE(FileExists(pipe, err));
    EXPECT_EQ(err, 75);
    EXPECT_EQ(GetFileSize64(pipe), cFixed(0));
    GetFileDate(pipe, 1);
    std::string bytes;
    ReadFault fault = ReadFault::None;
    EXPECT_FALSE(ReadFileBytes(pipe, kMaxReadBytes, bytes, fault));
    EXPECT_EQ(fault, ReadFault::NotRegular);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(opened) << "the pipe was opened";
    const int reader = open(pipe.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    writer.join();
    close(reader);
}

// A save by a name the system's own lookup leads to a pipe: whether named through the
// descriptor's link under /proc, through /dev/fd or through a link of the user's own to it.
TEST(NUX_STD_files, ASaveThroughADescriptorsLinkToAPipeIsRefusedAsNoFile)
{
    TempDir t;
    int ends[2];
    ASSERT_EQ(pipe2(ends, O_CLOEXEC), 0);
    const std::string n = std::to_string(ends[1]);
    const std::string own = t.file("out.zv6");
    fs::create_symlink("/proc/self/fd/" + n, own);
    for (const std::string& path : {own, "/proc/self/fd/" + n, "/dev/fd/" + n}) {
        EXPECT_FALSE(WriteFileText(path, "circuit")) << path;
        EXPECT_EQ(LastWriteFailure().cause, WriteCause::NotRegular) << path;
    }
    EXPECT_TRUE(fs::is_symlink(own)) << "the link was replaced";
    EXPECT_EQ(Names(t.path()), std::vector<std::string>{"out.zv6"});
    close(ends[0]);
    close(ends[1]);
}

TEST(NUX_STD_files, AnOwnLinkToAMissingFileMakesTheFileWhereItPointsAndStays)
{
    TempDir t;
    fs::create_directory(t.path() / "usb");
    fs::create_directory(t.path() / "home");
    const fs::path link = t.path() / "home" / "current.zv6";
    fs::create_symlink("../usb/current.zv6", link);
    ASSERT_TRUE(WriteFileText(link.string(), "saved"));
    EXPECT_TRUE(fs::is_symlink(link)) << "the link became a file";
    EXPECT_EQ(testsupport::readAll(t.file("usb/current.zv6")), "saved");
    // A folder named in the link's text is missing: nothing is made, the link stays.
    const fs::path lost = t.path() / "home" / "lost.zv6";
    fs::create_symlink("../nofolder/lost.zv6", lost);
    EXPECT_FALSE(WriteFileText(lost.string(), "saved"));
    EXPECT_EQ(LastWriteFailure().error, ENOENT);
    EXPECT_TRUE(fs::is_symlink(lost));
    EXPECT_EQ(Names(t.path() / "home"), (std::vector<std::string>{"current.zv6", "lost.zv6"}));
    EXPECT_EQ(Names(t.path()), (std::vector<std::string>{"home", "usb"}));
}

TEST(NUX_STD_files, ANameFollowedBySlashOrSlashDotMustBeAFolder)
{
    TempDir t;
    fs::create_directory(t.path() / "dir");
    fs::create_directory(t.path() / "real");
    testsupport::writeAll(t.file("dir/file.zv6"), "old");
    testsupport::writeAll(t.file("real/target.zv6"), "old");
    fs::create_symlink("real/target.zv6/", t.path() / "l");
    EXPECT_FALSE(WriteFileText(t.file("dir/file.zv6/."), "new"));
    EXPECT_EQ(LastWriteFailure().error, ENOTDIR);
    EXPECT_FALSE(WriteFileText(t.file("l"), "new"));
    EXPECT_EQ(LastWriteFailure().error, ENOTDIR);
    EXPECT_FALSE(WriteFileText(t.file("dir/nodir/."), "new"));
    EXPECT_FALSE(WriteFileText(t.file("dir/."), "new"));
    EXPECT_EQ(testsupport::readAll(t.file("dir/file.zv6")), "old");
    EXPECT_EQ(testsupport::readAll(t.file("real/target.zv6")), "old");
    EXPECT_EQ(Names(t.path() / "dir"), std::vector<std::string>{"file.zv6"});
    // A link to a folder may end with "/", and "." and ".." apply to the folder reached.
    fs::create_directory(t.path() / "real" / "sub");
    fs::create_symlink("real/sub/", t.path() / "ldir");
    ASSERT_TRUE(WriteFileText(t.file("ldir/./../target.zv6"), "through"));
    EXPECT_EQ(testsupport::readAll(t.file("real/target.zv6")), "through");
    EXPECT_EQ(Names(t.path()), (std::vector<std::string>{"dir", "l", "ldir", "real"}));
}

TEST(NUX_STD_files, APathLongerThanTheSystemTakesIsNotSaved)
{
    TempDir t;
    // 21 folders of 200 bytes, each made from its parent's descriptor (and so removed again).
    std::string path = t.path().string();
    std::vector<int> levels{open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC)};
    const std::string part(200, 'f');
    for (int i = 0; i < 21; ++i) {
        ASSERT_EQ(mkdirat(levels.back(), part.c_str(), 0700), 0);
        levels.push_back(openat(levels.back(), part.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
        path += "/" + part;
    }
    ASSERT_GT(path.size(), std::size_t(PATH_MAX));
    EXPECT_FALSE(WriteFileText(path + "/c.zv6", "circuit"));
    EXPECT_EQ(LastWriteFailure().error, ENAMETOOLONG);
    EXPECT_NE(faccessat(levels.back(), "c.zv6", F_OK, 0), 0) << "saved, but cannot be opened";
    unlinkat(levels.back(), "c.zv6", 0);
    for (std::size_t i = levels.size() - 1; i > 0; --i) {
        close(levels[i]);
        unlinkat(levels[i - 1], part.c_str(), AT_REMOVEDIR);
    }
    close(levels[0]);
    // One name part longer than a name may be.
    EXPECT_FALSE(WriteFileText(t.file(std::string(300, 'a') + ".zv6"), "circuit"));
    EXPECT_EQ(LastWriteFailure().error, ENAMETOOLONG);
}

// A descriptor's link under /proc is read whole, however long the path of the file or folder
// it holds: the system gives 64 as the size of every such link, whatever its text.
TEST(NUX_STD_files, ADescriptorsLinkLeadsToItsFileWhateverTheLengthOfThePath)
{
    TempDir t;
    const std::string part(200, 'd');
    for (const std::size_t length : {std::size_t(100), std::size_t(1000), std::size_t(4000)}) {
        std::string folder = t.path().string() + "/l" + std::to_string(length);
        while (length - folder.size() - 1 > 250) {
            folder += "/" + part;
        }
        fs::create_directories(folder);
        const std::string file = folder + "/" + std::string(length - folder.size() - 5, 'n') +
                                 ".zv6";
        ASSERT_EQ(file.size(), length);
        // Through /proc, through /dev/fd and through a link of the user's own to the first;
        // each save replaces the file, so the descriptor is opened anew for each.
        const std::string own = t.file("own.zv6");
        for (const char* prefix : {"/proc/self/fd/", "/dev/fd/", ""}) {
            testsupport::writeAll(file, "old");
            const int fd = open(file.c_str(), O_WRONLY | O_CLOEXEC);
            ASSERT_GE(fd, 0);
            fs::remove(own);
            fs::create_symlink("/proc/self/fd/" + std::to_string(fd), own);
            const std::string path = *prefix == '\0' ? own : prefix + std::to_string(fd);
            EXPECT_TRUE(WriteFileText(path, "circuit")) << path << " for a path of " << length;
            EXPECT_EQ(testsupport::readAll(file), "circuit") << path << " for " << length;
            close(fd);
        }
        // A folder's descriptor: the new file is made in that folder.
        const int dir = open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        ASSERT_GE(dir, 0);
        const std::string n = std::to_string(dir);
        EXPECT_TRUE(WriteFileText("/proc/self/fd/" + n + "/new.zv6", "made")) << length;
        EXPECT_TRUE(WriteFileText("/dev/fd/" + n + "/new2.zv6", "made")) << length;
        EXPECT_EQ(testsupport::readAll(folder + "/new.zv6"), "made") << length;
        EXPECT_EQ(testsupport::readAll(folder + "/new2.zv6"), "made") << length;
        close(dir);
    }
}

// A descriptor's link holds a file that has no name any more (deleted, or a memory file): its
// text is a description, not a path, and no file is made by it anywhere.
TEST(NUX_STD_files, ASaveThroughTheLinkOfAFileWithoutANameIsRefused)
{
    TempDir t;
    fs::create_directory(t.path() / "del");
    fs::create_directory(t.path() / "links");
    const std::string gone = t.file("del/gone.zv6");
    testsupport::writeAll(gone, "old");
    const int fd = open(gone.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(unlink(gone.c_str()), 0);
    const std::string n = std::to_string(fd);
    const std::string own = t.file("links/own.zv6");
    fs::create_symlink("/proc/self/fd/" + n, own);
    for (const std::string& path : {"/proc/self/fd/" + n, "/dev/fd/" + n, own}) {
        EXPECT_FALSE(WriteFileText(path, "circuit")) << path;
        EXPECT_EQ(LastWriteFailure().cause, WriteCause::Nameless) << path;
    }
    EXPECT_TRUE(Names(t.path() / "del").empty()) << "a file was made by the link's text";
    EXPECT_EQ(Names(t.path() / "links"), std::vector<std::string>{"own.zv6"});
    EXPECT_TRUE(fs::is_symlink(own));
    char held[8] = {};
    EXPECT_EQ(pread(fd, held, sizeof held, 0), 3);
    EXPECT_EQ(std::string(held), "old");

    // Another file now has the name the link's text gives: it is not taken for the one held.
    testsupport::writeAll(gone + " (deleted)", "other");
    EXPECT_FALSE(WriteFileText("/proc/self/fd/" + n, "circuit"));
    EXPECT_EQ(LastWriteFailure().cause, WriteCause::Elsewhere);
    EXPECT_EQ(testsupport::readAll(gone + " (deleted)"), "other");
    close(fd);

    // A file that only ever lived in memory: its text names an entry of the root folder.
    const std::string memName = "zorv-test-" + std::to_string(getpid());
    const int mem = memfd_create(memName.c_str(), MFD_CLOEXEC);
    ASSERT_GE(mem, 0);
    EXPECT_FALSE(WriteFileText("/proc/self/fd/" + std::to_string(mem), "circuit"));
    EXPECT_EQ(LastWriteFailure().cause, WriteCause::Nameless);
    const fs::path stray = "/memfd:" + memName + " (deleted)";
    EXPECT_FALSE(fs::exists(fs::symlink_status(stray))) << "a file was made at " << stray;
    fs::remove(stray);
    close(mem);
}

// A descriptor of a folder that was removed: its link's text names nothing, or another folder
// that took the name, and nothing is made in either.
TEST(NUX_STD_files, ASaveIntoARemovedFoldersDescriptorMakesNothing)
{
    TempDir t;
    const fs::path folder = t.path() / "gonedir";
    fs::create_directory(folder);
    const int dir = open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(dir, 0);
    ASSERT_EQ(rmdir(folder.c_str()), 0);
    const std::string path = "/proc/self/fd/" + std::to_string(dir) + "/new.zv6";
    EXPECT_FALSE(WriteFileText(path, "circuit"));
    fs::create_directory(t.path() / "gonedir (deleted)");
    EXPECT_FALSE(WriteFileText(path, "circuit"));
    EXPECT_EQ(LastWriteFailure().cause, WriteCause::Elsewhere);
    EXPECT_TRUE(Names(t.path() / "gonedir (deleted)").empty());
    close(dir);
}

TEST(NUX_STD_files, WriteBeyondTheFileSizeLimitFailsWithoutEndingTheProgram)
{
    TempDir t;
    const std::string file = t.file("big.zv6");
    testsupport::writeAll(file, "old");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        IgnoreFileSizeSignal();
        const rlimit noCore{0, 0};
        const rlimit small{1024, 1024};
        setrlimit(RLIMIT_CORE, &noCore);
        setrlimit(RLIMIT_FSIZE, &small);
        _exit(WriteFileText(file, std::string(64 * 1024, 'x')) ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the write did not fail";
    EXPECT_EQ(testsupport::readAll(file), "old");
    EXPECT_EQ(Names(t.path()), (std::vector<std::string>{"big.zv6"}));
}

TEST(NUX_STD_files, WriteKeepsTheGroupOfTheFileItReplaces)
{
    // A group other than the user's own that the user may give a file: any group for root,
    // else one of the user's further groups.
    gid_t team = 54321;
    if (geteuid() != 0) {
        std::vector<gid_t> groups(static_cast<std::size_t>(std::max(getgroups(0, nullptr), 0)));
        groups.resize(static_cast<std::size_t>(
            std::max(getgroups(static_cast<int>(groups.size()), groups.data()), 0)));
        const auto other =
            std::find_if(groups.begin(), groups.end(), [](gid_t g) { return g != getegid(); });
        if (other == groups.end()) {
            GTEST_SKIP() << "the user belongs to no second group";
        }
        team = *other;
    }
    TempDir t;
    const std::string shared = t.file("team.zv6");
    testsupport::writeAll(shared, "old");
    ASSERT_EQ(chown(shared.c_str(), static_cast<uid_t>(-1), team), 0);
    ASSERT_EQ(chmod(shared.c_str(), 0664), 0);

    ASSERT_TRUE(WriteFileText(shared, "new"));
    struct stat st {};
    ASSERT_EQ(stat(shared.c_str(), &st), 0);
    EXPECT_EQ(st.st_gid, team);
    EXPECT_EQ(st.st_mode & 07777, 0664u);
    EXPECT_EQ(testsupport::readAll(shared), "new");
}

TEST(NUX_STD_files, FileDatesAndSizes)
{
    TempDir t;
    const std::string f = t.file("d.txt");
    testsupport::writeAll(f, std::string(1000, 'x'));
    // 2001-02-03 04:05:06 UTC is date 36925 plus 14706 seconds; 1999-12-31 00:00 is 36525.
    const timespec times[2] = {{946598400, 0}, {981173106, 999}};
    ASSERT_EQ(utimensat(AT_FDCWD, f.c_str(), times, 0), 0);
    EXPECT_DOUBLE_EQ(GetFileDate(f, 1), 36925.0 + 14706.0 / 86400.0);
    EXPECT_DOUBLE_EQ(GetFileDate(f, 2), 36525.0);
    const double now = static_cast<double>(std::time(nullptr)) / 86400.0 + 25569.0;
    EXPECT_NEAR(GetFileDate(f, 0), now, 1.0);
    EXPECT_DOUBLE_EQ(GetFileDate(f, 3), 2.0);                       // 1900-01-01
    EXPECT_DOUBLE_EQ(GetFileDate(t.file("missing"), 1), -109205.0); // 1601-01-01
    EXPECT_DOUBLE_EQ(GetFileDate(t.dir(), 1), -109205.0);
    EXPECT_EQ(GetFileSize64(f), cFixed(1000));
    EXPECT_EQ(GetFileSize64(t.file("missing")), cFixed(0));
    EXPECT_EQ(GetFileSize64(t.dir()), cFixed(0));
    EXPECT_EQ(GetTempFolder().back(), '/');
}

TEST(NUX_STD_files, TimeStampHex)
{
    EXPECT_EQ(TimeStampHexFromSeconds(36524LL * 86400), "BC17C201"); // 2000-01-01 00:00:00
    EXPECT_EQ(TimeStampHexFromSeconds(4294967294LL), "FFFFFFFF");
    EXPECT_EQ(TimeStampHexFromSeconds(4294967295LL), "");

    // The current stamp counts local seconds since 1900 (25567 days before the Unix epoch).
    const std::time_t now = std::time(nullptr);
    std::tm lt{};
    localtime_r(&now, &lt);
    const long long local1900 = static_cast<long long>(timegm(&lt)) + 25567LL * 86400;
    const std::string stamp = TimeStampHex();
    ASSERT_EQ(stamp.size(), 8u);
    EXPECT_NEAR(static_cast<double>(std::stoll(stamp, nullptr, 16) - 1),
                static_cast<double>(local1900), 5.0);
}
