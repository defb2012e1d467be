// The save prompt and what depends on it: its three answers, the recent files in the File
// menu and their commands, the end of the program asked once whichever way it comes, a save
// that fails inside the prompt, and a reset that stays reset on the way out.
#include "DocumentsFixture.h"

#include "app/core/zvLib_options.h"
#include "app/core/zvLib_recent.h"
#include "app/core/zvLib_settings.h"
#include "app/zvLib_shell.h"
#include "foundation/zvLang.h"
#include "model/cUndo.h"
#include "model/zvCircuit.h"
#include "view/frmMain.h"
#include "view/zvLang_forms.h"

#include <QPointer>

#include <filesystem>
#include <functional>

using apptest::DocumentsFixture;
using testsupport::readAll;
using testsupport::writeAll;
using Messages = std::vector<std::string>;

namespace {

namespace fs = std::filesystem;

// A scripted user who does something more while a message box is up.
class BusyUser : public apptest::ScriptedUser {
  public:
    int MsgBox(const std::string& text, int style, const std::string& title) override
    {
        if (whileAsked) {
            auto act = std::move(whileAsked);
            whileAsked = nullptr;
            act();
        }
        return ScriptedUser::MsgBox(text, style, title);
    }
    std::function<void()> whileAsked;
};

class SavePromptTest : public DocumentsFixture {
  protected:
    // Copies the sample under another name; its full path.
    std::string copyAs(const std::string& name)
    {
        const std::string to = docs() + name;
        fs::copy_file(sample(), to, fs::copy_options::overwrite_existing);
        return to;
    }
    void open(std::string path) { zvLib::OpenCircuit(path); }
    // The start page, when it comes, is cancelled.
    void cancelStartPage()
    {
        user_->steps.push_back([](QDialog& d) { apptest::Click(d, "cmd(99)"); });
    }
};

TEST_F(SavePromptTest, ThreeAnswers)
{
    mainWindow();
    makeNew();
    cancelStartPage();
    EXPECT_EQ(run("FILE.NEW"), Messages{}) << "an unchanged circuit is left without a question";
    EXPECT_EQ(user_->dialogs.size(), 2u);

    change();
    const auto circuit = zvLib::Circuit();
    user_->answers = {vbMsg::Cancel};
    EXPECT_EQ(run("FILE.NEW"), Messages{"Save changes to New Zorv circuit.zv5 ?"});
    EXPECT_EQ(user_->styles.back(), vbMsg::YesNoCancel + vbMsg::Question);
    EXPECT_EQ(user_->dialogs.size(), 2u) << "Cancel: no start page";

    user_->answers = {vbMsg::No};
    cancelStartPage();
    run("FILE.NEW");
    EXPECT_EQ(user_->dialogs.size(), 3u) << "No: the start page without saving";
    EXPECT_EQ(zvLib::Circuit(), circuit);
    EXPECT_TRUE(zvLib::Undo().isdirty());

    // Yes on a circuit without a name asks for one; cancelling that cancels the command.
    user_->answers = {vbMsg::Yes};
    answerCancel();
    run("FILE.OPEN");
    EXPECT_EQ(lastDialog.mode, QFileDialog::AcceptSave);
    EXPECT_EQ(user_->dialogs.size(), 4u) << "the save dialog, then no open dialog";
    EXPECT_TRUE(zvLib::Undo().isdirty());

    // Yes with a name saves, then the command goes on.
    user_->answers = {vbMsg::Yes};
    answerFile(docs() + "yes.zv6");
    cancelStartPage();
    run("FILE.NEW");
    EXPECT_NE(readAll(docs() + "yes.zv6").find("CL32:AS1;"), std::string::npos);
    EXPECT_FALSE(zvLib::Undo().isdirty());
    EXPECT_EQ(user_->dialogs.size(), 6u);
}

TEST_F(SavePromptTest, RecentFilesInTheFileMenu)
{
    frmMain& main = mainWindow();
    cBarBand& file = main.abr.Band("mnuFile");
    writeAll(zvLib::IniFile, "[MRUFiles]\n1=" + docs() + "only.zv6\n");
    main.abr.OpenBand(file);
    EXPECT_TRUE(file.Tool("mru1").Visible());
    EXPECT_TRUE(file.Tool("mruSep").Visible());
    EXPECT_FALSE(file.Tool("mru2").Visible()) << "tools of empty entries stay as they are";

    std::vector<std::string> paths;
    for (const char* name : {"a.zv6", "b.zv6", "c.zv6", "d&e.zv6", "e.zv6"}) {
        paths.push_back(copyAs(name));
        open(paths.back());
    }
    open(paths[2]);
    main.abr.OpenBand(file);
    EXPECT_EQ(file.Tool("mru1").Caption(), "&1  " + paths[4]);
    EXPECT_EQ(file.Tool("mru1").Tag(), paths[4]);
    EXPECT_EQ(file.Tool("mru2").Caption(), "&2  " + docs() + "d&&e.zv6") << "a & shows as such";
    EXPECT_EQ(file.Tool("mru2").Tag(), paths[3]);
    EXPECT_EQ(file.Tool("mru3").Tag(), paths[2]) << "reopening keeps its place";
    EXPECT_EQ(file.Tool("mru4").Tag(), paths[1]);
    EXPECT_TRUE(file.Tool("mru4").Visible());

    // A recent file opens after the save prompt; Cancel keeps the circuit.
    change();
    const auto before = zvLib::Circuit();
    user_->answers = {vbMsg::Cancel};
    EXPECT_EQ(run("file.mru4").size(), 1u);
    EXPECT_EQ(zvLib::Circuit(), before);
    user_->answers = {vbMsg::No};
    run("file.mru4");
    EXPECT_NE(zvLib::Circuit(), before);
    EXPECT_EQ(zvLib::CurrentFile, "b.zv6");

    // A recent file that is gone is said and changes nothing.
    fs::remove(paths[2]);
    const auto current = zvLib::Circuit();
    EXPECT_EQ(run("FILE.MRU3"), Messages{"The file " + paths[2] + " cannot be found."});
    EXPECT_EQ(zvLib::Circuit(), current);
    EXPECT_EQ(zvLib::CurrentFile, "b.zv6");
}

TEST_F(SavePromptTest, RecentFileToolWithoutAPathOpensNoDialog)
{
    mainWindow();
    EXPECT_EQ(run("FILE.MRU1"), Messages{});
    EXPECT_TRUE(user_->dialogs.empty());
}

TEST_F(SavePromptTest, ExitAsksOnceWhicheverWayItComes)
{
    auto busy = std::make_shared<BusyUser>();
    user_ = busy;
    zvLib::ModalScript = busy;
    frmMain& main = mainWindow();
    QPointer<frmMain> alive(&main);
    makeNew();
    change();

    user_->answers = {vbMsg::Cancel};
    EXPECT_EQ(run("FILE.EXIT").size(), 1u);
    EXPECT_FALSE(zvLib::ProgramEnded());
    user_->answers = {vbMsg::Cancel};
    user_->messages.clear();
    EXPECT_FALSE(main.close()) << "the window frame, cancelled";
    EXPECT_EQ(user_->messages.size(), 1u);
    EXPECT_TRUE(main.isVisible());

    // The window manager closes the window while the menu's question is still up.
    bool closedMeanwhile = true;
    busy->whileAsked = [&] { closedMeanwhile = main.close(); };
    user_->answers = {vbMsg::No};
    EXPECT_EQ(run("FILE.EXIT").size(), 1u) << "asked once";
    EXPECT_FALSE(closedMeanwhile);
    EXPECT_TRUE(zvLib::ProgramEnded());
    ASSERT_FALSE(alive.isNull());
    EXPECT_FALSE(alive->isVisible());
    user_->messages.clear();
    EXPECT_TRUE(alive->close()) << "once ended, a close is taken without a question";
    EXPECT_TRUE(zvLib::AppExit(false)) << "already ended";
    EXPECT_TRUE(user_->messages.empty());
}

TEST_F(SavePromptTest, FailedSaveInThePromptKeepsTheProgramRunning)
{
    frmMain& main = mainWindow();
    makeNew();
    change();
    answerFile(docs() + "circuit.zv6");
    run("FILE.SAVE");
    change();
    fs::remove(docs() + "circuit.zv6");
    fs::create_directories(docs() + "circuit.zv6");
    user_->answers = {vbMsg::Yes};
    EXPECT_FALSE(main.close());
    ASSERT_EQ(user_->messages.size(), 2u) << "the question and the failure";
    EXPECT_NE(user_->messages[1].find(zvLang::Translate("$msg.savefailed.folder")),
              std::string::npos);
    EXPECT_FALSE(zvLib::ProgramEnded());
    EXPECT_TRUE(zvLib::Undo().isdirty());
    EXPECT_NE(zvLib::Circuit(), nullptr);
}

TEST_F(SavePromptTest, ResetStaysResetOnTheWayOut)
{
    mainWindow();
    makeNew();
    zvLib::MRUAdd(docs() + "x.zv6");
    user_->answers = {vbMsg::OK};
    run("TOOLS.RESET");
    EXPECT_TRUE(zvLib::ProgramEnded());
    EXPECT_FALSE(fs::exists(zvLib::IniFile));
    // Whatever still runs on the way out writes nothing.
    zvLib::OptionsSave();
    zvLib::MRUAdd(docs() + "y.zv6");
    zvLib::SaveSetting("Zorv", "Options", "LangID", "EN");
    for (QWidget* form : zvLib::LoadedForms()) {
        delete form;
    }
    zvLib::DestroyUnloadedForms();
    EXPECT_FALSE(fs::exists(zvLib::IniFile));
    EXPECT_FALSE(fs::exists(zvLib::UserFile));
}

} // namespace
