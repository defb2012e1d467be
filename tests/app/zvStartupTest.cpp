// Start-up: the command line, the first run's language question, the files moved into the
// data folder, the folders made, and every way start-up ends with its message and status.
#include "AppTest.h"

#include "app/core/zvLib_settings.h"
#include "app/zvLib_shell.h"
#include "app/zvStartup.h"
#include "foundation/zvLang.h"
#include "model/zvLib_globals.h"
#include "view/zvLang_forms.h"

#include <filesystem>

using apptest::AppFixture;
using apptest::ChooseData;
using apptest::Click;
using testsupport::readAll;
using testsupport::writeAll;

namespace {

namespace fs = std::filesystem;

TEST(CommandLine, SizeTokenAndFile)
{
    zvLib::zvCommandLine c = zvLib::ParseCommandLine("-s:1024x768");
    EXPECT_EQ(c.width, 1024);
    EXPECT_EQ(c.height, 768);
    EXPECT_EQ(c.file, "");
    c = zvLib::ParseCommandLine("\"/home/a b/track.zv5\" -S:640X480");
    EXPECT_EQ(c.width, 640);
    EXPECT_EQ(c.height, 480);
    EXPECT_EQ(c.file, "/home/a b/track.zv5");
    c = zvLib::ParseCommandLine("-s:");
    EXPECT_EQ(c.width, 0);
    EXPECT_EQ(c.file, "");
    c = zvLib::ParseCommandLine("-s:800");
    EXPECT_EQ(c.width, 0) << "one part gives no size";
    c = zvLib::ParseCommandLine("-s:800.5x600.5wide c.zvd");
    EXPECT_EQ(c.width, 800) << "halves to even";
    EXPECT_EQ(c.height, 600);
    EXPECT_EQ(c.file, "c.zvd");
    c = zvLib::ParseCommandLine("-s:wx600 -s:wx600");
    EXPECT_EQ(c.width, 0);
    EXPECT_EQ(c.height, 600);
    EXPECT_EQ(c.file, "") << "every copy of the token is removed";
    c = zvLib::ParseCommandLine("-s:-800x600");
    EXPECT_EQ(c.width, 0);
    EXPECT_EQ(c.height, 0) << "a negative size gives a maximised window";
}

class StartupTest : public AppFixture {
  protected:
    std::optional<int> start(const std::string& line = {}) { return zvLib::Main(line); }
};

TEST_F(StartupTest, FirstRunCancelledEndsWithoutAWord)
{
    user_->steps.push_back([](QDialog& d) { Click(d, "cmd(98)"); });
    EXPECT_EQ(start(), std::optional<int>(zvLib::kExitOK));
    EXPECT_EQ(user_->dialogs, std::vector<std::string>{"Select language"});
    EXPECT_TRUE(user_->messages.empty());
    EXPECT_FALSE(fs::exists(dataDir() + "Zorv.ini")) << "nothing saved";
    EXPECT_TRUE(fs::is_directory(dataDir()));
    EXPECT_EQ(zvLib::Form(zvForm::frmMain), nullptr);
}

TEST_F(StartupTest, FilesLeftInTheProgramFolderMoveToTheDataFolder)
{
    writeSettings("[Options]\nLangID=FR\n");
    writeAll(programDir() + "Zorv.ini", "[Options]\nLangID=IT\n");
    writeAll(programDir() + "user.def", "[S.STOCK]\nA=3\n");
    start();
    EXPECT_FALSE(fs::exists(programDir() + "Zorv.ini"));
    EXPECT_FALSE(fs::exists(programDir() + "user.def"));
    EXPECT_EQ(readAll(dataDir() + "user.def"), "[S.STOCK]\nA=3\n");
    EXPECT_EQ(zvLang::LangID(), "IT") << "the moved settings replace the old ones";
    EXPECT_EQ(zvLib::IniFile, dataDir() + "Zorv.ini");
    EXPECT_EQ(zvLib::UserFile, dataDir() + "user.def");
    EXPECT_EQ(zvLib::DocsFolder, documentsDir() + "Zorv/");
    EXPECT_EQ(zvLib::ExportFolder, documentsDir() + "Zorv/Export/");
    EXPECT_EQ(zvLib::TempFolder, tempDir() + "Zorv/");
    EXPECT_TRUE(fs::is_directory(zvLib::ExportFolder));
    EXPECT_TRUE(fs::is_directory(zvLib::TempFolder));
}

TEST_F(StartupTest, MissingLanguageFileEndsWithItsMessage)
{
    writeSettings("[Options]\nLangID=EN\nGridWidth=250\n");
    const std::string before = readAll(dataDir() + "Zorv.ini");
    fs::remove(programDir() + "Zorv.lng");
    EXPECT_EQ(start(), std::optional<int>(zvLib::kExitNoLanguageFile));
    ASSERT_EQ(user_->messages.size(), 1u);
    EXPECT_EQ(user_->messages[0].rfind("Language file missing or corrupt, please reinstall "
                                       "Zorv.\r\n\r\nError code:",
                                       0),
              0u);
    EXPECT_GT(user_->messages[0].size(), 70u) << "the error number follows";
    EXPECT_EQ(user_->styles[0], 16);
    EXPECT_EQ(user_->titles[0], "Zorv");
    EXPECT_EQ(readAll(dataDir() + "Zorv.ini"), before) << "the settings are left as they were";
    EXPECT_EQ(zvLib::Form(zvForm::frmMain), nullptr);
}

TEST_F(StartupTest, FirstRunChoiceIsTheLanguageOfTheMessages)
{
    user_->steps.push_back([](QDialog& d) {
        ChooseData(d, "cboLang", "ES");
        Click(d, "cmd(3)");
    });
    fs::remove(programDir() + "Zorv.dat");
    const std::optional<int> status = start();
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(zvLang::LangID(), "ES");
    ASSERT_FALSE(user_->messages.empty());
    EXPECT_EQ(user_->messages.back().find("[TODO]"), std::string::npos);
    EXPECT_EQ(user_->styles.back(), 16);
    EXPECT_EQ(zvLib::GetSetting("Zorv", "Options", "LangID"), "ES")
        << "the options were loaded, so ending saves them";
}

TEST_F(StartupTest, UnknownLanguageInTheSettingsFallsBackToEnglish)
{
    writeSettings("[Options]\nLangID=de\n");
    start();
    EXPECT_TRUE(user_->dialogs.empty()) << "no question asked";
    EXPECT_EQ(zvLang::LangID(), "EN");
}

} // namespace
