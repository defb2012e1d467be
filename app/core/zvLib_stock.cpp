// zvLib, the set list and the stock table: the catalogue narrowed by a filter and read row by
// row, stock counts read once per set from the user file and written back in one rewrite, so
// that after a build every piece of the set has a readable count there.
#include "app/core/zvLib_stock.h"

#include "app/core/zvLib_catalogue.h"
#include "foundation/NUX_STD_ini.h"
#include "foundation/NUX_STD_system.h"
#include "foundation/NUX_STD_text.h"
#include "foundation/cError.h"
#include "foundation/cFixed.h"
#include "foundation/cVariant.h"
#include "foundation/zvLang.h"
#include "foundation/zvLib_text.h"
#include "model/zvLib_globals.h"

#include <cmath>
#include <limits>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace zvLib {

zvTextTable StockTable(1);

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

// Narrows the catalogue; a filter it refuses is raised, as any catalogue error is.
void filterCatalogue(const std::string& filter, const char* source)
{
    const long err = Catalogue.Filter(filter);
    if (err != 0) {
        throw cError(err, source, "The catalogue cannot be filtered by " + filter);
    }
}

// Puts the catalogue's filter back to "" however the reading ends.
class ClearFilterOnExit {
  public:
    ClearFilterOnExit() = default;
    ClearFilterOnExit(const ClearFilterOnExit&) = delete;
    ClearFilterOnExit& operator=(const ClearFilterOnExit&) = delete;
    ~ClearFilterOnExit() { Catalogue.Filter(""); }
};

// The text of a field in the current row; "" for Null, and for a field the catalogue lacks
// when optional is set.
std::string fieldText(std::string_view name, bool optional = false)
{
    if (optional && Catalogue.FieldIndex(name) < 0) {
        return {};
    }
    return Catalogue.Fields(name).Value().toText();
}

// The ";"-separated entries of a set list, empty ones included.
std::vector<std::string> splitList(const std::string& list)
{
    std::vector<std::string> entries;
    std::size_t from = 0;
    for (;;) {
        const std::size_t semi = list.find(';', from);
        entries.push_back(list.substr(from, semi - from));
        if (semi == std::string::npos) {
            return entries;
        }
        from = semi + 1;
    }
}

// User-file keys compare without regard to case and blanks around them.
std::string keyOf(std::string_view key)
{
    const auto first = key.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    key = key.substr(first, key.find_last_not_of(" \t") - first + 1);
    std::string folded(key);
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return folded;
}

// The stock section of a set as the user file holds it, read once: key to value.
std::unordered_map<std::string, std::string> readStockSection(const std::string& section)
{
    std::unordered_map<std::string, std::string> values;
    Pairs pairs;
    if (!UserFile.empty() && NUX_STD_library::IniReadSection(section, UserFile, pairs) > 0) {
        for (const auto& [key, value] : pairs) {
            values.emplace(keyOf(key), value);
        }
    }
    return values;
}

// The rows of one set, in catalogue order, appended to the table from row next on; the
// counts to write back are added to writes.
void appendSetRows(const std::string& setID, std::size_t& next, Pairs& writes)
{
    const std::string section = setID + ".STOCK";
    const auto stock = readStockSection(section);
    const std::string descField = "desc_" + zvLang::LangID();
    for (; !Catalogue.Eof(); Catalogue.MoveNext()) {
        zvTableRow row;
        row[kStockSet] = fieldText("setID");
        row[kStockItem] = fieldText("itemID");
        row[kStockDesc] = fieldText(descField, true);
        row[kStockUsed] = "0";
        std::int32_t count = 0;
        // A piece without a code has no entry: an empty key would stand for the whole section.
        if (!row[kStockItem].empty()) {
            const auto found = stock.find(keyOf(row[kStockItem]));
            count = found == stock.end() ? 0 : ReadStockCount(found->second);
            writes.emplace_back(row[kStockItem], std::to_string(count));
        }
        row[kStockCount] = std::to_string(count);
        row[kStockFree] = "0";
        if (next < StockTable.size()) {
            StockTable[next] = std::move(row);
        } else {
            StockTable.push_back(std::move(row));
        }
        ++next;
    }
}

} // namespace

std::string GetSetList()
{
    constexpr const char* kSource = "zvLib.GetSetList";
    Catalogue.Filter("");
    ClearFilterOnExit clear;
    filterCatalogue(NUX_STD_library::IsInIDE() ? "tipoinfo='item' "
                                               : "tipoinfo='item' AND flgOnline=1",
                    kSource);
    std::vector<std::string> listed;
    std::string list;
    for (; !Catalogue.Eof(); Catalogue.MoveNext()) {
        const std::string setID = fieldText("setID");
        // A code that cannot stand in a piece definition has no pieces in the piece table.
        if (!IsSafeCatalogueKey(setID)) {
            continue;
        }
        bool seen = false;
        for (const std::string& s : listed) {
            seen = seen || SameText(s, setID);
        }
        if (!seen) {
            listed.push_back(setID);
            list += setID + ";";
        }
    }
    return list;
}

void LoadStock(const std::string& setList)
{
    StockTable.assign(1, zvTableRow{});
    std::size_t next = 0;
    for (const std::string& setID : splitList(setList)) {
        if (setID.empty()) {
            continue;
        }
        filterCatalogue("tipoinfo='item' and setID=" + NUX_STD_library::SqlQuote(setID),
                        "zvLib.LoadStock");
        Pairs writes;
        appendSetRows(setID, next, writes);
        // The counts go back as read (a bad one as 0); a user file that cannot be written
        // loses nothing the user typed, so this says nothing.
        if (!UserFile.empty() && !writes.empty()) {
            NUX_STD_library::IniWriteSection(setID + ".STOCK", writes, UserFile);
        }
    }
}

std::int32_t ReadStockCount(const std::string& value)
{
    constexpr std::int64_t lo = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t hi = std::numeric_limits<std::int32_t>::max();
    const auto number = cVariant::parseNumber(value);
    // Checked before rounding, so that no huge value reaches the whole-number conversion.
    if (!number || !(std::fabs(*number) < 4294967296.0)) {
        return 0;
    }
    const std::int64_t whole = RoundHalfEven(*number);
    return whole < lo || whole > hi ? 0 : static_cast<std::int32_t>(whole);
}

std::vector<zvSetComboEntry> SetComboEntries(const std::string& setList)
{
    std::vector<zvSetComboEntry> entries;
    const std::vector<std::string> sets = splitList(setList);
    for (std::size_t i = 0; i < sets.size(); ++i) {
        if (!sets[i].empty()) {
            entries.push_back({sets[i], static_cast<int>(i)});
        }
    }
    return entries;
}

void FillSetCombo(zvSetCombo& combo)
{
    combo.Clear();
    for (const zvSetComboEntry& e : SetComboEntries(GetSetList())) {
        combo.AddItem(e.text, e.data);
    }
}

} // namespace zvLib
