// The main window: its bands and tools as the program addresses them, captions in two
// languages, the interface modes, the layout of the client area and the commands its tools
// send.
#include "AppTest.h"

#include "app/core/zvLib_options.h"
#include "app/zvLib_shell.h"
#include "foundation/zvLang.h"
#include "platform/cBarWidget.h"
#include "view/frmMain.h"
#include "view/zvLang_forms.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>

#include <set>

using apptest::AppFixture;

namespace {

class frmMainTest : public AppFixture {
  protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        useLanguage("EN");
        main_ = new frmMain;
        zvLib::LoadForm(zvForm::frmMain, main_);
    }
    cBarTool& tool(const char* band, const char* name) { return main_->abr.Band(band).Tool(name); }
    std::string shown(const char* band, const char* name)
    {
        QAction* a = main_->abrView().ToolAction(tool(band, name));
        return a != nullptr ? a->text().toStdString() : "<none>";
    }

    frmMain* main_ = nullptr;
};

TEST_F(frmMainTest, BandsAreStoredInOrderWithTheirKinds)
{
    const std::vector<std::pair<std::string, cBarBandType>> expected = {
        {"mnuFile", cBarBandType::Popup},    {"mnuEdit", cBarBandType::Popup},
        {"mnuView", cBarBandType::Popup},    {"mnuHelp", cBarBandType::Popup},
        {"tbr", cBarBandType::Toolbar},      {"sbr", cBarBandType::StatusBar},
        {"mnuMain", cBarBandType::MenuBar},  {"ibr", cBarBandType::ChildBands},
        {"mnuItem", cBarBandType::Popup},    {"mnuTools", cBarBandType::Popup},
        {"vbr", cBarBandType::Toolbar}};
    ASSERT_EQ(main_->abr.BandCount(), static_cast<int>(expected.size()));
    for (int i = 0; i < main_->abr.BandCount(); ++i) {
        EXPECT_EQ(main_->abr.Band(i).Name(), expected[i].first);
        EXPECT_EQ(main_->abr.Band(i).Type(), expected[i].second) << expected[i].first;
    }
    cBarBand& ibr = main_->abr.Band("ibr");
    ASSERT_EQ(ibr.ChildBandCount(), 3);
    EXPECT_EQ(ibr.ChildBand(0).Name(), "items");
    EXPECT_EQ(ibr.ChildBand(2).Tool(0).Name(), "pointer");
    // Each menu of the menu bar opens the band of its own name.
    cBarBand& bar = main_->abr.Band("mnuMain");
    for (int i = 0; i < bar.ToolCount(); ++i) {
        EXPECT_NE(main_->abr.FindBand(bar.Tool(i).SubBand()), nullptr) << bar.Tool(i).Name();
    }
}

TEST_F(frmMainTest, EveryToolButTheStatusPanelsIsCaptionedFromTheLanguageTable)
{
    main_->setUI();
    for (int b = 0; b < main_->abr.BandCount(); ++b) {
        cBarBand& band = main_->abr.Band(b);
        for (int t = 0; t < band.ToolCount(); ++t) {
            cBarTool& tl = band.Tool(t);
            if (band.Name() == "sbr" || tl.ControlType() == cBarToolType::Separator) {
                continue;
            }
            EXPECT_FALSE(tl.Caption().empty()) << band.Name() << "." << tl.Name();
            EXPECT_EQ(tl.ToolTipText().find('&'), std::string::npos) << tl.Name();
            EXPECT_EQ(tl.ToolTipText().find("..."), std::string::npos) << tl.Name();
        }
    }
    EXPECT_EQ(tool("tbr", "cboSet").Caption(), zvLang::Translate("$cmd.cboSet"));
    EXPECT_EQ(tool("mnuFile", "open").Caption(), "&Open...");
    EXPECT_EQ(tool("sbr", "pnlinfo_2").ToolTipText(), "Approx. length");
    EXPECT_EQ(tool("sbr", "pnlstatus").Caption(), "");
    EXPECT_EQ(main_->abr.Band("ibr").ChildBand(2).Tool("line").Caption(),
              zvLang::Translate("$cmd.line"));
}

TEST_F(frmMainTest, TranslatingAgainShowsTheOtherLanguageAtOnce)
{
    main_->setUI();
    main_->show();
    EXPECT_EQ(shown("mnuMain", "mnuEdit"), "&Edit");
    auto* tabs = qobject_cast<QTabWidget*>(main_->abrView().BandWidget(main_->abr.Band("ibr")));
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->tabText(0).toStdString(), "Pieces");

    zvLang::LangID("IT");
    zvLib::TranslateOpenForms();
    EXPECT_EQ(shown("mnuMain", "mnuEdit"), "&Modifica");
    EXPECT_EQ(tabs->tabText(2).toStdString(), "Disegno");

    // A hidden window keeps the texts it has.
    main_->hide();
    zvLang::LangID("EN");
    zvLib::TranslateOpenForms();
    EXPECT_EQ(shown("mnuMain", "mnuEdit"), "&Modifica");
}

TEST_F(frmMainTest, OnlyTheProgramsOwnMainWindowIsTranslated)
{
    frmMain other;
    zvLang::TranslateForm(other);
    EXPECT_EQ(other.abr.Band("mnuFile").Tool("new").Caption(), "");
    zvLang::TranslateForm(*main_);
    EXPECT_EQ(main_->abr.Band("mnuFile").Tool("new").Caption(), zvLang::Translate("$cmd.new"));
}

TEST_F(frmMainTest, ModeNewDisablesTheMenusThatNeedACircuitButNotTheToolbar)
{
    tool("mnuFile", "printsetup").Enabled(false);
    main_->setMode("new");
    for (const char* band : {"mnuEdit", "mnuView"}) {
        cBarBand& b = main_->abr.Band(band);
        for (int i = 0; i < b.ToolCount(); ++i) {
            EXPECT_FALSE(b.Tool(i).Enabled()) << band << "." << b.Tool(i).Name();
        }
    }
    for (const char* on : {"new", "open", "exit"}) {
        EXPECT_TRUE(tool("mnuFile", on).Enabled()) << on;
    }
    for (const char* off : {"save", "saveas", "print"}) {
        EXPECT_FALSE(tool("mnuFile", off).Enabled()) << off;
    }
    EXPECT_FALSE(tool("mnuFile", "printsetup").Enabled()) << "other file tools keep their state";
    EXPECT_TRUE(tool("tbr", "cut").Enabled());
    EXPECT_TRUE(tool("tbr", "zoom+").Enabled());
    EXPECT_FALSE(tool("vbr", "design").Checked());

    main_->setMode("Design");
    for (const char* band : {"mnuFile", "mnuEdit", "mnuView"}) {
        cBarBand& b = main_->abr.Band(band);
        for (int i = 0; i < b.ToolCount(); ++i) {
            EXPECT_TRUE(b.Tool(i).Enabled()) << band << "." << b.Tool(i).Name();
        }
    }
    EXPECT_TRUE(tool("vbr", "design").Checked());

    main_->setMode("NEW");
    main_->setMode("REPORT");
    EXPECT_FALSE(tool("mnuEdit", "undo").Enabled()) << "an unknown mode changes nothing";
}

TEST_F(frmMainTest, SharedShortcutRunsTheUsableTool)
{
    main_->setMode("DESIGN");
    EXPECT_EQ(main_->abr.ShortcutTool("Ctrl+S"), &tool("mnuFile", "save"));
    EXPECT_EQ(main_->abr.ShortcutTool("F1"), &tool("mnuHelp", "help"));
    main_->setMode("NEW");
    EXPECT_EQ(main_->abr.ShortcutTool("Ctrl+S"), &tool("mnuItem", "savesnippet"));
    EXPECT_EQ(main_->abr.ShortcutTool("Ctrl+G"), &tool("tbr", "grid"));
}

TEST_F(frmMainTest, PrepareFillsTheSetChooserAndHidesWhatWaitsForACircuit)
{
    main_->setUI();
    cBarTool& sets = tool("tbr", "cboSet");
    EXPECT_EQ(sets.ControlType(), cBarToolType::Combo);
    EXPECT_EQ(sets.Width(), 1800);
    EXPECT_FALSE(tool("vbr", "editor").Visible()) << "outside development mode";
    EXPECT_FALSE(main_->abr.Band("ibr").Visible());
}

TEST_F(frmMainTest, ClientAreaIsSharedByCanvasScrollBarsAndPages)
{
    main_->abr.Resized({0, 900, 9000, 6000});
    EXPECT_EQ(main_->pic->geometry(), QRect(0, 0, 579, 379));
    EXPECT_EQ(main_->hsc->geometry(), QRect(0, 379, 579, 21));
    EXPECT_EQ(main_->vsc->geometry(), QRect(579, 0, 21, 379));
    EXPECT_EQ(main_->cmd->geometry(), QRect(579, 379, 21, 21));
    EXPECT_EQ(main_->pag->geometry(), QRect(0, 0, 600, 400));

    main_->abr.Resized({0, 900, 9000, 1999});
    EXPECT_EQ(main_->pic->geometry(), QRect(0, 0, 579, 379)) << "too small: left alone";
    main_->abr.Resized({0, 900, 1999, 6000});
    EXPECT_EQ(main_->pag->geometry(), QRect(0, 0, 600, 400));
}

TEST_F(frmMainTest, WindowAtItsSmallestSizeIsLaidOut)
{
    main_->setUI();
    main_->resize(1000, 700);
    main_->show();
    QApplication::processEvents();
    main_->resize(main_->minimumSize());
    QApplication::processEvents();
    ASSERT_EQ(main_->size(), main_->minimumSize());
    const QRect client = main_->abrView().ClientWidget()->rect();
    ASSERT_FALSE(client.isEmpty());
    EXPECT_TRUE(client.contains(main_->hsc->geometry())) << "the horizontal bar is inside";
    EXPECT_TRUE(client.contains(main_->vsc->geometry())) << "the vertical bar is inside";
    EXPECT_EQ(main_->pic->width() + main_->vsc->width(), client.width());
    EXPECT_EQ(main_->pic->height() + main_->hsc->height(), client.height());
    EXPECT_EQ(main_->pag->geometry(), client) << "the page container covers the client area";
}

TEST_F(frmMainTest, ToolsSendTheirCategoryAndName)
{
    main_->setUI();
    main_->setMode("NEW");
    main_->abr.ClickTool(tool("mnuTools", "options"));
    main_->abr.ClickTool(tool("mnuHelp", "help"));
    // A dot inside a tool's name travels as character 1 and the dispatcher gives it back.
    cBarTool& dotted = main_->abr.Band("tbr").AddTool(900, "a.b");
    dotted.Category("tools");
    main_->abr.ClickTool(dotted);
    cBarTool& snippet = main_->abr.Band("ibr").ChildBand("snippets").AddTool(901, "K1");
    snippet.Category("snippet.append");
    snippet.Tag("S:X.1;");
    main_->abr.ClickTool(snippet);
    const std::vector<std::string> expected = {"Under construction", "TOOLS.A\x01" "B"};
    EXPECT_EQ(user_->messages, expected) << "a snippet without a circuit does nothing";
    EXPECT_EQ(user_->dialogs, std::vector<std::string>{"Options"}) << "the options dialog";
}

TEST_F(frmMainTest, DrawTabMakesTheCanvasClicksIdle)
{
    main_->abr.ChangeChildBand(main_->abr.Band("ibr"), 2);
    EXPECT_TRUE(main_->CurrentLayer);
    main_->abr.ChangeChildBand(main_->abr.Band("ibr"), 0);
    EXPECT_FALSE(main_->CurrentLayer);
}

TEST_F(frmMainTest, OptionsSetTheViewTogglesOfTheToolbar)
{
    zvOptionsHost* host = zvLib::OptionsHost;
    ASSERT_NE(host, nullptr);
    host->ToolPressed("grid", true);
    EXPECT_TRUE(tool("tbr", "grid").Checked());
    EXPECT_FALSE(tool("mnuView", "grid").Checked());
    main_->abr.Band("ibr").Width(2100);
    EXPECT_EQ(host->ItemBarWidth(), 2100);
    delete main_;
    EXPECT_EQ(zvLib::OptionsHost, nullptr);
}

} // namespace
