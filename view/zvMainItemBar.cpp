// zvMainItemBar: the item bar of the main window filled from the tools of a set: piece tools
// with their icons from the icon folder, separators where the class of piece changes, snippet
// tools carrying their definition, and the bar's width remembered per set.
#include "view/zvMainItemBar.h"

#include "app/core/zvLib_settings.h"
#include "app/core/zvLib_stock.h"
#include "app/zvIconFiles.h"
#include "app/zvLib_shell.h"
#include "foundation/NUX_STD_files.h"
#include "foundation/cError.h"
#include "foundation/cFixed.h"
#include "model/zvLib_globals.h"
#include "platform/cBarModel.h"

#include <cmath>
#include <optional>

namespace {

constexpr const char* kApp = "Zorv";
constexpr const char* kOptions = "Options";
// Tool styles: text only, picture only.
constexpr int kTextStyle = 1;
constexpr int kPictureStyle = 2;
// The picture states a piece tool shows its icon in: normal and pointer over it.
constexpr int kNormal = 0;
constexpr int kHover = 2;

cBarBand& ItemBarTab(cBarModel& abr, const char* name)
{
    return abr.Band("ibr").ChildBand(name);
}

// A saved bar width: a whole number of twips; anything else gives the default.
int SavedWidth(const std::string& text)
{
    const std::optional<cFixed> v = cFixed::parse(text);
    if (!v || v->toDouble() < 0 || v->toDouble() > 1e6) {
        return zvMainItemBar::kDefaultWidth;
    }
    return static_cast<int>(std::trunc(v->toDouble()));
}

} // namespace

zvMainItemBar::zvMainItemBar(cBarModel& abr) : abr_(abr) {}

std::string zvMainItemBar::WidthKey(const std::string& setID)
{
    return "ItemBarWidth\\" + setID;
}

void zvMainItemBar::SetChosen(const std::string& setID, const std::string& previousSetID)
{
    abr_.Band("tbr").Tool("cboSet").Text(setID);
    if (!previousSetID.empty()) {
        zvLib::SaveSetting(kApp, kOptions, WidthKey(previousSetID),
                           cVariant(static_cast<long>(abr_.Band("ibr").Width())));
    }
}

void zvMainItemBar::SetLoaded(const zvSetTools& tools)
{
    // The icon folder is taken afresh: one removed since, or made again by someone else, is
    // passed over for a private one (its icons then made as placeholders).
    zvLib::TempFolder = NUX_STD_library::PrivateTempFolder();
    CheckIcons(tools);
    zvLib::LoadStock(tools.setID);
    FillPieces(tools);
    FillSnippets(tools);
    const std::string width =
        zvLib::GetSetting(kApp, kOptions, WidthKey(zvLib::CurSetID), cVariant(kDefaultWidth));
    abr_.Band("ibr").Width(SavedWidth(width));
    abr_.RecalcLayout();
}

void zvMainItemBar::CheckIcons(const zvSetTools& tools)
{
    if (zvLib::TempFolder.empty()) {
        return;
    }
    zvIconFiles icons(zvLib::TempFolder);
    for (const zvItemTool& t : tools.items) {
        if (t.separator || t.record >= zvLib::PieceTable.size()) {
            continue;
        }
        try {
            icons.CheckIcon(zvLib::PieceTable[t.record]);
        } catch (const cError&) {
            // A folder that cannot be written leaves the tool without a picture.
        }
    }
}

void zvMainItemBar::FillPieces(const zvSetTools& tools)
{
    cBarBand& items = ItemBarTab(abr_, "items");
    items.RemoveAllTools();
    for (const zvItemTool& t : tools.items) {
        cBarTool& tool = items.AddTool(nextId_++, t.name);
        if (t.separator) {
            tool.ControlType(cBarToolType::Separator);
            tool.Style(0);
            continue;
        }
        tool.Category(t.category);
        tool.ToolTipText(t.tooltip);
        tool.ControlType(cBarToolType::Button);
        tool.Style(kPictureStyle);
        tool.MaskColor(kMaskColor);
        if (!zvLib::TempFolder.empty() && t.record < zvLib::PieceTable.size()) {
            const std::string icon = zvIconFiles(zvLib::TempFolder).IconPath(zvLib::PieceTable[t.record]);
            tool.Picture(kNormal, icon);
            tool.Picture(kHover, icon);
        }
    }
}

void zvMainItemBar::FillSnippets(const zvSetTools& tools)
{
    cBarBand& snippets = ItemBarTab(abr_, "snippets");
    snippets.RemoveAllTools();
    for (const zvSnippetTool& s : tools.snippets) {
        cBarTool& tool = snippets.AddTool(nextId_++, s.name);
        tool.Category("snippet.append");
        tool.ToolTipText(s.caption);
        tool.Caption(s.caption);
        tool.Tag(s.definition);
        tool.ControlType(cBarToolType::Button);
        tool.Style(kTextStyle);
        tool.Width(kSnippetWidth);
    }
}
