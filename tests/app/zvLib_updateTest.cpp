// The update check against a service on the loopback address: when it asks, how it compares
// the release date with the program's, the offer through the scripted user, and the date of
// the next check it saves after a refusal.
#include "app/zvLib_update.h"

#include "AppTest.h"
#include "app/core/zvLib_settings.h"
#include "foundation/NUX_STD_ini.h"
#include "foundation/cDateParts.h"
#include "model/zvUI.h"
#include "support/cLoopbackServer.h"

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <sys/stat.h>
#include <thread>

using testsupport::cCanned;
using testsupport::cHttpRequest;
using testsupport::cLoopbackServer;
using testsupport::readAll;
using testsupport::writeAll;

namespace {

class UpdateTest : public apptest::AppFixture {
  protected:
    std::string answer = "2026-05-02";
    int delayMs = 0;
    cLoopbackServer server{[this](const cHttpRequest&) {
        return cCanned{cLoopbackServer::Response(200, "OK", answer), delayMs};
    }};
    std::string savedPath;

    void SetUp() override
    {
        AppFixture::SetUp();
        ASSERT_NE(server.port(), 0);
        zvLib::UpdateSite = server.url("/");
        // A stand-in for the desktop's opener that only writes down what it was given.
        const std::string opener = root_->dir() + "bin/xdg-open";
        std::filesystem::create_directories(root_->dir() + "bin");
        writeAll(opener, "#!/bin/sh\nprintf '%s' \"$1\" > '" + opened() + ".part'\n/bin/mv '" +
                             opened() + ".part' '" + opened() + "'\n");
        chmod(opener.c_str(), 0755);
        const char* path = std::getenv("PATH");
        savedPath = path != nullptr ? path : "";
        setenv("PATH", (root_->dir() + "bin").c_str(), 1);
    }
    void TearDown() override
    {
        setenv("PATH", savedPath.c_str(), 1);
        AppFixture::TearDown();
    }
    std::string opened() const { return root_->dir() + "opened.txt"; }
    std::string nextCheck() const
    {
        return NUX_STD_library::IniRead("update", "nextCheck", zvLib::IniFile);
    }
    size_t queries() const { return server.requests().size(); }
};

TEST_F(UpdateTest, DatesAreWrittenAsYearMonthDay)
{
    EXPECT_EQ(zvLib::IsoDate(*DateFromParts({2026, 12, 9, 13, 30, 0})), "2026-12-09");
    EXPECT_EQ(zvLib::IsoDate(*DateFromParts({1601, 1, 1, 0, 0, 0})), "1601-01-01");
    EXPECT_EQ(zvLib::IsoDate(1e12), "");
}

TEST_F(UpdateTest, AsksOnlyAfterTheNextCheckDate)
{
    writeSettings("[Update]\nnextCheck=2026-05-10\n");
    zvLib::CheckForUpdate("2026-05-10", "2026-05-02");
    EXPECT_EQ(queries(), 0u) << "not on the day itself";
    zvLib::CheckForUpdate("2026-05-11", "2026-05-02");
    ASSERT_EQ(queries(), 1u);
    EXPECT_EQ(server.requests()[0].target, "/svc/?a=zorvLastUpdate");
    writeSettings("[Options]\nLangID=EN\n");
    zvLib::CheckForUpdate("2026-05-03", "2026-05-02");
    EXPECT_EQ(queries(), 2u) << "a missing date lets the check run";
    EXPECT_TRUE(user_->messages.empty());
}

TEST_F(UpdateTest, SameOrOlderReleaseShowsAndWritesNothing)
{
    writeSettings("[Options]\nLangID=EN\n");
    const std::string before = readAll(zvLib::IniFile);
    zvLib::CheckForUpdate("2026-06-01", "2026-05-02");
    answer = "2026-04-30";
    zvLib::CheckForUpdate("2026-06-01", "2026-05-02");
    EXPECT_EQ(queries(), 2u);
    EXPECT_TRUE(user_->messages.empty());
    EXPECT_EQ(readAll(zvLib::IniFile), before);
}

TEST_F(UpdateTest, AnswersThatAreNoDateCountForNothing)
{
    for (const char* text : {"", "<html>moved</html>", "9999", "2026-05-03x", "later"}) {
        answer = text;
        zvLib::CheckForUpdate("2026-06-01", "2026-05-02");
    }
    EXPECT_EQ(queries(), 5u);
    EXPECT_TRUE(user_->messages.empty());
    answer = "2026-05-03\r\n";
    user_->answers.push_back(vbMsg::Cancel);
    zvLib::CheckForUpdate("2026-06-01", "2026-05-02");
    EXPECT_EQ(user_->messages.size(), 1u) << "a line break after the date is no matter";
}

TEST_F(UpdateTest, DecliningTheOfferWaitsTenDays)
{
    writeSettings("[Options]\nLangID=EN\n");
    answer = "2026-05-03";
    user_->answers.push_back(vbMsg::Cancel);
    zvLib::CheckForUpdate("2026-12-25", "2026-05-02");
    ASSERT_EQ(user_->messages.size(), 1u);
    EXPECT_EQ(user_->messages[0],
              "E' disponibile un aggiornamento di Zorv, fai click su OK per visitare 127.0.0.1:" +
                  std::to_string(server.port()));
    EXPECT_EQ(user_->styles[0], vbMsg::OKCancel | vbMsg::Information);
    EXPECT_EQ(nextCheck(), "2027-01-04");
    EXPECT_FALSE(std::filesystem::exists(opened()));

    zvLib::CheckForUpdate("2027-01-04", "2026-05-02");
    EXPECT_EQ(queries(), 1u) << "the tenth day asks nothing";
    user_->answers.push_back(vbMsg::Cancel);
    zvLib::CheckForUpdate("2027-01-05", "2026-05-02");
    EXPECT_EQ(queries(), 2u) << "the eleventh day asks again";
    EXPECT_EQ(nextCheck(), "2027-01-15");
}

TEST_F(UpdateTest, AcceptingOpensTheProductPageAndWritesNothing)
{
    writeSettings("[Update]\nnextCheck=2026-01-01\n");
    const std::string before = readAll(zvLib::IniFile);
    answer = "2026-05-03";
    user_->answers.push_back(vbMsg::OK);
    zvLib::CheckForUpdate("2026-06-01", "2026-05-02");
    ASSERT_EQ(user_->messages.size(), 1u);
    for (int i = 0; i < 200 && !std::filesystem::exists(opened()); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    EXPECT_EQ(readAll(opened()), server.url("/software-progettazione-piste-slotcar/zorv"));
    EXPECT_EQ(readAll(zvLib::IniFile), before);
}

TEST_F(UpdateTest, ASlowServiceHoldsStartUpOnlyBriefly)
{
    delayMs = 8000;
    const auto start = std::chrono::steady_clock::now();
    zvLib::CheckForUpdate("2026-06-01", "2026-05-02");
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took, std::chrono::milliseconds(zvLib::kUpdateWaitMS + 2000));
    EXPECT_TRUE(user_->messages.empty());
    EXPECT_EQ(nextCheck(), "");
}

TEST_F(UpdateTest, StartUpCheckUsesTodayAndTheProgramFile)
{
    writeSettings("[Options]\nLangID=EN\n");
    answer = "2000-01-01";
    zvLib::CheckForUpdate();
    EXPECT_EQ(queries(), 1u);
    EXPECT_TRUE(user_->messages.empty()) << "the program file is newer than that";
    answer = "9999-12-31";
    user_->answers.push_back(vbMsg::Cancel);
    zvLib::CheckForUpdate();
    ASSERT_EQ(user_->messages.size(), 1u);
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const double today = *DateFromParts({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday});
    const std::string expected = zvLib::IsoDate(today + 10);
    EXPECT_TRUE(nextCheck() == expected || nextCheck() == zvLib::IsoDate(today + 11))
        << nextCheck();
    zvLib::CheckForUpdate();
    EXPECT_EQ(queries(), 2u) << "not asked again before that day";
}

} // namespace
