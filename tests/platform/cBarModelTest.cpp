// The toolbar and menu control as data: lookups, the events of user actions, combo tools,
// child bands and the shortcut registry with keys two tools share.
#include "platform/cBarModel.h"

#include "foundation/cError.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// A control with a File menu, a context menu, a toolbar with a combo and an item bar.
class cBarModelTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        cBarBand& file = bar.AddBand("mnuFile", cBarBandType::Popup);
        AddButton(file, "new", "file").ShortcutKey(0, "Ctrl+N");
        file.AddTool(2, "miSep").ControlType(cBarToolType::Separator);
        cBarTool& save = AddButton(file, "save", "file");
        save.ShortcutKey(0, "Ctrl+S");
        save.ShortcutKey(1, "Shift+F12");
        cBarBand& tbr = bar.AddBand("tbr", cBarBandType::Toolbar);
        cBarTool& combo = tbr.AddTool(10, "cboSet");
        combo.ControlType(cBarToolType::Combo);
        for (const char* s : {"SCX", "NINCO", "CARRERA"}) {
            combo.AddItem(s);
        }
        AddButton(tbr, "miHContents", "Help").ShortcutKey(0, "F1");
        cBarBand& help = bar.AddBand("mnuHelp", cBarBandType::Popup);
        AddButton(help, "help", "Help").ShortcutKey(0, "f1");
        cBarBand& ctx = bar.AddBand("mnuItem", cBarBandType::Popup);
        AddButton(ctx, "savesnippet", "EDIT").ShortcutKey(0, "ctrl+s");
        cBarBand& ibr = bar.AddBand("ibr", cBarBandType::ChildBands);
        for (const char* s : {"items", "snippets", "draw"}) {
            ibr.AddChildBand(s);
        }
        AddButton(ibr.ChildBand("items"), "SCX:C1", "item.append");

        auto& ev = bar.Events();
        ev.ToolClick = [this](cBarTool& t) { log.push_back("click " + t.Name()); };
        ev.ToolHoverEnter = [this](cBarTool& t) { log.push_back("enter " + t.Name()); };
        ev.ToolHoverLeave = [this](cBarTool& t) { log.push_back("leave " + t.Name()); };
        ev.ComboSelChange = [this](cBarTool& t) { log.push_back("combo " + t.Text()); };
        ev.ToolTextChange = [this](cBarTool& t) { log.push_back("text " + t.Text()); };
        ev.BandOpen = [this](cBarBand& b) { log.push_back("open " + b.Name()); };
        ev.ChildBandChange = [this](cBarBand& b, cBarBand& c) {
            log.push_back("child " + b.Name() + "/" + c.Name());
        };
    }

    cBarTool& AddButton(cBarBand& band, const std::string& name, const std::string& category)
    {
        cBarTool& t = band.AddTool(band.ToolCount() + 1, name);
        t.Category(category);
        return t;
    }

    // The number of the error a call raises; 0 when it raises none.
    template <typename F> long ErrorOf(F f)
    {
        try {
            f();
        } catch (const cError& e) {
            return e.Number();
        }
        return 0;
    }

    cBarModel bar;
    std::vector<std::string> log;
};

TEST_F(cBarModelTest, FindsBandsToolsAndChildBandsWithoutRegardToCase)
{
    EXPECT_EQ(&bar.Band("MNUFILE"), &bar.Band(0));
    EXPECT_EQ(bar.Band("mnufile").Tool("SAVE").Category(), "file");
    EXPECT_EQ(bar.Band("IBR").ChildBand("Draw").Name(), "draw");
    EXPECT_EQ(bar.Band("ibr").ChildBand(1).Name(), "snippets");
    EXPECT_EQ(bar.FindBand("nothing"), nullptr);
    EXPECT_EQ(bar.Band("tbr").FindTool("nothing"), nullptr);

    EXPECT_EQ(ErrorOf([&] { bar.Band("nothing"); }), 9);
    EXPECT_EQ(ErrorOf([&] { bar.Band("tbr").Tool("nothing"); }), 9);
    EXPECT_EQ(ErrorOf([&] { bar.Band("ibr").ChildBand("nothing"); }), 9);
    EXPECT_EQ(ErrorOf([&] { bar.Band("tbr").Tool(99); }), 9);
    EXPECT_EQ(ErrorOf([&] { bar.AddBand("TBR", cBarBandType::Toolbar); }), 457);
    EXPECT_EQ(ErrorOf([&] { bar.Band("tbr").Tool(0).Picture(3); }), 9);
    EXPECT_EQ(ErrorOf([&] { bar.Band("tbr").Tool(0).ShortcutKey(3, "F2"); }), 9);
}

TEST_F(cBarModelTest, UserActionsRaiseTheirEvents)
{
    cBarBand& file = bar.Band("mnuFile");
    bar.EnterTool(file.Tool("new"));
    bar.ClickTool(file.Tool("new"));
    bar.LeaveTool(file.Tool("new"));
    bar.OpenBand(file);
    EXPECT_EQ(log,
              (std::vector<std::string>{"enter new", "click new", "leave new", "open mnuFile"}));

    // Separators and disabled tools send nothing.
    log.clear();
    bar.ClickTool(file.Tool("miSep"));
    file.Tool("new").Enabled(false);
    bar.ClickTool(file.Tool("new"));
    EXPECT_TRUE(log.empty());

    bool resized = false;
    bar.Events().Resize = [&] { resized = bar.ClientArea().width == 9000; };
    bar.Resized({0, 600, 9000, 6000});
    EXPECT_TRUE(resized);
    EXPECT_EQ(bar.ClientArea().top, 600);
}

TEST_F(cBarModelTest, ComboToolsChooseEntriesAndTakeText)
{
    cBarTool& combo = bar.Band("tbr").Tool("cboSet");
    bar.ChooseComboEntry(combo, 1);
    EXPECT_EQ(combo.ListIndex(), 1);
    EXPECT_EQ(combo.Text(), "NINCO");
    EXPECT_EQ(log, std::vector<std::string>{"combo NINCO"});

    // The program's own changes raise nothing and keep index and text together.
    log.clear();
    combo.Text("CARRERA");
    EXPECT_EQ(combo.ListIndex(), 2);
    combo.Text("unknown");
    EXPECT_EQ(combo.ListIndex(), -1);
    combo.ListIndex(0);
    EXPECT_EQ(combo.Text(), "SCX");
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(ErrorOf([&] { combo.ListIndex(3); }), 380);

    // The user's typing raises a text change once per new text.
    bar.ChangeToolText(combo, "1.25");
    bar.ChangeToolText(combo, "1.25");
    EXPECT_EQ(log, std::vector<std::string>{"text 1.25"});

    combo.Clear();
    EXPECT_EQ(combo.ListCount(), 0);
    EXPECT_EQ(combo.ListIndex(), -1);
    bar.ChooseComboEntry(combo, 0); // nothing to choose
    EXPECT_EQ(log.size(), 1u);
}

TEST_F(cBarModelTest, ChildBandChangesOnlyWhenTheUserPicksAnotherOne)
{
    cBarBand& ibr = bar.Band("ibr");
    EXPECT_EQ(ibr.ActiveChildBand(), 0);
    bar.ChangeChildBand(ibr, 2);
    bar.ChangeChildBand(ibr, 2);
    EXPECT_EQ(log, std::vector<std::string>{"child ibr/draw"});
    ibr.ActiveChildBand(0);
    EXPECT_EQ(log.size(), 1u);
    EXPECT_EQ(ErrorOf([&] { ibr.ActiveChildBand(3); }), 380);
}

TEST_F(cBarModelTest, ShortcutKeysAreKeptInOneSpelling)
{
    EXPECT_EQ(cBarModel::NormalizeShortcut("shift+ctrl+f12"), "Ctrl+Shift+F12");
    EXPECT_EQ(cBarModel::NormalizeShortcut("Alt + Shift + F12"), "Alt+Shift+F12");
    EXPECT_EQ(cBarModel::NormalizeShortcut("Control++"), "Ctrl++");
    EXPECT_EQ(cBarModel::NormalizeShortcut("ctrl+num+5"), "Ctrl+Num+5");
    EXPECT_EQ(cBarModel::NormalizeShortcut("Shift+Delete"), "Shift+DEL");
    EXPECT_EQ(cBarModel::NormalizeShortcut("Shift+Insert"), "Shift+INS");
    EXPECT_EQ(cBarModel::NormalizeShortcut("+"), "+");
    EXPECT_EQ(cBarModel::NormalizeShortcut("Ctrl+"), "");
    EXPECT_EQ(cBarModel::NormalizeShortcut(""), "");

    EXPECT_EQ(bar.ShortcutKeys(),
              (std::vector<std::string>{"Ctrl+N", "Ctrl+S", "Shift+F12", "F1"}));
}

TEST_F(cBarModelTest, ASharedKeyRunsTheFirstUsableToolInBandOrder)
{
    // Ctrl+S: the File menu's save before the context menu's savesnippet.
    EXPECT_TRUE(bar.PressShortcut("ctrl+S"));
    // F1: the toolbar comes before the Help menu in band order.
    EXPECT_TRUE(bar.PressShortcut("F1"));
    EXPECT_EQ(log, (std::vector<std::string>{"click save", "click miHContents"}));

    // A disabled or hidden carrier hands the key to the next one.
    log.clear();
    bar.Band("mnuFile").Tool("save").Enabled(false);
    bar.Band("tbr").Tool("miHContents").Visible(false);
    EXPECT_TRUE(bar.PressShortcut("Ctrl+S"));
    EXPECT_TRUE(bar.PressShortcut("F1"));
    EXPECT_EQ(log, (std::vector<std::string>{"click savesnippet", "click help"}));

    // The second key of a tool works too; a key nobody usable carries runs nothing.
    bar.Band("mnuFile").Tool("save").Enabled(true);
    EXPECT_EQ(bar.ShortcutTool("shift+f12"), &bar.Band("mnuFile").Tool("save"));
    bar.Band("mnuFile").Tool("save").Visible(false);
    EXPECT_EQ(bar.ShortcutTool("Shift+F12"), nullptr);
    EXPECT_FALSE(bar.PressShortcut("Ctrl+Q"));
}

TEST_F(cBarModelTest, AHandlerMayRebuildTheBandOfTheToolItRuns)
{
    cBarBand& items = bar.Band("ibr").ChildBand("items");
    std::string seenAfter;
    bar.Events().ToolClick = [&](cBarTool& t) {
        items.RemoveAllTools();
        items.AddTool(1, "SCX:C2");
        seenAfter = t.Name() + " " + t.Category(); // the removed tool is still readable
    };
    bar.ClickTool(items.Tool(0));
    EXPECT_EQ(seenAfter, "SCX:C1 item.append");
    ASSERT_EQ(items.ToolCount(), 1);
    EXPECT_EQ(items.Tool(0).Name(), "SCX:C2");
}

} // namespace
