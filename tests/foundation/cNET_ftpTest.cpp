// Tests of the network client's FTP commands against a server on the loopback address: the
// log-in, the current folder, folders made, files sized, renamed and deleted.
#include "foundation/cDateParts.h"
#include "foundation/cNET.h"
#include "support/TestSupport.h"
#include "support/cLoopbackFtp.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using testsupport::cLoopbackFtp;

namespace {

class cNET_ftp : public ::testing::Test {
  protected:
    cLoopbackFtp server{{{"/home/a.txt", std::string(5000, 'a')}, {"/pub/b.bin", ""}},
                        {"/", "/home", "/pub"}};
    cNET net;
    testsupport::TempDir dir;

    void SetUp() override
    {
        ASSERT_NE(server.port(), 0);
        ASSERT_TRUE(net.iOpen());
    }
    int32_t connect(const std::string& password = cLoopbackFtp::kPassword)
    {
        return net.ftpConnect("127.0.0.1", std::to_string(server.port()), "zorv", password, 0);
    }
};

TEST_F(cNET_ftp, WithoutSessionOrConnectionEverythingFails)
{
    cNET fresh;
    EXPECT_EQ(fresh.ftpConnect("127.0.0.1", std::to_string(server.port()), "u", "p", 0), 0);
    EXPECT_NE(fresh.ErrorNumber(), 0);
    EXPECT_EQ(fresh.ftpFolderGet(), "");
    EXPECT_FALSE(net.ftpFolderCreate("x"));
    EXPECT_NE(net.ErrorNumber(), 0);
    EXPECT_EQ(net.ftpFileSize("a.txt"), -2);
    EXPECT_TRUE(server.log().empty());
}

TEST_F(cNET_ftp, LogsInAndStartsInTheLoginFolder)
{
    ASSERT_EQ(connect(), -1);
    EXPECT_EQ(net.ErrorNumber(), 0);
    EXPECT_EQ(net.ftpFolderGet(), "/home");
    const auto log = server.log();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0], "USER zorv");
    EXPECT_EQ(log[1], std::string("PASS ") + cLoopbackFtp::kPassword);
}

TEST_F(cNET_ftp, RefusedLogInFailsAndForgetsTheConnection)
{
    EXPECT_EQ(connect("wrong"), 0);
    EXPECT_NE(net.ErrorNumber(), 0);
    EXPECT_EQ(net.ftpFolderGet(), "");
    EXPECT_TRUE(net.isConnected()) << "the session stays";
}

TEST_F(cNET_ftp, FolderChangesOnlyToExistingFolders)
{
    ASSERT_EQ(connect(), -1);
    EXPECT_TRUE(net.ftpFolderSet("/pub"));
    EXPECT_EQ(net.ftpFolderGet(), "/pub");
    EXPECT_FALSE(net.ftpFolderSet("nowhere"));
    EXPECT_NE(net.ErrorNumber(), 0);
    EXPECT_EQ(net.ftpFolderGet(), "/pub");
    EXPECT_EQ(net.ftpFileSize("b.bin"), 0) << "relative to the current folder";
}

TEST_F(cNET_ftp, FilesAreSizedRenamedAndDeleted)
{
    ASSERT_EQ(connect(), -1);
    EXPECT_EQ(net.ftpFileSize("a.txt"), 5000);
    EXPECT_EQ(net.ftpFileSize("/pub/none"), -1);
    EXPECT_TRUE(net.ftpFileRename("a.txt", "/pub/c.txt"));
    EXPECT_TRUE(server.hasFile("/pub/c.txt"));
    EXPECT_FALSE(server.hasFile("/home/a.txt"));
    EXPECT_FALSE(net.ftpFileRename("a.txt", "d.txt"));
    EXPECT_TRUE(net.ftpFileDelete("/pub/c.txt"));
    EXPECT_FALSE(server.hasFile("/pub/c.txt"));
    EXPECT_FALSE(net.ftpFileDelete("/pub/c.txt"));
    EXPECT_NE(net.ErrorNumber(), 0);
    const auto log = server.log();
    const auto size = std::find(log.begin(), log.end(), "SIZE /home/a.txt");
    const auto renamed = std::find(log.begin(), log.end(), "RNTO /pub/c.txt");
    ASSERT_NE(size, log.end());
    ASSERT_NE(renamed, log.end());
    EXPECT_EQ(*(renamed - 1), "RNFR /home/a.txt");
    EXPECT_EQ(std::count(size, renamed, "USER zorv"), 0) << "calls share the connection";
}

TEST_F(cNET_ftp, FoldersAreMadeOnce)
{
    ASSERT_EQ(connect(), -1);
    EXPECT_TRUE(net.ftpFolderCreate("maps"));
    EXPECT_TRUE(server.hasFolder("/home/maps"));
    EXPECT_FALSE(net.ftpFolderCreate("/home/maps"));
    net.iClose();
    EXPECT_EQ(net.ftpFolderGet(), "");
    EXPECT_FALSE(net.ftpFolderCreate("more"));
}

TEST_F(cNET_ftp, NamesWithLineBreaksOrNulAreRefusedBeforeAnythingIsSent)
{
    ASSERT_EQ(connect(), -1);
    const std::size_t before = server.log().size();
    const std::string nul("x\0DELE /home/a.txt", 18);
    for (const std::string& bad :
         {std::string("newdir\r\nDELE /home/a.txt"), std::string("newdir\nDELE /home/a.txt"),
          std::string("newdir\rDELE /home/a.txt"), nul}) {
        EXPECT_FALSE(net.ftpFolderCreate(bad));
        EXPECT_NE(net.ErrorNumber(), 0);
        EXPECT_FALSE(net.ftpFolderSet(bad));
        EXPECT_FALSE(net.ftpFileDelete(bad));
        EXPECT_FALSE(net.ftpFileRename("a.txt", bad));
        EXPECT_FALSE(net.ftpFileRename(bad, "b.txt"));
        EXPECT_EQ(net.ftpFileSize(bad), -2);
        EXPECT_EQ(net.ftpFolderGetList(bad).value_or(""), "");
        EXPECT_FALSE(net.ftpFileGet(dir.file("got"), bad, 2));
    }
    EXPECT_TRUE(server.hasFile("/home/a.txt"));
    EXPECT_EQ(server.log().size(), before) << server.log().back();
}

TEST_F(cNET_ftp, PortsOutsideTheRangeAndMissingFoldersAreErrors)
{
    for (const char* port : {"-1", "65536", "70000", "21x", "ftp"}) {
        EXPECT_EQ(net.ftpConnect("127.0.0.1", port, "zorv", cLoopbackFtp::kPassword, 0), 0) << port;
        EXPECT_NE(net.ErrorNumber(), 0) << port;
        EXPECT_NE(net.ErrorDescription().find("port"), std::string::npos) << port;
    }
    EXPECT_TRUE(server.log().empty());
    ASSERT_EQ(connect(), -1);
    EXPECT_EQ(net.ftpFolderGetList("/nowhere"), std::optional<std::string>(""));
    EXPECT_NE(net.ErrorNumber(), 0);
}

TEST_F(cNET_ftp, PortZeroIsTheDefaultPortAsAnEmptyTextIs)
{
    net.ftpStallSeconds = 2;
    const int32_t byEmpty = net.ftpConnect("127.0.0.1", "", "zorv", cLoopbackFtp::kPassword, 0);
    const int32_t emptyError = net.ErrorNumber();
    EXPECT_EQ(net.ftpConnect("127.0.0.1", "0", "zorv", cLoopbackFtp::kPassword, 0), byEmpty);
    EXPECT_EQ(net.ErrorNumber(), emptyError);
    EXPECT_EQ(net.ErrorDescription().find("port"), std::string::npos);
}

} // namespace

namespace {

class cNET_ftpFiles : public cNET_ftp {
  protected:
    std::vector<std::vector<int64_t>> transfers;

    void SetUp() override
    {
        cNET_ftp::SetUp();
        ASSERT_EQ(connect(), -1);
        net.ftpTransfer = [this](int64_t& moved, int64_t& total, float& rate) {
            transfers.push_back({moved, total, rate >= 0 ? 0 : -1});
        };
    }
    // Uploads bytes of that length and gives the (moved, total) pairs reported.
    std::vector<std::vector<int64_t>> upload(size_t length, const std::string& remote)
    {
        transfers.clear();
        std::string local = dir.file("up.bin");
        testsupport::writeAll(local, std::string(length, 'u'));
        std::string target = " " + remote + " ";
        EXPECT_TRUE(net.ftpFileUpload(local, target, 2));
        EXPECT_EQ(target, remote);
        return transfers;
    }
};

TEST_F(cNET_ftpFiles, UploadReportsEveryBlockAndTheEnd)
{
    using V = std::vector<std::vector<int64_t>>;
    EXPECT_EQ(upload(5000, "/pub/u1"), (V{{2048, 5000, 0}, {4096, 5000, 0}, {5000, 5000, 0}}));
    EXPECT_EQ(server.content("/pub/u1"), std::string(5000, 'u'));
    EXPECT_EQ(upload(4096, "u2"), (V{{2048, 4096, 0}, {4096, 4096, 0}, {4096, 4096, 0}}));
    EXPECT_EQ(server.content("/home/u2").size(), 4096u);
    std::string none;
    std::string remote = "x";
    EXPECT_FALSE(net.ftpFileUpload(none, remote, 2));
    EXPECT_TRUE(net.ftpFilePut(dir.file("up.bin"), "/pub/u3", 2));
    EXPECT_TRUE(server.hasFile("/pub/u3"));
}

TEST_F(cNET_ftpFiles, DownloadReportsBlocksAndWritesTheWholeFile)
{
    const std::string local = dir.file("down.txt");
    testsupport::writeAll(local, std::string(9000, 'o'));
    ASSERT_TRUE(net.ftpFileDownload(local, "a.txt", 2));
    EXPECT_EQ(testsupport::readAll(local), std::string(5000, 'a')) << "no old bytes remain";
    using V = std::vector<std::vector<int64_t>>;
    EXPECT_EQ(transfers, (V{{2048, 5000, 0}, {4096, 5000, 0}, {5000, 5000, 0}}));

    transfers.clear();
    const std::string empty = dir.file("empty.bin");
    ASSERT_TRUE(net.ftpFileDownload(empty, "/pub/b.bin", 2));
    EXPECT_EQ(transfers, (V{{0, 0, 0}}));
    EXPECT_TRUE(std::filesystem::exists(empty));
    EXPECT_EQ(testsupport::readAll(empty), "");

    EXPECT_FALSE(net.ftpFileDownload(dir.file("no.txt"), "/pub/none", 2));
    EXPECT_FALSE(std::filesystem::exists(dir.file("no.txt")));
    EXPECT_TRUE(net.ftpFileGet(dir.file("get.txt"), "/home/a.txt", 2));
    EXPECT_EQ(testsupport::readAll(dir.file("get.txt")).size(), 5000u);
}

TEST_F(cNET_ftpFiles, SizesBeyondTwoGigabytesStayWhole)
{
    constexpr int64_t kBig = 3221225472LL;
    server.declareSize("/home/a.txt", kBig);
    EXPECT_EQ(net.ftpFileSize("a.txt"), kBig);
    // The server sends less than it declares, so the download starts and ends short.
    EXPECT_FALSE(net.ftpFileDownload(dir.file("big.txt"), "a.txt", 2));
    ASSERT_FALSE(transfers.empty()) << "the download was not even tried";
    EXPECT_EQ(transfers.front(), (std::vector<int64_t>{2048, kBig, 0}));
}

TEST_F(cNET_ftpFiles, AStalledDownloadEndsWithAnError)
{
    server.stallDownload("/home/a.txt", 20000);
    net.ftpStallSeconds = 1;
    const std::string local = dir.file("stalled.txt");
    EXPECT_FALSE(net.ftpFileGet(local, "a.txt", 2));
    EXPECT_NE(net.ErrorNumber(), 0);
    EXPECT_FALSE(std::filesystem::exists(local)) << "nothing half-written is left";
}

TEST_F(cNET_ftpFiles, ADownloadFollowsOnlyTheLinksASaveFollows)
{
    namespace fs = std::filesystem;
    // The user's own link stays, and the file it points at is written.
    const std::string real = dir.file("real.txt");
    testsupport::writeAll(real, "old");
    fs::create_symlink(real, dir.path() / "mine.txt");
    ASSERT_TRUE(net.ftpFileGet(dir.file("mine.txt"), "a.txt", 2));
    EXPECT_TRUE(fs::is_symlink(dir.path() / "mine.txt"));
    EXPECT_EQ(testsupport::readAll(real).size(), 5000u);
    if (geteuid() != 0) {
        GTEST_SKIP() << "a link of another user needs root";
    }
    // Another user's link to a folder of ours is never followed on the way.
    const fs::path ours = dir.path() / "ours";
    fs::create_directory(ours);
    fs::create_directory_symlink(ours, dir.path() / "theirs");
    ASSERT_EQ(lchown((dir.path() / "theirs").c_str(), 12345, 12345), 0);
    EXPECT_FALSE(net.ftpFileGet(dir.file("theirs/got.txt"), "a.txt", 2));
    EXPECT_TRUE(fs::is_empty(ours));
}

TEST_F(cNET_ftpFiles, ANewDownloadedFileIsMadeUnderTheUmask)
{
    const std::string local = dir.file("new.txt");
    const mode_t old = umask(027);
    const bool got = net.ftpFileGet(local, "a.txt", 2);
    umask(old);
    ASSERT_TRUE(got);
    struct stat st {};
    ASSERT_EQ(stat(local.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(cNET_ftpFiles, ADownloadOntoAnotherUsersLinkTakesNoSetIdBit)
{
    if (geteuid() != 0) {
        GTEST_SKIP() << "a link of another user needs root";
    }
    // A set-user-id program of ours, and a link to it that another user left.
    const std::string program = dir.file("program");
    testsupport::writeAll(program, "program");
    ASSERT_EQ(chmod(program.c_str(), 04755), 0);
    const std::string local = dir.file("down.bin");
    std::filesystem::create_symlink(program, local);
    ASSERT_EQ(lchown(local.c_str(), 12345, 12345), 0);

    const mode_t old = umask(022);
    const bool got = net.ftpFileGet(local, "a.txt", 2);
    umask(old);
    ASSERT_TRUE(got);
    struct stat st {};
    ASSERT_EQ(lstat(local.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);
    EXPECT_EQ(testsupport::readAll(program), "program");
}

TEST_F(cNET_ftpFiles, ListingsAreBoundedInSizeAndTime)
{
    // An eighth more than the limit, even without the line ends' CRs an ASCII listing drops.
    server.feedListing("/pub", cNET::kListingBytes / 8 * 9, 65536, 0);
    EXPECT_FALSE(net.ftpFolderGetList("/pub").has_value()) << "a flood beyond the limit is cut";
    EXPECT_NE(net.ErrorNumber(), 0);

    ASSERT_EQ(connect(), -1);
    server.feedListing("/pub", 10, 1, 500); // two bytes a second: never a stall
    net.ftpListingSeconds = 1;
    const auto start = std::chrono::steady_clock::now();
    net.ftpFolderGetList("/pub");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(3000));
    EXPECT_NE(net.ErrorNumber(), 0) << "a trickle is cut in time";
}

TEST_F(cNET_ftpFiles, ListingsNameEveryEntryInFull)
{
    std::vector<std::string> found;
    std::vector<int32_t> kinds;
    net.ftpObjectFound = [&](std::string& full, std::string& name, int32_t& attributes) {
        found.push_back(full + "|" + name);
        kinds.push_back(attributes);
    };
    EXPECT_EQ(net.ftpFolderGetList("/pub"), std::optional<std::string>("/pub/b.bin"));
    EXPECT_EQ(found, std::vector<std::string>{"/pub/b.bin|b.bin"});
    found.clear();
    EXPECT_EQ(net.ftpFolderGetList("/"), std::optional<std::string>("/home;/pub"));
    EXPECT_EQ(found, (std::vector<std::string>{"/home|home", "/pub|pub"}));
    EXPECT_EQ(kinds.back(), 16);
    EXPECT_TRUE(net.ftpFolderCreate("/pub/empty"));
    EXPECT_EQ(net.ftpFolderGetList("/pub/empty"), std::optional<std::string>(""));
}

TEST_F(cNET_ftpFiles, KindsAndDatesOfEntries)
{
    EXPECT_EQ(net.ftpObjType("/pub"), "D");
    EXPECT_EQ(net.ftpObjType("a.txt"), "F");
    EXPECT_EQ(net.ftpObjType("/pub/none"), "?");
    EXPECT_EQ(net.ftpFileDate("a.txt", 0), 0.0);
    EXPECT_EQ(net.ftpFileDate("a.txt", 1), 0.0);
    EXPECT_EQ(net.ftpFileDate("nothing", 2), -1.0);
    const double date = net.ftpFileDate("a.txt", 2);
    // 2026-01-02 03:04:05 UTC in local time: within a day of it, to the second.
    const double utc = *DateFromParts({2026, 1, 2, 3, 4, 5});
    EXPECT_LT(std::abs(date - utc), 1.0);
    const double seconds = (date - utc) * 86400;
    EXPECT_NEAR(seconds, std::round(seconds / 900) * 900, 1e-3) << "a whole time-zone offset";
}

} // namespace
