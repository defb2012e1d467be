// The Qt side of the toolbar and menu control: the widgets follow the model's properties, and
// clicks, menus, combos, tabs, pointer moves, shortcut keys and size changes reach the model.
#include "platform/cBarWidget.h"

#include "ControlsTestApp.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

class cBarWidgetTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        testsupport::ControlsApp();
        cBarBand& file = bar.AddBand("mnuFile", cBarBandType::Popup);
        Button(file, "new", "&New").ShortcutKey(0, "Ctrl+N");
        file.AddTool(2, "miSep").ControlType(cBarToolType::Separator);
        Button(file, "save", "&Save").ShortcutKey(0, "Ctrl+S");
        cBarBand& tbr = bar.AddBand("tbr", cBarBandType::Toolbar);
        cBarTool& combo = tbr.AddTool(1, "cboSet");
        combo.ControlType(cBarToolType::Combo);
        combo.Width(1800);
        combo.AddItem("SCX");
        combo.AddItem("NINCO");
        Button(tbr, "grid", "Grid");
        cBarBand& sbr = bar.AddBand("sbr", cBarBandType::StatusBar);
        sbr.AddTool(1, "pnlstatus").ControlType(cBarToolType::StatusPanel);
        cBarBand& menu = bar.AddBand("mnuMain", cBarBandType::MenuBar);
        Button(menu, "mnuFile", "&File").SubBand("mnuFile");
        Button(menu, "mnuTools", "&Tools").SubBand("mnuTools");
        cBarBand& tools = bar.AddBand("mnuTools", cBarBandType::Popup);
        Button(tools, "options", "Options");
        cBarBand& ibr = bar.AddBand("ibr", cBarBandType::ChildBands);
        for (const char* s : {"items", "snippets", "draw"}) {
            ibr.AddChildBand(s).Caption(s);
        }
        Button(ibr.ChildBand("items"), "SCX:C1", "C1").Category("item.append");

        auto& ev = bar.Events();
        ev.ToolClick = [this](cBarTool& t) { log.push_back("click " + t.Name()); };
        ev.ToolHoverEnter = [this](cBarTool& t) { log.push_back("enter " + t.Name()); };
        ev.ToolHoverLeave = [this](cBarTool& t) { log.push_back("leave " + t.Name()); };
        ev.ComboSelChange = [this](cBarTool& t) { log.push_back("combo " + t.Text()); };
        ev.ToolTextChange = [this](cBarTool& t) { log.push_back("text " + t.Text()); };
        ev.BandOpen = [this](cBarBand& b) { log.push_back("open " + b.Name()); };
        ev.ChildBandChange = [this](cBarBand&, cBarBand& c) { log.push_back("tab " + c.Name()); };
        binding = std::make_unique<cBarWidget>(bar, window);
    }

    cBarTool& Button(cBarBand& band, const std::string& name, const std::string& caption)
    {
        cBarTool& t = band.AddTool(band.ToolCount() + 1, name);
        t.Caption(caption);
        return t;
    }

    cBarTool& ToolOf(const char* band, const char* tool) { return bar.Band(band).Tool(tool); }

    cBarModel bar;
    QMainWindow window;
    std::unique_ptr<cBarWidget> binding;
    std::vector<std::string> log;
};

TEST_F(cBarWidgetTest, EachBandGetsItsKindOfWidget)
{
    EXPECT_EQ(binding->BandWidget(bar.Band("mnuMain")), window.menuBar());
    EXPECT_EQ(binding->BandWidget(bar.Band("sbr")), window.statusBar());
    EXPECT_NE(qobject_cast<QToolBar*>(binding->BandWidget(bar.Band("tbr"))), nullptr);
    auto* tabs = qobject_cast<QTabWidget*>(binding->BandWidget(bar.Band("ibr")));
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(2), "draw");

    // Menu bar entries open the menus named by their sub band, also one made later.
    auto* fileMenu = qobject_cast<QMenu*>(binding->BandWidget(bar.Band("mnuFile")));
    auto* toolsMenu = qobject_cast<QMenu*>(binding->BandWidget(bar.Band("mnuTools")));
    EXPECT_EQ(binding->ToolAction(ToolOf("mnuMain", "mnuFile"))->menu(), fileMenu);
    EXPECT_EQ(binding->ToolAction(ToolOf("mnuMain", "mnuTools"))->menu(), toolsMenu);
    ASSERT_EQ(fileMenu->actions().size(), 3);
    EXPECT_TRUE(fileMenu->actions()[1]->isSeparator());
}

TEST_F(cBarWidgetTest, WidgetsFollowToolProperties)
{
    cBarTool& save = ToolOf("mnuFile", "save");
    QAction* a = binding->ToolAction(save);
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(a->text().startsWith("&Save\t")); // the key shows beside a menu entry
    save.Caption("&Salva");
    save.ToolTipText("Salva il circuito");
    save.Enabled(false);
    EXPECT_TRUE(a->text().startsWith("&Salva\t"));
    EXPECT_EQ(a->toolTip(), "Salva il circuito");
    EXPECT_FALSE(a->isEnabled());

    cBarTool& grid = ToolOf("tbr", "grid");
    QAction* g = binding->ToolAction(grid);
    grid.Checked(true);
    EXPECT_TRUE(g->isChecked());
    grid.Visible(false);
    EXPECT_FALSE(g->isVisible());
    grid.Checked(false);
    EXPECT_FALSE(g->isChecked());

    cBarTool& status = ToolOf("sbr", "pnlstatus");
    status.Caption("Ready");
    auto* label = qobject_cast<QLabel*>(binding->ToolWidget(status));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "Ready");

    bar.Band("tbr").Visible(false);
    EXPECT_TRUE(binding->BandWidget(bar.Band("tbr"))->isHidden());

    // A menu bar entry keeps its own caption when the bands are laid out again, whatever
    // the title of the band it opens.
    bar.Band("mnuFile").Caption("File band");
    ToolOf("mnuMain", "mnuFile").Caption("&Fichier");
    bar.RecalcLayout();
    EXPECT_EQ(binding->ToolAction(ToolOf("mnuMain", "mnuFile"))->text(), "&Fichier");
}

TEST_F(cBarWidgetTest, ClicksMenusAndPointerReachTheModel)
{
    window.show();
    QAction* grid = binding->ToolAction(ToolOf("tbr", "grid"));
    grid->setCheckable(true); // even a toggle the user flips keeps the model's state
    grid->trigger();
    EXPECT_FALSE(grid->isChecked());

    auto* menu = qobject_cast<QMenu*>(binding->BandWidget(bar.Band("mnuFile")));
    menu->popup(QPoint(10, 10));
    emit menu->hovered(binding->ToolAction(ToolOf("mnuFile", "new")));
    emit menu->hovered(binding->ToolAction(ToolOf("mnuFile", "save")));
    menu->hide();

    QWidget* piece = binding->ToolWidget(bar.Band("ibr").ChildBand("items").Tool(0));
    ASSERT_NE(piece, nullptr);
    QEvent enter(QEvent::Enter), leave(QEvent::Leave);
    QApplication::sendEvent(piece, &enter);
    QApplication::sendEvent(piece, &leave);
    EXPECT_EQ(log, (std::vector<std::string>{"click grid", "open mnuFile", "enter new", "leave new",
                                             "enter save", "leave save", "enter SCX:C1",
                                             "leave SCX:C1"}));
}

TEST_F(cBarWidgetTest, CombosAndTabsReportTheUsersChoice)
{
    cBarTool& set = ToolOf("tbr", "cboSet");
    auto* combo = qobject_cast<QComboBox*>(binding->ToolWidget(set));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->width(), 120); // 1800 twips
    emit combo->activated(1);
    EXPECT_EQ(set.ListIndex(), 1);
    set.AddItem("CARRERA");
    set.Text("CARRERA"); // the program's own change shows and raises nothing
    EXPECT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->currentText(), "CARRERA");
    EXPECT_FALSE(combo->isEditable()) << "a list to pick from takes no typed text";

    auto* tabs = qobject_cast<QTabWidget*>(binding->BandWidget(bar.Band("ibr")));
    tabs->setCurrentIndex(2);
    bar.Band("ibr").ActiveChildBand(0);
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"combo NINCO", "tab draw"}));
}

TEST_F(cBarWidgetTest, RebuiltBandsShowTheirNewTools)
{
    cBarBand& items = bar.Band("ibr").ChildBand("items");
    items.RemoveAllTools();
    items.AddTool(1, "SCX:C2").Caption("C2");
    items.AddTool(2, "sep").ControlType(cBarToolType::Separator);
    cBarTool& last = items.AddTool(3, "SCX:S1");
    last.Caption("S1");
    binding->Flush();
    auto* page = qobject_cast<QToolBar*>(binding->BandWidget(items));
    ASSERT_NE(page, nullptr);
    ASSERT_EQ(page->actions().size(), 3);
    EXPECT_EQ(page->actions()[2], binding->ToolAction(last));
    page->actions()[0]->trigger();
    EXPECT_EQ(log, std::vector<std::string>{"click SCX:C2"});
}

TEST_F(cBarWidgetTest, PicturesDropTheirMaskColour)
{
    testsupport::TempDir dir;
    QImage img(8, 8, QImage::Format_RGB32);
    img.fill(QColor(255, 0, 255));
    img.setPixel(3, 3, qRgb(0, 0, 0));
    ASSERT_TRUE(img.save(QString::fromStdString(dir.file("C1.bmp"))));
    cBarTool& piece = bar.Band("ibr").ChildBand("items").Tool(0);
    piece.Style(2);
    piece.MaskColor(0xFF00FF);
    piece.Picture(0, dir.file("C1.bmp"));
    const QImage shown = binding->ToolAction(piece)->icon().pixmap(8, 8).toImage();
    ASSERT_FALSE(shown.isNull());
    EXPECT_EQ(qAlpha(shown.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(shown.pixel(3, 3)), 255);
}

TEST_F(cBarWidgetTest, OneQtShortcutPerKeyRunsTheRegistrysTool)
{
    cBarBand& ctx = bar.AddBand("mnuItem", cBarBandType::Popup);
    Button(ctx, "savesnippet", "Save snippet").ShortcutKey(0, "Ctrl+S");
    binding->Flush();
    const auto shortcuts = window.findChildren<QShortcut*>();
    ASSERT_EQ(shortcuts.size(), 2); // Ctrl+N and Ctrl+S, though two tools carry Ctrl+S
    for (QShortcut* sc : shortcuts) {
        if (sc->key() == QKeySequence("Ctrl+S")) {
            emit sc->activated();
        }
    }
    ToolOf("mnuFile", "save").Enabled(false);
    for (QShortcut* sc : shortcuts) {
        if (sc->key() == QKeySequence("Ctrl+S")) {
            emit sc->activated();
        }
    }
    EXPECT_EQ(log, (std::vector<std::string>{"click save", "click savesnippet"}));
}

TEST_F(cBarWidgetTest, TheClientAreaIsWhatTheBandsLeaveFree)
{
    int resizes = 0;
    bar.Events().Resize = [&] { ++resizes; };
    window.resize(800, 600);
    window.show();
    QApplication::processEvents();
    const QRect free = binding->ClientWidget()->geometry();
    const cBarRect area = bar.ClientArea();
    EXPECT_GT(resizes, 0);
    EXPECT_EQ(area.left, free.left() * 15);
    EXPECT_EQ(area.top, free.top() * 15);
    EXPECT_EQ(area.width, free.width() * 15);
    EXPECT_EQ(area.height, free.height() * 15);
    EXPECT_GT(area.top, 0); // below the menu bar and the toolbar
    EXPECT_LT(area.width, 800 * 15);
}

} // namespace
