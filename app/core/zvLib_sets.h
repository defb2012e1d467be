// zvLib, the current piece set: LoadSet makes a set current (its header row gives the standard
// width and scale, the piece table gains a start record) and hands the item bar the tools of
// the set's pieces and snippets. The bar itself, its icons and the stock table are the main
// window's: it receives them through zvItemBar.
#pragma once

#include "model/zvLib_globals.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One tool of the item bar's pieces band: a piece, or the separator before a change of class.
struct zvItemTool {
    // True for a separator.
    bool separator = false;
    // A piece: its definition, setID ":" itemID; a separator: the itemID of the piece after it.
    std::string name;
    // "item.append" for a piece; empty for a separator.
    std::string category;
    // A piece: its description, two blanks and its code in brackets; empty for a separator.
    std::string tooltip;
    // Index of the piece's record in the piece table (its itemID names the icon file).
    std::size_t record = 0;
};

// One tool of the item bar's snippets band.
struct zvSnippetTool {
    // "K" followed by the snippet's number, from 1 in file order.
    std::string name;
    // The snippet's name: the tool's caption and tip.
    std::string caption;
    // The snippet's definition (the tool's tag), each entry carrying a set code.
    std::string definition;
};

// What the item bar shows of the set made current.
struct zvSetTools {
    // The set's identifier as LoadSet was given it.
    std::string setID;
    // The piece tools in piece table order, separators where the class changes.
    std::vector<zvItemTool> items;
    // The snippet tools of the user file's section setID & ".SNIPPETS".
    std::vector<zvSnippetTool> snippets;
};

// What LoadSet asks of the main window: the set chooser, the item bar and its icons, the stock
// table. Without one installed in zvLib::ItemBar, LoadSet only changes the program's state.
class zvItemBar {
  public:
    virtual ~zvItemBar() = default;
    // A set is being made current: the set chooser shows setID, and the item bar width of the
    // set being left (previousSetID, empty at the first load) is saved. Called also when the
    // load then fails.
    virtual void SetChosen(const std::string& setID, const std::string& previousSetID) = 0;
    // The set is current and its start record appended: check the icons of its pieces, rebuild
    // the stock table, rebuild the item bar from tools and restore the set's bar width.
    virtual void SetLoaded(const zvSetTools& tools) = 0;
};

namespace zvLib {

// LoadSet results: the set is current; its header has a width or scale of 0; no such set.
constexpr std::int16_t kSetLoaded = 0;
constexpr std::int16_t kSetBadHeader = -3;
constexpr std::int16_t kSetMissing = -4;

// The main window's item bar, or null.
extern std::shared_ptr<zvItemBar> ItemBar;

// Fills SetFacts from the header row of every set of the catalogue; a set whose standard
// width is 0 or unreadable is left out.
void ReadSetFacts();

// Makes the set current: the set's header row (found without regard to case) gives its code
// as the catalogue spells it, SetDescription, SetStdWidth and SetScale; CurSetID and the set
// chooser take that code, or setID when there is no such set; on success a start record is
// appended to the piece table and the item bar gets the set's tools. 0, -3 or -4.
std::int16_t LoadSet(const std::string& setID);

// The piece tools of the set (setID compared exactly) among the first end records of the
// piece table: a separator before each piece whose class differs from the one before it (the
// running class starting at 1), then the piece.
std::vector<zvItemTool> ItemTools(const std::string& setID, std::size_t end);

// The snippets saved for the set in the user file (section setID & ".SNIPPETS"), in file
// order; none when the section or the file is missing.
std::vector<zvSnippetTool> SnippetTools(const std::string& setID);

// A snippet definition with every entry given the set code: a definition without any ":" has
// setID ":" put before each non-empty entry between ";"; one with a ":" stays as it is.
std::string SnippetDefinition(const std::string& definition, const std::string& setID);

} // namespace zvLib
