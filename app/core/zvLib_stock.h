// zvLib, the piece sets on offer and the user's stock: the set list the set choosers show, the
// entries a set combo gets, and the stock table, one row per catalogue piece of the chosen
// sets with the number of such pieces the user owns, kept per set in the user file.
#pragma once

#include "model/zvCircuit.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// What filling a set combo asks of the combo box; the main window and the start page wrap
// their combo boxes in it.
class zvSetCombo {
  public:
    virtual ~zvSetCombo() = default;
    // Removes every entry.
    virtual void Clear() = 0;
    // Adds an entry at the end showing text, with data as its item data.
    virtual void AddItem(const std::string& text, int data) = 0;
};

// One entry of a set combo: a set identifier and its index in the set list.
struct zvSetComboEntry {
    // The set identifier shown.
    std::string text;
    // The entry's index among the set list's ";"-separated entries, from 0.
    int data = 0;
};

namespace zvLib {

// The columns of a stock table row: set, item code, description, used, stock, free.
constexpr std::size_t kStockSet = 0;
constexpr std::size_t kStockItem = 1;
constexpr std::size_t kStockDesc = 2;
constexpr std::size_t kStockUsed = 3;
constexpr std::size_t kStockCount = 4;
constexpr std::size_t kStockFree = 5;

// The stock table: one row per catalogue piece of the sets LoadStock was given, or one row of
// empty texts when they have none.
extern zvTextTable StockTable;

// The sets with offered pieces (every piece in development mode), in catalogue row order,
// each identifier followed by ";", none twice (compared without regard to case). Raises
// cError when the catalogue cannot be filtered.
std::string GetSetList();

// Rebuilds StockTable for the ";"-separated sets of setList (empty entries skipped), in list
// order and catalogue order within a set, and writes every count back to the user file's
// section setID & ".STOCK" in one rewrite per set. Raises cError when the catalogue cannot
// be filtered.
void LoadStock(const std::string& setList);

// The count a user-file stock value stands for: a number with "." or "," as decimal sign
// rounded to the nearest whole number, halves to even; anything else, or a number beyond the
// 32-bit range, is 0.
std::int32_t ReadStockCount(const std::string& value);

// The entries a set combo gets for a set list: each non-empty entry, with its index among
// all the ";"-separated entries as data.
std::vector<zvSetComboEntry> SetComboEntries(const std::string& setList);

// Clears the combo box and adds the sets of GetSetList, each with its index as data.
void FillSetCombo(zvSetCombo& combo);

} // namespace zvLib
