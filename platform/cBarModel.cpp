// cBarModel: bands and tools of the toolbar and menu control, the lookups by name, the
// shortcut registry and the user actions that raise the control's events.
#include "platform/cBarModel.h"

#include "foundation/cError.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr long kErrSubscript = 9;
constexpr long kErrBadValue = 380;
constexpr long kErrDuplicateKey = 457;

std::string Upper(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return s;
}

bool SameName(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && Upper(a) == Upper(b);
}

[[noreturn]] void Raise(long number, const char* source, const std::string& what)
{
    throw cError(number, source, what);
}

// Sets a member and reports whether it changed.
template <typename T> bool Assign(T& member, const T& v)
{
    if (member == v) {
        return false;
    }
    member = v;
    return true;
}

} // namespace

// ---- cBarTool ----

cBarTool::cBarTool(cBarBand* band, long id, std::string name)
    : band_(band), id_(id), name_(std::move(name))
{
}

void cBarTool::Changed()
{
    if (cBarObserver* o = band_->Model().Observer()) {
        o->ToolChanged(*this);
    }
}

void cBarTool::Category(const std::string& v)
{
    category_ = v;
}

void cBarTool::Caption(const std::string& v)
{
    if (Assign(caption_, v)) {
        Changed();
    }
}

void cBarTool::ToolTipText(const std::string& v)
{
    if (Assign(tip_, v)) {
        Changed();
    }
}

void cBarTool::ControlType(int v)
{
    if (Assign(controlType_, v)) {
        band_->ToolsChanged(); // another kind of widget is needed
    }
}

void cBarTool::Style(int v)
{
    if (Assign(style_, v)) {
        Changed();
    }
}

void cBarTool::Width(int v)
{
    if (Assign(width_, std::max(0, v))) {
        Changed();
    }
}

void cBarTool::Visible(bool v)
{
    if (Assign(visible_, v)) {
        Changed();
    }
}

void cBarTool::Enabled(bool v)
{
    if (Assign(enabled_, v)) {
        Changed();
    }
}

void cBarTool::Checked(bool v)
{
    if (Assign(checked_, v)) {
        Changed();
    }
}

void cBarTool::SubBand(const std::string& v)
{
    if (Assign(subBand_, v)) {
        band_->ToolsChanged();
    }
}

const std::string& cBarTool::Picture(int state) const
{
    if (state < 0 || state >= kImageStates) {
        Raise(kErrSubscript, "cBarTool", "Image state out of range");
    }
    return pictures_[static_cast<std::size_t>(state)];
}

void cBarTool::Picture(int state, const std::string& path)
{
    if (state < 0 || state >= kImageStates) {
        Raise(kErrSubscript, "cBarTool", "Image state out of range");
    }
    if (Assign(pictures_[static_cast<std::size_t>(state)], path)) {
        Changed();
    }
}

void cBarTool::MaskColor(std::int32_t v)
{
    if (Assign(maskColor_, v)) {
        Changed();
    }
}

const std::string& cBarTool::ShortcutKey(int index) const
{
    if (index < 0 || index >= kShortcutKeys) {
        Raise(kErrSubscript, "cBarTool", "Shortcut index out of range");
    }
    return keys_[static_cast<std::size_t>(index)];
}

void cBarTool::ShortcutKey(int index, const std::string& key)
{
    if (index < 0 || index >= kShortcutKeys) {
        Raise(kErrSubscript, "cBarTool", "Shortcut index out of range");
    }
    if (Assign(keys_[static_cast<std::size_t>(index)], cBarModel::NormalizeShortcut(key))) {
        band_->ToolsChanged(); // the registry and the shown key texts change
    }
}

const std::string& cBarTool::List(int index) const
{
    if (index < 0 || index >= ListCount()) {
        Raise(kErrSubscript, "cBarTool", "List index out of range");
    }
    return list_[static_cast<std::size_t>(index)];
}

void cBarTool::AddItem(const std::string& text)
{
    list_.push_back(text);
    Changed();
}

void cBarTool::Clear()
{
    list_.clear();
    listIndex_ = -1;
    Changed();
}

void cBarTool::ListIndex(int v)
{
    if (v < -1 || v >= ListCount()) {
        Raise(kErrBadValue, "cBarTool", "Invalid property value");
    }
    listIndex_ = v;
    if (v >= 0) {
        text_ = list_[static_cast<std::size_t>(v)];
    }
    Changed();
}

void cBarTool::Text(const std::string& v)
{
    text_ = v;
    const auto it = std::find(list_.begin(), list_.end(), v);
    listIndex_ = it == list_.end() ? -1 : static_cast<int>(it - list_.begin());
    Changed();
}

// ---- cBarBand ----

cBarBand::cBarBand(cBarModel* model, cBarBand* parent, std::string name, cBarBandType type)
    : model_(model), parent_(parent), name_(std::move(name)), type_(type)
{
}

void cBarBand::Changed()
{
    if (cBarObserver* o = model_->Observer()) {
        o->BandChanged(*this);
    }
}

void cBarBand::ToolsChanged()
{
    if (cBarObserver* o = model_->Observer()) {
        o->BandToolsChanged(*this);
    }
}

void cBarBand::Caption(const std::string& v)
{
    if (Assign(caption_, v)) {
        Changed();
    }
}

void cBarBand::Width(int v)
{
    if (Assign(width_, std::max(0, v))) {
        Changed();
    }
}

void cBarBand::Visible(bool v)
{
    if (Assign(visible_, v)) {
        Changed();
    }
}

cBarTool& cBarBand::Tool(int index) const
{
    if (index < 0 || index >= ToolCount()) {
        Raise(kErrSubscript, "cBarBand", "Tool index out of range");
    }
    return *tools_[static_cast<std::size_t>(index)];
}

cBarTool& cBarBand::Tool(const std::string& name) const
{
    cBarTool* t = FindTool(name);
    if (t == nullptr) {
        Raise(kErrSubscript, "cBarBand", "Tool not found: " + name);
    }
    return *t;
}

cBarTool* cBarBand::FindTool(const std::string& name) const
{
    for (const auto& t : tools_) {
        if (SameName(t->Name(), name)) {
            return t.get();
        }
    }
    return nullptr;
}

cBarTool& cBarBand::AddTool(long id, const std::string& name)
{
    tools_.push_back(std::unique_ptr<cBarTool>(new cBarTool(this, id, name)));
    ToolsChanged();
    return *tools_.back();
}

void cBarBand::RemoveAllTools()
{
    // The display drops its widgets before the tools go, so that it never holds a removed
    // tool; a tool whose event is still running lives on until the event has returned.
    std::vector<std::unique_ptr<cBarTool>> old;
    old.swap(tools_);
    ToolsChanged();
    model_->Retire(old);
}

cBarBand& cBarBand::ChildBand(int index) const
{
    if (index < 0 || index >= ChildBandCount()) {
        Raise(kErrSubscript, "cBarBand", "Child band index out of range");
    }
    return *children_[static_cast<std::size_t>(index)];
}

cBarBand& cBarBand::ChildBand(const std::string& name) const
{
    for (const auto& c : children_) {
        if (SameName(c->Name(), name)) {
            return *c;
        }
    }
    Raise(kErrSubscript, "cBarBand", "Child band not found: " + name);
}

cBarBand& cBarBand::AddChildBand(const std::string& name)
{
    children_.push_back(
        std::unique_ptr<cBarBand>(new cBarBand(model_, this, name, cBarBandType::Toolbar)));
    if (activeChild_ < 0) {
        activeChild_ = 0;
    }
    ToolsChanged();
    return *children_.back();
}

void cBarBand::ActiveChildBand(int index)
{
    if (index < 0 || index >= ChildBandCount()) {
        Raise(kErrBadValue, "cBarBand", "Invalid property value");
    }
    if (Assign(activeChild_, index)) {
        Changed();
    }
}

void cBarBand::Refresh()
{
    if (cBarObserver* o = model_->Observer()) {
        o->BandRefresh(*this);
    }
}

void cBarBand::PopupMenu()
{
    if (cBarObserver* o = model_->Observer()) {
        o->BandPopup(*this);
    }
}

// ---- cBarModel ----

class cBarModel::cEventScope {
  public:
    explicit cEventScope(cBarModel& m) : m_(m) { ++m_.eventDepth_; }
    ~cEventScope()
    {
        if (--m_.eventDepth_ == 0) {
            m_.retired_.clear();
        }
    }
    cEventScope(const cEventScope&) = delete;
    cEventScope& operator=(const cEventScope&) = delete;

  private:
    cBarModel& m_;
};

void cBarModel::Retire(std::vector<std::unique_ptr<cBarTool>>& tools)
{
    if (eventDepth_ == 0) {
        return; // nothing runs: the tools go with the caller's vector
    }
    for (auto& t : tools) {
        retired_.push_back(std::move(t));
    }
}

cBarBand& cBarModel::Band(int index) const
{
    if (index < 0 || index >= BandCount()) {
        Raise(kErrSubscript, "cBarModel", "Band index out of range");
    }
    return *bands_[static_cast<std::size_t>(index)];
}

cBarBand& cBarModel::Band(const std::string& name) const
{
    cBarBand* b = FindBand(name);
    if (b == nullptr) {
        Raise(kErrSubscript, "cBarModel", "Band not found: " + name);
    }
    return *b;
}

cBarBand* cBarModel::FindBand(const std::string& name) const
{
    for (const auto& b : bands_) {
        if (SameName(b->Name(), name)) {
            return b.get();
        }
    }
    return nullptr;
}

cBarBand& cBarModel::AddBand(const std::string& name, cBarBandType type)
{
    if (FindBand(name) != nullptr) {
        Raise(kErrDuplicateKey, "cBarModel", "Band name already used: " + name);
    }
    bands_.push_back(std::unique_ptr<cBarBand>(new cBarBand(this, nullptr, name, type)));
    bands_.back()->ToolsChanged();
    return *bands_.back();
}

void cBarModel::RecalcLayout()
{
    if (observer_ != nullptr) {
        observer_->LayoutAll();
    }
}

std::string cBarModel::NormalizeShortcut(const std::string& key)
{
    static const char* const kMods[] = {"CTRL", "ALT", "SHIFT", "META", "NUM"};
    static const char* const kShown[] = {"Ctrl", "Alt", "Shift", "Meta", "Num"};
    bool has[5] = {};
    std::string rest = key;
    rest.erase(std::remove(rest.begin(), rest.end(), ' '), rest.end());
    for (;;) {
        const auto plus = rest.find('+');
        if (plus == std::string::npos || plus == 0) {
            break; // no more modifiers ("+" alone is the plus key)
        }
        std::string mod = Upper(rest.substr(0, plus));
        if (mod == "CONTROL") {
            mod = "CTRL";
        }
        const auto m = std::find(std::begin(kMods), std::end(kMods), mod);
        if (m == std::end(kMods)) {
            break;
        }
        has[m - std::begin(kMods)] = true;
        rest.erase(0, plus + 1);
    }
    if (rest.empty()) {
        return {};
    }
    rest = Upper(rest);
    if (rest == "DELETE") {
        rest = "DEL";
    } else if (rest == "INSERT") {
        rest = "INS";
    } else if (rest == "ESCAPE") {
        rest = "ESC";
    }
    std::string out;
    for (int i = 0; i < 5; ++i) {
        if (has[i]) {
            out += std::string(kShown[i]) + "+";
        }
    }
    return out + rest;
}

void cBarModel::ForEachTool(const cBarBand& band, const std::function<bool(cBarTool&)>& f) const
{
    for (int i = 0; i < band.ToolCount(); ++i) {
        if (!f(band.Tool(i))) {
            return;
        }
    }
    for (int i = 0; i < band.ChildBandCount(); ++i) {
        ForEachTool(band.ChildBand(i), f);
    }
}

std::vector<std::string> cBarModel::ShortcutKeys() const
{
    std::vector<std::string> keys;
    for (const auto& b : bands_) {
        ForEachTool(*b, [&keys](cBarTool& t) {
            for (int k = 0; k < cBarTool::kShortcutKeys; ++k) {
                const std::string& key = t.ShortcutKey(k);
                if (!key.empty() && std::find(keys.begin(), keys.end(), key) == keys.end()) {
                    keys.push_back(key);
                }
            }
            return true;
        });
    }
    return keys;
}

cBarTool* cBarModel::ShortcutTool(const std::string& key) const
{
    const std::string wanted = NormalizeShortcut(key);
    cBarTool* found = nullptr;
    if (wanted.empty()) {
        return nullptr;
    }
    for (const auto& b : bands_) {
        ForEachTool(*b, [&](cBarTool& t) {
            if (!t.Visible() || !t.Enabled()) {
                return true;
            }
            for (int k = 0; k < cBarTool::kShortcutKeys; ++k) {
                if (t.ShortcutKey(k) == wanted) {
                    found = &t;
                    return false;
                }
            }
            return true;
        });
        if (found != nullptr) {
            break;
        }
    }
    return found;
}

void cBarModel::ClickTool(cBarTool& tool)
{
    cEventScope scope(*this);
    const int type = tool.ControlType();
    if (!tool.Enabled() || type == cBarToolType::Separator || type == cBarToolType::StatusPanel) {
        return;
    }
    if (events_.ToolClick) {
        events_.ToolClick(tool);
    }
}

bool cBarModel::PressShortcut(const std::string& key)
{
    cBarTool* t = ShortcutTool(key);
    if (t == nullptr) {
        return false;
    }
    ClickTool(*t);
    return true;
}

void cBarModel::EnterTool(cBarTool& tool)
{
    cEventScope scope(*this);
    if (events_.ToolHoverEnter) {
        events_.ToolHoverEnter(tool);
    }
}

void cBarModel::LeaveTool(cBarTool& tool)
{
    cEventScope scope(*this);
    if (events_.ToolHoverLeave) {
        events_.ToolHoverLeave(tool);
    }
}

void cBarModel::ChooseComboEntry(cBarTool& tool, int index)
{
    cEventScope scope(*this);
    if (index < 0 || index >= tool.ListCount()) {
        return;
    }
    tool.ListIndex(index);
    if (events_.ComboSelChange) {
        events_.ComboSelChange(tool);
    }
}

void cBarModel::ChangeToolText(cBarTool& tool, const std::string& text)
{
    cEventScope scope(*this);
    if (text == tool.Text()) {
        return;
    }
    tool.Text(text);
    if (events_.ToolTextChange) {
        events_.ToolTextChange(tool);
    }
}

void cBarModel::OpenBand(cBarBand& band)
{
    cEventScope scope(*this);
    if (events_.BandOpen) {
        events_.BandOpen(band);
    }
}

void cBarModel::ChangeChildBand(cBarBand& band, int index)
{
    cEventScope scope(*this);
    if (index < 0 || index >= band.ChildBandCount() || index == band.ActiveChildBand()) {
        return;
    }
    band.ActiveChildBand(index);
    if (events_.ChildBandChange) {
        events_.ChildBandChange(band, band.ChildBand(index));
    }
}

void cBarModel::Resized(const cBarRect& clientArea)
{
    cEventScope scope(*this);
    clientArea_ = clientArea;
    if (events_.Resize) {
        events_.Resize();
    }
}
