// cBarModel: the toolbar and menu control of the main window as plain data: bands (menu bar,
// menus, toolbars, status bar, the item bar with its child bands, the context menu), their
// tools with every property the program reads or writes, one shortcut registry and the
// events the window handles. cBarWidget shows a model with Qt widgets and feeds user actions
// back through the user-action calls at the end of cBarModel.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class cBarBand;
class cBarModel;

// Control types of a tool.
namespace cBarToolType {
// A push button (also a menu entry).
constexpr int Button = 0;
// A combo box with a list of entries.
constexpr int Combo = 2;
// A panel of the status bar.
constexpr int StatusPanel = 4;
// A separator line; it sends nothing.
constexpr int Separator = 5;
} // namespace cBarToolType

// How a band is shown.
enum class cBarBandType {
    Toolbar,    // a row of tools docked at the top
    MenuBar,    // the window's menu bar; its tools open the bands named by their SubBand
    Popup,      // a drop-down or context menu
    StatusBar,  // the status bar; its tools are panels
    ChildBands, // a docked bar whose child bands are shown as tabs
};

// A rectangle in twips.
struct cBarRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// One tool of a band: a button, menu entry, combo box, status panel or separator.
class cBarTool {
  public:
    // The identifier given when the tool was added.
    long Id() const { return id_; }
    // The name the tool is found by within its band.
    const std::string& Name() const { return name_; }
    // The band that holds the tool.
    cBarBand& Band() const { return *band_; }

    // The category: the first part of the command a click sends.
    const std::string& Category() const { return category_; }
    void Category(const std::string& v);
    // The text shown on the tool ("&" marks the access key).
    const std::string& Caption() const { return caption_; }
    void Caption(const std::string& v);
    // The tool tip text.
    const std::string& ToolTipText() const { return tip_; }
    void ToolTipText(const std::string& v);
    // A free text the program keeps with the tool.
    const std::string& Tag() const { return tag_; }
    void Tag(const std::string& v) { tag_ = v; }
    // The control type (cBarToolType).
    int ControlType() const { return controlType_; }
    void ControlType(int v);
    // The display style: 0 standard, 1 text only, 2 picture only.
    int Style() const { return style_; }
    void Style(int v);
    // The width in twips; 0 lets the tool take its natural width.
    int Width() const { return width_; }
    void Width(int v);
    // Shown or hidden.
    bool Visible() const { return visible_; }
    void Visible(bool v);
    // Usable or greyed.
    bool Enabled() const { return enabled_; }
    void Enabled(bool v);
    // Shown pressed (a toggle that is on).
    bool Checked() const { return checked_; }
    void Checked(bool v);
    // The name of the band this tool opens as its drop-down menu; empty for none.
    const std::string& SubBand() const { return subBand_; }
    void SubBand(const std::string& v);

    // The number of image states a tool holds (0 normal, 1 disabled, 2 pointer over it).
    static constexpr int kImageStates = 3;
    // The image file shown in an image state; empty for none. A state outside 0 to 2
    // raises cError 9.
    const std::string& Picture(int state) const;
    void Picture(int state, const std::string& path);
    // The colour value drawn transparent in the pictures; -1 for none.
    std::int32_t MaskColor() const { return maskColor_; }
    void MaskColor(std::int32_t v);

    // The number of shortcut keys a tool holds.
    static constexpr int kShortcutKeys = 3;
    // One of the tool's shortcut keys (0 to 2) as key text such as "Ctrl+Shift+F12",
    // "Ctrl++" or "Ctrl+Num+5"; empty for none. An index outside 0 to 2 raises cError 9.
    const std::string& ShortcutKey(int index) const;
    void ShortcutKey(int index, const std::string& key);

    // The entries of a combo tool.
    int ListCount() const { return static_cast<int>(list_.size()); }
    // The text of entry index (0-based); an index out of range raises cError 9.
    const std::string& List(int index) const;
    // Appends an entry.
    void AddItem(const std::string& text);
    // Removes every entry; the list index becomes -1, the text stays.
    void Clear();
    // The chosen entry (0-based), -1 for none. Setting an index in range also sets the text
    // to that entry; -1 leaves the text; any other value raises cError 380.
    int ListIndex() const { return listIndex_; }
    void ListIndex(int v);
    // The text of a combo tool. Setting it chooses the first entry equal to it, or none.
    // Setting from the program raises no event.
    const std::string& Text() const { return text_; }
    void Text(const std::string& v);

  private:
    friend class cBarBand;
    cBarTool(cBarBand* band, long id, std::string name);
    void Changed();

    cBarBand* band_;
    long id_;
    std::string name_;
    std::string category_;
    std::string caption_;
    std::string tip_;
    std::string tag_;
    int controlType_ = cBarToolType::Button;
    int style_ = 0;
    int width_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    bool checked_ = false;
    std::string subBand_;
    std::array<std::string, kImageStates> pictures_;
    std::int32_t maskColor_ = -1;
    std::array<std::string, kShortcutKeys> keys_;
    std::vector<std::string> list_;
    int listIndex_ = -1;
    std::string text_;
};

// A band: a menu, toolbar, status bar or tabbed bar holding tools and child bands.
class cBarBand {
  public:
    cBarBand(const cBarBand&) = delete;
    cBarBand& operator=(const cBarBand&) = delete;

    // The name the band is found by (compared without regard to case).
    const std::string& Name() const { return name_; }
    // How the band is shown.
    cBarBandType Type() const { return type_; }
    // The band that holds this child band; null for a band of the control.
    cBarBand* Parent() const { return parent_; }
    // The model the band belongs to.
    cBarModel& Model() const { return *model_; }

    // The title of the band (a toolbar's or tab's caption).
    const std::string& Caption() const { return caption_; }
    void Caption(const std::string& v);
    // The width in twips of a band docked at the side; 0 for its natural width.
    int Width() const { return width_; }
    void Width(int v);
    // Shown or hidden.
    bool Visible() const { return visible_; }
    void Visible(bool v);

    // The number of tools.
    int ToolCount() const { return static_cast<int>(tools_.size()); }
    // The tool at index (0-based); out of range raises cError 9.
    cBarTool& Tool(int index) const;
    // The tool of that name (compared without regard to case); a missing one raises cError 9.
    cBarTool& Tool(const std::string& name) const;
    // The tool of that name, or null.
    cBarTool* FindTool(const std::string& name) const;
    // Appends a tool with an identifier and a name.
    cBarTool& AddTool(long id, const std::string& name);
    // Removes every tool of the band (child bands stay).
    void RemoveAllTools();

    // The number of child bands.
    int ChildBandCount() const { return static_cast<int>(children_.size()); }
    // The child band at index (0-based); out of range raises cError 9.
    cBarBand& ChildBand(int index) const;
    // The child band of that name (without regard to case); a missing one raises cError 9.
    cBarBand& ChildBand(const std::string& name) const;
    // Appends a child band of that name.
    cBarBand& AddChildBand(const std::string& name);
    // The index of the child band shown, -1 when the band has none. Setting it from the
    // program raises no event; an index out of range raises cError 380.
    int ActiveChildBand() const { return activeChild_; }
    void ActiveChildBand(int index);

    // Redraws the band at once (also while a long operation keeps the window busy).
    void Refresh();
    // Shows the band as a popup menu at the pointer.
    void PopupMenu();

  private:
    friend class cBarModel;
    friend class cBarTool;
    cBarBand(cBarModel* model, cBarBand* parent, std::string name, cBarBandType type);
    void Changed();
    void ToolsChanged();

    cBarModel* model_;
    cBarBand* parent_;
    std::string name_;
    cBarBandType type_;
    std::string caption_;
    int width_ = 0;
    bool visible_ = true;
    std::vector<std::unique_ptr<cBarTool>> tools_;
    std::vector<std::unique_ptr<cBarBand>> children_;
    int activeChild_ = -1;
};

// The events of the control; an unset handler is skipped.
struct cBarEvents {
    // A tool was clicked or its shortcut key pressed.
    std::function<void(cBarTool&)> ToolClick;
    // The pointer entered a tool.
    std::function<void(cBarTool&)> ToolHoverEnter;
    // The pointer left a tool.
    std::function<void(cBarTool&)> ToolHoverLeave;
    // An entry of a combo tool was chosen (ListIndex and Text already hold it).
    std::function<void(cBarTool&)> ComboSelChange;
    // The user changed the text of a tool (Text already holds it).
    std::function<void(cBarTool&)> ToolTextChange;
    // A band (a menu) is about to open.
    std::function<void(cBarBand&)> BandOpen;
    // The active child band of a band changed: the band and the child band now shown.
    std::function<void(cBarBand&, cBarBand&)> ChildBandChange;
    // The control was resized; the client area has its new value.
    std::function<void()> Resize;
};

// What a display of the model is told when the model changes.
class cBarObserver {
  public:
    virtual ~cBarObserver() = default;
    // A property of a tool changed.
    virtual void ToolChanged(cBarTool& tool) = 0;
    // A band's own properties changed (caption, width, visible, active child band).
    virtual void BandChanged(cBarBand& band) = 0;
    // A band's tools or child bands changed, or a tool's kind, sub band or shortcut keys: the
    // band's tools are to be shown anew.
    virtual void BandToolsChanged(cBarBand& band) = 0;
    // A band is to be redrawn at once.
    virtual void BandRefresh(cBarBand& band) = 0;
    // A band is to be shown as a popup menu.
    virtual void BandPopup(cBarBand& band) = 0;
    // Every band is to be laid out and redrawn.
    virtual void LayoutAll() = 0;
};

// The toolbar and menu control: its bands in order, the shortcut registry and the events.
class cBarModel {
  public:
    cBarModel() = default;
    cBarModel(const cBarModel&) = delete;
    cBarModel& operator=(const cBarModel&) = delete;

    // The number of bands.
    int BandCount() const { return static_cast<int>(bands_.size()); }
    // The band at index (0-based); out of range raises cError 9.
    cBarBand& Band(int index) const;
    // The band of that name (compared without regard to case); a missing one raises cError 9.
    cBarBand& Band(const std::string& name) const;
    // The band of that name, or null.
    cBarBand* FindBand(const std::string& name) const;
    // Appends a band; a name already used raises cError 457.
    cBarBand& AddBand(const std::string& name, cBarBandType type);

    // Lays out and redraws every band.
    void RecalcLayout();
    // The part of the window the docked bands leave free, in twips.
    cBarRect ClientArea() const { return clientArea_; }

    // The event handlers.
    cBarEvents& Events() { return events_; }
    // The display told about changes; null for none.
    void Observer(cBarObserver* o) { observer_ = o; }
    cBarObserver* Observer() const { return observer_; }

    // A key text in one spelling: modifiers first in the order Ctrl, Alt, Shift, Meta, Num,
    // each followed by "+", then the key in upper case ("ctrl+shift+f12" gives
    // "Ctrl+Shift+F12", "Ctrl++" stays); the names Delete, Insert and Escape become Del, Ins
    // and Esc. Empty for a text without a key.
    static std::string NormalizeShortcut(const std::string& key);
    // Every key that some tool carries, normalised, each once, in the order first met.
    std::vector<std::string> ShortcutKeys() const;
    // The tool a key runs: of the tools that carry it, the first one that is visible and
    // enabled, walking the bands in order and each band's tools before its child bands'.
    // So a key shared by a menu entry and a later toolbar button runs the menu entry while
    // it is usable, and the button when the menu entry is disabled or hidden. Null when no
    // usable tool carries the key.
    cBarTool* ShortcutTool(const std::string& key) const;

    // User actions, called by the display (and by tests). Each raises its event.
    // A click on a tool; a disabled tool, a separator or a status panel does nothing.
    void ClickTool(cBarTool& tool);
    // A shortcut key was pressed; true when a tool ran.
    bool PressShortcut(const std::string& key);
    // The pointer entered or left a tool.
    void EnterTool(cBarTool& tool);
    void LeaveTool(cBarTool& tool);
    // The user chose entry index of a combo tool.
    void ChooseComboEntry(cBarTool& tool, int index);
    // The user changed a tool's text.
    void ChangeToolText(cBarTool& tool, const std::string& text);
    // A band (menu) is opening.
    void OpenBand(cBarBand& band);
    // The user chose child band index of a band; choosing the one shown raises nothing.
    void ChangeChildBand(cBarBand& band, int index);
    // The display has a new size: the client area it leaves free.
    void Resized(const cBarRect& clientArea);

  private:
    friend class cBarBand;
    friend class cBarTool;
    // Counts the user actions under way, so that tools removed by an event handler live on
    // until the outermost action has returned.
    class cEventScope;
    void ForEachTool(const cBarBand& band, const std::function<bool(cBarTool&)>& f) const;
    void Retire(std::vector<std::unique_ptr<cBarTool>>& tools);

    std::vector<std::unique_ptr<cBarBand>> bands_;
    std::vector<std::unique_ptr<cBarTool>> retired_;
    int eventDepth_ = 0;
    cBarEvents events_;
    cBarObserver* observer_ = nullptr;
    cBarRect clientArea_;
};
