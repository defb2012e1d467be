// Tests of the network client's FTP commands against a server on the loopback address: the
// log-in, the current folder, folders made, files sized, renamed and deleted.
#include "foundation/cNET.h"
#include "support/cLoopbackFtp.h"

#include <gtest/gtest.h>

#include <algorithm>

using testsupport::cLoopbackFtp;

namespace {

class cNET_ftp : public ::testing::Test {
  protected:
    cLoopbackFtp server{{{"/home/a.txt", 5000}, {"/pub/b.bin", 0}}, {"/", "/home", "/pub"}};
    cNET net;

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

} // namespace
