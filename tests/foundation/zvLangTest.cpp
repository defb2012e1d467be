// The language table: loading, lookups with every fallback, and the tool caption and tip rule.
#include "foundation/NUX_STD_apppath.h"
#include "foundation/NUX_STD_files.h"
#include "foundation/cRecordset.h"
#include "foundation/zvLang.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <grp.h>
#include <map>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class zvLangTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        NUX_STD_library::AppPath(testsupport::dataPath("lang"));
        ASSERT_EQ(zvLang::LoadLanguageFile(), 0);
        zvLang::LangID("it");
    }
    void TearDown() override { NUX_STD_library::AppPath(""); }
};

TEST(zvLangState, LookupBeforeLoadAndLanguageCodes)
{
    // This runs before any test loads the table (tests of one file run in order).
    EXPECT_EQ(zvLang::Translate("$msg.ready"), "[TODO] $msg.ready");

    zvLang::LangID(" fr ");
    EXPECT_EQ(zvLang::LangID(), "FR");
    zvLang::LangID("de");
    EXPECT_EQ(zvLang::LangID(), "EN");
    zvLang::LangID("");
    EXPECT_EQ(zvLang::LangID(), "");
}

TEST_F(zvLangTest, LoadsTheFileBesideTheProgram)
{
    EXPECT_EQ(zvLang::LangFile(), testsupport::dataPath("lang") + "/Zorv.lng");
    EXPECT_EQ(zvLang::Translate("$msg.ready"), "Pronto");
    zvLang::LangID("ES");
    EXPECT_EQ(zvLang::Translate("$msg.ready"), "Listo");
}

TEST_F(zvLangTest, KeysAreFoundWhateverTheirQuotesAndCase)
{
    EXPECT_EQ(zvLang::Translate("$it's"), "Chiave con apice");
    EXPECT_EQ(zvLang::Translate("$MSG.READY"), "Pronto");
    EXPECT_EQ(zvLang::Translate("$msg.missing"), "[TODO] $msg.missing");
    EXPECT_EQ(zvLang::Translate("$it''s"), "[TODO] $it''s");
}

TEST_F(zvLangTest, EmptyTextsFallBackToEnglishWithTheCode)
{
    EXPECT_EQ(zvLang::Translate("$msg.upper"), "[IT] Stays\\Nas written");
    zvLang::LangID("FR");
    EXPECT_EQ(zvLang::Translate("$msg.ready"), "[FR] Ready");
    EXPECT_EQ(zvLang::Translate("$report.lane"), "Voie");
    zvLang::LangID("IT");
    // Blank Italian and empty English leave only the bracketed code.
    EXPECT_EQ(zvLang::Translate("$msg.empty"), "[IT]");
    zvLang::LangID("EN");
    EXPECT_EQ(zvLang::Translate("$msg.empty"), "[EN]");
}

TEST_F(zvLangTest, TextsAreTrimmedAndLineBreaksUnescaped)
{
    EXPECT_EQ(zvLang::Translate("$msg.noundo"), "Niente da annullare");
    EXPECT_EQ(zvLang::Translate("$msg.twolines"), "Prima riga\r\nSeconda riga");
    zvLang::LangID("EN");
    EXPECT_EQ(zvLang::Translate("$msg.noundo"), "Nothing to undo");
    EXPECT_EQ(zvLang::Translate("$msg.upper"), "Stays\\Nas written");
}

TEST_F(zvLangTest, FailedLoadsReportAndKeepTheTable)
{
    testsupport::TempDir dir;
    NUX_STD_library::AppPath(dir.dir());
    EXPECT_EQ(zvLang::LoadLanguageFile(), cRecordset::kErrFileNotFound);
    EXPECT_EQ(zvLang::LangFile(), dir.dir() + "Zorv.lng");

    const std::string head = "<recordset><fields><field name='ID' type='202'/>";
    testsupport::writeAll(dir.file("Zorv.lng"), head + "</fields><row ID='$a'/></recordset>");
    EXPECT_EQ(zvLang::LoadLanguageFile(), cRecordset::kErrItemNotFound);  // no EN field
    testsupport::writeAll(dir.file("Zorv.lng"),
                          head + "<field name='EN' type='203'/></fields></recordset>");
    EXPECT_EQ(zvLang::LoadLanguageFile(), cRecordset::kErrNoCurrentRow);  // no row
    testsupport::writeAll(dir.file("Zorv.lng"), "not a table");
    EXPECT_EQ(zvLang::LoadLanguageFile(), cRecordset::kErrBadFile);

    EXPECT_EQ(zvLang::Translate("$msg.ready"), "Pronto");
}

TEST_F(zvLangTest, ToolCaptionsAndTipsFromTheTable)
{
    zvLang::LangID("EN");
    auto t = zvLang::ToolCaptionAndTip("new");
    EXPECT_EQ(t.caption, "&New...");
    EXPECT_EQ(t.tip, "New circuit");
    t = zvLang::ToolCaptionAndTip("open");  // no tip key: the caption, cleaned
    EXPECT_EQ(t.caption, "&Open...");
    EXPECT_EQ(t.tip, "Open");
    t = zvLang::ToolCaptionAndTip("nosuchtool");
    EXPECT_EQ(t.caption, "");
    EXPECT_EQ(t.tip, "");
    zvLang::LangID("IT");
    t = zvLang::ToolCaptionAndTip("zoom+");
    EXPECT_EQ(t.caption, "Ingrandisci");
    EXPECT_EQ(t.tip, "[IT] Zoom in");
}

TEST_F(zvLangTest, ASaveOverSomethingThatIsNoFileSaysSo)
{
    testsupport::TempDir t;
    const std::string pipe = t.file("p.zv6");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    std::vector<std::string> targets{pipe};
    // A device like /dev/null, made where a failure of the test could do no harm.
    const std::string device = t.file("null.zv6");
    if (mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
        targets.push_back(device);
    }
    for (const std::string& target : targets) {
        EXPECT_FALSE(NUX_STD_library::WriteFileText(target, "x")) << target;
        EXPECT_EQ(zvLang::WriteFailureReason(target), zvLang::Translate("$msg.savefailed.notfile"))
            << target;
    }
}

// A descriptor's link to a deleted file, and one whose text names another file: the shipped
// table says which.
TEST_F(zvLangTest, ASaveThroughALinkToAFileWithoutANameSaysSo)
{
    testsupport::TempDir t;
    NUX_STD_library::AppPath(std::string(ZORV_SOURCE_DIR) + "/resources");
    ASSERT_EQ(zvLang::LoadLanguageFile(), 0);
    zvLang::LangID("EN");
    const std::string gone = t.file("gone.zv6");
    testsupport::writeAll(gone, "old");
    const int fd = open(gone.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(unlink(gone.c_str()), 0);
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    EXPECT_FALSE(NUX_STD_library::WriteFileText(link, "x"));
    const std::string reason = zvLang::WriteFailureReason(link);
    EXPECT_EQ(reason, zvLang::Translate("$msg.savefailed.noname"));
    EXPECT_NE(reason.find("no name"), std::string::npos) << reason;
    testsupport::writeAll(gone + " (deleted)", "other");
    EXPECT_FALSE(NUX_STD_library::WriteFileText(link, "x"));
    EXPECT_EQ(zvLang::WriteFailureReason(link), zvLang::Translate("$msg.savefailed.elsewhere"));
    close(fd);
}

// A file the system makes up as it is read is refused with words that say so, in the shipped
// table: neither "a folder, a device or a pipe" nor a failure of the system.
TEST_F(zvLangTest, AReadOfAFileTheSystemMakesUpSaysSo)
{
    NUX_STD_library::AppPath(std::string(ZORV_SOURCE_DIR) + "/resources");
    ASSERT_EQ(zvLang::LoadLanguageFile(), 0);
    zvLang::LangID("EN");
    const std::string path = "/proc/self/pagemap";
    std::string bytes;
    NUX_STD_library::ReadFault fault = NUX_STD_library::ReadFault::None;
    EXPECT_FALSE(NUX_STD_library::ReadFileBytes(path, std::uint64_t(1) << 20, bytes, fault));
    const std::string message = zvLang::ReadFailureMessage(path, fault);
    const std::string reason = zvLang::Translate("$msg.readfailed.systemfile");
    EXPECT_NE(message.find(reason), std::string::npos) << message;
    EXPECT_EQ(reason.find("[TODO]"), std::string::npos) << reason;
}

TEST_F(zvLangTest, WriteFailureReasonsNameTheRealCause)
{
    namespace fs = std::filesystem;
    testsupport::TempDir t;
    // A loop of the user's own links.
    fs::create_symlink(t.file("b.zv6"), t.file("a.zv6"));
    fs::create_symlink(t.file("a.zv6"), t.file("b.zv6"));
    EXPECT_FALSE(NUX_STD_library::WriteFileText(t.file("a.zv6"), "x"));
    EXPECT_EQ(zvLang::WriteFailureReason(t.file("a.zv6")),
              zvLang::Translate("$msg.savefailed.loop"));
    if (geteuid() != 0) {
        GTEST_SKIP() << "a file of another user needs root";
    }
    // Another user's file in a sticky folder: the user may write it, but not replace it.
    const fs::path shared = t.path() / "shared";
    fs::create_directory(shared);
    ASSERT_EQ(chmod(t.path().c_str(), 0755), 0);
    ASSERT_EQ(chmod(shared.c_str(), 01777), 0);
    const std::string theirs = (shared / "r.zv6").string();
    testsupport::writeAll(theirs, "theirs");
    ASSERT_EQ(chown(theirs.c_str(), 12345, 12345), 0);
    ASSERT_EQ(chmod(theirs.c_str(), 0666), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        constexpr uid_t kUser = 12346;
        if (setgroups(0, nullptr) != 0 || setresgid(kUser, kUser, kUser) != 0 ||
            setresuid(kUser, kUser, kUser) != 0) {
            _exit(9);
        }
        if (NUX_STD_library::WriteFileText(theirs, "mine")) {
            _exit(1);
        }
        const std::string reason = zvLang::WriteFailureReason(theirs);
        _exit(reason == zvLang::Translate("$msg.savefailed.notowner") ? 0 : 2);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: written, 2: another reason, 9: no other user";
    EXPECT_EQ(testsupport::readAll(theirs), "theirs");
}

TEST_F(zvLangTest, ANameTooLongAndAnotherUsersLinkAreSaidAsTheyAre)
{
    testsupport::TempDir t;
    const std::string longName = t.file(std::string(300, 'a') + ".zv6");
    EXPECT_FALSE(NUX_STD_library::WriteFileText(longName, "x"));
    EXPECT_EQ(zvLang::WriteFailureReason(longName), zvLang::Translate("$msg.savefailed.longname"));
    if (geteuid() != 0) {
        GTEST_SKIP() << "a link of another user needs root";
    }
    // Another user's link in a folder only its owner may write, read from the shipped table:
    // the words say what the link is, not where it would be.
    NUX_STD_library::AppPath(std::string(ZORV_SOURCE_DIR) + "/resources");
    ASSERT_EQ(zvLang::LoadLanguageFile(), 0);
    zvLang::LangID("EN");
    ASSERT_EQ(chmod(t.path().c_str(), 0755), 0);
    std::filesystem::create_directory_symlink("/", t.file("theirs"));
    ASSERT_EQ(lchown(t.file("theirs").c_str(), 12345, 12345), 0);
    const std::string through = t.file("theirs/c.zv6");
    EXPECT_FALSE(NUX_STD_library::WriteFileText(through, "x"));
    const std::string reason = zvLang::WriteFailureReason(through);
    EXPECT_EQ(reason, zvLang::Translate("$msg.savefailed.link"));
    EXPECT_NE(reason.find("another user"), std::string::npos) << reason;
    EXPECT_EQ(reason.find("shared"), std::string::npos) << reason;
}

TEST(zvLangTools, CaptionAndTipRuleOnAnyLookup)
{
    std::map<std::string, std::string> texts = {
        {"$cmd.save", "&Save..."}, {"$cmd.save.tip", "[TODO] $cmd.save.tip"},
        {"$cmd.cut", "[TODO] $cmd.cut"}, {"$cmd.cut.tip", "Cut && paste.... later"}};
    auto lookup = [&](std::string_view k) { return texts.at(std::string(k)); };
    auto t = zvLang::ToolCaptionAndTip("save", lookup);
    EXPECT_EQ(t.caption, "&Save...");
    EXPECT_EQ(t.tip, "Save");
    t = zvLang::ToolCaptionAndTip("cut", lookup);
    EXPECT_EQ(t.caption, "");
    EXPECT_EQ(t.tip, "Cut  paste. later");
}

}  // namespace
