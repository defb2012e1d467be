// frmReport, the bill of materials: the stock table of the circuit's sets with the numbers the
// circuit uses put in, the shortage of each piece worked out, and the stock counts the user
// types written back to the user file, one rewrite per set.
#include "app/core/zvLib_stock.h"
#include "foundation/NUX_STD_ini.h"
#include "model/zvCircuit.h"
#include "model/zvLib_globals.h"
#include "reports/frmReport.h"

#include <cstddef>
#include <map>
#include <utility>
#include <vector>

namespace {

constexpr int kSetField = static_cast<int>(zvLib::kStockSet);
constexpr int kItemField = static_cast<int>(zvLib::kStockItem);
constexpr int kUsedField = static_cast<int>(zvLib::kStockUsed);
constexpr int kCountField = static_cast<int>(zvLib::kStockCount);
constexpr int kFreeField = static_cast<int>(zvLib::kStockFree);

// Puts the bill's quantities into the stock rows of the same set and piece code (exact
// comparison); pieces the circuit does not use keep "0".
void JoinUsedCounts(zvTextTable& stock, const zvTextTable& bom)
{
    for (zvTableRow& row : stock) {
        for (const zvTableRow& used : bom) {
            if (used[zvLib::kStockItem] == row[zvLib::kStockItem] &&
                used[zvLib::kStockSet] == row[zvLib::kStockSet]) {
                row[zvLib::kStockUsed] = used[zvLib::kStockUsed];
            }
        }
    }
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

cGridArray frmReport::FieldsByRow(const zvTextTable& table)
{
    cGridArray fields(zvTableRow().size());
    for (const zvTableRow& row : table) {
        for (std::size_t f = 0; f < row.size(); ++f) {
            fields[f].push_back(row[f]);
        }
    }
    return fields;
}

void frmReport::grdBomLoad()
{
    grdBOM.RowCount(0);
    const int widths[] = {1200, 1200, 3600, 1200, 1200, 1200};
    for (int c = 1; c <= 6; ++c) {
        grdBOM.Column(c).Width(widths[c - 1]);
    }
    grdBOM.ClearStyles();
    grdBOM.Style("Caption").BackColor(kCaptionBack);
    grdBOM.Style("Caption").ForeColor(kCaptionText);
    grdBOM.AddStyle("warn").ForeColor(kWarnColor);
    grdBOM.AddCondition("warn", cGridCompare::Less, "0", "Delta");

    const std::shared_ptr<zvCircuit> circuit = zvLib::Circuit();
    zvTextTable bom;
    std::string sets;
    if (circuit) {
        circuit->GetBOM(bom);
        sets = circuit->getSet();
    }
    zvLib::LoadStock(sets);
    JoinUsedCounts(zvLib::StockTable, bom);
    grdBOM.LoadArray(FieldsByRow(zvLib::StockTable));
    grdBomRecalc();
    grdBOM.Refresh();
}

void frmReport::grdBomRecalc()
{
    // Every count of a set goes back in one rewrite of its section, in the order of the rows.
    std::vector<std::string> order;
    std::map<std::string, std::vector<std::pair<std::string, std::string>>> writes;
    for (int r = 0; r < grdBOM.RowCount(); ++r) {
        const std::int32_t used = zvLib::LeadingCount(grdBOM.Value(r, kUsedField));
        const std::int32_t stock = zvLib::LeadingCount(grdBOM.Value(r, kCountField));
        grdBOM.Value(r, kUsedField, std::to_string(used));
        grdBOM.Value(r, kCountField, std::to_string(stock));
        grdBOM.Value(
            r, kFreeField,
            std::to_string(static_cast<std::int64_t>(stock) - static_cast<std::int64_t>(used)));
        const std::string& item = grdBOM.Value(r, kItemField);
        // A row without a piece code (the empty row of no sets) has no entry: an empty key
        // would stand for the whole section.
        if (item.empty()) {
            continue;
        }
        const std::string section = grdBOM.Value(r, kSetField) + ".STOCK";
        if (writes.find(section) == writes.end()) {
            order.push_back(section);
        }
        writes[section].emplace_back(item, std::to_string(stock));
    }
    if (!zvLib::UserFile.empty()) {
        for (const std::string& section : order) {
            NUX_STD_library::IniWriteSection(section, writes[section], zvLib::UserFile);
        }
    }
    grdBOM.Refresh();
}

void frmReport::grdBOM_AfterEdit(int /*row*/, int /*column*/)
{
    grdBomRecalc();
}

namespace zvLib {

std::int32_t LeadingCount(const std::string& text)
{
    std::size_t i = text.find_first_not_of(" \t");
    if (i == std::string::npos) {
        return 0;
    }
    const std::size_t start = i;
    if (text[i] == '-' || text[i] == '+') {
        ++i;
    }
    const std::size_t digits = i;
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
    }
    if (i == digits) {
        return 0;
    }
    if (i + 1 < text.size() && (text[i] == '.' || text[i] == ',') && IsDigit(text[i + 1])) {
        for (++i; i < text.size() && IsDigit(text[i]); ++i) {
        }
    }
    return ReadStockCount(text.substr(start, i - start));
}

} // namespace zvLib
