// Tests of the network client against a server on the loopback address: downloads with their
// progress reports, error statuses, redirects, time-outs, requests and multipart uploads.
#include "foundation/cNET.h"

#include "support/TestSupport.h"
#include "support/cLoopbackServer.h"

#include <fstream>
#include <gtest/gtest.h>

using testsupport::cCanned;
using testsupport::cHttpRequest;
using testsupport::cLoopbackServer;

namespace {

// Answers by path: /big sends 40000 bytes, /empty nothing, /missing 404, /moved redirects to
// /hello, /choices 300, /nowhere 302 without a place, /short 10 of 50000 bytes declared, /endless
// more than an answer may hold, /slow answers after two seconds, anything else says hello.
cCanned Canned(const cHttpRequest& r)
{
    if (r.target == "/big") {
        std::string body(40000, 'x');
        for (size_t i = 0; i < body.size(); i += 97) {
            body[i] = static_cast<char>('a' + i % 26);
        }
        return {cLoopbackServer::Response(200, "OK", body)};
    }
    if (r.target == "/empty") {
        return {cLoopbackServer::Response(200, "OK", "")};
    }
    if (r.target == "/missing") {
        return {cLoopbackServer::Response(404, "Not Found", "<html>no such page</html>")};
    }
    if (r.target == "/moved") {
        return {cLoopbackServer::Response(302, "Found", "", "Location: /hello\r\n")};
    }
    if (r.target == "/choices") {
        return {cLoopbackServer::Response(300, "Multiple Choices", "2026-01-01")};
    }
    if (r.target == "/nowhere") {
        return {cLoopbackServer::Response(302, "Found", "2026-01-02")};
    }
    if (r.target == "/short") {
        return {"HTTP/1.1 200 OK\r\nContent-Length: 50000\r\nConnection: close\r\n\r\n2026-01-03"};
    }
    if (r.target == "/endless") {
        // No length announced: the body goes on until the server closes, here well past the
        // bound of an answer.
        return {"HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" +
                std::string(static_cast<size_t>(cNET::kAnswerBytes) + (4 << 20), 'z')};
    }
    if (r.target == "/slow") {
        return {cLoopbackServer::Response(200, "OK", "late"), 2000};
    }
    return {cLoopbackServer::Response(200, "OK", "hello " + r.method + " " + r.body,
                                      "X-Zorv: yes\r\n")};
}

class cNETTest : public ::testing::Test {
  protected:
    cLoopbackServer server{Canned};
    cNET net;
    std::vector<int32_t> reports;

    void SetUp() override
    {
        ASSERT_NE(server.port(), 0);
        net.httpTransfer = [this](int32_t& n) { reports.push_back(n); };
    }
    // The address of a path without the scheme.
    std::string bare(const std::string& path) const { return server.url(path).substr(7); }
};

TEST_F(cNETTest, NewObjectHasNoAnswerNorSession)
{
    EXPECT_EQ(net.Status(), "0");
    EXPECT_EQ(net.ErrorNumber(), 0);
    EXPECT_EQ(net.ErrorDescription(), "");
    EXPECT_EQ(net.responseXML(), "");
    EXPECT_FALSE(net.isConnected());
}

TEST_F(cNETTest, SessionOpensAndClosesTwiceHarmlessly)
{
    EXPECT_TRUE(net.iOpen());
    EXPECT_TRUE(net.isConnected());
    EXPECT_TRUE(net.iOpen("127.0.0.1:9"));
    EXPECT_TRUE(net.isConnected());
    net.iClose();
    EXPECT_FALSE(net.isConnected());
    net.iClose();
    EXPECT_FALSE(net.isConnected());
}

TEST_F(cNETTest, OpenURLReportsProgressBlockByBlock)
{
    const std::string body = net.openURL(server.url("/big"));
    ASSERT_EQ(body.size(), 40000u);
    EXPECT_EQ(body[97], static_cast<char>('a' + 97 % 26));
    EXPECT_EQ(reports, (std::vector<int32_t>{0, 16384, 32768, 40000}));
}

TEST_F(cNETTest, OpenURLOfAnEmptyAnswerReportsOnce)
{
    EXPECT_EQ(net.openURL(server.url("/empty")), "");
    EXPECT_EQ(reports, (std::vector<int32_t>{0}));
}

TEST_F(cNETTest, OpenURLPutsHttpInFrontOfOtherSchemesOnly)
{
    EXPECT_EQ(net.openURL(bare("/a")), "hello GET ");
    EXPECT_EQ(net.openURL("HTTP://" + bare("/b")), "hello GET ");
    EXPECT_EQ(net.openURL("hTtP://" + bare("/c")), "hello GET ");
    // "ftp://host/..." becomes "http://ftp://host/...", which names no server we run.
    EXPECT_EQ(net.openURL("ftp://" + bare("/d")), "");
    const auto got = server.requests();
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].target, "/a");
    EXPECT_EQ(got[2].target, "/c");
    EXPECT_NE(got[0].headers.find("User-Agent: "), std::string::npos);
}

TEST_F(cNETTest, OpenURLGivesNothingForErrorStatusesAndUnreachableHosts)
{
    net.openURLEx(server.url("/missing"));
    EXPECT_EQ(net.openURL(server.url("/missing")), "");
    EXPECT_TRUE(reports.empty());
    EXPECT_NE(net.ErrorNumber(), 0);
    EXPECT_EQ(net.openURL("http://127.0.0.1:1/"), "");
    EXPECT_NE(net.ErrorNumber(), 0);
    EXPECT_NE(net.ErrorDescription(), "");
}

TEST_F(cNETTest, OpenURLGivesOnlyACompleteSuccess)
{
    for (const char* path : {"/choices", "/nowhere", "/short"}) {
        EXPECT_EQ(net.openURL(server.url("/x")), "hello GET ");
        EXPECT_EQ(net.ErrorNumber(), 0);
        EXPECT_EQ(net.openURL(server.url(path)), "") << path;
        EXPECT_NE(net.ErrorNumber(), 0) << path;
        EXPECT_NE(net.ErrorDescription(), "") << path;
    }
}

TEST_F(cNETTest, OpenURLFollowsRedirects)
{
    EXPECT_EQ(net.openURL(server.url("/moved")), "hello GET ");
    ASSERT_EQ(server.requests().size(), 2u);
    EXPECT_EQ(server.requests()[1].target, "/hello");
}

TEST_F(cNETTest, OpenURLStopsAtItsTimeout)
{
    net.openURLTimeout = 300;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(net.openURL(server.url("/slow")), "");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
}

TEST_F(cNETTest, AnAnswerLargerThanItsBoundIsCutOffWithAnError)
{
    const std::string body = net.openURL(server.url("/endless"));
    EXPECT_LE(static_cast<int64_t>(body.size()), cNET::kAnswerBytes);
    EXPECT_NE(net.ErrorNumber(), 0);
    EXPECT_NE(net.ErrorDescription(), "");
    ASSERT_FALSE(reports.empty());
    EXPECT_LE(reports.back(), cNET::kAnswerBytes) << "never held more than the bound";

    EXPECT_NE(net.openURLEx(server.url("/endless"), "GET", "", 10000), 0);
    EXPECT_LE(static_cast<int64_t>(net.responseBody().size()), cNET::kAnswerBytes);
    EXPECT_NE(net.ErrorDescription(), "");
}

TEST_F(cNETTest, OpenURLExFillsTheAnswer)
{
    EXPECT_EQ(net.openURLEx(server.url("/x"), "POST", "abc", 5000), 0);
    EXPECT_EQ(net.responseText(), "hello POST abc");
    EXPECT_EQ(net.responseBody(), "hello POST abc");
    EXPECT_EQ(net.Status(), "200");
    EXPECT_EQ(net.statusText(), "OK");
    EXPECT_NE(net.responseHeaders().find("X-Zorv: yes\r\n"), std::string::npos);
    EXPECT_EQ(net.responseHeaders().find("HTTP/"), std::string::npos);
    const auto got = server.requests();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_NE(got[0].headers.find(std::string("User-Agent: ") + cNET::kUserAgent),
              std::string::npos);
}

TEST_F(cNETTest, OpenURLExTakesErrorStatusesAsAnswers)
{
    EXPECT_EQ(net.openURLEx(server.url("/missing"), "GET", "", 5000), 0);
    EXPECT_EQ(net.Status(), "404");
    EXPECT_EQ(net.statusText(), "Not Found");
    EXPECT_EQ(net.responseText(), "<html>no such page</html>");
}

TEST_F(cNETTest, OpenURLExTimesOutAndClearsTheAnswer)
{
    ASSERT_EQ(net.openURLEx(server.url("/x")), 0);
    EXPECT_EQ(net.openURLEx(server.url("/slow")), cNET::kTimeout);
    EXPECT_EQ(net.ErrorNumber(), -1000);
    EXPECT_EQ(net.ErrorDescription(), "Timeout");
    EXPECT_EQ(net.Status(), "0");
    EXPECT_EQ(net.responseText(), "");
    EXPECT_EQ(net.responseHeaders(), "");
    // A later success forgets the description.
    EXPECT_EQ(net.openURLEx(server.url("/x"), "GET", "", 5000), 0);
    EXPECT_EQ(net.ErrorDescription(), "");
}

class cNETUploadTest : public cNETTest {
  protected:
    testsupport::TempDir dir;
    std::string file;
    std::string bytes{"line\r\nbin\x01\x02\xff end"};

    void SetUp() override
    {
        cNETTest::SetUp();
        file = dir.dir() + "map 'a'.png";
        std::ofstream(file, std::ios::binary) << bytes;
    }
    std::string part(const std::string& name, const std::string& value) const
    {
        return std::string("--") + cNET::kBoundary + "\r\nContent-Disposition: form-data; name=\"" +
               name + "\"\r\n\r\n" + value + "\r\n";
    }
    std::string blobHead(const std::string& type) const
    {
        return std::string("--") + cNET::kBoundary +
               "\r\nContent-Disposition: form-data; name=\"fileblob\"; filename=\"" +
               "map 'a'.png\"\r\nContent-Type: " + type + "\r\n\r\n";
    }
};

TEST_F(cNETUploadTest, SendsTheNamedPartsAndTheFile)
{
    std::string path = "  maps/ ";
    std::string name = " a.png";
    EXPECT_EQ(net.webUpload(server.url("/up"), file, path, name), "200");
    EXPECT_EQ(path, "maps/");
    EXPECT_EQ(name, "a.png");
    EXPECT_EQ(net.statusText(), "OK");
    const auto got = server.requests();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].method, "POST");
    EXPECT_EQ(got[0].body, part("filename", "a.png") + part("filepath", "maps/") +
                               blobHead("image/png") + bytes + "\r\n--" + cNET::kBoundary + "--");
    EXPECT_NE(got[0].headers.find(std::string("multipart/form-data; boundary=") + cNET::kBoundary),
              std::string::npos);
    EXPECT_NE(got[0].headers.find("Content-Length: " + std::to_string(got[0].body.size())),
              std::string::npos);
}

TEST_F(cNETUploadTest, LeavesOutEmptyAndBlankNames)
{
    std::string path;
    std::string name = "   ";
    EXPECT_EQ(net.webUpload(server.url("/up"), file, path, name), "200");
    const auto got = server.requests();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].body.find("\"filename\""), std::string::npos);
    EXPECT_EQ(got[0].body.find("\"filepath\""), std::string::npos);
    EXPECT_EQ(got[0].body.rfind(std::string("--") + cNET::kBoundary, 0), 0u);
}

TEST_F(cNETUploadTest, TextFormEndsWithALineBreak)
{
    std::string path;
    std::string name;
    EXPECT_EQ(net.webUpload_bkup(server.url("/up"), file, path, name), "200");
    const auto got = server.requests();
    ASSERT_EQ(got.size(), 1u);
    std::string text = "line\r\nbin\x01\x02\xEF\xBF\xBD end";
    EXPECT_EQ(got[0].body,
              blobHead("application/octet-stream") + text + "\r\n--" + cNET::kBoundary + "--\r\n");
}

TEST_F(cNETUploadTest, UnreachableEndpointOrMissingFileGivesStatusZero)
{
    std::string path;
    std::string name;
    EXPECT_EQ(net.webUpload("http://127.0.0.1:1/up", file, path, name), "0");
    EXPECT_EQ(net.webUpload(server.url("/up"), dir.dir() + "none", path, name), "0");
    EXPECT_EQ(net.webUpload_bkup(server.url("/up"), dir.dir() + "none", path, name), "0");
    EXPECT_TRUE(server.requests().empty());
}

TEST_F(cNETUploadTest, LineBreaksAndQuotesInNamesAreRefusedBeforeAnythingIsSent)
{
    const std::string quoted = dir.dir() + "map \"b\".png";
    const std::string broken = dir.dir() + "map\r\nb.png";
    std::ofstream(quoted, std::ios::binary) << bytes;
    std::ofstream(broken, std::ios::binary) << bytes;
    struct cCase {
        std::string file, path, name;
    };
    for (const cCase& c : {cCase{file, "maps\r\nX-Evil: 1", ""}, cCase{file, "maps\n", ""},
                           cCase{file, "", "a.png\r"}, cCase{file, "", "a\".png"},
                           cCase{quoted, "", ""}, cCase{broken, "", ""}}) {
        std::string path = c.path;
        std::string name = c.name;
        const std::string what = c.file + "|" + c.path + "|" + c.name;
        EXPECT_EQ(net.webUpload(server.url("/up"), c.file, path, name), "0") << what;
        EXPECT_NE(net.ErrorNumber(), 0) << what;
        path = c.path;
        name = c.name;
        EXPECT_EQ(net.webUpload_bkup(server.url("/up"), c.file, path, name), "0") << what;
    }
    EXPECT_TRUE(server.requests().empty());
}

} // namespace
