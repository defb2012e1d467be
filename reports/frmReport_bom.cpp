// frmReport, the bill of materials: the stock table of the circuit's sets with the numbers the
// circuit uses put in, the shortage of each piece worked out, and the stock counts the user
// types written back to the user file, one rewrite per set.
#include "app/core/zvLib_stock.h"
#include "app/zvModal.h"
#include "foundation/cVariant.h"
#include "foundation/zvLang.h"
#include "foundation/NUX_STD_ini.h"
#include "model/zvCircuit.h"
#include "model/zvLib_globals.h"
#include "model/zvUI.h"
#include "reports/frmReport.h"

#include <cmath>
#include <cstddef>
#include <limits>
#include <map>
#include <optional>
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

// The number at the start of a text, as LeadingCount reads it ("" when there is none).
std::string LeadingNumber(const std::string& text)
{
    std::size_t i = text.find_first_not_of(" \t");
    if (i == std::string::npos) {
        return {};
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
        return {};
    }
    if (i + 1 < text.size() && (text[i] == '.' || text[i] == ',') && IsDigit(text[i + 1])) {
        for (++i; i < text.size() && IsDigit(text[i]); ++i) {
        }
    }
    return text.substr(start, i - start);
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
    // The counts were read from the user file just now: one that cannot be written back
    // loses nothing the user typed, so the load says nothing.
    grdBomRecalc();
    grdBOM.Refresh();
}

bool frmReport::grdBomRecalc()
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
    bool written = true;
    if (!zvLib::UserFile.empty()) {
        for (const std::string& section : order) {
            written = NUX_STD_library::IniWriteSection(section, writes[section], zvLib::UserFile) &&
                      written;
        }
    }
    grdBOM.Refresh();
    return written;
}

bool frmReport::grdBOM_ValidateEdit(int /*row*/, int column, const std::string& text)
{
    if (column != kCountField + 1 || zvLib::LeadingCountFits(text)) {
        return true;
    }
    std::string message = zvLang::Translate("$msg.stocktoolarge");
    const std::size_t at = message.find("%1");
    if (at != std::string::npos) {
        message.replace(at, 2, text);
    }
    zvLib::MsgBox(message, vbMsg::Exclamation);
    return false;
}

void frmReport::grdBOM_AfterEdit(int /*row*/, int /*column*/)
{
    if (!grdBomRecalc()) {
        zvLib::MsgBox(zvLang::NotSavedMessage(zvLib::UserFile), vbMsg::Exclamation);
    }
}

namespace zvLib {

std::int32_t LeadingCount(const std::string& text)
{
    const std::string number = LeadingNumber(text);
    return number.empty() ? 0 : ReadStockCount(number);
}

bool LeadingCountFits(const std::string& text)
{
    const std::string number = LeadingNumber(text);
    if (number.empty()) {
        return true;
    }
    const std::optional<double> value = cVariant::parseNumber(number);
    if (!value) {
        return true;
    }
    const double whole = std::nearbyint(*value);
    return whole >= std::numeric_limits<std::int32_t>::min() &&
           whole <= std::numeric_limits<std::int32_t>::max();
}

} // namespace zvLib
