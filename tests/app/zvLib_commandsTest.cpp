// The command dispatcher: the grammar of command strings, the answers to unknown verbs, the
// commands that wait for a circuit, the language change, the about page and the end of the
// program with and without a reset.
#include "AppTest.h"

#include "app/core/zvLib_settings.h"
#include "app/frmSplash.h"
#include "app/zvLib_commands.h"
#include "app/zvLib_shell.h"
#include "foundation/NUX_STD_system.h"
#include "foundation/zvLang.h"
#include "model/zvCircuit.h"
#include "model/zvLib_globals.h"
#include "platform/cBarWidget.h"
#include "view/frmMain.h"
#include "view/zvLang_forms.h"

#include <QAction>
#include <QLabel>
#include <QRadioButton>

#include <filesystem>

using apptest::AppFixture;
using apptest::ChooseData;
using apptest::Click;
using testsupport::readAll;
using testsupport::writeAll;

namespace {

class CommandsTest : public AppFixture {
  protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        useLanguage("EN");
        std::filesystem::create_directories(dataDir());
    }
    // Runs a command and returns the messages it showed.
    std::vector<std::string> run(std::string command)
    {
        user_->messages.clear();
        zvLib::ExecCommand(command);
        return user_->messages;
    }
    frmMain& mainWindow()
    {
        auto* main = new frmMain;
        zvLib::LoadForm(zvForm::frmMain, main);
        main->setUI();
        main->setMode("NEW");
        main->show();
        return *main;
    }
};

using Messages = std::vector<std::string>;

TEST_F(CommandsTest, CommandIsUpperCasedInTheCallersVariable)
{
    std::string command = "help.foo";
    zvLib::ExecCommand(command);
    EXPECT_EQ(command, "HELP.FOO");
    zvLib::CurrentTool = "OBJECT.RULER";
    std::string wheel = "view.zoom-";
    zvLib::ExecCommand(wheel);
    EXPECT_EQ(zvLib::CurrentTool, "") << "every command ends the ruler";
}

TEST_F(CommandsTest, UnknownVerbsAnswerByGroup)
{
    EXPECT_EQ(run("FILE.FOO"), Messages{"currently under development \"FOO\""});
    EXPECT_EQ(run("file.a\"b"), Messages{"currently under development \"A\"\"B\""});
    EXPECT_EQ(user_->styles.back(), 64);
    EXPECT_EQ(run("FILE.MRU5"), Messages{"currently under development \"MRU5\""});
    EXPECT_EQ(run("tools.foo"), Messages{"TOOLS.FOO"});
    EXPECT_EQ(run("HELP.FOO"), Messages{});
    EXPECT_EQ(run("OBJECT.LINE"), Messages{});
    EXPECT_EQ(run("NOGROUP.FOO"), Messages{});
    EXPECT_EQ(run(""), Messages{});
    EXPECT_EQ(run("ITEM"), Messages{});
    EXPECT_EQ(run("HELP.HELP"), Messages{"Under construction"});
    EXPECT_EQ(user_->styles.back(), 0);
    // A group with more parts is decided by the last one.
    EXPECT_EQ(run("TOOLS.ANY.FOO"), Messages{"TOOLS.ANY.FOO"});
    EXPECT_EQ(run("HELP.WEB.NUX"), Messages{}) << "the verb is NUX, which HELP does not know";
}

TEST_F(CommandsTest, CommandsOnTheCircuitDoNothingWithoutOne)
{
    for (const char* c : {"EDIT.COPY", "EDIT.PASTE", "VIEW.FIT", "VIEW.ZOOM+", "VIEW.FOO",
                          "ITEM.APPEND.S:X", "ITEM.SKETCH.UNDO", "SNIPPET.APPEND.S:X;",
                          "FILE.SAVE", "FILE.SAVEAS", "FILE.PRINT", "FILE.EXPORT",
                          "FILE.EXCEL"}) {
        EXPECT_EQ(run(c), Messages{}) << c;
    }
    EXPECT_EQ(zvLib::Circuit(), nullptr);
}

TEST_F(CommandsTest, LanguageChangeTranslatesTheWindowsOnScreen)
{
    frmMain& main = mainWindow();
    QAction* edit = main.abrView().ToolAction(main.abr.Band("mnuMain").Tool("mnuEdit"));
    user_->steps.push_back([](QDialog& d) {
        ChooseData(d, "cboLang", "IT");
        Click(d, "cmd(3)");
    });
    run("TOOLS.LANG");
    EXPECT_EQ(zvLang::LangID(), "IT");
    EXPECT_EQ(edit->text().toStdString(), "&Modifica");
    EXPECT_EQ(user_->dialogs.back(), "Select language") << "the chooser is captioned in English";

    // The same language again, or a cancel, changes nothing.
    main.abr.Band("mnuMain").Tool("mnuEdit").Caption("unchanged");
    user_->steps.push_back([](QDialog& d) { Click(d, "cmd(3)"); });
    run("tools.lang");
    EXPECT_EQ(user_->dialogs.back(), "Seleziona la lingua");
    user_->steps.push_back([](QDialog& d) { Click(d, "cmd(98)"); });
    run("tools.lang");
    EXPECT_EQ(zvLang::LangID(), "IT");
    EXPECT_EQ(main.abr.Band("mnuMain").Tool("mnuEdit").Caption(), "unchanged");
}

TEST_F(CommandsTest, NewOffersTheStartPage)
{
    user_->steps.push_back([](QDialog& d) {
        d.findChild<QRadioButton*>("opt(1)")->setChecked(true);
        Click(d, "cmd(1)");
    });
    run("file.new");
    EXPECT_EQ(user_->dialogs, std::vector<std::string>{"New circuit"});
    EXPECT_EQ(zvLib::Splash().ret_action, "NEW");
    EXPECT_EQ(zvLib::Splash().ret_lanes, 4);
}

TEST_F(CommandsTest, AboutPageShowsTheVersionAndClosesWithOK)
{
    std::string line;
    bool shown = false;
    user_->steps.push_back([&](QDialog& d) {
        shown = d.isVisible() && d.isModal();
        line = d.findChild<QLabel*>("lblAbout(4)")->text().toStdString();
        Click(d, "cmd(2)");
        shown = shown && !d.isVisible();
    });
    run("HELP.ABOUT");
    EXPECT_TRUE(shown);
    EXPECT_EQ(user_->dialogs.back(), "Info");
    EXPECT_EQ(line.rfind("Version: 6.0.0.79 (", 0), 0u) << line;
    EXPECT_EQ(line.back(), ')');
}

TEST_F(CommandsTest, ExitSavesTheOptionsAndEndsTheProgram)
{
    frmMain& main = mainWindow();
    QPointer<frmMain> alive(&main);
    run("FILE.EXIT");
    EXPECT_TRUE(zvLib::ProgramEnded());
    EXPECT_EQ(zvLib::Form(zvForm::frmMain), nullptr);
    EXPECT_FALSE(alive->isVisible());
    EXPECT_EQ(zvLib::GetSetting("Zorv", "Options", "LangID"), "EN");
}

TEST_F(CommandsTest, ClosingTheMainWindowEndsTheProgram)
{
    frmMain& main = mainWindow();
    EXPECT_TRUE(main.close());
    EXPECT_TRUE(zvLib::ProgramEnded());
    EXPECT_EQ(zvLib::Form(zvForm::frmMain), nullptr);
}

TEST_F(CommandsTest, ResetDeletesTheSettingsOnlyWhenConfirmed)
{
    writeAll(zvLib::UserFile, "[S.STOCK]\nA=1\n");
    writeAll(programDir() + "Zorv.ini", "[Options]\n");
    user_->answers = {2};
    run("TOOLS.RESET");
    EXPECT_TRUE(zvLib::ProgramEnded()) << "a cancelled reset still ends the program";
    ASSERT_EQ(user_->styles.size(), 1u);
    EXPECT_EQ(user_->styles[0], 289);
    EXPECT_EQ(user_->messages[0], "OK to reset Zorv ? All your preferences will be lost. Your "
                                  "projects will NOT be deleted.");
    EXPECT_TRUE(std::filesystem::exists(zvLib::IniFile));
    EXPECT_TRUE(std::filesystem::exists(zvLib::UserFile));

    zvLib::ResetProgramEnd();
    user_->answers = {1};
    run("TOOLS.RESET");
    EXPECT_FALSE(std::filesystem::exists(zvLib::IniFile));
    EXPECT_FALSE(std::filesystem::exists(zvLib::UserFile));
    EXPECT_FALSE(std::filesystem::exists(programDir() + "Zorv.ini"));
}

TEST_F(CommandsTest, StatusLineShowsTheReadyTextForAnEmptyMessage)
{
    frmMain& main = mainWindow();
    std::string message;
    zvLib::SetStatus(message, false);
    EXPECT_EQ(message, "Ready");
    EXPECT_EQ(main.abr.Band("sbr").Tool("pnlstatus").Caption(), "Ready");
    std::string busy = "Exporting";
    zvLib::SetStatus(busy, false);
    EXPECT_EQ(main.abr.Band("sbr").Tool("pnlstatus").Caption(), "Exporting");
}

} // namespace
