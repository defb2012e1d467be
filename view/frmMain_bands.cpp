// frmMain's toolbar and menu control as designed: its eleven bands in their stored order and
// every tool with the category and name its click sends, its kind, its visibility and its
// shortcut keys. Captions and tips come from the language table when the window is prepared.
#include "view/frmMain.h"

#include <initializer_list>
#include <string_view>

namespace {

// Adds tools to one band, numbering them across the whole control.
class BandFiller {
  public:
    BandFiller(cBarBand& band, long& nextId) : band_(band), nextId_(nextId) {}

    // A button or menu entry with its category and up to three shortcut keys.
    cBarTool& Tool(const char* name, const char* category,
                   std::initializer_list<const char*> keys = {})
    {
        cBarTool& t = band_.AddTool(nextId_++, name);
        t.Category(category);
        int k = 0;
        for (const char* key : keys) {
            t.ShortcutKey(k++, key);
        }
        return t;
    }
    // The same tool hidden.
    cBarTool& Hidden(const char* name, const char* category)
    {
        cBarTool& t = Tool(name, category);
        t.Visible(false);
        return t;
    }
    // Several tools of one category without shortcut keys.
    void Tools(std::initializer_list<const char*> names, const char* category)
    {
        for (const char* n : names) {
            Tool(n, category);
        }
    }
    // A separator line.
    cBarTool& Sep(const char* name = "miSep")
    {
        cBarTool& t = band_.AddTool(nextId_++, name);
        t.ControlType(cBarToolType::Separator);
        return t;
    }
    // A panel of the status bar; width in twips, 0 to take the room left.
    void Panel(const char* name, int width, const char* tip = "")
    {
        cBarTool& t = band_.AddTool(nextId_++, name);
        t.ControlType(cBarToolType::StatusPanel);
        t.Width(width);
        t.ToolTipText(tip);
    }

  private:
    cBarBand& band_;
    long& nextId_;
};

constexpr int kInfoPanelWidth = 2400;

void FillFileMenu(BandFiller f)
{
    f.Tool("new", "file", {"Ctrl+N"});
    f.Tool("open", "file", {"Ctrl+O", "Ctrl+F12", "Ctrl+Alt+F12"});
    f.Sep();
    f.Tool("save", "file", {"Ctrl+S", "Shift+F12", "Alt+Shift+F12"});
    f.Tool("saveas", "File", {"F12"});
    f.Sep();
    f.Tool("print", "File", {"Ctrl+P", "Ctrl+Shift+F12"});
    f.Tools({"printsetup", "export", "excel"}, "file");
    f.Sep("mruSep").Visible(false);
    for (const char* mru : {"mru1", "mru2", "mru3", "mru4"}) {
        f.Hidden(mru, "File");
    }
    f.Sep();
    f.Tool("exit", "File", {"Alt+F4"});
}

void FillEditMenu(BandFiller f)
{
    f.Tool("undo", "Edit", {"Ctrl+Z"});
    f.Tool("redo", "Edit");
    f.Sep();
    f.Tool("cut", "Edit", {"Ctrl+X", "Shift+Delete"});
    f.Tool("copy", "Edit", {"Ctrl+C"});
    f.Tool("paste", "Edit", {"Ctrl+V", "Shift+Insert"});
    f.Sep();
    f.Tool("selectall", "Edit", {"Ctrl+A", "Ctrl+Num+5"});
    f.Sep();
    f.Tool("delete", "Edit", {"Delete"});
    f.Tool("remove", "Edit", {"Ctrl+Delete"});
    f.Tool("mirror", "Edit", {"Ctrl+M"});
    f.Sep();
}

void FillViewMenu(BandFiller f)
{
    f.Tool("zoom+", "view", {"Ctrl++"});
    f.Tools({"zoom-", "fit"}, "view");
    f.Sep();
    f.Tools({"rotate-", "rotate+"}, "view");
    f.Sep();
    f.Tool("grid", "view", {"Ctrl+G"});
    f.Tool("lines", "view");
    f.Tool("fill", "view", {"Ctrl+F"});
    f.Tool("lanes", "view", {"Ctrl+L"});
    f.Tools({"refs", "kerbs"}, "view");
    f.Tool("info", "view", {"Ctrl+I"});
    f.Sep();
    f.Tools({"design", "report"}, "view");
    f.Hidden("editor", "view");
}

void FillHelpMenu(BandFiller f)
{
    f.Tool("help", "Help", {"F1"});
    f.Sep();
    f.Tool("about", "help");
    f.Sep();
    f.Tools({"web.nux", "web.trasken"}, "help");
}

void FillToolsMenu(BandFiller f)
{
    f.Tool("options", "tools");
    f.Sep();
    f.Tool("lang", "tools");
    f.Sep();
    f.Tool("reset", "tools");
}

void FillStandardBar(BandFiller f)
{
    f.Tool("cboSet", "").ControlType(cBarToolType::Combo);
    f.Sep();
    f.Tools({"new", "open", "save"}, "file");
    f.Sep();
    f.Tools({"cut", "copy", "paste"}, "Edit");
    f.Sep();
    f.Tools({"undo", "redo"}, "Edit");
    f.Sep();
    f.Tools({"zoom+", "zoom-", "fit"}, "view");
    f.Sep();
    f.Tools({"rotate-", "rotate+", "moveleft", "moveright", "moveup", "movedown"}, "view");
    f.Sep();
    f.Hidden("select", "object");
    f.Tool("ruler", "object");
    for (const char* hidden : {"polyline", "text", "line", "rect"}) {
        f.Hidden(hidden, "object");
    }
    f.Sep();
    f.Tool("grid", "view", {"Ctrl+G"});
    f.Tool("lines", "view");
    f.Tool("fill", "view", {"Ctrl+F"});
    f.Tool("fillex", "view");
    f.Tool("lanes", "view", {"Ctrl+L"});
    f.Tools({"refs", "kerbs"}, "view");
    f.Tool("info", "view", {"Ctrl+I"});
    f.Sep();
    f.Tool("miHContents", "Help", {"F1"});
}

void FillStatusBar(BandFiller f)
{
    f.Panel("pnlstatus", 0);
    f.Panel("pnlinfo_1", kInfoPanelWidth);
    f.Panel("pnlinfo_0", kInfoPanelWidth);
    f.Panel("pnlinfo_2", kInfoPanelWidth, "Approx. length");
    f.Panel("pnlinfo_3", kInfoPanelWidth, "Approx. width and height");
}

void FillMenuBar(BandFiller f)
{
    for (const char* menu : {"mnuFile", "mnuEdit", "mnuView", "mnuTools", "mnuHelp"}) {
        const bool noCategory = std::string_view(menu) == "mnuTools";
        f.Tool(menu, noCategory ? "" : "Menus").SubBand(menu);
    }
}

void FillItemBar(cBarBand& ibr, long& nextId)
{
    ibr.AddChildBand("items");
    ibr.AddChildBand("snippets");
    BandFiller draw(ibr.AddChildBand("draw"), nextId);
    draw.Tools({"pointer", "text", "line"}, "");
}

void FillContextMenu(BandFiller f)
{
    f.Tools({"cut", "copy", "paste"}, "Edit");
    f.Sep();
    f.Tools({"delete", "remove", "mirror"}, "Edit");
    f.Sep();
    f.Tools({"tofront", "toback", "kerbLeft", "kerbRight"}, "Edit");
    f.Sep();
    f.Tool("savesnippet", "EDIT", {"Ctrl+S"});
}

void FillViewModeBar(BandFiller f)
{
    f.Tools({"design", "report", "editor"}, "view");
}

cBarBand& Band(cBarModel& abr, const char* name, cBarBandType type, const char* caption)
{
    cBarBand& band = abr.AddBand(name, type);
    band.Caption(caption);
    return band;
}

} // namespace

void frmMain::BuildBands()
{
    long id = 1;
    FillFileMenu({Band(abr, "mnuFile", cBarBandType::Popup, "&File"), id});
    FillEditMenu({Band(abr, "mnuEdit", cBarBandType::Popup, "Mo&difica"), id});
    FillViewMenu({Band(abr, "mnuView", cBarBandType::Popup, "View"), id});
    FillHelpMenu({Band(abr, "mnuHelp", cBarBandType::Popup, "Help"), id});
    FillStandardBar({Band(abr, "tbr", cBarBandType::Toolbar, "Standard"), id});
    FillStatusBar({Band(abr, "sbr", cBarBandType::StatusBar, "Status Bar"), id});
    FillMenuBar({Band(abr, "mnuMain", cBarBandType::MenuBar, "Main Menu"), id});
    FillItemBar(Band(abr, "ibr", cBarBandType::ChildBands, "$setcode"), id);
    FillContextMenu({Band(abr, "mnuItem", cBarBandType::Popup, "Band13"), id});
    FillToolsMenu({Band(abr, "mnuTools", cBarBandType::Popup, "&Strumenti"), id});
    FillViewModeBar({Band(abr, "vbr", cBarBandType::Toolbar, "View mode"), id});
}
