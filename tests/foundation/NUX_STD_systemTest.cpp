// Development mode, the user's folders, machine and user names, version texts and opening
// files through xdg-open (a stand-in opener on PATH records what it was given).
#include "foundation/NUX_STD_system.h"

#include "support/TestSupport.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>
#include <thread>

using namespace NUX_STD_library;
using testsupport::TempDir;

namespace {

// Sets environment variables for one test and puts the old values back afterwards.
class EnvGuard {
  public:
    ~EnvGuard()
    {
        for (const auto& [name, old] : saved_) {
            if (old.first) {
                setenv(name.c_str(), old.second.c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
    }
    void set(const std::string& name, const char* value)
    {
        if (saved_.count(name) == 0) {
            const char* old = std::getenv(name.c_str());
            saved_[name] = {old != nullptr, old != nullptr ? old : ""};
        }
        if (value != nullptr) {
            setenv(name.c_str(), value, 1);
        } else {
            unsetenv(name.c_str());
        }
    }

  private:
    std::map<std::string, std::pair<bool, std::string>> saved_;
};

} // namespace

TEST(NUX_STD_system, VersionAndWords)
{
    EXPECT_EQ(AppVersion(), "6.0.0.79");
    {
        EnvGuard env;
        env.set("ZORV_DEVMODE", nullptr);
        EXPECT_FALSE(IsInIDE());
        env.set("ZORV_DEVMODE", "0");
        EXPECT_FALSE(IsInIDE());
        env.set("ZORV_DEVMODE", "1");
        EXPECT_TRUE(IsInIDE());
    }
    EXPECT_EQ(HiWord(0x0001FFFF), 1);
    EXPECT_EQ(LoWord(0x0001FFFF), 65535);
    EXPECT_EQ(HiWord(-1), 65535);
    EXPECT_EQ(HiWord(static_cast<std::int32_t>(0x80000000u)), 0x8000);
}

TEST(NUX_STD_system, SpecialFolders)
{
    TempDir t;
    EnvGuard env;
    env.set("HOME", (t.dir()).c_str());
    env.set("XDG_CONFIG_HOME", nullptr);
    env.set("XDG_DOCUMENTS_DIR", nullptr);
    env.set("XDG_DATA_HOME", nullptr);
    const std::string home = t.path().string();

    EXPECT_EQ(GetSpecialFolder(28), home + "/.local/share");
    env.set("XDG_DATA_HOME", "/srv/data/");
    EXPECT_EQ(GetSpecialFolder(28), "/srv/data");

    EXPECT_EQ(GetSpecialFolder(5), home); // no Documents folder: the home folder
    std::filesystem::create_directory(t.path() / "Documents");
    EXPECT_EQ(GetSpecialFolder(5), home + "/Documents");
    std::filesystem::create_directories(t.path() / ".config");
    testsupport::writeAll(t.file(".config/user-dirs.dirs"),
                          "# comment\nXDG_DESKTOP_DIR=\"$HOME/Desk\"\n"
                          "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
    EXPECT_EQ(GetSpecialFolder(5), home + "/Dokumente");
    env.set("XDG_DOCUMENTS_DIR", "/srv/docs");
    EXPECT_EQ(GetSpecialFolder(5), "/srv/docs");

    EXPECT_EQ(GetSpecialFolder(0), "");
    EXPECT_EQ(GetSpecialFolder(26), "");
}

TEST(NUX_STD_system, MachineAndUser)
{
    const std::string computer = GetComputerName();
    ASSERT_FALSE(computer.empty());
    for (char c : computer) {
        EXPECT_FALSE(c >= 'a' && c <= 'z') << computer;
    }
    EXPECT_FALSE(GetUserName().empty());
    const std::string os = GetOSVersion();
    ASSERT_FALSE(os.empty());
    EXPECT_TRUE(os[0] >= '0' && os[0] <= '9') << os;
}

TEST(NUX_STD_system, ShellOpenPassesOneArgumentWithoutAShell)
{
    TempDir t;
    EnvGuard env;
    const std::string out = t.file("opened.txt");
    const std::string opener = t.file("xdg-open");
    testsupport::writeAll(opener, "#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > '" + out +
                                      ".part'\n"
                                      "/bin/mv '" +
                                      out + ".part' '" + out + "'\n");
    chmod(opener.c_str(), 0755);
    const std::string doc = t.file("report; $(touch hacked) 'x'.html");
    testsupport::writeAll(doc, "<html/>");

    env.set("PATH", t.path().c_str());
    EXPECT_GT(ShellOpen(0, doc, 1), 32);
    for (int i = 0; i < 200 && !std::filesystem::exists(out); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    EXPECT_EQ(testsupport::readAll(out), "1|" + doc);
    EXPECT_FALSE(std::filesystem::exists(t.path() / "hacked"));

    EXPECT_LE(ShellOpen(0, t.file("missing.html"), 1), 32);
    EXPECT_LE(ShellOpen(0, "", 1), 32);
    env.set("PATH", "/nonexistent");
    EXPECT_LE(ShellOpen(0, doc, 1), 32);
    EXPECT_LE(ShellOpen(0, "https://example.invalid/", 1), 32);
}
