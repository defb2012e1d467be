// zvLib, the current piece set: the header row of a set read from the catalogue, the start
// record, and the tools of the item bar worked out from the piece table and the user file.
#include "app/core/zvLib_sets.h"

#include "app/core/zvLib_catalogue.h"
#include "foundation/NUX_STD_ini.h"
#include "foundation/NUX_STD_text.h"
#include "foundation/cError.h"
#include "foundation/zvBlob.h"
#include "model/zvLib_globals.h"

#include <algorithm>
#include <cmath>

namespace zvLib {

std::shared_ptr<zvItemBar> ItemBar;

namespace {

// The value of a header field, or nothing when the catalogue has no such field.
const cVariant* headerValue(const char* name)
{
    const long i = Catalogue.FieldIndex(name);
    return i < 0 ? nullptr : &Catalogue.Fields(i).Value();
}

// A header number; a missing, Null or unreadable value counts as 0, which makes the set unusable.
double headerNumber(const char* name)
{
    const cVariant* v = headerValue(name);
    if (!v || v->isNull()) {
        return 0;
    }
    try {
        const double d = v->toDouble();
        return std::isfinite(d) ? d : 0;
    } catch (const cError&) {
        return 0;
    }
}

// The description, width and scale of the current header row; a width or scale out of range
// counts as 0.
zvSetFacts headerFacts()
{
    zvSetFacts facts;
    const cVariant* description = headerValue("setDescription");
    facts.description = description && !description->isNull() ? description->toText() : "";
    const double width = headerNumber("stdWidth");
    const double scale = RoundHalfEven(headerNumber("Scale"));
    facts.stdWidth = std::fabs(width) < 1e9 ? cFixed::fromDouble(width) : cFixed();
    facts.scale = scale >= INT16_MIN && scale <= INT16_MAX ? static_cast<std::int16_t>(scale) : 0;
    return facts;
}

// Steps 7 and 8: the current set's description, width and scale from its header row.
bool readHeader()
{
    const zvSetFacts facts = headerFacts();
    SetDescription = facts.description;
    SetStdWidth = facts.stdWidth;
    SetScale = facts.scale;
    return !SetStdWidth.isZero() && SetScale != 0;
}

// The set code of the current header row, or setID when the row has none.
std::string catalogueCode(const std::string& setID)
{
    const cVariant* code = headerValue("setID");
    return code && !code->isNull() && !code->toText().empty() ? code->toText() : setID;
}

} // namespace

void ReadSetFacts()
{
    SetFacts.clear();
    Catalogue.Filter("");
    if (Catalogue.Filter("TipoInfo='base'") == 0 && Catalogue.FieldIndex("setID") >= 0) {
        for (Catalogue.MoveFirst(); !Catalogue.Eof(); Catalogue.MoveNext()) {
            zvSetFacts facts = headerFacts();
            const cVariant& code = Catalogue.Fields(Catalogue.FieldIndex("setID")).Value();
            if (!facts.stdWidth.isZero() && !code.isNull()) {
                facts.code = code.toText();
                SetFacts.push_back(std::move(facts));
            }
        }
    }
    Catalogue.Filter("");
}

std::int16_t LoadSet(const std::string& setID)
{
    const std::string previous = CurSetID;
    Catalogue.Filter("");
    const long err =
        Catalogue.Filter("setID=" + NUX_STD_library::SqlQuote(setID) + " AND TipoInfo='base'");
    const bool found = err == 0 && !Catalogue.Eof();
    // A set named in another case is the catalogue's set, under the catalogue's own code.
    const std::string code = found ? catalogueCode(setID) : setID;
    if (ItemBar) {
        ItemBar->SetChosen(code, previous);
    }
    CurSetID = code;
    if (!found) {
        Catalogue.Filter("");
        return kSetMissing;
    }
    const bool usable = readHeader();
    Catalogue.Filter("");
    if (!usable) {
        return kSetBadHeader;
    }
    const std::size_t end = PieceTable.size();
    PieceTable.push_back(StartRecord());
    if (ItemBar) {
        ItemBar->SetLoaded({code, ItemTools(code, end), SnippetTools(code)});
    }
    return kSetLoaded;
}

std::vector<zvItemTool> ItemTools(const std::string& setID, std::size_t end)
{
    std::vector<zvItemTool> tools;
    std::int32_t runningClass = 1;
    end = std::min(end, PieceTable.size());
    for (std::size_t i = 0; i < end; ++i) {
        const zvPieceRecord& rec = PieceTable[i];
        if (rec.setID != setID) {
            continue;
        }
        if (rec.classe != runningClass) {
            zvItemTool separator;
            separator.separator = true;
            separator.name = rec.itemID;
            separator.record = i;
            tools.push_back(separator);
            runningClass = rec.classe;
        }
        zvItemTool piece;
        piece.name = rec.setID + ":" + rec.itemID;
        piece.category = "item.append";
        piece.tooltip = rec.description + "  [" + rec.code + "]";
        piece.record = i;
        tools.push_back(piece);
    }
    return tools;
}

std::vector<zvSnippetTool> SnippetTools(const std::string& setID)
{
    std::vector<std::pair<std::string, std::string>> pairs;
    std::vector<zvSnippetTool> tools;
    if (UserFile.empty() ||
        NUX_STD_library::IniReadSection(setID + ".SNIPPETS", UserFile, pairs) <= 0) {
        return tools;
    }
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        tools.push_back({"K" + std::to_string(i + 1), pairs[i].first,
                         SnippetDefinition(pairs[i].second, setID)});
    }
    return tools;
}

std::string SnippetDefinition(const std::string& definition, const std::string& setID)
{
    if (definition.find(':') != std::string::npos) {
        return definition;
    }
    std::string out;
    std::size_t from = 0;
    for (;;) {
        const std::size_t semi = definition.find(';', from);
        const std::string entry = definition.substr(from, semi - from);
        if (!entry.empty()) {
            out += setID + ":" + entry;
        }
        if (semi == std::string::npos) {
            return out;
        }
        out += ';';
        from = semi + 1;
    }
}

} // namespace zvLib
